#include "model/D_Ovelser.h"

#include "foundation/CodeText.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/PathResolver.h"
#include "model/D_Context.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "storage/BtvTransaction.h"

#include <QDir>

#include <algorithm>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

namespace {

using E = TOvelseManagerErrorNo;
const TCodeText<TOvelseManagerErrorNo> ErrorTexts[] = {
    {E::KlasseUndefined, "Klasse \"%s\" er ikke defineret i stævnet"},
    {E::OvelseUndefined, "Øvelse \"%s\" er ikke defineret i stævnet"},
    {E::AttributUndefined, "Øvelse \"%s\" attribut %s er ikke defineret i stævnet"},
    {E::OvelseRkUndefined, "Klasse \"%s\" og øvelse \"%s\" er ikke defineret i stævnets øvelsesrække"},
    {E::AttributRkUndefined,
     "Klasse \"%s\", øvelse \"%s\" og attribut \"%s\" er ikke defineret i stævnets øvelsesrække"},
    {E::KodeRkUndefined,
     "Klasse \"%s\", øvelse \"%s\" og kode \"%s\" er ikke defineret i stævnets øvelsesrække"},
    {E::AfvStedUndefined, "Afviklingssted \"%s\" er ikke defineret i stævnet"},
};

QString Code(const QString& code) {
    return TrimBlanks(code).toUpper();
}

// The first element, in the list's current order, whose fields, trimmed and upper-cased as codes are
// compared, equal the codes; through the list's map of those fields.
template <typename List>
auto FindByCodes(List& list, const std::vector<int>& fieldNos, const QStringList& codes, int* pos)
    -> decltype(list.GetElement(0)) {
    using Element = std::remove_pointer_t<decltype(list.GetElement(0))>;
    return static_cast<Element*>(list.FindCodes(fieldNos, codes, pos));
}

} // namespace

EOvelseManagerError::EOvelseManagerError(TOvelseManagerErrorNo errorNo, const QStringList& args)
    : Exception(QStringLiteral("Object = <TKlOvManager>") + CrLf +
                QStringLiteral("<OvelseManager-ErrorNo> = ") + QString::number(static_cast<int>(errorNo)) +
                CrLf + FormatErrorText(CodeText(ErrorTexts, errorNo), args))
    , errorNo_(static_cast<quint16>(errorNo))
    , text_(FormatErrorText(CodeText(ErrorTexts, errorNo), args)) {}

// ---------------------------------------------------------------- life

// Opens the file's table and makes its list.
template <typename List>
List* TOvelseManager::AddList(TRecordFileNo file) {
    auto& table = tables_.emplace_back(std::make_unique<TZunoDataTable>(RecordFileDef(file)));
    table->Open();
    auto list = std::make_unique<List>(*table);
    List* own = list.get();
    lists_.push_back(std::move(list));
    return own;
}

TOvelseManager::TOvelseManager()
    : ovelseList_(AddList<TOvelseList>(TRecordFileNo::Ovelse))
    , ovDefList_(AddList<TOvDefList>(TRecordFileNo::OvDef))
    , klasseList_(AddList<TKlasseList>(TRecordFileNo::Klasse))
    , ovelseRkList_(AddList<TOvelseRkList>(TRecordFileNo::OvelseRk))
    , ovelseRnList_(AddList<TOvelseRnList>(TRecordFileNo::OvelseRn))
    , afvStedList_(AddList<TAfvStedList>(TRecordFileNo::AfvSted)) {
    ovelseList_->LoadFromTable();
    ovDefList_->LoadFromTable();
    ModelContext().OnStaevneChanged = [this] { Reload(); };
}

TOvelseManager::~TOvelseManager() {
    ModelContext().OnStaevneChanged = nullptr;
    ClearIndexes();
    infos_.clear();
    rekorder_.clear();
    lists_.clear();
}

void TOvelseManager::Reload() {
    const TModelContext& context = ModelContext();
    if (context.CurrentStID >= 0)
        TStaevneManager::MakeStaevneDir(context.StaevneDir, context.CurrentStID);
    reloadedStID_ = -1;
    // Taken first: a change made while the lists are read makes the next ReloadIfChanged read again.
    std::vector<quint32> changes = ChangeCounts();
    ReloadLists();
    LoadRekorder();
    BuildInfos();
    reloadedStID_ = context.CurrentStID;
    reloadedChanges_ = std::move(changes);
}

bool TOvelseManager::ReloadIfChanged() {
    if (reloadedStID_ >= 0 && reloadedStID_ == ModelContext().CurrentStID &&
        ChangeCounts() == reloadedChanges_)
        return false;
    Reload();
    return true;
}

