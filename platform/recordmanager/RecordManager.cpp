#include "platform/recordmanager/RecordManager.h"

#include "platform/recordmanager/Session.h"

#include <new>

using namespace RecordManager;

extern "C" int16_t BTRCALL(uint16_t Operation, void* PositionBlock, void* DataBuffer, uint32_t* DataLength,
                           void* KeyBuffer, uint8_t KeyLength, int8_t KeyNumber) {
    CallBuffers c;
    c.data = static_cast<uint8_t*>(DataBuffer);
    c.dataLength = DataLength;
    c.key = static_cast<uint8_t*>(KeyBuffer);
    c.keyLength = KeyLength;
    c.keyNumber = KeyNumber;
    Session& session = Session::instance();
    try {
        std::lock_guard lock(session.mutex());
        return session.call(Operation, static_cast<uint8_t*>(PositionBlock), c);
    } catch (const StatusError& e) {
        return e.status;
    } catch (const std::bad_alloc&) {
        return StatusIOError;
    } catch (...) {
        return StatusIOError;
    }
}

RecordManagerReadScope::RecordManagerReadScope() {
    Session& session = Session::instance();
    std::lock_guard lock(session.mutex());
    session.beginRead();
}

RecordManagerReadScope::~RecordManagerReadScope() {
    Session& session = Session::instance();
    std::lock_guard lock(session.mutex());
    session.endRead();
}
