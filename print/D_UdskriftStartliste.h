#pragma once
// The start list: who runs in which heat and lane, or, before the round is seeded, everyone in seeding
// order; printed through the layout "Startliste" or written as the page "startliste". The seeding-order
// table of its page is also the programme's (D_UdskriftProgramliste.h).
#include "print/D_Udskrift.h"

#include <QString>

class TStartlisteUdskrift : public TUdskrift {
public:
    explicit TStartlisteUdskrift(QObject* owner = nullptr);

    // Only a round seeded whole, unless the batch jobs list unseeded rounds too.
    bool HasData() override;
    void Prepare() override;
    void PrintOvelse() override;
    void WriteOvelseHtml() override;
    void OpenHtml() override;

private:
    // Column 5 of a row: the team with its members, or the athlete (with the second club in ECup2007);
    // the member lines used.
    int PrintNameColumn(const TResultat& row);
};

// The start list's table of the round the job holds, as HTML: by heat and lane with a heading per heat,
// or in seeding order (the rows sorted so first).
void WriteStartlisteHtmlTable(TUdskrift& job, bool heatOrdered);

// Opens the page of the start list or the programme: the caller's page name, or the fixed name with the
// job's suffix; the title from the meet's words with Oversattelse.
void OpenStartlisteHtml(TUdskrift& job, const QString& fixedName, const QString& title);
