#pragma once
// The HTTP gateway: a listening socket, one thread per connection that reads exactly one request (the
// threads are kept for later connections, up to the connection limit), and one queue thread that runs
// the request handler for one request at a time, so that handlers may use the program's single-threaded
// data model. The gateway keeps a daily log of all it receives and sends.
//
// Slow clients cannot lock the others out: once the connections fill the limit, a newcomer takes the
// place of the connection that has waited longest, and at least HeadDeadline, for its client to send
// the rest of its request head.
#include "server/GatewayLog.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace Net {
class Connection;
class Listener;
class WorkerPool;
} // namespace Net

class THttpFile;
class THttpServer;

// The life of one connection, in order.
enum class THttpClientState : int {
    Started = 0,
    Connect = 1,
    Receiving = 2,
    AwaitingServer = 3,
    ServerCommunication = 4,
    Sending = 5,
    Disconnect = 6,
    Closed = 7,
};

// The name a state is shown under ("" for one outside the table).
QString HttpClientStateName(int state);

// The text of the exception being handled; call it only inside a catch block.
QString CurrentExceptionText();

// "HTTP/" followed by a digit, a point and a digit: the only versions answered.
bool IsHttpVersion(const QString& version);

// Timing and byte counts of one connection; times in milliseconds of the millisecond clock.
struct THttpClientStatistics {
    // Tells one connection from every other of the server's run, however the client list shifts.
    quint64 ConnectionId = 0;
    QString RemoteAddress;
    int State = 0;
    QDateTime ConnectDateTime; // in UTC
    int AtStart = 0;           // requests queued when this one was added
    int AtEnd = 0;             // requests queued after the answer was written
    int LinesReceived = 0;
    int LinesSend = 0; // a sent file counts one line per block
    qint64 BytesReceived = 0;
    qint64 BytesSend = 0;
    int ClientCount = 0; // open connections, filled in just before each owner notification
    qint64 ConnectTime = 0;
    qint64 ReadIdleTime = 0;
    qint64 ReadTime = 0;
    qint64 WriteTime = 0;
    qint64 WaitOnServerTime = 0;
    qint64 ServerRequestTime = 0;

    // The lifetime not spent waiting, reading, writing or in the handler.
    qint64 AdminTime() const {
        return ConnectTime - (ReadIdleTime + ReadTime + WriteTime + WaitOnServerTime + ServerRequestTime);
    }
    void Clear() { *this = THttpClientStatistics(); }
    void Assign(const THttpClientStatistics& other) { *this = other; }
};

// One connection. The owner's subclass overrides HandleRequest, which runs on the queue thread while
// this connection's own thread waits; the request fields are stable then, and the answer fields are
// the handler's to fill.
class THttpClientThread {
public:
    static constexpr int DefaultTimeout = 30000;
    static constexpr int ReceiveBufferSize = 4096;
    static constexpr int FileBlockSize = 8192;
    static constexpr int MaxHeaderSize = 16 * 1024;
    static constexpr int AddressWidth = 16; // the address in front of each log line

    THttpClientThread();
    virtual ~THttpClientThread();
    THttpClientThread(const THttpClientThread&) = delete;
    THttpClientThread& operator=(const THttpClientThread&) = delete;

    // Builds the answer into ResponseLines, StatusCode and FileName (or AttachFile); does nothing here.
    virtual void HandleRequest() {}
    // A file the handler has opened, sent after the header in place of a body; its name goes into
    // FileName. Its length is taken as the header is written, and it is sent in blocks of FileBlockSize;
    // a file that cannot be read is answered as no file at all.
    void AttachFile(std::unique_ptr<THttpFile> file);

    // The value of the first parameter named so (without regard to case): the text after its first
    // "=", empty when there is none.
    QString GetParam(const QString& name) const;
    // The value as an integer; -1 (or def) when missing or not a number.
    int GetParamInt(const QString& name) const { return GetParamIntDef(name, -1); }
    int GetParamIntDef(const QString& name, int def) const;
    QString GetRemoteAddress();
    // The client's address in 16 characters, then the text, into the server's log.
    void Log(const QString& text);
    void LogDetail(const QString& text);
    const THttpClientStatistics& Statistics() const { return statistics_; }

    // The whole request must arrive within this time (ms); answers may stall no longer either.
    int Timeout = DefaultTimeout;
    THttpServer* Server = nullptr;

