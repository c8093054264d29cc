#pragma once
// A record is one block of bytes held twice, as it is and as it was (TDataBuffer); a field is a typed
// view of a byte range of it. Every stored text is Windows-1252, so a field's width counts bytes.
#include "foundation/CodeText.h"
#include "foundation/Exception.h"
#include "foundation/LxClass.h"
#include "storage/DBFieldDate.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>
#include <vector>

enum class TFieldError {
    InvalidInteger = 10,
    OutOfRange = 11,
    Abstract = 15,
    InvalidFloat = 16,
    ValueError = 19,
    Text = 20
};

// Texts: "Object: TField", a line break, then the text of the code.
class EFieldError : public ECodedError<TFieldError> {
public:
    EFieldError(TFieldError code, const QString& text);
};

// Puts args in place of the placeholders %s, %d and %f of format, in order.
QString FormatErrorText(const QString& format, const QStringList& args);

// Formats the text of code with args (already texts, in the order of the text's placeholders) and raises.
[[noreturn]] void RaiseFieldError(TFieldError code, const QStringList& args);

class TDataBuffer {
public:
    explicit TDataBuffer(int size);
    // On a caller's block of 2 * size bytes, which must outlive the buffer.
    TDataBuffer(int size, quint8* block);
    TDataBuffer(const TDataBuffer&) = delete;
    TDataBuffer& operator=(const TDataBuffer&) = delete;

    int Size() const { return size_; }
    quint8* Current() { return bytes_; }
    const quint8* Current() const { return bytes_; }
    quint8* Saved() { return bytes_ + size_; }
    const quint8* Saved() const { return bytes_ + size_; }

    // Size bytes from source into both copies.
    void Load(const void* source);
    void Save();
    void Restore();
    bool IsEqual() const;
    bool IsChanged() const { return !IsEqual(); }
    void Clear(bool both);
    // The other buffer's current bytes (and saved ones with both); a buffer of another size gives what
    // fits, the rest zero.
    void CopyFrom(const TDataBuffer& other, bool both);
    // Parts outside the buffer are left alone.
    void FillRange(int offset, int count, quint8 value);
    void ClearRange(int offset, int count) { FillRange(offset, count, 0); }

private:
    // Both copies in one block, the current bytes first: a list holds thousands of records.
    int size_;
    std::unique_ptr<quint8[]> owned_;
    quint8* bytes_;
};

class TField;

// Hears of every real change a field makes to its bytes.
class TFieldOwner {
public:
    virtual void FieldChanged(TField& field) = 0;

protected:
    ~TFieldOwner() = default;
};

// One value for a field from a caller's list of values: integer, Boolean, float or text.
using TKeyValue = std::variant<qint64, bool, double, QString>;

class TField {
public:
    explicit TField(TFieldOwner* owner = nullptr);
    virtual ~TField();
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    // A kind a class does not provide raises error 15.
    virtual bool GetAsBoolean() const;
    virtual TDateTime GetAsDateTime() const;
    virtual double GetAsFloat() const;
    virtual qint32 GetAsInteger() const;
    virtual QString GetAsString() const;
    virtual void SetAsBoolean(bool value);
    virtual void SetAsDateTime(TDateTime value);
    virtual void SetAsFloat(double value);
    virtual void SetAsInteger(qint32 value);
    virtual void SetAsString(const QString& value);
    // Buffer, number, offset, size, name and the class's own settings.
    virtual void AssignField(const TField& other);
    // -1, 0 or 1.
    virtual int Compare(const TField& other) const;
    // Texts whose ordinal order is the order of the values.
    virtual QString GetSortKey() const;

    void SetBuffer(TDataBuffer* buffer) { buffer_ = buffer; }
    TDataBuffer* GetBuffer() const { return buffer_; }
    TFieldOwner* GetOwner() const { return owner_; }
    // False when unbound or when the field does not lie inside its buffer.
    bool IsBound() const;
    // Size bytes at Offset; False (dest untouched) when unbound.
    bool ReadBytes(void* dest) const;
    // The Size bytes at Offset where they lie, without a copy; empty when unbound.
    std::string_view BytesView() const;
    // The Size bytes at Offset in another buffer of the same records; empty when they do not lie inside.
    std::string_view BytesIn(const TDataBuffer* buffer) const;
    // Copies Size bytes in and tells the owner when they differed; unbound: nothing.
    void WriteBytes(const void* source);
    void Clear();
    void AssignValue(const TKeyValue& value);
    QString GetTrimmedString() const;
    QString GetLeftJustified(int width) const;
    QString GetRightJustified(int width) const;

