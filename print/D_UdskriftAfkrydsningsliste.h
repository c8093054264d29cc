#pragma once
// The check-in list on which the officials tick off who is present: a ruled line per athlete with the
// start number, name, club and entered result, the heat beside the first; for a relay a form per team
// for its four runners and two reserves. Printed through the layout "Afkrydsningsliste"; paper only.
#include "print/D_Udskrift.h"

class TAfkrydsningslisteUdskrift : public TUdskrift {
public:
    explicit TAfkrydsningslisteUdskrift(QObject* owner = nullptr);

    bool HasData() override;
    bool WritesHtml() const override { return false; }
    void Prepare() override;
    void PrintOvelse() override;

protected:
    bool ShowsHeatCount() const override { return true; }

private:
    void PrintAthlete(const TResultat& row, int heats);
    void PrintRelayForm(const TResultat& row);
};
