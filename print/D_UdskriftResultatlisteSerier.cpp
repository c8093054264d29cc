// The result list's attempt series: the heights of a vertical jump, the attempts of a horizontal jump or
// a throw, and the disciplines of a combined event, printed and as HTML. Printed tables whose columns
// would run past the right margin go on in a further block below.
#include "print/D_Html.h"
#include "print/D_Print.h"
#include "print/D_UdskriftResultatliste.h"

#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace {

constexpr auto Body = TPrintSection::Body;

constexpr int MaxPrintedAttempts = 7;
constexpr double SeriesSpace = 0.25;       // cm above a series table
constexpr double CombinedSpace = 0.35;     // above the combined table's heading
constexpr double AfterHeadingSpace = 0.04; // below a vertical jump's heading
constexpr double ParticipantSpace = 0.1;   // above each combined participant
// Vertical jumps: the heights' columns.
constexpr double HeightX = 4.5;
constexpr double HeightStep = 0.8;
constexpr double HeightTail = 0.75; // what a height's label or marks take right of its X
// Horizontal jumps and throws: marks right-aligned at AttemptX + (i - 1) × step.
constexpr double AttemptX = 5.0;
constexpr double JumpStep = 1.9;
constexpr double JumpPointStep = 2.8;
constexpr double ThrowStep = 2.5;
constexpr double WindX = 0.15;      // right of the mark's X
constexpr double JumpPointX = 0.85; // right of the mark's X, after a wind
constexpr double ThrowPointX = 0.25;
constexpr double WindTail = 0.6;
constexpr double PointTail = 0.85;
constexpr double MarkTail = 0.1;
// Combined events: the disciplines' columns, right-aligned.
constexpr double DisciplineX = 5.5;
constexpr double DisciplineStep = 1.4;
constexpr double DisciplineLabelWidth = 1.3;
constexpr double LineLabelX = 4.5; // "R", "P", "W"
constexpr double NameWidth = 4.3;

const QString Nbsp = QStringLiteral("&nbsp;");

// How many columns at x0, x0 + step, ... fit into width when each takes tail right of its X.
int ColumnsThatFit(double x0, double step, double tail, double width) {
    return std::max(1, static_cast<int>(std::floor((width - x0 - tail) / step)) + 1);
}

// A discipline's heading over its narrow column: its words in lines of at most HeadingChars characters
// (a longer word alone on its line).
constexpr int HeadingChars = 10;
QStringList HeadingLines(const QString& text) {
    QStringList lines;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && lines.last().size() + 1 + word.size() <= HeadingChars)
            lines.last() += u' ' + word;
        else
            lines.append(word);
    }
    return lines;
}

// A combined row's wind: its own, or its average over the disciplines that measure wind, which is too much
// whenever it passes 2.0 m/s, whether or not the combined event itself is marked as measuring wind.
bool WindIllegal(const TResultat& row) {
    return !row.IsVindLegal() || row.windExcess > 0;
}

// A height's key: its mark number, then the height in cm.
qint32 HeightKey(const TSerie& serie) {
    return serie.SerieNr * 1000 + serie.Value;
}

QString HeightLabel(qint32 key) {
    const qint32 height = key % 1000;
    return QString::number(height / 100) + u'.' + QStringLiteral("%1").arg(height % 100, 2, 10, QChar(u'0'));
}

// A jump's text split into its mark and its wind without brackets (none when it has no "(").
struct TAttemptText {
    QString Mark;
    QString Wind;
};

TAttemptText SplitAttempt(const QString& text) {
    const qsizetype bracket = text.indexOf(u'(');
    if (bracket < 0)
        return {TrimBlanks(text), {}};
    const QString wind = text.mid(bracket);
    return {TrimBlanks(text.left(bracket)), wind.mid(1, wind.size() - 2)};
}

// A cell of a series table: its class after the shading prefix.
QString HtmlCell(QStringView prefix, QStringView cellClass, QStringView html) {
    QString cell;
    AppendHtmlCell(cell, prefix, cellClass, html);
    return cell;
}

// The end of a heading row: a cell over the rest of the table's width when there is any.
QString HeadingEnd(bool rest) {
    return rest ? QStringLiteral("<td>&nbsp;</tr>") : QStringLiteral("</tr>");
}

