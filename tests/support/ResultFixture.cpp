#include "ResultFixture.h"

#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StdKlasser.h"
#include "platform/LittleEndian.h"
#include "storage/DBFieldDate.h"

#include <QDate>
#include <QDateTime>

#include <algorithm>

namespace {

void AddRow(TEditOvelsesRaekke& raekke, TOvelseManager& ov, const QString& klasse, const QString& ovelse,
            const QString& runder) {
    auto row = std::make_unique<TEditOvelseData>();
    row->KlasseNr = FindStdKlasse(klasse);
    row->Klasse = klasse;
    row->Ovelse = ovelse;
    TOvelseElement* event = ov.FindOvelse(ovelse);
    row->Ovtype = event->GetOvtype();
    row->OvelseNr = event->GetField(OvelseField::Sortkode)->GetAsInteger();
    row->Runder = runder;
    row->AntalPrHeat = 8;
    for (int n = 1; n <= EditRundeSlots; ++n) {
        row->Slot(n).DatoTid = QDateToDateTime(QDate(2024, 6, 1)) + (12 + n) / 24.0;
        row->Slot(n).Sted = QStringLiteral("STADION");
    }
    raekke.Add(std::move(row));
}

} // namespace

TResultTest::TResultTest() {
    Ov();
    CreateMeet(QStringLiteral("Stævne"));
    AddProgramme({{"M", "100", "IF"},
                  {"M", "LÆ", "F"},
                  {"M", "HØ", "F"},
                  {"M", "KU", "F"},
                  {"M", "4X100", "F"},
                  {"K", "100", "F"}});
}

void TResultTest::AddProgramme(std::initializer_list<TProgrammeRow> rows) {
    programme_.insert(programme_.end(), rows.begin(), rows.end());
    TEditOvelsesRaekke raekke;
    std::vector<int> klasser;
    for (const TProgrammeRow& row : programme_) {
        AddRow(raekke, Ov(), row.Klasse, row.Ovelse, row.Runder);
        if (std::find(klasser.begin(), klasser.end(), FindStdKlasse(row.Klasse)) == klasser.end())
            klasser.push_back(FindStdKlasse(row.Klasse));
    }
    Ov().SaveEditOvelsesRaekke(&klasser, raekke);
}

void TResultTest::SetRunde(TOvelseInfo& round, int fieldNo, qint32 value) {
    round.OvelseRn().GetField(fieldNo)->SetAsInteger(value);
    Ov().Save();
}

void TResultTest::Schedule(std::initializer_list<std::pair<const char*, const char*>> rounds) {
    for (const auto& [round, when] : rounds) {
        const QStringList parts = QString::fromUtf8(round).split(u' ');
        const QDateTime stamp =
            QDateTime::fromString(QString::fromUtf8(when), QStringLiteral("yyyy-MM-dd hh:mm"));
        const TDateTime datoTid =
            stamp.isValid() ? QDateToDateTime(stamp.date()) + stamp.time().msecsSinceStartOfDay() / 86400000.0
                            : 0;
        Round(parts.value(0), parts.value(1), parts.value(2))
            .OvelseRn()
            .GetField(OvelseRnField::DatoTid)
            ->SetAsFloat(datoTid);
    }
    Ov().Save();
    Ov().Reload();
}

TOvelseManager& TResultTest::Ov() {
    if (!OvelseManager)
        OvelseManager = std::make_unique<TOvelseManager>();
    return *OvelseManager;
}

TOvelseInfo& TResultTest::Round(const QString& klasse, const QString& ovelse, const QString& runde) {
    TOvelseInfo* info = Ov().FindOvelseInfo(klasse, ovelse, runde);
    if (!info)
        throw Exception(QStringLiteral("No round %1 %2 %3").arg(klasse, ovelse, runde));
    return *info;
}

void TResultTest::AddKlub(qint32 klubNr, const QString& navn, const QString& kortNavn,
                          const QString& holdKode) {
    StoreRecord<TKlubTable>({{KlubField::KlubNr, qint64(klubNr)},
                             {KlubField::Navn, navn},
                             {KlubField::KortNavn, kortNavn},
                             {KlubField::HoldKode, holdKode}});
}

void TResultTest::AddHoldKlubber(int teams) {
    for (int nr = 1; nr <= teams + 1; ++nr)
        AddKlub(nr, QStringLiteral("Klub %1").arg(nr), {},
                nr <= teams ? QString(QChar(u'A' + nr - 1)) : QString());
}

