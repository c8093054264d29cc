#include "platform/Registry.h"

#include "support/Test.h"

#include <sys/stat.h>

using Platform::TRegistry;

namespace {

const QString cfgKey = QStringLiteral("\\Software\\Zuno\\zuno2.cfg");

class RegistryTest : public ::testing::Test {
protected:
    QTemporaryDir root_;
    TRegistry Make() const { return TRegistry(root_.path()); }
};

TEST_F(RegistryTest, ValuesSurviveARereadAndTwoObjectsKeepEachOthersWrites) {
    const QString text = QStringLiteral("  Stævne 1, \"Århus\"; 50%\\x/y\r\nnæste linje");
    const QDateTime when(QDate(2024, 6, 1), QTime(13, 45, 10, 250));
    {
        TRegistry registry = Make();
        TRegistry other = Make();
        ASSERT_TRUE(registry.OpenKey(cfgKey, true));
        ASSERT_TRUE(other.OpenKey(cfgKey + "\\Stævne", true));
        EXPECT_TRUE(registry.WriteInteger("HttpServerPort", -2000));
        EXPECT_TRUE(other.WriteInteger("B", 2));
        EXPECT_TRUE(other.CloseKey());
        EXPECT_TRUE(registry.WriteString("LastUsedName", text));
        EXPECT_TRUE(registry.WriteBool("UdskrivTilSkaerm", true));
        EXPECT_TRUE(registry.WriteFloat("Faktor", 0.1));
        EXPECT_TRUE(registry.WriteDateTime("Tid", when));
        // Destroyed without CloseKey: the destructor writes.
    }
    EXPECT_TRUE(QFile::exists(root_.filePath("Zuno/zuno2.cfg.ini")));
    TRegistry registry = Make();
    ASSERT_TRUE(registry.OpenKey(cfgKey, false));
    EXPECT_EQ(registry.ReadInteger("HttpServerPort", 0), -2000);
    EXPECT_EQ(registry.ReadString("LastUsedName", {}), text);
    EXPECT_TRUE(registry.ReadBool("UdskrivTilSkaerm", false));
    EXPECT_EQ(registry.ReadFloat("Faktor", 0), 0.1);
    EXPECT_EQ(registry.ReadDateTime("Tid", {}), when);
    EXPECT_EQ(registry.ReadInteger("UdskrivTilSkaerm", 5), 1); // Booleans are stored as integers
    ASSERT_TRUE(registry.OpenKey("Stævne", false));
    EXPECT_EQ(registry.ReadInteger("B", 0), 2);
}

TEST_F(RegistryTest, MissingOrMistypedValuesGiveTheDefault) {
    TRegistry registry = Make();
    EXPECT_EQ(registry.ReadInteger("HttpServerPort", 2000), 2000);
    EXPECT_FALSE(registry.WriteInteger("HttpServerPort", 1)) << "no key is open";
    ASSERT_TRUE(registry.OpenKey(cfgKey, true));
    EXPECT_EQ(registry.ReadInteger("ScoreboardServerPort", 2010), 2010);
    registry.WriteString("Port", "abc");
    EXPECT_EQ(registry.ReadInteger("Port", 7), 7);
    EXPECT_TRUE(registry.ReadBool("Port", true));
    registry.WriteString("Tom", "");
    EXPECT_TRUE(registry.ValueExists("Tom"));
    EXPECT_EQ(registry.ReadString("Tom", "x"), "");
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstCase) {
    TRegistry registry = Make();
    ASSERT_TRUE(registry.OpenKey(cfgKey + "\\Stævne Æble", true));
    registry.WriteInteger("OversigtKlasse", 1);
    registry.WriteInteger("OVERSIGTKLASSE", 2);
    EXPECT_EQ(registry.GetValueNames(), QStringList{"OversigtKlasse"});
    registry.CloseKey();

    ASSERT_TRUE(registry.OpenKey("\\SOFTWARE\\zuno\\ZUNO2.CFG\\STÆVNE æBLE", false));
    EXPECT_EQ(registry.CurrentPath(), cfgKey + "\\Stævne Æble");
    EXPECT_EQ(registry.ReadInteger("oversigtklasse", 0), 2);
    EXPECT_TRUE(registry.DeleteValue("oVERSIGTkLASSE"));
    EXPECT_FALSE(registry.ValueExists("OversigtKlasse"));
    registry.CloseKey();
    EXPECT_EQ(QDir(root_.filePath("Zuno")).entryList(QDir::Files), QStringList{"zuno2.cfg.ini"});
}

TEST_F(RegistryTest, SubkeysNestAndListAndStayWhenEmpty) {
    TRegistry registry = Make();
    EXPECT_FALSE(registry.OpenKey(cfgKey, false));
    ASSERT_TRUE(registry.CreateKey(cfgKey + "\\Tom\\Dybere"));
    ASSERT_TRUE(registry.OpenKey(cfgKey, false));
    registry.WriteString("LastUsedName", "base");
    // Relative to the open key; a subkey named like the top key's own section keeps them apart.
    ASSERT_TRUE(registry.OpenKey("General", true));
    registry.WriteString("LastUsedName", "meet");
    registry.WriteString("a/b\\c%2F", "skråstreg");
    registry.CloseKey();

    TRegistry reread = Make();
    EXPECT_TRUE(reread.KeyExists(cfgKey + "\\tom\\dybere"));
    ASSERT_TRUE(reread.OpenKey(cfgKey, false));
    QStringList keys = reread.GetKeyNames();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"General", "Tom"}));
    EXPECT_EQ(reread.GetValueNames(), QStringList{"LastUsedName"});
    EXPECT_EQ(reread.ReadString("LastUsedName", {}), "base");
    ASSERT_TRUE(reread.OpenKey("general", false));
    EXPECT_EQ(reread.ReadString("LastUsedName", {}), "meet");
    EXPECT_EQ(reread.ReadString("A/B\\C%2f", {}), "skråstreg");
}

