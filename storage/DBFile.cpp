#include "storage/DBFile.h"

#include "foundation/CodeText.h"
#include "foundation/LxDisk.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>

namespace {

using E = TDataTableError;
const TCodeText<TDataTableError> DataTableErrorTexts[] = {
    {E::NotOpen, "Table not open"},
    {E::NotInEditMode, "Not in edit mode"},
    {E::NoTableName, "Tablename undefined"},
    {E::TableOpen, "Cannot perform this operation on an open table"},
    {E::InvalidIndexNumber, "Invalid indexnumber"},
    {E::DatasetOpen, "Dataset open"},
    {E::UnknownFieldType, "Unknown fieldtype"},
    {E::ReadOnly, "Dataset read only"},
    {E::Empty, "Dataset empty"},
    {E::FieldOutsideRecord,
     "Feltet %s (nr. %d) ligger uden for posten i %s: offset %d, størrelse %d, postlængde %d"},
};

// Puts the field back on the record buffer however the assignment ends.
class TBindGuard {
public:
    TBindGuard(TField& field, TDataBuffer* temporary, TDataBuffer* home)
        : field_(field)
        , home_(home) {
        field_.SetBuffer(temporary);
    }
    ~TBindGuard() { field_.SetBuffer(home_); }
    TBindGuard(const TBindGuard&) = delete;
    TBindGuard& operator=(const TBindGuard&) = delete;

private:
    TField& field_;
    TDataBuffer* home_;
};

} // namespace

void RaiseDataTableError(TDataTableError code, const QStringList& args) {
    throw EDataTableError(code, FormatErrorText(CodeText(DataTableErrorTexts, code), args));
}

// ---------------------------------------------------------------- definitions

TFieldDef& TFieldDefs::Add(TFieldDef def) {
    items_.push_back(std::move(def));
    return items_.back();
}

const TFieldDef& TFieldDefs::GetItem(int index) const {
    if (index < 0 || index >= GetCount())
        RaiseListIndexError(index);
    return items_[static_cast<std::size_t>(index)];
}

const TSegmentDef& TIndexDef::GetSegment(int index) const {
    if (index < 0 || index >= GetSegmentCount())
        RaiseListIndexError(index);
    return segments_[static_cast<std::size_t>(index)];
}

int TIndexDef::GetKeyLength(int n) const {
    const int count = n < 0 ? GetSegmentCount() : std::min<int>(n, GetSegmentCount());
    int length = 0;
    for (int i = 0; i < count; ++i)
        length += segments_[static_cast<std::size_t>(i)].Length;
    return length;
}

TIndexDef& TIndexDefs::Add() {
    items_.emplace_back();
    return items_.back();
}

const TIndexDef& TIndexDefs::GetItem(int indexNumber) const {
    if (indexNumber < 0 || indexNumber >= GetCount())
        RaiseListIndexError(indexNumber);
    return items_[static_cast<std::size_t>(indexNumber)];
}

// ---------------------------------------------------------------- the table

TDataTable::TDataTable() = default;

TDataTable::~TDataTable() {
    // The storage class has closed the file already; what is left is memory.
    FreeOpenState();
}

void TDataTable::Notify(const TDataTableNotifyEvent& event, TDataTable& table) {
    if (event)
        event(table);
}

void TDataTable::DoAfterCancel() {
    Notify(AfterCancel, *this);
}

void TDataTable::DoAfterClose() {
    Notify(AfterClose, *this);
}

void TDataTable::DoAfterDelete() {
    Notify(AfterDelete, *this);
}

void TDataTable::DoAfterEdit() {
    Notify(AfterEdit, *this);
}

void TDataTable::DoAfterInsert() {
    Notify(AfterInsert, *this);
}

void TDataTable::DoAfterOpen() {
    Notify(AfterOpen, *this);
}

void TDataTable::DoAfterPost() {
    Notify(AfterPost, *this);
}

