#include "server/HttpServer.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "foundation/LxTimer.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "server/HttpFile.h"
#include "server/socket/Socket.h"
#include "server/socket/WorkerPool.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstring>
#include <string_view>

namespace {

constexpr int ClosePauseMs = 5;
// How often a connection that waits for a place looks whether one that is ending has gone (ms).
constexpr qint64 EndingPollMs = 10;
// Descriptors the program needs beside the connections: files, the log, the listening socket.
constexpr std::size_t DescriptorsBeside = 256;
const QByteArray CrLfBytes = QByteArrayLiteral("\r\n");

struct ReasonPhrase {
    int status;
    const char* reason;
};

// Statuses outside the table go out with an empty reason.
constexpr std::array<ReasonPhrase, 6> ReasonPhrases = {{
    {200, "OK"},
    {400, "Bad Request"},
    {404, "Not Found"},
    {414, "URI Too Long"},
    {431, "Request Header Fields Too Large"},
    {500, "Internal Server Error"},
}};

QString ReasonFor(int status) {
    for (const ReasonPhrase& phrase : ReasonPhrases)
        if (phrase.status == status)
            return QString::fromLatin1(phrase.reason);
    return {};
}

constexpr std::array<const char*, 8> StateNames = {
    "",           "Connect", "Modtager data", "Afventer server", "Server kommunikation", "Sender svar",
    "Disconnect", "",
};

// Milliseconds as seconds with three decimals, the same in every locale.
QString Seconds(qint64 milliseconds) {
    // Put together without QString::arg, which costs a connection more than the rest of a line.
    return QString::number(milliseconds / 1000) + u'.' +
           QString::number(milliseconds % 1000).rightJustified(3, u'0');
}

} // namespace

QString HttpClientStateName(int state) {
    return state >= 0 && state < int(StateNames.size()) ? QString::fromUtf8(StateNames[state]) : QString();
}

