#pragma once
// The standard age and sex classes.
#include <QString>

// The 62 standard classes: girls and women from position 0, boys and men from 17, women veterans from
// 34, men veterans from 48. A position is the class number the programme rows carry.

constexpr int StdKlasseCount = 62;

// The class code at index ("P5", "K", "M95"); empty out of range.
QString GetStdKlasseKode(int index);
// Sex word and age text, "Mænd 50-54 år"; empty out of range.
QString GetStdKlasseText(int index);
// The index of a class code, compared trimmed and upper-cased; -1 for a code that is no standard class.
int FindStdKlasse(const QString& kode);