void TDataTable::DoBeforeCancel() {
    Notify(BeforeCancel, *this);
}

void TDataTable::DoBeforeClose() {
    Notify(BeforeClose, *this);
}

void TDataTable::DoBeforeDelete() {
    Notify(BeforeDelete, *this);
}

void TDataTable::DoBeforeEdit() {
    Notify(BeforeEdit, *this);
}

void TDataTable::DoBeforeInsert() {
    Notify(BeforeInsert, *this);
}

void TDataTable::DoBeforeOpen() {
    Notify(BeforeOpen, *this);
}

void TDataTable::DoBeforePost() {
    if (state_ == dsEdit || state_ == dsInsert) {
        const TDateTime now = Now();
        if (state_ == dsInsert && UpdateCreateTimeStamp && CreateTimeStampFieldNo >= 0)
            GetField(CreateTimeStampFieldNo)->SetAsDateTime(now);
        if (UpdateModifiedTimeStamp && ModifiedTimeStampFieldNo >= 0)
            GetField(ModifiedTimeStampFieldNo)->SetAsDateTime(now);
    }
    Notify(BeforePost, *this);
}

TDateTime TDataTable::Now() const {
    return NowDateTime();
}

void TDataTable::DoOnNewRecord() {
    Notify(OnNewRecord, *this);
}

TFieldClass TDataTable::GetFieldClass(int fieldNo) {
    if (fieldNo == CreateTimeStampFieldNo || fieldNo == ModifiedTimeStampFieldNo)
        return FieldClassOf<TDPDateTimeField>();
    const TFieldDef& def = FieldDefs.GetItem(fieldNo);
    switch (def.FieldType) {
    case TFieldType::String:
        return FieldClassOf<TStringField>();
    case TFieldType::Integer:
        switch (def.Size) {
        case 1:
            return FieldClassOf<TByteField>();
        case 2:
            return FieldClassOf<TSmallintField>();
        case 4:
            return FieldClassOf<TIntegerField>();
        default:
            return nullptr;
        }
    case TFieldType::Float:
        return def.Size == 4 ? FieldClassOf<TSingleField>()
                             : (def.Size == 8 ? FieldClassOf<TFloatField>() : nullptr);
    case TFieldType::DateTime:
        return FieldClassOf<TDPDateTimeField>();
    case TFieldType::LString:
        return FieldClassOf<TLStringField>();
    case TFieldType::ZString:
        return FieldClassOf<TZStringField>();
    case TFieldType::IntegerSet:
        return FieldClassOf<TIntegerSetField>();
    case TFieldType::TSDateTime:
        return FieldClassOf<TTSDateTimeField>();
    case TFieldType::TSDate:
        return FieldClassOf<TTSDateField>();
    case TFieldType::TSTime:
        return FieldClassOf<TTSTimeField>();
    case TFieldType::DPDate:
        return FieldClassOf<TDPDateField>();
    case TFieldType::NDDDateTime:
        return FieldClassOf<TNDDDateTimeField>();
    case TFieldType::NDDDate:
        return FieldClassOf<TNDDDateField>();
    default:
        return nullptr;
    }
}

void TDataTable::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

void TDataTable::Open() {
    if (Active())
        return;
    recordBuffer_.reset();
    searchBuffer_.reset();
    DoBeforeOpen();
    bool fileOpened = false;
    try {
        if (tableName_.isEmpty() || directory_.isEmpty())
            RaiseDataTableError(TDataTableError::NoTableName);
        fileName_ = PathJoin(directory_, tableName_);
        InitFieldDefs(directory_, tableName_, fileName_);
        CreateFields(nullptr, fields_);
        InternalOpen();
        fileOpened = true;
        SetKeyBufferSize(InitIndexDefs());
        const int recordLength = GetRecordLength();
        CheckFieldPlacement(recordLength);
        recordBuffer_ = std::make_unique<TDataBuffer>(recordLength);
        searchBuffer_ = std::make_unique<TDataBuffer>(recordLength);
        for (const auto& field : fields_)
            field->SetBuffer(recordBuffer_.get());
        indexNumber_ = 0;
        SetIndexNumber(0);
        writable_ = openMode_ != omReadOnly;
        state_ = dsBrowse;
    } catch (...) {
        // Undo only what was done: the file is closed only when it was opened, and without events.
        if (fileOpened) {
            try {
                InternalClose();
            } catch (...) {
            }
        }
        FreeOpenState();
        throw;
    }
    DoAfterOpen();
}

