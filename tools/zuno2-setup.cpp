// zuno2-setup DIR [DATA]: makes DIR a complete program folder from the shipped files in DATA (by default
// the data folder the program was built from). It never replaces a file and tells what it did.
#include "foundation/Exception.h"
#include "storage/BtvFile.h"
#include "tools/setup/Installation.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty() || arguments.size() > 2) {
        std::fprintf(stderr, "Brug: zuno2-setup MAPPE [DATAMAPPE]\n");
        return 2;
    }
    const QString programDir = arguments.at(0);
    const QString shippedDir = arguments.size() > 1 ? arguments.at(1) : QStringLiteral(ZUNO_DATA_DIR);
    QStringList done;
    try {
        const TRecordManagerSession session;
        done = InstallProgramFolder(programDir, shippedDir);
    } catch (const Exception& error) {
        std::fprintf(stderr, "zuno2-setup: %s\nInstallationen er ikke fuldført; kør zuno2-setup igen.\n",
                     error.what());
        return 1;
    }
    for (const QString& line : done)
        std::printf("%s\n", qPrintable(line));
    if (done.isEmpty())
        std::printf("Programmappen %s er komplet; intet er ændret.\n", qPrintable(programDir));
    return 0;
}
