// The counters of a round and its club points, from its stored records or from its loaded rows through
// one count, and the club standings of a group of events.
#include "model/D_Result.h"

#include "foundation/LxString.h"
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_OvelserCodes.h"
#include "model/D_Point.h"
#include "model/D_ResultTable.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"
#include "storage/BtvTransaction.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

// One entry of a round as the count sees it. The series and the club are asked for only when they count.
class TRoundEntry {
public:
    virtual ~TRoundEntry() = default;
    virtual QString ResultatKode() const = 0;
    virtual qint32 Heat() const = 0;
    virtual qint32 Resultat() const = 0;
    virtual bool HasSerie() const = 0;
    virtual double Point() const = 0;
    virtual qint32 Placering() const = 0;
    // False when the entry's participant is missing.
    virtual bool KlubNr(qint32& klubNr) const = 0;
};

class TRowEntry : public TRoundEntry {
public:
    explicit TRowEntry(const TResultat& row)
        : row_(row) {}
    QString ResultatKode() const override { return row_.RK; }
    qint32 Heat() const override { return row_.Heat; }
    qint32 Resultat() const override { return row_.Resultat; }
    bool HasSerie() const override { return row_.HasSerier(); }
    double Point() const override { return row_.Point; }
    qint32 Placering() const override { return row_.Plac; }
    bool KlubNr(qint32& klubNr) const override {
        klubNr = row_.KlubNr;
        return row_.HasDeltager();
    }

private:
    const TResultat& row_;
};

// The fields of a result record that the count reads, looked up once for all the records read.
struct TRecordFields {
    explicit TRecordFields(const TResultatRecordTable& record)
        : ResultatKode(record.GetField(ResultatField::ResultatKode))
        , Heat(record.GetField(ResultatField::Heat))
        , Resultat(record.GetField(ResultatField::Resultat))
        , Point(record.GetField(ResultatField::Point))
        , Placering(record.GetField(ResultatField::Placering))
        , Startnummer(record.GetField(ResultatField::Startnummer))
        , SidstRettet(record.GetField(ResultatField::SidstRettet)) {}

    const TField* ResultatKode;
    const TField* Heat;
    const TField* Resultat;
    const TField* Point;
    const TField* Placering;
    const TField* Startnummer;
    const TField* SidstRettet;
};

class TRecordEntry : public TRoundEntry {
public:
    TRecordEntry(const TResultatRecordTable& record, const TRecordFields& fields,
                 TTableOnUse<TDeltagerTable>& deltager)
        : record_(record)
        , fields_(fields)
        , deltager_(deltager) {}
    QString ResultatKode() const override {
        const TField* field = fields_.ResultatKode;
        // Most entries have no code: their bytes say so without a text made.
        std::array<char, 16> bytes{};
        const auto size = static_cast<std::size_t>(field->Size);
        if (size <= bytes.size() && field->ReadBytes(bytes.data()) &&
            std::all_of(bytes.begin(), bytes.begin() + size, [](char b) { return b == 0 || b == ' '; }))
            return {};
        return static_cast<const TStringField*>(field)->TStringField::GetAsString();
    }
    qint32 Heat() const override { return fields_.Heat->GetAsInteger(); }
    qint32 Resultat() const override { return fields_.Resultat->GetAsInteger(); }
    // The series as far as it reads, as a loaded row holds it.
    bool HasSerie() const override {
        TSerier serier;
        serier.LoadFromString(record_.Serie());
        return serier.Count() > 0;
    }
    double Point() const override { return fields_.Point->GetAsFloat(); }
    qint32 Placering() const override { return fields_.Placering->GetAsInteger(); }
    bool KlubNr(qint32& klubNr) const override {
        if (!deltager_->FindStaevneKey(0, {fields_.Startnummer->GetAsInteger()}))
            return false;
        klubNr = deltager_->GetField(DeltagerField::KlubNr)->GetAsInteger();
        return true;
    }

private:
    const TResultatRecordTable& record_;
    const TRecordFields& fields_;
    TTableOnUse<TDeltagerTable>& deltager_;
};

