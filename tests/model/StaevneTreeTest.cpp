#include "model/D_StaevneTree.h"

#include "support/Test.h"

#include "ProgramFolderFixture.h"
#include "model/D_Staevne.h"

namespace {

class StaevneTreeTest : public TProgramFolderTest {
protected:
    void CreateMeets(const QStringList& navne) {
        for (const QString& navn : navne)
            CreateMeet(navn);
    }
    QString Warning() const { return "Stævnemapperne i " + Dir() + "ZUNO2.SLF kan ikke læses:"; }
};

TEST_F(StaevneTreeTest, WithoutATreeFileOneFolderHoldsEveryMeetSortedByName) {
    EXPECT_TRUE(Manager().LoadStaevneTree().empty());
    CreateMeets({"b-løb", "Æbleløb", "a-stævne", "A-løb"});
    const TStaevneTree tree = Manager().LoadStaevneTree();
    ASSERT_EQ(tree.size(), 1u);
    EXPECT_EQ(tree[0].Level, 0);
    EXPECT_EQ(tree[0].Caption, "ZUNO stævner");
    EXPECT_EQ(tree[0].Navne, QStringList({"A-løb", "a-stævne", "b-løb", "Æbleløb"}));
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(StaevneTreeTest, MeetsAreSortedInDanishOrder) {
    CreateMeets({"Aalborg Cup", "Øst-løb", "Åbent stævne", "Zebraløb"});
    const TStaevneTree tree = Manager().LoadStaevneTree();
    ASSERT_EQ(tree.size(), 1u);
    // Æ, Ø and Å after Z; "Aa" is Å.
    EXPECT_EQ(tree[0].Navne, QStringList({"Zebraløb", "Øst-løb", "Åbent stævne", "Aalborg Cup"}));
}

TEST_F(StaevneTreeTest, TreeRoundTripsInItsFileLayoutAndUnfiledMeetsGoToTheFirstFolder) {
    CreateMeets({"Forår", "Høst", "Vinter", "Sommer"});
    const TStaevneTree saved = {
        {0, "Udendørs", true, std::nullopt}, {1, "Bane", false, QStringList({"Sommer", "Slettet stævne"})},
        {2, "Øst", true, QStringList()},     {1, "Vej", false, QStringList({"Høst"})},
        {0, "Inde", false, std::nullopt},
    };
    Manager().SaveStaevneTree(saved);
    const QByteArray bytes = ReadFile(Path("ZUNO2.SLF"));
    EXPECT_EQ(bytes.left(4), QByteArray("\x05\0\0\0", 4));
    EXPECT_EQ(bytes.mid(4, 17), QByteArray("\x03\0\0\0\0\x08\0Udendørs\x01\0", 18).replace("ø", "\xf8"));
    EXPECT_EQ(bytes.mid(21, 13), QByteArray("\x03\x01\0\0\0\x04\0Bane\0\x01", 13));

    TStaevneTree expected = saved;
    expected[0].Navne = QStringList({"Forår", "Vinter"});
    EXPECT_EQ(Manager().LoadStaevneTree(), expected);
    EXPECT_TRUE(Shown().isEmpty());

    // Unfiled meets join the first folder's list after its own names.
    expected[0].Navne = QStringList({"Vinter"});
    Manager().SaveStaevneTree(expected);
    expected[0].Navne = QStringList({"Vinter", "Forår"});
    EXPECT_EQ(Manager().LoadStaevneTree(), expected);
}

TEST_F(StaevneTreeTest, LevelsWithoutAParentMakeTopFolders) {
    CreateMeets({"Løb"});
    Manager().SaveStaevneTree({{3, "Dyb", false, QStringList({"Løb"})},
                               {1, "Barn", false, std::nullopt},
                               {3, "For dyb", false, std::nullopt},
                               {-2, "Negativ", false, std::nullopt}});
    const TStaevneTree tree = Manager().LoadStaevneTree();
    QList<int> levels;
    for (const auto& folder : tree)
        levels << folder.Level;
    EXPECT_EQ(levels, QList<int>({0, 1, 0, 0}));
}

TEST_F(StaevneTreeTest, AnUnreadableTreeFileFallsBackToTheDefaultFolderWithAWarning) {
    CreateMeets({"Løb", "Cup"});
    Manager().SaveStaevneTree(
        {{0, "Mappe", false, QStringList({"Løb"})}, {1, "Under", true, QStringList({"Cup"})}});
    const QByteArray whole = ReadFile(Path("ZUNO2.SLF"));
    const TStaevneTree fallback = {{0, "ZUNO stævner", false, QStringList({"Cup", "Løb"})}};
    for (qsizetype size = 0; size < whole.size(); ++size) {
        WriteFile(Path("ZUNO2.SLF"), whole.left(size));
        ASSERT_EQ(Manager().LoadStaevneTree(), fallback) << size;
        const QStringList shown = Shown();
        ASSERT_EQ(shown.size(), 1) << size;
        EXPECT_TRUE(shown[0].startsWith(Warning())) << size;
        EXPECT_TRUE(shown[0].endsWith("\r\n\r\nAlle stævner vises i mappen \"ZUNO stævner\"."));
    }
    for (const QByteArray& damaged : {QByteArray("\xff\xff\xff\x7f", 4), QByteArray("\xff\xff\xff\xff", 4),
                                      QByteArray("\x01\0\0\0\x09\0", 6)}) {
        WriteFile(Path("ZUNO2.SLF"), damaged);
        EXPECT_EQ(Manager().LoadStaevneTree(), fallback);
        EXPECT_EQ(Shown().size(), 1);
    }
    WriteFile(Path("ZUNO2.SLF"), whole);
    EXPECT_EQ(Manager().LoadStaevneTree()[1].Navne, QStringList({"Cup"}));
}

} // namespace
