#include "ui/ovelse/Oversigt.h"

#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_GridKlasse.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"

#include <cmath>
#include <stdexcept>

namespace {

constexpr int SecondsPerDay = 86400;
constexpr int MinutesPerDay = 1440;

} // namespace

TOversigtValg MeetOversigtValg(TOversigtSortering sortering, int ugedag, bool visNulOvelser,
                               bool visTidsskema) {
    const TSystemData& data = CurrentSystemData();
    TOversigtValg valg;
    valg.Sortering = sortering;
    valg.Ugedag = ugedag;
    valg.VisNulOvelser = visNulOvelser;
    valg.VisTidsskema = visTidsskema;
    valg.Redid = data.Redid;
    valg.Engelsk = data.Engelsk;
    valg.HoldTurnering = StaevneManager && StaevneManager->IsHoldTurnering();
    valg.FlereRunder = data.FlereRunder;
    valg.PointDecimal = data.DT || data.ECup2007;
    if (StaevneManager) {
        valg.FoerText = StaevneManager->GetFoerText();
        valg.NuText = StaevneManager->GetNuText();
    }
    return valg;
}

// ---------------------------------------------------------------- the table

TOversigt::TOversigt() {
    rowCount_ = 1; // the headings
}

QString TOversigt::Text(int col, int row) const {
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount())
        return {};
    if (row == 0)
        return columns_[static_cast<std::size_t>(col)].Header;
    return cells_[Index(col, row)].Text;
}

TOvelseInfo* TOversigt::Info(int col, int row) const {
    if (row < 1 || row >= RowCount() || col < 1 || col >= ColCount())
        return nullptr;
    return cells_[Index(col, row)].Info;
}

std::optional<std::pair<int, int>> TOversigt::Find(const TOvelseInfo* info) const {
    const auto found = places_.find(info);
    if (found == places_.end() || found->second.Col < 0)
        return std::nullopt;
    return std::pair(found->second.Col, found->second.Row);
}

bool TOversigt::HasTidLabel(int row) const {
    return row >= 1 && row < roundRowsEnd_ && !Text(0, row).isEmpty();
}

std::pair<int, int> TOversigt::TidRows(int row) const {
    if (row < 1 || row >= roundRowsEnd_)
        return {row, row};
    int first = row;
    while (first > 1 && !HasTidLabel(first))
        --first;
    int last = row;
    while (last + 1 < roundRowsEnd_ && !HasTidLabel(last + 1))
        ++last;
    return {first, last};
}

int TOversigt::TidOrder(const TOvelseInfo* info) const {
    const auto found = places_.find(info);
    return found == places_.end() ? -1 : found->second.TidOrder;
}

std::optional<int> TOversigt::Grey(int col, int row) const {
    const auto found = grey_.find(Key(col, row));
    if (found == grey_.end())
        return std::nullopt;
    return found->second;
}

QString TOversigt::ClipboardText() const {
    QString text;
    for (int row = 0; row < RowCount(); ++row) {
        for (int col = 0; col < ColCount(); ++col) {
            if (col > 0)
                text += u'\t';
            text += Text(col, row);
        }
        text += CrLf;
    }
    return text;
}

bool TOversigt::Rewrite(const TOvelseInfo* info, const TOversigtValg& valg) {
    const std::optional<std::pair<int, int>> cell = Find(info);
    if (!cell)
        return false;
    const auto [col, row] = *cell;
    SetText(col, row, OversigtCellText(*info, valg, Column(col).Mixed));
    return true;
}

void TOversigt::AddColumn(TOversigtColumn column) {
    const std::size_t old = columns_.size();
    columns_.push_back(std::move(column));
    // Every row gets the new column's cell at its end.
    std::vector<TOversigtCell> cells(static_cast<std::size_t>(rowCount_) * columns_.size());
    for (std::size_t row = 0; row < static_cast<std::size_t>(rowCount_); ++row)
        std::move(cells_.begin() + static_cast<std::ptrdiff_t>(row * old),
                  cells_.begin() + static_cast<std::ptrdiff_t>((row + 1) * old),
                  cells.begin() + static_cast<std::ptrdiff_t>(row * columns_.size()));
    cells_ = std::move(cells);
}

int TOversigt::AddRow(const QString& label) {
    cells_.resize(cells_.size() + columns_.size());
    ++rowCount_;
    if (!columns_.empty())
        cells_[Index(0, rowCount_ - 1)].Text = label;
    return rowCount_ - 1;
}

TOversigtCell& TOversigt::CellAt(int col, int row) {
    if (row < 0 || row >= rowCount_ || col < 0 || col >= ColCount())
        throw std::out_of_range("TOversigt: no such cell");
    return cells_[Index(col, row)];
}

void TOversigt::SetText(int col, int row, const QString& text) {
    if (row == 0)
        columns_.at(static_cast<std::size_t>(col)).Header = text;
    else
        CellAt(col, row).Text = text;
}

void TOversigt::Place(int col, int row, TOvelseInfo* info, const QString& text) {
    TOversigtCell& cell = CellAt(col, row);
    cell.Info = info;
    cell.Text = text;
    TRoundPlace& place = places_[info];
    place.Col = col;
    place.Row = row;
}

void TOversigt::KeepMinimumRows() {
    while (RowCount() < 2)
        AddRow();
}

