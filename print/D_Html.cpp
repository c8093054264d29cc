#include "print/D_Html.h"
#include "print/D_PrintTexts.h"
#include "print/PrUtilFormat.h"

#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "model/D_StaevneSystemData.h"

#include <QUrl>

#include <algorithm>
#include <array>

namespace {

QString CharacterReference(char32_t codePoint) {
    return QStringLiteral("&#%1;").arg(static_cast<quint32>(codePoint));
}

bool HasWindows1252Byte(char32_t codePoint) {
    // Latin-1's letters have the same byte; only the few others need the codec.
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return true;
    const QString text = QString::fromUcs4(&codePoint, 1);
    return Windows1252::Decode(Windows1252::Encode(text)) == text;
}

struct TCellStyle {
    const char* Name;
    const char* Color;
    const char* Background;
    const char* Family;
    int Size; // pt
    const char* Align;
};

constexpr char Arial[] = "Arial,Helvetica";
constexpr char Verdana[] = "Verdana,Arial,Helvetica";
constexpr char Lavender[] = "#e6e6fa";

// The table-cell classes of every page, in the order they are written.
constexpr std::array<TCellStyle, 40> CellStyles = {{
    {"ol", "red", "white", Arial, 10, "left"},       {"or", "red", "white", Arial, 10, "right"},
    {"oc", "red", "white", Arial, 10, "center"},     {"l1", "black", "white", Arial, 10, "left"},
    {"l2", "black", "white", Arial, 8, "left"},      {"l3", "white", "black", Arial, 12, "left"},
    {"c1", "black", "white", Arial, 10, "center"},   {"c2", "black", "white", Arial, 8, "center"},
    {"c3", "white", "black", Arial, 12, "center"},   {"r1", "black", "white", Arial, 10, "right"},
    {"rr1", "white", "black", Arial, 10, "right"},   {"r2", "black", "white", Arial, 8, "right"},
    {"r3", "white", "black", Arial, 12, "right"},    {"c4", "black", "white", Verdana, 20, "center"},
    {"c5", "black", "white", Verdana, 36, "center"}, {"c6", "white", "black", Verdana, 48, "center"},
    {"ko1", "black", "white", Arial, 10, "center"},  {"ko2", "black", "white", Arial, 10, "center"},
    {"ko3", "black", "white", Arial, 10, "right"},   {"ko4", "black", "white", Arial, 8, "right"},
    {"ko5", "black", "white", Arial, 8, "left"},     {"ko6", "black", "white", Arial, 10, "left"},
    {"ko7", "black", "white", Arial, 10, "left"},    {"ko8", "black", "white", Arial, 10, "right"},
    {"ko9", "black", "white", Arial, 10, "right"},   {"ka1", "black", Lavender, Arial, 10, "center"},
    {"ka2", "black", Lavender, Arial, 10, "center"}, {"ka3", "black", Lavender, Arial, 10, "right"},
    {"ka4", "black", Lavender, Arial, 8, "right"},   {"ka5", "black", Lavender, Arial, 8, "left"},
    {"ka6", "black", Lavender, Arial, 10, "left"},   {"ka7", "black", Lavender, Arial, 10, "left"},
    {"ka8", "black", Lavender, Arial, 10, "right"},  {"ka9", "black", Lavender, Arial, 10, "right"},
    {"al1", "black", Lavender, Arial, 10, "left"},   {"al2", "black", Lavender, Arial, 8, "left"},
    {"ac1", "black", Lavender, Arial, 10, "center"}, {"ac2", "black", Lavender, Arial, 8, "center"},
    {"ar1", "black", Lavender, Arial, 10, "right"},  {"ar2", "black", Lavender, Arial, 8, "right"},
}};

constexpr std::array<const char*, 4> LinkStyles = {
    "A:link {text-decoration:none;color:blue}", "A:visited {text-decoration:none;color:blue}",
    "A:hover {text-decoration:underline;color:red}",
    "BODY {margin-left:10pt;margin-top:10pt;background-color:white;color:black}"};

constexpr std::array<const char*, 6> BlockStyles = {
    "table.h{width:660px;border:0;margin-bottom:0.3cm}",
    "table.o{width:660px;border:0;margin-top:0.5cm}",
    "table.ho1{width:660px;border:0;margin-top:0.3cm}",
    "table.rl{width:660px;border:0;margin-top:0.1cm}",
    "table.rs{width:660px;border:0;margin-top:0.2cm}",
    "p.s{color:black;background-color:white;font-family:verdana,arial,helvetica;font-size:10pt;text-align:"
    "left}"};

QString CellRule(const TCellStyle& style) {
    return QStringLiteral("td.%1{color:%2;background-color:%3;font-family:%4;font-size:%5pt;text-align:%6}")
        .arg(QLatin1String(style.Name), QLatin1String(style.Color), QLatin1String(style.Background),
             QLatin1String(style.Family))
        .arg(style.Size)
        .arg(QLatin1String(style.Align));
}

QString Now(const char* pattern) {
    return FormatDateTime(QString::fromUtf8(pattern), DateTimeToQDateTime(ModelContext().Now()));
}

QString MeetFile(THtmlInclude which) {
    static constexpr std::array<const char*, 3> names = {"body-header", "Standard.Header", "Standard.Footer"};
    return PathJoin(CurrentStaevneDir(), QString::fromLatin1(names[static_cast<std::size_t>(which)]));
}

QString Version() {
    return HtmlEscape(ModelContext().ProgramVersion);
}

} // namespace

