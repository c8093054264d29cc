// The program's main block: the main window, or, for "/SERVER", the server window.
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/controls/MsgForm.h"
#include "foundation/controls/QtDanish.h"
#include "server/HttpServerForm.h"
#include "storage/BtvFile.h"
#include "ui/Kelvo2MainProg.h"
#include "ui/PrUtilPrintForm.h"

#include <QApplication>

#include <cstdio>

namespace {

void Tell(const QString& text) {
    std::fputs(text.toUtf8().append('\n').constData(), stderr);
}

// A script reads the program's own messages on standard error; Qt's notes about the platform without a
// display are no news to it.
void KeepSerious(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        Tell(message);
}

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const bool server = HasSwitch(QStringLiteral("/SERVER"), arguments);
    // A batch job runs without a display, so that a script on a server can run it; its boxes are logged.
    const bool batch = !server && IsBatchCommandLine(arguments);
    if (batch) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(KeepSerious);
    } else if (!HasDisplay()) {
        Tell(server
                 ? QStringLiteral(
                       "ZUNO kan ikke vise servervinduet (/SERVER): der er ingen skærm (DISPLAY er ikke "
                       "sat)")
                 : QStringLiteral("ZUNO kan ikke vise sit vindue: der er ingen skærm (DISPLAY er ikke sat)"));
        return 1;
    }
    QApplication app(argc, argv);
    // Qt's own texts (file dialogs, context menus, the calendar) speak Danish like the program.
    InstallDanishQtTexts();
    // The main window's closing ends the program, not the closing of the last dialog while it is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    const TRecordManagerSession session;
    InstallMessagePresenter(batch ? std::unique_ptr<TMessagePresenter>(std::make_unique<TLoggingPresenter>())
                                  : std::make_unique<TQtMessagePresenter>());
    InstallPrintPreviewWindow();
    InstallNoPrinterChoice();

    int exitCode = 0;
    if (server) {
        // The server window instead of the main window: no batch job and no board run in server mode.
        THttpServerForm form;
        QObject::connect(&form, &THttpServerForm::FormClosed, &app, &QApplication::quit);
        form.show();
        QApplication::exec();
        exitCode = form.ExitCode();
    } else {
        TKelvo2MainProgForm form(arguments);
        QObject::connect(&form, &TKelvo2MainProgForm::FormClosed, &app, &QApplication::quit);
        form.show();
        QApplication::exec();
        exitCode = form.ExitCode();
        // In batch mode the logged boxes have told it already.
        if (!batch && !form.StartupFailure().isEmpty())
            Tell(form.StartupFailure());
    }
    FreeGlobals();
    return exitCode;
}
