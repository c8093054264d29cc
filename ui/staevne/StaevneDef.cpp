#include "ui/staevne/StaevneDef.h"

#include "foundation/controls/EditUtil.h"
#include "foundation/controls/MsgForm.h"
#include "foundation/controls/Tablist.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneData.h"
#include "model/D_StaevneDef.h"
#include "model/D_StdKlasser.h"
#include "ui/Launchers.h"
#include "ui/WidgetKit.h"
#include "ui/WidgetKitDato.h"
#include "ui/staevne/StaevneDefHold.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace {

TTabListbox* MakeList(QWidget* parent, const QString& name, const QStringList& tabs) {
    auto* list = Named(new TTabListbox(parent), name);
    list->SetTabs(tabs);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The columns are cut at the list's edge.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

// A check box that starts ticked, as the wizard's filters do.
QCheckBox* MakeTicked(QWidget* parent, const QString& name, const QString& caption) {
    QCheckBox* box = MakeCheck(parent, name, caption);
    box->setChecked(true);
    return box;
}

std::array<QCheckBox*, 5> MakeTypeBoxes(QWidget* parent, const QString& suffix) {
    return {MakeTicked(parent, QStringLiteral("Loeb") + suffix, QStringLiteral("Løb")),
            MakeTicked(parent, QStringLiteral("Spring") + suffix, QStringLiteral("Spring")),
            MakeTicked(parent, QStringLiteral("Kast") + suffix, QStringLiteral("Kast")),
            MakeTicked(parent, QStringLiteral("Stafet") + suffix, QStringLiteral("Stafet")),
            MakeTicked(parent, QStringLiteral("Mangekamp") + suffix, QStringLiteral("Mangekamp"))};
}

} // namespace

