#include "print/D_UdskriftResultatliste.h"
#include "print/D_Html.h"
#include "print/D_Print.h"
#include "print/D_PrintTexts.h"
#include "print/D_TeksterDiplom.h"

#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/PathResolver.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_ResultHold.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>

namespace {

constexpr auto Body = TPrintSection::Body;

// The row texts by their place in the job's text array.
enum TText : int {
    TextPlace = 1,
    TextRemark = 2,
    TextResult = 3,
    TextHeat = 4,
    TextQualification = 5,
    TextName = 6,
    TextClub = 7,
    TextPoints = 8,
    TextReaction = 9,
};

constexpr double HeatHeadingSpace = 0.15; // cm
constexpr double TitleSpace = 0.25;
constexpr double AfterTitleSpace = 0.04;
constexpr double TeamSpace = 0.5;
constexpr double TeamRowSpace = 0.15;
constexpr double SectionTitleSize = 1.3;

// The layout columns of the result: its own, and where it stands when the heat column takes that one.
constexpr std::size_t ResultColumn = 3;
constexpr std::size_t ResultColumnBesideHeat = 2;

const QString Nbsp = QStringLiteral("&nbsp;");
const QString NoHeatDashes = QString(40, u'-');

qint32 RoundField(const TOvelseInfo& info, int fieldNo) {
    return info.OvelseRn().GetField(fieldNo)->GetAsInteger();
}

// The qualification letters of English lists.
QString EnglishQualification(const QString& code) {
    QString text = code;
    for (QChar& c : text) {
        if (c == u'm' || c == u's' || c == u'f' || c == u'k')
            c = u'q';
        else if (c == u'M' || c == u'S' || c == u'F' || c == u'K')
            c = u'Q';
    }
    return text;
}

} // namespace

TResultatlisteUdskrift::TResultatlisteUdskrift(QObject* owner)
    : TStandingsJob(owner) {
    if (StaevneManager) {
        const bool motion = CurrentSystemData().Motionsloeb;
        Print().LoadLayout(motion ? QStringLiteral("Motion_Resultatliste") : QStringLiteral("Resultatliste"),
                           StaevneManager->GetRptFileName());
    }
    LetResultHeadingFollow();
    AddHeaderSpacer();
}

void TResultatlisteUdskrift::LetResultHeadingFollow() {
    TStdPrint& print = Print();
    if (print.Columns().size() <= ResultColumn)
        return;
    const TColumnField own = print.Columns()[ResultColumn];
    const TColumnField beside = print.Columns()[ResultColumnBesideHeat];
    TPrintLines& header = print.Lines(TPrintSection::Header);
    for (int i = 0; i < header.Count(); ++i) {
        TPrintLine& line = header[i];
        if (line.Row < FirstColumnHeadingRow)
            continue;
        std::vector<TPrintField> moved;
        for (TPrintField& field : line.Fields) {
            if (field.Kind != TFieldKind::Text || field.X != own.Left || field.Width != own.Width ||
                field.Text.trimmed().isEmpty())
                continue;
            const int n = static_cast<int>(resultHeadings_.size());
            TResultHeading heading{field.Text, QStringLiteral("Resultat.%1.kolonne").arg(n),
                                   QStringLiteral("Resultat.%1.ved.heat").arg(n)};
            field.Kind = TFieldKind::Variable;
            field.Text = heading.InResultColumn;
            TPrintField copy = field;
            copy.X = beside.Left;
            copy.Width = beside.Width;
            copy.Alignment = beside.Alignment;
            copy.Text = heading.BesideHeatColumn;
            moved.push_back(copy);
            resultHeadings_.push_back(heading);
        }
        line.Fields.insert(line.Fields.end(), moved.begin(), moved.end());
    }
    // Pages before any round (standings) show the heading in its own column.
    for (const TResultHeading& heading : resultHeadings_) {
        print.Variables().SetValue(heading.InResultColumn, heading.Text);
        print.Variables().SetValue(heading.BesideHeatColumn, QString());
    }
}

void TResultatlisteUdskrift::PlaceResultHeading(double row, bool besideHeatColumn) {
    if (!WantsPrint() || resultHeadings_.empty())
        return;
    TVariableList& variables = Print().GetLine(Body, row).Variables;
    for (const TResultHeading& heading : resultHeadings_) {
        variables.SetValue(heading.InResultColumn, besideHeatColumn ? QString() : heading.Text);
        variables.SetValue(heading.BesideHeatColumn, besideHeatColumn ? heading.Text : QString());
    }
}

