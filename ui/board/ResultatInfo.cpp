#include "ui/board/ResultatInfo.h"

#include "foundation/Messages.h"
#include "foundation/controls/MsgForm.h"
#include "ui/DialogRunner.h"
#include "ui/WidgetKit.h"
#include "ui/board/ResultatInfoPages.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString FontName = QStringLiteral("Verdana");
constexpr int FirstVentTid = 5;
constexpr int LastVentTid = 59;
constexpr int DefaultVentTid = 8;
constexpr int MsPerSecond = 1000;
// The exit gesture's corner.
constexpr int CornerSize = 20;
constexpr int LeftMargin = BoardLeftMargin;
constexpr int RightMargin = BoardRightMargin;
constexpr int MotionCountsLeft = 5;
const QColor Aqua(0, 255, 255);
const QColor Silver(192, 192, 192);
const QColor White(255, 255, 255);

QFont BoardFont(int size) {
    QFont font(FontName);
    font.setPixelSize(std::max(size, 1));
    return font;
}

// Draws the texts of a screen on the painter; the board's size and the layout fitted to it.
class TBoardPainter {
public:
    TBoardPainter(QPainter& painter, QSize size, const TBoardLayout& layout)
        : painter_(painter)
        , size_(size)
        , layout_(layout) {}

    void Title(const TBoardScreen& screen) {
        Use(layout_.FontSize, Aqua);
        for (int line = 0; line < screen.TitleLines.size(); ++line)
            Left(LeftMargin, Y(line + 1), screen.TitleLines[line]);
        Left(LeftMargin, Y(TBoardPages::LinesPerScreen - 1), screen.Footer);
    }

    void Round(const TBoardScreen& screen) {
        Use(layout_.FontSize, Aqua);
        const TBoardHeadLine head = FitHeadLine(screen, size_.width(), QFontMetrics(painter_.font()));
        Left(LeftMargin, 0, head.KlasseText);
        Left(head.CountsLeft, 0, head.Counts);
        Right(size_.width() - RightMargin, 0, screen.OvelseText);
        if (!screen.MotionCounts.isEmpty())
            Left(MotionCountsLeft, Y(TBoardPages::LinesPerScreen - 1), screen.MotionCounts);

        Use(layout_.HeadingSize, Silver);
        const int headings = layout_.RowHeight * 3 / 2;
        Right(layout_.NrRight, headings, QStringLiteral("Nr"));
        Right(layout_.StartnrRight, headings, QStringLiteral("Startnr"));
        Right(layout_.ResultatRight, headings, QStringLiteral("Resultat"));
        Left(layout_.NavnLeft, headings, QStringLiteral("Navn"));

        int line = TBoardPages::FirstRowLine;
        for (const TBoardRow& row : screen.Rows) {
            const int y = Y(line++);
            Use(layout_.SmallSize, White);
            Right(layout_.NrRight, y + layout_.SmallDrop, row.Plac);
            Right(layout_.StartnrRight, y + layout_.SmallDrop, row.Startnr);
            Use(layout_.FontSize, White);
            Right(layout_.ResultatRight, y, row.Resultat);
            Left(layout_.NavnLeft, y, row.Navn);
        }
    }