QString CurrentExceptionText() {
    try {
        throw;
    } catch (const std::exception& error) {
        return MessageOf(error);
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

bool IsHttpVersion(const QString& version) {
    return version.size() == 8 && version.startsWith(QLatin1String("HTTP/")) && version[5].isDigit() &&
           version[5].unicode() < 0x80 && version[6] == u'.' && version[7].isDigit() &&
           version[7].unicode() < 0x80;
}

THttpClientThread::THttpClientThread()
    : from_(AddressWidth, u' ') {}

THttpClientThread::~THttpClientThread() = default;

QString THttpClientThread::GetParam(const QString& name) const {
    for (const QString& param : Params) {
        const qsizetype equals = param.indexOf(u'=');
        const QString paramName = equals < 0 ? param : param.left(equals);
        if (paramName.compare(name, Qt::CaseInsensitive) == 0)
            return equals < 0 ? QString() : param.mid(equals + 1);
    }
    return {};
}

int THttpClientThread::GetParamIntDef(const QString& name, int def) const {
    const QByteArray text = GetParam(name).toLatin1();
    int value = 0;
    const char* last = text.constData() + text.size();
    const auto [end, error] = std::from_chars(text.constData(), last, value);
    return text.isEmpty() || error != std::errc() || end != last ? def : value;
}

QString THttpClientThread::GetRemoteAddress() {
    return remoteAddress_;
}

void THttpClientThread::Log(const QString& text) {
    if (Server)
        Server->StampLines(logged_, from_, {text});
}

void THttpClientThread::LogLines(QStringList lines) {
    if (!Server || lines.isEmpty())
        return;
    Server->StampLines(logged_, from_, std::move(lines));
}

void THttpClientThread::FlushLog() {
    if (Server && !logged_.IsEmpty())
        Server->FlushLines(logged_);
}

void THttpClientThread::AttachFile(std::unique_ptr<THttpFile> file) {
    file_ = std::move(file);
    FileName = file_ ? file_->Name() : QString();
}

void THttpClientThread::LogDetail(const QString& text) {
    if (Server && (Server->LogFlags & THttpServer::LogFlagDetail))
        Log(text);
}

void THttpClientThread::Attach(std::unique_ptr<Net::Connection> connection) {
    connection_ = std::move(connection);
    // Taken now, before other threads may ask for it.
    remoteAddress_ = QString::fromStdString(connection_->remoteAddress());
    from_ = LeftJustify(remoteAddress_, AddressWidth);
}

void THttpClientThread::Abort() {
    if (connection_)
        connection_->abort();
}

qint64 THttpClientThread::ReceivingFor(std::uint32_t now) const {
    return headPhase_ == HeadPhase::Receiving ? qint64(TickDiff(headStart_, now)) : -1;
}

bool THttpClientThread::InputPending() const {
    return connection_->inputPending();
}

bool THttpClientThread::CutHead() {
    HeadPhase receiving = HeadPhase::Receiving;
    if (!headPhase_.compare_exchange_strong(receiving, HeadPhase::Cut))
        return false;
    ending_ = true;
    Abort();
    return true;
}

bool THttpClientThread::HeadDone() {
    return headPhase_.exchange(HeadPhase::Read) != HeadPhase::Cut;
}

bool THttpClientThread::Connected() {
    return connection_ && connection_->connected();
}

void THttpClientThread::SetState(THttpClientState state) {
    state_ = state;
    statistics_.State = static_cast<int>(state);
    if (state >= THttpClientState::Connect)
        Server->ClientState(this);
}

void THttpClientThread::SetDone() {
    const std::shared_ptr<DoneEvent> event = done_;
    {
        std::lock_guard lock(event->mutex);
        event->done = true;
    }
    event->changed.notify_one(); // woken outside the lock, it need not wait for it
}

void THttpClientThread::Execute() {
    THttpServer* server = Server;
    server->LogDetail(QStringLiteral("<ThreadStart>"));
    ClientExecute();
    server->LogDetail(QStringLiteral("<ClientDisconnect>"));
    server->LogDetail(QStringLiteral("<ThreadEnd>"));
}

void THttpClientThread::ClientExecute() {
    statistics_.Clear();
    statistics_.ConnectionId = connectionId_;
    statistics_.RemoteAddress = GetRemoteAddress();
    statistics_.ConnectDateTime = QDateTime::currentDateTimeUtc(); // local time costs a look at the zone
    SetState(THttpClientState::Started);
    const std::uint32_t start = GetMsTick();
    Server->ClientConnect(this);
    SetState(THttpClientState::Connect);
    Log(QStringLiteral("<client communication>"));
    bool inputMayFollow = true; // more than the header may still come from the client
    try {
        SetState(THttpClientState::Receiving);
        headStart_ = GetMsTick();
        headPhase_ = HeadPhase::Receiving;
        ReadResult result = ReadRequest();
        if (!HeadDone() && result != ReadResult::Failed) {
            LogHeadCut(); // the head came whole, but too late: the connection is cut already
            result = ReadResult::Failed;
        }
        inputMayFollow = result != ReadResult::Complete || AnnouncesBody();
        if (result == ReadResult::LineTooLong)
            Refuse(ReceivedLines.isEmpty() ? 414 : 431,
                   (ReceivedLines.isEmpty() ? QStringLiteral("request line longer than %1 bytes")
                                            : QStringLiteral("header line longer than %1 bytes"))
                       .arg(ReceiveBufferSize));
        else if (result == ReadResult::HeaderTooLarge)
            Refuse(431, QStringLiteral("request header larger than %1 bytes").arg(MaxHeaderSize));
        else if (result == ReadResult::Complete && !IsHttpVersion(HttpVersion))
            Refuse(400, QStringLiteral("request line without a version HTTP/d.d"));
        else if (result == ReadResult::Complete)
            QueueAndWait();
        if (result != ReadResult::Failed) {
            SetState(THttpClientState::Sending);
            WriteResponse();
            SetState(THttpClientState::Disconnect);
            statistics_.AtEnd = Server->QueueCount();
        }
    } catch (const std::exception& error) {
        Log(QStringLiteral("<exception> ") + MessageOf(error));
    }
    ReceivedLines.clear();
    ResponseLines.clear();
    Params.clear();
    ending_ = true;
    CloseConnection(inputMayFollow);
    SetState(THttpClientState::Closed);
    statistics_.ConnectTime = TickDiff(start, GetMsTick());
    LogLines({StatisticsLine(), QStringLiteral("</client communication>")});
    FlushLog();
    file_.reset();
    Server->ClientDisconnect(this);
    statistics_.Clear();
}

THttpClientThread::ReadResult THttpClientThread::ReadRequest() {
    ReceivedLines.clear();
    HttpVersion.clear();
    HttpCommand.clear();
    HttpParams.clear();
    Command.clear();
    Extension.clear();
    Params.clear();

    std::array<char, ReceiveBufferSize> buffer;
    std::size_t used = 0;   // the unread part, always from the buffer's start
    qint64 headerBytes = 0; // the lines cut so far, with their line ends
    const std::uint32_t start = GetMsTick();
    const auto fail = [&](const char* what) {
        if (headPhase_ == HeadPhase::Cut)
            LogHeadCut();
        else
            Log(QStringLiteral("<error> timeout: %1 - read time: %2 seconds")
                    .arg(QLatin1String(what), Seconds(TickDiff(start, GetMsTick()))));
        ReceivedLines.clear();
        return ReadResult::Failed;
    };

    for (;;) {
        if (used == buffer.size())
            return ReadResult::LineTooLong;
        // The whole request shares one time limit, so a client that trickles is dropped all the same.
        const qint64 left = qint64(Timeout) - TickDiff(start, GetMsTick());
        if (left <= 0)
            return fail("no data ready from client or client is no longer connected");
        std::uint32_t tick = GetMsTick();
        std::optional<std::size_t> count;
        try {
            // What has come is read at once; only when nothing has is there a wait.
            count = connection_->readNow(buffer.data() + used, buffer.size() - used);
        } catch (const Net::SocketError& error) {
            Log(QStringLiteral("<Read.ESocketError> ") + QString::fromLocal8Bit(error.what()));
            ReceivedLines.clear();
            return ReadResult::Failed;
        }
        if (!count) {
            // What is logged so far goes into the file before the wait.
            FlushLog();
            Net::Connection::Wait wait = Net::Connection::Wait::Timeout;
            try {
                wait = connection_->waitReadable(static_cast<int>(left));
            } catch (const Net::SocketError& error) {
                Log(QStringLiteral("<WaitForData.ESocketError> ") + QString::fromLocal8Bit(error.what()));
                ReceivedLines.clear();
                return ReadResult::Failed;
            }
            statistics_.ReadIdleTime += TickDiff(tick, GetMsTick());
            if (wait == Net::Connection::Wait::Timeout)
                return fail("no data ready from client or client is no longer connected");
            tick = GetMsTick();
            try {
                count = connection_->read(buffer.data() + used, buffer.size() - used);
            } catch (const Net::SocketError& error) {
                Log(QStringLiteral("<Read.ESocketError> ") + QString::fromLocal8Bit(error.what()));
                ReceivedLines.clear();
                return ReadResult::Failed;
            }
        }
        statistics_.ReadTime += TickDiff(tick, GetMsTick());
        if (*count == 0)
            return fail("no data received from client or client is no longer connected");
        used += *count;
        statistics_.BytesReceived += qint64(*count);

        const std::string_view unread(buffer.data(), used);
        std::size_t lineStart = 0;
        QStringList logged; // the lines of this piece go into the log together
        for (std::size_t end; (end = unread.find("\r\n", lineStart)) != std::string_view::npos;
             lineStart = end + 2) {
            headerBytes += qint64(end - lineStart) + 2;
            if (headerBytes > MaxHeaderSize) {
                LogLines(logged);
                return ReadResult::HeaderTooLarge;
            }
            const QString line = Windows1252::Decode(buffer.data() + lineStart, qsizetype(end - lineStart));
            ++statistics_.LinesReceived;
            if (line.isEmpty()) {
                if (!ReceivedLines.isEmpty())
                    ParseRequestLine(ReceivedLines.first());
                logged << QStringLiteral("</receive data from client> Lines: ") +
                              QString::number(ReceivedLines.size());
                LogLines(logged);
                return ReadResult::Complete;
            }
            if (ReceivedLines.isEmpty())
                logged << QStringLiteral("<receive data from client>");
            ReceivedLines.append(line);
            logged << line;
        }
        LogLines(logged);
        std::memmove(buffer.data(), buffer.data() + lineStart, used - lineStart);
        used -= lineStart;
        if (headerBytes + qint64(used) > MaxHeaderSize)
            return ReadResult::HeaderTooLarge;
    }
}

void THttpClientThread::LogHeadCut() {
    Log(QStringLiteral("<error> request head not complete after %1 seconds while the server is full: "
                       "connection cut")
            .arg(Seconds(TickDiff(headStart_, GetMsTick()))));
}

void THttpClientThread::ParseRequestLine(const QString& line) {
    const qsizetype lastBlank = line.lastIndexOf(u' ');
    HttpVersion = line.mid(lastBlank + 1);
    QString rest = lastBlank < 0 ? QString() : line.left(lastBlank);
    HttpCommand = SplitFirst(rest, QStringLiteral(" ")).toUpper();
    HttpParams = rest;

    QString query = HttpParams;
    Command = SplitFirst(query, QStringLiteral("?"));
    Params = query.split(u'&');
    if (Params.last().isEmpty())
        Params.removeLast();
    const qsizetype dot = Command.lastIndexOf(u'.');
    Extension = dot < 0 ? QString() : Command.mid(dot);
    Command.replace(u'/', u'\\');
}

void THttpClientThread::Refuse(int status, const QString& reason) {
    Log(QStringLiteral("<error> ") + reason + QStringLiteral(": answered %1").arg(status));
    StatusCode = status;
    gatewayStatus_ = true;
    ResponseLines.clear();
    FileName.clear();
    file_.reset();
}

void THttpClientThread::QueueAndWait() {
    StatusCode = 0;
    ResponseLines.clear();
    SetState(THttpClientState::AwaitingServer);
    {
        std::lock_guard lock(done_->mutex);
        done_->done = false;
    }
    // The request is in the file before its handler runs: one that hangs or fails leaves it there.
    FlushLog();
    tick_ = GetMsTick(); // before queueing: the queue thread reads it at once
    const int atStart = Server->QueueAdd(this);
    std::unique_lock lock(done_->mutex);
    done_->changed.wait(lock, [this] { return done_->done; });
    statistics_.AtStart = atStart; // only now: the queue thread copies the statistics while it has them
}

void THttpClientThread::ServerRequest() {
    statistics_.WaitOnServerTime += TickDiff(tick_, GetMsTick());
    if (Connected()) {
        SetState(THttpClientState::ServerCommunication);
        Log(QStringLiteral("<server request>"));
        const std::uint32_t start = GetMsTick();
        try {
            HandleRequest();
        } catch (...) {
            // A failing handler gets an empty 500 answer, never a stuck connection.
            Log(QStringLiteral("<exception> ") + CurrentExceptionText());
            StatusCode = 500;
            gatewayStatus_ = true;
            ResponseLines.clear();
            FileName.clear();
            file_.reset();
        }
        const std::uint32_t duration = TickDiff(start, GetMsTick());
        statistics_.ServerRequestTime += duration;
        Log(QStringLiteral("</server request> ") + Seconds(duration) + QStringLiteral(" seconds"));
    } else {
        Log(QStringLiteral("<error> No connection to client. Server update interrupted."));
    }
    SetDone();
}

void THttpClientThread::WriteResponse() {
    if (!Connected()) {
        LogLines(QStringList{QStringLiteral("<error> No longer connected to client"),
                             QStringLiteral("<data from server> Lines: %1").arg(ResponseLines.size())} +
                 ResponseLines + QStringList{QStringLiteral("</data from server>")});
        return;
    }
    // A handler's own 200 keeps its lines; any other status of its own goes out without them.
    if (StatusCode == 0)
        StatusCode = 200;
    else if (StatusCode != 200 && !gatewayStatus_)
        ResponseLines.clear();

    // The file's length is taken as the answer goes out, and the file follows in blocks, so that a file
    // of any size costs a block of memory; only a file cut short while it goes sends less.
    const qint64 fileLength = OpenFileToSend();
    const bool withFile = fileLength >= 0;
    // The file is the body: lines beside it would go out uncounted by the length.
    if (withFile)
        ResponseLines.clear();
    qint64 length = withFile ? fileLength : 0;
    QList<QByteArray> body;
    body.reserve(ResponseLines.size());
    for (const QString& line : std::as_const(ResponseLines)) {
        body.append(Windows1252::Encode(line));
        length += body.last().size() + 2;
    }
    if (!withFile && length == 0 && !gatewayStatus_)
        StatusCode = 404;

    // Only a version of the right form goes back into the status line: anything else could break it.
    const QString version = IsHttpVersion(HttpVersion) ? HttpVersion : QStringLiteral("HTTP/1.1");
    const QStringList header = {
        version + u' ' + QString::number(StatusCode) + u' ' + ReasonFor(StatusCode),
        QStringLiteral("Expires: Thu, 01 Dec 1994 16:00:00 GMT"),
        QStringLiteral("Content-Length: ") + QString::number(length),
        QString(),
    };
    QStringList logged{QStringLiteral("<send data to client> Lines: ") +
                       QString::number(header.size() + ResponseLines.size())};
    logged += header;
    logged += ResponseLines;
    if (withFile)
        logged << QStringLiteral("<file> ") + FileName + QStringLiteral(", Length: ") +
                      QString::number(fileLength);
    LogLines(std::move(logged));
    // One write for the header, the lines and the file's first block; lineEnds tells how many lines a
    // short write got out.
    QByteArray bytes;
    bytes.reserve(qsizetype(std::min<qint64>(length, FileBlockSize)) + 128);
    std::vector<qsizetype> lineEnds;
    for (const QString& line : header) {
        bytes += Windows1252::Encode(line) + CrLfBytes;
        lineEnds.push_back(bytes.size());
    }
    for (const QByteArray& line : std::as_const(body)) {
        bytes += line + CrLfBytes;
        lineEnds.push_back(bytes.size());
    }
    const qsizetype fileStart = bytes.size();
    qint64 fileLeft = withFile ? fileLength : 0;
    bool whole = !withFile || ReadFileBlock(bytes, fileLeft);
    const qint64 written = WriteBytes(bytes);
    for (const qsizetype end : lineEnds)
        statistics_.LinesSend += end <= written ? 1 : 0;
    bool sent = written == bytes.size();
    // A sent file counts one line per block, each block that its turn came for.
    if (bytes.size() > fileStart && written >= fileStart)
        ++statistics_.LinesSend;
    QByteArray block;
    while (whole && sent && fileLeft > 0) {
        block.clear();
        whole = ReadFileBlock(block, fileLeft);
        ++statistics_.LinesSend;
        sent = WriteBytes(block) == block.size();
    }
    file_.reset();
    if (!sent)
        Log(QStringLiteral("<error> Connection to client lost"));
    else if (!whole)
        Log(QStringLiteral("<error> The file ended before its length: %1 bytes not sent").arg(fileLeft));
    Log(QStringLiteral("</send data to client>"));
}

qint64 THttpClientThread::OpenFileToSend() {
    if (!file_ && !FileName.isEmpty())
        file_ = THttpFile::Open(FileName);
    const qint64 length = file_ ? file_->Size() : -1;
    if (length < 0)
        file_.reset();
    return length;
}

bool THttpClientThread::ReadFileBlock(QByteArray& bytes, qint64& left) {
    const qsizetype start = bytes.size();
    const qint64 wanted = std::min<qint64>(left, FileBlockSize);
    bytes.resize(start + qsizetype(wanted));
    const qint64 count = file_->Read(bytes.data() + start, wanted);
    bytes.resize(start + qsizetype(std::max<qint64>(count, 0)));
    left -= std::max<qint64>(count, 0);
    return count == wanted;
}

qint64 THttpClientThread::WriteBytes(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return 0;
    const std::uint32_t start = GetMsTick();
    std::size_t written = 0;
    try {
        written = connection_->write(bytes.constData(), std::size_t(bytes.size()), 0);
        // The client takes no more for now: what is logged goes into the file before the wait.
        if (written < std::size_t(bytes.size()) && Connected()) {
            FlushLog();
            written +=
                connection_->write(bytes.constData() + written, std::size_t(bytes.size()) - written, Timeout);
        }
    } catch (const Net::SocketError& error) {
        Log(QStringLiteral("<Write.ESocketError> ") + QString::fromLocal8Bit(error.what()));
    }
    statistics_.WriteTime += TickDiff(start, GetMsTick());
    statistics_.BytesSend += qint64(written);
    return qint64(written);
}

bool THttpClientThread::AnnouncesBody() const {
    for (const QString& line : std::as_const(ReceivedLines)) {
        const qsizetype colon = line.indexOf(u':');
        const QStringView name = QStringView(line).left(colon).trimmed();
        if (colon > 0 && name.compare(u"Transfer-Encoding", Qt::CaseInsensitive) == 0)
            return true;
        if (colon > 0 && name.compare(u"Content-Length", Qt::CaseInsensitive) == 0 &&
            QStringView(line).mid(colon + 1).trimmed() != u"0")
            return true;
    }
    return false;
}

void THttpClientThread::CloseConnection(bool inputMayFollow) {
    if (connection_)
        connection_->closeGracefully(ClosePauseMs, inputMayFollow);
}

QString THttpClientThread::StatisticsLine() const {
    const THttpClientStatistics& st = statistics_;
    const std::pair<const char*, qint64> values[] = {
        {"<info> ConnectTime:", st.ConnectTime},
        {" AdminTime:", st.AdminTime()},
        {" ReadIdleTime:", st.ReadIdleTime},
        {" ReadTime:", st.ReadTime},
        {" WriteTime:", st.WriteTime},
        {" WaitOnServerTime:", st.WaitOnServerTime},
        {" ServerRequestTime:", st.ServerRequestTime},
        {" LinesReceived:", st.LinesReceived},
        {" LinesSend:", st.LinesSend},
        {" BytesReceived:", st.BytesReceived},
        {" BytesSend:", st.BytesSend},
        {" AtStart:", st.AtStart},
        {" AtEnd:", st.AtEnd},
    };
    std::string text;
    text.reserve(256);
    for (const auto& [label, value] : values) {
        text += label;
        std::array<char, 24> digits{};
        text.append(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr);
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

namespace {

// A client must not be able to start a line of its own in the log, nor hide one.
QString EscapeControls(const QString& text) {
    if (std::none_of(text.begin(), text.end(), [](QChar ch) {
            const char16_t code = ch.unicode();
            return code < 0x20 || (code >= 0x7f && code <= 0x9f);
        }))
        return text;
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
        listener_ = std::make_unique<Net::Listener>(static_cast<std::uint16_t>(Port), LoopbackOnly);
    } catch (const Net::SocketError& error) {
        const QString text = QString::fromLocal8Bit(error.what());
        Log(QStringLiteral("<exception> ") + text);
        throw Exception(QStringLiteral("HTTP-serveren kan ikke lytte på port %1:\n%2").arg(Port).arg(text));
    }
    listeningPort_ = listener_->port();
    Log(QStringLiteral("HttpServer is now running on port %1").arg(listeningPort_));
    {
        std::lock_guard lock(queueMutex_);
        queueOpen_ = true;
    }
    stopping_ = false;
    // Every connection holds a descriptor, and the default limit of a session may be lower than the bound.
    Net::allowDescriptors(static_cast<std::size_t>(std::max(MaxConnections, 0)) + DescriptorsBeside);
    workers_ = std::make_unique<Net::WorkerPool>(static_cast<std::size_t>(std::max(MaxConnections, 1)));
    processQueue_ = std::make_unique<TProcessQueue>(*this);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

void THttpServer::Stop() {
    if (!Active())
        return;
    Log(QStringLiteral("HttpServer is about to stop"));
    {
        std::lock_guard threads(threadsMutex_);
        stopping_ = true;
    }
    slotFreed_.notify_all();
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
        std::lock_guard lock(queueMutex_);
        queueOpen_ = false;
        left.swap(queue_);
    }
    for (THttpClientThread* client : left)
        client->ServerRequest();

    // Every connection runs to its end (each was cut above), then the threads end.
    workers_.reset();
}

void THttpServer::AcceptLoop() {
    while (!stopping_) {
        Net::Accepted accepted = listener_->accept();
        if (accepted.connection)
            Serve(std::move(accepted.connection));
        else if (!accepted.refusedAddress.empty())
            Log(LeftJustify(QString::fromStdString(accepted.refusedAddress), 16) +
                QStringLiteral("<error> No descriptor free for the connection: connection closed"));
    }
}

bool THttpServer::MakeRoom() {
    std::unique_lock guard(threadsMutex_);
    while (activeConnections_ >= MaxConnections && !stopping_) {
        const std::uint32_t now = GetMsTick();
        std::vector<std::pair<qint64, THttpClientThread*>> lagging;
        qint64 nextDue = -1; // ms until another head may be cut
        bool ending = false; // a connection is about to free its place
        for (const auto& [client, owned] : threads_) {
            ending = ending || client->ending_;
            const qint64 receiving = client->ReceivingFor(now);
            if (receiving < 0)
                continue;
            // One whose input has come is only waiting for its own thread.
            const qint64 due =
                receiving < HeadDeadline ? HeadDeadline - receiving : (client->InputPending() ? 1 : 0);
            if (due == 0)
                lagging.emplace_back(receiving, client);
            else
                nextDue = nextDue < 0 ? due : std::min(nextDue, due);
        }
        std::sort(lagging.begin(), lagging.end(),
                  [](const auto& a, const auto& b) { return a.first > b.first; });
        for (const auto& [receiving, client] : lagging)
            if (client->CutHead()) // false for one whose head came whole just now
                return true;
        if (lagging.empty() && nextDue < 0 && !ending)
            return false;
        const qint64 wait = ending ? std::min<qint64>(nextDue < 0 ? EndingPollMs : nextDue, EndingPollMs)
                                   : (nextDue < 0 ? 1 : nextDue);
        slotFreed_.wait_for(guard, std::chrono::milliseconds(wait));
    }
    return !stopping_;
}

void THttpServer::Serve(std::unique_ptr<Net::Connection> connection) {
    if (activeConnections_ >= MaxConnections && !MakeRoom()) {
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
    thread->connectionId_ = ++lastConnectionId_;
    thread->Attach(std::move(connection));
    {
        std::lock_guard guard(threadsMutex_);
        threads_.emplace(thread, std::move(client));
    }
    ++activeConnections_;
    LogDetail(QStringLiteral("Before \"Thread.Resume\""));
    if (!workers_->run([this, thread] { Run(thread); })) {
        thread->Log(QStringLiteral("<exception> no thread to serve the connection"));
        thread->FlushLog();
        Release(thread);
    }
    LogDetail(QStringLiteral("After \"Thread.Resume\""));
}

void THttpServer::Run(THttpClientThread* client) noexcept {
    client->Execute();
    Release(client);
}

void THttpServer::Release(THttpClientThread* client) noexcept {
    std::unique_ptr<THttpClientThread> owned; // freed outside the mutex
    {
        std::lock_guard guard(threadsMutex_);
        auto found = threads_.find(client);
        if (found != threads_.end()) {
            owned = std::move(found->second);
            threads_.erase(found);
        }
        --activeConnections_;
    }
    slotFreed_.notify_all();
}

void THttpServer::Log(const QString& text) noexcept {
    try {
        Write(text);
    } catch (...) {
        // the log must never end a connection
    }
}

void THttpServer::Write(const QString& text) {
    log_.Write({EscapeControls(text)});
}

void THttpServer::LogLines(QStringList texts) noexcept {
    try {
        for (QString& text : texts)
            text = EscapeControls(text);
        log_.Write(texts);
    } catch (...) {
        // the log must never end a connection
    }
}

void THttpServer::StampLines(GatewayLogLines& lines, const QString& prefix, QStringList texts) noexcept {
    try {
        for (QString& text : texts)
            text = EscapeControls(text);
        log_.Stamp(lines, prefix, texts);
    } catch (...) {
        // the log must never end a connection
    }
}

void THttpServer::FlushLines(GatewayLogLines& lines) noexcept {
    try {
        log_.Flush(lines);
    } catch (...) {
        // the log must never end a connection
    }
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
    log_.SetPrefix(prefix);
}

void THttpServer::SetLogSuffix(const QString& suffix) {
    log_.SetSuffix(suffix);
}

int THttpServer::QueueAdd(THttpClientThread* client) {
    int count = 0;
    bool queued = false;
    {
        std::lock_guard lock(queueMutex_);
        count = static_cast<int>(queue_.size());
        // Into the client's own lines, before the queue thread may have them.
        if (LogFlags & LogFlagDetail)
            client->LogDetail(QStringLiteral("<QueueAdd> count before add:%1").arg(count));
        queued = queueOpen_;
        if (queued)
            queue_.push_back(client);
    }
    if (!queued)
        client->ServerRequest(); // the queue is closed by Stop: let go unanswered
    else
        queueChanged_.notify_one(); // the queue thread, woken outside the lock, need not wait for it
    return count;
}

THttpClientThread* THttpServer::QueueNext() {
    THttpClientThread* client = nullptr;
    std::size_t left = 0;
    {
        std::lock_guard lock(queueMutex_);
        if (queue_.empty())
            return nullptr;
        client = queue_.front();
        queue_.pop_front();
        left = queue_.size();
    }
    if (LogFlags & LogFlagDetail)
        LogDetail(QStringLiteral("<QueueNext> count:%1").arg(left));
    return client;
}

int THttpServer::QueueCount() {
    std::lock_guard lock(queueMutex_);
    return static_cast<int>(queue_.size());
}

void THttpServer::WaitForQueue(int milliseconds) {
    std::unique_lock lock(queueMutex_);
    queueChanged_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                           [this] { return !queue_.empty() || queueWake_; });
    queueWake_ = false;
}

void THttpServer::WakeQueue() {
    std::lock_guard lock(queueMutex_);
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
