#include "model/D_DBDef.h"

#include "model/D_Context.h"
#include "model/D_StaevneSystemData.h"

#include <algorithm>

qint32 CurrentStID() {
    return ModelContext().CurrentStID;
}

quint8 CurrentSprog() {
    return CurrentSystemData().Engelsk ? 1 : 0;
}

// ---------------------------------------------------------------- TZunoDataTable

TZunoDataTable::TZunoDataTable(const TRecordFileDef& file)
    : TZunoDataTable(QLatin1String(file.FileName), QLatin1String(file.Prefix), file.Fields) {
    fieldClasses_ = file.FieldClasses;
    sprogFieldNo_ = file.SprogFieldNo;
}

TZunoDataTable::TZunoDataTable(const QString& fileName, const QString& prefix, TZunoFieldList fields)
    : fields_(fields) {
    CreateTimeStampFieldNo = 0;
    ModifiedTimeStampFieldNo = 1;
    UseBuiltInFieldDefs = true;
    Prefix = prefix;
    SetDirectory(ModelContext().ProgramDir);
    SetTableName(fileName);
}

bool TZunoDataTable::GetFieldDef(int index, QString& name, TFieldType& fieldType, int& size) {
    if (index < 0 || index >= static_cast<int>(fields_.size()))
        return false;
    const TZunoFieldDef& field = fields_[static_cast<std::size_t>(index)];
    name = QString::fromUtf8(field.Name);
    fieldType = field.FieldType;
    size = field.Size;
    return true;
}

TDateTime TZunoDataTable::Now() const {
    return ModelContext().Now();
}

TFieldClass TZunoDataTable::GetFieldClass(int fieldNo) {
    for (const TFieldClassDef& own : fieldClasses_) {
        if (own.FieldNo == fieldNo)
            return own.Class;
    }
    return TBtvTable::GetFieldClass(fieldNo);
}

bool TZunoDataTable::IsCurrentMeet() const {
    return GetField(StaevneField::StID)->GetAsInteger() == CurrentStID();
}

bool TZunoDataTable::IsCurrentSprog() {
    return GetField(sprogFieldNo_)->GetAsInteger() == CurrentSprog();
}

bool TZunoDataTable::First() {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    if (!IsStaevneBound()) {
        // Physical order, skipping the other language's records.
        StepFirst();
        while (!GetEof() && !IsCurrentSprog())
            StepNext();
        return !GetEof();
    }
    SetIndexNumber(0);
    // No record carries -1, so with no meet open nothing is found.
    return FindKey({TKeyValue(qint64(CurrentStID()))}) && IsCurrentMeet();
}

bool TZunoDataTable::Next() {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    if (!IsStaevneBound()) {
        do
            StepNext();
        while (!GetEof() && !IsCurrentSprog());
        return !GetEof();
    }
    GetNext();
    return !GetEof() && IsCurrentMeet();
}

bool TZunoDataTable::FindStaevneKey(int keyNo, std::initializer_list<qint64> values) {
    std::vector<TKeyValue> key{TKeyValue(qint64(CurrentStID()))};
    for (const qint64 value : values)
        key.emplace_back(value);
    SetIndexNumber(keyNo);
    const bool found = FindKey(key);
    soughtKey_.clear();
    const TIndexDef& index = IndexDefs.GetItem(keyNo);
    const auto* sought = reinterpret_cast<const char*>(SearchBuffer()->Current());
    for (int i = 0; i < std::min<int>(static_cast<int>(key.size()), index.GetSegmentCount()); ++i) {
        const TSegmentDef& segment = index.GetSegment(i);
        soughtKey_.emplace_back(segment, QByteArray(sought + segment.Position, segment.Length));
    }
    return found;
}

bool TZunoDataTable::NextStaevneKey() {
    GetNext();
    if (GetEof())
        return false;
    const auto* record = reinterpret_cast<const char*>(RecordBuffer()->Current());
    return std::all_of(soughtKey_.begin(), soughtKey_.end(), [record](const auto& sought) {
        return QByteArrayView(record + sought.first.Position, sought.first.Length) == sought.second;
    });
}

