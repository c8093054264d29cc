#include "model/D_Rekord.h"

#include "support/Test.h"

namespace {

class Rekorder : public ::testing::Test {
protected:
    // The bytes as a records file of that name in the data folder.
    void Write(const QString& fileName, const QByteArray& bytes) {
        WriteFile(root_.path() + "/_rekorder/" + fileName, bytes);
    }
    QString Name(const QString& name) const { return RekorderName(root_.path(), name); }

private:
    QTemporaryDir root_;
};

// A record's fields, joined by "|".
QString Fields(const TRekord* r) {
    return QStringList({r->Key1, r->Key2, r->Kategori, r->Resultat, r->Navn, r->Klub, r->Sted, r->Dato})
        .join('|');
}

// Windows-1252 with CRLF, LF and a last line without an end.
const QByteArray Danske = "; Danske rekorder\r\n"
                          "=Gammel titel\r\n"
                          "   =Danske rekorder  \r\n"
                          "\r\n"
                          "100;sen;10.52;Bj\xF8rn \xC6r\xF8;\xC5rhus 1900;Odense;12.06.1999;\r\n"
                          "  100 / 76a ;SEN ; 12.00 ;Navn;Klub;Sted;Dato;noter\r\n"
                          "h\xF8;ung;2.00;A;B;C;D;\n"
                          "L\xC6;SEN;7.00;A;B;C;D\r\n"
                          "KU;SEN;1;2;3;4;5;6;\r\n"
                          "100;vet;11.00;A;B;C;D;\r\n"
                          "/X;SEN;1;A;B;C;D;";

} // namespace

TEST_F(Rekorder, ReadsSevenFieldLinesOnly) {
    Write("DM.txt", Danske);
    TRekorder rekorder;
    ASSERT_TRUE(rekorder.LoadFromFile(Name("dm")));
    EXPECT_EQ(rekorder.Titel(), "Danske rekorder");
    ASSERT_EQ(rekorder.GetCount(), 5);
    EXPECT_EQ(Fields(rekorder.GetRekord(0)), "100||SEN|10.52|Bjørn Ærø|Århus 1900|Odense|12.06.1999");
    // The keys are trimmed and upper-cased, the values stay as written.
    EXPECT_EQ(Fields(rekorder.GetRekord(1)), "100|76A|SEN| 12.00 |Navn|Klub|Sted|Dato");
    EXPECT_EQ(rekorder.GetRekord(2)->Key1 + rekorder.GetRekord(3)->Kategori, QStringLiteral("HØVET"));
    EXPECT_EQ(Fields(rekorder.GetRekord(4)), "/X||SEN|1|A|B|C|D"); // a leading "/" splits nothing
    EXPECT_EQ(rekorder.GetRekord(5), nullptr);
}

TEST_F(Rekorder, GroupsAreRunsAndFindGroupGivesTheFirst) {
    Write("DM.TXT", Danske);
    TRekorder rekorder;
    ASSERT_TRUE(rekorder.LoadFromFile(Name("DM")));
    int first = -1, count = -1;
    ASSERT_TRUE(rekorder.FindGroup("100", first, count));
    EXPECT_EQ(std::pair(first, count), std::pair(0, 2));
    ASSERT_TRUE(rekorder.FindGroup(QStringLiteral("HØ"), first, count));
    EXPECT_EQ(std::pair(first, count), std::pair(2, 1));
    EXPECT_FALSE(rekorder.FindGroup(QStringLiteral("hø"), first, count));
    EXPECT_EQ(count, 0);

    // Entries added by hand keep the groups as BuildIndex makes them.
    TRekorder added;
    for (const char* key : {"HØ", "HØ", "100", "HØ"}) {
        auto rekord = std::make_unique<TRekord>();
        rekord->Key1 = QString::fromUtf8(key);
        added.Add(std::move(rekord));
    }
    ASSERT_TRUE(added.FindGroup(QStringLiteral("HØ"), first, count));
    EXPECT_EQ(count, 2);
    added.BuildIndex();
    ASSERT_TRUE(added.FindGroup("100", first, count));
    EXPECT_EQ(first, 2);
}

TEST_F(Rekorder, MissingFileIsReportedAndLeavesTheListEmpty) {
    Write("DM.TXT", Danske);
    TRekorder rekorder;
    ASSERT_TRUE(rekorder.LoadFromFile(Name("DM")));
    EXPECT_FALSE(rekorder.LoadFromFile(Name("NM")));
    EXPECT_EQ(rekorder.GetCount(), 0);
    EXPECT_TRUE(rekorder.Titel().isEmpty());
}
