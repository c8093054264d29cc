#include "storage/DBField.h"

#include "support/Test.h"

#include "foundation/LxString.h"

namespace {

struct TChangeCounter : TFieldOwner {
    void FieldChanged(TField&) override { ++Count; }
    int Count = 0;
};

// A field of class F over bytes [offset, offset + size) of a 16-byte record.
template <typename F>
class Bound {
public:
    explicit Bound(int size, int offset = 2)
        : Field(&Owner) {
        Field.Offset = offset;
        Field.Size = size;
        Field.FieldName = "Felt";
        Field.SetBuffer(&Buffer);
    }
    QByteArray Bytes() const {
        return QByteArray(reinterpret_cast<const char*>(Buffer.Current()) + Field.Offset, Field.Size);
    }
    void Store(const QByteArray& bytes) {
        std::copy(bytes.begin(), bytes.end(), Buffer.Current() + Field.Offset);
    }

    TDataBuffer Buffer{16};
    TChangeCounter Owner;
    F Field;
};

// Sort keys and Compare of field class F follow the values, given in rising order.
template <typename F, typename T, typename Set>
void ExpectRisingSortKeys(int size, const std::vector<T>& values, Set set) {
    Bound<F> a(size);
    Bound<F> b(size);
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
        set(a.Field, values[i]);
        set(b.Field, values[i + 1]);
        EXPECT_LT(a.Field.GetSortKey(), b.Field.GetSortKey()) << values[i];
        EXPECT_EQ(a.Field.Compare(b.Field), -1);
    }
}

TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return EncodeDateTime(QDate(y, m, d), QTime(h, n, s));
}

TEST(DataBufferTest, SavedCopyAndRanges) {
    TDataBuffer buffer(4);
    const char source[] = "abcd";
    buffer.Load(source);
    EXPECT_TRUE(buffer.IsEqual());
    buffer.FillRange(2, 10, 'x');
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer.Current()), 4), "abxx");
    EXPECT_TRUE(buffer.IsChanged());
    buffer.Restore();
    EXPECT_EQ(buffer.Current()[3], 'd');

    TDataBuffer longer(6);
    longer.CopyFrom(buffer, true);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(longer.Current()), 6), QByteArray("abcd\0\0", 6));
}

TEST(FieldTest, WritesNotifyOnlyRealChanges) {
    Bound<TIntegerField> f(4);
    f.Field.SetAsInteger(5);
    f.Field.SetAsInteger(5);
    EXPECT_EQ(f.Owner.Count, 1);
    f.Field.Clear();
    EXPECT_EQ(f.Owner.Count, 2);
    EXPECT_EQ(f.Bytes(), QByteArray(4, '\0'));

    // Unbound: reads nothing, writes nothing.
    TStringField loose;
    loose.Size = 4;
    loose.SetAsString("abc");
    EXPECT_EQ(loose.GetAsString(), "");

    // A field reaching past its buffer is treated as unbound.
    Bound<TIntegerField> past(4, 14);
    past.Field.SetAsInteger(1);
    EXPECT_EQ(past.Owner.Count, 0);
}

TEST(FieldTest, IntegerBytesAndLimits) {
    Bound<TByteField> byte(1);
    byte.Field.SetAsInteger(255);
    EXPECT_EQ(byte.Bytes(), QByteArray("\xFF"));
    EXPECT_EQ(ErrorText([&] { byte.Field.SetAsInteger(256); }),
              "Object: TField\r\nUlovlig værdi:256" + QString(GetDecimalSeparator()) + "00 Felt:Felt Min:0" +
                  GetDecimalSeparator() + "00 Max:255" + GetDecimalSeparator() + "00");
    EXPECT_THROW(byte.Field.SetAsInteger(-1), EFieldError);
    EXPECT_EQ(byte.Field.GetAsInteger(), 255);

    Bound<TSmallintField> small(2);
    small.Field.SetAsInteger(-32768);
    EXPECT_EQ(small.Bytes(), QByteArray("\x00\x80", 2));
    EXPECT_EQ(small.Field.GetAsInteger(), -32768);
    EXPECT_THROW(small.Field.SetAsInteger(32768), EFieldError);

    Bound<TIntegerField> integer(4);
    integer.Field.SetAsInteger(-2);
    EXPECT_EQ(integer.Bytes(), QByteArray("\xFE\xFF\xFF\xFF"));
    integer.Field.SetAsFloat(2.5);
    EXPECT_EQ(integer.Field.GetAsInteger(), 2);
    integer.Field.SetAsFloat(3.5);
    EXPECT_EQ(integer.Field.GetAsInteger(), 4);
    integer.Field.CheckRange = true;
    integer.Field.MinValue = 1;
    integer.Field.MaxValue = 10;
    EXPECT_THROW(integer.Field.SetAsInteger(0), EFieldError);
    EXPECT_THROW(integer.Field.SetAsFloat(1e12), EFieldError);
    EXPECT_EQ(integer.Field.GetAsInteger(), 4);

    EXPECT_EQ(ErrorText([&] { integer.Field.SetAsString("12a"); }),
              "Object: TField\r\nUlovlig \"integer\" værdi: 12a");
    integer.Field.SetAsString("");
    EXPECT_EQ(integer.Bytes(), QByteArray(4, '\0'));
    EXPECT_EQ(ErrorText([&] { integer.Field.GetAsDateTime(); }), "Object: TField\r\nAbstract error");
}