TEST_F(RegistryTest, OnlyAKeyWithNothingInItHoldsTheMarkerThatKeepsIt) {
    const auto file = [this] {
        QFile ini(root_.filePath("Zuno/zuno2.cfg.ini"));
        return ini.open(QIODevice::ReadOnly) ? QString::fromUtf8(ini.readAll()) : QString();
    };
    {
        TRegistry registry = Make();
        ASSERT_TRUE(registry.OpenKey(cfgKey, true));
        registry.WriteInteger("HttpServerPort", 2000);
        ASSERT_TRUE(registry.OpenKey(cfgKey + "\\Stævne 1", true));
        registry.WriteBool("UdskrivTilSkaerm", true);
        ASSERT_TRUE(registry.CreateKey(cfgKey + "\\Tom\\Dybere"));
        ASSERT_TRUE(registry.OpenKey(cfgKey + "\\Fyldt\\Under", true));
        registry.WriteInteger("X", 1);
    }
    // One marker: the empty key's; the keys with values, and those above them, have none.
    EXPECT_EQ(file().count("%25"), 1) << file().toStdString();
    EXPECT_TRUE(file().contains("Dybere\\%25=")) << file().toStdString();
    TRegistry registry = Make();
    for (const char* key : {"\\Stævne 1", "\\Tom", "\\Tom\\Dybere", "\\Fyldt", "\\Fyldt\\Under"})
        EXPECT_TRUE(registry.KeyExists(cfgKey + key)) << key;
    // A key whose last value or subkey goes is marked again, and stays.
    ASSERT_TRUE(registry.OpenKey(cfgKey + "\\Stævne 1", false));
    EXPECT_TRUE(registry.DeleteValue("UdskrivTilSkaerm"));
    EXPECT_TRUE(registry.DeleteKey(cfgKey + "\\Fyldt\\Under"));
    registry.CloseKey();
    EXPECT_EQ(file().count("%25"), 3) << file().toStdString();
    TRegistry reread = Make();
    EXPECT_TRUE(reread.KeyExists(cfgKey + "\\Stævne 1"));
    EXPECT_TRUE(reread.KeyExists(cfgKey + "\\Fyldt"));
    EXPECT_FALSE(reread.KeyExists(cfgKey + "\\Fyldt\\Under"));
}

