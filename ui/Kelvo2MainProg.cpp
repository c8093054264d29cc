#include "ui/Kelvo2MainProg.h"

#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/PathResolver.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "ui/LaunchersKlub.h"
#include "ui/LaunchersOvelse.h"
#include "ui/LaunchersStaevne.h"
#include "ui/LaunchersTabel.h"
#include "ui/WidgetKit.h"
#include "ui/board/ResultatInfo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

const QString Caption = QStringLiteral("  ZUNO-2");
const QString IdSwitch = QStringLiteral("ID=");
constexpr int BoardPrefixLength = 5;
constexpr QSize ButtonSize(91, 36);
constexpr QSize ClientSize(677, 70);

QToolButton* MakeToolButton(QToolBar* bar, const QString& name, const QString& caption,
                            QStyle::StandardPixmap image) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(bar->style()->standardIcon(image));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // A caption in a font larger than the one the size was made for gets the room it needs.
    button->setMinimumSize(ButtonSize);
    bar->addWidget(button);
    return button;
}

bool MeetOpen() {
    return StaevneManager && StaevneManager->GetCurrentIndex() >= 0;
}

// Passes every box on to the presenter in use and keeps the texts of the errors, for its lifetime.
class TCollectedErrors {
public:
    TCollectedErrors() {
        auto forwarder = std::make_unique<TForwarder>();
        forwarder_ = forwarder.get();
        forwarder_->Inner = InstallMessagePresenter(std::move(forwarder));
    }
    ~TCollectedErrors() { InstallMessagePresenter(std::move(forwarder_->Inner)); }
    TCollectedErrors(const TCollectedErrors&) = delete;
    TCollectedErrors& operator=(const TCollectedErrors&) = delete;

    const QStringList& Errors() const { return forwarder_->Errors; }

private:
    struct TForwarder : TMessagePresenter {
        int Present(QObject* owner, const TMessageBox& box) override {
            if (box.Kind == TMessageKind::Error)
                Errors.append(box.Text);
            return Inner->Present(owner, box);
        }
        std::unique_ptr<TMessagePresenter> Inner;
        QStringList Errors;
    };

    TForwarder* forwarder_;
};

} // namespace

