#include "foundation/controls/EditUtil.h"

#include "Gui.h"
#include "foundation/controls/RvkForms.h"
#include "support/DecimalSeparator.h"
#include "support/RecordedMessages.h"
#include "support/Test.h"

#include <QTest>
#include <QVBoxLayout>

namespace {

class TEditForm : public TStdRVKForm {
    Q_OBJECT
public:
    TEditForm() {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* control : std::initializer_list<QWidget*>{Integer, Float, Set, Text})
            layout->addWidget(control);
    }
    void EditLeft(QWidget* control) override { Left << control; }

    TIntegerEdit* Integer = new TIntegerEdit(this);
    TFloatEdit* Float = new TFloatEdit(this);
    TIntegerSet* Set = new TIntegerSet(this);
    TStringEdit* Text = new TStringEdit(this);
    QList<QWidget*> Left;
};

class Edits : public ::testing::Test {
protected:
    // As in the program: the float-to-text routines write ".", the windows are Danish.
    void SetUp() override {
        form.setLocale(QLocale(QLocale::Danish, QLocale::Denmark));
        ShowActive(form);
        ASSERT_EQ(QApplication::activeWindow(), &form);
    }
    // Types text into edit (emptied first) as the keyboard would, then tabs on to the next control; the
    // edit's text after that.
    QString TypeAndLeave(QLineEdit* edit, const QString& text) {
        Type(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
        Settle();
        return edit->text();
    }
    void Type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        Settle();
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    // The message with which the edit refuses the text, or "<no error>".
    template <typename Edit>
    static QString Refusal(Edit* edit, const QString& text) {
        return ErrorText([&] {
            edit->setText(text);
            edit->GetValue();
        });
    }

    TDecimalSeparatorScope point{u'.'};
    TRecordedMessages messages;
    TEditForm form;
};

TEST_F(Edits, AnIntegerWithDecimalsIsShownInItsNormalFormAndReadInHundredths) {
    form.Integer->Decimals = 2;
    EXPECT_EQ(TypeAndLeave(form.Integer, "1,5"), "1,50");
    EXPECT_EQ(form.Integer->GetValue(), 150);
    EXPECT_EQ(TypeAndLeave(form.Integer, "12.3"), "12,30") << "either decimal character is taken";
    EXPECT_EQ(form.Integer->GetValue(), 1230);
    form.Integer->clear();
    EXPECT_EQ(form.Integer->GetValue(), 0) << "an empty text counts as 0";
    form.Integer->SetValue(-5);
    EXPECT_EQ(form.Integer->text(), "-0,05");
    EXPECT_EQ(messages.Shown(), QStringList());
}

// The separators are the edit's locale's whatever the float-to-text routines write; either decimal
// character is read.
TEST_F(Edits, NumbersAreShownWithTheLocalesSeparatorsWhateverTheFloatToTextSetting) {
    form.Integer->Decimals = 2;
    form.Integer->MinValue = 100;
    form.Integer->MaxValue = 100000;
    form.Float->Decimals = 2;
    for (const QChar floatToText : {u'.', u','}) {
        const TDecimalSeparatorScope setting(floatToText);
        SCOPED_TRACE(std::string("float-to-text ") + char(floatToText.unicode()));
        form.setLocale(QLocale(QLocale::Danish, QLocale::Denmark));
        EXPECT_EQ(TypeAndLeave(form.Integer, "1.5"), "1,50");
        EXPECT_EQ(TypeAndLeave(form.Integer, "2,5"), "2,50");
        EXPECT_EQ(form.Integer->GetValue(), 250);
        form.Integer->SetValue(123456);
        EXPECT_EQ(form.Integer->text(), "1234,56");
        form.Float->SetValue(2.5);
        EXPECT_EQ(form.Float->text(), "2,50");
        EXPECT_EQ(Refusal(form.Integer, "0,5"),
                  "0,50 er ikke indenfor tilladte interval : [1,00 - 1.000,00]");

        form.setLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        EXPECT_EQ(TypeAndLeave(form.Integer, "1,5"), "1.50");
        form.Float->SetValue(2.5);
        EXPECT_EQ(form.Float->text(), "2.50");
        EXPECT_EQ(Refusal(form.Integer, "0.5"),
                  "0.50 er ikke indenfor tilladte interval : [1.00 - 1,000.00]");
    }
    EXPECT_EQ(messages.Shown(), QStringList());
}

TEST_F(Edits, ARefusedEditKeepsTheFocusTellsTheUserAndIsNotReportedLeft) {
    form.Integer->Decimals = 2;
    TypeAndLeave(form.Integer, "1,555");
    EXPECT_EQ(QApplication::focusWidget(), form.Integer) << "the focus comes back";
    EXPECT_EQ(messages.Shown(), QStringList{"Der må højst indtastes 2 decimaler"});
    EXPECT_EQ(form.Integer->text(), "1,555");
    EXPECT_TRUE(form.Left.isEmpty()) << "the form hears only of a valid edit left";

    // Two bad edits do not hand the focus to and fro.
    form.Integer->Decimals = 0;
    form.Integer->MaxValue = 10;
    form.Float->MaxValue = 10;
    form.Float->setText("99");
    TypeAndLeave(form.Integer, "50");
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), form.Integer);
    EXPECT_EQ(messages.Shown(), QStringList{"50 er større end tilladte max. værdi : 10"});

    form.Integer->MaxValue = 0;
    TypeAndLeave(form.Integer, "12");
    EXPECT_EQ(form.Left, QList<QWidget*>{form.Integer});
    EXPECT_EQ(QApplication::focusWidget(), form.Float);
}

