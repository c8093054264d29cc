#include "storage/DBData.h"

#include "foundation/CodeText.h"
#include "foundation/DanishOrder.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "storage/DBFile.h"

#include <algorithm>
#include <exception>

namespace {

using E = TDataListError;
const TCodeText<TDataListError> DataListErrorTexts[] = {
    {E::IndexOutOfRange, "Index %d skal være mellem %d og %d"},
    {E::NoSuchIndex, "Error on destroying index. Index do not exists"},
    {E::WrongFieldCount, "Index is defined to have %d fields. You calling search with %d fields"},
};

} // namespace

EDataListError::EDataListError(const QString& directory, TDataListError code, const QStringList& args)
    : ECodedError(code, QStringLiteral("File: ") + directory + QStringLiteral("\r\nObject: TDataList\r\n") +
                            FormatErrorText(CodeText(DataListErrorTexts, code), args)) {}

// ---------------------------------------------------------------- TRecordBlocks

quint8* TRecordBlocks::Take(int bytes) {
    if (bytes <= 0)
        return nullptr;
    // Blocks of 8 bytes and more stay 8-aligned.
    const std::size_t size = (static_cast<std::size_t>(bytes) + 7) & ~std::size_t{7};
    if (bytes != blockBytes_) {
        blockBytes_ = bytes;
        free_.clear();
        used_ = chunkBytes_;
    }
    if (!free_.empty()) {
        quint8* block = free_.back();
        free_.pop_back();
        return block;
    }
    if (used_ + size > chunkBytes_) {
        // Small lists stay small; big ones take chunks of about 256 KB.
        constexpr std::size_t MaxChunk = 256 * 1024;
        const std::size_t blocks =
            std::clamp<std::size_t>(chunkBytes_ / size * 2, 4, std::max<std::size_t>(MaxChunk / size, 4));
        chunkBytes_ = blocks * size;
        chunks_.push_back(std::make_unique_for_overwrite<quint8[]>(chunkBytes_));
        used_ = 0;
    }
    quint8* block = chunks_.back().get() + used_;
    used_ += size;
    return block;
}

void TRecordBlocks::Give(quint8* block, int bytes) {
    if (block != nullptr && bytes == blockBytes_)
        free_.push_back(block);
}

// ---------------------------------------------------------------- TDataElement

