#pragma once
// What the benchmarks build their meets of: programme rows, and clubs, participants and results written
// straight into the current meet's record files (the caller holds the transaction).
#include "model/D_Context.h"
#include "model/D_DBDef.h"
#include "model/D_Ovelser.h"
#include "model/D_StdKlasser.h"
#include "platform/LittleEndian.h"
#include "storage/DBFieldDate.h"
#include "support/BenchTiming.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <utility>
#include <vector>

// The first day of the meets.
inline TDateTime BenchMeetDay() {
    return QDateToDateTime(QDate(2024, 6, 1));
}

// A final of event for class klasse (numbered klasseNr among the standard classes), eight a heat, at noon
// on the meet's day at "STADION".
inline std::unique_ptr<TEditOvelseData> ProgrammeRow(int klasseNr, const QString& klasse,
                                                     const TOvelseElement& event) {
    auto row = std::make_unique<TEditOvelseData>();
    row->KlasseNr = klasseNr;
    row->Klasse = klasse;
    row->Ovelse = event.GetTrimmedString(OvelseField::Ovelse);
    row->Ovtype = event.GetOvtype();
    row->OvelseNr = event.GetField(OvelseField::Sortkode)->GetAsInteger();
    row->Runder = QStringLiteral("F");
    row->AntalPrHeat = 8;
    row->Slot(1).DatoTid = BenchMeetDay() + 0.5;
    row->Slot(1).Sted = QStringLiteral("STADION");
    return row;
}

// Saves the programme of every standard class of klasser with every event of ovelser (their codes) that
// take accepts (every one without it); adjust, when given, changes each row, told the event's place among
// its class's events.
inline void SaveProgramme(std::span<const char* const> klasser, std::span<const char* const> ovelser,
                          const std::function<bool(const char* klasse, const char* ovelse)>& take = {},
                          const std::function<void(TEditOvelseData& row, int event)>& adjust = {}) {
    TOvelseManager& ov = *ModelContext().OvelseManager;
    TEditOvelsesRaekke raekke;
    std::vector<int> klasseNumre;
    for (const char* klasse : klasser) {
        klasseNumre.push_back(FindStdKlasse(QString::fromUtf8(klasse)));
        int event = 0;
        for (const char* ovelse : ovelser) {
            if (take && !take(klasse, ovelse))
                continue;
            const TOvelseElement* found = ov.FindOvelse(QString::fromUtf8(ovelse));
            Check(found, "an event of the catalogue");
            auto row = ProgrammeRow(klasseNumre.back(), QString::fromUtf8(klasse), *found);
            if (adjust)
                adjust(*row, event);
            ++event;
            raekke.Add(std::move(row));
        }
    }
    ov.SaveEditOvelsesRaekke(&klasseNumre, raekke);
}

template <typename... Tables>
void OpenTables(Tables&... tables) {
    (tables.Open(), ...);
}

// Every meet-bound file keeps the meet's number in the same field.
static_assert(int(StaevneField::StID) == int(KlasseField::StID) &&
              int(KlasseField::StID) == int(ResultatField::StID) &&
              int(AfvStedField::StID) == int(DeltagerField::StID) &&
              int(OvelseRkField::StID) == int(OvelseRnField::StID) &&
              int(KlasseField::StID) == int(OvelseRnField::StID) &&
              int(KlubField::StID) == int(VareField::StID));

// A record of the current meet, its other fields set by fill.
template <typename Table, typename Fill>
void InsertRecord(Table& table, Fill fill) {
    table.Insert();
    table.GetField(StaevneField::StID)->SetAsInteger(CurrentStID());
    fill(table);
    table.Post();
}

// A record of the current meet with the whole-number fields given.
template <typename Table>
void InsertNumbers(Table& table, std::initializer_list<std::pair<int, qint64>> fields) {
    InsertRecord(table, [fields](Table& record) {
        for (const auto& [fieldNo, value] : fields)
            record.GetField(fieldNo)->SetAsInteger(static_cast<qint32>(value));
    });
}

