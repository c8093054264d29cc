#include "ui/klub/EditDeltager.h"

#include "foundation/controls/EditUtil.h"
#include "model/D_DBDef.h"
#include "model/D_KlubTilmelding.h"
#include "ui/Launchers.h"
#include "ui/WidgetKit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename Edit>
Edit* MakeEdit(QWidget* parent, const QString& name, int maxLength) {
    Edit* edit = Named(new Edit(parent), name);
    edit->setMaxLength(maxLength);
    return edit;
}

bool IsPlainEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

TEditDeltagerForm::TEditDeltagerForm(QWidget* owner)
    : TStdRVKForm(owner)
    , StartNr(Named(new TIntegerEdit(this), QStringLiteral("StartNr")))
    , Navn(MakeEdit<QLineEdit>(this, QStringLiteral("Navn"), DeltagerFieldSize::Navn))
    , Aargang(Named(new TIntegerEdit(this), QStringLiteral("Aargang")))
    , Klub(MakeEdit<QLineEdit>(this, QStringLiteral("Klub"), KlubFieldSize::Navn))
    , Adresse1(MakeEdit<QLineEdit>(this, QStringLiteral("Adresse1"), KlubFieldSize::Adresse1))
    , Adresse2(MakeEdit<QLineEdit>(this, QStringLiteral("Adresse2"), KlubFieldSize::Adresse2))
    , Adresse3(MakeEdit<QLineEdit>(this, QStringLiteral("Adresse3"), KlubFieldSize::Adresse3))
    , EMail(MakeEdit<QLineEdit>(this, QStringLiteral("EMail"), KlubFieldSize::Email))
    , KlasseDistance(MakeEdit<QLineEdit>(this, QStringLiteral("KlasseDistance"), 3))
    , KlasseMaend(MakeRadio(this, QStringLiteral("KlasseMaend"), QStringLiteral("Mænd")))
    , KlasseKvinder(MakeRadio(this, QStringLiteral("KlasseKvinder"), QStringLiteral("Kvinder")))
    , Distance42(MakeRadio(this, QStringLiteral("Distance42"), QStringLiteral("42")))
    , Distance77(MakeRadio(this, QStringLiteral("Distance77"), QStringLiteral("77")))
    , AutoNummer(MakeCheck(this, QStringLiteral("AutoNummer"), QStringLiteral("Autonummerering")))
    , tilmeldinger_(std::make_unique<TTilmeldinger>()) {
    setObjectName(QStringLiteral("EditDeltagerForm"));
    setWindowTitle(QStringLiteral("Tilmeld deltager"));
    // Enter belongs to the fields' own handlers.
    NavigationEnabled = false;
    EnterNavigation = false;
    Aargang->MaxValue = 9999;
    BuildLayout();
    // Each pair in its own box: the boxes make them two groups.
    KlasseMaend->setChecked(true);
    Distance42->setChecked(true);
    for (QLineEdit* edit :
         {static_cast<QLineEdit*>(StartNr), Navn, static_cast<QLineEdit*>(Aargang), Klub, KlasseDistance})
        edit->installEventFilter(this);
}

TEditDeltagerForm::~TEditDeltagerForm() = default;

void TEditDeltagerForm::BuildLayout() {
    auto* grid = new QGridLayout;
    int row = 0;
    const auto add = [&](const QString& caption, QWidget* edit) {
        if (!caption.isEmpty())
            grid->addWidget(MakeLabel(this, edit->objectName() + QStringLiteral("Label"), caption), row, 0);
        grid->addWidget(edit, row++, 1);
    };
    add(QStringLiteral("Startnr"), StartNr);
    add(QStringLiteral("Navn"), Navn);
    add(QStringLiteral("Årgang"), Aargang);
    add(QStringLiteral("Klub"), Klub);
    add(QStringLiteral("Adresse"), Adresse1);
    add({}, Adresse2);
    add({}, Adresse3);
    add(QStringLiteral("E-mail"), EMail);
    add(QStringLiteral("Klasse + distance"), KlasseDistance);
    StartNr->setFixedWidth(80);
    Aargang->setFixedWidth(60);
    KlasseDistance->setFixedWidth(60);
    grid->setColumnStretch(1, 1);

    const auto group = [this](const QString& name, const QString& caption, QRadioButton* a, QRadioButton* b) {
        auto* box = Named(new QGroupBox(caption, this), name);
        auto* layout = new QVBoxLayout(box);
        a->setParent(box);
        b->setParent(box);
        layout->addWidget(a);
        layout->addWidget(b);
        return box;
    };
    auto* choices = new QHBoxLayout;
    choices->addWidget(group(QStringLiteral("Klasse"), QStringLiteral("Klasse"), KlasseMaend, KlasseKvinder));
    choices->addWidget(group(QStringLiteral("Distance"), QStringLiteral("Distance"), Distance42, Distance77));
    choices->addWidget(AutoNummer);
    choices->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(choices);
    resize(420, 360);
}

bool TEditDeltagerForm::eventFilter(QObject* watched, QEvent* event) {
    if (!IsPlainEnter(event))
        return TStdRVKForm::eventFilter(watched, event);
    RunShowingErrors(this, [this, watched] {
        if (watched == StartNr)
            StartNrEnter();
        else if (watched == Navn)
            Aargang->setFocus();
        else if (watched == Aargang)
            Klub->setFocus();
        else if (watched == Klub)
            KlasseDistance->setFocus();
        else if (watched == KlasseDistance)
            KlasseDistanceEnter();
    });
    return true;
}

void TEditDeltagerForm::StartNrEnter() {
    const qint32 startnummer = StartNr->GetValue();
    if (startnummer <= 0)
        return;
    const QString klasse = KlasseMaend->isChecked() ? QStringLiteral("M") : QStringLiteral("K");
    const QString distance = Distance42->isChecked() ? QStringLiteral("42") : QStringLiteral("77");
    ShowDeltager(tilmeldinger_->FindStartnummer(startnummer, klasse, distance));
    Navn->setFocus();
}

void TEditDeltagerForm::ShowDeltager(const TTilmelding& t) {
    Navn->setText(t.Navn);
    Aargang->setText(t.Aargang != 0 ? QString::number(t.Aargang) : QString());
    Klub->setText(t.Klub);
    Adresse1->setText(t.Adresse1);
    Adresse2->setText(t.Adresse2);
    Adresse3->setText(t.Adresse3);
    EMail->setText(t.Email);
    KlasseDistance->setText(t.KlasseDistance);
}

void TEditDeltagerForm::KlasseDistanceEnter() {
    TTilmelding t;
    t.Startnummer = StartNr->GetValue();
    t.Navn = Navn->text();
    t.Aargang = Aargang->GetValue();
    t.Klub = Klub->text();
    t.Adresse1 = Adresse1->text();
    t.Adresse2 = Adresse2->text();
    t.Adresse3 = Adresse3->text();
    t.Email = EMail->text();
    t.KlasseDistance = KlasseDistance->text();
    tilmeldinger_->SaveDeltager(t);
    const qint32 next = t.Startnummer + 1;
    ClearFields();
    if (AutoNummer->isChecked())
        StartNr->SetValue(next);
    StartNr->setFocus();
}

void TEditDeltagerForm::ClearFields() {
    for (QLineEdit* edit : {static_cast<QLineEdit*>(StartNr), Navn, static_cast<QLineEdit*>(Aargang), Klub,
                            Adresse1, Adresse2, Adresse3, EMail, KlasseDistance})
        edit->clear();
}
