#pragma once
// The meet manager: the list of meets in STAEVNE.ZU2, the current meet and its settings (the system-data
// block of its meet record and the registry values), and the meets' folders in the data folder.
#include "model/D_DBDef.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_StaevneTree.h"
#include "storage/DBFieldDate.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TImportStaevneQuestion;
struct TTransferRecord;
struct TTransferSections;
// The 12 tables of the transfer file's sections, open, in its order.
using TTransferTables = std::vector<std::unique_ptr<TZunoDataTable>>;

// The Status of a meet record: a meet is listed only when its last create, delete or import finished.
enum class TStaevneStatus : int { Klar = 0, Oprettes = 1, Slettes = 2, Importeres = 3 };

// The scoreboard server from the registry, and the texts the timing reader gives the XML documents.
struct TScoreboard {
    QString ScoreboardServer;
    qint32 ScoreboardServerPort = 2010;
    QString Command;
    QString Header;
    QString PreliminaryTime;
};

// The values each meet keeps in the registry under its own key.
struct TStaevneRegistry {
    qint32 OversigtKlasse = 0;
    qint32 VisUgedag = 0;
    bool UdskrivTilSkaerm = true;
    bool UdskrivTilPrinter = false;
    bool HtmlUdskrift = false;
    bool HtmlNavnPrOvelse = false;
    bool XmlUdskrift = false;
    bool SideskiftPrKlasse = false;
    bool SideskiftPrTidspunkt = false;
    bool SideskiftPrHeat = false;
    bool UdskrivTommeOvelser = false;
    bool InklusivKlubstilling = false;
    bool InklusivMangekampStilling = false;
    bool InklusivHoldkonkurrence = false;
    bool InklusivKlubkonkurrence = false;
    bool TidsskemaSortering = false;
    bool VisNulOvelser = false;
    bool AutoTidRegistrering = false;
    bool AutoPopup = false;
    qint32 EltidSystem = 0;
    qint32 CameraNo = 0;
    bool EltidDirekte = false;
    QString PrinterNavn;
    QString DiplomPrinter;
    qint32 OversigtGridSortering = 0;
    qint32 PageTabPosition = 0;
};

// The one meet manager is the global StaevneManager: the meet-bound tables and lists ask it for the
// current meet's number, and the text routines read the current meet's settings through it
// (CurrentSystemData). A meet's name is also the name of its folder in the data folder (ProgramDir).
//
// Failures of create, rename and delete raise Exception with a Danish message; the caller shows it.
class TStaevneManager {
public:
    // Opens STAEVNE.ZU2 in ProgramDir, lists its meets (reporting those left unfinished and those whose
    // settings are damaged) and reads the registry. No meet is current.
    TStaevneManager();
    ~TStaevneManager();
    TStaevneManager(const TStaevneManager&) = delete;
    TStaevneManager& operator=(const TStaevneManager&) = delete;

    // ---- The listed meets (status 0), in key order, meets created since at the end.
    int GetStaevneCount() const { return static_cast<int>(meets_.size()); }
    QString GetStaevneNavn(int index) const;
    // "dd-mm-yyyy"; empty when the meet has no date.
    QString GetStaevneDatoText(int index) const;
    qint32 GetStaevneStID(int index) const;
    // Exact comparison; -1 for none or an empty name.
    int IndexOfStaevneNavn(const QString& navn) const;
    int IndexOfStID(qint32 stID) const;
    // -1 when no meet is open.
    int GetCurrentIndex() const { return currentIndex_; }
    qint32 GetCurrentStID() const { return currentIndex_ < 0 ? -1 : currentStID_; }
    void LoadStaevneList();

