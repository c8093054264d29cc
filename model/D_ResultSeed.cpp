// Seeding a round: its rows in seeding order dealt into heats, drawn again while a club crowds a heat
// when the meet asks for it, then given lanes; and the seeding of a list of rounds.
#include "model/D_ResultSeedDraw.h"

#include "model/D_Ovelser.h"
#include "model/D_StaevneSystemData.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

constexpr int SeedLodtraekningMax = 63999;
constexpr int SeedLodtraekningBits = 16;
// How often spreading the clubs tells how far it has come.
constexpr int ProgressAttempts = 500;
const QString Besked = QStringLiteral("Besked: ");

int Sign(qint64 a, qint64 b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Deals of a round's rows again and again while a club crowds a heat: every key a deal compares is
// made once, and each deal only draws, orders numbers and counts the clubs per heat.
class TSpreadDeals {
public:
    // The rows in their present order, which is the seeding order when the draws do not order them.
    TSpreadDeals(const std::vector<TResultat*>& rows, const TResultSort& sort, bool rankAsSeedning,
                 bool drawnKeys)
        : rows_(rows)
        , rankAsSeedning_(rankAsSeedning)
        , crowding_(rows) {
        const std::size_t n = rows.size();
        order_.resize(n);
        std::iota(order_.begin(), order_.end(), 0);
        heat_.assign(n, 0);
        seedLodtraekning_.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            klub_.push_back(crowding_.KlubOf(rows[i]));
            isValid_.push_back(rows[i]->IsValid());
            seedLodtraekning_[i] = rows[i]->SeedLodtraekning;
        }
        startRank_ = drawnKeys ? DenseRanks(n,
                                            [this](std::size_t a, std::size_t b) {
                                                return Sign(rows_[a]->Startnummer, rows_[b]->Startnummer);
                                            })
                               : std::vector<quint32>(n, 0);
        if (rankAsSeedning) {
            // The seeding order by its parts before and after the drawn key.
            sort.Index(rows);
            before_ = DenseRanks(n, [this](std::size_t a, std::size_t b) {
                const TResultat& x = *rows_[a];
                const TResultat& y = *rows_[b];
                int c = Sign(x.GetStatusOrder(), y.GetStatusOrder());
                c = c != 0 ? c : Sign(x.SG, y.SG);
                return c != 0 ? c : Sign(x.Rank, y.Rank);
            });
            after_ = DenseRanks(n, [this, &sort](std::size_t a, std::size_t b) {
                const int c = Sign(rows_[a]->Lodtraekning, rows_[b]->Lodtraekning);
                return c != 0 ? c : CompareByNavn(sort, *rows_[a], *rows_[b]);
            });
            afterBits_ = KeyBits(Largest(after_));
            bits_ = KeyBits(Largest(before_)) + SeedLodtraekningBits + afterBits_;
        }
        if (!rankAsSeedning)
            Gather();
    }

    // One deal; the length of its report, or of at least limit when it reaches limit.
    qsizetype Deal(qint32 antalPrHeat, qint32 method, TSeedDraw& draw, qsizetype limit) {
        if (rankAsSeedning_) {
            // The keys drawn in the rows' present order, which then follow them.
            for (const int i : order_)
                seedLodtraekning_[std::size_t(i)] = static_cast<quint16>(draw.Next(SeedLodtraekningMax));
            keys_.resize(order_.size());
            for (std::size_t i = 0; i < keys_.size(); ++i)
                keys_[i] = (quint64(before_[i]) << SeedLodtraekningBits | seedLodtraekning_[i])
                               << afterBits_ |
                           after_[i];
            keyOrder_.Sort(keys_, bits_, order_);
            Gather();
        }
        // Every heat dealt holds a row: there are never more heats than rows.
        const int heats = deal_.Deal(static_cast<int>(valid_.size()), antalPrHeat, method, validStart_, draw);
        if (heats <= 0)
            return 0;
        // Every deal has as many rows over as many heats, the same rows in each club.
        if (heats != crowding_.SharedHeats())
            crowding_.ShareOut(validKlub_, heats);
        return crowding_.ReportLength(validKlub_, deal_, limit);
    }

    void KeepBest() {
        best_ = {valid_, deal_.Heats(), seedLodtraekning_};
        hasBest_ = true;
    }
    bool HasBest() const { return hasBest_; }
    void UseBest() { useBest_ = true; }

    // Gives the rows the heats and keys of the deal, and returns their order.
    std::vector<TResultat*> Apply() {
        const TDealt last{valid_, deal_.Heats(), seedLodtraekning_};
        const TDealt& dealt = useBest_ ? best_ : last;
        std::fill(heat_.begin(), heat_.end(), 0);
        for (std::size_t k = 0; k < dealt.Valid.size(); ++k)
            heat_[std::size_t(dealt.Valid[k])] = dealt.Heats[k];
        std::vector<TResultat*> ordered;
        for (const int i : order_) {
            TResultat* row = rows_[std::size_t(i)];
            row->SetSide(0);
            row->SetBane(0);
            row->SetHeat(heat_[std::size_t(i)]);
            row->SeedLodtraekning = dealt.SeedLodtraekning[std::size_t(i)];
            ordered.push_back(row);
        }
        return ordered;
    }

private:
    static quint64 Largest(const std::vector<quint32>& ranks) {
        return ranks.empty() ? 0 : *std::max_element(ranks.begin(), ranks.end());
    }
    // The valid rows in the present order, with their start numbers' ranks.
    void Gather() {
        valid_.clear();
        validStart_.clear();
        validKlub_.clear();
        for (const int i : order_) {
            if (isValid_[std::size_t(i)]) {
                valid_.push_back(i);
                validStart_.push_back(startRank_[std::size_t(i)]);
                validKlub_.push_back(klub_[std::size_t(i)]);
            }
        }
    }

    // A deal: the valid rows in their order with their heats, and every row's drawn key.
    struct TDealt {
        std::vector<int> Valid;
        std::vector<int> Heats;
        std::vector<quint16> SeedLodtraekning;
    };

    std::vector<TResultat*> rows_;
    bool rankAsSeedning_;
    TKlubCrowding crowding_;
    THeatDeal deal_;
    std::vector<int> order_;
    TKeyOrder keyOrder_;
    std::vector<int> klub_;
    std::vector<int> heat_;
    std::vector<quint16> seedLodtraekning_;
    std::vector<quint32> startRank_;
    std::vector<quint32> before_;
    std::vector<quint32> after_;
    int afterBits_ = 0;
    int bits_ = 0;
    std::vector<quint64> keys_;
    std::vector<int> valid_;
    std::vector<quint32> validStart_;
    std::vector<int> validKlub_;
    std::vector<bool> isValid_;
    TDealt best_;
    bool hasBest_ = false;
    bool useBest_ = false;
};

} // namespace

