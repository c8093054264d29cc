// Building the round descriptions: every round of the meet joined with its event row, class, event,
// attribute definition and venue, and entered in the six indexes. The records are matched by their codes
// as the lookups by code match them, but through maps made once a build from the records' bytes.
#include "model/D_Ovelser.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/Windows1252.h"
#include "model/D_OvelserCodes.h"
#include "model/D_OvelserKeys.h"

#include <initializer_list>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

// At most this many skipped rounds are named in the report of a build.
constexpr int MaxReportedRounds = 10;
// Between the codes of a key, as the lists' own maps of codes have it.
constexpr char CodeSeparator = '\x1f';
constexpr quint64 NotYet = std::numeric_limits<quint64>::max();

// The elements of a list by the codes in some of their fields: for each code, the first element in the
// list's current order, as a lookup by code finds it. The list must not change while the map is used.
// One open table with the keys in one block: a lookup in a big programme costs one or two visits to
// memory instead of a chain of nodes.
class TCodeMap {
public:
    TCodeMap(TDataList& list, std::initializer_list<int> fieldNos)
        : list_(list) {
        for (const int fieldNo : fieldNos)
            fields_.emplace_back(list.Table(), fieldNo);
        const int count = list.GetCount();
        std::size_t slotCount = 16;
        while (slotCount < 2 * static_cast<std::size_t>(count))
            slotCount *= 2;
        slots_.assign(slotCount, TSlot{});
        mask_ = slotCount - 1;
        const TDataListIndex* index = list.CurrentIndex();
        std::string key;
        for (int pos = 0; pos < count; ++pos) {
            const int raw = index != nullptr ? index->Map()[static_cast<std::size_t>(pos)] : pos;
            key.clear();
            for (std::size_t i = 0; i < fields_.size(); ++i) {
                if (i > 0)
                    key.push_back(CodeSeparator);
                AppendCode(key, fields_[i].Trimmed(*list.GetRawElement(raw)));
            }
            const quint32 hash = HashOf(key);
            TSlot& slot = SlotOf(key, hash);
            // An earlier element with the same codes keeps them.
            if (slot.Raw < 0) {
                slot = {hash, static_cast<quint32>(keys_.size()), pos, raw};
                keys_ += key;
                keys_.push_back('\0');
            }
        }
    }

    // The raw position of the element with these codes; -1 when none.
    int Find(const std::string& key) {
        // The rounds of one event row follow each other: they ask for the same codes in turn.
        if (lastFound_ != nullptr && key == lastKey_)
            return lastFound_->Raw;
        const TSlot& slot = SlotOf(key, HashOf(key));
        if (slot.Raw >= 0) {
            last_ = slot.Pos;
            lastFound_ = &slot;
            lastKey_ = key;
        }
        return slot.Raw;
    }
    // The element the last lookup found becomes its list's current one, as a lookup by code leaves it.
    void LeaveCurrent() {
        if (last_ >= 0)
            list_.GetElement(last_);
    }
    TDataElement& At(int raw) const { return *list_.GetRawElement(raw); }

private:
    // A key's bytes lie at KeyAt, ended by a zero byte (a code holds none).
    struct TSlot {
        quint32 Hash = 0;
        quint32 KeyAt = 0;
        int Pos = -1;
        int Raw = -1; // -1: empty
    };
    static quint32 HashOf(std::string_view key) {
        const std::size_t hash = std::hash<std::string_view>{}(key);
        return static_cast<quint32>(hash ^ (hash >> 32));
    }
    // The slot holding key, or the empty one where it would go.
    TSlot& SlotOf(std::string_view key, quint32 hash) {
        for (std::size_t at = hash & mask_;; at = (at + 1) & mask_) {
            TSlot& slot = slots_[at];
            if (slot.Raw < 0 || (slot.Hash == hash && keys_.compare(slot.KeyAt, key.size(), key) == 0 &&
                                 keys_[slot.KeyAt + key.size()] == '\0'))
                return slot;
        }
    }

