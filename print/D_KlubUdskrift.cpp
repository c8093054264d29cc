#include "print/D_KlubUdskrift.h"

#include "print/D_Html.h"
#include "print/D_Print.h"
#include "print/D_PrintTexts.h"

#include "foundation/LxClass.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "model/D_DBDefCodeFields.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <unordered_map>

namespace {

const QString MotionPrefix = QStringLiteral("Motion_");
const QString IndexPageName = QStringLiteral("klubliste");

// ---------------------------------------------------------------- texts

QString Amount(double value) {
    return FloatToStrDec(value, 0);
}

// A price as typed: whole kroner without decimals, else with two.
QString Price(double value) {
    return FloatToStrDec(value, value == std::trunc(value) ? 0 : 2);
}

bool Engelsk() {
    return CurrentSystemData().Engelsk;
}

// The time of day of a date-time, in whole seconds.
qint64 SecondsOfDay(TDateTime value) {
    constexpr qint64 Day = 24 * 60 * 60;
    return ((std::llround(value * Day) % Day) + Day) % Day;
}

QString ClockText(TDateTime value, bool seconds) {
    const qint64 s = SecondsOfDay(value);
    QString text = IntToZeroStr(s / 3600, 2) + u':' + IntToZeroStr(s / 60 % 60, 2);
    if (seconds)
        text += u':' + IntToZeroStr(s % 60, 2);
    return text;
}

// A relay team's name is no person's: it stays as typed.
QString NavnText(const TDeltagerElement& deltager, bool stafet) {
    const QString navn = deltager.GetTrimmedString(DeltagerField::Navn);
    QString text = CurrentSystemData().UndladInternationaltNavn || stafet ? navn : FormatSurnameFirst(navn);
    if (const qint32 aargang = deltager.GetField(DeltagerField::Aargang)->GetAsInteger(); aargang != 0)
        text += QStringLiteral(", ") + IntStr(aargang);
    return text;
}

qint32 IntegerOf(const TDataElement& element, int fieldNo) {
    return element.GetField(fieldNo)->GetAsInteger();
}

bool IsLive(const TDataElement& element) {
    return !element.DeleteRequested && !element.Deleted;
}

// The round's weekday and start time; a fun run's start with its seconds. Empty without a time, or
// when the meet's schedule is unofficial.
QString TidText(const TOvelseInfo& info) {
    const TSystemData& data = CurrentSystemData();
    if (data.TidsskemaUofficielt || info.OvelseRn().GetField(OvelseRnField::DatoTid)->GetAsFloat() == 0)
        return {};
    if (data.Motionsloeb)
        return ClockText(info.GetTid(), true);
    return GetShortDayName(DateTimeToQDate(info.GetDato())) + u' ' + ClockText(info.GetTid(), false);
}

QString StatusText(const TResultatElement& resultat) {
    const TField* field = resultat.GetField(ResultatField::ResultatKode);
    const auto* resKode = dynamic_cast<const TResKodeField*>(field);
    const QString kode = resKode ? resKode->GetKode() : field->GetAsString();
    return IsKodeBlank(kode) ? QString() : FormatResKode(kode);
}

QString StarttidResultat(const TOvelseInfo& info, const TResultatElement& resultat) {
    if (const QString status = StatusText(resultat); !status.isEmpty())
        return status;
    const qint32 seedning = IntegerOf(resultat, ResultatField::Seedning);
    if (seedning == 0 || CurrentSystemData().Redid)
        return {};
    return FormatOvelseResultatNoWind(info, seedning);
}

// A fun run's finish as the time of day it was taken.
QString FinishText(qint32 resultat) {
    const qint64 packed = qint64(resultat) * 100;
    if (packed <= 0 || packed > std::numeric_limits<qint32>::max())
        return {};
    const QTime finish = TidToDateTime(static_cast<qint32>(packed));
    return finish.isValid() ? finish.toString(QStringLiteral("hh:mm:ss")) : QString();
}

QString ResultatText(const TOvelseInfo& info, const TResultatElement& resultat) {
    if (const QString status = StatusText(resultat); !status.isEmpty())
        return status;
    const qint32 mark = IntegerOf(resultat, ResultatField::Resultat);
    QString text;
    if (mark != 0)
        text = CurrentSystemData().Motionsloeb ? FinishText(mark) : FormatOvelseResultatNoWind(info, mark);
    if (text.isEmpty())
        return Engelsk() ? QStringLiteral("No result") : QStringLiteral("Intet resultat");
    if (info.HasVindmaaling() && !CurrentSystemData().Motionsloeb)
        text += QStringLiteral(" w:") + FormatVind(IntegerOf(resultat, ResultatField::Vind));
    if (const qint32 placering = IntegerOf(resultat, ResultatField::Placering); placering > 0)
        text += QStringLiteral("  (") + IntStr(placering) + u')';
    return text;
}

QString PRText(const TOvelseInfo& info, const TResultatElement& resultat) {
    const qint32 pr = IntegerOf(resultat, ResultatField::PersonligRekord);
    return pr == 0 || CurrentSystemData().Redid ? QString() : FormatOvelseResultatNoWind(info, pr);
}

// ---------------------------------------------------------------- printed columns

// The layout columns of the participant and entry lines; -1 where the list has none.
struct TLineColumns {
    int Startnummer;
    int Navn;
    int Klasse;
    int Ovelse;
    int Resultat;
    int Gebyr;
    int Tid;
    int Count; // columns the layout must have
};

constexpr TLineColumns StarttidColumns{0, 1, 2, 3, 4, 5, 6, 7};
constexpr TLineColumns ResultatColumns{0, 1, 2, 3, 4, 5, -1, 6};
constexpr TLineColumns MotionColumns{3, 0, 1, 2, 6, 5, 4, 7};

// The account lines: goods text and payment date, "I alt:" and quantities, amounts.
constexpr int TextColumn = 1;
constexpr int CountColumn = 4;
constexpr int AmountColumn = 5;
constexpr double PaymentTextIndent = 3; // cm right of the date
constexpr double PaymentTextGap = 0.2;  // cm before the amounts
constexpr double ContactIndent = 8;     // cm right of column 0
constexpr double ClosingTextWidth = 16; // cm
constexpr int RuleSize = 8;             // points of a rule's line

const TLineColumns& LineColumns(bool starttid) {
    if (CurrentSystemData().Motionsloeb)
        return MotionColumns;
    return starttid ? StarttidColumns : ResultatColumns;
}

// One club's statement laid onto a print engine, row by row.
class TStatementPrinter {
public:
    TStatementPrinter(TStdPrint& print, const TKlubStatement& statement, const TKlubUdskrift& job,
                      bool starttid)
        : print_(print)
        , s_(statement)
        , job_(job)
        , starttid_(starttid)
        , columns_(LineColumns(starttid)) {}

