#include "model/D_StaevneDefData.h"

#include "model/D_StdKlasser.h"

#include <QSet>

#include <algorithm>
#include <array>

namespace {

struct TNaturligListe {
    QStringList Klasser;
    QStringList Ovelser;
};

// clang-format off
// Every list written out in full, one per group of classes that share it.
const std::vector<TNaturligListe>& NaturligTabel() {
    static const std::vector<TNaturligListe> tabel = {
        {{"P5", "P6", "P7", "P8", "P9", "D5", "D6", "D7", "D8", "D9"},
         {"40", "400", "800", "4X40", "LÆ,Z", "HØ", "KU,2.0", "BO,145"}},
        {{"P10", "P11", "D10", "D11"},
         {"60", "400", "1000", "60H,68", "4X60", "LÆ,Z", "HØ", "KU,2.0", "BO,145"}},
        {{"P12", "P13"},
         {"80", "200", "600", "1000", "60H,76 /A", "4X80", "LÆ,Z", "HØ", "ST", "KU,2.0", "DI,0.75", "SP,400",
          "HA,2.0", "BO,145"}},
        {{"D12", "D13"},
         {"80", "200", "600", "1000", "60H,76 /B", "80H,76", "4X80", "LÆ,Z", "HØ", "ST", "KU,3.0", "DI,0.75",
          "SP,400", "HA,3.0", "BO,250"}},
        {{"P14", "P15"},
         {"100", "200", "300", "800", "1000", "1500", "3000", "60H,76 /B", "80H,76", "300H,76", "2000H,76",
          "4X100", "4X200", "1000ST", "LÆ,P", "TR,P", "HØ", "ST", "KU,3.0", "DI,0.75", "SP,500", "HA,3.0",
          "VÆ,5.449", "7K", "C200", "C800", "C80H,76", "CLÆ,P", "CHØ", "CKU,3.0", "CSP,500"}},
        {{"P16", "P17"},
         {"100", "200", "400", "800", "1000", "1500", "3000", "60H,76 /C", "100H,76", "400H,76", "2000H,76",
          "4X100", "4X200", "1000ST", "LÆ,P", "TR,P", "HØ", "ST", "KU,3.0", "DI,1.0", "SP,500", "HA,3.0",
          "VÆ,7.26", "7K", "C200", "C800", "C100H,76", "CLÆ,P", "CHØ", "CKU,3.0", "CSP,500"}},
        {{"P18", "P19"},
         {"100", "200", "400", "800", "1000", "1500", "3000", "10000", "60H,84 /B", "100H,84", "400H,76",
          "2000H,76", "4X100", "4X200", "4X400", "LÆ,P", "TR,P", "HØ", "ST", "KU,4.0", "DI,1.0", "SP,600",
          "HA,4.0", "VÆ,7.26", "7K", "C200", "C800", "C100H,84", "CLÆ,P", "CHØ", "CKU,4.0", "CSP,600"}},
        {{"P22", "K"},
         {"100", "200", "400", "800", "1000", "1500", "3000", "5000", "10000", "60H,84 /B", "100H,84",
          "400H,76", "3000H,76", "4X100", "4X200", "4X400", "LÆ,P", "TR,P", "HØ", "ST", "KU,4.0", "DI,1.0",
          "SP,600", "HA,4.0", "VÆ,9.072", "7K", "C200", "C800", "C100H,84", "CLÆ,P", "CHØ", "CKU,4.0",
          "CSP,600"}},
        {{"D14", "D15"},
         {"100", "200", "300", "800", "1000", "1500", "3000", "60H,84 /B", "100H,84", "300H,76", "2000H,91",
          "4X100", "4X200", "1000ST", "LÆ,P", "TR,P", "HØ", "ST", "KU,4.0", "DI,1.0", "SP,600", "HA,4.0",
          "VÆ,9.072", "9K", "C200", "C800", "C100H,84", "CHØ", "CST", "CLÆ,P", "CKU,4.0", "CDI,1.0",
          "CSP,600"}},
        {{"D16", "D17"},
         {"100", "200", "400", "800", "1000", "1500", "3000", "5000", "60H,91 /B", "110H,91", "400H,84",
          "2000H,91", "4X100", "4X200", "1000ST", "LÆ,P", "TR,P", "HØ", "ST", "KU,5.0", "DI,1.5", "SP,700",
          "HA,5.0", "VÆ,11.34", "10K", "C100", "C400", "C1500", "C110H,91", "CHØ", "CST", "CLÆ,P", "CKU,5.0",
          "CDI,1.5", "CSP,700"}},
        {{"D18", "D19"},
         {"100", "200", "400", "800", "1000", "1500", "3000", "5000", "10000", "60H,99", "110H,99", "400H,91",
          "3000H,91", "4X100", "4X200", "4X400", "LÆ,P", "TR,P", "HØ", "ST", "KU,6.0", "DI,1.75", "SP,800",
          "HA,6.0", "VÆ,12.5", "10K", "C100", "C400", "C1500", "C110H,99", "CHØ", "CST", "CLÆ,P", "CKU,6.0",
          "CDI,1.75", "CSP,800"}},
        {{"D22", "M"},
         {"100", "200", "400", "800", "1000", "1500", "3000", "5000", "10000", "60H,106", "110H,106",
          "400H,91", "3000H,91", "4X100", "4X200", "4X400", "LÆ,P", "TR,P", "HØ", "ST", "KU,7.26", "DI,2.0",
          "SP,800", "HA,7.26", "VÆ,15.89", "10K", "C100", "C400", "C1500", "C110H,106", "CHØ", "CST", "CLÆ,P",
          "CKU,7.26", "CDI,2.0", "CSP,800"}},
        {{"K30", "K35"},
         {"100", "200", "400", "800", "1500", "5000", "100H,84", "400H,76", "2000H,76", "4X100", "4X400", "HØ",
          "ST", "LÆ,P", "TR,P", "KU,4.0", "DI,1.0", "SP,600", "HA,4.0", "VÆ,9.072"}},
        {{"K40", "K45"},
         {"100", "200", "400", "800", "1500", "5000", "80H,76", "400H,76", "2000H,76", "4X100", "4X400", "HØ",
          "ST", "LÆ,P", "TR,P", "KU,4.0", "DI,1.0", "SP,600", "HA,4.0", "VÆ,9.072"}},
        {{"K50", "K55"},
         {"100", "200", "400", "800", "1500", "5000", "80H,76/B", "300H,76", "2000H,76", "4X100", "4X400",
          "HØ", "ST", "LÆ,P", "TR,P", "KU,3.0", "DI,1.0", "SP,500", "HA,3.0", "VÆ,7.26"}},
        {{"K60", "K65"},
         {"100", "200", "400", "800", "1500", "5000", "80H,68", "300H,68", "2000H,76", "4X100", "4X400", "HØ",
          "ST", "LÆ,P", "TR,P", "KU,3.0", "DI,1.0", "SP,500", "HA,3.0", "VÆ,5.449"}},
        {{"K70"},
         {"100", "200", "400", "800", "1500", "5000", "80H,68", "200H,68", "2000H,76", "4X100", "4X400", "HØ",
          "ST", "LÆ,P", "TR,P", "KU,3.0", "DI,1.0", "SP,500", "HA,3.0", "VÆ,5.449"}},
        {{"K75", "K80", "K85", "K90", "K95"},
         {"100", "200", "400", "800", "1500", "5000", "80H,68", "200H,68", "2000H,76", "4X100", "4X400", "HØ",
          "ST", "LÆ,P", "TR,P", "KU,2.0", "DI,0.75", "SP,400", "HA,2.0", "VÆ,4.0"}},
        {{"M30"},
         {"100", "200", "400", "800", "1500", "5000", "110H,106", "400H,91", "3000H,91", "4X100", "4X400",
          "HØ", "ST", "LÆ,P", "TR,P", "KU,7.26", "DI,2.0", "SP,800", "HA,7.26", "VÆ,15.89"}},
        {{"M35"},
         {"100", "200", "400", "800", "1500", "5000", "110H,99", "400H,91", "3000H,91", "4X100", "4X400", "HØ",
          "ST", "LÆ,P", "TR,P", "KU,7.26", "DI,2.0", "SP,800", "HA,7.26", "VÆ,15.89"}},
        {{"M40", "M45"},
         {"100", "200", "400", "800", "1500", "5000", "110H,99", "400H,91", "3000H,91", "4X100", "4X400", "HØ",
          "ST", "LÆ,P", "TR,P", "KU,7.26", "DI,2.0", "SP,800", "HA,7.26", "VÆ,15.89", "10K", "C100", "C400",
          "C1500", "C110H,99", "CHØ", "CST", "CLÆ,P", "CKU,7.26", "CDI,2.0", "CSP,800"}},
        {{"M50", "M55"},
         {"100", "200", "400", "800", "1500", "5000", "100H,91", "400H,84", "3000H,91", "4X100", "4X400", "HØ",
          "ST", "LÆ,P", "TR,P", "KU,6.0", "DI,1.5", "SP,700", "HA,6.0", "VÆ,11.34", "10K", "C100", "C400",
          "C1500", "C100H,91", "CHØ", "CST", "CLÆ,P", "CKU,6.0", "CDI,1.5", "CSP,700"}},
        {{"M60", "M65"},
         {"100", "200", "400", "800", "1500", "5000", "100H,84/C", "300H,76", "2000H,76", "4X100", "4X400",
          "HØ", "ST", "LÆ,P", "TR,P", "KU,5.0", "DI,1.0", "SP,600", "HA,5.0", "VÆ,9.072"}},
        {{"M70", "M75"},
         {"100", "200", "400", "800", "1500", "5000", "80H,76/B", "300H,68", "2000H,76", "4X100", "4X400",
          "HØ", "ST", "LÆ,P", "TR,P", "KU,4.0", "DI,1.0", "SP,500", "HA,4.0", "VÆ,7.26"}},
        {{"M80", "M85", "M90", "M95"},
         {"100", "200", "400", "800", "1500", "5000", "80H,68", "200H,68", "2000H,76", "4X100", "4X400", "HØ",
          "ST", "LÆ,P", "TR,P", "KU,3.0", "DI,1.0", "SP,400", "HA,3.0", "VÆ,5.449"}},
    };
    return tabel;
}
// clang-format on

// The lists by class number.
const std::array<QStringList, StdKlasseCount>& NaturligeByKlasse() {
    static const std::array<QStringList, StdKlasseCount> byKlasse = [] {
        std::array<QStringList, StdKlasseCount> lists;
        for (const TNaturligListe& liste : NaturligTabel()) {
            for (const QString& klasse : liste.Klasser) {
                if (const int nr = FindStdKlasse(klasse); nr >= 0)
                    lists.at(static_cast<std::size_t>(nr)) = liste.Ovelser;
            }
        }
        return lists;
    }();
    return byKlasse;
}

} // namespace

TOvelseKode SplitOvelseKode(const QString& entry) {
    const qsizetype comma = entry.indexOf(u',');
    if (comma < 0)
        return {entry, {}};
    return {entry.left(comma), entry.mid(comma + 1)};
}

const QStringList& NaturligeOvelser(int klasseNr) {
    static const QStringList none;
    if (klasseNr < 0 || klasseNr >= StdKlasseCount)
        return none;
    return NaturligeByKlasse().at(static_cast<std::size_t>(klasseNr));
}

QStringList FaellesNaturligeOvelser(const std::vector<int>& klasser) {
    if (klasser.empty())
        return {};
    QStringList faelles = NaturligeOvelser(klasser.front());
    for (auto klasse = klasser.begin() + 1; klasse != klasser.end() && !faelles.isEmpty(); ++klasse) {
        const QStringList& andre = NaturligeOvelser(*klasse);
        const QSet<QString> har(andre.begin(), andre.end());
        faelles.removeIf([&har](const QString& entry) { return !har.contains(entry); });
    }
    return faelles;
}