    TDataList& list_;
    std::vector<TCodeField> fields_;
    std::vector<TSlot> slots_;
    std::size_t mask_ = 0;
    std::string keys_;
    int last_ = -1;
    const TSlot* lastFound_ = nullptr;
    std::string lastKey_;
};

// The raw position of an element of a list, for a lookup that the maps did not answer.
int RawOf(const TDataList& list, const TDataElement* element) {
    for (int raw = 0; raw < list.GetCount(); ++raw) {
        if (list.GetRawElement(raw) == element)
            return raw;
    }
    return -1;
}

quint64 LevelOf(char16_t letter) {
    const QChar c(letter);
    return LevelNumber(letter == 0 ? QStringView() : QStringView(&c, 1));
}

} // namespace

// Joins the rounds one by one, with what the rounds of one event row share made once.
class TOvelseManager::TJoiner {
public:
    explicit TJoiner(TOvelseManager& manager)
        : manager_(manager)
        , rows_(manager.OvelseRkList(), {OvelseRkField::Klasse, OvelseRkField::Ovelse})
        , steder_(manager.AfvStedList(), {AfvStedField::Sted})
        , klasser_(manager.KlasseList(), {KlasseField::Klasse})
        , ovelser_(manager.OvelseList(), {OvelseField::Ovelse})
        , ovDefs_(manager.OvDefList(), {OvDefField::Ovelse, OvDefField::Attribut})
        , rundeKlasse_(manager.OvelseRnList().Table(), OvelseRnField::Klasse)
        , rundeOvelse_(manager.OvelseRnList().Table(), OvelseRnField::Ovelse)
        , rundeRunde_(manager.OvelseRnList().Table(), OvelseRnField::Runde)
        , rundeSted_(manager.OvelseRnList().Table(), OvelseRnField::Sted)
        , rowKlasse_(manager.OvelseRkList().Table(), OvelseRkField::Klasse)
        , rowOvelse_(manager.OvelseRkList().Table(), OvelseRkField::Ovelse)
        , rowAttribut_(manager.OvelseRkList().Table(), OvelseRkField::Attribut)
        , rowRunder_(manager.OvelseRkList().Table(), OvelseRkField::Runder)
        , rowMK_(manager.OvelseRkList().Table(), OvelseRkField::MKOvelse)
        , rundeDatoTid_(manager.OvelseRnList().Table(), OvelseRnField::DatoTid)
        , rowMKNr_(manager.OvelseRkList().Table(), OvelseRkField::MKOvelseNr)
        , klasseSortkode_(manager.KlasseList().Table(), KlasseField::Sortkode)
        , ovelseSortkode_(manager.OvelseList().Table(), OvelseField::Sortkode)
        , stedSortkode_(manager.AfvStedList().Table(), AfvStedField::Sortkode)
        , klasseKode_(manager.KlasseList().Table(), KlasseField::Klasse)
        , ovelseKode_(manager.OvelseList().Table(), OvelseField::Ovelse)
        , rowAt_(static_cast<std::size_t>(manager.OvelseRkList().GetCount()), -1)
        , stedNr_(static_cast<std::size_t>(manager.AfvStedList().GetCount()), NotYet) {}

