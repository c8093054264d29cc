#include "model/D_StaevneTransfer.h"

#include "support/Test.h"

#include "ProgramFolderFixture.h"
#include "foundation/Windows1252.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"

#include "platform/LittleEndian.h"
#include "platform/Registry.h"
#include "platform/recordmanager/FileSystem.h"

#include <cerrno>
#include <functional>
#include <map>
#include <optional>

namespace {

const QStringList SectionNames = {"STAEVNE.ZU2",  "AFVSTED.ZU2", "KLASSE.ZU2",   "OVELSERK.ZU2",
                                  "OVELSERN.ZU2", "KLUB.ZU2",    "BETALING.ZU2", "KLUBKOB.ZU2",
                                  "GRUPPE.ZU2",   "VARE.ZU2",    "DELTAGER.ZU2", "RESULTAT.ZU2"};

// A transfer file put together byte by byte: markers, version, the 12 sections, each record a 16-bit
// size and its bytes, and in the two files with variable parts a 32-bit length and those bytes.
struct THandMadeFile {
    QString Begin = "QWDRTMKAHYFX-ZUNO-KIP-BEGIN";
    QString Version = "2.0.0";
    QString End = "QWDRTMKAHYFX-ZUNO-KIP-END";
    QStringList Names = SectionNames;
    std::map<QString, std::vector<TTransferRecord>> Records;

