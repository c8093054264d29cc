#pragma once
// The record layouts of the 14 record files. Each list names the fields that follow Oprettet and
// SidstRettet (fields 0 and 1, date-time doubles of 8 bytes, in every record), in stored order, as
// F(identifier, stored name, type code, size); every field starts where the one before it ends. The
// namespaces below number the fields for GetField: KlasseField::Klasse is field 4 of KLASSE.ZU2.

// clang-format off
#define ZUNO_STAEVNE_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Navn, "Navn", 0, 30) \
    F(Status, "Status", 1, 1) \
    F(OvelseRettet, "OvelseRettet", 9, 8) \
    F(Reserveret, "Reserveret", 11, 21)

#define ZUNO_OVELSE_FIELDS(F) \
    F(Sortkode, "Sortkode", 1, 2) \
    F(Ovelse, "Ovelse", 0, 6) \
    F(Korttekst, "Korttekst", 0, 21) \
    F(Langtekst, "Langtekst", 0, 80) \
    F(Ovtype, "Ovtype", 1, 2) \
    F(EltidKorr, "EltidKorr", 1, 2) \
    F(Vindmaaling, "Vindmaaling", 1, 2) \
    F(Restype, "Restype", 1, 2) \
    F(System, "System", 1, 2) \
    F(Sprog, "Sprog", 1, 1) \
    F(StartBlok, "StartBlok", 1, 1) \
    F(Reserveret, "Reserveret", 11, 18)

#define ZUNO_OVDEF_FIELDS(F) \
    F(Sortkode, "Sortkode", 1, 2) \
    F(Ovelse, "Ovelse", 0, 6) \
    F(Attribut, "Attribut", 0, 6) \
    F(Tekst, "Tekst", 0, 50) \
    F(System, "System", 1, 2) \
    F(Sprog, "Sprog", 1, 1) \
    F(Reserveret, "Reserveret", 11, 19)

#define ZUNO_KLASSE_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Sortkode, "Sortkode", 1, 2) \
    F(Klasse, "Klasse", 0, 3) \
    F(Korttekst, "Korttekst", 0, 20) \
    F(Langtekst, "Langtekst", 0, 80) \
    F(Reserveret, "Reserveret", 11, 21)

#define ZUNO_OVELSERK_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Klasse, "Klasse", 0, 3) \
    F(Ovelse, "Ovelse", 0, 6) \
    F(Attribut, "Attribut", 0, 6) \
    F(Unused1, "Unused1", 1, 2) \
    F(Startgebyr1, "Startgebyr1", 2, 8) \
    F(Efteranmgebyr1, "Efteranmgebyr1", 2, 8) \
    F(Strafgebyr1, "Strafgebyr1", 2, 8) \
    F(Startgebyr2, "Startgebyr2", 2, 8) \
    F(Efteranmgebyr2, "Efteranmgebyr2", 2, 8) \
    F(Strafgebyr2, "Strafgebyr2", 2, 8) \
    F(Runder, "Runder", 0, 6) \
    F(AntalPrHeat, "AntalPrHeat", 1, 2) \
    F(InfoTekst, "InfoTekst", 1, 4) \
    F(Distance, "Distance", 1, 4) \
    F(HoldBaneFordeling, "HoldBaneFordeling", 0, 25) \
    F(MKOvelse, "MKOvelse", 0, 6) \
    F(Unused2, "Unused2", 0, 6) \
    F(PointBeregning, "PointBeregning", 1, 1) \
    F(MKOvelseNr, "MKOvelseNr", 1, 1) \
    F(Uofficiel, "Uofficiel", 1, 1) \
    F(Reserveret, "Reserveret", 11, 20)

