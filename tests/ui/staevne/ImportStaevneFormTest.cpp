#include "ui/staevne/ImportStaevne.h"

#include "UiTestSupport.h"
#include "support/Test.h"

#include "foundation/Messages.h"
#include "storage/DBFieldDate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace {

TSystemData Imported() {
    TSystemData data;
    data.Arrangor = "Århus 1900";
    data.Dato = EncodeDateTime(QDate(2025, 8, 9), QTime(13, 45));
    return data;
}

// Asks for the name while action answers the dialog.
bool AskWhileDoing(TImportStaevneForm& form, QString& navn, std::function<void()> action) {
    OnNextModal<TImportStaevneForm>([action](TImportStaevneForm&) { action(); });
    return form.AskStaevneNavn(Imported(), navn);
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
