#include "foundation/controls/RvkForms.h"

#include "Gui.h"
#include "foundation/controls/FormSize.h"
#include "platform/Registry.h"
#include "support/Test.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

class TEditDialog : public TStdRVKForm {
    Q_OBJECT
public:
    TEditDialog() {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* control :
             std::initializer_list<QWidget*>{First, Combo, Spin, Button, Date, Hidden, Disabled, Memo, Last})
            layout->addWidget(control);
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
        ShowActive(dialog);
        ASSERT_EQ(QApplication::activeWindow(), &dialog) << "the offscreen window did not become active";
    }
    QWidget* From(QWidget* control, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        control->setFocus();
        Settle();
        Press(key, modifiers);
        return QApplication::focusWidget();
    }
    TEditDialog dialog;
};

TEST_F(FocusMoves, ArrowsAndEnterVisitEditsInTabOrderUnlessModifiersOrSwitchesTurnThemOff) {
    EXPECT_EQ(From(dialog.First, Qt::Key_Down), dialog.Spin) << "the combo box is not an edit";
    // Neither the button nor the date edit (Enter only), nor hidden or disabled edits, take part.
    EXPECT_EQ(From(dialog.Spin, Qt::Key_Down), dialog.Memo);
    EXPECT_EQ(From(dialog.Memo, Qt::Key_Up), dialog.Spin);
    EXPECT_EQ(From(dialog.Last, Qt::Key_Down), dialog.First);
    EXPECT_EQ(dialog.Spin->value(), 0) << "the spin box did not step";
    const QDateTime before = dialog.Date->dateTime();
    EXPECT_EQ(From(dialog.Date, Qt::Key_Up), dialog.Date) << "up in a date edit stays there";
    EXPECT_NE(dialog.Date->dateTime(), before) << "the date edit got the key";

    // Enter moves on, date edits included, without pressing the default button.
    EXPECT_EQ(From(dialog.Spin, Qt::Key_Return), dialog.Date);
    EXPECT_EQ(From(dialog.Date, Qt::Key_Enter, Qt::KeypadModifier), dialog.Memo);
    EXPECT_EQ(From(dialog.Memo, Qt::Key_Return), dialog.Last);
    EXPECT_TRUE(dialog.Memo->toPlainText().isEmpty());
    EXPECT_EQ(dialog.Clicks, 0);

    // Ctrl+Shift+F7 is told to the main window; modifiers and switches turn the moves off.
    dialog.Tag = 4;
    QList<std::pair<int, QWidget*>> told;
    const QMetaObject::Connection connection = QObject::connect(
        &TMainFormChannel::Instance(), &TMainFormChannel::UserKeyCombination, [&](int tag, QWidget* form) {
            told.append({tag, form});
        });
    From(dialog.First, Qt::Key_F7, Qt::ControlModifier | Qt::ShiftModifier);
    From(dialog.First, Qt::Key_F7, Qt::ControlModifier);
    QObject::disconnect(connection);
    EXPECT_EQ(told, (QList<std::pair<int, QWidget*>>{{4, &dialog}}));

    EXPECT_EQ(From(dialog.First, Qt::Key_Down, Qt::ShiftModifier), dialog.First);
    EXPECT_EQ(From(dialog.First, Qt::Key_Down, Qt::ControlModifier), dialog.First);
    dialog.EnterNavigation = false;
    EXPECT_EQ(From(dialog.First, Qt::Key_Return), dialog.First);
    EXPECT_EQ(dialog.Clicks, 1) << "Enter went on to the default button";
    EXPECT_EQ(From(dialog.First, Qt::Key_Down), dialog.Spin);
    dialog.NavigationEnabled = false;
    EXPECT_EQ(From(dialog.First, Qt::Key_Down), dialog.First);
    Press(Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 2);
}

// A dialog of its own class name, with a value of its own.
class TPlacedDialog : public TStdRVKForm {
    Q_OBJECT
public:
    TPlacedDialog() { resize(300, 200); }
    void LoadFormSettings(Platform::TRegistry& registry, const QString& prefix) override {
        Loaded = registry.ReadString(prefix + "_Extra", "mangler");
    }
    void SaveFormSettings(Platform::TRegistry& registry, const QString& prefix) override {
        registry.WriteString(prefix + "_Extra", "gemt");
    }
    QString Loaded;
};

class Placement : public ::testing::Test {
protected:
    void SetUp() override { Platform::TRegistry().DeleteKey(TStdFormBehaviour::PlacementKey()); }
    // Left, Top, Width, Height and WindowState as the registry holds them.
    static void Store(const QList<int>& values) {
        Platform::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TStdFormBehaviour::PlacementKey(), true));
        for (int i = 0; i < values.size(); ++i)
            registry.WriteInteger("TPlacedDialog" + names[i], values[i]);
    }
    static QList<int> Stored() {
        Platform::TRegistry registry;
        registry.OpenKey(TStdFormBehaviour::PlacementKey(), false);
        QList<int> values;
        for (const QString& name : names)
            values << registry.ReadInteger("TPlacedDialog" + name, -1);
        return values;
    }
    static inline const QStringList names = {"_Left", "_Top", "_Width", "_Height", "_WindowState"};
};

