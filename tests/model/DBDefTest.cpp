#include "model/D_DBDef.h"

#include "support/Test.h"

#include "ProgramFolderFixture.h"
#include "model/D_Context.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"

#include <functional>

namespace {

struct TLayout {
    std::function<std::unique_ptr<TZunoDataTable>()> Make;
    int RecordLength;
    // One field whose place the layout must keep: number, stored name, offset.
    int FieldNo;
    const char* Name;
    int Offset;
};

template <typename Table>
std::unique_ptr<TZunoDataTable> Make() {
    return std::make_unique<Table>();
}

const TLayout Layouts[] = {
    {Make<TStaevneTable>, 80, StaevneField::OvelseRettet, "OvelseRettet", 51},
    {Make<TOvelseTable>, 155, OvelseField::StartBlok, "StartBlok", 136},
    {Make<TOvDefTable>, 102, OvDefField::Sprog, "Sprog", 82},
    {Make<TKlasseTable>, 146, KlasseField::Reserveret, "Reserveret", 125},
    {Make<TOvelseRkTable>, 161, OvelseRkField::Uofficiel, "Uofficiel", 140},
    {Make<TOvelseRnTable>, 110, OvelseRnField::ExtraText3, "ExtraText3", 96},
    {Make<TAfvStedTable>, 98, AfvStedField::Reserveret, "Reserveret", 82},
    {Make<TKlubTable>, 366, KlubField::KortNavn, "KortNavn", 347},
    {Make<TDeltagerTable>, 57, DeltagerField::Koen, "Køn", 53},
    {Make<TResultatTable>, 95, ResultatField::ResultatKom2, "ResultatKom", 88},
    {Make<TKlubkobTable>, 32, KlubkobField::Antal, "Antal", 24},
    {Make<TVareTable>, 198, VareField::Gruppe, "Gruppe", 170},
    {Make<TGruppeTable>, 98, GruppeField::Reserveret, "Reserveret", 72},
    {Make<TBetalingTable>, 100, BetalingField::Belob, "Belob", 76},
};

class DBDefTest : public TProgramFolderTest {};

TEST_F(DBDefTest, EveryLayoutFillsItsInstalledRecordExactly) {
    for (const TLayout& layout : Layouts) {
        const auto table = layout.Make();
        SCOPED_TRACE(table->TableName().toStdString());
        EXPECT_EQ(TZunoDataTable::RecordLengthOf(table->FieldList()), layout.RecordLength);
        table->Open();
        EXPECT_EQ(table->GetRecordLength(), layout.RecordLength);
        const TFieldDef& last = table->GetFieldDefs().GetItem(table->GetFieldDefs().GetCount() - 1);
        EXPECT_EQ(last.Offset + last.Size, layout.RecordLength);
        const TFieldDef& kept = table->GetFieldDefs().GetItem(layout.FieldNo);
        EXPECT_EQ(kept.Name, QString::fromUtf8(layout.Name));
        EXPECT_EQ(kept.Offset, layout.Offset);
        EXPECT_EQ(table->GetFieldDefs().GetItem(1).Name, "SidstRettet");
        EXPECT_EQ(table->IsStaevneBound(),
                  !dynamic_cast<TOvelseTable*>(table.get()) && !dynamic_cast<TOvDefTable*>(table.get()));
    }
}

TEST_F(DBDefTest, CodeFieldsOfResultsAndRounds) {
    TResultatTable table;
    table.Open();
    table.Insert();
    TField* runde = table.GetField(ResultatField::Runde);
    TField* efter = table.GetField(ResultatField::Efteranmeldelse);
    TField* vind = table.GetField(ResultatField::Vind);
    const quint8* record = table.RecordBuffer()->Current();

    for (const QString& blank : {QString(), QStringLiteral(" ")}) {
        runde->SetAsString(QStringLiteral("F"));
        runde->SetAsString(blank);
        EXPECT_EQ(record[29], 0);
        EXPECT_EQ(runde->GetAsString(), QString());
    }
    runde->SetAsString(QStringLiteral("S"));
    EXPECT_EQ(record[29], 'S');

    for (const auto& [text, value] :
         {std::pair("JA", 1), {" ja", 0}, {"yes", 1}, {"1", 0}, {"j", 1}, {"nej", 0}}) {
        efter->SetAsString(QString::fromUtf8(text));
        EXPECT_EQ(efter->GetAsString(), value ? "Ja" : "Nej") << text;
    }

    auto* resKode = static_cast<TResKodeField*>(table.GetField(ResultatField::ResultatKode));
    resKode->SetAsString(QStringLiteral("Ej mødt"));
    EXPECT_EQ(resKode->GetKode(), "E");
    EXPECT_TRUE(resKode->IsCodeE() && !resKode->IsBlank());
    resKode->TStringField::SetAsString(QStringLiteral(" "));
    EXPECT_TRUE(resKode->IsBlank() && !resKode->IsCodeE());

    vind->SetAsString(QStringLiteral("-1,5"));
    EXPECT_EQ(vind->GetAsInteger(), -15);
    vind->SetAsString(QString());
    EXPECT_EQ(vind->GetAsString(), "x");

    table.GetField(ResultatField::UdenforKonk)->SetAsString(QStringLiteral("UK"));
    EXPECT_EQ(static_cast<TUdenforKonkField*>(table.GetField(ResultatField::UdenforKonk))->GetKode(), "U");
    table.Cancel();
}

TEST_F(DBDefTest, RoundElementReadsItsLetterAndSplitsItsExtraText) {
    TOvelseRnTable table;
    table.Open();
    TOvelseRnList list(table);
    TOvelseRnElement* round = list.GetElement(list.AddNew());
    round->GetField(OvelseRnField::Runde)->SetAsString(QStringLiteral("I"));
    EXPECT_EQ(round->GetRundeChar(), u'I');

    const QString text = QStringLiteral("Første seks|næste seks|og de sidste 14 tegn!");
    round->SetExtraText(text);
    EXPECT_EQ(QStringList({round->GetField(OvelseRnField::ExtraText)->GetAsString(),
                           round->GetField(OvelseRnField::ExtraText2)->GetAsString(),
                           round->GetField(OvelseRnField::ExtraText3)->GetAsString()}),
              QStringList({"Første", " seks|", "næste seks|og "}));
    EXPECT_EQ(round->GetExtraText(), text.left(26));
}

TEST_F(DBDefTest, CatalogueTablesSeeOnlyTheMeetsLanguage) {
    TSystemData english;
    english.Engelsk = true;
    for (const bool engelsk : {false, true}) {
        if (engelsk)
            ModelContext().SystemData = &english;
        TOvelseTable events;
        events.Open();
        TOvelseList list(events);
        list.LoadFromTable();
        EXPECT_GT(list.GetCount(), 60);
        EXPECT_EQ(list.GetCount() * 2, events.GetRecordCount());
        for (int i = 0; i < list.GetCount(); ++i)
            EXPECT_EQ(list.GetElement(i)->GetField(OvelseField::Sprog)->GetAsInteger(), engelsk ? 1 : 0);
        int pos = -1;
        ASSERT_TRUE(list.Locate({OvelseField::Ovelse}, {QStringLiteral("HØ")}, pos));
        EXPECT_EQ(list.GetElement(pos)->GetField(OvelseField::Korttekst)->GetAsString().trimmed(),
                  engelsk ? "High jump" : "Højdespring");

        TOvDefTable attributes;
        attributes.Open();
        ASSERT_TRUE(attributes.First());
        EXPECT_EQ(attributes.GetField(OvDefField::Sprog)->GetAsInteger(), engelsk ? 1 : 0);
    }
}

// Classes of two meets written alternately.
void AddClasses(qint32 a, qint32 b) {
    TKlasseTable table;
    table.Open();
    for (int i = 0; i < 6; ++i) {
        table.Insert();
        table.GetField(KlasseField::StID)->SetAsInteger(i % 2 ? a : b);
        table.GetField(KlasseField::Klasse)->SetAsString(QStringLiteral("K%1").arg(i));
        table.Post();
    }
}

QStringList Classes() {
    TKlasseTable table;
    table.Open();
    TKlasseList list(table);
    list.LoadFromTable();
    QStringList codes;
    for (int i = 0; i < list.GetCount(); ++i)
        codes.append(QString::number(list.GetElement(i)->GetField(KlasseField::StID)->GetAsInteger()) + u':' +
                     list.GetElement(i)->GetField(KlasseField::Klasse)->GetAsString().trimmed());
    return codes;
}

TEST_F(DBDefTest, MeetBoundTablesAndListsSeeAndDeleteOnlyTheCurrentMeet) {
    // Deleting all of an empty file does nothing.
    TAfvStedTable empty;
    empty.DeleteAll();
    EXPECT_FALSE(empty.Active());
    const qint32 a = CreateMeet(QStringLiteral("A"));
    const qint32 b = CreateMeet(QStringLiteral("B"));
    AddClasses(a, b);
    EXPECT_EQ(Classes(), QStringList({"2:K0", "2:K2", "2:K4"}));
    Manager().OpenStaevne(Manager().IndexOfStID(a));
    // Key order puts meet 2 right behind meet 1: the walk stops there.
    EXPECT_EQ(Classes(), QStringList({"1:K1", "1:K3", "1:K5"}));
    TStaevneTable meets;
    meets.Open();
    ASSERT_TRUE(meets.First());
    EXPECT_EQ(meets.GetField(StaevneField::Navn)->GetAsString().trimmed(), "A");
    EXPECT_FALSE(meets.Next());

    TKlasseTable table;
    table.Open();
    TKlasseList list(table);
    TKlasseElement* added = list.GetElement(list.AddNew());
    EXPECT_EQ(added->GetField(KlasseField::StID)->GetAsInteger(), a);
    added->GetField(KlasseField::Klasse)->SetAsString(QStringLiteral("K6"));
    EXPECT_TRUE(list.SaveAll());
    EXPECT_EQ(Classes(), QStringList({"1:K1", "1:K3", "1:K5", "1:K6"}));
    EXPECT_TRUE(list.IsStaevneBound());
    TOvelseTable events;
    EXPECT_FALSE(TOvelseList(events).IsStaevneBound());

    // Deleting all leaves a closed table closed.
    TKlasseTable all;
    all.DeleteAll();
    EXPECT_FALSE(all.Active());
    EXPECT_EQ(Classes(), QStringList());
    all.DeleteAll();
    Manager().OpenStaevne(Manager().IndexOfStID(b));
    EXPECT_EQ(Classes(), QStringList({"2:K0", "2:K2", "2:K4"}));
}

TEST_F(DBDefTest, AMeetsWalkFindsRecordsWhoseNextKeyFieldIsNegative) {
    CreateMeet(QStringLiteral("A"));
    TKlubTable table;
    table.Open();
    TKlubList list(table);
    for (const int nr : {-5, 3}) {
        TKlubElement* club = list.GetElement(list.AddNew());
        club->GetField(KlubField::KlubNr)->SetAsInteger(nr);
    }
    ASSERT_TRUE(list.SaveAll());
    QStringList numbers;
    for (bool found = table.First(); found; found = table.Next())
        numbers << table.GetField(KlubField::KlubNr)->GetAsString();
    EXPECT_EQ(numbers, QStringList({"-5", "3"}));
}

} // namespace
