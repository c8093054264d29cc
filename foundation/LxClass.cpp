#include "foundation/LxClass.h"

#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"

#include <QFile>
#include <QIODevice>

#include <array>
#include <cerrno>
#include <limits>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void RaiseListIndexError(int index) {
    throw EListError(QStringLiteral("Listeindeks uden for grænserne (%1)").arg(index));
}

// ---------------------------------------------------------------- TIntegerList

void TIntegerList::GrowTo(int index) {
    if (index < 0)
        RaiseListIndexError(index);
    if (index >= Count())
        items_.resize(static_cast<std::size_t>(index) + 1, -1);
}

qint32 TIntegerList::Get(int index) {
    GrowTo(index);
    return items_[static_cast<std::size_t>(index)];
}

void TIntegerList::Put(int index, qint32 value) {
    GrowTo(index);
    items_[static_cast<std::size_t>(index)] = value;
}

int TIntegerList::Add(qint32 value) {
    items_.push_back(value);
    return Count() - 1;
}

void TIntegerList::Insert(int index, qint32 value) {
    if (index < 0 || index > Count())
        RaiseListIndexError(index);
    items_.insert(items_.begin() + index, value);
}

void TIntegerList::Delete(int index) {
    if (index < 0 || index >= Count())
        RaiseListIndexError(index);
    items_.erase(items_.begin() + index);
}

int TIntegerList::IndexOf(qint32 value) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i] == value)
            return static_cast<int>(i);
    }
    return -1;
}

// ---------------------------------------------------------------- intervals

QString TInterval::AsText() const {
    return Low == High ? QString::number(Low)
                       : QString::number(Low) + QLatin1Char('-') + QString::number(High);
}

void TIntervalList::AddInterval(qint32 low, qint32 high) {
    if (high < low)
        return;
    // 64-bit bounds so that touching at the ends of the 32-bit range cannot overflow.
    qint64 newLow = low;
    qint64 newHigh = high;
    auto it = intervals_.begin();
    while (it != intervals_.end()) {
        if (it->High < newLow - 1) {
            ++it;
        } else if (it->Low > newHigh + 1) {
            break;
        } else {
            newLow = std::min<qint64>(newLow, it->Low);
            newHigh = std::max<qint64>(newHigh, it->High);
            it = intervals_.erase(it);
        }
    }
    intervals_.insert(it, TInterval(static_cast<qint32>(newLow), static_cast<qint32>(newHigh)));
}

const TInterval& TIntervalList::GetInterval(int index) const {
    if (index < 0 || index >= Count())
        RaiseListIndexError(index);
    return intervals_[static_cast<std::size_t>(index)];
}

QString TIntervalList::AsText() const {
    QString text;
    for (const TInterval& interval : intervals_) {
        if (!text.isEmpty())
            text += QLatin1Char(',');
        text += interval.AsText();
    }
    return text;
}

void TIntervalList::SetAsText(const QString& text) {
    Clear();
    const auto fail = [&text](qsizetype position) {
        throw Exception(
            QStringLiteral("Ugyldigt talinterval i \"%1\" i position %2").arg(text).arg(position));
    };
    // States: 0 before a number, 1 in the low number, 2 after "-", 3 in the high number.
    int state = 0;
    qint64 low = 0;
    qint64 high = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const QChar c = end ? QChar() : text.at(i);
        const bool digit = !end && c.unicode() >= u'0' && c.unicode() <= u'9';
        if (digit) {
            if (state == 0 || state == 1) {
                low = low * 10 + (c.unicode() - u'0');
                if (low > std::numeric_limits<qint32>::max())
                    fail(i + 1);
                state = 1;
            } else {
                high = high * 10 + (c.unicode() - u'0');
                if (high > std::numeric_limits<qint32>::max())
                    fail(i + 1);
                state = 3;
            }
        } else if (!end && c == u'-' && state == 1) {
            state = 2;
        } else if ((end || c == u',') && (state == 1 || state == 3)) {
            AddInterval(static_cast<qint32>(low), static_cast<qint32>(state == 1 ? low : high));
            low = 0;
            high = 0;
            state = 0;
        } else if (end && state == 0) {
            // an empty text, or nothing after the last interval
        } else {
            fail(i + 1);
        }
    }
}

// ---------------------------------------------------------------- streams

void TStreamWriter::WriteBuffer(const void* buffer, qint64 count) {
    if (count <= 0)
        return;
    if (stream_->write(static_cast<const char*>(buffer), count) != count)
        throw EStreamError(QStringLiteral("Fejl ved skrivning til datastrøm"));
}

void TStreamWriter::WriteByte(quint8 value) {
    WriteBuffer(&value, 1);
}

void TStreamWriter::WriteWord(quint16 value) {
    const std::array<quint8, 2> bytes{static_cast<quint8>(value), static_cast<quint8>(value >> 8)};
    WriteBuffer(bytes.data(), 2);
}

void TStreamWriter::WriteInteger(qint32 value) {
    const auto u = static_cast<quint32>(value);
    const std::array<quint8, 4> bytes{static_cast<quint8>(u), static_cast<quint8>(u >> 8),
                                      static_cast<quint8>(u >> 16), static_cast<quint8>(u >> 24)};
    WriteBuffer(bytes.data(), 4);
}

void TStreamWriter::WriteBoolean(bool value) {
    WriteByte(value ? 1 : 0);
}

void TStreamWriter::WriteString(const QString& text) {
    const QByteArray bytes = Windows1252::Encode(text);
    if (bytes.size() > 0xFFFF)
        throw EStreamError(
            QStringLiteral("Teksten er for lang til at blive gemt (%1 tegn, højst 65535)").arg(bytes.size()));
    WriteWord(static_cast<quint16>(bytes.size()));
    WriteBuffer(bytes.constData(), bytes.size());
}

