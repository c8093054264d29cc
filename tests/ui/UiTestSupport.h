#pragma once
// What the window tests share: dialogs answered while they are modal, and file dialogs answered by script.
#include "ui/DialogRunner.h"
#include "ui/Launchers.h"

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

// Runs action on the next modal dialog of class Dialog as soon as its loop runs. A dialog that never
// comes, or that the action leaves open for two seconds, fails the test; whatever modal dialog is open
// then is closed, so that a fault cannot hang it.
template <typename Dialog>
void OnNextModal(std::function<void(Dialog&)> action) {
    auto* poll = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, action] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            action(*dialog);
            QTimer::singleShot(2000, dialog, [dialog] {
                if (dialog->isVisible()) {
                    ADD_FAILURE() << "the dialog stayed open";
                    dialog->done(QDialog::Rejected);
                }
            });
        } else if (++*tries > 2000) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "no " << Dialog::staticMetaObject.className() << " came";
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                other->done(QDialog::Rejected);
        }
    });
    poll->start(1);
}

// Answers the launchers' file dialogs from a queue; an empty queue cancels. Keeps what was offered.
class TScriptedFileChooser : public TFileChooser {
public:
    QString SaveFileName(QWidget*, const QString& initialName) override {
        Offered.append(initialName);
        return Answers.isEmpty() ? QString() : Answers.takeFirst();
    }
    QString OpenFileName(QWidget*, const QString& folder) override {
        Offered.append(folder);
        return Answers.isEmpty() ? QString() : Answers.takeFirst();
    }
    QStringList Answers;
    QStringList Offered;
};

// Installs a scripted chooser for the test's lifetime.
class TScriptedFiles {
public:
    TScriptedFiles()
        : scope_(std::make_unique<TScriptedFileChooser>())
        , chooser_(static_cast<TScriptedFileChooser*>(&FileChooser())) {}
    TScriptedFileChooser& operator*() { return *chooser_; }
    TScriptedFileChooser* operator->() { return chooser_; }

private:
    TScopedFileChooser scope_;
    TScriptedFileChooser* chooser_;
};

// Stands in for the desktop's opener of documents while installed with QDesktopServices::setUrlHandler.
class TUrlRecorder : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl& url) { Opened << url; }

public:
    QList<QUrl> Opened;
};

// Answers the dialogs shown through the dialog runner, in order, without a modal loop: each answer sets the
// dialog's controls or clicks its buttons, and gives its modal result (mrNone: the result its buttons
// left, as the dialog's loop would have ended with). A dialog of another class than the
// next answer expects, or one with no answer left, fails the test and is cancelled.
class TScriptedDialogRunner : public TDialogRunner {
public:
    int Run(QDialog& dialog) override {
        Shown << QString::fromLatin1(dialog.metaObject()->className());
        if (Answers.empty()) {
            ADD_FAILURE() << "no answer for " << dialog.metaObject()->className();
            return mrCancel;
        }
        std::function<int(QDialog&)> answer = std::move(Answers.front());
        Answers.pop_front();
        const int result = answer(dialog);
        return result != mrNone ? result : dialog.result();
    }
    template <typename Dialog>
    void Answer(std::function<int(Dialog&)> answer) {
        Answers.push_back([answer = std::move(answer)](QDialog& dialog) -> int {
            auto* typed = qobject_cast<Dialog*>(&dialog);
            if (!typed) {
                ADD_FAILURE() << "expected " << Dialog::staticMetaObject.className() << ", got "
                              << dialog.metaObject()->className();
                return mrCancel;
            }
            return answer(*typed);
        });
    }
    std::deque<std::function<int(QDialog&)>> Answers;
    QStringList Shown;
};

// Installs a scripted dialog runner for the test's lifetime; at its end every answer must have been used.
class TScriptedDialogs {
public:
    TScriptedDialogs()
        : scope_(std::make_unique<TScriptedDialogRunner>())
        , runner_(static_cast<TScriptedDialogRunner*>(&DialogRunner())) {}
    ~TScriptedDialogs() { EXPECT_TRUE(runner_->Answers.empty()) << "answers left unused"; }
    TScriptedDialogs(const TScriptedDialogs&) = delete;
    TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;
    TScriptedDialogRunner& operator*() { return *runner_; }
    TScriptedDialogRunner* operator->() { return runner_; }

private:
    TScopedDialogRunner scope_;
    TScriptedDialogRunner* runner_;
};
