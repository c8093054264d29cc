// The per-club statements of every club of a meet, printed (to a PDF printer, one document per club as on
// a printer) and written as web pages, on a meet of 200 clubs and 5,000 athletes (two entries each,
// goods and payments for every club) against the same on a meet ten times its size: the ratio should stay
// near ten. With the body-only setting every club page begins with the whole index page, so those pages
// together hold clubs x index bytes: that part is timed on the large meet for 125, 250 and 500 chosen
// clubs, and its time per megabyte written should stay the same.
//
// --keep DIR keeps the pages of the small meet and PDFs of its first three statements (and of the first as
// a fun run's), for looking at.
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_StdKlasser.h"
#include "platform/Printer.h"
#include "print/D_KlubUdskrift.h"
#include "print/PrUtil.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchMeet.h"
#include "support/BenchTiming.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int Klubber = 200;
constexpr int Deltagere = 5000;
constexpr int Rounds = 3;
const char* const Ovelser[] = {"100", "200", "LÆ", "HØ", "KU", "4X100"};
const char* const Klasser[] = {"M", "K", "M30", "K30", "M35", "K35", "M40", "K40", "M45", "K45"};
const char* const Fornavne[] = {"Anna", "Bo", "Carl", "Dorte", "Emil", "Freja", "Gustav", "Hanne"};
const char* const Efternavne[] = {"Holm", "Ek", "Lund", "Ravn", "Kok", "Damm", "Søndergaard", "Åberg"};

class TMeet : public TBenchMeet {
public:
    explicit TMeet(int scale)
        : klubber_(Klubber * scale)
        , deltagere_(Deltagere * scale) {
        Use use(*this);
        MakeProgramme();
        Fill();
    }

    int Clubs() const { return klubber_; }

private:
    // Entry fees, and one event an hour from nine; no heats planned.
    static void MakeProgramme() {
        SaveProgramme(Klasser, Ovelser, {}, [](TEditOvelseData& row, int event) {
            row.AntalPrHeat = 0;
            row.Startgebyr1 = 50;
            row.Startgebyr2 = 60;
            row.Efteranmgebyr1 = 75;
            row.Slot(1).DatoTid = BenchMeetDay() + (9 + event) / 24.0;
        });
    }

