#include "server/ClientThread.h"

#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "server/ServedFiles.h"

#include "server/HttpFile.h"

#include <array>

namespace {

// Extensions of the static files the pages use.
constexpr std::array<const char*, 5> StaticExtensions = {".ico", ".gif", ".jpg", ".css", ".js"};
// Meet commands that answer nothing yet.
constexpr std::array<const char*, 5> DataCommands = {"\\staevner.zun", "\\staevne.zun", "\\klubber.zun",
                                                     "\\ovelser.zun", "\\ovelse.zun"};

template <std::size_t N>
bool OneOf(const QString& text, const std::array<const char*, N>& texts) {
    for (const char* each : texts)
        if (text == QLatin1String(each))
            return true;
    return false;
}

QString Heading(TClientThread::TPage page) {
    switch (page) {
    case TClientThread::TPage::Main:
        return QStringLiteral("<H1>Main page - ZUNO http server</H1>");
    case TClientThread::TPage::UnknownCommand:
        return QStringLiteral("<H1>ZUNO http server: unknown command</H1>");
    case TClientThread::TPage::UnknownError:
        return QStringLiteral("<H1>ZUNO http server: unknown error occured</H1>");
    }
    return {};
}

} // namespace

QString HtmlEscaped(const QString& text) {
    return text.toHtmlEscaped().replace(u'\'', QStringLiteral("&#39;"));
}

TClientThread::TClientThread(const TServedFolder& folder)
    : folder_(folder) {}

void TClientThread::HandleRequest() {
    try {
        Handle();
    } catch (...) {
        Log(QStringLiteral("<exception> ") + CurrentExceptionText());
        // The error page alone: nothing the handler had put together goes out with it.
        ResponseLines.clear();
        AttachFile(nullptr);
        StatusCode = 0;
        try {
            AddPage(TPage::UnknownError);
        } catch (...) {
            ResponseLines.clear();
        }
    }
}

void TClientThread::Handle() {
    const std::optional<QStringList> parts = RequestPathParts(Command);
    if (!parts) {
        StatusCode = 404;
        return;
    }
    const QString extension = parts->isEmpty() ? QString() : LowerExtension(parts->last());
    if (OneOf(extension, StaticExtensions)) {
        std::unique_ptr<THttpFile> file = folder_.Open(*parts);
        if (file)
            AttachFile(std::move(file));
        else
            StatusCode = 404;
    } else if (extension == u".zun") {
        SelectStaevneBySid();
        if (!OneOf(u'\\' + parts->join(u'\\').toLower(), DataCommands))
            AddPage(TPage::UnknownCommand);
    } else {
        AddPage(TPage::Main);
    }
}

void TClientThread::SelectStaevneBySid() {
    const int sid = GetParamInt(QStringLiteral("sid"));
    if (sid == -1 || !StaevneManager || sid == StaevneManager->GetCurrentStID())
        return;
    const int index = StaevneManager->IndexOfStID(sid);
    if (index >= 0)
        StaevneManager->OpenStaevne(index);
}

void TClientThread::AddPage(TPage page) {
    const QDateTime now = DateTimeToQDateTime(ModelContext().Now());
    StatusCode = 200;
    ResponseLines << QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">")
                  << QStringLiteral("<HTML>") << QStringLiteral("<HEAD>")
                  << QStringLiteral("<TITLE>ZUNO http server</TITLE>")
                  << QStringLiteral("<META NAME=\"generator\" CONTENT=\"ZUNO version 2.0.0.301\">")
                  << QStringLiteral("<META HTTP-EQUIV=\"expires\" CONTENT=\"Fri, 20 Nov 1998 10:00:00 GMT\">")
                  << QStringLiteral("</HEAD>")
                  << QStringLiteral("<BODY BGCOLOR=\"#ffffff\" TEXT=\"#000000\">") << Heading(page)
                  << QStringLiteral("<PRE>")
                  << QStringLiteral("Service ........ ") +
                         HtmlEscaped(Server ? Server->GetServiceName() : QString())
                  << QStringLiteral("Client IP ...... ") + HtmlEscaped(GetRemoteAddress())
                  << QStringLiteral("Date ........... ") + now.toString(QStringLiteral("dd-MM-yyyy"))
                  << QStringLiteral("Time ........... ") + now.toString(QStringLiteral("hh:mm:ss"))
                  << QStringLiteral("&nbsp;")
                  << QStringLiteral("HTTP Version ... ") + HtmlEscaped(HttpVersion)
                  << QStringLiteral("HTTP Command ... ") + HtmlEscaped(HttpCommand)
                  << QStringLiteral("HTTP Params .... ") + HtmlEscaped(HttpParams) << QStringLiteral("&nbsp;")
                  << QStringLiteral("ZUNO command ... ") + HtmlEscaped(Command)
                  << QStringLiteral("ZUNO extension.. ") + HtmlEscaped(Extension);
    for (const QString& param : std::as_const(Params))
        ResponseLines << QStringLiteral("................ ") + HtmlEscaped(param);
    ResponseLines << QStringLiteral("</PRE>");
    if (page == TPage::Main)
        ResponseLines << QStringLiteral("<table width=\"100%\" cellpadding=\"0\" cellspacing=\"0\">")
                      << QStringLiteral("<tr><td align=\"center\" valign=\"top\" width=\"100%\"><img "
                                        "src=\"images/felt.jpg\" width=\"600\" height=\"128\"></td></tr>")
                      << QStringLiteral("</table>");
    ResponseLines << QStringLiteral("</BODY>") << QStringLiteral("</HTML>");
}
