#pragma once
// The record manager's one error convention: everything below BTRCALL throws the status that ends a
// call, and BTRCALL alone turns it into its return value.
#include <cstdint>

namespace RecordManager {

struct StatusError {
    int16_t status;
};

[[noreturn]] void fail(int16_t status);

} // namespace RecordManager
