#include "foundation/controls/FormSize.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

namespace {

// A scroll page is never squeezed below a few lines of its page.
constexpr int MinimumScrollHeight = 120;

// The smallest size of a page, whether its layout or a size set on it says so.
QSize Smallest(const QWidget& page) {
    return page.minimumSizeHint().expandedTo(page.minimumSize());
}

} // namespace

QRect AvailableArea(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void FitOnScreen(QWidget& window) {
    if (!window.isWindow() ||
        (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
        return;
    const QRect area = AvailableArea(window);
    if (area.isEmpty())
        return;
    const QRect inner = window.geometry();
    const QRect frame = window.frameGeometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                           frame.right() - inner.right(), frame.bottom() - inner.bottom());
    const QSize room = area.size().shrunkBy(margins);
    const QSize size = inner.size().boundedTo(room).expandedTo(window.minimumSize());
    if (size != inner.size())
        window.resize(size);
    const QSize outer = size.grownBy(margins);
    // The top left corner first: the title bar stays reachable when even the smallest size is too big.
    const int left = std::max(area.left(), std::min(frame.left(), area.right() + 1 - outer.width()));
    const int top = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - outer.height()));
    if (QPoint(left, top) != frame.topLeft())
        window.move(left, top);
}

void GrowToContents(QWidget& window) {
    // Qt gave a window that nobody sized at most two thirds of the screen.
    if (!window.isWindow() || window.testAttribute(Qt::WA_Resized))
        return;
    const QSize wanted = window.size().expandedTo(window.sizeHint()).boundedTo(AvailableArea(window).size());
    if (wanted != window.size())
        window.resize(wanted);
}

TScrollPage::TScrollPage(QWidget* page, QWidget* parent)
    : QScrollArea(parent) {
    setObjectName(page->objectName() + QStringLiteral("Scroll"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(page);
}

QSize TScrollPage::sizeHint() const {
    const QWidget* page = widget();
    if (!page)
        return QScrollArea::sizeHint();
    const QSize whole = page->sizeHint().expandedTo(Smallest(*page));
    return whole + QSize(2 * frameWidth(), 2 * frameWidth());
}

QSize TScrollPage::minimumSizeHint() const {
    const QWidget* page = widget();
    if (!page)
        return QScrollArea::minimumSizeHint();
    // The page's width, with room for the vertical scroll bar: it scrolls up and down only.
    const QSize smallest = Smallest(*page);
    const int width = smallest.width() + verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
    return {width, std::min(MinimumScrollHeight, smallest.height())};
}

QWidget* ScrolledContent(QWidget* page) {
    auto* content = new QWidget;
    content->setObjectName(page->objectName() + QStringLiteral("Content"));
    auto* fill = new QVBoxLayout(page);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(new TScrollPage(content, page));
    return content;
}
