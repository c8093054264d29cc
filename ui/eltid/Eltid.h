#pragma once
// The timing reader's readers: one per timing system (TOmega, TAlge, TLynx under TEltid) reads the result
// file that the system writes for a heat, and its wind, into lines (TEltidData) matched to the rows of one
// heat of the loaded round (TEltidHeat), and writes time, place, thousandths and qualification code into
// them. Widget-free: the window shows what a reader holds and passes the user's choices on.
#include "ui/eltid/EltidFiles.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

#include <chrono>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class TResultat;
class TResultatManager;

// ---------------------------------------------------------------- times, winds and place words

// A time of a timing system as a mark.
struct TEltidTid {
    // In mark notation: "1.05.23", "09.87", or with minutes turned into seconds "65.23".
    QLatin1String Chars() const { return QLatin1String(chars.data(), length); }
    QString Text() const { return Chars(); }
    // The stored mark of that text.
    qint32 Mark = 0;
    // The thousandths (0..999) when the time has three decimals or more; 0 otherwise.
    qint32 Tusindedele = 0;

    std::array<char, 24> chars{};
    qsizetype length = 0;
};

// Minutes before ":", seconds before "." (or ","), the fraction scaled by its number of digits and,
// beyond two, rounded up to hundredths; trailing "*" ignored. With minutTilSekund the minutes are
// written as seconds. None for a text that is no such time: empty, zero, with hours or with other signs.
std::optional<TEltidTid> ConvertEltidTid(QStringView text, bool minutTilSekund);

// A wind as a timing system writes it or the user types it.
struct TEltidVind {
    // Tenths of m/s (WindNotMeasured for "x"); none for an empty text or one that is no wind.
    std::optional<qint32> Vind;
    // Why the text is no wind; empty when it is one, or empty.
    QString Fejl;
};
// A sign, one digit and up to three decimals ("+1.2", "-0,35", "+1.2 m/s"), or one or two digits as
// typed tenths ("12"), or "x"; anything else is refused with a reason.
TEltidVind CheckEltidVind(const QString& text);

// A whole number of a timing system's field (blanks around it, a sign, up to nine digits); none for any
// other text.
std::optional<qint32> EltidNumber(QStringView text);

// The status code a timing system's word for a place stands for: "DNF" "U", "DQ" and "DSQ" "D", "DNS"
// "E"; empty for any other text.
QString EltidStatusKode(QStringView plac);

// ---------------------------------------------------------------- one heat

// The rows of one heat of the loaded round, with what a reading may change in them as it was before the
// reading began, so that a line read again, matched anew, or a cancelled run gives each row back exactly.
class TEltidHeat {
public:
    TEltidHeat(TResultatManager& manager, qint32 heat);
    ~TEltidHeat();
    TEltidHeat(const TEltidHeat&) = delete;
    TEltidHeat& operator=(const TEltidHeat&) = delete;

    TResultatManager& Manager() const { return manager_; }
    qint32 Heat() const { return heat_; }
    // The loaded rows of the heat, in the manager's order.
    const std::vector<TResultat*>& Rows() const { return rows_; }
    // The place in Rows() (the slot) of the heat's first row of a start number or lane; -1 when none.
    int SlotOfStartnummer(qint32 startnummer) const;
    int SlotOfBane(qint32 bane) const;

    // The slot's result, thousandths, placing code, place and qualification code as before the run.
    void RestoreMatch(int slot) const;
    // Every row of the heat as before the run, its status and wind too; a row given back whole is
    // unchanged again.
    void RestoreAll() const;
    // The wind of every row of the heat.
    void SetVind(qint32 vind) const;
    // The qualification code a place gives: the next round's letter up to the round's AntalViderePlac,
    // else none.
    QString VidereKode(qint32 plac) const;

private:
    struct TBefore;
    void RestoreMatch(TResultat& row, const TBefore& before) const;
    void RestoreModified(TResultat& row, const TBefore& before) const;

    TResultatManager& manager_;
    qint32 heat_;
    std::vector<TResultat*> rows_;
    // By slot.
    std::vector<TBefore> before_;
    std::unordered_map<qint32, int> byStartnummer_;
    std::unordered_map<qint32, int> byBane_;
    QString nextRunde_;
    qint32 viderePlac_ = 0;
};

