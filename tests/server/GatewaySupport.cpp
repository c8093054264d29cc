#include "GatewaySupport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

QByteArray Answer(const QByteArray& statusLine, const QByteArray& body) {
    return statusLine + "\r\nExpires: Thu, 01 Dec 1994 16:00:00 GMT\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

bool WaitUntil(const std::function<bool()>& pred, int boundMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TestClient::TestClient(int port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

TestClient::~TestClient() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool TestClient::Send(const QByteArray& bytes) {
    qsizetype sent = 0;
    while (fd_ >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += n;
    }
    return fd_ >= 0;
}

void TestClient::ShutdownSend() {
    if (fd_ >= 0)
        ::shutdown(fd_, SHUT_WR);
}

void TestClient::Reset() {
    if (fd_ < 0)
        return;
    const linger abrupt{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
    ::close(fd_);
    fd_ = -1;
}

bool TestClient::ReadUntilClosed(int boundMs, QByteArray* data, qsizetype enough) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    char buffer[65536];
    while (fd_ >= 0 && !(data && enough >= 0 && data->size() >= enough)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd entry{fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, int(left.count())) <= 0)
            return false;
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        reset_ = n < 0 && errno == ECONNRESET;
        if (n <= 0)
            break;
        if (data)
            data->append(buffer, n);
    }
    return true;
}

QByteArray TestClient::ReadAtLeast(qsizetype count, int boundMs) {
    QByteArray data;
    ReadUntilClosed(boundMs, &data, count);
    return data;
}

QByteArray TestClient::ReadAll(int boundMs) {
    QByteArray data;
    if (!ReadUntilClosed(boundMs, &data))
        ADD_FAILURE() << "the server neither answered nor closed";
    return data;
}

void GatewayTest::SetUp() {
    server.Port = 0;
    server.SetLogPrefix(folder.filePath("Http_"));
    server.SetLogSuffix(".LOG");
    server.OnGetClientThread = [this](THttpServer&) {
        auto client = std::make_unique<TestClientThread>(handler);
        client->Timeout = timeout;
        return client;
    };
    server.OnClientDisconnect = [this](THttpServer&, int, const THttpClientStatistics& report) {
        std::lock_guard lock(mutex_);
        ended_.push_back(report);
        changed_.notify_all();
    };
    server.Start();
}

void GatewayTest::RestartWithTimeout(int ms) {
    server.Stop();
    timeout = ms;
    server.Start();
}

QByteArray GatewayTest::Request(const QByteArray& request) {
    TestClient client(Port());
    EXPECT_TRUE(client.Send(request));
    return client.ReadAll();
}

std::vector<THttpClientStatistics> GatewayTest::Ended(std::size_t count) {
    std::unique_lock lock(mutex_);
    EXPECT_TRUE(changed_.wait_for(lock, std::chrono::milliseconds(WaitBoundMs),
                                  [&] { return ended_.size() >= count; }))
        << ended_.size() << " of " << count << " connections ended";
    return ended_;
}

QStringList GatewayTest::LogLines() const {
    QStringList lines;
    QStringList files = QDir(folder.path()).entryList({"Http_*.LOG"}, QDir::Files, QDir::Name);
    for (const QString& name : files)
        for (const QByteArray& line : ReadFile(folder.filePath(name)).split('\n'))
            if (!line.isEmpty())
                lines.append(QString::fromLatin1(line.mid(21))); // after "dd-mm-yyyy hh:nn:ss  "
    return lines;
}

void Gate::Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
}

bool Gate::Pass(int boundMs) {
    std::unique_lock lock(mutex_);
    ++arrivals_;
    changed_.notify_all();
    return changed_.wait_for(lock, std::chrono::milliseconds(boundMs), [this] { return open_; });
}

bool Gate::WaitForArrivals(int count, int boundMs) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(boundMs), [&] { return arrivals_ >= count; });
}
