#pragma once
// What keeps a person at a small screen from using a window: a control that lies past the screen's edge or
// is cut off by the panel it sits on, two controls on top of each other, a panel squeezed below the room
// its controls need, a caption, heading or list text wider than the room it gets, a tool-bar command put
// away behind the tool bar's arrow. Every visible widget of the window is looked at, whatever its class.
#include <QRect>
#include <QStringList>

#include <functional>

class QWidget;

// The faults of the window as it stands, one line each, naming the control.
QStringList ScreenFaults(const QWidget& window, const QRect& screen);
// The same for every page of the window's tab and page controls, each page shown in turn (the first
// control's pages, then the second's, ...); every control is left at the page it showed. seen is called
// with each state's number (0 first) while the window shows it.
QStringList ScreenFaultsOfEveryPage(QWidget& window, const QRect& screen,
                                    const std::function<void(int)>& seen = {});
