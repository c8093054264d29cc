#include "foundation/controls/MsgForm.h"

#include "foundation/controls/FormSize.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
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
// Room kept on the screen for the window's title bar and frame.
constexpr int FrameAllowance = 40;

QStyle::StandardPixmap IconOf(TMessageKind kind) {
    switch (kind) {
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

TMessageForm::TMessageForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
    , MessageLabel(new QLabel(this))
    , MessageScroll(new QScrollArea(this))
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
    MessageScroll->setObjectName(QStringLiteral("MessageScroll"));
    MessageScroll->setFrameShape(QFrame::NoFrame);
    MessageScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MessageScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MessageScroll->hide();
    PaintBox->setObjectName(QStringLiteral("PaintBox"));
    PaintBox->setGeometry(IconLeft, IconTop, IconSize, IconSize);
    PaintBox->setAlignment(Qt::AlignCenter);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    JaBtn->setObjectName(QStringLiteral("JaBtn"));
    NejBtn->setObjectName(QStringLiteral("NejBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
}

QPushButton* TMessageForm::MakeButton(const QString& caption, int modalResult) {
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false);
    button->resize(ButtonWidth, ButtonHeight);
    button->hide();
    connect(button, &QPushButton::clicked, this, [this, modalResult] { done(modalResult); });
    return button;
}

void TMessageForm::Setup(const TMessageBox& box) {
    setWindowTitle(box.Caption);
    PaintBox->setPixmap(style()->standardIcon(IconOf(box.Kind)).pixmap(32, 32));

    QString text = box.Text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    MessageLabel->setText(text);
    const int labelHeight = std::max(MessageLabel->heightForWidth(LabelWidth), fontMetrics().height());
    const int room =
        AvailableArea(*this).height() - FrameAllowance - LabelTop - RowGap - ButtonHeight - BottomMargin;
    const bool scrolls = labelHeight > room && room > 0;
    int textHeight = labelHeight;
    int clientWidth = ClientWidth;
    if (scrolls) {
        const int bar = MessageScroll->verticalScrollBar()->sizeHint().width();
        textHeight = room;
        clientWidth += bar;
        if (MessageScroll->widget() != MessageLabel)
            MessageScroll->setWidget(MessageLabel);
        MessageLabel->resize(LabelWidth, labelHeight);
        MessageScroll->setGeometry(LabelLeft, LabelTop, LabelWidth + bar, textHeight);
    } else {
        if (MessageScroll->widget() == MessageLabel) {
            MessageScroll->takeWidget();
            MessageLabel->setParent(this);
        }
        MessageLabel->setGeometry(LabelLeft, LabelTop, LabelWidth, labelHeight);
    }
    MessageScroll->setVisible(scrolls);
    MessageLabel->show();

    QList<QPushButton*> row;
    for (int result : box.Buttons)
        row << (result == mrOk ? OKBtn : result == mrYes ? JaBtn : result == mrNo ? NejBtn : CancelBtn);
    const int rowTop = std::max(LabelTop + textHeight, IconTop + IconSize) + RowGap;
    const int rowWidth = int(row.size()) * ButtonWidth + (int(row.size()) - 1) * ButtonGap;
    int x = (clientWidth - rowWidth) / 2;
    for (QPushButton* button : {OKBtn, JaBtn, NejBtn, CancelBtn}) {
        button->setVisible(row.contains(button));
        button->setDefault(false);
    }
    for (QPushButton* button : row) {
        button->setGeometry(x, rowTop, ButtonWidth, ButtonHeight);
        x += ButtonWidth + ButtonGap;
    }
    if (!row.isEmpty())
        row.at(std::clamp(box.DefaultButton, 0, int(row.size()) - 1))->setDefault(true);
    setFixedSize(clientWidth, rowTop + ButtonHeight + BottomMargin);
}

QPushButton* TMessageForm::DefaultButton() const {
    for (QPushButton* button : {OKBtn, CancelBtn, JaBtn, NejBtn})
        if (button->isDefault())
            return button;
    return nullptr;
}

void TMessageForm::PlaceOver(const QWidget* owner) {
    QRect area;
    if (owner)
        area = owner->window()->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->geometry();
    const QPoint corner(area.left() + (area.width() - width()) / 2,
                        area.top() + (area.height() - height()) / 2);
    move(std::max(0, corner.x()), std::max(0, corner.y()));
    FitOnScreen(*this);
}

void TMessageForm::reject() {
    done(mrCancel);
}

void TMessageForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QPushButton* button = DefaultButton())
        button->setFocus(Qt::OtherFocusReason);
}

QWidget* TQtMessagePresenter::OwnerWindow(QObject* owner) {
    for (QObject* object = owner; object; object = object->parent())
        if (object->isWidgetType())
            return static_cast<QWidget*>(object)->window();
    return nullptr;
}

int TQtMessagePresenter::Present(QObject* owner, const TMessageBox& box) {
    QWidget* window = OwnerWindow(owner);
    TMessageForm form(window);
    form.Setup(box);
    form.PlaceOver(window);
    return form.exec();
}

void ShowErrorLater(QObject* owner, const QString& text) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [guard = QPointer<QObject>(owner), text] { ShowError(guard.data(), text); }, Qt::QueuedConnection);
}
