#include "ui/eltid/EltidReaderForm.h"

#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Context.h"
#include "ui/DialogRunner.h"
#include "ui/WidgetKit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString Caption = QStringLiteral("Eltid tider");
constexpr int CameraCount = 4;
// The default button "Nej" before accepting lines that give no result.
constexpr int NejButton = 1;

QComboBox* MakeCombo(QWidget* parent, const QString& name, const QStringList& items = {}) {
    auto* combo = Named(new QComboBox(parent), name);
    combo->addItems(items);
    return combo;
}

QStringList CameraItems() {
    QStringList items;
    for (int camera = 1; camera <= CameraCount; ++camera)
        items << QString::number(camera);
    return items;
}

// Shows the text a cell's row gives as the cell's tool tip.
class TRowHintFilter : public QObject {
public:
    TRowHintFilter(TExtStringGrid& grid, std::function<QString(int row)> hint)
        : QObject(&grid)
        , grid_(grid)
        , hint_(std::move(hint)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return QObject::eventFilter(watched, event);
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = grid_.indexAt(help->pos());
        const QString text = index.isValid() ? hint_(index.row() + grid_.FixedRows()) : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, grid_.viewport());
        return true;
    }

private:
    TExtStringGrid& grid_;
    std::function<QString(int row)> hint_;
};

} // namespace

