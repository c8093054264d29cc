#pragma once
// Records in memory: a list holds the records of one table (or the part a meet uses) as elements, each
// with its own buffer and fields, keeps any number of sorted indexes over them, and writes every pending
// insert, update and delete back through the table in one pass.
#include "foundation/CodeText.h"
#include "foundation/Exception.h"
#include "storage/DBField.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

class TDataTable;
class TDataList;

enum class TDataListError { IndexOutOfRange = 1, NoSuchIndex = 2, WrongFieldCount = 3 };

// "File: " + directory, "Object: TDataList", then the text of the code.
class EDataListError : public ECodedError<TDataListError> {
public:
    EDataListError(const QString& directory, TDataListError code, const QStringList& args);
};

// Blocks of one size for a list's records, cut from chunks in the order asked for: records read one after
// another lie one after another, so a pass over a big list reads memory in order. A block given back is
// handed out again.
class TRecordBlocks {
public:
    TRecordBlocks() = default;
    TRecordBlocks(const TRecordBlocks&) = delete;
    TRecordBlocks& operator=(const TRecordBlocks&) = delete;

    quint8* Take(int bytes);
    void Give(quint8* block, int bytes);

private:
    int blockBytes_ = 0;
    std::size_t used_ = 0;
    std::size_t chunkBytes_ = 0;
    std::vector<std::unique_ptr<quint8[]>> chunks_;
    std::vector<quint8*> free_;
};

class TDataElement;

// Frees an element in the memory of the list that made it.
struct TElementDelete {
    void operator()(TDataElement* element) const;
};
using TElementPtr = std::unique_ptr<TDataElement, TElementDelete>;

class TDataElement : public TFieldOwner {
public:
    TDataElement(TDataList* owner, TDataTable& table);
    virtual ~TDataElement();
    TDataElement(const TDataElement&) = delete;
    TDataElement& operator=(const TDataElement&) = delete;

    // A buffer of the table's record length; an element that is not new takes the table's current record
    // and its position.
    void InitRecord(bool isNew);
    TField* GetField(int fieldNo) const;
    // The field's text without leading and trailing blanks.
    QString GetTrimmedString(int fieldNo) const { return GetField(fieldNo)->GetTrimmedString(); }
    int GetFieldCount() const { return static_cast<int>(fields_.size()); }
    TDataBuffer* Buffer() const { return buffer_ ? &*buffer_ : nullptr; }
    TDataTable& Table() const { return table_; }
    bool IsModified() const;
    void FieldChanged(TField& field) override;
    // Writes the pending delete, insert or update. A failure of the record manager is shown to the user
    // and leaves the change pending; the result tells whether everything pending was written.
    bool Save();

    bool DeleteRequested = false;
    bool Deleted = false;
    bool IsNew = false;
    quint32 Position = 0;

private:
    friend class TDataList;
    friend struct TElementDelete;
    void GiveBlock();

    TDataList* owner_;
    TDataTable& table_;
    // Each made when first asked for: most of a record's fields are never looked at.
    mutable TFieldList fields_;
    // Held in the element, its bytes in the list's blocks: a read of a record's bytes is two steps.
    mutable std::optional<TDataBuffer> buffer_;
    quint8* block_ = nullptr;
    // The bytes the element takes in its list's memory; 0 when it was made elsewhere.
    int ownBytes_ = 0;
};

// One field of a table read on the bytes of any of its elements, without the element's own field object: a
// pass over a big list then touches the records' bytes and nothing else of them. For reading only.
class TFieldReader {
public:
    TFieldReader(TDataTable& table, int fieldNo);

    const TField& On(const TDataElement& element);

private:
    std::unique_ptr<TField> field_;
};

class TDataListIndex {
public:
    TDataListIndex(TDataList& list, std::vector<int> fieldNos);

    // True when fieldNos is a leading part of this index's fields.
    bool HasFields(const std::vector<int>& fieldNos) const;
    void Sort();
    void AddPosition(int rawPos);
    void RemovePosition(int rawPos);
    // Every raw position p becomes newRaw[p]; those that become -1 leave the index.
    void Remap(const std::vector<int>& newRaw);
    void NotifyFieldChanged(int fieldNo);

    const std::vector<int>& FieldNos() const { return fieldNos_; }
    // Raw positions in index order.
    const std::vector<int>& Map() const { return map_; }
    bool Dirty = false;

private:
    TDataList& list_;
    std::vector<int> fieldNos_;
    std::vector<int> map_;
};

// The elements by the codes in some of their fields, compared trimmed and upper-cased: for each code,
// the elements that carry it in the list's current order. Kept in step as elements are added and their
// code fields change; made again after anything reorders or removes elements.
class TDataListCodeIndex {
public:
    TDataListCodeIndex(TDataList& list, std::vector<int> fieldNos);