// The class, event and round letter of a round or a record as one key, for matching records to rounds
// without a text made: each text as its stored bytes, trimmed of blanks (a round letter also of zero
// characters, as it is read). The code page gives every byte a character of its own, so two keys are
// equal exactly when the three texts are. Field classes with texts of their own are encoded from their
// text.
class TRoundKey {
public:
    TRoundKey(const TField& klasse, const TField& ovelse, const TField& runde)
        : parts_{Part(klasse, false), Part(ovelse, false), Part(runde, true)} {}

    // Reads the key of the fields as they are now; false when their bytes are those last read, and so
    // the key too (the records of a round come together).
    bool Read() {
        if (SameBytes())
            return false;
        key_.clear();
        bytes_.clear();
        for (const TPart& part : parts_) {
            Append(part);
            if (part.Plain)
                bytes_.append(part.Field->BytesView());
        }
        bytesRead_ = true;
        return true;
    }
    const std::string& Key() const { return key_; }

private:
    struct TPart {
        const TField* Field;
        // Null when the field's text is not its bytes, or it has none (bound fields stay bound).
        const TStringField* Plain;
        bool WithoutZeros;
    };

    static TPart Part(const TField& field, bool withoutZeros) {
        return {&field, PlainTextField(field), withoutZeros};
    }

    void Append(const TPart& part) {
        std::string_view text;
        if (part.Plain) {
            text = TStringField::StoredText(part.Plain->BytesView(), part.Plain->StringKind);
        } else {
            const QByteArray bytes = Windows1252::Encode(part.Field->GetAsString());
            encoded_.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            text = encoded_;
        }
        if (part.WithoutZeros && text.find('\0') != std::string_view::npos) {
            std::string kept(text);
            std::erase(kept, '\0');
            encoded_.swap(kept);
            text = encoded_;
        }
        text = TrimBlankBytes(text);
        // Each text with its length, so that no two triples of texts run together alike.
        key_.push_back(static_cast<char>(text.size() & 0xFF));
        key_.push_back(static_cast<char>(text.size() >> 8));
        key_.append(text);
    }

    bool SameBytes() const {
        if (!bytesRead_)
            return false;
        std::size_t at = 0;
        for (const TPart& part : parts_) {
            // Only a plain text is its bytes.
            if (!part.Plain)
                return false;
            const std::string_view bytes = part.Field->BytesView();
            if (bytes_.compare(at, bytes.size(), bytes) != 0)
                return false;
            at += bytes.size();
        }
        return at == bytes_.size();
    }

    std::array<TPart, 3> parts_;
    std::string key_;
    std::string encoded_;
    // The fields' bytes when the key was read.
    std::string bytes_;
    bool bytesRead_ = false;
};

template <typename TRecord>
TRoundKey RoundKeyOf(const TRecord& record, int klasse, int ovelse, int runde) {
    return TRoundKey(*record.GetField(klasse), *record.GetField(ovelse), *record.GetField(runde));
}

bool IsHoldPoints() {
    const TStaevneManager* manager = ModelContext().StaevneManager.get();
    return (manager && manager->IsHoldTurnering()) || CurrentSystemData().OstHoldTurnering;
}

// Counts a round's entries into its counters and club points.
class TRoundCounter {
public:
    explicit TRoundCounter(TOvelseInfo& info)
        : info_(info)
        , serieCounts_(info.Ovelse().IsSpringOvelse() || info.Ovelse().IsKasteOvelse())
        , holdPoints_(IsHoldPoints()) {
        info.AntalAktiveDeltagere = 0;
        info.AntalDeltagere = 0;
        info.AntalHeat = 0;
        info.MaxHeatNr = 0;
        info.AntalResultater = 0;
        info.Heat0Findes = false;
        info.SeedningFindes = false;
        info.ResultaterFindes = false;
        info.ClearPoints();
    }

