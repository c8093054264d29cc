#pragma once
// The message of the Exception an action raises, for asserting on the program's own texts.
#include "foundation/Exception.h"

#include <QString>

template <typename F>
QString ErrorText(F&& action) {
    try {
        action();
    } catch (const Exception& error) {
        return error.Message();
    }
    return QStringLiteral("<no error>");
}