// ---------------------------------------------------------------- the steps

bool TResultatlisteUdskrift::IsReady() const {
    const TOvelseInfo* info = Data ? Data->OvelseInfo() : nullptr;
    return info && info->ResultaterFindes && info->AntalResultater > 0;
}

bool TResultatlisteUdskrift::HasData() {
    return UdskrivTommeOvelser || (TUdskrift::HasData() && Data->HasResultat() && IsReady());
}

void TResultatlisteUdskrift::Prepare() {
    Sorted = false;
    const TOvelseInfo* info = Data ? Data->OvelseInfo() : nullptr;
    ByHeat = info && info->OvelseRn().IsResTypeHeat();
    SortRows(ByHeat ? CompareByHeatResultat : CompareByResultatHeat);
}

void TResultatlisteUdskrift::OpenHtml() {
    const TSystemData& data = CurrentSystemData();
    const QString title =
        data.Oversattelse ? MeetText(TMeetText::TextResultatliste) : QStringLiteral("RESULTATER");
    OpenHtmlPage(QStringLiteral("resultatliste"), title);
}

void TResultatlisteUdskrift::PrintOvelse() {
    TUdskrift::PrintOvelse();
    OvelseSections();
}

void TResultatlisteUdskrift::WriteOvelseHtml() {
    TUdskrift::WriteOvelseHtml();
    OvelseSections();
}

void TResultatlisteUdskrift::OvelseSections() {
    if (!Data || !Data->OvelseInfo() || (!WantsPrint() && !WantsHtml()))
        return;
    if (Data->HasResultat() && IsReady()) {
        ResultListBody(true, TTableMode::Results);
        if (WantsPrint() && Row > SavedRow)
            Print().AddBlock(SavedRow, Row - 1);
    }
    if (Data->HoldResultater() && Data->HoldResultater()->Count() > 0) {
        TeamSection(QStringLiteral("HOLD"), false);
        if (HasSecondModel()) {
            RecomputeSecondModel();
            TeamSection(QStringLiteral("DAF MODEL"), true);
            CopyRows();
            Prepare();
        }
    }
    ExtraOrders();
}

void TResultatlisteUdskrift::AfterOvelse() {
    if (InList)
        return;
    if (InklusivKlubstilling) {
        if (WantsPrint())
            PrintOverallClubStandings(*this);
        else if (HtmlUdskrift)
            WriteOverallClubStandingsHtml(*this);
    }
    if (InklusivMangekampStilling && Data && Data->OvelseInfo())
        WriteCombinedClassStandings(*this, *Data->OvelseInfo());
}

void TResultatlisteUdskrift::BeforeRun() {
    if (!InklusivKlubstilling)
        return;
    if (WantsPrint())
        PrintOverallClubStandings(*this);
    else if (HtmlUdskrift)
        WriteOverallClubStandingsHtml(*this);
}

void TResultatlisteUdskrift::KlasseChanged() {
    // Data still holds the last round of the class that ended.
    if (InklusivMangekampStilling && Data && Data->OvelseInfo())
        WriteCombinedClassStandings(*this, *Data->OvelseInfo());
}

// ---------------------------------------------------------------- the table

void TResultatlisteUdskrift::CollectHeats() {
    heatWinds_.clear();
    unseeded_ =
        std::none_of(Rows().begin(), Rows().end(), [](const TResultat* row) { return row->HasHeat(); });
    for (const TResultat* row : Rows())
        if (row->Heat >= 1 && row->Heat <= MaxHeatNr)
            heatWinds_[row->Heat] = row->Vind;
}

