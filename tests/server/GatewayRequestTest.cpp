#include "GatewaySupport.h"
#include "support/Golden.h"

#include <QRandomGenerator>
#include <QtEndian>

#include <malloc.h>

namespace {

struct SeenRequest {
    QString HttpVersion, HttpCommand, HttpParams, Command, Extension;
    QStringList Params, ReceivedLines;
    std::vector<int> Numbers;
};

} // namespace

TEST_F(GatewayTest, RequestLineIsTakenApartAndAnsweredWithThreeHeaderLines) {
    SeenRequest seen;
    handler = [&](THttpClientThread& client) {
        seen = {client.HttpVersion, client.HttpCommand, client.HttpParams,    client.Command,
                client.Extension,   client.Params,      client.ReceivedLines, {}};
        for (const char* name : {"SID", "x", "a", "b", "n", "m", "big"})
            seen.Numbers.push_back(client.GetParamInt(name));
        seen.Numbers.push_back(client.GetParamIntDef("none", 5));
        client.ResponseLines << client.GetParam("X") + "<p>"
                             << "Bjørn";
    };
    EXPECT_EQ(Request("get /a/b.gif?sid=7&x HTTP/1.1\r\nHost: here\r\n\r\n"),
              Answer("HTTP/1.1 200 OK", "<p>\r\nBj\xf8rn\r\n"));
    EXPECT_EQ(
        QStringList({seen.HttpCommand, seen.HttpParams, seen.Command, seen.Extension, seen.HttpVersion}),
        QStringList({"GET", "/a/b.gif?sid=7&x", "\\a\\b.gif", ".gif", "HTTP/1.1"}));
    EXPECT_EQ(seen.Params, QStringList({"sid=7", "x"}));
    EXPECT_EQ(seen.ReceivedLines, QStringList({"get /a/b.gif?sid=7&x HTTP/1.1", "Host: here"}));
    EXPECT_EQ(seen.Numbers, (std::vector<int>{7, -1, -1, -1, -1, -1, -1, 5}));

    Request("GET /dir.d/page?a=1&&b=&n=12x&m=-3&big=99999999999&a=2& HTTP/1.0\r\n\r\n");
    EXPECT_EQ(seen.Params, QStringList({"a=1", "", "b=", "n=12x", "m=-3", "big=99999999999", "a=2"}));
    EXPECT_EQ(seen.Numbers, (std::vector<int>{-1, -1, 1, -1, -1, -3, -1, 5}));
    // The last dot of the path, taken before "/" turns into "\".
    EXPECT_EQ(QStringList({seen.Command, seen.Extension}), QStringList({"\\dir.d\\page", ".d/page"}));
    Request("GET / HTTP/1.0\r\n\r\n");
    EXPECT_EQ(QStringList({seen.Command, seen.Extension}), QStringList({"\\", ""}));
}

TEST_F(GatewayTest, AnswersWithoutBody) {
    // Nothing added, a status with lines (which are dropped), and a file that is not there: all 404.
    const QByteArray notFound = Answer("HTTP/1.0 404 Not Found", "");
    handler = [](THttpClientThread&) {};
    EXPECT_EQ(Request("GET /nothing HTTP/1.0\r\n\r\n"), notFound);
    handler = [](THttpClientThread& client) {
        client.StatusCode = 500;
        client.ResponseLines << "dropped";
    };
    EXPECT_EQ(Request("GET /status HTTP/1.0\r\n\r\n"), notFound);
    handler = [this](THttpClientThread& client) { client.FileName = folder.filePath("missing.gif"); };
    EXPECT_EQ(Request("GET /missing.gif HTTP/1.0\r\n\r\n"), notFound);

    // A failing handler gives an empty 500 answer and its text in the log.
    handler = [](THttpClientThread& client) {
        client.ResponseLines << "half";
        throw Exception("Kaput");
    };
    EXPECT_EQ(Request("GET /fails HTTP/1.1\r\n\r\n"), Answer("HTTP/1.1 500 Internal Server Error", ""));
    handler = [](THttpClientThread&) { throw 42; };
    EXPECT_EQ(Request("GET /fails HTTP/1.1\r\n\r\n"), Answer("HTTP/1.1 500 Internal Server Error", ""));
    Ended(5);
    EXPECT_EQ(LogLinesWith("<exception>"), QStringList({"127.0.0.1       <exception> Kaput",
                                                        "127.0.0.1       <exception> unknown error"}));
}

