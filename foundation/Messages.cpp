#include "foundation/Messages.h"

#include <utility>

int MessageDefaultButton = 0;

namespace {

std::unique_ptr<TMessagePresenter>& PresenterSlot() {
    static std::unique_ptr<TMessagePresenter> Presenter;
    return Presenter;
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

TMessageBox MakeMessageBox(TMessageKind Kind, const QString& Text, int DefaultButton) {
    TMessageBox Box;
    Box.Kind = Kind;
    Box.Text = Text;
    switch (Kind) {
    case TMessageKind::Information:
        Box.Caption = QStringLiteral("Information");
        Box.Buttons = {mrOk};
        break;
    case TMessageKind::Error:
        Box.Caption = QStringLiteral("Fejl");
        Box.Buttons = {mrOk};
        break;
    case TMessageKind::Confirm:
        Box.Caption = QStringLiteral("Bekræft");
        Box.Buttons = {mrYes, mrNo, mrCancel};
        break;
    case TMessageKind::YesNo:
        Box.Caption = QStringLiteral("Bekræft");
        Box.Buttons = {mrYes, mrNo};
        break;
    }
    Box.DefaultButton = DefaultButton >= 0 && DefaultButton < Box.Buttons.size() ? DefaultButton : 0;
    return Box;
}

QString ButtonCaption(int ModalResult) {
    switch (ModalResult) {
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
    std::unique_ptr<TMessagePresenter>& Presenter = PresenterSlot();
    if (!Presenter)
        Presenter = std::make_unique<TLoggingPresenter>();
    return *Presenter;
}

std::unique_ptr<TMessagePresenter> InstallMessagePresenter(std::unique_ptr<TMessagePresenter> Presenter) {
    return std::exchange(PresenterSlot(), std::move(Presenter));
}

TScopedMessagePresenter::TScopedMessagePresenter(std::unique_ptr<TMessagePresenter> Presenter)
    : previous_(InstallMessagePresenter(std::move(Presenter))) {}

TScopedMessagePresenter::~TScopedMessagePresenter() {
    InstallMessagePresenter(std::move(previous_));
}

int ShowMessageForm(QObject* Owner, const QString& Text, TMessageKind Kind) {
    const TDefaultButtonReset Reset;
    return MessagePresenter().Present(Owner, MakeMessageBox(Kind, Text, MessageDefaultButton));
}

void ShowInformation(QObject* Owner, const QString& Text) {
    ShowMessageForm(Owner, Text, TMessageKind::Information);
}

void ShowError(QObject* Owner, const QString& Text) {
    ShowMessageForm(Owner, Text, TMessageKind::Error);
}

bool AskConfirm(QObject* Owner, const QString& Text) {
    return ShowMessageForm(Owner, Text + u'?', TMessageKind::YesNo) == mrYes;
}

TLoggingPresenter::TLoggingPresenter(std::FILE* Stream)
    : stream_(Stream) {}

int TLoggingPresenter::Present(QObject*, const TMessageBox& Box) {
    QString Line = Box.Caption + QStringLiteral(": ") + Box.Text;
    Line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fputs(Line.toUtf8().append('\n').constData(), stream_);
    std::fflush(stream_);
    return Box.DefaultResult();
}

TRecordingPresenter::TRecordingPresenter(std::optional<int> Fallback)
    : fallback_(Fallback) {}

int TRecordingPresenter::Present(QObject* Owner, const TMessageBox& Box) {
    shown_.push_back(Box);
    owners_.push_back(Owner);
    if (!answers_.empty()) {
        const int Answer = answers_.front();
        answers_.pop_front();
        return Answer;
    }
    return fallback_.value_or(Box.DefaultResult());
}