void TResultatlisteUdskrift::ResultListBody(bool withSeries, TTableMode mode, const QString& title) {
    const TOvelseInfo& info = *Data->OvelseInfo();
    const TSystemData& data = CurrentSystemData();
    CollectHeats();
    ShowHeatColumn = info.IsVindPrForsog() || (!ByHeat && heatWinds_.size() >= 2);
    ColumnCount = ShowHeatColumn ? 9 : 8;
    PlaceResultHeading(Row, ShowHeatColumn);
    TableHeading(title);

    runningNumber_ = 0;
    hasPrevious_ = false;
    Shade = false;
    bool first = true;
    qint32 heat = 0;
    for (TResultat* row : Rows()) {
        if (!row->HasHeat() && !unseeded_ && data.UdeladRettelserFoerSeedning)
            continue;
        if (mode == TTableMode::Improvement && row->GetPRForbedring() <= 0)
            continue;
        if (ByHeat && (first || row->Heat != heat)) {
            heat = row->Heat;
            HeatHeading(heat);
            PhotoLink(heat);
        }
        first = false;
        RowTexts(*row, mode);
        Shade = !Shade;
        OutputRow();
        // A best mark with too much wind is followed by the best legal one.
        if (info.IsVindPrForsog() && row->IsValid() && row->hasMark() && row->Vind != WindNotMeasured &&
            !IsLegalVind(row->Vind) && row->BestLegalResultat > 0 &&
            row->BestLegalResultat != row->Resultat) {
            for (int i = TextPlace; i <= TextReaction; ++i)
                SetText(i, {});
            members_.clear();
            SetText(TextResult, FormatOvelseResultat(info, row->BestLegalResultat, row->BestLegalVind));
            SetText(TextHeat, FormatVind(row->BestLegalVind));
            Shade = !Shade;
            OutputRow();
        }
    }
    TableEnd();

    if (withSeries)
        SeriesTables();
    if (mode != TTableMode::Results || recomputed_)
        return;
    if (info.GetMKOvelseNr() > 0)
        WriteCombinedStandingsAfterDiscipline(*this);
    if (HasSecondModel()) {
        RecomputeSecondModel();
        recomputed_ = true;
        ResultListBody(false, TTableMode::Results, QStringLiteral("DAF MODEL"));
        recomputed_ = false;
        CopyRows();
        Prepare();
    }
}

// ---------------------------------------------------------------- row texts

void TResultatlisteUdskrift::RowTexts(const TResultat& row, TTableMode mode) {
    const TSystemData& data = CurrentSystemData();
    members_.clear();
    SetText(TextPlace, PlaceText(row, mode));
    SetText(TextRemark, RemarkText(row));
    SetText(TextResult, ResultText(row, mode));
    SetText(TextHeat, HeatColumnText(row));
    SetText(TextQualification, data.Redid || data.Engelsk ? EnglishQualification(row.VK) : row.VK);
    QString navn;
    QString klub;
    if (row.OvelseInfo && row.OvelseInfo->Ovelse().IsStafetOvelse()) {
        members_ = RelayMembers(row, false);
        klub = data.VT ? row.GetKlub() : TrimBlanks(row.Navn);
        if (klub.isEmpty())
            klub = row.GetKlub();
    } else if (data.VT) {
        navn = row.GetFormattedNavn() + QStringLiteral("  (%1)").arg(row.GetAlder());
        klub = row.GetKlub();
    } else {
        navn = row.GetNavnAargang();
        klub = row.GetKlub();
        if (data.ECup2007)
            klub += QStringLiteral(" - ") + row.KlubAdresse5;
    }
    SetText(TextName, members_.isEmpty() ? navn : members_.join(u'\n'));
    SetText(TextClub, klub);
    SetText(TextPoints, PointText(row));
    SetText(TextReaction, row.HasReaktion() ? FloatToStrDec(row.Reaktion / 1000.0, 3) : QString());
}

QString TResultatlisteUdskrift::PlaceText(const TResultat& row, TTableMode mode) {
    if (row.IsUK())
        return FormatUdenforKonk(row.UK);
    // Rows with a status, or without a mark of their own, have no place in any order.
    const bool placed = row.IsValid() && row.hasMark();
    if (mode == TTableMode::Sorted)
        return placed ? QString::number(++runningNumber_) : QString();
    if (Data->OvelseCount() > 1) {
        if (!placed)
            return {};
        ++runningNumber_;
        const bool equal = hasPrevious_ && row.Resultat == previousResultat_;
        previousResultat_ = row.Resultat;
        hasPrevious_ = true;
        return equal ? QStringLiteral("=") : QString::number(runningNumber_);
    }
    // A late row of a seeded round has no place yet; in a round never seeded every row has one.
    if (!placed || (!row.HasHeat() && !unseeded_) || row.Plac == 0)
        return {};
    const QString place = QString::number(row.Plac);
    const bool equal = hasPrevious_ && place == previousPlace_;
    previousPlace_ = place;
    hasPrevious_ = true;
    return equal ? QStringLiteral("=") : place;
}

