#pragma once
// The record layouts of the 14 record files. Each list names the fields that follow Oprettet and
// SidstRettet (fields 0 and 1, date-time doubles of 8 bytes, in every record), in stored order, as
// F(identifier, stored name, type code, size); every field starts where the one before it ends. The
// namespaces below number the fields for GetField: KlasseField::Klasse is field 4 of KLASSE.ZU2.

// The event types of the catalogue (OVELSE.ZU2's Ovtype).
enum class TOvtype : int {
    Lob = 1,
    VertikalSpring = 2,
    HorisontalSpring = 3,
    Kast = 4,
    Stafet = 5,
    Mangekamp = 6
};
// A running event or a relay: the mark is a time.
constexpr bool IsTidOvtype(int ovtype) {
    return ovtype == int(TOvtype::Lob) || ovtype == int(TOvtype::Stafet);
}

// clang-format off
#define ZUNO_STAEVNE_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Navn, "Navn", String, 30) \
    F(Status, "Status", Integer, 1) \
    F(OvelseRettet, "OvelseRettet", DateTime, 8) \
    F(Reserveret, "Reserveret", ZString, 21)

#define ZUNO_OVELSE_FIELDS(F) \
    F(Sortkode, "Sortkode", Integer, 2) \
    F(Ovelse, "Ovelse", String, 6) \
    F(Korttekst, "Korttekst", String, 21) \
    F(Langtekst, "Langtekst", String, 80) \
    F(Ovtype, "Ovtype", Integer, 2) \
    F(EltidKorr, "EltidKorr", Integer, 2) \
    F(Vindmaaling, "Vindmaaling", Integer, 2) \
    F(Restype, "Restype", Integer, 2) \
    F(System, "System", Integer, 2) \
    F(Sprog, "Sprog", Integer, 1) \
    F(StartBlok, "StartBlok", Integer, 1) \
    F(Reserveret, "Reserveret", ZString, 18)

#define ZUNO_OVDEF_FIELDS(F) \
    F(Sortkode, "Sortkode", Integer, 2) \
    F(Ovelse, "Ovelse", String, 6) \
    F(Attribut, "Attribut", String, 6) \
    F(Tekst, "Tekst", String, 50) \
    F(System, "System", Integer, 2) \
    F(Sprog, "Sprog", Integer, 1) \
    F(Reserveret, "Reserveret", ZString, 19)

#define ZUNO_KLASSE_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Sortkode, "Sortkode", Integer, 2) \
    F(Klasse, "Klasse", String, 3) \
    F(Korttekst, "Korttekst", String, 20) \
    F(Langtekst, "Langtekst", String, 80) \
    F(Reserveret, "Reserveret", ZString, 21)

#define ZUNO_OVELSERK_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Klasse, "Klasse", String, 3) \
    F(Ovelse, "Ovelse", String, 6) \
    F(Attribut, "Attribut", String, 6) \
    F(Unused1, "Unused1", Integer, 2) \
    F(Startgebyr1, "Startgebyr1", Float, 8) \
    F(Efteranmgebyr1, "Efteranmgebyr1", Float, 8) \
    F(Strafgebyr1, "Strafgebyr1", Float, 8) \
    F(Startgebyr2, "Startgebyr2", Float, 8) \
    F(Efteranmgebyr2, "Efteranmgebyr2", Float, 8) \
    F(Strafgebyr2, "Strafgebyr2", Float, 8) \
    F(Runder, "Runder", String, 6) \
    F(AntalPrHeat, "AntalPrHeat", Integer, 2) \
    F(InfoTekst, "InfoTekst", Integer, 4) \
    F(Distance, "Distance", Integer, 4) \
    F(HoldBaneFordeling, "HoldBaneFordeling", String, 25) \
    F(MKOvelse, "MKOvelse", String, 6) \
    F(Unused2, "Unused2", String, 6) \
    F(PointBeregning, "PointBeregning", Integer, 1) \
    F(MKOvelseNr, "MKOvelseNr", Integer, 1) \
    F(Uofficiel, "Uofficiel", Integer, 1) \
    F(Reserveret, "Reserveret", ZString, 20)

