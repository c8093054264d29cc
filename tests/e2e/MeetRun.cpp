#include "MeetRun.h"
#include "support/PrinterToPdf.h"

#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Tablist.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "server/HttpServerForm.h"
#include "storage/DBFieldDate.h"
#include "ui/Launchers.h"
#include "ui/WidgetKitDato.h"
#include "ui/board/ResultatInfoPages.h"
#include "ui/eltid/EltidReaderForm.h"
#include "ui/klub/EditKlub.h"
#include "ui/klub/EditKlubDeltager.h"
#include "ui/klub/EditKlubImport.h"
#include "ui/ovelse/EditOvelse.h"
#include "ui/ovelse/OvelProp.h"
#include "ui/ovelse/Seedning.h"
#include "ui/ovelse/StafetNavne.h"
#include "ui/staevne/EditStaevneData.h"
#include "ui/staevne/ImportStaevne.h"
#include "ui/staevne/RetOvelseData.h"
#include "ui/staevne/StaevneDef.h"
#include "ui/staevne/ValgStaevne2.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// Types the text into the edit over what it held, as the user does.
void TypeInto(QWidget* edit, const QString& text) {
    edit->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        line->selectAll();
    QTest::keyClicks(edit, text);
}

// Selects the lines of a tab list whose columns begin with the texts given (and no other line).
void SelectLines(TTabListbox* list, const std::function<bool(const QStringList&)>& wanted) {
    list->clearSelection();
    for (int row = 0; row < list->count(); ++row)
        if (wanted(list->item(row)->text().split(u'\t')))
            list->item(row)->setSelected(true);
}
void SelectCodes(TTabListbox* list, const QStringList& codes) {
    SelectLines(list, [&codes](const QStringList& columns) { return codes.contains(columns.value(0)); });
}
QStringList Lines(const TTabListbox* list) {
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

const QStringList YouthClasses = {"P12", "P14", "P16", "D12", "D14", "D16"};

} // namespace

// ---------------------------------------------------------------- helpers

TOvelseInfo& TMeetRun::Round(const QString& klasse, const QString& ovelse, const QString& runde) {
    TOvelseInfo* info = OvelseManager->FindOvelseInfo(klasse, ovelse, runde);
    if (!info)
        throw std::runtime_error(("no round " + klasse + u' ' + ovelse + u' ' + runde).toStdString());
    return *info;
}

QString TMeetRun::TypedName(int n) {
    return QStringLiteral("Viking %1").arg(n, 2, 10, QLatin1Char('0'));
}

// ---------------------------------------------------------------- the wizard

void TMeetRun::MakeMeetWithTheWizard() {
    QStringList side3;
    Through<TStaevneDefForm>(Window().NytStaevneButton, [&](TStaevneDefForm& form) {
        TypeInto(form.StaevneNavn, MeetName);
        TypeInto(form.Stadion, QStringLiteral("Østerbro Stadion"));
        TypeInto(form.Arrangor, QStringLiteral("Sparta"));
        form.Dato->setDate(Day1());
        form.Starttidspunkt->setTime(QTime(10, 0));
        Picture(form, "02-wizard-front");
        form.NaesteButton->click();

        // Side 1: the eight classes.
        form.Ungdom->click();
        SelectCodes(form.StandardKlasser, QStringList(YouthClasses) << "K"
                                                                    << "M");
        form.OpretKlasser->click();
        form.NaesteButton->click();

        // Side 2: the events, by groups of classes.
        const auto events = [&form](const QStringList& klasser, const QStringList& ovelser) {
            SelectCodes(form.KlasseListbox2, klasser);
            SelectCodes(form.StandardOvelser, ovelser);
            EXPECT_EQ(form.StandardOvelser->selectedItems().size(), ovelser.size())
                << klasser.join(u',').toStdString() << ": "
                << Lines(form.StandardOvelser).join(u';').toStdString();
            form.OpretOvelser->click();
        };
        events({"M"}, {"100", "HØ", "LÆ", "4X100"});
        events({"K"}, {"100", "100H", "HØ", "7K"});
        events(YouthClasses, {"HØ"});
        Picture(form, "03-wizard-events");
        form.NaesteButton->click();

        // Side 3: the men's 100 m in heats and final.
        SelectLines(form.OvelserListbox, [](const QStringList& columns) {
            return columns.value(0) == "M" && columns.value(1) == "100";
        });
        dialogs_->Answer<TRetOvelseDataForm>([](TRetOvelseDataForm& dialog) {
            dialog.Runder->findChildren<QRadioButton*>().at(2)->click(); // "Indledende - finale"
            dialog.OKButton->click();
            return mrNone;
        });
        form.RetButton->click();
        side3 = Lines(form.OvelserListbox);
        Picture(form, "04-wizard-rounds");
        form.UdfoerButton->click();
    });
    ASSERT_EQ(Shown(), QStringList());
    ASSERT_TRUE(StaevneManager && StaevneManager->GetCurrentIndex() >= 0);
    EXPECT_EQ(Window().StaevneLabel->text(),
              MeetName + " (" + QString::number(StaevneManager->GetCurrentStID()) + ")");
    QStringList runder;
    for (const auto& [key, info] : OvelseManager->KlasseIndex())
        runder << info->GetKlasseKode() + u' ' + info->GetOvelseKode() + u' ' + info->GetRunde();
    EXPECT_TRUE(runder.contains("M 100 I") && runder.contains("M 100 F") && runder.contains("M 4X100 F") &&
                runder.contains("K 7K F") && runder.contains("D16 HØ F"))
        << runder.join(u',').toStdString() << "\n"
        << side3.join(u'\n').toStdString();
    Picture(Window(), "05-main-meet");
}

