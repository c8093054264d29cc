#include "server/HttpServer.h"

#include "foundation/LxString.h"
#include "server/socket/Socket.h"

#include <chrono>

namespace {

// A client must not be able to start a line of its own in the log, nor hide one.
QString EscapeControls(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code < 0x20 || (code >= 0x7f && code <= 0x9f))
            escaped += QStringLiteral("\\x") + QString::number(code, 16).rightJustified(2, u'0').toUpper();
        else
            escaped += ch;
    }
    return escaped;
}

} // namespace

TProcessQueue::TProcessQueue(THttpServer& server)
    : server_(server)
    , thread_([this] { Execute(); }) {}

TProcessQueue::~TProcessQueue() {
    Terminate();
    if (thread_.joinable())
        thread_.join();
}

void TProcessQueue::Terminate() {
    terminated_ = true;
    server_.WakeQueue();
}

void TProcessQueue::Execute() {
    server_.Log(QStringLiteral("<ProcessQueue.Execute.Begin>"));
    while (!terminated_) {
        if (THttpClientThread* client = server_.QueueNext())
            client->ServerRequest();
        else
            server_.WaitForQueue(100);
    }
    server_.Log(QStringLiteral("<ProcessQueue.Execute.End>"));
}

THttpServer::THttpServer() = default;

THttpServer::~THttpServer() {
    Stop();
}

void THttpServer::Start() {
    if (Active())
        return;
    Log(QStringLiteral("HttpServer is about to start on port %1").arg(Port));
    try {
        listener_ = std::make_unique<Net::Listener>(static_cast<std::uint16_t>(Port));
    } catch (const Net::SocketError& error) {
        const QString text = QString::fromLocal8Bit(error.what());
        Log(QStringLiteral("<exception> ") + text);
        throw Exception(QStringLiteral("HTTP-serveren kan ikke lytte på port %1:\n%2").arg(Port).arg(text));
    }
    listeningPort_ = listener_->port();
    Log(QStringLiteral("HttpServer is now running on port %1").arg(listeningPort_));
    {
        std::lock_guard lock(lock_);
        queueOpen_ = true;
    }
    stopping_ = false;
    processQueue_ = std::make_unique<TProcessQueue>(*this);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

void THttpServer::Stop() {
    if (!Active())
        return;
    Log(QStringLiteral("HttpServer is about to stop"));
    stopping_ = true;
    listener_->wake();
    acceptThread_.join();
    {
        std::lock_guard threads(threadsMutex_);
        listener_.reset();
        listeningPort_ = 0;
        for (auto& [client, owned] : threads_)
            client->Abort();
    }
    Log(QStringLiteral("HttpServer is stopped"));
    Log(QStringLiteral("HttpServer waiting on ProcessQueue to terminate"));
    processQueue_.reset();

    // What is still queued is let go unanswered: its connection was cut above.
    std::deque<THttpClientThread*> left;
    {
        std::lock_guard lock(lock_);
        queueOpen_ = false;
        left.swap(queue_);
    }
    for (THttpClientThread* client : left)
        client->ServerRequest();

    decltype(threads_) threads;
    {
        std::lock_guard guard(threadsMutex_);
        threads.swap(threads_);
        ended_.clear();
    }
    for (auto& [client, owned] : threads)
        client->Join();
}

void THttpServer::AcceptLoop() {
    while (!stopping_) {
        std::unique_ptr<Net::Connection> connection = listener_->accept();
        ReapEnded();
        if (connection)
            Serve(std::move(connection));
    }
}

void THttpServer::Serve(std::unique_ptr<Net::Connection> connection) {
    if (activeConnections_ >= MaxConnections) {
        Log(LeftJustify(QString::fromStdString(connection->remoteAddress()), 16) +
            QStringLiteral("<error> Too many connections (%1): connection closed").arg(MaxConnections));
        return;
    }
    LogDetail(QStringLiteral("<ClientConnect>"));
    std::unique_ptr<THttpClientThread> client =
        OnGetClientThread ? OnGetClientThread(*this) : std::make_unique<THttpClientThread>();
    if (!client)
        return;
    THttpClientThread* thread = client.get();
    thread->Server = this;
    thread->Attach(std::move(connection));
    {
        std::lock_guard guard(threadsMutex_);
        threads_.emplace(thread, std::move(client));
    }
    ++activeConnections_;
    LogDetail(QStringLiteral("Before \"Thread.Resume\""));
    thread->Resume();
    LogDetail(QStringLiteral("After \"Thread.Resume\""));
}

void THttpServer::ThreadEnded(THttpClientThread* client) {
    --activeConnections_;
    std::lock_guard guard(threadsMutex_);
    ended_.push_back(client);
    if (listener_)
        listener_->wake();
}

void THttpServer::ReapEnded() {
    std::vector<std::unique_ptr<THttpClientThread>> reaped;
    {
        std::lock_guard guard(threadsMutex_);
        for (THttpClientThread* client : ended_) {
            auto found = threads_.find(client);
            if (found != threads_.end()) {
                reaped.push_back(std::move(found->second));
                threads_.erase(found);
            }
        }
        ended_.clear();
    }
    for (auto& client : reaped)
        client->Join();
}

void THttpServer::Log(const QString& text) noexcept {
    try {
        Write(text);
    } catch (...) {
        // the log must never end a connection
    }
}

void THttpServer::Write(const QString& text) {
    const QString line = EscapeControls(text);
    std::lock_guard lock(lock_);
    log_.Write(line);
}

void THttpServer::LogDetail(const QString& text) noexcept {
    if (LogFlags & LogFlagDetail)
        Log(text);
}

QString THttpServer::GetServiceName() {
    std::lock_guard lock(lock_);
    return serviceName_;
}

void THttpServer::SetServiceName(const QString& name) {
    std::lock_guard lock(lock_);
    serviceName_ = name;
}

void THttpServer::SetLogPrefix(const QString& prefix) {
    std::lock_guard lock(lock_);
    log_.FilenamePrefix = prefix;
}

void THttpServer::SetLogSuffix(const QString& suffix) {
    std::lock_guard lock(lock_);
    log_.FilenameSuffix = suffix;
}

int THttpServer::QueueAdd(THttpClientThread* client) {
    std::lock_guard lock(lock_);
    const int count = static_cast<int>(queue_.size());
    client->LogDetail(QStringLiteral("<QueueAdd> count before add:%1").arg(count));
    if (!queueOpen_) {
        client->ServerRequest();
        return count;
    }
    queue_.push_back(client);
    queueChanged_.notify_one();
    return count;
}

THttpClientThread* THttpServer::QueueNext() {
    std::lock_guard lock(lock_);
    if (queue_.empty())
        return nullptr;
    THttpClientThread* client = queue_.front();
    queue_.pop_front();
    LogDetail(QStringLiteral("<QueueNext> count:%1").arg(queue_.size()));
    return client;
}

int THttpServer::QueueCount() {
    std::lock_guard lock(lock_);
    return static_cast<int>(queue_.size());
}

void THttpServer::WaitForQueue(int milliseconds) {
    std::unique_lock lock(lock_);
    queueChanged_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                           [this] { return !queue_.empty() || queueWake_; });
    queueWake_ = false;
}