void TResultTest::AddAarhusAndOdense() {
    AddKlub(1, QStringLiteral("Aarhus"));
    AddKlub(2, QStringLiteral("Odense"));
    AddDeltager(1, QStringLiteral("Bent"), 1990, 1);
    AddDeltager(2, QStringLiteral("Anna"), 1992, 1);
    AddDeltager(123, QStringLiteral("Carl"), 1985, 2);
    AddResultat(Round("M", "100"), 1);
    AddResultat(Round("M", "LÆ"), 1);
    AddResultat(Round("M", "KU"), 2);
    AddResultat(Round("M", "100"), 123);
}

void TResultTest::AddDeltager(qint32 startnummer, const QString& navn, qint32 aargang, qint32 klubNr,
                              const QString& koen) {
    StoreRecord<TDeltagerTable>({{DeltagerField::Startnummer, qint64(startnummer)},
                                 {DeltagerField::KlubNr, qint64(klubNr)},
                                 {DeltagerField::Navn, navn},
                                 {DeltagerField::Aargang, qint64(aargang)},
                                 {DeltagerField::Koen, koen}});
}

quint32 TResultTest::AddResultat(const TOvelseInfo& round, qint32 startnummer,
                                 const std::function<void(TResultatTable&)>& fill,
                                 const std::optional<QByteArray>& serie) {
    TResultatTable table;
    table.Open();
    table.Insert();
    table.GetField(ResultatField::StID)->SetAsInteger(CurrentStID());
    for (const int fieldNo : {ResultatField::Klasse, ResultatField::Ovelse, ResultatField::Runde})
        table.GetField(fieldNo)->SetAsString(round.OvelseRn().GetField(fieldNo)->GetAsString());
    table.GetField(ResultatField::Startnummer)->SetAsInteger(startnummer);
    if (fill)
        fill(table);
    table.Post();
    const quint32 position = table.GetPosition();
    if (serie) {
        QByteArray tail(4, '\0');
        storeLE<qint32>(tail.data(), static_cast<qint32>(serie->size()));
        tail += *serie;
        table.WriteChunk(tail.constData(), static_cast<quint32>(table.GetRecordLength()),
                         static_cast<quint32>(tail.size()));
    }
    return position;
}

QByteArray TResultTest::Serie(const std::vector<std::pair<qint32, qint32>>& attempts) {
    TSerier serier;
    for (const auto& [value, kode] : attempts) {
        TSerie& serie = *serier.GetSerie(serier.Add());
        serie.Value = value;
        serie.Kode = kode;
    }
    return serier.SaveToString();
}

std::function<void(TResultatTable&)>
TResultTest::Fields(std::initializer_list<std::pair<int, qint32>> values) {
    return [fields = std::vector<std::pair<int, qint32>>(values)](TResultatTable& t) {
        for (const auto& [fieldNo, value] : fields)
            t.GetField(fieldNo)->SetAsInteger(value);
    };
}

QList<qint32> TResultTest::Startnumre(const TResultatManager& manager) {
    QList<qint32> numbers;
    for (int i = 0; i < manager.Count(); ++i)
        numbers.append(manager.GetResultat(i)->Startnummer);
    return numbers;
}

TResultat& TResultTest::Row(const TResultatManager& manager, qint32 startnummer) {
    TResultat* row = manager.GetResultat(manager.IndexOfStartnummer(startnummer));
    if (!row)
        throw Exception(QStringLiteral("No row %1").arg(startnummer));
    return *row;
}

qint32 TResultTest::StoredInteger(quint32 position, int fieldNo) {
    TResultatTable table;
    table.Open();
    table.GotoPosition(position);
    return table.GetField(fieldNo)->GetAsInteger();
}

QByteArray TResultTest::StoredTail(quint32 position) {
    TResultatTable table;
    table.Open();
    table.GotoPosition(position);
    QByteArray tail(8192, '\0');
    tail.truncate(table.ReadChunk(tail.data(), static_cast<quint32>(table.GetRecordLength()), 8192));
    return tail;
}

bool TResultTest::RecordExists(quint32 position) {
    TResultatTable table;
    table.Open();
    try {
        table.GotoPosition(position);
        return true;
    } catch (const EBtvException&) {
        return false;
    }
}

QList<double> TResultTest::RundeTider() {
    TOvelseRnTable runder;
    runder.Open();
    QList<double> tider;
    for (bool found = runder.First(); found; found = runder.Next())
        tider << runder.GetField(OvelseRnField::DatoTid)->GetAsFloat();
    return tider;
}
