#pragma once
// The texts of a family of codes: one table per family, read through one routine.
#include <QString>

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
