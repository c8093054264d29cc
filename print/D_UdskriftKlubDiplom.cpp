#include "print/D_UdskriftKlubDiplom.h"

#include "print/D_Print.h"
#include "print/D_TeksterDiplom.h"
#include "print/D_UdskriftDiplom.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <algorithm>

namespace {

constexpr int DiplomLayoutStyle2 = 2;
// Positions right of the meet's indent, in cm.
constexpr double NavnX = 0.4;
constexpr double KlubX = 8;
constexpr double KlasseX = 13.9;
constexpr double RuleWidth = 16;
const QString Rule = QStringLiteral("0.05");
constexpr double SecondHeadingSpace = 0.6;

bool IsLive(const TDataElement& element) {
    return !element.DeleteRequested && !element.Deleted;
}

qint32 IntegerOf(const TDataElement& element, int fieldNo) {
    return element.GetField(fieldNo)->GetAsInteger();
}

TDiplomResultat ResultatOf(const TOvelseInfo& info, const TResultatElement& resultat) {
    TDiplomResultat r;
    r.Info = &info;
    r.Klasse = info.GetKlasseKode();
    r.Ovelse = info.GetOvelseText();
    r.Mark = IntegerOf(resultat, ResultatField::Resultat);
    r.Vind = IntegerOf(resultat, ResultatField::Vind);
    r.Plac = IntegerOf(resultat, ResultatField::Placering);
    r.Resultat = FormatOvelseResultatNoWind(info, r.Mark);
    if (info.HasVindmaaling())
        r.Resultat += QStringLiteral(" w:") + FormatVind(r.Vind);
    r.Placering = r.Plac > 0 ? IntStr(r.Plac) : QString();
    return r;
}

void Text(TStdPrint& print, double x, double row, const QString& text) {
    if (!text.isEmpty())
        print.AddBodyText(TPrintAlignment::Left, text, x, row);
}

} // namespace

TKlubDiplomUdskrift::TKlubDiplomUdskrift(QObject* owner)
    : owner_(owner) {}

std::vector<TDiplom> TKlubDiplomUdskrift::Diplomer() {
    TKlubManager& klubber = *KlubManager;
    const TKlubElement* klub = klubber.GetCurrentKlub();
    const QString klubNavn = klub ? klub->GetTrimmedString(KlubField::Navn) : QString();
    std::vector<TDiplom> diplomer;
    TDeltagerList& deltagere = klubber.DeltagerList();
    for (int pos = 0; pos < deltagere.GetCount(); ++pos) {
        TDeltagerElement* deltager = deltagere.GetElement(pos);
        const qint32 startnummer = IntegerOf(*deltager, DeltagerField::Startnummer);
        if (!IsLive(*deltager) || (Startnummer > 0 && startnummer != Startnummer))
            continue;
        if (KunNyeDiplomer && IntegerOf(*deltager, DeltagerField::DiplomStatus) != 0)
            continue;
        TDiplom diplom{deltager, deltager->GetTrimmedString(DeltagerField::Navn), klubNavn, {}};
        bool unfinished = false;
        for (const TResultatElement* resultat : klubber.GetResultater(startnummer)) {
            const TOvelseInfo* info = OvelseManager->FindOvelseInfoByRecord(*resultat);
            if (!info)
                continue;
            if (IntegerOf(*resultat, ResultatField::Resultat) == 0)
                unfinished = true;
            else
                diplom.Resultater.push_back(ResultatOf(*info, *resultat));
        }
        if ((KunNyeDiplomer && unfinished) || diplom.Resultater.empty())
            continue;
        std::stable_sort(diplom.Resultater.begin(), diplom.Resultater.end(),
                         [](const TDiplomResultat& a, const TDiplomResultat& b) {
                             return a.Info->GetKlasseSortKey() < b.Info->GetKlasseSortKey();
                         });
        diplomer.push_back(std::move(diplom));
    }
    return diplomer;
}

