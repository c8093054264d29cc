// The result manager: its tables, loading, writing and deleting rows, lookups and the grid's rules.
#include "model/D_Result.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "model/D_Context.h"
#include "model/D_DBDefCodeFields.h"
#include "model/D_Ovelser.h"
#include "model/D_PointBeregning.h"
#include "model/D_ResultHold.h"
#include "model/D_ResultTable.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "storage/BtvTransaction.h"

#include <QRandomGenerator>

#include <algorithm>
#include <bitset>
#include <optional>
#include <unordered_map>

namespace {

constexpr int LodtraekningMax = 63999;
constexpr int PlaceringsPointTables = 4;
// The width of a column without an entry in the table.
constexpr int DefaultColumnWidth = 50;

const TStaevneManager* MeetManager() {
    return ModelContext().StaevneManager.get();
}

QChar FirstChar(const QString& text) {
    const QString trimmed = TrimBlanks(text);
    return trimmed.isEmpty() ? QChar() : trimmed.at(0);
}

QString WriteErrorText(const TResultat& row, int operation, int status) {
    return QStringLiteral("Fejl ved skrivning af resultat. Startnummer: %1, %2  Operation: %3  Return: %4")
        .arg(row.Startnummer)
        .arg(row.Navn)
        .arg(operation)
        .arg(status);
}

// Writes a code as it is, past the field class that would turn it into a word.
void SetKode(TField* field, const QString& kode) {
    static_cast<TStringField*>(field)->TStringField::SetAsString(kode);
}

QString GetKode(const TField* field) {
    QString kode = static_cast<const TStringField*>(field)->TStringField::GetAsString();
    // The blank code of most rows shares one constant: a status read over a big round then finds its
    // bytes at hand instead of one block per row.
    if (kode == u" ")
        return QStringLiteral(" ");
    return kode;
}

} // namespace

TResultatManager::TResultatManager()
    : resultatTable_(std::make_unique<TResultatRecordTable>())
    , random_(QRandomGenerator::global()->generate()) {
    resultatTable_->Open();
    const TSystemData& data = CurrentSystemData();
    for (const QString* text :
         {&data.PlaceringsPoint1, &data.PlaceringsPoint2, &data.PlaceringsPoint3, &data.PlaceringsPoint4})
        placeringsPoint_.push_back(text->isEmpty() ? nullptr : std::make_unique<TPlaceringsPoint>(*text));
    if (const TOvelseManager* ovelser = ModelContext().OvelseManager.get())
        CalcOvelseInfo(ovelser->KlasseIndex());
}

TResultatManager::~TResultatManager() {
    TResultatManager*& current = ModelContext().CurrentResultatManager;
    if (current == this)
        current = nullptr;
}

void TResultatManager::MakeCurrent() {
    ModelContext().CurrentResultatManager = this;
}

void TResultatManager::SetOvelseInfo(TOvelseInfo* info) {
    ovelseInfo_ = info;
}

const TPlaceringsPoint* TResultatManager::PlaceringsPoint(int table) const {
    return table >= 1 && table <= PlaceringsPointTables
               ? placeringsPoint_[static_cast<std::size_t>(table - 1)].get()
               : nullptr;
}

TDeltagerTable& TResultatManager::DeltagerTable2() {
    return *deltagerTable2_;
}

// ---------------------------------------------------------------- loading

void TResultatManager::Clear() {
    holdResultater_.reset();
    rows_.clear();
}

const TKlubData* TResultatManager::FindKlub(qint32 klubNr) {
    auto found = klubber_.find(klubNr);
    if (found == klubber_.end()) {
        std::optional<TKlubData> klub;
        TKlubTable& table = *klubTable_;
        if (table.FindStaevneKey(0, {klubNr})) {
            klub = TKlubData{table.GetField(KlubField::Navn)->GetTrimmedString(),
                             table.GetField(KlubField::KortNavn)->GetTrimmedString(),
                             table.GetField(KlubField::Adresse5)->GetTrimmedString(),
                             FirstChar(table.GetField(KlubField::HoldKode)->GetAsString())};
        }
        found = klubber_.emplace(klubNr, std::move(klub)).first;
    }
    return found->second ? &*found->second : nullptr;
}