#define ZUNO_OVELSERN_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Klasse, "Klasse", String, 3) \
    F(Ovelse, "Ovelse", String, 6) \
    F(Runde, "Runde", String, 1) \
    F(DatoTid, "DatoTid", DateTime, 8) \
    F(Sted, "Sted", String, 10) \
    F(ResType, "ResType", Integer, 1) \
    F(Status, "Status", Integer, 1) \
    F(Heatinddeling, "Heatinddeling", Integer, 1) \
    F(Banefordeling, "Banefordeling", Integer, 1) \
    F(Banenummerering, "Banenummerering", Integer, 1) \
    F(FinaleType, "FinaleType", Integer, 1) \
    F(Unused1, "Unused1", Integer, 1) \
    F(CalcAfvTid, "CalcAfvTid", Integer, 2) \
    F(ExtraText, "ExtraText", String, 6) \
    F(SpecAfvTid, "SpecAfvTid", Integer, 2) \
    F(ExtraText2, "ExtraText2", String, 6) \
    F(AntalForsog, "AntalForsog", Integer, 1) \
    F(AntalForsogFinale, "AntalForsogFinale", Integer, 1) \
    F(AntalTilFinale, "AntalTilFinale", Integer, 1) \
    F(TidPrForsog, "TidPrForsog", Integer, 2) \
    F(TidPrDeltager, "TidPrDeltager", Integer, 2) \
    F(TidPrHeat, "TidPrHeat", Integer, 2) \
    F(UdskriftKode, "UdskriftKode", Integer, 1) \
    F(Vindmaaling, "Vindmaaling", Integer, 1) \
    F(AntalViderePlac, "AntalViderePlac", Integer, 1) \
    F(AntalVidereIalt, "AntalVidereIalt", Integer, 1) \
    F(VidereSeedning, "VidereSeedning", Integer, 1) \
    F(AutoCalcPoint, "AutoCalcPoint", Integer, 1) \
    F(AntalPrHold, "AntalPrHold", Integer, 1) \
    F(HoldPoint, "HoldPoint", Integer, 1) \
    F(RankAsSeedning, "RankAsSeedning", Integer, 1) \
    F(FinaleKrav, "FinaleKrav", Integer, 4) \
    F(AntalPrHeat, "AntalPrHeat", Integer, 2) \
    F(Unused2, "Unused2", String, 1) \
    F(ExtraText3, "ExtraText3", String, 14)

#define ZUNO_AFVSTED_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Sortkode, "Sortkode", Integer, 2) \
    F(Sted, "Sted", String, 10) \
    F(Tekst, "Tekst", String, 50) \
    F(Reserveret, "Reserveret", String, 16)

#define ZUNO_KLUB_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(KlubNr, "KlubNr", Integer, 2) \
    F(Navn, "Navn", String, 25) \
    F(KontaktPerson, "KontaktPerson", String, 30) \
    F(Adresse1, "Adresse1", String, 30) \
    F(Adresse2, "Adresse2", String, 30) \
    F(Adresse3, "Adresse3", String, 30) \
    F(Adresse4, "Adresse4", String, 30) \
    F(Adresse5, "Adresse5", String, 30) \
    F(Telefon, "Telefon", String, 30) \
    F(Fax, "Fax", String, 30) \
    F(Email, "Email", String, 50) \
    F(Prisgruppe, "Prisgruppe", Integer, 1) \
    F(HoldKode, "HoldKode", String, 1) \
    F(PointRunde1, "PointRunde1", Float, 8) \
    F(KortNavn, "KortNavn", String, 6) \
    F(Reserveret, "Reserveret", ZString, 13)

