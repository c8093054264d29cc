// The date-time field classes of storage/DBField.h: each coding's reading and writing of the field's
// bytes, on the date-time values of storage/DBFieldDate.h.
#include "storage/DBField.h"

#include "foundation/LxString.h"
#include "storage/DBFieldDate.h"

#include <bit>
#include <cmath>

namespace {

const QDate& NddEpoch() {
    static const QDate epoch(1989, 12, 31);
    return epoch;
}

QString DateTimeError(const QString& text) {
    return QStringLiteral("\"%1\" er ikke en gyldig dato eller tid").arg(text);
}

// 0 when the date lies outside 1980-2107.
quint16 DosDateWord(TDateTime value) {
    const QDate date = DateTimeToQDate(value);
    if (!date.isValid() || date.year() < 1980 || date.year() > 2107)
        return 0;
    return static_cast<quint16>(((date.year() - 1980) << 9) | (date.month() << 5) | date.day());
}

quint16 DosTimeWord(TDateTime value) {
    const QTime time = DateTimeToQTime(value);
    if (!time.isValid())
        return 0;
    return static_cast<quint16>((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
}

bool DecodeDosDate(quint16 word, QDate& date) {
    date = QDate(1980 + (word >> 9), (word >> 5) & 0x0F, word & 0x1F);
    return date.isValid();
}

bool DecodeDosTime(quint16 word, QTime& time) {
    const int hour = word >> 11;
    const int minute = (word >> 5) & 0x3F;
    const int second = (word & 0x1F) * 2;
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    time = QTime(hour, minute, second);
    return true;
}

} // namespace

TDateTime TBasicDateTimeField::GetAsDateTime() const {
    TDateTime value = 0;
    return GetRawDateTime(value) ? value : EmptyDateTime;
}

double TBasicDateTimeField::GetAsFloat() const {
    return GetAsDateTime();
}

QString TBasicDateTimeField::GetAsString() const {
    const TDateTime value = GetAsDateTime();
    if (value == EmptyDateTime)
        return {};
    switch (Kind) {
    case 1:
        return DateToStr(value);
    case 2:
        return TimeToStr(value);
    default:
        return DateTimeToStr(value);
    }
}

void TBasicDateTimeField::SetAsFloat(double value) {
    SetAsDateTime(value);
}

void TBasicDateTimeField::SetAsString(const QString& value) {
    if (TrimBlanks(value).isEmpty()) {
        Clear();
        return;
    }
    TDateTime dateTime = 0;
    if (!TryStrToDateTime(value, dateTime))
        RaiseFieldError(TFieldError::Text, {DateTimeError(value)});
    SetAsDateTime(dateTime);
}

void TBasicDateTimeField::AssignField(const TField& other) {
    TField::AssignField(other);
    if (const auto* source = dynamic_cast<const TBasicDateTimeField*>(&other))
        Kind = source->Kind;
}

int TBasicDateTimeField::Compare(const TField& other) const {
    const TDateTime a = GetAsDateTime();
    const TDateTime b = other.GetAsDateTime();
    return a < b ? -1 : (b < a ? 1 : 0);
}

QString TBasicDateTimeField::GetSortKey() const {
    return DateTimeSortKey(GetAsDateTime());
}

// Each coding reads and writes the field's bytes its own way.
template <TDateCoding coding>
struct TDateCodec;

template <>
struct TDateCodec<TDateCoding::Dos> {
    static void Set(TTSDateTimeField& field, TDateTime value) {
        quint32 stored = 0;
        if (value != EmptyDateTime && IsValidDateTime(value)) {
            switch (field.Kind) {
            case 1:
                stored = DosDateWord(value);
                break;
            case 2:
                // The time of day alone: a time field also keeps a value that has no date.
                stored = DosTimeWord(value);
                break;
            default: {
                const quint16 date = DosDateWord(value);
                stored = date == 0 ? 0 : (static_cast<quint32>(date) << 16) | DosTimeWord(value);
                break;
            }
            }
        }
        field.WriteLittleEndian(stored);
    }

    static bool Get(const TTSDateTimeField& field, TDateTime& value) {
        value = EmptyDateTime;
        const quint32 stored = static_cast<quint32>(field.ReadLittleEndian(field.Kind == 0 ? 4 : 2));
        if (stored == 0)
            return true;
        QDate date;
        QTime time;
        switch (field.Kind) {
        case 1:
            if (!DecodeDosDate(static_cast<quint16>(stored), date))
                return false;
            value = QDateToDateTime(date);
            return true;
        case 2:
            if (!DecodeDosTime(static_cast<quint16>(stored), time))
                return false;
            value = QTimeToDateTime(time);
            return true;
        default:
            if (!DecodeDosDate(static_cast<quint16>(stored >> 16), date) ||
                !DecodeDosTime(static_cast<quint16>(stored & 0xFFFF), time))
                return false;
            value = EncodeDateTime(date, time);
            return true;
        }
    }
};

template <>
struct TDateCodec<TDateCoding::Double> {
    static void Set(TDPDateTimeField& field, TDateTime value) {
        if (field.Kind == 0) {
            field.WriteLittleEndian(std::bit_cast<quint64>(value));
            return;
        }
        if (!IsValidDateTime(value))
            RaiseFieldError(TFieldError::OutOfRange,
                            {FloatToStrDec(value, 2), field.FieldName, FloatToStrDec(MinDateTime, 2),
                             FloatToStrDec(MaxDateTime, 2)});
        field.WriteLittleEndian(static_cast<quint32>(static_cast<qint32>(std::trunc(value))));
    }

    static bool Get(const TDPDateTimeField& field, TDateTime& value) {
        if (field.Kind == 0)
            value = std::bit_cast<double>(static_cast<quint64>(field.ReadLittleEndian(8)));
        else
            value = static_cast<qint32>(static_cast<quint32>(field.ReadLittleEndian(4)));
        if (value == EmptyDateTime)
            return true;
        if (IsValidDateTime(value))
            return true;
        value = EmptyDateTime;
        return false;
    }
};

template <>
struct TDateCodec<TDateCoding::DayCount> {
    static void Set(TNDDDateTimeField& field, TDateTime value) {
        quint32 stored = 0;
        const QDate date = value == EmptyDateTime ? QDate() : DateTimeToQDate(value);
        const qint64 days = date.isValid() ? NddEpoch().daysTo(date) : -1;
        // A date the 16-bit day count cannot hold is stored as nothing rather than as another date.
        if (days >= 0 && days <= 0xFFFF)
            stored = field.Kind == 0 ? (static_cast<quint32>(days) << 16) | DosTimeWord(value)
                                     : static_cast<quint32>(days);
        field.WriteLittleEndian(stored);
    }

    static bool Get(const TNDDDateTimeField& field, TDateTime& value) {
        value = EmptyDateTime;
        if (!field.IsBound())
            return true;
        if (field.Kind != 0) {
            value = QDateToDateTime(NddEpoch().addDays(static_cast<qint64>(field.ReadLittleEndian(2))));
            return true;
        }
        const quint32 stored = static_cast<quint32>(field.ReadLittleEndian(4));
        if (stored == 0)
            return true;
        QTime time;
        if (!DecodeDosTime(static_cast<quint16>(stored & 0xFFFF), time))
            return false;
        value = EncodeDateTime(NddEpoch().addDays(stored >> 16), time);
        return true;
    }
};

template <TDateCoding coding>
void TCodedDateTimeField<coding>::SetAsDateTime(TDateTime value) {
    TDateCodec<coding>::Set(*this, value);
}

template <TDateCoding coding>
bool TCodedDateTimeField<coding>::GetRawDateTime(TDateTime& value) const {
    return TDateCodec<coding>::Get(*this, value);
}

template class TCodedDateTimeField<TDateCoding::Dos>;
template class TCodedDateTimeField<TDateCoding::Double>;
template class TCodedDateTimeField<TDateCoding::DayCount>;
