#include "foundation/controls/MsgForm.h"

#include "support/Test.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

QList<QPushButton*> VisibleButtonsLeftToRight(const TMessageForm& Form) {
    QList<QPushButton*> Row;
    for (QPushButton* Button : {Form.OKBtn, Form.JaBtn, Form.NejBtn, Form.CancelBtn})
        if (!Button->isHidden())
            Row << Button;
    std::sort(Row.begin(), Row.end(), [](QPushButton* A, QPushButton* B) { return A->x() < B->x(); });
    return Row;
}

TEST(MessageForm, LaysOutTheKindsButtonsOnOneRowBelowTheText) {
    TMessageForm Form;
    Form.Setup(MakeMessageBox(TMessageKind::Confirm, "Gem ændringer?", 1));
    EXPECT_EQ(Form.windowTitle(), "Bekræft");
    EXPECT_TRUE(Form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    const QList<QPushButton*> Row = VisibleButtonsLeftToRight(Form);
    ASSERT_EQ(Row, (QList<QPushButton*>{Form.JaBtn, Form.NejBtn, Form.CancelBtn}));
    QStringList Captions;
    for (QPushButton* Button : Row) {
        Captions << Button->text();
        EXPECT_EQ(Button->y(), Row[0]->y());
        EXPECT_GE(Button->y(), Form.MessageLabel->geometry().bottom());
        EXPECT_LE(Button->geometry().right(), Form.width());
    }
    EXPECT_EQ(Captions, (QStringList{"&Ja", "&Nej", "&Annullér"}));
    EXPECT_EQ(Form.DefaultButton(), Form.NejBtn);
    EXPECT_EQ(Form.minimumSize(), Form.maximumSize()) << "a dialog border does not resize";

    Form.Setup(MakeMessageBox(TMessageKind::Error, "Fejl", 0));
    EXPECT_EQ(VisibleButtonsLeftToRight(Form), QList<QPushButton*>{Form.OKBtn});
    EXPECT_EQ(Form.DefaultButton(), Form.OKBtn);
}

TEST(MessageForm, GrowsWithTheWrappedTextWhichStaysPlain) {
    TMessageForm Short;
    Short.Setup(MakeMessageBox(TMessageKind::Information, "Kort", 0));
    TMessageForm Long;
    QString Text = "Stævnet: <b>Åbent</b>\r\nmen funktionen er ikke korrekt tilendebragt.";
    for (int i = 0; i < 5; ++i)
        Text += " Stævnet vil ikke optræde i stævneoversigten.";
    Long.Setup(MakeMessageBox(TMessageKind::Information, Text, 0));
    EXPECT_GT(Long.MessageLabel->height(), 4 * Short.MessageLabel->height());
    EXPECT_GT(Long.height(), Short.height() + 3 * Short.MessageLabel->height());
    EXPECT_EQ(Long.MessageLabel->textFormat(), Qt::PlainText);
    EXPECT_FALSE(Long.MessageLabel->text().contains(u'\r'));
}

TEST(MessageForm, ButtonsEscapeAndCloseGiveTheirModalResults) {
    TMessageForm Form;
    Form.Setup(MakeMessageBox(TMessageKind::Confirm, "Gem", 0));
    const std::pair<QPushButton*, int> Cases[] = {{Form.JaBtn, 6}, {Form.NejBtn, 7}, {Form.CancelBtn, 2}};
    for (const auto& [Button, Result] : Cases) {
        Form.open();
        Button->click();
        EXPECT_FALSE(Form.isVisible());
        EXPECT_EQ(Form.result(), Result);
    }
    Form.open();
    QKeyEvent Escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&Form, &Escape);
    EXPECT_EQ(Form.result(), 2);
    Form.open();
    Form.close();
    EXPECT_EQ(Form.result(), 2);
}

TEST(MessageForm, FocusesTheDefaultButtonOnShow) {
    TMessageForm Form;
    Form.Setup(MakeMessageBox(TMessageKind::YesNo, "Slet?", 1));
    Form.open();
    Form.activateWindow();
    QElapsedTimer Timer;
    Timer.start();
    while (QApplication::focusWidget() != Form.NejBtn && Timer.elapsed() < 2000)
        QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), Form.NejBtn);
    Form.reject();
}

TEST(MessageForm, IsCentredOnItsOwnerOrTheScreenNeverAboveOrLeftOfZero) {
    TMessageForm Form;
    Form.Setup(MakeMessageBox(TMessageKind::Information, "Info", 0));
    QWidget Owner;
    Owner.setGeometry(300, 200, 500, 300);
    Form.PlaceOver(&Owner);
    EXPECT_EQ(Form.frameGeometry().center().x(), Owner.frameGeometry().center().x());
    EXPECT_NEAR(Form.frameGeometry().center().y(), Owner.frameGeometry().center().y(), 1);

    Owner.setGeometry(0, 0, 100, 40);
    Form.PlaceOver(&Owner);
    EXPECT_EQ(Form.pos(), QPoint(0, 0));
}

TEST(MessageForm, TheOwnerIsTheWindowOfTheNearestWidget) {
    QWidget Window;
    QWidget* Child = new QWidget(&Window);
    QObject Helper(Child);
    QObject Loose;
    EXPECT_EQ(TQtMessagePresenter::OwnerWindow(&Helper), &Window);
    EXPECT_EQ(TQtMessagePresenter::OwnerWindow(&Loose), nullptr);
    EXPECT_EQ(TQtMessagePresenter::OwnerWindow(nullptr), nullptr);
}

} // namespace
