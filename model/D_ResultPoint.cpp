// Points of a round: team-league points by place, veteran points, or the round's points method (formulas,
// tables, points by place), followed by the limit of scorers per team.
#include "model/D_Result.h"

#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_PointBeregning.h"
#include "model/D_ResultSortKeys.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <tuple>

namespace {

// Team codes A..Z as 1..26.
constexpr int HoldkodeCount = 26;
using THoldCounts = std::array<int, HoldkodeCount + 1>;

constexpr int MinDTHold = 6;
constexpr int MaxDTHold = 26;
constexpr double HalvePoint = 0.5;

const QString BluePointsMen = QStringLiteral("_t_blue\\iaaf-blue-points-men.csv");
const QString BluePointsWomen = QStringLiteral("_t_blue\\iaaf-blue-points-women.csv");

// A row that may score: valid, in competition and counted for its team.
bool CanScore(const TResultat& row) {
    return row.IsValid() && !row.IsUK() && !row.IsUdenforHold();
}

// Rows in place order, those without a place last.
int CompareByPlaced(const TResultSort&, const TResultat& a, const TResultat& b) {
    const auto order = [](const TResultat& row) { return row.Plac == 0 ? 0x10000 : int(row.Plac); };
    return order(a) - order(b);
}

// The row's team code A..Z as 1..26; 0 for none.
int HoldNr(const TResultat& row) {
    const char16_t c = row.Holdkode.toUpper().unicode();
    return c >= u'A' && c <= u'Z' ? c - u'A' + 1 : 0;
}

// A number behind the class letter; 0 when it is none.
int KlasseAlder(const QString& klasse) {
    bool ok = false;
    const int alder = klasse.mid(1).toInt(&ok);
    return ok ? alder : 0;
}

// The formula methods count these class letters as female.
bool IsKvindeKlasse(const QString& klasse) {
    const QChar first = klasse.isEmpty() ? QChar() : klasse.at(0).toUpper();
    return first == u'K' || first == u'P' || first == u'S';
}

// The points tables' event code: the steeplechase over 1000 m is scored as 800 m.
QString TabelOvelse(const QString& ovelse) {
    const QString kode = TrimBlanks(ovelse).toUpper();
    return kode == u"1000ST" ? QStringLiteral("800") : kode;
}

// What the user is told of an event and class the points method cannot score: every row gets 0.
QString UnscoredText(const QString& ovelse, const QString& klasse, const QString& tabel) {
    return QStringLiteral("Ingen point for %1 i klassen %2: %3 har ingen værdier for øvelsen i klassen")
        .arg(TrimBlanks(ovelse), TrimBlanks(klasse), tabel);
}

QString FileTabelText(const QString& file) {
    return QStringLiteral("pointtabellen \"%1\"").arg(file);
}

// A shipped or configured file name in the program folder unless it names a folder of its own.
QString InProgramDir(const QString& name) {
    return QDir::isAbsolutePath(name) ? name : PathJoin(ModelContext().ProgramDir, name);
}

// The points table of a file, or null with the message added when it cannot be read.
template <typename Load>
std::unique_ptr<TPointTabel> LoadTabel(QStringList& messages, Load load) {
    auto table = std::make_unique<TPointTabel>();
    try {
        load(*table);
        return table;
    } catch (const EPointTabelError& error) {
        messages << error.Message();
        return nullptr;
    }
}

struct TVeteranTabeller {
    std::unique_ptr<TPointTabel> Men;
    std::unique_ptr<TPointTabel> Women;
};

// The blue-points tables of both sexes for the event; the walk's marks are in whole seconds.
TVeteranTabeller LoadVeteranTabeller(const QString& ovelse, QStringList& messages) {
    const QString kode = TabelOvelse(ovelse);
    const auto load = [&](const QString& file) {
        auto table = LoadTabel(messages, [&](TPointTabel& t) { t.LoadFromCSV(InProgramDir(file), kode); });
        if (table && kode == u"3000G")
            table->ScaleResults();
        return table;
    };
    TVeteranTabeller tables;
    tables.Men = load(BluePointsMen);
    tables.Women = load(BluePointsWomen);
    return tables;
}

// The points of scoring place p in a team league of n teams.
double DTPlacePoint(int p, int n, bool eCup) {
    if (p < 1 || p > n)
        return 0;
    return !eCup && p == 1 ? n + 1 : n - p + 1;
}

// One pass of team-league points over the rows in order: each team's best row not yet scored takes the
// next scoring place; rows sharing a place (shared[i]: row i shares the place of the row before it) share
// the points of the places they take.
// hold[i] is the team of row i when the row can score, else 0.
void ScoreDTPass(const std::vector<TResultat*>& rows, const std::vector<int>& hold,
                 const std::vector<bool>& shared, std::vector<bool>& scored, int n, bool eCup,
                 double factor) {
    std::array<bool, HoldkodeCount + 1> holdScored{};
    const auto candidate = [&](std::size_t i) {
        return !scored[i] && hold[i] != 0 && !holdScored[std::size_t(hold[i])];
    };
    int place = 1;
    for (std::size_t i = 0; i < rows.size();) {
        if (!candidate(i)) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < rows.size() && shared[end])
            ++end;
        std::vector<std::size_t> scorers;
        for (std::size_t j = i; j < end; ++j) {
            if (candidate(j)) {
                holdScored[std::size_t(hold[j])] = true;
                scorers.push_back(j);
            }
        }
        double sum = 0;
        for (std::size_t k = 0; k < scorers.size(); ++k)
            sum += DTPlacePoint(place + static_cast<int>(k), n, eCup);
        place += static_cast<int>(scorers.size());
        for (const std::size_t j : scorers) {
            rows[j]->SetPoint(sum / static_cast<double>(scorers.size()) * factor);
            scored[j] = true;
        }
        i = end;
    }
}

} // namespace

