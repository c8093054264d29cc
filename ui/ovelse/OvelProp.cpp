#include "ui/ovelse/OvelProp.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/FormSize.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_OvelserProp.h"
#include "model/D_PointBeregning.h"
#include "model/D_StaevneDefRaekke.h"
#include "model/D_StaevneSystemData.h"
#include "ui/DialogRunner.h"
#include "ui/WidgetKit.h"
#include "ui/WidgetKitDato.h"
#include "ui/ovelse/RadioGroup.h"
#include "ui/staevne/RetOvelseData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

enum class TPropRecord { Raekke, Runde };
enum class TPropKind { Float, Integer, Text, ExtraText, Radio, PointBeregning, Check, Sted };

// The extra text's three fields, each padded to its width, joined; trailing blanks removed.
constexpr int ExtraTextWidths[] = {6, 6, 14};

TIntegerEdit* MakeInteger(QWidget* parent, const QString& name) {
    auto* edit = Named(new TIntegerEdit(parent), name);
    edit->SetEditAlignment(TAlignment::taRightJustify);
    return edit;
}

TFloatEdit* MakeGebyr(QWidget* parent, const QString& name) {
    return Named(new TGebyrEdit(parent), name);
}

QTimeEdit* MakeTime(QWidget* parent, const QString& name) {
    auto* edit = Named(new QTimeEdit(parent), name);
    edit->setDisplayFormat(QStringLiteral("HH:mm"));
    return edit;
}

QStringList PointBeregningItems() {
    QStringList items{QStringLiteral("Brug stævnedata")};
    for (int i = 0; i < PointBeregningCount; ++i)
        items << GetPointBeregningText(i);
    return items;
}

QString JoinedExtraText(const TOvelseRnElement& runde) {
    const int fields[] = {OvelseRnField::ExtraText, OvelseRnField::ExtraText2, OvelseRnField::ExtraText3};
    QString text;
    for (int i = 0; i < 3; ++i)
        text += runde.GetField(fields[i])->GetAsString().leftJustified(ExtraTextWidths[i], u' ', true);
    return TrimRightChar(text, u' ');
}

// The largest value an integer field of its bytes holds; settings are never negative.
qint64 MaxOfField(const TField& field) {
    switch (field.Size) {
    case 1:
        return 255;
    case 2:
        return std::numeric_limits<qint16>::max();
    default:
        return std::numeric_limits<qint32>::max();
    }
}

QTime TimeOf(TDateTime value) {
    const double fraction = value - std::floor(value);
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(std::llround(fraction * 86400.0)) % 86400 * 1000);
}

QDate DateOf(TDateTime value) {
    return DateTimeToQDate(std::floor(value));
}

} // namespace

struct TOvelsePropertyForm::TBinding {
    QWidget* Control;
    TPropRecord Record;
    int FieldNo;
    TPropKind Kind;

    TZunoDataElement& Element(const TOvelseInfo& info) const {
        if (Record == TPropRecord::Raekke)
            return info.OvelseRk();
        return info.OvelseRn();
    }
    TField& Field(const TOvelseInfo& info) const { return *Element(info).GetField(FieldNo); }

    // The stored value in the form the control shows it.
    QVariant Stored(const TOvelseInfo& info) const {
        const TField& field = Field(info);
        switch (Kind) {
        case TPropKind::Float:
            return field.GetAsFloat();
        case TPropKind::Text:
            return field.GetTrimmedString();
        case TPropKind::ExtraText:
            return JoinedExtraText(info.OvelseRn());
        case TPropKind::Check:
            return field.GetAsInteger() != 0;
        case TPropKind::Sted:
            return field.GetTrimmedString().toUpper();
        case TPropKind::Integer:
        case TPropKind::Radio:
        case TPropKind::PointBeregning:
            break;
        }
        return field.GetAsInteger();
    }

