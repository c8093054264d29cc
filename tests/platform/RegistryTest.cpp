#include "platform/Registry.h"

#include "support/Test.h"

using Platform::TRegistry;

namespace {

const QString CfgKey = QStringLiteral("\\Software\\Zuno\\zuno2.cfg");

class RegistryTest : public ::testing::Test {
protected:
    QTemporaryDir root_;
    TRegistry Make() const { return TRegistry(root_.path()); }
};

TEST_F(RegistryTest, ValuesSurviveARereadAndTwoObjectsKeepEachOthersWrites) {
    const QString Text = QStringLiteral("  Stævne 1, \"Århus\"; 50%\\x/y\r\nnæste linje");
    const QDateTime When(QDate(2024, 6, 1), QTime(13, 45, 10, 250));
    {
        TRegistry Registry = Make();
        TRegistry Other = Make();
        ASSERT_TRUE(Registry.OpenKey(CfgKey, true));
        ASSERT_TRUE(Other.OpenKey(CfgKey + "\\Stævne", true));
        EXPECT_TRUE(Registry.WriteInteger("HttpServerPort", -2000));
        EXPECT_TRUE(Other.WriteInteger("B", 2));
        EXPECT_TRUE(Other.CloseKey());
        EXPECT_TRUE(Registry.WriteString("LastUsedName", Text));
        EXPECT_TRUE(Registry.WriteBool("UdskrivTilSkaerm", true));
        EXPECT_TRUE(Registry.WriteFloat("Faktor", 0.1));
        EXPECT_TRUE(Registry.WriteDateTime("Tid", When));
        // Destroyed without CloseKey: the destructor writes.
    }
    EXPECT_TRUE(QFile::exists(root_.filePath("Zuno/zuno2.cfg.ini")));
    TRegistry Registry = Make();
    ASSERT_TRUE(Registry.OpenKey(CfgKey, false));
    EXPECT_EQ(Registry.ReadInteger("HttpServerPort", 0), -2000);
    EXPECT_EQ(Registry.ReadString("LastUsedName", {}), Text);
    EXPECT_TRUE(Registry.ReadBool("UdskrivTilSkaerm", false));
    EXPECT_EQ(Registry.ReadFloat("Faktor", 0), 0.1);
    EXPECT_EQ(Registry.ReadDateTime("Tid", {}), When);
    EXPECT_EQ(Registry.ReadInteger("UdskrivTilSkaerm", 5), 1); // Booleans are stored as integers
    ASSERT_TRUE(Registry.OpenKey("Stævne", false));
    EXPECT_EQ(Registry.ReadInteger("B", 0), 2);
}

TEST_F(RegistryTest, MissingOrMistypedValuesGiveTheDefault) {
    TRegistry Registry = Make();
    EXPECT_EQ(Registry.ReadInteger("HttpServerPort", 2000), 2000);
    EXPECT_FALSE(Registry.WriteInteger("HttpServerPort", 1)) << "no key is open";
    ASSERT_TRUE(Registry.OpenKey(CfgKey, true));
    EXPECT_EQ(Registry.ReadInteger("ScoreboardServerPort", 2010), 2010);
    Registry.WriteString("Port", "abc");
    EXPECT_EQ(Registry.ReadInteger("Port", 7), 7);
    EXPECT_TRUE(Registry.ReadBool("Port", true));
    Registry.WriteString("Tom", "");
    EXPECT_TRUE(Registry.ValueExists("Tom"));
    EXPECT_EQ(Registry.ReadString("Tom", "x"), "");
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstCase) {
    TRegistry Registry = Make();
    ASSERT_TRUE(Registry.OpenKey(CfgKey + "\\Stævne Æble", true));
    Registry.WriteInteger("OversigtKlasse", 1);
    Registry.WriteInteger("OVERSIGTKLASSE", 2);
    EXPECT_EQ(Registry.GetValueNames(), QStringList{"OversigtKlasse"});
    Registry.CloseKey();

    ASSERT_TRUE(Registry.OpenKey("\\SOFTWARE\\zuno\\ZUNO2.CFG\\STÆVNE æBLE", false));
    EXPECT_EQ(Registry.CurrentPath(), CfgKey + "\\Stævne Æble");
    EXPECT_EQ(Registry.ReadInteger("oversigtklasse", 0), 2);
    EXPECT_TRUE(Registry.DeleteValue("oVERSIGTkLASSE"));
    EXPECT_FALSE(Registry.ValueExists("OversigtKlasse"));
    Registry.CloseKey();
    EXPECT_EQ(QDir(root_.filePath("Zuno")).entryList(QDir::Files), QStringList{"zuno2.cfg.ini"});
}

TEST_F(RegistryTest, SubkeysNestAndListAndStayWhenEmpty) {
    TRegistry Registry = Make();
    EXPECT_FALSE(Registry.OpenKey(CfgKey, false));
    ASSERT_TRUE(Registry.CreateKey(CfgKey + "\\Tom\\Dybere"));
    ASSERT_TRUE(Registry.OpenKey(CfgKey, false));
    Registry.WriteString("LastUsedName", "base");
    // Relative to the open key; a subkey named like the top key's own section keeps them apart.
    ASSERT_TRUE(Registry.OpenKey("General", true));
    Registry.WriteString("LastUsedName", "meet");
    Registry.WriteString("a/b\\c%2F", "skråstreg");
    Registry.CloseKey();

    TRegistry Reread = Make();
    EXPECT_TRUE(Reread.KeyExists(CfgKey + "\\tom\\dybere"));
    ASSERT_TRUE(Reread.OpenKey(CfgKey, false));
    QStringList Keys = Reread.GetKeyNames();
    Keys.sort();
    EXPECT_EQ(Keys, (QStringList{"General", "Tom"}));
    EXPECT_EQ(Reread.GetValueNames(), QStringList{"LastUsedName"});
    EXPECT_EQ(Reread.ReadString("LastUsedName", {}), "base");
    ASSERT_TRUE(Reread.OpenKey("general", false));
    EXPECT_EQ(Reread.ReadString("LastUsedName", {}), "meet");
    EXPECT_EQ(Reread.ReadString("A/B\\C%2f", {}), "skråstreg");
}

TEST_F(RegistryTest, DeleteKeyTakesSubkeysAndClosesWhatIsInside) {
    TRegistry Registry = Make();
    ASSERT_TRUE(Registry.OpenKey(CfgKey + "\\Andet", true));
    Registry.WriteInteger("Y", 2);
    ASSERT_TRUE(Registry.OpenKey(CfgKey + "\\Stævne\\Under", true));
    Registry.WriteInteger("X", 1);
    EXPECT_TRUE(Registry.DeleteKey(CfgKey + "\\STÆVNE"));
    EXPECT_FALSE(Registry.HasCurrentKey());
    EXPECT_FALSE(Registry.KeyExists(CfgKey + "\\Stævne"));
    EXPECT_FALSE(Registry.DeleteKey(CfgKey + "\\Stævne"));
    ASSERT_TRUE(Registry.OpenKey(CfgKey + "\\Andet", false));
    EXPECT_EQ(Registry.ReadInteger("Y", 0), 2);

    EXPECT_TRUE(Registry.DeleteKey(CfgKey));
    EXPECT_FALSE(QFile::exists(root_.filePath("Zuno/zuno2.cfg.ini")));
    EXPECT_FALSE(Make().KeyExists(CfgKey + "\\Andet"));
}

TEST_F(RegistryTest, OnlyKeysFromTheTopLevelDownCanBeOpened) {
    TRegistry Registry = Make();
    EXPECT_FALSE(Registry.OpenKey("\\Software\\Zuno", true));
    EXPECT_FALSE(Registry.OpenKey("\\Software\\..\\x", true));
    EXPECT_FALSE(Registry.CreateKey("\\Software\\Zuno\\.."));
    EXPECT_TRUE(QDir(root_.path()).isEmpty());
    // A failed open keeps the key that was open.
    ASSERT_TRUE(Registry.OpenKey(CfgKey, true));
    EXPECT_FALSE(Registry.OpenKey("Mangler", false));
    EXPECT_EQ(Registry.CurrentPath(), CfgKey);
}

} // namespace
