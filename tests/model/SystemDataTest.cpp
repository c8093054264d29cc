#include "model/D_StaevneSystemData.h"

#include "support/Test.h"

#include "foundation/Exception.h"
#include "support/RecordedMessages.h"

#include <cstring>

namespace {

// The block's fields in order, one letter each: T text, s spare text, b Boolean byte, c carried byte,
// x spare byte, i integer, k spare integer, d double, L list of texts.
const char Forms[] = "TTTsTTTbbb"
                     "bdTbbkkxxx"
                     "xbxibibcii"
                     "xxddcixcxT"
                     "cxbbxTxcbb"
                     "bLbbccbkTx"
                     "bbTLxcTbTb"
                     "ibTTTbbTTT"
                     "bbbTiTbbTb";

const QByteArray GridColumns = "Nr,        3,;Navn,     17,;\xC5rg,      18,;Klub,     19,;Heat,      4,;"
                               "Bane,     12,;Side,     11,;Plac,     10,;Resultat,  8,;Vind,     15,;"
                               "RK,        6,;VK,       13,;Bem,      23,;PK,        9,;Point,    24,;"
                               "Seedning,  7,;PR,       16,;Rank,     22,;UK,       28,;Efter,     5,;"
                               "Holdkode, 25,;";

struct Bytes {
    QByteArray data;
    void Word(int n) {
        data += char(n & 0xFF);
        data += char((n >> 8) & 0xFF);
    }
    void Int(qint32 n) {
        for (int i = 0; i < 4; ++i)
            data += char((quint32(n) >> (8 * i)) & 0xFF);
    }
    void Text(const QByteArray& text) {
        Word(int(text.size()));
        data += text;
    }
    void Double(double d) {
        quint64 bits = 0;
        std::memcpy(&bits, &d, 8);
        for (int i = 0; i < 8; ++i)
            data += char((bits >> (8 * i)) & 0xFF);
    }
};

QByteArray FieldText(int n) {
    return "Tekst \xE6\xF8\xE5\xC6\xD8\xC5 " + QByteArray::number(n);
}

// A block of `count` fields: the defaults, or a distinct value in every field (Booleans alternate).
QByteArray HandBlock(int count, bool filled, bool sparesZero = true, int countWritten = -1) {
    Bytes b;
    b.Word(countWritten < 0 ? count : countWritten);
    const bool spares = filled && !sparesZero;
    for (int n = 1; n <= count; ++n) {
        // clang-format off
        switch (Forms[n - 1]) {
        case 'T': b.Text(filled ? FieldText(n) : n == 13 ? GridColumns : QByteArray()); break;
        case 's': b.Text(spares ? "spare" : ""); break;
        case 'b': b.data += char(filled ? n % 2 : 0); break;
        case 'c': b.data += char(filled ? 0x80 + n : 0); break;
        case 'x': b.data += char(spares ? 0xEE : 0); break;
        case 'i': b.Int(filled ? -(n * 100000 + 7) : n == 24 ? 6 : 0); break;
        case 'k': b.Int(spares ? 0x12345678 : 0); break;
        case 'd': b.Double(filled ? n + 0.25 : 0); break;
        case 'L':
            b.Word(filled ? 2 : 0);
            if (filled) {
                b.Text("\xC5" + QByteArray::number(n));
                b.Text("\xF8");
            }
            break;
        }
        // clang-format on
    }
    return b.data;
}

QByteArray VariablePart(const QByteArray& block) {
    Bytes b;
    b.Int(qint32(block.size()));
    return b.data + block;
}

void ExpectDefaultsAfterRead(const TSystemData& s) {
    EXPECT_TRUE(s.Overskrift1.isEmpty());
    EXPECT_EQ(s.AntalDTHold, 6);
    EXPECT_EQ(s.OvelseGridColumns, TSystemData::DefaultGridColumns());
    EXPECT_EQ(s.ReportFilename, "ZUNO2.RPT");
    EXPECT_EQ(s.AntalTaellendeDeltagere, 1);
    EXPECT_TRUE(s.DTOvelserHalvePoints.isEmpty());
}

class SystemDataBlock : public ::testing::Test {
protected:
    QStringList Shown() { return messages_.Shown(); }
    TRecordedMessages messages_;
};

} // namespace

TEST_F(SystemDataBlock, DefaultBlockByteForByte) {
    TSystemData s;
    const QByteArray expected = HandBlock(90, false);
    EXPECT_EQ(s.GetSystemDataBlock(), expected);
    EXPECT_EQ(s.GetSystemDataSize(), expected.size());
    EXPECT_EQ(s.GetVariablePart(), VariablePart(expected));
}

