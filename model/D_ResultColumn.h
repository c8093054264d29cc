#pragma once
// The columns of a result row by their ids (the result grid, the prints, the timing reader and the event
// editor's column layout), with one table of each column's caption, default width, alignment, when it
// is read-only and how many bytes it is stored in.
#include "model/D_DBDefFields.h"

#include <QString>
#include <QtCore/qnamespace.h>

#include <optional>

enum class TResultColumn : int {
    Startnummer = 3,
    Heat = 4,
    Efter = 5,
    RK = 6,
    Seedning = 7,
    Resultat = 8,
    PK = 9,
    Plac = 10,
    Side = 11,
    Bane = 12,
    VK = 13,
    AlderRes = 14,
    Vind = 15,
    PR = 16,
    Navn = 17,
    Aargang = 18,
    Klub = 19,
    NavnAargang = 20,
    NavnAargangKlub = 21,
    Rank = 22,
    Bem = 23,
    Point = 24,
    Holdkode = 25,
    Koen = 26,
    Match = 27,
    UK = 28,
    ScanningTid = 29,
    Licensnummer = 30,
    KortNavn = 31,
    Point3 = 32,
    Klasse = 33,
    Ovelse = 34,
    Runde = 35,
    Reaktion = 36,
    SG = 37,
    ResultatKopi = 38,
    Bem2 = 39,
    Tusindedele = 40
};
constexpr int FirstResultColumn = 3;
constexpr int LastResultColumn = 40;

// When a column cannot be edited.
enum class TColumnReadOnly {
    Never,
    Always,
    // In series events other than relays, whose series give it.
    SerieOvelse,
    // In the DT, VT and LTU team competitions.
    HoldTurnering
};

struct TResultColumnDef {
    TResultColumn Column;
    // The standard caption (UTF-8).
    const char* Text;
    // The grid's default width in pixels.
    int Width;
    Qt::AlignmentFlag Alignment;
    TColumnReadOnly ReadOnly;
    // The bytes its value is stored in; 0 for a column computed or kept in memory only.
    int StorageSize;
};

