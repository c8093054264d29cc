#pragma once
// The storage-neutral record table: field and key definitions, the field objects over the current
// record, and the browse/edit/insert state machine with its Before/After events. The storage operations
// are left to a subclass (the record-manager table).
#include "foundation/CodeText.h"
#include "foundation/Exception.h"
#include "storage/DBField.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

enum TOpenMode : int { omNormal = 0, omAccelerated = 1, omReadOnly = 2, omVerify = 3, omExclusiv = 4 };

enum TDataTableState : quint8 { dsInactive = 0, dsBrowse = 1, dsEdit = 2, dsInsert = 3 };

// The keyed lookups of FindKeyOp; the storage class sends each as its own operation.
enum class TKeyLookup {
    // Greater or equal, then an exact compare of the first KeyLength key bytes (FindKey).
    Exact,
    GreaterOrEqual,
    // The last record below the key.
    Less
};

enum class TDataTableError {
    NotOpen = 1,
    NotInEditMode = 2,
    NoTableName = 3,
    TableOpen = 4,
    InvalidIndexNumber = 9,
    DatasetOpen = 12,
    UnknownFieldType = 14,
    ReadOnly = 17,
    Empty = 18,
    FieldOutsideRecord = 19
};

class EDataTableError : public ECodedError<TDataTableError> {
public:
    using ECodedError::ECodedError;
};

// The text of code formatted with args; codes without a text give an empty message.
[[noreturn]] void RaiseDataTableError(TDataTableError code, const QStringList& args = {});

// The field type codes of a record layout.
enum class TFieldType : quint8 {
    String = 0,
    Integer = 1,
    Float = 2,
    DateTime = 9,
    LString = 10,
    ZString = 11,
    IntegerSet = 101,
    TSDateTime = 102,
    TSDate = 103,
    TSTime = 104,
    DPDate = 105,
    NDDDateTime = 106,
    NDDDate = 107
};

struct TFieldDef {
    qint32 FieldId = 0;
    QString Name;
    qint32 Offset = 0;
    qint32 Size = 0;
    TFieldType FieldType = TFieldType::String;
};

class TFieldDefs {
public:
    TFieldDef& Add(TFieldDef def);
    const TFieldDef& GetItem(int index) const;
    quint16 GetCount() const { return static_cast<quint16>(items_.size()); }
    void Clear() { items_.clear(); }

private:
    std::vector<TFieldDef> items_;
};

// Position is 0-based in the record.
struct TSegmentDef {
    quint16 Position = 0;
    quint16 Length = 0;
};

class TIndexDef {
public:
    void AddSegment(quint16 position, quint16 length) { segments_.push_back({position, length}); }
    const TSegmentDef& GetSegment(int index) const;
    quint16 GetSegmentCount() const { return static_cast<quint16>(segments_.size()); }
    // The lengths of the first n segments (-1 or more than there are: all).
    int GetKeyLength(int n = -1) const;

private:
    std::vector<TSegmentDef> segments_;
};

class TIndexDefs {
public:
    TIndexDef& Add();
    const TIndexDef& GetItem(int indexNumber) const;
    quint16 GetCount() const { return static_cast<quint16>(items_.size()); }
    void Clear() { items_.clear(); }

private:
    std::vector<TIndexDef> items_;
};

class TDataTable;
using TDataTableNotifyEvent = std::function<void(TDataTable& DataSet)>;

class TDataTable {
public:
    TDataTable();
    virtual ~TDataTable();
    TDataTable(const TDataTable&) = delete;
    TDataTable& operator=(const TDataTable&) = delete;

    bool Active() const { return state_ != dsInactive; }
    void SetActive(bool active);
    virtual void Open();
    virtual void Close();
    virtual void Edit();
    virtual void Insert();
    virtual void Post();
    virtual void Cancel();
    virtual void Delete();
    bool IsModified() const;

    // Index 0, first record; true when one was read.
    virtual bool First();
    virtual bool Next();
    // In the order of the current index; each reads a record into RecordBuffer or sets end of file.
    virtual void GetFirst() = 0;
    virtual void GetLast() = 0;
    virtual void GetNext() = 0;
    virtual void GetPrevious() = 0;
    // In physical order.
    virtual void StepFirst() = 0;
    virtual void StepLast() = 0;
    virtual void StepNext() = 0;
    virtual void StepPrevious() = 0;

    virtual bool GetEof() = 0;
    virtual qint32 GetRecordCount() = 0;
    virtual int GetRecordLength() = 0;
    virtual quint32 GetPosition() = 0;
    virtual void GotoPosition(quint32 position) = 0;

    // Values for the first segments of the current index; a record whose key begins with them is found.
    bool FindKey(const std::vector<TKeyValue>& values);
    // The lookup on values for the first segments; segments not given count as their lowest value.
    bool FindKeyOp(TKeyLookup lookup, const std::vector<TKeyValue>& values);

    void SetIndexNumber(int indexNumber);
    int IndexNumber() const { return indexNumber_; }
    TField* GetField(int fieldNo) const;
    quint16 GetFieldCount() const;
    quint16 GetIndexCount() const;
    // One new field per definition; fields for another owner copy the table's own.
    void CreateFields(TFieldOwner* owner, TFieldList& list);
    // The field of definition fieldNo for another owner, a copy of the table's own.
    std::unique_ptr<TField> CreateField(TFieldOwner* owner, int fieldNo);
    std::unique_ptr<TField> RemoveField(TField* field);