    void Lay() {
        Header();
        Participants();
        if (job_.UdskrivRegnskab) {
            Purchases();
            Payments();
            Balance();
        }
        Closing();
    }

private:
    double Left(int column) const {
        const TColumnFieldList& all = print_.Columns();
        return column >= 0 && column < static_cast<int>(all.size())
                   ? all[static_cast<std::size_t>(column)].GetLeft()
                   : 0;
    }

    // A text in a layout column, made smaller where it would not fit the column.
    void Column(int column, const QString& text) {
        if (column >= 0 && !text.isEmpty())
            print_.AddColumnField(TPrintSection::Body, column, row_, TFieldKind::FitText, text);
    }

    void BoldColumn(int column, const QString& text) {
        const TPrintFontScope saved(print_.LineFont());
        print_.LineFont().Style |= PrintFontStyle::Bold;
        Column(column, text);
    }

    void BoldText(const QString& text, double x) {
        const TPrintFontScope saved(print_.LineFont());
        print_.LineFont().Style |= PrintFontStyle::Bold;
        print_.AddBodyText(TPrintAlignment::Left, text, x, row_);
    }

    // A thin rule over the width of a layout column.
    void ColumnRule(int column) {
        const TColumnFieldList& all = print_.Columns();
        if (column < 0 || column >= static_cast<int>(all.size()))
            return;
        const TColumnField& field = all[static_cast<std::size_t>(column)];
        const TPrintFontScope saved(print_.LineFont());
        print_.LineFont().Size = RuleSize;
        print_.AddField(TPrintSection::Body, TPrintAlignment::Left, field.GetLeft(), row_, field.GetWidth(),
                        TFieldKind::HorizontalRule, RuleListHeading);
    }

    void SpaceBefore(double cm) { print_.GetLine(TPrintSection::Body, row_).SetSpaceBefore(cm); }

    void Header() {
        TPrintFont& font = print_.HeaderFont();
        const TPrintFontScope saved(font);
        const double x = Left(0);
        font.Name = print_.LineFont().Name;
        font.Style = PrintFontStyle::Bold;
        print_.AddHeaderText(TPrintAlignment::Left, s_.Navn, x, 2);
        if (!job_.UdskrivRegnskab || s_.KontaktPerson.isEmpty())
            return;
        font.Style = 0;
        print_.AddHeaderText(TPrintAlignment::Left, QStringLiteral("Kontaktperson"), x, 3);
        font.Style = PrintFontStyle::Italic;
        const QString lines[][2] = {
            {s_.KontaktPerson, s_.Telefon.isEmpty() ? QString() : "Tlf: " + s_.Telefon},
            {s_.Adresse.value(0), s_.Fax.isEmpty() ? QString() : "Fax: " + s_.Fax},
            {s_.Adresse.value(1), s_.Email},
            {s_.Adresse.value(2), {}},
            {s_.Adresse.value(3), {}}};
        double row = 4;
        for (const auto& [left, right] : lines) {
            if (!left.isEmpty())
                print_.AddHeaderText(TPrintAlignment::Left, left, x, row);
            if (!right.isEmpty())
                print_.AddHeaderText(TPrintAlignment::Left, right, x + ContactIndent, row);
            ++row;
        }
    }

    void Participants() {
        if (job_.UdskrivDeltagere) {
            for (const TKlubDeltager& deltager : s_.Deltagere) {
                if (row_ > 1)
                    SpaceBefore(0.15);
                Column(columns_.Startnummer, IntStr(deltager.Startnummer));
                Column(columns_.Navn, deltager.Navn);
                ++row_;
                for (const TKlubEntry& entry : deltager.Entries) {
                    Column(columns_.Klasse, entry.Klasse);
                    Column(columns_.Ovelse, entry.Ovelse);
                    Column(columns_.Resultat, entry.Resultat);
                    Column(columns_.Tid, entry.Tid);
                    if (entry.Gebyr != 0)
                        Column(columns_.Gebyr, Amount(entry.Gebyr));
                    ++row_;
                }
            }
        } else if (PrintsSubtotal(s_.Startgebyr)) {
            SpaceBefore(0.2);
            BoldText(QStringLiteral("DELTAGERGEBYR"), Left(0));
            ++row_;
        }
        Subtotal(s_.Startgebyr, s_.StarterMedGebyr);
    }