    // ---- Meets
    // Makes the meet current and reads its settings; an index outside the list is ignored.
    void OpenStaevne(int index);
    // Creates a meet with its folder and default settings, opens it and returns its index. fill, when
    // given, writes the rest of the meet (programme, clubs, settings) in the same transaction, while the
    // new meet is the current one for the tables and its settings are the manager's: the meet is listed
    // whole or not at all. A failure leaves neither its record nor a folder it made, and the meet that was
    // open before is open again. Its number was never another meet's.
    int CreateStaevne(const QString& navn, const std::function<void()>& fill = {});
    // Renames the current meet, its folder and its registry key. A change of letter case only needs no
    // check against the other meets.
    void RenameStaevne(const QString& nytNavn);
    // Deletes the current meet's records of every file, its folder and its registry key; then no meet
    // is current. A delete that stops half-way leaves the meet record with status 2. Only the global
    // StaevneManager deletes: the tables take the current meet from it.
    void DeleteStaevne();
    // Refuses a name that cannot be a meet's (empty, too long for the record, not a folder name on
    // Windows or Linux, a listed meet's name in any letter case, or that of anything in the data folder in
    // any letter case but an empty folder). It only checks: the folder is made with the meet.
    void CheckStaevneNavn(const QString& navn);
    // Marks the folder as made for the meet with that number: deleting the meet removes it with all it
    // holds. Deleting a meet whose folder has no such mark removes the folder only when it is empty.
    static void MarkStaevneDir(const QString& folder, qint32 stID);
    // Creates a missing meet folder, marked as the meet's own; an existing one gets the mark an earlier
    // version left beside it.
    static void MakeStaevneDir(const QString& folder, qint32 stID);

    // ---- The current meet's settings
    TSystemData& SystemData() { return data_; }
    const TSystemData& SystemData() const { return data_; }
    TStaevneRegistry& Registry() { return registry_; }
    const TStaevneRegistry& Registry() const { return registry_; }
    TScoreboard& Scoreboard() { return scoreboard_; }
    qint32 GetHttpServerPort() const { return httpServerPort_; }
    void SetHttpServerPort(qint32 port) { httpServerPort_ = port; }
    // The meet the program opens at start; empty for none.
    const QString& GetLastUsedName() const { return lastUsedName_; }
    void SetLastUsedName(const QString& navn) { lastUsedName_ = navn; }

    // The date with the start time of day; also the date text of the list.
    void SetDato(TDateTime dato);
    // Stamps the meet record with the time of the last saved change to the programme.
    void SetOvelseRettet(TDateTime tid);
    // Writes the current meet's settings into its record and the registry. False when no meet is open,
    // or when the meet's block was written by a newer version: that block is kept as it is (only the
    // registry values are written), since this version would lose what it does not know.
    bool SaveStaevneData();
    // Reads the settings of the meet record the meet table stands on; false (defaults kept) when its
    // block is damaged.
    bool LoadSystemData();
    // Every setting, the per-meet registry values included, to its default; the report file name and
    // the counts as after a read.
    void SetSystemDataDefaults();
    qint32 GetSystemDataSize() const { return data_.GetSystemDataSize(); }
    void LoadRegistry();
    void SaveRegistry();
    // Make the meet's list or diploma printer the current printer (the default one when not installed).
    void SelectPrinter();
    void SelectDiplomPrinter();

    bool IsDTVTLTUTurnering() const;
    bool IsHoldTurnering() const;
    bool IsDTOvelseHalvePoints(const QString& ovelse) const;
    // Column labels of team competitions: "FØR" and "NU", else empty.
    QString GetFoerText() const;
    QString GetNuText() const;

    // ---- Files
    // The current meet's folder, as StaevneDirOf gives it and the model's context holds it; empty when no
    // meet is open.
    QString GetStaevneDir() const;
    QString GetRptFileName() const;
    QString GetSlfFileName() const;
    QString GetHtmlExt() const;
    // The whole meet as the XML document "zuno-staevne.xml" in the data folder; raises Exception with no
    // meet open or when the file cannot be saved.
    void SaveStaevneXml();

    // ---- The meet transfer file
    // Writes the current meet, all its records of the 12 meet files, into a transfer file; a file of
    // that name is replaced only when the whole meet is written. Raises with no meet open, when another
    // program on this data folder has deleted the meet, or when a record cannot be read whole. Only the
    // global StaevneManager exports: the tables take the current meet from it.
    void ExportStaevne(const QString& fileName);
    // As ExportStaevne, but never replaces a file: when one of that name is there, also one made at the
    // same moment by another program, the name gets "_2", "_3", ... before its extension. Returns the
    // name written.
    QString ExportStaevneToNewFile(const QString& fileName);
    // Reads a transfer file into a new meet, asking for its name until one is accepted, and opens it;
    // returns its index, the last of the list. Level 0 imports everything; level k imports the
    // sections of level k and below (1 the programme, 2 also the clubs, 3 also the participants, 4
    // also payments, purchases and results). The whole file is checked before the name is asked, and
    // the records are written in one transaction: a damaged or too new file, a cancel and any failure
    // raise Exception and leave no meet behind, and the meet that was open stays open.
    int ImportStaevne(const QString& fileName, int level, TImportStaevneQuestion& question);