    void Add(const TRoundEntry& entry) {
        ++info_.AntalDeltagere;
        // Most entries have no code: nothing to parse.
        const QString stored = entry.ResultatKode();
        const QString kode = stored.isEmpty() ? stored : ParseResKode(TrimBlanks(stored));
        if (IsResKodeStarted(kode)) {
            ++info_.AntalAktiveDeltagere;
            const qint32 heat = entry.Heat();
            if (heat == 0) {
                info_.Heat0Findes = true;
            } else if (heat >= 1 && heat <= MaxHeatNr) {
                info_.SeedningFindes = true;
                info_.MaxHeatNr = std::max(info_.MaxHeatNr, heat);
                if (!heats_.test(static_cast<std::size_t>(heat))) {
                    heats_.set(static_cast<std::size_t>(heat));
                    ++info_.AntalHeat;
                }
            }
            if (entry.Resultat() != 0 || IsResKodeDiskUdgaaet(kode) || (serieCounts_ && entry.HasSerie())) {
                ++info_.AntalResultater;
                info_.ResultaterFindes = true;
            }
        }
        qint32 klubNr = 0;
        if (holdPoints_ && entry.Point() != 0 && entry.KlubNr(klubNr))
            info_.AddPoint(IntStr(klubNr), IntStr(klubNr), QString(), entry.Placering(), entry.Point());
    }

    void Finish() {
        if (info_.AntalHeat != 0 || info_.AntalAktiveDeltagere < 1)
            return;
        if (const qint32 prHeat = info_.GetAntalPrHeat(); prHeat >= 1)
            info_.AntalHeat = (info_.AntalAktiveDeltagere + prHeat - 1) / prHeat;
    }

private:
    TOvelseInfo& info_;
    const bool serieCounts_;
    const bool holdPoints_;
    std::bitset<MaxHeatNr + 1> heats_;
};

} // namespace

void TResultatManager::CalcOvelseInfo(const TOvelseInfoIndex& ovelser) {
    // One pass over the meet's records in key order, each to the rounds of its class, event and round
    // letter (two rounds of the same codes both count it, as a lookup per round would).
    constexpr std::size_t NoRound = std::numeric_limits<std::size_t>::max();
    std::unordered_map<std::string, std::size_t> firstRound;
    // The next round of the same codes.
    std::vector<std::size_t> nextRound;
    std::vector<TRoundCounter> counters;
    std::vector<TDateTime> sidstRettet;
    const auto rounds = static_cast<std::size_t>(ovelser.Count());
    firstRound.reserve(rounds);
    nextRound.reserve(rounds);
    counters.reserve(rounds);
    sidstRettet.assign(rounds, 0);
    // The rounds' codes read on their records' bytes, without each record's own fields.
    std::optional<std::array<TFieldReader, 3>> codes;
    for (const auto& [indexKey, info] : ovelser) {
        TOvelseRnElement& runde = info->OvelseRn();
        if (!codes) {
            codes.emplace(std::array<TFieldReader, 3>{TFieldReader(runde.Table(), OvelseRnField::Klasse),
                                                      TFieldReader(runde.Table(), OvelseRnField::Ovelse),
                                                      TFieldReader(runde.Table(), OvelseRnField::Runde)});
        }
        TRoundKey key((*codes)[0].On(runde), (*codes)[1].On(runde), (*codes)[2].On(runde));
        key.Read();
        const auto [first, added] = firstRound.try_emplace(key.Key(), counters.size());
        nextRound.push_back(NoRound);
        if (!added) {
            std::size_t last = first->second;
            while (nextRound[last] != NoRound)
                last = nextRound[last];
            nextRound[last] = counters.size();
        }
        counters.emplace_back(*info);
    }
    TResultatRecordTable& table = *resultatTable_;
    TRoundKey recordKey =
        RoundKeyOf(table, ResultatField::Klasse, ResultatField::Ovelse, ResultatField::Runde);
    const TRecordFields fields(table);
    std::size_t current = NoRound;
    // Team points read the participants' clubs: their file opened before the reading starts.
    if (IsHoldPoints())
        deltagerTable_.Open();
    // The whole meet read in one go.
    const TBtvReadScope reading;
    for (bool found = table.FirstOfMeet(CurrentStID()); found; found = table.NextOfMeet()) {
        // The records of a round come together: one lookup per round.
        if (recordKey.Read()) {
            const auto of = firstRound.find(recordKey.Key());
            current = of == firstRound.end() ? NoRound : of->second;
        }
        if (current == NoRound)
            continue;
        const TRecordEntry entry(table, fields, deltagerTable_);
        const TDateTime rettet = fields.SidstRettet->GetAsFloat();
        for (std::size_t round = current; round != NoRound; round = nextRound[round]) {
            counters[round].Add(entry);
            sidstRettet[round] = std::max(sidstRettet[round], rettet);
        }
    }
    std::size_t round = 0;
    for (const auto& [indexKey, info] : ovelser) {
        counters[round].Finish();
        info->SidstRettet = sidstRettet[round++];
    }
}

