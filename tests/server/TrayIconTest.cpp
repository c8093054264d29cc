#include "server/CoolTrayIcon.h"
#include "server/SimpleTimer.h"

#include "support/Test.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QWidget>

namespace {

// Runs the event loop until pred holds; false when the bound ran out.
bool ProcessUntil(const std::function<bool()>& pred, int boundMs = 30000) {
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > boundMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void ProcessFor(int ms) {
    ProcessUntil([] { return false; }, ms);
}

QIcon Colour(Qt::GlobalColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// A desktop with a notification area, which the offscreen platform lacks.
class TrayWithArea : public TCoolTrayIcon {
public:
    using TCoolTrayIcon::TCoolTrayIcon;
    bool TrayAvailable() const override { return true; }
};

} // namespace

TEST(SimpleTimer, RunsOnlyEnabledWithAnIntervalAndAnEventAndAOneShotStopsBeforeItsEvent) {
    TSimpleTimer timer;
    EXPECT_FALSE(timer.Running()); // enabled, but no event yet
    std::vector<bool> enabledDuringEvent;
    timer.SetInterval(5);
    timer.SetOnTimer([&](TSimpleTimer& self) { enabledDuringEvent.push_back(self.Enabled()); });
    EXPECT_TRUE(ProcessUntil([&] { return enabledDuringEvent.size() >= 3; }));
    EXPECT_EQ(enabledDuringEvent.front(), true);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(5);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());

    enabledDuringEvent.clear();
    timer.SetOneShot(true);
    timer.SetEnabled(true);
    EXPECT_TRUE(ProcessUntil([&] { return !enabledDuringEvent.empty(); }));
    ProcessFor(30);
    EXPECT_EQ(enabledDuringEvent, std::vector<bool>{false});
    EXPECT_FALSE(timer.Running());
}

TEST(CoolTrayIcon, HintIsCutAndShownOnlyWithShowHint) {
    TCoolTrayIcon tray(nullptr);
    tray.SetHint(QString(200, 'h'));
    EXPECT_EQ(tray.ToolTip(), QString(127, 'h'));
    EXPECT_EQ(tray.findChild<QSystemTrayIcon*>()->toolTip(), QString(127, 'h'));
    tray.SetShowHint(false);
    EXPECT_EQ(tray.findChild<QSystemTrayIcon*>()->toolTip(), "");
}

TEST(CoolTrayIcon, CyclesThroughItsIcons) {
    TCoolTrayIcon tray(nullptr);
    const QList<QIcon> icons = {Colour(Qt::red), Colour(Qt::green), Colour(Qt::blue)};
    tray.SetIconList(icons);
    tray.SetCycleInterval(5);
    std::vector<std::pair<qint64, int>> seen; // the icon shown, and the index after it
    tray.OnCycle = [&](TCoolTrayIcon& self) { seen.emplace_back(self.Icon().cacheKey(), self.IconIndex()); };
    tray.SetCycleIcons(true);
    ASSERT_TRUE(ProcessUntil([&] { return seen.size() >= 4; }));
    tray.SetCycleIcons(false);
    // OnCycle sees the icon taken at the index, which then moves on, back to 0 after the last.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(seen[i], std::make_pair(icons[i % 3].cacheKey(), i % 3)) << i;
    EXPECT_EQ(tray.findChild<QSystemTrayIcon*>()->icon().cacheKey(), tray.Icon().cacheKey());
}

TEST(CoolTrayIcon, ClickAndDoubleClickAreToldApart) {
    TCoolTrayIcon tray(nullptr);
    QSystemTrayIcon* icon = tray.findChild<QSystemTrayIcon*>();
    QStringList events;
    tray.OnClick = [&](TCoolTrayIcon&) { events << "click"; };
    tray.OnDblClick = [&](TCoolTrayIcon&) { events << "double"; };

    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(events.isEmpty()); // a second click may still come
    ASSERT_TRUE(ProcessUntil([&] { return !events.isEmpty(); }));
    EXPECT_EQ(events, QStringList{"click"});

    events.clear();
    emit icon->activated(QSystemTrayIcon::Trigger);
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    ProcessFor(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
    EXPECT_EQ(events, QStringList{"double"});

    events.clear();
    tray.SetEnabled(false);
    emit icon->activated(QSystemTrayIcon::Trigger);
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    ProcessFor(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
    EXPECT_TRUE(events.isEmpty());
}

TEST(CoolTrayIcon, MainFormIsHiddenOnlyWhereTheIconCanBringItBack) {
    // Without a notification area the window stays reachable whatever the owner asks.
    QWidget form;
    TCoolTrayIcon tray(&form);
    tray.SetMinimizeToTray(true);
    tray.SetIcon(Colour(Qt::red));
    tray.SetIconVisible(true);
    tray.OnStartup = [](TCoolTrayIcon&, bool& show) { show = false; };
    EXPECT_TRUE(tray.Loaded());
    form.show();
    form.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.isVisible());

    // With one the form starts hidden, minimising hides it, and the icon shows it again.
    QWidget other;
    TrayWithArea withArea(&other);
    withArea.SetMinimizeToTray(true);
    int minimised = 0;
    withArea.OnMinimizeToTray = [&](TCoolTrayIcon&) { ++minimised; };
    withArea.OnStartup = [](TCoolTrayIcon&, bool& show) { show = false; };
    EXPECT_FALSE(withArea.Loaded());
    other.show();
    other.showMinimized();
    EXPECT_TRUE(ProcessUntil([&] { return !other.isVisible(); }));
    EXPECT_EQ(minimised, 1);
    withArea.ShowMainForm();
    EXPECT_TRUE(other.isVisible());
    EXPECT_FALSE(other.isMinimized());
}