    // The picture as large as the board holds it, its proportions kept, in the middle.
    void Picture(const QImage& picture) {
        const QSize fitted = picture.size().scaled(size_, Qt::KeepAspectRatio);
        const QRect target(
            QPoint((size_.width() - fitted.width()) / 2, (size_.height() - fitted.height()) / 2), fitted);
        painter_.setRenderHint(QPainter::SmoothPixmapTransform);
        painter_.drawImage(target, picture);
    }

private:
    int Y(int line) const { return line * layout_.RowHeight; }
    void Use(int size, const QColor& color) {
        painter_.setFont(BoardFont(size));
        painter_.setPen(color);
    }
    // Texts stand with their top at y; a text goes out to the right edge and no further.
    void Left(int x, int y, const QString& text) {
        painter_.drawText(QRect(x, y, std::max(size_.width() - x, 0), layout_.RowHeight * 2),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    void Right(int right, int y, const QString& text) {
        painter_.drawText(QRect(0, y, right, layout_.RowHeight * 2),
                          Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, text);
    }

    QPainter& painter_;
    QSize size_;
    const TBoardLayout& layout_;
};

} // namespace

TResultatInfoForm::TResultatInfoForm(int board, QWidget* owner)
    : QDialog(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , ToolPanel(MakePanel(this, QStringLiteral("ToolPanel")))
    , VentTid(Named(new QSpinBox(ToolPanel), QStringLiteral("VentTid")))
    , Button2(MakeButton(ToolPanel, QStringLiteral("Button2"), QStringLiteral("Start")))
    , Button1(MakeButton(ToolPanel, QStringLiteral("Button1"), QStringLiteral("Afslut")))
    , Timer1(Named(new QTimer(this), QStringLiteral("Timer1")))
    , pages_(std::make_unique<TBoardPages>(board))
    , layout_(std::make_unique<TBoardLayout>()) {
    setObjectName(QStringLiteral("ResultatInfoForm"));
    setWindowTitle(QStringLiteral("Board #") + QString::number(board));
    BuildToolPanel();
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TResultatInfoForm::Read);
    // The whole primary screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    pages_->SetScreenSize(size());
    FitLayout();
}

TResultatInfoForm::~TResultatInfoForm() = default;

void TResultatInfoForm::BuildToolPanel() {
    VentTid->setRange(FirstVentTid, LastVentTid);
    VentTid->setValue(DefaultVentTid);
    VentTid->setSuffix(QStringLiteral(" sek."));
    for (QPushButton* button : {Button1, Button2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto* row = new QHBoxLayout(ToolPanel);
    row->addWidget(MakeLabel(ToolPanel, QStringLiteral("VentTidLabel"), QStringLiteral("Ventetid")));
    row->addWidget(VentTid);
    row->addWidget(Button2);
    row->addWidget(Button1);
    row->addStretch();
    ToolPanel->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addStretch();
    column->addWidget(ToolPanel);
    connect(Button2, &QPushButton::clicked, this, &TResultatInfoForm::Start);
    connect(Button1, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

// ---------------------------------------------------------------- running

void TResultatInfoForm::Start() {
    ToolPanel->hide();
    Timer1->setInterval(VentTid->value() * MsPerSecond);
    running_ = true;
    setCursor(Qt::BlankCursor);
    Step(false);
}

void TResultatInfoForm::Stop() {
    running_ = false;
    Timer1->stop();
    ToolPanel->show();
    unsetCursor();
}

void TResultatInfoForm::Read() {
    Step(true);
}

void TResultatInfoForm::Step(bool moveOn) {
    Timer1->stop();
    // Whatever goes wrong, the board stays up and tries again on the next tick.
    Guarded(this, [&] {
        pages_->Read(moveOn);
        return true;
    });
    update();
    if (running_ && pages_->Cycling())
        Timer1->start();
}

void TResultatInfoForm::reject() {
    if (!running_)
        QDialog::reject();
}

// ---------------------------------------------------------------- the window

void TResultatInfoForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (firstShow_) {
        firstShow_ = false;
        QMetaObject::invokeMethod(this, &TResultatInfoForm::Start, Qt::QueuedConnection);
    }
}

void TResultatInfoForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FitLayout();
}

void TResultatInfoForm::FitLayout() {
    *layout_ = BoardLayout(size(), TBoardPages::LinesPerScreen,
                           [](int fontSize) { return QFontMetrics(BoardFont(fontSize)).height(); });
}

void TResultatInfoForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Highlight));
    const TBoardScreen& screen = pages_->Screen();
    TBoardPainter board(painter, size(), *layout_);
    switch (screen.Kind) {
    case TBoardScreenKind::Title:
        board.Title(screen);
        break;
    case TBoardScreenKind::Round:
        board.Round(screen);
        break;
    case TBoardScreenKind::Picture:
        if (screen.Picture >= 0 && screen.Picture < static_cast<int>(pages_->Pictures().size()))
            board.Picture(pages_->Pictures()[static_cast<std::size_t>(screen.Picture)]);
        break;
    }
}

void TResultatInfoForm::mousePressEvent(QMouseEvent* event) {
    const Qt::KeyboardModifiers both = Qt::ShiftModifier | Qt::ControlModifier;
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && (event->modifiers() & both) == both && at.x() < CornerSize &&
        at.y() < CornerSize) {
        Stop();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void TResultatInfoForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        Read();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void VisResultatInfo(int board) {
    const TScopedMessagePresenter logged(std::make_unique<TLoggingPresenter>());
    TResultatInfoForm form(board);
    RunDialog(form);
}
