#include "ui/staevne/ValgStaevne2.h"

#include "UiTestSupport.h"
#include "support/ProgramFolderFixture.h"
#include "support/Test.h"

#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "ui/LaunchersStaevne.h"
#include "ui/staevne/ImportStaevne.h"
#include "ui/staevne/RetStaevne.h"
#include "ui/staevne/SletStaevne.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A node as a line: indent by level, caption, expanded mark and names.
QStringList Lines(const TStaevneTree& tree) {
    QStringList lines;
    for (const TStaevneTreeNode& node : tree)
        lines.append(QString(node.Level * 2, u' ') + node.Caption + (node.Expanded ? "+" : "") +
                     (node.Navne ? ": " + node.Navne->join(',') : QString()));
    return lines;
}

class ValgStaevne2Test : public TProgramFolderTest {
protected:
    // Meets A to E and the folders: Top holds A and B, its child Under holds C, Anden holds D; E is in no
    // folder, so it joins the first.
    ValgStaevne2Test() {
        for (const QString& navn : QStringList{"A", "B", "C", "D", "E"})
            CreateMeet(navn);
        Manager().SaveStaevneTree({{0, "Top", true, QStringList{"A", "B"}},
                                   {1, "Under", false, QStringList{"C"}},
                                   {0, "Anden", false, QStringList{"D"}},
                                   {0, "Tom", false, std::nullopt}});
    }
    // The tree file as the window left it.
    QStringList Saved() { return Lines(Manager().LoadStaevneTree()); }

    static QTreeWidgetItem* Folder(TValgStaevne2Form& form, const QString& caption) {
        const auto found = form.TreeView->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.front();
    }
    static QStringList Listed(TValgStaevne2Form& form) {
        QStringList rows;
        for (int row = 0; row < form.StaevneListView->topLevelItemCount(); ++row)
            rows.append(form.StaevneListView->topLevelItem(row)->text(0) + "|" +
                        form.StaevneListView->topLevelItem(row)->text(1));
        return rows;
    }
    static void Select(TValgStaevne2Form& form, const QStringList& names) {
        form.StaevneListView->clearSelection();
        for (const QString& navn : names)
            for (QTreeWidgetItem* item : form.StaevneListView->findItems(navn, Qt::MatchExactly))
                item->setSelected(true);
    }
};

TEST_F(ValgStaevne2Test, OpensOnTheFolderOfTheOpenMeetWithItsNamesAndDates) {
    Manager().OpenStaevne(Manager().IndexOfStaevneNavn("C"));
    Manager().SetDato(EncodeDateTime(QDate(2025, 5, 17), QTime(10, 0)));
    Manager().SaveStaevneData();
    TValgStaevne2Form form(ValgStaevneActions());
    EXPECT_EQ(form.SelectedFolder()->text(0), "Under");
    EXPECT_EQ(Listed(form), QStringList{"C|17-05-2025"});

    form.TreeView->setCurrentItem(Folder(form, "Top"));
    EXPECT_EQ(Listed(form), QStringList({"A|", "B|", "E|"}));
}

TEST_F(ValgStaevne2Test, OpenNeedsExactlyOneListedMeet) {
    Manager().SetLastUsedName("A");
    TValgStaevne2Form form(ValgStaevneActions());
    form.TreeView->setCurrentItem(Folder(form, "Top"));
    Select(form, {});
    form.AabnButtonClick();
    Select(form, {"A", "B"});
    form.AabnButtonClick();
    EXPECT_EQ(Shown(), QStringList({"Intet stævne valgt", "Kan kun åbne et stævne ad gangen"}));

    Select(form, {"B"});
    form.AabnButtonClick();
    EXPECT_EQ(form.result(), mrOk);
    EXPECT_EQ(CurrentStaevneNavn(), "B");
    EXPECT_EQ(Restart().GetLastUsedName(), "B");
}

TEST_F(ValgStaevne2Test, AMeetNoLongerListedShowsNoDateAndDoesNotOpen) {
    Manager().SaveStaevneTree({{0, "Top", false, QStringList{"Væk", "A"}}});
    TValgStaevne2Form form(ValgStaevneActions());
    EXPECT_EQ(Listed(form), QStringList({"Væk|", "A|", "B|", "C|", "D|", "E|"}));
    Select(form, {"Væk"});
    form.AabnButtonClick();
    EXPECT_EQ(Shown(), QStringList{"Kunne ikke åbne stævnet: Væk"});
    EXPECT_EQ(form.result(), 0);
}

