// The club points of a team meet beside the schedule: one column per club, best first, each round's row
// with the clubs' points in it, and below the rounds the totals (with FlereRunder first the points
// brought from round 1 and this meet's, each with its place).
#include "ui/ovelse/Oversigt.h"

#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "model/D_Point.h"
#include "model/D_Result.h"

#include <unordered_map>

namespace {

constexpr int KlubWidth = 75;

QString PointText(double points, const TOversigtValg& valg) {
    return FloatToStrDec(points, valg.PointDecimal ? 1 : 0);
}

} // namespace

void BuildKlubPoints(TOversigt& oversigt, const TOversigtValg& valg, TResultatManager& manager) {
    TPoints total;
    TPoints runde1;
    TPoints nu;
    manager.CalcKlubStilling({QString()}, true, total, &runde1, &nu);

    std::unordered_map<QString, int> klubCol;
    for (int i = 0; i < total.Count(); ++i) {
        const TPoint& klub = *total.GetItem(i);
        klubCol[klub.Key()] = oversigt.ColCount();
        oversigt.AddColumn({manager.GetKlubTekst(klub.Key().toInt()), KlubWidth, Qt::AlignLeft});
    }

    // The rounds of a row together: a row may hold rounds at several venues.
    const int roundRows = oversigt.RoundRowsEnd();
    for (int row = 1; row < roundRows; ++row) {
        std::unordered_map<int, double> sums;
        for (int col = 1; col < oversigt.FirstPointsColumn(); ++col) {
            const TOvelseInfo* info = oversigt.Info(col, row);
            if (!info)
                continue;
            const TPoints& points = info->Points();
            for (int i = 0; i < points.Count(); ++i) {
                const TPoint& klub = *points.GetItem(i);
                if (const auto found = klubCol.find(klub.Key()); found != klubCol.end())
                    sums[found->second] += klub.GetTotalPoint();
            }
        }
        for (const auto& [col, points] : sums)
            oversigt.SetText(col, row, PointText(points, valg));
    }

    const auto withPlace = [&](int row, const QString& label, const TPoints& points) {
        oversigt.SetText(0, row, label);
        for (int i = 0; i < points.Count(); ++i) {
            const TPoint& klub = *points.GetItem(i);
            if (const auto found = klubCol.find(klub.Key()); found != klubCol.end())
                oversigt.SetText(found->second, row,
                                 PointText(klub.GetTotalPoint(), valg) + QStringLiteral(" (") +
                                     IntStr(i + 1) + u')');
        }
    };
    int row = roundRows + 1;
    if (valg.FlereRunder) {
        withPlace(row, valg.FoerText, runde1);
        withPlace(row + 2, valg.NuText, nu);
        row += 4;
    }
    oversigt.SetText(0, row, QStringLiteral("POINTS"));
    for (int i = 0; i < total.Count(); ++i) {
        const TPoint& klub = *total.GetItem(i);
        oversigt.SetText(klubCol[klub.Key()], row, PointText(klub.GetTotalPoint(), valg));
    }
}
