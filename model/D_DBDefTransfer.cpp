#include "model/D_DBDef.h"

#include "foundation/LxString.h"

#include "foundation/LxClass.h"
#include "platform/LittleEndian.h"

#include <QIODevice>

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>

namespace {

constexpr quint8 RecordFollows = 1;
constexpr quint8 SectionEnd = 0;
constexpr quint32 ChunkPiece = 65536;

QString WithoutExtension(const QString& name) {
    return name.left(std::max<qsizetype>(0, name.size() - 4));
}

[[noreturn]] void RaiseDamaged(const QString& text) {
    throw EStreamError(text);
}

} // namespace

void TZunoDataTable::ExportTable(TStreamWriter& writer) {
    TTableWork work(*this);
    writer.WriteString(TableName());
    const int length = GetRecordLength();
    for (bool found = First(); found; found = Next()) {
        writer.WriteByte(RecordFollows);
        writer.WriteWord(static_cast<quint16>(length));
        writer.WriteBuffer(RecordBuffer()->Current(), length);
        if (VariableLength()) {
            const QByteArray data = ReadVariableData();
            writer.WriteInteger(static_cast<qint32>(data.size()));
            writer.WriteBuffer(data.constData(), data.size());
        }
    }
    writer.WriteByte(SectionEnd);
    work.Done();
}

QByteArray TZunoDataTable::ReadVariableData() {
    const auto broken = [this] {
        return Exception(QStringLiteral("Kritisk fejl") + CrLf + QStringLiteral("Tabelnavn: ") + TableName() +
                         CrLf + QStringLiteral("Den variable del af en post kan ikke læses hel"));
    };
    const quint32 start = static_cast<quint32>(GetRecordLength());
    // A record read just now tells its length: one without a variable part needs no read.
    const quint32 known = ReadLength();
    if (known != 0 && known <= start)
        return {};
    std::array<char, 4> head{};
    const quint32 got = ReadChunk(head.data(), start, 4);
    if (got == 0)
        return {};
    if (got < 4)
        throw broken();
    const qint32 length = loadLE<qint32>(head.data());
    if (length < 0)
        throw broken();
    // Within what the record holds when that is known, else in pieces: a damaged length must not ask
    // for more memory than the record holds.
    const quint32 wanted = static_cast<quint32>(length);
    if (known != 0) {
        if (wanted > known - start - 4)
            throw broken();
        QByteArray data(length, Qt::Uninitialized);
        if (wanted > 0 && ReadChunk(data.data(), start + 4, wanted) < wanted)
            throw broken();
        return data;
    }
    QByteArray data;
    QByteArray piece(static_cast<qsizetype>(std::min(wanted, ChunkPiece)), Qt::Uninitialized);
    for (quint32 offset = start + 4, left = wanted; left > 0;) {
        const quint32 ask = std::min(left, ChunkPiece);
        if (ReadChunk(piece.data(), offset, ask) < ask)
            throw broken();
        data.append(piece.constData(), ask);
        left -= ask;
        offset += ask;
    }
    return data;
}

TTransferRecord TZunoDataTable::ReadRecord(TStreamReader& reader) {
    const quint16 size = reader.ReadWord();
    const int own = GetRecordLength();
    if (size > own)
        throw Exception(QStringLiteral("Kritisk fejl") + CrLf + QStringLiteral("Tabelnavn: ") + TableName() +
                        CrLf + QStringLiteral("Forventet buffer-størrelse: ") + QString::number(own) + CrLf +
                        QStringLiteral("Modtaget buffer-størrelse fra importfil: ") + QString::number(size));
    TTransferRecord record;
    // Fields a later layout added stay zero.
    record.Fixed = QByteArray(own, '\0');
    reader.ReadBuffer(record.Fixed.data(), size);
    if (VariableLength()) {
        const qint32 length = reader.ReadInteger();
        if (length < 0 || length > reader.Stream()->bytesAvailable())
            RaiseDamaged(
                QStringLiteral("Tabellen %1 har en post, hvis variable del (%2 byte) ikke er i filen")
                    .arg(TableName())
                    .arg(length));
        record.Variable = QByteArray(length, Qt::Uninitialized);
        reader.ReadBuffer(record.Variable.data(), length);
    }
    return record;
}

int TZunoDataTable::ReadSection(TStreamReader& reader, bool wholeName,
                                const std::function<void(const TTransferRecord&)>& onRecord) {
    TTableWork work(*this);
    const QString name = reader.ReadString();
    const bool same =
        wholeName ? name == TableName() : WithoutExtension(name) == WithoutExtension(TableName());
    if (!same)
        throw Exception(QStringLiteral("Kritisk fejl") + CrLf + QStringLiteral("Forventet tabelnavn: ") +
                        TableName() + CrLf + QStringLiteral("Modtaget tabelnavn fra importfil: ") + name);
    int count = 0;
    for (quint8 marker = reader.ReadByte(); marker != SectionEnd; marker = reader.ReadByte()) {
        if (marker != RecordFollows)
            RaiseDamaged(QStringLiteral("Tabellen %1 har en ukendt markering %2 foran en post")
                             .arg(TableName())
                             .arg(marker));
        const TTransferRecord record = ReadRecord(reader);
        if (onRecord)
            onRecord(record);
        ++count;
    }
    work.Done();
    return count;
}

int TZunoDataTable::ImportTable(TStreamReader& reader, qint32 stID) {
    return ReadSection(reader, false,
                       [this, stID](const TTransferRecord& record) { InsertRecord(record, stID); });
}

int TZunoDataTable::SkipTable(TStreamReader& reader) {
    return ReadSection(reader, true);
}

void TZunoDataTable::InsertRecord(const TTransferRecord& record, qint32 stID,
                                  const std::function<void()>& prepare) {
    Insert();
    try {
        TDataBuffer* buffer = RecordBuffer();
        buffer->Clear(false);
        std::memcpy(buffer->Current(), record.Fixed.constData(),
                    static_cast<std::size_t>(std::min<qsizetype>(record.Fixed.size(), buffer->Size())));
        GetField(StaevneField::StID)->SetAsInteger(stID == -1 ? 0 : stID);
        if (prepare)
            prepare();
        // The variable part with its length in front goes in with the record; a record without one
        // stays without, which reads the same.
        if (VariableLength() && !record.Variable.isEmpty()) {
            QByteArray part(4, '\0');
            storeLE<qint32>(part.data(), static_cast<qint32>(record.Variable.size()));
            part += record.Variable;
            PostWithVariablePart(part);
        } else {
            Post();
        }
    } catch (...) {
        Cancel();
        throw;
    }
}