    // The round's info with its keys; EOvelseManagerError when a record it joins is missing, checked in
    // the order of the lookups by code: event row, venue, class, event, attribute.
    TOvelseInfo& Join(TOvelseRnElement& runde, TOvelseInfoStore& infos, TOvelseInfo::TIndexKeys& keys) {
        key_.clear();
        AppendCode(key_, rundeKlasse_.Trimmed(runde));
        key_.push_back(CodeSeparator);
        AppendCode(key_, rundeOvelse_.Trimmed(runde));
        int rowRaw = rows_.Find(key_);
        if (rowRaw < 0)
            rowRaw = RawOf(manager_.OvelseRkList(),
                           &manager_.LocateOvelseRk(runde.GetTrimmedString(OvelseRnField::Klasse),
                                                    runde.GetTrimmedString(OvelseRnField::Ovelse)));
        key_.clear();
        AppendCode(key_, rundeSted_.Trimmed(runde));
        int stedRaw = steder_.Find(key_);
        if (stedRaw < 0)
            stedRaw = RawOf(manager_.AfvStedList(),
                            &manager_.LocateAfvSted(runde.GetTrimmedString(OvelseRnField::Sted)));
        auto& row = static_cast<TOvelseRkElement&>(rows_.At(rowRaw));
        auto& sted = static_cast<TAfvStedElement&>(steder_.At(stedRaw));
        const TRow& joined = RowOf(row, rowRaw);
        TOvelseInfo& info = infos.Emplace(*joined.Ovelse, joined.OvDef, *joined.Klasse, row, runde, sted);

        // The keys, as TOvelseInfo::GetIndexKeys makes them.
        const char16_t stored = FirstCodeLetter(rundeRunde_.Trimmed(runde));
        const quint64 level = stored != 0 ? LevelOf(stored) : joined.FirstLevel;
        const quint64 stamp = StampNumber(rundeDatoTid_.On(runde).GetAsFloat());
        quint64& stedNr = stedNr_[static_cast<std::size_t>(stedRaw)];
        if (stedNr == NotYet)
            stedNr = SortCodeNumber(stedSortkode_.On(sted).GetAsInteger());
        SetNumberKeys(keys, joined.KlasseNr, joined.OvelseNr, level, stamp, stedNr);
        TTextKey kode = joined.Kode;
        kode.Add(stored != 0 ? stored : u' ');
        keys.Kode = kode.Key();
        keys.HasMK = joined.HasMK;
        keys.MK = joined.MK;
        return info;
    }

    void LeaveCurrent() {
        for (TCodeMap* map : {&rows_, &steder_, &klasser_, &ovelser_, &ovDefs_})
            map->LeaveCurrent();
    }

private:
    // What an event row joins, and what its rounds' keys take from it.
    struct TRow {
        TKlasseElement* Klasse;
        TOvelseElement* Ovelse;
        TOvDefElement* OvDef;
        quint64 KlasseNr;
        quint64 OvelseNr;
        // The level of the row's first round letter: a round stored without a letter has it.
        quint64 FirstLevel;
        // Class code in 3 and event code in 6.
        TTextKey Kode;
        bool HasMK;
        TOvelseInfoKey MK;
    };

    const TRow& RowOf(TOvelseRkElement& row, int rowRaw) {
        int& at = rowAt_[static_cast<std::size_t>(rowRaw)];
        if (at >= 0)
            return rowJoins_[static_cast<std::size_t>(at)];
        key_.clear();
        AppendCode(key_, rowKlasse_.Trimmed(row));
        const int klasseRaw = klasser_.Find(key_);
        auto& klasse = klasseRaw >= 0 ? static_cast<TKlasseElement&>(klasser_.At(klasseRaw))
                                      : manager_.LocateKlasse(row.GetTrimmedString(OvelseRkField::Klasse));
        key_.clear();
        AppendCode(key_, rowOvelse_.Trimmed(row));
        const int ovelseRaw = ovelser_.Find(key_);
        auto& ovelse = ovelseRaw >= 0 ? static_cast<TOvelseElement&>(ovelser_.At(ovelseRaw))
                                      : manager_.LocateOvelse(row.GetTrimmedString(OvelseRkField::Ovelse));
        TOvDefElement* ovDef = nullptr;
        if (const std::string_view attribut = rowAttribut_.Trimmed(row); !attribut.empty()) {
            key_.push_back(CodeSeparator);
            AppendCode(key_, attribut);
            const int ovDefRaw = ovDefs_.Find(key_);
            if (ovDefRaw >= 0) {
                ovDef = &static_cast<TOvDefElement&>(ovDefs_.At(ovDefRaw));
            } else {
                const QString ovelseKode = row.GetTrimmedString(OvelseRkField::Ovelse);
                const QString attributKode = row.GetTrimmedString(OvelseRkField::Attribut);
                ovDef = manager_.FindOvDef(ovelseKode, attributKode);
                if (ovDef == nullptr)
                    throw EOvelseManagerError(TOvelseManagerErrorNo::AttributUndefined,
                                              {ovelseKode, attributKode});
            }
        }
        TRow& joined = rowJoins_.emplace_back();
        joined.Klasse = &klasse;
        joined.Ovelse = &ovelse;
        joined.OvDef = ovDef;
        joined.KlasseNr = SortCodeNumber(klasseSortkode_.On(klasse).GetAsInteger());
        joined.OvelseNr = SortCodeNumber(ovelseSortkode_.On(ovelse).GetAsInteger());
        joined.FirstLevel = LevelOf(FirstCodeLetter(rowRunder_.Trimmed(row)));
        joined.Kode.AddCodeRight(klasseKode_.Trimmed(klasse), 3);
        joined.Kode.AddCodeRight(ovelseKode_.Trimmed(ovelse), 6);
        const std::string_view mk = rowMK_.Trimmed(row);
        const qint32 mkNr = rowMKNr_.On(row).GetAsInteger();
        joined.HasMK = !mk.empty() && mkNr > 0;
        joined.MK = {};
        if (joined.HasMK) {
            joined.MK = OvelseInfoTextKey(
                MKKeyText(Windows1252::Decode(mk.data(), static_cast<qsizetype>(mk.size())), mkNr));
        }
        at = static_cast<int>(rowJoins_.size()) - 1;
        return joined;
    }

