#pragma once
// The clubs' launchers: the clubs and entries dialog of the main window's "Klubber" button.
#include "ui/Launchers.h"

class QWidget;

// The clubs and entries dialog on the open meet; in a meet run with the setting Gribben, where every
// participant is a club of its own, the participant dialog "Tilmeld deltager" instead.
void RedigerKlubber(QWidget* owner);