TEST_F(GatewayTest, FileIsSentWholeInBlocks) {
    QByteArray content(1024 * 1024 + 100, Qt::Uninitialized);
    std::generate(content.begin(), content.end(),
                  [] { return char(QRandomGenerator::global()->generate()); });
    WriteFile(folder.filePath("images/felt.jpg"), content);
    handler = [this](THttpClientThread& client) {
        client.ResponseLines << "ignored";
        client.FileName = folder.path() + "\\IMAGES\\Felt.JPG"; // as a Windows path: any case, either slash
    };
    const QByteArray answer = Request("GET /images/felt.jpg HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(answer == Answer("HTTP/1.1 200 OK", content)) << answer.size();

    const THttpClientStatistics report = Ended(1).front();
    EXPECT_EQ(report.LinesSend, 4 + 129); // the header's lines, then one per block of 8192 bytes
    EXPECT_EQ(report.BytesSend, answer.size());
    EXPECT_EQ(LogLinesWith("<file>"),
              QStringList("127.0.0.1       <file> " + folder.path() + "\\IMAGES\\Felt.JPG, Length: 1048676"));
}

TEST_F(GatewayTest, ABigFileToClientsThatDoNotReadCostsTheServerNoMoreThanAFewBlocks) {
    // More than the sockets between server and client hold; every word tells its own place.
    constexpr qint32 Words = 8 * 1024 * 1024;
    QByteArray content(Words * 4, Qt::Uninitialized);
    for (qint32 word = 0; word < Words; ++word)
        qToLittleEndian(word, content.data() + 4 * qsizetype(word));
    WriteFile(folder.filePath("stor.jpg"), content);
    handler = [this](THttpClientThread& client) { client.FileName = folder.filePath("stor.jpg"); };
    const auto heap = [] {
        const struct mallinfo2 info = mallinfo2();
        return qint64(info.uordblks + info.hblkhd);
    };
    const qint64 before = heap();
    std::vector<std::unique_ptr<TestClient>> clients;
    std::vector<QByteArray> received;
    for (int i = 0; i < 4; ++i) {
        clients.push_back(std::make_unique<TestClient>(Port()));
        ASSERT_TRUE(clients.back()->Send("GET /stor.jpg HTTP/1.0\r\n\r\n"));
    }
    // Each has its answer under way; none reads on, so the server holds what it has yet to send.
    for (const auto& client : clients) {
        received.push_back(client->ReadAtLeast(100000));
        ASSERT_GE(received.back().size(), 100000);
    }
    EXPECT_LT(heap() - before, 4 * 1024 * 1024) << "while the file is under way to four clients";
    for (std::size_t i = 0; i < clients.size(); ++i) {
        received[i] += clients[i]->ReadAll();
        EXPECT_TRUE(received[i] == Answer("HTTP/1.0 200 OK", content)) << i << ": " << received[i].size();
    }
    const std::vector<THttpClientStatistics> reports = Ended(4);
    for (const THttpClientStatistics& report : reports)
        EXPECT_EQ(report.LinesSend, 4 + Words * 4 / THttpClientThread::FileBlockSize);
}

TEST_F(GatewayTest, InputLeftUnreadNeverCutsTheAnswer) {
    int calls = 0;
    handler = [&](THttpClientThread& client) {
        ++calls;
        client.ResponseLines << client.HttpParams;
    };
    // A second request on the connection is not read, nor is a body; closing over either must not
    // reset the connection before the client has the answer.
    const QByteArray body(20000, 'b');
    const QList<QByteArray> requests = {
        "GET /first HTTP/1.0\r\n\r\nGET /second HTTP/1.0\r\n\r\n",
        "POST /form HTTP/1.0\r\nContent-Length: 20000\r\n\r\n" + body,
    };
    for (const QByteArray& request : requests) {
        TestClient client(Port());
        client.Send(request);
        const QByteArray answer = client.ReadAll();
        EXPECT_TRUE(answer.startsWith("HTTP/1.")) << answer.left(40).toStdString();
        EXPECT_TRUE(answer.endsWith(request.startsWith("GET") ? "/first\r\n" : "/form\r\n"));
        EXPECT_FALSE(client.WasReset());
    }
    Ended(2);
    EXPECT_EQ(calls, 2);
}

TEST_F(GatewayTest, ConnectionIsLoggedLineByLineWithItsStatistics) {
    handler = [](THttpClientThread& client) { client.ResponseLines << "svar"; };
    const QByteArray request = "GET /side?sid=1 HTTP/1.0\r\nHost: x\r\n\r\n";
    Request(request);
    const THttpClientStatistics report = Ended(1).front();

    QStringList lines = LogLines();
    lines.replaceInStrings(QRegularExpression("\\d+\\.\\d{3} seconds"), "S seconds");
    lines.replaceInStrings(QRegularExpression("running on port \\d+"), "running on port N");
    lines.replaceInStrings(QRegularExpression(":\\d+"), ":N");
    // The queue thread starts beside the first connection.
    EXPECT_EQ(lines.removeAll("<ProcessQueue.Execute.Begin>"), 1);
    EXPECT_GOLDEN(lines, "server/connection-log.txt");

    // The statistics line tells the finished connection's figures.
    const QString info = LogLinesWith("<info>").front();
    QMap<QString, qint64> value;
    for (const auto& match : QRegularExpression("(\\w+):(-?\\d+)").globalMatch(info))
        value[match.captured(1)] = match.captured(2).toLongLong();
    EXPECT_EQ(value["AdminTime"], value["ConnectTime"] - value["ReadIdleTime"] - value["ReadTime"] -
                                      value["WriteTime"] - value["WaitOnServerTime"] -
                                      value["ServerRequestTime"]);
    EXPECT_EQ(QList<qint64>(
                  {value["LinesReceived"], value["LinesSend"], value["BytesReceived"], value["BytesSend"]}),
              QList<qint64>({3, 5, request.size(), Answer("HTTP/1.0 200 OK", "svar\r\n").size()}));
    // The owner's last record is the cleared one's predecessor: every figure but the end ones.
    EXPECT_EQ(std::tuple(report.BytesReceived, report.State, report.RemoteAddress),
              std::tuple(request.size(), int(THttpClientState::Closed), QString("127.0.0.1")));
}

TEST_F(GatewayTest, OwnerIsToldOfEveryStateInTurn) {
    std::mutex mutex;
    QStringList events; // what, then index * 100 + ClientCount * 10 + state
    const auto record = [&](const char* what) {
        return [&, what](THttpServer&, int index, const THttpClientStatistics& report) {
            std::lock_guard lock(mutex);
            events << QStringLiteral("%1 %2").arg(what).arg(index * 100 + report.ClientCount * 10 +
                                                            report.State);
        };
    };
    server.OnClientConnect = record("connect");
    server.OnClientState = record("state");
    const auto disconnect = server.OnClientDisconnect;
    server.OnClientDisconnect = [&, disconnect](THttpServer& s, int index,
                                                const THttpClientStatistics& report) {
        record("disconnect")(s, index, report);
        disconnect(s, index, report);
    };
    handler = [](THttpClientThread& client) { client.ResponseLines << "x"; };
    Request("GET / HTTP/1.0\r\n\r\n");
    Ended(1);
    EXPECT_EQ(events, QStringList({"connect 10", "state 11", "state 12", "state 13", "state 14", "state 15",
                                   "state 16", "state 17", "disconnect 7"}));
}

TEST_F(GatewayTest, ControlCharactersCannotForgeLogLines) {
    handler = [](THttpClientThread& client) { client.ResponseLines << client.HttpParams; };
    Request("GET /a\n01-01-2024 00:00:00  forged\x1b[2J HTTP/1.0\r\n\r\n");
    Ended(1);
    const QStringList lines = LogLinesWith("forged");
    ASSERT_EQ(lines.size(), 2); // as received and as answered
    for (const QString& line : lines)
        EXPECT_TRUE(line.contains("/a\\x0A01-01-2024 00:00:00  forged\\x1B[2J")) << line.toStdString();
}

TEST_F(GatewayTest, AClientThatHasEndedItsSendingSideIsStillAnswered) {
    int calls = 0;
    handler = [&](THttpClientThread& client) {
        ++calls;
        client.ResponseLines << client.Command;
    };
    TestClient whole(Port());
    whole.Send("GET /half HTTP/1.0\r\n\r\n");
    whole.ShutdownSend();
    EXPECT_EQ(whole.ReadAll(), Answer("HTTP/1.0 200 OK", "\\half\r\n"));

    // Ended before the head was whole: closed, without the handler.
    TestClient part(Port());
    part.Send("GET /part HTTP/1.0\r\n");
    part.ShutdownSend();
    EXPECT_EQ(part.ReadAll(), "");
    Ended(2);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(LogLinesWith("<error>").size(), 1);
    EXPECT_EQ(LogLinesWith("no data received from client").size(), 1);
}

TEST_F(GatewayTest, OnlyAVersionOfHttpADigitAPointAndADigitIsAnswered) {
    QStringList handled;
    handler = [&](THttpClientThread& client) {
        handled << client.HttpVersion;
        client.ResponseLines << "ok";
    };
    // A bare line feed cannot carry a header of the client's into the status line, and a line without
    // a version is no request.
    const QByteArray refused = Answer("HTTP/1.1 400 Bad Request", "");
    const QList<QByteArray> bad = {
        "GET /x HTTP/1.1\nSet-Cookie: a=b\r\n\r\n",
        "GET /x HTTP/1.1\n\r\n\r\n",
        "GET\r\n\r\n",
        "GET /x\r\n\r\n",
        "GET /x HTTP/1.1 \r\n\r\n",
        "GET /x HTTP/1.10\r\n\r\n",
        "GET /x http/1.1\r\n\r\n",
        "GET /x HTTP/1.x\r\n\r\n",
        "GET /x HTTP/\xb9.1\r\n\r\n",
        "\r\n",
    };
    for (const QByteArray& request : bad)
        EXPECT_EQ(Request(request), refused) << request.toStdString();
    EXPECT_EQ(Request("GET /x HTTP/1.0\r\n\r\n"), Answer("HTTP/1.0 200 OK", "ok\r\n"));
    EXPECT_EQ(Request("GET /x HTTP/2.0\r\n\r\n"), Answer("HTTP/2.0 200 OK", "ok\r\n"));
    Ended(std::size_t(bad.size() + 2));
    EXPECT_EQ(handled, QStringList({"HTTP/1.0", "HTTP/2.0"}));
    EXPECT_EQ(LogLinesWith("<error> request line without a version HTTP/d.d: answered 400").size(),
              bad.size());
}
