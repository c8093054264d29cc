#pragma once
// The judges' sheets: a ruled form per heat with a box for every attempt or lap time of every athlete,
// boxes for the officials' times and signature on the first sheet; the boxes stand from layout column 3
// to the right margin. Printed through the layout "Dommerliste"; paper only, for a round seeded whole.
#include "print/D_Udskrift.h"

#include <vector>

class TDommerlisteUdskrift : public TUdskrift {
public:
    explicit TDommerlisteUdskrift(QObject* owner = nullptr);

    bool HasData() override;
    bool WritesHtml() const override { return false; }
    void Prepare() override;
    void PrintOvelse() override;

private:
    // The kinds of sheet: the boxes from column 3.
    enum class TSheet { Running, Field, VerticalJump };

    void PrintOfficialsBoxes();
    void PrintHeatHeading(qint32 heat, int heats);
    void PrintAthlete(const TResultat& row, TSheet sheet);
    // The row of vertical jumps' boxes where the heights go.
    void PrintHeightsRow();
    // The vertical rules of a row: at the left, at each box and at the right margin.
    void PrintBoxRules(double row, TSheet sheet);
    // A horizontal rule of the thickness on a line of its own, as high as the rule, so that the boxes'
    // rules meet it.
    void PrintRuleLine(const QString& thickness);
    std::vector<double> BoxEdges(TSheet sheet);
    double BoxesLeft();

    // The officials' boxes are still to come on this sheet.
    bool FirstSheet = true;
};