void TKlubDiplomUdskrift::LayPages(TStdPrint& print, const std::vector<TDiplom>& diplomer) {
    const TSystemData& meet = CurrentSystemData();
    const double indent = meet.DiplomIndent;
    TPrintFont& font = print.LineFont();
    double row = 1;
    for (const TDiplom& diplom : diplomer) {
        const TPrintFontScope saved(font);
        if (row > 1)
            print.GetLine(TPrintSection::Body, row).NewPage = true;
        print.AddBodyText(TPrintAlignment::Left, QStringLiteral(" "), 0, row++);

        font.Name = QStringLiteral("Arial");
        font.Size = 12;
        font.Style = PrintFontStyle::Bold;
        print.GetLine(TPrintSection::Body, row).SetSpaceBefore(meet.DiplomNed1);
        Text(print, indent + NavnX, row, diplom.Navn);
        Text(print, indent + KlubX, row, diplom.Klub);
        Text(print, indent + KlasseX, row, diplom.Resultater.front().Klasse);
        ++row;

        font.Size = 10;
        font.Style = 0;
        const auto rule = [&] {
            print.AddField(TPrintSection::Body, TPrintAlignment::Left, indent, row++, RuleWidth,
                           TFieldKind::HorizontalRule, Rule);
        };
        rule();
        Text(print, indent + NavnX, row, QStringLiteral("Navn"));
        Text(print, indent + KlubX, row, QStringLiteral("Klub"));
        Text(print, indent + KlasseX, row, QStringLiteral("Klasse"));
        ++row;
        print.GetLine(TPrintSection::Body, row).SetSpaceBefore(SecondHeadingSpace);
        Text(print, indent + NavnX, row, QStringLiteral("Øvelse"));
        Text(print, indent + KlubX, row, QStringLiteral("Resultat"));
        Text(print, indent + KlasseX, row, QStringLiteral("Placering"));
        ++row;
        rule();

        font.Size = 12;
        for (const TDiplomResultat& resultat : diplom.Resultater) {
            Text(print, indent + NavnX, row, resultat.Ovelse);
            Text(print, indent + KlubX, row, resultat.Resultat);
            Text(print, indent + KlasseX, row, resultat.Placering);
            ++row;
        }
    }
}

int TKlubDiplomUdskrift::RunKlub() {
    const std::vector<TDiplom> diplomer = Diplomer();
    if (diplomer.empty())
        return 0;
    TStdPrint print(owner_);
    print.Title = QStringLiteral("Diplomer");
    print.SetPreview(!UdskrivTilPrinter);
    std::vector<TDeltagerElement*> printed;
    if (CurrentSystemData().DiplomLayout == DiplomLayoutStyle2) {
        for (const TDiplom& diplom : diplomer) {
            bool any = false;
            for (const TDiplomResultat& r : diplom.Resultater) {
                double row = 1;
                print.Printed = false;
                PrintDiplomStyle2(print, row, *r.Info, r.Plac, r.Vind, r.Mark, diplom.Klub, diplom.Navn);
                any = any || print.Printed;
            }
            if (any)
                printed.push_back(diplom.Deltager);
        }
    } else {
        LayPages(print, diplomer);
        print.Printed = false;
        print.Print();
        if (print.Printed) {
            for (const TDiplom& diplom : diplomer)
                printed.push_back(diplom.Deltager);
        }
    }
    for (TDeltagerElement* deltager : printed)
        deltager->GetField(DeltagerField::DiplomStatus)->SetAsInteger(1);
    if (!printed.empty())
        KlubManager->SaveAll();
    return static_cast<int>(printed.size());
}

int TKlubDiplomUdskrift::Run() {
    if (!KlubManager || !StaevneManager || !OvelseManager)
        throw Exception(QStringLiteral("Programmeringsfejl: diplomerne har ingen klubber at skrive"));
    const TDiplomPrinterScope diplomPrinter;
    int marked = 0;
    for (TKlubElement* klub : Klubber) {
        if (!klub)
            continue;
        KlubManager->SelectKlub(*klub, Order);
        marked += RunKlub();
    }
    return marked;
}
