// The event-overlap model of a class over entries stored in a program folder.
#include "model/D_GridKlasse.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Ovelser.h"

namespace {

using namespace ResultatField;

class GridKlasse : public TResultTest {
protected:
    // Entries of a round: start number and status code.
    void Enter(const TOvelseInfo& round, std::initializer_list<std::pair<qint32, const char*>> entries) {
        for (const auto& entry : entries) {
            const char* kode = entry.second;
            AddResultat(round, entry.first, [kode](TResultatTable& t) {
                static_cast<TStringField*>(t.GetField(ResultatKode))->TStringField::SetAsString(kode);
            });
        }
    }

    static QList<int> Overlaps(const TGridKlasse& klasse) {
        QList<int> overlaps;
        for (int i = 0; i < klasse.Count(); ++i)
            overlaps << klasse.GetOvelse(i)->Overlap;
        return overlaps;
    }
};

} // namespace

TEST_F(GridKlasse, EachRoundCountsTheChosenRoundsParticipantsAlsoEnteredInIt) {
    AddDeltager(1, "Anders And", 1990, 1);
    for (qint32 nr = 2; nr <= 6; ++nr)
        AddDeltager(nr, QStringLiteral("Deltager %1").arg(nr));
    AddKlub(1, "Aarhus");
    // 4 withdrew from the 100 m and 5 did not turn up; 2 waits for a place in the high jump.
    Enter(Round("M", "100"), {{1, ""}, {2, ""}, {3, "D"}, {4, "A"}, {5, "E"}});
    Enter(Round("M", "LÆ"), {{1, ""}, {2, ""}, {4, ""}, {6, ""}});
    Enter(Round("M", "HØ"), {{2, "V"}, {3, ""}, {5, ""}});
    Enter(Round("K", "100"), {{1, ""}});

    TResultatManager manager;
    TGridKlasse klasse("Mænd");
    for (const char* ovelse : {"100", "LÆ", "HØ", "KU"})
        klasse.AddOvelse(&Round("M", ovelse), manager);
    ASSERT_EQ(klasse.Count(), 4);
    const TGridOvelse& lob = *klasse.GetOvelse(0);
    EXPECT_EQ(lob.Titel, Round("M", "100").GetKlasseText() + " - " + Round("M", "100").GetOvelseText());
    ASSERT_EQ(lob.Count(), 3);
    const TGridDeltager& first = *lob.GetDeltager(0);
    EXPECT_EQ(QStringList({QString::number(first.Startnummer), QString::number(first.Aargang), first.Navn,
                           first.Klub}),
              QStringList({"1", "1990", "Anders And", "Aarhus"}));

    // 1, 2 and 3 ran the 100 m: 1 and 2 also long jump, 3 high jumps (2 only waits).
    klasse.CalcOverlap(&Round("M", "100"));
    EXPECT_EQ(Overlaps(klasse), (QList<int>{0, 2, 1, 0}));
    EXPECT_EQ(klasse.GetOverlap(&Round("M", "LÆ")), 2);
    // 4 and 6 of the long jump run no 100 m.
    klasse.CalcOverlap(&Round("M", "LÆ"));
    EXPECT_EQ(Overlaps(klasse), (QList<int>{2, 0, 0, 0}));

    // A round of another class only resets the counts.
    klasse.CalcOverlap(&Round("K", "100"));
    EXPECT_EQ(Overlaps(klasse), (QList<int>{0, 0, 0, 0}));
    EXPECT_EQ(klasse.GetOverlap(&Round("K", "100")), 0);
}
