#include "model/D_Ovelser.h"

#include "model/D_StaevneSystemData.h"
#include "model/D_StdKlasser.h"

#include <algorithm>
#include <deque>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace {

int Compare(qint32 a, qint32 b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

// The standard class number of a stored class code: only the exact code counts, so that a code of the
// meet's own ("m", " K1") is never taken for a standard class.
qint32 StdKlasseNr(const QString& klasse) {
    const int nr = FindStdKlasse(klasse);
    return nr >= 0 && GetStdKlasseKode(nr) == klasse ? nr : NoStdKlasse;
}

// A row of the event editor with everything but the round slots, from one round of its class and event.
std::unique_ptr<TEditOvelseData> NewEditRow(const TOvelseInfo& info) {
    auto row = std::make_unique<TEditOvelseData>();
    const QString klasse = info.GetKlasseKode();
    row->KlasseNr = StdKlasseNr(klasse);
    row->Klasse = row->KlasseNr == NoStdKlasse ? klasse : GetStdKlasseKode(row->KlasseNr);
    row->Ovelse = info.GetOvelseKode();
    if (const TOvDefElement* ovDef = info.OvDef()) {
        row->Attribut = ovDef->GetTrimmedString(OvDefField::Attribut);
        row->AttributTekst = ovDef->GetTrimmedString(OvDefField::Tekst);
    }
    row->Ovtype = info.Ovelse().GetOvtype();
    row->OvelseNr = info.Ovelse().GetField(OvelseField::Sortkode)->GetAsInteger();
    row->AntalPrHeat = info.GetAntalPrHeat();
    const TOvelseRkElement& rk = info.OvelseRk();
    row->Startgebyr1 = rk.GetField(OvelseRkField::Startgebyr1)->GetAsFloat();
    row->Efteranmgebyr1 = rk.GetField(OvelseRkField::Efteranmgebyr1)->GetAsFloat();
    row->Strafgebyr1 = rk.GetField(OvelseRkField::Strafgebyr1)->GetAsFloat();
    row->Startgebyr2 = rk.GetField(OvelseRkField::Startgebyr2)->GetAsFloat();
    row->Efteranmgebyr2 = rk.GetField(OvelseRkField::Efteranmgebyr2)->GetAsFloat();
    row->Strafgebyr2 = rk.GetField(OvelseRkField::Strafgebyr2)->GetAsFloat();
    row->Runder = rk.GetTrimmedString(OvelseRkField::Runder);
    row->HoldBaneFordeling = rk.GetTrimmedString(OvelseRkField::HoldBaneFordeling);
    return row;
}

} // namespace

// ---------------------------------------------------------------- the row model

int CompareKlasseOvelse(const TEditOvelseData& a, const TEditOvelseData& b) {
    const int klasse = Compare(a.KlasseNr, b.KlasseNr);
    return klasse != 0 ? klasse : Compare(a.OvelseNr, b.OvelseNr);
}

int CompareOvelseKlasse(const TEditOvelseData& a, const TEditOvelseData& b) {
    const int ovelse = Compare(a.OvelseNr, b.OvelseNr);
    return ovelse != 0 ? ovelse : Compare(a.KlasseNr, b.KlasseNr);
}

TEditOvelseData* TEditOvelsesRaekke::Add(std::unique_ptr<TEditOvelseData> row) {
    rows_.push_back(std::move(row));
    return rows_.back().get();
}

bool TEditOvelsesRaekke::AddSorted(std::unique_ptr<TEditOvelseData> row) {
    const auto at = std::find_if(rows_.begin(), rows_.end(), [&row](const auto& other) {
        return CompareKlasseOvelse(*other, *row) >= 0;
    });
    if (at != rows_.end() && CompareKlasseOvelse(**at, *row) == 0)
        return false;
    rows_.insert(at, std::move(row));
    return true;
}

