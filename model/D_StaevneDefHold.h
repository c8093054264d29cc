#pragma once
// The team-league templates of the meet wizard ("Danmarksturnering", "Veteran holdturnering", "DMU hold")
// as rules: from the choices of a league's page (sex or class, division, round, district, teams) follow
// the programme table, the meet's one class, its settings and headings, and its programme rows.
#include "model/D_StaevneDefData.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class TEditOvelsesRaekke;
class TOvelseManager;
class TSystemData;
struct TStaevneRegistry;

enum class THoldTurnering { DT, VT, LTU };
// The rounds the pages offer: DT "Indledende runde", "Kvalifikation", "Finale"; VT "1. indledende
// runde", "2. indledende runde", "Øst/vest finale", "Finale"; DMU hold "Indledende", "Finale".
enum class THoldRunde { Ingen, Indledende, Kvalifikation, Finale, Runde1, Runde2, OestVestFinale };
enum class THoldDistrikt { Ingen, Oest, Vest };

// A team of a page's grid whose "Klub" cell is not empty; it becomes one club.
struct THoldKlub {
    QString Navn;     // the cell trimmed, or "Hold " and the letter when that leaves nothing
    QString HoldKode; // the team letter
    double PointRunde1 = 0;
};

// What a league's page chose.
struct THoldValg {
    THoldTurnering Turnering = THoldTurnering::DT;
    std::optional<bool> Maend; // DT and VT: the sex, none while it is not chosen
    QString Klasse;            // DMU hold: "D15", "P15", "D19" or "P19"; empty while none is chosen
    int Division = -1;         // DT: DTEliteDivision or 1-7; -1 while none is chosen
    THoldRunde Runde = THoldRunde::Ingen;
    THoldDistrikt Distrikt = THoldDistrikt::Ingen;
    int AntalHold = 0;           // DT: "Antal hold"
    bool DobbeltMatch = false;   // DT: the double times of the table are used
    std::vector<THoldKlub> Hold; // the teams, in grid order
};

// The programme table of the choices; empty while the choices that pick it are not made.
THoldProgram HoldProgram(const THoldValg& valg);
// The meet's one class, its position in the standard class table: "K" or "M" in DT and VT, the chosen
// class in DMU hold.
int HoldKlasseNr(const THoldValg& valg);
// The league's settings (the registry values included) and the headings Overskrift1 and Overskrift2.
void SetHoldSettings(const THoldValg& valg, TSystemData& systemData, TStaevneRegistry& registry);
// The programme rows of the table for a meet on dato, in class-then-event order, each with one final at
// its time after the meet's start; events the catalogue does not hold are left out. In DT the events of
// weight 2 join the half-points events of systemData.
void MakeHoldRaekke(const THoldValg& valg, const QDate& dato, TOvelseManager& ovelser,
                    TEditOvelsesRaekke& raekke, TSystemData& systemData);