    qint32 FieldNo = 0;
    qint32 Offset = 0;
    qint32 Size = 0;
    QString FieldName;

protected:
    [[noreturn]] void RaiseAbstract(const char* kind) const;
    bool LiesIn(const TDataBuffer* buffer) const;
    // The field's bytes (Size of them; zeros when unbound).
    QByteArray Bytes() const;
    void WriteBytes(const QByteArray& bytes);
    // The first count bytes as a little-endian number (missing bytes read as 0).
    quint64 ReadLittleEndian(int count) const;
    // Size bytes: the low bytes of value, little-endian, then zeros.
    void WriteLittleEndian(quint64 value);

private:
    TFieldOwner* owner_;
    TDataBuffer* buffer_ = nullptr;
};

using TFieldList = std::vector<std::unique_ptr<TField>>;

// A field class as the table picks it: makes a field of that class for an owner (none: no class).
using TFieldClass = std::unique_ptr<TField> (*)(TFieldOwner* owner);

template <typename FieldType>
TFieldClass FieldClassOf() {
    return [](TFieldOwner* owner) -> std::unique_ptr<TField> { return std::make_unique<FieldType>(owner); };
}

class TNumericField : public TField {
public:
    using TField::TField;
};

// 1, 2 or 4 bytes little-endian: 1 byte zero-extended, 2 bytes sign-extended.
class TIntegerField : public TNumericField {
public:
    explicit TIntegerField(TFieldOwner* owner = nullptr);
    double GetAsFloat() const override;
    qint32 GetAsInteger() const override;
    QString GetAsString() const override;
    void SetAsFloat(double value) override;
    void SetAsInteger(qint32 value) override;
    void SetAsString(const QString& value) override;
    void AssignField(const TField& other) override;
    int Compare(const TField& other) const override;
    QString GetSortKey() const override;

    bool CheckRange = false;
    qint32 TypeMin = -2147483647 - 1;
    qint32 TypeMax = 2147483647;
    qint32 MinValue = 0;
    qint32 MaxValue = 0;

private:
    void CheckLimits(double value) const;
};

class TSmallintField : public TIntegerField {
public:
    explicit TSmallintField(TFieldOwner* owner = nullptr);
};

class TByteField : public TIntegerField {
public:
    explicit TByteField(TFieldOwner* owner = nullptr);
};

// An IEEE number of Stored's width, shown with TextDigits significant digits.
template <typename Stored>
class TRealField : public TNumericField {
public:
    static constexpr int TextDigits = sizeof(Stored) == 8 ? 15 : 7;

    using TNumericField::TNumericField;
    double GetAsFloat() const override;
    qint32 GetAsInteger() const override;
    QString GetAsString() const override;
    void SetAsFloat(double value) override;
    void SetAsInteger(qint32 value) override;
    void SetAsString(const QString& value) override;
    void AssignField(const TField& other) override;
    int Compare(const TField& other) const override;

    bool CheckRange = false;
    Stored MinValue = 0;
    Stored MaxValue = 0;
};

extern template class TRealField<double>;
extern template class TRealField<float>;

// 8-byte IEEE double.
class TFloatField : public TRealField<double> {
public:
    using TRealField::TRealField;
};

// 4-byte IEEE single.
class TSingleField : public TRealField<float> {
public:
    using TRealField::TRealField;
};

// A member of a field family with its kind fixed (Kind of a date-time family, StringKind of the texts).
template <typename Family, quint8 kind>
class TFieldOfKind : public Family {
public:
    explicit TFieldOfKind(TFieldOwner* owner = nullptr)
        : Family(owner, kind) {}
};

