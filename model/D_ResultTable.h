#pragma once
// The result file as the result manager reads and writes it: a round's records in key order, each read
// whole (the fixed part and the series behind it), and an edit posted with its series in the same update.
#include "model/D_DBDef.h"
#include "model/D_Result.h"

#include <QByteArray>
#include <QString>

class TResultatRecordTable : public TResultatTable {
public:
    // Positions on the first record of the round (meet, class, event and round letter, the letter
    // compared trimmed) and reads it; false when the round has none.
    bool FirstOfRound(qint32 stID, const QString& klasse, const QString& ovelse, const QString& runde);
    // The same for the round's own codes in the current meet.
    bool FirstOfRound(const TOvelseInfo& info);
    // The round's next record; false after its last.
    bool NextOfRound();
    // Positions on the meet's first record in key order and reads it; false when the meet has none.
    bool FirstOfMeet(qint32 stID);
    // The meet's next record; false after its last.
    bool NextOfMeet();
    // The key of the record just read.
    TResultatKey CurrentKey() const;
    // Reads the record at a position; false when there is none or it is no longer the entry of key.
    bool FindEntryAt(quint32 position, const TResultatKey& key);
    // The same, raising EBtvException (invalid position) for a record that is gone or another's.
    void ReadEntryAt(quint32 position, const TResultatKey& key);

    // The series behind the record just read, without its length: empty when it has none.
    const QByteArray& Serie() const { return serie_; }
    // The record announces more series bytes than it holds; Serie has those it holds.
    bool SerieShort() const { return serieShort_; }

    // Posts the pending edit with the series behind the fixed part (its length, then its bytes; the
    // length 0 when empty), replacing the series stored before.
    void PostWithSerie(const QByteArray& serie);

private:
    void TakeSerie();
    bool InRound() const;

    QByteArray serie_;
    bool serieShort_ = false;
    qint32 stID_ = -1;
    QString klasse_;
    QString ovelse_;
    QString runde_;
};

// The text of a round letter as stored: blanks and the zero byte of a first round's letter dropped.
QString TrimmedRunde(const QString& runde);