qint32 GetNaturligPointType(const QString& klasseKode) {
    const QString klasse = TrimBlanks(klasseKode).toUpper();
    if (klasse.isEmpty())
        return -1;
    const QChar first = klasse.at(0);
    const int alder = KlasseAlder(klasse);
    if (first == u'K' || first == u'M') {
        if (klasse.size() == 1)
            return qint32(PointBeregning::IaafMangekamp);
        if (klasse.size() == 3) {
            if (alder < 14)
                return qint32(PointBeregning::DafUngdom);
            if (alder <= 22)
                return qint32(PointBeregning::IaafMangekamp);
            if (alder >= 30)
                return qint32(PointBeregning::WmaMangekamp);
        }
    } else if (first == u'D' || first == u'P') {
        if (klasse.size() == 3) {
            if (alder <= 13)
                return qint32(PointBeregning::DafUngdom);
            if (alder <= 22)
                return qint32(PointBeregning::IaafMangekamp);
        } else if (klasse.size() == 2 && alder >= 5 && alder <= 9) {
            return qint32(PointBeregning::DafUngdom);
        }
    }
    return -1;
}

int GetPlaceringsPointTabel(qint32 method) {
    switch (static_cast<PointBeregning>(method)) {
    case PointBeregning::Placering1:
        return 1;
    case PointBeregning::Placering2:
        return 2;
    case PointBeregning::Placering3:
        return 3;
    case PointBeregning::Placering4:
        return 4;
    default:
        return 0;
    }
}

qint32 TResultatManager::GetPointType() const {
    if (!ovelseInfo_)
        return -1;
    const qint32 method = ovelseInfo_->GetPointBeregning();
    return method == qint32(PointBeregning::NaturligAldersgruppe)
               ? GetNaturligPointType(ovelseInfo_->GetKlasseKode())
               : method;
}

QStringList TResultatManager::CalcPoint() {
    if (!ovelseInfo_ || ovelser_.size() != 1)
        return {};
    const TSystemData& data = CurrentSystemData();
    if (data.ECup2007 || (data.DT && !data.VT)) {
        CalcDTPoint();
        return {};
    }
    if (data.VT)
        return CalcVTPoint();
    // Points change no text a sort ranks: the round's placings below share one sort's keys.
    const TResultSort sort(Rules());
    const qint32 method = GetPointType();
    // With a limit on scorers per team, the placing after it makes the teams; the placing points by place
    // were given on stands for the limit's own, as points are nothing a placing sorts on.
    const bool limited = HasScorerLimit();
    QStringList messages = CalcMethodPoint(method, sort, !limited);
    if (limited)
        CalcScorerLimit(sort, GetPlaceringsPointTabel(method) != 0);
    return messages;
}

