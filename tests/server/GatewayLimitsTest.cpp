#include "GatewaySupport.h"
#include "support/Golden.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

// The report whose request had this many bytes.
THttpClientStatistics ReportOf(const std::vector<THttpClientStatistics>& reports, qint64 bytes) {
    for (const THttpClientStatistics& report : reports)
        if (report.BytesReceived == bytes)
            return report;
    ADD_FAILURE() << "no connection received " << bytes << " bytes";
    return {};
}

} // namespace

TEST_F(GatewayTest, SilentOrTricklingClientsAreDroppedAfterTheTimeout) {
    RestartWithTimeout(400);
    int calls = 0;
    handler = [&](THttpClientThread&) { ++calls; };
    TestClient silent(Port());
    EXPECT_EQ(silent.ReadAll(), "");
    Ended(1);
    const QStringList errors = LogLinesWith("<error>");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QRegularExpression(
        "^127\\.0\\.0\\.1 +<error> timeout: no data ready from client or client is no longer connected - "
        "read time: 0\\.[4-9]\\d\\d seconds$")))
        << errors[0].toStdString();
    EXPECT_EQ(LogLinesWith("<info>").size(), 1); // the statistics line still comes

    // A byte every 20 ms: every piece comes in time, the request as a whole does not.
    TestClient trickling(Port());
    bool dropped = false;
    for (const char byte : "GET /" + QByteArray(2000, 'a'))
        if ((dropped = !trickling.Send(QByteArray(1, byte)) || trickling.ClosedByServer(20)))
            break;
    EXPECT_TRUE(dropped);
    Ended(2);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(LogLinesWith("no data ready from client").size(), 2);
}

TEST_F(GatewayTest, OversizeRequestsAreRefusedOnce) {
    int calls = 0;
    handler = [&](THttpClientThread&) { ++calls; };
    // The request line alone fills the receive buffer.
    EXPECT_EQ(Request("GET /" + QByteArray(4091, 'a') + "\r\n"), Answer("HTTP/1.1 414 URI Too Long", ""));
    // A line that fits exactly is read.
    EXPECT_EQ(Request("GET /" + QByteArray(4080, 'a') + " HTTP/1.0\r\n\r\n"),
              Answer("HTTP/1.0 404 Not Found", ""));
    // A header field line that fills the buffer, and a header of many lines beyond 16 KiB.
    EXPECT_EQ(Request("GET / HTTP/1.0\r\nCookie: " + QByteArray(4096, 'c') + "\r\n\r\n"),
              Answer("HTTP/1.1 431 Request Header Fields Too Large", ""));
    QByteArray many = "GET / HTTP/1.0\r\n";
    for (int i = 0; i < 20; ++i)
        many += "X-Field: " + QByteArray(1000, 'f') + "\r\n";
    EXPECT_EQ(Request(many + "\r\n"), Answer("HTTP/1.1 431 Request Header Fields Too Large", ""));
    Ended(4);
    EXPECT_EQ(calls, 1);
    // Each connection logs after its answer is sent, so the lines may come in any order.
    QStringList errors = LogLinesWith("<error>");
    errors.sort();
    EXPECT_GOLDEN(errors, "server/oversize-errors.txt");
}

TEST_F(GatewayTest, TwoClientsAreAnsweredOneAfterTheOther) {
    Gate gate;
    std::mutex mutex;
    QStringList order;
    handler = [&](THttpClientThread& client) {
        {
            std::lock_guard lock(mutex);
            order << client.Command;
        }
        if (client.Command == "\\z")
            EXPECT_TRUE(gate.Pass());
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        client.ResponseLines << client.Command;
    };
    // The handler is kept busy while the two are queued, so both wait in line.
    const QByteArray z = "GET /z HTTP/1.0\r\n\r\n", a = "GET /aa HTTP/1.0\r\n\r\n",
                     b = "GET /bbb HTTP/1.0\r\n\r\n";
    TestClient zClient(Port()), aClient(Port()), bClient(Port());
    zClient.Send(z);
    ASSERT_TRUE(gate.WaitForArrivals(1));
    aClient.Send(a);
    ASSERT_TRUE(WaitUntil([&] { return server.QueueCount() == 1; }));
    bClient.Send(b);
    ASSERT_TRUE(WaitUntil([&] { return server.QueueCount() == 2; }));
    gate.Open();
    EXPECT_TRUE(bClient.ReadAll().endsWith("\\bbb\r\n"));
    EXPECT_TRUE(aClient.ReadAll().endsWith("\\aa\r\n"));
    EXPECT_TRUE(zClient.ReadAll().endsWith("\\z\r\n"));

    const auto reports = Ended(3);
    EXPECT_EQ(order, QStringList({"\\z", "\\aa", "\\bbb"}));
    const THttpClientStatistics first = ReportOf(reports, a.size()), second = ReportOf(reports, b.size());
    EXPECT_GE(first.ServerRequestTime, 50);
    EXPECT_GE(second.WaitOnServerTime, first.ServerRequestTime);
    EXPECT_EQ(std::pair(first.AtStart, second.AtStart), std::pair(0, 1));
}