// ---------------------------------------------------------------- building

TRecordColumns::TRecordColumns(TOversigt& oversigt, TMakeColumn makeColumn)
    : oversigt_(oversigt)
    , makeColumn_(std::move(makeColumn)) {}

void TRecordColumns::AddList(TDataList& list) {
    for (int pos = 0; pos < list.GetCount(); ++pos) {
        const TDataElement* element = list.GetElement(pos);
        if (!element->DeleteRequested && !element->Deleted)
            ColOf(*element);
    }
}

int TRecordColumns::ColOf(const TDataElement& element) {
    // Looked up first: most rounds share a column made before.
    if (const auto found = cols_.find(&element); found != cols_.end())
        return found->second;
    const int col = oversigt_.ColCount();
    cols_.emplace(&element, col);
    oversigt_.AddColumn(makeColumn_(element));
    return col;
}

TOversigt BuildOversigt(TOvelseManager& ovelser, const TOversigtValg& valg, TResultatManager* manager) {
    TOversigt oversigt;
    switch (valg.Sortering) {
    case TOversigtSortering::KlasseOvelse:
        BuildKlasseOvelse(oversigt, ovelser, valg);
        break;
    case TOversigtSortering::Mangekamp:
        BuildMangekamp(oversigt, ovelser, valg);
        break;
    case TOversigtSortering::Tidsskema:
    case TOversigtSortering::FemMinutter:
        BuildTidsskema(oversigt, ovelser, valg, manager);
        break;
    }
    oversigt.KeepMinimumRows();
    if (valg.Sortering == TOversigtSortering::FemMinutter)
        CalcFeltSkygge(oversigt);
    return oversigt;
}

// ---------------------------------------------------------------- texts

bool IsShown(const TOvelseInfo& info, const TOversigtValg& valg) {
    if (valg.Ugedag != 0 && info.GetUgedag() != valg.Ugedag)
        return false;
    return valg.VisNulOvelser || info.AntalDeltagere != 0;
}

namespace {

void AppendAntal(QString& text, const TOvelseInfo& info) {
    const qint32 n = info.AntalAktiveDeltagere;
    const qint32 h = info.AntalHeat;
    if (n <= 0)
        return;
    text += QLatin1StringView(" (") + IntStr(n);
    if (h >= 2)
        text += u'/' + IntStr(h);
    text += u')';
}

} // namespace

QString AntalSuffix(const TOvelseInfo& info) {
    QString text;
    AppendAntal(text, info);
    return text;
}

int TidMinutes(const TOvelseInfo& info) {
    const double tid = info.GetTid();
    const qint64 seconds = std::llround((tid - std::floor(tid)) * SecondsPerDay);
    return static_cast<int>((seconds / 60) % MinutesPerDay);
}

QString TidText(const TOvelseInfo& info) {
    const int minutes = TidMinutes(info);
    return IntToZeroStr(minutes / 60, 2) + u':' + IntToZeroStr(minutes % 60, 2);
}

TOversigtNames::TOversigtNames(bool redid)
    : redid_(redid) {}

const QString& TOversigtNames::Klasse(const TOvelseInfo& info) {
    const auto [found, added] = klasser_.try_emplace(&info.Klasse());
    if (added)
        found->second =
            redid_ ? info.Klasse().GetTrimmedString(KlasseField::Korttekst) : info.GetKlasseKode();
    return found->second;
}

const QString& TOversigtNames::Ovelse(const TOvelseInfo& info) {
    const auto [found, added] = ovelser_.try_emplace(&info.Ovelse());
    if (added)
        found->second = info.GetOvelseKode();
    return found->second;
}

QString OversigtCellText(const TOvelseInfo& info, const TOversigtValg& valg, bool mixed) {
    TOversigtNames names(valg.Redid);
    return OversigtCellText(info, valg, mixed, names);
}

QString OversigtCellText(const TOvelseInfo& info, const TOversigtValg& valg, bool mixed,
                         TOversigtNames& names) {
    QString text;
    switch (valg.Sortering) {
    case TOversigtSortering::KlasseOvelse:
        if (valg.VisTidsskema) {
            text = TidText(info);
        } else {
            const qint32 n = info.AntalAktiveDeltagere;
            text = IntStr(n);
            if (n >= 1 && info.AntalHeat >= 2)
                text += u'/' + IntStr(info.AntalHeat);
        }
        break;
    case TOversigtSortering::Mangekamp:
        text = info.GetOvelseKode() + AntalSuffix(info);
        break;
    case TOversigtSortering::Tidsskema:
    case TOversigtSortering::FemMinutter:
        // One text appended to: a schedule has a cell for every round.
        text.reserve(32);
        text += names.Klasse(info);
        if (mixed) {
            text += u' ';
            text += names.Ovelse(info);
            AppendAntal(text, info);
            text += u' ';
            text += info.GetRunde();
        } else if (info.AntalAktiveDeltagere > 0) {
            text += QLatin1StringView(" (") + IntStr(info.AntalAktiveDeltagere) + u')';
        }
        break;
    }
    if (valg.Overlap) {
        if (const int overlap = valg.Overlap->GetOverlap(&info); overlap > 0)
            text += QStringLiteral(" %") + IntStr(overlap);
    }
    return text;
}