std::vector<quint32> TOvelseManager::ChangeCounts() const {
    // One read transaction per file, not one per question a file's count asks of it.
    const TBtvReadScope reading;
    std::vector<quint32> counts;
    counts.reserve(tables_.size());
    for (const auto& table : tables_)
        counts.push_back(table->GetChangeCount());
    return counts;
}

void TOvelseManager::ReloadLists() {
    // The infos point into the lists.
    ClearIndexes();
    infos_.clear();
    {
        // One read transaction per file for the whole list, not one per batch of records.
        const TBtvReadScope reading;
        for (const auto& list : lists_)
            list->LoadFromTable();
    }
    afvStedList_->SetIndex({AfvStedField::Sortkode});
    klasseList_->SetIndex({KlasseField::Sortkode});
}

bool TOvelseManager::IsModified() const {
    return std::any_of(lists_.begin(), lists_.end(), [](const auto& list) { return list->IsModified(); });
}

bool TOvelseManager::Save() {
    const bool changed = IsModified();
    // One reading of the clock stamps every record of the save.
    const TClockScope clock(ModelContext().Now());
    // The meet's programme first, the catalogue after it.
    bool saved = true;
    for (const bool staevneBound : {true, false}) {
        for (const auto& list : lists_) {
            if (list->IsStaevneBound() == staevneBound)
                saved = list->SaveAll() && saved;
        }
    }
    if (const TModelContext& context = ModelContext(); changed && context.StaevneManager)
        context.StaevneManager->SetOvelseRettet(context.Now());
    return saved;
}

// ---------------------------------------------------------------- building the infos

void TOvelseManager::LoadRekorder() {
    rekorder_.clear();
    QStringList names = CurrentSystemData().RekordFilenames.split(u';');
    // Only names ended by ";" count.
    names.removeLast();
    for (const QString& entry : names) {
        const QString name = TrimBlanks(entry);
        if (name.isEmpty())
            continue;
        auto rekorder = std::make_unique<TRekorder>();
        if (!rekorder->LoadFromFile(RekorderName(ModelContext().ProgramDir, name))) {
            ShowError(nullptr, QStringLiteral("Rekordfilen ") + name +
                                   QStringLiteral(".TXT findes ikke i mappen \"_rekorder\" og bruges ikke."));
            continue;
        }
        rekorder_.push_back(std::move(rekorder));
    }
}

void TOvelseManager::ClearIndexes() {
    for (TOvelseInfoIndex& index : index_)
        index.Clear();
    byKlasseOvelse_.clear();
}

void TOvelseManager::IndexInfos() {
    ClearIndexes();
    for (std::size_t i = 0; i < infos_.size(); ++i) {
        TOvelseInfo& info = infos_[i];
        const TOvelseInfo::TIndexKeys keys = info.GetIndexKeys();
        index_[0].Append(keys.Klasse, &info);
        index_[1].Append(keys.Ovelse, &info);
        index_[2].Append(keys.Tid, &info);
        index_[3].Append(keys.StedTid, &info);
        index_[4].Append(keys.Kode, &info);
        if (keys.HasMK)
            index_[5].Append(keys.MK, &info);
    }
    for (TOvelseInfoIndex& index : index_)
        index.Sort();
}

void TOvelseManager::LinkMangekamp() {
    const TOvelseInfoIndex& index = index_[5];
    // The run of entries with the same combined event that each entry ends.
    int runStart = 0;
    QString runOvelse;
    for (int i = 0; i < index.Count(); ++i) {
        TOvelseInfo* info = index.GetItem(i);
        const QString mkOvelse = info->GetMKOvelse().toUpper();
        if (i == 0 || mkOvelse != runOvelse) {
            runStart = i;
            runOvelse = mkOvelse;
        }
        std::vector<TOvelseInfo*>& siblings = info->MKOvelser();
        siblings.clear();
        for (int j = runStart; j < i; ++j)
            siblings.push_back(index.GetItem(j));
    }
}

void TOvelseManager::AttachRekorder() {
    // The infos are new: without records lists there is nothing to attach.
    if (rekorder_.empty())
        return;
    // Every entry of an event, also those of a group that comes again further down a file: each list's
    // entries by event code, in file order.
    std::vector<std::unordered_map<QString, std::vector<TRekord*>>> byOvelse(rekorder_.size());
    for (std::size_t r = 0; r < rekorder_.size(); ++r) {
        for (int i = 0; i < rekorder_[r]->GetCount(); ++i) {
            TRekord* rekord = rekorder_[r]->GetRekord(i);
            byOvelse[r][rekord->Key1].push_back(rekord);
        }
    }
    for (const auto& [key, info] : index_[1]) {
        info->Rekorder().clear();
        const QString langtekst = info->Klasse().GetTrimmedString(KlasseField::Langtekst).toUpper();
        if (langtekst.isEmpty())
            continue;
        const QString ovelse = info->GetOvelseKode().toUpper();
        const QString attribut = info->GetAttributKode().toUpper();
        for (const auto& entries : byOvelse) {
            const auto found = entries.find(ovelse);
            if (found == entries.end())
                continue;
            for (TRekord* rekord : found->second) {
                if ((rekord->Key2.isEmpty() || rekord->Key2 == attribut) &&
                    langtekst.contains(u'#' + rekord->Kategori))
                    info->Rekorder().push_back(rekord);
            }
        }
    }
}