QString TResultatlisteUdskrift::RemarkText(const TResultat& row) const {
    QString remark = TrimBlanks(row.Bem2.isEmpty() ? row.Bem : row.Bem2 + u' ' + row.Bem);
    const TSystemData& data = CurrentSystemData();
    if (!remark.isEmpty() || !data.UdskrivPR || !row.IsValid() || !row.hasMark() || !row.IsVindLegal())
        return remark;
    const qint32 pr = data.SeedningLigPR ? row.Seedning : row.PR;
    if (pr == 0)
        return remark;
    // The event's own direction: a lower time is better.
    const int compared = Data->CompareResultat(row.Resultat, pr, false);
    if (compared < 0)
        return QStringLiteral("PR");
    if (compared == 0)
        return QStringLiteral("=PR");
    return remark;
}

QString TResultatlisteUdskrift::ResultText(const TResultat& row, TTableMode mode) const {
    const TOvelseInfo& info = row.OvelseInfo ? *row.OvelseInfo : *Data->OvelseInfo();
    const TSystemData& data = CurrentSystemData();
    if (!row.IsValid())
        return FormatResKode(row.RK);
    if (mode == TTableMode::Improvement)
        return FloatToStrDec(row.GetPRForbedring() / 100.0, 2);
    if (!row.HasResultat())
        return {};
    if (data.Motionsloeb) {
        const QTime tid = MotionsloebTid(row.Resultat, info.GetTid());
        return tid.isValid() ? tid.toString(QStringLiteral("hh:mm:ss")) : QString();
    }
    const QString result = FormatOvelseResultat(info, row.Resultat, row.Vind);
    if (mode == TTableMode::Sorted && RoundField(info, OvelseRnField::UdskriftKode) == 1) {
        QString graded = FormatOvelseResultatNoWind(info, row.GetAlderRes());
        if (const qint32 second = row.GetAlderRes2(); second != 0)
            graded += QStringLiteral(" / ") + FormatOvelseResultatNoWind(info, second);
        return graded;
    }
    if (data.VT && row.GetAlderRes() != 0)
        return result + QStringLiteral(" / ") + FormatOvelseResultatNoWind(info, row.GetAlderRes());
    return result;
}

QString TResultatlisteUdskrift::HeatColumnText(const TResultat& row) const {
    if (!ShowHeatColumn)
        return {};
    const TOvelseInfo& info = *Data->OvelseInfo();
    if (info.IsVindPrForsog())
        return row.IsValid() && row.hasMark() ? FormatVind(row.Vind) : QString();
    return row.HasHeat() ? QString::number(row.Heat) + u'h' : QString();
}

QString TResultatlisteUdskrift::PointText(const TResultat& row) const {
    const TSystemData& data = CurrentSystemData();
    if (!row.IsValid())
        return {};
    if (data.VT)
        return row.VTPoint != 0 ? QString::number(row.VTPoint) : QString();
    if (data.Motionsloeb)
        return row.Point != 0 ? FloatToStrDec(row.Point, 0) : QString();
    if (row.Point == 0)
        return {};
    QString text = row.GetFieldText(TResultColumn::Point);
    if (data.D3TMangekamp && row.Point3 != 0 && row.Point3 != std::llround(row.Point))
        text += QStringLiteral(" / ") + QString::number(row.Point3);
    return text;
}

// ---------------------------------------------------------------- output parts

