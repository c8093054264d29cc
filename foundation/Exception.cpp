#include "foundation/Exception.h"

Exception::Exception(QString message)
    : message_(std::move(message))
    , utf8_(message_.toUtf8()) {}

Exception::~Exception() = default;

const char* Exception::what() const noexcept {
    return utf8_.constData();
}
