#pragma once
// A club's entry list pasted as delimited text: each line read into the import's columns (the English
// coding turned into the meet's, event texts into event codes, marks cleaned of their units), the rows
// checked against the meet's programme, and the good ones made participants and entries of the club a
// club manager has loaded, by the same rules as the clubs dialog's participant grid. Nothing is saved
// here: the club manager's save stores the import with the rest of the club.
#include "model/D_DBDef.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class TKlubManager;
class TOvelseManager;

// The columns of an import row, in the order the import grid shows them.
namespace ImportCol {
enum : int { Navn, Aargang, Klasse, Ovelse, TilmeldtRes, PR, Startnr, EA, Kode, Count };
}
using TImportRow = std::array<QString, ImportCol::Count>;

// The club as the first line gives it.
struct TImportKlub {
    QString Navn;
    QString KontaktPerson;
    QString Adresse1;
    QString Adresse2;
    QString Email;
    QString Telefon;
};

struct TImportSettings {
    QChar Separator = u';';
    // The lines begin with the start number.
    bool StartnummerInkluderet = false;
    // The English coding of classes, events and categories (the meet's Redid setting).
    bool Redid = false;
    // Marks are taken as typed (the meet's VT setting).
    bool VT = false;
};

// The settings chosen in the import panel, with the meet's: TAB when useTab, else the first character of
// the separator text, or ";" when it is empty.
TImportSettings ImportSettings(const QString& separator, bool useTab, bool startnummerInkluderet);

// The line's 15 positions: start number (empty unless the lines begin with it), name, birth year, class,
// event, entry mark, personal best, late-entry flag, status code, club, contact person, address 1 and 2,
// e-mail, telephone. Further fields are not read. Each field is trimmed of blanks and loses every
// non-breaking space. A malformed quoted field raises the CSV reader's error.
QStringList ImportFields(const QString& line, QChar separator, bool startnummerInkluderet);
// The English coding of one line's positions: age group with "G" or "B" to a class, the events' English
// codes to the meet's, the category letter in the entry-mark position to a rank in the status position.
void KonverterEngelsk(QStringList& fields);
// A mark without its unit: no blanks, and nothing after its last digit, "," or ".".
QString KunResultat(const QString& text);
// The event code a pasted event text stands for in the class: the catalogue's code as typed, a distance
// with its kind ("60 m hæk" 60H, "4 x 100 m" 4X100, "100 m" 100), or a name's first two letters
// ("Højdespring" HØ); only a code the class has in this meet. Without one the text stays as typed.
QString NormaliserOvelse(TOvelseManager& ovelser, const QString& ovelse, const QString& klasse);

// Event texts normalised once per class and text: an entry list names few of each.
class TOvelseNormaliser {
public:
    explicit TOvelseNormaliser(TOvelseManager& ovelser)
        : ovelser_(ovelser) {}
    QString operator()(const QString& ovelse, const QString& klasse);

private:
    TOvelseManager& ovelser_;
    QHash<std::pair<QString, QString>, QString> known_;
};

struct TImportData {
    TImportKlub Klub;
    std::vector<TImportRow> Rows;
    // "Error in FortolkCSVData: " and the error; the rows read before it stay. Empty when none.
    QString Error;
};

// The pasted text read line by line into rows. A row whose name is empty or "-" is the athlete of the
// row above (name and birth year), and one whose class is empty or "-" has that row's class; the event
// is normalised with the row's class.
TImportData FortolkCSVData(const QString& text, const TImportSettings& settings, TOvelseManager& ovelser);

// A row that failed, numbered as the import grid numbers it (the first row is 1).
struct TImportFejl {
    int Row = 0;
    QString Text;
};
// "Fejl i linie " + row + ", " + text.
QString FejlText(const TImportFejl& fejl);
// The failures one to a line; a long list ends with the number of the others.
QString FejlListe(const std::vector<TImportFejl>& fejl);

// Row markers: 0 checked and good, 1 failed.
constexpr int ImportRowOk = 0;
constexpr int ImportRowFejl = 1;

struct TImportKontrol {
    // False when there was nothing to check (one empty row).
    bool Checked = false;
    // One per row.
    std::vector<int> Markers;
    std::vector<TImportFejl> Fejl;
};

// Checks the rows as the update will take them: with more than one row, empty rows go, a row without a
// name is the athlete of the nearest row above with one, and a row repeating that athlete (birth year and
// name, and start number when both have one) loses its name and year, so that the athlete's name stands
// on the first row only. Then each row: every text must be one the record files can hold as written, its
// start number and birth year must be numbers, its class and event an event row of the meet, its marks
// as the event takes them (with redid its rank a number); the further rows of an athlete whose row
// failed fail with it, and so does an entry with no athlete above. The club's details, which the first
// line gave, fail as line 1 when the record files cannot hold one of them.
TImportKontrol AutoKontrol(std::vector<TImportRow>& rows, TOvelseManager& ovelser, bool redid,
                           const TImportKlub& klub = {});

struct TImportResultat {
    int Deltagere = 0;
    int Tilmeldinger = 0;
    // Rows the update refused; nothing of them was made, and their markers are now 1.
    std::vector<TImportFejl> Fejl;
};

// Makes the rows marked good participants and entries of the club manager's current club: a row with a
// name is a new participant, numbered by its start number or else the next free one; its entry, and the
// entries of the rows without a name that follow it, are that participant's. With redid the status
// column is the entry's rank. A row that fails leaves nothing behind, and its athlete's further rows are
// passed over.
TImportResultat AutoOpdDeltagere(TKlubManager& klubber, TOvelseManager& ovelser,
                                 const std::vector<TImportRow>& rows, std::vector<int>& markers, bool redid);

// The meet's club of this name, compared trimmed and without regard to case; null when none. The club
// manager's current club stays the current one.
TKlubElement* FindKlubByNavn(TKlubManager& klubber, const QString& navn);