// The widths of a series table: the columns, then what is left of the table's width.
void WriteWidths(THtmlMaker& html, QString widths, int tableWidth, int used) {
    if (tableWidth - used > 0)
        widths += QStringLiteral("<col width=%1>").arg(tableWidth - used);
    html.WriteLn(widths);
}

} // namespace

QString TResultatlisteUdskrift::NextSeriesShade() {
    const QString s = Shade ? QStringLiteral("a") : QString();
    Shade = !Shade;
    return s;
}

void TResultatlisteUdskrift::SeriesTables() {
    const TOvelseInfo& info = *Data->OvelseInfo();
    if (WantsPrint() && CurrentSystemData().UndladSerier)
        return;
    const TOvelseElement& ovelse = info.Ovelse();
    if (ovelse.IsMangekampOvelse()) {
        CombinedSeries();
        return;
    }
    if (!std::any_of(Rows().begin(), Rows().end(), [](const TResultat* row) { return row->HasSerier(); }))
        return;
    if (ovelse.IsVertikalSpringOvelse())
        VerticalJumpSeries();
    else if (ovelse.IsHorizontalSpringOvelse())
        AttemptSeries(false);
    else if (ovelse.IsKasteOvelse())
        AttemptSeries(true);
}

// ---------------------------------------------------------------- vertical jumps