QStringList TResultatManager::CalcPointOvelser(const std::vector<TOvelseInfo*>& ovelser) {
    QStringList messages;
    for (TOvelseInfo* info : ovelser) {
        if (!info || info->AntalDeltagere < 1)
            continue;
        LoadOvelse(info);
        if (!HasResultat())
            continue;
        messages << CalcPoint();
        SaveResultater();
    }
    messages.removeDuplicates();
    return messages;
}

QStringList TResultatManager::CalcVeteranPoint2() {
    if (!ovelseInfo_)
        return {};
    QStringList messages;
    const TVeteranTabeller tables = LoadVeteranTabeller(ovelseInfo_->GetOvelseKode(), messages);
    for (const auto& row : rows_)
        row->VeteranPoint2 = row->GetVeteranPoint2(tables.Men.get(), tables.Women.get());
    return messages;
}

// ---------------------------------------------------------------- team leagues

void TResultatManager::CalcDTPoint() {
    const TSystemData& data = CurrentSystemData();
    // The placing's sort orders the points too: the rows' keys are made once.
    const TResultSort sort(Rules());
    const bool lettered = sort.Rules().IsLetteredFinals();
    std::vector<TResultat*> rows;
    CalcPlacering(sort, true, lettered ? nullptr : &rows);
    const int n = std::clamp<int>(data.AntalDTHold, MinDTHold, MaxDTHold);
    // The points go by the order over all heats: the places of lettered finals, which count on from one
    // final to the next, else the result order, whatever places per heat say.
    if (rows.empty()) {
        rows = GetResultater();
        SortResultater(rows, sort, lettered ? CompareByPlaced : CompareByResultatHeat);
    }
    // The passes read what they need of the rows from here, in one pass over the rows that also clears
    // their points (no order above goes by them).
    std::vector<bool> shared(rows.size(), false);
    std::vector<int> hold(rows.size(), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PrefetchAhead(rows, i);
        TResultat& row = *rows[i];
        row.SetPoint(0);
        hold[i] = CanScore(row) && row.HasResultat() ? HoldNr(row) : 0;
        if (i == 0)
            continue;
        const TResultat& previous = *rows[i - 1];
        shared[i] = lettered ? row.Plac == previous.Plac : CompareByResultat(sort, row, previous) == 0;
    }
    // Whether a row has scored is its own mark: a scoring place beyond the table is worth 0 points.
    std::vector<bool> scored(rows.size(), false);
    ScoreDTPass(rows, hold, shared, scored, n, data.ECup2007, 1.0);
    const TStaevneManager* meet = ModelContext().StaevneManager.get();
    if (meet && meet->IsDTOvelseHalvePoints(ovelseInfo_->GetOvelseKode()))
        ScoreDTPass(rows, hold, shared, scored, n, data.ECup2007, HalvePoint);
}

// ---------------------------------------------------------------- veterans

