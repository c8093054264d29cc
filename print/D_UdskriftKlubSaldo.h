#pragma once
// The balance list of the clubs dialog: one line per chosen club with its entries that pay a fee and
// their fees, its purchases, its payments and its balance, in groups of three, and a bold total line,
// laid out by the report file's section "KlubSaldoListe".
#include "model/D_DBDef.h"

#include <QString>

#include <vector>

class QObject;
class TKlubManager;
class TStdPrint;

struct TKlubSaldo {
    QString Navn;
    // Entries of the meet's rounds with a fee other than 0, and the sum of their fees.
    int Starter = 0;
    double Gebyr = 0;
    double Kob = 0;
    double Betalt = 0;

    double Saldo() const { return Gebyr + Kob - Betalt; }
    TKlubSaldo& operator+=(const TKlubSaldo& other);
};

// The club's balance; the club becomes the club manager's current one, its data loaded in the order.
TKlubSaldo KlubSaldo(TKlubManager& klubber, TKlubElement& klub, int order);

class TKlubSaldoUdskrift {
public:
    // owner: the window the list prints for (the preview and the boxes belong to it); may be null.
    explicit TKlubSaldoUdskrift(QObject* owner = nullptr);

    // The meet's clubs with their data; not owned. Each chosen club is selected in turn.
    TKlubManager* KlubManager = nullptr;
    // The clubs, in the order they are listed; not owned.
    std::vector<TKlubElement*> Klubber;
    int Order = DeltagerField::Navn;
    // Straight to the printer instead of the preview.
    bool UdskrivTilPrinter = false;

    // The balances of the chosen clubs, then the total.
    std::vector<TKlubSaldo> Saldi();
    // Lays the lines onto a print loaded with the layout.
    static void Lay(TStdPrint& print, const std::vector<TKlubSaldo>& saldi);
    // The list printed or previewed.
    void Run();

private:
    QObject* owner_;
};
