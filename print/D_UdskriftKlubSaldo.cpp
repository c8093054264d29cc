#include "print/D_UdskriftKlubSaldo.h"

#include "print/D_Print.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"

namespace {

const QString Section = QStringLiteral("KlubSaldoListe");
const QString Total = QStringLiteral("TOTAL");
constexpr int LinesPerGroup = 3;
constexpr double GroupSpace = 0.1; // cm above each further group

// The list's columns.
namespace Col {
enum : int { Navn, Gebyr, Kob, Betalt, Saldo };
}

bool IsLive(const TDataElement& element) {
    return !element.DeleteRequested && !element.Deleted;
}

QString Amount(double value) {
    return FloatToStrDec(value, 2);
}

void LayLine(TStdPrint& print, double row, const TKlubSaldo& saldo) {
    print.AddColumnText(Col::Navn, saldo.Navn, row);
    print.AddColumnText(Col::Gebyr, IntStr(saldo.Starter) + QStringLiteral(" / ") + Amount(saldo.Gebyr), row);
    print.AddColumnText(Col::Kob, Amount(saldo.Kob), row);
    print.AddColumnText(Col::Betalt, Amount(saldo.Betalt), row);
    print.AddColumnText(Col::Saldo, Amount(saldo.Saldo()), row);
}

} // namespace

TKlubSaldo& TKlubSaldo::operator+=(const TKlubSaldo& other) {
    Starter += other.Starter;
    Gebyr += other.Gebyr;
    Kob += other.Kob;
    Betalt += other.Betalt;
    return *this;
}

TKlubSaldo KlubSaldo(TKlubManager& klubber, TKlubElement& klub, int order) {
    klubber.SelectKlub(klub, order);
    TKlubSaldo saldo;
    saldo.Navn = klub.GetTrimmedString(KlubField::Navn);
    for (int pos = 0; pos < klubber.ResultatList().GetCount(); ++pos) {
        const TResultatElement& resultat = klubber.GetResultat(pos);
        if (!IsLive(resultat))
            continue;
        const TOvelseInfo* info = OvelseManager->FindOvelseInfoByRecord(resultat);
        if (!info)
            continue;
        if (const double gebyr = klubber.CalcStartgebyr(info->OvelseRk()); gebyr != 0) {
            ++saldo.Starter;
            saldo.Gebyr += gebyr;
        }
    }
    for (int pos = 0; pos < klubber.KlubkobList().GetCount(); ++pos) {
        if (IsLive(klubber.GetKlubkob(pos)))
            saldo.Kob += klubber.CalcKlubkobBelob();
    }
    for (int pos = 0; pos < klubber.BetalingList().GetCount(); ++pos) {
        const TBetalingElement& betaling = klubber.GetBetaling(pos);
        if (IsLive(betaling))
            saldo.Betalt += betaling.GetField(BetalingField::Belob)->GetAsFloat();
    }
    return saldo;
}

TKlubSaldoUdskrift::TKlubSaldoUdskrift(QObject* owner)
    : owner_(owner) {}

std::vector<TKlubSaldo> TKlubSaldoUdskrift::Saldi() {
    if (!KlubManager || !OvelseManager)
        throw Exception(QStringLiteral("Programmeringsfejl: saldolisten har ingen klubber at skrive"));
    std::vector<TKlubSaldo> saldi;
    TKlubSaldo total;
    total.Navn = Total;
    for (TKlubElement* klub : Klubber) {
        if (!klub)
            continue;
        saldi.push_back(KlubSaldo(*KlubManager, *klub, Order));
        total += saldi.back();
    }
    saldi.push_back(total);
    return saldi;
}

void TKlubSaldoUdskrift::Lay(TStdPrint& print, const std::vector<TKlubSaldo>& saldi) {
    double row = 1;
    for (std::size_t i = 0; i < saldi.size(); ++i) {
        const bool total = i + 1 == saldi.size();
        if (i > 0 && (total || i % LinesPerGroup == 0))
            print.GetLine(TPrintSection::Body, row).SetSpaceBefore(GroupSpace);
        const TPrintFontScope saved(print.LineFont());
        if (total)
            print.LineFont().Style |= PrintFontStyle::Bold;
        LayLine(print, row, saldi[i]);
        ++row;
    }
}

void TKlubSaldoUdskrift::Run() {
    const std::vector<TKlubSaldo> saldi = Saldi();
    TStdPrint print(owner_);
    print.LoadLayout(Section, StaevneManager->GetRptFileName());
    print.SetPreview(!UdskrivTilPrinter);
    Lay(print, saldi);
    print.Print();
}
