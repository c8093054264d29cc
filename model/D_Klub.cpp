#include "model/D_Klub.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "model/D_Context.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace {

// Keys of the record files, each beginning with StID.
// KLUB.ZU2, KLUBKOB.ZU2 and BETALING.ZU2: the club number.
constexpr int KlubNrKey = 0;
constexpr int DeltagerStartnummerKey = 0;
constexpr int DeltagerKlubNrKey = 1;
constexpr int ResultatStartnummerKey = 1;

const QString NyKlubNavn = QStringLiteral("Ny klub");
const QString KlubHarDataText =
    QStringLiteral("Der må ikke være registreret informationer på klubben, når den skal slettes");

// The event row's fees of one price group.
struct TGebyrFields {
    int Startgebyr;
    int Efteranmgebyr;
    int Strafgebyr;
};
constexpr std::array<TGebyrFields, 2> PrisgruppeFields = {{
    {OvelseRkField::Startgebyr1, OvelseRkField::Efteranmgebyr1, OvelseRkField::Strafgebyr1},
    {OvelseRkField::Startgebyr2, OvelseRkField::Efteranmgebyr2, OvelseRkField::Strafgebyr2},
}};

// The current meet's entry in a memory of the run's highest numbers.
qint32& HighestInRun(std::map<qint32, qint32>& highest) {
    return highest[CurrentStID()];
}

qint32 IntegerOf(const TDataElement& element, int fieldNo) {
    return element.GetField(fieldNo)->GetAsInteger();
}

// Adds every record of the current meet whose key keyNo continues with the number.
void AddMatching(TZunoDataTable& table, TDataList& list, int keyNo, qint64 number) {
    for (bool found = table.FindStaevneKey(keyNo, {number}); found; found = table.NextStaevneKey())
        list.AddCurrent();
}

// An element of the list, not marked for deletion, whose field holds the number.
bool HasLive(const TDataList& list, int fieldNo, qint32 number) {
    for (int raw = 0; raw < list.GetCount(); ++raw) {
        const TDataElement* element = list.GetRawElement(raw);
        if (!element->DeleteRequested && !element->Deleted && IntegerOf(*element, fieldNo) == number)
            return true;
    }
    return false;
}

} // namespace

TKlubManager::TKlubManager(qint32 klubNr) {
    klubTable_.Open();
    deltagerTable_.Open();
    resultatTable_.Open();
    klubkobTable_.Open();
    betalingTable_.Open();
    if (klubNr < 0) {
        klubList_.LoadFromTable();
    } else if (klubTable_.FindStaevneKey(KlubNrKey, {klubNr})) {
        klubList_.AddCurrent();
        SelectKlub(GetKlub(0), DeltagerField::Navn);
    }
    vareManager_ = std::make_unique<TVareManager>();
}

TKlubManager::~TKlubManager() = default;

// ---------------------------------------------------------------- clubs

TKlubElement& TKlubManager::GetKlub(int index) {
    return *klubList_.GetElement(index);
}

TKlubElement* TKlubManager::GetCurrentKlub() const {
    return static_cast<TKlubElement*>(klubList_.GetCurrent());
}

qint32 TKlubManager::CurrentKlubNr() const {
    const TKlubElement* klub = GetCurrentKlub();
    return klub != nullptr ? IntegerOf(*klub, KlubField::KlubNr) : -1;
}

void TKlubManager::SelectKlub(TKlubElement& klub, int order) {
    klubList_.IndexOf(&klub);
    LoadKlubData(IntegerOf(klub, KlubField::KlubNr), order);
}

void TKlubManager::LoadKlubData(qint32 klubNr, int order) {
    deltagerList_.Clear();
    resultatList_.Clear();
    klubkobList_.Clear();
    betalingList_.Clear();
    TDataListIndex* deltagerOrder = deltagerList_.SetIndex({order});
    if (klubNr < 0) {
        ResetTrackers();
        return;
    }
    AddMatching(deltagerTable_, deltagerList_, DeltagerKlubNrKey, klubNr);
    deltagerList_.Resort();
    // The results in participant order; a start number that two participants share is read once.
    std::unordered_set<qint32> read;
    for (const int raw : deltagerOrder->Map()) {
        const qint32 startnummer = IntegerOf(*deltagerList_.GetRawElement(raw), DeltagerField::Startnummer);
        if (read.insert(startnummer).second)
            AddMatching(resultatTable_, resultatList_, ResultatStartnummerKey, startnummer);
    }
    AddMatching(klubkobTable_, klubkobList_, KlubNrKey, klubNr);
    AddMatching(betalingTable_, betalingList_, KlubNrKey, klubNr);
    ResetTrackers();
}

