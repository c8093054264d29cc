#pragma once
// The message boxes of the window program, and the guards that show a failure in one.
#include "foundation/Messages.h"

#include "foundation/Exception.h"

#include <QDialog>
#include <exception>
#include <optional>

class QLabel;
class QPushButton;
class QScrollArea;

// The program's own modal message box: icon, word-wrapped text and a row of the kind's buttons.
class TMessageForm : public QDialog {
    Q_OBJECT
public:
    explicit TMessageForm(QWidget* owner = nullptr);

    // Shows box's caption, icon, text and buttons and sizes the form to the wrapped text; a text taller
    // than the screen has room for scrolls, so that the buttons stay on the screen.
    void Setup(const TMessageBox& box);
    // Centres the form on owner's window, or on the screen without one; never left of or above 0, and
    // wholly on the screen.
    void PlaceOver(const QWidget* owner);
    // The button that is the default of the box; it gets the focus when the form shows.
    QPushButton* DefaultButton() const;

    QLabel* const MessageLabel;
    // Holds MessageLabel while its text is taller than the screen has room for; hidden otherwise.
    QScrollArea* const MessageScroll;
    QLabel* const PaintBox;
    QPushButton* const OKBtn;
    QPushButton* const JaBtn;
    QPushButton* const NejBtn;
    QPushButton* const CancelBtn;

public slots:
    // Escape and the window's close button give the modal result 2.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* MakeButton(const QString& caption, int modalResult);
};

// Shows every box as a TMessageForm, modally; installed by the window program.
class TQtMessagePresenter : public TMessagePresenter {
public:
    int Present(QObject* owner, const TMessageBox& box) override;
    // The window of owner, or of its nearest widget ancestor; null when there is none.
    static QWidget* OwnerWindow(QObject* owner);
};

// Shows text as an error once the event being handled is done, as a failure that reached the message loop
// would be: a control's handler must not open a modal box inside a focus change or a mouse press.
void ShowErrorLater(QObject* owner, const QString& text);

// Runs work; the message of a failure it raises, none when it succeeds.
template <typename Work>
std::optional<QString> FailureOf(Work&& work) {
    try {
        work();
    } catch (const Exception& failure) {
        return failure.Message();
    } catch (const std::exception& failure) {
        return QString::fromUtf8(failure.what());
    }
    return std::nullopt;
}

// Runs work (returning bool) for a control's own event; a failure it raises is shown later and counts
// as false, since no exception may leave a Qt event handler.
template <typename Work>
bool Guarded(QObject* owner, Work&& work) {
    bool result = false;
    const std::optional<QString> failure = FailureOf([&] { result = work(); });
    if (failure)
        ShowErrorLater(owner, *failure);
    return result && !failure;
}