// ---------------------------------------------------------------- clubs and athletes

namespace {

using C = TDeltagerGridRules;

void GotoCell(TExtStringGrid& grid, int col, int row) {
    grid.setFocus();
    Settle();
    grid.GotoCell(col, row, true);
    Settle();
}
// Types the text into the current cell (over what it held), then presses Enter.
void EnterCell(const QString& text) {
    if (!QApplication::focusWidget()) {
        ADD_FAILURE() << "no control has the focus for \"" << text.toStdString() << '"';
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        edit->selectAll();
        if (text.isEmpty() && edit->hasSelectedText())
            QTest::keyClick(edit, Qt::Key_Backspace);
    }
    QTest::keyClicks(QApplication::focusWidget(), text);
    Press(Qt::Key_Return);
}
void EnterCells(const QStringList& texts) {
    for (const QString& text : texts)
        EnterCell(text);
}

QString Hundredths(int value) {
    return QStringLiteral("%1.%2").arg(value / 100).arg(value % 100, 2, 10, QLatin1Char('0'));
}

// A club's entry list as an organiser copies it from a spreadsheet: name, year, class, event, mark, and
// the club with its contact on the first line; a further entry on a line of its own.
QString EntryList(const QString& klub, const QString& kontakt, const QStringList& athletes) {
    QString text;
    for (qsizetype i = 0; i < athletes.size(); ++i) {
        text += athletes[i];
        if (i == 0)
            text += QStringLiteral("\t\t\t\t") + klub + u'\t' + kontakt;
        text += QStringLiteral("\r\n");
    }
    return text;
}

} // namespace

void TMeetRun::EnterClubsAndAthletes() {
    Through<TEditKlubForm>(Window().KlubberButton, [&](TEditKlubForm& form) {
        // "Vikingerne", its twenty men typed cell by cell with auto-tab: 100 m, and high or long jump.
        form.NyKlubTool->trigger();
        Settle();
        TypeInto(form.KlubNavnEdit, QStringLiteral("Vikingerne"));
        form.TabulatorTool->trigger();
        TExtStringGrid& grid = *form.DeltagerGrid;
        GotoCell(grid, C::StartnummerCol, 1);
        EnterCell("1");
        for (int n = 1; n <= TypedAthletes; ++n) {
            ASSERT_EQ(grid.Col(), int(C::NavnCol)) << n;
            EnterCells({TypedName(n), QString::number(1990 + n % 10), "M", "100",
                        QStringLiteral("11,%1").arg(n, 2, 10, QLatin1Char('0')), "", ""});
            EnterCells({n <= TypedAthletes / 2 ? "HØ" : "LÆ", "", "", ""});
            EnterCell("");
        }
        // The club's relay team, an entry of its own.
        EnterCells({RelayTeam, "", "M", "4X100", "", "", ""});
        EXPECT_EQ(Shown(), QStringList());
        form.GemKlubTool->trigger();
        Settle();
        ASSERT_EQ(Shown(), QStringList());
        Picture(form, "06-clubs-typed");

        // Three clubs pasted: women with 100 m (the first eight also the heptathlon), youth in long jump.
        form.AutoTilmeldTool->trigger();
        Settle();
        TAutoTilmeldPanel& panel = *form.AutoTilmeldPanel;
        const auto paste = [&](const QString& text) {
            panel.PageControl->setCurrentWidget(panel.RaaDataSide);
            Settle();
            QApplication::clipboard()->setText(text);
            panel.RichEdit->setFocus();
            Press(Qt::Key_V, Qt::ControlModifier);
            panel.PageControl->setCurrentWidget(panel.OpdaterDataside);
            Settle();
            ASSERT_TRUE(panel.AutoOpdKlubDeltagere->isEnabled()) << Shown().join(u'\n').toStdString();
            Recorder().QueueAnswer(mrYes);
            panel.AutoOpdKlubDeltagere->click();
            Settle();
            form.GemKlubTool->trigger();
            Settle();
        };
        QStringList women;
        for (int n = 1; n <= PastedWomen; ++n) {
            women << QStringLiteral("Amager %1\t%2\tK\t100\t12,%3")
                         .arg(n, 2, 10, QLatin1Char('0'))
                         .arg(1995 + n % 8)
                         .arg(n, 2, 10, QLatin1Char('0'));
            if (n <= Heptathletes)
                women << QStringLiteral("-\t\t\t100H") << QStringLiteral("-\t\t\tHØ")
                      << QStringLiteral("-\t\t\t7K");
        }
        paste(EntryList("Amager AK", "Eva Holm", women));
        Picture(form, "07-clubs-pasted");
        for (const auto& [klub, first] :
             {std::pair(QStringLiteral("Odense"), 0), std::pair(QStringLiteral("Sparta"), 1)}) {
            QStringList youth;
            for (int n = 1; n <= PastedYouth; ++n)
                youth << QStringLiteral("%1 %2\t%3\t%4\tHØ\t1,%5")
                             .arg(klub)
                             .arg(n, 2, 10, QLatin1Char('0'))
                             .arg(2010 + n % 4)
                             .arg(YouthClasses[(n + first) % YouthClasses.size()])
                             .arg(n, 2, 10, QLatin1Char('0'));
            paste(EntryList(klub, "Bo Berg", youth));
        }
        form.done(mrOk);
    });
    const QStringList shown = Shown();
    EXPECT_TRUE(shown.size() <= 3) << shown.join(u'\n').toStdString();
}

