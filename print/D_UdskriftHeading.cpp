#include "print/D_UdskriftHeading.h"
#include "print/D_Html.h"
#include "print/D_Print.h"

#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Rekord.h"
#include "model/D_Result.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <map>
#include <set>

namespace {

constexpr double HeadingSpace = 0.5;  // cm above the rule over a heading in the body
constexpr double InfoLineSpace = 0.2; // cm above each attribute or qualification line
constexpr int HeaderInfoSize = 10;    // pt of those lines in the page header
constexpr double RekordMarkX = 5.5;   // cm, right edge of a record's mark
constexpr double RekordHolderX = 7.0; // cm, left edge of its holder

QString Bracketed(const QString& text) {
    return text.isEmpty() ? QString() : QStringLiteral("( ") + text + QStringLiteral(" )");
}

// The joined text; an empty part adds no separator.
QString Joined(const QString& first, const QString& second, const QString& separator) {
    if (first.isEmpty())
        return second;
    return second.isEmpty() ? first : first + separator + second;
}

qint32 RoundField(const TOvelseInfo& info, int fieldNo) {
    return info.OvelseRn().GetField(fieldNo)->GetAsInteger();
}

} // namespace

TOvelseHeading::TOvelseHeading(const TResultatManager& data, THeadingOptions options)
    : data_(data)
    , info_(*data.OvelseInfo())
    , options_(options) {}

bool TOvelseHeading::SingleRound() const {
    return data_.OvelseCount() <= 1;
}

// ---------------------------------------------------------------- texts of the heading

QString TOvelseHeading::QualificationText() const {
    const TOvelseInfo* info = &info_;
    if (info->IsLastRunde())
        return {};
    const TSystemData& data = CurrentSystemData();
    const bool english = data.Redid || data.Engelsk;
    const TOvelseElement& ovelse = info->Ovelse();
    if (ovelse.IsTidOvelse()) {
        const qint32 ialt = RoundField(*info, OvelseRnField::AntalVidereIalt);
        const qint32 prHeat = RoundField(*info, OvelseRnField::AntalViderePlac);
        const qint32 heats = info->AntalHeat;
        // A round that names no qualifiers has no rule to show.
        if (ialt <= 0 && prHeat <= 0)
            return {};
        QString rule;
        if (prHeat > 0) {
            const qint32 tider = ialt - heats * prHeat;
            if (english) {
                rule = prHeat == 1 ? QStringLiteral("winner of each heat")
                                   : QStringLiteral("top %1 from each heat").arg(prHeat);
                if (tider > 0)
                    rule += QStringLiteral(" plus %1 fastest losers").arg(tider);
            } else {
                rule = prHeat == 1 ? QStringLiteral("%1 heatvindere").arg(heats)
                                   : QStringLiteral("%1 bedste i hvert heat").arg(prHeat);
                if (tider > 0)
                    rule += QStringLiteral(", samt de %1 bedste tider").arg(tider);
            }
        } else {
            rule = english ? QStringLiteral("%1 best times").arg(ialt)
                           : QStringLiteral("%1 bedste tider").arg(ialt);
        }
        QString text;
        if (const TOvelseInfo* next = OvelseManager->FindNextRundeInfo(*info)) {
            QString runde = next->GetRundeText();
            if (runde.isEmpty())
                runde = english ? QStringLiteral("next round") : QStringLiteral("næste runde");
            if (next->IsFinaleType1() || next->IsFinaleType2())
                runde += QStringLiteral(" (AB-finale)");
            text = (english ? QStringLiteral("Qualification for ") : QStringLiteral("Til ")) + runde +
                   QStringLiteral(": ") + rule;
        } else {
            text = (english ? QStringLiteral("Qualification for next round: ")
                            : QStringLiteral("Til næste runde: ")) +
                   rule;
        }
        if (options_.HeatCount && heats > 1)
            text = (data.Engelsk ? QStringLiteral("No of heats: %1") : QStringLiteral("Antal heats: %1"))
                       .arg(heats) +
                   QStringLiteral(" - ") + text;
        return text;
    }
    if (ovelse.IsSpringOvelse() || ovelse.IsKasteOvelse()) {
        const qint32 krav = RoundField(*info, OvelseRnField::FinaleKrav);
        if (krav == 0)
            return {};
        return (english ? QStringLiteral("Qualification: ") : QStringLiteral("Finalekrav: ")) +
               FormatOvelseResultatNoWind(*info, krav);
    }
    return {};
}

QStringList TOvelseHeading::InfoLines(bool withQualification) const {
    const TOvelseInfo& info = info_;
    const TSystemData& data = CurrentSystemData();
    QStringList lines;
    if (data.VT)
        return lines;
    lines.append(Joined(info.GetAttributText().toUpper(), withQualification ? QualificationText() : QString(),
                        QStringLiteral("  -  ")));
    lines.append(Bracketed(TrimBlanks(info.OvelseRn().GetExtraText().toUpper())));
    if (options_.Langtekst && !data.Redid)
        lines.append(Bracketed(info.Ovelse().GetTrimmedString(OvelseField::Langtekst)));
    lines.removeAll(QString());
    return lines;
}

