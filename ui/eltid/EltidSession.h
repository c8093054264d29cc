#pragma once
// One run of the timing reader window without its widgets: the heat it works on, the choices of its
// check boxes and lists, the states it goes through (choosing a file, reading it, editing its lines,
// closed), the poll of its timer, the heading and the scoreboard commands. The window shows what this
// holds and passes each click and key on; every rule and every file is here.
#include "ui/eltid/Eltid.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

class TOvelseInfo;
class TResultatManager;

// What the event editor gives the reader before it runs.
struct TEltidRun {
    // The editor's manager with the loaded round.
    TResultatManager* Manager = nullptr;
    QString KlasseText;
    QString OvelseText;
    // The heat of the grid's current row, and the number of its rows.
    qint32 Heat = 0;
    qint32 Antal = 0;
    // The round measures wind.
    bool Vind = false;
};

// Where a run stands.
enum class TEltidState {
    // The file list is shown.
    Choosing,
    // A file is chosen; the timer polls it and the lines are read-only.
    Reading,
    // The timer is stopped and lanes and start numbers can be typed.
    Editing,
    // Closed by "Godkend".
    Accepted,
    // Closed by "Annuller": the heat's rows are as before the run.
    Cancelled
};

// The scoreboard buttons.
enum class TScoreboardKnap {
    StartListeLane,  // "SL"
    StartListeBib,   // "SB"
    Resultat,        // "R"
    ResultatTotal,   // "RT"
    KvalNaesteRunde, // "Q"
    Presentation,    // "P"
    Clear            // "C"
};

// What one tick of the timer did.
struct TEltidTick {
    TEltidPoll Poll = TEltidPoll::Unchanged;
    // The failure to show in one box ("Exception, EltidReader: " and its message); polling rests until
    // ResumePolling, so a failing folder never stacks boxes.
    QString Fejl;
};

// The heading the scoreboard shows for a heat of the round: by the meet's Redid, ECup2007 or Engelsk
// setting, else the class and event codes; the heat only when the round has more than one.
QString EltidOverskrift(const TOvelseInfo& info, qint32 heat, int heatCount);

class TEltidSession {
public:
    // The heat's rows as they are now are what "Annuller" gives back.
    explicit TEltidSession(const TEltidRun& run);
    ~TEltidSession();
    TEltidSession(const TEltidSession&) = delete;
    TEltidSession& operator=(const TEltidSession&) = delete;

    const TEltidRun& Run() const { return run_; }
    TEltidState State() const { return state_; }
    // Running and relays: the timing and file panels are shown; other events only the scoreboard part.
    bool IsTimed() const;
    // " class event, Heat: n, Antal: m".
    QString Caption() const;
    // The heading the scoreboard commands send, the window's `Overskrift`; set when the user edits it.
    const QString& Overskrift() const { return overskrift_; }
    void SetOverskrift(const QString& overskrift) { overskrift_ = overskrift; }

    // ---- The window's choices. The system and camera are kept by the meet manager; a change of either
    // makes a new reader (lines and list empty until the next listing).
    int EltidSystem() const { return eltidSystem_; }
    void SetEltidSystem(int index);
    int CameraNo() const { return cameraNo_; }
    void SetCameraNo(int index);
    bool Omega1000() const { return omega1000_; }
    void SetOmega1000(bool on);
    bool MinutTilSekund() const { return minutTilSekund_; }
    void SetMinutTilSekund(bool on);
    bool Tidligere() const { return tidligere_; }
    void SetTidligere(bool on) { tidligere_ = on; }
    bool AutoXml() const { return autoXml_; }
    void SetAutoXml(bool on) { autoXml_ = on; }
    bool KunSide1() const { return kunSide1_; }
    void SetKunSide1(bool on) { kunSide1_ = on; }
    bool AlleHeats() const { return alleHeats_; }
    void SetAlleHeats(bool on) { alleHeats_ = on; }
    bool Collect() const { return collect_; }
    void SetCollect(bool on) { collect_ = on; }

    TEltid& Reader() const { return *reader_; }