std::unique_ptr<TEditOvelseData> TEditOvelsesRaekke::Remove(const TEditOvelseData* row) {
    const auto at =
        std::find_if(rows_.begin(), rows_.end(), [row](const auto& own) { return own.get() == row; });
    if (at == rows_.end())
        return nullptr;
    std::unique_ptr<TEditOvelseData> taken = std::move(*at);
    rows_.erase(at);
    return taken;
}

int TEditOvelsesRaekke::RemoveIf(const std::function<bool(const TEditOvelseData&)>& unwanted) {
    return static_cast<int>(std::erase_if(rows_, [&unwanted](const auto& row) { return unwanted(*row); }));
}

void TEditOvelsesRaekke::SortByKlasse() {
    std::stable_sort(rows_.begin(), rows_.end(),
                     [](const auto& a, const auto& b) { return CompareKlasseOvelse(*a, *b) < 0; });
}

void TEditOvelsesRaekke::SortByOvelse() {
    std::stable_sort(rows_.begin(), rows_.end(),
                     [](const auto& a, const auto& b) { return CompareOvelseKlasse(*a, *b) < 0; });
}

// ---------------------------------------------------------------- loading rows

void TOvelseManager::LoadEditOvelsesRaekke(TEditOvelsesRaekke& raekke) const {
    raekke.Clear();
    // One row per class and event, in programme order of its first round: classes that share a sort code
    // interleave in the index, so neighbouring rounds need not be of one row.
    std::map<std::pair<QString, QString>, TEditOvelseData*> rows;
    for (const auto& [key, info] : index_[0]) {
        const QString klasse = info->GetKlasseKode();
        const QString ovelse = info->GetOvelseKode();
        TEditOvelseData*& row = rows[{klasse, ovelse}];
        if (row == nullptr)
            row = raekke.Add(NewEditRow(*info));
        // A round beyond the four slots, or whose letter the row does not name, fills none.
        const int nr = info->GetRundeNr();
        if (nr < 1 || nr > EditRundeSlots)
            continue;
        const TOvelseRnElement& rn = info->OvelseRn();
        TEditRundeData& slot = row->Slot(nr);
        slot.DatoTid = rn.GetField(OvelseRnField::DatoTid)->GetAsFloat();
        slot.Sted = rn.GetTrimmedString(OvelseRnField::Sted);
        slot.ResType = rn.GetField(OvelseRnField::ResType)->GetAsInteger();
        slot.Heatinddeling = rn.GetField(OvelseRnField::Heatinddeling)->GetAsInteger();
    }
}

// ---------------------------------------------------------------- writing rows

// Writes rows into the lists and gathers what is to go. A class's event rows are every event row with
// its code, and an event row's rounds every round with its class and event code, in the lists' order,
// so that rows written a second time find the records the first writing appended. The codes are looked
// up in maps made once for the writing and kept up to date with what it appends.
class TOvelseManager::TRaekkeWriter {
public:
    TRaekkeWriter(TOvelseManager& manager, const TEditOvelsesRaekke& raekke)
        : m_(manager) {
        for (int i = 0; i < raekke.GetCount(); ++i) {
            const TEditOvelseData* row = raekke.GetItem(i);
            rowsByKlasse_[row->Klasse].push_back(row);
        }
        TOvelseRkList& eventRows = *m_.ovelseRkList_;
        for (int raw = 0; raw < eventRows.GetCount(); ++raw)
            AddEventRow(static_cast<TOvelseRkElement&>(*eventRows.GetRawElement(raw)));
        TOvelseRnList& rounds = *m_.ovelseRnList_;
        for (int raw = 0; raw < rounds.GetCount(); ++raw)
            AddRound(static_cast<TOvelseRnElement&>(*rounds.GetRawElement(raw)));
    }

