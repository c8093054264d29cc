#pragma once
// The results of an event round: one participant's entry and result (TResultat) with its attempt,
// height or leg series (TSerier of TSerie), and the result manager (TResultatManager) that reads a
// round's rows from the result records joined with their participants and clubs, writes them back,
// keeps the rounds' counters, sorts the rows, places them, marks and moves the qualifiers for the next
// round, and makes the team results (D_ResultHold.h) and the totals of a combined event.
//
// A manager sorts by the rules of its own round: every comparison takes the rules of the sort it belongs
// to, so managers of different rounds sort side by side, whichever was made last.
#include "foundation/Exception.h"
#include "model/D_DBDef.h"
#include "model/D_ResultColumn.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <unordered_map>
#include <vector>

class TOvelseInfo;
class TOvelseInfoIndex;
class TPlaceringsPoint;
class TPointTabel;
class TPoints;
class TResultat;
class TResultatManager;
class TResultatRecordTable;
class TResultSort;
class THoldResultater;
class QCollator;
class TSeedDraw;
class TSeedRows;

// A result that cannot be set or written; the message is the one the user is shown.
class EResultError : public Exception {
public:
    using Exception::Exception;
};

// ---------------------------------------------------------------- attempts

// Values of an attempt besides marks.
constexpr qint32 SerieTom = -999999999;
constexpr qint32 SeriePas = -999999998;
constexpr qint32 SerieUgyldig = 0;

// The digits of a vertical-jump attempt code, one per try at a height.
enum class TForsog : int { Pas = 1, Fejl = 2, Klaret = 3 };
constexpr int MaxForsogPrHoejde = 3;

// No wind given with a horizontal-jump attempt.
constexpr qint32 SerieUdenVind = 999;

// One attempt; in vertical jumps one height with its tries, in relays one leg (the member's start number).
struct TSerie {
    // The mark in the event's stored form, the height, or the member's start number.
    qint32 Value = SerieTom;
    // Vertical jumps: the tries as digits of TForsog; horizontal jumps with wind per attempt: the wind.
    qint32 Kode = 0;
    // A mark number shown as "n:" before a height; 0 for none.
    qint32 SerieNr = 0;
    qint32 Point1 = 0;
    qint32 Point2 = 0;
    // Kept as stored; nothing here sets it.
    QString Tekst;

    bool IsEmpty() const { return Value == SerieTom; }
    bool IsPass() const { return Value == SeriePas; }
    bool IsFoul() const { return Value == SerieUgyldig; }
    // Neither empty, a pass nor a foul.
    bool IsMark() const { return !IsEmpty() && !IsPass() && !IsFoul(); }
    // Vertical jumps: the tries hold a clearance.
    bool IsCleared() const;
};

// A row's attempts in order. Clear, Add and Delete count as edits of the row's series.
class TSerier {
public:
    explicit TSerier(TResultat* owner = nullptr);
    TSerier(const TSerier&) = delete;
    TSerier& operator=(const TSerier&) = delete;

    void Clear();
    // An empty attempt at the end; its index.
    int Add();
    // Ignored outside the series.
    void Delete(int index);
    int Count() const { return static_cast<int>(items_.size()); }
    // Null outside the series.
    TSerie* GetSerie(int index) const;

    // The stored form: a 32-bit count, then each attempt as a 16-bit field count (6) and its fields
    // Value, Kode, SerieNr, Tekst (16-bit length and Windows-1252 bytes), Point1, Point2, all
    // little-endian. No attempts give no bytes.
    QByteArray SaveToString() const;
    // Replaces the attempts with those of a stored form. Fewer than 4 bytes hold no attempts. A form
    // whose count is negative or more than its bytes can hold, whose attempt has more than six fields or
    // ends inside one is damaged: the whole attempts before the fault are kept and false is returned.
    bool LoadFromString(const QByteArray& blob);
    // Text keys of equal results: a larger key is the better performance (see TResultat); empty for
    // events of other types.
    QString GetTieBreakKey(qint32 ovtype) const;

    TResultat* Owner() const { return owner_; }
    // Where the attempts lie in memory, for a pass over many rows to ask for them ahead.
    const void* Storage() const { return items_.data(); }

private:
    void Edited();

    TResultat* owner_;
    // In one block: a sort over a big round reads every row's attempts, and one allocation per attempt
    // scatters them over the heap. A pointer GetSerie gives holds until the attempts are added or deleted.
    std::vector<TSerie> items_;
};

// ---------------------------------------------------------------- rows

// Which record a row was read from: meet, class, event, round letter (trimmed) and start number.
struct TResultatKey {
    qint32 StID = -1;
    QString Klasse;
    QString Ovelse;
    QString Runde;
    qint32 Startnummer = 0;

    bool operator==(const TResultatKey&) const = default;
};

// Heat numbers run from 1 to 255; 0 is no heat.
constexpr qint32 MaxHeatNr = 255;