std::vector<TOvelseHeading::TRekordLine> TOvelseHeading::RekordLines() const {
    std::vector<TRekordLine> lines;
    const TOvelseInfo* info = &info_;
    if (!SingleRound() || info->Rekorder().empty())
        return lines;
    const bool eCup = CurrentSystemData().ECup2007;
    // The categories each list title has among the round's records.
    std::map<QString, std::set<QString>> kategorier;
    for (const TRekord* rekord : info->Rekorder())
        kategorier[rekord->Owner()->Titel()].insert(rekord->Kategori);
    QString previous;
    for (const TRekord* rekord : info->Rekorder()) {
        const QString& titel = rekord->Owner()->Titel();
        QString label = titel;
        if (!eCup && kategorier[titel].size() > 1)
            label += QStringLiteral(" (") + rekord->Kategori + u')';
        label += QStringLiteral(": ");
        lines.push_back({label == previous ? QString() : label, rekord});
        previous = label;
    }
    return lines;
}

QString TOvelseHeading::GetRecordHolderText(const TRekord& rekord) const {
    const TSystemData& data = CurrentSystemData();
    const QString navn = data.UndladInternationaltNavn ? rekord.Navn : FormatSurnameFirst(rekord.Navn);
    const QString klub = rekord.Klub.trimmed();
    const bool stafet = info_.Ovelse().IsStafetOvelse();
    QString text = navn;
    if (!klub.isEmpty())
        text += stafet ? QStringLiteral(" (") + klub + u')' : QStringLiteral("  -  ") + klub;
    QStringList datoSted;
    for (const QString& part : {rekord.Dato.trimmed(), rekord.Sted.trimmed()})
        if (!part.isEmpty())
            datoSted.append(part);
    if (!datoSted.isEmpty())
        text += QStringLiteral("  (") + datoSted.join(QStringLiteral(", ")) + u')';
    return text;
}

// ---------------------------------------------------------------- printed headings

void TOvelseHeading::PrintRekordLines(TStdPrint& print, TPrintSection section, TPrintFont& font,
                                      double& row) const {
    for (const TRekordLine& line : RekordLines()) {
        {
            const TPrintFontScope bold(font);
            font.Style |= PrintFontStyle::Bold;
            print.AddField(section, TPrintAlignment::Left, 0, row, 0, TFieldKind::Text, line.Label);
        }
        print.AddField(section, TPrintAlignment::Right, RekordMarkX, row, 0, TFieldKind::Text,
                       line.Rekord->Resultat);
        print.AddField(section, TPrintAlignment::Left, RekordHolderX, row, 0, TFieldKind::Text,
                       GetRecordHolderText(*line.Rekord));
        row += 1;
    }
}

void TOvelseHeading::PrintInBody(TStdPrint& print, double& row) const {
    const TOvelseInfo& info = info_;
    const TSystemData& data = CurrentSystemData();
    print.AddBodyRule(RuleListHeading, row);
    print.GetLine(TPrintSection::Body, row).SetSpaceBefore(HeadingSpace);
    row += 1;
    {
        const TPrintFontScope font(print.LineFont());
        print.LineFont().Style |= PrintFontStyle::Bold;
        print.LineFont().Size = RoundHalfEven(1.3 * print.LineFont().Size);
        print.AddBodyText(TPrintAlignment::Left, info.GetKlasseOvelseText().toUpper(), 0, row);
        if (!data.TidsskemaUofficielt)
            print.AddBodyText(TPrintAlignment::RightMargin, info.GetDatoTidText().toUpper(), 0, row);
    }
    row += 1;
    print.AddBodyRule(RuleListHeading, row);
    row += 1;
    {
        const TPrintFontScope font(print.LineFont());
        print.LineFont().Style |= PrintFontStyle::Italic;
        for (const QString& line : InfoLines(true)) {
            print.AddBodyText(TPrintAlignment::Left, line, 0, row);
            print.GetLine(TPrintSection::Body, row).SetSpaceBefore(InfoLineSpace);
            row += 1;
        }
    }
    if (!RekordLines().empty()) {
        PrintRekordLines(print, TPrintSection::Body, print.LineFont(), row);
        print.AddBodyRule(RuleListHeading, row);
        row += 1;
    }
}