// Date-time classes; Kind 0 date and time, 1 date, 2 time of day. The value 0 is empty in every encoding.
class TBasicDateTimeField : public TField {
public:
    explicit TBasicDateTimeField(TFieldOwner* owner = nullptr)
        : TField(owner) {}
    TDateTime GetAsDateTime() const override;
    double GetAsFloat() const override;
    QString GetAsString() const override;
    void SetAsFloat(double value) override;
    void SetAsString(const QString& value) override;
    void AssignField(const TField& other) override;
    int Compare(const TField& other) const override;
    QString GetSortKey() const override;
    // The stored value; False when the bytes hold no readable date-time.
    virtual bool GetRawDateTime(TDateTime& value) const = 0;

    quint8 Kind = 0;

protected:
    TBasicDateTimeField(TFieldOwner* owner, quint8 kind)
        : TField(owner)
        , Kind(kind) {}
};

// How a date-time family stores its value; each coding's reading and writing is its own.
enum class TDateCoding : quint8 { Dos, Double, DayCount };

template <TDateCoding coding>
class TCodedDateTimeField : public TBasicDateTimeField {
public:
    using TBasicDateTimeField::TBasicDateTimeField;
    void SetAsDateTime(TDateTime value) override;
    bool GetRawDateTime(TDateTime& value) const override;

private:
    template <TDateCoding>
    friend struct TDateCodec;
};

extern template class TCodedDateTimeField<TDateCoding::Dos>;
extern template class TCodedDateTimeField<TDateCoding::Double>;
extern template class TCodedDateTimeField<TDateCoding::DayCount>;

// DOS date-time: date word (year-1980, month, day) in the high 16 bits, time word (hours, minutes,
// seconds/2) in the low ones. Kind 1 stores the date word alone, kind 2 the time word alone.
using TTSDateTimeField = TCodedDateTimeField<TDateCoding::Dos>;
using TTSDateField = TFieldOfKind<TTSDateTimeField, 1>;
using TTSTimeField = TFieldOfKind<TTSDateTimeField, 2>;

// Kind 0: the 8-byte double as it is; kind 1: the whole days as a 32-bit signed number.
using TDPDateTimeField = TCodedDateTimeField<TDateCoding::Double>;
using TDPDateField = TFieldOfKind<TDPDateTimeField, 1>;

// Days since 1989-12-31 in 16 bits; kind 0 puts the DOS time word in front of them.
using TNDDDateTimeField = TCodedDateTimeField<TDateCoding::DayCount>;
using TNDDDateField = TFieldOfKind<TNDDDateTimeField, 1>;

// StringKind 0: fixed, blank-padded, read up to the first zero byte; 1: a length byte, then the
// characters; 2: the characters, then a zero byte.
class TStringField : public TField {
public:
    explicit TStringField(TFieldOwner* owner = nullptr)
        : TField(owner) {}
    TDateTime GetAsDateTime() const override;
    double GetAsFloat() const override;
    qint32 GetAsInteger() const override;
    QString GetAsString() const override;
    void SetAsDateTime(TDateTime value) override;
    void SetAsFloat(double value) override;
    void SetAsInteger(qint32 value) override;
    void SetAsString(const QString& value) override;
    void AssignField(const TField& other) override;
    int Compare(const TField& other) const override;
    QString GetSortKey() const override;

    // The characters of a text of the kind as they lie in its field's bytes, still in the code page:
    // what GetAsString decodes. Callers that only compare codes read them without a text made.
    static std::string_view StoredText(std::string_view bytes, quint8 kind);
    // The same with blanks at either end left out.
    static std::string_view TrimmedStoredText(std::string_view bytes, quint8 kind);

    quint8 StringKind = 0;

protected:
    TStringField(TFieldOwner* owner, quint8 kind)
        : TField(owner)
        , StringKind(kind) {}
};

using TLStringField = TFieldOfKind<TStringField, 1>;
using TZStringField = TFieldOfKind<TStringField, 2>;

// A set of integers kept in the field object itself, as interval text ("1-3,5"), not in the record.
class TIntegerSetField : public TStringField {
public:
    using TStringField::TStringField;
    QString GetAsString() const override;
    void SetAsString(const QString& value) override;

    TIntervalList Intervals;
};

// Sort keys of numbers and date-times: right-justified texts, negative values ordered below them.
QString IntegerSortKey(qint32 value);
QString DateTimeSortKey(TDateTime value);