void TResultatlisteUdskrift::TableHeading(const QString& title) {
    const TSystemData& data = CurrentSystemData();
    if (WantsPrint()) {
        if (!title.isEmpty()) {
            Print().GetLine(Body, Row).SetSpaceBefore(TitleSpace);
            Print().AddBodyHeading(title, Row, 1);
            Row += 1;
            Print().GetLine(Body, Row).SetSpaceBefore(AfterTitleSpace);
        }
    } else if (WantsHtml()) {
        THtmlMaker& html = *Html;
        if (!title.isEmpty())
            WriteTitleTable(title);
        html.WriteLn(QStringLiteral("<table class=rl cellpadding=0 cellspacing=2>"));
        html.WriteLn(
            QStringLiteral("<col width=24><col width=30>") +
            (ShowHeatColumn ? QStringLiteral("<col width=60><col width=24>")
                            : QStringLiteral("<col width=84>")) +
            QStringLiteral("<col width=24><col width=258><col width=180><col width=50><col width=50>"));
        const auto caption = [&](TMeetText text, const char* own) {
            return QStringLiteral("<i>") +
                   (data.Oversattelse ? HtmlEscape(MeetText(text)) : QString::fromUtf8(own)) +
                   QStringLiteral("</i>");
        };
        bool hasPoint = false;
        bool hasReaktion = false;
        for (const TResultat* row : Rows()) {
            hasPoint = hasPoint || row->HasPoint();
            hasReaktion = hasReaktion || row->HasReaktion();
        }
        QString points = Nbsp;
        if (data.VT || hasPoint)
            points = QStringLiteral("<i>Points</i>");
        else if (data.Motionsloeb)
            points = caption(TMeetText::TextStartNr, "StartNr");
        const QString reaktion =
            hasReaktion ? (data.Engelsk ? QStringLiteral("React") : QStringLiteral("Reaktion")) : Nbsp;
        html.WriteLn(
            QStringLiteral("<tr><td colspan=2 class=ol>") + caption(TMeetText::TextPlacering, "Nr") +
            (ShowHeatColumn ? QStringLiteral("<td colspan=2 class=or>") : QStringLiteral("<td class=or>")) +
            caption(TMeetText::TextResultat, "Resultat") +
            QStringLiteral("<td class=l2>&nbsp;<td class=ol>") + caption(TMeetText::TextNavn, "Navn") +
            QStringLiteral("<td class=ol>") + caption(TMeetText::TextKlub, "Klub") +
            QStringLiteral("<td class=or>") + points + QStringLiteral("<td class=or>") + reaktion +
            QStringLiteral("</tr>"));
    }
    if (!ByHeat)
        WindLine();
}

void TResultatlisteUdskrift::HeatHeading(qint32 heat) {
    const TOvelseInfo& info = *Data->OvelseInfo();
    const TSystemData& data = CurrentSystemData();
    // "=" compares places within a heat only.
    hasPrevious_ = false;
    QString title;
    QString wind;
    if (heat == 0) {
        if (!unseeded_)
            title = data.Engelsk ? NoHeatDashes : QStringLiteral("RETTELSER FØR SEEDNING");
    } else {
        if (heatWinds_.size() >= 2)
            title = info.GetHeatText(heat);
        if (info.IsVindPrHeat())
            wind = FormatVind(heatWinds_.count(heat) ? heatWinds_.at(heat) : 0);
    }
    if (title.isEmpty() && wind.isEmpty())
        return;
    if (!title.isEmpty())
        Shade = false;
    if (WantsPrint()) {
        QString text = title;
        if (!wind.isEmpty())
            text += (title.isEmpty() ? QStringLiteral(" w: ") : QStringLiteral("  w: ")) + wind;
        const TPrintFontScope saved(Print().LineFont());
        Print().LineFont().Style |= PrintFontStyle::Bold | PrintFontStyle::Italic;
        const double x = Print().Columns().empty() ? 0 : Print().Columns().front().GetLeft();
        Print().AddBodyText(TPrintAlignment::Left, text, x, Row);
        Print().GetLine(Body, Row).SetSpaceBefore(HeatHeadingSpace);
        Row += 1;
    } else if (WantsHtml()) {
        QString cell;
        if (!title.isEmpty()) {
            cell = QStringLiteral("<b>&nbsp;") + HtmlEscape(title) + QStringLiteral("</b>");
            if (!wind.isEmpty())
                cell += QStringLiteral("&nbsp;&nbsp;<i>w:&nbsp;") + HtmlEscape(wind) + QStringLiteral("</i>");
        } else {
            cell = QStringLiteral("<i>&nbsp;w:&nbsp;") + HtmlEscape(wind) + QStringLiteral("</i>");
        }
        Html->WriteLn(QStringLiteral("<tr><td colspan=%1 class=l1>").arg(ColumnCount) + cell +
                      QStringLiteral("</tr>"));
    }
}

QString TResultatlisteUdskrift::PhotoFile(qint32 heat) const {
    const TOvelseInfo& info = *Data->OvelseInfo();
    const QString name = info.OvelseRn().GetTrimmedString(OvelseRnField::Klasse) + u'-' +
                         info.OvelseRn().GetTrimmedString(OvelseRnField::Ovelse) + u'-' +
                         QString::number(info.GetRundeNr()) + u'-' + QString::number(heat) +
                         QStringLiteral(".jpg");
    // Found as Windows would find them; the link names the folder and the file as they are on disk.
    if (!photoDir_) {
        const QString dir = ResolvePath(PathJoin(StaevneManager->GetStaevneDir(), QStringLiteral("photo")));
        photoDir_ = QFileInfo(dir).isDir() ? dir : QString();
    }
    if (photoDir_->isEmpty())
        return {};
    const QFileInfo found(ResolvePath(PathJoin(*photoDir_, name)));
    if (!found.isFile())
        return {};
    return HtmlUrl(found.dir().dirName() + u'/' + found.fileName());
}

