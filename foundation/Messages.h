#pragma once
// The program's message boxes: information, error and confirmation, with Danish captions and buttons.
// Every box goes through one replaceable presenter, so code without windows can ask and tell: the window
// program installs the Qt one, tests a recording one; batch jobs and server mode log to standard error.
#include "foundation/Replaceable.h"

#include <QList>
#include <QString>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QObject;

// Modal results of the dialogs and message boxes.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

enum class TMessageKind : int { Information = 0, Error = 1, Confirm = 2, YesNo = 3 };

// One box as a presenter gets it.
struct TMessageBox {
    TMessageKind Kind{TMessageKind::Information};
    QString Caption;
    QString Text;
    QList<int> Buttons; // modal results of the buttons, left to right
    int DefaultButton{0};

    int DefaultResult() const { return Buttons.at(DefaultButton); }
};

// The box of a kind: caption "Information", "Fejl" or "Bekræft" and its buttons. A default button index
// outside the row picks the first button.
TMessageBox MakeMessageBox(TMessageKind kind, const QString& text, int defaultButton);
// "&OK", "&Ja", "&Nej", "&Annullér".
QString ButtonCaption(int modalResult);

class TMessagePresenter {
public:
    virtual ~TMessagePresenter();
    // Shows the box and returns the modal result of the answer. Owner is the asking window, or null.
    virtual int Present(QObject* owner, const TMessageBox& box) = 0;
};

// The presenter in use; the logging one until another is installed.
TMessagePresenter& MessagePresenter();
// Installs Presenter (null: the logging one) and hands back the one it replaces.
std::unique_ptr<TMessagePresenter> InstallMessagePresenter(std::unique_ptr<TMessagePresenter> presenter);

// Installs a presenter for its own lifetime and puts the previous one back.
using TScopedMessagePresenter = TScopedInstall<InstallMessagePresenter>;

// Index of the default button of the next box (1 picks "Nej" before a destructive question); every box
// resets it to 0.
extern int MessageDefaultButton;

void ShowInformation(QObject* owner, const QString& text);
void ShowError(QObject* owner, const QString& text);
int ShowMessageForm(QObject* owner, const QString& text, TMessageKind kind);
// Asks Text + "?" with Ja and Nej; true only for Ja.
bool AskConfirm(QObject* owner, const QString& text);

// For batch jobs and server mode: writes "Caption: Text" to Stream and answers as the default button.
class TLoggingPresenter : public TMessagePresenter {
public:
    explicit TLoggingPresenter(std::FILE* stream = stderr);
    int Present(QObject* owner, const TMessageBox& box) override;

private:
    std::FILE* stream_;
};

// For tests: keeps every box and answers from a queue of scripted answers; when the queue is empty, with
// Fallback, or as the default button when there is none.
class TRecordingPresenter : public TMessagePresenter {
public:
    explicit TRecordingPresenter(std::optional<int> fallback = std::nullopt);
    int Present(QObject* owner, const TMessageBox& box) override;

    void QueueAnswer(int modalResult) { answers_.push_back(modalResult); }
    const std::vector<TMessageBox>& Shown() const { return shown_; }
    const std::vector<QObject*>& Owners() const { return owners_; }

private:
    std::optional<int> fallback_;
    std::deque<int> answers_;
    std::vector<TMessageBox> shown_;
    std::vector<QObject*> owners_;
};
