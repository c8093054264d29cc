#include "model/D_StdKlasser.h"

#include "support/Test.h"

TEST(StdKlasser, TableOrderGroupBoundsAndCodesBothWays) {
    const std::pair<int, const char*> bounds[] = {{0, "P5"},   {15, "P22"}, {16, "K"},   {17, "D5"},
                                                  {32, "D22"}, {33, "M"},   {34, "K30"}, {47, "K95"},
                                                  {48, "M30"}, {61, "M95"}};
    for (const auto& [index, kode] : bounds)
        EXPECT_EQ(GetStdKlasseKode(index), kode) << index;
    for (int i = 0; i < StdKlasseCount; ++i)
        EXPECT_EQ(FindStdKlasse(GetStdKlasseKode(i)), i) << i;
    EXPECT_TRUE(GetStdKlasseKode(-1).isEmpty() && GetStdKlasseKode(StdKlasseCount).isEmpty());
    // A group's text covers its two years; codes are trimmed and upper-cased; unknown ones are never 0.
    EXPECT_EQ(GetStdKlasseText(19), "Drenge 6-7 år");
    EXPECT_TRUE(GetStdKlasseText(62).isEmpty());
    EXPECT_EQ(FindStdKlasse(" m50 "), 52);
    for (const char* kode : {"", " ", "X", "P20", "K31", "M100", "P5X", "KM"})
        EXPECT_EQ(FindStdKlasse(kode), -1) << kode;
}
