#pragma once
// Windows on small screens: a window is never bigger than the screen it is on and lies wholly on it, and a
// page that holds more than a screen can show scrolls instead of pushing the window past the screen's edge.
#include <QRect>
#include <QScrollArea>

class QWidget;

// The part of the screen the window is on (the primary one before it shows) that windows may use.
QRect AvailableArea(const QWidget& window);
// Makes a window no bigger than that part, its frame included, and moves it wholly onto it; a maximised,
// full-screen or minimised window is left as it is.
void FitOnScreen(QWidget& window);
// Gives a window whose size neither the program nor the user set the whole size its controls ask for, as
// far as that part of the screen has room.
void GrowToContents(QWidget& window);

// Holds a page whose controls may need more room than the screen gives: it asks for the page's whole size,
// and shows scroll bars only when the window gets less.
class TScrollPage : public QScrollArea {
    Q_OBJECT
public:
    // Takes page over; the scroll page takes the page's object name with "Scroll" added.
    TScrollPage(QWidget* page, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

// Fills page with a scroll page and gives the widget inside it, which takes the page's layout and controls:
// the page stays the one its tab or stack knows.
QWidget* ScrolledContent(QWidget* page);
