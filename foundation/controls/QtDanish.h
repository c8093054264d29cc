#pragma once
// Qt's own texts in Danish: file dialogs, the edit fields' context menus, the calendar's month and day
// names.
class QTranslator;

// Makes Danish the default locale of every window made afterwards and installs Qt's Danish translations
// on the application. Returns the translator, owned by the application (deleting it takes the texts
// away again), or null when Qt's Danish translations are not installed (Debian: qt6-translations-l10n);
// Qt's texts then stay English.
QTranslator* InstallDanishQtTexts();