#define ZUNO_OVELSERN_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Klasse, "Klasse", 0, 3) \
    F(Ovelse, "Ovelse", 0, 6) \
    F(Runde, "Runde", 0, 1) \
    F(DatoTid, "DatoTid", 9, 8) \
    F(Sted, "Sted", 0, 10) \
    F(ResType, "ResType", 1, 1) \
    F(Status, "Status", 1, 1) \
    F(Heatinddeling, "Heatinddeling", 1, 1) \
    F(Banefordeling, "Banefordeling", 1, 1) \
    F(Banenummerering, "Banenummerering", 1, 1) \
    F(FinaleType, "FinaleType", 1, 1) \
    F(Unused1, "Unused1", 1, 1) \
    F(CalcAfvTid, "CalcAfvTid", 1, 2) \
    F(ExtraText, "ExtraText", 0, 6) \
    F(SpecAfvTid, "SpecAfvTid", 1, 2) \
    F(ExtraText2, "ExtraText2", 0, 6) \
    F(AntalForsog, "AntalForsog", 1, 1) \
    F(AntalForsogFinale, "AntalForsogFinale", 1, 1) \
    F(AntalTilFinale, "AntalTilFinale", 1, 1) \
    F(TidPrForsog, "TidPrForsog", 1, 2) \
    F(TidPrDeltager, "TidPrDeltager", 1, 2) \
    F(TidPrHeat, "TidPrHeat", 1, 2) \
    F(UdskriftKode, "UdskriftKode", 1, 1) \
    F(Vindmaaling, "Vindmaaling", 1, 1) \
    F(AntalViderePlac, "AntalViderePlac", 1, 1) \
    F(AntalVidereIalt, "AntalVidereIalt", 1, 1) \
    F(VidereSeedning, "VidereSeedning", 1, 1) \
    F(AutoCalcPoint, "AutoCalcPoint", 1, 1) \
    F(AntalPrHold, "AntalPrHold", 1, 1) \
    F(HoldPoint, "HoldPoint", 1, 1) \
    F(RankAsSeedning, "RankAsSeedning", 1, 1) \
    F(FinaleKrav, "FinaleKrav", 1, 4) \
    F(AntalPrHeat, "AntalPrHeat", 1, 2) \
    F(Unused2, "Unused2", 0, 1) \
    F(ExtraText3, "ExtraText3", 0, 14)

#define ZUNO_AFVSTED_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Sortkode, "Sortkode", 1, 2) \
    F(Sted, "Sted", 0, 10) \
    F(Tekst, "Tekst", 0, 50) \
    F(Reserveret, "Reserveret", 0, 16)

#define ZUNO_KLUB_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(KlubNr, "KlubNr", 1, 2) \
    F(Navn, "Navn", 0, 25) \
    F(KontaktPerson, "KontaktPerson", 0, 30) \
    F(Adresse1, "Adresse1", 0, 30) \
    F(Adresse2, "Adresse2", 0, 30) \
    F(Adresse3, "Adresse3", 0, 30) \
    F(Adresse4, "Adresse4", 0, 30) \
    F(Adresse5, "Adresse5", 0, 30) \
    F(Telefon, "Telefon", 0, 30) \
    F(Fax, "Fax", 0, 30) \
    F(Email, "Email", 0, 50) \
    F(Prisgruppe, "Prisgruppe", 1, 1) \
    F(HoldKode, "HoldKode", 0, 1) \
    F(PointRunde1, "PointRunde1", 2, 8) \
    F(KortNavn, "KortNavn", 0, 6) \
    F(Reserveret, "Reserveret", 11, 13)

#define ZUNO_DELTAGER_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Startnummer, "Startnummer", 1, 4) \
    F(KlubNr, "KlubNr", 1, 2) \
    F(Navn, "Navn", 0, 25) \
    F(Aargang, "Aargang", 1, 2) \
    F(Koen, "Køn", 0, 1) \
    F(Licensnummer, "Licensnummer", 1, 2) \
    F(DiplomStatus, "DiplomStatus", 1, 1)