bool TZunoDataTable::LastStaevneKey(int keyNo) {
    SetIndexNumber(keyNo);
    return FindKeyOp(TKeyLookup::Less, {TKeyValue(qint64(CurrentStID()) + 1)}) && IsCurrentMeet();
}

void TZunoDataTable::DeleteAll() {
    TTableWork work(*this);
    if (First()) {
        do
            Delete();
        while (Next());
    }
    work.Done();
}

// ---------------------------------------------------------------- elements

qint32 TOvelseElement::GetOvtype() const {
    return GetField(OvelseField::Ovtype)->GetAsInteger();
}

bool TOvelseElement::IsOvtype(TOvtype type) const {
    return GetOvtype() == static_cast<qint32>(type);
}

bool TOvelseElement::IsTidOvelse() const {
    return IsTidOvtype(GetOvtype());
}

bool TOvelseElement::IsLobeOvelse() const {
    return IsTidOvelse();
}

bool TOvelseElement::IsVertikalSpringOvelse() const {
    return IsOvtype(TOvtype::VertikalSpring);
}

bool TOvelseElement::IsHorizontalSpringOvelse() const {
    return IsOvtype(TOvtype::HorisontalSpring);
}

bool TOvelseElement::IsSpringOvelse() const {
    return IsVertikalSpringOvelse() || IsHorizontalSpringOvelse();
}

bool TOvelseElement::IsKasteOvelse() const {
    return IsOvtype(TOvtype::Kast);
}

bool TOvelseElement::IsSerieOvelse() const {
    return IsSpringOvelse() || IsKasteOvelse() || IsStafetOvelse();
}

bool TOvelseElement::IsStafetOvelse() const {
    return IsOvtype(TOvtype::Stafet);
}

bool TOvelseElement::IsMangekampOvelse() const {
    return IsOvtype(TOvtype::Mangekamp);
}

bool TOvelseRnElement::IsResTypeHeat() const {
    return GetField(OvelseRnField::ResType)->GetAsInteger() == 0;
}

bool TOvelseRnElement::IsResTypeResultat() const {
    return GetField(OvelseRnField::ResType)->GetAsInteger() == 1;
}

bool TOvelseRnElement::IsRankAsSeedning() const {
    return GetField(OvelseRnField::RankAsSeedning)->GetAsInteger() == 1;
}

bool TOvelseRnElement::IsFinaleTypeABC() const {
    return IsResTypeHeat() && GetField(OvelseRnField::FinaleType)->GetAsInteger() == 1;
}

bool TOvelseRnElement::IsFinaleTypeCBA() const {
    return IsResTypeHeat() && GetField(OvelseRnField::FinaleType)->GetAsInteger() == 2;
}

QChar TOvelseRnElement::GetRundeChar() const {
    const QString runde = GetField(OvelseRnField::Runde)->GetAsString();
    return runde.isEmpty() ? QChar(0) : runde.at(0);
}

QString TOvelseRnElement::GetExtraText() const {
    return GetField(OvelseRnField::ExtraText)->GetAsString() +
           GetField(OvelseRnField::ExtraText2)->GetAsString() +
           GetField(OvelseRnField::ExtraText3)->GetAsString();
}

void TOvelseRnElement::SetExtraText(const QString& text) {
    GetField(OvelseRnField::ExtraText)->SetAsString(text.left(6));
    GetField(OvelseRnField::ExtraText2)->SetAsString(text.mid(6, 6));
    GetField(OvelseRnField::ExtraText3)->SetAsString(text.mid(12, 14));
}

// ---------------------------------------------------------------- lists

TZunoDataList::TZunoDataList(TDataTable& table, bool staevneBound)
    : TDataList(table)
    , staevneBound_(staevneBound) {}

int TZunoDataList::SetStID(int raw) {
    if (!staevneBound_)
        return raw;
    TDataElement& element = *GetRawElement(raw);
    if (!stID_)
        stID_.emplace(Table(), StaevneField::StID);
    const qint32 stID = CurrentStID();
    if (stID_->On(element).GetAsInteger() != stID)
        element.GetField(StaevneField::StID)->SetAsInteger(stID);
    return raw;
}

int TZunoDataList::AddCurrent() {
    return SetStID(TDataList::AddCurrent());
}

int TZunoDataList::AddNew() {
    return SetStID(TDataList::AddNew());
}