TEST_F(ValgStaevne2Test, FoldersAreMadeAndDeletedOnlyWhenNoMeetIsBelowThem) {
    TValgStaevne2Form form(ValgStaevneActions());
    form.TreeView->setCurrentItem(Folder(form, "Anden"));
    form.OpretMappeButtonClick();
    EXPECT_EQ(form.SelectedFolder()->text(0), "Ny mappe");
    form.SelectedFolder()->setText(0, "Ny");
    form.OpretMappeButtonClick(); // a folder in the new one

    form.TreeView->setCurrentItem(Folder(form, "Top"));
    form.SletMappeButtonClick(); // holds A, B and E
    form.TreeView->setCurrentItem(Folder(form, "Under"));
    form.SletMappeButtonClick(); // holds C
    form.TreeView->setCurrentItem(Folder(form, "Anden"));
    form.SletMappeButtonClick(); // D, and nothing below it
    EXPECT_EQ(Shown(), QStringList(3, "Der findes stævner i mappen. Mappen kan ikke slettes."));

    // Ny holds nothing, and nor does its sub-folder: both go.
    form.TreeView->setCurrentItem(Folder(form, "Ny"));
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(form.TreeView, &del);
    EXPECT_TRUE(Shown().isEmpty());
    form.TreeView->setCurrentItem(Folder(form, "Tom"));
    QKeyEvent insert(QEvent::KeyPress, Qt::Key_Insert, Qt::NoModifier);
    QApplication::sendEvent(form.TreeView, &insert);
    form.done(mrCancel);
    EXPECT_EQ(Saved(), QStringList({"Top+: A,B,E", "  Under: C", "Anden+: D", "Tom+", "  Ny mappe: "}));
}

TEST_F(ValgStaevne2Test, DroppedNamesMoveToTheFolderAndStayPutOnTheirOwn) {
    TValgStaevne2Form form(ValgStaevneActions());
    form.TreeView->setCurrentItem(Folder(form, "Top"));
    Select(form, {"A", "B", "E"});
    form.DropNavneOnFolder(form.StaevneListView->selectedItems(), Folder(form, "Top"));
    EXPECT_EQ(Listed(form), QStringList({"A|", "B|", "E|"}));

    // Moved last first, to the end of the folder's list; a folder without a list gets one.
    Select(form, {"A", "E"});
    form.DropNavneOnFolder(form.StaevneListView->selectedItems(), Folder(form, "Anden"));
    EXPECT_EQ(Listed(form), QStringList{"B|"});
    Select(form, {"B"});
    form.DropNavneOnFolder(form.StaevneListView->selectedItems(), Folder(form, "Tom"));
    form.DropNavneOnFolder(form.StaevneListView->selectedItems(), nullptr);
    EXPECT_EQ(Listed(form), QStringList());

    // Within a list: to the place of the item dropped on.
    form.TreeView->setCurrentItem(Folder(form, "Anden"));
    EXPECT_EQ(Listed(form), QStringList({"D|", "E|", "A|"}));
    form.DropListItem(form.StaevneListView->topLevelItem(0), form.StaevneListView->topLevelItem(2));
    form.DropListItem(form.StaevneListView->topLevelItem(1), form.StaevneListView->topLevelItem(1));
    EXPECT_EQ(Listed(form), QStringList({"E|", "A|", "D|"}));
    form.done(mrCancel);
    EXPECT_EQ(Saved(), QStringList({"Top+: ", "  Under: C", "Anden: E,A,D", "Tom: B"}));
}

TEST_F(ValgStaevne2Test, AFolderMovesBeforeTheNodeItIsDroppedOnButNeverIntoItself) {
    TValgStaevne2Form form(ValgStaevneActions());
    QTreeWidgetItem* top = Folder(form, "Top");
    form.DropFolder(top, Folder(form, "Under")); // into its own subtree
    form.DropFolder(top, top);
    form.DropFolder(top, nullptr);
    EXPECT_EQ(Lines(form.StaevneTree()), QStringList({"Top+: A,B,E", "  Under: C", "Anden: D", "Tom"}));

    form.DropFolder(Folder(form, "Tom"), Folder(form, "Under"));
    form.DropFolder(top, Folder(form, "Anden")); // Top keeps its sub-folders and stays expanded
    EXPECT_EQ(Lines(form.StaevneTree()), QStringList({"Top+: A,B,E", "  Tom", "  Under: C", "Anden: D"}));
    form.DropFolder(Folder(form, "Anden"), top);
    form.done(mrCancel);
    EXPECT_EQ(Saved(), QStringList({"Anden: D", "Top+: A,B,E", "  Tom", "  Under: C"}));
}

