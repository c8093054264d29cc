#include "print/D_PrintTexts.h"

#include "model/D_StaevneSystemData.h"

QString MeetText(TMeetText text) {
    return CurrentSystemData().OversattelsesTekster.value(static_cast<int>(text));
}

QString ArrangorText() {
    const TSystemData& data = CurrentSystemData();
    if (data.Oversattelse)
        return MeetText(TMeetText::TextArrangor) + data.Arrangor;
    return QStringLiteral("Arrangør: ") + data.Arrangor;
}