TDataElement::TDataElement(TDataList* owner, TDataTable& table)
    : owner_(owner)
    , table_(table) {
    if (!table_.Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    fields_.resize(table_.GetFieldCount());
}

void TElementDelete::operator()(TDataElement* element) const {
    TDataList* list = element->owner_;
    const int bytes = element->ownBytes_;
    if (list == nullptr || bytes == 0) {
        delete element;
        return;
    }
    element->~TDataElement();
    list->elementBlocks_.Give(reinterpret_cast<quint8*>(element), bytes);
}

TDataElement::~TDataElement() {
    GiveBlock();
}

void TDataElement::GiveBlock() {
    if (owner_ != nullptr && block_ != nullptr)
        owner_->blocks_.Give(block_, 2 * buffer_->Size());
    block_ = nullptr;
}

void TDataElement::InitRecord(bool isNew) {
    if (!table_.Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    // An element used again keeps its buffer and its fields bound to it.
    const int size = table_.GetRecordLength();
    if (!buffer_ || buffer_->Size() != size) {
        GiveBlock();
        buffer_.reset();
        if (owner_ != nullptr) {
            block_ = owner_->blocks_.Take(2 * std::max(size, 0));
            buffer_.emplace(size, block_);
        } else {
            buffer_.emplace(size);
        }
        for (const auto& field : fields_) {
            if (field)
                field->SetBuffer(Buffer());
        }
    } else if (isNew) {
        // A record read below overwrites both copies whole.
        buffer_->Clear(true);
    }
    IsNew = isNew;
    DeleteRequested = false;
    Deleted = false;
    Position = 0;
    if (!isNew) {
        buffer_->CopyFrom(*table_.RecordBuffer(), false);
        buffer_->Save();
        Position = table_.GetPosition();
    }
}

TField* TDataElement::GetField(int fieldNo) const {
    if (fieldNo < 0 || fieldNo >= GetFieldCount())
        RaiseListIndexError(fieldNo);
    std::unique_ptr<TField>& field = fields_[static_cast<std::size_t>(fieldNo)];
    if (!field) {
        field = table_.CreateField(const_cast<TDataElement*>(this), fieldNo);
        field->SetBuffer(Buffer());
    }
    return field.get();
}

bool TDataElement::IsModified() const {
    return IsNew || (buffer_ && buffer_->IsChanged());
}

void TDataElement::FieldChanged(TField& field) {
    if (owner_ != nullptr)
        owner_->FieldChanged(*this, field);
}

bool TDataElement::Save() {
    if (DeleteRequested) {
        if (!IsNew) {
            try {
                table_.GotoPosition(Position);
                table_.Delete();
            } catch (const std::exception& error) {
                ShowError(nullptr, QStringLiteral("Delete failed in table: ") + table_.TableName() +
                                       QStringLiteral(", message: ") + MessageOf(error));
                return false;
            }
        }
        IsNew = false;
        DeleteRequested = false;
        Deleted = true;
        return true;
    }
    if (!IsModified())
        return true;
    if (IsNew) {
        table_.Insert();
    } else {
        table_.GotoPosition(Position);
        table_.Edit();
    }
    try {
        table_.RecordBuffer()->CopyFrom(*buffer_, false);
        table_.Post();
    } catch (const std::exception& error) {
        table_.Cancel();
        ShowError(nullptr, QStringLiteral("Insert/update failed in table: ") + table_.TableName() +
                               QStringLiteral(", message: ") + MessageOf(error));
        return false;
    }
    if (IsNew) {
        Position = table_.GetPosition();
        IsNew = false;
    }
    // The record as written, time stamps and numbers the record manager gave included.
    buffer_->CopyFrom(*table_.RecordBuffer(), false);
    buffer_->Save();
    return true;
}

// ---------------------------------------------------------------- TFieldReader

TFieldReader::TFieldReader(TDataTable& table, int fieldNo)
    : field_(table.CreateField(nullptr, fieldNo)) {}

const TField& TFieldReader::On(const TDataElement& element) {
    field_->SetBuffer(element.Buffer());
    return *field_;
}

// ---------------------------------------------------------------- TDataListIndex

TDataListIndex::TDataListIndex(TDataList& list, std::vector<int> fieldNos)
    : list_(list)
    , fieldNos_(std::move(fieldNos)) {
    map_.resize(static_cast<std::size_t>(list_.GetCount()));
    for (std::size_t i = 0; i < map_.size(); ++i)
        map_[i] = static_cast<int>(i);
    Sort();
}

bool TDataListIndex::HasFields(const std::vector<int>& fieldNos) const {
    return fieldNos.size() <= fieldNos_.size() &&
           std::equal(fieldNos.begin(), fieldNos.end(), fieldNos_.begin());
}

void TDataListIndex::Sort() {
    // The keys are computed once per element, then compared field by field: texts, which are names
    // wherever a list is ordered by one, in Danish order, the rest as ordinal texts.
    std::vector<QStringList> keys(static_cast<std::size_t>(list_.GetCount()));
    std::vector<bool> text(fieldNos_.size(), false);
    for (const int raw : map_) {
        const TDataElement* element = list_.GetRawElement(raw);
        QStringList& key = keys[static_cast<std::size_t>(raw)];
        for (std::size_t i = 0; i < fieldNos_.size(); ++i) {
            const TField* field = element->GetField(fieldNos_[i]);
            text[i] = dynamic_cast<const TStringField*>(field) != nullptr;
            key.append(field->GetSortKey());
        }
    }
    const QCollator names = DanishNameOrder();
    std::stable_sort(map_.begin(), map_.end(), [&](int a, int b) {
        const QStringList& keyA = keys[static_cast<std::size_t>(a)];
        const QStringList& keyB = keys[static_cast<std::size_t>(b)];
        for (qsizetype i = 0; i < keyA.size(); ++i) {
            const int c = text[std::size_t(i)] ? names.compare(keyA.at(i), keyB.at(i))
                                               : QString::compare(keyA.at(i), keyB.at(i), Qt::CaseSensitive);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    Dirty = false;
}

void TDataListIndex::AddPosition(int rawPos) {
    map_.push_back(rawPos);
    Dirty = true;
}

void TDataListIndex::RemovePosition(int rawPos) {
    map_.erase(std::remove(map_.begin(), map_.end(), rawPos), map_.end());
    for (int& raw : map_) {
        if (raw > rawPos)
            --raw;
    }
}

void TDataListIndex::Remap(const std::vector<int>& newRaw) {
    std::vector<int> kept;
    kept.reserve(map_.size());
    for (const int raw : map_) {
        if (const int now = newRaw[static_cast<std::size_t>(raw)]; now >= 0)
            kept.push_back(now);
    }
    map_ = std::move(kept);
}

void TDataListIndex::NotifyFieldChanged(int fieldNo) {
    if (!Dirty && std::find(fieldNos_.begin(), fieldNos_.end(), fieldNo) != fieldNos_.end())
        Dirty = true;
}

// ---------------------------------------------------------------- TDataListCodeIndex

namespace {

// Between the codes of a key: no code holds it.
constexpr char16_t CodeSeparator = 0x1F;

bool ByRank(const auto& entry, int rank) {
    return entry.Rank < rank;
}

} // namespace

TDataListCodeIndex::TDataListCodeIndex(TDataList& list, std::vector<int> fieldNos)
    : list_(list)
    , fieldNos_(std::move(fieldNos)) {}

QString TDataListCodeIndex::ElementKey(const TDataElement& element) const {
    QString key;
    for (std::size_t i = 0; i < fieldNos_.size(); ++i) {
        if (i > 0)
            key += QChar(CodeSeparator);
        key += TrimBlanks(element.GetField(fieldNos_[i])->GetAsString()).toUpper();
    }
    return key;
}

void TDataListCodeIndex::Build() {
    byKey_.clear();
    entries_.clear();
    const int count = list_.GetCount();
    byKey_.reserve(static_cast<std::size_t>(count));
    entries_.reserve(static_cast<std::size_t>(count));
    for (int pos = 0; pos < count; ++pos) {
        const TDataElement* element = list_.GetRawElement(list_.RawAt(pos));
        const TEntry entry{ElementKey(*element), pos};
        byKey_[entry.Key].push_back(entry);
        entries_.emplace(element, entry);
    }
    nextRank_ = count;
    valid_ = true;
}

void TDataListCodeIndex::Insert(const TEntry& entry) {
    std::vector<TEntry>& same = byKey_[entry.Key];
    same.insert(std::lower_bound(same.begin(), same.end(), entry.Rank, ByRank<TEntry>), entry);
}

int TDataListCodeIndex::Find(const QString& key) {
    if (!valid_)
        Build();
    const auto found = byKey_.find(key);
    return found == byKey_.end() || found->second.empty() ? -1 : found->second.front().Rank;
}

void TDataListCodeIndex::Added(const TDataElement& element) {
    if (!valid_)
        return;
    // A new element comes last in the current order.
    const TEntry entry{ElementKey(element), nextRank_++};
    entries_[&element] = entry;
    Insert(entry);
}

void TDataListCodeIndex::FieldChanged(const TDataElement& element, int fieldNo) {
    if (!valid_ || std::find(fieldNos_.begin(), fieldNos_.end(), fieldNo) == fieldNos_.end())
        return;
    const auto own = entries_.find(&element);
    if (own == entries_.end()) {
        valid_ = false;
        return;
    }
    TEntry& entry = own->second;
    std::vector<TEntry>& before = byKey_[entry.Key];
    const auto at = std::lower_bound(before.begin(), before.end(), entry.Rank, ByRank<TEntry>);
    if (at != before.end() && at->Rank == entry.Rank)
        before.erase(at);
    if (before.empty())
        byKey_.erase(entry.Key);
    entry.Key = ElementKey(element);
    Insert(entry);
}

// ---------------------------------------------------------------- TDataList

TDataList::TDataList(TDataTable& table)
    : table_(table) {}

TDataList::~TDataList() = default;

void TDataList::Clear() {
    indexes_.clear();
    OrderChanged();
    currentIndex_ = nullptr;
    // Kept for the next load: a list read again (every time a meet is opened) makes no new elements.
    // Taken from the back, so the first element is used first again: a load then walks its elements in
    // the order their memory was handed out, as the first load made them.
    for (auto element = elements_.rbegin(); element != elements_.rend(); ++element)
        spare_.push_back(std::move(*element));
    elements_.clear();
    currentRaw_ = -1;
    currentLost_ = false;
}

void TDataList::LoadFromTable() {
    Clear();
    for (bool found = table_.First(); found; found = table_.Next())
        AddCurrent();
}

int TDataList::AddCurrent() {
    return AddElement(false);
}

int TDataList::AddNew() {
    return AddElement(true);
}

int TDataList::AddElement(bool isNew) {
    TElementPtr element;
    if (spare_.empty()) {
        element = CreateElement();
    } else {
        element = std::move(spare_.back());
        spare_.pop_back();
    }
    element->InitRecord(isNew);
    const int raw = GetCount();
    for (const auto& index : indexes_)
        index->AddPosition(raw);
    elements_.push_back(std::move(element));
    for (const auto& codes : codeIndexes_)
        codes->Added(*elements_.back());
    currentRaw_ = raw;
    currentLost_ = false;
    return raw;
}

void TDataList::FieldChanged(TDataElement& element, TField& field) {
    for (const auto& index : indexes_)
        index->NotifyFieldChanged(field.FieldNo);
    for (const auto& codes : codeIndexes_)
        codes->FieldChanged(element, field.FieldNo);
}

void TDataList::OrderChanged() {
    for (const auto& codes : codeIndexes_)
        codes->Invalidate();
}

void TDataList::CheckPosition(int pos) const {
    if (pos < 0 || pos >= GetCount())
        throw EDataListError(table_.Directory(), TDataListError::IndexOutOfRange,
                             {QString::number(pos), QStringLiteral("0"), QString::number(GetCount() - 1)});
}

int TDataList::RawAt(int pos) const {
    return currentIndex_ != nullptr ? currentIndex_->Map().at(static_cast<std::size_t>(pos)) : pos;
}

TDataElement* TDataList::GetElement(int pos) {
    CheckPosition(pos);
    currentRaw_ = RawAt(pos);
    currentLost_ = false;
    return elements_[static_cast<std::size_t>(currentRaw_)].get();
}

TDataElement* TDataList::GetRawElement(int pos) const {
    CheckPosition(pos);
    return elements_[static_cast<std::size_t>(pos)].get();
}

TDataElement* TDataList::GetCurrent() const {
    return currentRaw_ >= 0 ? elements_[static_cast<std::size_t>(currentRaw_)].get() : nullptr;
}

int TDataList::GetCurrentPos() const {
    if (currentRaw_ < 0 || currentIndex_ == nullptr)
        return currentRaw_;
    const auto& map = currentIndex_->Map();
    const auto found = std::find(map.begin(), map.end(), currentRaw_);
    return found == map.end() ? -1 : static_cast<int>(found - map.begin());
}

int TDataList::IndexOf(const TDataElement* element) {
    const auto found = std::find_if(elements_.begin(), elements_.end(),
                                    [element](const auto& own) { return own.get() == element; });
    if (found == elements_.end())
        return -1;
    currentRaw_ = static_cast<int>(found - elements_.begin());
    currentLost_ = false;
    return GetCurrentPos();
}

TDataListIndex* TDataList::SetIndex(const std::vector<int>& fieldNos) {
    for (const auto& index : indexes_) {
        if (index->HasFields(fieldNos)) {
            if (currentIndex_ != index.get())
                OrderChanged();
            currentIndex_ = index.get();
            return currentIndex_;
        }
    }
    indexes_.push_back(std::make_unique<TDataListIndex>(*this, fieldNos));
    currentIndex_ = indexes_.back().get();
    OrderChanged();
    return currentIndex_;
}

TDataListIndex* TDataList::GetListIndex(int n) const {
    if (n < 0 || n >= GetListIndexCount())
        RaiseListIndexError(n);
    return indexes_[static_cast<std::size_t>(n)].get();
}

bool TDataList::Locate(const std::vector<int>& fieldNos, const QStringList& values, int& pos) {
    const std::size_t compared = std::min(fieldNos.size(), static_cast<std::size_t>(values.size()));
    for (int p = 0; p < GetCount(); ++p) {
        const TDataElement* element = GetElement(p);
        bool equal = true;
        for (std::size_t i = 0; i < compared && equal; ++i)
            equal = TrimBlanks(element->GetField(fieldNos[i])->GetAsString()) ==
                    TrimBlanks(values.at(static_cast<qsizetype>(i)));
        if (equal) {
            pos = p;
            return true;
        }
    }
    pos = -1;
    return false;
}

TDataElement* TDataList::FindCodes(const std::vector<int>& fieldNos, const QStringList& codes, int* pos) {
    auto index = std::find_if(codeIndexes_.begin(), codeIndexes_.end(),
                              [&fieldNos](const auto& own) { return own->FieldNos() == fieldNos; });
    if (index == codeIndexes_.end()) {
        codeIndexes_.push_back(std::make_unique<TDataListCodeIndex>(*this, fieldNos));
        index = codeIndexes_.end() - 1;
    }
    QString key;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (i > 0)
            key += QChar(CodeSeparator);
        key += TrimBlanks(codes.at(i)).toUpper();
    }
    const int found = (*index)->Find(key);
    if (pos != nullptr)
        *pos = found;
    return found < 0 ? nullptr : GetElement(found);
}

bool TDataList::IsModified() const {
    return std::any_of(elements_.begin(), elements_.end(), [](const auto& element) {
        return element->IsModified() || (element->DeleteRequested && !element->Deleted);
    });
}

bool TDataList::SaveAll() {
    bool saved = true;
    try {
        for (const auto& element : elements_) {
            if (element->DeleteRequested && !element->Save())
                saved = false;
        }
        for (const auto& element : elements_) {
            if (!element->Deleted && !element->Save())
                saved = false;
        }
    } catch (...) {
        // What was deleted from the file goes from memory too, whatever stopped the pass.
        RemoveDeleted();
        throw;
    }
    RemoveDeleted();
    return saved;
}

void TDataList::RemoveDeleted() {
    // In one pass, however many went.
    std::vector<int> newRaw(elements_.size(), -1);
    int kept = 0;
    for (std::size_t raw = 0; raw < elements_.size(); ++raw) {
        if (!elements_[raw]->Deleted)
            newRaw[raw] = kept++;
    }
    if (kept == GetCount())
        return;
    for (const auto& index : indexes_)
        index->Remap(newRaw);
    if (currentRaw_ >= 0) {
        currentRaw_ = newRaw[static_cast<std::size_t>(currentRaw_)];
        currentLost_ = currentRaw_ < 0;
    }
    elements_.erase(std::remove_if(elements_.begin(), elements_.end(),
                                   [](const auto& element) { return element->Deleted; }),
                    elements_.end());
    OrderChanged();
}

void TDataList::Resort() {
    for (const auto& index : indexes_)
        index->Sort();
    OrderChanged();
    if (currentLost_ && GetCount() > 0)
        currentRaw_ = RawAt(GetCount() - 1);
    currentLost_ = false;
}
