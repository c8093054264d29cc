#include "model/D_Point.h"

#include "model/D_Tekster.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int RankedPlaces = 8;

// What the standings are ranked by, best being the greatest. The total counts to thousandths, so
// totals that differ only in the float's noise rank as equal.
struct RankKey {
    qint64 thousandths = 0;
    std::array<int, RankedPlaces> places{};

    explicit RankKey(const TPoint& point)
        : thousandths(std::llround(point.GetTotalPoint() * 1000)) {
        for (int place = 1; place <= RankedPlaces; ++place)
            places[place - 1] = point.CountPlacering(place);
    }
    auto operator<=>(const RankKey&) const = default;
};

} // namespace

TPoint::TPoint(QString key, QString name, QString extraText)
    : key_(std::move(key))
    , name_(std::move(name))
    , extraText_(std::move(extraText)) {}

void TPoint::AddReg(qint32 placering, double points) {
    regs_.push_back({points, placering});
}

double TPoint::GetTotalPoint() const {
    double total = 0;
    for (const TPointReg& reg : regs_)
        total += reg.Points;
    return total;
}

QString TPoint::GetTotalPointText() const {
    return FormatPoint(GetTotalPoint());
}

int TPoint::CountPlacering(qint32 placering) const {
    if (placering < 1 || placering > RankedPlaces)
        return 0;
    return static_cast<int>(std::count_if(regs_.begin(), regs_.end(),
                                          [&](const TPointReg& r) { return r.Placering == placering; }));
}

void TPoints::Clear() {
    items_.clear();
    AntalMedPoint = 0;
    AntalIGruppe = 0;
    Klasse.clear();
}

TPoint* TPoints::GetItem(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return items_[index].get();
}

int TPoints::IndexOf(const QString& key) const {
    for (int i = 0; i < Count(); ++i) {
        if (items_[i]->Key() == key)
            return i;
    }
    return -1;
}

void TPoints::Add(const QString& key, const QString& name, const QString& extraText, qint32 placering,
                  double points) {
    const int index = IndexOf(key);
    TPoint* point = index >= 0 ? items_[index].get()
                               : items_.emplace_back(std::make_unique<TPoint>(key, name, extraText)).get();
    point->AddReg(placering, points);
}

void TPoints::Merge(const TPoints& other) {
    // By position and with the counts taken first, so merging a table into itself doubles it.
    const int count = other.Count();
    for (int i = 0; i < count; ++i) {
        const TPoint& point = *other.items_[i];
        const int regs = point.Count();
        for (int j = 0; j < regs; ++j) {
            const TPointReg reg = point.GetReg(j);
            Add(point.Key(), point.Name(), point.ExtraText(), reg.Placering, reg.Points);
        }
    }
}

void TPoints::Sort() {
    std::vector<std::pair<RankKey, std::unique_ptr<TPoint>>> ranked;
    ranked.reserve(items_.size());
    for (auto& item : items_) {
        RankKey key(*item);
        ranked.emplace_back(key, std::move(item));
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < ranked.size(); ++i)
        items_[i] = std::move(ranked[i].second);
}