    void Write(const std::vector<int>* klasser) {
        TKlasseList& list = *m_.klasseList_;
        const int count = list.GetCount();
        std::vector<TKlasseElement*> existing;
        for (int pos = 0; pos < count; ++pos)
            existing.push_back(list.GetElement(pos));
        if (klasser == nullptr) {
            for (TKlasseElement* klasse : existing) {
                if (rowsByKlasse_.contains(klasse->GetTrimmedString(KlasseField::Klasse)))
                    WriteKlasse(*klasse);
            }
            return;
        }
        std::vector<int> remaining;
        for (const int nr : *klasser) {
            if (nr >= 0 && nr < StdKlasseCount)
                remaining.push_back(nr);
        }
        for (TKlasseElement* klasse : existing) {
            const QString code = klasse->GetTrimmedString(KlasseField::Klasse);
            const auto chosen = std::find_if(remaining.begin(), remaining.end(),
                                             [&code](int nr) { return GetStdKlasseKode(nr) == code; });
            if (chosen != remaining.end()) {
                SetStdKlasse(*klasse, *chosen);
                remaining.erase(chosen);
                WriteKlasse(*klasse);
            } else if (StdKlasseNr(code) == NoStdKlasse) {
                // The wizard chooses among the standard classes only; the meet's own stay.
                WriteKlasse(*klasse);
            } else {
                GatherKlasse(*klasse);
            }
        }
        for (const int nr : remaining) {
            if (TKlasseElement* klasse = m_.AddKlasse(GetStdKlasseKode(nr))) {
                SetStdKlasse(*klasse, nr);
                WriteKlasse(*klasse);
            }
        }
    }

    void FlagDeletions() {
        for (TDataElement* element : gathered_)
            element->DeleteRequested = true;
    }

private:
    static void SetStdKlasse(TKlasseElement& klasse, int nr) {
        klasse.GetField(KlasseField::Sortkode)->SetAsInteger(nr);
        klasse.GetField(KlasseField::Korttekst)->SetAsString(GetStdKlasseText(nr));
    }

    void AddEventRow(TOvelseRkElement& row) {
        eventRows_[row.GetTrimmedString(OvelseRkField::Klasse)].push_back(&row);
    }

    void AddRound(TOvelseRnElement& round) {
        const QString klasse = round.GetTrimmedString(OvelseRnField::Klasse);
        rounds_[{klasse, round.GetTrimmedString(OvelseRnField::Ovelse)}].push_back(&round);
        roundsOfKlasse_[klasse].push_back(&round);
    }

    void Gather(TDataElement& element) {
        if (gatheredSet_.insert(&element).second)
            gathered_.push_back(&element);
    }

    bool IsGathered(const TDataElement& element) const { return gatheredSet_.contains(&element); }

    template <typename Element>
    std::vector<Element*> NotGathered(const std::vector<Element*>* all) const {
        std::vector<Element*> found;
        if (all != nullptr) {
            for (Element* element : *all) {
                if (!IsGathered(*element))
                    found.push_back(element);
            }
        }
        return found;
    }

    template <typename Map>
    static const typename Map::mapped_type* Of(const Map& map, const typename Map::key_type& key) {
        const auto found = map.find(key);
        return found == map.end() ? nullptr : &found->second;
    }

    // A class that goes takes its event rows and rounds along: left behind they would keep the meet
    // from opening.
    void GatherKlasse(TKlasseElement& klasse) {
        Gather(klasse);
        const QString code = klasse.GetTrimmedString(KlasseField::Klasse);
        for (TOvelseRkElement* row : EventRowsOf(code))
            Gather(*row);
        for (TOvelseRnElement* round : NotGathered(Of(roundsOfKlasse_, code)))
            Gather(*round);
    }

    std::vector<TOvelseRkElement*> EventRowsOf(const QString& klasse) const {
        return NotGathered(Of(eventRows_, klasse));
    }

    std::vector<TOvelseRnElement*> RoundsOf(const QString& klasse, const QString& ovelse) const {
        return NotGathered(Of(rounds_, {klasse, ovelse}));
    }

