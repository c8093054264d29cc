#include "tools/setup/EventCatalogue.h"

#include "support/Test.h"

#include "foundation/Exception.h"

#include <QMap>

namespace {

const EventCatalogue& Shipped() {
    static const EventCatalogue catalogue = EventCatalogue::Load(QStringLiteral(ZUNO_SOURCE_DIR "/data"));
    return catalogue;
}

// Every event code the program names: points formulas and tables, the wizard's natural events, the
// team-league programmes, the standings groups, the imports and the two-distance race.
const char* const NamedEvents[] = {
    "40",    "55",     "60",     "80",    "100", "200",  "300",  "400",  "600",  "800",   "1000",  "1500",
    "2000",  "3000",   "5000",   "10000", "40H", "55H",  "60H",  "80H",  "100H", "110H",  "200H",  "300H",
    "400H",  "2000H",  "3000H",  "3000G", "42",  "77",   "4X40", "4X60", "4X80", "4X100", "4X200", "4X400",
    "4X800", "4X1500", "1000ST", "HØ",    "ST",  "LÆ",   "TR",   "SL",   "KU",   "DI",    "HA",    "SP",
    "VÆ",    "BO",     "7K",     "9K",    "10K", "C100", "C200", "C400", "C800", "C1500", "C80H",  "C100H",
    "C110H", "CHØ",    "CST",    "CLÆ",   "CKU", "CDI",  "CSP"};

// Every event and attribute the wizard's natural events and the team-league programmes pair.
const char* const NamedAttributes[] = {
    "60H,68",   "60H,76 /A", "60H,76 /B", "60H,76 /C", "60H,84 /B", "60H,91 /B", "60H,99",   "60H,106",
    "80H,68",   "80H,76",    "80H,76/B",  "100H,76",   "100H,84",   "100H,84/C", "100H,91",  "110H,91",
    "110H,99",  "110H,106",  "200H,68",   "300H,68",   "300H,76",   "400H,76",   "400H,84",  "400H,91",
    "2000H,76", "2000H,91",  "3000H,76",  "3000H,91",  "LÆ,Z",      "LÆ,P",      "TR,P",     "KU,2.0",
    "KU,3.0",   "KU,4.0",    "KU,5.0",    "KU,6.0",    "KU,7.26",   "DI,0.75",   "DI,1.0",   "DI,1.5",
    "DI,1.75",  "DI,2.0",    "HA,2.0",    "HA,3.0",    "HA,4.0",    "HA,4/116",  "HA,5.0",   "HA,6.0",
    "HA,7.26",  "SP,400",    "SP,500",    "SP,600",    "SP,700",    "SP,800",    "VÆ,4.0",   "VÆ,5.449",
    "VÆ,7.26",  "VÆ,9.072",  "VÆ,11.34",  "VÆ,12.5",   "VÆ,15.89",  "BO,145",    "BO,250",   "C80H,76",
    "C100H,76", "C100H,84",  "C100H,91",  "C110H,91",  "C110H,99",  "C110H,106", "CLÆ,P",    "CKU,3.0",
    "CKU,4.0",  "CKU,5.0",   "CKU,6.0",   "CKU,7.26",  "CDI,1.0",   "CDI,1.5",   "CDI,1.75", "CDI,2.0",
    "CSP,500",  "CSP,600",   "CSP,700",   "CSP,800"};

const OvelseRow* FindOvelse(const QString& code, int sprog) {
    for (const OvelseRow& r : Shipped().Ovelser())
        if (r.Ovelse == code && r.Sprog == sprog)
            return &r;
    return nullptr;
}

TEST(EventCatalogue, ShippedCatalogueHoldsEveryNamedEventInBothLanguages) {
    for (const char* code : NamedEvents)
        for (int sprog : {0, 1})
            EXPECT_NE(FindOvelse(QString::fromUtf8(code), sprog), nullptr) << code << " sprog " << sprog;
}

TEST(EventCatalogue, ShippedCatalogueHoldsEveryNamedAttributeInBothLanguages) {
    for (const char* pair : NamedAttributes) {
        const QStringList parts = QString::fromUtf8(pair).split(u',');
        for (int sprog : {0, 1}) {
            const bool found =
                std::any_of(Shipped().OvDef().begin(), Shipped().OvDef().end(), [&](const OvDefRow& r) {
                    return r.Ovelse == parts[0] && r.Attribut == parts[1] && r.Sprog == sprog;
                });
            EXPECT_TRUE(found) << pair << " sprog " << sprog;
        }
    }
}

TEST(EventCatalogue, BothLanguagesDescribeTheSameEventsAlikeAndFlagsFollowTheEventType) {
    for (const OvelseRow& r : Shipped().Ovelser()) {
        SCOPED_TRACE(r.Ovelse.toStdString());
        const OvelseRow* other = FindOvelse(r.Ovelse, 1 - r.Sprog);
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(
            std::tuple(r.Sortkode, r.Ovtype, r.EltidKorr, r.Vindmaaling, r.Restype, r.System, r.StartBlok),
            std::tuple(other->Sortkode, other->Ovtype, other->EltidKorr, other->Vindmaaling, other->Restype,
                       other->System, other->StartBlok));
        const bool timed = r.Ovtype == 1 || r.Ovtype == 5;
        EXPECT_EQ(r.Restype, timed ? 1 : r.Ovtype == 6 ? 3 : 2);
        EXPECT_TRUE(timed || (r.EltidKorr == 0 && r.StartBlok == 0));
        EXPECT_TRUE(!r.Vindmaaling || r.Ovtype == 1 || r.Ovtype == 3);
    }
    QMap<QString, int> attributes; // both languages carry each attribute once, with one sort position
    for (const OvDefRow& r : Shipped().OvDef())
        attributes[r.Ovelse + u',' + r.Attribut + u',' + QString::number(r.Sortkode)] += 1 << r.Sprog;
    for (auto it = attributes.cbegin(); it != attributes.cend(); ++it)
        EXPECT_EQ(it.value(), 3) << it.key().toStdString();
    for (const char* code : {"100", "200", "100H", "110H", "LÆ", "TR", "C110H", "CLÆ"})
        EXPECT_EQ(FindOvelse(QString::fromUtf8(code), 0)->Vindmaaling, 1) << code;
    for (const char* code : {"400", "800", "400H", "4X100", "HØ", "KU", "SL", "10K"})
        EXPECT_EQ(FindOvelse(QString::fromUtf8(code), 0)->Vindmaaling, 0) << code;
    EXPECT_EQ(FindOvelse(QStringLiteral("1000ST"), 0)->Ovtype, 5);
    EXPECT_EQ(FindOvelse(QStringLiteral("4X100"), 0)->StartBlok, 1);
    EXPECT_EQ(FindOvelse(QStringLiteral("1500"), 0)->StartBlok, 0);
}

const QByteArray Header =
    "Sortkode;Ovelse;Korttekst;Langtekst;Ovtype;EltidKorr;Vindmaaling;Restype;System;Sprog;"
    "StartBlok\n";

QString OvelserError(const QByteArray& content) {
    return ErrorText([&] { EventCatalogue::ParseOvelser(content, QStringLiteral("prøve.csv")); });
}

TEST(EventCatalogue, AcceptsCommentsBlankLinesCrLfAndFullWidthTexts) {
    // 21 characters that are 21 bytes in Windows-1252 but more in UTF-8.
    const QByteArray text = "# kommentar\r\n\r\n" + Header + "10;HØ;Højde €ÆØÅæøå12345678;;2;0;0;2;1;0;0\r\n";
    const auto rows = EventCatalogue::ParseOvelser(text, QStringLiteral("prøve.csv"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Linje, 4);
    EXPECT_EQ(rows[0].Korttekst, QStringLiteral("Højde €ÆØÅæøå12345678"));
}

TEST(EventCatalogue, RefusesBadLinesNamingFileAndLine) {
    const struct {
        QByteArray row;
        const char* message;
    } cases[] = {
        {"10;HØ;Højde;;2;0;0;2;1;0\n", "linje 3: linjen har 10 felter, men overskriften har 11."},
        {"10;HØ;Højde;;2;0;0;2,5;1;0;0\n", "linje 3: feltet Restype er ikke et tal: \"2,5\"."},
        {"10;HØ;Højde;;2;0;0;2;1;2;0\n", "linje 3: feltet Sprog skal være fra 0 til 1, ikke 2."},
        {"10;HØ;Højde €ÆØÅæøå123456789;;2;0;0;2;1;0;0\n",
         "linje 3: feltet Korttekst fylder 22 bytes, men der er kun plads til 21."},
        {"10;HØ;Højde → over;;2;0;0;2;1;0;0\n",
         "linje 3: feltet Korttekst indeholder tegnet \"→\", som ikke findes i Windows-1252."},
        {"10;hø;Højde;;2;0;0;2;1;0;0\n",
         "linje 3: koden \"hø\" i feltet Ovelse skal skrives med store bogstaver."},
        {"10;HØ;Højde;;2;0;0;2;1;0;0\n10;HØ;High;;2;0;0;2;1;1;0\n11;HØ;Højde 2;;2;0;0;2;1;0;0\n",
         "linje 5: øvelse \"HØ\" med sprog 0 står også i linje 3."},
        {"10;H\xC3;Højde;;2;0;0;2;1;0;0\n", "linje 3: linjen er ikke gyldig UTF-8."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OvelserError("#\n" + Header + c.row),
                  QStringLiteral("prøve.csv, ") + QString::fromUtf8(c.message));

    EXPECT_EQ(OvelserError("# tom\n"), QStringLiteral("prøve.csv: filen har ingen overskriftslinje."));
    EXPECT_EQ(OvelserError("Sortkode;Ovelse;Tekst\n"),
              QStringLiteral("prøve.csv, linje 1: ukendt kolonne \"Tekst\" i overskriften."));
    EXPECT_EQ(OvelserError(QByteArray(Header).replace(";StartBlok", "")),
              QStringLiteral("prøve.csv, linje 1: kolonnen \"StartBlok\" mangler i overskriften."));
}

TEST(EventCatalogue, OvDefRefusesDuplicatesAndLoadRefusesAttributesOfUnknownEvents) {
    const QByteArray header = "Sortkode;Ovelse;Attribut;Tekst;System;Sprog\n";
    EXPECT_EQ(ErrorText([&] {
                  EventCatalogue::ParseOvDef(header + "1;KU;4.0;4 kg;1;0\n1;KU;4.0;4 kg;1;0\n", "d.csv");
              }),
              "d.csv, linje 3: øvelse \"KU\" med attribut \"4.0\" og sprog 0 står også i linje 2.");

    QTemporaryDir dir;
    WriteFile(dir.filePath(EventCatalogue::OvelserFileName), Header + "10;KU;Kuglestød;;4;0;0;2;1;0;0\n");
    WriteFile(dir.filePath(EventCatalogue::OvDefFileName), header + "1;KU;4.0;4 kg;1;0\n1;KU;4.0;4 kg;1;1\n");
    const QString error = ErrorText([&] { EventCatalogue::Load(dir.path()); });
    EXPECT_TRUE(error.endsWith("ovdef.csv, linje 3: øvelse \"KU\" med sprog 1 findes ikke i " +
                               dir.filePath("ovelser.csv") + u'.'))
        << error.toStdString();
}

} // namespace
