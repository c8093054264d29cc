#include "server/HttpServerForm.h"

#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Staevne.h"
#include "server/ClientThread.h"
#include "server/CoolTrayIcon.h"
#include "server/HttpServer.h"
#include "server/ServedFiles.h"
#include "server/ServerMessagePresenter.h"
#include "ui/WidgetKit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString Caption = QStringLiteral("ZUNO http server");

struct TColumn {
    const char* Heading;
    int Width;
};
constexpr TColumn Columns[] = {{"Connect", 162}, {"TCP/IP", 124}, {"Status", 144}, {"R", 64}, {"S", 64}};
enum TCol { ConnectCol, AddressCol, StatusCol, ReceivedCol, SentCol };

// A count as the grid shows it: empty below 1.
QString CountText(int count) {
    return count >= 1 ? QString::number(count) : QString();
}

} // namespace

THttpServerForm::THttpServerForm(QString programDir, QWidget* owner)
    : TStdRVKForm(owner)
    , Label1(MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("Port")))
    , Port(Named(new TIntegerEdit(this), QStringLiteral("Port")))
    , Start(MakeButton(this, QStringLiteral("Start"), QStringLiteral("Start")))
    , Stop(MakeButton(this, QStringLiteral("Stop"), QStringLiteral("Stop")))
    , StatusGrid(Named(new TExtStringGrid(this), QStringLiteral("StatusGrid")))
    , CoolTrayIcon(new TCoolTrayIcon(this))
    , programDir_(std::move(programDir)) {
    setObjectName(QStringLiteral("HttpServerForm"));
    setWindowTitle(Caption);
    // The float-to-text routines write "." whatever the locale.
    SetDecimalSeparator(u'.');
    // A box from the request handler's thread must not become a window.
    auto presenter = std::make_unique<TServerMessagePresenter>([this](const QString& line) {
        if (server_)
            server_->Log(line);
    });
    presenter_ = presenter.get();
    presenter_->SetWindowPresenter(InstallMessagePresenter(std::move(presenter)));

    Port->SetValue(DefaultPort);
    Stop->setEnabled(false);
    BuildGrid();
    BuildLayout();

    CoolTrayIcon->setObjectName(QStringLiteral("CoolTrayIcon"));
    CoolTrayIcon->SetHint(Caption);
    CoolTrayIcon->SetIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    CoolTrayIcon->SetMinimizeToTray(true);
    CoolTrayIcon->SetIconVisible(true);
    CoolTrayIcon->OnClick = [this](TCoolTrayIcon&) { CoolTrayIconClick(); };
    CoolTrayIcon->Loaded();

    refresh_.setSingleShot(true);
    refresh_.setInterval(GridRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &THttpServerForm::ShowConnections);
    connect(Start, &QPushButton::clicked, this, &THttpServerForm::StartClick);
    connect(Stop, &QPushButton::clicked, this, &THttpServerForm::StopClick);
}

THttpServerForm::~THttpServerForm() {
    // Stopped before anything its notifications or the handler's boxes reach goes.
    server_.reset();
    if (StaevneManager) {
        const std::optional<QString> failure = FailureOf([this] {
            StaevneManager->SetHttpServerPort(CheckedPort());
            StaevneManager->SaveRegistry();
        });
        Q_UNUSED(failure); // a port box without a port keeps the setting it had
    }
    if (&MessagePresenter() == presenter_)
        InstallMessagePresenter(presenter_->TakeWindowPresenter());
}

void THttpServerForm::BuildGrid() {
    StatusGrid->SetColCount(static_cast<int>(std::size(Columns)));
    StatusGrid->SetFixedRows(1);
    StatusGrid->SetRowCount(2);
    StatusGrid->Columns().BeginUpdate();
    for (const TColumn& column : Columns) {
        TExtColumn& added = StatusGrid->Columns().Add();
        added.SetText(QString::fromLatin1(column.Heading));
        added.ReadOnly = true;
    }
    StatusGrid->Columns().EndUpdate();
    for (int col = 0; col < int(std::size(Columns)); ++col)
        StatusGrid->SetColWidths(col, Columns[col].Width);
    StatusGrid->SetOptions(TGridOption::goRowSelect | TGridOption::goColSizing);
}

void THttpServerForm::BuildLayout() {
    Port->setMaximumWidth(80);
    auto* controls = new QHBoxLayout;
    controls->addWidget(Label1);
    controls->addWidget(Port);
    controls->addSpacing(12);
    controls->addWidget(Start);
    controls->addWidget(Stop);
    controls->addStretch(1);
    auto* form = new QVBoxLayout(this);
    form->addLayout(controls);
    form->addWidget(StatusGrid, 1);
    int width = 0;
    for (const TColumn& column : Columns)
        width += column.Width;
    resize(width + 60, 300);
}

// ---------------------------------------------------------------- showing and closing

void THttpServerForm::showEvent(QShowEvent* event) {
    TStdRVKForm::showEvent(event);
    if (firstShow_ && !event->spontaneous()) {
        firstShow_ = false;
        FormShow();
    }
}

