#pragma once
// The draws of one seeding call: a test fixes them by a seed, the program seeds them from the clock.
#include "model/D_Result.h"

#include <QStringList>

#include <random>
#include <unordered_map>
#include <vector>

class TSeedDraw {
public:
    explicit TSeedDraw(TDrawSeed seed);

    // A number from 0 to max.
    int Next(int max);
    // The numbers first..last in a random order.
    std::vector<int> Order(int first, int last);

private:
    std::mt19937 random_;
};

// The clubs of a round's rows, for telling again and again which clubs crowd a heat as the heats are
// drawn: the rows' clubs are looked up once, the counting reuses its arrays.
class TKlubCrowding {
public:
    // The clubs of these rows; the rows checked later must be among them.
    explicit TKlubCrowding(const std::vector<TResultat*>& rows);
    // TResultatManager::CheckKlubPrHeat of the rows (in their present order) over heats heats.
    QString Report(const std::vector<TResultat*>& rows, int heats);
    // The length of that report, without writing it.
    qsizetype ReportLength(const std::vector<TResultat*>& rows, int heats);

private:
    // Calls line(heat, club, count, share) for each heat where a club has more than its share.
    template <typename Line>
    void Walk(const std::vector<TResultat*>& rows, int heats, Line line);

    QStringList navne_;
    std::unordered_map<const TResultat*, int> klubOf_;
    std::vector<int> order_;
    std::vector<int> antal_;
    std::vector<int> place_;
    std::vector<int> prHeat_;
    std::vector<int> max_;
    std::vector<int> spare_;
};
