#pragma once
// The widget kit's date edit: a date typed as "dd-mm-yyyy" or picked in a calendar.
#include "foundation/controls/EditUtil.h"

#include <QDate>

// A date that does not exist, such as "31-02-2026", is refused with a message when the edit is left or
// read, and never moved to another day. "-", "." or "/" may stand between the parts; a two-digit year is
// 19xx from 50 and 20xx below.
class TDatoEdit : public TStringEdit {
    Q_OBJECT
public:
    explicit TDatoEdit(QWidget* parent = nullptr);

    // The date of the text; an invalid QDate while the text is no date.
    QDate date() const;
    // Shows the date as "dd-mm-yyyy"; an invalid date empties the edit.
    void setDate(const QDate& date);
    void Check() override;
    // The calendar below the edit, on the date shown; a day clicked there is taken. Also the edit's
    // calendar button and Alt+Down.
    void ShowCalendar();

    // The date of a text as the edit reads it; an invalid QDate for a text that is no date.
    static QDate ParseDato(const QString& text);

signals:
    void dateChanged(const QDate& date);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