void THttpServer::WakeQueue() {
    std::lock_guard lock(lock_);
    queueWake_ = true;
    queueChanged_.notify_all();
}

int THttpServer::ClientIndex(THttpClientThread* client) const {
    for (std::size_t i = 0; i < clients_.size(); ++i)
        if (clients_[i] == &client->report_)
            return static_cast<int>(i);
    return -1;
}

void THttpServer::ClientConnect(THttpClientThread* client) {
    std::lock_guard lock(lock_);
    client->report_.Assign(client->statistics_);
    clients_.push_back(&client->report_);
    client->report_.ClientCount = static_cast<int>(clients_.size());
    if (OnClientConnect)
        OnClientConnect(*this, static_cast<int>(clients_.size()) - 1, client->report_);
}

void THttpServer::ClientState(THttpClientThread* client) {
    std::lock_guard lock(lock_);
    const int index = ClientIndex(client);
    if (index < 0)
        return;
    client->report_.Assign(client->statistics_);
    client->report_.ClientCount = static_cast<int>(clients_.size());
    if (OnClientState)
        OnClientState(*this, index, client->report_);
}

void THttpServer::ClientDisconnect(THttpClientThread* client) {
    std::lock_guard lock(lock_);
    const int index = ClientIndex(client);
    if (index < 0)
        return;
    client->report_.Assign(client->statistics_);
    client->report_.ClientCount = static_cast<int>(clients_.size()) - 1;
    if (OnClientDisconnect)
        OnClientDisconnect(*this, index, client->report_);
    clients_.erase(clients_.begin() + index);
}