// A code of a row whose status every sort, placing or points pass reads: each assignment keeps the status
// in a byte among the row's hot fields, so that it is read without the code's own memory. The code is read
// as a QString and changed only by assignment.
template <quint8 (*StatusOf)(const QString&)>
class TStatusKode {
public:
    explicit TStatusKode(quint8& status)
        : status_(status) {}
    TStatusKode(const TStatusKode&) = delete;
    TStatusKode& operator=(const TStatusKode& other) { return *this = other.text_; }
    TStatusKode& operator=(const QString& text) {
        text_ = text;
        status_ = StatusOf(text_);
        return *this;
    }
    TStatusKode& operator=(QString&& text) {
        text_ = std::move(text);
        status_ = StatusOf(text_);
        return *this;
    }

    operator const QString&() const { return text_; }
    const QString& Text() const { return text_; }

    friend bool operator==(const TStatusKode& a, const QString& b) { return a.text_ == b; }
    friend bool operator==(const TStatusKode& a, const char* b) { return a.text_ == QString::fromUtf8(b); }

private:
    QString text_;
    quint8& status_;
};

// The status of a result code: 0 for none (blank), else its place among the codes (2 to 7).
quint8 ResKodeStatus(const QString& text);
// The marks of an out-of-competition code: UdenforKonkUK, UdenforKonkHold, or none.
quint8 UdenforKonkStatus(const QString& text);
constexpr quint8 UdenforKonkUK = 1;
constexpr quint8 UdenforKonkHold = 2;

using TResKode = TStatusKode<ResKodeStatus>;
using TUdenforKonk = TStatusKode<UdenforKonkStatus>;

// One participant's entry and result in one round. Owned by its manager; the comparisons read the
// fields directly. Every setter changes a value only when it fits where it is stored (EResultError
// otherwise) and sets Modified when the value changed.
class TResultat {
public:
    TResultat(TResultatManager* manager, TOvelseInfo* ovelseInfo);
    ~TResultat();
    TResultat(const TResultat&) = delete;
    TResultat& operator=(const TResultat&) = delete;

private:
    // The sort that indexed the row last and the row's place in it: read for every row a sort compares,
    // so they open the row.
    mutable const TResultSort* sortOwner_ = nullptr;
    mutable std::size_t sortSlot_ = 0;

public:
    TResultatManager* Manager;
    TOvelseInfo* OvelseInfo;
    // What sorting, placing, seeding and points read of every row lies first, together: over a big round
    // each row then costs a few cache lines instead of one per field. What seeding reads and writes comes
    // first, in 26 bytes, so that it mostly costs one line.
    qint32 Startnummer = 0;
    qint32 Seedning = 0;
    qint32 SG = 0;
    quint16 Heat = 0;
    quint16 Side = 0;
    quint16 Bane = 0;
    quint16 Rank = 0;
    quint16 Lodtraekning = 0;
    quint16 SeedLodtraekning = 0;

private:
    // RK's status, beside the fields the sorts read; RK keeps it.
    quint8 rkStatus_ = 0;

public:
    bool Modified = false;
    quint16 Efter = 0;
    qint32 Resultat = 0;
    qint32 Vind = 0;
    qint32 PR = 0;
    qint32 Tusindedele = 0;
    qint32 KlubNr = 0;
    quint16 PK = 0;
    quint16 Plac = 0;

private:
    // UK's marks, in the line of Plac.
    quint8 ukStatus_ = 0;

public:
    // Read with UK's marks by every points pass.
    QChar Holdkode;
    double Point = 0;
    quint16 Aargang = 0;
    QChar Koen;
    QChar Runde;
    bool DeltagerModified = false;
    // The position of the row's record in the result file.
    quint32 Position = 0;
    TResKode RK{rkStatus_};
    TUdenforKonk UK{ukStatus_};
    QString VK;
    // The club's name; in a team's row the team key.
    QString Klub;
    QString Navn;
    TSerier Serier;
    QString Bem;
    // A time kept in memory only.
    qint32 ScanningTid = 0;
    quint16 Licensnummer = 0;
    QString KortNavn;
    qint32 Point3 = 0;
    QString Klasse;
    QString Ovelse;
    qint32 Reaktion = 0;
    QString Bem2;
    QString KlubAdresse5;
    double MKPointSum = -1.0;
    qint32 MKPoint3Sum = -1;
    qint32 BestLegalResultat = 0;
    qint32 BestLegalVind = 0;
    qint32 VTPoint = 0;
    qint32 VeteranPoint2 = 0;
    // Combined events. A combined row counts its wind-measured disciplines and keeps the wind above an
    // average of 2.0 m/s (tenths, 0 when none); its BestLegalResultat and BestLegalVind then hold the points
    // lost by counting a jump with lower wind and the average wind with that jump. A discipline row keeps
    // the number of that jump (1-based; 0 for none).
    qint32 windDisciplines = 0;
    qint32 windExcess = 0;
    qint32 alternativeAttempt = 0;

    // ---- Columns; "???" for a column without a text.
    QString GetFieldText(TResultColumn column) const;
    QString GetFieldEditText(TResultColumn column) const;
    // Parses the text into the column; a text the column's parser refuses raises and changes nothing.
    // Columns that are not written ignore the text.
    void SetFieldText(TResultColumn column, const QString& text);