void TResultatlisteUdskrift::PhotoLink(qint32 heat) {
    if (!WantsHtml() || heat == 0)
        return;
    const QString file = PhotoFile(heat);
    if (file.isEmpty())
        return;
    Html->WriteLn(QStringLiteral("<tr><td class=\"ko3\" colspan=%1>").arg(ColumnCount) +
                  QStringLiteral("<a target=\"_blank\" href=\"") + file +
                  QStringLiteral("\">View photo finish</a></tr>"));
}

void TResultatlisteUdskrift::WindLine() {
    const TOvelseInfo& info = *Data->OvelseInfo();
    if (!info.IsVindPrHeat())
        return;
    const std::map<qint32, qint32>& winds = heatWinds_;
    if (winds.empty())
        return;
    QString text;
    if (winds.size() == 1) {
        text = QStringLiteral(" w: ") + FormatVind(winds.begin()->second);
    } else {
        text = QStringLiteral(" w:");
        for (const auto& [heat, vind] : winds)
            text += QStringLiteral("  %1h: ").arg(heat) + FormatVind(vind);
    }
    if (WantsPrint()) {
        const TPrintFontScope saved(Print().LineFont());
        Print().LineFont().Style |= PrintFontStyle::Italic;
        const double x = Print().Columns().empty() ? 0 : Print().Columns().front().GetLeft();
        Print().AddBodyText(TPrintAlignment::Left, text, x, Row);
        Row += 1;
    } else if (WantsHtml()) {
        Html->WriteLn(QStringLiteral("<tr><td colspan=%1 class=l1><i>").arg(ColumnCount) + HtmlEscape(text) +
                      QStringLiteral("</i></tr>"));
    }
}

void TResultatlisteUdskrift::OutputRow() {
    if (WantsPrint()) {
        TStdPrint& print = Print();
        // Every row says where its heading stands: a page drawn alone in the preview finds it too.
        PlaceResultHeading(Row, ShowHeatColumn);
        for (int i = TextPlace; i <= TextReaction; ++i) {
            if (i == TextHeat && !ShowHeatColumn)
                continue;
            int column = i - 1;
            if (i == TextResult && !ShowHeatColumn)
                column = 3;
            QString text = GetText(i);
            if (i == TextName && !members_.isEmpty())
                text = members_.join(print.MultiLineSeparator());
            if (text.isEmpty())
                continue;
            const bool wraps = i == TextName || i == TextClub;
            print.AddColumnText(column, text, Row, wraps ? TFieldKind::MultiLine : TFieldKind::Text,
                                TPrintVAlign::Top);
        }
        Row += 1;
    } else if (WantsHtml()) {
        const QString prefix = Shade ? QStringLiteral("ka") : QStringLiteral("ko");
        QString line = QStringLiteral("<tr valign=top>");
        for (int i = TextPlace; i <= TextReaction; ++i) {
            if (i == TextHeat && !ShowHeatColumn)
                continue;
            QString text;
            if (i == TextName && !members_.isEmpty()) {
                QStringList escaped;
                for (const QString& member : members_)
                    escaped.append(HtmlEscape(member));
                text = escaped.join(QStringLiteral("<br>"));
            } else {
                text = HtmlEscape(GetText(i));
            }
            const QChar digit(u'0' + i);
            AppendHtmlCell(line, prefix, QStringView(&digit, 1), text);
        }
        Html->WriteLn(line + QStringLiteral("</tr>"));
    }
}

void TResultatlisteUdskrift::TableEnd() {
    if (!WantsHtml())
        return;
    if (!ByHeat) {
        QString links;
        for (const auto& entry : heatWinds_) {
            const qint32 heat = entry.first;
            const QString file = PhotoFile(heat);
            if (!file.isEmpty())
                links += QStringLiteral("&nbsp;<a target=\"_blank\" href=\"") + file +
                         QStringLiteral("\">Heat %1</a>").arg(heat);
        }
        if (!links.isEmpty())
            Html->WriteLn(
                QStringLiteral("<tr><td class=\"ko3\" colspan=%1>View photo finish:").arg(ColumnCount) +
                links + QStringLiteral("</tr>"));
    }
    Html->WriteLn(QStringLiteral("</table>"));
}

