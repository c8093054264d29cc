#pragma once
// Pieces the small dialogs share.
#include "foundation/Messages.h"

#include <QString>

class QHBoxLayout;
class QPushButton;
class QWidget;

// A push button with the caption of its modal result ("&OK", "&Annullér", ...).
QPushButton* MakeDialogButton(QWidget* parent, const QString& name, int modalResult);
// OK and Annullér at the right of a row; OK is the default button.
QHBoxLayout* DialogButtonRow(QPushButton* ok, QPushButton* cancel);
// The open meet's name; empty when no meet is open.
QString CurrentStaevneNavn();
