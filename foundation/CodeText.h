#pragma once
// The texts of a family of codes: one table per family, read through one routine.
#include "foundation/Exception.h"

#include <QString>

#include <utility>

template <typename Code>
struct TCodeText {
    Code Value;
    const char* Text; // UTF-8
};

// The text the table gives code; fallback when it gives none.
template <typename Table, typename Code>
QString CodeText(const Table& table, Code code, const QString& fallback = {}) {
    for (const auto& entry : table) {
        if (entry.Value == code)
            return QString::fromUtf8(entry.Text);
    }
    return fallback;
}

// A failure that carries the code of its family.
template <typename TCode>
class ECodedError : public Exception {
public:
    ECodedError(TCode code, QString message)
        : Exception(std::move(message))
        , code_(code) {}
    TCode Code() const { return code_; }

private:
    TCode code_;
};
