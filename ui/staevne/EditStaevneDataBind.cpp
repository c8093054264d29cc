// The settings window's controls bound to the meet's settings: each shows its setting and stores it back.
#include "ui/staevne/EditStaevneData.h"

#include "foundation/controls/EditUtil.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_PointBeregning.h"
#include "model/D_StaevneDataTabel.h"
#include "model/D_Vare.h"
#include "ui/Launchers.h"
#include "ui/WidgetKitDato.h"
#include "ui/staevne/EditStaevneDataGrid.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QTimeEdit>

namespace {

// The place in the meet's list of translated words of each edit, in the order the page shows them.
constexpr std::array<int, TEditStaevneDataForm::TextCount> TextPlads = {
    4, 5, 7, 3, 6, 1, 2, 0, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};

TSystemData& Of(TStaevneDataValg& valg, TSystemData*) {
    return valg.SystemData;
}
const TSystemData& Of(const TStaevneDataValg& valg, TSystemData*) {
    return valg.SystemData;
}
TStaevneRegistry& Of(TStaevneDataValg& valg, TStaevneRegistry*) {
    return valg.Registry;
}
const TStaevneRegistry& Of(const TStaevneDataValg& valg, TStaevneRegistry*) {
    return valg.Registry;
}

// A setting the window holds in valg: member of the system data or of the registry values.
template <typename Owner, typename Value>
const Value& Setting(const TStaevneDataValg& valg, Value Owner::*member) {
    return Of(valg, static_cast<Owner*>(nullptr)).*member;
}
template <typename Owner, typename Value>
Value& Setting(TStaevneDataValg& valg, Value Owner::*member) {
    return Of(valg, static_cast<Owner*>(nullptr)).*member;
}

QStringList Tekster(const TStaevneDataValg& valg) {
    return valg.SystemData.OversattelsesTekster;
}

} // namespace