void TMeetRun::ImportRegistrationFile() {
    QByteArray file;
    for (int n = 1; n <= FileAthletes; ++n)
        file += QStringLiteral("%1;Hvid %2;2011;%3;HØ;;Hvidovre;%4;;%5\r\n")
                    .arg(900 + n)
                    .arg(n)
                    .arg(n % 2 ? "K" : "M")
                    .arg(n % 2 ? "P14" : "D14")
                    .arg(120 + n)
                    .toUtf8();
    WriteFile(Path("Deltagere.csv"), file);
    QKeyEvent reveal(QEvent::KeyPress, Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(&Window(), &reveal);
    ASSERT_TRUE(Window().ImportButton->isVisible() && Window().ImportButton->isEnabled());
    Window().ImportButton->click();
    Settle();
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().contains(QString::number(FileAthletes))) << shown.front().toStdString();
}

void TMeetRun::ChangeTheSettings() {
    Through<TEditStaevneDataForm>(Window().StaevneDataButton, [](TEditStaevneDataForm& form) {
        TypeInto(form.Overskrift2, QStringLiteral("Åbent stævne for alle"));
        if (!form.EltidDirekte->isChecked())
            form.EltidDirekte->click();
        // The next start opens this meet.
        if (!form.VaelgSidsteStaevne->isChecked())
            form.VaelgSidsteStaevne->click();
        Picture(form, "08-settings");
        form.OKButton->click();
    });
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(StaevneManager->SystemData().Overskrift2, "Åbent stævne for alle");
    EXPECT_TRUE(StaevneManager->Registry().EltidDirekte);
}

// ---------------------------------------------------------------- the event editor

void TMeetRun::InEditor(const std::function<void(TEditOvelseForm&)>& work) {
    ReopenOvelseEditor = false;
    Through<TEditOvelseForm>(Window().OvelserButton, [&work](TEditOvelseForm& form) {
        Settle();
        work(form);
        form.done(mrOk);
    });
}

void TMeetRun::ClickRound(TEditOvelseForm& form, const TOvelseInfo& round) {
    if (form.PageControl->currentWidget() != form.OversigtPage) {
        form.PageControl->setCurrentWidget(form.OversigtPage);
        Settle();
    }
    const auto cell = form.Oversigt().Find(&round);
    ASSERT_TRUE(cell.has_value()) << round.GetKlasseOvelseKode().toStdString();
    form.OversigtGrid->setFocus();
    form.OversigtGrid->GotoCell(cell->first, cell->second, true);
    Settle();
}

void TMeetRun::OpenResultPage(TEditOvelseForm& form, const TOvelseInfo& round) {
    ClickRound(form, round);
    form.OpenOvelsePage();
    Settle();
    ASSERT_EQ(form.PageControl->currentWidget(), form.OvelsePage);
    ASSERT_EQ(form.Manager().OvelseInfo(), &round);
}

void TMeetRun::TypeCell(TEditOvelseForm& form, TResultColumn kind, int row, const QString& text) {
    const int col = form.OvelseGridCol(kind);
    ASSERT_GE(col, 0) << int(kind);
    form.OvelseGrid->setFocus();
    form.OvelseGrid->GotoCell(col, row, true);
    Settle();
    for (const QChar ch : text) {
        QTest::keyClicks(QApplication::focusWidget(), QString(ch));
        Settle();
    }
    Press(Qt::Key_Down);
}

namespace {

// The grid row holding the start number; 0 when none does.
int GridRowOf(const TEditOvelseForm& form, qint32 startnummer) {
    for (int row = 1; row < form.OvelseGrid->RowCount(); ++row)
        if (const TResultat* resultat = form.RowAt(row); resultat && resultat->Startnummer == startnummer)
            return row;
    return 0;
}

QString Key(const TOvelseInfo& round, qint32 startnummer) {
    return round.GetKlasseKode() + u' ' + round.GetOvelseKode() + u' ' + round.GetRunde() + u' ' +
           QString::number(startnummer);
}

} // namespace

void TMeetRun::TypeHighJump(TEditOvelseForm& form, TOvelseInfo& round, int base) {
    OpenResultPage(form, round);
    form.ResultatSerieToolButton->trigger();
    Settle();
    ASSERT_TRUE(form.SerieMode());
    for (int row = 1; row <= form.Manager().Count(); ++row) {
        const qint32 nr = form.Manager().GetResultat(row - 1)->Startnummer;
        const int height = base + nr % 20;
        form.SerieGrid->setFocus();
        form.SerieGrid->GotoCell(TEditOvelseForm::FirstAttemptCol, row, true);
        Settle();
        // Cleared at the first try; the empty attempt after it ends the row.
        for (const QChar ch : QString::number(height) + u'1') {
            QTest::keyClicks(QApplication::focusWidget(), QString(ch));
            Settle();
        }
        Press(Qt::Key_Right);
        Press(Qt::Key_Right);
        entered_[Key(round, nr)] = height;
    }
    Picture(form, "15-editor-high-jump-series");
    form.ResultatSerieToolButton->trigger();
    Settle();
    EXPECT_FALSE(form.SerieMode());
}

