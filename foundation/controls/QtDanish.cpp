#include "foundation/controls/QtDanish.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QTranslator* InstallDanishQtTexts() {
    const QLocale danish(QLocale::Danish, QLocale::Denmark);
    QLocale::setDefault(danish);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(danish, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}
