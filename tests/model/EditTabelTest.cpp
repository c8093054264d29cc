// The raw editor's record work: what is written of a row, and what is left byte for byte.
#include "model/D_EditTabel.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Staevne.h"

namespace {

// A record as stored: its fixed part and the part behind it.
struct TStoredRecord {
    QByteArray Fixed;
    QByteArray Variable;
};

class EditTabel : public TResultTest {
protected:
    template <typename Table>
    static TStoredRecord Stored(quint32 position) {
        Table table;
        table.Open();
        EXPECT_TRUE(table.FindWholeAt(position));
        return {QByteArray(reinterpret_cast<const char*>(table.RecordBuffer()->Current()),
                           table.GetRecordLength()),
                table.VariablePart()};
    }
    // A result with every field of its own set, stamped long ago, and a series behind it.
    quint32 FullResultat() {
        ModelContext().Clock = [] { return 40000.25; };
        const quint32 position = AddResultat(Round("M", "LÆ"), 17,
                                             Fields({{ResultatField::Heat, 2},
                                                     {ResultatField::Efteranmeldelse, 7},
                                                     {ResultatField::Seedning, 645},
                                                     {ResultatField::Resultat, 701},
                                                     {ResultatField::Vind, -13},
                                                     {ResultatField::Rank, 3}}),
                                             Serie({{650, 0}, {0, 1}, {701, 0}}));
        TResultatTable table;
        table.Open();
        table.GotoPosition(position);
        table.Edit();
        table.GetField(ResultatField::Point)->SetAsFloat(1.0 / 3.0);
        table.GetField(ResultatField::ResultatKode)->SetAsString(QStringLiteral("D"));
        table.Post();
        ModelContext().Clock = nullptr;
        return position;
    }
    static std::unique_ptr<TZunoDataTable> Open(const QString& navn) {
        auto table = MakeEditTabel(static_cast<int>(EditTabelNavne().indexOf(navn)));
        table->Open();
        return table;
    }
};

TEST_F(EditTabel, TheListNamesTheFourteenFilesInOrderAndEachOpensItsFile) {
    EXPECT_EQ(EditTabelNavne(),
              QStringList({"AFVSTED", "BETALING", "DELTAGER", "GRUPPE", "KLASSE", "KLUB", "KLUBKOB", "OVDEF",
                           "OVELSE", "OVELSERK", "OVELSERN", "RESULTAT", "STAEVNE", "VARE"}));
    for (int index = 0; index < EditTabelNavne().size(); ++index) {
        const auto table = MakeEditTabel(index);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->TableName().section(u'.', 0, 0), EditTabelNavne()[index]);
    }
    EXPECT_EQ(MakeEditTabel(14), nullptr);
    EXPECT_EQ(MakeEditTabel(-1), nullptr);
}

TEST_F(EditTabel, EveryRecordOfEveryMeetComesInKeyOrder) {
    AddDeltager(5, QStringLiteral("Eva"));
    AddDeltager(2, QStringLiteral("Bo"));
    CreateMeet(QStringLiteral("Andet"));
    AddDeltager(1, QStringLiteral("Ib"));
    const auto table = Open("DELTAGER");
    QStringList navne;
    ForEachEditRecord(*table, [&] { navne << table->GetField(DeltagerField::Navn)->GetTrimmedString(); });
    EXPECT_EQ(navne, QStringList({"Bo", "Eva", "Ib"}));
}

