#include "model/D_KlubTilmelding.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "model/D_Klub.h"
#include "model/D_KlubEdit.h"
#include "storage/BtvTransaction.h"

#include <array>

namespace {

constexpr int KlubNrKey = 0;
constexpr int DeltagerStartnummerKey = 0;
constexpr int DeltagerKlubNrKey = 1;
constexpr int ResultatStartnummerKey = 1;

constexpr std::array<QStringView, 4> KlasseDistancer = {u"M42", u"M77", u"K42", u"K77"};

// Puts a table's edit or insert back when the work on it fails, so that the table stays usable.
template <typename Table>
void Posted(Table& table, const auto& fill) {
    try {
        fill();
        table.Post();
    } catch (...) {
        table.Cancel();
        throw;
    }
}

} // namespace

QString CheckKlasseDistance(const QString& code) {
    const QString upper = code.toUpper();
    for (const QStringView valid : KlasseDistancer) {
        if (upper == valid)
            return upper;
    }
    throw Exception(QStringLiteral("Forkert klasse eller distance"));
}

TTilmeldinger::TTilmeldinger() {
    klub_.Open();
    deltager_.Open();
    resultat_.Open();
}

TTilmeldinger::~TTilmeldinger() = default;

void TTilmeldinger::RefuseHolder(qint32 startnummer) {
    const QString navn = deltager_.GetField(DeltagerField::Navn)->GetTrimmedString();
    const qint32 klubNr = deltager_.GetField(DeltagerField::KlubNr)->GetAsInteger();
    const QString klub = klub_.FindStaevneKey(KlubNrKey, {klubNr})
                             ? klub_.GetField(KlubField::Navn)->GetTrimmedString()
                             : QString();
    throw Exception(StartnummerGivetText(startnummer, StartnummerHolder(navn, klub)));
}

void TTilmeldinger::CheckHolder(qint32 startnummer) {
    const bool klubFound = klub_.FindStaevneKey(KlubNrKey, {startnummer});
    int own = 0;
    for (bool found = deltager_.FindStaevneKey(DeltagerStartnummerKey, {startnummer}); found;
         found = deltager_.NextStaevneKey()) {
        const bool inOwnKlub =
            klubFound && deltager_.GetField(DeltagerField::KlubNr)->GetAsInteger() == startnummer;
        if (!inOwnKlub || ++own > 1)
            RefuseHolder(startnummer);
    }
    if (own == 1) {
        // A club of several participants is a club of the meet, not a registration's.
        for (bool found = deltager_.FindStaevneKey(DeltagerKlubNrKey, {startnummer}); found;
             found = deltager_.NextStaevneKey()) {
            if (deltager_.GetField(DeltagerField::Startnummer)->GetAsInteger() != startnummer) {
                deltager_.FindStaevneKey(DeltagerStartnummerKey, {startnummer});
                RefuseHolder(startnummer);
            }
        }
    } else if (!klubFound && resultat_.FindStaevneKey(ResultatStartnummerKey, {startnummer})) {
        // An entry whose participant is gone would be found in place of the new one.
        throw Exception(StartnummerGivetText(
            startnummer, QStringLiteral("en tilmelding uden deltager i klasse %1, øvelse %2")
                             .arg(resultat_.GetField(ResultatField::Klasse)->GetTrimmedString(),
                                  resultat_.GetField(ResultatField::Ovelse)->GetTrimmedString())));
    }
}

bool TTilmeldinger::Locate(qint32 startnummer) {
    CheckHolder(startnummer);
    if (!klub_.FindStaevneKey(KlubNrKey, {startnummer}))
        return false;
    if (!deltager_.FindStaevneKey(DeltagerStartnummerKey, {startnummer}))
        throw Exception(QStringLiteral("Startnummer %1 findes ikke som deltager !").arg(startnummer));
    if (!resultat_.FindStaevneKey(ResultatStartnummerKey, {startnummer}))
        throw Exception(QStringLiteral("Startnummer %1 findes ikke som resultat !").arg(startnummer));
    return true;
}

