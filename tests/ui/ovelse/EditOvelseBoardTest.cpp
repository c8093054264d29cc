// The event editor's "Board1" .. "Board5": the results board's file from the overview's selected cells.
#include "EditOvelseTestSupport.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

class EditOvelseBoard : public TEditOvelseTest {
protected:
    // Saturday at 10:00: 100 m I (M) and 100 m F (K) on the track, long jump M in its pit; at 11:30 high
    // jump M.
    EditOvelseBoard() {
        Place(Round("M", "100", "I"), Loerdag(), QTime(10, 0), "LØB");
        Place(Round("K", "100"), Loerdag(), QTime(10, 0), "LØB");
        Place(Round("M", "LÆ"), Loerdag(), QTime(10, 0), "LÆ");
        Place(Round("M", "HØ"), Loerdag(), QTime(11, 30), "HØ");
        Enter(Round("M", "100", "I"), 1, 4);
        Enter(Round("K", "100"), 101, 3);
        Enter(Round("M", "LÆ"), 1, 2);
        Enter(Round("M", "HØ"), 3, 2);
    }
};

TEST_F(EditOvelseBoard, TheSelectedCellsRoundsGoToTheBoardsFileRowByRowLeftToRight) {
    const auto form = Open();
    for (QAction* board : form->Boards)
        EXPECT_TRUE(board->isEnabled()) << board->objectName().toStdString();
    // The toolbar's board button is the way to them.
    const auto* button =
        qobject_cast<QToolButton*>(form->PrintToolBar->widgetForAction(form->BoardToolButton));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisibleTo(form.get()) && button->isEnabled());
    EXPECT_EQ(form->BoardPopupMenu->actions().mid(0, 5),
              QList<QAction*>(form->Boards.begin(), form->Boards.end()));
    // The schedule: 10:00 with the women's 100 m and the men's long jump, below it the men's 100 m, then
    // 11:30 with the high jump.
    ASSERT_EQ(Rows(*form).mid(0, 3), QStringList({"Lør 10:00||K (3)|M (2)||Lør 10:00", "||M (4)|||",
                                                  "Lør 11:30||||M (2)|Lør 11:30"}));
    Click(*form, Round("M", "100", "I"));
    const auto last = form->Oversigt().Find(&Round("M", "HØ"));
    form->OversigtGrid->SetSelection({1, 1, last->first, last->second});
    Settle();
    form->Boards[1]->trigger();
    Settle();
    EXPECT_EQ(ReadFile(Path("Board2")),
              QByteArray("K  100   \r\nM  L\xC6    \r\nM  100   \r\nM  H\xD8    \r\n"));
    // Another board's file, under the name already there; the others are left alone.
    WriteFile(Path("BOARD5"), "gammel");
    Click(*form, Round("M", "HØ"));
    form->Boards[4]->trigger();
    Settle();
    EXPECT_EQ(ReadFile(Path("BOARD5")), QByteArray("M  H\xD8    \r\n"));
    EXPECT_FALSE(QFileInfo::exists(Path("Board5")));
    EXPECT_EQ(ReadFile(Path("Board2")).count('\n'), 4);
    EXPECT_TRUE(Shown().isEmpty());
}

} // namespace
