#include "foundation/DanishOrder.h"

#include "support/Test.h"

#include <QStringList>

#include <algorithm>

TEST(DanishOrder, PutsTheThreeLettersLastAndAaAsAa) {
    QStringList names{"Åge", "Øjvind", "Aalborg AM stafet", "Ærø IF", "Zenia", "anders", "Esbjerg AF"};
    const QCollator order = DanishNameOrder();
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) { return order(a, b); });
    EXPECT_EQ(names,
              (QStringList{"anders", "Esbjerg AF", "Zenia", "Ærø IF", "Øjvind", "Åge", "Aalborg AM stafet"}));
}

TEST(DanishOrder, IgnoresCase) {
    EXPECT_EQ(CompareDanish("ørsted ak", "Ørsted AK"), 0);
    EXPECT_GT(CompareDanish("ål", "Ørsted AK"), 0);
    EXPECT_LT(CompareDanish("Esbjerg AF", "aar"), 0);
}