std::unique_ptr<TResultat> TResultatManager::ReadRow(TOvelseInfo& info) {
    TResultatRecordTable& t = *resultatTable_;
    const auto integer = [&t](int fieldNo) { return t.GetField(fieldNo)->GetAsInteger(); };
    const auto text = [&t](int fieldNo) { return t.GetField(fieldNo)->GetTrimmedString(); };
    namespace F = ResultatField;

    auto row = std::make_unique<TResultat>(this, &info);
    TResultat& r = *row;
    r.stored_.Key = t.CurrentKey();
    r.Position = t.GetPosition();
    r.Startnummer = integer(F::Startnummer);
    r.Heat = static_cast<quint16>(integer(F::Heat));
    r.Efter = static_cast<quint16>(integer(F::Efteranmeldelse));
    r.RK = GetKode(t.GetField(F::ResultatKode));
    r.Bem = text(F::ResultatKom);
    r.Bem2 = text(F::ResultatKom2);
    r.Tusindedele = (integer(F::MilliSeconds1) << 8) | integer(F::MilliSeconds2);
    r.Seedning = integer(F::Seedning);
    r.SG = integer(F::SeedningsGruppe);
    r.Resultat = integer(F::Resultat);
    r.Reaktion = integer(F::Reaktion);
    r.PR = integer(F::PersonligRekord);
    r.PK = static_cast<quint16>(integer(F::PlKode));
    r.Plac = static_cast<quint16>(integer(F::Placering));
    r.Side = static_cast<quint16>(integer(F::Sidenummer));
    r.Bane = static_cast<quint16>(integer(F::Banenummer));
    r.VK = text(F::VidereKode);
    r.Point = t.GetField(F::Point)->GetAsFloat();
    r.Point3 = integer(F::Point3);
    r.VTPoint = integer(F::VTPoint);
    r.Vind = integer(F::Vind);
    r.Rank = static_cast<quint16>(integer(F::Rank));
    r.UK = GetKode(t.GetField(F::UdenforKonk));
    r.Klasse = r.stored_.Key.Klasse;
    r.Ovelse = r.stored_.Key.Ovelse;
    r.Runde = r.stored_.Key.Runde.isEmpty() ? QChar() : r.stored_.Key.Runde.at(0);
    r.Lodtraekning = static_cast<quint16>(std::uniform_int_distribution<int>(0, LodtraekningMax)(random_));

    TDeltagerTable& deltager = *deltagerTable_;
    if (deltager.FindStaevneKey(0, {r.Startnummer})) {
        r.stored_.HasDeltager = true;
        r.Navn = deltager.GetField(DeltagerField::Navn)->GetTrimmedString();
        r.Aargang = static_cast<quint16>(deltager.GetField(DeltagerField::Aargang)->GetAsInteger());
        r.Licensnummer = static_cast<quint16>(deltager.GetField(DeltagerField::Licensnummer)->GetAsInteger());
        r.Koen = FirstChar(deltager.GetField(DeltagerField::Koen)->GetAsString());
        r.KlubNr = deltager.GetField(DeltagerField::KlubNr)->GetAsInteger();
        if (const TKlubData* klub = FindKlub(r.KlubNr)) {
            r.Klub = klub->Navn;
            r.Holdkode = klub->HoldKode;
            r.KortNavn = klub->KortNavn;
            r.KlubAdresse5 = klub->Adresse5;
        }
    }

    r.stored_.Serie = t.Serie();
    const bool whole = r.Serier.LoadFromString(r.stored_.Serie);
    r.stored_.SerieDamaged = t.SerieShort() || !whole;
    // A damaged series keeps the stored result; a whole one gives it.
    if (!r.stored_.Serie.isEmpty() && !r.stored_.SerieDamaged) {
        try {
            r.CalcSerieResultat();
        } catch (const EResultError&) {
            // Its best attempt's wind does not fit the row's: damaged too, and nothing was changed.
            r.stored_.SerieDamaged = true;
        }
    }
    r.stored_.SerieEdited = false;
    return row;
}

void TResultatManager::ReadRound(TOvelseInfo& info, std::vector<std::unique_ptr<TResultat>>& into,
                                 QStringList* damaged) {
    TResultatRecordTable& table = *resultatTable_;
    for (bool found = table.FirstOfRound(info); found; found = table.NextOfRound()) {
        into.push_back(ReadRow(info));
        if (damaged && into.back()->IsSerieDamaged())
            damaged->append(IntStr(into.back()->Startnummer));
    }
}

void TResultatManager::ReportDamagedSerier(const QStringList& damaged) const {
    if (!damaged.isEmpty())
        ShowError(nullptr, QStringLiteral("Fejl ved indlæsning af serier. Startnummer: ") +
                               damaged.join(QStringLiteral(", ")));
}