#define ZUNO_DELTAGER_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Startnummer, "Startnummer", Integer, 4) \
    F(KlubNr, "KlubNr", Integer, 2) \
    F(Navn, "Navn", String, 25) \
    F(Aargang, "Aargang", Integer, 2) \
    F(Koen, "Køn", String, 1) \
    F(Licensnummer, "Licensnummer", Integer, 2) \
    F(DiplomStatus, "DiplomStatus", Integer, 1)

// Fields 21 and 29 are both stored as ResultatKom.
#define ZUNO_RESULTAT_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Klasse, "Klasse", String, 3) \
    F(Ovelse, "Ovelse", String, 6) \
    F(Runde, "Runde", String, 1) \
    F(Startnummer, "Startnummer", Integer, 4) \
    F(Heat, "Heat", Integer, 2) \
    F(Efteranmeldelse, "Efteranmeldelse", Integer, 2) \
    F(ResultatKode, "ResultatKode", String, 1) \
    F(Seedning, "Seedning", Integer, 4) \
    F(Resultat, "Resultat", Integer, 4) \
    F(PlKode, "PlKode", Integer, 2) \
    F(Placering, "Placering", Integer, 2) \
    F(Sidenummer, "Sidenummer", Integer, 2) \
    F(Banenummer, "Banenummer", Integer, 2) \
    F(VidereKode, "VidereKode", String, 1) \
    F(VTPoint, "VTPoint", Integer, 4) \
    F(Vind, "Vind", Integer, 2) \
    F(PersonligRekord, "PersonligRekord", Integer, 4) \
    F(Rank, "Rank", Integer, 2) \
    F(ResultatKom, "ResultatKom", String, 3) \
    F(Point, "Point", Float, 8) \
    F(MilliSeconds1, "MilliSeconds1", Integer, 1) \
    F(UdenforKonk, "UdenforKonk", String, 1) \
    F(MilliSeconds2, "MilliSeconds2", Integer, 1) \
    F(Reaktion, "Reaktion", Integer, 2) \
    F(SeedningsGruppe, "SeedningsGruppe", Integer, 2) \
    F(Point3, "Point3", Integer, 2) \
    F(ResultatKom2, "ResultatKom", String, 7)

#define ZUNO_KLUBKOB_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Klubnr, "Klubnr", Integer, 2) \
    F(Varenummer, "Varenummer", Integer, 2) \
    F(Antal, "Antal", Integer, 2) \
    F(Reserveret, "Reserveret", ZString, 6)

#define ZUNO_VARE_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Varenummer, "Varenummer", Integer, 2) \
    F(Korttekst, "Korttekst", String, 30) \
    F(Langtekst, "Langtekst", String, 80) \
    F(Pris, "Pris", Float, 8) \
    F(Importkode, "Importkode", String, 30) \
    F(Gruppe, "Gruppe", Integer, 2) \
    F(Reserveret, "Reserveret", ZString, 26)

#define ZUNO_GRUPPE_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Gruppe, "Gruppe", Integer, 2) \
    F(Tekst, "Tekst", String, 50) \
    F(Reserveret, "Reserveret", ZString, 26)

#define ZUNO_BETALING_FIELDS(F) \
    F(StID, "StID", Integer, 4) \
    F(Klubnr, "Klubnr", Integer, 2) \
    F(Dato, "Dato", DPDate, 4) \
    F(Tekst, "Tekst", String, 50) \
    F(Belob, "Belob", Float, 8) \
    F(Reserveret, "Reserveret", ZString, 16)

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

// The stored sizes in bytes, by the same names: DeltagerFieldSize::Navn is 25.
#define ZUNO_FIELD_SIZE(id, name, type, size) id = size,
#define ZUNO_FIELD_SIZES(LIST) enum : int { LIST(ZUNO_FIELD_SIZE) };

namespace KlubFieldSize { ZUNO_FIELD_SIZES(ZUNO_KLUB_FIELDS) }
namespace DeltagerFieldSize { ZUNO_FIELD_SIZES(ZUNO_DELTAGER_FIELDS) }
namespace ResultatFieldSize { ZUNO_FIELD_SIZES(ZUNO_RESULTAT_FIELDS) }
// clang-format on