// Fields 21 and 29 are both stored as ResultatKom.
#define ZUNO_RESULTAT_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Klasse, "Klasse", 0, 3) \
    F(Ovelse, "Ovelse", 0, 6) \
    F(Runde, "Runde", 0, 1) \
    F(Startnummer, "Startnummer", 1, 4) \
    F(Heat, "Heat", 1, 2) \
    F(Efteranmeldelse, "Efteranmeldelse", 1, 2) \
    F(ResultatKode, "ResultatKode", 0, 1) \
    F(Seedning, "Seedning", 1, 4) \
    F(Resultat, "Resultat", 1, 4) \
    F(PlKode, "PlKode", 1, 2) \
    F(Placering, "Placering", 1, 2) \
    F(Sidenummer, "Sidenummer", 1, 2) \
    F(Banenummer, "Banenummer", 1, 2) \
    F(VidereKode, "VidereKode", 0, 1) \
    F(VTPoint, "VTPoint", 1, 4) \
    F(Vind, "Vind", 1, 2) \
    F(PersonligRekord, "PersonligRekord", 1, 4) \
    F(Rank, "Rank", 1, 2) \
    F(ResultatKom, "ResultatKom", 0, 3) \
    F(Point, "Point", 2, 8) \
    F(MilliSeconds1, "MilliSeconds1", 1, 1) \
    F(UdenforKonk, "UdenforKonk", 0, 1) \
    F(MilliSeconds2, "MilliSeconds2", 1, 1) \
    F(Reaktion, "Reaktion", 1, 2) \
    F(SeedningsGruppe, "SeedningsGruppe", 1, 2) \
    F(Point3, "Point3", 1, 2) \
    F(ResultatKom2, "ResultatKom", 0, 7)

#define ZUNO_KLUBKOB_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Klubnr, "Klubnr", 1, 2) \
    F(Varenummer, "Varenummer", 1, 2) \
    F(Antal, "Antal", 1, 2) \
    F(Reserveret, "Reserveret", 11, 6)

#define ZUNO_VARE_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Varenummer, "Varenummer", 1, 2) \
    F(Korttekst, "Korttekst", 0, 30) \
    F(Langtekst, "Langtekst", 0, 80) \
    F(Pris, "Pris", 2, 8) \
    F(Importkode, "Importkode", 0, 30) \
    F(Gruppe, "Gruppe", 1, 2) \
    F(Reserveret, "Reserveret", 11, 26)

#define ZUNO_GRUPPE_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Gruppe, "Gruppe", 1, 2) \
    F(Tekst, "Tekst", 0, 50) \
    F(Reserveret, "Reserveret", 11, 26)

#define ZUNO_BETALING_FIELDS(F) \
    F(StID, "StID", 1, 4) \
    F(Klubnr, "Klubnr", 1, 2) \
    F(Dato, "Dato", 105, 4) \
    F(Tekst, "Tekst", 0, 50) \
    F(Belob, "Belob", 2, 8) \
    F(Reserveret, "Reserveret", 11, 16)

#define ZUNO_FIELD_NUMBER(id, name, type, size) id,
#define ZUNO_FIELD_NUMBERS(LIST) enum : int { Oprettet, SidstRettet, LIST(ZUNO_FIELD_NUMBER) Count };

namespace StaevneField { ZUNO_FIELD_NUMBERS(ZUNO_STAEVNE_FIELDS) }
namespace OvelseField { ZUNO_FIELD_NUMBERS(ZUNO_OVELSE_FIELDS) }
namespace OvDefField { ZUNO_FIELD_NUMBERS(ZUNO_OVDEF_FIELDS) }
namespace KlasseField { ZUNO_FIELD_NUMBERS(ZUNO_KLASSE_FIELDS) }
namespace OvelseRkField { ZUNO_FIELD_NUMBERS(ZUNO_OVELSERK_FIELDS) }
namespace OvelseRnField { ZUNO_FIELD_NUMBERS(ZUNO_OVELSERN_FIELDS) }
namespace AfvStedField { ZUNO_FIELD_NUMBERS(ZUNO_AFVSTED_FIELDS) }
namespace KlubField { ZUNO_FIELD_NUMBERS(ZUNO_KLUB_FIELDS) }
namespace DeltagerField { ZUNO_FIELD_NUMBERS(ZUNO_DELTAGER_FIELDS) }
namespace ResultatField { ZUNO_FIELD_NUMBERS(ZUNO_RESULTAT_FIELDS) }
namespace KlubkobField { ZUNO_FIELD_NUMBERS(ZUNO_KLUBKOB_FIELDS) }
namespace VareField { ZUNO_FIELD_NUMBERS(ZUNO_VARE_FIELDS) }
namespace GruppeField { ZUNO_FIELD_NUMBERS(ZUNO_GRUPPE_FIELDS) }
namespace BetalingField { ZUNO_FIELD_NUMBERS(ZUNO_BETALING_FIELDS) }
// clang-format on
