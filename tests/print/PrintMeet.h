#pragma once
// The current meet as page headers and footers read it: its settings, the program's version, its folder
// and a clock standing still at Saturday 13 June 2026, 14:05, for as long as the object lives.
#include "model/D_Context.h"
#include "model/D_StaevneSystemData.h"

#include <QDateTime>
#include <QString>

class TPrintMeet {
public:
    explicit TPrintMeet(const QString& staevneDir = {})
        : scope_(Context(&Data, staevneDir)) {}

    static QDateTime Now() { return QDateTime(QDate(2026, 6, 13), QTime(14, 5)); }

    TSystemData Data;

private:
    static TModelContext Context(const TSystemData* data, const QString& staevneDir) {
        TModelContext context;
        context.ProgramVersion = QStringLiteral("2.0.0");
        context.StaevneDir = staevneDir;
        context.SystemData = data;
        const TDateTime now = QDateTimeToDateTime(Now());
        context.Clock = [now] { return now; };
        return context;
    }

    TModelContextScope scope_;
};
