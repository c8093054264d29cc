#pragma once
// Message boxes while the server runs. The request handler runs on the gateway's queue thread, and the
// model it calls may show a box (a meet whose settings cannot be read): a box there would touch widgets
// off the window thread and wait for somebody at the screen, holding up every request behind it. So a
// box from any other thread than the window thread goes into the server's log and is answered with its
// default button; on the window thread the presenter it stands in front of shows it.
#include "foundation/Messages.h"

#include <functional>
#include <memory>

class TServerMessagePresenter : public TMessagePresenter {
public:
    using LogLine = std::function<void(const QString& line)>;

    explicit TServerMessagePresenter(LogLine log);
    int Present(QObject* owner, const TMessageBox& box) override;

    void SetWindowPresenter(std::unique_ptr<TMessagePresenter> presenter) { window_ = std::move(presenter); }
    std::unique_ptr<TMessagePresenter> TakeWindowPresenter() { return std::move(window_); }

    // The line a box goes into the log as.
    static QString LogText(const TMessageBox& box);

private:
    LogLine log_;
    std::unique_ptr<TMessagePresenter> window_;
};
