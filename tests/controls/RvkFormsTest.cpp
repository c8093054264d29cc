#include "foundation/controls/RvkForms.h"

#include "platform/Registry.h"
#include "support/Test.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void ShowActive(QWidget& Window) {
    Window.show();
    Window.activateWindow();
    QElapsedTimer Timer;
    Timer.start();
    while (QApplication::activeWindow() != &Window && Timer.elapsed() < 2000)
        QApplication::processEvents();
}

// Presses Key in the focused control and lets the posted focus move run.
void Press(int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QKeyEvent Event(QEvent::KeyPress, Key, Modifiers);
    if (QWidget* Focused = QApplication::focusWidget())
        QApplication::sendEvent(Focused, &Event);
    Settle();
}

class TEditDialog : public TStdRVKForm {
    Q_OBJECT
public:
    TEditDialog() {
        auto* Layout = new QVBoxLayout(this);
        for (QWidget* Control :
             std::initializer_list<QWidget*>{First, Combo, Spin, Button, Date, Hidden, Disabled, Memo, Last})
            Layout->addWidget(Control);
        Combo->setEditable(true);
        Hidden->hide();
        Disabled->setEnabled(false);
        Button->setDefault(true);
        connect(Button, &QPushButton::clicked, this, [this] { ++Clicks; });
    }
    QLineEdit* First = new QLineEdit(this);
    QComboBox* Combo = new QComboBox(this);
    QSpinBox* Spin = new QSpinBox(this);
    QPushButton* Button = new QPushButton("OK", this);
    QDateTimeEdit* Date = new QDateTimeEdit(this);
    QLineEdit* Hidden = new QLineEdit(this);
    QLineEdit* Disabled = new QLineEdit(this);
    QPlainTextEdit* Memo = new QPlainTextEdit(this);
    QLineEdit* Last = new QLineEdit(this);
    int Clicks{0};
};

class FocusMoves : public ::testing::Test {
protected:
    void SetUp() override {
        ShowActive(Dialog);
        ASSERT_EQ(QApplication::activeWindow(), &Dialog) << "the offscreen window did not become active";
    }
    QWidget* From(QWidget* Control, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        Control->setFocus();
        Settle();
        Press(Key, Modifiers);
        return QApplication::focusWidget();
    }
    TEditDialog Dialog;
};

TEST_F(FocusMoves, DownAndUpVisitEditsInTabOrderAndWrap) {
    EXPECT_EQ(From(Dialog.First, Qt::Key_Down), Dialog.Spin) << "the combo box is not an edit";
    // Neither the button nor the date edit (Enter only), nor hidden or disabled edits, take part.
    EXPECT_EQ(From(Dialog.Spin, Qt::Key_Down), Dialog.Memo);
    EXPECT_EQ(From(Dialog.Memo, Qt::Key_Up), Dialog.Spin);
    EXPECT_EQ(From(Dialog.Last, Qt::Key_Down), Dialog.First);
    EXPECT_EQ(From(Dialog.First, Qt::Key_Up), Dialog.Last);
    EXPECT_EQ(Dialog.Spin->value(), 0) << "the spin box did not step";
    const QDateTime Before = Dialog.Date->dateTime();
    EXPECT_EQ(From(Dialog.Date, Qt::Key_Up), Dialog.Date) << "up in a date edit stays there";
    EXPECT_NE(Dialog.Date->dateTime(), Before) << "the date edit got the key";
}

TEST_F(FocusMoves, EnterMovesOnIncludingDateEditsWithoutPressingTheDefaultButton) {
    EXPECT_EQ(From(Dialog.Spin, Qt::Key_Return), Dialog.Date);
    EXPECT_EQ(From(Dialog.Date, Qt::Key_Enter, Qt::KeypadModifier), Dialog.Memo);
    EXPECT_EQ(From(Dialog.Memo, Qt::Key_Return), Dialog.Last);
    EXPECT_TRUE(Dialog.Memo->toPlainText().isEmpty());
    EXPECT_EQ(From(Dialog.Last, Qt::Key_Return), Dialog.First);
    EXPECT_EQ(Dialog.Clicks, 0);
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(FocusMoves, ModifiersAndSwitchesTurnMovesOffAndCtrlShiftF7IsToldToTheMainWindow) {
    Dialog.Tag = 4;
    QList<std::pair<int, QWidget*>> Told;
    const QMetaObject::Connection Connection = QObject::connect(
        &TMainFormChannel::Instance(), &TMainFormChannel::UserKeyCombination, [&](int Tag, QWidget* Form) {
            Told.append({Tag, Form});
        });
    From(Dialog.First, Qt::Key_F7, Qt::ControlModifier | Qt::ShiftModifier);
    From(Dialog.First, Qt::Key_F7, Qt::ControlModifier);
    QObject::disconnect(Connection);
    EXPECT_EQ(Told, (QList<std::pair<int, QWidget*>>{{4, &Dialog}}));

    EXPECT_EQ(From(Dialog.First, Qt::Key_Down, Qt::ShiftModifier), Dialog.First);
    EXPECT_EQ(From(Dialog.First, Qt::Key_Down, Qt::ControlModifier), Dialog.First);
    Dialog.EnterNavigation = false;
    EXPECT_EQ(From(Dialog.First, Qt::Key_Return), Dialog.First);
    EXPECT_EQ(Dialog.Clicks, 1) << "Enter went on to the default button";
    EXPECT_EQ(From(Dialog.First, Qt::Key_Down), Dialog.Spin);
    Dialog.NavigationEnabled = false;
    EXPECT_EQ(From(Dialog.First, Qt::Key_Down), Dialog.First);
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Dialog.result(), 2);
}