void TResultatManager::ForgetLoaded() {
    holdResultater_.reset();
    rows_.clear();
    mkResultater_.clear();
    ovelser_.clear();
    if (!KeepKlubber)
        klubber_.clear();
}

void TResultatManager::OpenRoundTables() {
    // Before a read scope: a file's first opening in the process ends the reading.
    deltagerTable_.Open();
    klubTable_.Open();
}

void TResultatManager::LoadOvelse(TOvelseInfo* info) {
    QStringList damaged;
    {
        // The round's records, their participants and clubs read in one go; over before a box is shown.
        OpenRoundTables();
        const TBtvReadScope reading;
        ForgetLoaded();
        if (info) {
            ReadRound(*info, rows_, &damaged);
            ovelser_.push_back(info);
        }
        ClearModified();
        SetOvelseInfo(info);
        CalcPlacering();
        CalcMKResultater();
    }
    ReportDamagedSerier(damaged);
}

void TResultatManager::LoadOvelser(const std::vector<TOvelseInfo*>& ovelser) {
    QStringList damaged;
    {
        OpenRoundTables();
        const TBtvReadScope reading;
        ForgetLoaded();
        for (TOvelseInfo* info : ovelser) {
            if (!info || info->AntalDeltagere == 0)
                continue;
            ReadRound(*info, rows_, &damaged);
            ovelser_.push_back(info);
        }
        SetOvelseInfo(ovelser_.empty() ? nullptr : ovelser_.front());
        CalcMKResultater();
        ClearModified();
    }
    ReportDamagedSerier(damaged);
}

// ---------------------------------------------------------------- writing

void TResultatManager::WriteRow(TResultat& row, bool writePlaces, const std::optional<QByteArray>& serie) {
    TResultatRecordTable& t = *resultatTable_;
    namespace F = ResultatField;
    const auto set = [&t](int fieldNo, qint32 value) { t.GetField(fieldNo)->SetAsInteger(value); };
    t.ReadEntryAt(row.Position, row.stored_.Key);
    t.Edit();
    set(F::Startnummer, row.Startnummer);
    set(F::Efteranmeldelse, row.Efter);
    set(F::Heat, row.Heat);
    SetKode(t.GetField(F::ResultatKode), row.RK);
    t.GetField(F::ResultatKom)->SetAsString(row.Bem);
    t.GetField(F::ResultatKom2)->SetAsString(row.Bem2);
    set(F::MilliSeconds1, row.Tusindedele >> 8);
    set(F::MilliSeconds2, row.Tusindedele & 0xFF);
    set(F::Seedning, row.Seedning);
    set(F::SeedningsGruppe, row.SG);
    set(F::Rank, row.Rank);
    set(F::Resultat, row.Resultat);
    set(F::Reaktion, row.Reaktion);
    set(F::PersonligRekord, row.PR);
    set(F::Sidenummer, row.Side);
    set(F::Banenummer, row.Bane);
    t.GetField(F::VidereKode)->SetAsString(row.VK);
    t.GetField(F::Point)->SetAsFloat(row.Point);
    set(F::Point3, row.Point3);
    set(F::VTPoint, row.VTPoint);
    set(F::Vind, row.Vind);
    SetKode(t.GetField(F::UdenforKonk), row.UK);
    if (writePlaces) {
        set(F::PlKode, row.PK);
        set(F::Placering, row.Plac);
    }
    if (serie)
        t.PostWithSerie(*serie);
    else
        t.Post();
}

void TResultatManager::WriteDeltager(const TResultat& row) {
    TDeltagerTable& t = *deltagerTable_;
    if (!t.FindStaevneKey(0, {row.Startnummer}))
        return;
    t.Edit();
    t.GetField(DeltagerField::Navn)->SetAsString(row.Navn);
    t.GetField(DeltagerField::Aargang)->SetAsInteger(row.Aargang);
    t.GetField(DeltagerField::Licensnummer)->SetAsInteger(row.Licensnummer);
    t.GetField(DeltagerField::Koen)->SetAsString(row.Koen.isNull() ? QString() : QString(row.Koen));
    t.Post();
}

