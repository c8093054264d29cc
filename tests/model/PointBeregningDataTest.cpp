// The shipped points data against the published tables they come from, value by value: a wrong constant
// or factor can hide behind every floored score.
#include "model/D_PointBeregning.h"
#include "model/D_PointBeregningData.h"

#include "support/Test.h"

#include "foundation/Windows1252.h"
#include "model/D_Tekster.h"
#include "tools/setup/EventCatalogue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <cmath>
#include <optional>

namespace {

const QString Published = QStringLiteral(ZUNO_PUBLISHED_TABLES);
const QString Shipped = QStringLiteral(ZUNO_SOURCE_DIR "/data");

// The program's codes for the published ones ("SP" is the shot put there and the javelin here).
const QMap<QString, QString> FieldCodes = {{"HØ", "HJ"}, {"ST", "PV"}, {"LÆ", "LJ"},
                                           {"TR", "TJ"}, {"KU", "SP"}, {"DI", "DT"},
                                           {"HA", "HT"}, {"SP", "JT"}, {"VÆ", "WT"}};

QString PublishedCode(const QString& event) {
    if (event == "3000H")
        return "3000SC";
    return FieldCodes.value(event, event);
}

// Age factors of the combined events: hurdles by the race of each age group.
QString AthlonCode(const QString& event) {
    if (event == "80H" || event == "100H" || event == "110H")
        return "SH";
    if (event == "400H")
        return "LH";
    return PublishedCode(event);
}

// The 2023 women's rows whose published ages 71, 72 and 73 hold the factors of 72, 73 and 71: shipped
// with each factor at its own age.
int PublishedAge(int table, bool female, const QString& event, int age) {
    static const QStringList rotated = {"HØ", "ST", "LÆ", "KU", "DI", "HA"};
    if (table != 2 || !female || !rotated.contains(event) || age < 71 || age > 73)
        return age;
    return age == 71 ? 73 : age - 1;
}

class PublishedTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo::exists(Published + "/combined-events-constants.csv"))
            GTEST_SKIP() << "the published tables are not at " << Published.toStdString();
    }

    static QJsonObject Json(const QString& name) {
        return QJsonDocument::fromJson(ReadFile(Published + "/" + name)).object();
    }

    // Sex ("f", "m") -> event -> values after the row's name (and standards).
    static QMap<QString, QJsonArray> Rows(const QJsonObject& json, bool female, int skip) {
        QMap<QString, QJsonArray> rows;
        for (const QJsonValue& row : json[female ? "f" : "m"].toArray()) {
            QJsonArray values = row.toArray();
            const QString name = values.takeAt(0).toString();
            for (int i = 0; i < skip; ++i)
                values.removeFirst();
            rows[name] = values;
        }
        return rows;
    }
};

// The shipped catalogue's event type and hand-time correction of every event code.
struct CatalogueEvent {
    int type = 0;
    int handCorrection = -1;
};
QMap<QString, CatalogueEvent> Catalogue() {
    const EventCatalogue catalogue = EventCatalogue::Load(Shipped);
    QMap<QString, CatalogueEvent> events;
    for (const OvelseRow& row : catalogue.Ovelser())
        events[row.Ovelse] = {row.Ovtype, row.EltidKorr};
    return events;
}

MarkKind KindOfType(int ovtype) {
    return ovtype == 1 || ovtype == 5 ? MarkKind::Time
           : ovtype == 4              ? MarkKind::Metres
                                      : MarkKind::Centimetres;
}

} // namespace