    QStringList ReceivedLines; // the request header as received, the request line first
    QStringList ResponseLines; // the answer body; the header lines go in front when it is written
    QString HttpVersion;       // third part of the request line
    QString HttpCommand;       // first part, upper-cased
    QString HttpParams;        // second part: path and query
    QString Command;           // the path, "/" turned into "\"
    QString Extension;         // Command from its last "." on; empty without one
    QStringList Params;        // the query split at "&", as received
    int StatusCode = 0;        // 0 until the handler sets it
    QString FileName;          // a file sent after the header in place of a body

private:
    friend class THttpServer;
    friend class TProcessQueue;

    enum class ReadResult { Complete, Failed, LineTooLong, HeaderTooLarge };
    // Where the request head is, as the accept thread sees it when it looks for a connection to cut.
    enum class HeadPhase : int { Waiting, Receiving, Cut, Read };

    void Attach(std::unique_ptr<Net::Connection> connection);
    void Abort();
    // How long the head has been coming (ms); -1 when it is not coming now.
    qint64 ReceivingFor(std::uint32_t now) const;
    // Input has come that this has yet to read: it is not waiting for its client.
    bool InputPending() const;
    // Cuts the connection while its head is still coming; false when the head came first.
    bool CutHead();
    // Ends the reading of the head; false when the connection was cut before.
    bool HeadDone();
    void Execute();
    void ClientExecute();
    ReadResult ReadRequest();
    void ParseRequestLine(const QString& line);
    void LogHeadCut();
    void Refuse(int status, const QString& reason);
    void QueueAndWait();
    void ServerRequest();
    void WriteResponse();
    qint64 WriteBytes(const QByteArray& bytes);
    void SetState(THttpClientState state);
    bool Connected();
    // The request announced a body, which is never read.
    bool AnnouncesBody() const;
    void CloseConnection(bool inputMayFollow);
    QString StatisticsLine() const;
    // Lines that follow each other with nothing done between them.
    void LogLines(QStringList lines);
    // The lines logged so far go into the file. A connection keeps its lines until it is about to wait
    // for its client or for the handler, or ends: one write for many lines, and none kept back while
    // it waits.
    void FlushLog();
    // The file to send opened, and its length now; -1 when there is none or it cannot be read.
    qint64 OpenFileToSend();
    // The file's next block (at most left bytes of it) appended to bytes; false when the file ended or
    // failed first.
    bool ReadFileBlock(QByteArray& bytes, qint64& left);
    void SetDone();

    std::unique_ptr<Net::Connection> connection_;
    quint64 connectionId_ = 0;
    QString remoteAddress_;           // cached when the connection is attached
    QString from_;                    // the address as each log line begins with it
    std::unique_ptr<THttpFile> file_; // the file the handler attached
    GatewayLogLines logged_;          // stamped, not yet written
    THttpClientState state_ = THttpClientState::Started;
    THttpClientStatistics statistics_;
    THttpClientStatistics report_; // the copy the owner is shown, guarded by the server's lock
    std::uint32_t tick_ = 0;
    bool gatewayStatus_ = false; // StatusCode was set by the gateway itself and is sent as it stands
    std::atomic<HeadPhase> headPhase_ = HeadPhase::Waiting;
    std::atomic<bool> ending_ = false; // done with its request, or cut: its place is about to come free
    std::atomic<std::uint32_t> headStart_ = 0; // the tick the head began to come at
    // Set by the queue thread when the handler is done. Shared, so that the queue thread can wake this
    // thread outside the event's lock even when this thread sees it set at once and goes on.
    struct DoneEvent {
        std::mutex mutex;
        std::condition_variable changed;
        bool done = false;
    };
    const std::shared_ptr<DoneEvent> done_ = std::make_shared<DoneEvent>();
};

// The single thread that runs the queued requests, oldest first.
class TProcessQueue {
public:
    explicit TProcessQueue(THttpServer& server);
    ~TProcessQueue();
    TProcessQueue(const TProcessQueue&) = delete;
    TProcessQueue& operator=(const TProcessQueue&) = delete;

    // Ends the loop after the request in hand; the destructor waits for it.
    void Terminate();

private:
    void Execute();

    THttpServer& server_;
    std::atomic<bool> terminated_ = false;
    std::thread thread_;
};

class THttpServer {
public:
    static constexpr int DefaultPort = 2412;
    static constexpr int DefaultMaxConnections = 1024;
    static constexpr int DefaultHeadDeadline = 100;
    static constexpr std::uint8_t LogFlagDetail = 2;

