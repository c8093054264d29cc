#include "print/D_UdskriftKlubLabels.h"

#include "print/D_Print.h"

namespace {

constexpr int LabelLines = 6;
// A long line is made smaller rather than run into the next label.
constexpr double LabelWidth = 6.5;

} // namespace

TKlubLabel KlubLabel(const TKlubElement& klub) {
    TKlubLabel label;
    label.Navn = klub.GetTrimmedString(KlubField::Navn);
    for (const int fieldNo : {KlubField::KontaktPerson, KlubField::Adresse1, KlubField::Adresse2,
                              KlubField::Adresse3, KlubField::Adresse4})
        label.Linier.append(klub.GetTrimmedString(fieldNo));
    return label;
}

TKlubLabelUdskrift::TKlubLabelUdskrift(QObject* owner)
    : owner_(owner) {}

void TKlubLabelUdskrift::Lay(TStdPrint& print, const std::vector<TKlubLabel>& labels) {
    print.SetLeftMargin(0);
    print.SetTopMargin(LabelTopMargin);
    for (std::size_t n = 0; n < labels.size(); ++n) {
        const int labelRow = static_cast<int>(n) / LabelsAcross;
        const double row = 1 + labelRow;
        TPrintLine& line = print.GetLine(TPrintSection::Body, row);
        line.SetFixedHeight(LabelRowHeight);
        // A sheet's rows are all on its page, whatever the paper the printer reports.
        line.NewPage = labelRow > 0 && labelRow % LabelRowsPerSheet == 0;
        const double x = LabelX[n % LabelsAcross];
        const TKlubLabel& label = labels[n];
        for (int k = 0; k < LabelLines; ++k) {
            const QString text = k == 0 ? label.Navn : label.Linier.value(k - 1);
            if (text.isEmpty())
                continue;
            const TPrintFontScope saved(print.LineFont());
            if (k == 0)
                print.LineFont().Style |= PrintFontStyle::Bold;
            print.AddFieldEx(TPrintSection::Body, TPrintAlignment::Left, x, row + k * LabelLineStep,
                             LabelWidth, TPrintVAlign::Top, TFieldKind::FitText, text);
        }
    }
}

void TKlubLabelUdskrift::Run() {
    std::vector<TKlubLabel> labels;
    for (const TKlubElement* klub : Klubber) {
        if (klub)
            labels.push_back(KlubLabel(*klub));
    }
    TStdPrint print(owner_);
    print.Title = QStringLiteral("Labels");
    print.SetPreview(!UdskrivTilPrinter);
    Lay(print, labels);
    print.Print();
}
