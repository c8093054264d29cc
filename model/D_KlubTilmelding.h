#pragma once
// The quick registration of a single race with two distances: every participant is a club, a participant
// and an entry of its own, all three keyed by the start number. The club record (its KlubNr the start
// number) holds the club name, address and e-mail, the participant record the name and birth year, the
// entry the class letter and the distance as its event code.
#include "model/D_DBDef.h"

#include <QString>

// One registration as the dialog shows it.
struct TTilmelding {
    qint32 Startnummer = 0;
    QString Navn;
    qint32 Aargang = 0;
    QString Klub;
    QString Adresse1;
    QString Adresse2;
    QString Adresse3;
    QString Email;
    // The class letter followed by the distance: "M42", "M77", "K42" or "K77".
    QString KlasseDistance;
};

// The highest start number a registration can have: its club number is stored in two bytes.
constexpr qint32 MaxTilmeldingStartnummer = 32767;

class TTilmeldinger {
public:
    // Opens the club, participant and result tables of the program folder.
    TTilmeldinger();
    ~TTilmeldinger();
    TTilmeldinger(const TTilmeldinger&) = delete;
    TTilmeldinger& operator=(const TTilmeldinger&) = delete;

    // The registration of the start number, which becomes the loaded one. An unknown number gets its
    // three records at once, in one transaction, with the class letter and distance given for its entry.
    // Raises for a number below 1 or above what a club number holds, for a club record without its
    // participant or entry, and for a number another athlete has (nothing is made then).
    TTilmelding FindStartnummer(qint32 startnummer, const QString& klasse, const QString& distance);
    // Stores the registration into the three records of its start number, in one transaction. Raises
    // "Forkert klasse eller distance" for a code that is not one of the four (upper case is made), and
    // refuses a start number other than the loaded one; nothing is stored then.
    void SaveDeltager(const TTilmelding& tilmelding);
    // The start number last found or created; 0 when none.
    qint32 LoadedStartnummer() const { return loaded_; }

private:
    // The three records of the start number made current; raises the dialog's messages when one is
    // missing (false when not even the club record is there), and refuses a number that is not a
    // registration's own (CheckHolder).
    bool Locate(qint32 startnummer);
    // Refuses, naming the holder, a start number that a participant of another club has, that two
    // participants have, whose club has other participants too, or that an entry without its
    // participant has: its records are not one registration's, and storing into them would change
    // another athlete's.
    void CheckHolder(qint32 startnummer);
    // Raises the taken-number refusal naming the current participant record and its club.
    [[noreturn]] void RefuseHolder(qint32 startnummer);
    void Create(qint32 startnummer, const QString& klasse, const QString& distance);
    TTilmelding Current() const;

    TKlubTable klub_;
    TDeltagerTable deltager_;
    TResultatTable resultat_;
    qint32 loaded_ = 0;
};

// The class-and-distance code upper-cased, or "Forkert klasse eller distance" raised.
QString CheckKlasseDistance(const QString& code);