void TOvelseManager::Reindex() {
    for (std::size_t i = 0; i < infos_.size(); ++i)
        infos_[i].SetAfvSted(LocateAfvSted(infos_[i].OvelseRn().GetTrimmedString(OvelseRnField::Sted)));
    IndexInfos();
    // A round put into a combined event (or taken out) changes the runs of its index.
    LinkMangekamp();
}

// ---------------------------------------------------------------- rounds

TOvelseInfo* TOvelseManager::FindOvelseInfo(const QString& klasse, const QString& ovelse,
                                            const QString& runde) const {
    QString letter = Code(runde).left(1);
    if (letter == QString(QChar(0)))
        letter.clear();
    const QString prefix = RightJustify(Code(klasse), 3) + RightJustify(Code(ovelse), 6);
    const TOvelseInfoIndex& index = index_[4];
    if (const int pos = index.IndexOf(OvelseInfoTextKey(prefix + LeftJustify(letter, 1))); pos >= 0)
        return index.GetItem(pos);
    if (letter.isEmpty())
        return nullptr;
    // The first round is stored without its letter.
    const TOvelseInfoKey blank = OvelseInfoTextKey(prefix + u' ');
    for (int pos = index.IndexOf(blank); pos >= 0 && pos < index.Count() && index.GetKey(pos) == blank;
         ++pos) {
        if (TOvelseInfo* info = index.GetItem(pos); info->GetRunde() == letter)
            return info;
    }
    return nullptr;
}

namespace {

QString KlasseOvelseKey(const QString& klasse, const QString& ovelse) {
    return Code(klasse) + u'\t' + Code(ovelse);
}

} // namespace

const std::vector<TOvelseInfo*>& TOvelseManager::FindKlasseOvelseInfos(const QString& klasse,
                                                                       const QString& ovelse) const {
    if (byKlasseOvelse_.empty() && !infos_.empty()) {
        byKlasseOvelse_.reserve(infos_.size());
        for (const auto& [key, info] : index_[2])
            byKlasseOvelse_[KlasseOvelseKey(info->GetKlasseKode(), info->GetOvelseKode())].push_back(info);
    }
    static const std::vector<TOvelseInfo*> none;
    const auto found = byKlasseOvelse_.find(KlasseOvelseKey(klasse, ovelse));
    return found == byKlasseOvelse_.end() ? none : found->second;
}

TOvelseInfo* TOvelseManager::FindOvelseInfoByRecord(const TDataElement& record) const {
    return FindOvelseInfo(record.GetField(3)->GetAsString(), record.GetField(4)->GetAsString(),
                          record.GetField(5)->GetAsString());
}

TOvelseInfo* TOvelseManager::FindOvelseInfoByRecord(const TDataTable& record) const {
    return FindOvelseInfo(record.GetField(3)->GetAsString(), record.GetField(4)->GetAsString(),
                          record.GetField(5)->GetAsString());
}

TOvelseInfo* TOvelseManager::FindNextRundeInfo(const TOvelseInfo& info) const {
    const QChar next = info.GetNextRunde();
    if (next == QChar(0))
        return nullptr;
    return FindOvelseInfo(info.GetKlasseKode(), info.GetOvelseKode(), QString(next));
}

std::vector<TKlasseElement*> TOvelseManager::GetKlasser() const {
    std::vector<TKlasseElement*> klasser;
    std::unordered_set<const TKlasseElement*> seen;
    for (const auto& [key, info] : index_[0]) {
        if (TKlasseElement* klasse = &info->Klasse(); seen.insert(klasse).second)
            klasser.push_back(klasse);
    }
    return klasser;
}

bool TOvelseManager::IsKlasseUsed(const QString& klasse) const {
    const QString code = Code(klasse);
    for (int raw = 0; raw < ovelseRnList_->GetCount(); ++raw) {
        if (Code(ovelseRnList_->GetRawElement(raw)->GetField(OvelseRnField::Klasse)->GetAsString()) == code)
            return true;
    }
    return false;
}

