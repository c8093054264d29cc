// The club manager on a meet of the tests' order of size against the same work on a meet ten times as
// large, in the same run: 200 clubs with 2,000 participants against 2,000 clubs with 20,000, each
// participant with two entries, each club with a purchase and a payment, and a second meet of the same
// size in the same files. Work on one club should cost the same in both; loading every club of the meet
// should cost ten times as much.
#include "foundation/Messages.h"
#include "model/D_Context.h"
#include "model/D_Klub.h"
#include "storage/BtvTransaction.h"
#include "support/BenchMeet.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int DeltagerePrKlub = 10;
constexpr int Samples = 200;

// Clubs 1..klubber of the current meet, start numbers counted from 1 club by club.
void FillMeet(int klubber) {
    TKlubTable klub;
    TDeltagerTable deltager;
    TResultatTable resultat;
    TKlubkobTable klubkob;
    TBetalingTable betaling;
    TVareTable vare;
    OpenTables(klub, deltager, resultat, klubkob, betaling, vare);
    TBtvTransaction transaction;
    for (int v = 1; v <= 20; ++v)
        InsertNumbers(vare, {{VareField::Varenummer, v}, {VareField::Gruppe, 1 + v % 3}});
    for (int k = 1; k <= klubber; ++k) {
        InsertNumbers(klub, {{KlubField::KlubNr, k}});
        for (int d = 0; d < DeltagerePrKlub; ++d) {
            const int startnummer = (k - 1) * DeltagerePrKlub + d + 1;
            InsertNumbers(deltager, {{DeltagerField::Startnummer, startnummer}, {DeltagerField::KlubNr, k}});
            InsertNumbers(resultat, {{ResultatField::Startnummer, startnummer}});
            InsertNumbers(resultat, {{ResultatField::Startnummer, startnummer}});
        }
        InsertNumbers(klubkob, {{KlubkobField::Klubnr, k}, {KlubkobField::Varenummer, 1 + k % 20}});
        InsertNumbers(betaling, {{BetalingField::Klubnr, k}});
    }
    transaction.Commit();
}

// Microseconds per call of work(i) for i in 0..count-1.
double PerCall(int count, const std::function<void(int)>& work) {
    return Timed([&] {
               for (int i = 0; i < count; ++i)
                   work(i);
           }) *
           1e6 / count;
}

std::map<std::string, double> Measure(int klubber) {
    QTemporaryDir folder;
    TModelContextScope context;
    ModelContext().ProgramDir = folder.path() + u'/';
    for (const TRecordFileDef& file : RecordFileDefs())
        file.Create(ModelContext().ProgramDir + QString::fromLatin1(file.FileName));
    for (const qint32 meet : {1, 2}) {
        ModelContext().CurrentStID = meet;
        FillMeet(klubber);
    }
    // The first meet, whose records lie before the other's in every key.
    ModelContext().CurrentStID = 1;

    std::map<std::string, double> times;
    const auto klubNr = [klubber](int i) { return 1 + (i * 7919) % klubber; };
    times["load every club"] = PerCall(3, [](int) { TKlubManager alle; });
    TKlubManager alle;
    times["select a club"] =
        PerCall(Samples, [&](int i) { alle.SelectKlub(alle.GetKlub(klubNr(i) - 1), DeltagerField::Navn); });
    times["next start number"] = PerCall(Samples, [&](int) { alle.GetNextStartnummer(); });
    times["club of a start number"] =
        PerCall(Samples, [&](int i) { alle.FindKlubNavnByStartnummer(klubNr(i) * DeltagerePrKlub); });
    TOvelseRkTable rkTable;
    rkTable.Open();
    TOvelseRkList rkList(rkTable);
    TOvelseRkElement& ovelseRk = *rkList.GetElement(rkList.AddNew());
    ovelseRk.GetField(OvelseRkField::Startgebyr1)->SetAsFloat(50);
    double sum = 0;
    times["entry fees of a club"] = PerCall(Samples, [&](int i) {
        alle.SelectKlub(alle.GetKlub(klubNr(i) - 1), DeltagerField::Startnummer);
        for (int r = 0; r < alle.ResultatList().GetCount(); ++r) {
            alle.GetResultat(r);
            sum += alle.CalcStartgebyr(ovelseRk);
        }
    });
    if (sum <= 0)
        std::printf("no fees\n");
    times["refused club delete"] = PerCall(Samples, [&](int i) {
        alle.GetKlub(klubNr(i) - 1);
        alle.DeleteKlub();
    });
    times["new and deleted club"] = PerCall(Samples, [&](int) {
        alle.NewKlub();
        alle.DeleteKlub();
    });
    TVareManager& varer = *alle.VareManager();
    times["goods item in use"] = PerCall(Samples, [&](int i) { varer.IsVareUsed(1 + i % 25); });
    times["goods group in use"] = PerCall(Samples, [&](int i) { varer.IsGruppeUsed(1 + i % 4); });
    return times;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TScopedMessagePresenter quiet(std::make_unique<TRecordingPresenter>());
    const int small = 200;
    const auto base = Measure(small);
    const auto large = Measure(10 * small);
    std::printf("%-24s %14s %14s %8s\n", "work (per call)", "200 clubs", "2,000 clubs", "ratio");
    for (const auto& [work, micros] : base)
        std::printf("%-24s %11.1f us %11.1f us %8.2f\n", work.c_str(), micros, large.at(work),
                    large.at(work) / micros);
    return 0;
}