TEST(PointBeregningData, EmbeddedTablesReadWholeInTheProgramsOrderWithCatalogueCodes) {
    EXPECT_EQ(BuiltinTableErrors(), QStringList());
    const QStringList women = {"55",   "60",   "100",   "200",   "400",   "800",  "1000", "1500",
                               "3000", "5000", "10000", "2000H", "3000H", "55H",  "60H",  "80H",
                               "80H",  "80H",  "100H",  "200H",  "300H",  "400H", "HØ",   "ST",
                               "LÆ",   "TR",   "KU",    "DI",    "HA",    "SP",   "VÆ"};
    const QStringList men = {"55",   "60",   "100",   "200",   "300",   "400",  "800", "1000", "1500",
                             "3000", "5000", "10000", "2000H", "3000H", "55H",  "60H", "80H",  "100H",
                             "100H", "100H", "110H",  "200H",  "300H",  "400H", "HØ",  "ST",   "LÆ",
                             "TR",   "KU",   "DI",    "HA",    "SP",    "VÆ"};
    const QMap<QString, CatalogueEvent> catalogue = Catalogue();
    for (const bool female : {true, false}) {
        SCOPED_TRACE(female ? "women" : "men");
        const QStringList& order = female ? women : men;
        qsizetype next = 0;
        for (const MKFormula& row : MKFormulas(female)) {
            // Rows left out for want of published figures may be missing; the others keep their order.
            next = order.indexOf(row.event, next);
            ASSERT_GE(next, 0) << row.event.toStdString() << " out of order";
            ++next;
            ASSERT_TRUE(catalogue.contains(row.event)) << row.event.toStdString();
            EXPECT_EQ(row.kind, KindOfType(catalogue[row.event].type)) << row.event.toStdString();
            EXPECT_EQ(row.handCorrection, catalogue[row.event].handCorrection) << row.event.toStdString();
            EXPECT_TRUE(row.factors.empty() || row.factors.size() == MKFactorCount);
        }
        EXPECT_EQ(MKFormulas(female).size(), female ? 25u : 24u);
        for (int table : {1, 2}) {
            QStringList events;
            for (const AgeGrading& row : AgeGradings(table, female)) {
                events << row.event;
                EXPECT_EQ(row.kind, KindOfType(catalogue.value(row.event).type));
                EXPECT_EQ(row.handCorrection, catalogue.value(row.event).handCorrection);
                EXPECT_EQ(row.factors.size(), size_t(AgeFactorCount));
            }
            // "1000ST" has no published factors.
            EXPECT_EQ(events,
                      QStringList({"100", "400", "1500", "5000", "HØ", "ST", "LÆ", "KU", "DI", "HA", "SP"}));
        }
    }
    EXPECT_TRUE(YouthFormulas().empty());
}

// An older athlete never scores less than a younger one for the same flat run or jump (hurdles and
// throws change height or weight between age groups): each table's factors step one way only, and so
// do the points and age-graded marks they give.
TEST(PointBeregningData, FactorsOfFlatRunsAndJumpsNeverFavourAYoungerGroup) {
    const QStringList runs = {"55",  "60",   "100",  "200",  "300",  "400",
                              "800", "1000", "1500", "3000", "5000", "10000"};
    const QStringList jumps = {"HØ", "ST", "LÆ", "TR"};
    // Whether factor b, of an older age than a, favours the younger one.
    const auto favoursYounger = [&](const QString& event, double a, double b) {
        return runs.contains(event) ? b > a : b < a;
    };
    int checked = 0;
    for (const bool female : {true, false}) {
        for (const MKFormula& row : MKFormulas(female)) {
            if (!runs.contains(row.event) && !jumps.contains(row.event))
                continue;
            SCOPED_TRACE(row.event.toStdString() + (female ? " women" : " men"));
            for (std::size_t i = 1; i < row.factors.size(); ++i)
                EXPECT_FALSE(favoursYounger(row.event, row.factors[i - 1], row.factors[i]))
                    << "age " << FirstFactorAge + int(i) * MKFactorStep;
            // A mark that scores at any age: a fifth faster or a third higher than the zero point.
            const qint32 mark = row.kind == MarkKind::Time
                                    ? qint32(HundredthsToTid(qint64(row.b * 80)))
                                    : qint32(row.b * (row.kind == MarkKind::Metres ? 133 : 1.33));
            for (int age = FirstFactorAge; !row.factors.empty() && age < LastFactorAge; age += MKFactorStep) {
                const int younger = CalcMKPoint(female, row.event, MKVariant::Veteran, mark, age);
                EXPECT_GT(younger, 0) << age;
                EXPECT_GE(CalcMKPoint(female, row.event, MKVariant::Veteran, mark, age + MKFactorStep),
                          younger)
                    << age;
            }
            ++checked;
        }
        for (const int table : {1, 2}) {
            for (const AgeGrading& row : AgeGradings(table, female)) {
                if (!runs.contains(row.event) && !jumps.contains(row.event))
                    continue;
                SCOPED_TRACE(
                    QStringLiteral("table %1 %2 %3").arg(table).arg(female).arg(row.event).toStdString());
                std::optional<double> previous;
                for (int age = FirstFactorAge; age <= LastFactorAge; ++age) {
                    const std::optional<double>& factor = row.factors[age - FirstFactorAge];
                    if (!factor)
                        continue;
                    EXPECT_FALSE(previous && favoursYounger(row.event, *previous, *factor)) << "age " << age;
                    previous = factor;
                }
                ++checked;
            }
        }
    }
    // 12 + 14 combined-events rows; 7 rows of each age table and sex.
    EXPECT_EQ(checked, 12 + 14 + 2 * 2 * 7);

    // Women's 100 m in 15.00: more points at 85 than at 80, and a 50-year-old's graded time no better
    // than a 51-year-old's.
    EXPECT_GT(CalcMKPoint(true, "100", MKVariant::Veteran, 1500, 85),
              CalcMKPoint(true, "100", MKVariant::Veteran, 1500, 80));
    EXPECT_GE(CalcAlderRes(true, "100", 50, 1500), CalcAlderRes(true, "100", 51, 1500));
}

