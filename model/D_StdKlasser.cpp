#include "model/D_StdKlasser.h"

#include <array>

namespace {

struct StdKlasse {
    const char16_t* kode;
    const char16_t* alder;
};

// clang-format off
const std::array<StdKlasse, StdKlasseCount> StdKlasser = {{
    {u"P5", u"4-5 år"},    {u"P6", u"6 år"},      {u"P7", u"6-7 år"},     {u"P8", u"8 år"},
    {u"P9", u"8-9 år"},    {u"P10", u"10 år"},    {u"P11", u"10-11 år"},  {u"P12", u"12 år"},
    {u"P13", u"12-13 år"}, {u"P14", u"14 år"},    {u"P15", u"14-15 år"},  {u"P16", u"16 år"},
    {u"P17", u"16-17 år"}, {u"P18", u"18 år"},    {u"P19", u"18-19 år"},  {u"P22", u"20-22 år"},
    {u"K", u"senior"},
    {u"D5", u"4-5 år"},    {u"D6", u"6 år"},      {u"D7", u"6-7 år"},     {u"D8", u"8 år"},
    {u"D9", u"8-9 år"},    {u"D10", u"10 år"},    {u"D11", u"10-11 år"},  {u"D12", u"12 år"},
    {u"D13", u"12-13 år"}, {u"D14", u"14 år"},    {u"D15", u"14-15 år"},  {u"D16", u"16 år"},
    {u"D17", u"16-17 år"}, {u"D18", u"18 år"},    {u"D19", u"18-19 år"},  {u"D22", u"20-22 år"},
    {u"M", u"senior"},
    {u"K30", u"30-34 år"}, {u"K35", u"35-39 år"}, {u"K40", u"40-44 år"},  {u"K45", u"45-49 år"},
    {u"K50", u"50-54 år"}, {u"K55", u"55-59 år"}, {u"K60", u"60-64 år"},  {u"K65", u"65-69 år"},
    {u"K70", u"70-74 år"}, {u"K75", u"75-79 år"}, {u"K80", u"80-84 år"},  {u"K85", u"85-89 år"},
    {u"K90", u"90-94 år"}, {u"K95", u"95+ år"},
    {u"M30", u"30-34 år"}, {u"M35", u"35-39 år"}, {u"M40", u"40-44 år"},  {u"M45", u"45-49 år"},
    {u"M50", u"50-54 år"}, {u"M55", u"55-59 år"}, {u"M60", u"60-64 år"},  {u"M65", u"65-69 år"},
    {u"M70", u"70-74 år"}, {u"M75", u"75-79 år"}, {u"M80", u"80-84 år"},  {u"M85", u"85-89 år"},
    {u"M90", u"90-94 år"}, {u"M95", u"95+ år"},
}};
// clang-format on

bool InRange(int index) {
    return index >= 0 && index < StdKlasseCount;
}

QString KoenOrd(QChar first) {
    switch (first.unicode()) {
    case u'D':
        return QStringLiteral("Drenge");
    case u'K':
        return QStringLiteral("Kvinder");
    case u'M':
        return QStringLiteral("Mænd");
    case u'P':
        return QStringLiteral("Piger");
    default:
        return {};
    }
}

} // namespace

QString GetStdKlasseKode(int index) {
    return InRange(index) ? QString::fromUtf16(StdKlasser[index].kode) : QString();
}

QString GetStdKlasseText(int index) {
    if (!InRange(index))
        return {};
    const QString kode = GetStdKlasseKode(index);
    return KoenOrd(kode.at(0)) + u' ' + QString::fromUtf16(StdKlasser[index].alder);
}

int FindStdKlasse(const QString& kode) {
    const QString wanted = kode.trimmed().toUpper();
    for (int i = 0; i < StdKlasseCount; ++i) {
        if (wanted == QString::fromUtf16(StdKlasser[i].kode))
            return i;
    }
    return -1;
}