void TResultatManager::SaveResultater() {
    CalcPlacering();
    const bool writePlaces = ovelser_.size() == 1;
    struct TPending {
        TResultat* Row;
        bool Resultat;
        // The series to write behind the record; none leaves the stored one as it is.
        std::optional<QByteArray> Serie;
    };
    std::vector<TPending> pending;
    for (const auto& row : rows_) {
        const TResultat::TStored& stored = row->stored_;
        std::optional<QByteArray> serie;
        // A damaged series is written back only once it was edited.
        if (!stored.SerieDamaged || stored.SerieEdited) {
            row->RemoveEmptySerier();
            QByteArray blob = row->Serier.SaveToString();
            if (blob != stored.Serie || stored.SerieDamaged)
                serie = std::move(blob);
        }
        const bool resultat = row->Modified || serie.has_value();
        if (resultat || row->DeltagerModified)
            pending.push_back({row.get(), resultat, std::move(serie)});
    }

    const TResultat* writing = nullptr;
    try {
        TBtvTransaction transaction;
        for (const TPending& item : pending) {
            writing = item.Row;
            if (item.Resultat)
                WriteRow(*item.Row, writePlaces, item.Serie);
            if (item.Row->DeltagerModified)
                WriteDeltager(*item.Row);
        }
        transaction.Commit();
    } catch (const EBtvException& error) {
        resultatTable_->Cancel();
        if (deltagerTable_.IsOpen())
            deltagerTable_->Cancel();
        if (!writing)
            throw;
        throw EResultError(WriteErrorText(*writing, error.Operation(), error.Status()));
    } catch (...) {
        resultatTable_->Cancel();
        if (deltagerTable_.IsOpen())
            deltagerTable_->Cancel();
        throw;
    }

    for (const TPending& item : pending) {
        TResultat::TStored& stored = item.Row->stored_;
        if (item.Resultat)
            stored.Key.Startnummer = item.Row->Startnummer;
        if (item.Serie) {
            stored.Serie = *item.Serie;
            stored.SerieDamaged = false;
            stored.SerieEdited = false;
        }
    }
    UpdateOvelseInfo();
    ClearModified();
}

bool TResultatManager::DeleteResultat(int index) {
    if (index < 0 || index >= Count())
        return false;
    TResultat& row = *rows_[static_cast<std::size_t>(index)];
    TResultatRecordTable& table = *resultatTable_;
    const bool found = table.FindEntryAt(row.Position, row.stored_.Key);
    if (found)
        table.Delete();
    // The teams hold the row: they come back with the next placing.
    holdResultater_.reset();
    rows_.erase(rows_.begin() + index);
    UpdateOvelseInfo();
    return found;
}

// ---------------------------------------------------------------- rows

std::vector<TResultat*> TResultatManager::GetResultater() const {
    std::vector<TResultat*> rows;
    rows.reserve(rows_.size());
    for (const auto& row : rows_)
        rows.push_back(row.get());
    return rows;
}

TResultat* TResultatManager::GetResultat(int index) const {
    return index >= 0 && index < Count() ? rows_[static_cast<std::size_t>(index)].get() : nullptr;
}

namespace {

template <typename Rows, typename Match>
int FirstRowWhere(const Rows& rows, Match match) {
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return match(*row); });
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

template <typename Rows, typename Test>
bool AnyRow(const Rows& rows, Test test) {
    return std::any_of(rows.begin(), rows.end(), [&](const auto& row) { return test(*row); });
}

} // namespace

int TResultatManager::IndexOfStartnummer(qint32 startnummer) const {
    return FirstRowWhere(rows_, [=](const TResultat& r) { return r.Startnummer == startnummer; });
}

int TResultatManager::IndexOfHeatBane(qint32 heat, qint32 bane) const {
    return FirstRowWhere(rows_, [=](const TResultat& r) { return r.Heat == heat && r.Bane == bane; });
}

int TResultatManager::IndexOfHeatStartnummer(qint32 heat, qint32 startnummer) const {
    return FirstRowWhere(rows_,
                         [=](const TResultat& r) { return r.Heat == heat && r.Startnummer == startnummer; });
}

int TResultatManager::CountValid() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const auto& r) { return r->IsValid(); }));
}

int TResultatManager::GetHeatCount() const {
    std::bitset<MaxHeatNr + 1> heats;
    for (const auto& row : rows_) {
        if (row->IsValid() && row->Heat >= 1 && row->Heat <= MaxHeatNr)
            heats.set(row->Heat);
    }
    return static_cast<int>(heats.count());
}

int TResultatManager::CountHeat(qint32 heat) const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [heat](const auto& r) { return r->Heat == heat; }));
}