TEST(FieldTest, SortKeysOrderNegativeNumbersAndDatesBeforeTheEpoch) {
    ExpectRisingSortKeys<TIntegerField>(
        4, std::vector<qint32>{-2147483647 - 1, -1000, -5, -1, 0, 3, 42, 2147483647},
        [](TField& f, qint32 v) { f.SetAsInteger(v); });
    ExpectRisingSortKeys<TDPDateTimeField>(
        8, std::vector<TDateTime>{At(1800, 1, 1), -1.75, -1.25, 0.5, At(2024, 3, 5, 8), At(2024, 3, 5, 9)},
        [](TField& f, TDateTime v) { f.SetAsDateTime(v); });
    Bound<TIntegerField> a(4);
    a.Field.SetAsInteger(42);
    EXPECT_EQ(a.Field.GetSortKey(), "        42");
}

TEST(FieldTest, FloatBytesAndTexts) {
    Bound<TFloatField> real(8);
    real.Field.SetAsString("2.25");
    EXPECT_EQ(real.Bytes(), QByteArray("\0\0\0\0\0\0\x02\x40", 8));
    EXPECT_EQ(real.Field.GetAsString(), "2" + QString(GetDecimalSeparator()) + "25");
    real.Field.SetAsFloat(0.1 + 0.2);
    EXPECT_EQ(real.Field.GetAsString(), "0" + QString(GetDecimalSeparator()) + "3");
    EXPECT_EQ(ErrorText([&] { real.Field.SetAsString("abc"); }),
              "Object: TField\r\nUlovlig \"float\" værdi: abc");
    EXPECT_EQ(real.Field.GetAsFloat(), 0.1 + 0.2);
    real.Field.CheckRange = true;
    real.Field.MaxValue = 1;
    EXPECT_THROW(real.Field.SetAsFloat(1.01), EFieldError);

    Bound<TSingleField> single(4);
    single.Field.SetAsInteger(-3);
    EXPECT_EQ(single.Bytes(), QByteArray("\0\0\x40\xC0", 4));
}

TEST(FieldTest, FixedTextIsCutOrBlankPadded) {
    Bound<TStringField> text(5);
    text.Field.SetAsString("abcdefg");
    EXPECT_EQ(text.Bytes(), "abcde");
    text.Field.SetAsString("ab");
    EXPECT_EQ(text.Bytes(), "ab   ");
    EXPECT_EQ(text.Field.GetTrimmedString(), "ab");
    // Danish letters are one byte each.
    text.Field.SetAsString("Ærø æøå");
    EXPECT_EQ(text.Bytes(), "\xC6r\xF8 \xE6");
    EXPECT_EQ(text.Field.GetAsString(), "Ærø æ");
    text.Store(QByteArray("xy\0zz", 5));
    EXPECT_EQ(text.Field.GetAsString(), "xy");
    text.Field.SetAsString("");
    EXPECT_EQ(text.Bytes(), QByteArray(5, '\0'));
    EXPECT_EQ(text.Field.GetSortKey(), "     ");

    text.Field.SetAsInteger(-12);
    EXPECT_EQ(text.Field.GetAsInteger(), -12);
    EXPECT_THROW(Bound<TStringField>(3).Field.GetAsInteger(), EFieldError);
}

