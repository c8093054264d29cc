#pragma once
// Sorting result rows on one array of whole-number keys per sort: each row's keys are made once from its
// fields (texts as their ranks among the rows), then compared as plain numbers.
#include "model/D_Result.h"

// Sorts the rows as compare orders them, keeping equal rows in their order, when compare is one of the
// row orders of D_Result.h; false, leaving the rows as they were, for any other comparison.
bool SortOnKeys(std::vector<TResultat*>& rows, const TResultSort& sort, TResultatCompare compare);
// Asks memory ahead for the fields of a row that the sorts read: in a long round the rows lie far apart,
// and each would wait on its own.
void PrefetchSortFields(const TResultat& row);
// How many rows ahead a pass over rows in sorted order asks for the fields it reads next.
constexpr std::size_t PrefetchRows = 8;
// A pass that reads only a line or two of each row asks further ahead: its requests are fewer a row.
constexpr std::size_t PrefetchNarrowRows = 2 * PrefetchRows;
// In a pass over rows in turn, at row i: asks memory for the sort fields of the row PrefetchRows on.
template <typename Rows>
void PrefetchAhead(const Rows& rows, std::size_t i) {
    if (i + PrefetchRows < rows.size())
        PrefetchSortFields(*rows[i + PrefetchRows]);
}
// A mark as the comparisons order it, as one number: timed events ascending, others descending.
qint64 MarkKey(const TResultRules& rules, qint32 value, bool withKorrektion);
bool SortOnKeys(std::vector<std::unique_ptr<TResultat>>& rows, const TResultSort& sort,
                TResultatCompare compare);
