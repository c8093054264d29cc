// Not run by CTest: under a display (Xvfb), the result page of a track round in heats with wind, a high
// jump in series mode, a combined event and a relay, each as a PNG in $ZUNO_SCREENSHOTS.
#include "EditOvelseTestSupport.h"

#include "model/D_Result.h"

#include <QAction>

namespace {

class ResultScreenshots : public TEditOvelseTest {
protected:
    ResultScreenshots() {
        AddProgramme({{"K", "LÆ", "F"}, {"K", "KU", "F"}, {"K", "7K", "F"}});
        for (const auto& [ovelse, nr] :
             {std::pair("100", 1), std::pair("LÆ", 2), std::pair("KU", 3), std::pair("7K", 4)}) {
            TOvelseRkElement* row = Ov().FindOvelseRk("K", ovelse);
            row->GetField(OvelseRkField::MKOvelse)->SetAsString("7K");
            row->GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(nr);
        }
        Ov().Save();
        Ov().Reload();
        SetRunde(Round("K", "7K"), OvelseRnField::AutoCalcPoint, 1);
        const char* const navne[] = {"Mads Kjær",     "Søren Ødegård", "Anders Bøgh", "Jens Ærtebjerg",
                                     "Ole Ågesen",    "Peter Holm",    "Niels Friis", "Kasper Lund",
                                     "Rasmus Dahl",   "Mikkel Brø",    "Jonas Skov",  "Emil Kragh",
                                     "Frederik Juhl", "Lars Mørch",    "Henrik Vang", "Thomas Bæk"};
        const char* const klubber[] = {"Aarhus 1900", "Sparta Atletik", "Københavns IF", "Odense Atletik"};
        for (int k = 0; k < 4; ++k)
            AddKlub(k + 1, QString::fromUtf8(klubber[k]));
        for (int nr = 1; nr <= 16; ++nr)
            AddDeltager(nr, QString::fromUtf8(navne[nr - 1]), 1995 + nr % 8, nr % 4 + 1);
        // 100 m heats with a wind per heat.
        for (int nr = 1; nr <= 16; ++nr)
            AddResultat(Round("M", "100", "I"), nr,
                        Fields({{ResultatField::Heat, (nr - 1) / 8 + 1},
                                {ResultatField::Banenummer, (nr - 1) % 8 + 1},
                                {ResultatField::Resultat, 1050 + (nr * 37) % 90},
                                {ResultatField::Vind, (nr - 1) / 8 == 0 ? 12 : -4},
                                {ResultatField::PersonligRekord, 1040 + nr}}));
        // High jump in series.
        const std::vector<std::vector<std::pair<qint32, qint32>>> series = {
            {{170, 3}, {175, 23}, {180, 3}, {185, 222}},
            {{170, 3}, {175, 3}, {180, 223}, {185, 222}},
            {{170, 23}, {175, 222}},
            {{170, 1}, {175, 3}, {180, 222}}};
        for (int i = 0; i < 4; ++i)
            AddResultat(Round("M", "HØ"), 21 + i, Fields({{ResultatField::Heat, 1}}), Serie(series[i]));
        for (int i = 0; i < 4; ++i)
            AddDeltager(21 + i, QString::fromUtf8(navne[i + 4]), 1990 + i, i + 1);
        // Heptathlon: three disciplines with points.
        for (int i = 0; i < 4; ++i) {
            const qint32 nr = 31 + i;
            AddDeltager(nr, QStringLiteral("Atlet %1").arg(i + 1), 1998, i + 1, "K");
            AddResultat(Round("K", "7K"), nr, Fields({{ResultatField::Heat, 1}}));
            for (const auto& discipline : {std::pair("100", 900 - 40 * i), std::pair("LÆ", 820 + 25 * i),
                                           std::pair("KU", 700 - 10 * i)}) {
                const double point = discipline.second;
                AddResultat(Round("K", discipline.first), nr, [point](TResultatTable& t) {
                    t.GetField(ResultatField::Heat)->SetAsInteger(1);
                    t.GetField(ResultatField::Resultat)->SetAsInteger(1200);
                    t.GetField(ResultatField::Point)->SetAsFloat(point);
                });
            }
        }
        // Relay teams with legs.
        for (int k = 0; k < 4; ++k) {
            const qint32 nr = 41 + k;
            AddDeltager(nr, QString::fromUtf8(klubber[k]) + " stafet", 0, k + 1);
            AddResultat(Round("M", "4X100"), nr,
                        Fields({{ResultatField::Heat, 1},
                                {ResultatField::Banenummer, k + 3},
                                {ResultatField::Resultat, 4210 + 35 * k}}),
                        Serie({{k + 1, 0}, {k + 5, 0}, {k + 9, 0}, {k + 13, 0}}));
        }
    }
    void Shoot(TEditOvelseForm& form, const TOvelseInfo& round, const QString& name, bool serie = false) {
        OpenResultPage(form, round);
        if (serie)
            form.ResultatSerieToolButton->trigger();
        Settle();
        QTest::qWait(300);
        EXPECT_TRUE(form.grab().save(qEnvironmentVariable("ZUNO_SCREENSHOTS") + u'/' + name + ".png"));
        if (serie) {
            form.SerieGrid->GotoCell(TEditOvelseForm::SerieRKodeCol, 1, true);
            Settle();
            form.ResultatSerieToolButton->trigger();
        }
        form.PageControl->setCurrentWidget(form.OversigtPage);
        Settle();
    }
};

TEST_F(ResultScreenshots, DISABLED_TheResultPageOfFourKindsOfRound) {
    ASSERT_FALSE(qEnvironmentVariable("ZUNO_SCREENSHOTS").isEmpty());
    const auto form = Open();
    form->resize(1400, 760);
    Shoot(*form, Round("M", "100", "I"), "result-track-heats-wind");
    Shoot(*form, Round("M", "HØ"), "result-high-jump-series", true);
    Shoot(*form, Round("K", "7K"), "result-combined-event");
    Shoot(*form, Round("M", "4X100"), "result-relay");
    const QStringList shown = Shown();
    EXPECT_TRUE(shown.isEmpty()) << shown.join(" | ").toStdString();
}

} // namespace
