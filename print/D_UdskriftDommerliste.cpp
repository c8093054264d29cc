#include "print/D_UdskriftDommerliste.h"
#include "print/D_Print.h"

#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

namespace {

constexpr auto Body = TPrintSection::Body;

// Layout columns of the judges' sheets; the boxes start at column 3.
constexpr int NummerColumn = 0;
constexpr int BaneColumn = 1;
constexpr int NavnColumn = 2;
constexpr int BoxesColumn = 3;

// The boxes, in cm.
constexpr double BoxWidth = 1.63;
constexpr double NarrowBoxWidth = 0.815;
constexpr double FunRunBoxWidth = 4.89;
constexpr int RunningEdges = 6;
constexpr int FunRunEdges = 2;
constexpr int FieldBoxes = 6;
constexpr int VerticalJumpBoxes = 12;
// Where no layout column says otherwise.
constexpr double DefaultBoxesLeft = 14.0;
// The wind of an attempt: a rule across the box's lower half and its caption.
constexpr double WindRuleWidth = 1.65;
constexpr double WindCaptionX = 0.05;
constexpr int WindCaptionSize = 7;
// The officials' boxes.
constexpr double OfficialBox = 2.5;
constexpr double OfficialCaptionX = 5.25;
constexpr int OfficialCaptionSize = 8;
constexpr int OfficialRows = 3;
constexpr double HeightsTextGap = 0.2;

double Thickness(const QString& text) {
    return QString(text).replace(u',', u'.').toDouble();
}

} // namespace

TDommerlisteUdskrift::TDommerlisteUdskrift(QObject* owner)
    : TUdskrift(owner) {
    if (StaevneManager)
        Print().LoadLayout(QStringLiteral("Dommerliste"), StaevneManager->GetRptFileName());
}

bool TDommerlisteUdskrift::HasData() {
    return !RefuseHtmlOnly(QStringLiteral("Dommerlister")) && TUdskrift::HasData() && IsCompletelySeeded();
}

void TDommerlisteUdskrift::Prepare() {
    SortRows(CompareByHeatBaneSide);
}

double TDommerlisteUdskrift::BoxesLeft() {
    const TColumnFieldList& columns = Print().Columns();
    return columns.size() > static_cast<std::size_t>(BoxesColumn) ? columns[BoxesColumn].GetLeft()
                                                                  : DefaultBoxesLeft;
}

std::vector<double> TDommerlisteUdskrift::BoxEdges(TSheet sheet) {
    double step = BoxWidth;
    int edges = RunningEdges;
    if (sheet == TSheet::Field) {
        edges = FieldBoxes + 1;
    } else if (sheet == TSheet::VerticalJump) {
        step = NarrowBoxWidth;
        edges = VerticalJumpBoxes + 1;
    } else if (CurrentSystemData().Motionsloeb) {
        step = FunRunBoxWidth;
        edges = FunRunEdges;
    }
    std::vector<double> x;
    for (int k = 0; k < edges; ++k)
        x.push_back(BoxesLeft() + step * k);
    return x;
}

void TDommerlisteUdskrift::PrintBoxRules(double row, TSheet sheet) {
    TStdPrint& print = Print();
    const double right = print.PrintableWidth() - Thickness(RuleJudgesSheet);
    const auto rule = [&](double x) {
        print.AddField(Body, TPrintAlignment::Left, x, row, 0, TFieldKind::VerticalRule, RuleJudgesSheet);
    };
    rule(0);
    for (const double x : BoxEdges(sheet))
        if (x < right)
            rule(x);
    rule(right);
}

void TDommerlisteUdskrift::PrintRuleLine(const QString& thickness) {
    TStdPrint& print = Print();
    // As wide as the page is designed for, to meet the boxes' rule at the right margin.
    print.AddField(Body, TPrintAlignment::Left, 0, Row, print.PrintableWidth(), TFieldKind::HorizontalRule,
                   thickness);
    print.GetLine(Body, Row).SetFixedHeight(Thickness(thickness));
    Row += 1;
}

void TDommerlisteUdskrift::PrintOfficialsBoxes() {
    TStdPrint& print = Print();
    const TSystemData& data = CurrentSystemData();
    PrintRuleLine(HeadingInBody ? RulePageHeader : RuleJudgesSheet);
    const double right = print.PrintableWidth() - Thickness(RuleJudgesSheet);
    for (int r = 0; r < OfficialRows; ++r)
        for (const double x : {0.0, OfficialBox, 2 * OfficialBox, right})
            print.AddField(Body, TPrintAlignment::Left, x, Row + r, 0, TFieldKind::VerticalRule,
                           RuleJudgesSheet);
    {
        const TPrintFontScope restore(print.LineFont());
        print.LineFont().Size = OfficialCaptionSize;
        print.LineFont().Style = PrintFontStyle::Italic;
        const auto caption = [&](TPrintAlignment alignment, const QString& text, double x) {
            print.AddFieldEx(Body, alignment, x, Row, 0, TPrintVAlign::Top, TFieldKind::Text, text);
        };
        caption(TPrintAlignment::Center,
                data.Engelsk ? QStringLiteral("Started") : QStringLiteral("Start klokken"), OfficialBox / 2);
        caption(TPrintAlignment::Center,
                data.Engelsk ? QStringLiteral("Finished") : QStringLiteral("Slut klokken"),
                OfficialBox * 1.5);
        caption(TPrintAlignment::Left,
                data.Engelsk ? QStringLiteral("Headjudge") : QStringLiteral("Øvelsesleder"),
                OfficialCaptionX);
    }
    Row += OfficialRows;
    PrintRuleLine(RuleJudgesSheet);
    FirstSheet = false;
}