void TDataTable::Close() {
    if (!Active())
        return;
    DoBeforeClose();
    state_ = dsInactive;
    std::exception_ptr failure;
    try {
        InternalClose();
    } catch (...) {
        failure = std::current_exception();
    }
    // Fields and buffers go whatever the storage said, so that a later open starts clean.
    FreeOpenState();
    if (failure)
        std::rethrow_exception(failure);
    DoAfterClose();
}

void TDataTable::CloseForDestroy() noexcept {
    if (!Active())
        return;
    state_ = dsInactive;
    try {
        InternalClose();
    } catch (...) {
    }
    FreeOpenState();
}

void TDataTable::FreeOpenState() noexcept {
    state_ = dsInactive;
    recordBuffer_.reset();
    searchBuffer_.reset();
    keyBuffer_.clear();
    while (!fields_.empty())
        fields_.pop_back();
    IndexDefs.Clear();
    FieldDefs.Clear();
    fileName_.clear();
    writable_ = false;
    indexNumber_ = 0;
}

void TDataTable::CheckFieldPlacement(int recordLength) const {
    for (int i = 0; i < FieldDefs.GetCount(); ++i) {
        const TFieldDef& def = FieldDefs.GetItem(i);
        if (def.Offset < 0 || def.Size < 0 || static_cast<qint64>(def.Offset) + def.Size > recordLength)
            RaiseDataTableError(TDataTableError::FieldOutsideRecord,
                                {def.Name, QString::number(i), tableName_, QString::number(def.Offset),
                                 QString::number(def.Size), QString::number(recordLength)});
    }
}

void TDataTable::CheckBrowseMode() {
    switch (state_) {
    case dsInactive:
        RaiseDataTableError(TDataTableError::NotOpen);
    case dsEdit:
    case dsInsert:
        if (IsModified())
            Post();
        else
            Cancel();
        break;
    default:
        break;
    }
}

void TDataTable::Edit() {
    switch (state_) {
    case dsEdit:
    case dsInsert:
        return;
    case dsInactive:
        RaiseDataTableError(TDataTableError::NotOpen);
    default:
        break;
    }
    CheckBrowseMode();
    if (!writable_)
        RaiseDataTableError(TDataTableError::ReadOnly);
    InternalEdit();
    DoBeforeEdit();
    recordBuffer_->Save();
    state_ = dsEdit;
    DoAfterEdit();
}

void TDataTable::Insert() {
    CheckBrowseMode();
    if (!writable_)
        RaiseDataTableError(TDataTableError::ReadOnly);
    recordBuffer_->Save();
    recordBuffer_->Clear(false);
    try {
        DoBeforeInsert();
        state_ = dsInsert;
        DoOnNewRecord();
    } catch (...) {
        recordBuffer_->Restore();
        state_ = dsBrowse;
        throw;
    }
    DoAfterInsert();
}

void TDataTable::Post() {
    if (state_ != dsEdit && state_ != dsInsert)
        RaiseDataTableError(TDataTableError::NotInEditMode);
    DoBeforePost();
    if (state_ == dsInsert)
        InternalInsert();
    else
        InternalUpdate();
    state_ = dsBrowse;
    DoAfterPost();
}

void TDataTable::Cancel() {
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    DoBeforeCancel();
    recordBuffer_->Restore();
    state_ = dsBrowse;
    DoAfterCancel();
}