// ---------------------------------------------------------------- lines

// One line of a result file.
struct TEltidData {
    // As the file gives them (the lane "0" when the start number is given), and the time in mark notation.
    QString Plac;
    QString Bane;
    QString Startnr;
    QString Tid;
    qint32 Tusindedele = 0;
    // The row of the heat the line was matched to; null when none.
    TResultat* Resultat = nullptr;
    // That row's place among the heat's rows.
    int Slot = -1;

    // The place as a number, 0 for a place word; the stored mark, 0 without a time; the status code of
    // a place word.
    qint32 PlacNr = 0;
    qint32 Mark = 0;
    QString Kode;
    // Why the line as read can change nothing (a place that is no number nor a place word, a time that
    // is no time); empty when it can.
    QString LineFejl;
    // Why its match changes nothing (another line has the row, the row refused the values).
    QString MatchFejl;
    // Matched by its lane alone: the lane was typed.
    bool MatchByBane = false;

    qint32 BaneNr() const;
    qint32 StartNr() const;
    bool IsStatus() const { return !Kode.isEmpty(); }
    // Shown as "FEJL": it changes no row.
    bool IsFejl() const { return Resultat == nullptr || !LineFejl.isEmpty() || !MatchFejl.isEmpty(); }
    // "OK", "FEJL", or for a matched place word its list text ("DNF").
    QString StatusText() const;
    // Why the line is "FEJL"; empty when it is not.
    QString FejlText() const;
};

// What a poll did.
enum class TEltidPoll {
    // Nothing new.
    Unchanged,
    // The result file or the wind file was read: lines and wind are new.
    Read,
    // The look at the folder has not answered yet.
    Waiting
};

// ---------------------------------------------------------------- the reader

// Reads one timing system's files for one heat. The ".path" and ".files" files of the system and camera
// lie in the data folder; the result files in the folder that ".path" names, found without regard to
// case. Failures that the user must see raise Exception with a Danish message.
class TEltid {
public:
    virtual ~TEltid();
    TEltid(const TEltid&) = delete;
    TEltid& operator=(const TEltid&) = delete;

    TResultatManager& Manager() const { return heat_.Manager(); }
    qint32 Heat() const { return heat_.Heat(); }
    // The system word and the camera index: "Omega-0".
    const QString& SystemName() const { return systemName_; }
    // The convert-minutes and thousandths flags.
    void SetFlags(bool minutTilSekund, bool omega1000);
    bool MinutTilSekund() const { return minutTilSekund_; }
    bool Omega1000() const { return omega1000_; }

    // ---- Files of the data folder
    QString PathFileName() const;
    QString FilesFileName() const;
    // The folder that the ".path" file names (its first line), read anew; empty without one.
    const QString& ReadResultFolder();
    const QString& ResultFolder() const { return resultFolder_; }
    // The names to choose from: with tidligere those read before (".files"), otherwise what the folder
    // offers less those. A folder that is not there (a Windows drive, a network folder gone) gives no
    // names and says so.
    TEltidFileList GetFileList(bool tidligere);
    // The names of the last GetFileList.
    const QStringList& FileList() const { return fileList_; }
    // Adds the names to the ".files" file ("Fjern", and a heat accepted).
    void AddReadFiles(const QStringList& names) const;
    // Deletes the ".files" file ("Nulstil").
    void RemoveReadFiles() const;
    // Writes the folder of a chosen file into the ".path" file ("Sæt eltid reference").
    void SetReference(const QString& chosenFile);

    // ---- Reading
    // The result file to read; the files are read at the next poll, whatever they hold.
    void Choose(const QString& baseName);
    const QString& BaseName() const { return baseName_; }
    // Looks at the files off the calling thread, waiting for the look at most wait, and takes in what
    // changed. Raises Exception with the failure of the look.
    TEltidPoll Poll(std::chrono::milliseconds wait);
    // The same on the calling thread.
    TEltidPoll PollNow();
    // How long the look in progress has been waited for; zero when none runs.
    std::chrono::milliseconds Waiting() const;
    // Takes in what a look found; true when anything was read.
    bool Apply(const TEltidCheck& check);