void TResultatlisteUdskrift::SectionTitle(const QString& title) {
    if (WantsPrint()) {
        Print().GetLine(Body, Row).SetSpaceBefore(TitleSpace);
        Print().AddBodyHeading(title, Row, 1);
        Print().AddBodyRule(RuleListHeading, Row + 1);
        Row += 2;
    } else if (WantsHtml()) {
        WriteTitleTable(title);
    }
}

void TResultatlisteUdskrift::WriteTitleTable(const QString& title) {
    Html->WriteLn(QStringLiteral("<table class=rs cellpadding=0 cellspacing=0>"));
    Html->WriteLn(QStringLiteral("<col width=460><col width=200>"));
    Html->WriteLn(QStringLiteral("<tr><td class=l1 colspan=2>&nbsp;&nbsp;<b>") + HtmlEscape(title) +
                  QStringLiteral("</b></tr>"));
    Html->WriteLn(QStringLiteral("</table>"));
}

// ---------------------------------------------------------------- teams

void TResultatlisteUdskrift::TeamSection(const QString& title, bool recomputed) {
    const THoldResultater& teams = *Data->HoldResultater();
    const TOvelseInfo& info = *Data->OvelseInfo();
    struct TTeam {
        const THold* Hold;
        std::vector<const TResultat*> Members;
        qint64 Total;
        qint32 Plac;
    };
    std::vector<TTeam> lines;
    for (int t = 0; t < teams.Count(); ++t) {
        const THold& hold = *teams.GetHold(t);
        TTeam team{&hold, {}, hold.HoldResultat->Resultat, hold.HoldResultat->Plac};
        qint64 total = 0;
        for (const TResultat* member : hold.Medlemmer) {
            const TResultat* copy = recomputed ? CopyOfRow(member) : member;
            team.Members.push_back(copy ? copy : member);
            total += team.Members.back()->Resultat;
        }
        if (recomputed)
            team.Total = total;
        lines.push_back(team);
    }
    if (recomputed) {
        // The second model's totals are points: the highest first.
        std::stable_sort(lines.begin(), lines.end(),
                         [](const TTeam& a, const TTeam& b) { return a.Total > b.Total; });
        for (std::size_t i = 0; i < lines.size(); ++i)
            lines[i].Plac = i > 0 && lines[i].Total == lines[i - 1].Total ? lines[i - 1].Plac : qint32(i + 1);
    }

    const bool wasHeatColumn = ShowHeatColumn;
    ShowHeatColumn = false;
    ColumnCount = 8;
    const double from = Row;
    PlaceResultHeading(Row, false);
    if (WantsPrint()) {
        Print().GetLine(Body, Row).SetSpaceBefore(TeamSpace);
        Print().AddBodyRule(RuleListHeading, Row);
        Print().AddBodyHeading(title, Row + 1, SectionTitleSize);
        Print().AddBodyRule(RuleListHeading, Row + 2);
        Row += 3;
    } else if (WantsHtml()) {
        WriteHtmlSectionTitle(*Html, QStringLiteral("l1"), title);
        Html->WriteLn(QStringLiteral("<table class=rl cellpadding=0 cellspacing=2>"));
        Html->WriteLn(QStringLiteral("<col width=24><col width=30><col width=84><col width=24><col width=258>"
                                     "<col width=180><col width=60><col width=40>"));
    }
    Shade = false;
    QString previous;
    for (const TTeam& team : lines) {
        for (std::size_t m = 0; m < team.Members.size(); ++m) {
            for (int i = TextPlace; i <= TextReaction; ++i)
                SetText(i, {});
            members_.clear();
            const TResultat& member = *team.Members[m];
            SetText(TextName, member.GetFormattedNavn() + QStringLiteral(" (") +
                                  FormatOvelseResultatNoWind(info, member.Resultat) + u')');
            if (m == 0) {
                const QString place = team.Plac > 0 ? QString::number(team.Plac) : QString();
                SetText(TextPlace, !place.isEmpty() && place == previous ? QStringLiteral("=") : place);
                previous = place;
                SetText(TextResult, FormatOvelseResultatNoWind(info, static_cast<qint32>(team.Total)));
                SetText(TextClub, team.Hold->GetHoldNavn());
                if (team.Hold->HoldResultat->Point > 0)
                    SetText(TextPoints, team.Hold->HoldResultat->GetFieldText(TResultColumn::Point));
                if (WantsPrint())
                    Print().GetLine(Body, Row).SetSpaceBefore(TeamRowSpace);
            }
            Shade = !Shade;
            OutputRow();
        }
    }
    if (WantsPrint() && Row > from)
        Print().AddBlock(from, Row - 1);
    else if (WantsHtml())
        Html->WriteLn(QStringLiteral("</table>"));
    ShowHeatColumn = wasHeatColumn;
}

