#pragma once
// A program folder with an open meet whose programme holds a round of each event kind, and helpers that
// store clubs, participants and result records (with their series) directly in the record files.
#include "ProgramFolderFixture.h"
#include "model/D_DBDef.h"
#include "model/D_Result.h"
#include "support/DecimalSeparator.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

class TOvelseInfo;
class TOvelseManager;

class TResultTest : public TProgramFolderTest {
protected:
    // Class M: 100 m with rounds I and F, long jump, high jump, shot put and 4 x 100 m; class K: 100 m.
    TResultTest();

    TOvelseManager& Ov();
    // The round of class, event and round letter (empty: the first).
    TOvelseInfo& Round(const QString& klasse, const QString& ovelse, const QString& runde = {});
    // Adds event rows (standard class, event, round letters) to the programme and stores it. The
    // rounds are made anew: take them with Round afterwards.
    struct TProgrammeRow {
        QString Klasse;
        QString Ovelse;
        QString Runder;
    };
    void AddProgramme(std::initializer_list<TProgrammeRow> rows);
    // Sets an integer field of a round's record (OvelseRnField) and stores it.
    void SetRunde(TOvelseInfo& round, int fieldNo, qint32 value);
    // Gives rounds, named "class event letter" ("M 100 F"), their date and time ("yyyy-MM-dd hh:mm";
    // empty: none), stores them and reads the programme anew.
    void Schedule(std::initializer_list<std::pair<const char*, const char*>> rounds);

    void AddKlub(qint32 klubNr, const QString& navn, const QString& kortNavn = {},
                 const QString& holdKode = {});
    // Clubs 1..teams named "Klub n" with the team codes A, B, ...; and club teams + 1 without one.
    void AddHoldKlubber(int teams);
    void AddDeltager(qint32 startnummer, const QString& navn, qint32 aargang = 0, qint32 klubNr = 1,
                     const QString& koen = {});
    // Clubs 1 "Aarhus" (participants 1 Bent, 2 Anna) and 2 "Odense" (participant 123 Carl); Bent in M 100
    // and M LÆ, Anna in M KU, Carl in M 100.
    void AddAarhusAndOdense();
    // A result record of the round for the start number, its fields set by fill; the series, when
    // given, is stored behind the record as it stands (its 32-bit length first). Returns its position.
    quint32 AddResultat(const TOvelseInfo& round, qint32 startnummer,
                        const std::function<void(TResultatTable&)>& fill = {},
                        const std::optional<QByteArray>& serie = std::nullopt);

    // The stored form of attempts given as (value, kode) pairs.
    static QByteArray Serie(const std::vector<std::pair<qint32, qint32>>& attempts);
    // A record filler setting integer fields (ResultatField numbers) to values.
    static std::function<void(TResultatTable&)> Fields(std::initializer_list<std::pair<int, qint32>> values);
    // The rows' start numbers in their present order.
    static QList<qint32> Startnumre(const TResultatManager& manager);
    // The row of a start number; raises when there is none.
    static TResultat& Row(const TResultatManager& manager, qint32 startnummer);
    // A field of the record at a position, as an integer.
    qint32 StoredInteger(quint32 position, int fieldNo);
    // The variable part behind the record: its length and the series, as stored.
    QByteArray StoredTail(quint32 position);
    bool RecordExists(quint32 position);
    // The stored date-times of the meet's rounds, in file order.
    static QList<double> RundeTider();

private:
    const TDecimalSeparatorScope separator_{u'.'};
    std::vector<TProgrammeRow> programme_;
};
