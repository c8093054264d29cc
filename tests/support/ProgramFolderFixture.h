#pragma once
// A test's own program folder: a temporary folder made by the installation (the 14 record files with
// the event catalogue, and the shipped files), set as ProgramDir, with the program's registry emptied and
// message boxes recorded instead of shown. The global meet manager over it is made on first use and
// freed with the test, after the global event manager when a test made one. Derive a test class from
// it, or use TEST_F(TProgramFolderTest, ...) directly:
//
//     TEST_F(TProgramFolderTest, Something) {
//         CreateMeet("Stævne 1");                // open from here on
//         TKlasseTable table;                    // any of the 14 tables, in this folder
//         ...
//     }
#include "model/D_Context.h"
#include "model/D_DBDef.h"
#include "support/RecordedMessages.h"

#include "support/Test.h"

#include <initializer_list>
#include <memory>

class TStaevneManager;

// The stored records of the current meet (of the current language in a catalogue file) in the order
// First and Next give, the given fields of each trimmed and joined by "/".
template <typename Table>
QStringList Stored(std::initializer_list<int> fieldNos) {
    Table table;
    table.Open();
    QStringList records;
    for (bool found = table.First(); found; found = table.Next()) {
        QStringList fields;
        for (const int fieldNo : fieldNos)
            fields << table.GetField(fieldNo)->GetTrimmedString();
        records << fields.join(u'/');
    }
    return records;
}

// Inserts a record of the current meet with the fields given, straight into the file, as an earlier
// session of the program or an import would have left it.
template <typename Table>
void StoreRecord(std::initializer_list<std::pair<int, TKeyValue>> fields) {
    Table table;
    table.Open();
    table.Insert();
    table.GetField(StaevneField::StID)->SetAsInteger(CurrentStID());
    for (const auto& [fieldNo, value] : fields)
        table.GetField(fieldNo)->AssignValue(value);
    table.Post();
}

class TProgramFolderTest : public ::testing::Test {
protected:
    TProgramFolderTest();
    ~TProgramFolderTest() override;

    // The global StaevneManager, created over the folder when there is none.
    TStaevneManager& Manager();
    // Frees the manager and makes a new one, as the next start of the program would.
    TStaevneManager& Restart();
    // Creates and opens a meet; returns its number.
    qint32 CreateMeet(const QString& navn);
    // Writes a meet record directly (no folder, no checks), as another version or an interrupted
    // operation may have left it. Do it before Manager() or follow it with Restart().
    qint32 AddMeetRecord(const QString& navn, int status, const QByteArray& variablePart = {});

    // The folder's path with a trailing "/", as ProgramDir holds it.
    const QString& Dir() const { return dir_; }
    QString Path(const QString& name) const { return dir_ + name; }
    // The texts of the message boxes shown since the last call.
    QStringList Shown() { return messages_.Shown(); }

private:
    QTemporaryDir folder_;
    QString dir_;
    TRecordedMessages messages_;
    // The test's own context over the folder; its managers go before the folder.
    const TModelContextScope context_;
};