// Clubs 1..count of the current meet, club n named "Klub n"; more sets further fields of each before it
// is stored.
inline void InsertKlubber(int count, const std::function<void(TKlubTable& klub, qint32 nr)>& more = {}) {
    TKlubTable klub;
    klub.Open();
    for (qint32 nr = 1; nr <= count; ++nr) {
        klub.Insert();
        klub.GetField(KlubField::StID)->SetAsInteger(CurrentStID());
        klub.GetField(KlubField::KlubNr)->SetAsInteger(nr);
        klub.GetField(KlubField::Navn)->SetAsString(QStringLiteral("Klub %1").arg(nr));
        if (more)
            more(klub, nr);
        klub.Post();
    }
}

// For InsertKlubber: club n's short name "Kn".
inline void SetKortNavn(TKlubTable& klub, qint32 nr) {
    klub.GetField(KlubField::KortNavn)->SetAsString(QStringLiteral("K%1").arg(nr));
}

// Participants 1..count of the current meet: number n is "Deltager Nummer n", born in 1960 + n % 50, of
// club n % klubber + 1.
inline void InsertDeltagere(int count, int klubber) {
    TDeltagerTable deltager;
    deltager.Open();
    for (qint32 nr = 1; nr <= count; ++nr) {
        deltager.Insert();
        deltager.GetField(DeltagerField::StID)->SetAsInteger(CurrentStID());
        deltager.GetField(DeltagerField::Startnummer)->SetAsInteger(nr);
        deltager.GetField(DeltagerField::KlubNr)->SetAsInteger(nr % klubber + 1);
        deltager.GetField(DeltagerField::Navn)->SetAsString(QStringLiteral("Deltager Nummer %1").arg(nr));
        deltager.GetField(DeltagerField::Aargang)->SetAsInteger(1960 + nr % 50);
        deltager.Post();
    }
}

// A new result of start number nr in round, in the current meet; the caller sets what else it holds and
// posts it.
inline void NewResultat(TResultatTable& resultat, const TOvelseInfo& round, qint32 nr) {
    resultat.Insert();
    resultat.GetField(ResultatField::StID)->SetAsInteger(CurrentStID());
    for (const int f : {ResultatField::Klasse, ResultatField::Ovelse, ResultatField::Runde})
        resultat.GetField(f)->SetAsString(round.OvelseRn().GetField(f)->GetAsString());
    resultat.GetField(ResultatField::Startnummer)->SetAsInteger(nr);
}

// Row k of a round as a list shows it: in heats of eight, a result, placed in row order, the first eight
// with points 8 down to 1.
inline void SetPlaced(TResultatTable& resultat, int k) {
    resultat.GetField(ResultatField::Heat)->SetAsInteger(k / 8 + 1);
    resultat.GetField(ResultatField::Resultat)->SetAsInteger(1000 + (k * 7919) % 900);
    resultat.GetField(ResultatField::Placering)->SetAsInteger(k + 1);
    resultat.GetField(ResultatField::Point)->SetAsFloat(k < 8 ? 8 - k : 0);
}

// The attempts (TSerier::SaveToString) after the result just posted.
inline void WriteSerier(TResultatTable& resultat, const QByteArray& serier) {
    QByteArray tail(4, '\0');
    storeLE<qint32>(tail.data(), static_cast<qint32>(serier.size()));
    tail += serier;
    resultat.WriteChunk(tail.constData(), static_cast<quint32>(resultat.GetRecordLength()),
                        static_cast<quint32>(tail.size()));
}

// Placed results (SetPlaced) of every round of the current meet, rows(round) a round, start numbers
// running on from round to round through the participants 1..deltagere; after, when given, runs once each
// result is stored.
inline void InsertPlacedRounds(
    int deltagere, const std::function<int(const TOvelseInfo& round)>& rows,
    const std::function<void(TResultatTable& resultat, const TOvelseInfo& round, int k)>& after = {}) {
    TResultatTable resultat;
    resultat.Open();
    int first = 0;
    for (const auto& [key, info] : ModelContext().OvelseManager->KlasseIndex()) {
        const int count = rows(*info);
        for (int k = 0; k < count; ++k) {
            NewResultat(resultat, *info, (first + k) % deltagere + 1);
            SetPlaced(resultat, k);
            resultat.Post();
            if (after)
                after(resultat, *info, k);
        }
        first += count;
    }
}
