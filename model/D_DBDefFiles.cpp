#include "model/D_DBDefFiles.h"

#include "model/D_DBDefCodeFields.h"
#include "storage/BtvFile.h"

#include <algorithm>
#include <array>
#include <numeric>

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

// Key 0 of a meet-bound file begins with the meet number and keeps, in key order, a meet's records
// together, a class's event rows together and an event row's rounds together (duplicates stay in the
// order they were inserted). The further keys are those the program searches by.
std::vector<TRecordFileDef> MakeRecordFileDefs() {
    using F = TFieldClassDef;
    return {
        {.FileName = "STAEVNE.ZU2",
         .Prefix = "st",
         .Fields = StaevneFields,
         .Keys = {{{StaevneField::StID}, false, true}},
         .VariableLength = true},
        {.FileName = "OVELSE.ZU2",
         .Prefix = "ov",
         .Fields = OvelseFields,
         .Keys = {{{OvelseField::Ovelse, OvelseField::Sprog}}, {{OvelseField::Sortkode}}},
         .SprogFieldNo = OvelseField::Sprog},
        {.FileName = "OVDEF.ZU2",
         .Prefix = "od",
         .Fields = OvDefFields,
         .Keys = {{{OvDefField::Ovelse, OvDefField::Attribut, OvDefField::Sprog}}, {{OvDefField::Sortkode}}},
         .SprogFieldNo = OvDefField::Sprog},
        {.FileName = "KLASSE.ZU2",
         .Prefix = "kl",
         .Fields = KlasseFields,
         .Keys = {{{KlasseField::StID, KlasseField::Klasse}}, {{KlasseField::StID, KlasseField::Sortkode}}}},
        {.FileName = "OVELSERK.ZU2",
         .Prefix = "or",
         .Fields = OvelseRkFields,
         .Keys = {{{OvelseRkField::StID, OvelseRkField::Klasse, OvelseRkField::Ovelse}}}},
        {.FileName = "OVELSERN.ZU2",
         .Prefix = "rn",
         .Fields = OvelseRnFields,
         .Keys = {{{OvelseRnField::StID, OvelseRnField::Klasse, OvelseRnField::Ovelse}}},
         .FieldClasses = {F{OvelseRnField::Runde, FieldClassOf<TRundeField>()}}},
        {.FileName = "AFVSTED.ZU2",
         .Prefix = "as",
         .Fields = AfvStedFields,
         .Keys = {{{AfvStedField::StID, AfvStedField::Sted}}}},
        {.FileName = "BETALING.ZU2",
         .Prefix = "be",
         .Fields = BetalingFields,
         .Keys = {{{BetalingField::StID, BetalingField::Klubnr}}}},
        {.FileName = "KLUBKOB.ZU2",
         .Prefix = "kk",
         .Fields = KlubkobFields,
         .Keys = {{{KlubkobField::StID, KlubkobField::Klubnr}},
                  {{KlubkobField::StID, KlubkobField::Varenummer}}}},
        {.FileName = "VARE.ZU2",
         .Prefix = "va",
         .Fields = VareFields,
         .Keys = {{{VareField::StID, VareField::Varenummer}}}},
        {.FileName = "GRUPPE.ZU2",
         .Prefix = "gr",
         .Fields = GruppeFields,
         .Keys = {{{GruppeField::StID, GruppeField::Gruppe}}}},
        {.FileName = "KLUB.ZU2",
         .Prefix = "kb",
         .Fields = KlubFields,
         .Keys = {{{KlubField::StID, KlubField::KlubNr}}}},
        {.FileName = "DELTAGER.ZU2",
         .Prefix = "de",
         .Fields = DeltagerFields,
         .Keys = {{{DeltagerField::StID, DeltagerField::Startnummer}},
                  {{DeltagerField::StID, DeltagerField::KlubNr}}}},
        {.FileName = "RESULTAT.ZU2",
         .Prefix = "re",
         .Fields = ResultatFields,
         .Keys = {{{ResultatField::StID, ResultatField::Klasse, ResultatField::Ovelse, ResultatField::Runde}},
                  {{ResultatField::StID, ResultatField::Startnummer}}},
         .VariableLength = true,
         .FieldClasses = {F{ResultatField::Runde, FieldClassOf<TRundeField>()},
                          F{ResultatField::Efteranmeldelse, FieldClassOf<TBooleanField>()},
                          F{ResultatField::ResultatKode, FieldClassOf<TResKodeField>()},
                          F{ResultatField::Vind, FieldClassOf<TVindField>()},
                          F{ResultatField::UdenforKonk, FieldClassOf<TUdenforKonkField>()}}},
    };
}

} // namespace

int RecordLengthOf(TZunoFieldList fields) {
    return std::accumulate(fields.begin(), fields.end(), 0,
                           [](int sum, const TZunoFieldDef& field) { return sum + field.Size; });
}

int FieldOffsetOf(TZunoFieldList fields, int fieldNo) {
    return RecordLengthOf(fields.first(static_cast<std::size_t>(fieldNo)));
}

const std::vector<TRecordFileDef>& RecordFileDefs() {
    static const std::vector<TRecordFileDef> defs = MakeRecordFileDefs();
    return defs;
}

const TRecordFileDef& RecordFileDef(TRecordFileNo file) {
    return RecordFileDefs().at(static_cast<std::size_t>(file));
}

bool TRecordFileDef::Create(const QString& path) const {
    std::vector<TBtvKeyDef> keys;
    for (const TRecordKeyDef& key : Keys) {
        TBtvKeyDef& own = keys.emplace_back();
        own.Duplicates = key.Duplicates;
        own.AutoIncrement = key.AutoIncrement;
        for (const int fieldNo : key.FieldNos) {
            const TZunoFieldDef& field = Fields[static_cast<std::size_t>(fieldNo)];
            own.Segments.push_back({FieldOffsetOf(Fields, fieldNo), field.Size, field.FieldType});
        }
    }
    return CreateBtvFile(path, RecordLength(), VariableLength, keys);
}
