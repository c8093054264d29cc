#include "GatewaySupport.h"

#include "server/HttpFile.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <unistd.h>

#include <map>
#include <set>

TEST_F(GatewayTest, AHandlersOwnStatus200KeepsItsLines) {
    handler = [](THttpClientThread& client) {
        client.StatusCode = 200;
        client.ResponseLines << "<p>side</p>";
    };
    EXPECT_EQ(Request("GET / HTTP/1.0\r\n\r\n"), Answer("HTTP/1.0 200 OK", "<p>side</p>\r\n"));
    // Any other status of its own still goes out without them.
    handler = [](THttpClientThread& client) {
        client.StatusCode = 404;
        client.ResponseLines << "dropped";
    };
    EXPECT_EQ(Request("GET / HTTP/1.0\r\n\r\n"), Answer("HTTP/1.0 404 Not Found", ""));
}

TEST_F(GatewayTest, AnAttachedFileGoesOutWithTheLengthOfTheBytesSent) {
    const QString path = folder.filePath("felt.jpg");
    WriteFile(path, QByteArray(50000, 'a'));
    // Opened by the handler, then cut short before the answer is written: the length follows the bytes.
    handler = [&](THttpClientThread& client) {
        client.ResponseLines << "not with a file";
        client.AttachFile(THttpFile::Open(path));
        ::truncate(QFile::encodeName(path).constData(), 10);
    };
    EXPECT_EQ(Request("GET /felt.jpg HTTP/1.1\r\n\r\n"), Answer("HTTP/1.1 200 OK", QByteArray(10, 'a')));
    // Grown instead: all of it.
    WriteFile(path, "b");
    handler = [&](THttpClientThread& client) {
        client.AttachFile(THttpFile::Open(path));
        WriteFile(path, QByteArray(20000, 'b'));
    };
    EXPECT_EQ(Request("GET /felt.jpg HTTP/1.1\r\n\r\n"), Answer("HTTP/1.1 200 OK", QByteArray(20000, 'b')));
    // A folder, a missing file: no file, so nothing to answer with.
    handler = [&](THttpClientThread& client) {
        client.AttachFile(THttpFile::Open(folder.path()));
        client.ResponseLines << "no file";
    };
    EXPECT_EQ(Request("GET / HTTP/1.1\r\n\r\n"), Answer("HTTP/1.1 200 OK", "no file\r\n"));
    Ended(3);
    EXPECT_EQ(LogLinesWith("<file>"), QStringList({"127.0.0.1       <file> " + path + ", Length: 10",
                                                   "127.0.0.1       <file> " + path + ", Length: 20000"}));
}

TEST_F(GatewayTest, EveryNotificationOfAConnectionCarriesItsOwnId) {
    std::mutex mutex;
    std::map<quint64, std::set<int>> states; // id: the states told
    const auto record = [&](THttpServer&, int, const THttpClientStatistics& report) {
        std::lock_guard lock(mutex);
        states[report.ConnectionId].insert(report.State);
    };
    server.OnClientConnect = record;
    server.OnClientState = record;
    handler = [](THttpClientThread& client) { client.ResponseLines << "x"; };
    // Connections that overlap, so that their places in the client list shift under one another.
    std::vector<std::unique_ptr<TestClient>> clients;
    for (int i = 0; i < 8; ++i) {
        clients.push_back(std::make_unique<TestClient>(Port()));
        if (i % 2 == 0)
            clients.back()->Send("GET / HTTP/1.0\r\n\r\n");
    }
    for (std::size_t i = 0; i < clients.size(); i += 2)
        EXPECT_EQ(clients[i]->ReadAll(), Answer("HTTP/1.0 200 OK", "x\r\n"));
    for (std::size_t i = 1; i < clients.size(); i += 2)
        clients[i]->Send("GET / HTTP/1.0\r\n\r\n");
    for (std::size_t i = 1; i < clients.size(); i += 2)
        EXPECT_EQ(clients[i]->ReadAll(), Answer("HTTP/1.0 200 OK", "x\r\n"));
    const std::vector<THttpClientStatistics> ended = Ended(8);
    std::lock_guard lock(mutex);
    ASSERT_EQ(states.size(), 8u);
    EXPECT_EQ(states.count(0), 0u);
    for (const auto& [id, told] : states)
        EXPECT_EQ(told, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7})) << id;
    std::set<quint64> endedIds;
    for (const THttpClientStatistics& report : ended)
        endedIds.insert(report.ConnectionId);
    std::set<quint64> toldIds;
    for (const auto& [id, told] : states)
        toldIds.insert(id);
    EXPECT_EQ(endedIds, toldIds);
}

TEST_F(GatewayTest, WhatAConnectionLoggedIsInTheFileBeforeItWaits) {
    // Waiting for its client.
    TestClient silent(Port());
    EXPECT_TRUE(WaitUntil([&] { return !LogLinesWith("<client communication>").isEmpty(); }));
    // Waiting for a handler that does not come back.
    Gate gate;
    handler = [&](THttpClientThread& client) {
        gate.Pass();
        client.ResponseLines << "late";
    };
    TestClient handled(Port());
    handled.Send("GET /langsom HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(gate.WaitForArrivals(1));
    EXPECT_EQ(LogLinesWith("GET /langsom").size(), 1);
    EXPECT_EQ(LogLinesWith("</receive data from client>").size(), 1);
    EXPECT_TRUE(LogLinesWith("</server request>").isEmpty());
    gate.Open();
    EXPECT_EQ(handled.ReadAll(), Answer("HTTP/1.0 200 OK", "late\r\n"));
    silent.Reset();
    Ended(2);
    // Each connection's lines stay together and in their order.
    QStringList lines = LogLines().filter("127.0.0.1");
    lines.replaceInStrings(QRegularExpression("\\d+\\.\\d{3} seconds"), "S seconds");
    lines.replaceInStrings(QRegularExpression(":\\d+"), ":N");
    EXPECT_EQ(lines.indexOf("127.0.0.1       </server request> S seconds") -
                  lines.indexOf("127.0.0.1       <server request>"),
              1);
}

namespace {

// An IPv4 address of this machine that is not a loopback one; empty when there is none.
QByteArray OtherAddress() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return {};
    QByteArray found;
    for (ifaddrs* each = list; each && found.isEmpty(); each = each->ifa_next) {
        if (!each->ifa_addr || each->ifa_addr->sa_family != AF_INET)
            continue;
        const auto* address = reinterpret_cast<const sockaddr_in*>(each->ifa_addr);
        if ((ntohl(address->sin_addr.s_addr) >> 24) == 127)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
        found = text;
    }
    ::freeifaddrs(list);
    return found;
}

// Whether a connection to the address and port is taken.
bool Connects(const QByteArray& address, int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, address.constData(), &target.sin_addr);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0;
    ::close(fd);
    return connected;
}

} // namespace

TEST_F(GatewayTest, AServerOnTheLoopbackAddressIsReachableFromThisMachineAlone) {
    const QByteArray other = OtherAddress();
    EXPECT_TRUE(other.isEmpty() || Connects(other, Port()))
        << "the program's server listens on every address";
    server.Stop();
    server.LoopbackOnly = true;
    server.Start();
    EXPECT_TRUE(Connects("127.0.0.1", Port()));
    if (!other.isEmpty()) {
        EXPECT_FALSE(Connects(other, Port())) << other.toStdString();
    }
}
