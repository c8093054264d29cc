#pragma once
// The choose-meet window: the meets filed in a tree of folders that the user arranges freely; a meet is
// opened, renamed, deleted or imported from here. The folders are kept in the tree file "ZUNO2.SLF".
#include "foundation/controls/RvkForms.h"
#include "model/D_StaevneTree.h"

#include <QTreeWidget>

#include <functional>
#include <optional>

class QComboBox;
class QPushButton;
class QSplitter;

// What the choose-meet window has done with the meets of its list, by the launchers that open it (the
// window opens no other dialog itself): rename or delete the meet at a list index, import at a level
// (0 everything, 1 the programme, 2 also the clubs, 3 also the participants). Each true when done.
struct TValgStaevneActions {
    std::function<bool(QWidget* owner, int index)> Ret;
    std::function<bool(QWidget* owner, int index)> Slet;
    std::function<bool(QWidget* owner, int level)> Importer;
};

// A tree or list view that takes drops from the views it names and hands them to its owner, which moves
// the folders and names itself: the view's own item moving is never used.
class TDropTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit TDropTreeWidget(QWidget* parent);

    // The views whose items may be dropped here.
    QList<const QWidget*> AcceptsFrom;
    // A drop from source on target (null: not on an item).
    std::function<void(QObject* source, QTreeWidgetItem* target)> Dropped;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool Accepts(const QObject* source) const;
    // Accepts a drag or drop from a view named in AcceptsFrom as a copy, and refuses any other.
    bool TakeAsCopy(QDropEvent* event) const;
};

class TValgStaevne2Form : public TStdRVKForm {
    Q_OBJECT
public:
    explicit TValgStaevne2Form(TValgStaevneActions actions, QWidget* owner = nullptr);
    ~TValgStaevne2Form() override;

    QPushButton* const RetButton;
    QPushButton* const SletButton;
    QPushButton* const ImportButton;
    QPushButton* const AabnButton;
    QPushButton* const OpretMappeButton;
    QWidget* const Panel1;
    TDropTreeWidget* const TreeView;
    QSplitter* const Splitter1;
    TDropTreeWidget* const StaevneListView;
    QPushButton* const SletMappeButton;
    QComboBox* const ImportTypes;

    // The folder whose meets the list shows; null when none.
    QTreeWidgetItem* SelectedFolder() const;
    // The names a folder holds; nullopt for a folder without a list.
    static std::optional<QStringList> FolderNavne(const QTreeWidgetItem* folder);
    static void SetFolderNavne(QTreeWidgetItem* folder, const std::optional<QStringList>& navne);
    // The folders as the tree file keeps them.
    TStaevneTree StaevneTree() const;
    bool Busy() const { return busy_; }

public slots:
    // Each shows its failure and changes nothing then.
    void AabnButtonClick();
    void RetButtonClick();
    void SletButtonClick();
    void ImportButtonClick();
    void OpretMappeButtonClick();
    void SletMappeButtonClick();

    // Drag and drop. List items dropped on a folder move their names, last selected first, to the end of
    // the folder's list; on their own folder nothing changes.
    void DropNavneOnFolder(const QList<QTreeWidgetItem*>& items, QTreeWidgetItem* folder);
    // A folder dropped on another node moves to just before it; never into its own subtree.
    void DropFolder(QTreeWidgetItem* folder, QTreeWidgetItem* target);
    // A list item dropped on another moves to its place, in the list and in the folder's names.
    void DropListItem(QTreeWidgetItem* item, QTreeWidgetItem* target);

    // Closing writes the tree file; the window cannot close while busy.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TBusy;

    void BuildViews();
    void BuildLayout();
    void BuildConnections();
    void FillTree(const TStaevneTree& tree);
    void SelectFolderOf(const QString& navn);
    void TreeViewChange();
    // The one selected meet of the list; raises "Intet stævne valgt" or several.
    QTreeWidgetItem* OneSelected(const QString& several) const;
    void SaveTree() const;
    void Aabn();
    // The meet a rename or delete acted on: its list item, its index among the meets, its folder's names
    // and its row in them (-1 when the names do not hold it).
    struct TSelectedMeet {
        QTreeWidgetItem* Item;
        int Index;
        QStringList& Navne;
        qsizetype Row;
    };
    // Runs action on the one selected meet (raising several when more are selected, and failed with the
    // meet's name when it is not found or no folder is chosen); when it went through, done brings the
    // list and the folder's names up to date, and the tree is saved.
    void ActOnSelected(const QString& several, const QString& failed,
                       const std::function<bool(QWidget*, int)>& action,
                       const std::function<void(TSelectedMeet&)>& done);
    void Ret();
    void Slet();
    void Import();
    void SletMappe();
    bool TreeViewKeyDown(int key);
    bool StaevneListViewKeyDown(int key);

    const TValgStaevneActions actions_;
    bool busy_ = false;
};
