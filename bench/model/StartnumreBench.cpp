// Bib numbers given anew (TildelStartnumre) against renumbering the same records directly, in the same
// run, and against the same on a meet ten times as large. A meet of 20,000 participants in 2,000 clubs:
// each club nine individuals with two results each and one relay team whose result lists four of them.
// The direct renumbering walks the participant and result files by key and writes each record's new
// number at its position, in one transaction: what any renumbering must do. Each run gives every record a
// new number (two sets of ranges in turn), so that no run finds its work done.
#include "foundation/Messages.h"
#include "model/D_Context.h"
#include "model/D_Result.h"
#include "model/D_Startnumre.h"
#include "platform/LittleEndian.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchTiming.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr int IndividerPrKlub = 9;
constexpr int Runs = 5;

template <typename Table>
void Insert(Table& table, std::initializer_list<std::pair<int, qint32>> fields, const QString& navn = {}) {
    table.Insert();
    table.GetField(StaevneField::StID)->SetAsInteger(CurrentStID());
    for (const auto& [fieldNo, value] : fields)
        table.GetField(fieldNo)->SetAsInteger(value);
    if (!navn.isEmpty())
        table.GetField(DeltagerField::Navn)->SetAsString(navn);
    table.Post();
}

class TMeet {
public:
    explicit TMeet(int klubber)
        : deltagere_(klubber * (IndividerPrKlub + 1)) {
        const TBenchFolder::Use use(folder_);
        ModelContext().StaevneManager->CreateStaevne(QStringLiteral("Stævne"));
        TKlubTable klub;
        TDeltagerTable deltager;
        TResultatTable resultat;
        for (TZunoDataTable* table : std::initializer_list<TZunoDataTable*>{&klub, &deltager, &resultat})
            table->Open();
        TBtvTransaction transaction;
        qint32 bib = 0;
        for (int k = 1; k <= klubber; ++k) {
            klub.Insert();
            klub.GetField(KlubField::StID)->SetAsInteger(CurrentStID());
            klub.GetField(KlubField::KlubNr)->SetAsInteger(k);
            klub.GetField(KlubField::Navn)->SetAsString(QStringLiteral("Klub %1").arg((k * 7919) % klubber));
            klub.Post();
            TSerier hold;
            for (int d = 0; d < IndividerPrKlub; ++d) {
                ++bib;
                Insert(deltager, {{DeltagerField::Startnummer, bib}, {DeltagerField::KlubNr, k}},
                       QStringLiteral("Deltager %1").arg((bib * 104729) % deltagere_));
                for (const char* ovelse : {"100", "LÆ"}) {
                    resultat.Insert();
                    resultat.GetField(ResultatField::StID)->SetAsInteger(CurrentStID());
                    resultat.GetField(ResultatField::Klasse)->SetAsString(QStringLiteral("M"));
                    resultat.GetField(ResultatField::Ovelse)->SetAsString(QString::fromUtf8(ovelse));
                    resultat.GetField(ResultatField::Startnummer)->SetAsInteger(bib);
                    resultat.Post();
                }
                if (d < 4)
                    hold.GetSerie(hold.Add())->Value = bib;
            }
            ++bib;
            Insert(deltager, {{DeltagerField::Startnummer, bib}, {DeltagerField::KlubNr, k}},
                   QStringLiteral("Klub %1 %").arg(k));
            resultat.Insert();
            resultat.GetField(ResultatField::StID)->SetAsInteger(CurrentStID());
            resultat.GetField(ResultatField::Klasse)->SetAsString(QStringLiteral("M"));
            resultat.GetField(ResultatField::Ovelse)->SetAsString(QStringLiteral("4X100"));
            resultat.GetField(ResultatField::Startnummer)->SetAsInteger(bib);
            const QByteArray serie = hold.SaveToString();
            QByteArray part(4, '\0');
            storeLE<qint32>(part.data(), static_cast<qint32>(serie.size()));
            resultat.PostWithVariablePart(part + serie);
        }
        transaction.Commit();
    }

    int Deltagere() const { return deltagere_; }
    TBenchFolder& Folder() { return folder_; }

private:
    TBenchFolder folder_;
    int deltagere_;
};

// The two sets of ranges in turn: every record gets another number each run.
TStartnummerValg Valg(int run) {
    TStartnummerValg valg;
    valg.Startnumre = run % 2 == 0 ? QStringLiteral("1-9999999") : QStringLiteral("20000001-29999999");
    valg.StafetStartnumre =
        run % 2 == 0 ? QStringLiteral("10000000-19999999") : QStringLiteral("30000000-39999999");
    return valg;
}

double Tildel(TMeet& meet, int run) {
    const TBenchFolder::Use use(meet.Folder());
    const double seconds = Timed([run] { TildelStartnumre(Valg(run)); });
    // The meet's lowest bib is the first of the run's ranges.
    TDeltagerTable deltager;
    deltager.Open();
    Check(deltager.First() &&
              deltager.GetField(DeltagerField::Startnummer)->GetAsInteger() == (run % 2 == 0 ? 1 : 20000001),
          "bibs given");
    return seconds;
}

// Every record of the table gets its number plus shift, written at the position taken before.
void Renumber(TZunoDataTable& table, int fieldNo, qint32 shift) {
    std::vector<std::pair<quint32, qint32>> records;
    for (bool found = table.First(); found; found = table.Next())
        records.emplace_back(table.GetPosition(), table.GetField(fieldNo)->GetAsInteger());
    for (const auto& [position, nummer] : records) {
        table.GotoPosition(position);
        table.Edit();
        table.GetField(fieldNo)->SetAsInteger(nummer + shift);
        table.Post();
    }
}

double Direct(TMeet& meet, int run) {
    const TBenchFolder::Use use(meet.Folder());
    return Timed([run] {
        TDeltagerTable deltager;
        TResultatTable resultat;
        deltager.Open();
        resultat.Open();
        const qint32 shift = run % 2 == 0 ? 40000000 : -40000000;
        TBtvTransaction transaction;
        Renumber(deltager, DeltagerField::Startnummer, shift);
        Renumber(resultat, ResultatField::Startnummer, shift);
        transaction.Commit();
    });
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TScopedMessagePresenter quiet(std::make_unique<TRecordingPresenter>());
    TMeet small(200);
    TMeet large(2000);
    double tildelSmall = 1e9;
    double tildelLarge = 1e9;
    double direct = 1e9;
    // Each figure once a round, so that they meet the same load on the machine; the best round counts.
    for (int run = 0; run < Runs; ++run) {
        tildelSmall = std::min(tildelSmall, Tildel(small, run));
        tildelLarge = std::min(tildelLarge, Tildel(large, run));
        direct = std::min(direct, Direct(large, run));
    }
    std::printf("%-46s %10s\n", "work", "ms");
    std::printf("%-46s %10.1f\n", "bibs anew, 2,000 participants", tildelSmall * 1000);
    std::printf("%-46s %10.1f\n", "bibs anew, 20,000 participants", tildelLarge * 1000);
    std::printf("%-46s %10.1f\n", "direct renumbering, 20,000 participants", direct * 1000);
    std::printf("\n%-46s %10.2f  (at most 3)\n", "bibs anew / direct renumbering", tildelLarge / direct);
    std::printf("%-46s %10.2f  (at most 11)\n", "20,000 / 2,000 participants", tildelLarge / tildelSmall);
    return 0;
}