    const std::vector<int>& FieldNos() const { return fieldNos_; }
    // The position in the current order of the first element whose codes, trimmed, upper-cased and
    // joined by the separator 0x1F, are key; -1 when none.
    int Find(const QString& key);

    void Added(const TDataElement& element);
    void FieldChanged(const TDataElement& element, int fieldNo);
    void Invalidate() { valid_ = false; }

private:
    struct TEntry {
        QString Key;
        int Rank = 0; // position in the current order
    };
    QString ElementKey(const TDataElement& element) const;
    void Build();
    void Insert(const TEntry& entry);

    TDataList& list_;
    std::vector<int> fieldNos_;
    bool valid_ = false;
    std::unordered_map<QString, std::vector<TEntry>> byKey_; // each in rank order
    std::unordered_map<const TDataElement*, TEntry> entries_;
    int nextRank_ = 0;
};

class TDataList {
public:
    explicit TDataList(TDataTable& table);
    virtual ~TDataList();
    TDataList(const TDataList&) = delete;
    TDataList& operator=(const TDataList&) = delete;

    void Clear();
    // Every record the table's First and Next give.
    void LoadFromTable();
    // The table's current record as a new element; returns its raw position.
    virtual int AddCurrent();
    // An empty new element; returns its raw position.
    virtual int AddNew();
    virtual void FieldChanged(TDataElement& element, TField& field);

    int GetCount() const { return static_cast<int>(elements_.size()); }
    // The element at a position of the current order, which becomes current.
    TDataElement* GetElement(int pos);
    TDataElement* GetRawElement(int pos) const;
    TDataElement* GetCurrent() const;
    // The current element's position in the current order; -1 when none.
    int GetCurrentPos() const;
    // Position in the current order (the element becomes current); -1 when absent.
    int IndexOf(const TDataElement* element);
    // The first index beginning with fieldNos, or a new one on exactly them; it becomes current.
    TDataListIndex* SetIndex(const std::vector<int>& fieldNos);
    TDataListIndex* SetIndexFields(std::vector<int> fieldNos) { return SetIndex(fieldNos); }
    TDataListIndex* CurrentIndex() const { return currentIndex_; }
    TDataListIndex* GetListIndex(int n) const;
    int GetListIndexCount() const { return static_cast<int>(indexes_.size()); }
    // The first element, in the current order, whose given fields' trimmed texts equal the trimmed values.
    bool Locate(const std::vector<int>& fieldNos, const QStringList& values, int& pos);
    // The first element, in the current order, whose given fields, trimmed and upper-cased, equal the
    // codes, trimmed and upper-cased; it becomes current. Null (and pos -1) when there is none. Through
    // a map of the codes that the list keeps from the first such lookup on.
    TDataElement* FindCodes(const std::vector<int>& fieldNos, const QStringList& codes, int* pos = nullptr);
    bool IsModified() const;
    // Deletes, then inserts and updates, then frees the deleted elements. True when nothing is left
    // pending; a record-manager failure has then been shown to the user and its change stays for a retry.
    bool SaveAll();
    // Sorts every index; the current element stays current.
    void Resort();

    TDataTable& Table() const { return table_; }

protected:
    virtual TElementPtr CreateElement() = 0;
    // An element of the list's own class in the list's memory: the elements of a big list then lie one
    // after another, in the order they were read.
    template <typename Element>
    TElementPtr MakeElement() {
        static_assert(alignof(Element) <= alignof(std::max_align_t) && alignof(Element) <= 8);
        constexpr int bytes = static_cast<int>(sizeof(Element));
        quint8* place = elementBlocks_.Take(bytes);
        try {
            TElementPtr element(new (place) Element(this, table_));
            element->ownBytes_ = bytes;
            return element;
        } catch (...) {
            elementBlocks_.Give(place, bytes);
            throw;
        }
    }
    int AddElement(bool isNew);

private:
    friend class TDataListCodeIndex;
    friend class TDataElement;
    friend struct TElementDelete;

    void RemoveDeleted();
    void OrderChanged();
    void CheckPosition(int pos) const;
    int RawAt(int pos) const;

    TDataTable& table_;
    // Before the elements: they give their blocks back as they go.
    TRecordBlocks blocks_;
    TRecordBlocks elementBlocks_;
    std::vector<TElementPtr> elements_;
    // Elements of an earlier load, to be used again.
    std::vector<TElementPtr> spare_;
    std::vector<std::unique_ptr<TDataListIndex>> indexes_;
    std::vector<std::unique_ptr<TDataListCodeIndex>> codeIndexes_;
    TDataListIndex* currentIndex_ = nullptr;
    int currentRaw_ = -1;
    // The current element was freed by a save; the next resort takes the last one instead.
    bool currentLost_ = false;
};
