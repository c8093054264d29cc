#pragma once
// Diplomas, a page each, printed at once: the first style for the medal winners of the places asked for,
// the second (the meet's diploma style 2) for every athlete who competed, or for one row. Paper only.
#include "print/D_Udskrift.h"

#include <QString>

// The meet's diploma printer is the current printer for as long as the object lives; then the printer
// asked for before is chosen again, however the scope is left.
class TDiplomPrinterScope {
public:
    TDiplomPrinterScope();
    ~TDiplomPrinterScope();
    TDiplomPrinterScope(const TDiplomPrinterScope&) = delete;
    TDiplomPrinterScope& operator=(const TDiplomPrinterScope&) = delete;

private:
    QString previous_;
};

class TDiplomUdskrift : public TUdskrift {
public:
    // Bits of the places mask.
    static constexpr int Plads1 = 1;
    static constexpr int Plads2 = 2;
    static constexpr int Plads3 = 4;

    // places: the mask of the places that get a diploma (first style); row: the position in Data of the
    // one row that gets one, -1 for every row (the first style gives it only to a row of those places).
    TDiplomUdskrift(QObject* owner, int places, int row);
    explicit TDiplomUdskrift(QObject* owner = nullptr)
        : TDiplomUdskrift(owner, Plads1 | Plads2 | Plads3, -1) {}

    bool HasData() override;
    bool WritesHtml() const override { return false; }
    void PrintOvelse() override;

    int Places() const { return places_; }
    int RowIndex() const { return rowIndex_; }

private:
    void PrintStyle1();
    void PrintStyle2();
    // One page of the first style for a row placed 1, 2 or 3.
    void PrintDiplom(const TResultat& row);

    int places_;
    int rowIndex_;
};
