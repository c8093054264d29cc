#include "ui/staevne/ValgStaevne2.h"

#include "foundation/BusyCursor.h"
#include "foundation/Exception.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "ui/Launchers.h"
#include "ui/WidgetKit.h"

#include <QComboBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int NavneRole = Qt::UserRole;
constexpr int HasNavneRole = Qt::UserRole + 1;
const QString NyMappe = QStringLiteral("Ny mappe");

QTreeWidgetItem* NewFolder(const QString& caption) {
    auto* item = new QTreeWidgetItem(QStringList(caption));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

// The folder and every node below it, in tree order.
QList<QTreeWidgetItem*> Subtree(QTreeWidgetItem* folder) {
    QList<QTreeWidgetItem*> nodes{folder};
    for (qsizetype i = 0; i < nodes.size(); ++i)
        for (int child = 0; child < nodes[i]->childCount(); ++child)
            nodes.append(nodes[i]->child(child));
    return nodes;
}

bool IsInside(const QTreeWidgetItem* node, const QTreeWidgetItem* folder) {
    for (; node; node = node->parent())
        if (node == folder)
            return true;
    return false;
}

// Takes the item out of wherever it is in the tree.
void Detach(QTreeWidget* tree, QTreeWidgetItem* item) {
    if (QTreeWidgetItem* parent = item->parent())
        parent->removeChild(item);
    else
        tree->takeTopLevelItem(tree->indexOfTopLevelItem(item));
}

} // namespace

// ---------------------------------------------------------------- the views

TDropTreeWidget::TDropTreeWidget(QWidget* parent)
    : QTreeWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // A copy, so that the view that started the drag never removes the dragged rows itself.
    setDefaultDropAction(Qt::CopyAction);
}

bool TDropTreeWidget::Accepts(const QObject* source) const {
    return std::any_of(AcceptsFrom.begin(), AcceptsFrom.end(),
                       [source](const QWidget* view) { return view == source; });
}

