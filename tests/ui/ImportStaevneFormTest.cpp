#include "ui/ImportStaevne.h"

#include "UiTestSupport.h"
#include "support/Test.h"

#include "foundation/Messages.h"
#include "storage/DBFieldDate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

// Asks for the name while action answers the dialog.
bool AskWhileDoing(TImportStaevneForm& form, QString& navn, std::function<void()> action) {
    OnNextModal<TImportStaevneForm>([action](TImportStaevneForm&) { action(); });
    return form.AskStaevneNavn(Imported(), navn);
}

TEST(ImportStaevneFormTest, ShowsTheImportedMeetAndTheNameToOffer) {
    TImportStaevneForm form;
    form.ShowImportData(Imported(), "Stævne fra fil");
    EXPECT_EQ(QStringList({form.Header1->text(), form.Header2->text(), form.Header3->text(),
                           form.Footer2->text(), form.Dato->text(), form.StaevneNavn->text()}),
              QStringList({"DM i atletik", "Ungdom", "Østerbro", "Århus 1900", "09-08-2025 13:45",
                           "Stævne fra fil"}));

    form.ShowImportData(TSystemData(), "x");
    EXPECT_EQ(form.Dato->text(), ""); // no date
}

TEST(ImportStaevneFormTest, OkGivesTheTypedNameAndCancelOrEscapeRefuse) {
    TImportStaevneForm form;
    QString navn = "Fra fil";
    EXPECT_TRUE(AskWhileDoing(form, navn, [&] {
        form.StaevneNavn->setText("Mit stævne");
        form.OKButton->click();
    }));
    EXPECT_EQ(navn, "Mit stævne");

    // Enter in the name box is OK.
    EXPECT_TRUE(AskWhileDoing(form, navn, [&] {
        QKeyEvent Enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(form.StaevneNavn, &Enter);
    }));

    EXPECT_FALSE(AskWhileDoing(form, navn, [&] { form.AnnullerButton->click(); }));
    EXPECT_EQ(form.result(), mrCancel);
    EXPECT_FALSE(AskWhileDoing(form, navn, [&] {
        QKeyEvent Escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(form.StaevneNavn, &Escape);
    }));
    EXPECT_EQ(navn, "Mit stævne");
}

} // namespace
