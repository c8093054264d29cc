#pragma once
// The per-club statements: for each chosen club its participants with their entries and results and, on
// request, its account (entry fees, goods bought, payments and the balance) and its bib numbers, printed
// through a layout of the report file, or written as one web page per club with a club index page.
#include "model/D_DBDef.h"

#include <QString>
#include <QStringList>

#include <vector>

class QObject;
class TKlubManager;
class TOvelseInfo;
class TStdPrint;

// One entry of a participant as the statement shows it.
struct TKlubEntry {
    const TOvelseInfo* Info = nullptr;
    // The class code: the short form of the lists.
    QString Klasse;
    // The event with its round text.
    QString Ovelse;
    double Gebyr = 0;
    // A start-time list: the status, else the seeding mark; a result list: the status, else the mark
    // with its wind and place, else "Intet resultat".
    QString Resultat;
    // The round's weekday and start time; in a fun run the start time with seconds.
    QString Tid;
    // The personal record (web page of a translated start-time list).
    QString PR;
    bool Stafet = false;
};

struct TKlubDeltager {
    qint32 Startnummer = 0;
    // Surname first unless the meet asks otherwise, then ", " and the birth year when known.
    QString Navn;
    std::vector<TKlubEntry> Entries;
};

struct TKlubKob {
    QString Vare;
    qint32 Antal = 0;
    double Pris = 0;
    double Belob = 0;
};

// The purchases of one goods group.
struct TKlubKobGruppe {
    qint32 Gruppe = 0;
    QString Tekst;
    std::vector<TKlubKob> Kob;
    qint32 Antal = 0;
    double Belob = 0;
};

struct TKlubBetaling {
    QString Dato;
    QString Tekst;
    double Belob = 0;
};

// Everything one club's statement shows, gathered once and then laid out in print or as a page.
struct TKlubStatement {
    qint32 KlubNr = 0;
    QString Navn;
    QString KontaktPerson;
    QStringList Adresse; // Adresse1 to Adresse4
    QString Telefon;
    QString Fax;
    QString Email;

    // The participants listed: those with an entry in the chosen classes, and those entered nowhere.
    std::vector<TKlubDeltager> Deltagere;
    // Counts for the fee line and the index page; a participant with a relay entry is a relay team.
    int AntalDeltagere = 0;
    int AntalStafethold = 0;
    int AntalStarter = 0;
    int AntalStafetStarter = 0;
    int StarterMedGebyr = 0;
    double Startgebyr = 0;

    std::vector<TKlubKobGruppe> Grupper; // by group number
    double Kob = 0;
    std::vector<TKlubBetaling> Betalinger;
    double Indbetalt = 0;

    // Every participant's bib of the club, as ranges: "1-3, 7".
    QString Startnumre;

    double Saldo() const { return Startgebyr + Kob - Indbetalt; }
};

// The bib numbers as ranges, each single number or first-last, separated by ", " (so that a long list
// can wrap); numbers below 1 are no bibs.
QString StartnummerRanges(const std::vector<qint32>& startnumre);

class TKlubUdskrift {
public:
    // owner: the window the job prints for (previews and boxes belong to it); may be null.
    explicit TKlubUdskrift(QObject* owner = nullptr);
    ~TKlubUdskrift();
    TKlubUdskrift(const TKlubUdskrift&) = delete;
    TKlubUdskrift& operator=(const TKlubUdskrift&) = delete;

    // The meet's clubs with their data; not owned. Each club is selected in turn.
    TKlubManager* KlubManager = nullptr;
    bool UdskrivRegnskab = false;
    // Without it no participant or entry line is shown; the fees are still summed.
    bool UdskrivDeltagere = false;
    bool UdskrivStartnumre = false;
    // Straight to the printer instead of the preview.
    bool UdskrivTilPrinter = false;
    // Only entries of classes whose short text is here are shown.
    QStringList Klasser;
    // The clubs, in the order they are printed; not owned.
    std::vector<TKlubElement*> Klubber;
    // The DELTAGER field the participants are ordered by (Startnummer or Navn).
    int Order = DeltagerField::Navn;

    // The whole job: section is the report-file layout ("Motion_" is put in front in a fun run);
    // starttid makes a start-time list, else a result list. To HTML: one page per club named prefix +
    // club number, and the index page "klubliste"; else one print (or preview) per club.
    void Run(const QString& section, bool starttid, const QString& prefix, bool toHtml);

    // What the statement of a club shows in a start-time list (starttid) or a result list; the club becomes
    // the club manager's current one, with its data loaded.
    TKlubStatement Statement(TKlubElement& klub, bool starttid);

private:
    class THtmlRun;

    void PrintKlub(const TKlubStatement& statement, bool starttid);
    // Reports once per run a layout that lacks a column the list uses.
    void CheckColumns(TStdPrint& print, int needed);

    QObject* owner_;
    QString section_;
    bool columnsReported_ = false;
};