    // ---- Setters
    void SetHeat(qint32 value);
    void SetRank(qint32 value);
    void SetEfter(qint32 value);
    void SetRK(const QString& value);
    void SetBem(const QString& value);
    void SetBem2(const QString& value);
    void SetTusindedele(qint32 value);
    void SetSeedning(qint32 value);
    void SetSG(qint32 value);
    void SetResultat(qint32 value);
    void SetReaktion(qint32 value);
    void SetPR(qint32 value);
    void SetPK(qint32 value);
    void SetPlac(qint32 value);
    void SetSide(qint32 value);
    void SetBane(qint32 value);
    void SetVK(const QString& value);
    void SetPoint(double value);
    void SetPoint3(qint32 value);
    void SetVind(qint32 value);
    void SetUK(const QString& value);
    void SetVTPoint(qint32 value);

    // ---- Series
    int GetSerieCount() const { return Serier.Count(); }
    TSerie* GetSerie(int index) const;
    void ClearSerier();
    QString GetSerieText(int index) const;
    // With raw numbers, as they are typed.
    QString GetSerieEditText(int index) const;
    // Parses the text into attempt index, appending empty attempts up to it; a text that is no attempt
    // raises and changes nothing.
    void SetSerieText(int index, const QString& text);
    // Result and wind from the best attempt (series events).
    void CalcSerieResultat();
    void RemoveEmptySerier();
    // Corrects every mark of a field event's series, else the result (a time in hundredths of a second).
    void AddKorrektion(qint32 delta);
    // Raises EResultError, naming the row, when the correction would take a mark to 0 or below (a foul)
    // or past what a mark can hold.
    void CheckKorrektion(qint32 delta) const;
    // The stored series could not be read whole; it is written back only once it was edited.
    bool IsSerieDamaged() const { return stored_.SerieDamaged; }
    // The participant's record was found when the row was read.
    bool HasDeltager() const { return stored_.HasDeltager; }

    // ---- Predicates
    bool HasHeat() const { return Heat != 0; }
    bool HasPoint() const { return Point != 0; }
    bool HasReaktion() const { return Reaktion != 0; }
    bool HasSerier() const { return Serier.Count() > 0; }
    bool HasResultat() const;
    bool IsValid() const { return rkStatus_ == 0; }
    bool HasStarted() const;
    bool IsAfbud() const;
    bool IsEjMoedt() const;
    bool IsVenter() const;
    bool IsUK() const { return (ukStatus_ & UdenforKonkUK) != 0; }
    bool IsUdenforHold() const { return (ukStatus_ & UdenforKonkHold) != 0; }
    bool IsVindLegal() const;
    bool IsModified() const { return Modified || DeltagerModified; }
    bool IsKvinde() const;
    // A mark or time of its own: a status or attempts without a valid mark are none. Only such rows
    // qualify for the next round or count for a team.
    bool hasMark() const { return Resultat != 0; }

    // ---- Orders (smaller first)
    int GetStatusOrder() const { return rkStatus_ == 0 ? 0 : rkStatus_ + (HasHeat() ? 10 : 20); }
    int GetStatusOrderUK() const;
    int GetHeatOrder() const;

    // ---- Texts
    QString GetNavnAargang() const;
    QString GetNavnAargangKlub() const;
    // Surname first, or as typed with the meet setting UndladInternationaltNavn.
    QString GetFormattedNavn() const;
    QString GetKlub() const { return Klub; }
    QString GetBaneSide() const;

    // ---- Derived numbers
    // Age in the year of the round's date; 0 when unknown or outside 0..125.
    int CalcAlder(int aargang) const;
    int GetAlder() const;
    qint32 GetPRForbedring() const;
    qint32 GetAlderRes() const;
    qint32 GetAlderRes2() const;
    // Points by place from the manager's table 1..4.
    qint32 GetPlaceringsPoint(int table) const;
    qint32 GetPlaceringsPoint1() const;
    qint32 GetPlaceringsPoint2() const;
    qint32 GetPlaceringsPoint3() const;
    qint32 GetPlaceringsPoint4() const;
    qint32 GetVeteranPoint(const TPointTabel* menTable, const TPointTabel* womenTable) const;
    qint32 GetVeteranPoint2(const TPointTabel* menTable, const TPointTabel* womenTable) const;
    double GetMKPoint();
    qint32 GetMKPoint3();
    // Raises "Ikke tilladt at indlægge resultat på heat 0" without a heat, outside fun-run meets.
    void CheckHeat() const;

    // The event type of the row's round; 0 without one.
    qint32 Ovtype() const;

private:
    friend class TSerier;
    friend class TResultatManager;
    friend class TResultSort;

    // What the row was read from, for writing it back.
    struct TStored {
        TResultatKey Key;
        // The stored series as read, without its length.
        QByteArray Serie;
        bool SerieDamaged = false;
        bool SerieEdited = false;
        bool HasDeltager = false;
    };

    QString SerieText(int index, bool edit) const;
    qint32 VeteranPoint(qint32 alderRes, const TPointTabel* menTable, const TPointTabel* womenTable) const;
    QString FormatMark(qint32 value) const;
    qint32 ParseMark(const QString& text) const;
    bool IsSerieOvelse() const;
    bool IsVindPrForsog() const;
    void SerieEdited() { stored_.SerieEdited = true; }
    void SetText(QString& field, const QString& value, TResultColumn column);
    template <quint8 (*StatusOf)(const QString&)>
    void SetKode(TStatusKode<StatusOf>& field, const QString& value, TResultColumn column);
    void SetParticipantField(TResultColumn column, const QString& text);
    // A wind as the row stores it; raises when it does not fit.
    static qint32 CheckedVind(qint32 value);