TEST_F(Edits, LimitsAndDecimalsHaveTheirMessagesAndNumbersBeyondThirtyTwoBitsNeverWrap) {
    const struct {
        int Decimals, Min, Max;
        const char* Text;
        QString Error;
    } cases[] = {
        {0, 1, 0, "0", "0 er mindre end tilladte mindste værdi : 1"},
        {0, 1, 0, "99999", "<no error>"}, // a limit of zero is none
        {0, 0, 0, "-2147483648", "<no error>"},
        {0, -5, 5, "6", "6 er ikke indenfor tilladte interval : [-5 - 5]"},
        {2, 0, 1000, "10,01", "10,01 er større end tilladte max. værdi : 10,00"},
        {0, 0, 0, "2147483648", "2147483648 er ikke indenfor tilladte interval : [-2147483648 - 2147483647]"},
        {0, 0, 0, "-99999999999999999999",
         "-99999999999999999999 er ikke indenfor tilladte interval : [-2147483648 - 2147483647]"},
        {2, 0, 0, "30000000",
         "30.000.000,00 er ikke indenfor tilladte interval : [-21.474.836,48 - 21.474.836,47]"},
        {0, 0, 0, "1-2", "\"1-2\" er ikke et gyldigt heltal"},
    };
    for (const auto& test : cases) {
        form.Integer->Decimals = test.Decimals;
        form.Integer->MinValue = test.Min;
        form.Integer->MaxValue = test.Max;
        EXPECT_EQ(Refusal(form.Integer, test.Text), test.Error) << test.Text;
    }
    form.Float->Decimals = 1;
    EXPECT_EQ(Refusal(form.Float, "0,25"), "Der må højst indtastes 1 decimal");
    form.Float->Decimals = 2;
    form.Float->MinValue = 0.5;
    form.Float->MaxValue = 1500;
    EXPECT_EQ(Refusal(form.Float, "2000"), "2.000,00 er ikke indenfor tilladte interval : [0,50 - 1.500,00]");
}

