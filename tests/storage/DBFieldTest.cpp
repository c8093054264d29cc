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

TEST(FieldTest, IntegerSortKeysOrderNegativeNumbers) {
    Bound<TIntegerField> a(4);
    Bound<TIntegerField> b(4);
    const qint32 values[] = {-2147483647 - 1, -1000, -5, -1, 0, 3, 42, 2147483647};
    for (std::size_t i = 0; i + 1 < std::size(values); ++i) {
        a.Field.SetAsInteger(values[i]);
        b.Field.SetAsInteger(values[i + 1]);
        EXPECT_LT(a.Field.GetSortKey(), b.Field.GetSortKey()) << values[i];
        EXPECT_EQ(a.Field.Compare(b.Field), -1);
    }
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

} // namespace