    TStored stored_;
};

// ---------------------------------------------------------------- combined events

// The rows of one discipline of a combined event, as loaded; rows are not replaced afterwards.
class TMKResultat {
public:
    explicit TMKResultat(TOvelseInfo* ovelseInfo)
        : OvelseInfo(ovelseInfo) {}

    void Clear() { Resultater.clear(); }
    int Count() const { return static_cast<int>(Resultater.size()); }
    TResultat* GetResultat(int index) const { return Resultater[static_cast<std::size_t>(index)].get(); }
    // The first row of the start number; -1 when none.
    int IndexOfStartnummer(qint32 startnummer) const;

    TOvelseInfo* OvelseInfo;
    std::vector<std::unique_ptr<TResultat>> Resultater;

private:
    void Reindex() const;

    // Row index by start number, made on first use and again when the rows no longer match it.
    mutable std::unordered_map<qint32, int> index_;
    mutable std::size_t indexed_ = 0;
};

// ---------------------------------------------------------------- comparisons

// The rules of a round that the comparisons follow.
struct TResultRules {
    qint32 Ovtype = 0;
    // Hundredths added to hand times of seeding marks.
    qint32 EltidKorr = 0;
    bool RankAsSeedning = false;
    // 0 places by heat, 1 over all heats.
    qint32 ResType = 0;
    qint32 FinaleType = 0;

    bool IsTid() const;
    // Jumps and throws: equal results are told apart by the series.
    bool HasTieBreak() const;
    // Places by heat, each heat a final of its own (A, B, ...), the places counting on over them.
    bool IsLetteredFinals() const { return ResType == 0 && (FinaleType == 1 || FinaleType == 2); }
};
TResultRules RulesOf(const TOvelseInfo* info);

// A stored mark as the comparisons see it: a hand time in hundredths (with the timing correction when
// asked), no time as the slowest.
qint64 CompareValue(const TResultRules& rules, qint32 value, bool withKorrektion);

// One sort: the rules of the round it follows, and the keys its comparisons need, each made once per row
// and kept for the sort's lifetime (rows are not edited while they are sorted and compared). The orders
// it knows are sorted on one array of whole-number keys per row, its texts turned into their ranks among
// the rows; a later sort of some of the same rows under the same sort reuses those ranks.
class TResultSort {
public:
    explicit TResultSort(const TResultRules& rules);
    ~TResultSort();
    TResultSort(const TResultSort&) = delete;
    TResultSort& operator=(const TResultSort&) = delete;

    const TResultRules& Rules() const { return rules_; }
    // The rows the sort is about: their keys are kept with them rather than searched for.
    void Index(const std::vector<TResultat*>& rows) const;
    void Index(const std::vector<std::unique_ptr<TResultat>>& rows) const;
    // Whether every one of the rows is among those indexed last.
    bool Holds(const std::vector<TResultat*>& rows) const;
    bool Holds(const std::vector<std::unique_ptr<TResultat>>& rows) const;

    // The series' tie-break key (TSerier::GetTieBreakKey) by the rules' event type.
    const QString& TieBreakKey(const TResultat& row) const;
    // The name and the club, upper-cased.
    const QString& NavnKey(const TResultat& row) const;
    const QString& KlubKey(const TResultat& row) const;
    // Names and clubs compared in Danish order; below zero when a comes first.
    int CompareNavn(const TResultat& a, const TResultat& b) const;
    int CompareKlub(const TResultat& a, const TResultat& b) const;
    // Tie-break keys compared; below zero when a's is smaller (the worse performance).
    int CompareTieBreak(const TResultat& a, const TResultat& b) const;

    // What the sort keeps of the texts of the indexed rows: each row's rank among them.
    enum class TText { Navn, Klub, TieBreak };
    // The rank of an indexed row's text among the indexed rows, equal texts ranked alike.
    qint32 TextRank(TText text, const TResultat& row) const;
    // Whether those ranks are made.
    bool HasTextRanks(TText text) const { return !ranks_[std::size_t(text)].empty(); }
    // The ranks of the texts of these rows among themselves.
    std::vector<qint32> RankTexts(TText text, const std::vector<const TResultat*>& rows) const;
    // Makes the ranks of the text among all the indexed rows when a sort must tell apart runs of tied
    // rows holding at least half of them by it: run by run that would cost about as much, and every
    // later sort under this one would pay it again.
    void RankForRuns(TText text, std::size_t tied) const;

private:
    template <typename Rows>
    void IndexRows(const Rows& rows) const;
    template <typename Rows>
    bool HoldsRows(const Rows& rows) const;
    // The row's key of the text, made when first asked for.
    std::optional<QString>& KeyOf(TText text, const TResultat& row) const;
    // The row's key of the text made anew, and the one made already for an indexed row if any.
    QString MakeKey(TText text, const TResultat& row) const;
    const QString* MadeKey(TText text, const TResultat& row) const;
    // The row's key of the text, made and kept when first asked for.
    const QString& KeyFor(TText text, const TResultat& row) const;
    // keepKeys: each row's key is kept for later comparisons; else only its rank is.
    std::vector<qint32> RankTexts(TText text, const std::vector<const TResultat*>& rows, bool keepKeys) const;
    bool IsIndexed(const TResultat& row) const;
    const QCollator& NameOrder() const;
    const std::vector<qint32>& Ranks(TText text) const;

