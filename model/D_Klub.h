#pragma once
// The club manager: the current meet's clubs and, for one club at a time, its participants with their
// entries and results, its purchases of goods and its payments; club and start numbers, entry fees and
// purchase amounts.
#include "model/D_DBDef.h"
#include "model/D_KlubLists.h"
#include "model/D_Vare.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

// The club number that asks the club manager for every club of the meet.
constexpr qint32 AlleKlubber = -1;

// Every lookup reads the record files within the current meet, through the keys StID + KlubNr (clubs,
// purchases, payments; participants by key 1) and StID + Startnummer (participants by key 0, results by
// key 1). Lists hold what is loaded; New... elements are written by SaveAll.
//
// Numbers are never handed out twice in a run: a club number or the highest start number freed by a
// delete through this class is remembered in the model's context for the meet.
class TKlubManager {
public:
    // With a club number: that club of the current meet, selected with its data ordered by name (an
    // unknown number gives an empty club list). With AlleKlubber (any negative number): every club of
    // the meet, with no club's data loaded.
    explicit TKlubManager(qint32 klubNr = AlleKlubber);
    ~TKlubManager();
    TKlubManager(const TKlubManager&) = delete;
    TKlubManager& operator=(const TKlubManager&) = delete;

    // ---- Clubs
    int GetKlubCount() const { return klubList_.GetCount(); }
    // The club at index, which becomes current.
    TKlubElement& GetKlub(int index);
    TKlubElement* GetCurrentKlub() const;
    // Makes the club current and loads its data with the participants ordered by the DELTAGER field
    // order (DeltagerField::Navn or DeltagerField::Startnummer).
    void SelectKlub(TKlubElement& klub, int order);
    // The club's participants, then each participant's results in participant order, its purchases and
    // its payments; the lists are only emptied for a negative number.
    void LoadKlubData(qint32 klubNr, int order);
    // Inserts the club with the next club number and the name "Ny klub", and adds it to the list as the
    // current club.
    TKlubElement& NewKlub();
    // Deletes the current club, unless it has participants, purchases or payments, stored or waiting to
    // be; then the refusal is shown, nothing is deleted and the result is false.
    bool DeleteKlub();

    // ---- The loaded club's data; by index (made current) or the current element
    TDeltagerElement& GetDeltager(int index);
    TResultatElement& GetResultat(int index);
    TResultatElement* GetCurrentResultat() const;
    TKlubkobElement& GetKlubkob(int index);
    TKlubkobElement* GetCurrentKlubkob() const;
    TBetalingElement& GetBetaling(int index);
    // A new element of the meet (and of the current club, when one is current) at the end of its list;
    // returns its index there.
    int NewDeltager();
    int NewResultat();
    int NewKlubkob();
    int NewBetaling();

    // Marks the element of one of the club's lists for deletion by the next save.
    void MarkDeleted(TDataElement& element);
    // Marks the participant for deletion with its loaded results: no entry is left without it.
    void DeleteDeltager(TDeltagerElement& deltager);

    // Stores the club, participant, result, purchase and payment lists. False when a record could not
    // be written (the user has been told; the change stays pending). A participant whose stored start
    // number changed takes it into the relay member lists of the meet that hold it.
    bool SaveAll();
    // The same, writing only what changed since the last save: the cost of a save follows the changes,
    // not the size of the club. Deletions must have been marked through MarkDeleted.
    bool SaveChanges();
    // Whether anything loaded waits to be saved.
    bool IsChanged() const;