// The women's 80 m hurdles have no published constants: the program's definition gives its three rows.
TEST(PointBeregningData, TheHurdleRowsTheProgramsDefinitionGives) {
    const std::tuple<int, double, double> rows[] = {
        {1, 9.23076, 26.7}, {2, 12.9828, 21.9}, {3, 9.23076, 26.7}};
    for (const auto& [variant, a, b] : rows) {
        int found = 0;
        for (const MKFormula& row : MKFormulas(true)) {
            if (row.event != "80H" || row.variant != variant)
                continue;
            ++found;
            EXPECT_EQ(std::tuple(row.a, row.b, row.c, row.kind, row.handCorrection),
                      std::tuple(a, b, 1.835, MarkKind::Time, 24))
                << variant;
        }
        EXPECT_EQ(found, 1) << variant;
    }
}

TEST_F(PublishedTablesTest, CombinedEventsConstantsAndFactorsAreThePublishedOnes) {
    QMap<QString, QStringList> constants; // "F,100" -> A, B, C
    const QList<QByteArray> lines = ReadFile(Published + "/combined-events-constants.csv").split('\n');
    for (const QByteArray& line : lines.mid(1)) {
        const QStringList f = QString::fromUtf8(line).trimmed().split(u',');
        if (f.size() == 5)
            constants[f[0] + u',' + f[1]] = f.mid(2);
    }
    const QJsonObject athlons = Json("wma-athlons-data.json");
    for (const bool female : {true, false}) {
        const QMap<QString, QJsonArray> factors = Rows(athlons, female, 0);
        for (const MKFormula& row : MKFormulas(female)) {
            SCOPED_TRACE(row.event.toStdString() + (female ? " women" : " men"));
            const QStringList abc = constants.value((female ? "F," : "M,") + PublishedCode(row.event));
            if (row.event == "80H") {
                EXPECT_TRUE(abc.isEmpty()); // given whole by the program's definition
            } else {
                ASSERT_EQ(abc.size(), 3);
                EXPECT_EQ(row.a, abc[0].toDouble());
                EXPECT_EQ(row.b, abc[1].toDouble());
                EXPECT_EQ(row.c, abc[2].toDouble());
            }
            // The athlons rows hold the ages 35..110; 30 is 1.
            const QJsonArray published = factors.value(AthlonCode(row.event));
            ASSERT_EQ(row.factors.empty(), published.isEmpty());
            for (int i = 0; i < int(row.factors.size()); ++i)
                EXPECT_EQ(row.factors[i], i == 0 ? 1.0 : published.at(i - 1).toDouble())
                    << "age " << FirstFactorAge + i * MKFactorStep;
        }
    }
}

TEST_F(PublishedTablesTest, AgeGradingFactorsAreThePublishedOnesAtEveryAge) {
    for (int table : {1, 2}) {
        const QJsonObject json = Json(table == 1 ? "wma-data-2015.json" : "wma-data-2023.json");
        const QJsonArray ages = json["ages"].toArray();
        for (const bool female : {true, false}) {
            const QMap<QString, QJsonArray> rows = Rows(json, female, 2);
            for (const AgeGrading& row : AgeGradings(table, female)) {
                SCOPED_TRACE(
                    QStringLiteral("table %1 %2 %3").arg(table).arg(female).arg(row.event).toStdString());
                const QJsonArray published = rows.value(PublishedCode(row.event));
                ASSERT_FALSE(published.isEmpty());
                for (int age = FirstFactorAge; age <= LastFactorAge; ++age) {
                    const QJsonValue value =
                        published.at(PublishedAge(table, female, row.event, age) - ages.first().toInt());
                    const std::optional<double>& shipped = row.factors[age - FirstFactorAge];
                    // A published 0 is no factor.
                    if (value.isNull() || value.toDouble() == 0)
                        EXPECT_FALSE(shipped) << age;
                    else
                        EXPECT_EQ(shipped, value.toDouble()) << age;
                }
            }
        }
    }
}

