// The gateway as the load script measures it, on the loopback address alone. By default a handler that
// sends the requested file from ROOT, confined to it as the program's own handler is; with --program,
// the program's request handler itself, serving ROOT as the program folder. Prints the port it listens
// on, then serves until SIGINT or SIGTERM.
//   bench_http_server [--program] ROOT LOGFOLDER [PORT [MAXCONNECTIONS]]
#include "server/ClientThread.h"
#include "server/HttpServer.h"
#include "server/ServedFiles.h"

#include "server/HttpFile.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

class FileClient : public THttpClientThread {
public:
    explicit FileClient(const TServedFolder& folder)
        : folder_(folder) {}
    void HandleRequest() override {
        const std::optional<QStringList> parts = RequestPathParts(Command);
        std::unique_ptr<THttpFile> file = parts ? folder_.Open(*parts) : nullptr;
        if (file)
            AttachFile(std::move(file));
        else
            StatusCode = 404;
    }

private:
    const TServedFolder& folder_;
};

} // namespace

int main(int argc, char** argv) {
    const bool program = argc > 1 && std::strcmp(argv[1], "--program") == 0;
    if (program) {
        --argc;
        ++argv;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s [--program] ROOT LOGFOLDER [PORT [MAXCONNECTIONS]]\n", argv[0]);
        return 2;
    }
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr); // every thread started below inherits the mask

    const TServedFolder folder(QString::fromLocal8Bit(argv[1]));
    THttpServer server;
    server.LoopbackOnly = true;
    server.Port = argc > 3 ? std::atoi(argv[3]) : 0;
    if (argc > 4)
        server.MaxConnections = std::atoi(argv[4]);
    server.SetServiceName("Http server");
    server.SetLogPrefix(QString::fromLocal8Bit(argv[2]) + "/Http_");
    server.SetLogSuffix(".LOG");
    server.OnGetClientThread = [&folder, program](THttpServer&) -> std::unique_ptr<THttpClientThread> {
        if (program)
            return std::make_unique<TClientThread>(folder);
        return std::make_unique<FileClient>(folder);
    };
    server.Start();
    std::printf("%d\n", server.ListeningPort());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
    return 0;
}