void TResultatManager::CalcOvelseInfo(TOvelseInfo& info) {
    TRoundCounter counter(info);
    TDateTime sidstRettet = 0;
    TResultatRecordTable& table = *resultatTable_;
    if (IsHoldPoints())
        deltagerTable_.Open();
    const TBtvReadScope reading;
    const TRecordFields fields(table);
    for (bool found = table.FirstOfRound(info); found; found = table.NextOfRound()) {
        counter.Add(TRecordEntry(table, fields, deltagerTable_));
        sidstRettet = std::max(sidstRettet, fields.SidstRettet->GetAsFloat());
    }
    counter.Finish();
    info.SidstRettet = sidstRettet;
}

void TResultatManager::UpdateOvelseInfo() {
    std::vector<TOvelseInfo*> rounds = ovelser_;
    if (ovelseInfo_ && std::find(rounds.begin(), rounds.end(), ovelseInfo_) == rounds.end())
        rounds.push_back(ovelseInfo_);
    for (TOvelseInfo* round : rounds) {
        TRoundCounter counter(*round);
        for (const auto& row : rows_) {
            if (row->OvelseInfo == round)
                counter.Add(TRowEntry(*row));
        }
        counter.Finish();
    }
}

void TResultatManager::CalcKlubStilling(const QStringList& codes, bool runde1, TPoints& total,
                                        TPoints* runde1Points, TPoints* detteStaevne) {
    const bool alle = codes.isEmpty() || codes.first().isEmpty();
    qint32 antalIGruppe = 0;
    qint32 antalMedPoint = 0;
    QString klasse;
    if (const TOvelseManager* ovelser = ModelContext().OvelseManager.get()) {
        for (const auto& [key, info] : ovelser->OvelseIndex()) {
            if (!alle && !codes.contains(info->GetOvelseKode()))
                continue;
            if (antalIGruppe++ == 0)
                klasse = info->GetKlasseKode();
            if (info->Points().Count() > 0)
                ++antalMedPoint;
            total.Merge(info->Points());
        }
    }
    total.AntalMedPoint = antalMedPoint;
    total.AntalIGruppe = antalIGruppe;
    total.Klasse = klasse;
    if (runde1 && CurrentSystemData().FlereRunder && runde1Points && detteStaevne) {
        detteStaevne->Merge(total);
        LoadKlubPointRunde1(*runde1Points);
        total.Merge(*runde1Points);
        runde1Points->Sort();
        detteStaevne->Sort();
    }
    total.Sort();
}

void TResultatManager::LoadKlubPointRunde1(TPoints& points) {
    points.Clear();
    TKlubTable& table = *klubTable_;
    for (bool found = table.First(); found; found = table.Next()) {
        const double point = table.GetField(KlubField::PointRunde1)->GetAsFloat();
        if (point == 0)
            continue;
        const QString klubNr = IntStr(table.GetField(KlubField::KlubNr)->GetAsInteger());
        points.Add(klubNr, klubNr, table.GetField(KlubField::Navn)->GetTrimmedString(), 0, point);
    }
}
