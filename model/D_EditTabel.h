#pragma once
// What the raw record editor does to the 14 record files: it shows every record of every meet as the
// texts of its fields, and writes back only what the user changed, leaving every other byte of a record
// (its variable part included) as it was.
#include "model/D_DBDef.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

// The files of the editor's list, sorted: "AFVSTED", "BETALING", ... "VARE".
const QStringList& EditTabelNavne();
// The table of the list's entry at index (not open); null for an index outside the list.
std::unique_ptr<TZunoDataTable> MakeEditTabel(int index);

// Makes each record of the open table the current one in turn and calls onRecord: in the order of its
// first key when the file has keys, else in physical order.
void ForEachEditRecord(TZunoDataTable& table, const std::function<void()>& onRecord);

// Writes the texts of the fields in changed (field number to text) into the record at position and
// returns the position; position 0 inserts a new record with them, stamped with its creation time unless
// the texts give the stamps. A record changed keeps its time stamps unless they are typed over. A text
// the field refuses or a write the file refuses raises, and then nothing is written.
quint32 WriteEditRecord(TZunoDataTable& table, quint32 position, const std::map<int, QString>& changed);
// Deletes the record at position.
void DeleteEditRecord(TZunoDataTable& table, quint32 position);
// The field holds a whole number shown as one, and so sorts by number.
bool IsEditNumberField(const TZunoDataTable& table, int fieldNo);
