#include "ui/WidgetKitDato.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int TwoDigitCentury = 50; // a two-digit year below this is 20xx, else 19xx

} // namespace

TDatoEdit::TDatoEdit(QWidget* parent)
    : TStringEdit(parent) {
    QAction* calendar =
        addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView), QLineEdit::TrailingPosition);
    calendar->setObjectName(QStringLiteral("Kalender"));
    calendar->setToolTip(QStringLiteral("Vælg dato i kalenderen"));
    connect(calendar, &QAction::triggered, this, &TDatoEdit::ShowCalendar);
    connect(this, &QLineEdit::textChanged, this, [this] { emit dateChanged(date()); });
}

QDate TDatoEdit::ParseDato(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]{1,2})[-./]([0-9]{1,2})[-./]([0-9]{4}|[0-9]{2})$"));
    const QRegularExpressionMatch match = pattern.match(TrimBlanks(text));
    if (!match.hasMatch())
        return {};
    int year = match.captured(3).toInt();
    if (match.captured(3).size() == 2)
        year += year < TwoDigitCentury ? 2000 : 1900;
    return QDate(year, match.captured(2).toInt(), match.captured(1).toInt());
}

QDate TDatoEdit::date() const {
    return ParseDato(text());
}

void TDatoEdit::setDate(const QDate& date) {
    setText(date.isValid() ? date.toString(QStringLiteral("dd-MM-yyyy")) : QString());
}

void TDatoEdit::Check() {
    const QString typed = TrimBlanks(text());
    if (typed.isEmpty())
        return;
    const QDate dato = ParseDato(typed);
    if (!dato.isValid())
        throw EConvertError(QStringLiteral("\"%1\" er ikke en gyldig dato").arg(typed));
    // The date in its normal form.
    setDate(dato);
}

void TDatoEdit::ShowCalendar() {
    auto* popup = new QCalendarWidget(this);
    popup->setObjectName(QStringLiteral("Kalender"));
    popup->setWindowFlags(Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setGridVisible(true);
    if (date().isValid())
        popup->setSelectedDate(date());
    connect(popup, &QCalendarWidget::clicked, this, [this, popup](const QDate& chosen) {
        setDate(chosen);
        popup->close();
        setFocus();
    });
    popup->move(mapToGlobal(QPoint(0, height())));
    popup->show();
}

void TDatoEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier) {
        ShowCalendar();
        event->accept();
        return;
    }
    TStringEdit::keyPressEvent(event);
}
