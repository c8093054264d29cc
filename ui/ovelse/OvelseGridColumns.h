#pragma once
// The column layout of the event editor's result grid, kept as a meet setting in its text form: each
// column as caption "," kind "," width "," and closed by ";". The kind is the column's id in the result
// rows (D_ResultColumn.h); a width of 0 takes the kind's default width.
#include "model/D_ResultColumn.h"

#include <QString>

#include <memory>
#include <vector>

struct TOvelseGridColumn {
    QString Caption;
    int Kind = 0;
    int Width = 0;
};

class TOvelseGridColumns {
public:
    TOvelseGridColumns() = default;
    TOvelseGridColumns(const TOvelseGridColumns&) = delete;
    TOvelseGridColumns& operator=(const TOvelseGridColumns&) = delete;

    void Clear() { columns_.clear(); }
    int GetCount() const { return static_cast<int>(columns_.size()); }
    // Null outside the columns.
    TOvelseGridColumn* GetColumn(int index) const;
    QString GetAsText() const;
    // Replaces every column with those of the text. A part whose kind or width is no integer is
    // skipped, and the parts after it are read all the same; a missing piece gives an empty caption or
    // the number 0. True when every part was read.
    bool SetAsText(const QString& text);
    TOvelseGridColumn& Add(const QString& caption, int kind, int width);
    // The kind with its standard caption and the default width.
    TOvelseGridColumn& AddStandard(TResultColumn kind);
    // The first column of the kind; null when none.
    TOvelseGridColumn* FindKind(int kind) const;

    // The layout the editor works with: the text read, columns of kinds outside the result columns
    // dropped, and the default layout when nothing is left. True when the text was taken as it stands.
    bool SetAsEditorLayout(const QString& text);

private:
    std::vector<std::unique_ptr<TOvelseGridColumn>> columns_;
};