void TStreamReader::ReadBuffer(void* buffer, qint64 count) {
    if (count <= 0)
        return;
    if (stream_->read(static_cast<char*>(buffer), count) != count)
        throw EStreamError(QStringLiteral("Fejl ved læsning fra datastrøm"));
}

quint8 TStreamReader::ReadByte() {
    quint8 value = 0;
    ReadBuffer(&value, 1);
    return value;
}

quint16 TStreamReader::ReadWord() {
    std::array<quint8, 2> b{};
    ReadBuffer(b.data(), 2);
    return static_cast<quint16>(b[0] | (b[1] << 8));
}

qint32 TStreamReader::ReadInteger() {
    std::array<quint8, 4> b{};
    ReadBuffer(b.data(), 4);
    const quint32 u = quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24);
    return static_cast<qint32>(u);
}

bool TStreamReader::ReadBoolean() {
    return ReadByte() != 0;
}

QString TStreamReader::ReadString() {
    const quint16 length = ReadWord();
    QByteArray bytes(length, Qt::Uninitialized);
    ReadBuffer(bytes.data(), length);
    return Windows1252::Decode(bytes);
}

// ---------------------------------------------------------------- logs

TTraceLog::TTraceLog(QString fileName)
    : FileName(std::move(fileName)) {}

TTraceLog::~TTraceLog() {
    Close();
}

void TTraceLog::Write(const QString& text) {
    if (Enabled)
        WriteLines(Windows1252::Encode(text) + '\n');
}

void TTraceLog::WriteLines(const QByteArray& lines) {
    if (!Enabled)
        return;
    if (!IsCurrent())
        Open();
    if (!Append(lines)) {
        Close(); // the next line tries afresh
        throw WriteError();
    }
}

bool TTraceLog::AppendToOpen(const QByteArray& lines) const {
    if (!Enabled || !IsCurrent())
        return false;
    if (!Append(lines))
        throw WriteError();
    return true;
}

namespace {

// The current folder as the system gives it.
QByteArray CurrentFolder() {
    std::array<char, PATH_MAX> folder{};
    return ::getcwd(folder.data(), folder.size()) ? QByteArray(folder.data()) : QByteArray();
}

} // namespace

bool TTraceLog::IsCurrent() const {
    if (fd_ < 0 || openName_ != FileName || (!folder_.isEmpty() && folder_ != CurrentFolder()))
        return false;
    struct stat info {};
    return ::stat(path_.constData(), &info) == 0 && info.st_dev == device_ && info.st_ino == inode_;
}

bool TTraceLog::Append(const QByteArray& lines) const {
    for (qsizetype written = 0; written < lines.size();) {
        const ssize_t count = ::write(fd_, lines.constData() + written, std::size_t(lines.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

Exception TTraceLog::WriteError() const {
    return Exception(QStringLiteral("Kan ikke skrive i logfilen \"%1\"").arg(FileName));
}

void TTraceLog::Open() {
    Close();
    const QByteArray path = QFile::encodeName(ResolvePath(FileName));
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw WriteError();
    }
    fd_ = fd;
    openName_ = FileName;
    const bool relative = !FileName.startsWith(u'/') && !FileName.startsWith(u'\\');
    folder_ = relative ? CurrentFolder() : QByteArray();
    path_ = path;
    device_ = info.st_dev;
    inode_ = info.st_ino;
}

void TTraceLog::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

TDateLog::TDateLog(Clock clock)
    : clock_(std::move(clock)) {}

TDateLog::~TDateLog() = default;

void TDateLog::Log(const QString& text) noexcept {
    try {
        Write(text);
    } catch (...) {
        // a log must never stop the work it records
    }
}

void TDateLog::Write(const QString& text) {
    const TStamp stamp = Stamp();
    WriteStamped(stamp.FileName, Line(stamp, text));
}

TDateLog::TStamp TDateLog::Stamp() {
    if (clock_) {
        SetStampTime(clock_());
    } else {
        // Turning the time into local time rereads the zone each time; within one second it is done once.
        const qint64 second = QDateTime::currentSecsSinceEpoch();
        if (second != systemSecond_)
            SetStampTime(QDateTime::fromSecsSinceEpoch(second));
        systemSecond_ = second;
    }
    if (logFileName_.isEmpty() || logDate_ != stampDate_ || logPrefix_ != FilenamePrefix) {
        logDate_ = stampDate_;
        logPrefix_ = FilenamePrefix;
        logFileName_ = FilenamePrefix + logDate_.toString(QStringLiteral("yyyyMMdd")) + FilenameSuffix;
    }
    return {logFileName_, stampText_};
}

QByteArray TDateLog::Line(const TStamp& stamp, const QString& text) {
    return stamp.Text + Windows1252::Encode(text) + '\n';
}

void TDateLog::SetStampTime(const QDateTime& now) {
    const QDate date = now.date();
    const int second = now.time().msecsSinceStartOfDay() / 1000;
    if (date == stampDate_ && second == stampSecond_)
        return;
    stampDate_ = date;
    stampSecond_ = second;
    stampText_ = now.toString(QStringLiteral("dd-MM-yyyy hh:mm:ss")).toLatin1() + "  ";
}

bool TDateLog::AppendToOpen(const QString& fileName, const QByteArray& lines) const {
    return log_ && log_->FileName == fileName && log_->AppendToOpen(lines);
}

void TDateLog::WriteStamped(const QString& fileName, const QByteArray& lines) {
    if (!log_ || log_->FileName != fileName) {
        log_ = std::make_unique<TTraceLog>(fileName);
        log_->Enabled = true;
    }
    log_->WriteLines(lines);
}
