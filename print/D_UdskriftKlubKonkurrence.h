#pragma once
// The club competition: each club's points over a list of rounds, individual and team, best total
// first; printed through the layout "KlubKonkurrence" or written as the page "klubkonkurrence".
#include "print/D_UdskriftOversigt.h"

#include <QString>

#include <vector>

class TOvelseInfo;

// A club's points in the club competition.
struct TKlubKonkurrence {
    QString Klub;
    double Individuel = 0;
    double Hold = 0;
    double Total() const { return Individuel + Hold; }
};

class TKlubKonkurrenceUdskrift : public TOversigtUdskrift {
public:
    explicit TKlubKonkurrenceUdskrift(QObject* owner = nullptr);

    // The rounds' points, loaded into a result manager of the job's own.
    void Run(const std::vector<TOvelseInfo*>& rounds);

    // The clubs in the order first met, with their points over the rounds.
    std::vector<TKlubKonkurrence> Collect(const std::vector<TOvelseInfo*>& rounds);
    // Best total first; of equal totals the one met first.
    static std::vector<TKlubKonkurrence> Ranked(std::vector<TKlubKonkurrence> clubs);
};
