#include "foundation/Messages.h"

#include "foundation/CodeText.h"

#include <utility>

int MessageDefaultButton = 0;

namespace {

TReplaceable<TMessagePresenter, TLoggingPresenter>& Presenter() {
    static TReplaceable<TMessagePresenter, TLoggingPresenter> presenter;
    return presenter;
}

// Every box resets the default button, also one whose presenter throws.
class TDefaultButtonReset {
public:
    TDefaultButtonReset() = default;
    ~TDefaultButtonReset() { MessageDefaultButton = 0; }
    TDefaultButtonReset(const TDefaultButtonReset&) = delete;
    TDefaultButtonReset& operator=(const TDefaultButtonReset&) = delete;
};

const TCodeText<TMessageKind> KindCaptions[] = {
    {TMessageKind::Information, "Information"},
    {TMessageKind::Error, "Fejl"},
    {TMessageKind::Confirm, "Bekræft"},
    {TMessageKind::YesNo, "Bekræft"},
};

const TCodeText<TModalResult> ButtonCaptions[] = {
    {mrOk, "&OK"},
    {mrYes, "&Ja"},
    {mrNo, "&Nej"},
    {mrCancel, "&Annullér"},
};

} // namespace

TMessageBox MakeMessageBox(TMessageKind kind, const QString& text, int defaultButton) {
    TMessageBox box;
    box.Kind = kind;
    box.Text = text;
    box.Caption = CodeText(KindCaptions, kind);
    switch (kind) {
    case TMessageKind::Information:
    case TMessageKind::Error:
        box.Buttons = {mrOk};
        break;
    case TMessageKind::Confirm:
        box.Buttons = {mrYes, mrNo, mrCancel};
        break;
    case TMessageKind::YesNo:
        box.Buttons = {mrYes, mrNo};
        break;
    }
    box.DefaultButton = defaultButton >= 0 && defaultButton < box.Buttons.size() ? defaultButton : 0;
    return box;
}

QString ButtonCaption(int modalResult) {
    return CodeText(ButtonCaptions, static_cast<TModalResult>(modalResult));
}

TMessagePresenter::~TMessagePresenter() = default;

TMessagePresenter& MessagePresenter() {
    return Presenter().Get();
}

std::unique_ptr<TMessagePresenter> InstallMessagePresenter(std::unique_ptr<TMessagePresenter> presenter) {
    return Presenter().Install(std::move(presenter));
}

int ShowMessageForm(QObject* owner, const QString& text, TMessageKind kind) {
    const TDefaultButtonReset reset;
    return MessagePresenter().Present(owner, MakeMessageBox(kind, text, MessageDefaultButton));
}

void ShowInformation(QObject* owner, const QString& text) {
    ShowMessageForm(owner, text, TMessageKind::Information);
}

void ShowError(QObject* owner, const QString& text) {
    ShowMessageForm(owner, text, TMessageKind::Error);
}

bool AskConfirm(QObject* owner, const QString& text) {
    return ShowMessageForm(owner, text + u'?', TMessageKind::YesNo) == mrYes;
}

TLoggingPresenter::TLoggingPresenter(std::FILE* stream)
    : stream_(stream) {}

int TLoggingPresenter::Present(QObject*, const TMessageBox& box) {
    QString line = box.Caption + QStringLiteral(": ") + box.Text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fputs(line.toUtf8().append('\n').constData(), stream_);
    std::fflush(stream_);
    return box.DefaultResult();
}

TRecordingPresenter::TRecordingPresenter(std::optional<int> fallback)
    : fallback_(fallback) {}

int TRecordingPresenter::Present(QObject* owner, const TMessageBox& box) {
    shown_.push_back(box);
    owners_.push_back(owner);
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return fallback_.value_or(box.DefaultResult());
}
