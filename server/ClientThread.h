#pragma once
// The request handler of the server mode: static files of the program folder, the meet commands
// (".zun") and otherwise a page that shows what was asked. It runs on the gateway's queue thread, one
// request at a time, and is the only code of the server mode that touches the meet data. Every request
// comes from anyone on the network: a path outside the folder is never served, and every text of the
// request shown in a page is escaped.
#include "server/HttpServer.h"

class TServedFolder;

class TClientThread : public THttpClientThread {
public:
    // The folder of the program, whose files are served; it outlives the server.
    explicit TClientThread(const TServedFolder& folder);

    void HandleRequest() override;

    // The three pages.
    enum class TPage { Main, UnknownCommand, UnknownError };

private:
    void Handle();
    // A "sid" parameter naming another meet than the current one opens it.
    void SelectStaevneBySid();
    void AddPage(TPage page);

    const TServedFolder& folder_;
};

// Text as HTML shows it, whatever it holds.
QString HtmlEscaped(const QString& text);