TEST_F(SystemDataBlock, EveryFieldRoundTripsAndSparesAreDropped) {
    TSystemData s;
    EXPECT_TRUE(s.LoadVariablePart(VariablePart(HandBlock(90, true, false))));
    EXPECT_TRUE(Shown().isEmpty());
    // A field of each kind where the layout puts it; the rest shows in the block written back.
    EXPECT_EQ(QStringList({s.Overskrift1, s.OvelseGridColumns, s.Carried63, s.ScoreboardFilePath}),
              QStringList({"Tekst æøåÆØÅ 1", "Tekst æøåÆØÅ 13", "Tekst æøåÆØÅ 63", "Tekst æøåÆØÅ 89"}));
    EXPECT_EQ(std::tuple(s.DT, s.Dato, s.AntalDTHold, s.Carried28, s.DiplomNed1, s.AntalPointDec),
              std::tuple(true, 12.25, -2400007, 0x80 + 28, 34.25, -8500007));
    EXPECT_EQ(s.DTOvelserHalvePoints, QStringList({"Å64", "ø"}));
    EXPECT_EQ(std::pair(s.D3TMangekamp, s.SeedningLigPR), std::pair(true, false));

    const QByteArray written = s.GetSystemDataBlock();
    EXPECT_EQ(written, HandBlock(90, true));
    EXPECT_EQ(s.GetSystemDataSize(), written.size());
}

TEST_F(SystemDataBlock, OlderBlockLeavesLaterFieldsAtDefaults) {
    TSystemData s;
    EXPECT_TRUE(s.LoadVariablePart(VariablePart(HandBlock(60, true))));
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_EQ(std::pair(s.Overskrift1, s.ReportFilename),
              std::pair(QString("Tekst æøåÆØÅ 1"), QString("Tekst æøåÆØÅ 59")));
    EXPECT_TRUE(!s.IndtastSeedning && s.Stadion.isEmpty() && s.DTOvelserHalvePoints.isEmpty());
    EXPECT_EQ(s.AntalTaellendeDeltagere, 1);
}

TEST_F(SystemDataBlock, NewerBlockIsRefusedButKept) {
    QByteArray block = HandBlock(90, true, true, 91);
    block += char(1);
    const QByteArray part = VariablePart(block);
    TSystemData s;
    EXPECT_TRUE(s.LoadVariablePart(part + "trailing"));
    EXPECT_EQ(Shown().join(""),
              "ZUNO version er for gammel - systemdata indeholder nyere data. Opdater til nyeste "
              "ZUNO version.");
    ExpectDefaultsAfterRead(s);
    EXPECT_TRUE(s.IsNewerBlock());
    EXPECT_EQ(s.NewerVariablePart(), part);
    // Writing the defaults over the meet's newer settings is refused.
    EXPECT_THROW(s.GetVariablePart(), Exception);

    s.LoadVariablePart(VariablePart(HandBlock(90, false)));
    EXPECT_FALSE(s.IsNewerBlock());
    EXPECT_TRUE(s.NewerVariablePart().isEmpty());
    EXPECT_NO_THROW(s.GetVariablePart());
}

TEST_F(SystemDataBlock, MissingShortAndDamagedBlocksGiveUsableDefaults) {
    const QByteArray full = HandBlock(90, true);
    Bytes longer;
    longer.Int(qint32(full.size()) + 1);
    Bytes negative;
    negative.Int(-5);
    struct Case {
        QByteArray part;
        bool ok;
        QString message;
    } cases[] = {
        {QByteArray(), true, {}},
        {QByteArray("\x01\x00", 2), true, {}},
        {negative.data + full, true, {}},
        {longer.data + full, true, "Fejl ved indlæsning af systemdata: kan ikke læse 'chunk'"},
        {VariablePart(full.left(full.size() - 1)), false, {}},
        {VariablePart(QByteArray(1, '\x05')), false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part.left(8).toHex().toStdString());
        TSystemData s;
        s.Overskrift1 = "før";
        EXPECT_EQ(s.LoadVariablePart(c.part), c.ok);
        EXPECT_EQ(Shown().join(""), c.message);
        ExpectDefaultsAfterRead(s);
        EXPECT_FALSE(s.IsNewerBlock());
    }
}

TEST_F(SystemDataBlock, FixesAfterReading) {
    struct Case {
        bool dt, vt, ltu;
        qint32 perEvent, maxEvents;
        bool dtAfter;
        qint32 perEventAfter, maxEventsAfter;
    } cases[] = {
        {true, true, false, 0, 0, false, 2, 3},  {true, false, false, 0, 0, true, 2, 2},
        {false, false, true, 0, 0, false, 1, 2}, {false, false, false, 0, 0, false, 0, 0},
        {false, true, true, 4, 5, false, 4, 5},
    };
    for (const Case& c : cases) {
        TSystemData written;
        written.DT = c.dt, written.VT = c.vt, written.LTU = c.ltu;
        written.AntalDeltagerePrOvelse = c.perEvent;
        written.MaxAntalOvelserPrDeltager = c.maxEvents;
        written.OvelseGridColumns.clear();
        TSystemData s;
        s.LoadVariablePart(written.GetVariablePart());
        EXPECT_EQ(std::tuple(s.DT, s.AntalDeltagerePrOvelse, s.MaxAntalOvelserPrDeltager),
                  std::tuple(c.dtAfter, c.perEventAfter, c.maxEventsAfter));
        EXPECT_EQ(s.OvelseGridColumns, TSystemData::DefaultGridColumns());
    }
    TSystemData written, s;
    written.ReportFilename = "EGEN.RPT";
    written.AntalTaellendeDeltagere = 3;
    s.LoadVariablePart(written.GetVariablePart());
    EXPECT_EQ(std::pair(s.ReportFilename, s.AntalTaellendeDeltagere), std::pair(QString("EGEN.RPT"), 3));
}
