#pragma once
// Single-line edits that filter what is typed, check their text when they are left, show their value
// aligned (and formatted) while they do not have the focus, and turn the text into a typed value. Numbers
// are shown with the edit's locale's separators; "," and "." are both read as the decimal separator.
#include "foundation/Exception.h"
#include "foundation/LxClass.h"
#include "foundation/controls/Alignment.h"

#include <QLineEdit>
#include <QLocale>
#include <optional>

// A value outside the limits of an edit.
class ERangeError : public Exception {
public:
    using Exception::Exception;
};

class TBasicEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TBasicEdit(QWidget* parent = nullptr);

    int FieldNo{0}; // free tags tying the edit to a record field
    int FileID{0};
    QString OKCharSet; // when not empty, the only characters that may be typed

    TAlignment EditAlignment() const { return editAlignment_; }
    void SetEditAlignment(TAlignment alignment);
    // The text the edit had when it last got the focus.
    const QString& EnteredText() const { return enteredText_; }

    // The text shown while the edit does not have the focus.
    virtual QString GetDisplayText() const;
    // Raises when the text is not acceptable; may show the text in its normal form.
    virtual void Check();
    virtual bool IsValidChar(QChar key) const;
    virtual void SetValueText(const QString& text);

protected:
    void focusInEvent(QFocusEvent* event) override;
    // Runs Check; a failure takes the focus back and is shown, else the form hears of the edit left.
    void focusOutEvent(QFocusEvent* event) override;
    // A typed character that IsValidChar refuses is dropped with a beep.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    TAlignment editAlignment_{TAlignment::taLeftJustify};
    QString enteredText_;
};

class TStringEdit : public TBasicEdit {
    Q_OBJECT
public:
    using TBasicEdit::TBasicEdit;
    QString GetValue();
    void SetValue(const QString& value);
};

// What the integer and the float edit share: a value read from a number typed with Decimals decimals
// and checked against MinValue and MaxValue (a limit of 0 is none).
template <typename Value>
class TNumberEdit : public TBasicEdit {
public:
    using TBasicEdit::TBasicEdit;

    int Decimals{0};
    QString DisplayFormat;
    Value MinValue{0};
    Value MaxValue{0};

    Value GetValue();
    QString GetDisplayText() const override;
    void Check() override;
    bool IsValidChar(QChar key) const override;

protected:
    // The value of a normalised text, raising for a bad text or a value out of range.
    virtual Value ValueOf(const QString& normalised) const = 0;
    // The value as a display format shows it.
    virtual double Shown(Value value) const = 0;
    virtual bool TakesDecimalChars() const = 0;

    Value value_{0};
};

// A 32-bit integer in units of 10^-Decimals, typed with Decimals decimals (marks in centimetres shown
// as metres).
class TIntegerEdit : public TNumberEdit<qint32> {
    Q_OBJECT
public:
    static constexpr qint32 StorageMin = -2147483647 - 1;
    static constexpr qint32 StorageMax = 2147483647;

    using TNumberEdit::TNumberEdit;
    void SetValue(qint32 value);

protected:
    qint32 ValueOf(const QString& normalised) const override;
    double Shown(qint32 value) const override;
    bool TakesDecimalChars() const override { return Decimals > 0; }
};

class TFloatEdit : public TNumberEdit<double> {
    Q_OBJECT
public:
    using TNumberEdit::TNumberEdit;
    void SetValue(double value);

protected:
    double ValueOf(const QString& normalised) const override;
    double Shown(double value) const override { return value; }
    bool TakesDecimalChars() const override { return true; }
};

// A set of integers written as ranges, such as 1-3,5; shown merged and sorted once checked.
class TIntegerSet : public TStringEdit {
    Q_OBJECT
public:
    using TStringEdit::TStringEdit;

    const TIntervalList& GetValue();
    void Check() override;
    bool IsValidChar(QChar key) const override;
    void SetValueText(const QString& text) override;

private:
    TIntervalList intervals_;
    std::optional<QString> checkedText_; // none until a text has been read whole
};

// Formats value by a float pattern: sections "positive;negative;zero", "0" a digit always shown, "#" a
// digit shown when significant, "." the decimal separator, "," thousands grouping, quoted literals. The
// separators written are the locale's.
QString FormatFloatPattern(const QString& format, double value, const QLocale& locale = QLocale());
