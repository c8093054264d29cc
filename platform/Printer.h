#pragma once
// The program's one current printer: every list prints on it. It is chosen by name among the installed
// printers; a name that is empty or not installed gives the default printer, and a machine without any
// printer still has a usable current printer (it writes PDF).
#include <QString>
#include <QStringList>

class QPrinter;

namespace Platform {

// The installed printers' names.
QStringList PrinterNames();
// The printer a choice of name gives: that name when installed, else the default printer, else the first
// installed one; empty when none is installed.
QString ChoosePrinter(const QString& name, const QStringList& installed, const QString& defaultName);
// Makes the printer of ChoosePrinter current; returns its index in PrinterNames(), -1 with no printer.
int SelectPrinter(const QString& name);
// Empty when no printer is installed.
QString CurrentPrinterName();
// The name the last SelectPrinter asked for, whatever printer it gave; empty before any. Selecting it again
// makes the same choice.
QString RequestedPrinter();
// The current printer, created on first use and freed with the application object.
QPrinter& CurrentPrinter();
// The current printer has somewhere to put a list: an installed printer, or a PDF file the caller named.
// False on a machine with no printer set up, where the printer writes PDF but has no file to write.
bool PrinterIsSetUp();

} // namespace Platform