    TOvelseManager& manager_;
    TCodeMap rows_;
    TCodeMap steder_;
    TCodeMap klasser_;
    TCodeMap ovelser_;
    TCodeMap ovDefs_;
    TCodeField rundeKlasse_;
    TCodeField rundeOvelse_;
    TCodeField rundeRunde_;
    TCodeField rundeSted_;
    TCodeField rowKlasse_;
    TCodeField rowOvelse_;
    TCodeField rowAttribut_;
    TCodeField rowRunder_;
    TCodeField rowMK_;
    // Numbers and times read on each record's bytes in turn.
    TFieldReader rundeDatoTid_;
    TFieldReader rowMKNr_;
    TFieldReader klasseSortkode_;
    TFieldReader ovelseSortkode_;
    TFieldReader stedSortkode_;
    TCodeField klasseKode_;
    TCodeField ovelseKode_;
    // Per raw event row, its entry in rowJoins_ once a round has joined it; -1 before.
    std::vector<int> rowAt_;
    std::vector<TRow> rowJoins_;
    // Per raw venue, its sort code's number once a round has used it.
    std::vector<quint64> stedNr_;
    // The key of the present lookup: one buffer for all of them.
    std::string key_;
};

void TOvelseManager::BuildInfos() {
    ClearIndexes();
    infos_.clear();
    // A round that cannot be joined (its class removed, say) is left out so that the rest of the
    // programme still opens; the user hears of it once.
    QStringList skipped;
    int skippedCount = 0;
    {
        TJoiner joiner(*this);
        TOvelseInfo::TIndexKeys keys;
        for (int raw = 0; raw < ovelseRnList_->GetCount(); ++raw) {
            auto& runde = static_cast<TOvelseRnElement&>(*ovelseRnList_->GetRawElement(raw));
            TOvelseInfo* info = nullptr;
            try {
                info = &joiner.Join(runde, infos_, keys);
            } catch (const EOvelseManagerError& error) {
                if (++skippedCount <= MaxReportedRounds)
                    skipped.append(error.Text());
                continue;
            }
            index_[0].Append(keys.Klasse, info);
            index_[1].Append(keys.Ovelse, info);
            index_[2].Append(keys.Tid, info);
            index_[3].Append(keys.StedTid, info);
            index_[4].Append(keys.Kode, info);
            if (keys.HasMK)
                index_[5].Append(keys.MK, info);
        }
        joiner.LeaveCurrent();
    }
    for (TOvelseInfoIndex& index : index_)
        index.Sort();
    LinkMangekamp();
    AttachRekorder();
    if (skippedCount > 0) {
        if (skippedCount > skipped.size())
            skipped.append(QStringLiteral("... og %1 flere").arg(skippedCount - skipped.size()));
        ShowError(nullptr,
                  QStringLiteral("%1 runde(r) i stævnets øvelsesprogram kan ikke vises:").arg(skippedCount) +
                      CrLf + skipped.join(CrLf));
    }
}
