#include "model/D_KlubLists.h"

#include <algorithm>

namespace {

const std::vector<TDataElement*> NoElements;

} // namespace

TKlubDataTracker::TKlubDataTracker(TDataList& list, int keyFieldNo, bool byPosition)
    : list_(list)
    , keyFieldNo_(keyFieldNo)
    , trackPositions_(byPosition) {}

// ---------------------------------------------------------------- what the list reports

void TKlubDataTracker::Follow() {
    if (Following())
        return;
    // Emptied or saved whole without the tracker: its pointers may be gone, and what changed is unknown.
    mapsValid_ = false;
    changesKnown_ = false;
    changed_.clear();
    changedSet_.clear();
    count_ = list_.GetCount();
}

void TKlubDataTracker::BeforeAdd() {
    Follow();
}

void TKlubDataTracker::Added(int raw) {
    ++count_;
    TDataElement& element = *list_.GetRawElement(raw);
    if (mapsValid_)
        Enter(element);
    if (element.IsNew)
        Mark(element);
}

void TKlubDataTracker::FieldChanged(TDataElement& element, int fieldNo) {
    Mark(element);
    // While the list adds the element it is not entered yet: Added enters it with its key as it is then.
    if (fieldNo != keyFieldNo_ || !mapsValid_ || !Following())
        return;
    if (keyOf_.find(&element) == keyOf_.end())
        return;
    Forget(element);
    Enter(element);
}

void TKlubDataTracker::NoteDelete() {
    deletePending_ = true;
}

void TKlubDataTracker::Written(TDataElement& element) {
    if (trackPositions_ && mapsValid_ && Following())
        byPosition_[element.Position] = &element;
}

// ---------------------------------------------------------------- maps

void TKlubDataTracker::Enter(TDataElement& element) {
    const qint32 key = element.GetField(keyFieldNo_)->GetAsInteger();
    byKey_[key].push_back(&element);
    keyOf_[&element] = key;
    if (trackPositions_ && !element.IsNew)
        byPosition_[element.Position] = &element;
}

void TKlubDataTracker::Forget(TDataElement& element) {
    const auto own = keyOf_.find(&element);
    if (own == keyOf_.end())
        return;
    const auto bucket = byKey_.find(own->second);
    if (bucket != byKey_.end()) {
        std::erase(bucket->second, &element);
        if (bucket->second.empty())
            byKey_.erase(bucket);
    }
    keyOf_.erase(own);
}

void TKlubDataTracker::Rebuild() {
    byKey_.clear();
    keyOf_.clear();
    byPosition_.clear();
    keyOf_.reserve(static_cast<std::size_t>(list_.GetCount()));
    if (trackPositions_)
        byPosition_.reserve(static_cast<std::size_t>(list_.GetCount()));
    for (int raw = 0; raw < list_.GetCount(); ++raw)
        Enter(*list_.GetRawElement(raw));
    mapsValid_ = true;
}

void TKlubDataTracker::EnsureMaps() {
    Follow();
    if (!mapsValid_)
        Rebuild();
}

const std::vector<TDataElement*>& TKlubDataTracker::WithKey(qint32 key) {
    EnsureMaps();
    const auto bucket = byKey_.find(key);
    return bucket == byKey_.end() ? NoElements : bucket->second;
}

std::optional<qint32> TKlubDataTracker::HighestKey() {
    EnsureMaps();
    if (byKey_.empty())
        return std::nullopt;
    return byKey_.rbegin()->first;
}

TDataElement* TKlubDataTracker::AtPosition(quint32 position) {
    EnsureMaps();
    const auto found = byPosition_.find(position);
    return found == byPosition_.end() ? nullptr : found->second;
}

// ---------------------------------------------------------------- saving

void TKlubDataTracker::Mark(TDataElement& element) {
    if (changedSet_.insert(&element).second)
        changed_.push_back(&element);
}

bool TKlubDataTracker::Changed(std::vector<TDataElement*>& elements) {
    Follow();
    if (!changesKnown_ || deletePending_)
        return false;
    elements = changed_;
    return true;
}

void TKlubDataTracker::Saved() {
    std::erase_if(changed_, [this](const TDataElement* element) {
        const bool done = !element->IsModified();
        if (done)
            changedSet_.erase(element);
        return done;
    });
}

void TKlubDataTracker::SavedWhole(bool saved) {
    changed_.clear();
    changedSet_.clear();
    deletePending_ = false;
    // A record that could not be written stays modified in a list the tracker no longer knows by heart.
    changesKnown_ = saved;
    mapsValid_ = false;
    count_ = list_.GetCount();
}

void TKlubDataTracker::Reset() {
    SavedWhole(true);
}