    QByteArray Bytes() const {
        QByteArray out;
        const auto word = [&](quint16 v) { out += char(v & 0xFF), out += char(v >> 8); };
        const auto text = [&](const QString& s) {
            const QByteArray b = Windows1252::Encode(s);
            word(quint16(b.size()));
            out += b;
        };
        text(Begin);
        text(Version);
        word(12);
        for (int i = 0; i < 12; ++i) {
            text(Names[i]);
            const auto found = Records.find(SectionNames[i]);
            for (const TTransferRecord& r :
                 found == Records.end() ? std::vector<TTransferRecord>() : found->second) {
                out += char(1);
                word(quint16(r.Fixed.size()));
                out += r.Fixed;
                if (i == 0 || i == 11) {
                    QByteArray length(4, '\0');
                    storeLE<qint32>(length.data(), qint32(r.Variable.size()));
                    out += length + r.Variable;
                }
            }
            out += char(0);
        }
        text(End);
        return out;
    }
};

// A fixed record of the given length with StID at 16 and texts and integers put at their offsets.
struct TRecordBytes {
    explicit TRecordBytes(int length, qint32 stID = 999)
        : Bytes(length, '\0') {
        Int(16, 4, stID);
    }
    TRecordBytes& Text(int offset, const QString& text) {
        const QByteArray bytes = Windows1252::Encode(text);
        Bytes.replace(offset, bytes.size(), bytes);
        return *this;
    }
    TRecordBytes& Int(int offset, int size, qint64 value) {
        for (int i = 0; i < size; ++i)
            Bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
        return *this;
    }
    QByteArray Bytes;
};

// Answers the name question from a script: each answer in turn, then Cancel.
struct TScriptedQuestion : TImportStaevneQuestion {
    explicit TScriptedQuestion(QStringList answers = {})
        : Answers(std::move(answers)) {}
    bool AskStaevneNavn(const TSystemData& imported, QString& navn) override {
        Offered.append(navn);
        Heading = imported.Overskrift1;
        if (OnAsk)
            OnAsk();
        if (Answers.isEmpty())
            return false;
        navn = Answers.takeFirst();
        return true;
    }
    QStringList Answers;
    QStringList Offered;
    QString Heading;
    std::function<void()> OnAsk;
};

struct TStored {
    QByteArray Fixed;
    QByteArray Variable;
    bool operator==(const TStored&) const = default;
};

// The 12 files of the transfer file in its order, open; the import level of the 11 after the meet file.
std::vector<std::unique_ptr<TZunoDataTable>> OpenTables() {
    std::vector<std::unique_ptr<TZunoDataTable>> tables;
    for (const QString& name : SectionNames) {
        for (const TRecordFileDef& file : RecordFileDefs()) {
            if (name == file.FileName)
                tables.push_back(std::make_unique<TZunoDataTable>(file));
        }
        tables.back()->Open();
    }
    return tables;
}
const int SectionLevels[] = {1, 1, 1, 1, 2, 4, 4, 1, 1, 3, 4};

// A meet's records of one file in key order: the bytes after the time stamps and StID, and the
// variable part.
std::vector<TStored> Stored(TZunoDataTable& table, qint32 stID) {
    std::vector<TStored> out;
    if (table.FindKey({TKeyValue(qint64(stID))})) {
        for (; !table.GetEof() && table.GetField(2)->GetAsInteger() == stID; table.GetNext())
            out.push_back({QByteArray(reinterpret_cast<const char*>(table.RecordBuffer()->Current()) + 20,
                                      table.GetRecordLength() - 20),
                           table.VariableLength() ? table.ReadVariableData() : QByteArray()});
    }
    return out;
}
// Of the 11 files after the meet file.
std::vector<std::vector<TStored>> StoredAll(qint32 stID) {
    std::vector<std::vector<TStored>> out;
    const auto tables = OpenTables();
    for (std::size_t i = 1; i < tables.size(); ++i)
        out.push_back(Stored(*tables[i], stID));
    return out;
}

class StaevneTransferTest : public TProgramFolderTest {
protected:
    // A meet with records in all 11 files, patterned after the file (bytes below 0x80: the meet-bound walk
    // finds no negative key numbers), the first record of a file with variable parts with one; returns its
    // number.
    qint32 SourceMeet(int perTable = 2) {
        const qint32 stID = CreateMeet("Kilde");
        Manager().SystemData().Overskrift1 = "Original";
        Manager().SaveStaevneData();
        const auto tables = OpenTables();
        for (std::size_t seed = 1; seed < tables.size(); ++seed) {
            TZunoDataTable& table = *tables[seed];
            for (int k = 0; k < perTable; ++k) {
                table.Insert();
                for (int i = 20; i < table.GetRecordLength(); ++i)
                    table.RecordBuffer()->Current()[i] = quint8((seed * 31 + k * 7 + i) & 0x7F);
                table.GetField(2)->SetAsInteger(stID);
                table.Post();
                if (table.VariableLength() && k == 0)
                    table.WriteChunk("\x03\0\0\0abc", quint32(table.GetRecordLength()), 7);
            }
        }
        return stID;
    }
    // The record counts of the 12 files and the data folder's folders: what a refused import leaves.
    QString Snapshot() {
        QStringList counts;
        for (const auto& table : OpenTables())
            counts << QString::number(table->GetRecordCount());
        return counts.join(u' ') + " | " +
               QDir(Dir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).join(u' ');
    }
    QString Import(const QByteArray& bytes, const QString& navn, int level = 0) {
        WriteFile(Path("hand.kip"), bytes);
        TScriptedQuestion question({navn});
        const QString error = ErrorText([&] { Manager().ImportStaevne(Path("hand.kip"), level, question); });
        asked_ = !question.Offered.isEmpty();
        return error;
    }
    bool asked_ = false;
    // A small valid hand-made file.
    static THandMadeFile MinimalFile() {
        THandMadeFile file;
        file.Records["STAEVNE.ZU2"] = {{TRecordBytes(80).Text(20, "Håndlavet").Bytes, {}}};
        return file;
    }
};

TEST_F(StaevneTransferTest, HandMadeFileImportsToTheExpectedRecords) {
    CreateMeet("Eksisterende");
    {
        // The base key's per-meet values are not the new meet's.
        Platform::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(Platform::TRegistry::ProgramKey(".cfg"), true));
        registry.WriteInteger("VisUgedag", 3);
    }
    TSystemData data;
    data.Overskrift1 = "Byens stævne";
    data.Dato = QDateToDateTime(QDate(2025, 6, 1));
    THandMadeFile file;
    file.Records["STAEVNE.ZU2"] = {
        {TRecordBytes(80).Text(20, "Håndlavet").Bytes, data.GetVariablePart().mid(4)}};
    file.Records["KLASSE.ZU2"] = {
        {TRecordBytes(146).Int(20, 2, 3).Text(22, "MS").Text(25, "Mænd").Bytes, {}}};
    file.Records["OVELSERN.ZU2"] = {
        {TRecordBytes(110).Text(20, "MS").Text(23, "100M").Text(29, "A").Bytes, {}}};
    file.Records["KLUB.ZU2"] = {{TRecordBytes(366).Int(20, 2, 7).Text(22, "IF Hand").Bytes, {}}};
    file.Records["DELTAGER.ZU2"] = {
        {TRecordBytes(57).Int(20, 4, 101).Int(24, 2, 7).Text(26, "Ib").Bytes, {}}};
    file.Records["RESULTAT.ZU2"] = {{TRecordBytes(95).Text(20, "MS").Int(30, 4, 101).Bytes, "serie"},
                                    {TRecordBytes(95).Text(20, "MS").Int(30, 4, 102).Bytes, {}}};
    WriteFile(Path("hand.kip"), file.Bytes());

