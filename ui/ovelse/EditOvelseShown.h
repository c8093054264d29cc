#pragma once
// What a result-grid row shows, kept per grid row, so that filling the grid anew writes only the rows
// whose values changed or moved: a save after one change rewrites a handful of rows, not the round.
#include "model/D_Result.h"

#include <vector>

struct TShownRow {
    const TResultat* Row = nullptr;
    // The row's values the columns are made from.
    qint32 Startnummer = 0;
    qint32 Seedning = 0;
    qint32 Resultat = 0;
    qint32 Vind = 0;
    qint32 PR = 0;
    qint32 ScanningTid = 0;
    qint32 Point3 = 0;
    qint32 Reaktion = 0;
    qint32 SG = 0;
    qint32 Tusindedele = 0;
    double Point = 0;
    quint16 Heat = 0;
    quint16 Efter = 0;
    quint16 PK = 0;
    quint16 Plac = 0;
    quint16 Side = 0;
    quint16 Bane = 0;
    quint16 Aargang = 0;
    quint16 Rank = 0;
    quint16 Licensnummer = 0;
    QChar Holdkode;
    QChar Koen;
    bool Modified = false;
    QString RK;
    QString VK;
    QString Navn;
    QString Klub;
    QString Bem;
    QString UK;
    QString KortNavn;
    QString Bem2;

    static TShownRow Of(const TResultat& row) {
        return {&row,
                row.Startnummer,
                row.Seedning,
                row.Resultat,
                row.Vind,
                row.PR,
                row.ScanningTid,
                row.Point3,
                row.Reaktion,
                row.SG,
                row.Tusindedele,
                row.Point,
                row.Heat,
                row.Efter,
                row.PK,
                row.Plac,
                row.Side,
                row.Bane,
                row.Aargang,
                row.Rank,
                row.Licensnummer,
                row.Holdkode,
                row.Koen,
                row.IsModified(),
                row.RK,
                row.VK,
                row.Navn,
                row.Klub,
                row.Bem,
                row.UK,
                row.KortNavn,
                row.Bem2};
    }
    // Whether the grid row shows this row as it stands.
    bool Shows(const TResultat& row) const {
        return Row == &row && Startnummer == row.Startnummer && Seedning == row.Seedning &&
               Resultat == row.Resultat && Vind == row.Vind && PR == row.PR &&
               ScanningTid == row.ScanningTid && Point3 == row.Point3 && Reaktion == row.Reaktion &&
               SG == row.SG && Tusindedele == row.Tusindedele && Point == row.Point && Heat == row.Heat &&
               Efter == row.Efter && PK == row.PK && Plac == row.Plac && Side == row.Side &&
               Bane == row.Bane && Aargang == row.Aargang && Rank == row.Rank &&
               Licensnummer == row.Licensnummer && Holdkode == row.Holdkode && Koen == row.Koen &&
               Modified == row.IsModified() && RK == row.RK && VK == row.VK && Navn == row.Navn &&
               Klub == row.Klub && Bem == row.Bem && UK == row.UK && KortNavn == row.KortNavn &&
               Bem2 == row.Bem2;
    }
};

// The grid rows' shown values; emptied whenever the columns or the loaded rows change.
struct TShownRows {
    std::vector<TShownRow> Rows;
};