QStringList TResultatManager::CalcVTPoint() {
    const TSystemData& data = CurrentSystemData();
    const TResultSort sort(Rules());
    CalcPlacering(sort);
    for (const auto& row : rows_)
        row->SetPoint(0);
    QStringList messages;
    const TVeteranTabeller tables = LoadVeteranTabeller(ovelseInfo_->GetOvelseKode(), messages);
    const QString ovelse = ovelseInfo_->GetOvelseKode();
    for (const auto& row : rows_) {
        const qint32 point = row->GetVeteranPoint(tables.Men.get(), tables.Women.get());
        row->SetPoint(point);
        row->SetVTPoint(point);
        if (!CanScore(*row) || !row->HasResultat())
            continue;
        const TPointTabel* table = row->IsKvinde() ? tables.Women.get() : tables.Men.get();
        if (!HasAlderRes(1, row->IsKvinde(), ovelse, row->GetAlder()))
            messages << UnscoredText(ovelse, ovelseInfo_->GetKlasseKode(),
                                     QStringLiteral("aldersfaktortabellen"));
        else if (table && table->Rows().empty())
            messages << UnscoredText(
                ovelse, ovelseInfo_->GetKlasseKode(),
                FileTabelText(InProgramDir(row->IsKvinde() ? BluePointsWomen : BluePointsMen)));
    }
    messages.removeDuplicates();
    if (data.UndladKontrol)
        return messages;

    // The best of each team by veteran points are ranked, equal points sharing a rank; their points
    // become those of their rank by placement table 1.
    Sort(sort, CompareByPointPlac);
    const TPlaceringsPoint* table = PlaceringsPoint(1);
    THoldCounts scorers{};
    int count = 0;
    int rank = 0;
    double previous = 0;
    for (const auto& row : rows_) {
        const int hold = HoldNr(*row);
        if (!CanScore(*row) || row->Point <= 0 || hold == 0)
            continue;
        if (scorers[hold] >= data.AntalTaellendeDeltagere) {
            row->SetPoint(0);
            continue;
        }
        ++scorers[hold];
        ++count;
        if (count == 1 || row->Point != previous)
            rank = count;
        previous = row->Point;
        row->SetPoint(table && row->Resultat != 0 ? table->GetPoint(rank) : 0);
    }
    CalcPlacering(sort);
    return messages;
}

// ---------------------------------------------------------------- points methods

