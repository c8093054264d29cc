#pragma once
// The event manager: the event catalogue and the current meet's classes, event rows, rounds and venues,
// joined into one description per round (TOvelseInfo) with sorted indexes over them, and the programme
// rows that the meet wizard and the event editor edit (TEditOvelsesRaekke).
#include "foundation/Exception.h"
#include "model/D_DBDef.h"
#include "model/D_Point.h"
#include "model/D_Rekord.h"
#include "storage/DBFieldDate.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

// What the event manager did not find; 5 and 6 keep their texts but nothing raises them.
enum class TOvelseManagerErrorNo : quint16 {
    KlasseUndefined = 1,
    OvelseUndefined = 2,
    AttributUndefined = 3,
    OvelseRkUndefined = 4,
    AttributRkUndefined = 5,
    KodeRkUndefined = 6,
    AfvStedUndefined = 7
};

// "Object = <TKlOvManager>", the error number and its text.
class EOvelseManagerError : public Exception {
public:
    EOvelseManagerError(TOvelseManagerErrorNo errorNo, const QStringList& args);
    quint16 ErrorNo() const { return errorNo_; }
    // The text of the number with its arguments, without the two heading lines.
    const QString& Text() const { return text_; }

private:
    quint16 errorNo_;
    QString text_;
};

// ---------------------------------------------------------------- one round

// An index key as numbers: compared word by word, it orders as the key text it stands for. Texts of
// codes go in as their UTF-16 units, four to a word; sort codes and times as their digits.
using TOvelseInfoKey = std::array<quint64, 3>;
// The key of a text of at most twelve UTF-16 units.
TOvelseInfoKey OvelseInfoTextKey(QStringView text);

// One round of the meet, joined with its event row, class, event, attribute definition and venue. The
// elements belong to the event manager's lists; an info lives until the next build of the infos.
class TOvelseInfo {
public:
    TOvelseInfo(TOvelseElement& ovelse, TOvDefElement* ovDef, TKlasseElement& klasse,
                TOvelseRkElement& ovelseRk, TOvelseRnElement& ovelseRn, TAfvStedElement& afvSted);
    TOvelseInfo(const TOvelseInfo&) = delete;
    TOvelseInfo& operator=(const TOvelseInfo&) = delete;

    TOvelseElement& Ovelse() const { return *ovelse_; }
    // Null when the event row has no attribute.
    TOvDefElement* OvDef() const { return ovDef_; }
    TKlasseElement& Klasse() const { return *klasse_; }
    TOvelseRkElement& OvelseRk() const { return *ovelseRk_; }
    TOvelseRnElement& OvelseRn() const { return *ovelseRn_; }
    TAfvStedElement& AfvSted() const { return *afvSted_; }
    void SetAfvSted(TAfvStedElement& afvSted) { afvSted_ = &afvSted; }

    // The club points of the round, filled by the result manager.
    TPoints& Points() { return points_; }
    const TPoints& Points() const { return points_; }
    void ClearPoints() { points_.Clear(); }
    // Registers a place unless its points are 0.
    void AddPoint(const QString& key, const QString& name, const QString& extraText, qint32 placering,
                  double points);
    // The earlier rounds of the same combined event, in discipline order.
    const std::vector<TOvelseInfo*>& MKOvelser() const { return mkOvelser_; }
    std::vector<TOvelseInfo*>& MKOvelser() { return mkOvelser_; }
    // The records that apply to this round.
    const std::vector<TRekord*>& Rekorder() const { return rekorder_; }
    std::vector<TRekord*>& Rekorder() { return rekorder_; }

    // ---- Codes, trimmed as stored
    QString GetKlasseKode() const;
    QString GetOvelseKode() const;
    QString GetAttributKode() const;
    QString GetStedKode() const;

    // ---- Date and time
    // 1 Monday .. 7 Sunday.
    int GetUgedag() const;
    TDateTime GetDato() const;
    // The round's time of day plus the meet's start time.
    TDateTime GetTid() const;
    // The start of heat n: TidPrHeat seconds per heat after GetTid.
    TDateTime GetHeatTid(int heat) const;
    // Empty without a time; else the day name, "  kl. " (or the translated word) and "h.nn".
    QString GetDatoTidText() const;

