#pragma once
#include <QtGlobal>

// The meet manager.
class TStaevneManager {
public:
    // The current meet's number; -1 when no meet is open.
    qint32 GetCurrentStID() const { return currentStID_; }

private:
    qint32 currentStID_ = -1;
};