void TDataTable::Delete() {
    if (state_ == dsInactive)
        RaiseDataTableError(TDataTableError::NotOpen);
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    if (GetRecordCount() == 0)
        RaiseDataTableError(TDataTableError::Empty);
    DoBeforeDelete();
    InternalDelete();
    state_ = dsBrowse;
    DoAfterDelete();
}

bool TDataTable::IsModified() const {
    if (state_ != dsEdit && state_ != dsInsert)
        RaiseDataTableError(TDataTableError::NotInEditMode);
    return recordBuffer_->IsChanged();
}

bool TDataTable::First() {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    SetIndexNumber(0);
    GetFirst();
    return !GetEof();
}

bool TDataTable::Next() {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    GetNext();
    return !GetEof();
}

bool TDataTable::FindKey(const std::vector<TKeyValue>& values) {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    if (IndexDefs.GetCount() == 0)
        RaiseDataTableError(TDataTableError::InvalidIndexNumber);
    KeyLength = IndexDefs.GetItem(indexNumber_).GetKeyLength(static_cast<int>(values.size()));
    return FindKeyOp(TKeyLookup::Exact, values);
}

bool TDataTable::FindKeyOp(TKeyLookup lookup, const std::vector<TKeyValue>& values) {
    CheckBrowseMode();
    if (IndexDefs.GetCount() == 0)
        RaiseDataTableError(TDataTableError::InvalidIndexNumber);
    const TIndexDef& index = IndexDefs.GetItem(indexNumber_);

    searchBuffer_->Clear(false);
    // Every lookup searches from the front of a key prefix: the segments not given start below every
    // value, as zero bytes would pass over negative numbers.
    for (int i = 0; i < index.GetSegmentCount(); ++i) {
        const bool given = i < static_cast<int>(values.size());
        const TSegmentDef& segment = index.GetSegment(i);
        const auto found = std::find_if(fields_.begin(), fields_.end(), [&segment](const auto& field) {
            return field->Offset == segment.Position && field->Size == segment.Length;
        });
        if (found == fields_.end())
            continue;
        TBindGuard bind(**found, searchBuffer_.get(), recordBuffer_.get());
        if (given)
            (*found)->AssignValue(values[static_cast<std::size_t>(i)]);
        else if (auto* integer = dynamic_cast<TIntegerField*>(found->get()))
            integer->SetAsInteger(integer->TypeMin);
        else if (dynamic_cast<TFloatField*>(found->get()) || dynamic_cast<TSingleField*>(found->get()))
            (*found)->SetAsFloat(-std::numeric_limits<float>::max());
    }

    // The key is the segments' bytes one after another.
    std::fill(keyBuffer_.begin(), keyBuffer_.end(), 0);
    std::size_t keyPos = 0;
    for (int i = 0; i < index.GetSegmentCount(); ++i) {
        const TSegmentDef& segment = index.GetSegment(i);
        const std::size_t available =
            segment.Position < searchBuffer_->Size() ? searchBuffer_->Size() - segment.Position : 0;
        const std::size_t n = std::min<std::size_t>(
            {segment.Length, available, keyBuffer_.size() > keyPos ? keyBuffer_.size() - keyPos : 0});
        std::memcpy(keyBuffer_.data() + keyPos, searchBuffer_->Current() + segment.Position, n);
        keyPos += segment.Length;
    }

    const std::size_t compared =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(KeyLength, 0)), keyBuffer_.size());
    const std::vector<quint8> sought(keyBuffer_.begin(),
                                     keyBuffer_.begin() + static_cast<std::ptrdiff_t>(compared));
    const bool found = InternalGetKey(lookup);
    state_ = dsBrowse;
    if (!found)
        return false;
    if (lookup == TKeyLookup::Exact)
        return std::equal(sought.begin(), sought.end(), keyBuffer_.begin());
    return true;
}