void TResultatlisteUdskrift::VerticalJumpSeries() {
    std::vector<qint32> keys;
    std::map<qint32, qint32> points;
    for (const TResultat* row : Rows()) {
        if (!row->IsValid())
            continue;
        for (int i = 0; i < row->GetSerieCount(); ++i) {
            const TSerie& serie = *row->GetSerie(i);
            if (serie.IsEmpty() || serie.Value <= 0)
                continue;
            keys.push_back(HeightKey(serie));
            if (serie.Point1 != 0)
                points.emplace(HeightKey(serie), serie.Point1);
        }
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    if (keys.empty())
        return;
    const bool withPoints = points.size() == keys.size();
    const auto marks = [](const TResultat& row, qint32 key) {
        for (int i = 0; i < row.GetSerieCount(); ++i)
            if (const TSerie& serie = *row.GetSerie(i); !serie.IsEmpty() && HeightKey(serie) == key)
                return TrimBlanks(FormatForsogKodeXO(serie.Kode)).toLower();
        return QString();
    };

    if (WantsPrint()) {
        TStdPrint& print = Print();
        const TPrintFontScope saved(print.LineFont());
        print.LineFont().Size -= 1;
        const int perBlock = ColumnsThatFit(HeightX, HeightStep, HeightTail, print.PrintableWidth());
        for (std::size_t from = 0; from < keys.size(); from += static_cast<std::size_t>(perBlock)) {
            const std::size_t to = std::min(keys.size(), from + static_cast<std::size_t>(perBlock));
            const auto x = [&](std::size_t k) {
                return HeightX + HeightStep * static_cast<double>(k - from);
            };
            print.GetLine(Body, Row).SetSpaceBefore(SeriesSpace);
            {
                const TPrintFontScope bold(print.LineFont());
                print.LineFont().Style |= PrintFontStyle::Bold;
                for (std::size_t k = from; k < to; ++k)
                    print.AddBodyText(TPrintAlignment::Left, HeightLabel(keys[k]), x(k), Row);
                Row += 1;
                if (withPoints) {
                    for (std::size_t k = from; k < to; ++k)
                        print.AddBodyText(TPrintAlignment::Left, QString::number(points[keys[k]]) + u'p',
                                          x(k), Row);
                    Row += 1;
                }
            }
            print.GetLine(Body, Row).SetSpaceBefore(AfterHeadingSpace);
            for (const TResultat* row : Rows()) {
                if (!row->IsValid())
                    continue;
                print.AddField(Body, TPrintAlignment::Left, 0, Row, HeightX - 0.1, TFieldKind::Text,
                               row->Navn);
                for (std::size_t k = from; k < to; ++k)
                    if (const QString text = marks(*row, keys[k]); !text.isEmpty())
                        print.AddBodyText(TPrintAlignment::Left, text, x(k), Row);
                Row += 1;
            }
        }
        return;
    }
    if (!WantsHtml())
        return;
    THtmlMaker& html = *Html;
    const int n = static_cast<int>(keys.size());
    html.WriteLn(QStringLiteral("<table class=rs cellpadding=0 cellspacing=2>"));
    QString widths = QStringLiteral("<col width=156>");
    for (int k = 0; k < n; ++k)
        widths += QStringLiteral("<col width=24>");
    const bool rest = 504 - 24 * n > 0;
    WriteWidths(html, widths, 504, 24 * n);
    Shade = true;
    QString heading = QStringLiteral("<tr valign=top>") + HtmlCell(u"a", u"l2", {});
    for (const qint32 key : keys)
        AppendHtmlCell(heading, u"a", u"l2",
                       QStringLiteral("<b>") + HeightLabel(key) + QStringLiteral("</b>"));
    html.WriteLn(heading + HeadingEnd(rest));
    if (withPoints) {
        QString line = QStringLiteral("<tr valign=top>") + HtmlCell(u"a", u"l2", {});
        for (const qint32 key : keys)
            AppendHtmlCell(line, u"a", u"l2", QStringLiteral("<b>%1p</b>").arg(points[key]));
        html.WriteLn(line + HeadingEnd(rest));
    }
    Shade = false;
    for (const TResultat* row : Rows()) {
        if (!row->IsValid())
            continue;
        const QString s = NextSeriesShade();
        QString line = QStringLiteral("<tr valign=top>");
        AppendHtmlCell(line, s, u"l2", HtmlEscape(row->Navn));
        for (const qint32 key : keys)
            AppendHtmlCell(line, s, u"l1", HtmlEscape(marks(*row, key)));
        html.WriteLn(line + QStringLiteral("</tr>"));
    }
    html.WriteLn(QStringLiteral("</table>"));
}

// ---------------------------------------------------------------- horizontal jumps and throws

void TResultatlisteUdskrift::AttemptSeries(bool throws) {
    int attempts = 0;
    bool withPoints = false;
    for (const TResultat* row : Rows()) {
        attempts = std::max(attempts, row->GetSerieCount());
        for (int i = 0; i < row->GetSerieCount(); ++i)
            withPoints = withPoints || row->GetSerie(i)->Point1 != 0;
    }
    const auto parts = [throws](const TResultat& row, int i) {
        const QString text = row.GetSerieText(i).toLower();
        return throws ? TAttemptText{TrimBlanks(text), {}} : SplitAttempt(text);
    };
    const auto isBest = [](const TResultat& row, int i) {
        const TSerie& serie = *row.GetSerie(i);
        return serie.IsMark() && serie.Value == row.Resultat;
    };

    if (WantsPrint()) {
        TStdPrint& print = Print();
        const TPrintFontScope saved(print.LineFont());
        print.LineFont().Size -= 1;
        const double step = throws ? ThrowStep : (withPoints ? JumpPointStep : JumpStep);
        const double tail = throws ? (withPoints ? ThrowPointX + PointTail : MarkTail)
                                   : (withPoints ? JumpPointX + PointTail : WindX + WindTail);
        const int perLine = ColumnsThatFit(AttemptX, step, tail, print.PrintableWidth());
        print.GetLine(Body, Row).SetSpaceBefore(SeriesSpace);
        for (const TResultat* row : Rows()) {
            if (!row->IsValid())
                continue;
            print.AddField(Body, TPrintAlignment::Left, 0, Row, AttemptX - 1.2, TFieldKind::Text, row->Navn);
            int lines = 1;
            for (int i = 0; i < std::min(row->GetSerieCount(), MaxPrintedAttempts); ++i) {
                const TAttemptText text = parts(*row, i);
                if (text.Mark.isEmpty())
                    continue;
                // Attempts past the right margin go on in the line below, under the first ones.
                const int line = i / perLine;
                lines = std::max(lines, line + 1);
                const double row2 = Row + line;
                const double x = AttemptX + step * (i % perLine);
                {
                    const TPrintFontScope bold(print.LineFont());
                    if (isBest(*row, i))
                        print.LineFont().Style |= PrintFontStyle::Bold;
                    print.AddBodyText(TPrintAlignment::Right, text.Mark, x, row2);
                }
                if (!text.Wind.isEmpty()) {
                    const TPrintFontScope small(print.LineFont());
                    print.LineFont().Size -= 1;
                    print.AddBodyText(TPrintAlignment::Left, text.Wind, x + WindX, row2);
                }
                if (const qint32 point = row->GetSerie(i)->Point1; point != 0) {
                    const double offset = throws ? ThrowPointX : (text.Wind.isEmpty() ? WindX : JumpPointX);
                    print.AddBodyText(TPrintAlignment::Left, QString::number(point) + u'p', x + offset, row2);
                }
            }
            Row += lines;
        }
        return;
    }
    if (!WantsHtml())
        return;
    THtmlMaker& html = *Html;
    const int perAttempt = throws ? (withPoints ? 122 : 72) : (withPoints ? 152 : 102);
    const QString attemptWidths =
        throws
            ? (withPoints ? QStringLiteral("<col width=72><col width=50>") : QStringLiteral("<col width=72>"))
            : (withPoints ? QStringLiteral("<col width=72><col width=30><col width=50>")
                          : QStringLiteral("<col width=72><col width=30>"));
    html.WriteLn(QStringLiteral("<table class=rs cellpadding=0 cellspacing=2>"));
    QString widths = QStringLiteral("<col width=180>");
    for (int i = 0; i < attempts; ++i)
        widths += attemptWidths;
    WriteWidths(html, widths, 480, perAttempt * attempts);
    const bool rest = 480 - perAttempt * attempts > 0;
    const int colspan = (throws ? 1 : 2) + (withPoints ? 1 : 0);
    const QString runde = CurrentSystemData().Engelsk ? QStringLiteral(".round") : QStringLiteral(".runde");
    Shade = true;
    QString heading = QStringLiteral("<tr valign=top>") + HtmlCell(u"a", u"l2", {});
    for (int n = 1; n <= attempts; ++n)
        AppendHtmlCell(heading, u"a", QStringLiteral("r1 colspan=%1").arg(colspan),
                       QString::number(n) + runde);
    html.WriteLn(heading + HeadingEnd(rest));
    Shade = false;
    for (const TResultat* row : Rows()) {
        if (!row->IsValid())
            continue;
        const QString s = NextSeriesShade();
        QString line = QStringLiteral("<tr>");
        line.reserve(64 + 48 * row->GetSerieCount());
        AppendHtmlCell(line, s, u"l2", HtmlEscape(row->Navn));
        for (int i = 0; i < row->GetSerieCount(); ++i) {
            const TAttemptText text = parts(*row, i);
            QString mark = HtmlEscape(text.Mark);
            if (!mark.isEmpty() && isBest(*row, i))
                mark = QStringLiteral("<b>") + mark + QStringLiteral("</b>");
            AppendHtmlCell(line, s, u"r1", mark);
            if (!throws)
                AppendHtmlCell(line, s, u"r2", HtmlEscape(text.Wind));
            if (withPoints) {
                const qint32 point = row->GetSerie(i)->Point1;
                AppendHtmlCell(line, s, u"r1", point != 0 ? QString::number(point) + u'p' : QString());
            }
        }
        html.WriteLn(line + QStringLiteral("</tr>"));
    }
    html.WriteLn(QStringLiteral("</table>"));
}

// ---------------------------------------------------------------- combined events

QString TResultatlisteUdskrift::ApprovedSeriesText(TResultat& row) const {
    const TOvelseInfo& info = *Data->OvelseInfo();
    QString parts;
    for (int d = 0; d < Data->MKResultatCount(); ++d) {
        const TMKResultat& discipline = *Data->GetMKResultat(d);
        if (!discipline.OvelseInfo->HasVindmaaling())
            continue;
        const int index = discipline.IndexOfStartnummer(row.Startnummer);
        const TResultat* own = index < 0 ? nullptr : discipline.GetResultat(index);
        if (!own || !own->IsValid() || !own->HasResultat() || own->alternativeAttempt <= 0)
            continue;
        const TSerie* attempt = own->GetSerie(own->alternativeAttempt - 1);
        if (!attempt)
            continue;
        parts += discipline.OvelseInfo->Ovelse().GetTrimmedString(OvelseField::Langtekst) +
                 QStringLiteral(": ") + own->GetSerieText(own->alternativeAttempt - 1).toLower();
        if (attempt->Point1 > 0)
            parts += QStringLiteral(" %1p").arg(attempt->Point1);
        parts += QStringLiteral("  i stedet for  ") +
                 FormatOvelseResultatNoWind(*discipline.OvelseInfo, own->Resultat) + QStringLiteral(" (") +
                 own->GetFieldText(TResultColumn::Vind).toLower() + QStringLiteral(") ") +
                 own->GetFieldText(TResultColumn::Point).toLower() + u'p';
    }
    if (parts.isEmpty())
        return QStringLiteral("Ingen godkendt serie");
    QString text = QStringLiteral("Godkendt serie: ") +
                   FormatOvelseResultat(info, row.Resultat - row.BestLegalResultat, row.BestLegalVind) + u'p';
    if (info.IsVindPrForsog() && row.BestLegalResultat != 0)
        text += u' ' + FormatVind(row.BestLegalVind);
    return text + QStringLiteral(" med  ") + parts;
}

void TResultatlisteUdskrift::CombinedSeries() {
    const TOvelseInfo& info = *Data->OvelseInfo();
    const bool indendors = CurrentSystemData().Indendors;
    const int count = Data->MKResultatCount();
    const auto own = [&](int d, const TResultat& row) -> const TResultat* {
        const TMKResultat& discipline = *Data->GetMKResultat(d);
        const int index = discipline.IndexOfStartnummer(row.Startnummer);
        return index < 0 ? nullptr : discipline.GetResultat(index);
    };
    const auto disciplineInfo = [&](int d) -> const TOvelseInfo& {
        return *Data->GetMKResultat(d)->OvelseInfo;
    };
    // The three lines of a participant in discipline d.
    const auto resultat = [&](int d, const TResultat& row) {
        const TResultat* r = own(d, row);
        if (!r || !r->HasStarted())
            return QString();
        return r->IsValid() ? FormatOvelseResultatNoWind(disciplineInfo(d), r->Resultat)
                            : FormatResKode(r->RK);
    };
    const auto point = [&](int d, const TResultat& row) {
        const TResultat* r = own(d, row);
        return r && r->HasStarted() ? r->GetFieldText(TResultColumn::Point).toLower() : QString();
    };
    const auto vind = [&](int d, const TResultat& row) {
        const TResultat* r = own(d, row);
        return r && disciplineInfo(d).HasVindmaaling() && r->IsValid() && r->HasResultat()
                   ? r->GetFieldText(TResultColumn::Vind).toLower()
                   : QString();
    };
    const auto total = [&](const TResultat& row, const QString& beforeWind) {
        QString text = FormatOvelseResultat(info, row.Resultat, row.Vind) + u'p';
        if (info.IsVindPrForsog() && row.Resultat != 0)
            text += beforeWind + FormatVind(row.Vind);
        return text;
    };
    const auto langtekst = [&](int d) {
        return disciplineInfo(d).Ovelse().GetTrimmedString(OvelseField::Langtekst);
    };

    if (WantsPrint()) {
        TStdPrint& print = Print();
        const TPrintFontScope saved(print.LineFont());
        print.LineFont().Size -= 1;
        const int perBlock = ColumnsThatFit(DisciplineX, DisciplineStep, 0, print.PrintableWidth());
        for (int from = 0; from < std::max(count, 1); from += perBlock) {
            const int to = std::min(count, from + perBlock);
            const auto x = [&](int d) { return DisciplineX + DisciplineStep * (d - from); };
            print.AddBodyText(TPrintAlignment::Left, QStringLiteral(" "), 0, Row);
            print.GetLine(Body, Row).SetSpaceBefore(CombinedSpace);
            int headingLines = 1;
            {
                const TPrintFontScope bold(print.LineFont());
                print.LineFont().Style |= PrintFontStyle::Bold;
                // A long text goes over its column in short lines, each made smaller when it is too wide.
                for (int d = from; d < to; ++d) {
                    const QStringList lines = HeadingLines(langtekst(d));
                    headingLines = std::max(headingLines, static_cast<int>(lines.size()));
                    for (int j = 0; j < lines.size(); ++j)
                        print.AddField(Body, TPrintAlignment::Right, x(d) - DisciplineLabelWidth, Row + j,
                                       DisciplineLabelWidth, TFieldKind::FitText, lines[j]);
                }
            }
            Row += headingLines;
            if (count == 0)
                return;
            const auto line = [&](const QString& first, const QString& label, const TResultat& row,
                                  const std::function<QString(int, const TResultat&)>& text) {
                print.AddField(Body, TPrintAlignment::Left, 0, Row, NameWidth, TFieldKind::Text, first);
                if (!label.isEmpty())
                    print.AddBodyText(TPrintAlignment::Right, label, LineLabelX, Row);
                if (text)
                    for (int d = from; d < to; ++d)
                        if (const QString t = text(d, row); !t.isEmpty())
                            print.AddBodyText(TPrintAlignment::Right, t, x(d), Row);
                Row += 1;
            };
            for (TResultat* row : Rows()) {
                if (!row->HasStarted())
                    continue;
                print.GetLine(Body, Row).SetSpaceBefore(ParticipantSpace);
                line(row->Navn, QStringLiteral("R"), *row, resultat);
                line(row->GetKlub(), QStringLiteral("P"), *row, point);
                if (indendors)
                    line(total(*row, QStringLiteral(" ")), {}, *row, {});
                else
                    line(total(*row, QStringLiteral(" ")), QStringLiteral("W"), *row, vind);
                if (WindIllegal(*row)) {
                    print.AddField(Body, TPrintAlignment::Left, 0, Row, print.PrintableWidth(),
                                   TFieldKind::MultiLine, ApprovedSeriesText(*row));
                    Row += 1;
                }
            }
        }
        return;
    }
    if (!WantsHtml())
        return;
    THtmlMaker& html = *Html;
    html.WriteLn(QStringLiteral("<table class=rs cellpadding=0 cellspacing=2>"));
    QString widths = QStringLiteral("<col width=165><col width=15>");
    for (int d = 0; d < count; ++d)
        widths += QStringLiteral("<col width=48>");
    WriteWidths(html, widths, 480, 48 * count);
    const bool rest = 480 - 48 * count > 0;
    Shade = true;
    QString heading =
        QStringLiteral("<tr valign=top>") + HtmlCell(u"a", u"l2", {}) + HtmlCell(u"a", u"l2", {});
    for (int d = 0; d < count; ++d)
        AppendHtmlCell(heading, u"a", u"r1",
                       QStringLiteral("<b>") + HtmlEscape(langtekst(d)) + QStringLiteral("</b>"));
    html.WriteLn(heading + HeadingEnd(rest));
    Shade = false;
    if (count == 0) {
        html.WriteLn(QStringLiteral("</table>"));
        return;
    }
    for (TResultat* row : Rows()) {
        if (!row->HasStarted())
            continue;
        const QString s = NextSeriesShade();
        const auto line = [&](const QString& first, const QString& label,
                              const std::function<QString(int, const TResultat&)>& text) {
            QString out = QStringLiteral("<tr>");
            AppendHtmlCell(out, s, u"l2", HtmlEscape(first));
            AppendHtmlCell(out, s, u"l2", label);
            for (int d = 0; d < count; ++d)
                AppendHtmlCell(out, s, u"r1", text ? HtmlEscape(text(d, *row)) : QString());
            html.WriteLn(out + QStringLiteral("</tr>"));
        };
        line(row->Navn, QStringLiteral("R"), resultat);
        line(row->GetKlub(), QStringLiteral("P"), point);
        if (indendors)
            line(total(*row, QStringLiteral("  ")), {}, {});
        else
            line(total(*row, QStringLiteral("  ")), QStringLiteral("W"), vind);
        if (WindIllegal(*row))
            html.WriteLn(QStringLiteral("<tr><td class=%1l2 colspan=%2>").arg(s).arg(count + 2) +
                         HtmlEscape(ApprovedSeriesText(*row)) + QStringLiteral("</tr>"));
    }
    html.WriteLn(QStringLiteral("</table>"));
}
