#include "foundation/controls/MsgForm.h"

#include "Gui.h"
#include "support/Test.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

namespace {

QList<QPushButton*> VisibleButtonsLeftToRight(const TMessageForm& form) {
    QList<QPushButton*> row;
    for (QPushButton* button : {form.OKBtn, form.JaBtn, form.NejBtn, form.CancelBtn})
        if (!button->isHidden())
            row << button;
    std::sort(row.begin(), row.end(), [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    return row;
}

TEST(MessageForm, LaysOutTheKindsButtonsOnOneRowBelowTheText) {
    TMessageForm form;
    form.Setup(MakeMessageBox(TMessageKind::Confirm, "Gem ændringer?", 1));
    EXPECT_EQ(form.windowTitle(), "Bekræft");
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    const QList<QPushButton*> row = VisibleButtonsLeftToRight(form);
    ASSERT_EQ(row, (QList<QPushButton*>{form.JaBtn, form.NejBtn, form.CancelBtn}));
    EXPECT_EQ(row[0]->y(), row[2]->y());
    EXPECT_GE(row[0]->y(), form.MessageLabel->geometry().bottom());
    EXPECT_LE(row[2]->geometry().right(), form.width());
    EXPECT_EQ(form.DefaultButton(), form.NejBtn);
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "a dialog border does not resize";

    form.Setup(MakeMessageBox(TMessageKind::Error, "Fejl", 0));
    EXPECT_EQ(VisibleButtonsLeftToRight(form), QList<QPushButton*>{form.OKBtn});
    EXPECT_EQ(form.DefaultButton(), form.OKBtn);
}

TEST(MessageForm, GrowsWithTheWrappedTextWhichStaysPlain) {
    TMessageForm brief;
    brief.Setup(MakeMessageBox(TMessageKind::Information, "Kort", 0));
    TMessageForm wordy;
    QString text = "Stævnet: <b>Åbent</b>\r\nmen funktionen er ikke korrekt tilendebragt.";
    for (int i = 0; i < 5; ++i)
        text += " Stævnet vil ikke optræde i stævneoversigten.";
    wordy.Setup(MakeMessageBox(TMessageKind::Information, text, 0));
    EXPECT_GT(wordy.MessageLabel->height(), 4 * brief.MessageLabel->height());
    EXPECT_GT(wordy.height(), brief.height() + 3 * brief.MessageLabel->height());
    EXPECT_EQ(wordy.MessageLabel->textFormat(), Qt::PlainText);
    EXPECT_FALSE(wordy.MessageLabel->text().contains(u'\r'));
}

TEST(MessageForm, ButtonsEscapeAndCloseGiveTheirModalResults) {
    TMessageForm form;
    form.Setup(MakeMessageBox(TMessageKind::Confirm, "Gem", 0));
    const std::pair<QPushButton*, int> cases[] = {{form.JaBtn, 6}, {form.NejBtn, 7}, {form.CancelBtn, 2}};
    for (const auto& [button, result] : cases) {
        form.open();
        button->click();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), result);
    }
    form.open();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&form, &escape);
    EXPECT_EQ(form.result(), 2);
}

TEST(MessageForm, FocusesTheDefaultButtonOnShow) {
    TMessageForm form;
    form.Setup(MakeMessageBox(TMessageKind::YesNo, "Slet?", 1));
    form.open();
    form.activateWindow();
    QElapsedTimer timer;
    timer.start();
    while (QApplication::focusWidget() != form.NejBtn && timer.elapsed() < 2000)
        QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), form.NejBtn);
    form.reject();
}

TEST(MessageForm, IsCentredOnItsOwnersWindowNeverAboveOrLeftOfZero) {
    TMessageForm form;
    form.Setup(MakeMessageBox(TMessageKind::Information, "Info", 0));
    QWidget owner;
    owner.setGeometry(300, 200, 500, 300);
    form.PlaceOver(&owner);
    EXPECT_EQ(form.frameGeometry().center().x(), owner.frameGeometry().center().x());
    EXPECT_NEAR(form.frameGeometry().center().y(), owner.frameGeometry().center().y(), 1);

    owner.setGeometry(0, 0, 100, 40);
    form.PlaceOver(&owner);
    EXPECT_EQ(form.pos(), QPoint(0, 0));

    // The owner is the window of the nearest widget.
    QWidget window;
    QObject helper(new QWidget(&window));
    EXPECT_EQ(TQtMessagePresenter::OwnerWindow(&helper), &window);
    EXPECT_EQ(TQtMessagePresenter::OwnerWindow(nullptr), nullptr);
}

TEST(MessageForm, ATextTallerThanTheScreenScrollsAndTheButtonsStayOnIt) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QStringList lines;
    for (int line = 0; line < 200; ++line)
        lines << QStringLiteral("Klasse: D14, Øvelse: 1500H, StartNr: %1, line = %1").arg(line);
    TMessageForm form;
    form.Setup(MakeMessageBox(TMessageKind::Information, lines.join(u'\n'), 0));
    form.PlaceOver(nullptr);
    form.show();
    Settle();
    EXPECT_TRUE(screen.contains(form.frameGeometry()));
    EXPECT_TRUE(form.MessageScroll->isVisible());
    EXPECT_TRUE(form.MessageScroll->isAncestorOf(form.MessageLabel));
    EXPECT_LT(form.MessageScroll->height(), form.MessageLabel->height()) << "the whole text, scrolled";
    EXPECT_TRUE(screen.contains(QRect(form.OKBtn->mapToGlobal(QPoint(0, 0)), form.OKBtn->size())));

    TMessageForm brief;
    brief.Setup(MakeMessageBox(TMessageKind::Information, QStringLiteral("Gemt"), 0));
    EXPECT_FALSE(brief.MessageScroll->isVisibleTo(&brief)) << "a short text stands as it is";
    EXPECT_EQ(brief.MessageLabel->parentWidget(), &brief);
}

} // namespace