TStaevneDefForm::TStaevneDefForm(QWidget* owner)
    : TStdRVKForm(owner)
    , PageControl(Named(new QTabWidget(this), QStringLiteral("PageControl")))
    , ForsidePage(MakePanel(this, QStringLiteral("ForsidePage")))
    , Side1Page(MakePanel(this, QStringLiteral("Side1Page")))
    , Side2Page(MakePanel(this, QStringLiteral("Side2Page")))
    , Side3Page(MakePanel(this, QStringLiteral("Side3Page")))
    , DTSide1Page(new TDTSide1Page(this))
    , VTSide1Page(new TVTSide1Page(this))
    , LTUSide1Page(new TLTUSide1Page(this))
    , ForrigeButton(MakeButton(this, QStringLiteral("ForrigeButton"), QStringLiteral("&Forrige")))
    , NaesteButton(MakeButton(this, QStringLiteral("NaesteButton"), QStringLiteral("&Næste")))
    , UdfoerButton(MakeButton(this, QStringLiteral("UdfoerButton"), QStringLiteral("&Udfør")))
    , StaevneNavn(Named(new TStringEdit(this), QStringLiteral("StaevneNavn")))
    , Stadion(Named(new TStringEdit(this), QStringLiteral("Stadion")))
    , Arrangor(Named(new TStringEdit(this), QStringLiteral("Arrangor")))
    , Dato(Named(new TDatoEdit(this), QStringLiteral("Dato")))
    , Starttidspunkt(Named(new QTimeEdit(this), QStringLiteral("Starttidspunkt")))
    , TomtStaevne(MakeRadio(this, QStringLiteral("TomtStaevne"), QStringLiteral("Tomt stævne")))
    , Danmarksturnering(
          MakeRadio(this, QStringLiteral("Danmarksturnering"), QStringLiteral("Danmarksturnering")))
    , VeteranHoldturnering(
          MakeRadio(this, QStringLiteral("VeteranHoldturnering"), QStringLiteral("Veteran holdturnering")))
    , DMUHold(MakeRadio(this, QStringLiteral("DMUHold"), QStringLiteral("DMU hold")))
    , Piger(MakeRadio(this, QStringLiteral("Piger"), QStringLiteral("Piger / kvinder")))
    , Drenge(MakeRadio(this, QStringLiteral("Drenge"), QStringLiteral("Drenge / mænd")))
    , Begge(MakeRadio(this, QStringLiteral("Begge"), QStringLiteral("Begge")))
    , Ungdom(MakeRadio(this, QStringLiteral("Ungdom"), QStringLiteral("Ungdom/senior")))
    , Veteraner(MakeRadio(this, QStringLiteral("Veteraner"), QStringLiteral("Veteraner")))
    , StandardKlasser(
          MakeList(this, QStringLiteral("StandardKlasser"), {QStringLiteral("45"), QStringLiteral("400")}))
    , KlasseListbox1(
          MakeList(this, QStringLiteral("KlasseListbox1"), {QStringLiteral("45"), QStringLiteral("400")}))
    , OpretKlasser(
          MakeButton(this, QStringLiteral("OpretKlasser"), QStringLiteral("&Opret markerede klasser")))
    , SletKlasser(MakeButton(this, QStringLiteral("SletKlasser"), QStringLiteral("&Slet markerede klasser")))
    , KlasseListbox2(
          MakeList(this, QStringLiteral("KlasseListbox2"), {QStringLiteral("45"), QStringLiteral("400")}))
    , StandardOvelser(
          MakeList(this, QStringLiteral("StandardOvelser"), {QStringLiteral("60"), QStringLiteral("400")}))
    , OvelserListbox2(
          MakeList(this, QStringLiteral("OvelserListbox2"), {QStringLiteral("45"), QStringLiteral("400")}))
    , NaturligeOvelser(MakeTicked(this, QStringLiteral("NaturligeOvelser"),
                                  QStringLiteral("Vis kun naturlige øvelser fra valgte klasser")))
    , OvelseTyper2(MakeTypeBoxes(this, QStringLiteral("2")))
    , OpretOvelser(MakeButton(this, QStringLiteral("OpretOvelser"),
                              QStringLiteral("&Opret markerede klasser og øvelser")))
    , OvelserListbox(MakeList(this, QStringLiteral("OvelserListbox"), {}))
    , KlasseOvelse(MakeRadio(this, QStringLiteral("KlasseOvelse"), QStringLiteral("Klasse - Øvelse")))
    , OvelseKlasse(MakeRadio(this, QStringLiteral("OvelseKlasse"), QStringLiteral("Øvelse - Klasse")))
    , Informationer(Named(new QComboBox(this), QStringLiteral("Informationer")))
    , OvelseTyper3(MakeTypeBoxes(this, QStringLiteral("3")))
    , RetButton(MakeButton(this, QStringLiteral("RetButton"), QStringLiteral("&Ret")))
    , SletButton(MakeButton(this, QStringLiteral("SletButton"), QStringLiteral("&Slet"))) {
    setObjectName(QStringLiteral("StaevneDefForm"));
    setWindowTitle(QStringLiteral("  Opret nyt stævne"));
    BuildForside();
    BuildSide1();
    BuildSide2();
    BuildSide3();
    PageControl->addTab(ForsidePage, QStringLiteral("Stævne"));
    PageControl->addTab(Side1Page, QStringLiteral("Side 1 - klasser"));
    PageControl->addTab(Side2Page, QStringLiteral("Side 2 - øvelser"));
    PageControl->addTab(Side3Page, QStringLiteral("Side 3 - øvelsesdetaljer"));
    PageControl->addTab(DTSide1Page, QStringLiteral("DT side 1"));
    PageControl->addTab(VTSide1Page, QStringLiteral("VT side 1"));
    PageControl->addTab(LTUSide1Page, QStringLiteral("DMU hold side 1"));
    BuildButtons();
    resize(720, 520);

    connect(PageControl, &QTabWidget::currentChanged, this, &TStaevneDefForm::PageEntered);
    for (THoldSide* side : {static_cast<THoldSide*>(DTSide1Page), static_cast<THoldSide*>(VTSide1Page),
                            static_cast<THoldSide*>(LTUSide1Page)})
        connect(side, &THoldSide::Changed, this, &TStaevneDefForm::UpdateState);
    BuildPageSequence();
    UpdateState();
    startState_ = EnteredState();
}

TStaevneDefForm::~TStaevneDefForm() = default;

void TStaevneDefForm::BuildForside() {
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Stævnenavn"), StaevneNavn);
    fields->addRow(QStringLiteral("Stadion"), Stadion);
    fields->addRow(QStringLiteral("Arrangør"), Arrangor);
    fields->addRow(QStringLiteral("Dato"), Dato);
    fields->addRow(QStringLiteral("Starttidspunkt"), Starttidspunkt);
    Starttidspunkt->setDisplayFormat(QStringLiteral("HH:mm"));

    auto* skabelon = new QGroupBox(QStringLiteral(" Vælg skabelon "), ForsidePage);
    auto* skabelonLayout = new QVBoxLayout(skabelon);
    auto* skabeloner = new QButtonGroup(skabelon);
    for (QRadioButton* button : {TomtStaevne, Danmarksturnering, VeteranHoldturnering, DMUHold}) {
        skabelonLayout->addWidget(button);
        skabeloner->addButton(button);
    }
    TomtStaevne->setChecked(true);

    auto* page = new QVBoxLayout(ForsidePage);
    page->addLayout(fields);
    page->addWidget(skabelon);
    page->addStretch();

    connect(skabeloner, &QButtonGroup::buttonClicked, this, [this] {
        BuildPageSequence();
        UpdateState();
    });
    for (TStringEdit* edit : {StaevneNavn, Stadion, Arrangor})
        connect(edit, &QLineEdit::textChanged, this, &TStaevneDefForm::UpdateState);
    connect(Dato, &TDatoEdit::dateChanged, this, [this](const QDate& dato) {
        if (!dato.isValid())
            return;
        if (raekkeDato_.isValid())
            FlytRaekke(raekke_, static_cast<int>(raekkeDato_.daysTo(dato)));
        raekkeDato_ = dato;
        FillOvelserListbox();
    });
    connect(Dato, &TDatoEdit::dateChanged, this, &TStaevneDefForm::UpdateState);
}