namespace {

// A published mark as the program stores it: a time packed, a distance in centimetres, points whole;
// nothing for a time printed as too coarse a fraction of a day.
std::optional<qint32> StoredMark(const QString& text, MarkKind kind, bool points) {
    if (points)
        return qint32(text.toDouble());
    if (kind != MarkKind::Time)
        return qint32(std::lround(text.toDouble() * 100));
    if (!text.contains(u':') && text.toDouble() < 1) {
        if (text.section(u'.', 1).size() < 7)
            return std::nullopt;
        return qint32(HundredthsToTid(std::llround(text.toDouble() * 8640000)));
    }
    QStringList parts = text.split(u':');
    double seconds = parts.takeLast().toDouble();
    qint64 minutes = 0;
    for (const QString& part : parts)
        minutes = minutes * 60 + part.toInt();
    return qint32(HundredthsToTid(std::llround((minutes * 60 + seconds) * 100)));
}

} // namespace

TEST_F(PublishedTablesTest, BluePointsTablesHoldThePublishedMarks) {
    // The published column of each of the program's codes; the pentathlon is an indoor event.
    const QMap<QString, QString> columns = {
        {"100", "100m"},       {"200", "200m"},    {"300", "300m"},      {"400", "400m"},
        {"600", "600m"},       {"800", "800m"},    {"1000", "1000m"},    {"1500", "1500m"},
        {"2000", "2000m"},     {"3000", "3000m"},  {"5000", "5000m"},    {"10000", "10000m"},
        {"100H", "100mH"},     {"110H", "110mH"},  {"400H", "400mH"},    {"2000H", "2000m SC"},
        {"3000H", "3000m SC"}, {"3000G", "3km W"}, {"4X100", "4x100m"},  {"4X200", "4x200m"},
        {"4X400", "4x400m"},   {"HØ", "HJ"},       {"ST", "PV"},         {"LÆ", "LJ"},
        {"TR", "TJ"},          {"KU", "SP"},       {"DI", "DT"},         {"HA", "HT"},
        {"SP", "JT"},          {"5K", "Pent."},    {"7K", "Heptathlon"}, {"10K", "Decathlon"}};
    // The women's indoor sprints and hurdles are left out: that published table mixes in the men's marks.
    const QString common = "100,200,300,400,600,800,1000,1500,2000,3000,5000,10000,%1,400H,2000H,3000H,3000G,"
                           "4X100,4X200,4X400,HØ,ST,LÆ,TR,KU,DI,HA,SP";
    const QStringList headers[] = {QStringList{"9999"} + common.arg("110H").split(u',') + QStringList{"10K"},
                                   QStringList{"9999"} + common.arg("100H").split(u',') +
                                       QStringList{"5K", "7K"}};
    const QMap<QString, CatalogueEvent> catalogue = Catalogue();
    QMap<QString, QList<QStringList>> published; // file -> rows of fields
    for (const bool female : {false, true}) {
        const QString file =
            Shipped + (female ? "/_t_blue/iaaf-blue-points-women.csv" : "/_t_blue/iaaf-blue-points-men.csv");
        const QStringList header = Windows1252::Decode(ReadFile(file).split('\n').first()).split(u',');
        EXPECT_EQ(header, headers[female]);
        for (const QString& event : header.mid(1)) {
            SCOPED_TRACE(event.toStdString() + (female ? " women" : " men"));
            ASSERT_TRUE(catalogue.contains(event) && columns.contains(event));
            const int type = catalogue[event].type;
            const QString source = QString(female ? "F" : "M") + (event == "5K" ? "_indoors" : "_outdoors");
            if (!published.contains(source)) {
                for (const QByteArray& line :
                     ReadFile(Published + "/points_table_" + source + ".csv").split('\n'))
                    published[source] << QString::fromUtf8(line).trimmed().split(u',');
            }
            const QList<QStringList>& rows = published[source];
            const qsizetype index = rows.first().indexOf(columns[event]);
            ASSERT_GT(index, 0);

            TPointTabel shipped;
            shipped.LoadFromCSV(file, event);
            // The walk's column is in whole seconds; the program scales it after loading.
            if (event == "3000G")
                shipped.ScaleResults();
            EXPECT_EQ(shipped.EltidKorr, catalogue[event].handCorrection);
            QMap<qint32, qint32> marks; // points -> mark
            for (const TPointTabelData& row : shipped.Rows())
                marks[row.Points] = row.Result;
            int compared = 0;
            for (const QStringList& row : rows.mid(1)) {
                if (row.size() <= index || row[index].isEmpty())
                    continue;
                const std::optional<qint32> mark = StoredMark(row[index], KindOfType(type), type == 6);
                if (!mark)
                    continue;
                ++compared;
                EXPECT_EQ(marks.value(row[0].toInt()), *mark) << row[0].toStdString() << " points";
            }
            EXPECT_EQ(compared, int(marks.size()));
        }
    }
}
