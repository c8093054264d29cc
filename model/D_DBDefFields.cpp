#include "model/D_DBDef.h"

#include "model/D_Tekster.h"

#include <array>

namespace {

#define ZUNO_FIELD_DEF(id, name, type, size) TZunoFieldDef{name, TFieldType::type, size},
#define ZUNO_FIELD_DEFS(LIST)                                                                                \
    std::to_array<TZunoFieldDef>({{"Oprettet", TFieldType::DateTime, 8},                                     \
                                  {"SidstRettet", TFieldType::DateTime, 8},                                  \
                                  LIST(ZUNO_FIELD_DEF)})

const auto StaevneFields = ZUNO_FIELD_DEFS(ZUNO_STAEVNE_FIELDS);
const auto OvelseFields = ZUNO_FIELD_DEFS(ZUNO_OVELSE_FIELDS);
const auto OvDefFields = ZUNO_FIELD_DEFS(ZUNO_OVDEF_FIELDS);
const auto KlasseFields = ZUNO_FIELD_DEFS(ZUNO_KLASSE_FIELDS);
const auto OvelseRkFields = ZUNO_FIELD_DEFS(ZUNO_OVELSERK_FIELDS);
const auto OvelseRnFields = ZUNO_FIELD_DEFS(ZUNO_OVELSERN_FIELDS);
const auto AfvStedFields = ZUNO_FIELD_DEFS(ZUNO_AFVSTED_FIELDS);
const auto KlubFields = ZUNO_FIELD_DEFS(ZUNO_KLUB_FIELDS);
const auto DeltagerFields = ZUNO_FIELD_DEFS(ZUNO_DELTAGER_FIELDS);
const auto ResultatFields = ZUNO_FIELD_DEFS(ZUNO_RESULTAT_FIELDS);
const auto KlubkobFields = ZUNO_FIELD_DEFS(ZUNO_KLUBKOB_FIELDS);
const auto VareFields = ZUNO_FIELD_DEFS(ZUNO_VARE_FIELDS);
const auto GruppeFields = ZUNO_FIELD_DEFS(ZUNO_GRUPPE_FIELDS);
const auto BetalingFields = ZUNO_FIELD_DEFS(ZUNO_BETALING_FIELDS);

static_assert(StaevneFields.size() == StaevneField::Count);
static_assert(OvelseFields.size() == OvelseField::Count);
static_assert(OvDefFields.size() == OvDefField::Count);
static_assert(KlasseFields.size() == KlasseField::Count);
static_assert(OvelseRkFields.size() == OvelseRkField::Count);
static_assert(OvelseRnFields.size() == OvelseRnField::Count);
static_assert(AfvStedFields.size() == AfvStedField::Count);
static_assert(KlubFields.size() == KlubField::Count);
static_assert(DeltagerFields.size() == DeltagerField::Count);
static_assert(ResultatFields.size() == ResultatField::Count);
static_assert(KlubkobFields.size() == KlubkobField::Count);
static_assert(VareFields.size() == VareField::Count);
static_assert(GruppeFields.size() == GruppeField::Count);
static_assert(BetalingFields.size() == BetalingField::Count);

} // namespace

// ---------------------------------------------------------------- the 14 tables

TZunoFieldList TStaevneTable::Fields() {
    return StaevneFields;
}

TStaevneTable::TStaevneTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("st"), Fields()) {}

TZunoFieldList TOvelseTable::Fields() {
    return OvelseFields;
}

TOvelseTable::TOvelseTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("ov"), Fields()) {
    SetLanguageFiltered();
}

bool TOvelseTable::First() {
    return FirstOfLanguage(OvelseField::Sprog);
}

bool TOvelseTable::Next() {
    return NextOfLanguage(OvelseField::Sprog);
}

TZunoFieldList TOvDefTable::Fields() {
    return OvDefFields;
}

TOvDefTable::TOvDefTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("od"), Fields()) {
    SetLanguageFiltered();
}

bool TOvDefTable::First() {
    return FirstOfLanguage(OvDefField::Sprog);
}

bool TOvDefTable::Next() {
    return NextOfLanguage(OvDefField::Sprog);
}

TZunoFieldList TKlasseTable::Fields() {
    return KlasseFields;
}