    // ---- The round's and the row's settings
    qint32 GetAntalPrHeat() const;
    qint32 GetHeatinddeling() const;
    qint32 GetBanefordeling() const;
    qint32 GetBanenummerering() const;
    qint32 GetTidPrHeat() const;
    qint32 GetAntalPrHold() const;
    QString GetMKOvelse() const;
    qint32 GetMKOvelseNr() const;
    // The row's own computation (stored one higher), else the meet's.
    qint32 GetPointBeregning() const;
    bool IsFinaleType1() const;
    bool IsFinaleType2() const;
    bool HasVindmaaling() const;
    bool IsVindPrHeat() const;
    bool IsVindPrForsog() const;

    // ---- Rounds of the row
    // The round's letter; the row's first when the round has none; empty when the row has no rounds.
    QString GetRunde() const;
    // The letter after this round's in the row's rounds; the zero character for the last.
    QChar GetNextRunde() const;
    // 1-based position of the letter in the row's rounds (1 without a letter; 0 when it is not there).
    int GetRundeNr() const;
    int GetAntalRunder() const;
    bool IsLastRunde() const;

    // ---- Texts
    QString GetRundeText() const;
    QString GetKlasseText() const;
    QString GetOvelseText() const;
    QString GetKlasseOvelseText() const;
    QString GetKlasseOvelseKode() const;
    QString GetAttributText() const;
    // Heat n as a number, or as its letter in a lettered final; never past "Z".
    QString GetHeatNavn(int heat) const;
    QString GetHeatText(int heat) const;
    QString GetHeatAntalText(int heat) const;

    // ---- Index keys
    // Class sort code, event sort code, round level.
    QString GetKlasseSortKey() const;
    // Event sort code, round level, class sort code.
    QString GetOvelseSortKey() const;
    // "yyyymmddhhnnss", venue sort code, class key.
    QString GetTidSortKey() const;
    // Venue sort code, "yyyymmddhhnnss", class key.
    QString GetStedTidSortKey() const;
    // Class code in 3, event code in 6, round letter in 1: upper-cased.
    QString GetKodeKey() const;
    // Combined event in 6 and discipline number in 3; empty when the row is no discipline.
    QString GetMKKey() const;
    // "yyyymmddhhnnss" of the round's date and time.
    QString GetDatoTidKey() const;
    // The six keys above at once, each as numbers that compare as its text does.
    struct TIndexKeys {
        TOvelseInfoKey Klasse;
        TOvelseInfoKey Ovelse;
        // Its first word is the date and time alone: rounds of one second have the same.
        TOvelseInfoKey Tid;
        TOvelseInfoKey StedTid;
        TOvelseInfoKey Kode;
        TOvelseInfoKey MK;
        // The round is a discipline of a combined event: MK counts.
        bool HasMK = false;
    };
    TIndexKeys GetIndexKeys() const;

    // Set by the result manager.
    qint32 AntalAktiveDeltagere = 0;
    qint32 AntalDeltagere = 0;
    qint32 AntalHeat = 0;
    qint32 MaxHeatNr = 0;
    qint32 AntalResultater = 0;
    bool Heat0Findes = false;
    bool SeedningFindes = false;
    bool ResultaterFindes = false;
    // The latest change of the round's result records; 0 when none.
    TDateTime SidstRettet = 0;

private:
    // The stored round letter, upper-cased; empty for none.
    QString StoredRunde() const;
    QString Runder() const;
    // 1 first round or qualification, 2 second round, 3 semi-final, 4 final or none; right-justified in 2.
    QString RundeLevel() const;
    static QString RundeLevelOf(const QString& runde);
    QString KodeKey(const QString& storedRunde) const;
    QString KlasseSortKey(const QString& level) const;
    QString StedSortCode() const;
    QString DatoTidKey() const;
    // A lettered final's letter for the heat; empty when the heat has none.
    QString HeatLetter(int heat) const;
    QString HeatWord(bool engelskGroup) const;

    TPoints points_;
    std::vector<TOvelseInfo*> mkOvelser_;
    std::vector<TRekord*> rekorder_;
    TOvelseElement* ovelse_;
    TOvDefElement* ovDef_;
    TKlasseElement* klasse_;
    TOvelseRkElement* ovelseRk_;
    TOvelseRnElement* ovelseRn_;
    TAfvStedElement* afvSted_;
};