bool TDropTreeWidget::TakeAsCopy(QDropEvent* event) const {
    if (!Accepts(event->source())) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void TDropTreeWidget::dragEnterEvent(QDragEnterEvent* event) {
    QTreeWidget::dragEnterEvent(event);
    TakeAsCopy(event);
}

void TDropTreeWidget::dragMoveEvent(QDragMoveEvent* event) {
    QTreeWidget::dragMoveEvent(event);
    TakeAsCopy(event);
}

void TDropTreeWidget::dropEvent(QDropEvent* event) {
    if (!TakeAsCopy(event))
        return;
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    setState(NoState);
    viewport()->update();
    if (Dropped)
        Dropped(event->source(), target);
}

// ---------------------------------------------------------------- busy

// The window's controls are off and the hourglass shows while it opens a meet; then the tree has the
// focus again.
class TValgStaevne2Form::TBusy {
public:
    explicit TBusy(TValgStaevne2Form& form)
        : form_(form) {
        form_.busy_ = true;
        SetEnabled(false);
    }
    ~TBusy() {
        form_.busy_ = false;
        SetEnabled(true);
        form_.TreeView->setFocus();
    }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

private:
    void SetEnabled(bool on) {
        form_.Panel1->setEnabled(on);
        form_.Splitter1->setEnabled(on);
    }

    TValgStaevne2Form& form_;
    const TBusyCursor cursor_;
};

// ---------------------------------------------------------------- the window

TValgStaevne2Form::TValgStaevne2Form(TValgStaevneActions actions, QWidget* owner)
    : TStdRVKForm(owner)
    , RetButton(MakeButton(this, QStringLiteral("RetButton"), QStringLiteral("&Ret navn")))
    , SletButton(MakeButton(this, QStringLiteral("SletButton"), QStringLiteral("&Slet")))
    , ImportButton(MakeButton(this, QStringLiteral("ImportButton"), QStringLiteral("&Import")))
    , AabnButton(MakeButton(this, QStringLiteral("AabnButton"), QStringLiteral("Å&bn")))
    , OpretMappeButton(MakeButton(this, QStringLiteral("OpretMappeButton"), QStringLiteral("Opret")))
    , Panel1(MakePanel(this, QStringLiteral("Panel1")))
    , TreeView(Named(new TDropTreeWidget(this), QStringLiteral("TreeView")))
    , Splitter1(Named(new QSplitter(Qt::Horizontal, this), QStringLiteral("Splitter1")))
    , StaevneListView(Named(new TDropTreeWidget(this), QStringLiteral("StaevneListView")))
    , SletMappeButton(MakeButton(this, QStringLiteral("SletMappeButton"), QStringLiteral("Slet")))
    , ImportTypes(Named(new QComboBox(this), QStringLiteral("ImportTypes")))
    , actions_(std::move(actions)) {
    setObjectName(QStringLiteral("ValgStaevne2Form"));
    setWindowTitle(QStringLiteral(" Vælg stævne"));
    // The views take Enter, Insert, Delete and F2 themselves; the tree's caption editor keeps Enter.
    NavigationEnabled = false;
    BuildViews();
    BuildLayout();
    BuildConnections();
    resize(640, 400);

    if (StaevneManager) {
        FillTree(StaevneManager->LoadStaevneTree());
        SelectFolderOf(CurrentStaevneNavn());
    }
    TreeView->setFocus();
}

void TValgStaevne2Form::BuildViews() {
    for (QPushButton* button :
         {RetButton, SletButton, ImportButton, AabnButton, OpretMappeButton, SletMappeButton})
        button->setAutoDefault(false);
    ImportTypes->addItems({QStringLiteral("Alt"), QStringLiteral("Stævne"), QStringLiteral("+ Klubber"),
                           QStringLiteral("+ Deltagere")});

    TreeView->setHeaderHidden(true);
    TreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView->setEditTriggers(QAbstractItemView::EditKeyPressed);
    TreeView->AcceptsFrom = {TreeView, StaevneListView};
    TreeView->Dropped = [this](QObject* source, QTreeWidgetItem* target) {
        if (source == StaevneListView)
            DropNavneOnFolder(StaevneListView->selectedItems(), target);
        else
            DropFolder(TreeView->currentItem(), target);
    };

    StaevneListView->setColumnCount(2);
    StaevneListView->setHeaderLabels({QStringLiteral("Navn"), QStringLiteral("Dato")});
    StaevneListView->setRootIsDecorated(false);
    StaevneListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    StaevneListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StaevneListView->header()->setStretchLastSection(false);
    StaevneListView->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    StaevneListView->AcceptsFrom = {StaevneListView};
    StaevneListView->Dropped = [this](QObject*, QTreeWidgetItem* target) {
        DropListItem(StaevneListView->currentItem(), target);
    };

    // Announcer mode changes no meet.
    for (QPushButton* button : {RetButton, SletButton, ImportButton})
        button->setEnabled(!SpeakerMode);
}

// Left the folders with their two buttons, right the meets; the buttons of the meets below.
void TValgStaevne2Form::BuildLayout() {
    auto* folders = new QWidget(Splitter1);
    auto* folderColumn = new QVBoxLayout(folders);
    folderColumn->setContentsMargins(0, 0, 0, 0);
    folderColumn->addWidget(TreeView);
    auto* folderButtons = new QHBoxLayout;
    folderButtons->addWidget(OpretMappeButton);
    folderButtons->addWidget(SletMappeButton);
    folderButtons->addStretch();
    folderColumn->addLayout(folderButtons);
    Splitter1->addWidget(folders);
    Splitter1->addWidget(StaevneListView);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 2);

    auto* panel = new QHBoxLayout(Panel1);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(RetButton);
    panel->addWidget(SletButton);
    panel->addSpacing(12);
    panel->addWidget(ImportButton);
    panel->addWidget(ImportTypes);
    panel->addStretch();
    panel->addWidget(AabnButton);

    auto* form = new QVBoxLayout(this);
    form->addWidget(Splitter1, 1);
    form->addWidget(Panel1);
}

void TValgStaevne2Form::BuildConnections() {
    connect(AabnButton, &QPushButton::clicked, this, &TValgStaevne2Form::AabnButtonClick);
    connect(RetButton, &QPushButton::clicked, this, &TValgStaevne2Form::RetButtonClick);
    connect(SletButton, &QPushButton::clicked, this, &TValgStaevne2Form::SletButtonClick);
    connect(ImportButton, &QPushButton::clicked, this, &TValgStaevne2Form::ImportButtonClick);
    connect(OpretMappeButton, &QPushButton::clicked, this, &TValgStaevne2Form::OpretMappeButtonClick);
    connect(SletMappeButton, &QPushButton::clicked, this, &TValgStaevne2Form::SletMappeButtonClick);
    connect(TreeView, &QTreeWidget::currentItemChanged, this, &TValgStaevne2Form::TreeViewChange);
    connect(StaevneListView, &QTreeWidget::itemDoubleClicked, this, &TValgStaevne2Form::AabnButtonClick);
    TreeView->installEventFilter(this);
    StaevneListView->installEventFilter(this);
}

