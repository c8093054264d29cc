#include "ScreenFit.h"

#include "controls/Gui.h"
#include "foundation/controls/Tablist.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSet>
#include <QStackedWidget>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace {

// A caption's text keeps at least this much room on each side inside its control.
constexpr int TextPadding = 3;

QString Shown(QString text) {
    // A mnemonic's "&" is not drawn; "&&" is one "&".
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

int TextWidth(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : Shown(text).split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The controls a person works or reads; a container only holds them.
bool IsControl(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractScrollArea*>(widget) || qobject_cast<const QLabel*>(widget) ||
           qobject_cast<const QGroupBox*>(widget) || qobject_cast<const QTabBar*>(widget);
}

// A part of a compound control (a spin box's edit, a grid's header, cell editor and scroll bars, a tab
// bar's arrows) is that control's business.
bool IsInsideCompound(const QWidget* widget, const QWidget* window) {
    if (widget->objectName().startsWith(QStringLiteral("qt_")))
        return true;
    for (const QWidget* parent = widget->parentWidget(); parent && parent != window;
         parent = parent->parentWidget()) {
        if (qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent) ||
            qobject_cast<const QAbstractItemView*>(parent) || qobject_cast<const QTextEdit*>(parent) ||
            qobject_cast<const QPlainTextEdit*>(parent) || qobject_cast<const QTabBar*>(parent))
            return true;
        // The scroll bars and corner of a scroll area; what it scrolls is its viewport's.
        if (const auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget()))
            if (parent != area->viewport())
                return true;
    }
    return false;
}

// The viewport of the scroll area whose content holds the widget, when one does: the widget is reached by
// scrolling there.
const QWidget* ScrolledIn(const QWidget* widget, const QWidget* window) {
    for (const QWidget* parent = widget->parentWidget(); parent && parent != window;
         parent = parent->parentWidget())
        if (const auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget()))
            if (parent == area->viewport())
                return parent;
    return nullptr;
}

QRect GlobalRect(const QWidget* widget) {
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

QString Caption(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return Shown(button->text());
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* box = qobject_cast<const QGroupBox*>(widget))
        return box->title();
    return {};
}

QString NameOf(const QWidget* widget) {
    QString name = widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                  : widget->objectName();
    const QString caption = Caption(widget);
    if (!caption.isEmpty())
        name += QStringLiteral(" \"") + caption.left(40) + u'"';
    return name;
}

class TFaultFinder {
public:
    TFaultFinder(const QWidget& window, const QRect& screen)
        : window_(window)
        , screen_(screen)
        , prefix_(QString::fromLatin1(window.metaObject()->className()) + QStringLiteral(": ")) {}

    QStringList Find() {
        if (!screen_.contains(window_.frameGeometry()))
            Fault(QStringLiteral("the window (%1x%2 at %3,%4 with its frame) passes the screen's edge")
                      .arg(window_.frameGeometry().width())
                      .arg(window_.frameGeometry().height())
                      .arg(window_.frameGeometry().left())
                      .arg(window_.frameGeometry().top()));
        QList<const QWidget*> controls;
        for (const QWidget* widget : window_.findChildren<QWidget*>()) {
            if (!widget->isVisible() || widget->isWindow() || IsInsideCompound(widget, &window_))
                continue;
            Squeezed(widget);
            if (const auto* bar = qobject_cast<const QToolBar*>(widget))
                PutAway(bar);
            if (!IsControl(widget))
                continue;
            if (qobject_cast<const QLabel*>(widget) && static_cast<const QLabel*>(widget)->text().isEmpty())
                continue;
            controls << widget;
            Reachable(widget);
            TextCut(widget);
        }
        Overlaps(controls);
        return faults_;
    }

private:
    void Fault(const QString& text) { faults_ << prefix_ + text; }
    void Fault(const QWidget* widget, const QString& text) {
        Fault(NameOf(widget) + QStringLiteral(": ") + text);
    }

    // Wholly on the screen and not cut by the panels it sits in; what a scroll area holds is reached by
    // scrolling it.
    void Reachable(const QWidget* widget) {
        const QRect rect = GlobalRect(widget);
        if (rect.isEmpty()) {
            Fault(widget, QStringLiteral("has no room"));
            return;
        }
        const QWidget* viewport = ScrolledIn(widget, &window_);
        for (const QWidget* parent = widget->parentWidget(); parent && parent != viewport;
             parent = parent->parentWidget()) {
            if (!GlobalRect(parent).contains(rect)) {
                Fault(widget, QStringLiteral("is cut off by %1").arg(NameOf(parent)));
                return;
            }
            if (parent == &window_)
                break;
        }
        if (!viewport && !screen_.contains(rect))
            Fault(widget, QStringLiteral("lies past the screen's edge"));
    }