void TMeetRun::ScheduleAndQualifyingRules() {
    InEditor([&](TEditOvelseForm& form) {
        Picture(form, "09-editor-overview");
        // The rounds without athletes are shown too: the final has none yet.
        if (!form.VisNulOvelser->isChecked())
            form.VisNulOvelser->click();
        Settle();
        // The final on Sunday afternoon.
        ClickRound(form, Round("M", "100", "F"));
        dialogs_->Answer<TOvelsePropertyForm>([](TOvelsePropertyForm& dialog) {
            dialog.OvelseDato->setDate(Day2());
            dialog.OvelseStarttid->setTime(QTime(15, 0));
            Picture(dialog, "10-event-properties");
            dialog.OKBitBtn->click();
            return mrNone;
        });
        form.OvelseEgenskaberToolButton->trigger();
        Settle();
        // The women's hurdles and high jump are the heptathlon's first two events, its total the third.
        int nr = 0;
        for (const char* ovelse : {"100H", "HØ", "7K"}) {
            ClickRound(form, Round("K", ovelse));
            dialogs_->Answer<TOvelsePropertyForm>([&nr](TOvelsePropertyForm& dialog) {
                TypeInto(dialog.MKOvelse, "7K");
                dialog.MKOvelseNr->SetValue(++nr);
                // The total is the sum of the events' points, calculated as they are read.
                if (nr == 3 && !dialog.AutoCalcPoint->isChecked())
                    dialog.AutoCalcPoint->click();
                dialog.OKBitBtn->click();
                return mrNone;
            });
            form.OvelseEgenskaberToolButton->trigger();
            Settle();
        }
        // Two of each heat and the two fastest others go on.
        ClickRound(form, Round("M", "100", "I"));
        dialogs_->Answer<TOvelsePropertyForm>([](TOvelsePropertyForm& dialog) {
            dialog.AntalViderePlac->SetValue(2);
            dialog.AntalVidereIalt->SetValue(Finalists);
            dialog.OKBitBtn->click();
            return mrNone;
        });
        form.OvelseEgenskaberToolButton->trigger();
        Settle();
    });
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(DateTimeToQDate(Round("M", "100", "F").GetDato()), Day2());
    EXPECT_EQ(DateTimeToQDate(Round("M", "100", "I").GetDato()), Day1());
    EXPECT_EQ(Round("M", "100", "F").GetDatoTidText(), "Søn  kl. 15.00");
    EXPECT_EQ(Round("M", "100", "I").GetDatoTidText(), "Lør  kl. 10.00");
}

void TMeetRun::SeedTheHeats() {
    InEditor([&](TEditOvelseForm& form) {
        ClickRound(form, Round("M", "100", "I"));
        dialogs_->Answer<TSeedningForm>([](TSeedningForm& dialog) {
            dialog.MaxPrHeat->SetValue(Finalists);
            Picture(dialog, "11-seeding");
            dialog.OKButton->click();
            return mrNone;
        });
        form.SeedningToolButton->trigger();
        Settle();
        // The field events and the heptathlon's events in the order of their own settings.
        for (const auto& [klasse, ovelse] :
             {std::pair("M", "HØ"), std::pair("M", "LÆ"), std::pair("K", "100H"), std::pair("K", "HØ"),
              std::pair("M", "4X100")}) {
            ClickRound(form, Round(klasse, ovelse));
            dialogs_->Answer<TSeedningForm>([](TSeedningForm& dialog) {
                dialog.OvelseStandard->setChecked(true);
                dialog.OKButton->click();
                return mrNone;
            });
            form.SeedningToolButton->trigger();
            Settle();
        }
    });
    EXPECT_EQ(Shown(), QStringList());
    TResultatManager heats;
    heats.LoadOvelse(&Round("M", "100", "I"));
    ASSERT_EQ(heats.Count(), TypedAthletes);
    EXPECT_EQ(heats.GetHeatCount(), 3);
    for (int i = 0; i < heats.Count(); ++i)
        EXPECT_GT(heats.GetResultat(i)->Bane, 0) << heats.GetResultat(i)->Startnummer;
}

namespace {

// The print options of the editor as the user ticks them: printer and HTML, no preview.
void ToPrinterAndHtml(TEditOvelseForm& form) {
    for (QCheckBox* box :
         {form.UdskrivTilSkaerm, form.UdskrivTilPrinter, form.HtmlUdskrift, form.HTMLNavnPrOvelse})
        if (box->isChecked() != (box == form.UdskrivTilPrinter || box == form.HtmlUdskrift))
            box->click();
    Settle();
}

QString PageText(const QString& fileName) {
    return QString::fromLatin1(ReadFile(fileName));
}

} // namespace

