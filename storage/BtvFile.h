#pragma once
// The record table over the record manager: one table object is one open record file with its own
// position block. Record length and keys come from the file itself, field definitions from the subclass
// or from the optional data dictionary (FILE.DDF, FIELD.DDF); every failing status becomes an exception.
#include "foundation/CodeText.h"
#include "foundation/Exception.h"
#include "storage/DBFile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// "Tablename: " + table + "   Operation: " + operation + "   Return: " + status.
class EBtvException : public Exception {
public:
    EBtvException(const QString& tableName, int status, int operation);
    int Operation() const { return operation_; }
    int Status() const { return status_; }
    const QString& TableName() const { return tableName_; }

private:
    int operation_;
    int status_;
    QString tableName_;
};

enum class TBtvError {
    TableNotInDictionary = 1,
    DictionaryOpen = 2,
    FieldDictionaryRead = 3,
    FieldDictionaryOpen = 4,
    TableMissing = 5,
    InvalidRecordLength = 6
};

// Data dictionary and copy errors.
class EBtvError : public ECodedError<TBtvError> {
public:
    EBtvError(TBtvError code, const QStringList& args);
};

// One segment of a key: where it lies in the record and how its bytes compare.
struct TBtvKeySegment {
    int Offset;
    int Size;
    TFieldType FieldType;
};

// A key of a new record file: its segments in order.
struct TBtvKeyDef {
    std::vector<TBtvKeySegment> Segments;
    bool Duplicates = true;
    // The record manager numbers new records in the first segment (a record inserted with 0 there gets
    // the highest number + 1); the key is then unique.
    bool AutoIncrement = false;
};

// Creates a record file at path (resolved as every name is) unless it exists under its name in any
// letter case; true when it was created. A failure raises Exception.
bool CreateBtvFile(const QString& path, int recordLength, bool variableLength,
                   const std::vector<TBtvKeyDef>& keys);

// Sends the record manager's stop operation, which ends its work for the program.
void StopRecordManager();

// The program's main block holds one for its whole run: the stop operation goes out when it ends.
class TRecordManagerSession {
public:
    TRecordManagerSession() = default;
    ~TRecordManagerSession() { StopRecordManager(); }
    TRecordManagerSession(const TRecordManagerSession&) = delete;
    TRecordManagerSession& operator=(const TRecordManagerSession&) = delete;
};

class TBtvTable : public TDataTable {
public:
    TBtvTable() = default;
    ~TBtvTable() override;

    // One call on this table's position block. On a variable-length file status 22 (the data buffer
    // held only the fixed part) counts as success; status 9 sets Eof and counts as success; any other
    // status raises EBtvException.
    int CallBtrieve(int operation, int keyNumber, void* keyBuffer, int keyLength, quint32& dataLength,
                    void* dataBuffer);
    // Chunks of the current record; offsets count from the record's start, so the variable part begins
    // at RecordLength.
    void WriteChunk(const void* buffer, quint32 offset, quint32 length);
    // The number of bytes read; none past the record's end.
    quint32 ReadChunk(void* buffer, quint32 offset, quint32 length);
    // The whole length of the record the last get, step or key lookup read (fixed and variable part),
    // as the record manager reported it; 0 when the last call was another one.
    quint32 ReadLength() const { return readLength_; }
    // Posts a pending insert or edit with part behind the fixed part: a variable-length record in one
    // write. An edit replaces the record whole, so a shorter part leaves nothing of a longer one behind.
    void PostWithVariablePart(const QByteArray& part);

    // Whole records: the fixed part into the record buffer, as every read does, and the part behind it
    // into VariablePart, in one call where the record fits a buffer with room for a variable part, else
    // the rest in one more.
    // The next record in the current index's order; false at end of file.
    bool ReadNextWhole();
    // The record at a position; false when none is there (never was, or deleted).
    bool FindWholeAt(quint32 position);
    // Raises what the record manager reports for a read at a position where no record is.
    [[noreturn]] void RaiseNoRecordAt() const;
    // The part behind the fixed part of the record last read whole; empty when it has none.
    const QByteArray& VariablePart() const { return variablePart_; }
    // Copies every record into a new file with the same keys and a record length at least the old one,
    // each record's variable part included. Opens this table when it is closed and closes it again.
    void CopyToNewFile(const QString& newFileName, int newRecordLength);

    void GetFirst() override;
    void GetLast() override;
    void GetNext() override;
    void GetPrevious() override;
    void StepFirst() override;
    void StepLast() override;
    void StepNext() override;
    void StepPrevious() override;
    bool GetEof() override { return eof_; }
    // 0 when the statistics cannot be read.
    qint32 GetRecordCount() override;
    // Another value once the file's records have changed, in this program or another; compared with an
    // earlier value of the same open table it tells whether anything changed since. 0 when the statistics
    // cannot be read.
    quint32 GetChangeCount();
    int GetRecordLength() override { return recordLength_; }
    quint32 GetPosition() override;
    void GotoPosition(quint32 position) override;

    int LastOperation() const { return lastOperation_; }
    int Status() const { return status_; }
    bool VariableLength() const { return variableLength_; }
    quint32 SavedPosition() const { return savedPosition_; }
    // The record image exchanged with the record manager (RecordLength bytes while open).
    const std::vector<quint8>& DataBuffer() const { return dataBuffer_; }

    bool UseBuiltInFieldDefs = false;
    QString OwnerName;

protected:
    // The subclass's field list: name, type code and size of field index; False after the last one.
    virtual bool GetFieldDef(int index, QString& name, TFieldType& fieldType, int& size) = 0;

    quint16 InitIndexDefs() override;
    void InitFieldDefs(const QString& directory, const QString& tableName, QString& fileName) override;
    void InternalClose() override;
    void InternalDelete() override;
    void InternalEdit() override;
    void InternalInsert() override;
    void InternalOpen() override;
    void InternalUpdate() override;
    bool InternalGetKey(TKeyLookup lookup) override;

private:
    // Steps 1-3 of a call: the status with the tolerated ones cleared, without raising.
    int Call(int operation, int keyNumber, void* keyBuffer, int keyLength, quint32& dataLength,
             void* dataBuffer);
    [[noreturn]] void Raise(int status) const;
    void Read(int operation);
    // The statistics buffer, key the call's key buffer; empty when it cannot be read.
    std::vector<quint8> ReadStat(std::array<quint8, 64>& key);
    // False at end of file or, reading at a position, when no record is there.
    bool ReadWhole(int operation, quint32 position);
    void CopyRecordToDataBuffer();
    void ReadDictionary(const QString& tableName, QString& fileName);

    std::array<quint8, 128> positionBlock_{};
    bool eof_ = false;
    int lastOperation_ = 0;
    quint32 savedPosition_ = 0;
    int status_ = 0;
    bool variableLength_ = false;
    std::vector<quint8> dataBuffer_;
    quint16 recordLength_ = 0;
    quint32 readLength_ = 0;
    // The variable part the insert or edit being posted carries; null for none.
    const QByteArray* postPart_ = nullptr;
    // A whole record as read, and its variable part.
    std::vector<quint8> wholeBuffer_;
    QByteArray variablePart_;
};
