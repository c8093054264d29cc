// The counters of a round and its club points, from its stored records or from its loaded rows through
// one count, and the club standings of a group of events.
#include "model/D_Result.h"

#include "foundation/LxString.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
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

class TRecordEntry : public TRoundEntry {
public:
    TRecordEntry(const TResultatRecordTable& record, TDeltagerTable& deltager)
        : record_(record)
        , deltager_(deltager) {}
    QString ResultatKode() const override {
        const TField* field = record_.GetField(ResultatField::ResultatKode);
        // Most entries have no code: their bytes say so without a text made.
        std::array<char, 16> bytes{};
        const auto size = static_cast<std::size_t>(field->Size);
        if (size <= bytes.size() && field->ReadBytes(bytes.data()) &&
            std::all_of(bytes.begin(), bytes.begin() + size, [](char b) { return b == 0 || b == ' '; }))
            return {};
        return static_cast<const TStringField*>(field)->TStringField::GetAsString();
    }
    qint32 Heat() const override { return Integer(ResultatField::Heat); }
    qint32 Resultat() const override { return Integer(ResultatField::Resultat); }
    // The series as far as it reads, as a loaded row holds it.
    bool HasSerie() const override {
        TSerier serier;
        serier.LoadFromString(record_.Serie());
        return serier.Count() > 0;
    }
    double Point() const override { return record_.GetField(ResultatField::Point)->GetAsFloat(); }
    qint32 Placering() const override { return Integer(ResultatField::Placering); }
    bool KlubNr(qint32& klubNr) const override {
        if (!deltager_.FindStaevneKey(0, {Integer(ResultatField::Startnummer)}))
            return false;
        klubNr = deltager_.GetField(DeltagerField::KlubNr)->GetAsInteger();
        return true;
    }

private:
    qint32 Integer(int fieldNo) const { return record_.GetField(fieldNo)->GetAsInteger(); }

    const TResultatRecordTable& record_;
    TDeltagerTable& deltager_;
};

// A record's class, event and round letter as stored, byte for byte: the records of one round share
// them, so a record whose bytes are the last one's belongs to the same rounds without a text made.
class TRoundBytes {
public:
    // False when the fields do not fit (then the record is looked up by its texts).
    bool Read(const TDataTable& table) {
        bytes_.fill(0);
        std::size_t at = 0;
        for (const int fieldNo : {ResultatField::Klasse, ResultatField::Ovelse, ResultatField::Runde}) {
            const TField* field = table.GetField(fieldNo);
            const auto size = static_cast<std::size_t>(field->Size);
            if (at + size > bytes_.size() || !field->ReadBytes(bytes_.data() + at))
                return false;
            at += size;
        }
        return true;
    }
    bool operator==(const TRoundBytes&) const = default;

private:
    std::array<char, 32> bytes_{};
};

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
        const QString kode = ParseResKode(TrimBlanks(entry.ResultatKode()));
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
        const qint32 prHeat = info_.GetAntalPrHeat();
        if (info_.AntalHeat == 0 && info_.AntalAktiveDeltagere >= 1 && prHeat >= 1)
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
    std::unordered_map<QString, std::vector<std::size_t>> roundsOf;
    std::vector<std::unique_ptr<TRoundCounter>> counters;
    std::vector<TDateTime> sidstRettet;
    const auto key = [](const QString& klasse, const QString& ovelse, const QString& runde) {
        return klasse + u'\n' + ovelse + u'\n' + runde;
    };
    for (const auto& [indexKey, info] : ovelser) {
        const TOvelseRnElement& runde = info->OvelseRn();
        roundsOf[key(runde.GetTrimmedString(OvelseRnField::Klasse),
                     runde.GetTrimmedString(OvelseRnField::Ovelse),
                     TrimmedRunde(runde.GetField(OvelseRnField::Runde)->GetAsString()))]
            .push_back(counters.size());
        counters.push_back(std::make_unique<TRoundCounter>(*info));
        sidstRettet.push_back(0);
    }
    TResultatRecordTable& table = *resultatTable_;
    static const std::vector<std::size_t> noRounds;
    TRoundBytes last;
    TRoundBytes bytes;
    bool lastRead = false;
    const std::vector<std::size_t>* rounds = nullptr;
    // The whole meet read in one go.
    const TBtvReadScope reading;
    for (bool found = table.FirstOfMeet(CurrentStID()); found; found = table.NextOfMeet()) {
        // The records of a round come together: one text key and one lookup per round.
        const bool read = bytes.Read(table);
        if (!rounds || !read || !lastRead || !(bytes == last)) {
            const QString recordKey = key(table.GetField(ResultatField::Klasse)->GetTrimmedString(),
                                          table.GetField(ResultatField::Ovelse)->GetTrimmedString(),
                                          TrimmedRunde(table.GetField(ResultatField::Runde)->GetAsString()));
            const auto of = roundsOf.find(recordKey);
            rounds = of == roundsOf.end() ? &noRounds : &of->second;
            last = bytes;
            lastRead = read;
        }
        if (rounds->empty())
            continue;
        const TRecordEntry entry(table, *deltagerTable_);
        const TDateTime rettet = table.GetField(ResultatField::SidstRettet)->GetAsFloat();
        for (const std::size_t round : *rounds) {
            counters[round]->Add(entry);
            sidstRettet[round] = std::max(sidstRettet[round], rettet);
        }
    }
    std::size_t round = 0;
    for (const auto& [indexKey, info] : ovelser) {
        counters[round]->Finish();
        info->SidstRettet = sidstRettet[round++];
    }
}

void TResultatManager::CalcOvelseInfo(TOvelseInfo& info) {
    TRoundCounter counter(info);
    TDateTime sidstRettet = 0;
    TResultatRecordTable& table = *resultatTable_;
    const TBtvReadScope reading;
    for (bool found = table.FirstOfRound(info); found; found = table.NextOfRound()) {
        counter.Add(TRecordEntry(table, *deltagerTable_));
        sidstRettet = std::max(sidstRettet, table.GetField(ResultatField::SidstRettet)->GetAsFloat());
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