    TResultRules rules_;
    // The rows indexed, each at the slot it knows.
    mutable std::vector<const TResultat*> indexed_;
    // By text, the keys of the indexed rows by slot: kept together rather than with the rows, a pass
    // over a big round's keys reads them in turn and the next indexing drops them in one go.
    mutable std::array<std::vector<std::optional<QString>>, 3> keys_;
    // The keys of rows compared that are not indexed.
    mutable std::unordered_map<const TResultat*, std::array<std::optional<QString>, 3>> others_;
    mutable std::unique_ptr<QCollator> nameOrder_;
    // By text, the ranks of the indexed rows by slot; empty until asked for.
    mutable std::array<std::vector<qint32>, 3> ranks_;
};

// Row comparisons under a sort: negative when a sorts first.
using TResultatCompare = int (*)(const TResultSort& sort, const TResultat& a, const TResultat& b);

int CompareByStartnummer(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByStatus(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByStatusUK(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareBySG(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareBySeedning(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByResultat(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByPK(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByPlac(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByForbedring(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByHeat(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByNavn(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByHeatNavn(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByHeatKlubNavn(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByKlubSeedning(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByKlubResultat(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByRank(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByHoldkode(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByRankHoldkode(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareBySeedningRankNavn(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByHeatSeedningRankNavn(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByHeatStartnummer(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByBaneSide(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByHeatBaneSide(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByHeatResultat(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByResultatHeat(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByResultatStartnummer(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByHeatKlubSeedning(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByPoint(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByPointPlac(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByVTPoint(const TResultSort& sort, const TResultat& a, const TResultat& b);
int CompareByVeteranPoint2(const TResultSort& sort, const TResultat& a, const TResultat& b);

// Sorts rows, stably, by a comparison under the sort, which is indexed with them.
void SortResultater(std::vector<TResultat*>& rows, const TResultSort& sort, TResultatCompare compare);
void SortResultater(std::vector<std::unique_ptr<TResultat>>& rows, const TResultSort& sort,
                    TResultatCompare compare);

// ---------------------------------------------------------------- points and seeding

// The points method of a class under "Naturlig aldersgruppe", by its code: youth table, combined-events
// formula or its veteran form; -1 for none.
qint32 GetNaturligPointType(const QString& klasseKode);
// The placement-points table (1..4) of a points-by-place method; 0 for other methods.
int GetPlaceringsPointTabel(qint32 method);

// How SeedOvelse gives heats: the index of the seeding dialog's item; the stored Heatinddeling is one less.
enum class THeatMethod : qint32 {
    Nulstil = -1,
    Undlad = 0,
    BedsteFoerst = 1,
    BedsteSidst = 2,
    Fordeling = 3,
    Lodtraekning = 4,
    DTSeedning = 5
};

// How SeedOvelse gives lanes within a heat: the dialog's item index; the stored Banefordeling is one less.
enum class TLaneMethod : qint32 {
    Undlad = 0,
    BedsteFoerst = 1,
    BedsteSidst = 2,
    Vifte = 3,
    Bedste4IMidten = 4,
    Lodtraekning = 5,
    Startnummer = 6,
    Navn = 7,
    KlubNavn = 8
};

// Where a heat with fewer rows than lanes starts (Banenummerering, stored as it is).
enum class TBanenummerering : qint32 { FraBane1 = 0, FraBane2 = 1, Midterbaner = 2 };

// The seed of one call's draws; none seeds them from the clock.
using TDrawSeed = std::optional<quint32>;
// Told now and then how many of the attempts of a seeding are drawn.
using TSeedProgress = std::function<void(int done, int total)>;

// ---------------------------------------------------------------- the manager

// What TransferVidere did.
enum class TTransferOutcome {
    // The next round's entries were replaced.
    Written,
    // No row has the code: nothing was changed.
    NoneQualified,
    // The next round holds results: nothing was changed; ask before replacing them.
    NextRoundHasResults
};

// A club of the current meet as the rows show it.
struct TKlubData {
    QString Navn;
    QString KortNavn;
    QString Adresse5;
    QChar HoldKode;
};

// The rows of one event round, or of several shown together, of the current meet.
// A record file opened when first used: most result managers only count the meet's rounds or show one
// round, and never look at participants or clubs.
template <typename Table>
class TTableOnUse {
public:
    Table& Open() {
        if (!table_) {
            auto table = std::make_unique<Table>();
            table->Open();
            table_ = std::move(table);
        }
        return *table_;
    }
    Table& operator*() { return Open(); }
    Table* operator->() { return &Open(); }
    bool IsOpen() const { return table_ != nullptr; }

private:
    std::unique_ptr<Table> table_;
};

class TResultatManager {
public:
    // Opens the three tables and counts every round of the event manager from its records.
    TResultatManager();
    // When it is the model context's current result manager, the context has none afterwards.
    ~TResultatManager();
    TResultatManager(const TResultatManager&) = delete;
    TResultatManager& operator=(const TResultatManager&) = delete;

    // ---- Loading and writing
    // The round's rows; then places and the disciplines of a combined event. A round without records
    // only becomes current. A series that cannot be read whole is reported once for the load.
    void LoadOvelse(TOvelseInfo* info);
    // The rows of every listed round that has entries; the first of them becomes current. No places.
    void LoadOvelser(const std::vector<TOvelseInfo*>& ovelser);
    // Computes places, then writes every changed row, and its participant when that changed, in one
    // transaction: a failure leaves every record as it was and raises EResultError with the row's
    // start number, name, operation and status. Places are written only with one round loaded.
    void SaveResultater();
    // Deletes the row's own record and frees the row; false (the row freed all the same) when its record
    // is gone or no longer the row's.
    bool DeleteResultat(int index);
    // Frees every row.
    void Clear();
    // The rows in their present order.
    std::vector<TResultat*> GetResultater() const;
    // Heat, side and lane 0 on every row.
    void ClearHeatBaneSide();
    // Both change flags off on every row.
    void ClearModified();

    // ---- Rows
    int Count() const { return static_cast<int>(rows_.size()); }
    // Null outside the rows.
    TResultat* GetResultat(int index) const;
    int IndexOfStartnummer(qint32 startnummer) const;
    int IndexOfHeatBane(qint32 heat, qint32 bane) const;
    int IndexOfHeatStartnummer(qint32 heat, qint32 startnummer) const;
    int OvelseCount() const { return static_cast<int>(ovelser_.size()); }
    TOvelseInfo* GetOvelse(int index) const { return ovelser_.at(static_cast<std::size_t>(index)); }
    TOvelseInfo* OvelseInfo() const { return ovelseInfo_; }
    int CountValid() const;
    // Distinct heats 1..255 among the valid rows.
    int GetHeatCount() const;
    int CountHeat(qint32 heat) const;
    // The wind of the last row in the heat; 0 when none.
    qint32 GetHeatVind(qint32 heat) const;

    bool IsModified() const;
    bool HasHeat() const;
    bool HasPoint() const;
    bool HasReaktion() const;
    bool HasPRForbedring() const;
    bool HasResultat() const;
    bool HasSerier() const;

    // Every row's marks corrected by delta (TResultat::AddKorrektion); refused whole, with no row changed,
    // when the correction would take a row's mark to 0 or below or out of range.
    void AddKorrektion(qint32 delta);
    // 1 when a sorts after b by the current round's rules, -1 before, 0 equal.
    int CompareResultat(qint32 a, qint32 b, bool withKorrektion) const;
    // The rules of the current round as its records hold them now.
    TResultRules Rules() const { return RulesOf(ovelseInfo_); }
    // Makes this the model context's current result manager: the one the user works in.
    void MakeCurrent();

    // ---- Clubs of the current meet by number
    QString GetKlubNavn(qint32 klubNr);
    QString GetKlubKortNavn(qint32 klubNr);
    QString GetKlubTekst(qint32 klubNr);

    // ---- Result grid
    bool IsColumnEnabled(TResultColumn column) const;
    bool IsColumnReadOnly(TResultColumn column) const;
    int GetColumnWidth(TResultColumn column) const;
    Qt::Alignment GetColumnAlignment(TResultColumn column) const;
    // The characters a cell of the column takes; 0: no limit.
    int GetColumnMaxLength(TResultColumn column) const;
    bool GetColumnTabulator(TResultColumn) const { return true; }

    // ---- Sorting
    void SortSeedning();
    void SortHeatSeedning();
    void SortHeatStartnummer();
    void SortStartnummer();
    void SortNavn();
    void SortKlubSeedning();
    void SortKlubResultat();
    void SortHeatBaneSide();
    void SortHeatResultat();
    void SortResultatHeat();
    void SortResultatStartnummer();
    void SortHeatKlubSeedning();
    void SortPoints();
    void SortPointsPlacering();
    void SortVTPoint();
    void SortVeteranPoint2();
    void SortRankHoldkode();
    void SortPRForbedring();
    // Sorts the rows by a comparison under the current round's rules.
    void Sort(TResultatCompare compare);
    // The same for rows of this manager held elsewhere (a team's rows, a discipline's rows).
    void SortRows(std::vector<TResultat*>& rows, TResultatCompare compare);

    // ---- Round counters and club points
    // From the round's stored records, its last-change time included.
    void CalcOvelseInfo(TOvelseInfo& info);
    // The same for every round of the index, in one pass over the meet's records.
    void CalcOvelseInfo(const TOvelseInfoIndex& ovelser);
    // The loaded rounds' (the current one's at least), from their loaded rows as they are now.
    void UpdateOvelseInfo();
    // Sums the club points of the rounds of the events in codes (the one empty code: every round) into
    // total; with runde1 and the meet setting FlereRunder also the points of round 1 and this meet's.
    void CalcKlubStilling(const QStringList& codes, bool runde1, TPoints& total, TPoints* runde1Points,
                          TPoints* detteStaevne);
    void LoadKlubPointRunde1(TPoints& points);

    // ---- Places, qualification, teams and combined events
    // Places the rows of the one round loaded: sorted by heat and result with places per heat (lettered
    // finals counted on over the heats present), or by result over all heats; rows equal in the result
    // order share a place. Clears every place when no row has a result. Then the team results.
    void CalcPlacering();
    // The round's teams; null when none were made.
    THoldResultater* HoldResultater() const { return holdResultater_.get(); }
    // Groups the valid rows with a mark of each club, best first, into teams of the round's AntalPrHold,
    // places the teams and, with the round's HoldPoint, gives them points by place.
    void CalcHoldResultater();
    // Gives the rows of the one round loaded that go on to round runde its letter in VK: upper case by
    // place in heat, lower case by result; rows equal to the last one taken by result go on too. Only
    // valid rows with a mark and a place qualify. Returns the number of rows coded.
    int CalcVidereKode(QChar runde);
    // Replaces the entries of round runde (a later round of the same event) by the rows coded for it,
    // in one transaction. Changes nothing when no row is coded, nor, unless replaceResults, when that
    // round holds results. Raises EResultError when runde names no later round of the event.
    TTransferOutcome TransferVidere(QChar runde, bool replaceResults = false);
    // The rows of the disciplines before the loaded round of a combined event; with automatic points
    // the combined rows' totals, average wind and wind alternatives from them, then their places.
    void CalcMKResultater();
    int MKResultatCount() const { return static_cast<int>(mkResultater_.size()); }
    TMKResultat* GetMKResultat(int index) const {
        return mkResultater_.at(static_cast<std::size_t>(index)).get();
    }

    // ---- Points (the meet's competition form and the round's points method)
    // Points of every row of the one round loaded: team-league points by place, veteran points, or the
    // round's method followed by the limit of scorers per team. Returns what the user must be told (a
    // points table that cannot be read, an event whose table holds nothing for it and its class), each
    // text once; the caller shows it.
    QStringList CalcPoint();
    // Loads every listed round with entries and, when it holds results, scores and writes it. Returns the
    // messages of all rounds, each text once.
    QStringList CalcPointOvelser(const std::vector<TOvelseInfo*>& ovelser);
    // Every row's second veteran score, kept in memory only; returns the messages as CalcPoint.
    QStringList CalcVeteranPoint2();
    // The round's points method, the natural one resolved by its class; -1 for none.
    qint32 GetPointType() const;

    // ---- Seeding (heats and lanes of the loaded round, in memory)
    // Gives heats by heatMethod (THeatMethod) in heats of antalPrHeat rows, then lanes by laneMethod
    // (TLaneMethod) numbered by banenummerering; with the meet setting Redid and retries above 1, draws
    // again until no club crowds a heat, keeping the best draw. Returns what the user must be told: clubs
    // still crowding a heat, team members team seeding could not place; empty when nothing.
    QString SeedOvelse(qint32 antalPrHeat, qint32 heatMethod, qint32 laneMethod, qint32 banenummerering,
                       qint32 retries, TDrawSeed seed = std::nullopt, const TSeedProgress& progress = {});
    // Seeds and writes, each in one transaction, every listed round with entries and without results;
    // antalPrHeat -1 takes each round's own settings. Returns the messages of all rounds, each once.
    QStringList SeedOvelser(const std::vector<TOvelseInfo*>& ovelser, qint32 antalPrHeat, qint32 heatMethod,
                            qint32 laneMethod, qint32 banenummerering, TDrawSeed seed = std::nullopt);
    // Clubs with more rows in a heat than their share, one line each; empty when none.
    QString CheckKlubPrHeat() const;
    // The clubs of the rows with a heat (any status), in the order of their first row.
    QStringList GetKlubListe() const;
    int CountKlubInHeat(qint32 heat, const QString& klub) const;
    // The club's rows with a heat.
    int CountKlubInHeats(const QString& klub) const;

    // Points by place from the meet settings PlaceringsPoint1..4; null when that setting is empty.
    const TPlaceringsPoint* PlaceringsPoint(int table) const;
    // A second participant table, opened on first use.
    TDeltagerTable& DeltagerTable2();
    // The files a round's rows read beside their results.
    void OpenRoundTables();
    // Names of the scoreboard files written.
    QStringList ScoreboardFiler;
    // Keeps the clubs read by one load for the loads that follow, for a manager that loads one round after
    // another into a document of them all; by default every load reads the clubs anew.
    bool KeepKlubber = false;

    // ---- Scoreboard files, in the folder of the meet setting ScoreboardFilePath (the data folder when it
    // is empty). Failures raise Exception with a Danish message.
    // Writes the round with its rows, of the one heat or of all, as the next numbered file
    // "zuno-scoreboard-nnn.xml" and adds its name to ScoreboardFiler; a file that cannot be saved leaves
    // the list as it was.
    void WriteScoreboardFil(bool oneHeat, qint32 heat);
    // The index file "zuno-scoreboard-data.xml", listing ScoreboardFiler.
    void WriteScoreboardData();
    // Copies the file (a name without a folder is one of the data folder) into the folder under its
    // name, and lists only that name in the index file; ScoreboardFiler stays as it is.
    void ActivateScoreboardFil(const QString& fileName);
    // Deletes the listed files (one already gone is no failure) and empties the list.
    void ClearScoreboardFiler();

private:
    // Sorts the rows under a sort that later comparisons of the sorted rows share.
    void Sort(const TResultSort& sort, TResultatCompare compare);
    // Puts the rows in this order; it holds each of them once.
    void Reorder(const std::vector<TResultat*>& order);
    void SetOvelseInfo(TOvelseInfo* info);
    // Reads the round's records into rows; start numbers of damaged series are added to damaged.
    void ReadRound(TOvelseInfo& info, std::vector<std::unique_ptr<TResultat>>& into, QStringList* damaged);
    std::unique_ptr<TResultat> ReadRow(TOvelseInfo& info);
    const TKlubData* FindKlub(qint32 klubNr);
    void WriteRow(TResultat& row, bool writePlaces, const std::optional<QByteArray>& serie);
    void WriteDeltager(const TResultat& row);
    void ForgetLoaded(); // the rows, teams, combined results and rounds of the last load
    void ReportDamagedSerier(const QStringList& damaged) const;
    // A relay's birth year: the rounded-up mean of its members' birth years.
    void CalcStafetAargang();
    // Places and teams under a sort that the rounds' later sorts may share; without teams for a placing
    // that another follows before anything reads them. byResult, when given, gets the rows by result,
    // then heat, when the placing sorts them so; else it is emptied.
    void CalcPlacering(const TResultSort& sort, bool withTeams = true,
                       std::vector<TResultat*>* byResult = nullptr);
    // resultOrder: the round's rows in the order the teams are made in (by result, then heat), when the
    // caller has them so; else they are sorted so.
    void CalcHoldResultater(const TResultSort& sort, const std::vector<TResultat*>* resultOrder = nullptr);
    void PlaceLetteredFinals(const TResultSort& sort, bool highestFirst);
    void PlaceRows(const TResultSort& sort, bool perHeat);
    // The round runde of the loaded round's event, when it is a later one; raises otherwise.
    TOvelseInfo& VidereRunde(QChar runde) const;
    void CalcMKPoint();
    void CalcMKVindAlternativ();
    // Points.
    void CalcDTPoint();
    QStringList CalcVTPoint();
    // The placings and sorts of one points calculation share sort: the rows' text keys are made once.
    // The round is placed (with its teams when asked) when the method gives points by place.
    QStringList CalcMethodPoint(qint32 method, const TResultSort& sort, bool withTeams);
    // Whether a team counts only its best few scorers.
    bool HasScorerLimit() const;
    // The limit applied, when there is one (HasScorerLimit); placed: the round is placed under sort, nothing
    // it sorts on changed since.
    void CalcScorerLimit(const TResultSort& sort, bool placed);
    // Seeding with the call's draws.
    QString SeedOvelse(qint32 antalPrHeat, qint32 heatMethod, qint32 laneMethod, qint32 banenummerering,
                       qint32 retries, TSeedDraw& draw, const TSeedProgress& progress);
    // Leaves in seeded the rows in seeding order with their heats, not yet given them, when it deals once.
    QString DistributeHeats(qint32 antalPrHeat, qint32 method, qint32 retries, TSeedDraw& draw,
                            const TSeedProgress& progress, std::unique_ptr<TSeedRows>& seeded);
    void AssignLanes(qint32 antalPrHeat, qint32 method, qint32 banenummerering, TSeedDraw& draw);
    // Whether lanes by the method go in seeding order within a heat.
    static bool LanesFollowSeeding(qint32 method);
    // The rows in seeding order given their dealt heats, then lanes in that order, each row written once.
    void SeedLanesInSeedingOrder(TSeedRows& seeded, qint32 antalPrHeat, qint32 method, qint32 banenummerering,
                                 TSeedDraw& draw);
    // Puts the rows in this order of their present indices, each of them once.
    void PutInOrder(const std::vector<int>& order);
    QString SeedHold(qint32 antalPrHeat, TSeedDraw& draw);

    std::unique_ptr<TResultatRecordTable> resultatTable_;
    TTableOnUse<TDeltagerTable> deltagerTable_;
    TTableOnUse<TKlubTable> klubTable_;
    TTableOnUse<TDeltagerTable> deltagerTable2_;
    std::vector<std::unique_ptr<TResultat>> rows_;
    std::vector<std::unique_ptr<TMKResultat>> mkResultater_;
    std::unique_ptr<THoldResultater> holdResultater_;
    std::vector<std::unique_ptr<TPlaceringsPoint>> placeringsPoint_;
    TOvelseInfo* ovelseInfo_ = nullptr;
    std::vector<TOvelseInfo*> ovelser_;
    // The clubs met since the last load, by number; a number without a club is kept as none.
    std::unordered_map<qint32, std::optional<TKlubData>> klubber_;
    std::mt19937 random_;
};
