#include "GatewaySupport.h"

#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Extstrgr.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "platform/Registry.h"
#include "server/HttpServer.h"
#include "server/HttpServerForm.h"
#include "support/ProgramFolderFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

// A port nothing listens on now.
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// Lets the window thread work until pred holds; false when the bound ran out.
bool ProcessUntil(const std::function<bool()>& pred, int boundMs = WaitBoundMs) {
    return WaitUntil(
        [&] {
            QApplication::processEvents();
            return pred();
        },
        boundMs);
}

const QByteArray NotFound = Answer("HTTP/1.0 404 Not Found", "");

// The server window on a program folder of the test's own, with three meets.
class HttpServerFormTest : public TProgramFolderTest {
protected:
    HttpServerFormTest() {
        for (const char* navn : {"Stævne A", "Stævne B", "Stævne C"})
            stIDs.push_back(CreateMeet(QString::fromUtf8(navn)));
        Restart();
    }
    ~HttpServerFormTest() override {
        if (form && form->Running())
            form->Stop->click();
    }

    // The window shown and its server started on a free port.
    void StartServer() {
        form = std::make_unique<THttpServerForm>(Dir());
        form->show();
        ASSERT_NE(form->Server(), nullptr);
        port = FreePort();
        form->Port->setText(QString::number(port));
        form->Start->click();
        ASSERT_TRUE(form->Running());
    }
    QByteArray Get(const QByteArray& target) {
        TestClient client(port);
        EXPECT_TRUE(client.Send("GET " + target + " HTTP/1.0\r\n\r\n"));
        return client.ReadAll();
    }
    // The body of an answer with status 200.
    QString Page(const QByteArray& target) {
        const QByteArray answer = Get(target);
        EXPECT_TRUE(answer.startsWith("HTTP/1.0 200 OK\r\n")) << answer.left(60).toStdString();
        return QString::fromLatin1(answer.mid(answer.indexOf("\r\n\r\n") + 4));
    }
    QStringList ServerLog() const {
        QStringList lines;
        for (const QString& name : QDir(Dir()).entryList({"Http_*.LOG"}, QDir::Files))
            for (const QByteArray& line : ReadFile(Path(name)).split('\n'))
                if (!line.isEmpty())
                    lines << QString::fromLatin1(line.mid(21));
        return lines;
    }

    std::vector<qint32> stIDs;
    std::unique_ptr<THttpServerForm> form;
    int port = 0;
};

} // namespace

TEST_F(HttpServerFormTest, OnlyRegularFilesOfTheProgramFolderAreServed) {
    QTemporaryDir outside;
    WriteFile(outside.filePath("pw.css"), "hemmeligt");
    WriteFile(Path("style.css"), "body {}");
    QDir().mkpath(Path("mappe.css"));
    QFile::link(outside.filePath("pw.css"), Path("ud.css"));
    QFile::link(outside.path(), Path("ude"));
    StartServer();

    const QByteArray felt = ReadFile(Path("images/felt.jpg"));
    ASSERT_GT(felt.size(), 1000);
    EXPECT_EQ(Get("/images/felt.jpg"), Answer("HTTP/1.0 200 OK", felt));
    EXPECT_EQ(Get("/IMAGES/FELT.JPG"), Answer("HTTP/1.0 200 OK", felt));
    EXPECT_EQ(Get("/Style.Css?sid=x"), Answer("HTTP/1.0 200 OK", "body {}"));
    EXPECT_EQ(Get("/favicon.ico"), NotFound);

    const QByteArray secretDir = QFileInfo(outside.path()).fileName().toUtf8();
    const QByteArray outsideFile = outside.filePath("pw.css").toUtf8();
    const QList<QByteArray> traversals = {
        "/../" + secretDir + "/pw.css",
        "\\..\\" + secretDir + "\\pw.css",
        "/images/../../" + secretDir + "/pw.css",
        "/%2e%2e/" + secretDir + "/pw.css",
        "/%2E%2E%2F" + secretDir + "%2Fpw.css",
        "/images/..%5c..%5c" + secretDir + "%5cpw.css",
        "/./style.css",
        "/style.css%00.jpg",
        QByteArray("/style.css\0.jpg", 15),
        "/" + outsideFile,
        "/" + QByteArray(outsideFile).replace("/", "%2F"),
        "http://localhost/../" + secretDir + "/pw.css",
        "/C:/Windows/win.ini.css",
        "/ud.css",
        "/ude/pw.css",
        "/mappe.css",
        "/images/.jpg",
    };
    for (const QByteArray& target : traversals)
        EXPECT_EQ(Get(target), NotFound) << target.toStdString();
}

