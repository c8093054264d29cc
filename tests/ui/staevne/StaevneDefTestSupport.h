#pragma once
// The meet wizard's tests: a program folder with the meet and event managers, a wizard driven through
// its controls, and the programme read back through the event manager.
#include "UiTestSupport.h"
#include "support/ProgramFolderFixture.h"

#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Tablist.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StdKlasser.h"
#include "ui/WidgetKitDato.h"
#include "ui/staevne/StaevneDef.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>

#include <memory>

class TStaevneDefTest : public TProgramFolderTest {
protected:
    TStaevneDefTest() {
        Manager();
        OvelseManager = std::make_unique<TOvelseManager>();
    }

    // A new-meet wizard whose front page is filled in: 9 August 2025 at 10:00 on "Østerbro Stadion".
    std::unique_ptr<TStaevneDefForm> NewWizard(const QString& navn = QStringLiteral("Sommerstævne")) {
        auto form = std::make_unique<TStaevneDefForm>();
        form->SetupNytStaevne();
        form->StaevneNavn->setText(navn);
        form->Stadion->setText(QStringLiteral("Østerbro Stadion"));
        form->Arrangor->setText(QStringLiteral("Sparta"));
        form->Dato->setDate(QDate(2025, 8, 9));
        form->Starttidspunkt->setTime(QTime(10, 0));
        return form;
    }

    // Selects the lines whose first column is one of codes (and no other line).
    static void Select(TTabListbox* list, const QStringList& codes) {
        list->clearSelection();
        for (int row = 0; row < list->count(); ++row) {
            if (codes.contains(list->item(row)->text().section(u'\t', 0, 0)))
                list->item(row)->setSelected(true);
        }
    }
    static QStringList Column(const TTabListbox* list, int column) {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts.append(list->item(row)->text().section(u'\t', column, column));
        return texts;
    }
    static QStringList Lines(const TTabListbox* list) {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts.append(list->item(row)->text());
        return texts;
    }
    static QStringList VisibleTabs(const TStaevneDefForm& form) {
        QStringList tabs;
        for (int tab = 0; tab < form.PageControl->count(); ++tab) {
            if (form.PageControl->isTabVisible(tab))
                tabs.append(form.PageControl->widget(tab)->objectName());
        }
        return tabs;
    }

    // Side 1 with the classes chosen, from the block of "Begge" and youth or veteran classes.
    static void ChooseKlasser(TStaevneDefForm& form, const QStringList& klasser, bool veteraner = false) {
        form.PageControl->setCurrentWidget(form.Side1Page);
        (veteraner ? form.Veteraner : form.Ungdom)->click();
        Select(form.StandardKlasser, klasser);
        form.OpretKlasser->click();
    }
    // Side 2 with natural events of the classes created for all of them.
    static void ChooseOvelser(TStaevneDefForm& form, const QStringList& klasser, const QStringList& ovelser) {
        form.NaesteButton->click();
        Select(form.KlasseListbox2, klasser);
        Select(form.StandardOvelser, ovelser);
        form.OpretOvelser->click();
    }
    // Side 1 and 2 as above, with the same classes on both, and on to side 3.
    static void ToSide3(TStaevneDefForm& form, const QStringList& klasser, const QStringList& ovelser) {
        ChooseKlasser(form, klasser);
        ChooseOvelser(form, klasser, ovelser);
        form.NaesteButton->click();
    }

    // The open meet's rounds in class-major order, each as "class event round-letter".
    static QStringList Runder() {
        QStringList runder;
        for (const auto& [key, info] : OvelseManager->KlasseIndex())
            runder.append(info->GetKlasseKode() + u' ' + info->GetOvelseKode() + u' ' + info->GetRunde());
        return runder;
    }
    static QStringList Klasser() {
        QStringList klasser;
        TKlasseList& list = OvelseManager->KlasseList();
        for (int pos = 0; pos < list.GetCount(); ++pos)
            klasser.append(list.GetElement(pos)->GetTrimmedString(KlasseField::Klasse));
        return klasser;
    }
    // Starts the program again and opens the meet, as the next run would find it.
    TStaevneManager& Reopen(const QString& navn) {
        TStaevneManager& manager = Restart();
        OvelseManager = std::make_unique<TOvelseManager>();
        manager.OpenStaevne(manager.IndexOfStaevneNavn(navn));
        return manager;
    }
};
