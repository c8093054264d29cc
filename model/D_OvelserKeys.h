#pragma once
// The parts of the rounds' index keys as numbers (TOvelseInfoKey): each orders as the part of the key text
// it stands for.
#include "model/D_Ovelser.h"

#include <QStringView>

#include <string_view>

// Bits a sort code's number takes (12^5 < 2^18) and a round level's.
constexpr int SortCodeBits = 18;
constexpr int LevelBits = 3;

// A sort code right-justified in five characters.
quint64 SortCodeNumber(qint32 value);
// "yyyymmddhhnnss" of the stored date and time; 0 for no valid date.
quint64 StampNumber(TDateTime value);
// 1 first round or qualification, 2 second round, 3 semi-final, 4 final or none.
quint64 LevelNumber(QStringView runde);
// The class, event, time and venue keys of a round from its numbers.
void SetNumberKeys(TOvelseInfo::TIndexKeys& keys, quint64 klasseNr, quint64 ovelseNr, quint64 level,
                   quint64 stamp, quint64 stedNr);
// The combined-event key text: the code upper-cased right-justified in 6, the discipline number in 3.
QString MKKeyText(const QString& mkOvelse, qint32 nr);

// A key text gathered unit by unit into the words of a key, four UTF-16 units to a word.
class TTextKey {
public:
    void Add(char16_t unit) {
        if (count_ < Units)
            key_[static_cast<std::size_t>(count_ / 4)] |= quint64(unit) << (16 * (3 - count_ % 4));
        ++count_;
    }
    // As RightJustify gives it: trailing blanks off, the rightmost width units, blanks in front.
    void AddRight(QStringView text, int width);
    // As LeftJustify gives it: leading blanks off, the leftmost width units, blanks after.
    void AddLeft(QStringView text, int width);
    // AddRight of the code of stored bytes (Windows-1252, trimmed), upper-cased.
    void AddCodeRight(std::string_view trimmed, int width);
    const TOvelseInfoKey& Key() const { return key_; }

private:
    static constexpr int Units = 12;
    TOvelseInfoKey key_{};
    int count_ = 0;
};