    void Purchases() {
        for (const TKlubKobGruppe& gruppe : s_.Grupper) {
            const double from = row_;
            SpaceBefore(0.3);
            if (!gruppe.Tekst.isEmpty()) {
                BoldText(gruppe.Tekst, Left(0));
                ++row_;
            }
            for (const TKlubKob& kob : gruppe.Kob) {
                Column(TextColumn, kob.Vare);
                Column(CountColumn, IntStr(kob.Antal) + QStringLiteral(" stk á ") + Price(kob.Pris));
                Column(AmountColumn, Amount(kob.Belob));
                ++row_;
            }
            Subtotal(gruppe.Belob, gruppe.Antal);
            print_.AddBlock(from, row_ - 1);
        }
    }

    void Payments() {
        SpaceBefore(0.3);
        BoldText(QStringLiteral("Indbetalinger"), Left(0));
        ++row_;
        const double x = Left(TextColumn);
        // The text ends before the amounts.
        const double width = std::max(Left(AmountColumn) - x - PaymentTextIndent - PaymentTextGap, 1.0);
        for (const TKlubBetaling& betaling : s_.Betalinger) {
            print_.AddBodyText(TPrintAlignment::Left, betaling.Dato, x, row_);
            print_.AddField(TPrintSection::Body, TPrintAlignment::Left, x + PaymentTextIndent, row_, width,
                            TFieldKind::FitText, betaling.Tekst);
            Column(AmountColumn, Amount(betaling.Belob));
            ++row_;
        }
        Subtotal(s_.Indbetalt, 0);
    }

    void Balance() {
        SpaceBefore(0.3);
        print_.AddBodyRule(RulePageHeader, row_);
        ++row_;
        BoldText(QStringLiteral("SALDO"), Left(0));
        BoldColumn(AmountColumn, Amount(s_.Saldo()));
        ++row_;
        print_.AddBodyRule(RulePageHeader, row_);
        ++row_;
    }

    void Closing() {
        const TSystemData& data = CurrentSystemData();
        const QString text = starttid_ ? data.KlublisteBundtekst1 : data.KlublisteBundtekst2;
        if (!TrimBlanks(text).isEmpty()) {
            SpaceBefore(0.3);
            print_.AddField(TPrintSection::Body, TPrintAlignment::Left, 0, row_, ClosingTextWidth,
                            TFieldKind::MultiLine, text);
            ++row_;
        }
        if (!starttid_ || !job_.UdskrivStartnumre)
            return;
        SpaceBefore(0.3);
        BoldText(Engelsk() ? QStringLiteral("Bib numbers") : QStringLiteral("Startnumre"), 0);
        ++row_;
        if (!s_.Startnumre.isEmpty()) {
            print_.AddField(TPrintSection::Body, TPrintAlignment::Left, 0, row_, ClosingTextWidth,
                            TFieldKind::MultiLine, s_.Startnumre);
            ++row_;
        }
    }

    // Fun runs print no subtotals, and a section without an amount none either.
    static bool PrintsSubtotal(double total) { return total != 0 && !CurrentSystemData().Motionsloeb; }

    void Subtotal(double total, int antal) {
        if (!PrintsSubtotal(total))
            return;
        SpaceBefore(0.1);
        const double rule = row_;
        ColumnRule(AmountColumn);
        ++row_;
        Column(CountColumn, antal > 0 ? QStringLiteral("I alt: ") + IntStr(antal) + QStringLiteral(" stk")
                                      : QStringLiteral("I alt:"));
        BoldColumn(AmountColumn, Amount(total));
        row_ = rule + 2;
        ColumnRule(AmountColumn);
        row_ = rule + 3;
    }

