#pragma once
// Names in Danish alphabetical order: Æ, Ø and Å after Z, "Aa" as Å, case ignored. Every list sorted or
// searched by name orders through it, so that a search finds what the list shows where it shows it.
#include <QCollator>
#include <QString>

QCollator DanishNameOrder();

// Below zero, zero or above zero as a comes before, with or after b; for a single comparison. Sorts make
// one collator, or sort keys, once.
int CompareDanish(const QString& a, const QString& b);