TValgStaevne2Form::~TValgStaevne2Form() = default;

// ---------------------------------------------------------------- folders and names

std::optional<QStringList> TValgStaevne2Form::FolderNavne(const QTreeWidgetItem* folder) {
    if (!folder || !folder->data(0, HasNavneRole).toBool())
        return std::nullopt;
    return folder->data(0, NavneRole).toStringList();
}

void TValgStaevne2Form::SetFolderNavne(QTreeWidgetItem* folder, const std::optional<QStringList>& navne) {
    folder->setData(0, HasNavneRole, navne.has_value());
    folder->setData(0, NavneRole, navne.value_or(QStringList()));
}

QTreeWidgetItem* TValgStaevne2Form::SelectedFolder() const {
    return TreeView->currentItem();
}

void TValgStaevne2Form::FillTree(const TStaevneTree& tree) {
    TreeView->clear();
    std::vector<std::pair<QTreeWidgetItem*, qint32>> path; // the last node added and its ancestors
    QList<QTreeWidgetItem*> expanded;
    for (const TStaevneTreeNode& node : tree) {
        QTreeWidgetItem* item = NewFolder(node.Caption);
        SetFolderNavne(item, node.Navne);
        while (!path.empty() && path.back().second >= node.Level)
            path.pop_back();
        if (path.empty())
            TreeView->addTopLevelItem(item);
        else
            path.back().first->addChild(item);
        path.emplace_back(item, node.Level);
        if (node.Expanded)
            expanded.append(item);
    }
    for (QTreeWidgetItem* item : expanded)
        item->setExpanded(true);
}

TStaevneTree TValgStaevne2Form::StaevneTree() const {
    TStaevneTree tree;
    const std::function<void(QTreeWidgetItem*, qint32)> add = [&](QTreeWidgetItem* item, qint32 level) {
        tree.push_back({level, item->text(0), item->isExpanded(), FolderNavne(item)});
        for (int child = 0; child < item->childCount(); ++child)
            add(item->child(child), level + 1);
    };
    for (int top = 0; top < TreeView->topLevelItemCount(); ++top)
        add(TreeView->topLevelItem(top), 0);
    return tree;
}

void TValgStaevne2Form::SelectFolderOf(const QString& navn) {
    QTreeWidgetItemIterator it(TreeView);
    QTreeWidgetItem* folder = nullptr;
    for (; *it && !folder; ++it)
        if (!navn.isEmpty() && FolderNavne(*it).value_or(QStringList()).contains(navn))
            folder = *it;
    if (!folder)
        folder = TreeView->topLevelItem(0);
    TreeView->setCurrentItem(folder);
    if (QTreeWidgetItem* item =
            folder ? StaevneListView->topLevelItem(FolderNavne(folder).value_or(QStringList()).indexOf(navn))
                   : nullptr)
        StaevneListView->setCurrentItem(item);
}

void TValgStaevne2Form::TreeViewChange() {
    StaevneListView->clear();
    // The dates by name, found once for the whole list.
    QHash<QString, QString> datoer;
    for (int index = 0; StaevneManager && index < StaevneManager->GetStaevneCount(); ++index)
        datoer.insert(StaevneManager->GetStaevneNavn(index), StaevneManager->GetStaevneDatoText(index));
    QList<QTreeWidgetItem*> items;
    for (const QString& navn : FolderNavne(SelectedFolder()).value_or(QStringList()))
        items.append(new QTreeWidgetItem({navn, datoer.value(navn)}));
    StaevneListView->addTopLevelItems(items);
}

void TValgStaevne2Form::SaveTree() const {
    if (StaevneManager)
        StaevneManager->SaveStaevneTree(StaevneTree());
}

QTreeWidgetItem* TValgStaevne2Form::OneSelected(const QString& several) const {
    const QList<QTreeWidgetItem*> selected = StaevneListView->selectedItems();
    if (selected.isEmpty())
        throw Exception(QStringLiteral("Intet stævne valgt"));
    if (selected.size() > 1)
        throw Exception(several);
    return selected.front();
}