// The infos of a build in blocks of many, each info in place until the store is cleared; the blocks stay
// for the next build, which then takes no memory of its own.
class TOvelseInfoStore {
public:
    template <typename... Args>
    TOvelseInfo& Emplace(Args&&... args) {
        if (count_ == blocks_.size() * BlockSize)
            blocks_.push_back(std::make_unique<std::optional<TOvelseInfo>[]>(BlockSize));
        std::optional<TOvelseInfo>& slot = blocks_[count_ / BlockSize][count_ % BlockSize];
        ++count_;
        return slot.emplace(std::forward<Args>(args)...);
    }
    TOvelseInfo& operator[](std::size_t index) const {
        return *blocks_[index / BlockSize][index % BlockSize];
    }
    TOvelseInfo& at(std::size_t index) const;
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    void clear();

private:
    static constexpr std::size_t BlockSize = 256;
    std::vector<std::unique_ptr<std::optional<TOvelseInfo>[]>> blocks_;
    std::size_t count_ = 0;
};

// The marks of the round's event (D_Tekster's routines with its event's type and result type, and
// whether the round measures wind).
QString FormatOvelseResultat(const TOvelseInfo& info, qint32 resultat, qint32 vind);
QString FormatOvelseResultatNoWind(const TOvelseInfo& info, qint32 resultat);
QString FormatOvelseResultatTenths(const TOvelseInfo& info, qint32 resultat);
// ParseResultat with the result type of the round's event.
qint32 ParseOvelseResultat(const TOvelseInfo& info, const QString& text);

// Infos under keys, in key order; equal keys keep the order they were added in.
class TOvelseInfoIndex {
public:
    void Add(const TOvelseInfoKey& key, TOvelseInfo* info);
    // For many at once: Append each, then Sort once.
    void Append(const TOvelseInfoKey& key, TOvelseInfo* info) { items_.emplace_back(key, info); }
    void Sort();
    int Count() const { return static_cast<int>(items_.size()); }
    TOvelseInfo* GetItem(int pos) const { return items_.at(static_cast<std::size_t>(pos)).second; }
    const TOvelseInfoKey& GetKey(int pos) const { return items_.at(static_cast<std::size_t>(pos)).first; }
    // The position of the first entry with this key; -1 when none.
    int IndexOf(const TOvelseInfoKey& key) const;
    void Clear() { items_.clear(); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<std::pair<TOvelseInfoKey, TOvelseInfo*>> items_;
};

// ---------------------------------------------------------------- programme rows

constexpr int EditRundeSlots = 4;
// The class number of a row whose class is not one of the 62 standard classes.
constexpr qint32 NoStdKlasse = -1;

struct TEditRundeData {
    TDateTime DatoTid = 0;
    QString Sted;
    qint32 ResType = 0;
    qint32 Heatinddeling = 0;
};

// One class and event of the programme as the wizard and the event editor edit it.
struct TEditOvelseData {
    // Position in the standard class table, NoStdKlasse for a class of the meet's own; the class code is
    // then the meet's own code.
    qint32 KlasseNr = 0;
    QString Klasse;
    QString Ovelse;
    QString Attribut;
    QString AttributTekst;
    qint32 Ovtype = 0;
    // The event's sort code.
    qint32 OvelseNr = 0;
    qint32 AntalPrHeat = 0;
    double Startgebyr1 = 0;
    double Efteranmgebyr1 = 0;
    double Strafgebyr1 = 0;
    double Startgebyr2 = 0;
    double Efteranmgebyr2 = 0;
    double Strafgebyr2 = 0;
    // The round letters in running order; a slot per letter for the first four.
    QString Runder;
    std::array<TEditRundeData, EditRundeSlots> Runde;
    QString HoldBaneFordeling;

    // Slot n, 1-based.
    TEditRundeData& Slot(int n) { return Runde.at(static_cast<std::size_t>(n - 1)); }
    const TEditRundeData& Slot(int n) const { return Runde.at(static_cast<std::size_t>(n - 1)); }
};

// By class number, then event number; -1, 0 or 1.
int CompareKlasseOvelse(const TEditOvelseData& a, const TEditOvelseData& b);
// By event number, then class number.
int CompareOvelseKlasse(const TEditOvelseData& a, const TEditOvelseData& b);

class TEditOvelsesRaekke {
public:
    TEditOvelsesRaekke() = default;
    TEditOvelsesRaekke(const TEditOvelsesRaekke&) = delete;
    TEditOvelsesRaekke& operator=(const TEditOvelsesRaekke&) = delete;