QString HtmlEscape(const QString& text) {
    // Most texts need nothing: they are handed back as they are.
    const bool plain = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= u' ' && c.unicode() < 0x7F && c != u'&' && c != u'<' && c != u'>' &&
               c != u'"' && c != u'\'';
    });
    if (plain)
        return text;
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'&':
            escaped += QStringLiteral("&amp;");
            continue;
        case u'<':
            escaped += QStringLiteral("&lt;");
            continue;
        case u'>':
            escaped += QStringLiteral("&gt;");
            continue;
        case u'"':
            escaped += QStringLiteral("&quot;");
            continue;
        case u'\'':
            escaped += QStringLiteral("&#39;");
            continue;
        default:
            break;
        }
        char32_t codePoint = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            codePoint = QChar::surrogateToUcs4(c, text.at(++i));
        if (HasWindows1252Byte(codePoint))
            escaped += c;
        else
            escaped += CharacterReference(codePoint);
    }
    return escaped;
}

void AppendHtmlCell(QString& row, QStringView prefix, QStringView cellClass, QStringView html) {
    row += QLatin1StringView("<td class=");
    row += prefix;
    row += cellClass;
    row += u'>';
    if (html.isEmpty())
        row += QLatin1StringView("&nbsp;");
    else
        row += html;
}

void WriteHtmlSectionTitle(THtmlMaker& html, const QString& cellClass, const QString& title) {
    html.WriteLn(QStringLiteral("<table class=o cellpadding=0 cellspacing=0>"));
    html.WriteLn(QStringLiteral("<col width=660>"));
    html.WriteLn(QStringLiteral("<tr><td class=") + cellClass + QStringLiteral("><b>&nbsp;&nbsp;") +
                 HtmlEscape(title) + QStringLiteral("</b></tr>"));
    html.WriteLn(QStringLiteral("</table>"));
}

QString SafeFileName(const QString& name) {
    static const QString refused = QStringLiteral("/\\:*?\"<>|");
    QString safe = name;
    for (QChar& c : safe)
        if (refused.contains(c) || c < u' ')
            c = u'_';
    return safe;
}

QString HtmlUrl(const QString& relativePath) {
    QStringList parts = relativePath.split(u'/');
    for (QString& part : parts)
        part = QString::fromLatin1(QUrl::toPercentEncoding(part));
    return parts.join(u'/');
}

const QStringList& THtmlIncludes::Lines(THtmlInclude which) {
    std::optional<QStringList>& lines = lines_[static_cast<std::size_t>(which)];
    if (!lines)
        lines = ReadIncludeFileLines(MeetFile(which));
    return *lines;
}

// ---------------------------------------------------------------- the page

THtmlMaker::THtmlMaker(const QString& fileName, const QString& title, bool xmlMode, THtmlIncludes* includes)
    : file_(fileName, xmlMode ? THtmlEncoding::Latin1References : THtmlEncoding::Windows1252)
    , title_(title)
    , xmlMode_(xmlMode)
    , includes_(includes ? includes : &ownIncludes_) {
    if (!title_.isEmpty())
        WriteHeader();
}

void THtmlMaker::WriteLn(const QString& text) {
    file_.Write((xmlMode_ ? QString(Indent, u' ') : QString()) + text + CrLf);
}

void THtmlMaker::Write(const QString& text) {
    file_.Write(text);
}

void THtmlMaker::IncludeFile(const QString& path) {
    WriteLines(ReadIncludeFileLines(path));
}

void THtmlMaker::WriteLines(const QStringList& lines) {
    for (const QString& line : lines)
        file_.Write(line + CrLf);
}

void THtmlMaker::Close() {
    if (!file_.IsOpen())
        return;
    if (!title_.isEmpty())
        WriteFooter();
    file_.Commit();
}

void THtmlMaker::WriteHeader() {
    if (xmlMode_)
        WriteLn(QStringLiteral("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>"));
    else if (CurrentSystemData().OnlyHtmlBody)
        WriteBodyHeader();
    else
        WritePageHeader();
}