// ---------------------------------------------------------------- extra orders

namespace {

// The caller's rows get their second veteran score only for as long as the copy takes it from them.
class TVeteranPoint2Scope {
public:
    explicit TVeteranPoint2Scope(TResultatManager& data)
        : data_(data) {
        for (int i = 0; i < data_.Count(); ++i)
            saved_.push_back(data_.GetResultat(i)->VeteranPoint2);
        Messages = data_.CalcVeteranPoint2();
    }
    ~TVeteranPoint2Scope() {
        for (int i = 0; i < data_.Count() && i < static_cast<int>(saved_.size()); ++i)
            data_.GetResultat(i)->VeteranPoint2 = saved_[static_cast<std::size_t>(i)];
    }
    TVeteranPoint2Scope(const TVeteranPoint2Scope&) = delete;
    TVeteranPoint2Scope& operator=(const TVeteranPoint2Scope&) = delete;

    QStringList Messages;

private:
    TResultatManager& data_;
    std::vector<qint32> saved_;
};

} // namespace

void TResultatlisteUdskrift::ExtraOrders() {
    const TOvelseInfo& info = *Data->OvelseInfo();
    const TSystemData& data = CurrentSystemData();
    const qint32 kode = RoundField(info, OvelseRnField::UdskriftKode);
    if (data.VT || kode == 1) {
        Sorted = true;
        ByHeat = false;
        QString title;
        if (kode == 1) {
            {
                const TVeteranPoint2Scope scope(*Data);
                for (int i = 0; i < Data->Count(); ++i)
                    if (TResultat* copy = CopyOfRow(Data->GetResultat(i)))
                        copy->VeteranPoint2 = Data->GetResultat(i)->VeteranPoint2;
                if (!scope.Messages.isEmpty())
                    ShowError(Print().Owner(), scope.Messages.join(u'\n'));
            }
            SortRows(CompareByVeteranPoint2);
            title = QStringLiteral("SORTERING EFTER VETERAN-KORRIGERET RESULTAT");
        } else {
            SortRows(CompareByVTPoint);
            title = QStringLiteral("SORTERING EFTER POINTS");
        }
        SectionTitle(title);
        ResultListBody(false, TTableMode::Sorted);
    }
    if (kode == 2 && Data->HasPRForbedring()) {
        Sorted = false;
        ByHeat = false;
        SortRows(CompareByForbedring);
        SectionTitle(QStringLiteral("PR-FORBEDRING"));
        ResultListBody(false, TTableMode::Improvement);
    }
}

// ---------------------------------------------------------------- the second model

bool TResultatlisteUdskrift::HasSecondModel() const {
    const TOvelseInfo& info = *Data->OvelseInfo();
    if (!CurrentSystemData().D3TMangekamp ||
        (!info.Ovelse().IsMangekampOvelse() && info.GetMKOvelseNr() <= 0))
        return false;
    return std::any_of(Rows().begin(), Rows().end(), [](const TResultat* row) { return row->Point3 != 0; });
}

void TResultatlisteUdskrift::RecomputeSecondModel() {
    const bool combined = Data->OvelseInfo()->Ovelse().IsMangekampOvelse();
    for (TResultat* row : Rows()) {
        row->Point = row->Point3;
        if (combined)
            row->Resultat = row->Point3;
    }
    if (!combined)
        return;
    // The combined rows' totals are the second model's: placed anew over all heats.
    ByHeat = false;
    SortRows(CompareByResultatHeat);
    qint32 previous = 0;
    quint16 place = 0;
    quint16 n = 0;
    for (TResultat* row : Rows()) {
        ++n;
        if (!row->IsValid() || !row->hasMark())
            continue;
        if (place == 0 || row->Resultat != previous)
            place = n;
        previous = row->Resultat;
        row->Plac = place;
    }
}
