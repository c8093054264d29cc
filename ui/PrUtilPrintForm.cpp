#include "ui/PrUtilPrintForm.h"

#include "foundation/Messages.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "platform/Printer.h"
#include "print/D_Html.h"
#include "ui/DialogRunner.h"
#include "ui/WidgetKit.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int ToolBarHeight = 30;
constexpr int LeftPanelWidth = 12;
// What a page key leaves of the old view in the new one.
constexpr int PageOverlap = 20;

void MakeWhite(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

// ---------------------------------------------------------------- the picture

TPrintPreviewImage::TPrintPreviewImage(TPrint& print, QWidget* parent)
    : QWidget(parent)
    , print_(print) {
    setObjectName(QStringLiteral("PrintImage"));
}

void TPrintPreviewImage::SetLayout(TPrintPreviewLayout layout) {
    layout_ = std::move(layout);
    setFixedSize(std::max(layout_.Width, 1), std::max(layout_.Height, 1));
    update();
}

void TPrintPreviewImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    print_.PaintPreview(painter, layout_, event->rect());
}

// ---------------------------------------------------------------- the window

TPrUtilPrintForm::TPrUtilPrintForm(TPrint& print, QWidget* owner)
    : TStdRVKForm(owner)
    , MenuToolBar(Named(new QToolBar(this), QStringLiteral("MenuToolBar")))
    , PrinterSetup(
          MakeToolAction(MenuToolBar, QStringLiteral("PrinterSetup"), QStringLiteral("Printeropsætning")))
    , ToolButton2(Named(MenuToolBar->addSeparator(), QStringLiteral("ToolButton2")))
    , UdskrivTilPrinter(MakeToolAction(MenuToolBar, QStringLiteral("UdskrivTilPrinter"),
                                       QStringLiteral("Udskriv til printer")))
    , PrintScrollBox(Named(new QScrollArea(this), QStringLiteral("PrintScrollBox")))
    , LeftPanel(MakePanel(nullptr, QStringLiteral("LeftPanel")))
    , PrintImage(new TPrintPreviewImage(print, nullptr))
    , print_(print) {
    setObjectName(QStringLiteral("PrUtilPrintForm"));
    setWindowTitle(QStringLiteral("Vis udskrift"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    MakeWhite(this);
    resize(640, 480);
    BuildToolBar();
    BuildScrollBox();
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(0);
    form->addWidget(MenuToolBar);
    form->addWidget(PrintScrollBox, 1);
    // Enter and the arrow keys belong to the scroll box here.
    NavigationEnabled = false;
}

// The two buttons show only when the engine says so (FormShow).
void TPrUtilPrintForm::BuildToolBar() {
    MenuToolBar->setFixedHeight(ToolBarHeight);
    MenuToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    PrinterSetup->setVisible(false);
    UdskrivTilPrinter->setVisible(false);
    connect(PrinterSetup, &QAction::triggered, this, &TPrUtilPrintForm::PrinterSetupClick);
    connect(UdskrivTilPrinter, &QAction::triggered, this, &TPrUtilPrintForm::UdskrivTilPrinterClick);
}

// The pages right of a narrow white margin, all on white.
void TPrUtilPrintForm::BuildScrollBox() {
    LeftPanel->setFixedWidth(LeftPanelWidth);
    MakeWhite(LeftPanel);

    auto* content = new QWidget;
    MakeWhite(content);
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(LeftPanel);
    row->addWidget(PrintImage, 0, Qt::AlignTop);
    row->addStretch();

    PrintScrollBox->setWidget(content);
    PrintScrollBox->setWidgetResizable(true);
    PrintScrollBox->setFrameShape(QFrame::NoFrame);
    PrintScrollBox->installEventFilter(this);
    MakeWhite(PrintScrollBox->viewport());
}

void TPrUtilPrintForm::DrawPreview() {
    PrintImage->SetLayout(print_.DrawPreview(logicalDpiY()));
}

void TPrUtilPrintForm::showEvent(QShowEvent* event) {
    TStdRVKForm::showEvent(event);
    FormShow();
}

void TPrUtilPrintForm::FormShow() {
    MenuToolBar->setVisible(!print_.HideToolbar);
    PrinterSetup->setVisible(print_.ShowPrinterSetup);
    ToolButton2->setVisible(print_.ShowPrinterSetup && print_.ShowPrintButton);
    UdskrivTilPrinter->setVisible(print_.ShowPrintButton);
    PrintScrollBox->setFocus();
}

bool TPrUtilPrintForm::FormKeyDown(int key) {
    QScrollBar* bar = PrintScrollBox->verticalScrollBar();
    const int page = PrintScrollBox->height() - PageOverlap;
    switch (key) {
    case Qt::Key_PageUp:
        bar->setValue(bar->value() - page);
        return true;
    case Qt::Key_PageDown:
        bar->setValue(bar->value() + page);
        return true;
    case Qt::Key_End:
        bar->setValue(bar->maximum());
        return true;
    case Qt::Key_Home:
        bar->setValue(0);
        return true;
    default:
        return false;
    }
}

void TPrUtilPrintForm::keyPressEvent(QKeyEvent* event) {
    if (!FormKeyDown(event->key()))
        TStdRVKForm::keyPressEvent(event);
}

bool TPrUtilPrintForm::eventFilter(QObject* watched, QEvent* event) {
    // The form sees the page keys before the scroll box takes them as its own.
    if (watched == PrintScrollBox && event->type() == QEvent::KeyPress)
        return FormKeyDown(static_cast<QKeyEvent*>(event)->key());
    return TStdRVKForm::eventFilter(watched, event);
}

void TPrUtilPrintForm::PrinterSetupClick() {
    QPrintDialog dialog(&Platform::CurrentPrinter(), this);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog"));
    if (dialog.exec() == QDialog::Accepted)
        UdskrivTilPrinterClick();
}

void TPrUtilPrintForm::UdskrivTilPrinterClick() {
    print_.PageNo = 0;
    // Each click is a print of its own: without a printer it asks again where the list goes.
    print_.ForgetPdfChoice();
    try {
        print_.Print();
    } catch (const Exception& error) {
        ShowError(this, error.Message());
    }
    // Printing laid the model out for the printer: lay it out again for the picture, keeping the page
    // count of the printer run.
    const quint16 pageNo = print_.PageNo;
    DrawPreview();
    print_.PageNo = pageNo;
}

// ---------------------------------------------------------------- the window for Preview

void ShowPrintPreviewForm(TPrint& print) {
    TPrUtilPrintForm form(print, QApplication::activeWindow());
    if (print.HideToolbar)
        form.MenuToolBar->hide();
    form.DrawPreview();
    RunDialog(form);
}

void InstallPrintPreviewWindow() {
    SetPrintPreviewWindow(ShowPrintPreviewForm);
}

// ---------------------------------------------------------------- no printer

QString ChoosePdfInsteadOfPrinter(TPrint& print) {
    auto* owner = qobject_cast<QWidget*>(print.Owner());
    if (!owner)
        owner = QApplication::activeWindow();
    ShowInformation(owner, QStringLiteral("Der er ingen printer sat op på denne maskine, så listen kan ikke "
                                          "udskrives. Du kan gemme den som en PDF-fil i stedet."));
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("PdfFileDialog"));
    dialog.setWindowTitle(QStringLiteral("Gem listen som PDF"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("PDF-filer (*.pdf)"), QStringLiteral("Alle filer (*)")});
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    const QString folder = StaevneManager && StaevneManager->GetCurrentIndex() >= 0
                               ? StaevneManager->GetStaevneDir()
                               : ProgramDir;
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    const QString title = print.Title.trimmed().isEmpty() ? QStringLiteral("Liste") : print.Title.trimmed();
    dialog.selectFile(SafeFileName(title) + QStringLiteral(".pdf"));
    if (RunDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

void InstallNoPrinterChoice() {
    SetNoPrinterChoice(ChoosePdfInsteadOfPrinter);
}
