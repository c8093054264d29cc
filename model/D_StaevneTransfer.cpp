#include "model/D_StaevneTransfer.h"

#include "foundation/BusyCursor.h"
#include "foundation/Exception.h"
#include "foundation/LxClass.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "model/D_Staevne.h"
#include "platform/LittleEndian.h"
#include "platform/Version.h"
#include "storage/BtvTransaction.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <vector>

// The records of a checked transfer file that an import writes: the meet's own, then each section's
// in file order (none for a section the import level leaves out).
struct TTransferSections {
    TTransferRecord Meet;
    std::vector<std::vector<TTransferRecord>> Records;
};

namespace {

const QString KipSignatureBegin = QStringLiteral("QWDRTMKAHYFX-ZUNO-KIP-BEGIN");
const QString KipSignatureEnd = QStringLiteral("QWDRTMKAHYFX-ZUNO-KIP-END");
constexpr quint16 TableCount = 12;

struct TSection {
    TRecordFileNo File;
    int Level;

    std::unique_ptr<TZunoDataTable> Make() const {
        return std::make_unique<TZunoDataTable>(RecordFileDef(File));
    }
};

// The sections in file order, each with the lowest import level that takes it. The meet's own section
// comes first: the others need its new number.
constexpr std::array<TSection, TableCount> Sections{{
    {TRecordFileNo::Staevne, 1},
    {TRecordFileNo::AfvSted, 1},
    {TRecordFileNo::Klasse, 1},
    {TRecordFileNo::OvelseRk, 1},
    {TRecordFileNo::OvelseRn, 1},
    {TRecordFileNo::Klub, 2},
    {TRecordFileNo::Betaling, 4},
    {TRecordFileNo::Klubkob, 4},
    {TRecordFileNo::Gruppe, 1},
    {TRecordFileNo::Vare, 1},
    {TRecordFileNo::Deltager, 3},
    {TRecordFileNo::Resultat, 4},
}};

bool Imports(int level, int sectionLevel) {
    return level <= 0 || sectionLevel <= level;
}

Exception NotKipFile(const QString& fileName, const QString& why) {
    return Exception(fileName + QStringLiteral(" er ikke en korrekt ZUNO importfil") + CrLf + why);
}

Exception Damaged(const QString& fileName, const EStreamError& error) {
    return NotKipFile(fileName, QStringLiteral("Filen er afkortet eller beskadiget (") + error.Message() +
                                    QStringLiteral(")"));
}

QString WriterVersion() {
    const QString& version = ModelContext().ProgramVersion;
    return version.isEmpty() ? Platform::VersionText() : version;
}

// Release, version and revision as numbers; a build number after them does not count, nor anything
// after a part's digits.
std::array<quint32, 3> VersionParts(const QString& version) {
    std::array<quint32, 3> parts{};
    const QStringList texts = version.split(u'.');
    for (std::size_t i = 0; i < parts.size() && i < static_cast<std::size_t>(texts.size()); ++i) {
        quint32 value = 0;
        for (const QChar c : texts[static_cast<qsizetype>(i)].trimmed()) {
            if (c < u'0' || c > u'9')
                break;
            value = std::min<quint32>(value * 10 + static_cast<quint32>(c.unicode() - u'0'), 99999999);
        }
        parts[i] = value;
    }
    return parts;
}

// A marker that cannot be read is simply not the marker.
QString ReadMarker(TStreamReader& reader) {
    try {
        return reader.ReadString();
    } catch (const EStreamError&) {
        return {};
    }
}

void ReadHeader(TStreamReader& reader, const QString& fileName) {
    if (ReadMarker(reader) != KipSignatureBegin)
        throw NotKipFile(fileName, QStringLiteral("<KIPSignatureBegin> er forkert"));
    const QString version = reader.ReadString();
    const QString own = WriterVersion();
    if (VersionParts(own) < VersionParts(version))
        throw Exception(QStringLiteral("Importfilen har et for nyt versionsnummer") + CrLf +
                        QStringLiteral("ZUNO versionsnummer: ") + own + CrLf +
                        QStringLiteral("Versionsnummer i importfil: ") + version);
    reader.ReadWord(); // the table count: the sections are known
}

// Reads and checks every section, writing nothing; keeps the records the import writes.
TTransferSections ReadSections(TStreamReader& reader, const TTransferTables& tables, const QString& fileName,
                               int level) {
    TTransferSections read;
    int meets = 0;
    tables[0]->ReadSection(reader, false, [&](const TTransferRecord& record) {
        if (++meets == 1)
            read.Meet = record;
    });
    if (meets != 1)
        throw NotKipFile(
            fileName, QStringLiteral("Filen skal indeholde netop ét stævne, men indeholder %1").arg(meets));
    read.Records.resize(Sections.size());
    for (std::size_t i = 1; i < Sections.size(); ++i) {
        const bool imported = Imports(level, Sections[i].Level);
        std::vector<TTransferRecord>& records = read.Records[i];
        tables[i]->ReadSection(reader, !imported, [&](const TTransferRecord& record) {
            if (imported)
                records.push_back(record);
        });
    }
    if (ReadMarker(reader) != KipSignatureEnd)
        throw NotKipFile(fileName, QStringLiteral("<KIPSignatureEnd> er forkert"));
    return read;
}

QString NavnOf(const TTransferRecord& meet) {
    const TZunoFieldList fields = TStaevneTable::Fields();
    const int offset = FieldOffsetOf(fields, StaevneField::Navn);
    QByteArray bytes = meet.Fixed.mid(offset, fields[StaevneField::Navn].Size);
    if (const qsizetype zero = bytes.indexOf('\0'); zero >= 0)
        bytes.truncate(zero);
    return TrimBlanks(Windows1252::Decode(bytes));
}

QByteArray WithLength(const QByteArray& data) {
    QByteArray part(4, '\0');
    storeLE<qint32>(part.data(), static_cast<qint32>(data.size()));
    return part + data;
}

} // namespace

