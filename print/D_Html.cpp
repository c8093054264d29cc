#include "print/D_Html.h"

#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

QString CharacterReference(char32_t codePoint) {
    return QStringLiteral("&#%1;").arg(static_cast<quint32>(codePoint));
}

bool HasWindows1252Byte(char32_t codePoint) {
    const QString text = QString::fromUcs4(&codePoint, 1);
    return Windows1252::Decode(Windows1252::Encode(text)) == text;
}

// XML declared ISO-8859-1: a character above Latin-1 goes as its number.
QByteArray EncodeLatin1(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const char32_t codePoint : text.toUcs4()) {
        if (codePoint <= 0xFF)
            bytes.append(static_cast<char>(codePoint));
        else
            bytes.append(CharacterReference(codePoint).toLatin1());
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

// The lines of a text file; a last line end adds no empty line.
QStringList FileLines(const QByteArray& bytes) {
    QStringList lines = Windows1252::Decode(bytes).split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return lines;
}

} // namespace

QString HtmlEscape(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const char32_t codePoint : text.toUcs4()) {
        switch (codePoint) {
        case U'&':
            escaped += QStringLiteral("&amp;");
            break;
        case U'<':
            escaped += QStringLiteral("&lt;");
            break;
        case U'>':
            escaped += QStringLiteral("&gt;");
            break;
        case U'"':
            escaped += QStringLiteral("&quot;");
            break;
        case U'\'':
            escaped += QStringLiteral("&#39;");
            break;
        default:
            if (codePoint < 0x80 || HasWindows1252Byte(codePoint))
                escaped += QString::fromUcs4(&codePoint, 1);
            else
                escaped += CharacterReference(codePoint);
        }
    }
    return escaped;
}

THtmlMaker::THtmlMaker(const QString& fileName, const QString& title, bool xmlMode)
    : file_(std::make_unique<QSaveFile>())
    , fileName_(PageFileName(fileName))
    , title_(title)
    , xmlMode_(xmlMode) {
    file_->setFileName(fileName_);
    if (!file_->open(QIODevice::WriteOnly))
        Fail(file_->errorString());
    if (!title_.isEmpty())
        WriteHeader();
}

THtmlMaker::~THtmlMaker() {
    if (file_)
        file_->cancelWriting();
}

void THtmlMaker::Fail(const QString& error) {
    file_.reset();
    throw EInOutError(QStringLiteral("Fejl ved skrivning af filen %1: %2").arg(fileName_, error));
}

void THtmlMaker::Put(const QString& text) {
    if (!file_)
        throw EInOutError(QStringLiteral("Filen %1 er allerede lukket").arg(fileName_));
    const QByteArray bytes = xmlMode_ ? EncodeLatin1(text) : Windows1252::Encode(text);
    if (file_->write(bytes) != bytes.size())
        Fail(file_->errorString());
}

void THtmlMaker::WriteLn(const QString& text) {
    Put((xmlMode_ ? QString(Indent, u' ') : QString()) + text + CrLf);
}

void THtmlMaker::Write(const QString& text) {
    Put(text);
}

QStringList THtmlMaker::ReadLines(const QString& path) {
    QFile file(ResolvePath(path));
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("%1 kan ikke læses: %2").arg(file.fileName(), file.errorString()));
    return FileLines(file.readAll());
}

void THtmlMaker::IncludeFile(const QString& path) {
    for (const QString& line : ReadLines(path))
        Put(line + CrLf);
}

void THtmlMaker::Close() {
    if (!file_)
        return;
    if (!title_.isEmpty())
        WriteFooter();
    if (!file_->commit())
        Fail(file_->errorString());
    file_.reset();
}
