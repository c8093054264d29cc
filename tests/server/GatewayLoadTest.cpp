#include "GatewaySupport.h"

#include <atomic>
#include <memory>
#include <random>
#include <thread>

namespace {

enum class Pattern { Normal, HalfClose, Garbage, Reset, PartHalfClose, Silent, Streaming };

const char* PatternName(Pattern pattern) {
    static const char* const names[] = {"normal",          "half-close", "garbage",  "reset",
                                        "part+half-close", "silent",     "streaming"};
    return names[static_cast<int>(pattern)];
}

// Mostly whole requests and every way a client may break off; now and then one that says nothing, or
// one that sends without end after its request.
Pattern PickPattern(std::mt19937& random, int index) {
    if (index % 997 == 0)
        return Pattern::Silent;
    if (index % 499 == 0)
        return Pattern::Streaming;
    return static_cast<Pattern>(std::uniform_int_distribution<int>(0, 4)(random));
}

QByteArray RandomBytes(std::mt19937& random, int maxSize) {
    QByteArray bytes(std::uniform_int_distribution<int>(1, maxSize)(random), Qt::Uninitialized);
    std::uniform_int_distribution<int> byte(0, 255);
    for (char& c : bytes)
        c = static_cast<char>(byte(random));
    return bytes;
}

// One connection of the pattern; what went wrong, empty when nothing did. The server must answer or
// close before boundMs has passed since the client stopped sending.
QString RunConnection(int port, Pattern pattern, const QByteArray& request, std::mt19937& random,
                      int boundMs) {
    TestClient client(port);
    if (!client.Connected())
        return QStringLiteral("no connection");
    const qsizetype part = std::uniform_int_distribution<qsizetype>(0, request.size() - 3)(random);
    switch (pattern) {
    case Pattern::Normal:
    case Pattern::HalfClose:
        client.Send(request);
        if (pattern == Pattern::HalfClose)
            client.ShutdownSend();
        break;
    case Pattern::Garbage:
        client.Send(RandomBytes(random, 6000) + "\r\n\r\n");
        break;
    case Pattern::Reset:
        client.Send(random() % 2 ? request : request.left(part));
        client.Reset();
        return {};
    case Pattern::PartHalfClose:
        client.Send(request.left(part));
        client.ShutdownSend();
        break;
    case Pattern::Silent:
        break;
    case Pattern::Streaming: {
        // The answer comes, then the server stops taking more and closes.
        client.Send(request);
        const QByteArray chunk(65536, 's');
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
        while (client.Send(chunk))
            if (std::chrono::steady_clock::now() > end)
                return QStringLiteral("still taking data");
        break;
    }
    }
    QByteArray answer;
    if (!client.ReadUntilClosed(boundMs, &answer))
        return QStringLiteral("neither answered nor closed");
    if (pattern != Pattern::Normal && pattern != Pattern::HalfClose)
        return {};
    const QByteArray path = request.mid(4, request.indexOf(' ', 4) - 4).replace('/', '\\');
    return answer.endsWith(path + "\r\n")
               ? QString()
               : QStringLiteral("answered \"%1\"").arg(QString::fromLatin1(answer));
}

} // namespace

TEST_F(GatewayTest, TwentyThousandConnectionsInMixedPatternsAreEachAnsweredOrClosedWithinTheTimeout) {
    constexpr int Clients = 16, PerClient = 1250, TimeoutMs = 3000;
    RestartWithTimeout(TimeoutMs);
    handler = [](THttpClientThread& client) { client.ResponseLines << client.Command; };
    std::mutex mutex;
    QStringList failures;
    std::vector<std::thread> threads;
    for (int t = 0; t < Clients; ++t)
        threads.emplace_back([&, t] {
            std::mt19937 random(static_cast<unsigned>(t + 1));
            for (int i = 0; i < PerClient; ++i) {
                const Pattern pattern = PickPattern(random, t * PerClient + i);
                const QByteArray request =
                    QStringLiteral("GET /c%1/%2 HTTP/1.0\r\n\r\n").arg(t).arg(i).toLatin1();
                // Within the protocol's timeout, with some seconds more for a busy machine: far less
                // than a connection left waiting for nothing.
                const QString failure = RunConnection(Port(), pattern, request, random, TimeoutMs + 10000);
                if (!failure.isEmpty()) {
                    std::lock_guard lock(mutex);
                    failures << QStringLiteral("%1 %2/%3: %4")
                                    .arg(PatternName(pattern))
                                    .arg(t)
                                    .arg(i)
                                    .arg(failure);
                }
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_TRUE(failures.isEmpty()) << failures.size() << " failures, the first: "
                                    << failures.mid(0, 10).join("; ").toStdString();

    // The server saw every connection to its end, but those it closed at once, and answers as before.
    const qsizetype closedAtOnce = LogLinesWith("Too many connections").size();
    Ended(std::size_t(Clients * PerClient - closedAtOnce));
    EXPECT_TRUE(Request("GET /after HTTP/1.0\r\n\r\n").endsWith("\\after\r\n"));
}

namespace {

// Clients that send the start of a request and then a byte now and then, never finishing it.
class TricklingClients {
public:
    TricklingClients(int port, int count) {
        for (int i = 0; i < count; ++i) {
            clients_.push_back(std::make_unique<TestClient>(port));
            clients_.back()->Send("GET /");
        }
        thread_ = std::thread([this] {
            std::unique_lock lock(mutex_);
            while (!changed_.wait_for(lock, std::chrono::milliseconds(200), [this] { return stopping_; }))
                for (auto& client : clients_)
                    client->Send("a");
        });
    }
    ~TricklingClients() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

private:
    std::vector<std::unique_ptr<TestClient>> clients_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace

TEST_F(GatewayTest, SlowClientsNeverLockOutTheRest) {
    handler = [](THttpClientThread& client) { client.ResponseLines << client.Command; };
    const auto everyOneAnswered = [this](int requests) {
        int answered = 0;
        for (int i = 0; i < requests; ++i)
            answered += Request(QStringLiteral("GET /n%1 HTTP/1.0\r\n\r\n").arg(i).toLatin1())
                            .endsWith(QStringLiteral("\\n%1\r\n").arg(i).toLatin1());
        return answered;
    };
    // Within the default bound, 200 of them leave room for the rest.
    {
        TricklingClients slow(Port(), 200);
        EXPECT_EQ(everyOneAnswered(20), 20);
    }

    // With a bound they fill, the one whose request head has taken longest makes room for a newcomer
    // once the head deadline has passed.
    server.Stop();
    server.MaxConnections = 64;
    server.Start();
    TricklingClients slow(Port(), 200);
    EXPECT_EQ(everyOneAnswered(100), 100);
    EXPECT_FALSE(LogLinesWith("request head not complete").isEmpty());
}