    TScriptedQuestion question({"Importeret"});
    EXPECT_EQ(Manager().ImportStaevne(Path("hand.kip"), 0, question), 1);
    EXPECT_EQ(question.Offered, QStringList{"Håndlavet"});
    EXPECT_EQ(question.Heading, "Byens stævne");
    const qint32 stID = Manager().GetCurrentStID();
    EXPECT_EQ(stID, 2);
    EXPECT_EQ(Manager().GetStaevneNavn(1), "Importeret");
    EXPECT_EQ(Manager().GetStaevneDatoText(1), "01-06-2025");
    EXPECT_TRUE(QDir(Path("Importeret")).exists());
    EXPECT_EQ(Manager().Registry().VisUgedag, 0);

    EXPECT_EQ(::Stored<TKlasseTable>({KlasseField::Klasse, KlasseField::Korttekst, KlasseField::Sortkode}),
              QStringList{"MS/Mænd/3"});
    // Every record as written, but for its stamps and meet number.
    std::vector<std::vector<TStored>> expected(11);
    for (int i = 1; i < 12; ++i) {
        for (const TTransferRecord& r : file.Records[SectionNames[i]])
            expected[i - 1].push_back({r.Fixed.mid(20), r.Variable});
    }
    EXPECT_EQ(StoredAll(stID), expected);
    EXPECT_EQ(StoredAll(999), std::vector<std::vector<TStored>>(11));
    EXPECT_EQ(Restart().IndexOfStID(stID), 1);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(StaevneTransferTest, ExportThenImportAtEachLevelGivesTheSameRecords) {
    const auto source = StoredAll(SourceMeet());
    Manager().ExportStaevne(Path("kilde.kip"));
    for (int level = 0; level <= 4; ++level) {
        TScriptedQuestion question({QStringLiteral("Niveau %1").arg(level)});
        Manager().ImportStaevne(Path("kilde.kip"), level, question);
        EXPECT_EQ(question.Offered, QStringList{"Kilde"});
        EXPECT_EQ(Manager().SystemData().Overskrift1, "Original");
        const auto imported = StoredAll(Manager().GetCurrentStID());
        for (std::size_t i = 0; i < source.size(); ++i) {
            const bool taken = level == 0 || SectionLevels[i] <= level;
            EXPECT_EQ(imported[i] == source[i], taken) << level << " " << i;
            EXPECT_EQ(imported[i].empty(), !taken) << level << " " << i;
        }
    }
    EXPECT_EQ(source.back()[0].Variable, "abc");
    EXPECT_EQ(Restart().GetStaevneCount(), 6);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(StaevneTransferTest, ShortRecordsReadZeroAndLongOnesAreRefused) {
    THandMadeFile file = MinimalFile();
    file.Records["KLASSE.ZU2"] = {{TRecordBytes(30).Text(22, "MS").Bytes, {}}};
    EXPECT_EQ(Import(file.Bytes(), "Kort"), "<no error>");
    const auto klasser = StoredAll(Manager().GetCurrentStID())[1];
    ASSERT_EQ(klasser.size(), 1u);
    EXPECT_EQ(klasser[0].Fixed.left(5), QByteArray("\0\0MS\0", 5));
    EXPECT_EQ(klasser[0].Fixed.mid(10), QByteArray(116, '\0'));

    file.Records["KLASSE.ZU2"] = {{TRecordBytes(147).Bytes, {}}};
    const QString before = Snapshot();
    EXPECT_EQ(Import(file.Bytes(), "Lang"),
              "Kritisk fejl\r\nTabelnavn: KLASSE.ZU2\r\nForventet buffer-størrelse: 146\r\n"
              "Modtaget buffer-størrelse fra importfil: 147");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(StaevneTransferTest, FilesWithWrongMarkersNamesOrMeetCountAreRefusedBeforeTheQuestion) {
    // An imported section may carry another extension, a skipped one may not.
    THandMadeFile other = MinimalFile();
    other.Names[5] = "KLUB.ZU1";
    EXPECT_EQ(Import(other.Bytes(), "Udvidelse", 2), "<no error>");

    const QString before = Snapshot();
    const QString notKip = Path("hand.kip") + " er ikke en korrekt ZUNO importfil\r\n";
    const QString name = "Kritisk fejl\r\nForventet tabelnavn: %1\r\nModtaget tabelnavn fra importfil: %2";
    const auto refused = [&](const std::function<void(THandMadeFile&)>& change, int level = 0) {
        THandMadeFile file = MinimalFile();
        change(file);
        const QString error = Import(file.Bytes(), "Ny", level);
        EXPECT_FALSE(asked_) << error.toStdString();
        return error;
    };
    EXPECT_EQ(refused([](THandMadeFile& f) { f.Begin = "QWDRTMKAHYFX-ZUNO-KIP-BEGIM"; }),
              notKip + "<KIPSignatureBegin> er forkert");
    EXPECT_EQ(refused([](THandMadeFile& f) { f.End = "QWDRTMKAHYFX-ZUNO-KIP-EN"; }),
              notKip + "<KIPSignatureEnd> er forkert");
    EXPECT_EQ(refused([](THandMadeFile& f) { f.Names[2] = "KLUB.ZU2"; }), name.arg("KLASSE.ZU2", "KLUB.ZU2"));
    EXPECT_EQ(refused([](THandMadeFile& f) { f.Names[5] = "KLUB.ZU1"; }, 1),
              name.arg("KLUB.ZU2", "KLUB.ZU1"));
    EXPECT_EQ(refused([](THandMadeFile& f) { f.Records["STAEVNE.ZU2"].clear(); }),
              notKip + "Filen skal indeholde netop ét stævne, men indeholder 0");
    EXPECT_EQ(refused([](THandMadeFile& f) {
                  f.Records["STAEVNE.ZU2"].push_back({TRecordBytes(80).Bytes, {}});
              }),
              notKip + "Filen skal indeholde netop ét stævne, men indeholder 2");
    THandMadeFile file = MinimalFile();
    file.Records["RESULTAT.ZU2"] = {{TRecordBytes(95).Bytes, QByteArray(10, 'x')}};
    QByteArray bytes = file.Bytes();
    bytes.replace(bytes.indexOf(QByteArray(10, 'x')) - 4, 4, "\xff\xff\xff\x7f"); // a length past the end
    EXPECT_TRUE(Import(bytes, "Ny").startsWith(notKip + "Filen er afkortet eller beskadiget"));
    EXPECT_FALSE(asked_);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(StaevneTransferTest, VersionsCompareAsNumbersBeforeAnythingIsWritten) {
    ProgramVersion = "2.9.0";
    THandMadeFile file = MinimalFile();
    file.Version = "2.10.0";
    const QString before = Snapshot();
    EXPECT_EQ(Import(file.Bytes(), "Ny"),
              "Importfilen har et for nyt versionsnummer\r\nZUNO versionsnummer: 2.9.0\r\n"
              "Versionsnummer i importfil: 2.10.0");
    EXPECT_EQ(Snapshot(), before);
    ProgramVersion = "2.10.0";
    file.Version = "2.9.7.1234";
    EXPECT_EQ(Import(file.Bytes(), "Ældre"), "<no error>");
    file.Version = "2.10.0.9999";
    EXPECT_EQ(Import(file.Bytes(), "Samme udgave"), "<no error>");
}

TEST_F(StaevneTransferTest, RefusedNamesAreAskedAgainAndCancelLeavesNothing) {
    CreateMeet("Findes");
    WriteFile(Path("hand.kip"), MinimalFile().Bytes());
    const QString before = Snapshot();
    TScriptedQuestion cancel({"FINDES", "  "});
    EXPECT_EQ(ErrorText([&] { Manager().ImportStaevne(Path("hand.kip"), 0, cancel); }),
              "Import af stævne er afbrudt");
    EXPECT_EQ(cancel.Offered, QStringList({"Håndlavet", "FINDES", "  "}));
    EXPECT_EQ(Shown(), QStringList({"Illegalt stævnenavn: FINDES\r\nStævnenavnet er allerede brugt",
                                    "Der skal angives et stævnenavn"}));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Manager().GetStaevneNavn(Manager().GetCurrentIndex()), "Findes");

    TScriptedQuestion accept({"Lø?b", " Løb "});
    EXPECT_EQ(Manager().ImportStaevne(Path("hand.kip"), 0, accept), 1);
    EXPECT_EQ(Manager().GetStaevneNavn(1), "Løb");
}

TEST_F(StaevneTransferTest, EveryTruncationIsRefusedWithoutATrace) {
    SourceMeet(1);
    Manager().ExportStaevne(Path("kilde.kip"));
    const QByteArray whole = ReadFile(Path("kilde.kip"));
    const QString before = Snapshot();
    const QString notKip = Path("cut.kip") + " er ikke en korrekt ZUNO importfil\r\n";
    TScriptedQuestion question;
    for (qsizetype size = 0; size < whole.size(); ++size) {
        WriteFile(Path("cut.kip"), whole.left(size));
        const QString error = ErrorText([&] { Manager().ImportStaevne(Path("cut.kip"), 0, question); });
        ASSERT_TRUE(error.startsWith(notKip)) << size << ": " << error.toStdString();
    }
    EXPECT_TRUE(question.Offered.isEmpty());
    EXPECT_EQ(Snapshot(), before);
}

// A disk that fills up while the new meet's records go in.
class TFullDisk : public RecordManager::FileSystem {
public:
    int beforeWrite(const char*) override { return ENOSPC; }
    int beforeCommit(const char*) override { return ENOSPC; }
};

TEST_F(StaevneTransferTest, AFailureWhileWritingLeavesNoMeetBehind) {
    const qint32 source = SourceMeet();
    Manager().ExportStaevne(Path("kilde.kip"));
    const QString before = Snapshot();
    TFullDisk full;
    std::optional<RecordManager::ScopedFileSystem> seam;
    TScriptedQuestion question({"Halvt"});
    question.OnAsk = [&] { seam.emplace(full); };
    EXPECT_TRUE(ErrorText([&] {
                    Manager().ImportStaevne(Path("kilde.kip"), 0, question);
                }).startsWith("Tablename: "));
    seam.reset();
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Manager().GetCurrentStID(), source);
    EXPECT_EQ(Manager().GetStaevneDir(), Path("Kilde"));
    Restart();
    EXPECT_TRUE(Shown().isEmpty()); // no meet left with status 3
}

// The file is read once, before the question: what was checked is what goes in.
TEST_F(StaevneTransferTest, AFileChangedWhileTheQuestionIsOpenImportsAsChecked) {
    const qint32 source = SourceMeet();
    Manager().ExportStaevne(Path("kilde.kip"));
    const QByteArray whole = ReadFile(Path("kilde.kip"));
    TScriptedQuestion question({"Hel"});
    question.OnAsk = [&] { QFile::resize(Path("kilde.kip"), whole.lastIndexOf("RESULTAT.ZU2") + 40); };
    Manager().ImportStaevne(Path("kilde.kip"), 0, question);
    EXPECT_EQ(StoredAll(Manager().GetCurrentStID()), StoredAll(source));
}

TEST_F(StaevneTransferTest, AnExportToANewFileNeverReplacesOne) {
    const qint32 source = SourceMeet(1);
    WriteFile(Path("tidligere.kip"), "tidligere");
    EXPECT_EQ(Manager().ExportStaevneToNewFile(Path("tidligere.kip")), Path("tidligere_2.kip"));
    EXPECT_EQ(Manager().ExportStaevneToNewFile(Path("TIDLIGERE.KIP")), Path("tidligere_3.kip"));
    EXPECT_EQ(Manager().ExportStaevneToNewFile(Path("uden")), Path("uden"));
    EXPECT_EQ(Manager().ExportStaevneToNewFile(Path("uden")), Path("uden_2"));
    EXPECT_EQ(ReadFile(Path("tidligere.kip")), "tidligere");
    TScriptedQuestion question({"Kopi"});
    Manager().ImportStaevne(Path("tidligere_3.kip"), 0, question);
    EXPECT_EQ(StoredAll(Manager().GetCurrentStID()), StoredAll(source));
    EXPECT_TRUE(ErrorText([&] {
                    Manager().ExportStaevneToNewFile(Path("mangler/x.kip"));
                }).startsWith("Filen " + Path("mangler/x.kip") + " kan ikke oprettes"));
}

TEST_F(StaevneTransferTest, ExportNeedsAnOpenMeetAndWholeRecords) {
    EXPECT_EQ(ErrorText([&] { Manager().ExportStaevne(Path("x.kip")); }),
              "Der er ikke åbnet noget stævne, som kan eksporteres");
    CreateMeet("Skadet");
    WriteFile(Path("x.kip"), "tidligere");
    StoreRecord<TResultatTable>({});
    TResultatTable table;
    table.Open();
    ASSERT_TRUE(table.First());
    table.WriteChunk("\x64\0\0\0abc", 95, 7); // says 100 bytes, holds 3
    EXPECT_EQ(ErrorText([&] { Manager().ExportStaevne(Path("x.kip")); }),
              "Kritisk fejl\r\nTabelnavn: RESULTAT.ZU2\r\nDen variable del af en post kan ikke læses hel");
    EXPECT_EQ(ReadFile(Path("x.kip")), "tidligere");
    // Into a new file: none is left behind.
    EXPECT_TRUE(
        ErrorText([&] { Manager().ExportStaevneToNewFile(Path("x.kip")); }).startsWith("Kritisk fejl"));
    EXPECT_EQ(QDir(Dir()).entryList({"x*"}), QStringList{"x.kip"});
}

} // namespace
