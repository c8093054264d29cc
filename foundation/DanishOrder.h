#pragma once
// Names in Danish alphabetical order: Æ, Ø and Å after Z, "Aa" as Å, case ignored. Every list sorted or
// searched by name orders through it, so that a search finds what the list shows where it shows it.
#include <QCollator>
#include <QString>

QCollator DanishNameOrder();

// Below zero, zero or above zero as a comes before, with or after b, through one collator per thread, so
// that a sort comparing items one pair at a time does not build a collator per comparison.
int CompareDanish(const QString& a, const QString& b);
