#include "storage/DBField.h"

#include "support/Test.h"

#include "foundation/LxString.h"

namespace {

TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return EncodeDateTime(QDate(y, m, d), QTime(h, n, s));
}

template <typename F>
class Bound {
public:
    explicit Bound(int size) {
        Field.Size = size;
        Field.SetBuffer(&Buffer);
    }
    QByteArray Bytes() const {
        return QByteArray(reinterpret_cast<const char*>(Buffer.Current()), Field.Size);
    }
    void Store(const QByteArray& bytes) { std::copy(bytes.begin(), bytes.end(), Buffer.Current()); }

    TDataBuffer Buffer{8};
    F Field;
};

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

TEST(DateFieldTest, DosDateTimeEncodings) {
    Bound<TTSDateTimeField> dos(4);
    dos.Field.SetAsDateTime(At(1980, 1, 1));
    EXPECT_EQ(dos.Bytes(), QByteArray("\0\0\x21\0", 4));
    EXPECT_EQ(dos.Field.GetAsDateTime(), At(1980, 1, 1));
    dos.Field.SetAsDateTime(At(2107, 12, 31, 23, 59, 58));
    EXPECT_EQ(dos.Bytes(), QByteArray("\x7D\xBF\x9F\xFF", 4));
    // Two-second resolution.
    dos.Field.SetAsDateTime(At(2010, 6, 7, 10, 20, 31));
    EXPECT_EQ(dos.Field.GetAsDateTime(), At(2010, 6, 7, 10, 20, 30));
    // Outside 1980-2107 nothing is stored.
    dos.Field.SetAsDateTime(At(1979, 12, 31, 12));
    EXPECT_EQ(dos.Bytes(), QByteArray(4, '\0'));
    dos.Field.SetAsDateTime(At(2108, 1, 1));
    EXPECT_EQ(dos.Field.GetAsString(), "");
    // Bytes that are no date read as empty.
    dos.Store(QByteArray("\0\0\xE0\x01", 4));
    EXPECT_EQ(dos.Field.GetAsDateTime(), EmptyDateTime);

    Bound<TTSDateField> date(2);
    date.Field.SetAsDateTime(At(2010, 6, 7, 10, 20));
    EXPECT_EQ(date.Bytes(), QByteArray("\xC7\x3C", 2));
    EXPECT_EQ(date.Field.GetAsString(), "07-06-2010");

    Bound<TTSTimeField> time(2);
    time.Field.SetAsString("10:20:31");
    EXPECT_EQ(time.Bytes(), QByteArray("\x8F\x52", 2));
    EXPECT_EQ(time.Field.GetAsDateTime(), At(1899, 12, 30, 10, 20, 30));
    EXPECT_EQ(time.Field.GetAsString(), "10:20:30");
}

TEST(DateFieldTest, DoubleAndDayNumberEncodings) {
    Bound<TDPDateTimeField> dateTime(8);
    dateTime.Field.SetAsDateTime(-1.25);
    EXPECT_EQ(dateTime.Field.GetAsDateTime(), -1.25);
    EXPECT_EQ(dateTime.Field.GetAsString(), "29-12-1899 06:00:00");
    dateTime.Field.SetAsString("");
    EXPECT_EQ(dateTime.Bytes(), QByteArray(8, '\0'));
    EXPECT_EQ(dateTime.Field.GetAsString(), "");
    EXPECT_THROW(dateTime.Field.SetAsString("i morgen"), EFieldError);

    Bound<TDPDateField> day(4);
    day.Field.SetAsDateTime(At(2000, 1, 1, 23, 59));
    EXPECT_EQ(day.Bytes(), QByteArray("\xAE\x8E\0\0", 4));
    EXPECT_EQ(day.Field.GetAsDateTime(), At(2000, 1, 1));
    day.Field.SetAsDateTime(At(1899, 12, 29, 12));
    EXPECT_EQ(day.Bytes(), QByteArray("\xFF\xFF\xFF\xFF", 4));
    EXPECT_EQ(day.Field.GetAsString(), "29-12-1899");
    EXPECT_THROW(day.Field.SetAsDateTime(1e12), EFieldError);
}

TEST(DateFieldTest, DayCountSince1989Encodings) {
    Bound<TNDDDateField> day(2);
    day.Store(QByteArray("\x01\0", 2));
    EXPECT_EQ(day.Field.GetAsDateTime(), At(1990, 1, 1));
    day.Field.SetAsDateTime(At(1990, 1, 1, 18));
    EXPECT_EQ(day.Bytes(), QByteArray("\x01\0", 2));
    day.Field.SetAsDateTime(At(1989, 12, 31));
    EXPECT_EQ(day.Field.GetAsString(), "31-12-1989");
    // Before the epoch, or beyond the 16-bit count, nothing rather than another date.
    day.Field.SetAsDateTime(At(2000, 1, 1));
    day.Field.SetAsDateTime(At(1989, 12, 30));
    EXPECT_EQ(day.Bytes(), QByteArray(2, '\0'));
    day.Field.SetAsDateTime(At(2170, 1, 1));
    EXPECT_EQ(day.Bytes(), QByteArray(2, '\0'));

    Bound<TNDDDateTimeField> dateTime(4);
    dateTime.Field.SetAsDateTime(At(1990, 1, 2, 10, 20, 31));
    EXPECT_EQ(dateTime.Bytes(), QByteArray("\x8F\x52\x02\0", 4));
    EXPECT_EQ(dateTime.Field.GetAsDateTime(), At(1990, 1, 2, 10, 20, 30));
    dateTime.Field.SetAsDateTime(EmptyDateTime);
    EXPECT_EQ(dateTime.Bytes(), QByteArray(4, '\0'));
}

TEST(DateFieldTest, SortKeysFollowTheDates) {
    Bound<TDPDateTimeField> a(8);
    Bound<TDPDateTimeField> b(8);
    const TDateTime values[] = {At(1800, 1, 1), -1.75, -1.25, 0.5, At(2024, 3, 5, 8), At(2024, 3, 5, 9)};
    for (std::size_t i = 0; i + 1 < std::size(values); ++i) {
        a.Field.SetAsDateTime(values[i]);
        b.Field.SetAsDateTime(values[i + 1]);
        EXPECT_LT(a.Field.GetSortKey(), b.Field.GetSortKey()) << values[i];
        EXPECT_EQ(a.Field.Compare(b.Field), -1);
    }
}

} // namespace
