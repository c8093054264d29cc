#pragma once
// Address labels of the chosen clubs on a sheet of labels three across: the club's name in bold, its
// contact person and four address lines. Each row of labels has the sheet's height, and every sheet
// starts on a page of its own, so that the labels of every page keep to the sheet's rows.
#include "model/D_DBDef.h"

#include <QString>
#include <QStringList>

#include <vector>

class QObject;
class TStdPrint;

// What one label shows, line by line.
struct TKlubLabel {
    QString Navn;
    QStringList Linier; // contact person, address lines 1 to 4
};

TKlubLabel KlubLabel(const TKlubElement& klub);

// The sheet, in cm.
constexpr double LabelTopMargin = 0.7;
constexpr double LabelRowHeight = 3.39;
constexpr double LabelLineStep = 0.005; // of a row: 0.5 cm
constexpr double LabelX[] = {0.5, 7.2, 13.9};
constexpr int LabelsAcross = 3;
// The label rows of one A4 sheet below its top margin.
constexpr int LabelRowsPerSheet = 8;

class TKlubLabelUdskrift {
public:
    // owner: the window the labels print for (the preview and the boxes belong to it); may be null.
    explicit TKlubLabelUdskrift(QObject* owner = nullptr);

    // The clubs, one label each in this order; not owned.
    std::vector<TKlubElement*> Klubber;
    // Straight to the printer instead of the preview.
    bool UdskrivTilPrinter = false;

    // Lays the labels onto the print: margins, one fixed-height line per label row.
    static void Lay(TStdPrint& print, const std::vector<TKlubLabel>& labels);
    void Run();

private:
    QObject* owner_;
};