void TStaevneManager::ExportStaevne(const QString& fileName) {
    WriteTransferFile(ResolvePath(fileName), fileName);
}

QString TStaevneManager::ExportStaevneToNewFile(const QString& fileName) {
    const QString resolved = ResolvePath(fileName);
    const QFileInfo info(resolved);
    const QString stem = info.path() + u'/' + info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    for (int n = 1;; ++n) {
        const QString path = n == 1 ? resolved : stem + u'_' + QString::number(n) + suffix;
        // Made empty to claim the name: only one program gets it.
        QFile claim(path);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
                continue;
            throw Exception(QStringLiteral("Filen ") + path + QStringLiteral(" kan ikke oprettes") + CrLf +
                            claim.errorString());
        }
        claim.close();
        try {
            WriteTransferFile(path, path);
        } catch (...) {
            QFile::remove(path);
            throw;
        }
        return path;
    }
}

void TStaevneManager::WriteTransferFile(const QString& path, const QString& fileName) {
    if (currentIndex_ < 0)
        throw Exception(QStringLiteral("Der er ikke åbnet noget stævne, som kan eksporteres"));
    if (ModelContext().StaevneManager.get() != this)
        throw Exception(QStringLiteral("Stævnet kan kun eksporteres gennem programmets stævnestyring"));
    const TBusyCursor busy;
    // Another program on this data folder may have deleted the meet since it was listed here.
    GotoStoredCurrent();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Filen ") + fileName + QStringLiteral(" kan ikke oprettes") + CrLf +
                        file.errorString());
    TStreamWriter writer(&file);
    writer.WriteString(KipSignatureBegin);
    writer.WriteString(WriterVersion());
    writer.WriteWord(TableCount);
    for (const auto& table : SectionTables())
        table->ExportTable(writer);
    writer.WriteString(KipSignatureEnd);
    // Also while it was written.
    GotoStoredCurrent();
    if (!file.commit())
        throw Exception(QStringLiteral("Filen ") + fileName + QStringLiteral(" kunne ikke gemmes") + CrLf +
                        file.errorString());
}

