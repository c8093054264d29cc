#pragma once
// The team results of a round: the rows of a club grouped into teams of the round's team size, each
// team with a row of its own for its total, place and points.
#include "model/D_Result.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

// One team. Its row belongs to it; its members are rows of the result manager.
class THold {
public:
    // The team's row: its club name is the team key.
    explicit THold(std::unique_ptr<TResultat> holdResultat);
    THold(const THold&) = delete;
    THold& operator=(const THold&) = delete;

    // Drops the members.
    void Clear() { Medlemmer.clear(); }
    int Count() const { return static_cast<int>(Medlemmer.size()); }
    // Null outside the members.
    TResultat* GetResultat(int index) const;
    void Add(TResultat* row) { Medlemmer.push_back(row); }
    QString GetHoldNavn() const { return HoldResultat->Klub; }
    // The members' times added in hundredths, in the packed time form.
    qint32 CalcTotalTid() const;
    // The members' results added as stored.
    qint32 CalcTotal() const;

    const std::unique_ptr<TResultat> HoldResultat;
    std::vector<TResultat*> Medlemmer;
};

// The teams of a round, in the order made and, once placed, best first.
class THoldResultater {
public:
    explicit THoldResultater(TOvelseInfo* ovelseInfo)
        : OvelseInfo(ovelseInfo) {}
    THoldResultater(const THoldResultater&) = delete;
    THoldResultater& operator=(const THoldResultater&) = delete;
    ~THoldResultater();

    void Clear();
    int Count() const { return static_cast<int>(hold_.size()); }
    // Null outside the teams.
    THold* GetHold(int index) const;
    THold* Add(std::unique_ptr<THold> hold);
    // Ignored outside the teams.
    void Delete(int index);
    // The key's last team when it has fewer members than the round's team size (the teams of a key are
    // filled one after another); null when none.
    THold* FindOpenHold(const QString& key) const;
    // Drops the teams short of members, adds up the totals, sorts the teams by the result order of their
    // rows and places them; equal totals share a place.
    void CalcPlacering();
    // Points by place (the placement-points tables of methods 10, 11, 12 and 14); other methods leave
    // the points.
    void CalcPoint(qint32 method);

    TOvelseInfo* OvelseInfo;

private:
    qint32 HoldSize() const;
    void IndexHold();
    // Takes one team out of the index.
    void Unindex(const THold* hold);

    std::vector<std::unique_ptr<THold>> hold_;
    // The teams of each key in the order made.
    QHash<QString, std::vector<THold*>> byKey_;
};