void THttpServerForm::FormShow() {
    if (!InitGlobals(programDir_)) {
        exitCode_ = 1;
        // Closed once the window is up, so that the program's loop ends with it.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    Port->SetValue(StaevneManager->GetHttpServerPort());
    CreateServer();
}

void THttpServerForm::CreateServer() {
    folder_ = std::make_unique<TServedFolder>(ProgramDir);
    server_ = std::make_unique<THttpServer>();
    server_->OnGetClientThread = [this](THttpServer&) { return std::make_unique<TClientThread>(*folder_); };
    server_->OnClientConnect = [this](THttpServer&, int, const THttpClientStatistics& report) {
        Notify(report, false);
    };
    server_->OnClientState = server_->OnClientConnect;
    server_->OnClientDisconnect = [this](THttpServer&, int, const THttpClientStatistics& report) {
        Notify(report, true);
    };
}

bool THttpServerForm::Running() const {
    return server_ && server_->Active();
}

void THttpServerForm::closeEvent(QCloseEvent* event) {
    // Only a stopped server lets the window close.
    if (!Start->isEnabled()) {
        event->ignore();
        return;
    }
    // Not the dialog's own close, which would take it for Escape and come back here.
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit FormClosed();
}

void THttpServerForm::reject() {
    close();
}

// ---------------------------------------------------------------- the commands

int THttpServerForm::CheckedPort() {
    const QString refused = QStringLiteral("Porten skal være et tal fra 1 til %1").arg(MaxPort);
    qint32 port = 0;
    try {
        port = Port->GetValue();
    } catch (const Exception&) {
        throw Exception(refused);
    }
    if (port < 1 || port > MaxPort)
        throw Exception(refused);
    return port;
}

void THttpServerForm::UpdateButtons(bool running) {
    Start->setEnabled(!running);
    Stop->setEnabled(running);
    Port->setEnabled(!running);
}

void THttpServerForm::StartClick() {
    Guarded(this, [this] {
        if (!server_)
            return false;
        const int port = CheckedPort();
        server_->SetServiceName(QStringLiteral("Http server"));
        // The daily log "Http_" + yyyymmdd + ".LOG" in the program folder.
        server_->SetLogPrefix(PathJoin(ProgramDir, QStringLiteral("Http_")));
        server_->SetLogSuffix(QStringLiteral(".LOG"));
        server_->Port = port;
        server_->Write(QStringLiteral("StartService"));
        server_->Start();
        UpdateButtons(true);
        return true;
    });
}

void THttpServerForm::StopClick() {
    Guarded(this, [this] {
        if (!server_)
            return false;
        server_->Stop();
        UpdateButtons(false);
        server_->Log(QStringLiteral("StopService"));
        return true;
    });
}

void THttpServerForm::CoolTrayIconClick() {
    if (isVisible())
        CoolTrayIcon->HideMainForm();
    else
        CoolTrayIcon->ShowMainForm();
}

// ---------------------------------------------------------------- the connection grid

void THttpServerForm::Notify(const THttpClientStatistics& report, bool gone) {
    std::lock_guard lock(pending_.Mutex);
    TConnectionRow& row = pending_.Changes[report.ConnectionId];
    row.ConnectDateTime = report.ConnectDateTime;
    row.RemoteAddress = report.RemoteAddress;
    row.State = report.State;
    row.LinesReceived = report.LinesReceived;
    row.LinesSend = report.LinesSend;
    row.Gone = row.Gone || gone;
    if (pending_.Posted)
        return;
    pending_.Posted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!refresh_.isActive())
                refresh_.start();
        },
        Qt::QueuedConnection);
}

void THttpServerForm::ShowConnections() {
    std::map<quint64, TConnectionRow> changes;
    {
        std::lock_guard lock(pending_.Mutex);
        changes.swap(pending_.Changes);
        pending_.Posted = false;
    }
    StatusGrid->BeginUpdate();
    for (const auto& [id, values] : changes) {
        const auto found = std::find(rowConnections_.begin(), rowConnections_.end(), id);
        const int row = static_cast<int>(found - rowConnections_.begin()) + StatusGrid->FixedRows();
        if (values.Gone) {
            if (found != rowConnections_.end()) {
                StatusGrid->RemoveRow(row);
                rowConnections_.erase(found);
            }
            continue;
        }
        if (found == rowConnections_.end()) {
            rowConnections_.push_back(id);
            if (StatusGrid->RowCount() < row + 1)
                StatusGrid->SetRowCount(row + 1);
        }
        ShowRow(row, values);
    }
    StatusGrid->EndUpdate();
}

void THttpServerForm::ShowRow(int row, const TConnectionRow& values) {
    StatusGrid->SetCells(ConnectCol, row,
                         values.ConnectDateTime.toLocalTime().toString(QStringLiteral("hh:mm:ss")));
    StatusGrid->SetCells(AddressCol, row, values.RemoteAddress);
    StatusGrid->SetCells(StatusCol, row,
                         HttpClientStateName(values.State) + QStringLiteral(" (") +
                             QString::number(values.State) + u')');
    StatusGrid->SetCells(ReceivedCol, row, CountText(values.LinesReceived));
    StatusGrid->SetCells(SentCol, row, CountText(values.LinesSend));
}