TEltidReaderForm::TEltidReaderForm(QWidget* owner, const TEltidRun& run)
    : TStdRVKForm(owner)
    , TimingPanel(MakePanel(this, QStringLiteral("TimingPanel")))
    , EltidSystem(MakeCombo(TimingPanel, QStringLiteral("EltidSystem"),
                            {QStringLiteral("Omega"), QStringLiteral("ALGE"), QStringLiteral("Lynx")}))
    , CameraNo(MakeCombo(TimingPanel, QStringLiteral("CameraNo"), CameraItems()))
    , Omega1000(MakeCheck(TimingPanel, QStringLiteral("Omega1000"), QStringLiteral("1/1000 sekund")))
    , MinutTilSekund(
          MakeCheck(TimingPanel, QStringLiteral("MinutTilSekund"), QStringLiteral("Minutter til sekunder")))
    , Tidligere(MakeCheck(TimingPanel, QStringLiteral("Tidligere"), QStringLiteral("Tidligere")))
    , AutoXml(MakeCheck(TimingPanel, QStringLiteral("AutoXml"), QStringLiteral("Auto XML")))
    , FilePanel(MakePanel(this, QStringLiteral("FilePanel")))
    , FolderLabel(MakeLabel(FilePanel, QStringLiteral("FolderLabel")))
    , FileListbox(Named(new QListWidget(FilePanel), QStringLiteral("FileListbox")))
    , OpdaterButton(MakeButton(FilePanel, QStringLiteral("OpdaterButton"), QStringLiteral("Opdater")))
    , VaelgButton(MakeButton(FilePanel, QStringLiteral("VaelgButton"), QStringLiteral("Vælg")))
    , FjernButton(MakeButton(FilePanel, QStringLiteral("FjernButton"), QStringLiteral("Fjern")))
    , Nulstil(MakeButton(FilePanel, QStringLiteral("Nulstil"), QStringLiteral("Nulstil")))
    , SetEltidReference(
          MakeButton(FilePanel, QStringLiteral("SetEltidReference"), QStringLiteral("Sæt eltid reference")))
    , TiderPanel(MakePanel(this, QStringLiteral("TiderPanel")))
    , FilenameLabel(MakeLabel(TiderPanel, QStringLiteral("FilenameLabel")))
    , WaitingLabel(MakeLabel(TiderPanel, QStringLiteral("WaitingLabel")))
    , TiderGrid(Named(new TExtStringGrid(TiderPanel), QStringLiteral("TiderGrid")))
    , VindLabel(MakeLabel(TiderPanel, QStringLiteral("VindLabel"), QStringLiteral("Vind")))
    , Vind(Named(new QLineEdit(TiderPanel), QStringLiteral("Vind")))
    , VindFejlLabel(MakeLabel(TiderPanel, QStringLiteral("VindFejlLabel")))
    , Rediger(MakeButton(TiderPanel, QStringLiteral("Rediger"), QStringLiteral("Rediger")))
    , Godkend(MakeButton(this, QStringLiteral("Godkend"), QStringLiteral("Godkend")))
    , Annuller(MakeButton(this, QStringLiteral("Annuller"), QStringLiteral("Annuller")))
    , ScoreboardPanel(
          Named(new QGroupBox(QStringLiteral("Scoreboard"), this), QStringLiteral("ScoreboardPanel")))
    , Overskrift(Named(new QLineEdit(ScoreboardPanel), QStringLiteral("Overskrift")))
    , StartListeLaneButton(
          MakeButton(ScoreboardPanel, QStringLiteral("StartListeLaneButton"), QStringLiteral("SL")))
    , StartListeBibButton(
          MakeButton(ScoreboardPanel, QStringLiteral("StartListeBibButton"), QStringLiteral("SB")))
    , ResultatButton(MakeButton(ScoreboardPanel, QStringLiteral("ResultatButton"), QStringLiteral("R")))
    , ResultatTotalButton(
          MakeButton(ScoreboardPanel, QStringLiteral("ResultatTotalButton"), QStringLiteral("RT")))
    , KvalNaesteRundeButton(
          MakeButton(ScoreboardPanel, QStringLiteral("KvalNaesteRundeButton"), QStringLiteral("Q")))
    , PresentationButton(
          MakeButton(ScoreboardPanel, QStringLiteral("PresentationButton"), QStringLiteral("P")))
    , ClearButton(MakeButton(ScoreboardPanel, QStringLiteral("ClearButton"), QStringLiteral("C")))
    , CommandsCombobox(MakeCombo(ScoreboardPanel, QStringLiteral("CommandsCombobox")))
    , KunSide1(MakeCheck(ScoreboardPanel, QStringLiteral("KunSide1"), QStringLiteral("Kun side 1")))
    , AlleHeats(MakeCheck(ScoreboardPanel, QStringLiteral("AlleHeats"), QStringLiteral("Alle heats")))
    , CollectCheckBox(
          MakeCheck(ScoreboardPanel, QStringLiteral("CollectCheckBox"), QStringLiteral("Collect")))
    , ClearCollectedButton(
          MakeButton(ScoreboardPanel, QStringLiteral("ClearCollectedButton"), QStringLiteral("CC")))
    , ActivateCollectedButton(
          MakeButton(ScoreboardPanel, QStringLiteral("ActivateCollectedButton"), QStringLiteral("AC")))
    , OngoingEventsCombobox(MakeCombo(ScoreboardPanel, QStringLiteral("OngoingEventsCombobox")))
    , OngoingEventsButton(
          MakeButton(ScoreboardPanel, QStringLiteral("OngoingEventsButton"), QStringLiteral("C")))
    , Timer(Named(new QTimer(this), QStringLiteral("Timer")))
    , session_(std::make_unique<TEltidSession>(run)) {
    setObjectName(QStringLiteral("EltidReaderForm"));
    setWindowTitle(Caption);
    // Enter belongs to the wind box and the grid's editor here; Up and Down still move the focus.
    EnterNavigation = false;
    BuildTimingPanel();
    BuildFilePanel();
    BuildTiderPanel();
    BuildScoreboardPanel();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Godkend);
    buttons->addWidget(Annuller);
    auto* window = new QVBoxLayout(this);
    window->addWidget(TimingPanel);
    window->addWidget(FilePanel, 1);
    window->addWidget(TiderPanel, 1);
    window->addWidget(ScoreboardPanel);
    window->addLayout(buttons);
    // Enter clicks no button behind the user's back.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    TiderPanel->hide();
    resize(640, 620);

    CommandsCombobox->addItems(TEltidSession::ScoreboardCommands());
    CommandsCombobox->setCurrentIndex(-1);
    OngoingEventsCombobox->addItems(TEltidSession::OngoingEvents());
    OngoingEventsCombobox->setCurrentIndex(-1);
    Timer->setInterval(TimerInterval);
    ConnectChoosing();
    ConnectReading();
    ConnectScoreboard();
}

TEltidReaderForm::~TEltidReaderForm() {
    // The grid outlives the session by a little as the window goes.
    Timer->stop();
    TiderGrid->BeforeDrawCell = nullptr;
    TiderGrid->OnLeaveCell = nullptr;
}

// ---------------------------------------------------------------- building

