#pragma once
// Diplomas of a club's participants, printed on the meet's diploma printer: with the meet's second
// diploma style one diploma per result with a mark, else one page per participant with the results.
// A participant is marked as having had its diploma only when it went to the printer; a preview marks
// nobody.
#include "model/D_DBDef.h"

#include <QString>

#include <vector>

class QObject;
class TKlubManager;
class TOvelseInfo;
class TStdPrint;

// One result of a diploma.
struct TDiplomResultat {
    const TOvelseInfo* Info = nullptr;
    QString Klasse;
    QString Ovelse;
    QString Resultat; // the mark, with " w:" and the wind where the round measures it
    QString Placering;
    qint32 Mark = 0;
    qint32 Vind = 0;
    qint32 Plac = 0;
};

struct TDiplom {
    TDeltagerElement* Deltager = nullptr;
    QString Navn;
    QString Klub;
    std::vector<TDiplomResultat> Resultater;
};

class TKlubDiplomUdskrift {
public:
    // owner: the window the diplomas print for (previews and boxes belong to it); may be null.
    explicit TKlubDiplomUdskrift(QObject* owner = nullptr);

    // The meet's clubs with their data; not owned. Each club is selected in turn.
    TKlubManager* KlubManager = nullptr;
    std::vector<TKlubElement*> Klubber;
    int Order = DeltagerField::Navn;
    // Only the participant with this start number; 0 for all.
    qint32 Startnummer = 0;
    bool UdskrivTilPrinter = false;
    // Only participants without a diploma, all of whose entries have a mark.
    bool KunNyeDiplomer = true;

    // What the club manager's current club gives diplomas to, in its participant order.
    std::vector<TDiplom> Diplomer();
    // One page per diploma, the first line of each further one starting a new page.
    static void LayPages(TStdPrint& print, const std::vector<TDiplom>& diplomer);
    // Every chosen club's diplomas, on the diploma printer; the printer current before is current again
    // afterwards. Returns the number of participants marked as done.
    int Run();

private:
    // The club's diplomas; the number of participants marked.
    int RunKlub();

    QObject* owner_;
};
