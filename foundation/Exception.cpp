#include "foundation/Exception.h"

Exception::Exception(QString message)
    : message_(std::move(message))
    , utf8_(message_.toUtf8()) {}

Exception::~Exception() = default;

const char* Exception::what() const noexcept {
    return utf8_.constData();
}

QString MessageOf(const std::exception& error) {
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        return own->Message();
    return QString::fromUtf8(error.what());
}
