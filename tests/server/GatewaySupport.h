#pragma once
// The gateway on a free loopback port with a handler of the test's, and clients over real sockets.
// Every wait is bounded, so a fault fails a test instead of hanging it.
#include "server/HttpServer.h"

#include "support/Test.h"

#include <QRegularExpression>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

constexpr int WaitBoundMs = 30000;

// The whole answer of a status line and body, with the three header lines.
QByteArray Answer(const QByteArray& statusLine, const QByteArray& body);

// Waits for pred, checking every few milliseconds; false when the bound ran out.
bool WaitUntil(const std::function<bool()>& pred, int boundMs = WaitBoundMs);

// One client connection to 127.0.0.1.
class TestClient {
public:
    explicit TestClient(int port);
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    bool Connected() const { return fd_ >= 0; }
    // False when the server has stopped taking data.
    bool Send(const QByteArray& bytes);
    // Everything up to the server's end of the stream (or a reset).
    QByteArray ReadAll(int boundMs = WaitBoundMs);
    // At least count bytes, or what came before the server's end or the bound.
    QByteArray ReadAtLeast(qsizetype count, int boundMs = WaitBoundMs);
    // True once the server has closed the connection (data before the close is dropped).
    bool ClosedByServer(int boundMs) { return ReadUntilClosed(boundMs, nullptr); }
    // Reads into data (when given) until the server's end; false when the bound ran out first.
    bool ReadUntilClosed(int boundMs, QByteArray* data, qsizetype enough = -1);
    // The server's end came as a reset rather than an orderly end of stream.
    bool WasReset() const { return reset_; }
    // Ends the sending side only: the server sees the end of the stream and may still answer.
    void ShutdownSend();
    // Closes at once with a reset, as a client that crashes or gives up does.
    void Reset();

private:
    int fd_ = -1;
    bool reset_ = false;
};

using Handler = std::function<void(THttpClientThread&)>;

class TestClientThread : public THttpClientThread {
public:
    explicit TestClientThread(Handler handler)
        : handler_(std::move(handler)) {}
    void HandleRequest() override {
        if (handler_)
            handler_(*this);
    }

private:
    Handler handler_;
};

class GatewayTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { server.Stop(); }

    int Port() const { return server.ListeningPort(); }
    // Starts the server again with clients that wait so long for their request.
    void RestartWithTimeout(int ms);
    // One request on its own connection; the whole answer.
    QByteArray Request(const QByteArray& request);
    // Waits until count connections have ended, and returns their last report records.
    std::vector<THttpClientStatistics> Ended(std::size_t count);
    // The log lines without their time stamps, from every daily file the test made.
    QStringList LogLines() const;
    // Log lines that contain text.
    QStringList LogLinesWith(const QString& text) const { return LogLines().filter(text); }

    QTemporaryDir folder;
    THttpServer server;
    Handler handler;
    int timeout = THttpClientThread::DefaultTimeout;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<THttpClientStatistics> ended_;
};

// A gate that handlers wait at until the test opens it.
class Gate {
public:
    void Open();
    // Counts an arrival and waits; false when the bound ran out first.
    bool Pass(int boundMs = WaitBoundMs);
    bool WaitForArrivals(int count, int boundMs = WaitBoundMs);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    int arrivals_ = 0;
};
