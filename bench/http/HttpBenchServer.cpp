// The gateway as the load script measures it: a handler that sends the requested file from a folder,
// as the program's server mode does for static files. Prints the port it listens on, then serves until
// SIGINT or SIGTERM.
//   bench_http_server ROOT LOGFOLDER [PORT [MAXCONNECTIONS]]
#include "server/HttpServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

class FileClient : public THttpClientThread {
public:
    explicit FileClient(const QString& root)
        : root_(root) {}
    void HandleRequest() override { FileName = root_ + Command; }

private:
    QString root_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ROOT LOGFOLDER [PORT [MAXCONNECTIONS]]\n", argv[0]);
        return 2;
    }
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr); // every thread started below inherits the mask

    const QString root = QString::fromLocal8Bit(argv[1]);
    THttpServer server;
    server.Port = argc > 3 ? std::atoi(argv[3]) : 0;
    if (argc > 4)
        server.MaxConnections = std::atoi(argv[4]);
    server.SetLogPrefix(QString::fromLocal8Bit(argv[2]) + "/Http_");
    server.SetLogSuffix(".LOG");
    server.OnGetClientThread = [&root](THttpServer&) { return std::make_unique<FileClient>(root); };
    server.Start();
    std::printf("%d\n", server.ListeningPort());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
    return 0;
}
