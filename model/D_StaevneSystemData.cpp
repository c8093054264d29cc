#include "model/D_StaevneSystemData.h"

#include "foundation/LxClass.h"
#include "foundation/Messages.h"
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "platform/LittleEndian.h"

#include <QBuffer>

#include <array>
#include <cstring>
#include <variant>

namespace {

struct SpareText {};
struct SpareByte {};
struct SpareInteger {};

// One field of the block: the setting it holds, or the form of a spare.
using Field =
    std::variant<QString TSystemData::*, bool TSystemData::*, quint8 TSystemData::*, qint32 TSystemData::*,
                 double TSystemData::*, QStringList TSystemData::*, SpareText, SpareByte, SpareInteger>;

using S = TSystemData;

// The block's fields in their stored order; the position is the field's number less one.
const std::array<Field, TSystemData::SystemDataFieldCount> Fields = {
    &S::Overskrift1, &S::Overskrift2, &S::Overskrift3, SpareText{}, &S::Arrangor, &S::KlublisteBundtekst1,
    &S::KlublisteBundtekst2, &S::BrugPersonligRekord, &S::DT, &S::FlereRunder,
    // 11
    &S::Indendors, &S::Dato, &S::OvelseGridColumns, &S::VT, &S::UndladSerier, SpareInteger{}, SpareInteger{},
    SpareByte{}, SpareByte{}, SpareByte{},
    // 21
    SpareByte{}, &S::EgenTurnering, SpareByte{}, &S::AntalDTHold, &S::LTU, &S::PointBeregning,
    &S::UndladKontrol, &S::Carried28, &S::AntalDeltagerePrOvelse, &S::MaxAntalOvelserPrDeltager,
    // 31
    SpareByte{}, SpareByte{}, &S::DiplomIndent, &S::DiplomNed1, &S::Carried35, &S::DiplomLayout, SpareByte{},
    &S::Carried38, SpareByte{}, &S::TabelOpslagPath,
    // 41
    &S::Carried41, SpareByte{}, &S::Motionsloeb, &S::TidsskemaUofficielt, SpareByte{}, &S::Startnumre,
    SpareByte{}, &S::Carried48, &S::Engelsk, &S::Redid,
    // 51
    &S::Oversattelse, &S::OversattelsesTekster, &S::AltidFinale, &S::UdeladRettelserFoerSeedning,
    &S::Carried55, &S::Carried56, &S::ECup2007, SpareInteger{}, &S::ReportFilename, SpareByte{},
    // 61
    &S::IndtastSeedning, &S::IndtastPR, &S::Carried63, &S::DTOvelserHalvePoints, SpareByte{}, &S::Carried66,
    &S::Stadion, &S::AutoTildelStartnumre, &S::StafetStartnumre, &S::DoTrace,
    // 71
    &S::AntalTaellendeDeltagere, &S::Gribben, &S::Carried73, &S::PlaceringsPoint1, &S::MangekampOverskrift,
    &S::UdskrivPR, &S::OnlyHtmlBody, &S::PlaceringsPoint2, &S::PlaceringsPoint3, &S::RekordFilenames,
    // 81
    &S::UndladTotalStilling, &S::UndladKategoriStilling, &S::D3TMangekamp, &S::PlaceringsPoint4,
    &S::AntalPointDec, &S::CsvLoadFilePath, &S::UndladInternationaltNavn, &S::OstHoldTurnering,
    &S::ScoreboardFilePath, &S::SeedningLigPR};

qint32 TextSize(const QString& text) {
    return 2 + static_cast<qint32>(Windows1252::Encode(text).size());
}

void WriteDouble(TStreamWriter& writer, double value) {
    char bytes[8];
    storeLE<double>(bytes, value);
    writer.WriteBuffer(bytes, sizeof bytes);
}

double ReadDouble(TStreamReader& reader) {
    char bytes[8] = {};
    reader.ReadBuffer(bytes, sizeof bytes);
    return loadLE<double>(bytes);
}

void WriteList(TStreamWriter& writer, const QStringList& list) {
    if (list.size() > 0xFFFF)
        throw EStreamError(QStringLiteral("Listen er for lang til at blive gemt (%1 tekster, højst 65535)")
                               .arg(list.size()));
    writer.WriteWord(static_cast<quint16>(list.size()));
    for (const QString& text : list)
        writer.WriteString(text);
}

QStringList ReadList(TStreamReader& reader) {
    const quint16 count = reader.ReadWord();
    QStringList list;
    for (quint16 i = 0; i < count; ++i)
        list.append(reader.ReadString());
    return list;
}

const QString ChunkMessage = QStringLiteral("Fejl ved indlæsning af systemdata: kan ikke læse 'chunk'");
const QString NewerMessage = QStringLiteral(
    "ZUNO version er for gammel - systemdata indeholder nyere data. Opdater til nyeste ZUNO version.");

} // namespace

QString TSystemData::DefaultReportFilename() {
    return QStringLiteral("ZUNO2.RPT");
}

QString TSystemData::DefaultGridColumns() {
    return QStringLiteral("Nr,        3,;Navn,     17,;Årg,      18,;Klub,     19,;Heat,      4,;"
                          "Bane,     12,;Side,     11,;Plac,     10,;Resultat,  8,;Vind,     15,;"
                          "RK,        6,;VK,       13,;Bem,      23,;PK,        9,;Point,    24,;"
                          "Seedning,  7,;PR,       16,;Rank,     22,;UK,       28,;Efter,     5,;"
                          "Holdkode, 25,;");
}

