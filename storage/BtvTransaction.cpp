#include "storage/BtvTransaction.h"

#include "platform/recordmanager/RecordManager.h"

namespace RM = RecordManager;

namespace {

int Send(RM::Operation operation) {
    quint32 length = 0;
    return BTRCALL(operation, nullptr, nullptr, &length, nullptr, 0, 0);
}

} // namespace

TBtvTransaction::TBtvTransaction() {
    if (const int status = Send(RM::OpBeginTransaction); status != 0)
        throw EBtvException(QString(), status, RM::OpBeginTransaction);
    active_ = true;
}

TBtvTransaction::~TBtvTransaction() {
    if (active_)
        Send(RM::OpAbortTransaction);
}

void TBtvTransaction::Commit() {
    if (!active_)
        return;
    active_ = false;
    if (const int status = Send(RM::OpEndTransaction); status != 0)
        throw EBtvException(QString(), status, RM::OpEndTransaction);
}

TBtvReadScope::TBtvReadScope()
    : scope_(std::make_unique<RecordManagerReadScope>()) {}

TBtvReadScope::~TBtvReadScope() = default;