// ---------------------------------------------------------------- the manager

QString TResultatManager::SeedOvelse(qint32 antalPrHeat, qint32 heatMethod, qint32 laneMethod,
                                     qint32 banenummerering, qint32 retries, TDrawSeed seed,
                                     const TSeedProgress& progress) {
    TSeedDraw draw(seed);
    return SeedOvelse(antalPrHeat, heatMethod, laneMethod, banenummerering, retries, draw, progress);
}

QString TResultatManager::SeedOvelse(qint32 antalPrHeat, qint32 heatMethod, qint32 laneMethod,
                                     qint32 banenummerering, qint32 retries, TSeedDraw& draw,
                                     const TSeedProgress& progress) {
    if (!ovelseInfo_)
        return {};
    if (heatMethod == qint32(THeatMethod::Nulstil)) {
        for (const auto& row : rows_) {
            row->SetHeat(0);
            row->SetSide(0);
            row->SetBane(0);
            row->SetPlac(0);
            row->SetPK(0);
        }
        return {};
    }
    if (heatMethod == qint32(THeatMethod::DTSeedning))
        return SeedHold(antalPrHeat, draw);
    QString message;
    std::unique_ptr<TSeedRows> seeded;
    if (heatMethod > 0)
        message = DistributeHeats(antalPrHeat, heatMethod, retries, draw, progress, seeded);
    if (seeded && LanesFollowSeeding(laneMethod)) {
        SeedLanesInSeedingOrder(*seeded, antalPrHeat, laneMethod, banenummerering, draw);
        return message;
    }
    if (seeded) {
        seeded->Write();
        PutInOrder(seeded->Order());
    }
    AssignLanes(antalPrHeat, laneMethod, banenummerering, draw);
    return message;
}