TKelvo2MainProgForm::TKelvo2MainProgForm(QStringList arguments, QString programDir)
    : QMainWindow(nullptr)
    , TStdFormBehaviour(static_cast<QWidget&>(*this))
    , MainToolBar(new QToolBar(this))
    , NytStaevneButton(MakeToolButton(MainToolBar, QStringLiteral("NytStaevneButton"),
                                      QStringLiteral("&Nyt stævne"), QStyle::SP_FileIcon))
    , VaelgStaevneButton(MakeToolButton(MainToolBar, QStringLiteral("VaelgStaevneButton"),
                                        QStringLiteral("&Vælg stævne"), QStyle::SP_DirOpenIcon))
    , ToolButton1(MainToolBar->addSeparator())
    , StaevneDataButton(MakeToolButton(MainToolBar, QStringLiteral("StaevneDataButton"),
                                       QStringLiteral("&Stævne-data"), QStyle::SP_FileDialogDetailedView))
    , KlubberButton(MakeToolButton(MainToolBar, QStringLiteral("KlubberButton"), QStringLiteral("&Klubber"),
                                   QStyle::SP_FileDialogListView))
    , OvelserButton(MakeToolButton(MainToolBar, QStringLiteral("OvelserButton"), QStringLiteral("Øve&lser"),
                                   QStyle::SP_FileDialogContentsView))
    , ToolButton2(MainToolBar->addSeparator())
    , ExportButton(MakeToolButton(MainToolBar, QStringLiteral("ExportButton"),
                                  QStringLiteral("&Exporter stævne"), QStyle::SP_DialogSaveButton))
    , ToolButton3(MainToolBar->addSeparator())
    , RettelserButton(MakeToolButton(MainToolBar, QStringLiteral("RettelserButton"),
                                     QStringLiteral("Se rettelser"), QStyle::SP_MessageBoxInformation))
    , StaevneLabel(new QLabel(this))
    , ImportButton(new QPushButton(QStringLiteral("Import"), this))
    , arguments_(std::move(arguments))
    , programDir_(std::move(programDir))
    , batch_(IsBatchCommandLine(arguments_)) {
    setObjectName(QStringLiteral("Kelvo2MainProgForm"));
    setWindowTitle(Caption);
    // The float-to-text routines write "." whatever the locale.
    SetDecimalSeparator(u'.');

    MainToolBar->setObjectName(QStringLiteral("MainToolBar"));
    MainToolBar->setMovable(false);
    MainToolBar->setFloatable(false);
    MainToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    MainToolBar->layout()->setContentsMargins(3, 3, 3, 3);
    MainToolBar->setIconSize(QSize(16, 16));
    addToolBar(MainToolBar);

    StaevneLabel->setObjectName(QStringLiteral("StaevneLabel"));
    StaevneLabel->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(13);
    font.setBold(true);
    StaevneLabel->setFont(font);
    QPalette red = StaevneLabel->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    StaevneLabel->setPalette(red);

    ImportButton->setObjectName(QStringLiteral("ImportButton"));
    ImportButton->setVisible(false);
    ImportButton->setAutoDefault(false);

    auto* client = new QWidget(this);
    auto* row = new QHBoxLayout(client);
    row->setContentsMargins(6, 2, 6, 4);
    row->addWidget(StaevneLabel, 1);
    row->addWidget(ImportButton);
    setCentralWidget(client);
    // Every button in view, none behind the tool bar's overflow arrow.
    resize(std::max(ClientSize.width(), MainToolBar->sizeHint().width()), sizeHint().height());
    setMinimumWidth(MainToolBar->sizeHint().width());

    commands_ = {
        {NytStaevneButton, TNeeds::NoSpeaker, true},
        {VaelgStaevneButton, TNeeds::Nothing, true},
        {StaevneDataButton, TNeeds::MeetNoSpeaker, true}, // the meet settings
        {KlubberButton, TNeeds::MeetNoSpeaker, true},     // clubs and participants
        {OvelserButton, TNeeds::Meet, true},              // the event editor
        {ExportButton, TNeeds::MeetNoSpeaker, true},
        {RettelserButton, TNeeds::Nothing, true},
        {ImportButton, TNeeds::MeetNoSpeaker, true}, // the registration imports
    };

    connect(NytStaevneButton, &QToolButton::clicked, this, &TKelvo2MainProgForm::NytStaevneClick);
    connect(VaelgStaevneButton, &QToolButton::clicked, this, &TKelvo2MainProgForm::VaelgStaevneClick);
    connect(StaevneDataButton, &QToolButton::clicked, this, &TKelvo2MainProgForm::StaevneDataButtonClick);
    connect(KlubberButton, &QToolButton::clicked, this, &TKelvo2MainProgForm::KlubberButtonClick);
    connect(OvelserButton, &QToolButton::clicked, this, &TKelvo2MainProgForm::OvelserClick);
    connect(ExportButton, &QToolButton::clicked, this, &TKelvo2MainProgForm::ExportButtonClick);
    connect(RettelserButton, &QToolButton::clicked, this, &TKelvo2MainProgForm::RettelserButtonClick);
    connect(ImportButton, &QPushButton::clicked, this, &TKelvo2MainProgForm::ImportButtonClick);
    OnDoubleClick(StaevneLabel, [this] { VersionLabelDblClick(); });
    UpdateView();
}

TKelvo2MainProgForm::~TKelvo2MainProgForm() = default;

// ---------------------------------------------------------------- showing and closing

void TKelvo2MainProgForm::showEvent(QShowEvent* event) {
    BeforeShow(event);
    QMainWindow::showEvent(event);
    AfterShow(event);
    if (firstShow_ && !event->spontaneous()) {
        firstShow_ = false;
        FormShow();
    }
}

