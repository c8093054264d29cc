#pragma once
// The clubs dialog's entry import: a club's entry list pasted as delimited text, interpreted into the
// import grid with the club's details, checked, and made participants and entries of the current club
// or of a club made for it. Interpreting, checking and updating are the model's (model/D_KlubImport.h);
// here the text is collected, the rows shown with their markers, and the outcome told.
#include "model/D_KlubImport.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TExtStringGrid;
class TKlubDialogHost;

class TAutoTilmeldPanel : public QWidget {
    Q_OBJECT
public:
    TAutoTilmeldPanel(TKlubDialogHost& dialog, QWidget* parent);

    QTabWidget* const PageControl;
    // ---- "CSV data"
    QWidget* const RaaDataSide;
    QPlainTextEdit* const RichEdit;
    QLineEdit* const CSVSeparator;
    QCheckBox* const UseTABSeparator;
    QCheckBox* const CSVStartnummer;
    QPushButton* const ClipboardImport;
    // ---- "Data til opdatering"
    QWidget* const OpdaterDataside;
    QWidget* const AutoKlubPanel;
    QLineEdit* const AutoKlubNavnEdit;
    QLineEdit* const AutoTelefonEdit;
    QLineEdit* const AutoFaxEdit;
    QLineEdit* const AutoEmailEdit;
    QLineEdit* const AutoKontaktpersonEdit;
    QLineEdit* const AutoAdresse1Edit;
    QLineEdit* const AutoAdresse2Edit;
    QLineEdit* const AutoAdresse3Edit;
    QLineEdit* const AutoAdresse4Edit;
    QLineEdit* const AutoAdresse5Edit;
    QPushButton* const AutoKontrol;
    QPushButton* const AutoOpdDeltagere;
    QPushButton* const AutoOpdKlubDeltagere;
    TExtStringGrid* const AutoDataGrid;

    // One per row of the import grid: ImportRowOk, or ImportRowFejl (drawn red).
    const std::vector<int>& Markers() const { return markers_; }

    // The text interpreted into the grid and the club edits, then checked.
    void Fortolk();
    // The rows checked; failing rows marked and told, the update buttons enabled only when all passed.
    // The club the list names becomes the current one; a list naming no club of the meet can only make
    // its club, never update another.
    void Kontroller();
    // The current club updated from the rows that passed (asked first, and the club saved first, when
    // ask is set).
    void OpdaterKlub(bool ask);
    // A club made of the import's club, then updated; a club of that name already there is updated
    // instead.
    void OpretKlubOgOpdater();
    // The text box's text replaced by the clipboard's.
    void PasteClipboard();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildRaaDataSide();
    void BuildOpdaterDataside();
    void BuildConnections();

    std::vector<TImportRow> GridRows() const;
    void ShowRows(const std::vector<TImportRow>& rows);
    void ShowKlub(const TImportKlub& klub);
    // The club's details as the edits hold them now.
    TImportKlub ShownKlub() const;
    void SetUpdateEnabled(bool enabled);
    // The club's edits and the import's buttons below them, together.
    void SetKlubEnabled(bool enabled);
    void PageChanged(int index);
    // The import row's athlete moves to the next row when the row is deleted and that row has none.
    void BeforeDeleteRow(int row, bool& allow);

    TKlubDialogHost& dialog_;
    std::vector<int> markers_;
    QWidget* buttons_{nullptr}; // the import's buttons, in sight below the scrolled club edits
};