// clang-format off
inline constexpr TResultColumnDef ResultColumns[] = {
    {TResultColumn::Startnummer, "Nr", 40, Qt::AlignLeft, TColumnReadOnly::Always, ResultatFieldSize::Startnummer},
    {TResultColumn::Heat, "Heat", 40, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::Heat},
    {TResultColumn::Efter, "Efter", 40, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::Efteranmeldelse},
    {TResultColumn::RK, "RK", 50, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::ResultatKode},
    {TResultColumn::Seedning, "Seedning", 70, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::Seedning},
    {TResultColumn::Resultat, "Resultat", 70, Qt::AlignLeft, TColumnReadOnly::SerieOvelse, ResultatFieldSize::Resultat},
    {TResultColumn::PK, "PK", 35, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::PlKode},
    {TResultColumn::Plac, "Plac", 40, Qt::AlignLeft, TColumnReadOnly::Always, ResultatFieldSize::Placering},
    {TResultColumn::Side, "Side", 40, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::Sidenummer},
    {TResultColumn::Bane, "Bane", 40, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::Banenummer},
    {TResultColumn::VK, "VK", 35, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::VidereKode},
    {TResultColumn::AlderRes, "?", 70, Qt::AlignLeft, TColumnReadOnly::Never, 0},
    {TResultColumn::Vind, "Vind", 50, Qt::AlignLeft, TColumnReadOnly::SerieOvelse, ResultatFieldSize::Vind},
    {TResultColumn::PR, "PR", 70, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::PersonligRekord},
    {TResultColumn::Navn, "Navn", 160, Qt::AlignLeft, TColumnReadOnly::Never, DeltagerFieldSize::Navn},
    {TResultColumn::Aargang, "Årg", 45, Qt::AlignLeft, TColumnReadOnly::Never, DeltagerFieldSize::Aargang},
    {TResultColumn::Klub, "Klub", 140, Qt::AlignLeft, TColumnReadOnly::Always, KlubFieldSize::Navn},
    {TResultColumn::NavnAargang, "Navn/Årgang", 200, Qt::AlignLeft, TColumnReadOnly::Always, 0},
    {TResultColumn::NavnAargangKlub, "Navn/Årgang/Klub", 260, Qt::AlignLeft, TColumnReadOnly::Always, 0},
    {TResultColumn::Rank, "Rank", 45, Qt::AlignLeft, TColumnReadOnly::HoldTurnering, ResultatFieldSize::Rank},
    {TResultColumn::Bem, "Bem", 50, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::ResultatKom},
    {TResultColumn::Point, "Point", 55, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::Point},
    {TResultColumn::Holdkode, "Holdkode", 60, Qt::AlignLeft, TColumnReadOnly::Always, KlubFieldSize::HoldKode},
    {TResultColumn::Koen, "Køn", 35, Qt::AlignLeft, TColumnReadOnly::Never, DeltagerFieldSize::Koen},
    {TResultColumn::Match, "Match", 50, Qt::AlignLeft, TColumnReadOnly::Never, 0},
    {TResultColumn::UK, "UK", 35, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::UdenforKonk},
    {TResultColumn::ScanningTid, "ScanningTid", 80, Qt::AlignLeft, TColumnReadOnly::Never, 0},
    {TResultColumn::Licensnummer, "Lic#", 55, Qt::AlignLeft, TColumnReadOnly::Never, DeltagerFieldSize::Licensnummer},
    {TResultColumn::KortNavn, "F.klub", 60, Qt::AlignLeft, TColumnReadOnly::Never, KlubFieldSize::KortNavn},
    {TResultColumn::Point3, "Point3", 55, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::Point3},
    {TResultColumn::Klasse, "Klasse", 50, Qt::AlignLeft, TColumnReadOnly::Always, ResultatFieldSize::Klasse},
    {TResultColumn::Ovelse, "Øvelse", 55, Qt::AlignLeft, TColumnReadOnly::Always, ResultatFieldSize::Ovelse},
    {TResultColumn::Runde, "Runde", 45, Qt::AlignLeft, TColumnReadOnly::Always, ResultatFieldSize::Runde},
    {TResultColumn::Reaktion, "Reaktion", 65, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::Reaktion},
    {TResultColumn::SG, "SG", 35, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::SeedningsGruppe},
    {TResultColumn::ResultatKopi, "AlderRes", 70, Qt::AlignLeft, TColumnReadOnly::Always, ResultatFieldSize::Resultat},
    {TResultColumn::Bem2, "Bem2", 70, Qt::AlignLeft, TColumnReadOnly::Never, ResultatFieldSize::ResultatKom2},
    {TResultColumn::Tusindedele, "1000", 45, Qt::AlignLeft, TColumnReadOnly::Never,
     ResultatFieldSize::MilliSeconds1 + ResultatFieldSize::MilliSeconds2},
};
// clang-format on

// The table holds every id in order, so a column's entry is found by its id.
constexpr bool ResultColumnsInOrder() {
    int id = FirstResultColumn;
    for (const TResultColumnDef& def : ResultColumns) {
        if (int(def.Column) != id++)
            return false;
    }
    return id == LastResultColumn + 1;
}
static_assert(ResultColumnsInOrder());

// The column's entry; null for a value outside the ids.
constexpr const TResultColumnDef* FindResultColumnDef(TResultColumn column) {
    const int id = int(column);
    return id >= FirstResultColumn && id <= LastResultColumn ? &ResultColumns[id - FirstResultColumn]
                                                             : nullptr;
}

// The column of an id as a grid layout stores it; none outside 3..40.
std::optional<TResultColumn> ResultColumnOf(int id);
// The standard caption; empty for a value outside the ids.
QString ResultColumnText(TResultColumn column);

// The bytes the column is stored in: a text column keeps no longer texts.
constexpr int ResultColumnStorageSize(TResultColumn column) {
    const TResultColumnDef* def = FindResultColumnDef(column);
    return def ? def->StorageSize : 0;
}

// A column whose text is stored as typed, not read as a number or a code: its cells take no more
// characters than its field holds.
constexpr bool IsTextColumn(TResultColumn column) {
    return column == TResultColumn::Navn || column == TResultColumn::VK || column == TResultColumn::Bem ||
           column == TResultColumn::Bem2;
}
