#include "ui/ovelse/OvelseGridColumns.h"

#include "foundation/LxString.h"
#include "model/D_Result.h"
#include "model/D_StaevneSystemData.h"

#include <algorithm>
#include <optional>

namespace {

// A piece of a part as a number: an empty piece is 0, anything but an integer none.
std::optional<int> NumberPiece(const QString& piece) {
    const QString text = TrimBlanks(piece);
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

TOvelseGridColumn* TOvelseGridColumns::GetColumn(int index) const {
    return index >= 0 && index < GetCount() ? columns_[static_cast<std::size_t>(index)].get() : nullptr;
}

QString TOvelseGridColumns::GetAsText() const {
    QString text;
    for (const auto& column : columns_)
        text += column->Caption + u',' + QString::number(column->Kind) + u',' +
                QString::number(column->Width) + QStringLiteral(",;");
    return text;
}

bool TOvelseGridColumns::SetAsText(const QString& text) {
    Clear();
    bool whole = true;
    QStringList parts = text.split(u';');
    parts.removeLast(); // what follows the last ";" is no part
    for (const QString& part : parts) {
        QStringList pieces = part.split(u',');
        pieces.removeLast(); // nor what follows the last ","
        const std::optional<int> kind = NumberPiece(pieces.value(1));
        const std::optional<int> width = NumberPiece(pieces.value(2));
        if (!kind || !width) {
            whole = false;
            continue;
        }
        Add(TrimBlanks(pieces.value(0)), *kind, std::max(*width, 0));
    }
    return whole;
}

TOvelseGridColumn& TOvelseGridColumns::Add(const QString& caption, int kind, int width) {
    columns_.push_back(std::make_unique<TOvelseGridColumn>(TOvelseGridColumn{caption, kind, width}));
    return *columns_.back();
}

TOvelseGridColumn& TOvelseGridColumns::AddStandard(TResultColumn kind) {
    return Add(ResultColumnText(kind), static_cast<int>(kind), 0);
}

TOvelseGridColumn* TOvelseGridColumns::FindKind(int kind) const {
    const auto found = std::find_if(columns_.begin(), columns_.end(),
                                    [kind](const auto& column) { return column->Kind == kind; });
    return found == columns_.end() ? nullptr : found->get();
}

bool TOvelseGridColumns::SetAsEditorLayout(const QString& text) {
    bool whole = SetAsText(text);
    const auto unknown = std::remove_if(columns_.begin(), columns_.end(), [](const auto& column) {
        return !ResultColumnOf(column->Kind).has_value();
    });
    whole = whole && unknown == columns_.end();
    columns_.erase(unknown, columns_.end());
    if (columns_.empty()) {
        SetAsText(TSystemData::DefaultGridColumns());
        return false;
    }
    return whole;
}