TEST_F(HttpServerFormTest, PagesShowTheRequestEscapedAndTwoClientsAreAnsweredInTurn) {
    StartServer();
    const QString main = Page("/");
    EXPECT_TRUE(main.startsWith("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n"));
    EXPECT_TRUE(main.contains("<H1>Main page - ZUNO http server</H1>"));
    EXPECT_TRUE(main.contains("Service ........ Http server\r\nClient IP ...... 127.0.0.1\r\n"));
    EXPECT_TRUE(main.contains("<img src=\"images/felt.jpg\" width=\"600\" height=\"128\">"));
    EXPECT_TRUE(main.endsWith("</BODY>\r\n</HTML>\r\n"));
    EXPECT_TRUE(Page("/index.html").contains("ZUNO command ... \\index.html\r\nZUNO extension.. .html\r\n"));

    // Two clients at once: both answered, one after the other.
    TestClient first(port), second(port);
    first.Send("GET /foo.zun?a=1&b=<i> HTTP/1.0\r\n\r\n");
    second.Send("GET /<script>alert(1)</script>.zun?x=\"'&amp; HTTP/1.0\r\n\r\n");
    const QByteArray one = first.ReadAll(), two = second.ReadAll();
    for (const QByteArray& answer : {one, two}) {
        EXPECT_TRUE(answer.startsWith("HTTP/1.0 200 OK\r\n"));
        EXPECT_TRUE(answer.contains("<H1>ZUNO http server: unknown command</H1>"));
        EXPECT_FALSE(answer.contains("<img"));
    }
    EXPECT_TRUE(one.contains("................ a=1\r\n................ b=&lt;i&gt;\r\n"));
    EXPECT_FALSE(two.contains("<script>"));
    EXPECT_TRUE(
        two.contains("HTTP Params .... /&lt;script&gt;alert(1)&lt;/script&gt;.zun?x=&quot;&#39;&amp;amp;"));
    EXPECT_TRUE(two.contains("ZUNO command ... \\&lt;script&gt;alert(1)&lt;\\script&gt;.zun\r\n"));
    EXPECT_TRUE(two.contains("................ x=&quot;&#39;\r\n................ amp;\r\n"));
}

TEST_F(HttpServerFormTest, SidOpensAnotherMeetWithoutABoxOrTheCursorLeftBusy) {
    StartServer();
    ASSERT_EQ(StaevneManager->GetCurrentStID(), -1);
    Shown();
    EXPECT_EQ(Get("/staevner.zun?sid=" + QByteArray::number(stIDs[1])), NotFound);
    EXPECT_EQ(StaevneManager->GetCurrentStID(), stIDs[1]);
    EXPECT_EQ(Get("/KLUBBER.ZUN?SID=" + QByteArray::number(stIDs[2])), NotFound);
    EXPECT_EQ(StaevneManager->GetCurrentStID(), stIDs[2]);
    // No such meet, no number, none at all, the current one: the meet stays.
    for (const QByteArray query : {"?sid=9999", "?sid=x", "?sid=", "", "?sid=-1"})
        EXPECT_EQ(Get("/ovelse.zun" + query), NotFound);
    EXPECT_EQ(Get("/ovelser.zun?sid=" + QByteArray::number(stIDs[2])), NotFound);
    EXPECT_EQ(StaevneManager->GetCurrentStID(), stIDs[2]);
    // The busy cursor came and went through the window thread.
    QApplication::processEvents();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Shown(), QStringList());
}

TEST_F(HttpServerFormTest, ABoxOnTheHandlersThreadGoesIntoTheLog) {
    QByteArray cut(8, '\0');
    cut[0] = 100; // a block of 100 bytes of which 4 are there
    const qint32 damaged = AddMeetRecord("Skadet", 0, cut);
    Restart();
    const QString chunk = "Fejl ved indlæsning af systemdata: kan ikke læse 'chunk'";
    EXPECT_EQ(Shown(), QStringList({chunk}));
    StartServer();
    // Starting, on the window thread, the box is shown.
    EXPECT_EQ(Shown(), QStringList({chunk}));
    EXPECT_EQ(Get("/staevne.zun?sid=" + QByteArray::number(damaged)), NotFound);
    EXPECT_EQ(StaevneManager->GetCurrentStID(), damaged);
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(ServerLog().filter("<message>"), QStringList("<message> Fejl: " + chunk));
}

TEST_F(HttpServerFormTest, AnErrorInTheHandlerGivesTheErrorPageAlone) {
    StartServer();
    // Another program deletes a meet the server still lists.
    {
        TStaevneTable table;
        table.Open();
        table.SetIndexNumber(0);
        ASSERT_TRUE(table.FindKey({TKeyValue(qint64(stIDs[0]))}));
        table.Delete();
    }
    const QString page = Page("/foo.zun?sid=" + QByteArray::number(stIDs[0]));
    EXPECT_TRUE(page.startsWith("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n"));
    EXPECT_EQ(page.count("<HTML>"), 1);
    EXPECT_TRUE(page.contains("<H1>ZUNO http server: unknown error occured</H1>"));
    EXPECT_FALSE(page.contains("unknown command"));
    // The server goes on, and the log tells what went wrong.
    EXPECT_EQ(Get("/favicon.ico"), NotFound);
    form->Stop->click();
    EXPECT_EQ(ServerLog().filter("<exception>").size(), 1);
}

