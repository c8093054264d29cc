#include "model/D_DBDefFiles.h"

#include "foundation/Exception.h"
#include "foundation/PathResolver.h"
#include "model/D_DBDefCodeFields.h"
#include "platform/LittleEndian.h"
#include "platform/recordmanager/RecordManager.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <numeric>

namespace RM = RecordManager;

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

constexpr int PageSize = 4096;

quint8 SegmentType(const TZunoFieldDef& field) {
    switch (field.FieldType) {
    case TFieldType::String:
        return RM::KeySpec::TypeString;
    case TFieldType::Integer:
        return field.Size == 1 ? RM::KeySpec::TypeUnsignedBinary : RM::KeySpec::TypeInteger;
    case TFieldType::Float:
    case TFieldType::DateTime:
        return RM::KeySpec::TypeFloat;
    case TFieldType::ZString:
        return RM::KeySpec::TypeZString;
    default:
        return RM::KeySpec::TypeInteger;
    }
}

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

QByteArray TRecordFileDef::CreateBuffer() const {
    QByteArray stat(RM::StatBufferSize, '\0');
    auto* at = reinterpret_cast<uchar*>(stat.data());
    storeLE<quint16>(at + RM::Stat::RecordLength, static_cast<quint16>(RecordLength()));
    storeLE<quint16>(at + RM::Stat::PageSize, PageSize);
    storeLE<quint16>(at + RM::Stat::KeyCount, static_cast<quint16>(Keys.size()));
    storeLE<quint16>(at + RM::Stat::FileFlags, VariableLength ? RM::Stat::FlagVariableLength : 0);
    int keySpec = RM::Stat::KeySpecs;
    for (const TRecordKeyDef& key : Keys) {
        for (std::size_t i = 0; i < key.FieldNos.size(); ++i, keySpec += RM::KeySpec::Size) {
            if (keySpec + RM::KeySpec::Size > RM::StatBufferSize)
                throw Exception(QStringLiteral("For mange nøgler i %1").arg(QLatin1String(FileName)));
            const int fieldNo = key.FieldNos[i];
            const TZunoFieldDef& field = Fields[static_cast<std::size_t>(fieldNo)];
            const bool numbered = key.AutoIncrement && i == 0;
            quint16 flags = RM::KeySpec::FlagExtendedType;
            if (!numbered)
                flags |= RM::KeySpec::FlagModifiable;
            if (key.Duplicates && !key.AutoIncrement)
                flags |= RM::KeySpec::FlagDuplicates;
            if (i + 1 < key.FieldNos.size())
                flags |= RM::KeySpec::FlagSegmented;
            storeLE<quint16>(at + keySpec + RM::KeySpec::Position,
                             static_cast<quint16>(FieldOffsetOf(Fields, fieldNo) + 1));
            storeLE<quint16>(at + keySpec + RM::KeySpec::Length, static_cast<quint16>(field.Size));
            storeLE<quint16>(at + keySpec + RM::KeySpec::Flags, flags);
            at[keySpec + RM::KeySpec::ExtendedType] =
                numbered ? RM::KeySpec::TypeAutoIncrement : SegmentType(field);
        }
    }
    return stat;
}

bool TRecordFileDef::Create(const QString& path) const {
    QByteArray stat = CreateBuffer();
    QByteArray name = QFile::encodeName(ResolvePath(path));
    name.append('\0');
    std::array<quint8, RM::PositionBlockSize> block{};
    quint32 length = static_cast<quint32>(stat.size());
    const int status =
        BTRCALL(RM::OpCreate, block.data(), stat.data(), &length, name.data(),
                static_cast<uint8_t>(std::min<qsizetype>(name.size(), 255)), RM::CreateKeepExisting);
    if (status == RM::StatusFileExists)
        return false;
    if (status != 0)
        throw Exception(QStringLiteral("Filen %1 kunne ikke oprettes (status %2)").arg(path).arg(status));
    return true;
}