    void Clear() { rows_.clear(); }
    TEditOvelseData* Add(std::unique_ptr<TEditOvelseData> row);
    // Inserts before the first row that is not smaller in class-then-event order. A row equal to one
    // there on both numbers is freed instead; false then.
    bool AddSorted(std::unique_ptr<TEditOvelseData> row);
    // Takes the row out and hands it back; null when it is not in the list.
    std::unique_ptr<TEditOvelseData> Remove(const TEditOvelseData* row);
    // Frees every row for which unwanted is true, in one pass; the others keep their order. The number
    // freed.
    int RemoveIf(const std::function<bool(const TEditOvelseData&)>& unwanted);
    int GetCount() const { return static_cast<int>(rows_.size()); }
    TEditOvelseData* GetItem(int index) const { return rows_.at(static_cast<std::size_t>(index)).get(); }
    void SortByKlasse();
    void SortByOvelse();

private:
    std::vector<std::unique_ptr<TEditOvelseData>> rows_;
};

// ---------------------------------------------------------------- the manager

// The one event manager is the global OvelseManager. Lookups by code compare codes trimmed and
// upper-cased and take the first element in the list's current order; the element found becomes its
// list's current one. Writing programme rows matches codes exactly, as stored.
class TOvelseManager {
public:
    // Opens the six tables in ProgramDir and reads the catalogue; no meet's programme yet.
    TOvelseManager();
    ~TOvelseManager();
    TOvelseManager(const TOvelseManager&) = delete;
    TOvelseManager& operator=(const TOvelseManager&) = delete;

    // Reads the current meet's programme anew: makes the meet's folder when missing, reloads the six
    // lists, orders classes and venues by their sort codes, reads the records lists the meet names and
    // builds the infos. A round whose class, event, event row, attribute or venue is missing is left out
    // and reported once for the whole build.
    void Reload();
    // Reload, unless the programme's files are as they were at the last Reload of this meet (no record of
    // them changed since, in this program or another). True when it read the programme.
    bool ReloadIfChanged();
    // The meet whose programme the last Reload read; -1 before the first.
    qint32 GetReloadedStID() const { return reloadedStID_; }
    bool IsModified() const;
    // Stores every list; stamps the meet's OvelseRettet when anything had changed. False when a record
    // could not be written (the user has been told; the change stays pending).
    bool Save();
    // Looks every round's venue up again (error 7) and rebuilds the indexes and the combined events' links.
    void Reindex();
    // Builds the round descriptions and their indexes anew from the lists as they stand. A round whose
    // class, event, event row, attribute or venue is missing is left out and reported once.
    void BuildInfos();

    // ---- Rounds
    int GetInfoCount() const { return static_cast<int>(infos_.size()); }
    TOvelseInfo* GetInfo(int index) const { return &infos_.at(static_cast<std::size_t>(index)); }
    // The round of a class, event and round letter. A blank letter (or the zero character) is the round
    // stored without one; a letter not stored finds the row's first round when that letter is its first.
    TOvelseInfo* FindOvelseInfo(const QString& klasse, const QString& ovelse, const QString& runde) const;
    // The same with fields 3, 4 and 5 of a result or round record.
    TOvelseInfo* FindOvelseInfoByRecord(const TDataElement& record) const;
    TOvelseInfo* FindOvelseInfoByRecord(const TDataTable& record) const;
    // The rounds of a class's event, in time order as TidIndex has them; codes compared trimmed and
    // upper-cased. Through a table made at the first call after each build of the indexes, so that many
    // lookups cost no walk over the meet each.
    const std::vector<TOvelseInfo*>& FindKlasseOvelseInfos(const QString& klasse,
                                                           const QString& ovelse) const;
    // The round that follows in its event row; null after the last.
    TOvelseInfo* FindNextRundeInfo(const TOvelseInfo& info) const;
    // The classes that have a round, each once, in programme order.
    std::vector<TKlasseElement*> GetKlasser() const;
    bool IsKlasseUsed(const QString& klasse) const;
    bool IsAfvStedUsed(const QString& sted) const;

    // ---- The six indexes
    const TOvelseInfoIndex& KlasseIndex() const { return index_[0]; }
    const TOvelseInfoIndex& OvelseIndex() const { return index_[1]; }
    const TOvelseInfoIndex& TidIndex() const { return index_[2]; }
    const TOvelseInfoIndex& StedTidIndex() const { return index_[3]; }
    const TOvelseInfoIndex& KodeIndex() const { return index_[4]; }
    const TOvelseInfoIndex& MangekampIndex() const { return index_[5]; }

