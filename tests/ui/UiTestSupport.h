#pragma once
// What the window tests share: dialogs answered while they are modal, and file dialogs answered by script.
#include "ui/Launchers.h"

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

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
