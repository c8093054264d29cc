#pragma once
// The program's decimal separator set for as long as the object lives.
#include "foundation/LxString.h"

class TDecimalSeparatorScope {
public:
    explicit TDecimalSeparatorScope(QChar separator)
        : previous_(GetDecimalSeparator()) {
        SetDecimalSeparator(separator);
    }
    ~TDecimalSeparatorScope() { SetDecimalSeparator(previous_); }
    TDecimalSeparatorScope(const TDecimalSeparatorScope&) = delete;
    TDecimalSeparatorScope& operator=(const TDecimalSeparatorScope&) = delete;

private:
    QChar previous_;
};
