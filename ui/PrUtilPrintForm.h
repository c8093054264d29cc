#pragma once
// The print preview window: the engine's pages one below the other, with buttons that print them and
// that open the printer set-up first.
#include "foundation/controls/RvkForms.h"
#include "print/PrUtil.h"

class QAction;
class QScrollArea;
class QToolBar;

// The preview picture, painted as it comes into view, so that a long list costs no giant image.
class TPrintPreviewImage : public QWidget {
    Q_OBJECT
public:
    TPrintPreviewImage(TPrint& print, QWidget* parent);
    void SetLayout(TPrintPreviewLayout layout);
    const TPrintPreviewLayout& Layout() const { return layout_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPrint& print_;
    TPrintPreviewLayout layout_;
};

class TPrUtilPrintForm : public TStdRVKForm {
    Q_OBJECT
public:
    TPrUtilPrintForm(TPrint& print, QWidget* owner = nullptr);

    // Lays the engine's model out at the window's resolution and shows it.
    void DrawPreview();

    QToolBar* const MenuToolBar;
    QAction* const PrinterSetup;
    QAction* const ToolButton2;
    QAction* const UdskrivTilPrinter;
    QScrollArea* const PrintScrollBox;
    QWidget* const LeftPanel;
    TPrintPreviewImage* const PrintImage;

public slots:
    // Runs the printer set-up; when confirmed, prints.
    void PrinterSetupClick();
    // Prints from page 1 on the current printer.
    void UdskrivTilPrinterClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolBar();
    void BuildScrollBox();
    void FormShow();
    // Page Up, Page Down, Home and End move the picture; true when the key was one of them.
    bool FormKeyDown(int key);

    TPrint& print_;
};

// Shows the preview window of the engine modally, its tool bar hidden when the engine says so.
void ShowPrintPreviewForm(TPrint& print);

// Makes TPrint::Preview open the window; the window program calls this once at start.
void InstallPrintPreviewWindow();

// With no printer set up: tells the user so and offers a file dialog (through the dialog runner) for a PDF
// file to write the list to instead; empty when the user cancels.
QString ChoosePdfInsteadOfPrinter(TPrint& print);
// Makes TPrint::Print ask ChoosePdfInsteadOfPrinter when there is no printer; called once at start.
void InstallNoPrinterChoice();