    // The part of the control a person sees.
    QRect ShownRect(const QWidget* widget) const {
        QRect rect = GlobalRect(widget);
        if (const QWidget* viewport = ScrolledIn(widget, &window_))
            rect &= GlobalRect(viewport);
        return rect;
    }

    void Overlaps(const QList<const QWidget*>& controls) {
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const QRect first = ShownRect(controls[i]);
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                const QWidget* a = controls[i];
                const QWidget* b = controls[j];
                if (a->isAncestorOf(b) || b->isAncestorOf(a))
                    continue;
                const QRect overlap = first & ShownRect(b);
                if (!overlap.isEmpty())
                    Fault(a, QStringLiteral("overlaps %1 (%2x%3)")
                                 .arg(NameOf(b))
                                 .arg(overlap.width())
                                 .arg(overlap.height()));
            }
        }
    }

    // A panel smaller than its layout needs squeezes its controls.
    void Squeezed(const QWidget* widget) {
        const QLayout* layout = widget->layout();
        if (!layout || qobject_cast<const QAbstractScrollArea*>(widget))
            return;
        const QSize need = layout->totalMinimumSize();
        int needHeight = need.height();
        if (layout->hasHeightForWidth())
            needHeight = std::min(needHeight, layout->totalHeightForWidth(widget->width()));
        if (widget->width() < need.width() || widget->height() < needHeight)
            Fault(widget, QStringLiteral("is %1x%2, its controls need %3x%4")
                              .arg(widget->width())
                              .arg(widget->height())
                              .arg(need.width())
                              .arg(needHeight));
    }

    // A command of a tool bar is on it, not behind its arrow.
    void PutAway(const QToolBar* bar) {
        for (QAction* action : bar->actions()) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            const QWidget* button = bar->widgetForAction(action);
            if (!button || !button->isVisible())
                Fault(QStringLiteral("%1: \"%2\" is behind the tool bar's arrow")
                          .arg(bar->objectName(), Shown(action->text())));
        }
    }

    void TextCut(const QWidget* widget) {
        const QFontMetrics metrics = widget->fontMetrics();
        const auto tooNarrow = [&](int need, int room) {
            if (need > room)
                Fault(widget, QStringLiteral("its text needs %1 px, it has %2").arg(need).arg(room));
        };
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            if (label->pixmap().isNull() && label->wordWrap()) {
                if (label->heightForWidth(label->width()) > label->height())
                    Fault(widget, QStringLiteral("its lines need %1 px of height, it has %2")
                                      .arg(label->heightForWidth(label->width()))
                                      .arg(label->height()));
            } else if (label->pixmap().isNull()) {
                const QSize need = label->minimumSizeHint();
                tooNarrow(need.width(), label->width());
                if (need.height() > label->height())
                    Fault(widget, QStringLiteral("its lines need %1 px of height, it has %2")
                                      .arg(need.height())
                                      .arg(label->height()));
            }
        } else if (qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget)) {
            tooNarrow(widget->sizeHint().width(), widget->width());
        } else if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
            if (!button->text().isEmpty())
                tooNarrow(TextWidth(metrics, button->text()) +
                              button->iconSize().width() * !button->icon().isNull() + 2 * TextPadding,
                          button->width());
        } else if (const auto* tool = qobject_cast<const QToolButton*>(widget)) {
            if (!tool->text().isEmpty() && tool->toolButtonStyle() != Qt::ToolButtonIconOnly &&
                tool->icon().isNull())
                tooNarrow(TextWidth(metrics, tool->text()) + 2 * TextPadding, tool->width());
        } else if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
            tooNarrow(box->minimumSizeHint().width(), box->width());
        } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            tooNarrow(TextWidth(metrics, combo->currentText()), field.width());
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const QRect tab = tabs->tabRect(i);
                if (!tabs->rect().contains(tab))
                    Fault(widget,
                          QStringLiteral("the tab \"%1\" is behind the arrows").arg(Shown(tabs->tabText(i))));
                else if (TextWidth(metrics, tabs->tabText(i)) > tab.width())
                    Fault(widget, QStringLiteral("the tab \"%1\" is cut").arg(Shown(tabs->tabText(i))));
            }
        } else if (const auto* table = qobject_cast<const QTableView*>(widget)) {
            Headings(table->horizontalHeader());
            Headings(table->verticalHeader());
        } else if (const auto* list = qobject_cast<const TTabListbox*>(widget)) {
            ListTexts(list);
        }
    }

    // Every heading of a shown column fits the column.
    void Headings(const QHeaderView* header) {
        if (!header->isVisible() || !header->model())
            return;
        const QFontMetrics metrics = header->fontMetrics();
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        const bool across = header->orientation() == Qt::Horizontal;
        for (int section = 0; section < header->count(); ++section) {
            if (header->isSectionHidden(section) || header->sectionSize(section) == 0)
                continue;
            const QString text =
                header->model()->headerData(section, header->orientation(), Qt::DisplayRole).toString();
            if (text.trimmed().isEmpty())
                continue;
            const int lines = static_cast<int>(text.count(u'\n')) + 1;
            const int need =
                across ? TextWidth(metrics, text) + 2 * margin : TextWidth(metrics, text) + margin;
            const int room = across ? header->sectionSize(section) : header->width();
            if (need > room)
                Fault(QStringLiteral("%1: the heading \"%2\" needs %3 px, its column has %4")
                          .arg(NameOf(header->parentWidget()), text)
                          .arg(need)
                          .arg(room));
            if (across && lines * metrics.height() > header->height())
                Fault(QStringLiteral("%1: the heading \"%2\" needs %3 px of height, it has %4")
                          .arg(NameOf(header->parentWidget()), text)
                          .arg(lines * metrics.height())
                          .arg(header->height()));
        }
    }

    // Every text of a column list fits its column.
    void ListTexts(const TTabListbox* list) {
        const QFontMetrics metrics = list->fontMetrics();
        const int width = list->viewport()->width();
        const QList<TTabListbox::TTabColumn> columns = list->ColumnLayout(width);
        for (int row = 0; row < list->count(); ++row) {
            const QStringList texts =
                TTabListbox::ColumnTexts(list->item(row)->text(), static_cast<int>(columns.size()));
            for (qsizetype i = 0; i < columns.size(); ++i) {
                const int need = metrics.horizontalAdvance(texts[i]) + columns[i].Margin;
                if (need > columns[i].Width)
                    Fault(list, QStringLiteral("\"%1\" needs %2 px, its column has %3")
                                    .arg(texts[i])
                                    .arg(need)
                                    .arg(columns[i].Width));
            }
        }
    }

    const QWidget& window_;
    QRect screen_;
    QString prefix_;
    QStringList faults_;
};