    // ---- The meet-folder tree file
    // The folders of "ZUNO2.SLF", with every listed meet that no folder holds added, sorted by name,
    // to the first folder (or to a single folder "ZUNO stævner" when there is none). A file that
    // cannot be read is reported and left out.
    TStaevneTree LoadStaevneTree() const;
    // Replaces "ZUNO2.SLF" with the folders, only once they are written whole; raises when it cannot.
    void SaveStaevneTree(const TStaevneTree& tree) const;

    TStaevneTable& StaevneTable() { return *table_; }

private:
    struct TListedMeet {
        QString Navn;
        quint32 Position = 0;
        qint32 StID = -1;
        QString DatoText;
    };

    // The folder made for a new meet before its record is written: removed again, when it made it, unless
    // Keep marks it as the meet's once the record is in.
    class TNewFolder {
    public:
        explicit TNewFolder(const QString& navn);
        ~TNewFolder();
        TNewFolder(const TNewFolder&) = delete;
        TNewFolder& operator=(const TNewFolder&) = delete;
        void Keep(qint32 stID);

    private:
        QString folder_;
        bool made_ = false;
        bool kept_ = false;
    };

    // CheckStaevneNavn of a trimmed name.
    void CheckNavn(const QString& navn) const;
    // Inside the writing transaction: refuses a name another stored meet has in any letter case.
    void CheckStoredNavn(const QString& navn, qint32 ownStID);
    // Positions the meet table on the current meet's record as stored now; refuses when it is no longer
    // stored.
    void GotoStoredCurrent();
    // The number of the new meet record the meet table stands on; returns it.
    qint32 NumberNewMeet();
    // Raises the list's index error outside the list.
    const TListedMeet& Meet(int index) const;
    // The name in the meet table's current record.
    QString RecordNavn() const;
    // Sets the Status of the meet table's record being inserted or edited.
    void SetStatus(TStaevneStatus status);
    void GotoCurrent();
    QByteArray ReadVariablePart();
    // The system-data block of the record the meet table stands on, without the registry values; false
    // (defaults kept) when it is damaged.
    bool LoadBlock();
    // The registry values of the meet of that name (the base key's when it has no key of its own).
    void LoadRegistryOf(const QString& navn);
    void WriteVariablePart(const QByteArray& part);
    bool SaveSystemData();
    // Makes the listed meet (the meet table stands on it) or none (-1) the current one, also in the
    // model's context.
    void SetCurrent(int index);
    void UpdateContext();
    // The event manager reads the newly opened meet's programme.
    void ReloadOvelseManager();
    // The old folder's path when it was moved to the new name, else empty.
    QString RenameFolder(const QString& gammelt, const QString& nyt);
    void DeleteRegistryKey(const QString& navn);
    // The per-meet values into the meet's own key, replacing whatever a key of that name held.
    static void WriteMeetRegistry(const QString& navn, const TStaevneRegistry& values);
    // The import's name question; returns the accepted name, with its new folder made.
    QString AskImportNavn(const TTransferRecord& meet, const TSystemData& imported,
                          TImportStaevneQuestion& question, std::optional<TNewFolder>& folder);
    // Writes the checked transfer file's records, the meet's own record as given, as a new meet inside
    // the caller's transaction, through the open tables of the sections. Returns the new meet's number and
    // the position of its record.
    qint32 WriteImport(const TTransferRecord& meet, const TTransferSections& sections,
                       const TTransferTables& tables, const QString& navn, quint32& position);
    // After a failed import: the meet table back on the open meet.
    void UndoImport() noexcept;
    // The transfer file of the current meet, once it is checked to be stored.
    void WriteTransferFile(const QString& path, const QString& fileName);
    // The tables of the transfer file's sections, opened when first needed and kept open while the
    // manager lives: opening a file nobody holds makes its write-ahead log anew, and the last close
    // writes the log back into the file.
    const TTransferTables& SectionTables();

    std::unique_ptr<TStaevneTable> table_;
    std::vector<TListedMeet> meets_;
    int currentIndex_ = -1;
    qint32 currentStID_ = -1;
    QString staevneDir_;
    TSystemData data_;
    TStaevneRegistry registry_;
    TScoreboard scoreboard_;
    qint32 httpServerPort_ = 2000;
    QString lastUsedName_;
    TTransferTables sectionTables_;
};
