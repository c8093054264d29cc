// Combined-event totals and winds, made by the result manager from the disciplines' records stored in a
// program folder, written and read back.
#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Ovelser.h"

#include <QMap>

namespace {

using namespace ResultatField;

// One long jump with its wind (999: none given) and its points.
struct TJump {
    qint32 Value;
    qint32 Vind;
    qint32 Point1;
};

class ResultMangekamp : public TResultTest {
protected:
    // A heptathlon of class K: 100 m, 100 m hurdles, long jump and 200 m measure wind, shot put does not.
    void SetUp() override {
        AddProgramme(
            {{"K", "100H", "F"}, {"K", "LÆ", "F"}, {"K", "200", "F"}, {"K", "KU", "F"}, {"K", "7K", "F"}});
        int nr = 0;
        for (const char* ovelse : Disciplines) {
            TOvelseRkElement* row = Ov().FindOvelseRk("K", ovelse);
            row->GetField(OvelseRkField::MKOvelse)->SetAsString("7K");
            row->GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(++nr);
        }
        Ov().Save();
        Ov().Reload();
        SetRunde(Round("K", "7K"), OvelseRnField::AutoCalcPoint, 1);
    }

    // A discipline's row with its wind, points and second points.
    void AddDiscipline(const char* ovelse, qint32 startnummer, qint32 vind, double point, qint32 point3 = 0) {
        AddResultat(Round("K", ovelse), startnummer, [=](TResultatTable& t) {
            Fields({{Heat, 1}, {Resultat, 1}, {Vind, vind}, {Point3, point3}})(t);
            t.GetField(Point)->SetAsFloat(point);
        });
    }
    void AddLongJump(qint32 startnummer, double point, std::initializer_list<TJump> jumps) {
        TSerier serier;
        for (const TJump& jump : jumps) {
            TSerie& serie = *serier.GetSerie(serier.Add());
            serie.Value = jump.Value;
            serie.Kode = jump.Vind;
            serie.Point1 = jump.Point1;
        }
        AddResultat(
            Round("K", "LÆ"), startnummer,
            [=](TResultatTable& t) {
                t.GetField(Heat)->SetAsInteger(1);
                t.GetField(Point)->SetAsFloat(point);
            },
            serier.SaveToString());
    }

    static constexpr const char* Disciplines[] = {"100", "100H", "LÆ", "200", "KU", "7K"};
};

} // namespace

TEST_F(ResultMangekamp, TotalsAverageWindRoundedUpAndTheJumpThatBringsItDown) {
    QMap<qint32, quint32> positions;
    for (const qint32 startnummer : {1, 2, 3, 4})
        positions[startnummer] = AddResultat(Round("K", "7K"), startnummer, Fields({{Heat, 1}}));
    // 1: +2.4, +1.0, +3.0 and +2.0 add up to 84 tenths: 2.1 on average, 0.4 above the limit; the jump
    // of 6.00 with +2.5 would bring it down to 1.975, so 2.0.
    AddDiscipline("100", 1, 24, 900.4, 10);
    AddDiscipline("100H", 1, 10, 850.6, 1);
    AddLongJump(1, 800, {{620, 30, 800}, {600, 25, 760}, {610, 27, 780}, {615, 999, 790}, {0, 0, 0}});
    AddDiscipline("200", 1, 20, 700, 1);
    AddDiscipline("KU", 1, 0, 650, 2);
    // 2: -1.0, -0.5, +0.2 and 0 add up to -13: -0.325 on average, rounded up to -0.3.
    AddDiscipline("100", 2, -10, 800);
    AddDiscipline("100H", 2, -5, 800);
    AddLongJump(2, 700, {{580, 2, 700}});
    AddDiscipline("200", 2, 0, 750);
    AddDiscipline("KU", 2, 0, 600);
    // 3: no reading in the hurdles, and no shot put.
    AddDiscipline("100", 3, 40, 1000);
    AddDiscipline("100H", 3, 999, 900);
    AddLongJump(3, 900, {{650, 40, 900}, {600, 0, 800}});
    AddDiscipline("200", 3, 10, 900);
    // 4: 85 tenths, 2.125 rounded up to 2.2; no jump with wind low enough.
    AddDiscipline("100", 4, 30, 600);
    AddDiscipline("100H", 4, 30, 600);
    AddLongJump(4, 500, {{550, 20, 500}, {540, 18, 480}});
    AddDiscipline("200", 4, 5, 600);
    // 9 ran the 100 m alone, without a place in the heptathlon.
    AddDiscipline("100", 9, 90, 2000);

    {
        TResultatManager manager;
        manager.LoadOvelse(&Round("K", "7K"));
        ASSERT_EQ(manager.MKResultatCount(), 5);
        const TResultat& first = Row(manager, 1);
        EXPECT_EQ(first.Resultat, 900 + 851 + 800 + 700 + 650);
        EXPECT_EQ(first.Point3, 14);
        EXPECT_EQ(first.Vind, 21);
        EXPECT_EQ(first.windDisciplines, 4);
        EXPECT_EQ(first.windExcess, 4);
        EXPECT_EQ(first.BestLegalResultat, 40);
        EXPECT_EQ(first.BestLegalVind, 20);
        const TMKResultat& laengde = *manager.GetMKResultat(2);
        EXPECT_EQ(laengde.GetResultat(laengde.IndexOfStartnummer(1))->alternativeAttempt, 2);
        EXPECT_EQ(laengde.GetResultat(laengde.IndexOfStartnummer(4))->alternativeAttempt, 0);
        EXPECT_EQ(Row(manager, 2).Vind, -3);
        EXPECT_EQ(Row(manager, 2).windExcess, 0);
        EXPECT_EQ(Row(manager, 3).Resultat, 3700);
        EXPECT_EQ(Row(manager, 3).Vind, 999);
        EXPECT_EQ(Row(manager, 3).windExcess, 0);
        EXPECT_EQ(Row(manager, 4).Vind, 22);
        EXPECT_EQ(Row(manager, 4).windExcess, 5);
        EXPECT_EQ(Row(manager, 4).BestLegalResultat, 0);
        EXPECT_EQ(manager.IndexOfStartnummer(9), -1);
        manager.SaveResultater();
    }
    const auto stored = [&](int fieldNo) {
        QList<qint32> values;
        for (const quint32 position : positions)
            values << StoredInteger(position, fieldNo);
        return values;
    };
    EXPECT_EQ(stored(Resultat), (QList<qint32>{3901, 3650, 3700, 2300}));
    EXPECT_EQ(stored(Vind), (QList<qint32>{21, -3, 999, 22}));
    EXPECT_EQ(stored(Point3), (QList<qint32>{14, 0, 0, 0}));
    EXPECT_EQ(stored(Placering), (QList<qint32>{1, 3, 2, 4}));

    // Without automatic points the stored totals stand.
    SetRunde(Round("K", "7K"), OvelseRnField::AutoCalcPoint, 0);
    TResultatManager manager;
    manager.LoadOvelse(&Round("K", "7K"));
    EXPECT_EQ(manager.MKResultatCount(), 5);
    EXPECT_EQ(Row(manager, 1).Resultat, 3901);
    EXPECT_EQ(Row(manager, 1).windExcess, 0);
}