    // ---- Choosing: "Opdater", and after each command below
    TEltidFileList ListFiles();
    const QStringList& FileList() const { return reader_->FileList(); }
    // "Fjern" and "Vælg", and the file panel's controls ("Tidligere", the system, "Nulstil", "Sæt eltid
    // reference"), while choosing.
    bool CanFjern() const;
    bool CanChoose() const { return state_ == TEltidState::Choosing; }
    // "Fjern": the names count as read.
    TEltidFileList Fjern(const QStringList& names);
    // "Nulstil": no name counts as read.
    TEltidFileList Nulstil();
    // "Sæt eltid reference": the folder of the file chosen in the open dialog.
    TEltidFileList SetEltidReference(const QString& chosenFile);
    // "Vælg": the timer starts reading the file; with AutoXml the results go to the scoreboard.
    void Choose(const QString& baseName);

    // ---- Reading
    // One tick of the 250 ms timer: while reading and not resting, looks at the files (waiting for the
    // folder at most wait, so a hung folder never holds the window) and takes in what changed; with
    // AutoXml what was read goes to the scoreboard.
    TEltidTick Tick(std::chrono::milliseconds wait = std::chrono::milliseconds(50));
    // After the failure's box is closed.
    void ResumePolling() { paused_ = false; }
    bool PollingPaused() const { return paused_; }
    // "Venter på <folder>" once the folder has not answered for a second; empty otherwise.
    QString WaitingText() const;
    // The grid `TiderGrid`: its headings and the texts of line i.
    static QStringList GridHeadings();
    QStringList LineTexts(int index) const;
    int LineCount() const { return int(reader_->Lines().size()); }
    // "Godkend" and "Rediger".
    bool CanGodkend() const;
    bool CanRediger() const;
    // The text `Vind` shows: the wind read (when the round measures wind); empty when none was read.
    QString VindText() const;
    // Why that wind is not taken; empty when it is or none was read.
    QString VindFejl() const;

    // ---- Editing
    // "Rediger": the timer stops, lanes and start numbers can be typed.
    void Rediger();
    // Leaving a "Bane" or "StartNr" cell of line index; raises for a text that is no number.
    void EditBane(int index, const QString& text);
    void EditStartNr(int index, const QString& text);
    // Enter in `Vind`: the heat's rows get the wind; raises (changing nothing) for a text that is no wind.
    void EnterVind(const QString& text);

    // ---- Closing
    // The question to ask before accepting while lines are "FEJL"; empty when there are none.
    QString GodkendQuestion() const;
    // "Godkend": the wind typed in `Vind` (when the round measures wind and it is not empty), then the
    // places, ties and statuses of the heat, then the file counts as read unless `Tidligere`. Raises,
    // changing nothing, for a wind that is no wind.
    void Godkend(const QString& vindText);
    // "Annuller": the heat's rows as before the run; other heats keep their edits.
    void Annuller();

    // ---- Scoreboard
    // The commands of the file "scoreboard-commands" in the data folder, for `CommandsCombobox`.
    static QStringList ScoreboardCommands();
    // The files "*-result.xml" of the data folder, for `OngoingEventsCombobox`.
    static QStringList OngoingEvents();
    // A scoreboard button; "C" sends the command chosen (nothing when none is).
    void Send(TScoreboardKnap knap, const QString& chosenCommand = {});
    // "CC", "AC" (which ends collecting) and the second "C".
    void ClearCollected();
    void ActivateCollected();
    void ActivateOngoing(const QString& fileName);

private:
    void MakeReader();
    void SendResults();
    void Edit(void (TEltid::*set)(int, const QString&), int index, const QString& text);

    TEltidRun run_;
    TEltidHeat heat_;
    std::unique_ptr<TEltid> reader_;
    TEltidState state_ = TEltidState::Choosing;
    QString overskrift_;
    int eltidSystem_ = 0;
    int cameraNo_ = 0;
    bool omega1000_ = false;
    bool minutTilSekund_ = false;
    bool tidligere_ = false;
    bool autoXml_ = false;
    bool kunSide1_ = false;
    bool alleHeats_ = false;
    bool collect_ = false;
    bool paused_ = false;
};
