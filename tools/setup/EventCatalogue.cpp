#include "tools/setup/EventCatalogue.h"

#include "foundation/Exception.h"
#include "foundation/Windows1252.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <span>
#include <variant>

namespace {

// Every character Windows-1252 holds is one byte, so a text that passes this check takes as many bytes
// as it has characters. The codec writes "?" for a character it has no byte for.
bool IsWindows1252(QChar c) {
    return c == u'?' || Windows1252::Encode(QString(c)) != "?";
}

enum class Rule { Free, Required, Code };

// One column of a catalogue file: the record field it fills, and what the field can hold
// (texts: size in bytes; numbers: the allowed range).
template <typename Row>
struct Column {
    const char* name;
    std::variant<QString Row::*, int16_t Row::*, uint8_t Row::*> field;
    int low;
    int high;
    Rule rule = Rule::Free;
};

const Column<OvelseRow> OvelseColumns[] = {
    {"Sortkode", &OvelseRow::Sortkode, 0, 32767},
    {"Ovelse", &OvelseRow::Ovelse, 0, 6, Rule::Code},
    {"Korttekst", &OvelseRow::Korttekst, 0, 21, Rule::Required},
    {"Langtekst", &OvelseRow::Langtekst, 0, 80},
    {"Ovtype", &OvelseRow::Ovtype, 1, 6},
    {"EltidKorr", &OvelseRow::EltidKorr, 0, 32767},
    {"Vindmaaling", &OvelseRow::Vindmaaling, 0, 1},
    {"Restype", &OvelseRow::Restype, 1, 5},
    {"System", &OvelseRow::System, 0, 32767},
    {"Sprog", &OvelseRow::Sprog, 0, 1},
    {"StartBlok", &OvelseRow::StartBlok, 0, 1},
};

const Column<OvDefRow> OvDefColumns[] = {
    {"Sortkode", &OvDefRow::Sortkode, 0, 32767},
    {"Ovelse", &OvDefRow::Ovelse, 0, 6, Rule::Code},
    {"Attribut", &OvDefRow::Attribut, 0, 6, Rule::Code},
    {"Tekst", &OvDefRow::Tekst, 0, 50, Rule::Required},
    {"System", &OvDefRow::System, 0, 32767},
    {"Sprog", &OvDefRow::Sprog, 0, 1},
};

class LineError {
public:
    explicit LineError(const QString& fileName)
        : fileName_(fileName) {}

    [[noreturn]] void Fail(int line, const QString& text) const {
        throw Exception(QStringLiteral("%1, linje %2: %3").arg(fileName_, QString::number(line), text));
    }

private:
    const QString& fileName_;
};

// Plain decimal digits with an optional minus; anything else (blanks, "+", decimals) is refused.
bool ParseInteger(const QString& text, int& value) {
    const qsizetype start = text.startsWith(u'-') ? 1 : 0;
    if (text.size() == start || text.size() - start > 6)
        return false;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    value = text.toInt();
    return true;
}

template <typename Row>
void SetText(Row& row, QString Row::*field, const Column<Row>& column, const QString& value, int line,
             const LineError& error) {
    const QString name = QString::fromLatin1(column.name);
    for (QChar c : value)
        if (!IsWindows1252(c))
            error.Fail(line,
                       QStringLiteral("feltet %1 indeholder tegnet \"%2\", som ikke findes i Windows-1252.")
                           .arg(name, QString(c)));
    if (value.size() > column.high)
        error.Fail(line, QStringLiteral("feltet %1 fylder %2 bytes, men der er kun plads til %3.")
                             .arg(name, QString::number(value.size()), QString::number(column.high)));
    if (column.rule != Rule::Free && value.isEmpty())
        error.Fail(line, QStringLiteral("feltet %1 er tomt.").arg(name));
    // Codes are looked up trimmed and upper-cased, so a lower-case code could never be found.
    if (column.rule == Rule::Code && value != value.toUpper())
        error.Fail(
            line,
            QStringLiteral("koden \"%1\" i feltet %2 skal skrives med store bogstaver.").arg(value, name));
    row.*field = value;
}

template <typename Row, typename Number>
void SetNumber(Row& row, Number Row::*field, const Column<Row>& column, const QString& value, int line,
               const LineError& error) {
    const QString name = QString::fromLatin1(column.name);
    int number = 0;
    if (!ParseInteger(value, number))
        error.Fail(line, QStringLiteral("feltet %1 er ikke et tal: \"%2\".").arg(name, value));
    if (number < column.low || number > column.high)
        error.Fail(line, QStringLiteral("feltet %1 skal være fra %2 til %3, ikke %4.")
                             .arg(name, QString::number(column.low), QString::number(column.high), value));
    row.*field = static_cast<Number>(number);
}

template <typename Row>
std::vector<int> ReadHeader(const QStringList& names, std::span<const Column<Row>> columns, int line,
                            const LineError& error) {
    std::vector<int> order; // column descriptor of each field of a row
    for (const QString& name : names) {
        const auto found = std::find_if(columns.begin(), columns.end(),
                                        [&](const Column<Row>& c) { return name == QLatin1String(c.name); });
        if (found == columns.end())
            error.Fail(line, QStringLiteral("ukendt kolonne \"%1\" i overskriften.").arg(name));
        const int index = static_cast<int>(found - columns.begin());
        if (std::find(order.begin(), order.end(), index) != order.end())
            error.Fail(line, QStringLiteral("kolonnen \"%1\" står to gange i overskriften.").arg(name));
        order.push_back(index);
    }
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        if (std::find(order.begin(), order.end(), i) == order.end())
            error.Fail(line, QStringLiteral("kolonnen \"%1\" mangler i overskriften.")
                                 .arg(QString::fromLatin1(columns[i].name)));
    return order;
}

// Parses one catalogue file. KeyOf gives a row's unique key and the words that name it in a message.
template <typename Row, typename KeyOf>
std::vector<Row> ParseTable(const QByteArray& content, const QString& fileName,
                            std::span<const Column<Row>> columns, KeyOf keyOf) {
    const LineError error(fileName);
    std::vector<Row> rows;
    std::vector<int> order;
    QHash<QString, int> seen;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QList<QByteArray> lines = content.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const int line = i + 1;
        QByteArray bytes = lines[i];
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        if (i == 0 && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        const QString text = decoder.decode(bytes);
        if (decoder.hasError())
            error.Fail(line, QStringLiteral("linjen er ikke gyldig UTF-8."));
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        QStringList fields = text.split(u';');
        for (QString& field : fields)
            field = field.trimmed();
        if (order.empty()) {
            order = ReadHeader(fields, columns, line, error);
            continue;
        }
        if (fields.size() != static_cast<qsizetype>(order.size()))
            error.Fail(line, QStringLiteral("linjen har %1 felter, men overskriften har %2.")
                                 .arg(QString::number(fields.size()), QString::number(order.size())));
        Row row;
        row.Linje = line;
        for (qsizetype f = 0; f < fields.size(); ++f) {
            const Column<Row>& column = columns[order[f]];
            std::visit(
                [&](auto member) {
                    if constexpr (std::is_same_v<decltype(member), QString Row::*>)
                        SetText(row, member, column, fields[f], line, error);
                    else
                        SetNumber(row, member, column, fields[f], line, error);
                },
                column.field);
        }
        const auto [key, name] = keyOf(row);
        if (const auto earlier = seen.constFind(key); earlier != seen.constEnd())
            error.Fail(line, QStringLiteral("%1 står også i linje %2.").arg(name, QString::number(*earlier)));
        seen.insert(key, line);
        rows.push_back(std::move(row));
    }
    if (order.empty())
        throw Exception(QStringLiteral("%1: filen har ingen overskriftslinje.").arg(fileName));
    return rows;
}

QString Sprog(uint8_t sprog) {
    return QString::number(sprog);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Kan ikke læse filen \"%1\".").arg(path));
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Exception(QStringLiteral("Kan ikke læse filen \"%1\".").arg(path));
    return content;
}

} // namespace

