// Clubs crowding a heat: a club's rows with a heat shared out over the heats, the rest of the share
// allowed once, and every heat where a club has more than that reported. The seeding draws again and
// again while a club crowds a heat, so the check counts in plain arrays and only the final report is
// written out.
#include "model/D_ResultSeedDraw.h"

#include "foundation/LxString.h"

#include <QHash>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

const QString HeatText = QStringLiteral("Heat: ");
const QString KlubText = QStringLiteral(", Klub: ");
const QString AntalText = QStringLiteral(", Antal: ");
const QString MaxText = QStringLiteral(", Max: ");

// A club's share of a heat, and how many heats may hold one more.
std::pair<int, int> ShareOf(int antal, int heats) {
    return heats > 0 && antal > heats ? std::pair(antal / heats, antal % heats) : std::pair(1, 0);
}

qsizetype Digits(int value) {
    qsizetype digits = value < 0 ? 2 : 1;
    for (int rest = value < 0 ? -(value / 10) : value / 10; rest != 0; rest /= 10)
        ++digits;
    return digits;
}

} // namespace

TKlubCrowding::TKlubCrowding(const std::vector<TResultat*>& rows) {
    QHash<QString, int> index;
    for (const TResultat* row : rows) {
        auto found = index.find(row->Klub);
        if (found == index.end()) {
            found = index.insert(row->Klub, static_cast<int>(navne_.size()));
            navne_ << row->Klub;
        }
        klubOf_.emplace(row, *found);
    }
}

template <typename Line>
void TKlubCrowding::Walk(const std::vector<TResultat*>& rows, int heats, Line line) {
    const std::size_t klubber = static_cast<std::size_t>(navne_.size());
    // The clubs in the order of their first row with a heat, each with its rows per heat and in all.
    order_.clear();
    antal_.assign(klubber, 0);
    place_.assign(klubber, -1);
    // Heats past the count are never reported: they are counted in one slot of their own.
    const int last = std::clamp(heats, 0, int(MaxHeatNr)) + 1;
    prHeat_.assign(std::size_t(last + 1) * klubber, 0);
    for (const TResultat* row : rows) {
        if (!row->HasHeat())
            continue;
        const auto found = klubOf_.find(row);
        const int klub = found != klubOf_.end() ? found->second : -1;
        if (klub < 0)
            continue;
        const auto k = static_cast<std::size_t>(klub);
        if (place_[k] < 0) {
            place_[k] = static_cast<int>(order_.size());
            order_.push_back(klub);
        }
        ++antal_[k];
        ++prHeat_[std::size_t(std::min<int>(row->Heat, last)) * klubber + k];
    }
    std::vector<int>& max = max_;
    std::vector<int>& spare = spare_;
    max.resize(klubber);
    spare.resize(klubber);
    for (std::size_t k = 0; k < klubber; ++k)
        std::tie(max[k], spare[k]) = ShareOf(antal_[k], heats);
    // In heat order, and within a heat in the clubs' order.
    for (int heat = 1; heat < last; ++heat) {
        for (const int klub : order_) {
            const auto k = static_cast<std::size_t>(klub);
            const int c = prHeat_[std::size_t(heat) * klubber + k];
            const int over = c - max[k];
            if (over <= 0)
                continue;
            if (over >= 2 || spare[k] == 0)
                line(heat, navne_.at(klub), c, max[k]);
            spare[k] = std::max(0, spare[k] - over);
        }
    }
}

QString TKlubCrowding::Report(const std::vector<TResultat*>& rows, int heats) {
    QString report;
    if (heats <= 0)
        return report;
    Walk(rows, heats, [&report](int heat, const QString& klub, int c, int max) {
        report +=
            HeatText + IntStr(heat) + KlubText + klub + AntalText + IntStr(c) + MaxText + IntStr(max) + CrLf;
    });
    return report;
}

int TKlubCrowding::KlubOf(const TResultat* row) const {
    const auto found = klubOf_.find(row);
    return found != klubOf_.end() ? found->second : -1;
}

void TKlubCrowding::ShareOut(const std::vector<int>& klub, int heats) {
    const std::size_t klubber = static_cast<std::size_t>(navne_.size());
    sharedHeats_ = heats;
    antal_.assign(klubber, 0);
    for (const int k : klub) {
        if (k >= 0)
            ++antal_[std::size_t(k)];
    }
    sharedMax_.resize(klubber);
    sharedSpare_.resize(klubber);
    line_.resize(klubber);
    for (std::size_t k = 0; k < klubber; ++k) {
        std::tie(sharedMax_[k], sharedSpare_[k]) = ShareOf(antal_[k], heats);
        line_[k] = HeatText.size() + KlubText.size() + navne_.at(qsizetype(k)).size() + AntalText.size() +
                   MaxText.size() + Digits(sharedMax_[k]) + CrLf.size();
    }
    inHeat_.assign(klubber, 0);
}

qsizetype TKlubCrowding::ReportLength(const std::vector<int>& klub, const THeatDeal& deal, qsizetype limit) {
    // Every row of a deal has a heat, and a club's rows give its share; each line's length depends on its
    // club alone, and a club's spare heats go in heat order, so the heats are walked in order, the clubs
    // in any. The length only grows, so once it reaches the limit the rest cannot bring it back under.
    qsizetype length = 0;
    spare_ = sharedSpare_;
    const std::vector<int>& members = deal.Members();
    for (int h = 1; h <= sharedHeats_ && length < limit; ++h) {
        touched_.clear();
        for (int i = deal.From(h); i < deal.To(h); ++i) {
            const int k = klub[std::size_t(members[std::size_t(i)])];
            if (k >= 0 && inHeat_[std::size_t(k)]++ == 0)
                touched_.push_back(k);
        }
        for (const int klubIndex : touched_) {
            const auto k = static_cast<std::size_t>(klubIndex);
            const int c = std::exchange(inHeat_[k], 0);
            const int over = c - sharedMax_[k];
            if (over <= 0)
                continue;
            if (over >= 2 || spare_[k] == 0)
                length += line_[k] + Digits(h) + Digits(c);
            spare_[k] = std::max(0, spare_[k] - over);
        }
    }
    return length;
}

QStringList TResultatManager::GetKlubListe() const {
    QStringList klubber;
    for (const auto& row : rows_) {
        if (row->HasHeat() && !klubber.contains(row->Klub))
            klubber << row->Klub;
    }
    return klubber;
}

int TResultatManager::CountKlubInHeat(qint32 heat, const QString& klub) const {
    return static_cast<int>(std::count_if(
        rows_.begin(), rows_.end(), [&](const auto& row) { return row->Heat == heat && row->Klub == klub; }));
}

int TResultatManager::CountKlubInHeats(const QString& klub) const {
    return static_cast<int>(std::count_if(
        rows_.begin(), rows_.end(), [&](const auto& row) { return row->HasHeat() && row->Klub == klub; }));
}

QString TResultatManager::CheckKlubPrHeat() const {
    const std::vector<TResultat*> rows = GetResultater();
    TKlubCrowding crowding(rows);
    return crowding.Report(rows, GetHeatCount());
}