TKlubElement& TKlubManager::NewKlub() {
    qint32 highest = 0;
    if (klubTable_.LastStaevneKey(KlubNrKey))
        highest = klubTable_.GetField(KlubField::KlubNr)->GetAsInteger();
    qint32& highestInRun = HighestInRun(ModelContext().HighestKlubNr);
    const qint32 klubNr = std::max(highest, highestInRun) + 1;

    TTableWork work(klubTable_);
    klubTable_.Insert();
    klubTable_.GetField(KlubField::StID)->SetAsInteger(CurrentStID());
    klubTable_.GetField(KlubField::KlubNr)->SetAsInteger(klubNr);
    klubTable_.GetField(KlubField::Navn)->SetAsString(NyKlubNavn);
    klubTable_.Post();
    work.Done();
    highestInRun = klubNr;

    klubList_.AddCurrent();
    return *GetCurrentKlub();
}

bool TKlubManager::HasKlubData(qint32 klubNr) {
    return HasLive(deltagerList_, DeltagerField::KlubNr, klubNr) ||
           HasLive(klubkobList_, KlubkobField::Klubnr, klubNr) ||
           HasLive(betalingList_, BetalingField::Klubnr, klubNr) ||
           deltagerTable_.FindStaevneKey(DeltagerKlubNrKey, {klubNr}) ||
           klubkobTable_.FindStaevneKey(KlubNrKey, {klubNr}) ||
           betalingTable_.FindStaevneKey(KlubNrKey, {klubNr});
}

bool TKlubManager::DeleteKlub() {
    TKlubElement* klub = GetCurrentKlub();
    if (klub == nullptr)
        return false;
    const qint32 klubNr = IntegerOf(*klub, KlubField::KlubNr);
    if (HasKlubData(klubNr)) {
        ShowError(nullptr, KlubHarDataText);
        return false;
    }
    klub->DeleteRequested = true;
    // The club's own delete first: a failure (shown by Save) leaves it in place and unmarked.
    if (!klub->Save()) {
        klub->DeleteRequested = false;
        return false;
    }
    qint32& highestInRun = HighestInRun(ModelContext().HighestKlubNr);
    highestInRun = std::max(highestInRun, klubNr);
    klubList_.SaveAll();
    return true;
}

// ---------------------------------------------------------------- the club's data

TDeltagerElement& TKlubManager::GetDeltager(int index) {
    return *deltagerList_.GetElement(index);
}

TResultatElement& TKlubManager::GetResultat(int index) {
    return *resultatList_.GetElement(index);
}

TResultatElement* TKlubManager::GetCurrentResultat() const {
    return static_cast<TResultatElement*>(resultatList_.GetCurrent());
}

TKlubkobElement& TKlubManager::GetKlubkob(int index) {
    return *klubkobList_.GetElement(index);
}

TKlubkobElement* TKlubManager::GetCurrentKlubkob() const {
    return static_cast<TKlubkobElement*>(klubkobList_.GetCurrent());
}

TBetalingElement& TKlubManager::GetBetaling(int index) {
    return *betalingList_.GetElement(index);
}

int TKlubManager::BindNew(TZunoDataList& list, int fieldNo) {
    const int raw = list.AddNew();
    if (const qint32 klubNr = CurrentKlubNr(); klubNr >= 0 && fieldNo >= 0)
        list.GetRawElement(raw)->GetField(fieldNo)->SetAsInteger(klubNr);
    // A new element stands last in every order until the next sort.
    return list.GetCount() - 1;
}

int TKlubManager::NewDeltager() {
    return BindNew(deltagerList_, DeltagerField::KlubNr);
}

int TKlubManager::NewResultat() {
    return BindNew(resultatList_, -1);
}

int TKlubManager::NewKlubkob() {
    return BindNew(klubkobList_, KlubkobField::Klubnr);
}

int TKlubManager::NewBetaling() {
    return BindNew(betalingList_, BetalingField::Klubnr);
}

void TKlubManager::NoteDeletedStartnumre() {
    qint32& highestInRun = HighestInRun(ModelContext().HighestStartnummer);
    for (int raw = 0; raw < deltagerList_.GetCount(); ++raw) {
        const TDataElement* deltager = deltagerList_.GetRawElement(raw);
        if (!deltager->DeleteRequested || deltager->IsNew)
            continue;
        // The number as stored, whatever was typed over it since.
        const int offset = deltager->GetField(DeltagerField::Startnummer)->Offset;
        highestInRun = std::max(highestInRun, loadLE<qint32>(deltager->Buffer()->Saved() + offset));
    }
}

void TKlubManager::MarkDeleted(TDataElement& element) {
    element.DeleteRequested = true;
    if (TKlubDataTracker* tracker = TrackerOf(element))
        tracker->NoteDelete();
}