void TEditStaevneDataForm::BuildBindings() {
    const auto bind = [this](auto member, auto vis, auto gem) {
        bindings_.push_back({[member, vis](const TStaevneDataValg& valg) { vis(Setting(valg, member)); },
                             [member, gem](TStaevneDataValg& valg) { Setting(valg, member) = gem(); },
                             [member](const TStaevneDataValg& a, const TStaevneDataValg& b) {
                                 return Setting(a, member) != Setting(b, member);
                             }});
    };
    const auto text = [&bind](TStringEdit* edit, auto member) {
        bind(
            member, [edit](const QString& value) { edit->setText(value); },
            [edit] { return edit->GetValue(); });
    };
    const auto check = [&bind](QCheckBox* box, auto member) {
        bind(
            member, [box](bool value) { box->setChecked(value); }, [box] { return box->isChecked(); });
    };
    const auto integer = [&bind](TIntegerEdit* edit, auto member) {
        bind(
            member, [edit](qint32 value) { edit->SetValue(value); }, [edit] { return edit->GetValue(); });
    };
    const auto number = [&bind](TFloatEdit* edit, auto member) {
        bind(
            member, [edit](double value) { edit->SetValue(value); }, [edit] { return edit->GetValue(); });
    };
    const auto ranges = [&bind](TIntegerSet* edit, auto member) {
        bind(
            member, [edit](const QString& value) { edit->SetValueText(value); },
            [edit] { return edit->GetValue().AsText(); });
    };
    const auto printer = [&bind, this](QLabel* label, auto member) {
        bind(
            member, [this, label](const QString& value) { SetPrinterLabel(label, value); },
            [label] { return label->text(); });
    };
    using S = TSystemData;
    using R = TStaevneRegistry;

    // "Data"
    text(Overskrift1, &S::Overskrift1);
    text(Overskrift2, &S::Overskrift2);
    text(Overskrift3, &S::Overskrift3);
    text(Arrangor, &S::Arrangor);
    text(Stadion, &S::Stadion);
    ranges(Startnumre, &S::Startnumre);
    ranges(StafetStartnumre, &S::StafetStartnumre);
    text(ReportFilename, &S::ReportFilename);
    text(RekordFilenames, &S::RekordFilenames);
    text(CsvLoadFilePath, &S::CsvLoadFilePath);
    text(ScoreboardFilePath, &S::ScoreboardFilePath);
    printer(PrinterNavn, &R::PrinterNavn);
    check(UndladSerier, &S::UndladSerier);
    check(Indendors, &S::Indendors);
    check(TidsskemaUofficielt, &S::TidsskemaUofficielt);
    check(AltidFinale, &S::AltidFinale);
    check(UndladRettelserForSeedning, &S::UdeladRettelserFoerSeedning);
    check(EltidDirekte, &R::EltidDirekte);
    check(AutoTildelStartnumre, &S::AutoTildelStartnumre);
    check(UdskrivPR, &S::UdskrivPR);
    check(BrugPersonligrekord, &S::BrugPersonligRekord);
    check(OnlyHtmlBody, &S::OnlyHtmlBody);
    check(UndladInternationaltNavn, &S::UndladInternationaltNavn);
    check(SeedningLigPR, &S::SeedningLigPR);
    bindings_.push_back(
        {[this](const TStaevneDataValg& valg) { VaelgSidsteStaevne->setChecked(valg.VaelgSidsteStaevne); },
         [this](TStaevneDataValg& valg) { valg.VaelgSidsteStaevne = VaelgSidsteStaevne->isChecked(); },
         [](const TStaevneDataValg& a, const TStaevneDataValg& b) {
             return a.VaelgSidsteStaevne != b.VaelgSidsteStaevne;
         }});
    // The date's day from the date edit, its time of day from the start time.
    bindings_.push_back({[this](const TStaevneDataValg& valg) {
                             StaevneDato->setDate(DateTimeToQDate(valg.SystemData.Dato));
                             StaevneStarttid->setTime(DateTimeToQTime(valg.SystemData.Dato));
                         },
                         [this](TStaevneDataValg& valg) {
                             StaevneDato->Check();
                             valg.SystemData.Dato =
                                 EncodeDateTime(StaevneDato->date(), StaevneStarttid->time());
                         },
                         [](const TStaevneDataValg& a, const TStaevneDataValg& b) {
                             return a.SystemData.Dato != b.SystemData.Dato;
                         }});

    // "Tekster"
    text(KlublisteBundtekst1, &S::KlublisteBundtekst1);
    text(KlublisteBundtekst2, &S::KlublisteBundtekst2);
    text(MangekampOverskrift, &S::MangekampOverskrift);
    number(DiplomIndent, &S::DiplomIndent);
    number(DiplomNed1, &S::DiplomNed1);
    integer(DiplomLayout, &S::DiplomLayout);
    printer(DiplomPrinter, &R::DiplomPrinter);

    // "Holdturnering"
    check(FlereRunder, &S::FlereRunder);
    check(DTTurnering, &S::DT);
    check(VTTurnering, &S::VT);
    check(LTUTurnering, &S::LTU);
    check(EgenTurnering, &S::EgenTurnering);
    check(OstHoldTurnering, &S::OstHoldTurnering);
    check(UndladKontrol, &S::UndladKontrol);
    check(IndtastSeedning, &S::IndtastSeedning);
    check(IndtastPR, &S::IndtastPR);
    check(UndladTotalStilling, &S::UndladTotalStilling);
    check(UndladKategoriStilling, &S::UndladKategoriStilling);
    integer(AntalDTHold, &S::AntalDTHold);
    integer(AntalDeltPrOvelse, &S::AntalDeltagerePrOvelse);
    integer(MaxAntalOvelserPrDelt, &S::MaxAntalOvelserPrDeltager);
    integer(AntalTaellendeDelt, &S::AntalTaellendeDeltagere);
    integer(AntalPointDec, &S::AntalPointDec);
    check(Motionsloeb, &S::Motionsloeb);
    check(Redid, &S::Redid);
    check(ECup2007, &S::ECup2007);
    check(Gribben, &S::Gribben);
    // The ticked events of the list; the list itself is made from the programme (FillDTOvelser).
    bindings_.push_back({[](const TStaevneDataValg&) {},
                         [this](TStaevneDataValg& valg) {
                             valg.SystemData.DTOvelserHalvePoints.clear();
                             for (int i = 0; i < DTOvelserHalvPoints->count(); ++i) {
                                 const QListWidgetItem* item = DTOvelserHalvPoints->item(i);
                                 if (item->checkState() == Qt::Checked)
                                     valg.SystemData.DTOvelserHalvePoints.append(item->text());
                             }
                         },
                         [](const TStaevneDataValg& a, const TStaevneDataValg& b) {
                             return a.SystemData.DTOvelserHalvePoints != b.SystemData.DTOvelserHalvePoints;
                         }});

    // "Points": the method by its place in the list; a code the list does not know is kept.
    bindings_.push_back({[this](const TStaevneDataValg& valg) {
                             QAbstractButton* button = pointBeregning_->button(
                                 GetPointBeregningIndex(valg.SystemData.PointBeregning));
                             pointBeregning_->setExclusive(false);
                             for (QAbstractButton* each : pointBeregning_->buttons())
                                 each->setChecked(each == button);
                             pointBeregning_->setExclusive(true);
                         },
                         [this](TStaevneDataValg& valg) {
                             if (const int index = pointBeregning_->checkedId(); index >= 0)
                                 valg.SystemData.PointBeregning = GetPointBeregningKode(index);
                         },
                         [](const TStaevneDataValg& a, const TStaevneDataValg& b) {
                             return a.SystemData.PointBeregning != b.SystemData.PointBeregning;
                         }});
    text(PlaceringsPoint1, &S::PlaceringsPoint1);
    text(PlaceringsPoint2, &S::PlaceringsPoint2);
    text(PlaceringsPoint3, &S::PlaceringsPoint3);
    text(PlaceringsPoint4, &S::PlaceringsPoint4);
    text(TabelOpslagPath, &S::TabelOpslagPath);
    check(D3TMangekamp, &S::D3TMangekamp);

    // "Oversættelser"
    check(Oversattelse, &S::Oversattelse);
    check(Engelsk, &S::Engelsk);
    check(DoTrace, &S::DoTrace);
    bindings_.push_back({[this](const TStaevneDataValg& valg) {
                             ScoreboardServer->setText(valg.ScoreboardServer);
                             ScoreboardServerPort->SetValue(valg.ScoreboardServerPort);
                         },
                         [this](TStaevneDataValg& valg) {
                             valg.ScoreboardServer = ScoreboardServer->GetValue();
                             valg.ScoreboardServerPort = ScoreboardServerPort->GetValue();
                         },
                         [](const TStaevneDataValg& a, const TStaevneDataValg& b) {
                             return a.ScoreboardServer != b.ScoreboardServer ||
                                    a.ScoreboardServerPort != b.ScoreboardServerPort;
                         }});
    // The twenty words; a meet without any keeps none until one is typed.
    bindings_.push_back(
        {[this](const TStaevneDataValg& valg) {
             const QStringList tekster = Tekster(valg);
             for (int i = 0; i < TextCount; ++i)
                 Texts[static_cast<std::size_t>(i)]->setText(
                     tekster.value(TextPlads[static_cast<std::size_t>(i)]));
         },
         [this](TStaevneDataValg& valg) {
             QStringList tekster = Tekster(valg);
             bool any = false;
             while (tekster.size() < TextCount)
                 tekster.append(QString());
             for (int i = 0; i < TextCount; ++i) {
                 const QString tekst = Texts[static_cast<std::size_t>(i)]->GetValue();
                 tekster[TextPlads[static_cast<std::size_t>(i)]] = tekst;
                 any = any || !tekst.isEmpty();
             }
             if (any || !valg.SystemData.OversattelsesTekster.isEmpty())
                 valg.SystemData.OversattelsesTekster = tekster;
         },
         [](const TStaevneDataValg& a, const TStaevneDataValg& b) { return Tekster(a) != Tekster(b); }});
}