    TStdPrint& print_;
    const TKlubStatement& s_;
    const TKlubUdskrift& job_;
    bool starttid_;
    const TLineColumns& columns_;
    double row_ = 1;
};

// ---------------------------------------------------------------- web pages

QString Cell(const QString& cls, const QString& text) {
    return QStringLiteral("<td class=") + cls + u'>' +
           (text.isEmpty() ? QStringLiteral("&nbsp;") : HtmlEscape(text)) + QStringLiteral("</td>");
}

// A heading cell: <i>word</i>, or an empty one.
QString HeadCell(const QString& cls, const QString& word) {
    return QStringLiteral("<td class=") + cls + QStringLiteral("><i>") +
           (word.isEmpty() ? QStringLiteral("&nbsp;") : HtmlEscape(word)) + QStringLiteral("</i></td>");
}

// The participants table of a club page in one of its variants: the widths, the alignment of each cell
// (the class digit: 1 centred, 6 left, 8 right), the heading rows and what a row shows.
struct TPageTable {
    QString Widths;
    QString Digits;
    QStringList Heading1; // empty: no first heading row
    QStringList Heading2;
    // The cells of a participant's name row and of an entry row.
    std::function<QStringList(const TKlubDeltager&)> NavnRow;
    std::function<QStringList(const TKlubEntry&)> EntryRow;
};

QString FeeText(double gebyr) {
    return gebyr != 0 ? Amount(gebyr) : QString();
}

TPageTable MotionTable(bool starttid) {
    TPageTable table;
    table.Widths = QStringLiteral("<col width=178><col width=59><col width=145><col width=73><col width=73>"
                                  "<col width=40><col width=92>");
    table.Digits = QStringLiteral("6668888");
    table.Heading1 = {QStringLiteral("<td class=ol>&nbsp;</td>"),
                      QStringLiteral("<td class=ol>&nbsp;</td>"),
                      QStringLiteral("<td class=ol>&nbsp;</td>"),
                      HeadCell("or", QStringLiteral("Ryg")),
                      HeadCell("or", QStringLiteral("Start")),
                      QStringLiteral("<td class=or>&nbsp;</td>"),
                      starttid ? HeadCell("or", QStringLiteral("Første"))
                               : QStringLiteral("<td class=or>&nbsp;</td>")};
    table.Heading2 = {HeadCell("ol", QStringLiteral("Navn")),
                      HeadCell("ol", QStringLiteral("Klasse")),
                      HeadCell("ol", QStringLiteral("Disciplin")),
                      HeadCell("or", QStringLiteral("nummer")),
                      HeadCell("or", QStringLiteral("tid")),
                      HeadCell("or", QStringLiteral("#")),
                      starttid ? HeadCell("or", QStringLiteral("start"))
                               : QStringLiteral("<td class=or>Resultat</td>")};
    table.NavnRow = [](const TKlubDeltager& d) {
        return QStringList{d.Navn, {}, {}, IntStr(d.Startnummer), {}, {}, {}};
    };
    table.EntryRow = [](const TKlubEntry& e) {
        return QStringList{{}, e.Klasse, e.Ovelse, {}, e.Tid, FeeText(e.Gebyr), e.Resultat};
    };
    return table;
}

TPageTable StarttidTable() {
    const TSystemData& data = CurrentSystemData();
    TPageTable table;
    if (data.Redid)
        table.Widths =
            QStringLiteral("<col width=54><col width=203><col width=80><col width=174><col width=44>"
                           "<col width=25><col width=80>");
    else if (data.Oversattelse)
        table.Widths =
            QStringLiteral("<col width=54><col width=203><col width=40><col width=134><col width=69>"
                           "<col width=69><col width=91>");
    else
        table.Widths =
            QStringLiteral("<col width=54><col width=203><col width=40><col width=134><col width=84>"
                           "<col width=53><col width=92>");
    table.Digits = QStringLiteral("1666881");
    if (data.Oversattelse) {
        table.Heading2 = {HeadCell("oc", MeetText(TMeetText::TextStartNr)),
                          HeadCell("ol", MeetText(TMeetText::TextNavn)),
                          HeadCell("ol", MeetText(TMeetText::TextKlasse)),
                          HeadCell("ol", MeetText(TMeetText::TextOvelse)),
                          HeadCell("or", MeetText(TMeetText::TextSeedning)),
                          HeadCell("or", data.Redid ? QString() : MeetText(TMeetText::TextPR)),
                          HeadCell("oc", MeetText(TMeetText::TextStarttid))};
        // The translated list shows the personal record where the Danish one shows the fee.
        table.EntryRow = [](const TKlubEntry& e) {
            return QStringList{{}, {}, e.Klasse, e.Ovelse, e.Resultat, e.PR, e.Tid};
        };
    } else {
        table.Heading1 = {HeadCell("oc", {}),
                          HeadCell("ol", {}),
                          HeadCell("ol", {}),
                          HeadCell("ol", {}),
                          HeadCell("or", QStringLiteral("Tilmeldt")),
                          HeadCell("or", {}),
                          HeadCell("or", {})};
        table.Heading2 = {
            HeadCell("oc", QStringLiteral("Startnr")),  HeadCell("ol", QStringLiteral("Navn")),
            HeadCell("ol", QStringLiteral("Klasse")),   HeadCell("ol", QStringLiteral("Øvelse")),
            HeadCell("or", QStringLiteral("resultat")), HeadCell("or", QStringLiteral("Gebyr")),
            HeadCell("oc", QStringLiteral("Starttid"))};
        table.EntryRow = [](const TKlubEntry& e) {
            return QStringList{{}, {}, e.Klasse, e.Ovelse, e.Resultat, FeeText(e.Gebyr), e.Tid};
        };
    }
    table.NavnRow = [](const TKlubDeltager& d) {
        return QStringList{IntStr(d.Startnummer), d.Navn, {}, {}, {}, {}, {}};
    };
    return table;
}

TPageTable ResultatTable() {
    const TSystemData& data = CurrentSystemData();
    TPageTable table;
    const QStringList first = {
        HeadCell("oc", data.Oversattelse ? MeetText(TMeetText::TextStartNr) : "Startnr"),
        HeadCell("ol", data.Oversattelse ? MeetText(TMeetText::TextNavn) : "Navn"),
        HeadCell("ol", data.Oversattelse ? MeetText(TMeetText::TextKlasse) : "Klasse"),
        HeadCell("ol", data.Oversattelse ? MeetText(TMeetText::TextOvelse) : "Øvelse")};
    if (data.Oversattelse) {
        table.Widths =
            QStringLiteral("<col width=54><col width=218><col width=125><col width=138><col width=125>");
        table.Digits = QStringLiteral("16668");
        table.Heading2 = first + QStringList{HeadCell("or", QStringLiteral("Result"))};
        table.NavnRow = [](const TKlubDeltager& d) {
            return QStringList{IntStr(d.Startnummer), d.Navn, {}, {}, {}};
        };
        table.EntryRow = [](const TKlubEntry& e) {
            return QStringList{{}, {}, e.Klasse, e.Ovelse, e.Resultat};
        };
        return table;
    }
    table.Widths = QStringLiteral("<col width=54><col width=218><col width=40><col width=134><col width=50>"
                                  "<col width=164>");
    table.Digits = QStringLiteral("166668");
    table.Heading1 = {HeadCell("oc", {}), HeadCell("ol", {}), HeadCell("ol", {}),
                      HeadCell("ol", {}), HeadCell("or", {}), HeadCell("or", QStringLiteral("Resultat og"))};
    table.Heading2 = first + QStringList{HeadCell("ol", QStringLiteral("Gebyr")),
                                         HeadCell("or", QStringLiteral("placering"))};
    table.NavnRow = [](const TKlubDeltager& d) {
        return QStringList{IntStr(d.Startnummer), d.Navn, {}, {}, {}, {}};
    };
    table.EntryRow = [](const TKlubEntry& e) {
        return QStringList{{}, {}, e.Klasse, e.Ovelse, FeeText(e.Gebyr), e.Resultat};
    };
    return table;
}

TPageTable PageTable(bool starttid) {
    if (CurrentSystemData().Motionsloeb)
        return MotionTable(starttid);
    return starttid ? StarttidTable() : ResultatTable();
}

QString DataRow(const QString& shade, const QString& digits, const QStringList& cells) {
    QString row = QStringLiteral("<tr>");
    for (qsizetype i = 0; i < cells.size(); ++i)
        row += Cell(shade + digits.at(i), cells.at(i));
    return row + QStringLiteral("</tr>");
}

// The account tables: a blank 8 % cell, the text, and the amount right-aligned in 20 %.
const QString AccountTable =
    QStringLiteral("<table width=\"650\" cellpadding=\"0\" cellspacing=\"2\" border=\"0\">");
const QString AccountRow = QStringLiteral("<tr valign=\"top\">");

QString AccountCell(const QString& width, const QString& html, bool right = false) {
    return QStringLiteral("<td width=\"") + width + QStringLiteral("\" class=") +
           (right ? QStringLiteral("r1") : QStringLiteral("l1")) + u'>' +
           (html.isEmpty() ? QStringLiteral("&nbsp;") : html) + QStringLiteral("</td>");
}

QString Kr(double value) {
    return Amount(value) + QStringLiteral(" kr");
}

} // namespace

