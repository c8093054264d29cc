#include "E2eSupport.h"

#include "model/D_Globals.h"

#include <QFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

void TE2eTest::CloseWindow() {
    window_.Close();
    OvelseManager.reset();
    StaevneManager.reset();
}

QStringList TE2eTest::GridRows(const TExtStringGrid& grid, std::initializer_list<int> cols) {
    QStringList rows;
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row) {
        QStringList cells;
        for (const int col : cols)
            cells << grid.Cells(col, row).trimmed();
        rows << cells.join(u'|');
    }
    return rows;
}

QString InstallProgramCopy(const QString& folder) {
    const QString program = QDir(folder).filePath(QStringLiteral("zuno2"));
    QFile::remove(program);
    EXPECT_TRUE(QFile::copy(QStringLiteral(ZUNO2_EXECUTABLE), program));
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    return program;
}

int RunProgramCopy(const QString& program, const QStringList& arguments, QString* errors) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QDir::tempPath());
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "zuno2 " << arguments.join(u' ').toStdString() << " did not end";
        return -1;
    }
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<quint16>(port));
    return address;
}

} // namespace

int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

QByteArray HttpGet(int port, const QByteArray& target) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    QByteArray answer;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        const QByteArray request = "GET " + target + " HTTP/1.0\r\n\r\n";
        if (::send(fd, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL) ==
            request.size()) {
            pollfd wait{fd, POLLIN, 0};
            char buffer[65536];
            while (::poll(&wait, 1, 10000) > 0) {
                const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
                if (got <= 0)
                    break;
                answer.append(buffer, got);
            }
        }
    }
    ::close(fd);
    return answer;
}
