#pragma once
// The event editor's running page "Løbe resultater" in a fun-run meet: finish results typed by start
// number in two boxes that take turns, or with automatic timing the start number alone, the time it was
// typed becoming the result; the grid of every runner of the selected rounds; the clock; and the start
// time from which "Tid" counts. The rules are the quick entry's (ui/eltid/QuickEntry.h); the page shows
// what it holds and passes the keys on.
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QTimeEdit;
class QTimer;
class QWidget;
class TExtStringGrid;
class TIntegerEdit;
class TOvelseInfo;
class TQuickEntry;
class TResultatManager;
class TStdRVKForm;
class TStringEdit;

// What the page uses of the event editor that holds it; the editor owns all of it.
struct TRunningPageHost {
    // The window: its Enter and arrow navigation, and the owner of the page's error boxes.
    TStdRVKForm* Form;
    QWidget* LobeResultatPage;
    TExtStringGrid* LobeResultatGrid;
    QCheckBox* AutoTidRegistrering;
    // The event's header, hidden while the page is entered.
    QWidget* OvelseHeader;
    // The editor's result manager, which is made after the page.
    std::function<TResultatManager&()> Manager;
};

class TRunningPage : public QObject {
    Q_OBJECT
public:
    // Lays out the editor's LobeResultatPage around its grid and takes their events.
    explicit TRunningPage(TRunningPageHost editor);
    ~TRunningPage() override;

    // Entering the page: the rounds loaded together into the form's manager and listed, the form's Enter
    // and arrow navigation off, the start-number box ready. False when there is nothing to list: the grid
    // stays hidden.
    bool Enter(const std::vector<TOvelseInfo*>& rounds);
    // Leaving the page once the form has saved the rows: each round loaded alone and saved for its
    // places, saved(round) called for its overview cell; then the grid emptied, the navigation on and the
    // form's header shown. A failure leaves the page as it was entered and raises.
    void Leave(const std::vector<TOvelseInfo*>& rounds, const std::function<void(TOvelseInfo&)>& saved);
    // The quick entry of the page while it is shown; null otherwise.
    TQuickEntry* Entry() const { return entry_.get(); }

    TIntegerEdit* const QuickStartnummer;
    TStringEdit* const QuickResultat;
    QLabel* const AktuelTid;
    QTimeEdit* const Starttid;
    QTimer* const Timer1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPage();
    void SetupGrid();
    void FillGrid();
    // The grid row of the quick entry's row: its texts anew.
    void ShowRow(int row);
    // The grid's cursor on the quick entry's row.
    void StandOn(int row);
    void FillTid();
    void ShowClock();
    void StartnummerEntered();
    void ResultatEntered();
    void LeaveCell(int col, int row);
    // Moves the focus once the key that asked for it is handled.
    static void PostFocus(QWidget* control);

    const TRunningPageHost editor_;
    std::unique_ptr<TQuickEntry> entry_;
    // While the page itself moves the grid's cursor or fills it.
    bool quiet_ = false;
};
