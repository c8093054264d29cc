#pragma once
// The clubs dialog's club prints: the print panel with the classes and the clubs to print, and the
// commands of the print buttons (club lists with start times or results, the balance list, address
// labels, diplomas). A print is of the clubs chosen in the panel while it is open, else of the current
// club; the current club is saved first and shown again afterwards, so the prints see what the dialog
// shows and the dialog what the prints changed.
#include "model/D_DBDef.h"

#include <QWidget>

#include <vector>

class QListWidget;
class TKlubDialogHost;

class TKlubUdskriftPanel : public QWidget {
    Q_OBJECT
public:
    TKlubUdskriftPanel(TKlubDialogHost& dialog, QWidget* parent);

    QListWidget* const UdskriftKlasserListbox;
    QListWidget* const UdskriftKlubListBox;

    // The meet's classes, all selected.
    void FillKlasser();
    // The club list's clubs, none selected.
    void FillKlubber();

    // ---- The print buttons
    void Klubliste(bool starttid);
    void Saldoliste();
    void Labels();
    // All participants of the chosen clubs, or the participant of the participant grid's current row.
    void Diplomer(bool alle);

private:
    // The clubs to print, the current club saved first; empty when it could not be saved.
    std::vector<TKlubElement*> ChosenKlubber();
    // The participant grid's current club shown again after a print.
    void ShowCurrentAgain();

    TKlubDialogHost& dialog_;
};
