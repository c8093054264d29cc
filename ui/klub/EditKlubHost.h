#pragma once
// What the clubs dialog's lower panels (the club prints, the entry import) use of the dialog that holds
// them: its club list and the club's edits, the prints' options, and its commands on the current club.
// The dialog provides it, so the panels build on this alone and the dialog's header stays the dialog's.
#include "model/D_DBDef.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QString;
class QWidget;
class TDeltagerGridRules;
class TExtStringGrid;
class TKlubManager;

// The dialog's widgets that the panels read or fill; the dialog owns them all.
struct TKlubDialogWidgets {
    // The owner of the prints' windows.
    QWidget* Dialog;
    QListWidget* KlubberListbox;
    TExtStringGrid* DeltagerGrid;
    // The club's edits
    QLineEdit* KlubNavnEdit;
    QLineEdit* TelefonEdit;
    QLineEdit* FaxEdit;
    QLineEdit* EMailEdit;
    QLineEdit* KontaktPersonEdit;
    QLineEdit* Adresse1Edit;
    QLineEdit* Adresse2Edit;
    QLineEdit* Adresse3Edit;
    QLineEdit* Adresse4Edit;
    QLineEdit* Adresse5Edit;
    // The prints' options
    QCheckBox* UdskrivDeltagere;
    QCheckBox* UdskrivRegnskab;
    QCheckBox* UdskrivStartnumre;
    QCheckBox* UdskrivTilPrinter;
    QCheckBox* UdskrivTilHTML;
    QCheckBox* KunNyeDiplomer;
};

// The dialog's side; what each command does is told where the dialog declares it.
class TKlubDialogHost {
public:
    virtual TKlubDialogWidgets Widgets() = 0;
    virtual TKlubManager& KlubManager() = 0;
    virtual TDeltagerGridRules& DeltagerRules() = 0;
    virtual TKlubElement* KlubOf(const QListWidgetItem* item) const = 0;
    virtual int DeltagerOrder() const = 0;
    virtual void ShowKlub(int position) = 0;
    virtual bool SaveKlub() = 0;
    virtual bool SelectKlub(TKlubElement& klub) = 0;
    virtual bool NyKlub() = 0;
    virtual void KlubNavnEditChange(const QString& text) = 0;
    virtual void FillDeltagerGrid() = 0;

protected:
    ~TKlubDialogHost() = default;
};
