// The results board's window: it starts on its first show, paints what the page model worked out without
// moving it on, steps on the timer and Space, and stops only by its gesture.
#include "BoardFixture.h"

#include "controls/Gui.h"
#include "ui/board/ResultatInfo.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

namespace {

class BoardFormTest : public TBoardTest {
protected:
    BoardFormTest() {
        Results(Round("M", "100", "I"), 1, 40, [](qint32 nr) { return 1100 + nr; });
        WriteBoard({"M  100"});
    }
    // The window started as on the screen: shown, its start run.
    static void Show(TResultatInfoForm& form) {
        form.show();
        Settle();
    }
    // The board's colours in what it paints.
    static int Count(const QImage& image, QColor colour) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == colour;
        return count;
    }
};

TEST_F(BoardFormTest, TheFirstShowStartsTheBoardAndOnlyATimerLineKeepsItMoving) {
    TResultatInfoForm form(1);
    EXPECT_EQ(form.geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_EQ(form.VentTid->value(), 8);
    EXPECT_EQ(form.VentTid->minimum(), 5);
    EXPECT_EQ(form.VentTid->maximum(), 59);
    Show(form);
    EXPECT_TRUE(form.IsRunning());
    EXPECT_FALSE(form.ToolPanel->isVisible());
    EXPECT_EQ(form.Timer1->interval(), 8000);
    EXPECT_EQ(form.Pages().Page(), 0);
    EXPECT_EQ(form.Pages().Screen().Kind, TBoardScreenKind::Round);
    // The editor's file has no "TIMER" line: the board holds its page until Space.
    EXPECT_FALSE(form.Timer1->isActive());
    QTest::keyClick(&form, Qt::Key_Space);
    EXPECT_EQ(form.Pages().Page(), 1);
    EXPECT_FALSE(form.Timer1->isActive());

    // A "TIMER" line, read at the next step, sets it moving; the screen waits its whole time.
    WriteBoard({"TIMER", "M  100"});
    QTest::keyClick(&form, Qt::Key_Space);
    EXPECT_EQ(form.Pages().Page(), 0);
    ASSERT_TRUE(form.Timer1->isActive());
    EXPECT_GT(form.Timer1->remainingTime(), 7000);
    const int reloads = form.Pages().ReloadCount();
    form.Timer1->setInterval(1);
    QTest::qWait(50);
    EXPECT_GT(form.Pages().ReloadCount(), reloads + 1);
    EXPECT_TRUE(form.Timer1->isActive());
    form.Timer1->setInterval(8000);
    const int page = form.Pages().Page();
    QTest::keyClick(&form, Qt::Key_Space);
    EXPECT_EQ(form.Pages().Page(), (page + 1) % 3);
    EXPECT_GT(form.Timer1->remainingTime(), 7000) << "the next screen waits its whole time";

    // Written again without it, the board stops at the step that reads it; so does a file that went.
    WriteBoard({"M  100"});
    form.Read();
    EXPECT_FALSE(form.Timer1->isActive());
    WriteBoard({"M  100", "TIMER"});
    form.Read();
    ASSERT_TRUE(form.Timer1->isActive());
    ASSERT_TRUE(QFile::remove(Path("BOARD1")));
    form.Read();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Pages().Screen().Kind, TBoardScreenKind::Title);
}

TEST_F(BoardFormTest, PaintingShowsThePageAndNeverMovesIt) {
    TResultatInfoForm form(1);
    Show(form);
    form.Read();
    const int page = form.Pages().Page();
    const int loads = form.Pages().LoadCount();
    ASSERT_EQ(page, 1);
    QImage painted;
    for (int i = 0; i < 5; ++i) {
        form.repaint();
        painted = form.grab().toImage();
    }
    EXPECT_EQ(form.Pages().Page(), page);
    EXPECT_EQ(form.Pages().LoadCount(), loads);
    // The highlight behind, white rows and aqua head line in front.
    EXPECT_EQ(painted.pixelColor(form.width() - 1, form.height() / 2),
              form.palette().color(QPalette::Highlight));
    EXPECT_GT(Count(painted, QColor(255, 255, 255)), 100);
    EXPECT_GT(Count(painted.copy(0, 0, form.width(), form.Layout().RowHeight), QColor(0, 255, 255)), 20);
}

TEST_F(BoardFormTest, ShiftCtrlClickInTheCornerStopsTheBoardAndStartGoesOn) {
    TResultatInfoForm form(1);
    Show(form);
    // Other clicks and Escape leave it running.
    QTest::mouseClick(&form, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
    QTest::mouseClick(&form, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(30, 5));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.IsRunning());
    EXPECT_TRUE(form.isVisible());
    QTest::mouseClick(&form, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(5, 5));
    EXPECT_FALSE(form.IsRunning());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(form.ToolPanel->isVisible());
    form.VentTid->setValue(5);
    form.Button2->click();
    EXPECT_TRUE(form.IsRunning());
    EXPECT_EQ(form.Timer1->interval(), 5000);
    EXPECT_FALSE(form.ToolPanel->isVisible());
    QTest::mouseClick(&form, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(0, 19));
    form.Button1->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), 2);
}

} // namespace
