#pragma once
// Message boxes recorded instead of shown, for as long as the object lives.
#include "foundation/Messages.h"

#include <QStringList>

class TRecordedMessages {
public:
    TRecordedMessages()
        : scope_(std::make_unique<TRecordingPresenter>())
        , recorder_(static_cast<TRecordingPresenter*>(&MessagePresenter())) {}

    TRecordingPresenter& Recorder() { return *recorder_; }
    // The texts of the boxes shown since the last call.
    QStringList Shown() {
        QStringList texts;
        for (; seen_ < recorder_->Shown().size(); ++seen_)
            texts.append(recorder_->Shown()[seen_].Text);
        return texts;
    }

private:
    TScopedMessagePresenter scope_;
    TRecordingPresenter* recorder_;
    std::size_t seen_ = 0;
};