// A dialog of its own class name, with a value of its own.
class TPlacedDialog : public TStdRVKForm {
    Q_OBJECT
public:
    TPlacedDialog() { resize(300, 200); }
    void LoadFormSettings(Platform::TRegistry& Registry, const QString& Prefix) override {
        Loaded = Registry.ReadString(Prefix + "_Extra", "mangler");
    }
    void SaveFormSettings(Platform::TRegistry& Registry, const QString& Prefix) override {
        Registry.WriteString(Prefix + "_Extra", "gemt");
    }
    QString Loaded;
};

class Placement : public ::testing::Test {
protected:
    void SetUp() override { Platform::TRegistry().DeleteKey(TStdFormBehaviour::PlacementKey()); }
    // Left, Top, Width, Height and WindowState as the registry holds them.
    static void Store(const QList<int>& Values) {
        Platform::TRegistry Registry;
        ASSERT_TRUE(Registry.OpenKey(TStdFormBehaviour::PlacementKey(), true));
        for (int i = 0; i < Values.size(); ++i)
            Registry.WriteInteger("TPlacedDialog" + Names[i], Values[i]);
    }
    static QList<int> Stored() {
        Platform::TRegistry Registry;
        Registry.OpenKey(TStdFormBehaviour::PlacementKey(), false);
        QList<int> Values;
        for (const QString& Name : Names)
            Values << Registry.ReadInteger("TPlacedDialog" + Name, -1);
        return Values;
    }
    static inline const QStringList Names = {"_Left", "_Top", "_Width", "_Height", "_WindowState"};
};

TEST_F(Placement, FirstShowUsesTheDefaultsAndHideSavesUnderTheClassName) {
    {
        TPlacedDialog Dialog;
        Dialog.show();
        Settle();
        EXPECT_EQ(Dialog.geometry(), QRect(18, 18, 300, 200));
        EXPECT_EQ(Dialog.Loaded, "mangler");
        EXPECT_FALSE(Dialog.FirstShow);
        Dialog.setGeometry(60, 70, 350, 250);
        Dialog.hide();
    }
    EXPECT_EQ(Stored(), QList<int>({60, 70, 350, 250, 0}));

    TPlacedDialog Again;
    Again.show();
    Settle();
    EXPECT_EQ(Again.geometry(), QRect(60, 70, 350, 250));
    EXPECT_EQ(Again.Loaded, "gemt");
}

TEST_F(Placement, ARectangleOffEveryScreenIsIgnoredAndAFixedSizeDialogRestoresOnlyItsPosition) {
    Store({-5000, -5000, 640, 480, 0});
    TPlacedDialog Dialog;
    Dialog.show();
    Settle();
    EXPECT_GE(Dialog.x(), 0);
    EXPECT_GE(Dialog.y(), 0);
    EXPECT_EQ(Dialog.size(), QSize(300, 200));
    EXPECT_EQ(Dialog.Loaded, "mangler") << "own values are still read";

    Store({40, 30, 500, 400, 2});
    TPlacedDialog Fixed;
    Fixed.setFixedSize(200, 100);
    Fixed.show();
    Settle();
    EXPECT_EQ(Fixed.geometry(), QRect(40, 30, 200, 100));
    EXPECT_FALSE(Fixed.isMaximized());
}

TEST_F(Placement, AMaximisedDialogSavesItsNormalRectangleAndComesBackMaximised) {
    {
        TPlacedDialog Dialog;
        Dialog.show();
        Settle();
        Dialog.setGeometry(50, 60, 320, 240);
        Dialog.showMaximized();
        Settle();
        ASSERT_TRUE(Dialog.isMaximized());
        // Destroyed while visible: saved all the same.
    }
    EXPECT_EQ(Stored(), QList<int>({50, 60, 320, 240, 2}));

    TPlacedDialog Again;
    Again.show();
    Settle();
    EXPECT_TRUE(Again.isMaximized());
    EXPECT_EQ(Again.normalGeometry(), QRect(50, 60, 320, 240));
}

TEST(StdRVKForm, HourglassUntilShownAndANumberedFormIsAnnouncedOnItsFirstShowOnly) {
    QList<int> Tags;
    const QMetaObject::Connection Connection =
        QObject::connect(&TMainFormChannel::Instance(), &TMainFormChannel::NumberedFormShown,
                         [&](int Tag, QWidget*) { Tags << Tag; });
    {
        TStdRVKForm Numbered;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        Numbered.Tag = 3;
        Numbered.show();
        Settle();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        Numbered.hide();
        Numbered.show();
        TStdRVKForm Unnumbered;
        Unnumbered.show();
    }
    { TStdRVKForm NeverShown; }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    QObject::disconnect(Connection);
    EXPECT_EQ(Tags, QList<int>{3});
}

} // namespace

#include "RvkFormsTest.moc"