void TTilmeldinger::Create(qint32 startnummer, const QString& klasse, const QString& distance) {
    const qint32 stID = CurrentStID();
    // A failure leaves no number half made.
    TBtvTransaction transaction;
    klub_.Insert();
    Posted(klub_, [&] {
        klub_.GetField(KlubField::StID)->SetAsInteger(stID);
        klub_.GetField(KlubField::KlubNr)->SetAsInteger(startnummer);
    });
    deltager_.Insert();
    Posted(deltager_, [&] {
        deltager_.GetField(DeltagerField::StID)->SetAsInteger(stID);
        deltager_.GetField(DeltagerField::Startnummer)->SetAsInteger(startnummer);
        deltager_.GetField(DeltagerField::KlubNr)->SetAsInteger(startnummer);
    });
    resultat_.Insert();
    Posted(resultat_, [&] {
        resultat_.GetField(ResultatField::StID)->SetAsInteger(stID);
        resultat_.GetField(ResultatField::Startnummer)->SetAsInteger(startnummer);
        resultat_.GetField(ResultatField::Klasse)->SetAsString(klasse);
        resultat_.GetField(ResultatField::Ovelse)->SetAsString(distance);
    });
    transaction.Commit();
}

TTilmelding TTilmeldinger::FindStartnummer(qint32 startnummer, const QString& klasse,
                                           const QString& distance) {
    loaded_ = 0;
    if (startnummer < 1)
        throw Exception(QStringLiteral("Startnummeret skal være større end 0"));
    if (startnummer > MaxTilmeldingStartnummer)
        throw Exception(QStringLiteral("Startnummer %1 er for stort: det højeste er %2")
                            .arg(startnummer)
                            .arg(MaxTilmeldingStartnummer));
    if (!Locate(startnummer)) {
        Create(startnummer, klasse, distance);
        Locate(startnummer);
    }
    loaded_ = startnummer;
    return Current();
}

TTilmelding TTilmeldinger::Current() const {
    TTilmelding t;
    t.Startnummer = deltager_.GetField(DeltagerField::Startnummer)->GetAsInteger();
    t.Navn = deltager_.GetField(DeltagerField::Navn)->GetTrimmedString();
    t.Aargang = deltager_.GetField(DeltagerField::Aargang)->GetAsInteger();
    t.Klub = klub_.GetField(KlubField::Navn)->GetTrimmedString();
    t.Adresse1 = klub_.GetField(KlubField::Adresse1)->GetTrimmedString();
    t.Adresse2 = klub_.GetField(KlubField::Adresse2)->GetTrimmedString();
    t.Adresse3 = klub_.GetField(KlubField::Adresse3)->GetTrimmedString();
    t.Email = klub_.GetField(KlubField::Email)->GetTrimmedString();
    t.KlasseDistance = resultat_.GetField(ResultatField::Klasse)->GetTrimmedString() +
                       resultat_.GetField(ResultatField::Ovelse)->GetTrimmedString();
    return t;
}

void TTilmeldinger::SaveDeltager(const TTilmelding& t) {
    const QString code = CheckKlasseDistance(t.KlasseDistance);
    const qint32 startnummer = t.Startnummer;
    // The records of the number shown; the edits must show that registration.
    if (loaded_ == 0 || startnummer != loaded_)
        throw Exception(QStringLiteral("Startnummer %1 er ikke hentet frem: tast Enter i Startnr først")
                            .arg(startnummer));
    for (const QString& text : {t.Navn, t.Klub, t.Adresse1, t.Adresse2, t.Adresse3, t.Email})
        CheckStoredText(text);
    TBtvTransaction transaction;
    if (!Locate(startnummer))
        throw Exception(QStringLiteral("Startnummer %1 findes ikke som klub !").arg(startnummer));
    klub_.Edit();
    Posted(klub_, [&] {
        klub_.GetField(KlubField::Navn)->SetAsString(TrimBlanks(t.Klub));
        klub_.GetField(KlubField::Adresse1)->SetAsString(TrimBlanks(t.Adresse1));
        klub_.GetField(KlubField::Adresse2)->SetAsString(TrimBlanks(t.Adresse2));
        klub_.GetField(KlubField::Adresse3)->SetAsString(TrimBlanks(t.Adresse3));
        klub_.GetField(KlubField::Email)->SetAsString(TrimBlanks(t.Email));
    });
    deltager_.Edit();
    Posted(deltager_, [&] {
        deltager_.GetField(DeltagerField::Navn)->SetAsString(TrimBlanks(t.Navn));
        deltager_.GetField(DeltagerField::Aargang)->SetAsInteger(t.Aargang);
    });
    resultat_.Edit();
    Posted(resultat_, [&] {
        resultat_.GetField(ResultatField::Klasse)->SetAsString(code.left(1));
        resultat_.GetField(ResultatField::Ovelse)->SetAsString(code.mid(1, 2));
    });
    transaction.Commit();
}