QString TResultatManager::DistributeHeats(qint32 antalPrHeat, qint32 method, qint32 retries, TSeedDraw& draw,
                                          const TSeedProgress& progress, std::unique_ptr<TSeedRows>& seeded) {
    const bool redid = CurrentSystemData().Redid;
    const bool rankAsSeedning = RulesOf(ovelseInfo_).RankAsSeedning;
    if (redid) {
        // Each row's rank within its club: with equal seeding marks a club's best come first.
        SortKlubSeedning();
        const QString* klub = nullptr;
        qint32 rank = 0;
        for (const auto& row : rows_) {
            rank = klub && *klub == row->Klub ? rank + 1 : 1;
            klub = &row->Klub;
            row->SetRank(std::min<qint32>(rank, 0xFFFF));
        }
    }
    // Another attempt can only give another distribution when something is drawn.
    const bool drawn = rankAsSeedning || method == qint32(THeatMethod::Fordeling) ||
                       method == qint32(THeatMethod::Lodtraekning);
    if (!redid || retries <= 1) {
        seeded = std::make_unique<TSeedRows>(rows_, Rules());
        if (rankAsSeedning)
            seeded->DrawSeedLodtraekning(draw);
        seeded->DealHeats(antalPrHeat, method, draw);
        return {};
    }
    // Without drawn keys the seeding order is the same in every attempt.
    if (!rankAsSeedning)
        SortSeedning();
    const TResultSort sort(Rules());
    TSpreadDeals deals(GetResultater(), sort, rankAsSeedning, method == qint32(THeatMethod::Lodtraekning));
    qsizetype bestLength = 99999;
    qsizetype length = 0;
    for (int attempt = 1;; ++attempt) {
        // Only the length decides between the draws, and only one shorter than the best so far counts;
        // the report is written once, at the end.
        length = deals.Deal(antalPrHeat, method, draw, bestLength);
        if (length > 0 && length < bestLength) {
            deals.KeepBest();
            bestLength = length;
        }
        if (length == 0 || attempt >= retries || !drawn)
            break;
        if (progress && attempt % ProgressAttempts == 0)
            progress(attempt, retries);
    }
    // The rows stay in the order of the last draw, with the best distribution found.
    if (length != 0 && deals.HasBest())
        deals.UseBest();
    const std::vector<TResultat*> order = deals.Apply();
    Reorder(order);
    return length == 0 ? QString() : Besked + CheckKlubPrHeat();
}

void TResultatManager::PutInOrder(const std::vector<int>& order) {
    // Only read where the order points and write the rows' owners in turn: over a big round, writing
    // each old owner empty as its row moves would write all over memory.
    std::vector<TResultat*> ordered(order.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        ordered[k] = rows_[std::size_t(order[k])].get();
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        static_cast<void>(rows_[k].release());
        rows_[k].reset(ordered[k]);
    }
}

QStringList TResultatManager::SeedOvelser(const std::vector<TOvelseInfo*>& ovelser, qint32 antalPrHeat,
                                          qint32 heatMethod, qint32 laneMethod, qint32 banenummerering,
                                          TDrawSeed seed) {
    TSeedDraw draw(seed);
    QStringList messages;
    for (TOvelseInfo* info : ovelser) {
        if (!info || info->AntalDeltagere < 1)
            continue;
        LoadOvelse(info);
        UpdateOvelseInfo();
        if (info->ResultaterFindes)
            continue;
        const bool own = antalPrHeat == -1;
        const QString message = SeedOvelse(own ? info->GetAntalPrHeat() : antalPrHeat,
                                           own ? info->GetHeatinddeling() + 1 : heatMethod,
                                           own ? info->GetBanefordeling() + 1 : laneMethod,
                                           own ? info->GetBanenummerering() : banenummerering, 1, draw, {});
        if (!message.isEmpty())
            messages << message;
        SaveResultater();
    }
    messages.removeDuplicates();
    return messages;
}
