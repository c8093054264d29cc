#include "model/D_ResultTable.h"

#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "platform/LittleEndian.h"

#include <algorithm>

namespace {

// The series behind a result record is its 32-bit length, then its bytes.
constexpr qsizetype LengthSize = 4;

} // namespace

QString TrimmedRunde(const QString& runde) {
    QString text = runde;
    text.remove(QChar(0));
    return TrimBlanks(text);
}

bool TResultatRecordTable::FirstOfRound(qint32 stID, const QString& klasse, const QString& ovelse,
                                        const QString& runde) {
    stID_ = stID;
    klasse_ = TrimBlanks(klasse);
    ovelse_ = TrimBlanks(ovelse);
    runde_ = TrimmedRunde(runde);
    SetIndexNumber(0);
    if (!FindKeyOp(TKeyLookup::GreaterOrEqual, {TKeyValue(qint64(stID)), klasse_, ovelse_, runde_}) ||
        !InRound())
        return false;
    // The lookup read the fixed part only.
    if (!FindWholeAt(GetPosition()))
        return false;
    TakeSerie();
    return InRound();
}

bool TResultatRecordTable::FirstOfRound(const TOvelseInfo& info) {
    const TOvelseRnElement& runde = info.OvelseRn();
    return FirstOfRound(CurrentStID(), runde.GetTrimmedString(OvelseRnField::Klasse),
                        runde.GetTrimmedString(OvelseRnField::Ovelse),
                        runde.GetField(OvelseRnField::Runde)->GetAsString());
}

bool TResultatRecordTable::NextOfRound() {
    if (!ReadNextWhole())
        return false;
    TakeSerie();
    return InRound();
}

bool TResultatRecordTable::FirstOfMeet(qint32 stID) {
    stID_ = stID;
    SetIndexNumber(0);
    if (!FindKeyOp(TKeyLookup::GreaterOrEqual, {TKeyValue(qint64(stID))}) ||
        GetField(ResultatField::StID)->GetAsInteger() != stID_ || !FindWholeAt(GetPosition()))
        return false;
    TakeSerie();
    return true;
}

bool TResultatRecordTable::NextOfMeet() {
    if (!ReadNextWhole())
        return false;
    TakeSerie();
    return GetField(ResultatField::StID)->GetAsInteger() == stID_;
}

TResultatKey TResultatRecordTable::CurrentKey() const {
    return {GetField(ResultatField::StID)->GetAsInteger(),
            GetField(ResultatField::Klasse)->GetTrimmedString(),
            GetField(ResultatField::Ovelse)->GetTrimmedString(),
            TrimmedRunde(GetField(ResultatField::Runde)->GetAsString()),
            GetField(ResultatField::Startnummer)->GetAsInteger()};
}

bool TResultatRecordTable::FindEntryAt(quint32 position, const TResultatKey& key) {
    if (!FindWholeAt(position))
        return false;
    TakeSerie();
    return CurrentKey() == key;
}

void TResultatRecordTable::ReadEntryAt(quint32 position, const TResultatKey& key) {
    if (!FindEntryAt(position, key))
        RaiseNoRecordAt();
}

void TResultatRecordTable::TakeSerie() {
    const QByteArray& part = VariablePart();
    serie_.clear();
    serieShort_ = false;
    if (part.size() < LengthSize)
        return;
    const qint32 announced = loadLE<qint32>(part.constData());
    if (announced < 1)
        return;
    const qsizetype taken = std::min<qsizetype>(part.size() - LengthSize, announced);
    serieShort_ = taken < announced;
    serie_ = part.mid(LengthSize, taken);
}

bool TResultatRecordTable::InRound() const {
    const TResultatKey key = CurrentKey();
    return key.StID == stID_ && key.Klasse == klasse_ && key.Ovelse == ovelse_ && key.Runde == runde_;
}

void TResultatRecordTable::PostWithSerie(const QByteArray& serie) {
    QByteArray part(LengthSize, '\0');
    storeLE<qint32>(part.data(), static_cast<qint32>(serie.size()));
    part += serie;
    PostWithVariablePart(part);
}
