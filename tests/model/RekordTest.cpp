#include "model/D_Rekord.h"

#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Rekorder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        ASSERT_TRUE(QDir(root_.path()).mkdir("_rekorder"));
    }
    // The bytes as a records file of that name in the data folder.
    void Write(const QString& fileName, const QByteArray& bytes) {
        QFile file(root_.path() + "/_rekorder/" + fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString Name(const QString& name) const { return RekorderName(root_.path(), name); }

private:
    QTemporaryDir root_;
};

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

    const TRekord* first = rekorder.GetRekord(0);
    EXPECT_EQ(first->Owner(), &rekorder);
    EXPECT_EQ(first->Key1, "100");
    EXPECT_TRUE(first->Key2.isEmpty());
    EXPECT_EQ(first->Kategori, "SEN");
    EXPECT_EQ(first->Resultat, "10.52");
    EXPECT_EQ(first->Navn, QStringLiteral("Bjørn Ærø"));
    EXPECT_EQ(first->Klub, QStringLiteral("Århus 1900"));
    EXPECT_EQ(first->Dato, "12.06.1999");

    const TRekord* attribut = rekorder.GetRekord(1);
    EXPECT_EQ(attribut->Key1, "100");
    EXPECT_EQ(attribut->Key2, "76A");
    EXPECT_EQ(attribut->Kategori, "SEN");
    EXPECT_EQ(attribut->Resultat, " 12.00 "); // the values stay as written

    EXPECT_EQ(rekorder.GetRekord(2)->Key1, QStringLiteral("HØ"));
    EXPECT_EQ(rekorder.GetRekord(3)->Kategori, "VET");
    EXPECT_EQ(rekorder.GetRekord(4)->Key1, "/X"); // a leading "/" splits nothing
    EXPECT_TRUE(rekorder.GetRekord(4)->Key2.isEmpty());
    EXPECT_EQ(rekorder.GetRekord(5), nullptr);
}

TEST_F(Rekorder, GroupsAreRunsAndFindGroupGivesTheFirst) {
    Write("DM.TXT", Danske);
    TRekorder rekorder;
    ASSERT_TRUE(rekorder.LoadFromFile(Name("DM")));
    int first = -1, count = -1;
    ASSERT_TRUE(rekorder.FindGroup("100", first, count));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(count, 2);
    ASSERT_TRUE(rekorder.FindGroup(QStringLiteral("HØ"), first, count));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(rekorder.FindGroup(QStringLiteral("hø"), first, count));
    EXPECT_EQ(count, 0);

    // Entries added by hand keep the groups as BuildIndex makes them.
    TRekorder added;
    for (const char* key : {"HØ", "HØ", "100", "HØ"}) {
        auto rekord = std::make_unique<TRekord>();
        rekord->Key1 = QString::fromUtf8(key);
        EXPECT_EQ(added.Add(std::move(rekord))->Owner(), &added);
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

    Write("NM.TXT", "=Nordiske\n100;SEN;1;2;3;4;5;\n");
    ASSERT_TRUE(rekorder.LoadFromFile(Name("NM")));
    EXPECT_EQ(rekorder.Titel(), "Nordiske");
    EXPECT_EQ(rekorder.GetCount(), 1);
}