// ---------------------------------------------------------------- the buttons

void TValgStaevne2Form::AabnButtonClick() {
    RunShowingErrors(this, [this] { Aabn(); });
}

void TValgStaevne2Form::RetButtonClick() {
    RunShowingErrors(this, [this] { Ret(); });
}

void TValgStaevne2Form::SletButtonClick() {
    RunShowingErrors(this, [this] { Slet(); });
}

void TValgStaevne2Form::ImportButtonClick() {
    RunShowingErrors(this, [this] { Import(); });
}

void TValgStaevne2Form::SletMappeButtonClick() {
    RunShowingErrors(this, [this] { SletMappe(); });
}

void TValgStaevne2Form::Aabn() {
    const QString navn = OneSelected(QStringLiteral("Kan kun åbne et stævne ad gangen"))->text(0);
    {
        const TBusy busy(*this);
        const int index = StaevneManager->IndexOfStaevneNavn(navn);
        if (index < 0)
            throw Exception(QStringLiteral("Kunne ikke åbne stævnet: ") + navn);
        StaevneManager->OpenStaevne(index);
        // An empty name means: open no meet at start.
        if (!StaevneManager->GetLastUsedName().isEmpty()) {
            StaevneManager->SetLastUsedName(navn);
            StaevneManager->SaveRegistry();
        }
    }
    done(mrOk);
}

void TValgStaevne2Form::ActOnSelected(const QString& several, const QString& failed,
                                      const std::function<bool(QWidget*, int)>& action,
                                      const std::function<void(TSelectedMeet&)>& done) {
    QTreeWidgetItem* item = OneSelected(several);
    const QString navn = item->text(0);
    const int index = StaevneManager->IndexOfStaevneNavn(navn);
    QTreeWidgetItem* folder = SelectedFolder();
    if (index < 0 || !folder)
        throw Exception(failed + navn);
    if (!action || !action(this, index))
        return;
    QStringList navne = FolderNavne(folder).value_or(QStringList());
    const qsizetype row = StaevneListView->indexOfTopLevelItem(item);
    TSelectedMeet meet{item, index, navne, row >= 0 && row < navne.size() ? row : -1};
    done(meet);
    SetFolderNavne(folder, navne);
    SaveTree();
}

void TValgStaevne2Form::Ret() {
    ActOnSelected(QStringLiteral("Kan kun rette et stævne ad gangen"),
                  QStringLiteral("Fejl ved forsøg på at rette stævnenavn for "), actions_.Ret,
                  [](TSelectedMeet& meet) {
                      // The name as the meet manager keeps it, trimmed.
                      const QString nyt = StaevneManager->GetStaevneNavn(meet.Index);
                      meet.Item->setText(0, nyt);
                      if (meet.Row >= 0)
                          meet.Navne[meet.Row] = nyt;
                  });
}

void TValgStaevne2Form::Slet() {
    ActOnSelected(QStringLiteral("Kan kun slette et stævne ad gangen"),
                  QStringLiteral("Fejl ved forsøg på at slette stævne "), actions_.Slet,
                  [this](TSelectedMeet& meet) {
                      if (meet.Row >= 0)
                          meet.Navne.removeAt(meet.Row);
                      delete meet.Item;
                      StaevneListView->clearSelection();
                  });
}

void TValgStaevne2Form::Import() {
    QTreeWidgetItem* folder = SelectedFolder();
    if (!folder || !actions_.Importer || !actions_.Importer(this, ImportTypes->currentIndex()))
        return;
    const int index = StaevneManager->GetStaevneCount() - 1;
    const QString navn = StaevneManager->GetStaevneNavn(index);
    StaevneListView->addTopLevelItem(new QTreeWidgetItem({navn, StaevneManager->GetStaevneDatoText(index)}));
    QStringList navne = FolderNavne(folder).value_or(QStringList());
    navne.append(navn);
    SetFolderNavne(folder, navne);
}

void TValgStaevne2Form::OpretMappeButtonClick() {
    QTreeWidgetItem* parent = SelectedFolder();
    QTreeWidgetItem* folder = NewFolder(NyMappe);
    SetFolderNavne(folder, QStringList());
    if (parent) {
        parent->addChild(folder);
        parent->setExpanded(true);
    } else {
        TreeView->addTopLevelItem(folder);
    }
    TreeView->setCurrentItem(folder);
    TreeView->editItem(folder, 0);
}

