#include "tools/setup/RecordFileSpecs.h"

#include "foundation/Exception.h"
#include "foundation/PathResolver.h"
#include "platform/recordmanager/RecordManager.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace RM = RecordManager;

namespace {

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

int OffsetOf(TZunoFieldList fields, int fieldNo) {
    int offset = 0;
    for (int i = 0; i < fieldNo; ++i)
        offset += fields[static_cast<std::size_t>(i)].Size;
    return offset;
}

} // namespace

QByteArray TRecordFileSpec::CreateBuffer() const {
    QByteArray stat(RM::StatBufferSize, '\0');
    auto* at = reinterpret_cast<uchar*>(stat.data());
    qToLittleEndian<quint16>(static_cast<quint16>(RecordLength()), at + RM::Stat::RecordLength);
    qToLittleEndian<quint16>(PageSize, at + RM::Stat::PageSize);
    qToLittleEndian<quint16>(static_cast<quint16>(Keys.size()), at + RM::Stat::KeyCount);
    qToLittleEndian<quint16>(VariableLength ? RM::Stat::FlagVariableLength : 0, at + RM::Stat::FileFlags);
    int keySpec = RM::Stat::KeySpecs;
    for (const TRecordKeySpec& key : Keys) {
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
            qToLittleEndian<quint16>(static_cast<quint16>(OffsetOf(Fields, fieldNo) + 1),
                                     at + keySpec + RM::KeySpec::Position);
            qToLittleEndian<quint16>(static_cast<quint16>(field.Size), at + keySpec + RM::KeySpec::Length);
            qToLittleEndian<quint16>(flags, at + keySpec + RM::KeySpec::Flags);
            at[keySpec + RM::KeySpec::ExtendedType] =
                numbered ? RM::KeySpec::TypeAutoIncrement : SegmentType(field);
        }
    }
    return stat;
}

// Key 0 of a meet-bound file begins with the meet number and keeps, in key order, a meet's records
// together, a class's event rows together and an event row's rounds together (duplicates stay in the
// order they were inserted). The further keys are those the program searches by.
const std::vector<TRecordFileSpec>& RecordFileSpecs() {
    static const std::vector<TRecordFileSpec> specs = {
        {TStaevneTable::FileName, TStaevneTable::Fields(), true, {{{StaevneField::StID}, false, true}}},
        {TOvelseTable::FileName,
         TOvelseTable::Fields(),
         false,
         {{{OvelseField::Ovelse, OvelseField::Sprog}}, {{OvelseField::Sortkode}}}},
        {TOvDefTable::FileName,
         TOvDefTable::Fields(),
         false,
         {{{OvDefField::Ovelse, OvDefField::Attribut, OvDefField::Sprog}}, {{OvDefField::Sortkode}}}},
        {TKlasseTable::FileName,
         TKlasseTable::Fields(),
         false,
         {{{KlasseField::StID, KlasseField::Klasse}}, {{KlasseField::StID, KlasseField::Sortkode}}}},
        {TOvelseRkTable::FileName,
         TOvelseRkTable::Fields(),
         false,
         {{{OvelseRkField::StID, OvelseRkField::Klasse, OvelseRkField::Ovelse}}}},
        {TOvelseRnTable::FileName,
         TOvelseRnTable::Fields(),
         false,
         {{{OvelseRnField::StID, OvelseRnField::Klasse, OvelseRnField::Ovelse}}}},
        {TAfvStedTable::FileName,
         TAfvStedTable::Fields(),
         false,
         {{{AfvStedField::StID, AfvStedField::Sted}}}},
        {TBetalingTable::FileName,
         TBetalingTable::Fields(),
         false,
         {{{BetalingField::StID, BetalingField::Klubnr}}}},
        {TKlubkobTable::FileName,
         TKlubkobTable::Fields(),
         false,
         {{{KlubkobField::StID, KlubkobField::Klubnr}}, {{KlubkobField::StID, KlubkobField::Varenummer}}}},
        {TVareTable::FileName, TVareTable::Fields(), false, {{{VareField::StID, VareField::Varenummer}}}},
        {TGruppeTable::FileName, TGruppeTable::Fields(), false, {{{GruppeField::StID, GruppeField::Gruppe}}}},
        {TKlubTable::FileName, TKlubTable::Fields(), false, {{{KlubField::StID, KlubField::KlubNr}}}},
        {TDeltagerTable::FileName,
         TDeltagerTable::Fields(),
         false,
         {{{DeltagerField::StID, DeltagerField::Startnummer}},
          {{DeltagerField::StID, DeltagerField::KlubNr}}}},
        {TResultatTable::FileName,
         TResultatTable::Fields(),
         true,
         {{{ResultatField::StID, ResultatField::Klasse, ResultatField::Ovelse, ResultatField::Runde}},
          {{ResultatField::StID, ResultatField::Startnummer}}}},
    };
    return specs;
}

bool TRecordFileSpec::Create(const QString& path) const {
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