TEST_F(RegistryTest, DeleteKeyTakesSubkeysAndClosesWhatIsInside) {
    TRegistry registry = Make();
    ASSERT_TRUE(registry.OpenKey(cfgKey + "\\Andet", true));
    registry.WriteInteger("Y", 2);
    ASSERT_TRUE(registry.OpenKey(cfgKey + "\\Stævne\\Under", true));
    registry.WriteInteger("X", 1);
    EXPECT_TRUE(registry.DeleteKey(cfgKey + "\\STÆVNE"));
    EXPECT_FALSE(registry.HasCurrentKey());
    EXPECT_FALSE(registry.KeyExists(cfgKey + "\\Stævne"));
    EXPECT_FALSE(registry.DeleteKey(cfgKey + "\\Stævne"));
    ASSERT_TRUE(registry.OpenKey(cfgKey + "\\Andet", false));
    EXPECT_EQ(registry.ReadInteger("Y", 0), 2);

    EXPECT_TRUE(registry.DeleteKey(cfgKey));
    EXPECT_FALSE(QFile::exists(root_.filePath("Zuno/zuno2.cfg.ini")));
    EXPECT_FALSE(Make().KeyExists(cfgKey + "\\Andet"));
}

// The file's names are read once and kept with the process's own writes; a file that another program
// changed is read again.
TEST_F(RegistryTest, ManyKeysAreFoundByAnyCaseAndAChangedFileIsReadAgain) {
    {
        TRegistry registry = Make();
        for (int k = 0; k < 200; ++k) {
            ASSERT_TRUE(registry.OpenKey(cfgKey + QString("\\Stævne %1").arg(k), true));
            registry.WriteInteger("OversigtKlasse", k);
        }
    }
    TRegistry registry = Make();
    ASSERT_TRUE(registry.OpenKey(cfgKey + "\\STÆVNE 150", false));
    EXPECT_EQ(registry.ReadInteger("oversigtklasse", -1), 150);
    registry.WriteInteger("Ny", 7);
    EXPECT_EQ(registry.GetValueNames(), QStringList({"OversigtKlasse", "Ny"}));
    ASSERT_TRUE(registry.OpenKey(cfgKey, false));
    EXPECT_EQ(registry.GetKeyNames().size(), 200);
    registry.CloseKey();

    QFile file(root_.filePath("Zuno/zuno2.cfg.ini"));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\n[Udefra]\nV\u00e6rdi=42\n");
    file.close();
    ASSERT_TRUE(registry.OpenKey(cfgKey + "\\udefra", false));
    EXPECT_EQ(registry.ReadInteger("VÆRDI", 0), 42);
    ASSERT_TRUE(registry.OpenKey(cfgKey + "\\Stævne 150", false));
    EXPECT_EQ(registry.ReadInteger("ny", 0), 7);
}

TEST_F(RegistryTest, OnlyKeysFromTheTopLevelDownCanBeOpened) {
    TRegistry registry = Make();
    EXPECT_FALSE(registry.OpenKey("\\Software\\Zuno", true));
    EXPECT_FALSE(registry.OpenKey("\\Software\\..\\x", true));
    EXPECT_FALSE(registry.CreateKey("\\Software\\Zuno\\.."));
    EXPECT_TRUE(QDir(root_.path()).isEmpty());
    // A failed open keeps the key that was open.
    ASSERT_TRUE(registry.OpenKey(cfgKey, true));
    EXPECT_FALSE(registry.OpenKey("Mangler", false));
    EXPECT_EQ(registry.CurrentPath(), cfgKey);
}

} // namespace

TEST_F(RegistryTest, ValuesWrittenAgainUnchangedLeaveTheFileAloneAndAChangeWritesIt) {
    const QString file = root_.filePath("Zuno/zuno2.cfg.ini");
    const auto writeAll = [&](int left) {
        TRegistry registry = Make();
        ASSERT_TRUE(registry.OpenKey(cfgKey, true));
        EXPECT_TRUE(registry.WriteInteger("Form_Left", left));
        EXPECT_TRUE(registry.WriteString("Navn", "Århus, Øst"));
        EXPECT_TRUE(registry.WriteBool("Vis", true));
        EXPECT_TRUE(registry.CloseKey());
    };
    // Each write replaces the file by a new one: its inode tells whether it was written.
    const auto inode = [&] {
        struct stat info {};
        return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_ino : ino_t(0);
    };
    writeAll(10);
    const ino_t first = inode();
    ASSERT_NE(first, ino_t(0));
    writeAll(10);
    EXPECT_EQ(inode(), first) << "nothing changed, nothing written";
    writeAll(11);
    EXPECT_NE(inode(), first);
    TRegistry registry = Make();
    ASSERT_TRUE(registry.OpenKey(cfgKey, false));
    EXPECT_EQ(registry.ReadInteger("Form_Left", 0), 11);
    EXPECT_EQ(registry.ReadString("Navn", {}), "Århus, Øst");
}