    // ---- Lookups; pos, when given, gets the position (-1 when not found)
    TOvelseElement* FindOvelse(const QString& ovelse, int* pos = nullptr);
    TKlasseElement* FindKlasse(const QString& klasse, int* pos = nullptr);
    TOvelseRkElement* FindOvelseRk(const QString& klasse, const QString& ovelse, int* pos = nullptr);
    TAfvStedElement* FindAfvSted(const QString& sted, int* pos = nullptr);
    TOvDefElement* FindOvDef(const QString& ovelse, const QString& attribut, int* pos = nullptr);
    // The same, raising errors 2, 1, 4 and 7.
    TOvelseElement& LocateOvelse(const QString& ovelse);
    TKlasseElement& LocateKlasse(const QString& klasse);
    TOvelseRkElement& LocateOvelseRk(const QString& klasse, const QString& ovelse);
    TAfvStedElement& LocateAfvSted(const QString& sted);

    // ---- New records (stored by Save)
    // A record with the code trimmed and upper-cased; null when one has the code already.
    TKlasseElement* AddKlasse(const QString& klasse);
    TAfvStedElement* AddAfvSted(const QString& sted);
    TOvelseRkElement& AddOvelseRk(TKlasseElement& klasse, TOvelseElement& ovelse, TOvDefElement* ovDef);
    TOvelseRnElement& AddOvelseRn(TOvelseRkElement& ovelseRk);

    // ---- Programme rows
    // One row per class and event in programme order.
    void LoadEditOvelsesRaekke(TEditOvelsesRaekke& raekke) const;
    // Writes the rows into the meet's records and saves them. With chosen standard classes (numbers in
    // the standard class table) the meet's classes become those: a standard class not chosen goes with
    // its event rows and rounds, while the meet's own (non-standard) classes stay. Without, only the
    // classes the meet has are written. Rows of an event not in the catalogue are passed over, a missing
    // venue is created. On failure the lists are read back from the files and the error passes on.
    // False when a record could not be stored: the user has been told, and what was not stored stays
    // pending in the lists for the next save.
    bool SaveEditOvelsesRaekke(const std::vector<int>* klasser, const TEditOvelsesRaekke& raekke);

    // ---- Lists and records lists
    TOvelseList& OvelseList() { return *ovelseList_; }
    TOvDefList& OvDefList() { return *ovDefList_; }
    TKlasseList& KlasseList() { return *klasseList_; }
    TOvelseRkList& OvelseRkList() { return *ovelseRkList_; }
    TOvelseRnList& OvelseRnList() { return *ovelseRnList_; }
    TAfvStedList& AfvStedList() { return *afvStedList_; }
    int GetRekorderCount() const { return static_cast<int>(rekorder_.size()); }
    TRekorder* GetRekorder(int index) const { return rekorder_.at(static_cast<std::size_t>(index)).get(); }

private:
    class TRaekkeWriter;

    template <typename List>
    List* AddList(TRecordFileNo file);

    void ReloadLists();
    std::vector<quint32> ChangeCounts() const;
    void LoadRekorder();
    class TJoiner;
    // The six indexes anew over every info.
    void IndexInfos();
    // Before the infos go or change.
    void ClearIndexes();
    void LinkMangekamp();
    void AttachRekorder();

    TOvelseInfoStore infos_;
    std::vector<std::unique_ptr<TRekorder>> rekorder_;
    std::array<TOvelseInfoIndex, 6> index_;
    // FindKlasseOvelseInfos's table, made when first asked for; empty again with the indexes.
    mutable std::unordered_map<QString, std::vector<TOvelseInfo*>> byKlasseOvelse_;
    // The six files; each list reads the table of the same place. The lists go before the tables.
    std::vector<std::unique_ptr<TZunoDataTable>> tables_;
    std::vector<std::unique_ptr<TZunoDataList>> lists_;
    TOvelseList* ovelseList_;
    TOvDefList* ovDefList_;
    TKlasseList* klasseList_;
    TOvelseRkList* ovelseRkList_;
    TOvelseRnList* ovelseRnList_;
    TAfvStedList* afvStedList_;
    qint32 reloadedStID_ = -1;
    // The six files' change counts as the last Reload found them before it read.
    std::vector<quint32> reloadedChanges_;
};