struct TPageVisit {
    QWidget& Window;
    QRect Screen;
    const std::function<void(int)>& Seen;
    QSet<const QWidget*> Visited;
    QStringList Faults;
    int Count{0};
};

// Every page of every page control shown now, and of those its pages show, in turn.
void VisitPages(TPageVisit& visit) {
    QWidget& window = visit.Window;
    visit.Faults << ScreenFaults(window, visit.Screen);
    if (visit.Seen)
        visit.Seen(visit.Count);
    ++visit.Count;
    for (QStackedWidget* stack : window.findChildren<QStackedWidget*>()) {
        if (!stack->isVisible() || visit.Visited.contains(stack))
            continue;
        visit.Visited.insert(stack);
        auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
        const int shown = stack->currentIndex();
        for (int page = 0; page < stack->count(); ++page) {
            if (page == shown || (tabs && (!tabs->isTabEnabled(page) || !tabs->isTabVisible(page))))
                continue;
            tabs ? tabs->setCurrentIndex(page) : stack->setCurrentIndex(page);
            Settle();
            VisitPages(visit);
        }
        tabs ? tabs->setCurrentIndex(shown) : stack->setCurrentIndex(shown);
        Settle();
    }
}

} // namespace

QStringList ScreenFaults(const QWidget& window, const QRect& screen) {
    return TFaultFinder(window, screen).Find();
}

QStringList ScreenFaultsOfEveryPage(QWidget& window, const QRect& screen,
                                    const std::function<void(int)>& seen) {
    TPageVisit visit{window, screen, seen, {}, {}, 0};
    VisitPages(visit);
    visit.Faults.removeDuplicates();
    return visit.Faults;
}
