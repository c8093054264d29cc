#include "foundation/PathResolver.h"

#include "support/Test.h"

namespace {
class Resolver : public ::testing::Test {
protected:
    void SetUp() override {
        root = dir.path();
        QDir(root).mkpath("Meet/Ud");
        QDir(root).mkpath("Æbler");
        for (const char* name : {"Meet/ZUNO2.RPT", "abc", "ABC", "Abc", "Æbler/Grøn.txt"}) {
            QFile file(root + '/' + QString::fromUtf8(name));
            file.open(QIODevice::WriteOnly);
        }
    }
    QTemporaryDir dir;
    QString root;
};
} // namespace

TEST_F(Resolver, ExistingNamesComeBackAsTheyAreAndMissingOnesAsWritten) {
    EXPECT_EQ(ResolvePath(root + "/Meet/ZUNO2.RPT"), root + "/Meet/ZUNO2.RPT");
    EXPECT_EQ(ResolvePath(root + "/Meet/Ud/"), root + "/Meet/Ud");
    EXPECT_EQ(ResolvePath(""), "");
    EXPECT_EQ(ResolvePath("/"), "/");
    // Missing components stay as written.
    EXPECT_EQ(ResolvePath(root + "/meet/NyFil.Txt"), root + "/Meet/NyFil.Txt");
    EXPECT_EQ(ResolvePath(root + "/Ny/Meet/zuno2.rpt"), root + "/Ny/Meet/zuno2.rpt");
}

TEST_F(Resolver, EachComponentIsMatchedWithoutRegardToCase) {
    EXPECT_EQ(ResolvePath(root + "\\meet\\zuno2.rpt"), root + "/Meet/ZUNO2.RPT");
    EXPECT_EQ(ResolvePath(root + "/MEET//ud\\"), root + "/Meet/Ud");
    EXPECT_EQ(ResolvePath(root + "/æBLER/grØN.TXT"), root + "/Æbler/Grøn.txt");
    // Several that differ only by case: the exact one, else the first in sorted order.
    EXPECT_EQ(ResolvePath(root + "/Abc"), root + "/Abc");
    EXPECT_EQ(ResolvePath(root + "/aBC"), root + "/ABC");
}

TEST_F(Resolver, RelativeNamesAndDots) {
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root + "/Meet"));
    EXPECT_EQ(ResolvePath("zuno2.rpt"), root + "/Meet/ZUNO2.RPT");
    EXPECT_EQ(ResolvePath(".\\UD"), root + "/Meet/Ud");
    EXPECT_EQ(ResolvePath("..\\æbler\\.\\GRØN.txt"), root + "/Æbler/Grøn.txt");
    EXPECT_EQ(ResolvePath("ny\\..\\ud"), root + "/Meet/Ud");
    QDir::setCurrent(saved);
    EXPECT_EQ(ResolvePath("/.."), "/");
}