void THtmlMaker::WriteBodyHeader() {
    for (const QString& line : includes_->Lines(THtmlInclude::BodyHeader))
        Write(line);
    Write(QStringLiteral("<table class=o cellpadding=0 cellspacing=0>"));
    Write(QStringLiteral("<col width=460><col width=200>"));
    Write(QStringLiteral("<tr><td class=ol><b>&nbsp;&nbsp;") + HtmlEscape(title_) +
          QStringLiteral("</b></td>"));
    Write(QStringLiteral("<td class=or><b>Updated: "));
    file_.WriteStamp(Now("yyyy-mm-dd hh:nn"));
    Write(QStringLiteral("&nbsp;&nbsp;</b></td></tr>"));
    WriteLn(QStringLiteral("</table>"));
}

void THtmlMaker::WritePageHeader() {
    const TSystemData& data = CurrentSystemData();
    const QString title = HtmlEscape(title_);
    const QString arrangor = data.Arrangor.isEmpty() ? QString() : HtmlEscape(ArrangorText());
    WriteLn(QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
                           "\"http://www.w3.org/TR/html4/strict.dtd\">"));
    WriteLn(QStringLiteral("<html>"));
    WriteLn(QStringLiteral("<head><title>") +
            HtmlEscape(data.Overskrift1 + u' ' + data.Overskrift2 + u' ' + data.Overskrift3 +
                       QStringLiteral(", ") + title_) +
            (arrangor.isEmpty() ? QString() : QStringLiteral(", ") + arrangor) + QStringLiteral("</title>"));
    WriteLn(QStringLiteral("<META NAME=\"generator\" CONTENT=\"Zuno version ") + Version() +
            QStringLiteral("\">"));
    WriteLn(QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">"));
    WriteLn(QStringLiteral("<META HTTP-EQUIV=\"expires\" CONTENT=\"Fri, 20 Nov 1998 10:00:00 GMT\">"));
    WriteStyles();
    WriteLn(QStringLiteral("</head>"));
    WriteLines(includes_->Lines(THtmlInclude::StandardHeader));
    WriteLn(QStringLiteral("<body>"));
    Write(QStringLiteral("<table class=h cellpadding=0 cellspacing=0>"));
    Write(QStringLiteral("<tr><td class=c6><b>") + title + QStringLiteral("</b></td></tr>"));
    Write(QStringLiteral("<tr><td class=l><img src=\"c.gif\" alt=\"\" width=1 height=20></td></tr>"));
    Write(QStringLiteral("<tr><td class=c5><b>") + HtmlEscape(data.Overskrift1) +
          QStringLiteral("</b></td></tr>"));
    Write(QStringLiteral("<tr><td class=c4>") + HtmlEscape(data.Overskrift2) + QStringLiteral("</td></tr>"));
    Write(QStringLiteral("<tr><td class=c4>") + HtmlEscape(data.Overskrift3) + QStringLiteral("</td></tr>"));
    Write(QStringLiteral("<tr><td class=l ><img src=\"c.gif\" alt=\"\" width=1 height=10></td></tr>"));
    if (!arrangor.isEmpty())
        Write(QStringLiteral("<tr><td class=c4>") + arrangor + QStringLiteral("</td></tr>"));
    WriteLn(QStringLiteral("</table>"));
}

void THtmlMaker::WriteStyles() {
    WriteLn(QStringLiteral("<style type=\"text/css\">"));
    WriteLn(QStringLiteral("<!--"));
    for (const char* rule : LinkStyles)
        WriteLn(QString::fromLatin1(rule));
    for (const TCellStyle& style : CellStyles)
        WriteLn(CellRule(style));
    for (const char* rule : BlockStyles)
        WriteLn(QString::fromLatin1(rule));
    WriteLn(QStringLiteral("-->"));
    WriteLn(QStringLiteral("</style>"));
}

void THtmlMaker::WriteFooter() {
    if (xmlMode_) {
        Indent = 0;
        return;
    }
    if (CurrentSystemData().OnlyHtmlBody)
        return;
    if (CurrentSystemData().Engelsk) {
        Write(QStringLiteral("<p class=s><br>Printed from Zuno version ") + Version() + QStringLiteral(", "));
        file_.WriteStamp(Now("yyyy-mm-dd hh:nn"));
    } else {
        Write(QStringLiteral("<p class=s><br>Genereret af Zuno version ") + Version() + u' ');
        file_.WriteStamp(Now("dddd \"den\" d. mmmm yyyy \"klokken\" h:nn"));
    }
    WriteLn(QStringLiteral("</p>"));
    WriteLines(includes_->Lines(THtmlInclude::StandardFooter));
    WriteLn(QStringLiteral("</body>"));
    WriteLn(QStringLiteral("</html>"));
}
