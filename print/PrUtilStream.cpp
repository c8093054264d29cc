// The model written to and read from a binary stream as the property "CustomPrint": the lists of
// columns, blocks, font records and the lines of body, header and footer, then a marker. Every value
// carries its type, and every item starts with the count of values that follow, so a reader can skip
// what a newer writer added.
#include "print/PrUtil.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace {

const QString PropertyName = QStringLiteral("CustomPrint");
const QString EndMarker = QStringLiteral("SSF-JXTKRDWQFMHA-SSF");

enum class TValueType : quint8 {
    ListEnd = 0,
    List = 1,
    Integer = 2,
    Float = 3,
    String = 4,
    False = 5,
    True = 6,
    Byte = 7,
};

constexpr int ColumnValues = 3;
constexpr int BlockValues = 2;
constexpr int FontValues = 4;
constexpr int LineValues = 5;
constexpr int FieldValues = 8;

[[noreturn]] void Refuse(const QString& reason) {
    throw EPrintError(QStringLiteral("Udskriftsdata kan ikke læses: ") + reason);
}

class TValueWriter {
public:
    explicit TValueWriter(QIODevice& stream)
        : writer_(&stream) {}

    void Integer(qint32 value) {
        Type(TValueType::Integer);
        writer_.WriteInteger(value);
    }
    void Float(double value) {
        Type(TValueType::Float);
        const quint64 bits = qToLittleEndian(std::bit_cast<quint64>(value));
        writer_.WriteBuffer(&bits, sizeof bits);
    }
    void String(const QString& value) {
        Type(TValueType::String);
        writer_.WriteString(value);
    }
    void Boolean(bool value) { Type(value ? TValueType::True : TValueType::False); }
    void Byte(quint8 value) {
        Type(TValueType::Byte);
        writer_.WriteByte(value);
    }
    void ListBegin() { Type(TValueType::List); }
    void ListEnd() { Type(TValueType::ListEnd); }

private:
    void Type(TValueType type) { writer_.WriteByte(static_cast<quint8>(type)); }

    TStreamWriter writer_;
};

class TValueReader {
public:
    explicit TValueReader(QIODevice& stream)
        : stream_(stream)
        , reader_(&stream) {}

    qint32 Integer() {
        Expect(TValueType::Integer);
        return reader_.ReadInteger();
    }
    double Float() {
        Expect(TValueType::Float);
        quint64 bits = 0;
        reader_.ReadBuffer(&bits, sizeof bits);
        const double value = std::bit_cast<double>(qFromLittleEndian(bits));
        if (!std::isfinite(value))
            Refuse(QStringLiteral("et tal er ugyldigt"));
        return value;
    }
    QString String() {
        Expect(TValueType::String);
        return reader_.ReadString();
    }
    bool Boolean() {
        const TValueType type = Next();
        if (type != TValueType::False && type != TValueType::True)
            Refuse(QStringLiteral("en værdi har en forkert type"));
        return type == TValueType::True;
    }
    quint8 Byte() {
        Expect(TValueType::Byte);
        return reader_.ReadByte();
    }
    void ListBegin() { Expect(TValueType::List); }
    // True, and past it, at the end of a list.
    bool AtListEnd() {
        char type = 0;
        if (stream_.peek(&type, 1) != 1)
            Short();
        if (static_cast<TValueType>(type) != TValueType::ListEnd)
            return false;
        reader_.ReadByte();
        return true;
    }
    // The count of values an item begins with.
    qint32 Count() {
        const qint32 count = Integer();
        if (count < 0)
            Refuse(QStringLiteral("et antal er negativt"));
        return count;
    }
    // Passes over one value of any type, a whole list included.
    void Skip() {
        int depth = 0;
        do {
            switch (Next()) {
            case TValueType::ListEnd:
                if (depth == 0)
                    Refuse(QStringLiteral("en liste slutter for tidligt"));
                --depth;
                break;
            case TValueType::List:
                ++depth;
                break;
            case TValueType::Integer:
                reader_.ReadInteger();
                break;
            case TValueType::Float:
                Discard(8);
                break;
            case TValueType::String:
                Discard(reader_.ReadWord());
                break;
            case TValueType::False:
            case TValueType::True:
                break;
            case TValueType::Byte:
                reader_.ReadByte();
                break;
            default:
                Refuse(QStringLiteral("en værdi har en ukendt type"));
            }
        } while (depth > 0);
    }

