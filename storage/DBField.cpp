#include "storage/DBField.h"

#include "foundation/CodeText.h"
#include "foundation/LxString.h"
#include "foundation/Windows1252.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

using E = TFieldError;
const TCodeText<TFieldError> FieldErrorTexts[] = {
    {E::InvalidInteger, "Ulovlig \"integer\" værdi: %s"},
    {E::OutOfRange, "Ulovlig værdi:%f Felt:%s Min:%f Max:%f"},
    {E::Abstract, "Abstract error"},
    {E::InvalidFloat, "Ulovlig \"float\" værdi: %s"},
    {E::ValueError, "Field value error"},
    {E::Text, "%s"},
};

} // namespace

QString FormatErrorText(const QString& format, const QStringList& args) {
    QString text;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'%' && i + 1 < format.size() &&
            (format.at(i + 1) == u's' || format.at(i + 1) == u'd' || format.at(i + 1) == u'f')) {
            if (next < args.size())
                text += args.at(next);
            ++next;
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

namespace {

QString FloatArg(double value) {
    return FloatToStrDec(value, 2);
}

[[noreturn]] void RaiseRange(double value, const QString& name, double low, double high) {
    RaiseFieldError(TFieldError::OutOfRange, {FloatArg(value), name, FloatArg(low), FloatArg(high)});
}

// Decimal 32-bit integer with an optional sign, blanks around allowed.
bool ParseInteger(const QString& text, qint32& value) {
    const QByteArray digits = TrimBlanks(text).toLatin1();
    const char* first = digits.constData();
    const char* last = first + digits.size();
    if (first != last && *first == '+')
        ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    return first != last && ec == std::errc() && ptr == last;
}

// General format with the significant digits the type holds and the program's decimal separator.
QString FloatText(double value, int digits = 15) {
    char buffer[64];
    const auto [ptr, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    QString text = QString::fromLatin1(buffer, ec == std::errc() ? ptr - buffer : 0);
    text.replace(u'.', GetDecimalSeparator());
    return text;
}

qint32 RoundToInteger(double value, const QString& name) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<qint32>::min() && rounded <= std::numeric_limits<qint32>::max()))
        RaiseRange(value, name, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    return static_cast<qint32>(rounded);
}

template <typename T>
int CompareValues(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

double ParseFloatField(const QString& text, const QString& name) {
    try {
        return CommaStrToFloat(TrimBlanks(text));
    } catch (const EConvertError&) {
        RaiseFieldError(TFieldError::InvalidFloat, {text, name});
    }
}

} // namespace

EFieldError::EFieldError(TFieldError code, const QString& text)
    : ECodedError(code, QStringLiteral("Object: TField\r\n") + text) {}

void RaiseFieldError(TFieldError code, const QStringList& args) {
    throw EFieldError(code, FormatErrorText(CodeText(FieldErrorTexts, code,
                                                     QStringLiteral("Unknown error: ") +
                                                         QString::number(static_cast<int>(code))),
                                            args));
}

QString IntegerSortKey(qint32 value) {
    if (value >= 0)
        return RightJustify(QString::number(value), 10);
    // Below every blank and digit, and ordered among themselves by the distance from the lowest value.
    return QChar(1) + IntToZeroStr(static_cast<qint64>(value) + 2147483648LL, 10);
}

QString DateTimeSortKey(TDateTime value) {
    if (value >= 0)
        return FloatToStrWidth(value, 20, 10);
    // Every date lies above -1e7, so the shifted value keeps the order of the negative ones.
    return QChar(1) + FloatToStrWidth(value + 1e7, 20, 10);
}

// ---------------------------------------------------------------- TDataBuffer

TDataBuffer::TDataBuffer(int size)
    : size_(std::max(size, 0))
    , owned_(std::make_unique<quint8[]>(2 * static_cast<std::size_t>(size_)))
    , bytes_(owned_.get()) {}

TDataBuffer::TDataBuffer(int size, quint8* block)
    : size_(std::max(size, 0))
    , bytes_(block) {
    std::fill_n(bytes_, 2 * size_, 0);
}

void TDataBuffer::Load(const void* source) {
    if (size_ == 0)
        return;
    std::memcpy(Current(), source, static_cast<std::size_t>(size_));
    Save();
}

void TDataBuffer::Save() {
    std::copy_n(Current(), size_, Saved());
}

void TDataBuffer::Restore() {
    std::copy_n(Saved(), size_, Current());
}

bool TDataBuffer::IsEqual() const {
    return std::equal(Current(), Current() + size_, Saved());
}

void TDataBuffer::Clear(bool both) {
    std::fill_n(Current(), size_, 0);
    if (both)
        std::fill_n(Saved(), size_, 0);
}

void TDataBuffer::CopyFrom(const TDataBuffer& other, bool both) {
    const auto copy = [](const quint8* from, int fromSize, quint8* to, int toSize) {
        const int n = std::min(fromSize, toSize);
        std::copy_n(from, n, to);
        std::fill(to + n, to + toSize, 0);
    };
    copy(other.Current(), other.size_, Current(), size_);
    if (both)
        copy(other.Saved(), other.size_, Saved(), size_);
}

void TDataBuffer::FillRange(int offset, int count, quint8 value) {
    const int first = std::clamp(offset, 0, Size());
    const int last = std::clamp(offset + std::max(count, 0), first, Size());
    std::fill(Current() + first, Current() + last, value);
}

// ---------------------------------------------------------------- TField

TField::TField(TFieldOwner* owner)
    : owner_(owner) {}

TField::~TField() = default;

void TField::RaiseAbstract(const char* kind) const {
    RaiseFieldError(TFieldError::Abstract, {FieldName, QString::fromLatin1(kind)});
}

bool TField::GetAsBoolean() const {
    RaiseAbstract("Boolean");
}

TDateTime TField::GetAsDateTime() const {
    RaiseAbstract("DateTime");
}

double TField::GetAsFloat() const {
    RaiseAbstract("Float");
}

qint32 TField::GetAsInteger() const {
    RaiseAbstract("Integer");
}

QString TField::GetAsString() const {
    RaiseAbstract("String");
}

void TField::SetAsBoolean(bool) {
    RaiseAbstract("Boolean");
}

void TField::SetAsDateTime(TDateTime) {
    RaiseAbstract("DateTime");
}

void TField::SetAsFloat(double) {
    RaiseAbstract("Float");
}

void TField::SetAsInteger(qint32) {
    RaiseAbstract("Integer");
}

void TField::SetAsString(const QString&) {
    RaiseAbstract("String");
}

int TField::Compare(const TField&) const {
    RaiseAbstract("String");
}

QString TField::GetSortKey() const {
    RaiseAbstract("String");
}

void TField::AssignField(const TField& other) {
    buffer_ = other.buffer_;
    FieldNo = other.FieldNo;
    Offset = other.Offset;
    Size = other.Size;
    FieldName = other.FieldName;
}

bool TField::LiesIn(const TDataBuffer* buffer) const {
    return buffer != nullptr && Offset >= 0 && Size >= 0 &&
           static_cast<qint64>(Offset) + Size <= buffer->Size();
}

bool TField::IsBound() const {
    return LiesIn(buffer_);
}

bool TField::ReadBytes(void* dest) const {
    if (!IsBound())
        return false;
    if (Size > 0)
        std::memcpy(dest, buffer_->Current() + Offset, static_cast<std::size_t>(Size));
    return true;
}

std::string_view TField::BytesView() const {
    return BytesIn(buffer_);
}

std::string_view TField::BytesIn(const TDataBuffer* buffer) const {
    if (!LiesIn(buffer))
        return {};
    return {reinterpret_cast<const char*>(buffer->Current()) + Offset, static_cast<std::size_t>(Size)};
}

void TField::WriteBytes(const void* source) {
    if (!IsBound() || Size <= 0)
        return;
    quint8* target = buffer_->Current() + Offset;
    if (std::memcmp(target, source, static_cast<std::size_t>(Size)) == 0)
        return;
    std::memcpy(target, source, static_cast<std::size_t>(Size));
    if (owner_ != nullptr)
        owner_->FieldChanged(*this);
}

QByteArray TField::Bytes() const {
    QByteArray bytes(std::max(Size, 0), '\0');
    ReadBytes(bytes.data());
    return bytes;
}

void TField::WriteBytes(const QByteArray& bytes) {
    QByteArray sized = bytes.left(std::max(Size, 0));
    sized.append(std::max(Size, 0) - sized.size(), '\0');
    WriteBytes(static_cast<const void*>(sized.constData()));
}

quint64 TField::ReadLittleEndian(int count) const {
    // Straight from the buffer: numbers are read for every record of a list.
    if (!IsBound())
        return 0;
    return loadLEBytes(buffer_->Current() + Offset, static_cast<std::size_t>(std::clamp(count, 0, Size)));
}

void TField::WriteLittleEndian(quint64 value) {
    QByteArray bytes(std::max(Size, 0), '\0');
    storeLEBytes(bytes.data(), value, static_cast<std::size_t>(bytes.size()));
    WriteBytes(bytes);
}

void TField::Clear() {
    WriteBytes(QByteArray());
}

void TField::AssignValue(const TKeyValue& value) {
    if (const auto* integer = std::get_if<qint64>(&value)) {
        if (*integer < std::numeric_limits<qint32>::min() || *integer > std::numeric_limits<qint32>::max())
            RaiseRange(static_cast<double>(*integer), FieldName, std::numeric_limits<qint32>::min(),
                       std::numeric_limits<qint32>::max());
        SetAsInteger(static_cast<qint32>(*integer));
    } else if (const auto* boolean = std::get_if<bool>(&value)) {
        SetAsBoolean(*boolean);
    } else if (const auto* real = std::get_if<double>(&value)) {
        SetAsFloat(*real);
    } else {
        SetAsString(std::get<QString>(value));
    }
}

QString TField::GetTrimmedString() const {
    return TrimBlanks(GetAsString());
}

QString TField::GetLeftJustified(int width) const {
    return LeftJustify(GetAsString(), width);
}

QString TField::GetRightJustified(int width) const {
    return RightJustify(GetAsString(), width);
}

// ---------------------------------------------------------------- integers

TIntegerField::TIntegerField(TFieldOwner* owner)
    : TNumericField(owner) {}

TSmallintField::TSmallintField(TFieldOwner* owner)
    : TIntegerField(owner) {
    TypeMin = -32768;
    TypeMax = 32767;
}

TByteField::TByteField(TFieldOwner* owner)
    : TIntegerField(owner) {
    TypeMin = 0;
    TypeMax = 255;
}

qint32 TIntegerField::GetAsInteger() const {
    if (!IsBound())
        return 0;
    switch (Size) {
    case 1:
        return static_cast<qint32>(ReadLittleEndian(1));
    case 2:
        return static_cast<qint16>(ReadLittleEndian(2));
    case 4:
        return static_cast<qint32>(static_cast<quint32>(ReadLittleEndian(4)));
    default:
        return 0;
    }
}

double TIntegerField::GetAsFloat() const {
    return GetAsInteger();
}

QString TIntegerField::GetAsString() const {
    return IsBound() ? QString::number(GetAsInteger()) : QString();
}

void TIntegerField::CheckLimits(double value) const {
    const qint32 low = CheckRange ? MinValue : TypeMin;
    const qint32 high = CheckRange ? MaxValue : TypeMax;
    if (!(value >= low && value <= high))
        RaiseRange(value, FieldName, low, high);
}

void TIntegerField::SetAsInteger(qint32 value) {
    CheckLimits(value);
    WriteLittleEndian(static_cast<quint32>(value));
}

void TIntegerField::SetAsFloat(double value) {
    CheckLimits(std::nearbyint(value));
    SetAsInteger(RoundToInteger(value, FieldName));
}

void TIntegerField::SetAsString(const QString& value) {
    if (TrimBlanks(value).isEmpty()) {
        Clear();
        return;
    }
    qint32 number = 0;
    if (!ParseInteger(value, number))
        RaiseFieldError(TFieldError::InvalidInteger, {value, FieldName});
    SetAsInteger(number);
}

void TIntegerField::AssignField(const TField& other) {
    TNumericField::AssignField(other);
    if (const auto* source = dynamic_cast<const TIntegerField*>(&other)) {
        CheckRange = source->CheckRange;
        TypeMin = source->TypeMin;
        TypeMax = source->TypeMax;
        MinValue = source->MinValue;
        MaxValue = source->MaxValue;
    }
}

int TIntegerField::Compare(const TField& other) const {
    return CompareValues(GetAsInteger(), other.GetAsInteger());
}

QString TIntegerField::GetSortKey() const {
    return IntegerSortKey(GetAsInteger());
}

// ---------------------------------------------------------------- floats

template <typename Stored>
double TRealField<Stored>::GetAsFloat() const {
    if (!IsBound() || Size < static_cast<qint32>(sizeof(Stored)))
        return 0;
    Stored value = 0;
    std::memcpy(&value, Bytes().constData(), sizeof value);
    return value;
}

template <typename Stored>
qint32 TRealField<Stored>::GetAsInteger() const {
    return RoundToInteger(GetAsFloat(), FieldName);
}

template <typename Stored>
QString TRealField<Stored>::GetAsString() const {
    return IsBound() ? FloatText(GetAsFloat(), TextDigits) : QString();
}

template <typename Stored>
void TRealField<Stored>::SetAsFloat(double value) {
    if (CheckRange && !(value >= MinValue && value <= MaxValue))
        RaiseRange(value, FieldName, MinValue, MaxValue);
    const auto stored = static_cast<Stored>(value);
    QByteArray bytes(sizeof stored, '\0');
    std::memcpy(bytes.data(), &stored, sizeof stored);
    WriteBytes(bytes);
}

template <typename Stored>
void TRealField<Stored>::SetAsInteger(qint32 value) {
    SetAsFloat(value);
}

template <typename Stored>
void TRealField<Stored>::SetAsString(const QString& value) {
    if (TrimBlanks(value).isEmpty())
        Clear();
    else
        SetAsFloat(ParseFloatField(value, FieldName));
}

template <typename Stored>
void TRealField<Stored>::AssignField(const TField& other) {
    TNumericField::AssignField(other);
    if (const auto* source = dynamic_cast<const TRealField*>(&other)) {
        CheckRange = source->CheckRange;
        MinValue = source->MinValue;
        MaxValue = source->MaxValue;
    }
}

template <typename Stored>
int TRealField<Stored>::Compare(const TField& other) const {
    return CompareValues(GetAsFloat(), other.GetAsFloat());
}

template class TRealField<double>;
template class TRealField<float>;

// ---------------------------------------------------------------- texts

std::string_view TStringField::StoredText(std::string_view bytes, quint8 kind) {
    switch (kind) {
    case 1:
        if (bytes.empty())
            return {};
        // A length byte larger than the field reads no further than the field.
        return bytes.substr(1, std::min<std::size_t>(static_cast<quint8>(bytes[0]), bytes.size() - 1));
    case 2:
        return bytes.substr(0, std::min(bytes.find('\0'), bytes.empty() ? 0 : bytes.size() - 1));
    default:
        return bytes.substr(0, bytes.find('\0'));
    }
}

std::string_view TStringField::TrimmedStoredText(std::string_view bytes, quint8 kind) {
    return TrimBlankBytes(StoredText(bytes, kind));
}

QString TStringField::GetAsString() const {
    if (!IsBound())
        return {};
    const std::string_view text = StoredText(BytesView(), StringKind);
    return Windows1252::Decode(text.data(), static_cast<qsizetype>(text.size()));
}

void TStringField::SetAsString(const QString& value) {
    if (value.isEmpty()) {
        Clear();
        return;
    }
    const QByteArray text = Windows1252::Encode(value);
    const int size = std::max(Size, 0);
    QByteArray bytes;
    switch (StringKind) {
    case 1: {
        const int n = std::clamp<int>(static_cast<int>(text.size()), 0, std::clamp(size - 1, 0, 255));
        bytes.append(static_cast<char>(n));
        bytes.append(text.left(n));
        break;
    }
    case 2:
        bytes = text.left(std::max(size - 1, 0));
        break;
    default:
        bytes = text.left(size);
        bytes.append(size - bytes.size(), ' ');
        break;
    }
    WriteBytes(bytes);
}

TDateTime TStringField::GetAsDateTime() const {
    const QString text = GetAsString();
    TDateTime value = 0;
    if (!TryStrToDateTime(text, value))
        RaiseFieldError(TFieldError::Text,
                        {QStringLiteral("\"%1\" er ikke en gyldig dato eller tid").arg(text)});
    return value;
}

double TStringField::GetAsFloat() const {
    return ParseFloatField(GetAsString(), FieldName);
}

qint32 TStringField::GetAsInteger() const {
    const QString text = GetAsString();
    qint32 value = 0;
    if (!ParseInteger(text, value))
        RaiseFieldError(TFieldError::InvalidInteger, {text, FieldName});
    return value;
}

void TStringField::SetAsDateTime(TDateTime value) {
    SetAsString(DateTimeToStr(value));
}

void TStringField::SetAsFloat(double value) {
    SetAsString(FloatText(value));
}

void TStringField::SetAsInteger(qint32 value) {
    SetAsString(QString::number(value));
}

void TStringField::AssignField(const TField& other) {
    TField::AssignField(other);
    if (const auto* source = dynamic_cast<const TStringField*>(&other))
        StringKind = source->StringKind;
}

int TStringField::Compare(const TField& other) const {
    const int c = QString::compare(GetAsString(), other.GetAsString(), Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

QString TStringField::GetSortKey() const {
    return PadRightStr(GetAsString(), std::max(Size, 0), u' ', false);
}

QString TIntegerSetField::GetAsString() const {
    return Intervals.AsText();
}

void TIntegerSetField::SetAsString(const QString& value) {
    try {
        Intervals.SetAsText(value);
    } catch (const Exception& error) {
        RaiseFieldError(TFieldError::Text, {error.Message()});
    }
}