    void Show(const QVariant& value) const {
        switch (Kind) {
        case TPropKind::Float:
            static_cast<TFloatEdit*>(Control)->SetValue(value.toDouble());
            break;
        case TPropKind::Integer:
            static_cast<TIntegerEdit*>(Control)->SetValue(value.toInt());
            break;
        case TPropKind::Text:
        case TPropKind::ExtraText:
            static_cast<TStringEdit*>(Control)->SetValue(value.toString());
            break;
        case TPropKind::Radio:
            static_cast<TRadioGroup*>(Control)->SetItemIndex(value.toInt());
            break;
        case TPropKind::PointBeregning:
            static_cast<TRadioGroup*>(Control)->SetItemIndex(PointBeregningItem(value.toInt()));
            break;
        case TPropKind::Check:
            static_cast<QCheckBox*>(Control)->setChecked(value.toBool());
            break;
        case TPropKind::Sted: {
            auto* combo = static_cast<QComboBox*>(Control);
            int index = combo->findData(value.toString());
            // A code the meet's venues lack is kept as it is.
            if (index < 0) {
                combo->addItem(value.toString(), value.toString());
                index = combo->count() - 1;
            }
            combo->setCurrentIndex(index);
            break;
        }
        }
    }

    void Check() const {
        if (auto* edit = qobject_cast<TBasicEdit*>(Control))
            edit->Check();
    }

    // Writes the control's value; a radio group with no item chosen leaves the stored value.
    void Write(const TOvelseInfo& info) const {
        TField& field = Field(info);
        switch (Kind) {
        case TPropKind::Float:
            field.SetAsFloat(static_cast<TFloatEdit*>(Control)->GetValue());
            break;
        case TPropKind::Integer:
            field.SetAsInteger(static_cast<TIntegerEdit*>(Control)->GetValue());
            break;
        case TPropKind::Text:
            field.SetAsString(TrimBlanks(static_cast<TStringEdit*>(Control)->GetValue()));
            break;
        case TPropKind::ExtraText:
            info.OvelseRn().SetExtraText(static_cast<TStringEdit*>(Control)->GetValue());
            break;
        case TPropKind::Radio:
            if (const int index = static_cast<TRadioGroup*>(Control)->ItemIndex(); index >= 0)
                field.SetAsInteger(index);
            break;
        case TPropKind::PointBeregning:
            if (const qint32 stored = PointBeregningStored(static_cast<TRadioGroup*>(Control)->ItemIndex());
                stored >= 0)
                field.SetAsInteger(stored);
            break;
        case TPropKind::Check:
            field.SetAsInteger(static_cast<QCheckBox*>(Control)->isChecked() ? 1 : 0);
            break;
        case TPropKind::Sted:
            field.SetAsString(static_cast<QComboBox*>(Control)->currentData().toString());
            break;
        }
    }
};