TEST(FieldTest, LengthPrefixedAndZeroTerminatedTexts) {
    Bound<TLStringField> prefixed(5);
    prefixed.Field.SetAsString("Søren");
    EXPECT_EQ(prefixed.Bytes(), QByteArray("\x04S\xF8re", 5));
    EXPECT_EQ(prefixed.Field.GetAsString(), "Søre");
    // A length byte larger than the field reads no further than the field.
    prefixed.Store(QByteArray("\xC8"
                              "abcd",
                              5));
    EXPECT_EQ(prefixed.Field.GetAsString(), "abcd");

    Bound<TZStringField> zero(5);
    zero.Field.SetAsString("Åbenrå");
    EXPECT_EQ(zero.Bytes(), QByteArray("\xC5"
                                       "ben\0",
                                       5));
    EXPECT_EQ(zero.Field.GetAsString(), "Åben");
    zero.Store("abcde");
    EXPECT_EQ(zero.Field.GetAsString(), "abcd");
}

TEST(FieldTest, IntegerSetsLiveInTheField) {
    Bound<TIntegerSetField> set(4);
    set.Field.SetAsString("5,1-3,4");
    EXPECT_EQ(set.Field.GetAsString(), "1-5");
    EXPECT_EQ(set.Bytes(), QByteArray(4, '\0'));
    const QString text = ErrorText([&] { set.Field.SetAsString("1-x"); });
    EXPECT_TRUE(text.startsWith("Object: TField\r\nUgyldigt talinterval")) << text.toStdString();
}

TEST(FieldTest, AssignFieldCopiesSettingsAndAssignValueTakesEachKind) {
    Bound<TSmallintField> source(2);
    source.Field.FieldNo = 3;
    source.Field.CheckRange = true;
    source.Field.MinValue = 1;
    source.Field.MaxValue = 9;
    TSmallintField copy;
    copy.AssignField(source.Field);
    EXPECT_EQ(copy.GetBuffer(), &source.Buffer);
    EXPECT_THROW(copy.SetAsInteger(10), EFieldError);

    copy.AssignValue(qint64(7));
    EXPECT_EQ(source.Field.GetAsInteger(), 7);
    EXPECT_THROW(copy.AssignValue(true), EFieldError);
}

