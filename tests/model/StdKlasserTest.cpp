#include "model/D_StdKlasser.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(StdKlasser, TableOrderAndGroupBounds) {
    const struct {
        int index;
        const char* kode;
    } cases[] = {{0, "P5"},   {1, "P6"}, {14, "P19"}, {15, "P22"}, {16, "K"},   {17, "D5"},
                 {32, "D22"}, {33, "M"}, {34, "K30"}, {47, "K95"}, {48, "M30"}, {61, "M95"}};
    for (const auto& c : cases)
        EXPECT_EQ(GetStdKlasseKode(c.index), c.kode) << c.index;
    for (int i = 0; i < StdKlasseCount; ++i)
        EXPECT_EQ(FindStdKlasse(GetStdKlasseKode(i)), i) << i;
    EXPECT_TRUE(GetStdKlasseKode(-1).isEmpty());
    EXPECT_TRUE(GetStdKlasseKode(StdKlasseCount).isEmpty());
}

TEST(StdKlasser, TextsInDanish) {
    EXPECT_EQ(GetStdKlasseText(52), QStringLiteral("Mænd 50-54 år"));
    EXPECT_EQ(GetStdKlasseText(0), QStringLiteral("Piger 4-5 år"));
    EXPECT_EQ(GetStdKlasseText(16), QStringLiteral("Kvinder senior"));
    EXPECT_EQ(GetStdKlasseText(19), QStringLiteral("Drenge 6-7 år"));
    EXPECT_EQ(GetStdKlasseText(33), QStringLiteral("Mænd senior"));
    EXPECT_EQ(GetStdKlasseText(47), QStringLiteral("Kvinder 95+ år"));
    EXPECT_TRUE(GetStdKlasseText(62).isEmpty());
}

TEST(StdKlasser, CodesAreTrimmedAndUpperCasedAndUnknownOnesAreNeverClassZero) {
    EXPECT_EQ(FindStdKlasse(" m50 "), 52);
    EXPECT_EQ(FindStdKlasse("p5"), 0);
    for (const char* kode : {"", " ", "X", "P20", "K31", "M100", "P5X", "KM"})
        EXPECT_EQ(FindStdKlasse(kode), -1) << kode;
}