template <typename List>
bool TKlubManager::SaveList(TKlubDataList<List>& list, bool whole) {
    TKlubDataTracker& tracker = list.Tracker();
    std::vector<TDataElement*> changed;
    if (whole || !tracker.Changed(changed)) {
        const bool saved = list.SaveAll();
        tracker.SavedWhole(saved);
        return saved;
    }
    bool saved = true;
    for (TDataElement* element : changed) {
        const bool wasNew = element->IsNew;
        if (!element->Save())
            saved = false;
        else if (wasNew)
            tracker.Written(*element);
    }
    tracker.Saved();
    return saved;
}

bool TKlubManager::Save(bool whole) {
    std::vector<TDataElement*> unused;
    const bool deletes = whole || !deltagerList_.Tracker().Changed(unused);
    if (deletes)
        NoteDeletedStartnumre();
    // Taken before the participants are written: then the stored numbers are the new ones.
    const std::map<qint32, qint32> moves = StartnummerMoves(deletes);
    bool saved = klubList_.SaveAll();
    const bool deltagereSaved = SaveList(deltagerList_, whole);
    saved = SaveList(resultatList_, whole) && deltagereSaved && saved;
    saved = SaveList(klubkobList_, whole) && saved;
    saved = SaveList(betalingList_, whole) && saved;
    // The legs follow only numbers that are stored.
    if (!moves.empty() && deltagereSaved)
        saved = CarryStafetStartnumre(moves) && saved;
    return saved;
}

bool TKlubManager::SaveAll() {
    return Save(true);
}

bool TKlubManager::SaveChanges() {
    return Save(false);
}

bool TKlubManager::IsChanged() const {
    return klubList_.IsModified() || deltagerList_.IsModified() || resultatList_.IsModified() ||
           klubkobList_.IsModified() || betalingList_.IsModified();
}

TKlubDataTracker* TKlubManager::TrackerOf(const TDataElement& element) {
    const TDataTable* table = &element.Table();
    if (table == &deltagerTable_)
        return &deltagerList_.Tracker();
    if (table == &resultatTable_)
        return &resultatList_.Tracker();
    if (table == &klubkobTable_)
        return &klubkobList_.Tracker();
    if (table == &betalingTable_)
        return &betalingList_.Tracker();
    return nullptr;
}

void TKlubManager::ResetTrackers() {
    deltagerList_.Tracker().Reset();
    resultatList_.Tracker().Reset();
    klubkobList_.Tracker().Reset();
    betalingList_.Tracker().Reset();
}

// ---------------------------------------------------------------- numbers, fees, amounts

qint32 TKlubManager::GetNextStartnummer() {
    qint32 next = 1;
    if (deltagerTable_.LastStaevneKey(DeltagerStartnummerKey))
        next = std::max(next, deltagerTable_.GetField(DeltagerField::Startnummer)->GetAsInteger() + 1);
    next = std::max(next, HighestInRun(ModelContext().HighestStartnummer) + 1);
    // Participants not yet stored, or stored with another number since.
    if (const std::optional<qint32> highest = deltagerList_.Tracker().HighestKey();
        highest && *highest >= next)
        next = *highest + 1;
    return next;
}

double TKlubManager::CalcStartgebyr(const TOvelseRkElement& ovelseRk) const {
    const TResultatElement* resultat = GetCurrentResultat();
    if (resultat == nullptr || !TrimBlanks(resultat->GetField(ResultatField::Runde)->GetAsString()).isEmpty())
        return 0;
    const TKlubElement* klub = GetCurrentKlub();
    const bool prisgruppe2 = klub != nullptr && IntegerOf(*klub, KlubField::Prisgruppe) != 0;
    const TGebyrFields& gebyr = PrisgruppeFields[prisgruppe2 ? 1 : 0];
    const auto* kode = dynamic_cast<const TResKodeField*>(resultat->GetField(ResultatField::ResultatKode));
    const auto fee = [&ovelseRk](int fieldNo) { return ovelseRk.GetField(fieldNo)->GetAsFloat(); };

    double belob = 0;
    if (kode == nullptr || !kode->IsCodeV())
        belob = IntegerOf(*resultat, ResultatField::Efteranmeldelse) == 0 ? fee(gebyr.Startgebyr)
                                                                          : fee(gebyr.Efteranmgebyr);
    if (kode != nullptr && kode->IsCodeE())
        belob += fee(gebyr.Strafgebyr);
    return belob;
}

double TKlubManager::CalcKlubkobBelob() {
    const TKlubkobElement* klubkob = GetCurrentKlubkob();
    if (klubkob == nullptr || !vareManager_)
        return 0;
    int pos = -1;
    if (!vareManager_->FindVare(klubkob->GetField(KlubkobField::Varenummer)->GetAsString(), pos))
        return 0;
    return IntegerOf(*klubkob, KlubkobField::Antal) *
           vareManager_->CurrentVare()->GetField(VareField::Pris)->GetAsFloat();
}
