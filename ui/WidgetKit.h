#pragma once
// The widget kit of the windows. Every control a window makes carries its field's name as object name
// (tests and the placement store find it by that) and is made here: parent first, then the name, then
// the caption. A window's constructor lists its members made this way and calls its BuildX() parts for
// the layout and the connections.
#include "foundation/Messages.h"

#include <QString>

#include <functional>

class QAction;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolBar;
class QWidget;

// The widget, named.
template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// A plain widget that holds others: a page, a panel.
QWidget* MakePanel(QWidget* parent, const QString& name);
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption);
// A push button with the caption of its modal result ("&OK", "&Annullér", ...).
QPushButton* MakeDialogButton(QWidget* parent, const QString& name, int modalResult);
QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& caption);
QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption);
// A label that shows its text as it stands, never as rich text.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text = {});
// A tool-bar button of text only, the text also its tool tip.
QAction* MakeToolAction(QToolBar* bar, const QString& name, const QString& caption);
// OK and Annullér at the right of a row; OK is the default button.
QHBoxLayout* DialogButtonRow(QPushButton* ok, QPushButton* cancel);
// Runs handler when the widget is double-clicked, for a control without a signal of its own for it; the
// double click goes no further.
void OnDoubleClick(QWidget* widget, std::function<void()> handler);
// Runs handler when Enter or Return is pressed in the widget; the key goes no further. The form's Enter
// navigation must leave the widget alone for the key to reach it.
void OnEnterKey(QWidget* widget, std::function<void()> handler);