void TKelvo2MainProgForm::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    if (!boardShown_)
        AfterHide(event);
}

void TKelvo2MainProgForm::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit FormClosed();
}

void TKelvo2MainProgForm::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Shift+F5 shows the hidden Import button; the keys no control takes come here.
    if (event->key() == Qt::Key_F5 && event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
        ImportButton->show();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TKelvo2MainProgForm::FormShow() {
    {
        const TCollectedErrors errors;
        if (!InitGlobals(programDir_)) {
            exitCode_ = 1;
            startupFailure_ = errors.Errors().join(u'\n');
            if (startupFailure_.isEmpty())
                startupFailure_ = QStringLiteral("ZUNO kunne ikke starte");
            // Closed once the window is up, so that the program's loop ends with it.
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
            return;
        }
    }
    SelectStaevne();
    setWindowTitle(windowTitle() + QStringLiteral(",  Version ") + ProgramVersion);
    QMetaObject::invokeMethod(this, &TKelvo2MainProgForm::WMStartJobs, Qt::QueuedConnection);
}

void TKelvo2MainProgForm::SelectStaevne() {
    int index = -1;
    if (const qint32 stID = RequestedStID(); stID >= 0) {
        // Not being able to open it is as if it were not there.
        try {
            index = StaevneManager->IndexOfStID(stID);
            if (index >= 0)
                StaevneManager->OpenStaevne(index);
        } catch (const std::exception&) {
        }
    }
    const QString last = StaevneManager->GetLastUsedName();
    if (index == -1 && !last.isEmpty()) {
        try {
            StaevneManager->OpenStaevne(StaevneManager->IndexOfStaevneNavn(last));
        } catch (const std::exception&) {
        }
    }
}

void TKelvo2MainProgForm::WMStartJobs() {
    UpdateView();
    // A board in a batch run would wait, unseen, for ever.
    if (!batch_) {
        CheckBoard();
        return;
    }
    const std::optional<QString> failure = FailureOf([this] {
        // A script names its meet: another one (the last used) must not stand in for it.
        const bool idGiven = !FindSwitchValue(IdSwitch, arguments_).isEmpty();
        if (idGiven && (RequestedStID() < 0 || StaevneManager->GetCurrentStID() != RequestedStID()))
            throw Exception(QStringLiteral("Der findes intet stævne med ID=") +
                            SwitchArgument(IdSwitch, arguments_) +
                            QStringLiteral(", så der er ikke kørt noget"));
        RunBatchJobs(arguments_);
    });
    if (failure) {
        exitCode_ = 1;
        ShowError(nullptr, *failure);
    }
    close();
}

qint32 TKelvo2MainProgForm::RequestedStID() const {
    bool number = false;
    const int stID = SwitchArgument(IdSwitch, arguments_).toInt(&number);
    return number && stID >= 0 ? stID : -1;
}

// ---------------------------------------------------------------- the view

int TKelvo2MainProgForm::BoardNumber(const QString& firstParameter) {
    if (firstParameter.size() != BoardPrefixLength + 1 ||
        firstParameter.left(BoardPrefixLength).compare(QLatin1String("BOARD"), Qt::CaseInsensitive) != 0)
        return 0;
    const QChar digit = firstParameter.back();
    return digit >= u'1' && digit <= u'9' ? digit.digitValue() : 0;
}

int TKelvo2MainProgForm::CheckBoard() {
    const int board = BoardNumber(arguments_.value(0));
    if (board == 0)
        return 0;
    if (!MeetOpen()) {
        const QString number = QString::number(board);
        ShowInformation(this, QStringLiteral("Resultattavle ") + number +
                                  QStringLiteral(" kan ikke vises, fordi der ikke er noget stævne åbent.") +
                                  CrLf +
                                  QStringLiteral("Vælg et stævne med \"Vælg stævne\", så vises tavlen."));
        return board;
    }
    boardShown_ = true;
    RunShowingErrors(this, [board] { VisResultatInfo(board); });
    close();
    return board;
}

bool TKelvo2MainProgForm::IsCommandAllowed(const QAbstractButton* button) const {
    const auto command = std::find_if(commands_.begin(), commands_.end(),
                                      [button](const TCommand& each) { return each.Button == button; });
    if (command == commands_.end())
        return false;
    switch (command->Needs) {
    case TNeeds::Nothing:
        return true;
    case TNeeds::NoSpeaker:
        return !SpeakerMode;
    case TNeeds::Meet:
        return MeetOpen();
    case TNeeds::MeetNoSpeaker:
        return MeetOpen() && !SpeakerMode;
    }
    return false;
}

void TKelvo2MainProgForm::UpdateView() {
    for (const TCommand& command : commands_)
        command.Button->setEnabled(command.Built && IsCommandAllowed(command.Button));
    StaevneLabel->setText(MeetOpen() ? StaevneManager->GetStaevneNavn(StaevneManager->GetCurrentIndex()) +
                                           QStringLiteral(" (") +
                                           QString::number(StaevneManager->GetCurrentStID()) + u')'
                                     : QString());
}

// ---------------------------------------------------------------- the commands

void TKelvo2MainProgForm::RunHidden(const std::function<void()>& launcher) {
    hide();
    RunShowingErrors(this, launcher);
    show();
    raise();
    activateWindow();
}

void TKelvo2MainProgForm::NytStaevneClick() {
    RunHidden([this] { NytStaevne(this); });
    UpdateView();
}

void TKelvo2MainProgForm::VaelgStaevneClick() {
    RunHidden([this] { VaelgStaevne(this); });
    UpdateView();
    if (MeetOpen())
        CheckBoard();
}

void TKelvo2MainProgForm::StaevneDataButtonClick() {
    RunHidden([this] { RedigerStaevneData(this); });
    UpdateView();
}

void TKelvo2MainProgForm::KlubberButtonClick() {
    RunHidden([this] { RedigerKlubber(this); });
}

void TKelvo2MainProgForm::OvelserClick() {
    RunHidden([this] { RunOvelseEditor(this); });
}

void TKelvo2MainProgForm::ExportButtonClick() {
    RunHidden([this] { EksporterStaevne(this); });
}

void TKelvo2MainProgForm::RettelserButtonClick() {
    if (VisRettelser())
        return;
    // Without a program for HTML pages the desktop would only complain on standard error.
    const QString page = ResolvePath(PathJoin(ProgramDir, QStringLiteral("zuno2.htm")));
    ShowError(this, QFileInfo(page).isFile()
                        ? QStringLiteral("Rettelserne kan ikke vises: der er intet program til at vise "
                                         "HTML-sider på denne maskine.") +
                              CrLf + QStringLiteral("Åbn filen \"") + page +
                              QStringLiteral("\" i en browser.")
                        : QStringLiteral("Rettelserne kan ikke vises: filen \"") + page +
                              QStringLiteral("\" findes ikke."));
}

void TKelvo2MainProgForm::ImportButtonClick() {
    if (!IsCommandAllowed(ImportButton))
        return;
    if (StaevneManager->SystemData().Redid)
        IndlaesRedid();
    else
        IndlaesDeltagere();
}

void TKelvo2MainProgForm::IndlaesDeltagere() {
    RunShowingErrors(this, [this] { IndlaesDeltagereFil(this); });
}

void TKelvo2MainProgForm::IndlaesRedid() {
    RunShowingErrors(this, [this] { IndlaesRedidFil(this); });
}

void TKelvo2MainProgForm::VersionLabelDblClick() {
    if (!MeetOpen() || SpeakerMode)
        return;
    RunShowingErrors(this, [this] { RedigerTabeller(this); });
    UpdateView();
}