    void Fill() {
        const qint32 stID = CurrentStID();
        TDeltagerTable deltager;
        TResultatTable resultat;
        TKlubkobTable klubkob;
        TBetalingTable betaling;
        TVareTable vare;
        TGruppeTable gruppe;
        OpenTables(deltager, resultat, klubkob, betaling, vare, gruppe);
        const auto insert = [stID](TZunoDataTable& table) {
            table.Insert();
            table.GetField(StaevneField::StID)->SetAsInteger(stID);
        };
        TBtvTransaction transaction;
        for (int g = 1; g <= 3; ++g) {
            insert(gruppe);
            gruppe.GetField(GruppeField::Gruppe)->SetAsInteger(g);
            gruppe.GetField(GruppeField::Tekst)->SetAsString(QStringLiteral("Gruppe %1 & co").arg(g));
            gruppe.Post();
        }
        for (int v = 1; v <= 12; ++v) {
            insert(vare);
            vare.GetField(VareField::Varenummer)->SetAsInteger(v);
            vare.GetField(VareField::Korttekst)->SetAsString(QStringLiteral("Vare <%1>").arg(v));
            vare.GetField(VareField::Pris)->SetAsFloat(25 * v);
            vare.GetField(VareField::Gruppe)->SetAsInteger(1 + v % 3);
            vare.Post();
        }
        InsertKlubber(klubber_, [](TKlubTable& klub, qint32 nr) {
            klub.GetField(KlubField::Navn)->SetAsString(QStringLiteral("IF Klub %1").arg(nr));
            klub.GetField(KlubField::KontaktPerson)->SetAsString(QStringLiteral("Kontakt %1").arg(nr));
            klub.GetField(KlubField::Adresse1)->SetAsString(QStringLiteral("Stadionvej %1").arg(nr));
            klub.GetField(KlubField::Telefon)->SetAsString(QStringLiteral("70 %1").arg(nr));
            klub.GetField(KlubField::Email)->SetAsString(QStringLiteral("klub%1@example.dk").arg(nr));
            klub.GetField(KlubField::Prisgruppe)->SetAsInteger(nr % 2);
        });
        for (qint32 nr = 1; nr <= klubber_; ++nr) {
            for (int k = 0; k < 2; ++k) {
                insert(klubkob);
                klubkob.GetField(KlubkobField::Klubnr)->SetAsInteger(nr);
                klubkob.GetField(KlubkobField::Varenummer)->SetAsInteger(1 + (nr + 5 * k) % 12);
                klubkob.GetField(KlubkobField::Antal)->SetAsInteger(1 + nr % 7);
                klubkob.Post();
            }
            insert(betaling);
            betaling.GetField(BetalingField::Klubnr)->SetAsInteger(nr);
            betaling.GetField(BetalingField::Dato)
                ->SetAsDateTime(QDateToDateTime(QDate(2024, 5, 1 + nr % 28)));
            betaling.GetField(BetalingField::Tekst)->SetAsString(QStringLiteral("Indbetaling %1").arg(nr));
            betaling.GetField(BetalingField::Belob)->SetAsFloat(100 * (nr % 9));
            betaling.Post();
        }
        // Individuals enter the individual events, each club's relay team (a participant whose name ends
        // in "%") the relay.
        std::vector<TOvelseInfo*> rounds;
        std::vector<TOvelseInfo*> relays;
        for (const auto& [key, info] : ModelContext().OvelseManager->KlasseIndex())
            (info->Ovelse().IsStafetOvelse() ? relays : rounds).push_back(info);
        const auto enter = [&](qint32 nr, const TOvelseInfo& info) {
            NewResultat(resultat, info, nr);
            resultat.GetField(ResultatField::Seedning)->SetAsInteger(1000 + (nr * 7919) % 900);
            resultat.GetField(ResultatField::Resultat)->SetAsInteger(1000 + (nr * 104729) % 900);
            resultat.GetField(ResultatField::Placering)->SetAsInteger(1 + nr % 8);
            resultat.GetField(ResultatField::Vind)->SetAsInteger(nr % 30 - 10);
            resultat.Post();
        };
        const auto participant = [&](qint32 nr, qint32 klubNr, const QString& navn) {
            insert(deltager);
            deltager.GetField(DeltagerField::Startnummer)->SetAsInteger(nr);
            deltager.GetField(DeltagerField::KlubNr)->SetAsInteger(klubNr);
            deltager.GetField(DeltagerField::Navn)->SetAsString(navn);
            deltager.GetField(DeltagerField::Aargang)->SetAsInteger(1970 + nr % 40);
            deltager.Post();
        };
        for (qint32 nr = 1; nr <= deltagere_; ++nr) {
            // Clubs take their athletes in runs of bibs, with gaps: ranges to print.
            participant(nr, (nr / 7) % klubber_ + 1,
                        QString::fromUtf8(Fornavne[nr % 8]) + u' ' +
                            QString::fromUtf8(Efternavne[nr / 8 % 8]));
            for (int e = 0; e < 2; ++e)
                enter(nr, *rounds[static_cast<std::size_t>((nr * 3 + e * 17) % rounds.size())]);
        }
        for (qint32 klubNr = 1; klubNr <= klubber_; ++klubNr) {
            const qint32 nr = deltagere_ + klubNr;
            participant(nr, klubNr, QStringLiteral("IF Klub %1 %").arg(klubNr));
            enter(nr, *relays[static_cast<std::size_t>(klubNr) % relays.size()]);
        }
        transaction.Commit();
    }

    int klubber_;
    int deltagere_;
};

// The statements of the first `klubber` clubs of the meet in use.
void RunJob(int klubber, bool toHtml, bool starttid = true) {
    TKlubManager manager(AlleKlubber);
    TKlubUdskrift job;
    job.KlubManager = &manager;
    job.UdskrivRegnskab = true;
    job.UdskrivDeltagere = true;
    job.UdskrivStartnumre = true;
    job.UdskrivTilPrinter = true;
    for (TKlasseElement* klasse : ModelContext().OvelseManager->GetKlasser())
        job.Klasser.append(klasse->GetTrimmedString(KlasseField::Korttekst));
    for (int i = 0; i < std::min(klubber, manager.GetKlubCount()); ++i)
        job.Klubber.push_back(&manager.GetKlub(i));
    Check(static_cast<int>(job.Klubber.size()) == klubber, "clubs");
    job.Run(starttid ? QStringLiteral("KlubInfoListeStarttid") : QStringLiteral("KlubInfoListeResultat"),
            starttid, QStringLiteral("klub"), toHtml);
}

