#include "platform/recordmanager/FileLayout.h"

#include "platform/LittleEndian.h"
#include "platform/recordmanager/RecordManagerCodes.h"
#include "platform/recordmanager/StatusError.h"

namespace RecordManager {

namespace {

constexpr size_t MaxKeys = 119;

bool validLength(SegmentKind kind, bool autoIncrement, uint16_t length) {
    switch (kind) {
    case SegmentKind::Signed:
        if (autoIncrement)
            return length == 2 || length == 4 || length == 8;
        [[fallthrough]];
    case SegmentKind::Unsigned:
        return length == 1 || length == 2 || length == 4 || length == 8;
    case SegmentKind::Float:
        return length == 4 || length == 8;
    default:
        return length > 0;
    }
}

KeySegment segmentFrom(const uint8_t* keySpec, uint16_t flags) {
    KeySegment s;
    s.length = loadLE<uint16_t>(keySpec + KeySpec::Length);
    s.descending = flags & KeySpec::FlagDescending;
    s.nullValue = keySpec[KeySpec::NullValue];
    if (!(flags & KeySpec::FlagExtendedType)) {
        s.kind = (flags & KeySpec::FlagBinary) ? SegmentKind::Bytes : SegmentKind::Text;
    } else {
        switch (keySpec[KeySpec::ExtendedType]) {
        case KeySpec::TypeString:
            s.kind = SegmentKind::Text;
            break;
        case KeySpec::TypeZString:
            s.kind = SegmentKind::ZText;
            break;
        case KeySpec::TypeInteger:
            s.kind = SegmentKind::Signed;
            break;
        case KeySpec::TypeAutoIncrement:
            s.kind = SegmentKind::Signed;
            s.autoIncrement = true;
            break;
        case KeySpec::TypeUnsignedBinary:
            s.kind = SegmentKind::Unsigned;
            break;
        case KeySpec::TypeFloat:
            s.kind = SegmentKind::Float;
            break;
        default:
            s.kind = SegmentKind::Bytes;
            break;
        }
    }
    s.foldCase = (flags & KeySpec::FlagCaseInsensitive) &&
                 (s.kind == SegmentKind::Text || s.kind == SegmentKind::ZText);
    return s;
}

} // namespace

FileLayout parseLayout(const uint8_t* stat, size_t size) {
    FileLayout layout;
    if (!stat || size < size_t(Stat::KeySpecs))
        fail(StatusInvalidOperation);
    layout.recordLength = loadLE<uint16_t>(stat + Stat::RecordLength);
    layout.variableLength = loadLE<uint16_t>(stat + Stat::FileFlags) & Stat::FlagVariableLength;
    if (layout.recordLength == 0)
        fail(StatusInvalidRecordLength);
    const size_t keyCount = loadLE<uint16_t>(stat + Stat::KeyCount);
    if (keyCount > MaxKeys)
        fail(StatusInvalidKeyLength);

    size_t at = Stat::KeySpecs;
    for (size_t k = 0; k < keyCount; ++k) {
        KeyDef key;
        bool more = true;
        while (more) {
            if (at + KeySpec::Size > size)
                fail(StatusInvalidOperation);
            const uint8_t* keySpec = stat + at;
            at += KeySpec::Size;
            const uint16_t flags = loadLE<uint16_t>(keySpec + KeySpec::Flags);
            const uint16_t position = loadLE<uint16_t>(keySpec + KeySpec::Position);
            KeySegment s = segmentFrom(keySpec, flags);
            if (position == 0 || size_t(position) - 1 + s.length > layout.recordLength)
                fail(StatusInvalidKeyPosition);
            if (!validLength(s.kind, s.autoIncrement, s.length))
                fail(StatusInvalidKeyLength);
            s.offset = position - 1;
            if (key.segments.empty()) {
                key.unique = !(flags & KeySpec::FlagDuplicates);
                key.nullable = flags & KeySpec::FlagNullKey;
            }
            key.length += s.length;
            if (key.length > MaxKeyLength)
                fail(StatusInvalidKeyLength);
            key.segments.push_back(s);
            more = flags & KeySpec::FlagSegmented;
        }
        layout.keys.push_back(std::move(key));
    }
    return layout;
}

} // namespace RecordManager