int TStaevneManager::ImportStaevne(const QString& fileName, int level, TImportStaevneQuestion& question) {
    QFile file(ResolvePath(fileName));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Importfilen ") + fileName + QStringLiteral(" kan ikke åbnes") + CrLf +
                        file.errorString());
    const TTransferTables& tables = SectionTables();
    TStreamReader reader(&file);
    TTransferSections sections;
    try {
        ReadHeader(reader, fileName);
        sections = ReadSections(reader, tables, fileName, level);
    } catch (const EStreamError& error) {
        throw Damaged(fileName, error);
    }
    file.close();
    TSystemData imported;
    imported.LoadVariablePart(WithLength(sections.Meet.Variable));
    std::optional<TNewFolder> folder;
    const QString navn = AskImportNavn(sections.Meet, imported, question, folder);

    // The settings go in as this version writes them, as saving them after the import would.
    TTransferRecord meet = sections.Meet;
    if (!imported.IsNewerBlock())
        meet.Variable = imported.GetVariablePart().mid(4);
    qint32 stID = -1;
    quint32 position = 0;
    try {
        const TBusyCursor busy;
        // Every record of the import carries the same time stamps.
        const TClockScope clock(ModelContext().Now());
        TBtvTransaction transaction;
        // Another program on this data folder may have taken the name since it was accepted.
        CheckStoredNavn(navn, -1);
        stID = WriteImport(meet, sections, tables, navn, position);
        transaction.Commit();
    } catch (...) {
        UndoImport();
        throw;
    }
    folder->Keep(stID);
    // The file carries no registry values: the new meet starts from the defaults.
    WriteMeetRegistry(navn, TStaevneRegistry());
    meets_.push_back({navn, position, stID, imported.Dato == 0 ? QString() : DateToStr(imported.Dato)});
    const int index = GetStaevneCount() - 1;
    OpenStaevne(index);
    return index;
}

QString TStaevneManager::AskImportNavn(const TTransferRecord& meet, const TSystemData& imported,
                                       TImportStaevneQuestion& question, std::optional<TNewFolder>& folder) {
    QString navn = NavnOf(meet);
    for (;;) {
        if (!question.AskStaevneNavn(imported, navn))
            throw Exception(QStringLiteral("Import af stævne er afbrudt"));
        const QString trimmed = TrimBlanks(navn);
        try {
            CheckNavn(trimmed);
            folder.emplace(trimmed);
            return trimmed;
        } catch (const Exception& error) {
            ShowError(nullptr, error.Message());
        }
    }
}

qint32 TStaevneManager::WriteImport(const TTransferRecord& meet, const TTransferSections& sections,
                                    const TTransferTables& tables, const QString& navn, quint32& position) {
    // Status 3 until the last section is in; the record manager numbers the meet.
    table_->InsertRecord(meet, -1, [&] {
        table_->GetField(StaevneField::Navn)->SetAsString(navn);
        SetStatus(TStaevneStatus::Importeres);
    });
    const qint32 stID = NumberNewMeet();
    position = table_->GetPosition();
    for (std::size_t i = 1; i < Sections.size(); ++i) {
        const std::vector<TTransferRecord>& records = sections.Records[i];
        if (records.empty())
            continue;
        for (const TTransferRecord& record : records)
            tables[i]->InsertRecord(record, stID);
    }
    table_->GotoPosition(position);
    table_->Edit();
    SetStatus(TStaevneStatus::Klar);
    table_->Post();
    return stID;
}

const TTransferTables& TStaevneManager::SectionTables() {
    if (sectionTables_.empty()) {
        TTransferTables tables;
        for (const TSection& section : Sections) {
            tables.push_back(section.Make());
            tables.back()->Open();
        }
        sectionTables_ = std::move(tables);
    }
    return sectionTables_;
}

void TStaevneManager::UndoImport() noexcept {
    try {
        table_->Cancel();
        if (currentIndex_ >= 0)
            GotoCurrent();
    } catch (...) {
        // the import's own error is the one to report
    }
}