void TDataTable::SetIndexNumber(int indexNumber) {
    if (IndexDefs.GetCount() == 0)
        return;
    if (indexNumber < 0 || indexNumber >= IndexDefs.GetCount())
        RaiseDataTableError(TDataTableError::InvalidIndexNumber);
    indexNumber_ = indexNumber;
}

TField* TDataTable::GetField(int fieldNo) const {
    if (fieldNo < 0 || fieldNo >= static_cast<int>(fields_.size()))
        RaiseListIndexError(fieldNo);
    return fields_[static_cast<std::size_t>(fieldNo)].get();
}

quint16 TDataTable::GetFieldCount() const {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    return static_cast<quint16>(fields_.size());
}

quint16 TDataTable::GetIndexCount() const {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    return IndexDefs.GetCount();
}

void TDataTable::CreateFields(TFieldOwner* owner, TFieldList& list) {
    const bool own = &list == &fields_;
    for (int i = 0; i < FieldDefs.GetCount(); ++i) {
        if (!own) {
            list.push_back(CreateField(owner, i));
            continue;
        }
        const TFieldClass fieldClass = GetFieldClass(i);
        if (fieldClass == nullptr)
            RaiseDataTableError(TDataTableError::UnknownFieldType);
        std::unique_ptr<TField> field = fieldClass(owner);
        const TFieldDef& def = FieldDefs.GetItem(i);
        field->FieldNo = i;
        field->Offset = def.Offset;
        field->Size = def.Size;
        field->FieldName = def.Name;
        list.push_back(std::move(field));
    }
}

std::unique_ptr<TField> TDataTable::CreateField(TFieldOwner* owner, int fieldNo) {
    if (fieldNo < 0 || fieldNo >= static_cast<int>(fields_.size()))
        RaiseDataTableError(TDataTableError::NotOpen);
    const TFieldClass fieldClass = GetFieldClass(fieldNo);
    if (fieldClass == nullptr)
        RaiseDataTableError(TDataTableError::UnknownFieldType);
    std::unique_ptr<TField> field = fieldClass(owner);
    field->AssignField(*fields_[static_cast<std::size_t>(fieldNo)]);
    return field;
}

std::unique_ptr<TField> TDataTable::RemoveField(TField* field) {
    const auto found =
        std::find_if(fields_.begin(), fields_.end(), [field](const auto& own) { return own.get() == field; });
    if (found == fields_.end())
        return nullptr;
    std::unique_ptr<TField> removed = std::move(*found);
    fields_.erase(found);
    removed->SetBuffer(nullptr);
    return removed;
}

void TDataTable::SetDirectory(const QString& directory) {
    if (Active())
        RaiseDataTableError(TDataTableError::TableOpen);
    directory_ = directory;
}

void TDataTable::SetTableName(const QString& tableName) {
    if (Active())
        RaiseDataTableError(TDataTableError::TableOpen);
    tableName_ = tableName;
}

void TDataTable::SetOpenMode(TOpenMode mode) {
    if (Active())
        RaiseDataTableError(TDataTableError::TableOpen);
    openMode_ = mode;
}

void TDataTable::SetKeyBufferSize(quint16 size) {
    keyBuffer_.assign(size, 0);
}

// ---------------------------------------------------------------- TTableWork

TTableWork::TTableWork(TDataTable& table)
    : table_(table)
    , opened_(!table.Active())
    , uncaught_(std::uncaught_exceptions()) {
    if (opened_)
        table_.Open();
}

TTableWork::~TTableWork() {
    if (std::uncaught_exceptions() <= uncaught_) {
        try {
            Done();
        } catch (...) {
            // a close that fails in a destructor cannot be reported; the table is closed all the same
        }
        return;
    }
    try {
        table_.Cancel();
    } catch (...) {
    }
    if (opened_)
        table_.CloseForDestroy();
}

void TTableWork::Done() {
    if (opened_) {
        opened_ = false;
        table_.Close();
    }
}
