#include "server/ServerMessagePresenter.h"

#include "foundation/BusyCursor.h"

#include "support/Test.h"

#include <QApplication>
#include <QCursor>

#include <optional>
#include <thread>

TEST(ServerMessagePresenter, ABoxOffTheWindowThreadIsLoggedAndAnsweredWithItsDefault) {
    QStringList logged;
    auto presenter = std::make_unique<TServerMessagePresenter>([&](const QString& line) { logged << line; });
    auto window = std::make_unique<TRecordingPresenter>(mrNo);
    const TRecordingPresenter& shown = *window;
    presenter->SetWindowPresenter(std::move(window));
    const TScopedMessagePresenter installed(std::move(presenter));

    int answer = 0;
    std::thread handler([&] {
        MessageDefaultButton = 1;
        answer = ShowMessageForm(nullptr, "Slet stævnet", TMessageKind::YesNo);
        ShowError(nullptr, "Linje 1\r\nLinje 2");
    });
    handler.join();
    EXPECT_EQ(answer, mrNo); // the default button, "Nej"
    EXPECT_EQ(logged, QStringList({"<message> Bekræft: Slet stævnet", "<message> Fejl: Linje 1\r\nLinje 2"}));
    EXPECT_TRUE(shown.Shown().empty());

    // On the window thread the box is the window's.
    EXPECT_EQ(ShowMessageForm(nullptr, "Gem", TMessageKind::YesNo), mrNo);
    ASSERT_EQ(shown.Shown().size(), 1u);
    EXPECT_EQ(shown.Shown().front().Text, "Gem");
    EXPECT_EQ(logged.size(), 2);
}

TEST(BusyCursor, OffTheWindowThreadItGoesThroughTheWindowThread) {
    std::thread handler([] { const TBusyCursor busy; });
    handler.join();
    // Nothing was changed from the other thread; the window thread sets and restores it in turn.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    QApplication::processEvents();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // Set on one thread, left on another: each change waits for the window thread.
    std::optional<TBusyCursor> busy;
    std::thread([&] { busy.emplace(); }).join();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    QApplication::processEvents();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    std::thread([&] { busy.reset(); }).join();
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    QApplication::processEvents();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