// The best of Rounds runs, in milliseconds.
template <typename Work>
double BestMs(Work work) {
    return BestOf(Rounds, work) * 1000;
}

qint64 FolderBytes(const QString& dir, const QString& suffix) {
    qint64 bytes = 0;
    for (QDirIterator it(dir, {QStringLiteral("*") + suffix}, QDir::Files); it.hasNext();)
        bytes += QFileInfo(it.next()).size();
    return bytes;
}

// The pages of the small meet and a PDF of each of its first three statements.
void Keep(const QString& keep) {
    QDir().mkpath(keep);
    RunJob(Klubber, true, true);
    for (QDirIterator it(CurrentStaevneDir(), {QStringLiteral("*.htm")}, QDir::Files); it.hasNext();) {
        const QString page = it.next();
        QFile::remove(keep + u'/' + QFileInfo(page).fileName());
        QFile::copy(page, keep + u'/' + QFileInfo(page).fileName());
    }
    int n = 0;
    const TPrintPreviewWindow previous = SetPrintPreviewWindow([&](TPrint& print) {
        QPdfWriter writer(keep + QStringLiteral("/klub-%1.pdf").arg(++n));
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        print.PrintOn(writer);
    });
    TKlubManager manager(AlleKlubber);
    TKlubUdskrift job;
    job.KlubManager = &manager;
    job.UdskrivRegnskab = job.UdskrivDeltagere = job.UdskrivStartnumre = true;
    for (TKlasseElement* klasse : ModelContext().OvelseManager->GetKlasser())
        job.Klasser.append(klasse->GetTrimmedString(KlasseField::Korttekst));
    for (int i = 0; i < 3; ++i)
        job.Klubber.push_back(&manager.GetKlub(i));
    job.Run(QStringLiteral("KlubInfoListeStarttid"), true, {}, false);
    job.Run(QStringLiteral("KlubInfoListeResultat"), false, {}, false);
    // The same club as a fun run's.
    job.Klubber.resize(1);
    ModelContext().StaevneManager->SystemData().Motionsloeb = true;
    job.Run(QStringLiteral("KlubInfoListeResultat"), false, {}, false);
    ModelContext().StaevneManager->SystemData().Motionsloeb = false;
    SetPrintPreviewWindow(previous);
    std::printf("kept the pages and %d PDFs in %s\n", n, qPrintable(keep));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString keep;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--keep") == 0)
            keep = QString::fromLocal8Bit(argv[i + 1]);

    QTemporaryDir pdfFolder;
    QPrinter& printer = Platform::CurrentPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFolder.filePath(QStringLiteral("klub.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));

    std::printf("making the meets ...\n");
    TMeet small(1);
    TMeet large(10);

    struct TFigure {
        const char* work;
        double small;
        double large;
    };
    std::vector<TFigure> figures;
    for (const bool toHtml : {false, true}) {
        double ms[2];
        for (int m = 0; m < 2; ++m) {
            TMeet& meet = m == 0 ? small : large;
            TMeet::Use use(meet);
            ms[m] = BestMs([&] { RunJob(meet.Clubs(), toHtml); });
        }
        figures.push_back({toHtml ? "web pages" : "PDF (printer)", ms[0], ms[1]});
    }
    std::printf("\n%-22s %12s %12s %8s\n", "every club's statement", "200 clubs", "2,000 clubs", "ratio");
    for (const TFigure& f : figures)
        std::printf("%-22s %10.0f ms %10.0f ms %8.2f\n", f.work, f.small, f.large, f.large / f.small);

    {
        TMeet::Use use(large);
        ModelContext().StaevneManager->SystemData().OnlyHtmlBody = true;
        std::printf("\n%-22s %12s %12s %14s\n", "body-only pages", "ms", "MB written", "ms per MB");
        for (const int klubber : {125, 250, 500}) {
            const double ms = BestMs([&] { RunJob(klubber, true); });
            const double mb = FolderBytes(CurrentStaevneDir(), QStringLiteral(".body")) / 1e6;
            std::printf("%-22d %12.0f %12.1f %14.2f\n", klubber, ms, mb, ms / mb);
            for (QDirIterator it(CurrentStaevneDir(), {QStringLiteral("*.body")}, QDir::Files); it.hasNext();)
                QFile::remove(it.next());
        }
        ModelContext().StaevneManager->SystemData().OnlyHtmlBody = false;
    }

    if (!keep.isEmpty()) {
        TMeet::Use use(small);
        Keep(keep);
    }
    return 0;
}
