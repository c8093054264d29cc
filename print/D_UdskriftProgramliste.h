#pragma once
// The programme: every entry of a round in seeding order with its personal best and entered result,
// the round kept on one page; printed through the layout "Program" or written as the page "program" in
// the start list's seeding-order form.
#include "print/D_Udskrift.h"

class TProgramlisteUdskrift : public TUdskrift {
public:
    explicit TProgramlisteUdskrift(QObject* owner = nullptr);

    void Prepare() override;
    void PrintOvelse() override;
    void WriteOvelseHtml() override;
    void OpenHtml() override;

protected:
    bool ShowsHeatCount() const override { return true; }
};
