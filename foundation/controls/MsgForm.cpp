#include "foundation/controls/MsgForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int IconLeft = 8;
constexpr int IconTop = 8;
constexpr int IconSize = 33;
constexpr int LabelLeft = 50;
constexpr int LabelTop = 10;
constexpr int LabelWidth = 263;
constexpr int RightMargin = 8;
constexpr int ButtonWidth = 73;
constexpr int ButtonHeight = 22;
constexpr int ButtonGap = 8;
constexpr int RowGap = 12;
constexpr int BottomMargin = 10;
constexpr int ClientWidth = LabelLeft + LabelWidth + RightMargin;

QStyle::StandardPixmap IconOf(TMessageKind Kind) {
    switch (Kind) {
    case TMessageKind::Information:
        return QStyle::SP_MessageBoxInformation;
    case TMessageKind::Error:
        return QStyle::SP_MessageBoxCritical;
    case TMessageKind::Confirm:
    case TMessageKind::YesNo:
        break;
    }
    return QStyle::SP_MessageBoxQuestion;
}

} // namespace

TMessageForm::TMessageForm(QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
    , MessageLabel(new QLabel(this))
    , PaintBox(new QLabel(this))
    , OKBtn(MakeButton(ButtonCaption(mrOk), mrOk))
    , JaBtn(MakeButton(ButtonCaption(mrYes), mrYes))
    , NejBtn(MakeButton(ButtonCaption(mrNo), mrNo))
    , CancelBtn(MakeButton(ButtonCaption(mrCancel), mrCancel)) {
    setObjectName(QStringLiteral("MessageForm"));
    MessageLabel->setObjectName(QStringLiteral("MessageLabel"));
    MessageLabel->setTextFormat(Qt::PlainText);
    MessageLabel->setWordWrap(true);
    MessageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PaintBox->setObjectName(QStringLiteral("PaintBox"));
    PaintBox->setGeometry(IconLeft, IconTop, IconSize, IconSize);
    PaintBox->setAlignment(Qt::AlignCenter);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    JaBtn->setObjectName(QStringLiteral("JaBtn"));
    NejBtn->setObjectName(QStringLiteral("NejBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
}

QPushButton* TMessageForm::MakeButton(const QString& Caption, int ModalResult) {
    auto* Button = new QPushButton(Caption, this);
    Button->setAutoDefault(false);
    Button->resize(ButtonWidth, ButtonHeight);
    Button->hide();
    connect(Button, &QPushButton::clicked, this, [this, ModalResult] { done(ModalResult); });
    return Button;
}

void TMessageForm::Setup(const TMessageBox& Box) {
    setWindowTitle(Box.Caption);
    PaintBox->setPixmap(style()->standardIcon(IconOf(Box.Kind)).pixmap(32, 32));

    QString Text = Box.Text;
    Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    MessageLabel->setText(Text);
    const int LabelHeight = std::max(MessageLabel->heightForWidth(LabelWidth), fontMetrics().height());
    MessageLabel->setGeometry(LabelLeft, LabelTop, LabelWidth, LabelHeight);

    QList<QPushButton*> Row;
    for (int Result : Box.Buttons)
        Row << (Result == mrOk ? OKBtn : Result == mrYes ? JaBtn : Result == mrNo ? NejBtn : CancelBtn);
    const int RowTop = std::max(LabelTop + LabelHeight, IconTop + IconSize) + RowGap;
    const int RowWidth = int(Row.size()) * ButtonWidth + (int(Row.size()) - 1) * ButtonGap;
    int X = (ClientWidth - RowWidth) / 2;
    for (QPushButton* Button : {OKBtn, JaBtn, NejBtn, CancelBtn}) {
        Button->setVisible(Row.contains(Button));
        Button->setDefault(false);
    }
    for (QPushButton* Button : Row) {
        Button->setGeometry(X, RowTop, ButtonWidth, ButtonHeight);
        X += ButtonWidth + ButtonGap;
    }
    if (!Row.isEmpty())
        Row.at(std::clamp(Box.DefaultButton, 0, int(Row.size()) - 1))->setDefault(true);
    setFixedSize(ClientWidth, RowTop + ButtonHeight + BottomMargin);
}

QPushButton* TMessageForm::DefaultButton() const {
    for (QPushButton* Button : {OKBtn, CancelBtn, JaBtn, NejBtn})
        if (Button->isDefault())
            return Button;
    return nullptr;
}

void TMessageForm::PlaceOver(const QWidget* Owner) {
    QRect Area;
    if (Owner)
        Area = Owner->window()->frameGeometry();
    else if (const QScreen* Screen = QGuiApplication::primaryScreen())
        Area = Screen->geometry();
    const QPoint Corner(Area.left() + (Area.width() - width()) / 2,
                        Area.top() + (Area.height() - height()) / 2);
    move(std::max(0, Corner.x()), std::max(0, Corner.y()));
}

void TMessageForm::reject() {
    done(mrCancel);
}

void TMessageForm::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (QPushButton* Button = DefaultButton())
        Button->setFocus(Qt::OtherFocusReason);
}

QWidget* TQtMessagePresenter::OwnerWindow(QObject* Owner) {
    for (QObject* Object = Owner; Object; Object = Object->parent())
        if (Object->isWidgetType())
            return static_cast<QWidget*>(Object)->window();
    return nullptr;
}

int TQtMessagePresenter::Present(QObject* Owner, const TMessageBox& Box) {
    QWidget* Window = OwnerWindow(Owner);
    TMessageForm Form(Window);
    Form.Setup(Box);
    Form.PlaceOver(Window);
    return Form.exec();
}
