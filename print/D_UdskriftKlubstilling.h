#pragma once
// The club standings of a team competition on their own: the overall standings once, or with the meet
// setting OstHoldTurnering once per age group of the programme (the age digits of its class codes);
// printed through the layout "Klubstilling_Hold" or written as the page "klubstilling".
#include "print/D_UdskriftStilling.h"

#include <QString>
#include <QStringList>

class TKlubstillingHoldUdskrift : public TKlubstillingBase {
public:
    explicit TKlubstillingHoldUdskrift(QObject* owner = nullptr);

    void Run();
    void OpenHtml() override;

    // The age groups of the programme: characters 2 and 3 of every round's class code (event-major
    // order), each once, in the order first met; a code without them gives none.
    static QStringList AgeGroups();
};