    // ---- Lines, sorted by place (lines without a place last)
    const std::vector<TEltidData>& Lines() const { return lines_; }
    // The lines shown as "FEJL".
    int FejlCount() const;
    // A lane or start number typed into a line: the line is matched again by it (its old row given back
    // first). Raises for a text that is no number; nothing changes then.
    void SetLineBane(int index, const QString& text);
    void SetLineStartnr(int index, const QString& text);

    // ---- The heat's wind as the files give it
    const QString& HeatVind() const { return heatVind_; }
    // Why that wind is not taken; empty when it is one, or none was read.
    const QString& HeatVindFejl() const { return heatVindFejl_; }

    // Keeps each placing code only where two lines share a time, gives matched place words their status
    // and every row of the heat without a result or status "E".
    void Finish();

    // ---- What each system does differently
    virtual QString GetResultFileName(const QString& baseName) const = 0;
    virtual QString GetWindFileName(const QString& baseName) const = 0;

protected:
    TEltid(TEltidHeat& heat, int cameraIndex, const QString& systemWord, TEltidListing listing);

    virtual void ParseResultLine(QStringView line) = 0;
    virtual void ParseWindLine(QStringView line) = 0;
    virtual void BeginParse() = 0;

    // A line as the file gives its fields; the time as the system writes it.
    void AddLine(QStringView plac, QStringView bane, QStringView startnr, QStringView tid);
    // The heat's wind as the file gives it.
    void TakeVind(QStringView text);

private:
    void ReadResult(const QString& text);
    void ReadVind(const QString& text);
    // The next line of a reading, in the room of an earlier one where there is one.
    TEltidData& NextLine();
    void Match(TEltidData& line, bool byBane);
    void Unmatch(TEltidData& line);
    void Write(const TEltidData& line, TResultat& row) const;
    // Lines that lost their row to another line try again, once the other may have let go.
    void MatchAgain();
    TEltidData& LineAt(int index);
    TEltidPoll Take(const std::optional<TEltidCheck>& check);

    TEltidHeat& heat_;
    QString systemName_;
    TEltidListing listing_;
    bool minutTilSekund_ = false;
    bool omega1000_ = false;
    QString baseName_;
    QString resultFolder_;
    QString heatVind_;
    QString heatVindFejl_;
    std::vector<TEltidData> lines_;
    // The lines made by the reading in progress.
    std::size_t used_ = 0;
    // By the heat's slot: the row is a line's.
    std::vector<char> taken_;
    QStringList fileList_;
    std::unique_ptr<TEltidPoller> poller_;
};

class TOmega final : public TEltid {
public:
    TOmega(TEltidHeat& heat, int cameraIndex);
    QString GetResultFileName(const QString& baseName) const override;
    QString GetWindFileName(const QString& baseName) const override;

protected:
    void ParseResultLine(QStringView line) override;
    void ParseWindLine(QStringView line) override;
    void BeginParse() override;

private:
    // 1 looking for the heading, 2 for the rule under it, 3 in the lines.
    int state_ = 1;
    // 1-based columns of "Rank", "La", "Bib" and "Time"; 0 when absent.
    qsizetype rank_ = 0;
    qsizetype la_ = 0;
    qsizetype bib_ = 0;
    qsizetype time_ = 0;
};

class TAlge final : public TEltid {
public:
    TAlge(TEltidHeat& heat, int cameraIndex);
    QString GetResultFileName(const QString& baseName) const override;
    QString GetWindFileName(const QString& baseName) const override;

protected:
    void ParseResultLine(QStringView line) override;
    void ParseWindLine(QStringView line) override;
    void BeginParse() override {}
};

class TLynx final : public TEltid {
public:
    TLynx(TEltidHeat& heat, int cameraIndex);
    QString GetResultFileName(const QString& baseName) const override;
    QString GetWindFileName(const QString& baseName) const override;

protected:
    void ParseResultLine(QStringView line) override;
    void ParseWindLine(QStringView line) override;
    void BeginParse() override { line_ = 0; }

private:
    // Lines parsed of the file so far: the first is its heading.
    int line_ = 0;
};

// The timing systems in the order of the window's list.
enum class TEltidSystem : int { Omega = 0, Alge = 1, Lynx = 2 };
constexpr int EltidSystemCount = 3;
// The reader of the list's item; Omega for an item outside it.
std::unique_ptr<TEltid> MakeEltid(int eltidSystem, TEltidHeat& heat, int cameraIndex);