TEST_F(HttpServerFormTest, TheWindowClosesOnlyWhileStoppedAndKeepsThePort) {
    form = std::make_unique<THttpServerForm>(Dir());
    form->show();
    EXPECT_EQ(form->Port->text(), "2000");
    EXPECT_FALSE(form->Stop->isEnabled());
    bool closed = false;
    QObject::connect(form.get(), &THttpServerForm::FormClosed, [&] { closed = true; });

    // No port, no start.
    for (const QString text : {"0", "65536", "", "-80"}) {
        form->Port->setText(text);
        form->Start->click();
        EXPECT_FALSE(form->Running()) << text.toStdString();
        EXPECT_TRUE(ProcessUntil([&] { return !Shown().isEmpty(); }, 2000)) << text.toStdString();
    }

    port = FreePort();
    form->Port->setText(QString::number(port));
    form->Start->click();
    ASSERT_TRUE(form->Running());
    EXPECT_EQ(form->Server()->ListeningPort(), port);
    EXPECT_FALSE(form->Port->isEnabled());
    EXPECT_TRUE(Get("/").startsWith("HTTP/1.0 200 OK"));
    form->close();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(closed);

    form->Stop->click();
    EXPECT_FALSE(form->Running());
    EXPECT_TRUE(form->Start->isEnabled());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(closed);
    form.reset();
    Platform::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(Platform::TRegistry::ProgramKey(".cfg"), false));
    EXPECT_EQ(registry.ReadInteger("HttpServerPort", 0), port);
    // The daily log lies in the program folder.
    const QStringList log = ServerLog();
    EXPECT_EQ(log.first(), "StartService");
    EXPECT_EQ(log.last(), "StopService");

    // The next start shows the stored port.
    form = std::make_unique<THttpServerForm>(Dir());
    form->show();
    EXPECT_EQ(form->Port->text(), QString::number(port));
}

TEST_F(HttpServerFormTest, TheGridShowsEachConnectionByItsOwnIdAndTakesNotificationsInBatches) {
    StartServer();
    const TExtStringGrid& grid = *form->StatusGrid;
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(QStringList(
                  {grid.Cells(0, 0), grid.Cells(1, 0), grid.Cells(2, 0), grid.Cells(3, 0), grid.Cells(4, 0)}),
              QStringList({"Connect", "TCP/IP", "Status", "R", "S"}));
    EXPECT_EQ(grid.ColWidths(0), 162);

    std::vector<std::unique_ptr<TestClient>> waiting;
    for (int i = 0; i < 4; ++i)
        waiting.push_back(std::make_unique<TestClient>(port));
    ASSERT_TRUE(ProcessUntil([&] { return form->RowConnections().size() == 4; }));
    for (int row = 1; row <= 4; ++row) {
        EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(grid.Cells(0, row)).hasMatch());
        EXPECT_EQ(grid.Cells(1, row), "127.0.0.1");
        EXPECT_EQ(grid.Cells(2, row), "Modtager data (2)");
        EXPECT_EQ(grid.Cells(3, row), "");
    }
    // The second and third go: the others keep their rows, whatever their places in the gateway's list.
    const std::vector<quint64> ids = form->RowConnections();
    waiting[1]->Reset();
    waiting[2]->Reset();
    ASSERT_TRUE(ProcessUntil([&] { return form->RowConnections().size() == 2; }));
    EXPECT_EQ(form->RowConnections(), (std::vector<quint64>{ids[0], ids[3]}));
    waiting[0]->Reset();
    waiting[3]->Reset();
    ASSERT_TRUE(ProcessUntil([&] { return form->RowConnections().empty(); }));
    EXPECT_EQ(grid.RowCount(), 2); // the one data row left, empty
    EXPECT_TRUE(grid.IsRowEmpty(1));

    // A load of connections, each with eight notifications, reaches the window thread in few calls.
    int calls = 0;
    struct TCounter : QObject {
        int* Calls;
        bool eventFilter(QObject*, QEvent* event) override {
            *Calls += event->type() == QEvent::MetaCall ? 1 : 0;
            return false;
        }
    } counter;
    counter.Calls = &calls;
    form->installEventFilter(&counter);
    constexpr int connections = 400;
    std::atomic<bool> done = false;
    QElapsedTimer elapsed;
    elapsed.start();
    std::thread load([&] {
        for (int i = 0; i < connections; ++i)
            Get("/favicon.ico");
        done = true;
    });
    ProcessUntil([&] { return done.load(); });
    load.join();
    ASSERT_TRUE(ProcessUntil([&] { return form->RowConnections().empty(); }));
    form->removeEventFilter(&counter);
    EXPECT_LE(calls, elapsed.elapsed() / THttpServerForm::GridRefreshMs + 2) << elapsed.elapsed() << " ms";
    EXPECT_LT(calls, connections);
}

TEST_F(HttpServerFormTest, TheTrayIconHidesAndShowsTheWindow) {
    form = std::make_unique<THttpServerForm>(Dir());
    form->show();
    EXPECT_EQ(form->windowTitle(), "ZUNO http server");
    form->CoolTrayIconClick();
    EXPECT_FALSE(form->isVisible());
    form->CoolTrayIconClick();
    EXPECT_TRUE(form->isVisible());
}
