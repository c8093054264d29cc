#include "ui/ImportStaevne.h"

#include "support/Test.h"

#include "foundation/Messages.h"
#include "storage/DBFieldDate.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

TSystemData Imported() {
    TSystemData data;
    data.Overskrift1 = "DM i atletik";
    data.Overskrift2 = "Ungdom";
    data.Overskrift3 = "Østerbro";
    data.Arrangor = "Århus 1900";
    data.Dato = EncodeDateTime(QDate(2025, 8, 9), QTime(13, 45));
    return data;
}

// Runs Action once the form's modal loop has started; a form still open after two seconds is closed
// with a result that is neither OK nor Cancel, so a fault fails the test instead of hanging it.
bool AskWhileDoing(TImportStaevneForm& Form, QString& Navn, std::function<void()> Action) {
    QTimer::singleShot(0, &Form, [&Form, Action] {
        if (Form.isVisible())
            Action();
    });
    QTimer Watchdog;
    Watchdog.setSingleShot(true);
    QObject::connect(&Watchdog, &QTimer::timeout, &Form, [&Form] { Form.done(99); });
    Watchdog.start(2000);
    return Form.AskStaevneNavn(Imported(), Navn);
}

TEST(ImportStaevneFormTest, ShowsTheImportedMeetAndTheNameToOffer) {
    TImportStaevneForm Form;
    Form.ShowImportData(Imported(), "Stævne fra fil");
    EXPECT_EQ(Form.windowTitle(), "Importér stævne");
    EXPECT_EQ(Form.GroupBox->title(), " Data fra import-fil ");
    EXPECT_EQ(QStringList({Form.Header1->text(), Form.Header2->text(), Form.Header3->text(),
                           Form.Footer1->text(), Form.Footer2->text(), Form.Dato->text(),
                           Form.NavnLabel->text(), Form.StaevneNavn->text()}),
              QStringList({"DM i atletik", "Ungdom", "Østerbro", "Arrangør:", "Århus 1900",
                           "09-08-2025 13:45", "Angiv nyt stævnenavn", "Stævne fra fil"}));

    Form.ShowImportData(TSystemData(), "x");
    EXPECT_EQ(Form.Dato->text(), ""); // no date
}

TEST(ImportStaevneFormTest, OkGivesTheTypedNameAndCancelOrEscapeRefuse) {
    TImportStaevneForm Form;
    QString Navn = "Fra fil";
    EXPECT_TRUE(AskWhileDoing(Form, Navn, [&] {
        Form.StaevneNavn->setText("Mit stævne");
        Form.OKButton->click();
    }));
    EXPECT_EQ(Navn, "Mit stævne");

    // Enter in the name box is OK.
    EXPECT_TRUE(AskWhileDoing(Form, Navn, [&] {
        QKeyEvent Enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(Form.StaevneNavn, &Enter);
    }));

    EXPECT_FALSE(AskWhileDoing(Form, Navn, [&] { Form.AnnullerButton->click(); }));
    EXPECT_EQ(Form.result(), mrCancel);
    EXPECT_FALSE(AskWhileDoing(Form, Navn, [&] {
        QKeyEvent Escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(Form.StaevneNavn, &Escape);
    }));
    EXPECT_EQ(Navn, "Mit stævne");
}

} // namespace
