#pragma once
// The 14 record files described once: name, field prefix, layout, keys, variable length, language
// field and the fields read through a code class. The table classes, the installation and the tests
// all read these descriptions.
#include "model/D_DBDefFields.h"
#include "storage/DBField.h"
#include "storage/DBFile.h"

#include <QByteArray>
#include <QString>

#include <span>
#include <vector>

// One field of a record layout: stored name, type code and size in bytes.
struct TZunoFieldDef {
    const char* Name;
    TFieldType FieldType;
    int Size;
};
using TZunoFieldList = std::span<const TZunoFieldDef>;

// The sum of the layout's field sizes.
int RecordLengthOf(TZunoFieldList fields);
// Where field fieldNo starts in the record.
int FieldOffsetOf(TZunoFieldList fields, int fieldNo);

struct TRecordKeyDef {
    // The key's segments: field numbers of the file's layout, in order.
    std::vector<int> FieldNos;
    bool Duplicates = true;
    // The record manager numbers new records in the first segment (a record inserted with 0 there gets
    // the highest number + 1); the key is then unique.
    bool AutoIncrement = false;
};

// A field read and written through a class of its own (a code field).
struct TFieldClassDef {
    int FieldNo;
    TFieldClass Class;
};

struct TRecordFileDef {
    const char* FileName;
    const char* Prefix;
    TZunoFieldList Fields;
    std::vector<TRecordKeyDef> Keys = {};
    bool VariableLength = false;
    // The language field of a catalogue file, whose tables see only the current language's records;
    // -1 for a meet-bound file, whose records carry their meet's number (StID) in field 2.
    int SprogFieldNo = -1;
    std::vector<TFieldClassDef> FieldClasses = {};

    bool IsStaevneBound() const { return SprogFieldNo < 0; }
    int RecordLength() const { return RecordLengthOf(Fields); }
    // Creates the file at path unless it exists under its name in any letter case; true when it was
    // created. A failure raises Exception.
    bool Create(const QString& path) const;
};

// The 14 files, in the order start-up checks them.
enum class TRecordFileNo {
    Staevne,
    Ovelse,
    OvDef,
    Klasse,
    OvelseRk,
    OvelseRn,
    AfvSted,
    Betaling,
    Klubkob,
    Vare,
    Gruppe,
    Klub,
    Deltager,
    Resultat
};

const TRecordFileDef& RecordFileDef(TRecordFileNo file);
// All 14, in the order of TRecordFileNo.
const std::vector<TRecordFileDef>& RecordFileDefs();
