#include "print/D_HtmlFile.h"

#include "foundation/LxDisk.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace {

QByteArray EncodeLatin1References(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const char32_t codePoint : text.toUcs4()) {
        if (codePoint <= 0xFF)
            bytes.append(static_cast<char>(codePoint));
        else
            bytes.append(QStringLiteral("&#%1;").arg(static_cast<quint32>(codePoint)).toLatin1());
    }
    return bytes;
}

// The folder found as Windows would, the page's own name in lower case.
QString PageFileName(const QString& fileName) {
    const qsizetype slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    const QString folder = slash < 0 ? QDir::currentPath() : ResolvePath(fileName.left(slash + 1));
    const QString name = fileName.mid(slash + 1).toLower();
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// The longest generation stamp a page on disk may have in place of the new one's: a Danish date with its
// day and month written out fits many times over.
constexpr qsizetype MaxStampBytes = 80;

bool IsStampByte(char byte) {
    return byte != '<' && byte != '>' && byte != '&' && byte != '\r' && byte != '\n';
}

} // namespace

THtmlFile::THtmlFile(const QString& fileName, THtmlEncoding encoding)
    : fileName_(PageFileName(fileName))
    , encoding_(encoding) {
    const QFileInfo folder(QFileInfo(fileName_).path());
    if (folder.isDir() && folder.isWritable())
        return;
    // Qt's own words for why the file cannot be made there.
    QSaveFile probe(fileName_);
    if (!probe.open(QIODevice::WriteOnly))
        Fail(probe.errorString());
    probe.cancelWriting();
}

THtmlFile::~THtmlFile() = default;

void THtmlFile::Fail(const QString& error) {
    open_ = false;
    bytes_.clear();
    stamps_.clear();
    throw EInOutError(QStringLiteral("Fejl ved skrivning af filen %1: %2").arg(fileName_, error));
}

void THtmlFile::Write(const QString& text) {
    if (!open_)
        throw EInOutError(QStringLiteral("Filen %1 er allerede lukket").arg(fileName_));
    bytes_.append(encoding_ == THtmlEncoding::Windows1252 ? Windows1252::Encode(text)
                                                          : EncodeLatin1References(text));
}

void THtmlFile::WriteStamp(const QString& text) {
    const qsizetype offset = bytes_.size();
    Write(text);
    stamps_.push_back({offset, bytes_.size() - offset});
}

bool THtmlFile::SameAsOnDisk() const {
    QFile page(fileName_);
    const qint64 slack = static_cast<qint64>(stamps_.size()) * MaxStampBytes;
    if (std::abs(page.size() - bytes_.size()) > slack || !QFileInfo(page).isFile() ||
        !page.open(QIODevice::ReadOnly))
        return false;
    const QByteArray old = page.readAll();
    return stamps_.empty() ? old == bytes_ : SameApartFromStamps(old);
}

bool THtmlFile::SameApartFromStamps(QByteArrayView old) const {
    const QByteArrayView now(bytes_);
    qsizetype atOld = 0;
    qsizetype atNow = 0;
    for (std::size_t i = 0; i < stamps_.size(); ++i) {
        const QByteArrayView before = now.sliced(atNow, stamps_[i].offset - atNow);
        if (!old.sliced(atOld).startsWith(before))
            return false;
        atOld += before.size();
        atNow = stamps_[i].offset + stamps_[i].size;
        const qsizetype nextStamp = i + 1 < stamps_.size() ? stamps_[i + 1].offset : now.size();
        const QByteArrayView after = now.sliced(atNow, nextStamp - atNow);
        // The old stamp runs up to where the text after it starts; at the end it is what is left over.
        qsizetype size = 0;
        const qsizetype most = std::min(MaxStampBytes, old.size() - atOld);
        if (i + 1 == stamps_.size()) {
            size = old.size() - atOld - after.size();
            if (size < 0 || size > most || old.sliced(atOld + size) != after)
                return false;
        } else {
            while (size <= most && !old.sliced(atOld + size).startsWith(after))
                ++size;
            if (size > most)
                return false;
        }
        const QByteArrayView stamp = old.sliced(atOld, size);
        if (!std::all_of(stamp.begin(), stamp.end(), IsStampByte))
            return false;
        atOld += size;
    }
    return true;
}

void THtmlFile::Commit() {
    if (!open_)
        return;
    unchanged_ = SameAsOnDisk();
    if (!unchanged_) {
        QSaveFile file(fileName_);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes_) != bytes_.size() || !file.commit())
            Fail(file.errorString());
    }
    open_ = false;
    bytes_.clear();
    stamps_.clear();
}

int RemoveStaleHtmlTemps(const QString& folder, int minAgeSeconds) {
    // A page's name with the six characters the temporary name adds.
    const QRegularExpression temp(QStringLiteral("^.+\\.(htm|body)\\.[A-Za-z0-9]{6}$"));
    const QDir dir(ResolvePath(folder));
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-minAgeSeconds);
    int removed = 0;
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (temp.match(entry.fileName()).hasMatch() && entry.lastModified().toUTC() <= before &&
            QFile::remove(entry.filePath()))
            ++removed;
    }
    return removed;
}

QStringList ReadIncludeFileLines(const QString& path) {
    const QString fileName = ResolvePath(path);
    if (!QFile::exists(fileName))
        return {};
    QString error;
    std::optional<QStringList> lines = ReadTextFileLines(fileName, &error);
    if (!lines)
        throw EInOutError(QStringLiteral("Filen %1 kan ikke læses: %2").arg(fileName, error));
    return *std::move(lines);
}