    using GetClientThreadEvent = std::function<std::unique_ptr<THttpClientThread>(THttpServer&)>;
    // Runs on the client's thread under the server's lock: copy the record, pass it on, return.
    using ClientEvent = std::function<void(THttpServer&, int index, const THttpClientStatistics&)>;

    THttpServer();
    ~THttpServer();
    THttpServer(const THttpServer&) = delete;
    THttpServer& operator=(const THttpServer&) = delete;

    // Listens on Port and starts the queue thread; nothing while active. A port that cannot be
    // listened on raises Exception and leaves the server inactive.
    void Start();
    // Stops listening, cuts every open connection and ends the queue thread and every client thread;
    // nothing while inactive. Never from an owner notification.
    void Stop();
    bool Active() const { return listener_ != nullptr; }
    // The port listened on while active: Port, or the system's choice when Port is 0.
    int ListeningPort() const { return listeningPort_; }

    // One line into the daily log; control characters show escaped. Log swallows failures. Callable
    // from any thread; returns once the line is in the file.
    void Log(const QString& text) noexcept;
    void Write(const QString& text);
    void LogDetail(const QString& text) noexcept;

    QString GetServiceName();
    void SetServiceName(const QString& name);
    void SetLogPrefix(const QString& prefix);
    void SetLogSuffix(const QString& suffix);

    // Returns the count before adding. A queue closed by Stop refuses the request and lets it go on.
    int QueueAdd(THttpClientThread* client);
    // The oldest request, removed; nullptr when none.
    THttpClientThread* QueueNext();
    int QueueCount();
    // Returns when a request is queued, on Terminate, or after the given time.
    void WaitForQueue(int milliseconds);
    void WakeQueue();

    void ClientConnect(THttpClientThread* client);
    void ClientDisconnect(THttpClientThread* client);
    void ClientState(THttpClientThread* client);

    int Port = DefaultPort;
    std::uint8_t LogFlags = 1;
    // Connections served at once, each on a thread of its own. One more waits up to HeadDeadline (ms)
    // for a connection whose client is still sending its request head to fall behind, then takes its
    // place; when no head is coming it is closed at once.
    int MaxConnections = DefaultMaxConnections;
    int HeadDeadline = DefaultHeadDeadline;
    // Listen on the loopback address alone, so that no other machine can connect.
    bool LoopbackOnly = false;

    GetClientThreadEvent OnGetClientThread;
    ClientEvent OnClientConnect;
    ClientEvent OnClientDisconnect;
    ClientEvent OnClientState;

private:
    friend class THttpClientThread;

    void AcceptLoop();
    void LogLines(QStringList texts) noexcept;
    // A connection's lines: stamped now, written later; failures are swallowed.
    void StampLines(GatewayLogLines& lines, const QString& prefix, QStringList texts) noexcept;
    void FlushLines(GatewayLogLines& lines) noexcept;
    void Serve(std::unique_ptr<Net::Connection> connection);
    // Room for one more connection within MaxConnections. While request heads are still coming, waits
    // until one of them has been coming for HeadDeadline with its client sending nothing, and cuts the
    // longest such; waits, too, for connections that are ending. False when none is coming or ending
    // (or on Stop).
    bool MakeRoom();
    // Runs a connection on a pool thread, then frees its client thread.
    void Run(THttpClientThread* client) noexcept;
    void Release(THttpClientThread* client) noexcept;
    int ClientIndex(THttpClientThread* client) const;

    // The client list and the service name; the owner's notifications run under it. Recursive, so that
    // a notification may ask the server for what it guards.
    std::recursive_mutex lock_;
    std::mutex queueMutex_; // the queue alone: queueing never waits for a notification
    std::condition_variable queueChanged_;
    GatewayLog log_; // written to from any thread without the lock
    QString serviceName_;
    std::deque<THttpClientThread*> queue_;
    bool queueOpen_ = false;
    bool queueWake_ = false;
    std::vector<THttpClientStatistics*> clients_;

    std::unique_ptr<Net::Listener> listener_;
    int listeningPort_ = 0;
    std::thread acceptThread_;
    std::atomic<bool> stopping_ = false;
    std::unique_ptr<TProcessQueue> processQueue_;
    std::unique_ptr<Net::WorkerPool> workers_; // the threads the connections run on

    std::mutex threadsMutex_; // the client threads' ownership
    std::unordered_map<THttpClientThread*, std::unique_ptr<THttpClientThread>> threads_;
    std::condition_variable slotFreed_;
    std::atomic<int> activeConnections_ = 0;
    quint64 lastConnectionId_ = 0; // the accept thread's alone
};
