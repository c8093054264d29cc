#include "model/D_ResultTable.h"

#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "platform/LittleEndian.h"
#include "platform/recordmanager/RecordManager.h"

#include <algorithm>
#include <cstring>

namespace RM = RecordManager;

namespace {

// Room for the fixed part and a series of some twenty attempts; a longer record is read on in chunks.
constexpr quint32 SerieRoom = 1024;
constexpr quint32 LengthSize = 4;

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
    if (!FindKeyOp(KeyOpGreaterOrEqual, {TKeyValue(qint64(stID)), klasse_, ovelse_, runde_}) || !InRound())
        return false;
    // The lookup read the fixed part only.
    return ReadWhole(RM::OpGetDirect, GetPosition()) && InRound();
}

bool TResultatRecordTable::FirstOfRound(const TOvelseInfo& info) {
    const TOvelseRnElement& runde = info.OvelseRn();
    return FirstOfRound(CurrentStID(), runde.GetTrimmedString(OvelseRnField::Klasse),
                        runde.GetTrimmedString(OvelseRnField::Ovelse),
                        runde.GetField(OvelseRnField::Runde)->GetAsString());
}

bool TResultatRecordTable::NextOfRound() {
    return ReadWhole(RM::OpGetNext) && InRound();
}

TResultatKey TResultatRecordTable::CurrentKey() const {
    return {GetField(ResultatField::StID)->GetAsInteger(),
            GetField(ResultatField::Klasse)->GetTrimmedString(),
            GetField(ResultatField::Ovelse)->GetTrimmedString(),
            TrimmedRunde(GetField(ResultatField::Runde)->GetAsString()),
            GetField(ResultatField::Startnummer)->GetAsInteger()};
}

bool TResultatRecordTable::FindEntryAt(quint32 position, const TResultatKey& key) {
    try {
        ReadWhole(RM::OpGetDirect, position);
    } catch (const EBtvException& error) {
        if (error.Status() == RM::StatusInvalidPosition)
            return false;
        throw;
    }
    return CurrentKey() == key;
}

void TResultatRecordTable::ReadEntryAt(quint32 position, const TResultatKey& key) {
    if (!FindEntryAt(position, key))
        throw EBtvException(TableName(), RM::StatusInvalidPosition, RM::OpGetDirect);
}

void TResultatRecordTable::Cancel() {
    postSerie_.reset();
    TResultatTable::Cancel();
}

bool TResultatRecordTable::ReadWhole(int operation, quint32 position) {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    const quint32 fixed = static_cast<quint32>(GetRecordLength());
    buffer_.resize(std::max<std::size_t>(buffer_.size(), fixed + SerieRoom));
    if (operation == RM::OpGetDirect)
        storeLE<quint32>(buffer_.data(), position);
    quint32 length = static_cast<quint32>(buffer_.size());
    CallBtrieve(operation, IndexNumber(), KeyBuffer(), KeyBufferSize(), length, buffer_.data());
    if (GetEof())
        return false;
    if (length > buffer_.size()) {
        // The record did not fit: the rest of its series in one more read.
        const quint32 got = static_cast<quint32>(buffer_.size());
        buffer_.resize(length);
        length = got + ReadChunk(buffer_.data() + got, got, length - got);
    }
    RecordBuffer()->Load(buffer_.data());
    TakeSerie(length);
    return true;
}

void TResultatRecordTable::TakeSerie(quint32 length) {
    const quint32 fixed = static_cast<quint32>(GetRecordLength());
    serie_.clear();
    serieShort_ = false;
    if (length < fixed + LengthSize)
        return;
    const qint32 announced = loadLE<qint32>(buffer_.data() + fixed);
    if (announced < 1)
        return;
    const quint32 held = length - fixed - LengthSize;
    const quint32 taken = std::min(held, static_cast<quint32>(announced));
    serieShort_ = taken < static_cast<quint32>(announced);
    serie_ = QByteArray(reinterpret_cast<const char*>(buffer_.data() + fixed + LengthSize),
                        static_cast<qsizetype>(taken));
}

bool TResultatRecordTable::InRound() const {
    const TResultatKey key = CurrentKey();
    return key.StID == stID_ && key.Klasse == klasse_ && key.Ovelse == ovelse_ && key.Runde == runde_;
}

void TResultatRecordTable::InternalUpdate() {
    const std::optional<QByteArray> serie = std::exchange(postSerie_, std::nullopt);
    if (!serie) {
        TResultatTable::InternalUpdate();
        return;
    }
    // The fixed part, the series' length and the series: the record is replaced whole, so a shorter
    // series leaves nothing of a longer one behind.
    const quint32 fixed = static_cast<quint32>(GetRecordLength());
    std::vector<quint8> record(fixed + LengthSize + static_cast<std::size_t>(serie->size()));
    std::memcpy(record.data(), RecordBuffer()->Current(), fixed);
    storeLE<qint32>(record.data() + fixed, static_cast<qint32>(serie->size()));
    if (!serie->isEmpty())
        std::memcpy(record.data() + fixed + LengthSize, serie->constData(),
                    static_cast<std::size_t>(serie->size()));
    quint32 length = static_cast<quint32>(record.size());
    CallBtrieve(RM::OpUpdate, IndexNumber(), KeyBuffer(), KeyBufferSize(), length, record.data());
}