// After a rename, a deletion and an import the list and the folder's names follow, and the tree file
// is written at once.
TEST_F(ValgStaevne2Test, RenameShowsTheStoredNameAndKeepsTheFolder) {
    TValgStaevne2Form form(ValgStaevneActions());
    form.TreeView->setCurrentItem(Folder(form, "Top"));
    Select(form, {"B"});
    OnNextModal<TRetStaevneForm>([](TRetStaevneForm& dialog) {
        EXPECT_EQ(dialog.StaevneNavn->text(), "B");
        dialog.StaevneNavn->setText("  Bee  ");
        dialog.OKButton->click();
    });
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(form.StaevneListView, &f2);
    EXPECT_EQ(Listed(form), QStringList({"A|", "Bee|", "E|"}));
    EXPECT_EQ(Saved(), QStringList({"Top+: A,Bee,E", "  Under: C", "Anden: D", "Tom"}));

    // A refused name changes nothing.
    Select(form, {"A"});
    OnNextModal<TRetStaevneForm>([](TRetStaevneForm& dialog) {
        dialog.StaevneNavn->setText("bee");
        dialog.OKButton->click();
    });
    form.RetButtonClick();
    EXPECT_EQ(Shown(), QStringList{"Illegalt stævnenavn: bee\r\nStævnenavnet er allerede brugt"});
    EXPECT_EQ(Listed(form), QStringList({"A|", "Bee|", "E|"}));
    EXPECT_EQ(Saved(), QStringList({"Top+: A,Bee,E", "  Under: C", "Anden: D", "Tom"}));

    Select(form, {"A", "E"});
    form.RetButtonClick();
    EXPECT_EQ(Shown(), QStringList{"Kan kun rette et stævne ad gangen"});
}

TEST_F(ValgStaevne2Test, DeleteRemovesTheMeetFromItsFolder) {
    TValgStaevne2Form form(ValgStaevneActions());
    form.TreeView->setCurrentItem(Folder(form, "Top"));
    Select(form, {"B"});
    OnNextModal<TSletStaevneForm>([](TSletStaevneForm& dialog) {
        dialog.SletteKode->setText("ZUNO");
        dialog.OKButton->click();
    });
    form.SletButtonClick();
    EXPECT_EQ(Listed(form), QStringList({"A|", "E|"}));
    EXPECT_TRUE(form.StaevneListView->selectedItems().isEmpty());
    EXPECT_EQ(Manager().IndexOfStaevneNavn("B"), -1);
    EXPECT_EQ(Saved(), QStringList({"Top+: A,E", "  Under: C", "Anden: D", "Tom"}));

    Select(form, {"A", "E"});
    form.SletButtonClick();
    EXPECT_EQ(Shown(), QStringList{"Kan kun slette et stævne ad gangen"});
    EXPECT_EQ(Manager().GetStaevneCount(), 4);
}

TEST_F(ValgStaevne2Test, ImportAddsTheNewMeetToTheSelectedFolder) {
    Manager().OpenStaevne(Manager().IndexOfStaevneNavn("C"));
    Manager().ExportStaevne(Path("c.KIP"));
    TScriptedFiles files;
    files->Answers = {Path("c.KIP")};
    TValgStaevne2Form form(ValgStaevneActions());
    form.TreeView->setCurrentItem(Folder(form, "Tom"));
    form.ImportTypes->setCurrentIndex(2);
    OnNextModal<TImportStaevneForm>([](TImportStaevneForm& dialog) {
        dialog.StaevneNavn->setText("C igen");
        dialog.OKButton->click();
    });
    form.ImportButtonClick();
    EXPECT_EQ(Listed(form), QStringList{"C igen|"});
    form.done(mrCancel);
    EXPECT_EQ(Saved(), QStringList({"Top+: A,B,E", "  Under: C", "Anden: D", "Tom: C igen"}));
    EXPECT_EQ(Manager().GetStaevneNavn(Manager().GetCurrentIndex()), "C igen");
}

TEST_F(ValgStaevne2Test, AnnouncerModeChangesNoMeet) {
    SpeakerMode = true;
    TValgStaevne2Form form(ValgStaevneActions());
    EXPECT_FALSE(form.RetButton->isEnabled() || form.SletButton->isEnabled() ||
                 form.ImportButton->isEnabled());
    EXPECT_TRUE(form.AabnButton->isEnabled());
    Select(form, {"A"});
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(form.StaevneListView, &del);
    EXPECT_EQ(Manager().GetStaevneCount(), 5);
}

} // namespace
