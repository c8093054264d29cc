#include "server/ServerMessagePresenter.h"

#include <QCoreApplication>
#include <QThread>

TServerMessagePresenter::TServerMessagePresenter(LogLine log)
    : log_(std::move(log)) {}

QString TServerMessagePresenter::LogText(const TMessageBox& box) {
    return QStringLiteral("<message> ") + box.Caption + QStringLiteral(": ") + box.Text;
}

int TServerMessagePresenter::Present(QObject* owner, const TMessageBox& box) {
    const QCoreApplication* application = QCoreApplication::instance();
    const bool windowThread = application && QThread::currentThread() == application->thread();
    if (windowThread && window_)
        return window_->Present(owner, box);
    if (log_)
        log_(LogText(box));
    return box.DefaultResult();
}