    [[noreturn]] static void Short() { Refuse(QStringLiteral("data slutter for tidligt")); }

private:
    TValueType Next() { return static_cast<TValueType>(reader_.ReadByte()); }
    void Expect(TValueType type) {
        if (Next() != type)
            Refuse(QStringLiteral("en værdi har en forkert type"));
    }
    void Discard(qint64 count) {
        if (stream_.skip(count) != count)
            Short();
    }

    QIODevice& stream_;
    TStreamReader reader_;
};

// Reads an item: its count, then up to `known` values by `read(index)`; values past them are skipped.
template <typename ReadValue>
void ReadItem(TValueReader& reader, int known, ReadValue read) {
    const qint32 count = reader.Count();
    for (qint32 i = 0; i < count; ++i) {
        if (i < known)
            read(i);
        else
            reader.Skip();
    }
}

template <typename Limit>
Limit InRange(qint32 value) {
    if (value < std::numeric_limits<Limit>::min() || value > std::numeric_limits<Limit>::max())
        Refuse(QStringLiteral("værdien %1 er uden for det tilladte område").arg(value));
    return static_cast<Limit>(value);
}

void WriteLines(TValueWriter& writer, const TPrintLines& lines, const TPrintPropList& props) {
    writer.ListBegin();
    for (int i = 0; i < lines.Count(); ++i) {
        const TPrintLine& line = lines[i];
        writer.Integer(LineValues);
        writer.Float(line.Row);
        writer.Boolean(line.NewPage);
        writer.Integer(line.NewPageNo);
        writer.Integer(line.SpaceBefore);
        writer.Integer(line.Height);
        writer.ListBegin();
        for (const TPrintField& field : line.Fields) {
            writer.Integer(FieldValues);
            writer.Integer(field.X);
            writer.Integer(field.Width);
            writer.String(field.Text);
            writer.Integer(static_cast<qint32>(field.Alignment));
            writer.Integer(static_cast<qint32>(field.Kind));
            writer.Integer(field.VOffset);
            writer.Integer(props.IndexOf(field.Font));
            writer.Integer(static_cast<qint32>(field.VAlign));
        }
        writer.ListEnd();
    }
    writer.ListEnd();
}

TPrintField ReadField(TValueReader& reader, TPrintPropList& props) {
    TPrintField field;
    ReadItem(reader, FieldValues, [&](int value) {
        switch (value) {
        case 0:
            field.X = InRange<quint16>(reader.Integer());
            break;
        case 1:
            field.Width = InRange<quint16>(reader.Integer());
            break;
        case 2:
            field.Text = reader.String();
            break;
        case 3:
            field.Alignment = static_cast<TPrintAlignment>(InRange<quint8>(reader.Integer()));
            break;
        case 4:
            field.Kind = static_cast<TFieldKind>(InRange<quint8>(reader.Integer()));
            break;
        case 5:
            field.VOffset = InRange<quint16>(reader.Integer());
            break;
        case 6: {
            const qint32 font = reader.Integer();
            if (font < -1 || font >= props.Count())
                Refuse(QStringLiteral("skrifttype nummer %1 findes ikke").arg(font));
            field.Font = font < 0 ? nullptr : &props.Items(font);
            break;
        }
        default:
            field.VAlign = static_cast<TPrintVAlign>(InRange<quint8>(reader.Integer()));
            break;
        }
    });
    return field;
}

