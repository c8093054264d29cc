#include "model/D_StaevneDef.h"

#include "foundation/BusyCursor.h"
#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "storage/BtvTransaction.h"

namespace {

void CheckTekst(const QString& tekst, const QString& illegal, const QString& hvad) {
    if (Windows1252::Decode(Windows1252::Encode(tekst)) != tekst)
        throw Exception(illegal + tekst + CrLf + hvad +
                        QStringLiteral(" kan kun indeholde tegn fra tegnsættet Windows-1252"));
}

// Date, heading 3, stadium and organiser, as every finish sets them.
void SetStaevneData(TStaevneManager& manager, const TStaevneDefValg& valg) {
    manager.SetDato(valg.Dato);
    TSystemData& systemData = manager.SystemData();
    systemData.Overskrift3 = valg.Overskrift3;
    systemData.Stadion = TrimBlanks(valg.Stadion);
    systemData.Arrangor = TrimBlanks(valg.Arrangor);
}

void SaveRaekke(TOvelseManager& ovelser, const std::vector<int>& klasser, const TEditOvelsesRaekke& raekke) {
    if (!ovelser.SaveEditOvelsesRaekke(&klasser, raekke))
        throw Exception(QStringLiteral("Stævnets øvelser kunne ikke gemmes"));
}

void SaveStaevneData(TStaevneManager& manager) {
    if (!manager.SaveStaevneData())
        throw Exception(QStringLiteral("Stævnets data kunne ikke gemmes"));
}

// The new meet's own event manager while it is written: the one on show keeps the meet that is open
// until the new one is stored, and keeps hearing of the meets opened.
class TNewMeetProgramme {
public:
    TNewMeetProgramme()
        : onShow_(ModelContext().OnStaevneChanged) {
        ovelser_.emplace();
        ovelser_->Reload();
    }
    ~TNewMeetProgramme() {
        ovelser_.reset();
        ModelContext().OnStaevneChanged = onShow_;
    }
    TNewMeetProgramme(const TNewMeetProgramme&) = delete;
    TNewMeetProgramme& operator=(const TNewMeetProgramme&) = delete;

    TOvelseManager& operator*() { return *ovelser_; }

private:
    std::function<void()> onShow_;
    std::optional<TOvelseManager> ovelser_;
};

// "Tomt stævne": a new meet's settings for a meet of one round outdoors, then the programme as chosen.
void UdfoerStandard(TStaevneManager& manager, TOvelseManager& ovelser, const TStaevneDefValg& valg) {
    TSystemData& systemData = manager.SystemData();
    systemData.BrugPersonligRekord = false;
    systemData.DT = false;
    systemData.VT = false;
    systemData.LTU = false;
    systemData.FlereRunder = false;
    systemData.Indendors = false;
    systemData.PointBeregning = 6;
    SetStaevneData(manager, valg);
    systemData.Overskrift1.clear();
    systemData.Overskrift2.clear();
    if (valg.Raekke)
        SaveRaekke(ovelser, valg.Klasser, *valg.Raekke);
    SaveStaevneData(manager);
}

// One club per team; a club that cannot be made is reported and the next one follows.
void OpretHoldKlubber(const std::vector<THoldKlub>& hold) {
    TKlubManager klubber(AlleKlubber);
    for (const THoldKlub& klub : hold) {
        try {
            TKlubElement& element = klubber.NewKlub();
            element.GetField(KlubField::Navn)->SetAsString(klub.Navn);
            element.GetField(KlubField::HoldKode)->SetAsString(klub.HoldKode);
            element.GetField(KlubField::PointRunde1)->SetAsFloat(klub.PointRunde1);
            klubber.SaveAll();
        } catch (const Exception& error) {
            ShowError(nullptr, QStringLiteral("Kunne ikke oprette ") + error.Message());
        }
    }
}

// A team league: its settings, headings, one class, the programme of its table and its clubs.
void UdfoerHold(TStaevneManager& manager, TOvelseManager& ovelser, const TStaevneDefValg& valg,
                const THoldValg& hold) {
    TSystemData& systemData = manager.SystemData();
    SetHoldSettings(hold, systemData, manager.Registry());
    SetStaevneData(manager, valg);
    TEditOvelsesRaekke raekke;
    MakeHoldRaekke(hold, DateTimeToQDate(valg.Dato), ovelser, raekke, systemData);
    SaveRaekke(ovelser, {HoldKlasseNr(hold)}, raekke);
    OpretHoldKlubber(hold.Hold);
    SaveStaevneData(manager);
}

} // namespace

void CheckStaevneDefTekster(const TStaevneDefValg& valg) {
    CheckTekst(TrimBlanks(valg.Stadion), QStringLiteral("Illegalt stadion: "), QStringLiteral("Et stadion"));
    CheckTekst(TrimBlanks(valg.Arrangor), QStringLiteral("Illegal arrangør: "),
               QStringLiteral("En arrangør"));
}

int UdfoerNytStaevne(const TStaevneDefValg& valg) {
    CheckStaevneDefTekster(valg);
    TStaevneManager& manager = *StaevneManager;
    const QString navn = TrimBlanks(valg.Navn);
    const TBusyCursor busy;
    // Only what goes wrong before the meet's own content is written is a failure to create it.
    bool filling = false;
    try {
        return manager.CreateStaevne(navn, [&] {
            filling = true;
            TNewMeetProgramme ovelser;
            if (valg.Hold)
                UdfoerHold(manager, *ovelser, valg, *valg.Hold);
            else
                UdfoerStandard(manager, *ovelser, valg);
            filling = false;
        });
    } catch (const Exception& error) {
        if (filling)
            throw;
        throw Exception(QStringLiteral("Fejl ved oprettelse af stævne: ") + navn + CrLf + error.Message());
    }
}

void UdfoerRetStaevne(const TStaevneDefValg& valg) {
    CheckStaevneDefTekster(valg);
    TStaevneManager& manager = *StaevneManager;
    const int index = manager.GetCurrentIndex();
    if (index < 0)
        throw Exception(QStringLiteral("Der er ikke valgt noget stævne"));
    const TBusyCursor busy;
    const TSystemData systemData = manager.SystemData();
    const TStaevneRegistry registry = manager.Registry();
    try {
        TBtvTransaction transaction;
        SetStaevneData(manager, valg);
        if (valg.Raekke)
            SaveRaekke(*OvelseManager, valg.Klasser, *valg.Raekke);
        SaveStaevneData(manager);
        transaction.Commit();
    } catch (...) {
        // The files are as they were; the settings and the programme in memory follow them again.
        manager.SystemData() = systemData;
        manager.Registry() = registry;
        try {
            manager.SaveRegistry();
            manager.OpenStaevne(index);
        } catch (...) {
            // the finish's own error is the one to report
        }
        throw;
    }
}