    void SetDirectory(const QString& directory);
    const QString& Directory() const { return directory_; }
    void SetTableName(const QString& tableName);
    const QString& TableName() const { return tableName_; }
    void SetOpenMode(TOpenMode mode);
    TOpenMode OpenMode() const { return openMode_; }
    const QString& FileName() const { return fileName_; }
    TDataTableState State() const { return state_; }
    bool Writable() const { return writable_; }
    TDataBuffer* RecordBuffer() const { return recordBuffer_.get(); }
    TDataBuffer* SearchBuffer() const { return searchBuffer_.get(); }
    const TFieldDefs& GetFieldDefs() const { return FieldDefs; }
    const TIndexDefs& GetIndexDefs() const { return IndexDefs; }
    quint8* KeyBuffer() { return keyBuffer_.data(); }
    quint16 KeyBufferSize() const { return static_cast<quint16>(keyBuffer_.size()); }

    int KeyLength = 0;
    qint32 CreateTimeStampFieldNo = -1;
    qint32 ModifiedTimeStampFieldNo = -1;
    bool UpdateCreateTimeStamp = true;
    bool UpdateModifiedTimeStamp = true;
    QString Prefix = QStringLiteral("RVK");

    TDataTableNotifyEvent AfterCancel;
    TDataTableNotifyEvent AfterClose;
    TDataTableNotifyEvent AfterDelete;
    TDataTableNotifyEvent AfterEdit;
    TDataTableNotifyEvent AfterInsert;
    TDataTableNotifyEvent AfterOpen;
    TDataTableNotifyEvent AfterPost;
    TDataTableNotifyEvent BeforeCancel;
    TDataTableNotifyEvent BeforeClose;
    TDataTableNotifyEvent BeforeDelete;
    TDataTableNotifyEvent BeforeEdit;
    TDataTableNotifyEvent BeforeInsert;
    TDataTableNotifyEvent BeforeOpen;
    TDataTableNotifyEvent BeforePost;
    TDataTableNotifyEvent OnNewRecord;

protected:
    // The time that Post stamps; the wall clock unless a subclass keeps a clock of its own.
    virtual TDateTime Now() const;
    virtual void DoAfterCancel();
    virtual void DoAfterClose();
    virtual void DoAfterDelete();
    virtual void DoAfterEdit();
    virtual void DoAfterInsert();
    virtual void DoAfterOpen();
    virtual void DoAfterPost();
    virtual void DoBeforeCancel();
    virtual void DoBeforeClose();
    virtual void DoBeforeDelete();
    virtual void DoBeforeEdit();
    virtual void DoBeforeInsert();
    virtual void DoBeforeOpen();
    // Stamps the time-stamp fields, then the event.
    virtual void DoBeforePost();
    virtual void DoOnNewRecord();

    // Fills IndexDefs and returns the key buffer size.
    virtual quint16 InitIndexDefs() = 0;
    // Fills FieldDefs; may change the file name.
    virtual void InitFieldDefs(const QString& directory, const QString& tableName, QString& fileName) = 0;
    // The class for a field number: time-stamp fields are date-time doubles, the rest by type code and
    // size; none for a code without a class.
    virtual TFieldClass GetFieldClass(int fieldNo);
    virtual void InternalClose() = 0;
    virtual void InternalDelete() = 0;
    virtual void InternalEdit() = 0;
    virtual void InternalInsert() = 0;
    virtual void InternalOpen() = 0;
    virtual void InternalUpdate() = 0;
    // False when no record was found (end of file or no such key).
    virtual bool InternalGetKey(TKeyLookup lookup) = 0;

    // A pending edit or insert is posted when changed, else cancelled; a closed table raises error 1.
    void CheckBrowseMode();
    void SetKeyBufferSize(quint16 size);
    // A storage class calls this in its own destructor: past it the base can no longer reach the
    // storage operations. Closes without events and without raising.
    void CloseForDestroy() noexcept;
    // Work that fails closes the table the same way.
    friend class TTableWork;

    TFieldDefs FieldDefs;
    TIndexDefs IndexDefs;

private:
    void CheckFieldPlacement(int recordLength) const;
    void FreeOpenState() noexcept;
    static void Notify(const TDataTableNotifyEvent& event, TDataTable& table);

    bool writable_ = false;
    int indexNumber_ = 0;
    QString directory_;
    QString tableName_;
    QString fileName_;
    TOpenMode openMode_ = omNormal;
    TDataTableState state_ = dsInactive;
    TFieldList fields_;
    std::unique_ptr<TDataBuffer> recordBuffer_;
    std::unique_ptr<TDataBuffer> searchBuffer_;
    std::vector<quint8> keyBuffer_;
};

// The table open for one piece of work: opened when it was closed, and closed again afterwards. A piece
// of work that fails drops a pending insert or edit rather than posting it, and its close reports
// nothing: the work's own error is the one to report.
class TTableWork {
public:
    explicit TTableWork(TDataTable& table);
    ~TTableWork();
    TTableWork(const TTableWork&) = delete;
    TTableWork& operator=(const TTableWork&) = delete;

    // Closes the table when this work opened it; a failing close reaches the caller.
    void Done();

private:
    TDataTable& table_;
    bool opened_;
    int uncaught_;
};
