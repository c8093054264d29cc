#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Platform::TRegistry;

namespace {

const QString CfgKey = QStringLiteral("\\Software\\Zuno\\zuno2.cfg");

class RegistryTest : public ::testing::Test {
protected:
    QTemporaryDir root_;
    TRegistry Make() const { return TRegistry(root_.path()); }
};

TEST_F(RegistryTest, ValuesSurviveAReread) {
    const QString Text = QStringLiteral("  Stævne 1, \"Århus\"; 50%\\x/y\r\nnæste linje");
    const QDateTime When(QDate(2024, 6, 1), QTime(13, 45, 10, 250));
    {
        TRegistry Registry(root_.path());
        ASSERT_TRUE(Registry.OpenKey(CfgKey, true));
        EXPECT_TRUE(Registry.WriteInteger("HttpServerPort", -2000));
        EXPECT_TRUE(Registry.WriteString("LastUsedName", Text));
        EXPECT_TRUE(Registry.WriteBool("UdskrivTilSkaerm", true));
        EXPECT_TRUE(Registry.WriteBool("UdskrivTilPrinter", false));
        EXPECT_TRUE(Registry.WriteFloat("Faktor", 0.1));
        EXPECT_TRUE(Registry.WriteFloat("Stor", -1.5e300));
        EXPECT_TRUE(Registry.WriteDateTime("Tid", When));
        // Destroyed without CloseKey: the destructor writes.
    }
    EXPECT_TRUE(QFile::exists(root_.filePath("Zuno/zuno2.cfg.ini")));
    TRegistry Registry(root_.path());
    ASSERT_TRUE(Registry.OpenKey(CfgKey, false));
    EXPECT_EQ(Registry.ReadInteger("HttpServerPort", 0), -2000);
    EXPECT_EQ(Registry.ReadString("LastUsedName", {}), Text);
    EXPECT_TRUE(Registry.ReadBool("UdskrivTilSkaerm", false));
    EXPECT_FALSE(Registry.ReadBool("UdskrivTilPrinter", true));
    EXPECT_EQ(Registry.ReadFloat("Faktor", 0), 0.1);
    EXPECT_EQ(Registry.ReadFloat("Stor", 0), -1.5e300);
    EXPECT_EQ(Registry.ReadDateTime("Tid", {}), When);
    // Booleans are stored as integers, so either reading works.
    EXPECT_EQ(Registry.ReadInteger("UdskrivTilSkaerm", 5), 1);
}

TEST_F(RegistryTest, TwoObjectsOnOneFileKeepEachOthersWrites) {
    TRegistry Forms = Make();
    TRegistry Meets = Make();
    ASSERT_TRUE(Forms.OpenKey(CfgKey, true));
    ASSERT_TRUE(Meets.OpenKey(CfgKey + "\\Stævne", true));
    Forms.WriteInteger("A", 1);
    Meets.WriteInteger("B", 2);
    EXPECT_TRUE(Meets.CloseKey());
    Forms.WriteInteger("C", 3);
    EXPECT_TRUE(Forms.CloseKey());
    TRegistry Reread = Make();
    ASSERT_TRUE(Reread.OpenKey(CfgKey, false));
    EXPECT_EQ(Reread.ReadInteger("A", 0) + Reread.ReadInteger("C", 0), 4);
    ASSERT_TRUE(Reread.OpenKey("Stævne", false));
    EXPECT_EQ(Reread.ReadInteger("B", 0), 2);
}

TEST_F(RegistryTest, MissingOrMistypedValuesGiveTheDefault) {
    TRegistry Registry = Make();
    EXPECT_EQ(Registry.ReadInteger("HttpServerPort", 2000), 2000);
    EXPECT_FALSE(Registry.WriteInteger("HttpServerPort", 1)) << "no key is open";
    ASSERT_TRUE(Registry.OpenKey(CfgKey, true));
    EXPECT_EQ(Registry.ReadInteger("ScoreboardServerPort", 2010), 2010);
    EXPECT_EQ(Registry.ReadString("ScoreboardServer", "x"), "x");
    EXPECT_FALSE(Registry.ValueExists("ScoreboardServer"));
    Registry.WriteString("Port", "abc");
    EXPECT_EQ(Registry.ReadInteger("Port", 7), 7);
    EXPECT_EQ(Registry.ReadFloat("Port", 1.5), 1.5);
    EXPECT_TRUE(Registry.ReadBool("Port", true));
    EXPECT_FALSE(Registry.ReadDateTime("Port", {}).isValid());
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
    EXPECT_EQ(Registry.ReadInteger("oversigtklasse", 0), 2);
    Registry.CloseKey();

    ASSERT_TRUE(Registry.OpenKey("\\SOFTWARE\\zuno\\ZUNO2.CFG\\STÆVNE æBLE", false));
    EXPECT_EQ(Registry.CurrentPath(), CfgKey + "\\Stævne Æble");
    EXPECT_EQ(Registry.ReadInteger("OversigtKlasse", 0), 2);
    EXPECT_TRUE(Registry.DeleteValue("oVERSIGTkLASSE"));
    EXPECT_FALSE(Registry.ValueExists("OversigtKlasse"));
    Registry.CloseKey();
    EXPECT_EQ(QDir(root_.filePath("Zuno")).entryList(QDir::Files), QStringList{"zuno2.cfg.ini"});
}

TEST_F(RegistryTest, SubkeysNestAndListAndStayWhenEmpty) {
    TRegistry Registry = Make();
    EXPECT_FALSE(Registry.OpenKey(CfgKey, false));
    EXPECT_FALSE(Registry.KeyExists(CfgKey));
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
    EXPECT_FALSE(Reread.KeyExists(CfgKey + "\\Dybere"));
    ASSERT_TRUE(Reread.OpenKey(CfgKey, false));
    QStringList Keys = Reread.GetKeyNames();
    Keys.sort();
    EXPECT_EQ(Keys, (QStringList{"General", "Tom"}));
    EXPECT_EQ(Reread.GetValueNames(), QStringList{"LastUsedName"});
    EXPECT_EQ(Reread.ReadString("LastUsedName", {}), "base");
    ASSERT_TRUE(Reread.OpenKey("general", false));
    EXPECT_EQ(Reread.ReadString("LastUsedName", {}), "meet");
    EXPECT_EQ(Reread.ReadString("A/B\\C%2f", {}), "skråstreg");
    EXPECT_TRUE(Reread.GetKeyNames().isEmpty());
}

TEST_F(RegistryTest, DeleteKeyTakesSubkeysAndClosesWhatIsInside) {
    TRegistry Registry = Make();
    ASSERT_TRUE(Registry.OpenKey(CfgKey + "\\Stævne\\Under", true));
    Registry.WriteInteger("X", 1);
    ASSERT_TRUE(Registry.OpenKey(CfgKey + "\\Andet", true));
    Registry.WriteInteger("Y", 2);
    ASSERT_TRUE(Registry.OpenKey(CfgKey + "\\Stævne\\Under", false));

    EXPECT_TRUE(Registry.DeleteKey(CfgKey + "\\STÆVNE"));
    EXPECT_FALSE(Registry.HasCurrentKey());
    EXPECT_FALSE(Registry.KeyExists(CfgKey + "\\Stævne\\Under"));
    EXPECT_FALSE(Registry.KeyExists(CfgKey + "\\Stævne"));
    EXPECT_FALSE(Registry.DeleteKey(CfgKey + "\\Stævne"));
    ASSERT_TRUE(Registry.OpenKey(CfgKey + "\\Andet", false));
    EXPECT_EQ(Registry.ReadInteger("Y", 0), 2);

    EXPECT_TRUE(Registry.DeleteKey(CfgKey));
    EXPECT_FALSE(Registry.HasCurrentKey());
    EXPECT_FALSE(QFile::exists(root_.filePath("Zuno/zuno2.cfg.ini")));
    EXPECT_FALSE(Make().KeyExists(CfgKey + "\\Andet"));
}

TEST_F(RegistryTest, OnlyKeysFromTheTopLevelDownCanBeOpened) {
    TRegistry Registry = Make();
    EXPECT_FALSE(Registry.OpenKey("\\Software\\Zuno", true));
    EXPECT_FALSE(Registry.OpenKey("\\Hardware\\Zuno\\x", true));
    EXPECT_FALSE(Registry.OpenKey("\\Software\\..\\x", true));
    EXPECT_FALSE(Registry.CreateKey("\\Software\\Zuno\\.."));
    EXPECT_TRUE(QDir(root_.path()).isEmpty());
    // A failed open keeps the key that was open.
    ASSERT_TRUE(Registry.OpenKey(CfgKey, true));
    EXPECT_FALSE(Registry.OpenKey("Mangler", false));
    EXPECT_EQ(Registry.CurrentPath(), CfgKey);
}

TEST_F(RegistryTest, ProgramKeyIsNamedAfterTheProgramFile) {
    EXPECT_EQ(TRegistry::ProgramKey(".dsk"), "\\Software\\Zuno\\test_platform.dsk");
}

} // namespace
