#pragma once
// The window of the server mode: the port, Start and Stop, a grid of the open connections and an icon
// in the notification area. It runs the HTTP gateway with the program's request handler (TClientThread)
// on the program folder, and may be closed only while the server is stopped.
#include "foundation/controls/RvkForms.h"
#include "model/D_Globals.h"

#include <QDateTime>
#include <QTimer>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

class QLabel;
class QPushButton;
class TCoolTrayIcon;
class TExtStringGrid;
class THttpServer;
class TIntegerEdit;
class TServedFolder;
class TServerMessagePresenter;
struct THttpClientStatistics;

class THttpServerForm : public TStdRVKForm {
    Q_OBJECT
public:
    static constexpr int DefaultPort = 2000;
    static constexpr int MaxPort = 65535;
    // The grid shows the connections as they were at most this long ago (ms): however many
    // notifications come, the window thread takes them in one go at that pace.
    static constexpr int GridRefreshMs = 50;

    // programDir: the program's folder, where start-up looks and whose files are served.
    explicit THttpServerForm(QString programDir = ExecutableDir(), QWidget* owner = nullptr);
    ~THttpServerForm() override;

    QLabel* const Label1;
    TIntegerEdit* const Port;
    QPushButton* const Start;
    QPushButton* const Stop;
    TExtStringGrid* const StatusGrid;
    TCoolTrayIcon* const CoolTrayIcon;

    // Null until the first show has run the start-up.
    THttpServer* Server() const { return server_.get(); }
    bool Running() const;
    // 0, or 1 when the start-up failed.
    int ExitCode() const { return exitCode_; }
    // The connection each data row of the grid shows, in order.
    const std::vector<quint64>& RowConnections() const { return rowConnections_; }

signals:
    // The window closed: the program ends.
    void FormClosed();

public slots:
    void StartClick();
    void StopClick();
    // A visible window hides to the notification area, a hidden one comes back.
    void CoolTrayIconClick();
    // The connections' changes since the last time, into the grid.
    void ShowConnections();
    // Escape asks to close, as the window's close button does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // A connection's values at a notification, as the grid shows them.
    struct TConnectionRow {
        QDateTime ConnectDateTime;
        QString RemoteAddress;
        int State = 0;
        int LinesReceived = 0;
        int LinesSend = 0;
        bool Gone = false;
    };
    // Notifications waiting for the window thread, by connection; filled on the gateway's threads.
    struct TPendingRows {
        std::mutex Mutex;
        std::map<quint64, TConnectionRow> Changes;
        bool Posted = false;
    };

    void BuildGrid();
    void BuildLayout();
    void FormShow();
    void CreateServer();
    // On a gateway thread, under the server's lock: kept, and the window thread told once.
    void Notify(const THttpClientStatistics& report, bool gone);
    void ShowRow(int row, const TConnectionRow& values);
    // The port box's value; raises with a message when it is no port.
    int CheckedPort();
    void UpdateButtons(bool running);

    const QString programDir_;
    bool firstShow_ = true;
    int exitCode_ = 0;
    TServerMessagePresenter* presenter_ = nullptr; // installed for the window's lifetime
    std::unique_ptr<TServedFolder> folder_;
    TPendingRows pending_;
    QTimer refresh_;
    std::vector<quint64> rowConnections_;
    std::unique_ptr<THttpServer> server_; // last member: gone before what its notifications reach
};