void TSystemData::SetSystemDataDefaults() {
    *this = TSystemData();
}

qint32 TSystemData::GetSystemDataSize() const {
    qint32 size = 2;
    for (const Field& field : Fields) {
        size += std::visit(Overloaded{
                               [this](QString S::*m) { return TextSize(this->*m); },
                               [](bool S::*) { return 1; },
                               [](quint8 S::*) { return 1; },
                               [](qint32 S::*) { return 4; },
                               [](double S::*) { return 8; },
                               [this](QStringList S::*m) {
                                   qint32 listSize = 2;
                                   for (const QString& text : this->*m)
                                       listSize += TextSize(text);
                                   return listSize;
                               },
                               [](SpareText) { return 2; },
                               [](SpareByte) { return 1; },
                               [](SpareInteger) { return 4; },
                           },
                           field);
    }
    return size;
}

QByteArray TSystemData::GetSystemDataBlock() const {
    if (newerBlock_)
        throw Exception(
            QStringLiteral("Stævnets systemdata er gemt af en nyere ZUNO version og kan ikke gemmes "
                           "af denne version. Opdater til nyeste ZUNO version."));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TStreamWriter writer(&buffer);
    writer.WriteWord(SystemDataFieldCount);
    for (const Field& field : Fields) {
        std::visit(Overloaded{
                       [&](QString S::*m) { writer.WriteString(this->*m); },
                       [&](bool S::*m) { writer.WriteBoolean(this->*m); },
                       [&](quint8 S::*m) { writer.WriteByte(this->*m); },
                       [&](qint32 S::*m) { writer.WriteInteger(this->*m); },
                       [&](double S::*m) { WriteDouble(writer, this->*m); },
                       [&](QStringList S::*m) { WriteList(writer, this->*m); },
                       [&](SpareText) { writer.WriteString(QString()); },
                       [&](SpareByte) { writer.WriteByte(0); },
                       [&](SpareInteger) { writer.WriteInteger(0); },
                   },
                   field);
    }
    return bytes;
}

QByteArray TSystemData::GetVariablePart() const {
    const QByteArray block = GetSystemDataBlock();
    QByteArray bytes(4, '\0');
    storeLE<qint32>(bytes.data(), static_cast<qint32>(block.size()));
    return bytes + block;
}

bool TSystemData::LoadVariablePart(const QByteArray& variablePart) {
    SetSystemDataDefaults();
    const qint32 length = variablePart.size() < 4 ? 0 : loadLE<qint32>(variablePart.constData());
    if (length < 1) {
        // A meet without a block; the fixes still give it a usable report file and counts.
        ApplyReadFixes();
        return true;
    }
    if (variablePart.size() - 4 < length) {
        ApplyReadFixes();
        ShowError(nullptr, ChunkMessage);
        return true;
    }
    try {
        ReadBlock(variablePart.mid(4, length));
    } catch (const Exception&) {
        SetSystemDataDefaults();
        ApplyReadFixes();
        return false;
    }
    ApplyReadFixes();
    if (newerBlock_) {
        // The meet's own bytes are kept so that they can be written back as they were.
        newerVariablePart_ = variablePart.left(4 + length);
        ShowError(nullptr, NewerMessage);
    }
    return true;
}

void TSystemData::ReadBlock(const QByteArray& block) {
    QBuffer buffer;
    buffer.setData(block);
    buffer.open(QIODevice::ReadOnly);
    TStreamReader reader(&buffer);
    const quint16 count = reader.ReadWord();
    if (count > SystemDataFieldCount) {
        newerBlock_ = true;
        return;
    }
    for (int i = 0; i < count; ++i) {
        std::visit(Overloaded{
                       [&](QString S::*m) { this->*m = reader.ReadString(); },
                       [&](bool S::*m) { this->*m = reader.ReadBoolean(); },
                       [&](quint8 S::*m) { this->*m = reader.ReadByte(); },
                       [&](qint32 S::*m) { this->*m = reader.ReadInteger(); },
                       [&](double S::*m) { this->*m = ReadDouble(reader); },
                       [&](QStringList S::*m) { this->*m = ReadList(reader); },
                       [&](SpareText) { reader.ReadString(); },
                       [&](SpareByte) { reader.ReadByte(); },
                       [&](SpareInteger) { reader.ReadInteger(); },
                   },
                   Fields[static_cast<std::size_t>(i)]);
    }
}

void TSystemData::ApplyReadFixes() {
    if (OvelseGridColumns.isEmpty())
        OvelseGridColumns = DefaultGridColumns();
    if (VT)
        DT = false;
    if (AntalDeltagerePrOvelse == 0) {
        if (DT || VT)
            AntalDeltagerePrOvelse = 2;
        else if (LTU)
            AntalDeltagerePrOvelse = 1;
    }
    if (MaxAntalOvelserPrDeltager == 0) {
        if (DT || LTU)
            MaxAntalOvelserPrDeltager = 2;
        else if (VT)
            MaxAntalOvelserPrDeltager = 3;
    }
    if (AntalTaellendeDeltagere == 0)
        AntalTaellendeDeltagere = 1;
    if (ReportFilename.isEmpty())
        ReportFilename = DefaultReportFilename();
}

const TSystemData& CurrentSystemData() {
    static const TSystemData defaults;
    const TSystemData* current = ModelContext().SystemData;
    return current ? *current : defaults;
}