void TMeetRun::PrintStartLists() {
    QString printed;
    InEditor([&](TEditOvelseForm& form) {
        OpenResultPage(form, Round("M", "100", "I"));
        ToPrinterAndHtml(form);
        const TPrinterToPdf pdf;
        ASSERT_TRUE(form.StartlisteToolButton->isEnabled());
        form.StartlisteToolButton->trigger();
        Settle();
        printed = PdfText(pdf.FileName());
    });
    EXPECT_EQ(Shown(), QStringList());
    const QString page = PageText(Path(MeetName + "/startliste.htm"));
    // Every heat runner on the printed list and on the page, surname first, with his heat's lane.
    for (int n = 1; n <= TypedAthletes; ++n) {
        const QString navn = QStringLiteral("%1 Viking").arg(n, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(printed.count(navn), 1) << navn.toStdString() << "\n" << printed.toStdString();
        EXPECT_EQ(page.count(navn), 1) << navn.toStdString();
    }
}

void TMeetRun::TypeHeatResultsAndReadTheTimingFile() {
    // The timing system's folder, and heat 3 as it writes it.
    const QString folder = Path("timing");
    QDir().mkpath(folder);
    WriteFile(Path("Omega-0.path"), (folder + "\r\n").toUtf8());
    InEditor([&](TEditOvelseForm& form) {
        TOvelseInfo& heats = Round("M", "100", "I");
        OpenResultPage(form, heats);
        QList<qint32> typed;
        QByteArray timing =
            "OMEGA TIMING - 100m Herrer\r\nHeat 3\r\n\r\nRank La  Bib    Name                     "
            "Time\r\n--------------------------------------------------\r\n";
        std::vector<std::pair<int, const TResultat*>> heat3;
        for (int i = 0; i < form.Manager().Count(); ++i) {
            const TResultat* row = form.Manager().GetResultat(i);
            if (row->Heat == 3)
                heat3.emplace_back(HeatTime(row->Startnummer), row);
            else
                typed << row->Startnummer;
        }
        std::sort(heat3.begin(), heat3.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        int rank = 0;
        for (const auto& [time, row] : heat3)
            timing += QStringLiteral("%1   %2  %3    %4 %5\r\n")
                          .arg(++rank, 3)
                          .arg(row->Bane)
                          .arg(row->Startnummer, 3)
                          .arg(row->Navn, -24)
                          .arg(Hundredths(time), 6)
                          .toLatin1();
        timing += "\r\nWind speed : +1.2 m/s\r\nOfficial results\r\n";

        for (const qint32 nr : typed) {
            TypeCell(form, TResultColumn::Resultat, GridRowOf(form, nr), Hundredths(HeatTime(nr)));
            entered_[Key(heats, nr)] = HeatTime(nr);
        }
        Picture(form, "12-editor-results-typed");

        // A double click on a row of heat 3: the timing reader takes the heat's file.
        ASSERT_FALSE(heat3.empty());
        form.OvelseGrid->setFocus();
        form.OvelseGrid->GotoCell(form.OvelseGridCol(TResultColumn::Navn),
                                  GridRowOf(form, heat3.front().second->Startnummer), true);
        Settle();
        bool read = false;
        dialogs_->Answer<TEltidReaderForm>([&](TEltidReaderForm& reader) {
            ShowActive(reader);
            // The timing system lists the heat as it is set up, and writes its times when it has run.
            WriteFile(folder + "/HEAT3.COL", {});
            reader.OpdaterButton->click();
            Settle();
            const QList<QListWidgetItem*> found = reader.FileListbox->findItems("HEAT3", Qt::MatchExactly);
            EXPECT_EQ(found.size(), 1)
                << reader.EltidSystem->currentText().toStdString() << " "
                << reader.FolderLabel->text().toStdString() << " " << reader.FileListbox->count();
            if (found.isEmpty())
                return mrCancel;
            reader.FileListbox->setCurrentItem(found.front());
            reader.VaelgButton->click();
            WriteFile(folder + "/HEAT3.CL", timing);
            read = QTest::qWaitFor([&] { return reader.Godkend->isEnabled(); }, 10000);
            EXPECT_TRUE(read);
            Picture(reader, "13-timing-reader");
            reader.Godkend->click();
            return mrNone;
        });
        form.EltidClick();
        Settle();
        EXPECT_TRUE(read);
        for (const auto& [time, row] : heat3)
            entered_[Key(heats, row->Startnummer)] = time;
        form.GemToolButton->trigger();
        Settle();
    });
    EXPECT_EQ(Shown(), QStringList());
}

void TMeetRun::QualifyAndTransferToTheFinal() {
    InEditor([&](TEditOvelseForm& form) {
        OpenResultPage(form, Round("M", "100", "I"));
        form.VidereDel1ToolButton->trigger();
        Settle();
        int qualified = 0;
        for (int i = 0; i < form.Manager().Count(); ++i)
            qualified += form.Manager().GetResultat(i)->VK.compare("F", Qt::CaseInsensitive) == 0;
        EXPECT_EQ(qualified, Finalists);
        form.GemToolButton->trigger();
        Settle();

        Recorder().QueueAnswer(mrYes);
        dialogs_->Answer<TSeedningForm>([](TSeedningForm& dialog) {
            dialog.OKButton->click();
            return mrNone;
        });
        form.VidereDel2ToolButton->trigger();
        Settle();
        TOvelseInfo& final = Round("M", "100", "F");
        ASSERT_EQ(form.Manager().OvelseInfo(), &final);
        ASSERT_EQ(form.Manager().Count(), Finalists);
        QList<qint32> finalists;
        for (int i = 0; i < form.Manager().Count(); ++i)
            finalists << form.Manager().GetResultat(i)->Startnummer;
        for (const qint32 nr : finalists) {
            TypeCell(form, TResultColumn::Resultat, GridRowOf(form, nr), Hundredths(FinalTime(nr)));
            entered_[Key(final, nr)] = FinalTime(nr);
        }
        Picture(form, "14-editor-final");
        form.GemToolButton->trigger();
        Settle();
    });
    EXPECT_EQ(Shown(), QStringList({"Flyt alle med viderekode F til 100 m finale?"}));
}

void TMeetRun::TypeFieldAndCombinedEventResults() {
    InEditor([&](TEditOvelseForm& form) {
        // The typed club's high jump, one clearance each, attempt by attempt in series mode.
        TypeHighJump(form, Round("M", "HØ"), 150);
        // The relay: its time typed, its runners chosen among the club's athletes.
        TOvelseInfo& relay = Round("M", "4X100");
        OpenResultPage(form, relay);
        ASSERT_EQ(form.Manager().Count(), 1);
        const qint32 team = form.Manager().GetResultat(0)->Startnummer;
        TypeCell(form, TResultColumn::Resultat, 1, "42.50");
        entered_[Key(relay, team)] = 4250;
        form.OvelseGrid->GotoCell(form.OvelseGridCol(TResultColumn::Navn), 1, true);
        Settle();
        dialogs_->Answer<TStafetNavneForm>([](TStafetNavneForm& dialog) {
            ShowActive(dialog);
            TExtStringGrid& grid = *dialog.NavneStringGrid;
            EXPECT_EQ(grid.RowCount(), 1 + TypedAthletes) << "the club's athletes but the team itself";
            for (int leg = 1; leg <= 4; ++leg)
                grid.SetCells(TStafetNavneForm::TurCol, leg, QString::number(leg));
            Picture(dialog, "15-relay-legs");
            dialog.OKBitBtn->click();
            return mrNone;
        });
        form.Stafetnavne->trigger();
        ShowActive(form); // the dialog was shown for its picture
        Settle();
        EXPECT_EQ(form.Manager().GetResultat(0)->GetSerieCount(), 4);
        form.GemToolButton->trigger();
        Settle();

        // The heptathlon's two events, their points calculated, and its total.
        QMap<qint32, double> points;
        for (TOvelseInfo* round : {&Round("K", "100H"), &Round("K", "HØ")}) {
            if (round->GetOvelseKode() == "HØ") {
                TypeHighJump(form, *round, 140);
            } else {
                OpenResultPage(form, *round);
                for (int i = 0; i < form.Manager().Count(); ++i) {
                    const qint32 nr = form.Manager().GetResultat(i)->Startnummer;
                    const int mark = 1400 + nr % 20;
                    TypeCell(form, TResultColumn::Resultat, GridRowOf(form, nr), Hundredths(mark));
                    entered_[Key(*round, nr)] = mark;
                }
            }
            EXPECT_EQ(form.Manager().Count(), Heptathletes) << round->GetOvelseKode().toStdString();
            form.BeregnPointToolButton->trigger();
            Settle();
            for (int i = 0; i < form.Manager().Count(); ++i) {
                const TResultat& row = *form.Manager().GetResultat(i);
                EXPECT_GT(row.Point, 0) << round->GetOvelseKode().toStdString() << ' ' << row.Startnummer;
                points[row.Startnummer] += row.Point;
            }
            form.GemToolButton->trigger();
            Settle();
        }
        OpenResultPage(form, Round("K", "7K"));
        ASSERT_EQ(form.Manager().Count(), Heptathletes);
        EXPECT_EQ(Round("K", "7K").MKOvelser().size(), 2u);
        for (int i = 0; i < form.Manager().Count(); ++i) {
            const TResultat& row = *form.Manager().GetResultat(i);
            EXPECT_EQ(row.Resultat, qRound(points.value(row.Startnummer))) << row.Startnummer;
            entered_[Key(Round("K", "7K"), row.Startnummer)] = row.Resultat;
        }
        Picture(form, "15-editor-heptathlon");
        // The combined-event layout of the overview shows the heptathlon.
        form.PageControl->setCurrentWidget(form.OversigtPage);
        Settle();
        form.OversigtSortering->setCurrentIndex(int(TOversigtSortering::Mangekamp));
        Settle();
        EXPECT_TRUE(form.OversigtText().contains("100")) << form.OversigtText().toStdString();
        Picture(form, "16-editor-combined-overview");
        form.OversigtSortering->setCurrentIndex(int(TOversigtSortering::Tidsskema));
        Settle();
    });
    // Leaving the total's page, its own points are looked for in vain (the total is the events' sum).
    EXPECT_EQ(Shown(),
              QStringList({"Ingen point for 7K i klassen K: IAAF mangekamp har ingen værdier for øvelsen i "
                           "klassen"}));
}

void TMeetRun::PrintResultsAndStandings() {
    QString finale, mangekamp;
    InEditor([&](TEditOvelseForm& form) {
        ToPrinterAndHtml(form);
        OpenResultPage(form, Round("M", "100", "F"));
        {
            const TPrinterToPdf pdf;
            form.ResultatlisteToolButton->trigger();
            Settle();
            finale = PdfText(pdf.FileName());
        }
        OpenResultPage(form, Round("K", "7K"));
        {
            const TPrinterToPdf pdf;
            form.ResultatlisteToolButton->trigger();
            Settle();
            mangekamp = PdfText(pdf.FileName());
        }
    });
    Shown();
    // The final's times and the heptathlon's totals, as entered.
    for (auto it = entered_.cbegin(); it != entered_.cend(); ++it) {
        if (it.key().startsWith("M 100 F ")) {
            EXPECT_TRUE(finale.contains(Hundredths(it.value()))) << it.key().toStdString() << "\n"
                                                                 << finale.toStdString();
        }
        if (it.key().startsWith("K 7K ")) {
            EXPECT_TRUE(mangekamp.contains(QString::number(it.value()))) << it.key().toStdString() << "\n"
                                                                         << mangekamp.toStdString();
        }
    }
}

void TMeetRun::ShowResultsOnTheBoard() {
    // The final on board 1, from the overview's selection.
    InEditor([&](TEditOvelseForm& form) {
        ClickRound(form, Round("M", "100", "F"));
        ASSERT_TRUE(form.Boards[0]->isEnabled());
        form.Boards[0]->trigger();
        Settle();
    });
    EXPECT_EQ(Shown(), QStringList());

    // The board's own program beside this one: it starts on the meet and keeps showing until stopped.
    const QString program = InstallProgramCopy(Dir());
    QProcess board;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    board.setProcessEnvironment(environment);
    board.setWorkingDirectory(Dir());
    board.start(program, {QStringLiteral("BOARD1")});
    ASSERT_TRUE(board.waitForStarted(10000));
    EXPECT_FALSE(board.waitForFinished(3000))
        << "the board ended: " << board.readAllStandardError().toStdString();
    board.kill();
    board.waitForFinished(10000);
    const QString said = QString::fromUtf8(board.readAllStandardError());
    EXPECT_FALSE(said.contains("Fejl")) << said.toStdString();

    // What that board shows: the final's rows with their times.
    // The key names the event: the board shows its heats and then its final.
    TBoardPages pages(1);
    pages.Read(false);
    ASSERT_EQ(pages.Ovelser().size(), 2u);
    for (int step = 0;
         step < 40 && !(pages.Screen().Kind == TBoardScreenKind::Round && pages.Round() &&
                        pages.Ovelser().at(std::size_t(pages.Item())) == &Round("M", "100", "F"));
         ++step)
        pages.Read(true);
    ASSERT_NE(pages.Round(), nullptr);
    QStringList shown;
    for (const TBoardRow& row : pages.Round()->Rows)
        shown << row.Startnr + u' ' + row.Resultat;
    EXPECT_EQ(shown.size(), Finalists);
    for (auto it = entered_.cbegin(); it != entered_.cend(); ++it)
        if (it.key().startsWith("M 100 F ")) {
            EXPECT_TRUE(shown.contains(it.key().section(u' ', 3) + u' ' + Hundredths(it.value())))
                << it.key().toStdString() << ": " << shown.join(", ").toStdString();
        }
}

// ---------------------------------------------------------------- transfer file

void TMeetRun::ExportAndImportUnderANewName() {
    exportFile_ = Path("ud/sommer");
    QDir().mkpath(Path("ud"));
    files_->Answers = {exportFile_};
    Window().ExportButton->click();
    Settle();
    exportFile_ += ".kip";
    ASSERT_TRUE(QFileInfo(exportFile_).isFile());
    EXPECT_EQ(Shown(), QStringList());

    files_->Answers = {exportFile_};
    Through<TValgStaevne2Form>(Window().VaelgStaevneButton, [&](TValgStaevne2Form& form) {
        Picture(form, "17-choose-meet");
        form.ImportTypes->setCurrentIndex(0);
        dialogs_->Answer<TImportStaevneForm>([&](TImportStaevneForm& dialog) {
            ShowActive(dialog);
            EXPECT_EQ(dialog.Header2->text(), "Åbent stævne for alle");
            Picture(dialog, "18-import-name");
            TypeInto(dialog.StaevneNavn, ImportedName);
            dialog.OKButton->click();
            return mrNone;
        });
        form.ImportButton->click();
        Settle();
        form.done(mrOk);
    });
    EXPECT_EQ(Shown(), QStringList());
    ASSERT_EQ(CurrentStaevneNavn(), ImportedName);
    // The copy holds the results as entered.
    for (auto it = entered_.cbegin(); it != entered_.cend(); ++it) {
        const QStringList key = it.key().split(u' ');
        TResultatManager round;
        round.LoadOvelse(&Round(key[0], key[1], key[2]));
        const int index = round.IndexOfStartnummer(key[3].toInt());
        ASSERT_GE(index, 0) << it.key().toStdString();
        EXPECT_EQ(round.GetResultat(index)->Resultat, it.value()) << it.key().toStdString();
    }

    // Back to the meet itself.
    Through<TValgStaevne2Form>(Window().VaelgStaevneButton, [&](TValgStaevne2Form& form) {
        form.StaevneListView->clearSelection();
        for (QTreeWidgetItem* item : form.StaevneListView->findItems(MeetName, Qt::MatchExactly))
            item->setSelected(true);
        form.AabnButton->click();
    });
    ASSERT_EQ(CurrentStaevneNavn(), MeetName);
}

// ---------------------------------------------------------------- the server and the batch jobs

void TMeetRun::ServeThePages() {
    // The server window runs the program's start-up itself: the main window steps aside for it.
    CloseWindow();
    ServeFromTheServerWindow();
    Window();
}

void TMeetRun::ServeFromTheServerWindow() {
    THttpServerForm server(Dir());
    server.show();
    Settle();
    ASSERT_NE(server.Server(), nullptr);
    const int port = FreePort();
    server.Port->setText(QString::number(port));
    server.Start->click();
    ASSERT_TRUE(server.Running());
    Picture(server, "19-server");
    const auto get = [port](const QByteArray& target) { return HttpGet(port, target); };
    const QByteArray main = get("/");
    EXPECT_TRUE(main.startsWith("HTTP/1.0 200 OK")) << main.left(200).toStdString();
    EXPECT_TRUE(main.contains("Main page - ZUNO http server"));
    const QByteArray felt = ReadFile(Path("images/felt.jpg"));
    const QByteArray image = get("/images/felt.jpg");
    EXPECT_TRUE(image.startsWith("HTTP/1.0 200 OK"));
    EXPECT_TRUE(image.endsWith(felt));
    server.Stop->click();
    server.close();
}

void TMeetRun::RunEveryBatchJob() {
    const qint32 stID = StaevneManager->GetCurrentStID();
    const QString meetFolder = Path(MeetName + u'/');
    CloseWindow();
    const QString program = InstallProgramCopy(Dir());
    const QString id = "ID=" + QString::number(stID);
    struct TJob {
        QStringList Arguments;
        QString Writes;
    };
    const QList<TJob> jobs = {
        {{"/KIP"}, {}},
        {{"/HTML_RESULTS"}, "resultatliste.htm"},
        {{"/HTML_ATHLETES"}, {}},
        {{"/HTML_START_LIST"}, {}},
        {{"/HTML_TEAM"}, {}},
        {{"/HTML_TEAM_START_LIST"}, {}},
        {{"/HTML_TEAM_RESULTS"}, {}},
        {{"/XML_OVELSE", "/KLASSE=M", "/OVELSE=100", "/RUNDE=F", "/FILENAME=" + Path("finale.xml")},
         Path("finale.xml")},
        {{"/XML_STAEVNE_INFO", "/FILENAME=" + Path("info.xml")}, Path("info.xml")},
        {{"/XML_STAEVNE", "/FILENAME=" + Path("staevne.xml")}, Path("staevne.xml")},
    };
    for (const TJob& job : jobs) {
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QString errors;
        const int code = RunProgramCopy(program, QStringList{id} + job.Arguments, &errors);
        EXPECT_EQ(code, 0) << job.Arguments.join(u' ').toStdString() << ": " << errors.toStdString();
        if (!job.Writes.isEmpty()) {
            const QString file = job.Writes.startsWith(u'/') ? job.Writes : meetFolder + job.Writes;
            EXPECT_TRUE(QFileInfo(file).isFile() && QFileInfo(file).lastModified() >= before)
                << file.toStdString();
        }
    }
    EXPECT_EQ(QDir(meetFolder).entryList({"_kip_*.kip"}, QDir::Files).size(), 1);

    // The page of results holds every time of the 100 m and the relay as typed or read, the XML of the final
    // the final's.
    const QString page = QString::fromLatin1(ReadFile(meetFolder + "resultatliste.htm"));
    const QString xml = QString::fromUtf8(ReadFile(Path("finale.xml")));
    for (auto it = entered_.cbegin(); it != entered_.cend(); ++it) {
        if (!it.key().startsWith("M 100 ") && !it.key().startsWith("M 4X100 "))
            continue;
        const QString time = Hundredths(it.value());
        EXPECT_TRUE(page.contains(time)) << it.key().toStdString() << ' ' << time.toStdString();
        if (it.key().startsWith("M 100 F ")) {
            EXPECT_TRUE(xml.contains(time)) << time.toStdString();
        }
    }
    for (int n = 1; n <= TypedAthletes; ++n)
        EXPECT_TRUE(page.contains(QStringLiteral("%1 Viking").arg(n, 2, 10, QLatin1Char('0'))))
            << "surname first: " << n;
    for (const QString& name : {Path("finale.xml"), Path("info.xml"), Path("staevne.xml")}) {
        QProcess lint;
        lint.start("xmllint", {"--noout", name});
        ASSERT_TRUE(lint.waitForFinished(60000));
        EXPECT_EQ(lint.exitCode(), 0) << name.toStdString() << lint.readAllStandardError().toStdString();
    }
    Window();
}

void TMeetRun::CheckRecordFiles() {
    QStringList klubber = Stored<TKlubTable>({KlubField::Navn});
    klubber.sort();
    EXPECT_EQ(klubber, QStringList({"Amager AK", "Hvidovre", "Odense", "Sparta", "Vikingerne"}));
    const QStringList deltagere = Stored<TDeltagerTable>({DeltagerField::Navn});
    EXPECT_EQ(deltagere.size(), TypedAthletes + 1 + PastedWomen + 2 * PastedYouth + FileAthletes);
    EXPECT_TRUE(deltagere.contains(RelayTeam));
    for (int n = 1; n <= TypedAthletes; ++n)
        EXPECT_TRUE(deltagere.contains(TypedName(n))) << n;
    for (auto it = entered_.cbegin(); it != entered_.cend(); ++it) {
        const QStringList key = it.key().split(u' ');
        TResultatManager round;
        round.LoadOvelse(&Round(key[0], key[1], key[2]));
        const int index = round.IndexOfStartnummer(key[3].toInt());
        ASSERT_GE(index, 0) << it.key().toStdString();
        EXPECT_EQ(round.GetResultat(index)->Resultat, it.value()) << it.key().toStdString();
    }
    EXPECT_GT(entered_.size(), 40);
}