TOvelsePropertyForm::TOvelsePropertyForm(QWidget* owner)
    : TStdRVKForm(owner)
    , PageControl(Named(new QTabWidget(this), QStringLiteral("PageControl")))
    , EgenskaberPage(MakePanel(this, QStringLiteral("EgenskaberPage")))
    , TidsskemaPage(MakePanel(this, QStringLiteral("TidsskemaPage")))
    , StartGebyr1(MakeGebyr(this, QStringLiteral("StartGebyr1")))
    , EfterAnmGebyr1(MakeGebyr(this, QStringLiteral("EfterAnmGebyr1")))
    , StrafGebyr1(MakeGebyr(this, QStringLiteral("StrafGebyr1")))
    , StartGebyr2(MakeGebyr(this, QStringLiteral("StartGebyr2")))
    , EfterAnmGebyr2(MakeGebyr(this, QStringLiteral("EfterAnmGebyr2")))
    , StrafGebyr2(MakeGebyr(this, QStringLiteral("StrafGebyr2")))
    , PointBeregning(new TRadioGroup(this, QStringLiteral("PointBeregning"), QStringLiteral("Pointberegning"),
                                     PointBeregningItems()))
    , MKOvelseNr(MakeInteger(this, QStringLiteral("MKOvelseNr")))
    , MKOvelse(Named(new TStringEdit(this), QStringLiteral("MKOvelse")))
    , UofficielOvelse(MakeCheck(this, QStringLiteral("UofficielOvelse"), QStringLiteral("Uofficiel øvelse")))
    , OvelseDato(Named(new TDatoEdit(this), QStringLiteral("OvelseDato")))
    , OvelseStarttid(MakeTime(this, QStringLiteral("OvelseStarttid")))
    , AfvSted(Named(new QComboBox(this), QStringLiteral("AfvSted")))
    , AntalPrHeat(MakeInteger(this, QStringLiteral("AntalPrHeat")))
    , AntalVidereIalt(MakeInteger(this, QStringLiteral("AntalVidereIalt")))
    , AntalViderePlac(MakeInteger(this, QStringLiteral("AntalViderePlac")))
    , FinaleKrav(MakeInteger(this, QStringLiteral("FinaleKrav")))
    , ExtraText(Named(new TStringEdit(this), QStringLiteral("ExtraText")))
    , HeatInddeling(new TRadioGroup(this, QStringLiteral("HeatInddeling"), QStringLiteral("Heatinddeling"),
                                    {QStringLiteral("Bedste resultater først"),
                                     QStringLiteral("Bedste resultater sidst"),
                                     QStringLiteral("Fordeling af resultater"), QStringLiteral("Lodtrækning"),
                                     QStringLiteral("DT-seedning")}))
    , Banefordeling(new TRadioGroup(
          this, QStringLiteral("Banefordeling"), QStringLiteral("Banefordeling"),
          {QStringLiteral("Bedste resultater først"), QStringLiteral("Bedste resultater sidst"),
           QStringLiteral("Vifte"), QStringLiteral("Bedste 4 i midten"), QStringLiteral("Lodtrækning"),
           QStringLiteral("Startnummer"), QStringLiteral("Navn"), QStringLiteral("Klub, navn")}))
    , Banenummerering(new TRadioGroup(
          this, QStringLiteral("Banenummerering"), QStringLiteral("Banenummerering"),
          {QStringLiteral("Start fra bane 1"), QStringLiteral("Start fra bane 2 (hvis plads)"),
           QStringLiteral("Placer på midterbaner")}))
    , ResultatType(new TRadioGroup(
          this, QStringLiteral("ResultatType"), QStringLiteral("Resultattype"),
          {QStringLiteral("Sorteres i heat-orden"), QStringLiteral("Bedste tid i alle heat vinder")}))
    , FinaleType(new TRadioGroup(
          this, QStringLiteral("FinaleType"), QStringLiteral("Finaletype"),
          {QStringLiteral("Standard"), QStringLiteral("A/B finaler"), QStringLiteral("B/A finaler")}))
    , Vindmaaling(new TRadioGroup(this, QStringLiteral("Vindmaaling"), QStringLiteral("Vindmåling"),
                                  {QStringLiteral("Standard"), QStringLiteral("Pr. heat"),
                                   QStringLiteral("Pr. deltager"), QStringLiteral("Ingen")}))
    , VidereSeedning(
          new TRadioGroup(this, QStringLiteral("VidereSeedning"), QStringLiteral("Videre seedning"),
                          {QStringLiteral("Standard"), QStringLiteral("Brug SG for plac-avancement")}))
    , AntalForsog(MakeInteger(this, QStringLiteral("AntalForsog")))
    , AntalForsogFinale(MakeInteger(this, QStringLiteral("AntalForsogFinale")))
    , AntalTilFinale(MakeInteger(this, QStringLiteral("AntalTilFinale")))
    , TidPrForsog(MakeInteger(this, QStringLiteral("TidPrForsog")))
    , TidPrDeltager(MakeInteger(this, QStringLiteral("TidPrDeltager")))
    , TidPrHeat(MakeInteger(this, QStringLiteral("TidPrHeat")))
    , CalcAfvTid(MakeInteger(this, QStringLiteral("CalcAfvTid")))
    , SpecAfvTid(MakeInteger(this, QStringLiteral("SpecAfvTid")))
    , AutoCalcPoint(
          MakeCheck(this, QStringLiteral("AutoCalcPoint"), QStringLiteral("Automatisk point beregning")))
    , RankAsSeedning(
          MakeCheck(this, QStringLiteral("RankAsSeedning"), QStringLiteral("Brug rank i seedning")))
    , HoldPoint(MakeCheck(this, QStringLiteral("HoldPoint"), QStringLiteral("Beregn point pr. hold")))
    , AntalPrHold(MakeInteger(this, QStringLiteral("AntalPrHold")))
    , UdskriftKode(MakeInteger(this, QStringLiteral("UdskriftKode")))
    , BlockedItems(Named(new QComboBox(this), QStringLiteral("BlockedItems")))
    , UnlockEditField(MakeButton(this, QStringLiteral("UnlockEditField"),
                                 QStringLiteral("Lås op blokeret indtastningsfelt")))
    , StartKlokken(MakeTime(this, QStringLiteral("StartKlokken")))
    , TidPrHeatTime(MakeTime(this, QStringLiteral("TidPrHeatTime")))
    , RundOp5Min(MakeCheck(this, QStringLiteral("RundOp5Min"),
                           QStringLiteral("Rund op til hele 5 minutter ved øvelsesskift")))
    , AutoTildelingButton(
          MakeButton(this, QStringLiteral("AutoTildelingButton"), QStringLiteral("Tildel starttider")))
    , PlusMinus(MakeTime(this, QStringLiteral("PlusMinus")))
    , Plus(MakeRadio(this, QStringLiteral("Plus"), QStringLiteral("Plus")))
    , Minus(MakeRadio(this, QStringLiteral("Minus"), QStringLiteral("Minus")))
    , PlusMinusButton(MakeButton(this, QStringLiteral("PlusMinusButton"), QStringLiteral("Flyt starttider")))
    , OKBitBtn(MakeDialogButton(this, QStringLiteral("OKBitBtn"), mrOk))
    , AnnullerBitBtn(MakeDialogButton(this, QStringLiteral("AnnullerBitBtn"), mrCancel)) {
    setObjectName(QStringLiteral("OvelsePropertyForm"));
    setWindowTitle(QStringLiteral("  Egenskaber for øvelse"));
    ExtraText->setMaxLength(ExtraTextLength);
    MKOvelse->setMaxLength(6);
    AfvSted->setEditable(false);
    Plus->setChecked(true);
    BuildBindings();
    BuildLayout();
    connect(UnlockEditField, &QPushButton::clicked, this, [this] {
        Guarded(this, [this] {
            UnlockEditFieldClick();
            return true;
        });
    });
    connect(PlusMinusButton, &QPushButton::clicked, this, [this] {
        Guarded(this, [this] {
            PlusMinusButtonClick();
            return true;
        });
    });
    connect(AutoTildelingButton, &QPushButton::clicked, this, [this] {
        Guarded(this, [this] {
            AutoTildelingButtonClick();
            return true;
        });
    });
    connect(OKBitBtn, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(AnnullerBitBtn, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

TOvelsePropertyForm::~TOvelsePropertyForm() = default;

void TOvelsePropertyForm::BuildBindings() {
    using K = TPropKind;
    const auto raekke = [this](QWidget* control, int fieldNo, K kind) {
        bindings_.push_back({control, TPropRecord::Raekke, fieldNo, kind});
    };
    const auto runde = [this](QWidget* control, int fieldNo, K kind) {
        bindings_.push_back({control, TPropRecord::Runde, fieldNo, kind});
    };
    raekke(StartGebyr1, OvelseRkField::Startgebyr1, K::Float);
    raekke(EfterAnmGebyr1, OvelseRkField::Efteranmgebyr1, K::Float);
    raekke(StrafGebyr1, OvelseRkField::Strafgebyr1, K::Float);
    raekke(StartGebyr2, OvelseRkField::Startgebyr2, K::Float);
    raekke(EfterAnmGebyr2, OvelseRkField::Efteranmgebyr2, K::Float);
    raekke(StrafGebyr2, OvelseRkField::Strafgebyr2, K::Float);
    raekke(PointBeregning, OvelseRkField::PointBeregning, K::PointBeregning);
    raekke(MKOvelseNr, OvelseRkField::MKOvelseNr, K::Integer);
    raekke(MKOvelse, OvelseRkField::MKOvelse, K::Text);
    raekke(UofficielOvelse, OvelseRkField::Uofficiel, K::Check);
    runde(AfvSted, OvelseRnField::Sted, K::Sted);
    runde(AntalPrHeat, OvelseRnField::AntalPrHeat, K::Integer);
    runde(AntalVidereIalt, OvelseRnField::AntalVidereIalt, K::Integer);
    runde(AntalViderePlac, OvelseRnField::AntalViderePlac, K::Integer);
    runde(FinaleKrav, OvelseRnField::FinaleKrav, K::Integer);
    runde(ExtraText, OvelseRnField::ExtraText, K::ExtraText);
    runde(HeatInddeling, OvelseRnField::Heatinddeling, K::Radio);
    runde(Banefordeling, OvelseRnField::Banefordeling, K::Radio);
    runde(Banenummerering, OvelseRnField::Banenummerering, K::Radio);
    runde(ResultatType, OvelseRnField::ResType, K::Radio);
    runde(FinaleType, OvelseRnField::FinaleType, K::Radio);
    runde(Vindmaaling, OvelseRnField::Vindmaaling, K::Radio);
    runde(VidereSeedning, OvelseRnField::VidereSeedning, K::Radio);
    runde(AntalForsog, OvelseRnField::AntalForsog, K::Integer);
    runde(AntalForsogFinale, OvelseRnField::AntalForsogFinale, K::Integer);
    runde(AntalTilFinale, OvelseRnField::AntalTilFinale, K::Integer);
    runde(TidPrForsog, OvelseRnField::TidPrForsog, K::Integer);
    runde(TidPrDeltager, OvelseRnField::TidPrDeltager, K::Integer);
    runde(TidPrHeat, OvelseRnField::TidPrHeat, K::Integer);
    runde(CalcAfvTid, OvelseRnField::CalcAfvTid, K::Integer);
    runde(SpecAfvTid, OvelseRnField::SpecAfvTid, K::Integer);
    runde(AutoCalcPoint, OvelseRnField::AutoCalcPoint, K::Check);
    runde(RankAsSeedning, OvelseRnField::RankAsSeedning, K::Check);
    runde(HoldPoint, OvelseRnField::HoldPoint, K::Check);
    runde(AntalPrHold, OvelseRnField::AntalPrHold, K::Integer);
    runde(UdskriftKode, OvelseRnField::UdskriftKode, K::Integer);
}

void TOvelsePropertyForm::BuildLayout() {
    PageControl->addTab(EgenskaberPage, QStringLiteral("Egenskaber"));
    PageControl->addTab(TidsskemaPage, QStringLiteral("Tidsskema"));
    BuildEgenskaber();
    BuildTidsskema();
    auto* unlock = new QHBoxLayout;
    unlock->addWidget(MakeLabel(this, {}, QStringLiteral("Blokerede felter")));
    unlock->addWidget(BlockedItems, 1);
    unlock->addWidget(UnlockEditField);
    auto* form = new QVBoxLayout(this);
    form->addWidget(PageControl, 1);
    form->addLayout(unlock);
    form->addLayout(DialogButtonRow(OKBitBtn, AnnullerBitBtn));
}

QWidget* TOvelsePropertyForm::BuildEgenskaber() {
    QWidget* page = EgenskaberPage;
    const auto boxed = [page](const QString& title,
                              std::initializer_list<std::pair<const char*, QWidget*>> rows) {
        auto* box = new QGroupBox(title, page);
        auto* layout = new QFormLayout(box);
        layout->setVerticalSpacing(2);
        for (const auto& [caption, control] : rows) {
            if (caption)
                layout->addRow(QString::fromUtf8(caption), control);
            else
                layout->addRow(control);
        }
        return box;
    };
    auto* left = new QVBoxLayout;
    left->addWidget(boxed(QStringLiteral("Prisgruppe 1"), {{"Startgebyr", StartGebyr1},
                                                           {"Efteranmeldelsesgebyr", EfterAnmGebyr1},
                                                           {"\"Ej mødt\"-gebyr", StrafGebyr1}}));
    left->addWidget(boxed(QStringLiteral("Prisgruppe 2"), {{"Startgebyr", StartGebyr2},
                                                           {"Efteranmeldelsesgebyr", EfterAnmGebyr2},
                                                           {"\"Ej mødt\"-gebyr", StrafGebyr2}}));
    left->addWidget(
        boxed(QStringLiteral("Mangekamp"),
              {{"Øvelse-nr.", MKOvelseNr}, {"MK-identifikation", MKOvelse}, {nullptr, UofficielOvelse}}));
    left->addWidget(boxed(
        QStringLiteral("Afvikling"),
        {{"Dato", OvelseDato}, {"Starttid", OvelseStarttid}, {"Sted", AfvSted}, {"Ekstratekst", ExtraText}}));
    left->addWidget(boxed(QStringLiteral("Ekstra udskrift"),
                          {{"Kode", UdskriftKode},
                           {nullptr, MakeLabel(page, {}, QStringLiteral("1 = udskriv WMA point/resultat"))},
                           {nullptr, MakeLabel(page, {}, QStringLiteral("2 = udskriv PR-forbedring"))}}));
    left->addStretch();

    auto* middle = new QVBoxLayout;
    middle->addWidget(
        boxed(QStringLiteral("Heat og runder"), {{"Antal deltagere pr. heat", AntalPrHeat},
                                                 {"Antal i alt til næste runde", AntalVidereIalt},
                                                 {"Antal placeringer videre pr. heat", AntalViderePlac},
                                                 {"Finale krav, teknik øvelse (cm)", FinaleKrav}}));
    middle->addWidget(boxed(QStringLiteral("Forsøg og tider"), {{"Antal forsøg", AntalForsog},
                                                                {"Antal forsøg i finale", AntalForsogFinale},
                                                                {"Antal til finale", AntalTilFinale},
                                                                {"Tid pr. forsøg (sek)", TidPrForsog},
                                                                {"Tid pr. deltager (sek)", TidPrDeltager},
                                                                {"Tid pr. heat (sek)", TidPrHeat},
                                                                {"Beregnet afv.tid (min)", CalcAfvTid},
                                                                {"Fastsat afv.tid (min)", SpecAfvTid}}));
    middle->addWidget(boxed(QStringLiteral("Point og hold"), {{nullptr, AutoCalcPoint},
                                                              {nullptr, RankAsSeedning},
                                                              {nullptr, HoldPoint},
                                                              {"Antal pr. hold", AntalPrHold}}));
    middle->addStretch();

    // The radio groups in two columns, so that the page is no taller than a laptop's screen.
    const auto stacked = [](std::initializer_list<QWidget*> groups) {
        auto* column = new QVBoxLayout;
        for (QWidget* group : groups)
            column->addWidget(group);
        column->addStretch();
        return column;
    };
    // Scrolls when the screen is smaller still.
    auto* columns = new QHBoxLayout(ScrolledContent(page));
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(stacked({PointBeregning, HeatInddeling, Banefordeling}));
    columns->addLayout(stacked({Banenummerering, ResultatType, FinaleType, Vindmaaling, VidereSeedning}));
    return page;
}

QWidget* TOvelsePropertyForm::BuildTidsskema() {
    QWidget* page = TidsskemaPage;
    auto* auto_ = new QGroupBox(QStringLiteral("Tildel starttider i rækkefølge"), page);
    auto* autoLayout = new QFormLayout(auto_);
    autoLayout->addRow(QStringLiteral("Start klokken"), StartKlokken);
    autoLayout->addRow(QStringLiteral("Tid pr. heat"), TidPrHeatTime);
    autoLayout->addRow(RundOp5Min);
    autoLayout->addRow(AutoTildelingButton);
    auto* shift = new QGroupBox(QStringLiteral("Flyt starttider"), page);
    auto* shiftLayout = new QFormLayout(shift);
    shiftLayout->addRow(QStringLiteral("Tid"), PlusMinus);
    auto* signs = new QHBoxLayout;
    signs->addWidget(Plus);
    signs->addWidget(Minus);
    shiftLayout->addRow(signs);
    shiftLayout->addRow(PlusMinusButton);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(auto_);
    layout->addWidget(shift);
    layout->addStretch();
    return page;
}

// ---------------------------------------------------------------- loading

int TOvelsePropertyForm::Load(const std::vector<TOvelseInfo*>& ovelser) {
    ovelser_ = ovelser;
    Fill();
    return RunDialog(*this);
}

void TOvelsePropertyForm::Block(QWidget* control) {
    if (!control->isEnabled())
        return;
    control->setEnabled(false);
    BlockedItems->addItem(control->objectName(), QVariant::fromValue(static_cast<QObject*>(control)));
}

void TOvelsePropertyForm::Fill() {
    AfvSted->clear();
    if (OvelseManager) {
        TAfvStedList& steder = OvelseManager->AfvStedList();
        for (int i = 0; i < steder.GetCount(); ++i) {
            const TAfvStedElement& sted = *steder.GetElement(i);
            const QString kode = sted.GetTrimmedString(AfvStedField::Sted).toUpper();
            const QString tekst = sted.GetTrimmedString(AfvStedField::Tekst);
            if (AfvSted->findData(kode) < 0)
                AfvSted->addItem(tekst.isEmpty() ? kode : kode + QStringLiteral("  (") + tekst + u')', kode);
        }
    }
    BlockedItems->clear();
    for (const TBinding& binding : bindings_)
        binding.Control->setEnabled(true);
    OvelseDato->setEnabled(true);
    OvelseStarttid->setEnabled(true);
    datoTider_.clear();
    for (const TOvelseInfo* info : ovelser_)
        datoTider_.push_back(info->OvelseRn().GetField(OvelseRnField::DatoTid)->GetAsFloat());
    if (ovelser_.empty())
        return;
    for (const TBinding& binding : bindings_) {
        binding.Show(binding.Stored(*ovelser_.front()));
        for (std::size_t i = 1; i < ovelser_.size(); ++i) {
            if (binding.Stored(*ovelser_[i]) != binding.Stored(*ovelser_[i - 1])) {
                Block(binding.Control);
                break;
            }
        }
    }
    ShowStarttider();
    // Computed by the schedule; shown, never typed.
    CalcAfvTid->setEnabled(false);
    StartKlokken->setTime(TimeOf(VistRundeTid(datoTider_.front(), MeetStart())));
    PageControl->setCurrentIndex(0);
}

void TOvelsePropertyForm::ShowStarttider() {
    if (datoTider_.empty())
        return;
    const TDateTime shown = VistRundeTid(datoTider_.front(), MeetStart());
    OvelseDato->setDate(DateOf(shown));
    OvelseStarttid->setTime(TimeOf(shown));
    for (std::size_t i = 1; i < datoTider_.size(); ++i) {
        if (DateOf(datoTider_[i]) != DateOf(datoTider_[i - 1]))
            Block(OvelseDato);
        if (TimeOf(datoTider_[i]) != TimeOf(datoTider_[i - 1]))
            Block(OvelseStarttid);
    }
}

void TOvelsePropertyForm::TakeStarttider() {
    datoTider_ = Starttider();
}

QTime TOvelsePropertyForm::MeetStart() {
    const TDateTime dato = CurrentSystemData().Dato;
    const QTime start = DateTimeToQTime(dato - std::floor(dato));
    return start.isValid() ? start : QTime(0, 0);
}

std::vector<TDateTime> TOvelsePropertyForm::Starttider() const {
    std::vector<TDateTime> tider = datoTider_;
    const bool dato = OvelseDato->isEnabled();
    const bool tid = OvelseStarttid->isEnabled();
    if (!dato && !tid)
        return tider;
    QDate nyDato;
    if (dato) {
        OvelseDato->Check();
        nyDato = OvelseDato->date();
    }
    // The boxes show the time of day; a round's time is stored from the meet's start.
    const QTime start = MeetStart();
    for (TDateTime& datoTid : tider) {
        const TDateTime shown = VistRundeTid(datoTid, start);
        datoTid =
            RundeDatoTid(dato ? nyDato : DateOf(shown), tid ? OvelseStarttid->time() : TimeOf(shown), start);
    }
    return tider;
}

QStringList TOvelsePropertyForm::BlockedNames() const {
    QStringList names;
    for (int i = 0; i < BlockedItems->count(); ++i)
        names << BlockedItems->itemText(i);
    return names;
}

// ---------------------------------------------------------------- the buttons

void TOvelsePropertyForm::UnlockEditFieldClick() {
    const int index = BlockedItems->currentIndex();
    if (index < 0)
        return;
    if (auto* control = qobject_cast<QWidget*>(BlockedItems->itemData(index).value<QObject*>()))
        control->setEnabled(true);
    BlockedItems->removeItem(index);
}

void TOvelsePropertyForm::PlusMinusButtonClick() {
    TakeStarttider();
    std::vector<TDateTime> moved;
    for (const TDateTime datoTid : datoTider_)
        moved.push_back(ShiftStarttid(datoTid, PlusMinus->time(), Plus->isChecked()));
    datoTider_ = moved;
    ShowStarttider();
}

void TOvelsePropertyForm::AutoTildelingButtonClick() {
    TakeStarttider();
    std::vector<TStarttidOvelse> ovelser;
    for (std::size_t i = 0; i < ovelser_.size(); ++i)
        ovelser.push_back({datoTider_[i], ovelser_[i]->AntalHeat});
    // The clock as the rounds' times are stored: from the meet's start.
    const QTime klokken = QTime(0, 0).addSecs(MeetStart().secsTo(StartKlokken->time()));
    datoTider_ = AutoStarttider(ovelser, klokken, TidPrHeatTime->time(), RundOp5Min->isChecked());
    ShowStarttider();
}

// ---------------------------------------------------------------- OK

void TOvelsePropertyForm::CheckValues() const {
    if (OvelseDato->isEnabled())
        OvelseDato->Check();
    for (const TBinding& binding : bindings_) {
        if (!binding.Control->isEnabled())
            continue;
        binding.Check();
        if (binding.Kind != TPropKind::Integer || ovelser_.empty())
            continue;
        const qint64 value = static_cast<TIntegerEdit*>(binding.Control)->GetValue();
        const qint64 max = MaxOfField(binding.Field(*ovelser_.front()));
        if (value < 0 || value > max)
            throw ERangeError(
                QStringLiteral("%1 skal være mellem 0 og %2").arg(binding.Control->objectName()).arg(max));
    }
}

void TOvelsePropertyForm::Write() {
    TakeStarttider();
    for (std::size_t i = 0; i < ovelser_.size(); ++i) {
        const TOvelseInfo& info = *ovelser_[i];
        for (const TBinding& binding : bindings_) {
            if (binding.Control->isEnabled())
                binding.Write(info);
        }
        // A start shown to the second is the stored one when it was not moved.
        TField& datoTid = *info.OvelseRn().GetField(OvelseRnField::DatoTid);
        if (std::abs(datoTid.GetAsFloat() - datoTider_[i]) * 86400.0 >= 0.5)
            datoTid.SetAsFloat(datoTider_[i]);
    }
}

void TOvelsePropertyForm::OKClick() {
    if (const std::optional<QString> failure = FailureOf([this] { CheckValues(); })) {
        ShowError(this, *failure);
        return;
    }
    if (const std::optional<QString> failure = FailureOf([this] {
            Write();
            if (OvelseManager)
                OvelseManager->Save();
        })) {
        ShowError(this, *failure);
        return;
    }
    done(mrOk);
}