// ---------------------------------------------------------------- shared routines

QString StartnummerRanges(const std::vector<qint32>& startnumre) {
    std::vector<qint32> sorted;
    sorted.reserve(startnumre.size());
    std::copy_if(startnumre.begin(), startnumre.end(), std::back_inserter(sorted),
                 [](qint32 n) { return n > 0; });
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    QStringList ranges;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t last = i;
        while (last + 1 < sorted.size() && sorted[last + 1] == sorted[last] + 1)
            ++last;
        ranges.append(TInterval(sorted[i], sorted[last]).AsText());
        i = last + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

// ---------------------------------------------------------------- the job

// One run to web pages: the index page open from the start to the end, a page per club, and with the
// body-only setting the index put in front of every club page at the end.
class TKlubUdskrift::THtmlRun {
public:
    THtmlRun(TKlubUdskrift& job, bool starttid, const QString& prefix)
        : job_(job)
        , prefix_(SafeFileName(prefix))
        , table_(PageTable(starttid)) {
        const TSystemData& data = CurrentSystemData();
        const QString title =
            data.Oversattelse ? MeetText(TMeetText::TextKlubliste) : QStringLiteral("KLUBLISTE");
        index_ = std::make_unique<THtmlMaker>(PageFile(IndexPageName), title, false, &includes_);
        index_->WriteLn(QStringLiteral("<table class=rl cellpadding=0 cellspacing=2>"));
        index_->WriteLn(IndexWidths);
        index_->WriteLn(QStringLiteral("<tr>"));
        index_->WriteLn(QStringLiteral("<td class=or>&nbsp;</td>"));
        if (data.Oversattelse) {
            index_->WriteLn(HeadCell("ol", MeetText(TMeetText::TextKlub)));
            index_->WriteLn(HeadCell("oc", MeetText(TMeetText::TextDeltagere)));
            index_->WriteLn(HeadCell("oc", MeetText(TMeetText::TextStarter)));
        } else {
            index_->WriteLn(HeadCell("ol", QStringLiteral("Klub")));
            index_->WriteLn(HeadCell("oc", QStringLiteral("Deltagere / Stafet")));
            index_->WriteLn(HeadCell("oc", QStringLiteral("Starter / Stafet")));
        }
        index_->WriteLn(QStringLiteral("</tr>"));
    }

    void Klub(const TKlubStatement& s) {
        const bool bodyOnly = CurrentSystemData().OnlyHtmlBody;
        const QString name = prefix_ + IntStr(s.KlubNr);
        THtmlMaker page(PageFile(name), bodyOnly ? QString() : s.Navn, false, &includes_);
        if (bodyOnly) {
            page.WriteLn(QStringLiteral("<table class=h cellpadding=0 cellspacing=0>"));
            page.WriteLn(QStringLiteral("<tr><td class=c4>&nbsp;</td></tr>"));
            page.WriteLn(QStringLiteral("</table>"));
            page.WriteLn(QStringLiteral("<table class=h cellpadding=0 cellspacing=0>"));
            page.WriteLn(QStringLiteral("<tr><td class=l3><b>") + HtmlEscape(s.Navn) +
                         QStringLiteral("</b></td></tr>"));
            page.WriteLn(QStringLiteral("</table>"));
        }
        if (job_.UdskrivDeltagere)
            Participants(page, s);
        if (job_.UdskrivRegnskab)
            Account(page, s);
        page.Close();
        if (bodyOnly)
            pages_.push_back(page.FileName());

        const QString shade = klubber_ % 2 == 0 ? QStringLiteral("ko") : QStringLiteral("ka");
        const QString href =
            QString::fromLatin1(QUrl::toPercentEncoding(name.toLower() + QStringLiteral(".htm")));
        index_->WriteLn(QStringLiteral("<tr>"));
        index_->WriteLn(QStringLiteral("<td>&nbsp;</td>"));
        index_->WriteLn(QStringLiteral("<td class=") + shade + QStringLiteral("6><a href=\"") + href +
                        QStringLiteral("\">") + HtmlEscape(s.Navn) + QStringLiteral("</a></td>"));
        index_->WriteLn(Cell(shade + u'1', Pair(s.AntalDeltagere, s.AntalStafethold)));
        index_->WriteLn(Cell(shade + u'1', Pair(s.AntalStarter, s.AntalStafetStarter)));
        index_->WriteLn(QStringLiteral("<td>&nbsp;</td>"));
        index_->WriteLn(QStringLiteral("</tr>"));
        ++klubber_;
        deltagere_ += s.AntalDeltagere;
        stafethold_ += s.AntalStafethold;
        starter_ += s.AntalStarter;
        stafetStarter_ += s.AntalStafetStarter;
    }

    void Finish() {
        const TSystemData& data = CurrentSystemData();
        index_->WriteLn(QStringLiteral("</table>"));
        index_->WriteLn(
            QStringLiteral("<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" "
                           "height=\"10\" ><tr><td></td></tr></table>"));
        index_->WriteLn(QStringLiteral("<table class=rl cellpadding=0 cellspacing=2>"));
        index_->WriteLn(IndexWidths);
        index_->WriteLn(QStringLiteral("<tr>"));
        index_->WriteLn(QStringLiteral("<td>&nbsp;</td>"));
        const QString ialt = data.Oversattelse
                                 ? MeetText(TMeetText::TextIalt) + u' ' + IntStr(klubber_) + u' ' +
                                       MeetText(TMeetText::TextKlubber)
                                 : QStringLiteral("I alt ") + IntStr(klubber_) + QStringLiteral(" klubber");
        index_->WriteLn(QStringLiteral("<td class=ol><b>") + HtmlEscape(ialt) + QStringLiteral("</b></td>"));
        index_->WriteLn(QStringLiteral("<td class=oc><b>") + Pair(deltagere_, stafethold_) +
                        QStringLiteral("</b></td>"));
        index_->WriteLn(QStringLiteral("<td class=oc><b>") + Pair(starter_, stafetStarter_) +
                        QStringLiteral("</b></td>"));
        index_->WriteLn(QStringLiteral("</tr>"));
        index_->WriteLn(QStringLiteral("</table>"));
        index_->Close();
        if (data.OnlyHtmlBody)
            PutIndexInFront();
    }

private:
    inline static const QString IndexWidths =
        QStringLiteral("<col width=3><col width=227><col width=130><col width=130><col width=160>");

    static QString PageFile(const QString& name) {
        return PathJoin(CurrentStaevneDir(), name + StaevneManager->GetHtmlExt());
    }

    static QString Pair(int a, int b) { return IntStr(a) + QStringLiteral(" / ") + IntStr(b); }

    void Participants(THtmlMaker& page, const TKlubStatement& s) {
        page.WriteLn(QStringLiteral("<table class=rl cellpadding=0 cellspacing=2>"));
        page.WriteLn(table_.Widths);
        for (const QStringList* heading : {&table_.Heading1, &table_.Heading2}) {
            if (heading->isEmpty())
                continue;
            page.WriteLn(CurrentSystemData().Motionsloeb ? QStringLiteral("<tr>")
                                                         : QStringLiteral("<tr valign=\"top\">"));
            for (const QString& cell : *heading)
                page.WriteLn(cell);
            page.WriteLn(QStringLiteral("</tr>"));
        }
        int shade = 0;
        for (const TKlubDeltager& deltager : s.Deltagere) {
            const QString prefix = shade++ % 2 == 0 ? QStringLiteral("ko") : QStringLiteral("ka");
            page.WriteLn(DataRow(prefix, table_.Digits, table_.NavnRow(deltager)));
            for (const TKlubEntry& entry : deltager.Entries)
                page.WriteLn(DataRow(prefix, table_.Digits, table_.EntryRow(entry)));
        }
        page.WriteLn(QStringLiteral("</table>"));
    }

    static void Account(THtmlMaker& page, const TKlubStatement& s) {
        const QString blank = AccountCell(QStringLiteral("8%"), {});
        page.WriteLn(AccountTable);
        page.WriteLn(AccountRow + blank +
                     AccountCell(QStringLiteral("72%"), QStringLiteral("<b>Startgebyr</b>")) +
                     AccountCell(QStringLiteral("20%"), {}) + QStringLiteral("</tr>"));
        page.WriteLn(
            AccountRow + blank +
            AccountCell(QStringLiteral("72%"), QStringLiteral("Antal deltagere: %1, antal starter: %2, "
                                                              "heraf med gebyr: %3")
                                                   .arg(s.AntalDeltagere + s.AntalStafethold)
                                                   .arg(s.AntalStarter + s.AntalStafetStarter)
                                                   .arg(s.StarterMedGebyr)) +
            AccountCell(QStringLiteral("20%"), Kr(s.Startgebyr), true) + QStringLiteral("</tr>"));
        page.WriteLn(QStringLiteral("</table>"));

        page.WriteLn(AccountTable);
        for (const TKlubKobGruppe& gruppe : s.Grupper) {
            page.WriteLn(AccountRow + blank +
                         AccountCell(QStringLiteral("52%"), QStringLiteral("<b>") + HtmlEscape(gruppe.Tekst) +
                                                                QStringLiteral("</b>")) +
                         AccountCell(QStringLiteral("20%"), {}) + AccountCell(QStringLiteral("20%"), {}) +
                         QStringLiteral("</tr>"));
            for (const TKlubKob& kob : gruppe.Kob)
                page.WriteLn(AccountRow + blank + AccountCell(QStringLiteral("52%"), HtmlEscape(kob.Vare)) +
                             AccountCell(QStringLiteral("20%"),
                                         HtmlEscape(IntStr(kob.Antal) + QStringLiteral(" stk á ") +
                                                    Price(kob.Pris) + QStringLiteral(" kr")),
                                         true) +
                             AccountCell(QStringLiteral("20%"), Kr(kob.Belob), true) +
                             QStringLiteral("</tr>"));
        }
        page.WriteLn(QStringLiteral("</table>"));

        page.WriteLn(AccountTable);
        page.WriteLn(AccountRow + blank +
                     AccountCell(QStringLiteral("72%"), QStringLiteral("<b>Indbetalinger</b>")) +
                     AccountCell(QStringLiteral("20%"), {}) + QStringLiteral("</tr>"));
        for (const TKlubBetaling& betaling : s.Betalinger)
            page.WriteLn(AccountRow + blank +
                         AccountCell(QStringLiteral("72%"),
                                     HtmlEscape(betaling.Dato + QStringLiteral(" - ") + betaling.Tekst)) +
                         AccountCell(QStringLiteral("20%"), Kr(betaling.Belob), true) +
                         QStringLiteral("</tr>"));
        page.WriteLn(QStringLiteral("</table>"));

        page.WriteLn(AccountTable);
        page.WriteLn(AccountRow + blank + AccountCell(QStringLiteral("72%"), QStringLiteral("<b>SALDO</b>")) +
                     AccountCell(QStringLiteral("20%"),
                                 QStringLiteral("<b>") + Kr(s.Saldo()) + QStringLiteral("</b>"), true) +
                     QStringLiteral("</tr>"));
        page.WriteLn(QStringLiteral("</table>"));
    }

    // Every club page gets the index page's lines in front: the index is read once, each page once.
    void PutIndexInFront() {
        const QByteArray index = ReadAll(index_->FileName());
        for (const QString& fileName : pages_) {
            const QByteArray page = ReadAll(fileName);
            QSaveFile merged(fileName);
            if (!merged.open(QIODevice::WriteOnly) || merged.write(index) != index.size() ||
                merged.write(page) != page.size() || !merged.commit())
                throw EInOutError(
                    QStringLiteral("Siden %1 kunne ikke skrives: %2").arg(fileName, merged.errorString()));
        }
    }

    static QByteArray ReadAll(const QString& fileName) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            throw EInOutError(
                QStringLiteral("Siden %1 kunne ikke læses: %2").arg(fileName, file.errorString()));
        return file.readAll();
    }

    TKlubUdskrift& job_;
    QString prefix_;
    TPageTable table_;
    // Read once for the index and every club page.
    THtmlIncludes includes_;
    std::unique_ptr<THtmlMaker> index_;
    std::vector<QString> pages_;
    int klubber_ = 0;
    int deltagere_ = 0;
    int stafethold_ = 0;
    int starter_ = 0;
    int stafetStarter_ = 0;
};

