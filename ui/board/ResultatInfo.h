#pragma once
// The results board: a full-screen window on top of all others that shows, page after page, the results
// of the rounds its board file names, for the spectators (ResultatInfoPages.h works out what). It runs in a
// program of its own ("BOARD" and its digit on the command line) beside the event editor's, reads and
// never writes: no record, no setting, not even its own placement.
#include <QDialog>

#include <memory>

class QPushButton;
class QSpinBox;
class QTimer;
class TBoardPages;
struct TBoardLayout;

class TResultatInfoForm : public QDialog {
    Q_OBJECT
public:
    // The board of that number (1..9) over the open meet.
    explicit TResultatInfoForm(int board, QWidget* owner = nullptr);
    ~TResultatInfoForm() override;

    // Shown while the board is stopped, at the bottom.
    QWidget* const ToolPanel;
    // The seconds each screen stays, 5 to 59; its arrows are the wait time's up-down.
    QSpinBox* const VentTid;
    QPushButton* const Button2; // "Start"
    QPushButton* const Button1; // "Afslut"
    QTimer* const Timer1;

    TBoardPages& Pages() const { return *pages_; }
    const TBoardLayout& Layout() const { return *layout_; }
    bool IsRunning() const { return running_; }

public slots:
    // Toolbar hidden, the timer at the wait time, then the first screen (also the first show).
    void Start();
    // The exit gesture: timer off, toolbar and cursor back.
    void Stop();
    // One step of the board (a tick of the timer, Space). A board file with a "TIMER" line starts the
    // timer anew, for its whole time; without one the board holds its screen until the next Space.
    void Read();
    // Escape leaves a stopped board only: a key knocked on the stadium's keyboard must not end it.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildToolPanel();
    // One step; moveOn: to the next page or round.
    void Step(bool moveOn);
    void FitLayout();

    std::unique_ptr<TBoardPages> pages_;
    std::unique_ptr<TBoardLayout> layout_;
    bool running_ = false;
    bool firstShow_ = true;
};

// Opens the board of that number over the open meet and shows it until "Afslut". While it runs, every
// message box is written to standard error instead: a box on the stadium's screen would stop the board.
void VisResultatInfo(int board);