TEST_F(Placement, HideSavesTheNormalRectangleUnderTheClassNameAndTheNextShowRestoresWhatIsOnScreen) {
    {
        TPlacedDialog dialog;
        dialog.show();
        Settle();
        EXPECT_EQ(dialog.geometry(), QRect(18, 18, 300, 200));
        EXPECT_EQ(dialog.Loaded, "mangler");
        dialog.setGeometry(60, 70, 350, 250);
        dialog.hide();
    }
    EXPECT_EQ(Stored(), QList<int>({60, 70, 350, 250, 0}));
    {
        TPlacedDialog again;
        again.show();
        Settle();
        EXPECT_EQ(again.geometry(), QRect(60, 70, 350, 250));
        EXPECT_EQ(again.Loaded, "gemt");
        again.showMaximized();
        Settle();
        ASSERT_TRUE(again.isMaximized());
        // Destroyed while visible: saved all the same.
    }
    EXPECT_EQ(Stored(), QList<int>({60, 70, 350, 250, 2}));
    TPlacedDialog maximised;
    maximised.show();
    Settle();
    EXPECT_TRUE(maximised.isMaximized());
    EXPECT_EQ(maximised.normalGeometry(), QRect(60, 70, 350, 250));

    // A rectangle off every screen is ignored; a fixed-size dialog restores only its position.
    Store({-5000, -5000, 640, 480, 0});
    TPlacedDialog dialog;
    dialog.show();
    Settle();
    EXPECT_GE(std::min(dialog.x(), dialog.y()), 0);
    EXPECT_EQ(dialog.size(), QSize(300, 200));

    Store({40, 30, 500, 400, 2});
    TPlacedDialog fixed;
    fixed.setFixedSize(200, 100);
    fixed.show();
    Settle();
    EXPECT_EQ(fixed.geometry(), QRect(40, 30, 200, 100));
    EXPECT_FALSE(fixed.isMaximized());
}

TEST_F(Placement, AWindowOpensNoBiggerThanItsScreenAndWhollyOnItAndKeepsASizeTheUserGave) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        TPlacedDialog big; // sized for a bigger screen
        big.resize(screen.width() + 400, screen.height() + 300);
        big.show();
        Settle();
        EXPECT_TRUE(screen.contains(big.frameGeometry()));
    }
    Store({100, 50, 420, 330, 0});
    {
        TPlacedDialog kept;
        kept.show();
        Settle();
        EXPECT_EQ(kept.geometry(), QRect(100, 50, 420, 330)) << "the user's size and place";
    }
    Store({screen.width() - 100, 40, 2 * screen.width(), 2 * screen.height(), 0});
    TPlacedDialog moved; // kept from a bigger screen
    moved.show();
    Settle();
    EXPECT_TRUE(screen.contains(moved.frameGeometry()));
}

TEST_F(Placement, APageThatScrollsGetsItsWholeSizeWhereTheScreenHasRoomAndScrollsWhereNot) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const auto open = [](TStdRVKForm& dialog, int height) {
        auto* page = new QWidget;
        page->setObjectName("Side");
        page->setMinimumSize(300, height);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(new TScrollPage(page, &dialog));
        dialog.show();
        Settle();
        return page;
    };
    TStdRVKForm fits;
    open(fits, screen.height() * 5 / 6);
    EXPECT_GE(fits.height(), screen.height() * 5 / 6) << "not two thirds of the screen";
    EXPECT_TRUE(screen.contains(fits.frameGeometry()));
    TStdRVKForm tall;
    QWidget* page = open(tall, screen.height() * 2);
    EXPECT_TRUE(screen.contains(tall.frameGeometry()));
    EXPECT_GT(page->height(), tall.height()) << "scrolled";
    EXPECT_EQ(tall.findChild<TScrollPage*>()->objectName(), "SideScroll");
}

TEST(StdRVKForm, HourglassUntilShownAndANumberedFormIsAnnouncedOnItsFirstShowOnly) {
    QList<int> tags;
    const QMetaObject::Connection connection =
        QObject::connect(&TMainFormChannel::Instance(), &TMainFormChannel::NumberedFormShown,
                         [&](int tag, QWidget*) { tags << tag; });
    {
        TStdRVKForm numbered;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        numbered.Tag = 3;
        numbered.show();
        Settle();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        numbered.hide();
        numbered.show();
        TStdRVKForm unnumbered;
        unnumbered.show();
    }
    { TStdRVKForm neverShown; }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    QObject::disconnect(connection);
    EXPECT_EQ(tags, QList<int>{3});
}

} // namespace

#include "RvkFormsTest.moc"