TKlubUdskrift::TKlubUdskrift(QObject* owner)
    : owner_(owner) {}

TKlubUdskrift::~TKlubUdskrift() = default;

void TKlubUdskrift::Run(const QString& section, bool starttid, const QString& prefix, bool toHtml) {
    if (!KlubManager || !StaevneManager || !OvelseManager)
        throw Exception(QStringLiteral("Programmeringsfejl: klubudskriften har ingen klubber at skrive"));
    section_ = CurrentSystemData().Motionsloeb ? MotionPrefix + section : section;
    columnsReported_ = false;
    std::unique_ptr<THtmlRun> html;
    if (toHtml)
        html = std::make_unique<THtmlRun>(*this, starttid, prefix);
    for (TKlubElement* klub : Klubber) {
        if (!klub)
            continue;
        const TKlubStatement statement = Statement(*klub, starttid);
        if (html)
            html->Klub(statement);
        else
            PrintKlub(statement, starttid);
    }
    if (html)
        html->Finish();
}

TKlubStatement TKlubUdskrift::Statement(TKlubElement& klub, bool starttid) {
    if (!KlubManager || !OvelseManager)
        throw Exception(QStringLiteral("Programmeringsfejl: klubudskriften har ingen klubber at skrive"));
    TKlubManager& manager = *KlubManager;
    manager.SelectKlub(klub, Order);
    const QSet<QString> klasser(Klasser.begin(), Klasser.end());

    TKlubStatement s;
    s.KlubNr = IntegerOf(klub, KlubField::KlubNr);
    s.Navn = klub.GetTrimmedString(KlubField::Navn);
    s.KontaktPerson = klub.GetTrimmedString(KlubField::KontaktPerson);
    for (const int fieldNo :
         {KlubField::Adresse1, KlubField::Adresse2, KlubField::Adresse3, KlubField::Adresse4})
        s.Adresse.append(klub.GetTrimmedString(fieldNo));
    s.Telefon = klub.GetTrimmedString(KlubField::Telefon);
    s.Fax = klub.GetTrimmedString(KlubField::Fax);
    s.Email = klub.GetTrimmedString(KlubField::Email);

    // The entries by start number, in the order they were loaded.
    std::unordered_map<qint32, std::vector<int>> entries;
    for (int pos = 0; pos < manager.ResultatList().GetCount(); ++pos) {
        const TDataElement& resultat = *manager.ResultatList().GetElement(pos);
        if (IsLive(resultat))
            entries[IntegerOf(resultat, ResultatField::Startnummer)].push_back(pos);
    }

    std::vector<qint32> startnumre;
    for (int pos = 0; pos < manager.DeltagerList().GetCount(); ++pos) {
        const TDeltagerElement& deltager = manager.GetDeltager(pos);
        if (!IsLive(deltager))
            continue;
        TKlubDeltager row;
        row.Startnummer = IntegerOf(deltager, DeltagerField::Startnummer);
        row.Navn = deltager.GetTrimmedString(DeltagerField::Navn);
        startnumre.push_back(row.Startnummer);
        bool entered = false;
        std::vector<std::pair<QString, TKlubEntry>> sorted;
        for (const int at : entries[row.Startnummer]) {
            const TResultatElement& resultat = manager.GetResultat(at);
            const TOvelseInfo* info = OvelseManager->FindOvelseInfoByRecord(resultat);
            if (!info)
                continue;
            entered = true;
            if (!klasser.contains(info->Klasse().GetTrimmedString(KlasseField::Korttekst)))
                continue;
            TKlubEntry entry;
            entry.Info = info;
            entry.Klasse = info->GetKlasseKode();
            entry.Ovelse = info->GetOvelseText();
            entry.Gebyr = manager.CalcStartgebyr(info->OvelseRk());
            entry.Resultat = starttid ? StarttidResultat(*info, resultat) : ResultatText(*info, resultat);
            entry.Tid = starttid || CurrentSystemData().Motionsloeb ? TidText(*info) : QString();
            entry.PR = PRText(*info, resultat);
            entry.Stafet = info->Ovelse().IsStafetOvelse();
            sorted.emplace_back(info->GetKlasseSortKey(), std::move(entry));
        }
        if (entered && sorted.empty())
            continue;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        bool stafet = false;
        for (auto& [key, entry] : sorted) {
            stafet = stafet || entry.Stafet;
            ++(entry.Stafet ? s.AntalStafetStarter : s.AntalStarter);
            if (entry.Gebyr != 0)
                ++s.StarterMedGebyr;
            s.Startgebyr += entry.Gebyr;
            row.Entries.push_back(std::move(entry));
        }
        ++(stafet ? s.AntalStafethold : s.AntalDeltagere);
        row.Navn = NavnText(deltager, stafet || row.Navn.endsWith(u'%'));
        s.Deltagere.push_back(std::move(row));
    }
    s.Startnumre = StartnummerRanges(startnumre);

    std::map<qint32, TKlubKobGruppe> grupper;
    TVareManager* vareManager = manager.VareManager();
    for (int pos = 0; pos < manager.KlubkobList().GetCount(); ++pos) {
        const TKlubkobElement& klubkob = manager.GetKlubkob(pos);
        if (!IsLive(klubkob))
            continue;
        TKlubKob kob;
        kob.Antal = IntegerOf(klubkob, KlubkobField::Antal);
        kob.Belob = manager.CalcKlubkobBelob();
        const qint32 varenummer = IntegerOf(klubkob, KlubkobField::Varenummer);
        qint32 gruppe = 0;
        int found = -1;
        if (vareManager && vareManager->FindVare(IntStr(varenummer), found)) {
            const TVareElement& vare = *vareManager->CurrentVare();
            kob.Vare = vare.GetTrimmedString(VareField::Korttekst);
            kob.Pris = vare.GetField(VareField::Pris)->GetAsFloat();
            gruppe = IntegerOf(vare, VareField::Gruppe);
        } else {
            kob.Vare = QStringLiteral("Vare ") + IntStr(varenummer);
        }
        TKlubKobGruppe& into = grupper[gruppe];
        into.Gruppe = gruppe;
        into.Antal += kob.Antal;
        into.Belob += kob.Belob;
        into.Kob.push_back(std::move(kob));
        s.Kob += into.Kob.back().Belob;
    }
    for (auto& [nummer, gruppe] : grupper) {
        int found = -1;
        if (vareManager && vareManager->FindGruppe(IntStr(nummer), found))
            gruppe.Tekst = vareManager->CurrentGruppe()->GetTrimmedString(GruppeField::Tekst);
        s.Grupper.push_back(std::move(gruppe));
    }

    for (int pos = 0; pos < manager.BetalingList().GetCount(); ++pos) {
        const TBetalingElement& betaling = manager.GetBetaling(pos);
        if (!IsLive(betaling))
            continue;
        TKlubBetaling row;
        row.Dato = TrimBlanks(betaling.GetField(BetalingField::Dato)->GetAsString());
        row.Tekst = betaling.GetTrimmedString(BetalingField::Tekst);
        row.Belob = betaling.GetField(BetalingField::Belob)->GetAsFloat();
        s.Indbetalt += row.Belob;
        s.Betalinger.push_back(std::move(row));
    }
    return s;
}

void TKlubUdskrift::PrintKlub(const TKlubStatement& statement, bool starttid) {
    TStdPrint print(owner_);
    print.LoadLayout(section_, StaevneManager->GetRptFileName());
    CheckColumns(print, LineColumns(starttid).Count);
    print.Title = statement.Navn;
    print.SetPreview(!UdskrivTilPrinter);
    TStatementPrinter(print, statement, *this, starttid).Lay();
    print.Print();
}

void TKlubUdskrift::CheckColumns(TStdPrint& print, int needed) {
    const int has = static_cast<int>(print.Columns().size());
    if (has >= needed || columnsReported_)
        return;
    columnsReported_ = true;
    ShowInformation(owner_,
                    QStringLiteral("Sektionen %1 i rapportfilen %2 har %3 kolonner, men klublisten bruger "
                                   "%4: tekster til de manglende kolonner udskrives ikke.")
                        .arg(section_, StaevneManager->GetRptFileName())
                        .arg(has)
                        .arg(needed));
}
