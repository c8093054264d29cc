#pragma once
// The key specifications of the 14 record files, as an installation creates them.
#include "model/D_DBDef.h"

#include <QByteArray>

#include <vector>

struct TRecordKeySpec {
    // The key's segments: field numbers of the file's layout, in order.
    std::vector<int> FieldNos;
    bool Duplicates = true;
    // The record manager numbers new records in the first segment (a record inserted with 0 there gets
    // the highest number + 1); the key is then unique.
    bool AutoIncrement = false;
};

struct TRecordFileSpec {
    const char* FileName;
    TZunoFieldList Fields;
    bool VariableLength;
    std::vector<TRecordKeySpec> Keys;

    int RecordLength() const { return TZunoDataTable::RecordLengthOf(Fields); }
    // The statistics buffer that the record manager's Create takes.
    QByteArray CreateBuffer() const;
    // Creates the file at path unless it exists under its name in any letter case; true when it was
    // created. A failure raises Exception.
    bool Create(const QString& path) const;
};

// The 14 files in the order start-up checks them.
const std::vector<TRecordFileSpec>& RecordFileSpecs();