TEST_F(GatewayTest, ConnectionsBeyondTheBoundAreClosedAtOnce) {
    EXPECT_EQ(server.MaxConnections, 1024);
    server.Stop();
    server.MaxConnections = 64;
    server.Start();
    Gate gate;
    handler = [&](THttpClientThread& client) {
        gate.Pass();
        client.ResponseLines << "ok";
    };
    std::vector<std::unique_ptr<TestClient>> clients;
    for (int i = 0; i < 200; ++i) {
        clients.push_back(std::make_unique<TestClient>(Port()));
        ASSERT_TRUE(clients.back()->Connected());
        clients.back()->Send("GET / HTTP/1.0\r\n\r\n");
    }
    // While the first 64 wait for the handler, every other one is closed.
    ASSERT_TRUE(WaitUntil([&] { return LogLinesWith("Too many connections").size() == 136; }))
        << LogLinesWith("Too many connections").size();
    gate.Open();
    int answered = 0, closed = 0;
    for (auto& client : clients) {
        const QByteArray answer = client->ReadAll();
        answered += answer == Answer("HTTP/1.0 200 OK", "ok\r\n");
        closed += answer.isEmpty();
    }
    EXPECT_EQ(answered, 64);
    EXPECT_EQ(closed, 136);
    Ended(64);
    EXPECT_EQ(LogLinesWith("Too many connections").front(),
              "127.0.0.1       <error> Too many connections (64): connection closed");
}

TEST_F(GatewayTest, StopEndsEveryConnectionAndTheServerStartsAgain) {
    Gate gate;
    int calls = 0;
    handler = [&](THttpClientThread& client) {
        ++calls;
        gate.Pass();
        client.ResponseLines << "late";
    };
    TestClient idle(Port()), partial(Port()), handled(Port()), queued(Port());
    partial.Send("GET /half HTTP/1.0\r\n");
    handled.Send("GET /handled HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(gate.WaitForArrivals(1));
    queued.Send("GET /queued HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(WaitUntil([&] { return server.QueueCount() == 1; }));

    const int port = Port();
    std::thread stopping([this] { server.Stop(); });
    // Stop waits for the handler in hand, and for nothing else.
    EXPECT_TRUE(WaitUntil([&] { return !LogLinesWith("waiting on ProcessQueue").isEmpty(); }));
    gate.Open();
    stopping.join();
    EXPECT_FALSE(server.Active());
    for (TestClient* client : {&idle, &partial, &handled, &queued})
        EXPECT_EQ(client->ReadAll(), "");
    Ended(4);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(LogLinesWith("Server update interrupted").size(), 1);
    EXPECT_EQ(LogLinesWith("No longer connected to client").size(), 2); // handled and queued
    EXPECT_GOLDEN(LogLines()
                      .filter(QRegularExpression("^HttpServer|ProcessQueue"))
                      .replaceInStrings("port " + QString::number(port), "port N"),
                  "server/stop-log.txt");

    // The same port again, answering as before.
    server.Port = port;
    server.Start();
    EXPECT_EQ(Port(), port);
    EXPECT_TRUE(Request("GET /again HTTP/1.0\r\n\r\n").endsWith("late\r\n"));
    EXPECT_EQ(calls, 2);
}

TEST_F(GatewayTest, PortInUseIsReportedAndLeavesTheServerStopped) {
    THttpServer other;
    other.SetLogPrefix(folder.filePath("Other_"));
    other.Port = Port();
    EXPECT_TRUE(ErrorText([&] { other.Start(); }).startsWith("HTTP-serveren kan ikke lytte på port"));
    EXPECT_FALSE(other.Active());
}

namespace {

// The process may open no descriptor numbered from `limit` on, while it lives.
class DescriptorLimit {
public:
    explicit DescriptorLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit tight = saved_;
        tight.rlim_cur = limit;
        ::setrlimit(RLIMIT_NOFILE, &tight);
    }
    ~DescriptorLimit() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
    DescriptorLimit(const DescriptorLimit&) = delete;
    DescriptorLimit& operator=(const DescriptorLimit&) = delete;

private:
    rlimit saved_{};
};

// The lowest descriptor number that is free.
int LowestFreeDescriptor() {
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::close(fd);
    return fd;
}

} // namespace

TEST_F(GatewayTest, AConnectionIsClosedAtOnceWhenDescriptorsRunOut) {
    RestartWithTimeout(3000);
    Gate gate;
    handler = [&](THttpClientThread& client) {
        gate.Pass();
        client.ResponseLines << "ok";
    };
    // Connections whose requests wait for the handler keep their descriptors for as long as it takes.
    std::vector<std::unique_ptr<TestClient>> holders;
    for (int i = 0; i < 4; ++i) {
        holders.push_back(std::make_unique<TestClient>(Port()));
        holders.back()->Send("GET /holder HTTP/1.0\r\n\r\n");
    }
    ASSERT_TRUE(gate.WaitForArrivals(1));
    ASSERT_TRUE(WaitUntil([&] { return server.QueueCount() == 3; }));
    {
        // One descriptor left, and the client takes it.
        const DescriptorLimit limit(rlim_t(LowestFreeDescriptor() + 1));
        TestClient late(Port());
        ASSERT_TRUE(late.Connected());
        late.Send("GET /late HTTP/1.0\r\n\r\n");
        EXPECT_TRUE(late.ClosedByServer(timeout));
    }
    // The connection is closed before its line is written.
    ASSERT_TRUE(WaitUntil([&] { return !LogLinesWith("<error>").isEmpty(); }));
    EXPECT_EQ(
        LogLinesWith("<error>"),
        QStringList("127.0.0.1       <error> No descriptor free for the connection: connection closed"));
    gate.Open();
    for (auto& holder : holders)
        EXPECT_EQ(holder->ReadAll(), Answer("HTTP/1.0 200 OK", "ok\r\n"));
    EXPECT_EQ(Request("GET / HTTP/1.0\r\n\r\n"), Answer("HTTP/1.0 200 OK", "ok\r\n"));
}