    void WriteKlasse(TKlasseElement& klasse) {
        const QString code = klasse.GetTrimmedString(KlasseField::Klasse);
        static const std::vector<const TEditOvelseData*> None;
        const auto* own = Of(rowsByKlasse_, code);
        const std::vector<const TEditOvelseData*>& rows = own != nullptr ? *own : None;
        // Each event row takes the first row of its event still left.
        std::unordered_map<QString, std::deque<std::size_t>> byOvelse;
        for (std::size_t i = 0; i < rows.size(); ++i)
            byOvelse[rows[i]->Ovelse].push_back(i);
        std::vector<bool> taken(rows.size(), false);
        std::unordered_set<QString> kept;
        std::vector<TOvelseRkElement*> unmatched;
        for (TOvelseRkElement* eventRow : EventRowsOf(code)) {
            const QString ovelse = eventRow->GetTrimmedString(OvelseRkField::Ovelse);
            const auto left = byOvelse.find(ovelse);
            if (left == byOvelse.end() || left->second.empty()) {
                unmatched.push_back(eventRow);
                continue;
            }
            const std::size_t row = left->second.front();
            left->second.pop_front();
            taken[row] = true;
            WriteRow(*rows[row], *eventRow);
            kept.insert(ovelse);
        }
        for (TOvelseRkElement* eventRow : unmatched) {
            Gather(*eventRow);
            const QString ovelse = eventRow->GetTrimmedString(OvelseRkField::Ovelse);
            // A second event row of the same event shares the rounds of the one kept.
            if (kept.contains(ovelse))
                continue;
            for (TOvelseRnElement* round : RoundsOf(code, ovelse))
                Gather(*round);
        }
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (taken[i])
                continue;
            const TEditOvelseData& row = *rows[i];
            TOvelseElement* ovelse = m_.FindOvelse(row.Ovelse);
            if (ovelse == nullptr)
                continue;
            TOvDefElement* ovDef = row.Attribut.isEmpty() ? nullptr : m_.FindOvDef(row.Ovelse, row.Attribut);
            TOvelseRkElement& eventRow = m_.AddOvelseRk(klasse, *ovelse, ovDef);
            AddEventRow(eventRow);
            WriteRow(row, eventRow);
        }
    }

    // The slot of a stored round code in the row's rounds: 1 for none, else its position; 0 for no slot.
    static int SlotOf(const QString& code, const QString& runder) {
        if (code.isEmpty() || code.at(0) == QChar(0))
            return 1;
        if (runder.size() < 2)
            return 0;
        return static_cast<int>(runder.indexOf(code)) + 1;
    }

    void WriteRow(const TEditOvelseData& row, TOvelseRkElement& eventRow) {
        eventRow.GetField(OvelseRkField::Startgebyr1)->SetAsFloat(row.Startgebyr1);
        eventRow.GetField(OvelseRkField::Efteranmgebyr1)->SetAsFloat(row.Efteranmgebyr1);
        eventRow.GetField(OvelseRkField::Strafgebyr1)->SetAsFloat(row.Strafgebyr1);
        eventRow.GetField(OvelseRkField::Startgebyr2)->SetAsFloat(row.Startgebyr2);
        eventRow.GetField(OvelseRkField::Efteranmgebyr2)->SetAsFloat(row.Efteranmgebyr2);
        eventRow.GetField(OvelseRkField::Strafgebyr2)->SetAsFloat(row.Strafgebyr2);
        eventRow.GetField(OvelseRkField::Runder)->SetAsString(row.Runder);
        eventRow.GetField(OvelseRkField::HoldBaneFordeling)->SetAsString(row.HoldBaneFordeling);

        const QString runder = eventRow.GetTrimmedString(OvelseRkField::Runder);
        std::array<bool, EditRundeSlots> used{};
        for (TOvelseRnElement* round : RoundsOf(eventRow.GetTrimmedString(OvelseRkField::Klasse),
                                                eventRow.GetTrimmedString(OvelseRkField::Ovelse))) {
            const int slot = SlotOf(round->GetTrimmedString(OvelseRnField::Runde), runder);
            // Rounds past the four slots are neither the editor's to change nor to delete.
            if (slot > EditRundeSlots)
                continue;
            if (slot == 0) {
                Gather(*round);
                continue;
            }
            WriteRunde(row, slot, *round);
            used.at(static_cast<std::size_t>(slot - 1)) = true;
        }
        const int slotCount = std::min<int>(static_cast<int>(runder.size()), EditRundeSlots);
        for (int n = 1; n <= slotCount; ++n) {
            if (used.at(static_cast<std::size_t>(n - 1)))
                continue;
            TOvelseRnElement& round = m_.AddOvelseRn(eventRow);
            round.GetField(OvelseRnField::Runde)->SetAsString(n == 1 ? QString() : runder.mid(n - 1, 1));
            AddRound(round);
            WriteRunde(row, n, round);
        }
    }

    void WriteRunde(const TEditOvelseData& row, int n, TOvelseRnElement& round) {
        const TEditRundeData& slot = row.Slot(n);
        round.GetField(OvelseRnField::Sted)->SetAsString(slot.Sted);
        round.GetField(OvelseRnField::ResType)->SetAsInteger(slot.ResType);
        round.GetField(OvelseRnField::DatoTid)->SetAsFloat(slot.DatoTid);
        round.GetField(OvelseRnField::Heatinddeling)->SetAsInteger(slot.Heatinddeling);
        round.GetField(OvelseRnField::AntalPrHeat)->SetAsInteger(row.AntalPrHeat);
        const TSystemData& data = CurrentSystemData();
        if (data.DT || data.VT || data.LTU)
            round.GetField(OvelseRnField::AutoCalcPoint)->SetAsInteger(1);
        // The code as the round holds it, so that a long code cut to the field finds its venue again.
        const QString sted = round.GetTrimmedString(OvelseRnField::Sted);
        if (m_.FindAfvSted(sted) != nullptr)
            return;
        TAfvStedElement* afvSted = m_.AddAfvSted(sted);
        if (afvSted != nullptr && !IsTidOvtype(row.Ovtype))
            afvSted->GetField(AfvStedField::Sortkode)->SetAsInteger(row.OvelseNr);
    }

    struct PairHash {
        std::size_t operator()(const std::pair<QString, QString>& key) const {
            return qHash(key.first) ^ (qHash(key.second) * 31);
        }
    };

    TOvelseManager& m_;
    std::unordered_map<QString, std::vector<const TEditOvelseData*>> rowsByKlasse_;
    std::unordered_map<QString, std::vector<TOvelseRkElement*>> eventRows_;
    std::unordered_map<std::pair<QString, QString>, std::vector<TOvelseRnElement*>, PairHash> rounds_;
    std::unordered_map<QString, std::vector<TOvelseRnElement*>> roundsOfKlasse_;
    std::vector<TDataElement*> gathered_;
    std::unordered_set<const TDataElement*> gatheredSet_;
};

bool TOvelseManager::SaveEditOvelsesRaekke(const std::vector<int>* klasser,
                                           const TEditOvelsesRaekke& raekke) {
    bool saved = false;
    try {
        TRaekkeWriter writer(*this, raekke);
        writer.Write(klasser);
        writer.FlagDeletions();
        saved = Save();
    } catch (...) {
        // A half-applied edit must not reach the files with a later save.
        try {
            ReloadLists();
            BuildInfos();
        } catch (...) {
        }
        throw;
    }
    klasseList_->Resort();
    afvStedList_->Resort();
    // The infos pointed at records that may be gone.
    BuildInfos();
    return saved;
}