    // ---- Numbers, fees and amounts
    // One above the meet's highest stored start number, above every loaded participant's number, and
    // above the highest one deleted in this run; 1 in a meet without participants.
    qint32 GetNextStartnummer();
    // The trimmed name of the club of the meet's participant with the start number; empty when none.
    QString FindKlubNavnByStartnummer(qint32 startnummer);
    // Whether a participant of the meet other than self has the start number, as the records will be
    // after the next save: the loaded participants as they stand, the meet's others as stored. holder,
    // when given, gets the name and the club of the one who has it.
    bool IsStartnummerUsed(qint32 startnummer, const TDataElement* self, QString* holder = nullptr);
    // Refuses a start number below 1, or one that another participant of the meet has, with a Danish
    // message.
    void CheckStartnummer(qint32 startnummer, const TDataElement* self);
    // Gives the loaded participant the start number, checked first; the club's results with the old one
    // (unless it was 0) follow it, and the relay member lists follow when the club is saved.
    void ChangeStartnummer(TDeltagerElement& deltager, qint32 startnummer);
    // The loaded results of the start number not marked for deletion, in the order they were loaded
    // or given the number.
    std::vector<TResultatElement*> GetResultater(qint32 startnummer);
    // The loaded participants with the start number not marked for deletion.
    std::vector<TDeltagerElement*> GetDeltagere(qint32 startnummer);
    // The fee of the current result in the event row, by the current club's price group; 0 for a result
    // of a later round (one with a round letter).
    double CalcStartgebyr(const TOvelseRkElement& ovelseRk) const;
    // Antal x the goods' Pris of the current purchase; 0 when its goods number is unknown.
    double CalcKlubkobBelob();

    TKlubList& KlubList() { return klubList_; }
    TDeltagerList& DeltagerList() { return deltagerList_; }
    TResultatList& ResultatList() { return resultatList_; }
    TKlubkobList& KlubkobList() { return klubkobList_; }
    TBetalingList& BetalingList() { return betalingList_; }
    TVareManager* VareManager() const { return vareManager_.get(); }

private:
    // The current club's number; -1 when none is current.
    qint32 CurrentKlubNr() const;
    // A loaded element of the club not marked for deletion, or a stored record of it.
    bool HasKlubData(qint32 klubNr);
    // The stored numbers of the participants marked for deletion go into the run's memory.
    void NoteDeletedStartnumre();
    // The stored start numbers of loaded participants that now have another one, with the new number.
    std::map<qint32, qint32> StartnummerMoves(bool all);
    // Saves the list: only its changed elements when they are known and whole is false.
    template <typename List>
    bool SaveList(TKlubDataList<List>& list, bool whole);
    bool Save(bool whole);
    TKlubDataTracker* TrackerOf(const TDataElement& element);
    void ResetTrackers();
    // Binds a new element of a list to the current club (field fieldNo) and returns its index.
    int BindNew(TZunoDataList& list, int fieldNo);

    // Each list goes before its table; the goods manager before them all.
    TKlubTable klubTable_;
    TKlubList klubList_{klubTable_};
    TDeltagerTable deltagerTable_;
    TKlubDataList<TDeltagerList> deltagerList_{deltagerTable_, DeltagerField::Startnummer, true};
    TResultatTable resultatTable_;
    TKlubDataList<TResultatList> resultatList_{resultatTable_, ResultatField::Startnummer};
    TKlubkobTable klubkobTable_;
    TKlubDataList<TKlubkobList> klubkobList_{klubkobTable_, KlubkobField::Varenummer};
    TBetalingTable betalingTable_;
    TKlubDataList<TBetalingList> betalingList_{betalingTable_, BetalingField::Klubnr};
    std::unique_ptr<TVareManager> vareManager_;
};

// The holder of a start number as a refusal names it: the participant's name, and the club's name after a
// comma when the club is known.
QString StartnummerHolder(const QString& navn, const QString& klub);
// The refusal of a start number another participant has: "Startnummer N er allerede givet til " and the
// holder.
QString StartnummerGivetText(qint32 startnummer, const QString& holder);

// Relay legs are kept as the members' start numbers in the series of the relay's result records: every
// leg of the meet's relay rounds that holds a number moved (old to new) gets the new one. Results whose
// series is damaged are left alone. False when a record could not be written (the user has been told).
bool CarryStafetStartnumre(const std::map<qint32, qint32>& moves);