QStringList TResultatManager::CalcMethodPoint(qint32 method, const TResultSort& sort, bool withTeams) {
    if (!HasResultat())
        return {};
    const QString klasse = ovelseInfo_->GetKlasseKode().toUpper();
    const QString ovelse = ovelseInfo_->GetOvelseKode();
    const TOvelseElement& event = ovelseInfo_->Ovelse();
    const bool timed = event.IsTidOvelse();
    const bool female = IsKvindeKlasse(klasse);

    // A mark's points and its second points value (Point3 of the row, Point2 of an attempt).
    using TScore = std::pair<qint32, qint32>;
    std::function<TScore(const TResultat&, qint32)> score;
    std::unique_ptr<TPointTabel> table;
    QStringList messages;
    int placeringsTabel = 0;
    // Youth classes also get the points of the second youth row in Point3.
    bool point3 = false;
    // Whether the method's tables hold the event for the class at all; tableName names them.
    bool scorable = true;
    QString tableName = GetPointBeregningText(GetPointBeregningIndex(method));

    switch (static_cast<PointBeregning>(method)) {
    case PointBeregning::IaafMangekamp: {
        point3 = klasse == u"D14" || klasse == u"D15" || klasse == u"P14" || klasse == u"P15";
        scorable = HasMKPoint(female, ovelse, point3 ? MKVariant::Youth : MKVariant::Any, NoAge);
        score = [=](const TResultat&, qint32 mark) {
            return point3 ? TScore{::CalcMKPoint(female, ovelse, MKVariant::Youth, mark, NoAge),
                                   ::CalcMKPoint(female, ovelse, MKVariant::YouthSecond, mark, NoAge)}
                          : TScore{::CalcMKPoint(female, ovelse, MKVariant::Any, mark, NoAge), 0};
        };
        break;
    }
    case PointBeregning::WmaMangekamp:
        scorable = klasse.size() == 3 && HasMKPoint(female, ovelse, MKVariant::Veteran, KlasseAlder(klasse));
        if (klasse.size() == 3) {
            const int alder = KlasseAlder(klasse);
            score = [=](const TResultat&, qint32 mark) {
                return TScore{::CalcMKPoint(female, ovelse, MKVariant::Veteran, mark, alder), 0};
            };
        }
        break;
    case PointBeregning::DafUngdom:
        scorable = HasUngdomsPoint(klasse, ovelse);
        score = [=](const TResultat&, qint32 mark) {
            return TScore{CalcUngdomsPoint(klasse, ovelse, timed, mark), 0};
        };
        break;
    case PointBeregning::Tabelopslag: {
        const QString folder = InProgramDir(CurrentSystemData().TabelOpslagPath);
        const QString file = PathJoin(folder, klasse + ovelse + QStringLiteral(".txt"));
        table = LoadTabel(messages, [&](TPointTabel& t) { t.LoadFromFile(file); });
        scorable = !table || !table->Rows().empty();
        tableName = FileTabelText(file);
        break;
    }
    case PointBeregning::IaafBluePoints: {
        const QChar first = klasse.isEmpty() ? QChar() : klasse.at(0);
        const bool men = first == u'D' || first == u'M';
        scorable = men || first == u'K' || first == u'P';
        if (scorable) {
            const QString file = InProgramDir(men ? BluePointsMen : BluePointsWomen);
            table = LoadTabel(messages, [&](TPointTabel& t) { t.LoadFromCSV(file, ovelse); });
            scorable = !table || !table->Rows().empty();
            tableName = FileTabelText(file);
        }
        break;
    }
    case PointBeregning::Placering1:
    case PointBeregning::Placering2:
    case PointBeregning::Placering3:
    case PointBeregning::Placering4:
        placeringsTabel = GetPlaceringsPointTabel(method);
        break;
    default:
        // No method: the points stay as they are.
        return {};
    }

    if (table) {
        // A hand time (tenths, negative) is looked up with the table's timing correction.
        score = [&table, timed](const TResultat&, qint32 mark) {
            const qint32 value = timed && mark <= 0 ? table->EltidKorr - 10 * mark : mark;
            return TScore{table->GetPoint(value), 0};
        };
    }
    if (placeringsTabel != 0) {
        CalcPlacering(sort, withTeams);
        score = [placeringsTabel](const TResultat& row, qint32) {
            return TScore{row.GetPlaceringsPoint(placeringsTabel), 0};
        };
    }

    // Attempts are scored in the jumps and throws of a combined event's disciplines.
    const bool attempts = ovelseInfo_->GetMKOvelseNr() > 0 &&
                          (event.IsSpringOvelse() || event.IsKasteOvelse()) && placeringsTabel == 0;
    const bool vertikal = event.IsVertikalSpringOvelse();
    const bool rowsToScore = std::any_of(
        rows_.begin(), rows_.end(), [](const auto& row) { return CanScore(*row) && row->Resultat != 0; });
    if (!scorable && rowsToScore)
        messages << UnscoredText(ovelse, klasse, tableName);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        PrefetchAhead(rows_, r);
        const auto& row = rows_[r];
        row->SetPoint(0);
        if (point3)
            row->SetPoint3(0);
        for (int i = 0; attempts && i < row->GetSerieCount(); ++i) {
            TSerie& serie = *row->GetSerie(i);
            serie.Point1 = 0;
            serie.Point2 = 0;
        }
        if (!score || !CanScore(*row) || row->Resultat == 0)
            continue;
        const auto [point, point2] = score(*row, row->Resultat);
        row->SetPoint(point);
        if (point3)
            row->SetPoint3(point2);
        for (int i = 0; attempts && i < row->GetSerieCount(); ++i) {
            TSerie& serie = *row->GetSerie(i);
            if (serie.IsMark() && (!vertikal || serie.IsCleared()))
                std::tie(serie.Point1, serie.Point2) = score(*row, serie.Value);
        }
    }
    return messages;
}

// ---------------------------------------------------------------- scorers per team

bool TResultatManager::HasScorerLimit() const {
    const TSystemData& data = CurrentSystemData();
    return (data.LTU || data.EgenTurnering || data.OstHoldTurnering) && data.AntalTaellendeDeltagere >= 1 &&
           HasResultat();
}

void TResultatManager::CalcScorerLimit(const TResultSort& sort, bool placed) {
    const qint32 limit = CurrentSystemData().AntalTaellendeDeltagere;
    // The teams are made by the placing after the limit.
    if (!placed)
        CalcPlacering(sort, false);
    Sort(sort, CompareByPointPlac);
    THoldCounts scorers{};
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        PrefetchAhead(rows_, i);
        TResultat& row = *rows_[i];
        const int hold = HoldNr(row);
        if (CanScore(row) && row.Point > 0 && hold != 0 && ++scorers[hold] > limit)
            row.SetPoint(0);
    }
    CalcPlacering(sort);
}
