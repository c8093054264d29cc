// The entry import's interpretation of a pasted list of 2,000 lines (the lines read into rows, events
// and marks made codes and numbers, and the check of every row against the programme) against splitting
// the same text into its fields and nothing more, in the same run: the ratio should stay at most 3. Then
// the same on a list ten times as long: at most eleven times the time. Last, the rows made participants
// and entries of a club and saved, for 2,000 and 20,000 lines: that ratio too should stay near ten.
// Each figure is the best of its runs.
#include "foundation/LxString.h"
#include "model/D_Klub.h"
#include "model/D_KlubImport.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StdKlasser.h"
#include "support/BenchFolder.h"
#include "support/BenchMeet.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int Runs = 21;
constexpr int Lines = 2000;
constexpr int UpdateLines = 2000;
constexpr int UpdateRuns = 3;
const char* const Ovelser[] = {"100", "60H", "LÆ", "KU", "4X100"};
// Each athlete's five lines as a club's list has them: the name once, "-" for the further events.
const char* const Pasted[] = {"100 m", "60 m hæk", "Længdespring", "Kugle", "4x100"};
const char* const Marks[] = {"12,45 sek", "9,1", "5,12 m", "11,20 m", ""};

void MakeProgramme() {
    const char* const klasser[] = {"M"};
    SaveProgramme(klasser, Ovelser);
}

QString ListOf(int lines) {
    QString text;
    for (int i = 0; i < lines; ++i) {
        const int e = i % 5;
        const QString navn = e == 0 ? QStringLiteral("Atlet nr. %1").arg(i / 5) : QStringLiteral("-");
        text += navn + u'\t' + (e == 0 ? QString::number(1980 + i % 30) : QString()) +
                QStringLiteral("\tM\t") + QString::fromUtf8(Pasted[e]) + u'\t' + QString::fromUtf8(Marks[e]) +
                (i == 0 ? QStringLiteral("\t\t\t\tAarhus 1900\tBo Berg") : QString()) +
                QStringLiteral("\r\n");
    }
    return text;
}

// The baseline: every line split into its fields at the TAB, nothing else.
double Split(const QString& text) {
    return Timed([&text] {
        qsizetype fields = 0;
        for (const QString& line : text.split(u'\n')) {
            TCSV csv(line);
            csv.Separators = QStringLiteral("\t");
            while (!csv.Line.isEmpty()) {
                fields += csv.NextField().size() >= 0 ? 1 : 0;
            }
        }
        Check(fields > 0, "fields");
    });
}

double Interpret(const QString& text, int lines) {
    TImportSettings settings;
    settings.Separator = u'\t';
    return Timed([&] {
        TImportData data = FortolkCSVData(text, settings, *ModelContext().OvelseManager);
        const TImportKontrol kontrol = AutoKontrol(data.Rows, *ModelContext().OvelseManager, false);
        Check(static_cast<int>(data.Rows.size()) == lines && kontrol.Fejl.empty(),
              "rows interpreted and checked");
        Check(data.Rows[1][ImportCol::Ovelse] == u"60H" && data.Rows[2][ImportCol::TilmeldtRes] == u"5,12",
              "codes and marks");
    });
}

// The rows made a club's participants and entries and saved, in a meet of its own.
double Update(int lines) {
    TBenchFolder folder;
    const TBenchFolder::Use use(folder);
    ModelContext().StaevneManager->CreateStaevne(QStringLiteral("Stævne"));
    MakeProgramme();
    TImportSettings settings;
    settings.Separator = u'\t';
    TOvelseManager& ov = *ModelContext().OvelseManager;
    TImportData data = FortolkCSVData(ListOf(lines), settings, ov);
    TImportKontrol kontrol = AutoKontrol(data.Rows, ov, false);
    TKlubManager klubber(AlleKlubber);
    klubber.NewKlub();
    return Timed([&] {
        const TImportResultat result = AutoOpdDeltagere(klubber, ov, data.Rows, kontrol.Markers, false);
        Check(result.Fejl.empty() && result.Deltagere == lines / 5, "participants made");
        Check(klubber.SaveAll(), "saved");
    });
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TBenchFolder folder;
    {
        const TBenchFolder::Use use(folder);
        ModelContext().StaevneManager->CreateStaevne(QStringLiteral("Stævne"));
        MakeProgramme();
        const QString small = ListOf(Lines);
        const QString large = ListOf(Lines * 10);
        const double split = BestGiven(Runs, [&] { return Split(small); });
        const double interpret = BestGiven(Runs, [&] { return Interpret(small, Lines); });
        const double interpretLarge = BestGiven(Runs, [&] { return Interpret(large, Lines * 10); });
        const double splitLarge = BestGiven(Runs, [&] { return Split(large); });
        std::printf(
            "%d lines: split into fields %.4f s, interpreted and checked %.4f s: ratio %.2f (at most 3)\n",
            Lines, split, interpret, interpret / split);
        std::printf(
            "%d lines: interpreted and checked %.4f s: %.2f times %d lines (at most 11); split into fields "
            "%.4f s, %.2f times\n",
            Lines * 10, interpretLarge, interpretLarge / interpret, Lines, splitLarge, splitLarge / split);
    }
    double update = 1e9;
    double updateLarge = 1e9;
    for (int run = 0; run < UpdateRuns; ++run) {
        update = std::min(update, Update(UpdateLines));
        updateLarge = std::min(updateLarge, Update(UpdateLines * 10));
    }
    std::printf("update and save: %d lines %.3f s, %d lines %.3f s: ratio %.2f (near 10)\n", UpdateLines,
                update, UpdateLines * 10, updateLarge, updateLarge / update);
    return 0;
}