qint32 TResultatManager::GetHeatVind(qint32 heat) const {
    const auto last =
        std::find_if(rows_.rbegin(), rows_.rend(), [heat](const auto& r) { return r->Heat == heat; });
    return last == rows_.rend() ? 0 : (*last)->Vind;
}

bool TResultatManager::IsModified() const {
    return AnyRow(rows_, [](const TResultat& r) { return r.IsModified(); });
}

bool TResultatManager::HasHeat() const {
    return AnyRow(rows_, [](const TResultat& r) { return r.HasHeat(); });
}

bool TResultatManager::HasPoint() const {
    return AnyRow(rows_, [](const TResultat& r) { return r.HasPoint(); });
}

bool TResultatManager::HasReaktion() const {
    return AnyRow(rows_, [](const TResultat& r) { return r.HasReaktion(); });
}

bool TResultatManager::HasPRForbedring() const {
    return AnyRow(rows_, [](const TResultat& r) { return r.GetPRForbedring() != 0; });
}

bool TResultatManager::HasResultat() const {
    return AnyRow(rows_, [](const TResultat& r) { return r.HasResultat(); });
}

bool TResultatManager::HasSerier() const {
    return AnyRow(rows_, [](const TResultat& r) { return r.HasSerier(); });
}

void TResultatManager::AddKorrektion(qint32 delta) {
    for (const auto& row : rows_)
        row->CheckKorrektion(delta);
    for (const auto& row : rows_)
        row->AddKorrektion(delta);
}

void TResultatManager::ClearHeatBaneSide() {
    for (const auto& row : rows_) {
        row->SetHeat(0);
        row->SetSide(0);
        row->SetBane(0);
    }
}

void TResultatManager::ClearModified() {
    for (const auto& row : rows_) {
        row->Modified = false;
        row->DeltagerModified = false;
    }
}

// ---------------------------------------------------------------- clubs

QString TResultatManager::GetKlubNavn(qint32 klubNr) {
    const TKlubData* klub = FindKlub(klubNr);
    return klub ? klub->Navn : QString();
}

QString TResultatManager::GetKlubKortNavn(qint32 klubNr) {
    const TKlubData* klub = FindKlub(klubNr);
    if (!klub)
        return {};
    return klub->KortNavn.isEmpty() ? klub->Navn : klub->KortNavn;
}

QString TResultatManager::GetKlubTekst(qint32 klubNr) {
    return GetKlubKortNavn(klubNr);
}

// ---------------------------------------------------------------- the result grid

bool TResultatManager::IsColumnEnabled(TResultColumn column) const {
    switch (column) {
    case TResultColumn::Side:
        return ovelseInfo_ && ovelseInfo_->Ovelse().IsTidOvelse();
    case TResultColumn::VK:
        return ovelseInfo_ && ovelseInfo_->GetNextRunde() != QChar(0);
    case TResultColumn::Vind:
        return ovelseInfo_ && ovelseInfo_->HasVindmaaling();
    case TResultColumn::Holdkode:
        return MeetManager() && MeetManager()->IsHoldTurnering();
    default:
        return true;
    }
}

bool TResultatManager::IsColumnReadOnly(TResultColumn column) const {
    const TResultColumnDef* def = FindResultColumnDef(column);
    switch (def ? def->ReadOnly : TColumnReadOnly::Never) {
    case TColumnReadOnly::Always:
        return true;
    case TColumnReadOnly::SerieOvelse:
        return ovelseInfo_ && ovelseInfo_->Ovelse().IsSerieOvelse() &&
               !ovelseInfo_->Ovelse().IsStafetOvelse();
    case TColumnReadOnly::HoldTurnering:
        return MeetManager() && MeetManager()->IsDTVTLTUTurnering();
    case TColumnReadOnly::Never:
        break;
    }
    return false;
}

int TResultatManager::GetColumnWidth(TResultColumn column) const {
    const TResultColumnDef* def = FindResultColumnDef(column);
    return def ? def->Width : DefaultColumnWidth;
}

int TResultatManager::GetColumnMaxLength(TResultColumn column) const {
    return IsTextColumn(column) ? ResultColumnStorageSize(column) : 0;
}

Qt::Alignment TResultatManager::GetColumnAlignment(TResultColumn column) const {
    const TResultColumnDef* def = FindResultColumnDef(column);
    return def ? def->Alignment : Qt::AlignLeft;
}