TKlasseTable::TKlasseTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("kl"), Fields()) {}

TZunoFieldList TOvelseRkTable::Fields() {
    return OvelseRkFields;
}

TOvelseRkTable::TOvelseRkTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("or"), Fields()) {}

TZunoFieldList TOvelseRnTable::Fields() {
    return OvelseRnFields;
}

TOvelseRnTable::TOvelseRnTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("rn"), Fields()) {}

TFieldClass TOvelseRnTable::GetFieldClass(int fieldNo) {
    if (fieldNo == OvelseRnField::Runde)
        return FieldClassOf<TRundeField>();
    return TZunoDataTable::GetFieldClass(fieldNo);
}

TZunoFieldList TAfvStedTable::Fields() {
    return AfvStedFields;
}

TAfvStedTable::TAfvStedTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("as"), Fields()) {}

TZunoFieldList TKlubTable::Fields() {
    return KlubFields;
}

TKlubTable::TKlubTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("kb"), Fields()) {}

TZunoFieldList TDeltagerTable::Fields() {
    return DeltagerFields;
}

TDeltagerTable::TDeltagerTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("de"), Fields()) {}

TZunoFieldList TResultatTable::Fields() {
    return ResultatFields;
}

TResultatTable::TResultatTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("re"), Fields()) {}

TFieldClass TResultatTable::GetFieldClass(int fieldNo) {
    switch (fieldNo) {
    case ResultatField::Runde:
        return FieldClassOf<TRundeField>();
    case ResultatField::Efteranmeldelse:
        return FieldClassOf<TBooleanField>();
    case ResultatField::ResultatKode:
        return FieldClassOf<TResKodeField>();
    case ResultatField::Vind:
        return FieldClassOf<TVindField>();
    case ResultatField::UdenforKonk:
        return FieldClassOf<TUdenforKonkField>();
    default:
        return TZunoDataTable::GetFieldClass(fieldNo);
    }
}

TZunoFieldList TKlubkobTable::Fields() {
    return KlubkobFields;
}

TKlubkobTable::TKlubkobTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("kk"), Fields()) {}

TZunoFieldList TVareTable::Fields() {
    return VareFields;
}

TVareTable::TVareTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("va"), Fields()) {}

TZunoFieldList TGruppeTable::Fields() {
    return GruppeFields;
}

TGruppeTable::TGruppeTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("gr"), Fields()) {}

TZunoFieldList TBetalingTable::Fields() {
    return BetalingFields;
}

TBetalingTable::TBetalingTable()
    : TZunoDataTable(QLatin1String(FileName), QStringLiteral("be"), Fields()) {}

// ---------------------------------------------------------------- code fields

QString TResKodeField::GetAsString() const {
    return FormatResKodeTekst(GetKode());
}

void TResKodeField::SetAsString(const QString& value) {
    TStringField::SetAsString(ParseResKode(value));
}

bool TResKodeField::IsBlank() const {
    return IsKodeBlank(GetKode());
}

bool TResKodeField::IsCodeE() const {
    const QString kode = GetKode().trimmed();
    return !kode.isEmpty() && kode.at(0).toUpper() == u'E';
}

bool TResKodeField::IsCodeV() const {
    const QString kode = GetKode().trimmed();
    return !kode.isEmpty() && kode.at(0).toUpper() == u'V';
}

QString TUdenforKonkField::GetAsString() const {
    return FormatUdenforKonk(GetKode());
}

void TUdenforKonkField::SetAsString(const QString& value) {
    TStringField::SetAsString(ParseUdenforKonk(value));
}

QString TBooleanField::GetAsString() const {
    return FormatJaNej(GetAsInteger() != 0);
}

void TBooleanField::SetAsString(const QString& value) {
    SetAsInteger(ParseJaNej(value) ? 1 : 0);
}

QString TVindField::GetAsString() const {
    return FormatVind(GetAsInteger());
}

void TVindField::SetAsString(const QString& value) {
    SetAsInteger(ParseVind(value));
}

void TRundeField::SetAsString(const QString& value) {
    if (value.isEmpty() || value == u" ")
        TStringField::SetAsString(QString(QChar(0)));
    else
        TStringField::SetAsString(value);
}