void TDommerlisteUdskrift::PrintHeatHeading(qint32 heat, int heats) {
    TStdPrint& print = Print();
    const TOvelseInfo& info = *Data->OvelseInfo();
    QString text = HeatStartText(heat, heats);
    if (heats > 1 && heat > 0)
        text += (text.isEmpty() ? QString() : QStringLiteral("   ")) + info.GetHeatText(heat);
    const TPrintFontScope restore(print.LineFont());
    print.LineFont().Size += 2;
    print.LineFont().Style |= PrintFontStyle::Bold;
    print.AddBodyText(TPrintAlignment::Left, text.isEmpty() ? QStringLiteral(" ") : text, 0, Row);
    if (info.IsVindPrHeat())
        print.AddBodyText(TPrintAlignment::Left, QStringLiteral("V I N D : "), BoxesLeft(), Row);
    Row += 1;
    PrintRuleLine(RulePageHeader);
}

void TDommerlisteUdskrift::PrintHeightsRow() {
    TStdPrint& print = Print();
    const bool engelsk = CurrentSystemData().Engelsk;
    print.AddBodyText(TPrintAlignment::Right,
                      engelsk ? QStringLiteral("JUMP HEIGHTS =====>")
                              : QStringLiteral("SPRINGHØJDER ANFØRES HER  ===>"),
                      BoxesLeft() - HeightsTextGap, Row);
    PrintBoxRules(Row, TSheet::VerticalJump);
    PrintBoxRules(Row + 1, TSheet::VerticalJump);
    Row += 2;
    PrintRuleLine(RulePageHeader);
}

void TDommerlisteUdskrift::PrintAthlete(const TResultat& row, TSheet sheet) {
    TStdPrint& print = Print();
    const TOvelseInfo& info = *Data->OvelseInfo();
    const TSystemData& data = CurrentSystemData();
    TPrintFont& font = print.LineFont();
    const TPrintFontScope restore(font);
    if (!row.IsValid()) {
        font.Style |= PrintFontStyle::Bold;
        print.AddColumnText(NummerColumn, FormatResKode(row.RK), Row);
        font.Style &= static_cast<quint8>(~PrintFontStyle::Bold);
        if (row.IsAfbud() || row.IsEjMoedt())
            font.Style |= PrintFontStyle::StrikeOut;
    } else if (!info.Ovelse().IsStafetOvelse()) {
        print.AddColumnText(NummerColumn, QString::number(row.Startnummer), Row);
    } else if (row.IsUK() || row.IsUdenforHold()) {
        print.AddColumnText(NummerColumn, FormatUdenforKonk(row.UK), Row);
    }
    if (const QString bane = row.GetBaneSide(); !bane.isEmpty())
        print.AddColumnText(BaneColumn, bane, Row);
    print.AddColumnText(NavnColumn, info.Ovelse().IsStafetOvelse() ? TeamName(row) : row.GetNavnAargang(),
                        Row);
    QString klub = row.GetKlub();
    if (data.ECup2007)
        klub += QStringLiteral(" - ") + row.KlubAdresse5;
    if (!klub.isEmpty())
        print.AddColumnText(NavnColumn, klub, Row + 1);
    font.Style = 0;
    PrintBoxRules(Row, sheet);
    PrintBoxRules(Row + 1, sheet);
    if (sheet == TSheet::Field && info.IsVindPrForsog()) {
        const std::vector<double> edges = BoxEdges(sheet);
        for (int k = 0; k < FieldBoxes; ++k) {
            const double x = edges[static_cast<std::size_t>(k)];
            print.AddField(Body, TPrintAlignment::Left, x, Row + 1, WindRuleWidth, TFieldKind::HorizontalRule,
                           RuleListHeading);
            const TPrintFontScope caption(font);
            font.Size = WindCaptionSize;
            font.Style = PrintFontStyle::Italic;
            print.AddBodyText(TPrintAlignment::Left, QStringLiteral("w:"), x + WindCaptionX, Row + 1);
        }
    }
    Row += 2;
    PrintRuleLine(RulePageHeader);
}

void TDommerlisteUdskrift::PrintOvelse() {
    TUdskrift::PrintOvelse();
    if (!Data || !Data->OvelseInfo() || !WantsPrint())
        return;
    const TOvelseElement& ovelse = Data->OvelseInfo()->Ovelse();
    TSheet sheet = TSheet::Running;
    if (ovelse.IsVertikalSpringOvelse())
        sheet = TSheet::VerticalJump;
    else if (ovelse.IsHorizontalSpringOvelse())
        sheet = TSheet::Field;
    TStdPrint& print = Print();
    if (FirstSheet)
        PrintOfficialsBoxes();
    const int heats = HeatCount();
    double heatStart = SavedRow;
    bool first = true;
    qint32 heat = 0;
    for (const TResultat* row : Rows()) {
        if (first || row->Heat != heat) {
            if (!first) {
                print.AddBlock(heatStart, Row - 1);
                if (SideskiftPrHeat) {
                    print.Print();
                    print.ClearSection(Body);
                    PrintOfficialsBoxes();
                }
                heatStart = Row;
            }
            first = false;
            heat = row->Heat;
            PrintHeatHeading(heat, heats);
            if (sheet == TSheet::VerticalJump)
                PrintHeightsRow();
        }
        PrintAthlete(*row, sheet);
    }
    if (!first)
        print.AddBlock(heatStart, Row - 1);
}
