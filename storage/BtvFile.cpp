#include "storage/BtvFile.h"

#include "foundation/CodeText.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "platform/LittleEndian.h"
#include "platform/recordmanager/RecordManager.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <exception>

namespace RM = RecordManager;

namespace {

constexpr int MinKeyBufferSize = 128;
constexpr int FileRecordSize = 97;
constexpr int FieldRecordSize = 32;
constexpr int DictionaryNameSize = 20;
// Room behind the fixed part in the first read of a whole record; a longer record is read on in a chunk.
constexpr quint32 VariablePartRoom = 1024;

using E = TBtvError;
const TCodeText<TBtvError> BtvErrorTexts[] = {
    {E::TableNotInDictionary, "Btrieve table %s could not be found in FILE.DDF"},
    {E::DictionaryOpen, "FILE.DDF open error %d"},
    {E::FieldDictionaryRead, "Could not read FIELD.DDF"},
    {E::FieldDictionaryOpen, "FIELD.DDF open error"},
    {E::TableMissing, "Btrieve table %s does not exist"},
    {E::InvalidRecordLength, "Ugyldig ny postlængde %d for %s: mindst %d og højst 65535"},
};

// A file name as the record manager takes it: resolved, zero-terminated.
QByteArray FileNameKey(const QString& name) {
    QByteArray key = QFile::encodeName(ResolvePath(name));
    key.append('\0');
    return key;
}

QString FolderOf(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return cut < 0 ? QString() : path.left(cut);
}

QString FileNamePart(const QString& path) {
    const qsizetype cut = std::max({path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'), path.lastIndexOf(u':')});
    return path.mid(cut + 1);
}

QString DictionaryText(const quint8* at, int size) {
    const char* text = reinterpret_cast<const char*>(at);
    return TrimBlanks(
        Windows1252::Decode(text, static_cast<qsizetype>(strnlen(text, static_cast<std::size_t>(size)))));
}

// A record file opened on a position block of its own, closed again however the work ends.
class TOwnFile {
public:
    TOwnFile() = default;
    ~TOwnFile() { Close(); }
    TOwnFile(const TOwnFile&) = delete;
    TOwnFile& operator=(const TOwnFile&) = delete;

    int Open(const QString& name, int keyNumber = RM::OpenNormal) {
        QByteArray key = FileNameKey(name);
        quint8 owner = 0;
        quint32 length = 1;
        const int status =
            Call(RM::OpOpen, keyNumber, key.data(), static_cast<int>(key.size()), length, &owner);
        open_ = status == 0;
        return status;
    }
    void Close() {
        if (!open_)
            return;
        open_ = false;
        quint8 dummy[2] = {};
        quint32 length = sizeof dummy;
        Call(RM::OpClose, 0, dummy, sizeof dummy, length, dummy);
    }
    // The key buffer takes back the key of the record read or written.
    int Call(int operation, int keyNumber, void* key, int keyLength, quint32& dataLength, void* data) {
        return BTRCALL(static_cast<uint16_t>(operation), block_.data(), data, &dataLength, key,
                       static_cast<uint8_t>(std::clamp(keyLength, 0, 255)), static_cast<int8_t>(keyNumber));
    }

private:
    std::array<quint8, RM::PositionBlockSize> block_{};
    bool open_ = false;
};

} // namespace

EBtvException::EBtvException(const QString& tableName, int status, int operation)
    : Exception(QStringLiteral("Tablename: ") + tableName + QStringLiteral("   Operation: ") +
                QString::number(operation) + QStringLiteral("   Return: ") + QString::number(status))
    , operation_(operation)
    , status_(status)
    , tableName_(tableName) {}

EBtvError::EBtvError(TBtvError code, const QStringList& args)
    : ECodedError(code, FormatErrorText(CodeText(BtvErrorTexts, code), args)) {}

namespace {

constexpr int PageSize = 4096;

quint8 SegmentType(const TBtvKeySegment& segment) {
    switch (segment.FieldType) {
    case TFieldType::String:
        return RM::KeySpec::TypeString;
    case TFieldType::Integer:
        return segment.Size == 1 ? RM::KeySpec::TypeUnsignedBinary : RM::KeySpec::TypeInteger;
    case TFieldType::Float:
    case TFieldType::DateTime:
        return RM::KeySpec::TypeFloat;
    case TFieldType::ZString:
        return RM::KeySpec::TypeZString;
    default:
        return RM::KeySpec::TypeInteger;
    }
}

// The statistics buffer that the record manager's Create takes.
std::vector<quint8> CreateBuffer(const QString& path, int recordLength, bool variableLength,
                                 const std::vector<TBtvKeyDef>& keys) {
    std::vector<quint8> stat(RM::StatBufferSize, 0);
    quint8* at = stat.data();
    storeLE<quint16>(at + RM::Stat::RecordLength, static_cast<quint16>(recordLength));
    storeLE<quint16>(at + RM::Stat::PageSize, PageSize);
    storeLE<quint16>(at + RM::Stat::KeyCount, static_cast<quint16>(keys.size()));
    storeLE<quint16>(at + RM::Stat::FileFlags, variableLength ? RM::Stat::FlagVariableLength : 0);
    int keySpec = RM::Stat::KeySpecs;
    for (const TBtvKeyDef& key : keys) {
        for (std::size_t i = 0; i < key.Segments.size(); ++i, keySpec += RM::KeySpec::Size) {
            if (keySpec + RM::KeySpec::Size > RM::StatBufferSize)
                throw Exception(QStringLiteral("For mange nøgler i %1").arg(FileNamePart(path)));
            const TBtvKeySegment& segment = key.Segments[i];
            const bool numbered = key.AutoIncrement && i == 0;
            quint16 flags = RM::KeySpec::FlagExtendedType;
            if (!numbered)
                flags |= RM::KeySpec::FlagModifiable;
            if (key.Duplicates && !key.AutoIncrement)
                flags |= RM::KeySpec::FlagDuplicates;
            if (i + 1 < key.Segments.size())
                flags |= RM::KeySpec::FlagSegmented;
            storeLE<quint16>(at + keySpec + RM::KeySpec::Position, static_cast<quint16>(segment.Offset + 1));
            storeLE<quint16>(at + keySpec + RM::KeySpec::Length, static_cast<quint16>(segment.Size));
            storeLE<quint16>(at + keySpec + RM::KeySpec::Flags, flags);
            at[keySpec + RM::KeySpec::ExtendedType] =
                numbered ? RM::KeySpec::TypeAutoIncrement : SegmentType(segment);
        }
    }
    return stat;
}

// Sends the statistics buffer to the record manager's Create; the status.
int CallCreate(const QString& path, std::vector<quint8>& stat, int8_t mode) {
    QByteArray name = FileNameKey(path);
    std::array<quint8, RM::PositionBlockSize> block{};
    quint32 length = static_cast<quint32>(stat.size());
    return BTRCALL(RM::OpCreate, block.data(), stat.data(), &length, name.data(),
                   static_cast<uint8_t>(std::min<qsizetype>(name.size(), 255)), mode);
}

} // namespace

bool CreateBtvFile(const QString& path, int recordLength, bool variableLength,
                   const std::vector<TBtvKeyDef>& keys) {
    std::vector<quint8> stat = CreateBuffer(path, recordLength, variableLength, keys);
    const int status = CallCreate(path, stat, RM::CreateKeepExisting);
    if (status == RM::StatusFileExists)
        return false;
    if (status != 0)
        throw Exception(QStringLiteral("Filen %1 kunne ikke oprettes (status %2)").arg(path).arg(status));
    return true;
}

void StopRecordManager() {
    quint32 length = 0;
    BTRCALL(RM::OpStop, nullptr, nullptr, &length, nullptr, 0, 0);
}

// ---------------------------------------------------------------- calls

TBtvTable::~TBtvTable() {
    CloseForDestroy();
}

int TBtvTable::Call(int operation, int keyNumber, void* keyBuffer, int keyLength, quint32& dataLength,
                    void* dataBuffer) {
    lastOperation_ = operation;
    readLength_ = 0;
    int status =
        BTRCALL(static_cast<uint16_t>(operation), positionBlock_.data(), dataBuffer, &dataLength, keyBuffer,
                static_cast<uint8_t>(std::clamp(keyLength, 0, 255)), static_cast<int8_t>(keyNumber));
    if (variableLength_ && status == RM::StatusDataBufferTooShort)
        status = 0;
    eof_ = status == RM::StatusEndOfFile;
    if (eof_)
        status = 0;
    status_ = status;
    return status;
}

void TBtvTable::Raise(int status) const {
    throw EBtvException(TableName(), status, lastOperation_);
}

int TBtvTable::CallBtrieve(int operation, int keyNumber, void* keyBuffer, int keyLength, quint32& dataLength,
                           void* dataBuffer) {
    const int status = Call(operation, keyNumber, keyBuffer, keyLength, dataLength, dataBuffer);
    if (status != 0)
        Raise(status);
    return status;
}

void TBtvTable::Read(int operation) {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    quint32 length = recordLength_;
    CallBtrieve(operation, IndexNumber(), KeyBuffer(), KeyBufferSize(), length, dataBuffer_.data());
    RecordBuffer()->Load(dataBuffer_.data());
    if (!eof_)
        readLength_ = length;
}

bool TBtvTable::ReadWhole(int operation, quint32 position) {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    const std::size_t room = std::size_t(recordLength_) + VariablePartRoom;
    if (wholeBuffer_.size() < room)
        wholeBuffer_.resize(room);
    if (operation == RM::OpGetDirect)
        storeLE<quint32>(wholeBuffer_.data(), position);
    quint32 length = static_cast<quint32>(wholeBuffer_.size());
    const int status =
        Call(operation, IndexNumber(), KeyBuffer(), KeyBufferSize(), length, wholeBuffer_.data());
    if (operation == RM::OpGetDirect && status == RM::StatusInvalidPosition)
        return false;
    if (status != 0)
        Raise(status);
    if (eof_)
        return false;
    if (length > wholeBuffer_.size()) {
        // The rest in one more read.
        const quint32 got = static_cast<quint32>(wholeBuffer_.size());
        wholeBuffer_.resize(length);
        length = got + ReadChunk(wholeBuffer_.data() + got, got, length - got);
    }
    RecordBuffer()->Load(wholeBuffer_.data());
    readLength_ = length;
    const quint32 behind = length > recordLength_ ? length - recordLength_ : 0;
    variablePart_ = QByteArray(reinterpret_cast<const char*>(wholeBuffer_.data()) + recordLength_,
                               static_cast<qsizetype>(behind));
    return true;
}

bool TBtvTable::ReadNextWhole() {
    return ReadWhole(RM::OpGetNext, 0);
}

bool TBtvTable::FindWholeAt(quint32 position) {
    return ReadWhole(RM::OpGetDirect, position);
}

void TBtvTable::RaiseNoRecordAt() const {
    throw EBtvException(TableName(), RM::StatusInvalidPosition, RM::OpGetDirect);
}

void TBtvTable::CopyRecordToDataBuffer() {
    std::memcpy(dataBuffer_.data(), RecordBuffer()->Current(), recordLength_);
}

void TBtvTable::GetFirst() {
    Read(RM::OpGetFirst);
}

void TBtvTable::GetLast() {
    Read(RM::OpGetLast);
}

void TBtvTable::GetNext() {
    Read(RM::OpGetNext);
}

void TBtvTable::GetPrevious() {
    Read(RM::OpGetPrevious);
}

void TBtvTable::StepFirst() {
    Read(RM::OpStepFirst);
}

void TBtvTable::StepLast() {
    Read(RM::OpStepLast);
}

void TBtvTable::StepNext() {
    Read(RM::OpStepNext);
}

void TBtvTable::StepPrevious() {
    Read(RM::OpStepPrevious);
}

std::vector<quint8> TBtvTable::ReadStat(std::array<quint8, 64>& key) {
    std::vector<quint8> stat(RM::StatBufferSize);
    quint32 length = RM::StatBufferSize;
    const int status = Call(RM::OpStat, 0, key.data(), static_cast<int>(key.size()), length, stat.data());
    if (status != 0 && status != RM::StatusDataBufferTooShort)
        stat.clear();
    return stat;
}

qint32 TBtvTable::GetRecordCount() {
    std::array<quint8, 64> key{};
    const std::vector<quint8> stat = ReadStat(key);
    return stat.empty() ? 0 : static_cast<qint32>(loadLE<quint32>(stat.data() + RM::Stat::RecordCount));
}

quint32 TBtvTable::GetChangeCount() {
    std::array<quint8, 64> key{};
    const std::vector<quint8> stat = ReadStat(key);
    return stat.empty() ? 0 : loadLE<quint32>(key.data() + RM::Stat::KeyChangeCount);
}

quint32 TBtvTable::GetPosition() {
    std::array<quint8, 4> position{};
    std::array<quint8, 2> dummy{};
    quint32 length = static_cast<quint32>(position.size());
    CallBtrieve(RM::OpGetPosition, 0, dummy.data(), static_cast<int>(dummy.size()), length, position.data());
    return loadLE<quint32>(position.data());
}

void TBtvTable::GotoPosition(quint32 position) {
    if (!Active())
        RaiseDataTableError(TDataTableError::NotOpen);
    storeLE<quint32>(dataBuffer_.data(), position);
    Read(RM::OpGetDirect);
}

void TBtvTable::WriteChunk(const void* buffer, quint32 offset, quint32 length) {
    std::array<quint8, RM::Chunk::ChunkUpdateLength> descriptor{};
    RM::storeChunkDescriptor({offset, length, const_cast<void*>(buffer)}, descriptor.data());
    quint32 dataLength = static_cast<quint32>(descriptor.size());
    CallBtrieve(RM::OpUpdateChunk, IndexNumber(), KeyBuffer(), KeyBufferSize(), dataLength,
                descriptor.data());
}

quint32 TBtvTable::ReadChunk(void* buffer, quint32 offset, quint32 length) {
    std::array<quint8, RM::Chunk::ChunkReadLength> block{};
    RM::storeChunkRead(GetPosition(), {offset, length, buffer}, block.data());
    std::array<quint8, 2> dummy{};
    quint32 dataLength = static_cast<quint32>(block.size());
    const int status = Call(RM::OpGetDirect, RM::GetDirectChunk, dummy.data(), static_cast<int>(dummy.size()),
                            dataLength, block.data());
    if (status == RM::StatusChunkOffsetTooBig)
        status_ = 0;
    else if (status != 0)
        Raise(status);
    return dataLength;
}

// ---------------------------------------------------------------- open, close, writes

void TBtvTable::InternalOpen() {
    positionBlock_.fill(0);
    QByteArray key = FileNameKey(FileName());
    QByteArray owner = Windows1252::Encode(OwnerName);
    owner.append('\0');
    quint32 length = static_cast<quint32>(owner.size());
    CallBtrieve(RM::OpOpen, -static_cast<int>(OpenMode()), key.data(), static_cast<int>(key.size()), length,
                owner.data());
}

void TBtvTable::InternalClose() {
    std::array<quint8, 2> dummy{};
    quint32 length = static_cast<quint32>(dummy.size());
    const int status =
        Call(RM::OpClose, 0, dummy.data(), static_cast<int>(dummy.size()), length, dummy.data());
    dataBuffer_.clear();
    positionBlock_.fill(0);
    if (status != 0)
        Raise(status);
}

void TBtvTable::InternalInsert() {
    CopyRecordToDataBuffer();
    if (postPart_ != nullptr && !postPart_->isEmpty()) {
        std::vector<quint8> whole(dataBuffer_.begin(), dataBuffer_.begin() + recordLength_);
        whole.insert(whole.end(), postPart_->begin(), postPart_->end());
        quint32 length = static_cast<quint32>(whole.size());
        CallBtrieve(RM::OpInsert, IndexNumber(), KeyBuffer(), KeyBufferSize(), length, whole.data());
        std::memcpy(dataBuffer_.data(), whole.data(), recordLength_);
    } else {
        quint32 length = recordLength_;
        CallBtrieve(RM::OpInsert, IndexNumber(), KeyBuffer(), KeyBufferSize(), length, dataBuffer_.data());
    }
    // The record as stored: the record manager fills in automatic numbers.
    RecordBuffer()->Load(dataBuffer_.data());
}

void TBtvTable::PostWithVariablePart(const QByteArray& part) {
    if (State() != dsInsert && State() != dsEdit)
        RaiseDataTableError(TDataTableError::NotInEditMode);
    if (!part.isEmpty() && !variableLength_)
        throw EBtvException(TableName(), RM::StatusInvalidOperation,
                            State() == dsInsert ? RM::OpInsert : RM::OpUpdate);
    postPart_ = &part;
    try {
        Post();
    } catch (...) {
        postPart_ = nullptr;
        throw;
    }
    postPart_ = nullptr;
}

void TBtvTable::InternalUpdate() {
    CopyRecordToDataBuffer();
    if (postPart_ != nullptr) {
        // The fixed part and the part behind it replace the record whole.
        std::vector<quint8> whole(dataBuffer_.begin(), dataBuffer_.begin() + recordLength_);
        whole.insert(whole.end(), postPart_->begin(), postPart_->end());
        quint32 length = static_cast<quint32>(whole.size());
        CallBtrieve(RM::OpUpdate, IndexNumber(), KeyBuffer(), KeyBufferSize(), length, whole.data());
        return;
    }
    if (variableLength_) {
        // Only the fixed part: the variable part stays as it is.
        WriteChunk(dataBuffer_.data(), 0, recordLength_);
        return;
    }
    quint32 length = recordLength_;
    CallBtrieve(RM::OpUpdate, IndexNumber(), KeyBuffer(), KeyBufferSize(), length, dataBuffer_.data());
}

void TBtvTable::InternalDelete() {
    std::array<quint8, 2> dummy{};
    quint32 length = static_cast<quint32>(dummy.size());
    CallBtrieve(RM::OpDelete, 0, dummy.data(), static_cast<int>(dummy.size()), length, dummy.data());
}

void TBtvTable::InternalEdit() {
    savedPosition_ = GetPosition();
}

bool TBtvTable::InternalGetKey(TKeyLookup lookup) {
    const int sent = lookup == TKeyLookup::Less ? RM::OpGetLess : RM::OpGetGreaterOrEqual;
    quint32 length = recordLength_;
    const int status = Call(sent, IndexNumber(), KeyBuffer(), KeyBufferSize(), length, dataBuffer_.data());
    if (status == RM::StatusKeyNotFound)
        return false;
    if (status != 0)
        Raise(status);
    RecordBuffer()->Load(dataBuffer_.data());
    if (!eof_)
        readLength_ = length;
    return !eof_;
}

// ---------------------------------------------------------------- definitions

quint16 TBtvTable::InitIndexDefs() {
    dataBuffer_.clear();
    std::vector<quint8> stat(RM::StatBufferSize, 0);
    std::array<quint8, 64> key{};
    quint32 length = RM::StatBufferSize;
    CallBtrieve(RM::OpStat, 0, key.data(), static_cast<int>(key.size()), length, stat.data());

    recordLength_ = loadLE<quint16>(stat.data() + RM::Stat::RecordLength);
    variableLength_ =
        (loadLE<quint16>(stat.data() + RM::Stat::FileFlags) & RM::Stat::FlagVariableLength) != 0;
    dataBuffer_.assign(std::max<std::size_t>(recordLength_, 4), 0);

    int keyBufferSize = MinKeyBufferSize;
    const int keyCount = loadLE<quint16>(stat.data() + RM::Stat::KeyCount);
    int keySpec = RM::Stat::KeySpecs;
    for (int k = 0; k < keyCount && keySpec + RM::KeySpec::Size <= RM::StatBufferSize; ++k) {
        TIndexDef& index = IndexDefs.Add();
        bool continued = true;
        while (continued && keySpec + RM::KeySpec::Size <= RM::StatBufferSize) {
            const quint8* at = stat.data() + keySpec;
            const quint16 position = loadLE<quint16>(at + RM::KeySpec::Position);
            index.AddSegment(position > 0 ? position - 1 : 0, loadLE<quint16>(at + RM::KeySpec::Length));
            continued = (loadLE<quint16>(at + RM::KeySpec::Flags) & RM::KeySpec::FlagSegmented) != 0;
            keySpec += RM::KeySpec::Size;
        }
        keyBufferSize = std::max(keyBufferSize, index.GetKeyLength());
    }
    return static_cast<quint16>(std::min(keyBufferSize, 0xFFFF));
}

void TBtvTable::InitFieldDefs(const QString&, const QString& tableName, QString& fileName) {
    if (!UseBuiltInFieldDefs) {
        ReadDictionary(tableName, fileName);
        return;
    }
    QString name;
    TFieldType fieldType = TFieldType::String;
    int size = 0;
    qint32 offset = 0;
    for (int i = 0; GetFieldDef(i, name, fieldType, size); ++i) {
        FieldDefs.Add({i, TrimBlanks(name), offset, size, fieldType});
        offset += size;
    }
}

void TBtvTable::ReadDictionary(const QString& tableName, QString& fileName) {
    const QString folder = FolderOf(fileName);
    std::array<quint8, 255> key{};

    TOwnFile files;
    int status = files.Open(PathJoin(folder, QStringLiteral("FILE.DDF")));
    if (status != 0)
        throw EBtvError(TBtvError::DictionaryOpen, {QString::number(status)});
    const QByteArray name = Windows1252::Encode(PadRightStr(tableName, DictionaryNameSize, u' ', false));
    std::copy(name.begin(), name.end(), key.begin());
    std::array<quint8, FileRecordSize> fileRecord{};
    quint32 length = FileRecordSize;
    status =
        files.Call(RM::OpGetEqual, 1, key.data(), static_cast<int>(key.size()), length, fileRecord.data());
    if (status != 0)
        throw EBtvError(TBtvError::TableNotInDictionary, {tableName});
    files.Close();
    const quint16 fileId = loadLE<quint16>(fileRecord.data());
    const QString location = DictionaryText(fileRecord.data() + 2 + DictionaryNameSize, 64);

    TOwnFile fields;
    if (fields.Open(PathJoin(folder, QStringLiteral("FIELD.DDF"))) != 0)
        throw EBtvError(TBtvError::FieldDictionaryOpen, {});
    key.fill(0);
    storeLE<quint16>(key.data(), fileId);
    std::array<quint8, FieldRecordSize> record{};
    length = FieldRecordSize;
    status = fields.Call(RM::OpGetEqual, 1, key.data(), static_cast<int>(key.size()), length, record.data());
    while (status == 0 && loadLE<quint16>(record.data() + 2) == fileId) {
        FieldDefs.Add({loadLE<quint16>(record.data()), DictionaryText(record.data() + 4, DictionaryNameSize),
                       loadLE<quint16>(record.data() + 25), loadLE<quint16>(record.data() + 27),
                       static_cast<TFieldType>(record[24])});
        length = FieldRecordSize;
        status =
            fields.Call(RM::OpGetNext, 1, key.data(), static_cast<int>(key.size()), length, record.data());
    }
    if (status != 0 && status != RM::StatusEndOfFile)
        throw EBtvError(TBtvError::FieldDictionaryRead, {});

    const QString found = PathJoin(folder, FileNamePart(location));
    if (!QFileInfo::exists(ResolvePath(found)))
        throw EBtvError(TBtvError::TableMissing, {found});
    fileName = found;
}

// ---------------------------------------------------------------- conversion copy

void TBtvTable::CopyToNewFile(const QString& newFileName, int newRecordLength) {
    TTableWork work(*this);
    std::vector<quint8> stat(RM::StatBufferSize, 0);
    std::array<quint8, 64> statKey{};
    quint32 length = RM::StatBufferSize;
    CallBtrieve(RM::OpStat, 0, statKey.data(), static_cast<int>(statKey.size()), length, stat.data());
    if (newRecordLength <= 0)
        newRecordLength = recordLength_;
    // A shorter record would cut fields off every record.
    if (newRecordLength < recordLength_ || newRecordLength > 0xFFFF)
        throw EBtvError(TBtvError::InvalidRecordLength,
                        {QString::number(newRecordLength), TableName(), QString::number(recordLength_)});
    storeLE<quint16>(stat.data() + RM::Stat::RecordLength, static_cast<quint16>(newRecordLength));

    const int created = CallCreate(newFileName, stat, RM::CreateReplace);
    if (created != 0)
        throw EBtvException(newFileName, created, RM::OpCreate);

    TOwnFile target;
    if (const int status = target.Open(newFileName); status != 0)
        throw EBtvException(newFileName, status, RM::OpOpen);

    std::array<quint8, 255> key{};
    std::vector<quint8> record;
    for (StepFirst(); !eof_; StepNext()) {
        record.assign(static_cast<std::size_t>(newRecordLength), 0);
        std::memcpy(record.data(), dataBuffer_.data(), recordLength_);
        if (variableLength_) {
            // The variable part follows the new fixed part unchanged.
            constexpr quint32 Piece = 65536;
            std::vector<quint8> piece(Piece);
            quint32 offset = recordLength_;
            for (quint32 n = Piece; n == Piece; offset += n) {
                n = ReadChunk(piece.data(), offset, Piece);
                record.insert(record.end(), piece.begin(), piece.begin() + n);
            }
        }
        length = static_cast<quint32>(record.size());
        if (const int status =
                target.Call(RM::OpInsert, 0, key.data(), static_cast<int>(key.size()), length, record.data());
            status != 0)
            throw EBtvException(newFileName, status, RM::OpInsert);
    }
    target.Close();
    work.Done();
}