bool TOvelseManager::IsAfvStedUsed(const QString& sted) const {
    const QString code = Code(sted);
    for (int raw = 0; raw < ovelseRnList_->GetCount(); ++raw) {
        if (Code(ovelseRnList_->GetRawElement(raw)->GetField(OvelseRnField::Sted)->GetAsString()) == code)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- lookups

TOvelseElement* TOvelseManager::FindOvelse(const QString& ovelse, int* pos) {
    return FindByCodes(*ovelseList_, {OvelseField::Ovelse}, {ovelse}, pos);
}

TKlasseElement* TOvelseManager::FindKlasse(const QString& klasse, int* pos) {
    return FindByCodes(*klasseList_, {KlasseField::Klasse}, {klasse}, pos);
}

TOvelseRkElement* TOvelseManager::FindOvelseRk(const QString& klasse, const QString& ovelse, int* pos) {
    return FindByCodes(*ovelseRkList_, {OvelseRkField::Klasse, OvelseRkField::Ovelse}, {klasse, ovelse}, pos);
}

TAfvStedElement* TOvelseManager::FindAfvSted(const QString& sted, int* pos) {
    return FindByCodes(*afvStedList_, {AfvStedField::Sted}, {sted}, pos);
}

TOvDefElement* TOvelseManager::FindOvDef(const QString& ovelse, const QString& attribut, int* pos) {
    return FindByCodes(*ovDefList_, {OvDefField::Ovelse, OvDefField::Attribut}, {ovelse, attribut}, pos);
}

TOvelseElement& TOvelseManager::LocateOvelse(const QString& ovelse) {
    if (TOvelseElement* element = FindOvelse(ovelse))
        return *element;
    throw EOvelseManagerError(E::OvelseUndefined, {TrimBlanks(ovelse)});
}

TKlasseElement& TOvelseManager::LocateKlasse(const QString& klasse) {
    if (TKlasseElement* element = FindKlasse(klasse))
        return *element;
    throw EOvelseManagerError(E::KlasseUndefined, {TrimBlanks(klasse)});
}

TOvelseRkElement& TOvelseManager::LocateOvelseRk(const QString& klasse, const QString& ovelse) {
    if (TOvelseRkElement* element = FindOvelseRk(klasse, ovelse))
        return *element;
    throw EOvelseManagerError(E::OvelseRkUndefined, {TrimBlanks(klasse), TrimBlanks(ovelse)});
}

TAfvStedElement& TOvelseManager::LocateAfvSted(const QString& sted) {
    if (TAfvStedElement* element = FindAfvSted(sted))
        return *element;
    throw EOvelseManagerError(E::AfvStedUndefined, {TrimBlanks(sted)});
}

// ---------------------------------------------------------------- new records

TKlasseElement* TOvelseManager::AddKlasse(const QString& klasse) {
    if (FindKlasse(klasse) != nullptr)
        return nullptr;
    auto* element = static_cast<TKlasseElement*>(klasseList_->GetRawElement(klasseList_->AddNew()));
    element->GetField(KlasseField::Klasse)->SetAsString(Code(klasse));
    return element;
}

TAfvStedElement* TOvelseManager::AddAfvSted(const QString& sted) {
    if (FindAfvSted(sted) != nullptr)
        return nullptr;
    auto* element = static_cast<TAfvStedElement*>(afvStedList_->GetRawElement(afvStedList_->AddNew()));
    element->GetField(AfvStedField::Sted)->SetAsString(Code(sted));
    return element;
}

TOvelseRkElement& TOvelseManager::AddOvelseRk(TKlasseElement& klasse, TOvelseElement& ovelse,
                                              TOvDefElement* ovDef) {
    auto& element = static_cast<TOvelseRkElement&>(*ovelseRkList_->GetRawElement(ovelseRkList_->AddNew()));
    element.GetField(OvelseRkField::Klasse)->SetAsString(klasse.GetTrimmedString(KlasseField::Klasse));
    element.GetField(OvelseRkField::Ovelse)->SetAsString(ovelse.GetTrimmedString(OvelseField::Ovelse));
    element.GetField(OvelseRkField::Attribut)
        ->SetAsString(ovDef != nullptr ? ovDef->GetTrimmedString(OvDefField::Attribut) : QString());
    return element;
}

TOvelseRnElement& TOvelseManager::AddOvelseRn(TOvelseRkElement& ovelseRk) {
    auto& element = static_cast<TOvelseRnElement&>(*ovelseRnList_->GetRawElement(ovelseRnList_->AddNew()));
    element.GetField(OvelseRnField::Klasse)->SetAsString(ovelseRk.GetTrimmedString(OvelseRkField::Klasse));
    element.GetField(OvelseRnField::Ovelse)->SetAsString(ovelseRk.GetTrimmedString(OvelseRkField::Ovelse));
    return element;
}
