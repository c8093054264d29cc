// Pictures of the board's screens for a person to look at, run by hand on a display (Xvfb):
// the title screen, a track round, a field round and a picture, each as a PNG in $ZUNO_SCREENSHOTS.
#include "BoardFixture.h"

#include "controls/Gui.h"
#include "model/D_Staevne.h"
#include "ui/board/ResultatInfo.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

class BoardScreenshots : public TBoardTest {
protected:
    BoardScreenshots() {
        Manager().SystemData().Overskrift1 = QStringLiteral("Sommerstævnet 2025");
        Manager().SystemData().Overskrift2 = QStringLiteral("Zuno Stadion");
        Manager().SystemData().Overskrift3 = QStringLiteral("Lørdag 6. juni");
        Manager().SystemData().Arrangor = QStringLiteral("IF Zuno");
        const char* const navne[] = {"Anders Østergaard", "Bo Jensen",        "Carl Ærø",
                                     "Dennis Hansen",     "Emil Nielsen",     "Frederik Berg",
                                     "Gustav Lund",       "Henrik Møller",    "Ib Kristensen",
                                     "Jens Holm",         "Karl Søndergaard", "Lars Vestergaard"};
        for (qint32 nr = 1; nr <= qint32(std::size(navne)); ++nr)
            AddDeltager(nr, QString::fromUtf8(navne[nr - 1]), 2000, 1);
        for (qint32 nr = 1; nr <= 12; ++nr)
            AddResultat(Round("M", "100", "I"), nr,
                        Fields({{ResultatField::Resultat, 1050 + (nr * 37) % 90}}));
        for (qint32 nr = 1; nr <= 8; ++nr)
            AddResultat(Round("M", "LÆ"), nr,
                        Fields({{ResultatField::Resultat, nr == 5 ? 0 : 540 + (nr * 53) % 160}}));
    }
    static void Save(TResultatInfoForm& form, const QString& name) {
        form.repaint();
        Settle();
        EXPECT_TRUE(form.grab().save(qEnvironmentVariable("ZUNO_SCREENSHOTS") + u'/' + name + ".png"));
    }
};

TEST_F(BoardScreenshots, DISABLED_TitleTrackFieldAndPicture) {
    ASSERT_FALSE(qEnvironmentVariable("ZUNO_SCREENSHOTS").isEmpty());
    // A picture of a sponsor: a gradient with a name on it.
    QImage sponsor(1200, 675, QImage::Format_RGB32);
    {
        QPainter painter(&sponsor);
        QLinearGradient gradient(0, 0, 1200, 675);
        gradient.setColorAt(0, Qt::darkGreen);
        gradient.setColorAt(1, Qt::yellow);
        painter.fillRect(sponsor.rect(), gradient);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 72, QFont::Bold));
        painter.drawText(sponsor.rect(), Qt::AlignCenter, QStringLiteral("Zuno Sport"));
    }
    ASSERT_TRUE(sponsor.save(Path("sponsor.jpg"), "JPG"));
    WriteBoard({"X  100"});
    TResultatInfoForm form(1);
    form.show();
    Settle();
    Save(form, "board-title");
    WriteBoard({"M  100", "M  LÆ", "PICTURE,sponsor.jpg"});
    form.Read();
    Save(form, "board-track");
    form.Read();
    Save(form, "board-field");
    form.Read();
    Save(form, "board-picture");
}

} // namespace
