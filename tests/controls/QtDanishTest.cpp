#include "foundation/controls/QtDanish.h"

#include "Gui.h"
#include "support/Test.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QTranslator>

#include <memory>

namespace {

// Qt's texts and the default locale as they were, whatever the test did.
class TQtTextsScope {
public:
    ~TQtTextsScope() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

} // namespace

TEST(QtDanish, QtsOwnTextsAndTheCalendarAreDanish) {
    const TQtTextsScope restore;
    const std::unique_ptr<QTranslator> translator(InstallDanishQtTexts());
    ASSERT_NE(translator, nullptr) << "Qt's Danish translations are missing (qt6-translations-l10n)";

    // The edit fields' context menu.
    QLineEdit edit;
    edit.setText("tekst");
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << action->text().section(u'\t', 0, 0);
    EXPECT_TRUE(captions.contains("&Kopiér") && captions.contains("&Sæt ind") && !captions.contains("&Copy"))
        << captions.join(" | ").toStdString();

    // The calendar's month button and its day names.
    QCalendarWidget calendar;
    calendar.setSelectedDate(QDate(2026, 1, 5));
    calendar.show();
    Settle();
    auto* month = calendar.findChild<QToolButton*>("qt_calendar_monthbutton");
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text(), "januar");
    EXPECT_EQ(calendar.locale().dayName(1), "mandag");
}
