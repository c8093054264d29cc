#include "platform/recordmanager/RecordManager.h"

// Placeholder until the SQLite-backed implementation lands.
extern "C" int16_t BTRCALL(uint16_t, void*, void*, uint32_t*, void*, uint8_t, int8_t) {
    return RecordManager::StatusInvalidOperation;
}
