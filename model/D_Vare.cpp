#include "model/D_Vare.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"

#include <unordered_set>

namespace {

using E = TVareManagerErrorNo;
const TCodeText<TVareManagerErrorNo> ErrorTexts[] = {
    {E::GruppeUndefined, "Gruppe %s er ikke defineret i stævnet"},
    {E::VareUndefined, "Vare %s er ikke defineret i stævnet"},
};

// The first element, in the list's order, not marked for deletion whose field holds the number; it
// becomes current. The current element stays when none is found.
template <typename List>
auto FindNummer(List& list, int fieldNo, const QString& nummer, int& pos) -> decltype(list.GetElement(0)) {
    const QString wanted = TrimBlanks(nummer);
    for (int raw = 0; raw < list.GetCount(); ++raw) {
        TDataElement* element = list.GetRawElement(raw);
        if (!element->DeleteRequested && element->GetTrimmedString(fieldNo) == wanted) {
            pos = list.IndexOf(element);
            return list.GetElement(pos);
        }
    }
    pos = -1;
    return nullptr;
}

template <typename List>
auto AddNummer(List& list, int fieldNo, const QString& nummer) -> decltype(list.GetElement(0)) {
    int pos = -1;
    if (FindNummer(list, fieldNo, nummer, pos) != nullptr)
        return nullptr;
    const int raw = list.AddNew();
    TDataElement* element = list.GetRawElement(raw);
    try {
        element->GetField(fieldNo)->SetAsString(TrimBlanks(nummer));
    } catch (...) {
        // No number: the element is dropped by the next save and found by no one meanwhile.
        element->DeleteRequested = true;
        throw;
    }
    return list.GetElement(list.IndexOf(element));
}

QString Quoted(qint32 nummer) {
    return u'"' + QString::number(nummer) + u'"';
}

// Marks the element for deletion unless it is in use; then the refusal is shown.
bool MarkDeleted(TDataElement& element, bool used, const QString& refusal) {
    if (used) {
        ShowError(nullptr, refusal);
        return false;
    }
    element.DeleteRequested = true;
    return true;
}

} // namespace

EVareManagerError::EVareManagerError(TVareManagerErrorNo errorNo, const QString& nummer)
    : ECodedError(errorNo, QStringLiteral("Object: TVareManager") + CrLf +
                               FormatErrorText(CodeText(ErrorTexts, errorNo), {nummer})) {}

TVareManager::TVareManager() {
    gruppeTable_.Open();
    vareTable_.Open();
    Load();
}

TVareManager::~TVareManager() = default;

void TVareManager::Load() {
    gruppeList_.LoadFromTable();
    vareList_.LoadFromTable();
}

bool TVareManager::Save() {
    // Goods first: a group goes only after the goods that used it.
    const bool vareSaved = vareList_.SaveAll();
    return gruppeList_.SaveAll() && vareSaved;
}

bool TVareManager::IsChanged() const {
    return gruppeList_.IsModified() || vareList_.IsModified();
}

bool TVareManager::FindGruppe(const QString& gruppe, int& pos) {
    return FindNummer(gruppeList_, GruppeField::Gruppe, gruppe, pos) != nullptr;
}

bool TVareManager::FindVare(const QString& varenummer, int& pos) {
    return FindNummer(vareList_, VareField::Varenummer, varenummer, pos) != nullptr;
}

TGruppeElement* TVareManager::AddGruppe(const QString& gruppe) {
    return AddNummer(gruppeList_, GruppeField::Gruppe, gruppe);
}

TVareElement* TVareManager::AddVare(const QString& varenummer) {
    return AddNummer(vareList_, VareField::Varenummer, varenummer);
}

TGruppeElement* TVareManager::CurrentGruppe() const {
    return static_cast<TGruppeElement*>(gruppeList_.GetCurrent());
}

TVareElement* TVareManager::CurrentVare() const {
    return static_cast<TVareElement*>(vareList_.GetCurrent());
}

TGruppeElement& TVareManager::SelectGruppe(const QString& gruppe) {
    int pos = -1;
    if (TGruppeElement* element = FindNummer(gruppeList_, GruppeField::Gruppe, gruppe, pos))
        return *element;
    throw EVareManagerError(E::GruppeUndefined, TrimBlanks(gruppe));
}

TVareElement& TVareManager::SelectVare(const QString& varenummer) {
    int pos = -1;
    if (TVareElement* element = FindNummer(vareList_, VareField::Varenummer, varenummer, pos))
        return *element;
    throw EVareManagerError(E::VareUndefined, TrimBlanks(varenummer));
}

bool TVareManager::IsGruppeUsed(qint32 gruppe) {
    // The loaded goods as they will be stored; the stored goods the list holds are judged by it.
    std::unordered_set<quint32> held;
    for (int raw = 0; raw < vareList_.GetCount(); ++raw) {
        const TDataElement* vare = vareList_.GetRawElement(raw);
        if (!vare->IsNew)
            held.insert(vare->Position);
        if (!vare->DeleteRequested && vare->GetField(VareField::Gruppe)->GetAsInteger() == gruppe)
            return true;
    }
    for (bool found = vareTable_.First(); found; found = vareTable_.Next()) {
        if (vareTable_.GetField(VareField::Gruppe)->GetAsInteger() == gruppe &&
            !held.contains(vareTable_.GetPosition()))
            return true;
    }
    return false;
}

bool TVareManager::IsVareUsed(qint32 varenummer) {
    if (!klubkobTable_) {
        klubkobTable_ = std::make_unique<TKlubkobTable>();
        klubkobTable_->Open();
    }
    TKlubkobTable& table = *klubkobTable_;
    constexpr int varenummerKey = 1;
    if (table.GetIndexCount() > varenummerKey)
        return table.FindStaevneKey(varenummerKey, {varenummer});
    // A file of an older installation may lack that key: the meet's purchases one by one.
    for (bool found = table.First(); found; found = table.Next()) {
        if (table.GetField(KlubkobField::Varenummer)->GetAsInteger() == varenummer)
            return true;
    }
    return false;
}

bool TVareManager::DeleteGruppe(TGruppeElement& gruppe) {
    const qint32 nummer = gruppe.GetField(GruppeField::Gruppe)->GetAsInteger();
    return MarkDeleted(gruppe, IsGruppeUsed(nummer),
                       QStringLiteral("Kan ikke slette gruppe ") + Quoted(nummer) +
                           QStringLiteral(", da den er i brug."));
}

bool TVareManager::DeleteVare(TVareElement& vare) {
    const qint32 nummer = vare.GetField(VareField::Varenummer)->GetAsInteger();
    return MarkDeleted(vare, IsVareUsed(nummer),
                       QStringLiteral("Kan ikke slette vare ") + Quoted(nummer) +
                           QStringLiteral(", da der findes registreringer på varen."));
}
