#pragma once
// The clubs' launchers: the clubs and entries dialog of the main window's "Klubber" button.
#include "ui/Launchers.h"

class QWidget;

// The clubs and entries dialog on the open meet. A meet run with the setting Gribben registers every
// participant as a club of its own in the participant dialog instead, which this does not open.
void RedigerKlubber(QWidget* owner);