TEST(DateTimeTest, DayNumbersOnBothSidesOfTheEpoch) {
    EXPECT_EQ(At(1899, 12, 30), 0.0);
    EXPECT_EQ(At(2000, 1, 1, 12), 36526.5);
    EXPECT_EQ(At(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(DateTimeToQDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    // A time that rounds up to midnight is the next day.
    EXPECT_EQ(DateTimeToQDateTime(36526.9999999999), QDateTime(QDate(2000, 1, 2), QTime(0, 0)));
    EXPECT_EQ(QDateTimeToDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_FALSE(DateTimeToQDateTime(1e300).isValid());
    EXPECT_FALSE(DateTimeToQDate(std::numeric_limits<double>::quiet_NaN()).isValid());
}

TEST(DateTimeTest, DanishTextsParseBackAsFormatted) {
    EXPECT_EQ(DateTimeToStr(At(2024, 3, 5, 8, 5, 9)), "05-03-2024 08:05:09");
    EXPECT_EQ(DateTimeToStr(At(2024, 3, 5)), "05-03-2024");
    EXPECT_EQ(DateToStr(-1.25), "29-12-1899");
    for (const TDateTime value : {At(2024, 3, 5, 8, 5, 9), At(2024, 3, 5), At(1899, 12, 29, 6), At(1, 1, 1)})
        EXPECT_EQ(StrToDateTime(DateTimeToStr(value)), value) << DateTimeToStr(value).toStdString();
    EXPECT_EQ(StrToDateTime("5.3.2024 8:05"), At(2024, 3, 5, 8, 5));
    EXPECT_EQ(StrToDateTime("05-03-24"), At(2024, 3, 5));
    EXPECT_EQ(StrToDateTime("05-03-87"), At(1987, 3, 5));
    EXPECT_DOUBLE_EQ(StrToDateTime("12:30"), 0.5 + 30.0 / 1440);
    for (const char* bad :
         {"", "32-01-2000", "29-02-2023", "01-01-2000x", "1-1-200", "12:60", "24:00", "01-02/2000"})
        EXPECT_THROW(StrToDateTime(bad), EConvertError) << bad;
}

// A field of class F over bytes that held something else, given value: its bytes and its text.
template <typename F>
QString Stored(int size, TDateTime value) {
    Bound<F> f(size);
    f.Store(QByteArray(size, '\xAA'));
    f.Field.SetAsDateTime(value);
    return QString::fromLatin1(f.Bytes().toHex(' ')) + " = " + f.Field.GetAsString();
}

TEST(DateFieldTest, EachEncodingStoresItsBytesAndReadsBackToItsResolution) {
    // DOS date-time, date and time: two-second resolution, nothing outside 1980-2107.
    EXPECT_EQ(Stored<TTSDateTimeField>(4, At(1980, 1, 1)), "00 00 21 00 = 01-01-1980");
    EXPECT_EQ(Stored<TTSDateTimeField>(4, At(2107, 12, 31, 23, 59, 58)), "7d bf 9f ff = 31-12-2107 23:59:58");
    EXPECT_EQ(Stored<TTSDateTimeField>(4, At(2010, 6, 7, 10, 20, 31)), "8f 52 c7 3c = 07-06-2010 10:20:30");
    EXPECT_EQ(Stored<TTSDateTimeField>(4, At(1979, 12, 31, 12)), "00 00 00 00 = ");
    EXPECT_EQ(Stored<TTSDateTimeField>(4, At(2108, 1, 1)), "00 00 00 00 = ");
    EXPECT_EQ(Stored<TTSDateField>(2, At(2010, 6, 7, 10, 20)), "c7 3c = 07-06-2010");
    EXPECT_EQ(Stored<TTSTimeField>(2, At(1899, 12, 30, 10, 20, 31)), "8f 52 = 10:20:30");
    // A double, and whole days as a 32-bit number, on both sides of 1899-12-30.
    EXPECT_EQ(Stored<TDPDateTimeField>(8, -1.25), "00 00 00 00 00 00 f4 bf = 29-12-1899 06:00:00");
    EXPECT_EQ(Stored<TDPDateField>(4, At(2000, 1, 1, 23, 59)), "ae 8e 00 00 = 01-01-2000");
    EXPECT_EQ(Stored<TDPDateField>(4, At(1899, 12, 29, 12)), "ff ff ff ff = 29-12-1899");
    // Days since 1989-12-31 in 16 bits: outside them, zero rather than another date.
    EXPECT_EQ(Stored<TNDDDateField>(2, At(1990, 1, 1, 18)), "01 00 = 01-01-1990");
    EXPECT_EQ(Stored<TNDDDateField>(2, At(1989, 12, 31)), "00 00 = 31-12-1989");
    EXPECT_EQ(Stored<TNDDDateField>(2, At(1989, 12, 30)), "00 00 = 31-12-1989");
    EXPECT_EQ(Stored<TNDDDateField>(2, At(2170, 1, 1)), "00 00 = 31-12-1989");
    EXPECT_EQ(Stored<TNDDDateTimeField>(4, At(1990, 1, 2, 10, 20, 31)), "8f 52 02 00 = 02-01-1990 10:20:30");
    EXPECT_EQ(Stored<TNDDDateTimeField>(4, EmptyDateTime), "00 00 00 00 = ");
}

TEST(DateFieldTest, BytesThatAreNoDateReadAsEmptyAndBadValuesAreRefused) {
    Bound<TTSDateTimeField> dos(4);
    dos.Store(QByteArray("\0\0\xE0\x01", 4));
    EXPECT_EQ(dos.Field.GetAsDateTime(), EmptyDateTime);

    Bound<TDPDateTimeField> dateTime(8);
    dateTime.Field.SetAsDateTime(-1.25);
    EXPECT_EQ(dateTime.Field.GetAsDateTime(), -1.25);
    dateTime.Field.SetAsString("");
    EXPECT_EQ(dateTime.Bytes(), QByteArray(8, '\0'));
    EXPECT_THROW(dateTime.Field.SetAsString("i morgen"), EFieldError);
    EXPECT_THROW(Bound<TDPDateField>(4).Field.SetAsDateTime(1e12), EFieldError);
}

} // namespace