void TStaevneDefForm::BuildButtons() {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ForrigeButton);
    buttons->addWidget(NaesteButton);
    buttons->addWidget(UdfoerButton);
    auto* form = new QVBoxLayout(this);
    form->addWidget(PageControl, 1);
    form->addLayout(buttons);
    connect(ForrigeButton, &QPushButton::clicked, this, &TStaevneDefForm::ForrigeClick);
    connect(NaesteButton, &QPushButton::clicked, this, &TStaevneDefForm::NaesteClick);
    connect(UdfoerButton, &QPushButton::clicked, this, &TStaevneDefForm::UdfoerClick);
}

// ---------------------------------------------------------------- modes

void TStaevneDefForm::SetupNytStaevne() {
    mode_ = TMode::Nyt;
    Dato->setDate(DateTimeToQDate(ModelContext().Now()));
    BuildPageSequence();
    FillStandardKlasser();
    PageControl->setCurrentWidget(ForsidePage);
    raekkeDato_ = Dato->date();
    UpdateState();
    startState_ = EnteredState();
}

void TStaevneDefForm::SetupRetStaevne() {
    TStaevneManager& manager = *StaevneManager;
    if (manager.GetCurrentIndex() < 0)
        throw Exception(QStringLiteral("Der er ikke valgt noget stævne"));
    mode_ = TMode::Ret;
    TomtStaevne->setChecked(true);
    for (QRadioButton* button : {TomtStaevne, Danmarksturnering, VeteranHoldturnering, DMUHold})
        button->setEnabled(false);
    // The wizard writes the programme only; a new name would go nowhere.
    StaevneNavn->setText(CurrentStaevneNavn());
    StaevneNavn->setReadOnly(true);
    Stadion->setText(manager.SystemData().Stadion);
    Arrangor->setText(manager.SystemData().Arrangor);
    Dato->setDate(DateTimeToQDate(manager.SystemData().Dato));
    Starttidspunkt->setTime(DateTimeToQTime(manager.SystemData().Dato));

    TOvelseManager& ovelser = *OvelseManager;
    ovelser.LoadEditOvelsesRaekke(raekke_);
    // The standard classes the meet has, also those without events, and those of its rows.
    std::set<int> klasser;
    TKlasseList& klasseList = ovelser.KlasseList();
    for (int pos = 0; pos < klasseList.GetCount(); ++pos) {
        const QString kode = klasseList.GetElement(pos)->GetTrimmedString(KlasseField::Klasse);
        if (const int nr = FindStdKlasse(kode); nr >= 0 && GetStdKlasseKode(nr) == kode)
            klasser.insert(nr);
    }
    for (int i = 0; i < raekke_.GetCount(); ++i) {
        if (const int nr = raekke_.GetItem(i)->KlasseNr; nr >= 0 && nr < StdKlasseCount)
            klasser.insert(nr);
    }
    klasser_.assign(klasser.begin(), klasser.end());

    BuildPageSequence();
    FillStandardKlasser();
    FillKlasseListbox(*KlasseListbox1);
    FillOvelserListbox();
    PageControl->setCurrentWidget(ForsidePage);
    raekkeDato_ = Dato->date();
    UpdateState();
    startState_ = EnteredState();
}

// ---------------------------------------------------------------- finishing

TStaevneDefValg TStaevneDefForm::Valg() const {
    TStaevneDefValg valg;
    valg.Navn = StaevneNavn->text();
    valg.Stadion = Stadion->text();
    valg.Arrangor = Arrangor->text();
    valg.Dato = StaevneDatoTid();
    valg.Overskrift3 = Overskrift3Text();
    if (const THoldSide* hold = ActiveHoldSide()) {
        valg.Hold = hold->Valg();
        return valg;
    }
    valg.Klasser = klasser_;
    valg.Raekke = &raekke_;
    return valg;
}

void TStaevneDefForm::UdfoerClick() {
    if (!UdfoerButton->isEnabled())
        return;
    const TStaevneDefValg valg = Valg();
    const std::optional<QString> failure = FailureOf([&] {
        if (mode_ == TMode::Nyt)
            UdfoerNytStaevne(valg);
        else
            UdfoerRetStaevne(valg);
    });
    if (failure) {
        ShowError(this, *failure);
        return;
    }
    done(mrOk);
}
