#pragma once
// The timing reader's window: the file list of the timing system's folder, the lines of the chosen heat's
// file as the 250 ms timer reads them, their editing, "Godkend" and "Annuller", and the scoreboard
// buttons. Every rule and every file is the session's (EltidSession.h); the window shows what it holds
// and passes each click and key on.
#include "foundation/controls/RvkForms.h"
#include "ui/eltid/EltidSession.h"

#include <chrono>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class TExtStringGrid;

class TEltidReaderForm : public TStdRVKForm {
    Q_OBJECT
public:
    // The grid's columns.
    enum TTiderCol : int { NrCol, BaneCol, StartNrCol, TidCol, StatusCol, TusindedeleCol };
    static constexpr std::chrono::milliseconds TimerInterval{250};

    // The heat's rows as they are now are what "Annuller" gives back.
    TEltidReaderForm(QWidget* owner, const TEltidRun& run);
    ~TEltidReaderForm() override;

    // Shows the window modally for the heat; true when the user accepted ("Godkend"). Otherwise the
    // heat's rows are as they were before.
    bool Run();
    TEltidSession& Session() const { return *session_; }
    // One tick of Timer, waiting for the folder at most wait.
    void Tick(std::chrono::milliseconds wait = std::chrono::milliseconds(50));

    // ---- choosing
    QWidget* const TimingPanel;
    QComboBox* const EltidSystem;
    QComboBox* const CameraNo;
    QCheckBox* const Omega1000;
    QCheckBox* const MinutTilSekund;
    QCheckBox* const Tidligere;
    QCheckBox* const AutoXml;
    QWidget* const FilePanel;
    QLabel* const FolderLabel;
    QListWidget* const FileListbox;
    QPushButton* const OpdaterButton;
    QPushButton* const VaelgButton;
    QPushButton* const FjernButton;
    QPushButton* const Nulstil;
    QPushButton* const SetEltidReference;
    // ---- reading and editing
    QWidget* const TiderPanel;
    QLabel* const FilenameLabel;
    QLabel* const WaitingLabel;
    TExtStringGrid* const TiderGrid;
    QLabel* const VindLabel;
    QLineEdit* const Vind;
    // Why the wind read is not taken.
    QLabel* const VindFejlLabel;
    QPushButton* const Rediger;
    QPushButton* const Godkend;
    QPushButton* const Annuller;
    // ---- scoreboard
    QWidget* const ScoreboardPanel;
    QLineEdit* const Overskrift;
    QPushButton* const StartListeLaneButton;
    QPushButton* const StartListeBibButton;
    QPushButton* const ResultatButton;
    QPushButton* const ResultatTotalButton;
    QPushButton* const KvalNaesteRundeButton;
    QPushButton* const PresentationButton;
    QPushButton* const ClearButton;
    QComboBox* const CommandsCombobox;
    QCheckBox* const KunSide1;
    QCheckBox* const AlleHeats;
    QCheckBox* const CollectCheckBox;
    QPushButton* const ClearCollectedButton;
    QPushButton* const ActivateCollectedButton;
    QComboBox* const OngoingEventsCombobox;
    QPushButton* const OngoingEventsButton;
    QTimer* const Timer;

public slots:
    void done(int result) override;

private:
    void BuildTimingPanel();
    void BuildFilePanel();
    void BuildTiderPanel();
    void BuildScoreboardPanel();
    void ConnectChoosing();
    void ConnectReading();
    void ConnectScoreboard();
    // Runs work for a control, a failure shown in a box; the controls follow.
    void Act(const std::function<void()>& work);

    void ShowFiles(const TEltidFileList& list);
    void ChooseFile();
    void OpenReference();
    void FillGrid();
    void StartEditing();
    void LeaveTiderCell(int col, int row);
    void TakeGodkend();
    void Send(TScoreboardKnap knap);
    void UpdateControls();

    std::unique_ptr<TEltidSession> session_;
};