void TEltidReaderForm::BuildTimingPanel() {
    auto* layout = new QGridLayout(TimingPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MakeLabel(TimingPanel, {}, QStringLiteral("Tidtagning")), 0, 0);
    layout->addWidget(EltidSystem, 0, 1);
    layout->addWidget(MakeLabel(TimingPanel, {}, QStringLiteral("Kamera")), 0, 2);
    layout->addWidget(CameraNo, 0, 3);
    layout->addWidget(Tidligere, 0, 4);
    layout->addWidget(Omega1000, 1, 0, 1, 2);
    layout->addWidget(MinutTilSekund, 1, 2, 1, 2);
    layout->addWidget(AutoXml, 1, 4);
    layout->setColumnStretch(5, 1);
}

void TEltidReaderForm::BuildFilePanel() {
    FileListbox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* commands = new QVBoxLayout;
    for (QPushButton* button : {VaelgButton, FjernButton, OpdaterButton, Nulstil, SetEltidReference})
        commands->addWidget(button);
    commands->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(FileListbox, 1);
    row->addLayout(commands);
    auto* layout = new QVBoxLayout(FilePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    FolderLabel->setWordWrap(true);
    layout->addWidget(FolderLabel);
    layout->addLayout(row, 1);
}

void TEltidReaderForm::BuildTiderPanel() {
    TiderGrid->SetFixedRows(1);
    TiderGrid->SetFixedCols(0);
    TExtColumns& columns = TiderGrid->Columns();
    columns.BeginUpdate();
    columns.Clear();
    const QStringList headings = TEltidSession::GridHeadings();
    for (int col = 0; col < headings.size(); ++col) {
        TExtColumn& column = columns.Add();
        column.SetText(headings.at(col));
        // Lanes and start numbers are typed after "Rediger"; the rest is the file's.
        column.ReadOnly = col != BaneCol && col != StartNrCol;
        column.Tabulator = !column.ReadOnly;
    }
    columns.EndUpdate();
    for (const auto& [col, width] :
         {std::pair(NrCol, 50), std::pair(BaneCol, 50), std::pair(StartNrCol, 70), std::pair(TidCol, 100),
          std::pair(StatusCol, 70), std::pair(TusindedeleCol, 70)})
        TiderGrid->SetColWidths(col, width);
    TiderGrid->SetRowCount(2);
    TiderGrid->SetOptions(TGridOption::goRowSelect | TGridOption::goColSizing);
    TiderGrid->BeforeDrawCell = [this](int col, int row, TGridDrawStates, TCellCanvas& canvas) {
        const std::vector<TEltidData>& lines = session_->Reader().Lines();
        const int line = row - TiderGrid->FixedRows();
        if (col == StatusCol && line >= 0 && line < int(lines.size()) && lines[std::size_t(line)].IsFejl()) {
            canvas.BrushColor = Qt::red;
            canvas.FontColor = Qt::white;
        }
    };
    TiderGrid->viewport()->installEventFilter(new TRowHintFilter(*TiderGrid, [this](int row) {
        const std::vector<TEltidData>& lines = session_->Reader().Lines();
        const int line = row - TiderGrid->FixedRows();
        return line >= 0 && line < int(lines.size()) ? lines[std::size_t(line)].FejlText() : QString();
    }));

    auto* top = new QHBoxLayout;
    QFont bold = FilenameLabel->font();
    bold.setBold(true);
    FilenameLabel->setFont(bold);
    top->addWidget(FilenameLabel);
    top->addStretch();
    top->addWidget(WaitingLabel);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(VindLabel);
    Vind->setMaximumWidth(80);
    bottom->addWidget(Vind);
    VindFejlLabel->setStyleSheet(QStringLiteral("color: red;"));
    bottom->addWidget(VindFejlLabel);
    bottom->addStretch();
    bottom->addWidget(Rediger);
    auto* layout = new QVBoxLayout(TiderPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(TiderGrid, 1);
    layout->addLayout(bottom);
}

void TEltidReaderForm::BuildScoreboardPanel() {
    auto* layout = new QGridLayout(ScoreboardPanel);
    layout->addWidget(MakeLabel(ScoreboardPanel, {}, QStringLiteral("Overskrift")), 0, 0);
    layout->addWidget(Overskrift, 0, 1, 1, 8);
    int col = 0;
    for (QPushButton* button : {StartListeLaneButton, StartListeBibButton, ResultatButton,
                                ResultatTotalButton, KvalNaesteRundeButton, PresentationButton}) {
        button->setMaximumWidth(40);
        layout->addWidget(button, 1, col++);
    }
    ClearButton->setMaximumWidth(40);
    layout->addWidget(ClearButton, 1, col++);
    layout->addWidget(CommandsCombobox, 1, col, 1, 2);
    layout->addWidget(KunSide1, 2, 0, 1, 2);
    layout->addWidget(AlleHeats, 2, 2, 1, 2);
    layout->addWidget(CollectCheckBox, 2, 4, 1, 2);
    for (QPushButton* button : {ClearCollectedButton, ActivateCollectedButton, OngoingEventsButton})
        button->setMaximumWidth(40);
    layout->addWidget(ClearCollectedButton, 3, 0);
    layout->addWidget(ActivateCollectedButton, 3, 1);
    layout->addWidget(OngoingEventsCombobox, 3, 4, 1, 4);
    layout->addWidget(OngoingEventsButton, 3, 8);
    layout->setColumnStretch(7, 1);
}

void TEltidReaderForm::Act(const std::function<void()>& work) {
    Guarded(this, [&] {
        work();
        return true;
    });
    UpdateControls();
}

void TEltidReaderForm::ConnectChoosing() {
    const auto relist = [this] { ShowFiles(session_->ListFiles()); };
    connect(EltidSystem, &QComboBox::currentIndexChanged, this, [this, relist](int index) {
        Act([&] {
            session_->SetEltidSystem(index);
            relist();
        });
    });
    connect(CameraNo, &QComboBox::currentIndexChanged, this, [this, relist](int index) {
        Act([&] {
            session_->SetCameraNo(index);
            relist();
        });
    });
    connect(Omega1000, &QCheckBox::toggled, this,
            [this](bool on) { Act([&] { session_->SetOmega1000(on); }); });
    connect(MinutTilSekund, &QCheckBox::toggled, this,
            [this](bool on) { Act([&] { session_->SetMinutTilSekund(on); }); });
    connect(Tidligere, &QCheckBox::toggled, this, [this, relist](bool on) {
        Act([&] {
            session_->SetTidligere(on);
            relist();
        });
    });
    connect(AutoXml, &QCheckBox::toggled, this, [this](bool on) { Act([&] { session_->SetAutoXml(on); }); });
    connect(OpdaterButton, &QPushButton::clicked, this, [this, relist] { Act(relist); });
    connect(FjernButton, &QPushButton::clicked, this, [this] {
        Act([this] {
            QStringList names;
            for (const QListWidgetItem* item : FileListbox->selectedItems())
                names << item->text();
            ShowFiles(session_->Fjern(names));
        });
    });
    connect(Nulstil, &QPushButton::clicked, this,
            [this] { Act([this] { ShowFiles(session_->Nulstil()); }); });
    connect(SetEltidReference, &QPushButton::clicked, this, [this] { Act([this] { OpenReference(); }); });
    connect(VaelgButton, &QPushButton::clicked, this, [this] { Act([this] { ChooseFile(); }); });
    connect(FileListbox, &QListWidget::itemDoubleClicked, this, [this] { Act([this] { ChooseFile(); }); });
    connect(FileListbox, &QListWidget::itemSelectionChanged, this, [this] { UpdateControls(); });
}

void TEltidReaderForm::ConnectReading() {
    connect(Timer, &QTimer::timeout, this, [this] { Tick(); });
    connect(Rediger, &QPushButton::clicked, this, [this] { Act([this] { StartEditing(); }); });
    connect(TiderGrid, &QAbstractItemView::doubleClicked, this, [this] {
        if (session_->CanRediger())
            Act([this] { StartEditing(); });
    });
    TiderGrid->OnLeaveCell = [this](int col, int row, bool& allow) {
        allow = true;
        LeaveTiderCell(col, row);
    };
    OnEnterKey(Vind, [this] { Act([this] { session_->EnterVind(Vind->text()); }); });
    connect(Godkend, &QPushButton::clicked, this, [this] { Act([this] { TakeGodkend(); }); });
    connect(Annuller, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TEltidReaderForm::ConnectScoreboard() {
    connect(Overskrift, &QLineEdit::textChanged, this,
            [this](const QString& text) { session_->SetOverskrift(text); });
    const std::pair<QPushButton*, TScoreboardKnap> knapper[] = {
        {StartListeLaneButton, TScoreboardKnap::StartListeLane},
        {StartListeBibButton, TScoreboardKnap::StartListeBib},
        {ResultatButton, TScoreboardKnap::Resultat},
        {ResultatTotalButton, TScoreboardKnap::ResultatTotal},
        {KvalNaesteRundeButton, TScoreboardKnap::KvalNaesteRunde},
        {PresentationButton, TScoreboardKnap::Presentation},
        {ClearButton, TScoreboardKnap::Clear}};
    for (const auto& [button, knap] : knapper)
        connect(button, &QPushButton::clicked, this, [this, knap = knap] { Act([&] { Send(knap); }); });
    connect(KunSide1, &QCheckBox::toggled, this, [this](bool on) { session_->SetKunSide1(on); });
    connect(AlleHeats, &QCheckBox::toggled, this, [this](bool on) { session_->SetAlleHeats(on); });
    connect(CollectCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        session_->SetCollect(on);
        UpdateControls();
    });
    connect(ClearCollectedButton, &QPushButton::clicked, this,
            [this] { Act([this] { session_->ClearCollected(); }); });
    connect(ActivateCollectedButton, &QPushButton::clicked, this,
            [this] { Act([this] { session_->ActivateCollected(); }); });
    connect(OngoingEventsButton, &QPushButton::clicked, this, [this] {
        Act([this] {
            if (OngoingEventsCombobox->currentIndex() >= 0)
                session_->ActivateOngoing(OngoingEventsCombobox->currentText());
        });
    });
}

// ---------------------------------------------------------------- running

bool TEltidReaderForm::Run() {
    const bool timed = session_->IsTimed();
    TimingPanel->setVisible(timed);
    FilePanel->setVisible(timed);
    {
        const QSignalBlocker system(EltidSystem);
        const QSignalBlocker camera(CameraNo);
        EltidSystem->setCurrentIndex(std::clamp(session_->EltidSystem(), 0, EltidSystemCount - 1));
        while (CameraNo->count() <= session_->CameraNo())
            CameraNo->addItem(QString::number(CameraNo->count() + 1));
        CameraNo->setCurrentIndex(session_->CameraNo());
    }
    setWindowTitle(session_->Caption());
    Overskrift->setText(session_->Overskrift());
    if (timed)
        Act([this] { ShowFiles(session_->ListFiles()); });
    UpdateControls();
    RunDialog(*this);
    Timer->stop();
    // However the window ended, unless accepted the heat's rows are as they were.
    if (session_->State() != TEltidState::Accepted)
        session_->Annuller();
    return session_->State() == TEltidState::Accepted;
}

void TEltidReaderForm::done(int result) {
    Timer->stop();
    // Closed any other way than by "Godkend": the heat's rows as they were.
    if (session_->State() != TEltidState::Accepted)
        if (const std::optional<QString> failure = FailureOf([this] { session_->Annuller(); }))
            ShowError(this, *failure);
    TStdRVKForm::done(result);
}

void TEltidReaderForm::ShowFiles(const TEltidFileList& list) {
    FileListbox->clear();
    FileListbox->addItems(list.Names);
    if (!list.Fejl.isEmpty()) {
        FolderLabel->setStyleSheet(QStringLiteral("color: red;"));
        FolderLabel->setText(list.Fejl);
    } else {
        FolderLabel->setStyleSheet({});
        FolderLabel->setText(list.Folder.isEmpty()
                                 ? QStringLiteral("Ingen mappe: vælg en fil med \"Sæt eltid "
                                                  "reference\"")
                                 : QStringLiteral("Mappe: ") + list.Folder);
    }
}

void TEltidReaderForm::OpenReference() {
    QFileDialog dialog(this, SetEltidReference->text());
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QString folder = session_->Reader().ResultFolder();
    dialog.setDirectory(folder.isEmpty() || !QFileInfo(folder).isDir() ? ModelContext().ProgramDir : folder);
    if (RunDialog(dialog) != mrOk || dialog.selectedFiles().isEmpty())
        return;
    ShowFiles(session_->SetEltidReference(dialog.selectedFiles().front()));
}

void TEltidReaderForm::ChooseFile() {
    const QList<QListWidgetItem*> selected = FileListbox->selectedItems();
    if (selected.size() != 1 || !session_->CanChoose())
        return;
    const QString name = selected.front()->text();
    // With AutoXml the scoreboard may fail after the file is chosen: the reading starts all the same.
    const std::optional<QString> failure = FailureOf([&] { session_->Choose(name); });
    if (session_->State() == TEltidState::Reading) {
        FilenameLabel->setText(name);
        FillGrid();
        Timer->start();
    }
    if (failure)
        ShowErrorLater(this, *failure);
}

void TEltidReaderForm::Tick(std::chrono::milliseconds wait) {
    // A failure's box runs a loop of its own in which the timer goes on; the session rests meanwhile.
    Guarded(this, [&] {
        const TEltidTick tick = session_->Tick(wait);
        const QString waiting = session_->WaitingText();
        if (WaitingLabel->text() != waiting)
            WaitingLabel->setText(waiting);
        if (tick.Poll == TEltidPoll::Read) {
            FillGrid();
            const QString vind = session_->VindText();
            if (!vind.isEmpty())
                Vind->setText(vind);
            VindFejlLabel->setText(session_->VindFejl());
            UpdateControls();
        }
        if (!tick.Fejl.isEmpty()) {
            // One box; the polling rests until it is closed.
            ShowError(this, tick.Fejl);
            session_->ResumePolling();
        }
        return true;
    });
}

void TEltidReaderForm::FillGrid() {
    const int lines = session_->LineCount();
    const int fixed = TiderGrid->FixedRows();
    TiderGrid->BeginUpdate();
    TiderGrid->SetRowCount(fixed + std::max(lines, 1));
    if (lines == 0)
        TiderGrid->ClearRow(fixed);
    for (int line = 0; line < lines; ++line) {
        const QStringList texts = session_->LineTexts(line);
        for (int col = 0; col < texts.size(); ++col)
            TiderGrid->SetCells(col, fixed + line, texts.at(col));
    }
    TiderGrid->EndUpdate();
}

// ---------------------------------------------------------------- editing and closing

void TEltidReaderForm::StartEditing() {
    if (!session_->CanRediger())
        return;
    session_->Rediger();
    Timer->stop();
    TiderGrid->SetOptions(TGridOption::goEditing | TGridOption::goAlwaysShowEditor |
                          TGridOption::goColSizing);
    TiderGrid->GotoCell(StartNrCol, TiderGrid->FixedRows(), true);
    TiderGrid->setFocus();
}

void TEltidReaderForm::LeaveTiderCell(int col, int row) {
    const int line = row - TiderGrid->FixedRows();
    if (session_->State() != TEltidState::Editing || line < 0 || line >= session_->LineCount())
        return;
    const TEltidData& read = session_->Reader().Lines().at(std::size_t(line));
    const QString text = TiderGrid->Cells(col, row).trimmed();
    if (col == BaneCol && text != read.Bane)
        session_->EditBane(line, text);
    else if (col == StartNrCol && text != read.Startnr)
        session_->EditStartNr(line, text);
    else
        return;
    // Another line may have let go of a row, or lost it.
    FillGrid();
}

void TEltidReaderForm::TakeGodkend() {
    if (!session_->CanGodkend() || !TiderGrid->CommitCell())
        return;
    const QString question = session_->GodkendQuestion();
    if (!question.isEmpty()) {
        MessageDefaultButton = NejButton;
        if (!AskConfirm(this, question))
            return;
    }
    session_->Godkend(Vind->text());
    done(mrOk);
}

void TEltidReaderForm::Send(TScoreboardKnap knap) {
    const bool chosen = CommandsCombobox->currentIndex() >= 0;
    session_->Send(knap,
                   knap == TScoreboardKnap::Clear && chosen ? CommandsCombobox->currentText() : QString());
}

void TEltidReaderForm::UpdateControls() {
    const bool choosing = session_->CanChoose();
    const bool reading = !choosing && session_->State() != TEltidState::Accepted &&
                         session_->State() != TEltidState::Cancelled;
    if (session_->IsTimed()) {
        FilePanel->setVisible(choosing);
        TiderPanel->setVisible(reading);
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{EltidSystem, CameraNo, Omega1000, MinutTilSekund, Tidligere,
                                         OpdaterButton, Nulstil, SetEltidReference})
        control->setEnabled(choosing);
    VaelgButton->setEnabled(choosing && FileListbox->selectedItems().size() == 1);
    FjernButton->setEnabled(session_->CanFjern());
    const bool vind = session_->Run().Vind && reading;
    VindLabel->setVisible(vind);
    Vind->setVisible(vind);
    VindFejlLabel->setVisible(vind);
    Rediger->setEnabled(session_->CanRediger());
    Godkend->setEnabled(session_->CanGodkend());
    ClearCollectedButton->setEnabled(session_->Collect());
    ActivateCollectedButton->setEnabled(session_->Collect());
    for (const auto& [box, on] :
         {std::pair(AlleHeats, session_->AlleHeats()), std::pair(CollectCheckBox, session_->Collect())}) {
        const QSignalBlocker blocker(box);
        box->setChecked(on);
    }
}
