#include "model/D_OvelserKeys.h"

#include "model/D_OvelserCodes.h"

#include "foundation/LxString.h"
#include "foundation/Windows1252.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {

constexpr int SortCodeWidth = 5;
// The numbers of a key. A sort code is the text of five characters it stands as in a key text, each of
// blank, minus or a digit (in that order of the characters' codes), read as a number of base 12; a time is
// its "yyyymmddhhnnss" read as a number; a round level its digit.
constexpr int SortCodeBase = 12;

} // namespace

quint64 SortCodeNumber(qint32 value) {
    std::array<char, 24> digits{};
    const int n = static_cast<int>(std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr -
                                   digits.data());
    // Right-justified in the width; a longer text keeps its rightmost characters.
    quint64 number = 0;
    for (int i = SortCodeWidth - 1; i >= 0; --i) {
        const int at = n - 1 - i;
        const char c = at >= 0 ? digits[static_cast<std::size_t>(at)] : ' ';
        number = number * SortCodeBase + (c == ' ' ? 0 : c == '-' ? 1 : 2 + (c - '0'));
    }
    return number;
}

quint64 StampNumber(TDateTime value) {
    const QDate date = DateTimeToQDate(value);
    if (!date.isValid() || date.year() < 0)
        return 0;
    const QTime time = DateTimeToQTime(value);
    quint64 number = static_cast<quint64>(date.year() % 10000);
    for (const int part : {date.month(), date.day(), time.hour(), time.minute(), time.second()})
        number = number * 100 + static_cast<quint64>(part % 100);
    return number;
}

// 1 first round or qualification, 2 second round, 3 semi-final, 4 final or none.
void SetNumberKeys(TOvelseInfo::TIndexKeys& keys, quint64 klasseNr, quint64 ovelseNr, quint64 level,
                   quint64 stamp, quint64 stedNr) {
    const quint64 klasse = (klasseNr << (SortCodeBits + LevelBits)) | (ovelseNr << LevelBits) | level;
    keys.Klasse = {klasse, 0, 0};
    keys.Ovelse = {(ovelseNr << (LevelBits + SortCodeBits)) | (level << SortCodeBits) | klasseNr, 0, 0};
    keys.Tid = {stamp, stedNr, klasse};
    keys.StedTid = {stedNr, stamp, klasse};
}

QString MKKeyText(const QString& mkOvelse, qint32 nr) {
    return RightJustify(mkOvelse.toUpper(), 6) + RightJustify(QString::number(nr), 3);
}

quint64 LevelNumber(QStringView runde) {
    const QChar c = runde.isEmpty() ? QChar() : runde.at(0);
    if (c == u'I' || c == u'K')
        return 1;
    if (c == u'M')
        return 2;
    if (c == u'S')
        return 3;
    return 4;
}

void TTextKey::AddRight(QStringView text, int width) {
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    const qsizetype n = std::min<qsizetype>(text.size(), width);
    for (qsizetype i = n; i < width; ++i)
        Add(u' ');
    for (const QChar c : text.right(n))
        Add(c.unicode());
}

void TTextKey::AddLeft(QStringView text, int width) {
    while (!text.isEmpty() && text.front() == u' ')
        text = text.mid(1);
    const qsizetype n = std::min<qsizetype>(text.size(), width);
    for (const QChar c : text.left(n))
        Add(c.unicode());
    for (qsizetype i = n; i < width; ++i)
        Add(u' ');
}

void TTextKey::AddCodeRight(std::string_view trimmed, int width) {
    if (!IsAsciiCode(trimmed)) {
        AddRight(Windows1252::Decode(trimmed.data(), static_cast<qsizetype>(trimmed.size())).toUpper(),
                 width);
        return;
    }
    // A byte below 0x80 is its character.
    const std::size_t n = std::min<std::size_t>(trimmed.size(), static_cast<std::size_t>(width));
    for (std::size_t i = n; i < static_cast<std::size_t>(width); ++i)
        Add(u' ');
    for (const char c : trimmed.substr(trimmed.size() - n))
        Add(static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
}