void TValgStaevne2Form::SletMappe() {
    QTreeWidgetItem* folder = SelectedFolder();
    if (!folder)
        return;
    const QList<QTreeWidgetItem*> nodes = Subtree(folder);
    if (std::any_of(nodes.begin(), nodes.end(), [](const QTreeWidgetItem* node) {
            return !FolderNavne(node).value_or(QStringList()).isEmpty();
        }))
        throw Exception(QStringLiteral("Der findes stævner i mappen. Mappen kan ikke slettes."));
    Detach(TreeView, folder);
    delete folder;
}

// ---------------------------------------------------------------- drag and drop

void TValgStaevne2Form::DropNavneOnFolder(const QList<QTreeWidgetItem*>& items, QTreeWidgetItem* folder) {
    QTreeWidgetItem* source = SelectedFolder();
    if (!folder || !source || folder == source || items.isEmpty())
        return;
    QList<QTreeWidgetItem*> rows = items;
    std::sort(rows.begin(), rows.end(), [this](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return StaevneListView->indexOfTopLevelItem(a) < StaevneListView->indexOfTopLevelItem(b);
    });
    QStringList from = FolderNavne(source).value_or(QStringList());
    QStringList to = FolderNavne(folder).value_or(QStringList());
    for (auto item = rows.rbegin(); item != rows.rend(); ++item) {
        const int row = StaevneListView->indexOfTopLevelItem(*item);
        if (row < 0 || row >= from.size())
            continue;
        to.append(from.takeAt(row));
        delete StaevneListView->takeTopLevelItem(row);
    }
    SetFolderNavne(source, from);
    SetFolderNavne(folder, to);
}

void TValgStaevne2Form::DropFolder(QTreeWidgetItem* folder, QTreeWidgetItem* target) {
    if (!folder || !target || IsInside(target, folder))
        return;
    // Taking an item out of the view forgets which of its folders were open.
    QList<QTreeWidgetItem*> expanded;
    for (QTreeWidgetItem* node : Subtree(folder))
        if (node->isExpanded())
            expanded.append(node);
    Detach(TreeView, folder);
    if (QTreeWidgetItem* parent = target->parent())
        parent->insertChild(parent->indexOfChild(target), folder);
    else
        TreeView->insertTopLevelItem(TreeView->indexOfTopLevelItem(target), folder);
    for (QTreeWidgetItem* node : expanded)
        node->setExpanded(true);
    TreeView->setCurrentItem(folder);
}

void TValgStaevne2Form::DropListItem(QTreeWidgetItem* item, QTreeWidgetItem* target) {
    QTreeWidgetItem* folder = SelectedFolder();
    if (!item || !target || item == target || !folder)
        return;
    const int from = StaevneListView->indexOfTopLevelItem(item);
    const int to = StaevneListView->indexOfTopLevelItem(target);
    QStringList navne = FolderNavne(folder).value_or(QStringList());
    if (from < 0 || to < 0 || from >= navne.size() || to >= navne.size())
        return;
    navne.move(from, to);
    SetFolderNavne(folder, navne);
    StaevneListView->takeTopLevelItem(from);
    StaevneListView->insertTopLevelItem(to, item);
    StaevneListView->setCurrentItem(item);
}

// ---------------------------------------------------------------- keys and closing

bool TValgStaevne2Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (watched == TreeView && TreeViewKeyDown(key->key()))
                return true;
            if (watched == StaevneListView && StaevneListViewKeyDown(key->key()))
                return true;
        }
    }
    return TStdRVKForm::eventFilter(watched, event);
}

bool TValgStaevne2Form::TreeViewKeyDown(int key) {
    switch (key) {
    case Qt::Key_Insert:
        OpretMappeButtonClick();
        return true;
    case Qt::Key_Delete:
        SletMappeButtonClick();
        return true;
    default:
        return false;
    }
}

bool TValgStaevne2Form::StaevneListViewKeyDown(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        AabnButtonClick();
        return true;
    case Qt::Key_F2:
        if (RetButton->isEnabled())
            RetButtonClick();
        return true;
    case Qt::Key_Delete:
        if (SletButton->isEnabled())
            SletButtonClick();
        return true;
    default:
        return false;
    }
}

void TValgStaevne2Form::done(int result) {
    if (busy_)
        return;
    RunShowingErrors(this, [this] { SaveTree(); });
    TStdRVKForm::done(result);
}
