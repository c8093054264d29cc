#pragma once
// The data files the build embeds (data/builtin/*.csv, cmake/Zuno.cmake): one record a line, its fields
// split at ";", "#" lines comments, and the first other line the header that names the fields.
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct TBuiltinRow {
    int line = 0; // in the file, from 1
    QStringList fields;
};

// The records of an embedded file's text (null when the file was not embedded). A text whose header is
// not the one given gives none; a record whose field count fieldCountOk refuses is left out. Every fault
// is added to errors (BuiltinDataError; "file: not embedded" for a file not there).
std::vector<TBuiltinRow> ReadBuiltinData(const QString& fileName, const char* text, const QStringList& header,
                                         const std::function<bool(qsizetype)>& fieldCountOk,
                                         QStringList& errors);
// A fault of a record as the lists of faults give it: "file:line: text".
QString BuiltinDataError(const QString& fileName, int line, const QString& text);