void ReadLines(TValueReader& reader, TPrintLines& lines, TPrintPropList& props) {
    reader.ListBegin();
    while (!reader.AtListEnd()) {
        auto line = std::make_unique<TPrintLine>(0);
        ReadItem(reader, LineValues, [&](int value) {
            switch (value) {
            case 0:
                line->Row = reader.Float();
                break;
            case 1:
                line->NewPage = reader.Boolean();
                break;
            case 2:
                line->NewPageNo = reader.Integer();
                break;
            case 3:
                line->SpaceBefore = InRange<quint16>(reader.Integer());
                break;
            default:
                line->Height = std::clamp(reader.Integer(), -MaxLineHeight, MaxLineHeight);
                break;
            }
        });
        reader.ListBegin();
        while (!reader.AtListEnd())
            line->Fields.push_back(ReadField(reader, props));
        const double row = line->Row;
        if (lines.Add(std::move(line)) < 0)
            Refuse(QStringLiteral("linje %1 findes to gange").arg(row));
    }
}

std::unique_ptr<TPrintModel> ReadModel(QIODevice& stream) {
    TValueReader reader(stream);
    if (reader.String() != PropertyName)
        Refuse(QStringLiteral("det er ikke en udskrift"));
    auto model = std::make_unique<TPrintModel>();

    reader.ListBegin();
    while (!reader.AtListEnd()) {
        TColumnField column;
        ReadItem(reader, ColumnValues, [&](int value) {
            const qint32 n = reader.Integer();
            if (value == 0)
                column.Left = InRange<quint16>(n);
            else if (value == 1)
                column.Width = InRange<quint16>(n);
            else
                column.Alignment = static_cast<TPrintAlignment>(InRange<quint8>(n));
        });
        model->Columns.push_back(column);
    }

    reader.ListBegin();
    while (!reader.AtListEnd()) {
        double from = 0;
        double to = 0;
        ReadItem(reader, BlockValues, [&](int value) { (value == 0 ? from : to) = reader.Float(); });
        model->Blocks.Add(from, to);
    }

    reader.ListBegin();
    while (!reader.AtListEnd()) {
        TPrintFont font;
        ReadItem(reader, FontValues, [&](int value) {
            if (value == 0)
                font.Name = reader.String();
            else if (value == 1)
                font.Size = BoundedFontSize(reader.Integer());
            else if (value == 2)
                font.Style = reader.Byte();
            else
                font.Color = reader.Integer();
        });
        model->Props.Add(font);
    }

    for (TPrintLines& lines : model->Lines)
        ReadLines(reader, lines, model->Props);
    reader.String(); // the marker
    return model;
}

} // namespace

void TCustomPrint::WriteToStream(QIODevice& stream) const {
    TValueWriter writer(stream);
    writer.String(PropertyName);

    writer.ListBegin();
    for (const TColumnField& column : model_->Columns) {
        writer.Integer(ColumnValues);
        writer.Integer(column.Left);
        writer.Integer(column.Width);
        writer.Integer(static_cast<qint32>(column.Alignment));
    }
    writer.ListEnd();

    writer.ListBegin();
    for (int i = 0; i < model_->Blocks.Count(); ++i) {
        writer.Integer(BlockValues);
        writer.Float(model_->Blocks.Items(i).From);
        writer.Float(model_->Blocks.Items(i).To);
    }
    writer.ListEnd();

    writer.ListBegin();
    for (int i = 0; i < model_->Props.Count(); ++i) {
        const TPrintFont& font = model_->Props.Items(i).Font;
        writer.Integer(FontValues);
        writer.String(font.Name);
        writer.Integer(font.Size);
        writer.Byte(font.Style);
        writer.Integer(font.Color);
    }
    writer.ListEnd();

    for (const TPrintLines& lines : model_->Lines)
        WriteLines(writer, lines, model_->Props);
    writer.String(EndMarker);
}

void TCustomPrint::ReadFromStream(QIODevice& stream) {
    std::unique_ptr<TPrintModel> model;
    try {
        model = ReadModel(stream);
    } catch (const EStreamError&) {
        TValueReader::Short();
    }
    model_ = std::move(model);
    pages_.clear();
}
