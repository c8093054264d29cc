#pragma once
// The medal table: the clubs' gold, silver and bronze medals from the last round of every official
// event (of a round split into lettered finals only the A final), most gold first; printed through the
// layout "Medaljeliste" or written as the page "medaljer".
#include "print/D_UdskriftOversigt.h"

#include <QString>

#include <vector>

class TOvelseInfo;

struct TMedaljeKlub {
    QString Klub;
    int Guld = 0;
    int Soelv = 0;
    int Bronze = 0;
    int Total() const { return Guld + Soelv + Bronze; }
};

class TMedaljelisteUdskrift : public TOversigtUdskrift {
public:
    explicit TMedaljelisteUdskrift(QObject* owner = nullptr);

    // Every round of the meet in class-major programme order.
    void Run();

    // The clubs' medals over the rounds (loaded into a result manager of the job's own), in the table's
    // order: more gold, then silver, then bronze, then the club's name.
    std::vector<TMedaljeKlub> Collect(const std::vector<TOvelseInfo*>& rounds);
};
