#include "foundation/Messages.h"

#include <utility>

int MessageDefaultButton = 0;

namespace {

std::unique_ptr<TMessagePresenter>& PresenterSlot() {
    static std::unique_ptr<TMessagePresenter> presenter;
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

} // namespace

TMessageBox MakeMessageBox(TMessageKind kind, const QString& text, int defaultButton) {
    TMessageBox box;
    box.Kind = kind;
    box.Text = text;
    switch (kind) {
    case TMessageKind::Information:
        box.Caption = QStringLiteral("Information");
        box.Buttons = {mrOk};
        break;
    case TMessageKind::Error:
        box.Caption = QStringLiteral("Fejl");
        box.Buttons = {mrOk};
        break;
    case TMessageKind::Confirm:
        box.Caption = QStringLiteral("Bekræft");
        box.Buttons = {mrYes, mrNo, mrCancel};
        break;
    case TMessageKind::YesNo:
        box.Caption = QStringLiteral("Bekræft");
        box.Buttons = {mrYes, mrNo};
        break;
    }
    box.DefaultButton = defaultButton >= 0 && defaultButton < box.Buttons.size() ? defaultButton : 0;
    return box;
}

QString ButtonCaption(int modalResult) {
    switch (modalResult) {
    case mrOk:
        return QStringLiteral("&OK");
    case mrYes:
        return QStringLiteral("&Ja");
    case mrNo:
        return QStringLiteral("&Nej");
    case mrCancel:
        return QStringLiteral("&Annullér");
    default:
        return QString();
    }
}

TMessagePresenter::~TMessagePresenter() = default;

TMessagePresenter& MessagePresenter() {
    std::unique_ptr<TMessagePresenter>& presenter = PresenterSlot();
    if (!presenter)
        presenter = std::make_unique<TLoggingPresenter>();
    return *presenter;
}

std::unique_ptr<TMessagePresenter> InstallMessagePresenter(std::unique_ptr<TMessagePresenter> presenter) {
    return std::exchange(PresenterSlot(), std::move(presenter));
}

TScopedMessagePresenter::TScopedMessagePresenter(std::unique_ptr<TMessagePresenter> presenter)
    : previous_(InstallMessagePresenter(std::move(presenter))) {}

TScopedMessagePresenter::~TScopedMessagePresenter() {
    InstallMessagePresenter(std::move(previous_));
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