std::vector<OvelseRow> EventCatalogue::ParseOvelser(const QByteArray& content, const QString& fileName) {
    return ParseTable(
        content, fileName, std::span<const Column<OvelseRow>>(OvelseColumns), [](const OvelseRow& r) {
            return std::pair(r.Ovelse + u'\x1f' + Sprog(r.Sprog),
                             QStringLiteral("øvelse \"%1\" med sprog %2").arg(r.Ovelse, Sprog(r.Sprog)));
        });
}

std::vector<OvDefRow> EventCatalogue::ParseOvDef(const QByteArray& content, const QString& fileName) {
    return ParseTable(content, fileName, std::span<const Column<OvDefRow>>(OvDefColumns),
                      [](const OvDefRow& r) {
                          return std::pair(r.Ovelse + u'\x1f' + r.Attribut + u'\x1f' + Sprog(r.Sprog),
                                           QStringLiteral("øvelse \"%1\" med attribut \"%2\" og sprog %3")
                                               .arg(r.Ovelse, r.Attribut, Sprog(r.Sprog)));
                      });
}

std::vector<OvelseRow> EventCatalogue::ReadOvelser(const QString& path) {
    return ParseOvelser(ReadFile(path), path);
}

std::vector<OvDefRow> EventCatalogue::ReadOvDef(const QString& path) {
    return ParseOvDef(ReadFile(path), path);
}

EventCatalogue EventCatalogue::Load(const QString& dataDir) {
    const QString ovelserPath = dataDir + u'/' + QLatin1String(OvelserFileName);
    const QString ovdefPath = dataDir + u'/' + QLatin1String(OvDefFileName);
    EventCatalogue catalogue;
    catalogue.ovelser_ = ReadOvelser(ovelserPath);
    catalogue.ovdef_ = ReadOvDef(ovdefPath);

    QSet<QString> events;
    for (const OvelseRow& r : catalogue.ovelser_)
        events.insert(r.Ovelse + u'\x1f' + Sprog(r.Sprog));
    for (const OvDefRow& r : catalogue.ovdef_)
        if (!events.contains(r.Ovelse + u'\x1f' + Sprog(r.Sprog)))
            throw Exception(
                QStringLiteral("%1, linje %2: øvelse \"%3\" med sprog %4 findes ikke i %5.")
                    .arg(ovdefPath, QString::number(r.Linje), r.Ovelse, Sprog(r.Sprog), ovelserPath));
    return catalogue;
}