TStaevneDataValg TEditStaevneDataForm::StoredValg() {
    const TStaevneManager& manager = *StaevneManager;
    TStaevneDataValg valg;
    valg.SystemData = manager.SystemData();
    valg.Registry = manager.Registry();
    valg.VaelgSidsteStaevne = !manager.GetLastUsedName().isEmpty();
    valg.ScoreboardServer = StaevneManager->Scoreboard().ScoreboardServer;
    valg.ScoreboardServerPort = StaevneManager->Scoreboard().ScoreboardServerPort;
    return valg;
}

void TEditStaevneDataForm::Vis(const TStaevneDataValg& valg, const TStaevneDataValg* before) {
    for (const TBinding& binding : bindings_) {
        if (!before || binding.Forskel(*before, valg))
            binding.Vis(valg);
    }
    if (!before)
        FillDTOvelser();
}

TStaevneDataValg TEditStaevneDataForm::Valg() const {
    TStaevneDataValg valg = StoredValg();
    for (const TBinding& binding : bindings_)
        binding.Gem(valg);
    return valg;
}

void TEditStaevneDataForm::BindGrids() {
    Klasser->Bind(KlasseTabel(*OvelseManager));
    AfvSteder->Bind(AfvStedTabel(*OvelseManager));
    Grupper->Bind(GruppeTabel(*vareManager_));
    Varer->Bind(VareTabel(*vareManager_));
}

void TEditStaevneDataForm::FillDTOvelser() {
    DTOvelserHalvPoints->clear();
    const bool dt = DTTurnering->isChecked();
    DTOvelserHalvPoints->setVisible(dt);
    DTOvelserHalvPointsLabel->setVisible(dt);
    if (!dt)
        return;
    for (const QString& kode : DTOvelseKoder(*OvelseManager)) {
        auto* item = new QListWidgetItem(kode, DTOvelserHalvPoints);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(StaevneManager->IsDTOvelseHalvePoints(kode) ? Qt::Checked : Qt::Unchecked);
    }
}

void TEditStaevneDataForm::SetPrinterLabel(QLabel* label, const QString& navn) {
    // A machine without printers names none: the stored name stays.
    if (!navn.isEmpty())
        label->setText(navn);
}