TEST_F(EditTabel, AChangedCellIsAllThatIsWrittenAndTheRestStaysByteForByte) {
    const quint32 position = FullResultat();
    const TStoredRecord before = Stored<TResultatTable>(position);
    ASSERT_FALSE(before.Variable.isEmpty());
    const auto table = Open("RESULTAT");

    // Written back as shown, the date-time, float and code fields would not all come back as they were.
    table->GotoPosition(position);
    const QString heat = table->GetField(ResultatField::Heat)->GetAsString();
    EXPECT_EQ(WriteEditRecord(*table, position, {{ResultatField::Banenummer, QStringLiteral("4")}}),
              position);

    const TStoredRecord after = Stored<TResultatTable>(position);
    EXPECT_EQ(after.Variable, before.Variable);
    const int offset = table->GetField(ResultatField::Banenummer)->Offset;
    const int size = table->GetField(ResultatField::Banenummer)->Size;
    EXPECT_EQ(after.Fixed.left(offset), before.Fixed.left(offset));
    EXPECT_EQ(after.Fixed.mid(offset + size), before.Fixed.mid(offset + size));
    EXPECT_EQ(StoredInteger(position, ResultatField::Banenummer), 4);
    EXPECT_EQ(StoredInteger(position, ResultatField::Heat), heat.toInt());

    // Nothing changed writes nothing at all.
    WriteEditRecord(*table, position, {});
    EXPECT_EQ(Stored<TResultatTable>(position).Fixed, after.Fixed);

    // Every field written back as it is shown would not leave the record as it was: a late-entry flag of
    // 7 shows as "Ja" and goes back as 1.
    std::map<int, QString> shown;
    table->GotoPosition(position);
    for (int fieldNo = 0; fieldNo < table->GetFieldCount(); ++fieldNo)
        shown[fieldNo] = table->GetField(fieldNo)->GetAsString();
    WriteEditRecord(*table, position, shown);
    EXPECT_NE(Stored<TResultatTable>(position).Fixed, after.Fixed);
    EXPECT_EQ(StoredInteger(position, ResultatField::Efteranmeldelse), 1);
}

TEST_F(EditTabel, AMeetRecordKeepsItsSettingsBehindIt) {
    Manager().SystemData().Overskrift1 = QStringLiteral("Overskrift");
    Manager().SaveStaevneData();
    const quint32 position = [] {
        TStaevneTable table;
        table.Open();
        table.First();
        return table.GetPosition();
    }();
    const TStoredRecord before = Stored<TStaevneTable>(position);
    ASSERT_GT(before.Variable.size(), 100);
    const auto table = Open("STAEVNE");
    WriteEditRecord(*table, position, {{StaevneField::Status, QStringLiteral("0")}});
    const TStoredRecord after = Stored<TStaevneTable>(position);
    EXPECT_EQ(after.Variable, before.Variable);
    EXPECT_EQ(after.Fixed, before.Fixed);
    Restart().OpenStaevne(0);
    EXPECT_EQ(Manager().SystemData().Overskrift1, "Overskrift");
}

TEST_F(EditTabel, ANewRecordIsInsertedOnceStampedAndThenChangedInPlace) {
    ModelContext().Clock = [] { return 45000.5; };
    const auto table = Open("KLUB");
    const int count = table->GetRecordCount();
    const quint32 position = WriteEditRecord(
        *table, 0, {{KlubField::StID, QStringLiteral("1")}, {KlubField::KlubNr, QStringLiteral("9")}});
    ASSERT_NE(position, 0u);
    EXPECT_EQ(table->GetRecordCount(), count + 1);
    table->GotoPosition(position);
    EXPECT_EQ(table->GetField(0)->GetAsFloat(), 45000.5);
    EXPECT_EQ(table->GetField(1)->GetAsFloat(), 45000.5);

    ModelContext().Clock = [] { return 46000.0; };
    EXPECT_EQ(WriteEditRecord(*table, position, {{KlubField::Navn, QStringLiteral("Ny")}}), position);
    EXPECT_EQ(table->GetRecordCount(), count + 1);
    table->GotoPosition(position);
    EXPECT_EQ(table->GetField(KlubField::Navn)->GetTrimmedString(), "Ny");
    EXPECT_EQ(table->GetField(KlubField::KlubNr)->GetAsInteger(), 9);
    EXPECT_EQ(table->GetField(1)->GetAsFloat(), 45000.5) << "a change keeps the stamps";
    ModelContext().Clock = nullptr;
}

TEST_F(EditTabel, ARefusedTextWritesNothingAndLeavesTheTableBrowsing) {
    const quint32 position = FullResultat();
    const TStoredRecord before = Stored<TResultatTable>(position);
    const auto table = Open("RESULTAT");
    const int count = table->GetRecordCount();
    EXPECT_NE(ErrorText([&] {
                  WriteEditRecord(*table, position,
                                  {{ResultatField::Heat, QStringLiteral("5")}, {ResultatField::Rank, "abc"}});
              }),
              "<no error>");
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(Stored<TResultatTable>(position).Fixed, before.Fixed);
    EXPECT_NE(ErrorText([&] { WriteEditRecord(*table, 0, {{ResultatField::Heat, "x"}}); }), "<no error>");
    EXPECT_EQ(table->GetRecordCount(), count);

    DeleteEditRecord(*table, position);
    EXPECT_FALSE(RecordExists(position));
}

} // namespace