void TOvelseHeading::PrintInHeader(TStdPrint& print) const {
    const TOvelseInfo& info = info_;
    const TSystemData& data = CurrentSystemData();
    TPrintFont& font = print.HeaderFont();
    const TPrintFontScope restore(font);
    const int size = font.Size;
    const int large = RoundHalfEven(1.5 * size);
    const QString datoTid = data.TidsskemaUofficielt ? QStringLiteral(" ") : info.GetDatoTidText();
    double row = 2;
    const auto add = [&](const QString& text, int fontSize) {
        font.Size = fontSize;
        print.AddHeaderText(TPrintAlignment::Left, text, 0, row);
        row += 1;
    };
    if (SingleRound()) {
        add(info.GetKlasseText(), print.LargeHeaderLines >= 2 ? large : size);
        add(info.GetOvelseText(), print.LargeHeaderLines >= 3 ? large : size);
        add(datoTid, print.LargeHeaderLines >= 4 ? large : size);
        if (const QString qualification = QualificationText(); !qualification.isEmpty()) {
            font.Style = PrintFontStyle::Bold;
            print.GetLine(TPrintSection::Header, row).SetSpaceBefore(InfoLineSpace);
            add(qualification, HeaderInfoSize);
        }
    } else {
        add(info.GetOvelseText(), size);
        if (!data.TidsskemaUofficielt)
            add(datoTid, size);
    }
    font.Style = PrintFontStyle::Italic;
    for (const QString& line : InfoLines(false)) {
        print.GetLine(TPrintSection::Header, row).SetSpaceBefore(InfoLineSpace);
        add(line, HeaderInfoSize);
    }
    if (!RekordLines().empty()) {
        font = print.LineFont();
        print.AddHeaderRule(RuleListHeading, row);
        row += 1;
        PrintRekordLines(print, TPrintSection::Header, font, row);
    }
}

// ---------------------------------------------------------------- HTML heading

void TOvelseHeading::WriteHtml(THtmlMaker& html) const {
    const TOvelseInfo& info = info_;
    const TSystemData& data = CurrentSystemData();
    html.Write(QStringLiteral("<table class=o cellpadding=0 cellspacing=0>"));
    html.Write(QStringLiteral("<col width=460><col width=200>"));
    if (SingleRound()) {
        html.Write(QStringLiteral("<tr><td class=l3><b>&nbsp;&nbsp;") +
                   HtmlEscape(info.GetKlasseOvelseText().toUpper()) + QStringLiteral("</b>"));
        const QString datoTid = data.TidsskemaUofficielt ? QString() : info.GetDatoTidText().toUpper();
        html.Write(QStringLiteral("<td class=rr1><b>") + HtmlEscape(datoTid) +
                   QStringLiteral("&nbsp;&nbsp;</b></tr>"));
    } else {
        html.Write(QStringLiteral("<tr><td class=l3><b>&nbsp;&nbsp;") +
                   HtmlEscape(info.GetOvelseText().toUpper()) + QStringLiteral("</b>"));
        html.Write(QStringLiteral("<td class=r1><b>OVERALL&nbsp;&nbsp;</b></tr>"));
    }
    html.WriteLn(QStringLiteral("</table>"));

    const std::vector<TRekordLine> rekorder = RekordLines();
    if (!rekorder.empty()) {
        html.Write(QStringLiteral("<table class=rs cellpadding=0 cellspacing=0>"));
        html.Write(QStringLiteral("<col width=20><col width=140><col width=80><col width=20><col width=300>"
                                  "<col width=80><col width=20>"));
        for (const TRekordLine& line : rekorder) {
            const QString label = line.Label.isEmpty() ? QStringLiteral("&nbsp;") : HtmlEscape(line.Label);
            const QString mark = HtmlEscape(line.Rekord->Resultat);
            const QString holder = HtmlEscape(GetRecordHolderText(*line.Rekord));
            html.Write(QStringLiteral("<tr>"));
            if (data.Redid) {
                html.Write(QStringLiteral("<td class=l1 colspan=7>&nbsp;&nbsp;<b>") + label + mark +
                           QStringLiteral("  ") + holder + QStringLiteral("</b>"));
            } else {
                html.Write(QStringLiteral("<td class=l1>&nbsp;</td>"));
                html.Write(QStringLiteral("<td class=l1>") + label + QStringLiteral("</td>"));
                html.Write(QStringLiteral("<td class=r1>") + mark + QStringLiteral("</td>"));
                html.Write(QStringLiteral("<td class=l1>&nbsp;</td>"));
                html.Write(QStringLiteral("<td class=l1 colspan=3>") + holder + QStringLiteral("</td>"));
            }
            html.Write(QStringLiteral("</tr>"));
        }
        html.WriteLn(QStringLiteral("</table>"));
    }

    if (!SingleRound())
        return;
    const QStringList lines = InfoLines(true);
    if (lines.isEmpty())
        return;
    html.Write(QStringLiteral("<table class=rs cellpadding=0 cellspacing=0>"));
    html.Write(QStringLiteral("<col width=460><col width=200>"));
    for (const QString& line : lines)
        html.Write(QStringLiteral("<tr><td class=l1 colspan=2>&nbsp;&nbsp;") + HtmlEscape(line) +
                   QStringLiteral("</tr>"));
    html.WriteLn(QStringLiteral("</table>"));
}
