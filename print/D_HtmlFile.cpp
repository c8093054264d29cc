#include "print/D_HtmlFile.h"

#include "foundation/LxDisk.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"

#include <QDir>
#include <QFile>
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

} // namespace

THtmlFile::THtmlFile(const QString& fileName, THtmlEncoding encoding)
    : file_(std::make_unique<QSaveFile>())
    , fileName_(PageFileName(fileName))
    , encoding_(encoding) {
    file_->setFileName(fileName_);
    if (!file_->open(QIODevice::WriteOnly))
        Fail(file_->errorString());
}

THtmlFile::~THtmlFile() {
    if (file_)
        file_->cancelWriting();
}

void THtmlFile::Fail(const QString& error) {
    file_.reset();
    throw EInOutError(QStringLiteral("Fejl ved skrivning af filen %1: %2").arg(fileName_, error));
}

void THtmlFile::Write(const QString& text) {
    if (!file_)
        throw EInOutError(QStringLiteral("Filen %1 er allerede lukket").arg(fileName_));
    const QByteArray bytes =
        encoding_ == THtmlEncoding::Windows1252 ? Windows1252::Encode(text) : EncodeLatin1References(text);
    if (file_->write(bytes) != bytes.size())
        Fail(file_->errorString());
}

void THtmlFile::Commit() {
    if (!file_)
        return;
    if (!file_->commit())
        Fail(file_->errorString());
    file_.reset();
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
