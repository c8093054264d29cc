#include "model/D_StdKlasser.h"

#include "support/Test.h"

TEST(StdKlasser, TableOrderGroupBoundsAndTexts) {
    const struct {
        int index;
        const char* kode;
        const char* text;
    } cases[] = {{0, "P5", "Piger 4-5 år"}, {15, "P22", nullptr},         {16, "K", "Kvinder senior"},
                 {17, "D5", nullptr},       {19, "D7", "Drenge 6-7 år"},  {32, "D22", nullptr},
                 {33, "M", "Mænd senior"},  {34, "K30", nullptr},         {47, "K95", "Kvinder 95+ år"},
                 {48, "M30", nullptr},      {52, "M50", "Mænd 50-54 år"}, {61, "M95", nullptr}};
    for (const auto& c : cases) {
        EXPECT_EQ(GetStdKlasseKode(c.index), c.kode) << c.index;
        if (c.text) {
            EXPECT_EQ(GetStdKlasseText(c.index), QString::fromUtf8(c.text)) << c.index;
        }
    }
    for (int i = 0; i < StdKlasseCount; ++i)
        EXPECT_EQ(FindStdKlasse(GetStdKlasseKode(i)), i) << i;
    EXPECT_TRUE(GetStdKlasseKode(-1).isEmpty() && GetStdKlasseKode(StdKlasseCount).isEmpty());
    EXPECT_TRUE(GetStdKlasseText(62).isEmpty());
}

TEST(StdKlasser, CodesAreTrimmedAndUpperCasedAndUnknownOnesAreNeverClassZero) {
    EXPECT_EQ(FindStdKlasse(" m50 "), 52);
    EXPECT_EQ(FindStdKlasse("p5"), 0);
    for (const char* kode : {"", " ", "X", "P20", "K31", "M100", "P5X", "KM"})
        EXPECT_EQ(FindStdKlasse(kode), -1) << kode;
}
