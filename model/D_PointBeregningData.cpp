#include "model/D_PointBeregningData.h"

#include "PointBeregningTables.h"
#include "model/D_BuiltinData.h"

#include <array>
#include <charconv>
#include <string>

namespace {

using Row = TBuiltinRow;

struct YouthGroupRange {
    int first;
    int last;
};

constexpr std::array<YouthGroupRange, 6> YouthGroupRanges = {
    {{4, 9}, {10, 11}, {12, 13}, {14, 15}, {16, 17}, {18, 19}}};

QStringList AgeColumns(int step) {
    QStringList columns;
    for (int age = FirstFactorAge; age <= LastFactorAge; age += step)
        columns << QString::number(age);
    return columns;
}

// Reads the records of an embedded file.
class TableReader {
public:
    TableReader(const char* fileName, QStringList& errors)
        : fileName_(QString::fromLatin1(fileName))
        , errors_(errors) {}

    std::vector<Row> Read(const QStringList& header) {
        const char* text = nullptr;
        for (const auto& table : PointBeregningTables) {
            if (fileName_ == QLatin1String(table.name))
                text = table.text;
        }
        return ReadBuiltinData(
            fileName_, text, header, [&header](qsizetype n) { return n == header.size(); }, errors_);
    }

    void Error(int line, const QString& text) { errors_ << BuiltinDataError(fileName_, line, text); }

private:
    QString fileName_;
    QStringList& errors_;
};

template <typename T>
bool ReadNumber(const QString& text, T& value) {
    const std::string bytes = text.toStdString();
    const char* end = bytes.data() + bytes.size();
    const auto [ptr, ec] = std::from_chars(bytes.data(), end, value);
    return !bytes.empty() && ec == std::errc() && ptr == end;
}

bool ReadSex(const QString& text, bool& female) {
    female = text == u"K";
    return female || text == u"M";
}

bool ReadKind(const QString& text, MarkKind& kind) {
    int value = 0;
    if (!ReadNumber(text, value) || value < int(MarkKind::Time) || value > int(MarkKind::Metres))
        return false;
    kind = MarkKind(value);
    return true;
}

struct Tables {
    std::array<std::vector<MKFormula>, 2> mk;
    std::array<std::array<std::vector<AgeGrading>, 2>, 2> ageGradings;
    std::vector<YouthFormula> youth;
    QStringList errors;
};

void ReadMKFormulas(Tables& tables) {
    TableReader reader("combined-events.csv", tables.errors);
    const QStringList header =
        QStringList{"sex", "event", "A", "B", "C", "kind", "handCorrection", "variant"} +
        AgeColumns(MKFactorStep);
    for (const Row& row : reader.Read(header)) {
        const QStringList& f = row.fields;
        MKFormula formula;
        bool female = false;
        bool ok = ReadSex(f[0], female) && ReadNumber(f[2], formula.a) && ReadNumber(f[3], formula.b) &&
                  ReadNumber(f[4], formula.c) && ReadKind(f[5], formula.kind) &&
                  ReadNumber(f[6], formula.handCorrection) && ReadNumber(f[7], formula.variant);
        formula.event = f[1];
        // All factors or none.
        const QStringList factors = f.mid(8);
        if (factors.join(QString()).isEmpty()) {
            formula.factors.clear();
        } else {
            for (const QString& text : factors) {
                double factor = 0;
                ok = ok && ReadNumber(text, factor);
                formula.factors.push_back(factor);
            }
        }
        if (ok && !formula.event.isEmpty())
            tables.mk[female].push_back(std::move(formula));
        else
            reader.Error(row.line, f.join(u';'));
    }
}

void ReadAgeGradings(Tables& tables, int table) {
    TableReader reader(table == 1 ? "age-grading-1.csv" : "age-grading-2.csv", tables.errors);
    const QStringList header = QStringList{"sex", "event", "kind", "handCorrection"} + AgeColumns(1);
    for (const Row& row : reader.Read(header)) {
        const QStringList& f = row.fields;
        AgeGrading grading;
        bool female = false;
        bool ok =
            ReadSex(f[0], female) && ReadKind(f[2], grading.kind) && ReadNumber(f[3], grading.handCorrection);
        grading.event = f[1];
        for (const QString& text : f.mid(4)) {
            double factor = 0;
            if (text.isEmpty())
                grading.factors.emplace_back();
            else if (ReadNumber(text, factor))
                grading.factors.emplace_back(factor);
            else
                ok = false;
        }
        if (ok && !grading.event.isEmpty())
            tables.ageGradings[table - 1][female].push_back(std::move(grading));
        else
            reader.Error(row.line, f.join(u';'));
    }
}

void ReadYouthFormulas(Tables& tables) {
    TableReader reader("youth-points.csv", tables.errors);
    for (const Row& row : reader.Read({"group", "event", "handCorrection", "a", "b", "c"})) {
        const QStringList& f = row.fields;
        YouthFormula formula{f[0], f[1]};
        const bool ok = YouthGroup(f[0].section(u'-', 0, 0)) == f[0] && !formula.event.isEmpty() &&
                        ReadNumber(f[2], formula.handCorrection) && ReadNumber(f[3], formula.a) &&
                        ReadNumber(f[4], formula.b) && ReadNumber(f[5], formula.c);
        if (ok)
            tables.youth.push_back(std::move(formula));
        else
            reader.Error(row.line, f.join(u';'));
    }
}

const Tables& TheTables() {
    static const Tables tables = [] {
        Tables t;
        ReadMKFormulas(t);
        ReadAgeGradings(t, 1);
        ReadAgeGradings(t, 2);
        ReadYouthFormulas(t);
        return t;
    }();
    return tables;
}

} // namespace

QString YouthGroup(const QString& klasseKode) {
    const QString kode = klasseKode.trimmed().toUpper();
    if (kode.size() < 2 || (kode[0] != u'D' && kode[0] != u'P'))
        return {};
    int age = 0;
    if (!ReadNumber(kode.mid(1), age))
        return {};
    for (const YouthGroupRange& range : YouthGroupRanges) {
        if (age >= range.first && age <= range.last)
            return QStringLiteral("%1%2-%1%3").arg(kode[0]).arg(range.first).arg(range.last);
    }
    return {};
}

const std::vector<MKFormula>& MKFormulas(bool female) {
    return TheTables().mk[female];
}

const std::vector<AgeGrading>& AgeGradings(int table, bool female) {
    static const std::vector<AgeGrading> none;
    return table == 1 || table == 2 ? TheTables().ageGradings[table - 1][female] : none;
}

const std::vector<YouthFormula>& YouthFormulas() {
    return TheTables().youth;
}

const QStringList& BuiltinTableErrors() {
    return TheTables().errors;
}