TEST_F(Edits, TheKeyboardOnlyLetsThroughWhatTheEditCanRead) {
    const auto typed = [&](QLineEdit* edit, const QString& keys) {
        Type(edit, keys);
        return edit->text();
    };
    form.Float->MinValue = 0;
    form.Float->MaxValue = 10;
    EXPECT_EQ(typed(form.Float, "-5,5x"), "5,5") << "no minus with a limit that forbids negatives";
    form.Float->MaxValue = 0;
    EXPECT_EQ(typed(form.Float, "-5.5"), "-5.5") << "without any limit";
    EXPECT_EQ(typed(form.Integer, "-1,5"), "-15") << "no decimal characters without decimals";
    form.Integer->OKCharSet = "0123";
    EXPECT_EQ(typed(form.Integer, "12345"), "123") << "the character set comes first";
    EXPECT_EQ(typed(form.Set, "1-3,5;a 7"), "1-3,57");
    EXPECT_EQ(typed(form.Text, "Å b!"), "Å b!");

    // Shortcuts and editing keys still work in a filtered edit.
    form.Integer->OKCharSet.clear();
    Type(form.Integer, "123");
    QTest::keyClick(form.Integer, Qt::Key_Backspace);
    QTest::keyClick(form.Integer, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form.Integer, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(form.Integer->text(), "");
}

TEST_F(Edits, AnIntegerSetIsShownMergedAndSortedAndRefusesInvertedOrHugeRanges) {
    EXPECT_EQ(TypeAndLeave(form.Set, "3,1-2"), "1-3");
    EXPECT_EQ(form.Set->GetValue().AsText(), "1-3");

    TypeAndLeave(form.Set, "5,3-1");
    EXPECT_EQ(QApplication::focusWidget(), form.Set);
    EXPECT_EQ(messages.Shown(), QStringList{"Ugyldigt talinterval i \"5,3-1\" i position 4"});
    EXPECT_EQ(ErrorText([&] { form.Set->SetValueText("1-99999999999"); }),
              "Ugyldigt talinterval i \"1-99999999999\" i position 12");

    // The whole 32-bit range is one interval, never a walk over its members.
    form.Set->SetValueText("0-2147483647,5");
    EXPECT_EQ(form.Set->text(), "0-2147483647");
    // Going back to a text that failed reads it again rather than keeping a half-read list.
    form.Set->setText("1-2,x");
    EXPECT_THROW(form.Set->GetValue(), Exception);
    form.Set->clear();
    EXPECT_EQ(form.Set->GetValue().Count(), 0) << "an emptied edit empties the set";
}

TEST_F(Edits, AnAlignedEditShowsItsFormattedValueOnlyWhileItHasNoFocus) {
    form.Integer->Decimals = 2;
    form.Integer->DisplayFormat = "0.00 m";
    form.Integer->SetValue(150);
    EXPECT_EQ(form.Integer->GetDisplayText(), "1,50 m");
    form.Integer->setText("abc");
    EXPECT_EQ(form.Integer->GetDisplayText(), "abc") << "a bad text is shown as it stands";
    form.Integer->SetValue(0);

    // Drawn right-aligned while unfocused, as typed while focused.
    form.Float->SetEditAlignment(TAlignment::taRightJustify);
    form.Float->DisplayFormat = "0.00";
    form.Float->SetValue(7);
    form.Text->setFocus();
    Settle();
    const auto inkStart = [&] {
        const QImage image = form.Float->grab().toImage();
        return InkColumns(image, image.rect().adjusted(3, 3, -3, -3)).first;
    };
    EXPECT_GT(inkStart(), form.Float->width() / 2) << "the text sits at the right";
    form.Float->setFocus();
    Settle();
    ASSERT_EQ(QApplication::focusWidget(), form.Float);
    const int focused = inkStart();
    EXPECT_TRUE(focused >= 0 && focused < form.Float->width() / 2) << focused;
}

TEST(FormatFloatPattern, DigitsGroupsSectionsAndLiterals) {
    const QLocale danish(QLocale::Danish, QLocale::Denmark);
    const std::tuple<const char*, double, const char*> cases[] = {
        {"#,##0.00", 1234567.891, "1.234.567,89"},
        {"000", 7, "007"},
        {"0.##", 2.5, "2,5"},
        {"0.##", 2, "2"},
        {"\"kr. \"0.00", -3, "-kr. 3,00"},
        {"0;'minus '0", -3, "minus 3"},
        {"0.0", -0.04, "0,0"}, // no sign on what rounds to zero
    };
    for (const auto& [pattern, value, text] : cases)
        EXPECT_EQ(FormatFloatPattern(pattern, value, danish), text) << pattern;
}

} // namespace

#include "EditUtilTest.moc"
