#pragma once
// The reaction times of every round of the meet, fastest first, "=" for a time equal to the one above;
// printed through the layout "Reaktionstider" or written as the page "reaktion".
#include "print/D_UdskriftOversigt.h"

#include <QString>

#include <vector>

class TOvelseInfo;

struct TReaktionsTid {
    qint32 Tid = 0; // ms
    QString Navn;
    QString Klub;
    QString Ovelse;
};

class TReaktionstiderUdskrift : public TOversigtUdskrift {
public:
    explicit TReaktionstiderUdskrift(QObject* owner = nullptr);

    // Every round of the meet in class-major programme order.
    void Run();

    // The reaction times of the rounds (loaded into a result manager of the job's own), fastest first.
    std::vector<TReaktionsTid> Collect(const std::vector<TOvelseInfo*>& rounds);
};
