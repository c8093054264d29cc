#pragma once
// The club manager's lists of one club's records. Each knows which of its elements changed since the last
// save, so that a save writes those alone, and finds its elements by one integer field (the start
// number) and by their record position, in step with every change; a save of one row then costs the
// same in a club of ten participants as in one of ten thousand.
#include "model/D_DBDef.h"

#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// What a list tells its tracker. The tracker holds element pointers only while the list's element count
// is the one it followed: a list emptied or saved behind its back (freeing deleted elements) makes it
// build its maps anew, and forget which elements changed, so that the next save is a whole one.
class TKlubDataTracker {
public:
    // keyFieldNo: the integer field the elements are found by; byPosition: whether they are found by
    // their record position too.
    TKlubDataTracker(TDataList& list, int keyFieldNo, bool byPosition);

    // ---- What the list reports
    void BeforeAdd();
    // Loaded elements are not changes; new ones are.
    void Added(int raw);
    void FieldChanged(TDataElement& element, int fieldNo);
    // The element is marked for deletion: the next save is a whole one, which frees it.
    void NoteDelete();
    // The element was written: a new one has its position now.
    void Written(TDataElement& element);

    // ---- Lookups, in the order the elements were added (or their key last changed)
    const std::vector<TDataElement*>& WithKey(qint32 key);
    std::optional<qint32> HighestKey();
    // The element read from the record at position; null when none of the list's is.
    TDataElement* AtPosition(quint32 position);

    // ---- Saving
    // The elements added or changed since the last Saved; false when that is not known or a delete is
    // pending: then the whole list must be saved.
    bool Changed(std::vector<TDataElement*>& elements);
    // After a save of the changed elements: those still modified (a write failed) stay to be saved.
    void Saved();
    // After a save of the whole list (saved: it wrote everything).
    void SavedWhole(bool saved);
    // After the list was read anew: nothing has changed.
    void Reset();

private:
    // The list has the count the tracker saw last: nothing was added or freed behind its back.
    bool Following() const { return count_ == list_.GetCount(); }
    void Follow();
    void EnsureMaps();
    void Rebuild();
    void Enter(TDataElement& element);
    void Forget(TDataElement& element);
    void Mark(TDataElement& element);

    TDataList& list_;
    const int keyFieldNo_;
    const bool trackPositions_;
    int count_ = 0;
    bool mapsValid_ = false;
    bool changesKnown_ = true;
    bool deletePending_ = false;
    std::map<qint32, std::vector<TDataElement*>> byKey_;
    std::unordered_map<const TDataElement*, qint32> keyOf_;
    std::unordered_map<quint32, TDataElement*> byPosition_;
    std::vector<TDataElement*> changed_;
    std::unordered_set<const TDataElement*> changedSet_;
};

// A list of the club manager with its tracker.
template <typename List>
class TKlubDataList : public List {
public:
    TKlubDataList(TDataTable& table, int keyFieldNo, bool byPosition = false)
        : List(table)
        , tracker_(*this, keyFieldNo, byPosition) {}

    int AddCurrent() override {
        tracker_.BeforeAdd();
        const int raw = List::AddCurrent();
        tracker_.Added(raw);
        return raw;
    }
    int AddNew() override {
        tracker_.BeforeAdd();
        const int raw = List::AddNew();
        tracker_.Added(raw);
        return raw;
    }
    void FieldChanged(TDataElement& element, TField& field) override {
        List::FieldChanged(element, field);
        tracker_.FieldChanged(element, field.FieldNo);
    }

    TKlubDataTracker& Tracker() { return tracker_; }

private:
    TKlubDataTracker tracker_;
};
