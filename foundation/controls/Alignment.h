#pragma once
// Text alignment of the controls and grid columns.
#include <Qt>

// How a control or a grid column places its text.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

inline Qt::Alignment HorizontalAlignment(TAlignment alignment) {
    switch (alignment) {
    case TAlignment::taRightJustify:
        return Qt::AlignRight;
    case TAlignment::taCenter:
        return Qt::AlignHCenter;
    case TAlignment::taLeftJustify:
        break;
    }
    return Qt::AlignLeft;
}
