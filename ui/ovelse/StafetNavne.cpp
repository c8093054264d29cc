#include "ui/ovelse/StafetNavne.h"

#include "foundation/Messages.h"
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Klub.h"
#include "model/D_Result.h"
#include "model/D_ResultStafet.h"
#include "ui/DialogRunner.h"
#include "ui/WidgetKit.h"

#include <QPushButton>
#include <QVBoxLayout>

TStafetNavneForm::TStafetNavneForm(QWidget* owner)
    : TStdRVKForm(owner)
    , NavneStringGrid(Named(new TExtStringGrid(this), QStringLiteral("NavneStringGrid")))
    , OKBitBtn(MakeButton(this, QStringLiteral("OKBitBtn"), QStringLiteral("&OK")))
    , AnnullerBitBtn(MakeDialogButton(this, QStringLiteral("AnnullerBitBtn"), mrCancel)) {
    setObjectName(QStringLiteral("StafetNavneForm"));
    setWindowTitle(QStringLiteral("  Stafetnavne"));
    TExtStringGrid& grid = *NavneStringGrid;
    grid.SetFixedRows(1);
    grid.SetFixedCols(0);
    TExtColumns& columns = grid.Columns();
    columns.BeginUpdate();
    for (const char* caption : {"Nr.", "Navn", "Tur"}) {
        TExtColumn& column = columns.Add();
        column.SetText(QString::fromLatin1(caption));
    }
    columns.GetItem(NrCol).ReadOnly = true;
    columns.GetItem(NavnCol).ReadOnly = true;
    columns.EndUpdate();
    grid.SetOptions(TGridOption::goEditing | TGridOption::goAlwaysShowEditor | TGridOption::goColSizing);
    grid.SetColWidths(NrCol, 50);
    grid.SetColWidths(NavnCol, 220);
    grid.SetColWidths(TurCol, 50);
    grid.SetRowCount(2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NavneStringGrid, 1);
    layout->addLayout(DialogButtonRow(OKBitBtn, AnnullerBitBtn));
    resize(380, 420);
    connect(OKBitBtn, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(AnnullerBitBtn, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

int TStafetNavneForm::Load(TResultatManager& manager, int index) {
    manager_ = &manager;
    index_ = index;
    Fill();
    return RunDialog(*this);
}

void TStafetNavneForm::Fill() {
    const TResultat& hold = *manager_->GetResultat(index_);
    // The club's members, without the team's own entry, in the club's order.
    TKlubManager members(hold.KlubNr);
    TExtStringGrid& grid = *NavneStringGrid;
    grid.ClearRows();
    int row = grid.FixedRows();
    grid.SetRowCount(row + 1);
    for (int i = 0; i < members.DeltagerList().GetCount(); ++i) {
        const TDeltagerElement& deltager = members.GetDeltager(i);
        const qint32 startnummer = deltager.GetField(DeltagerField::Startnummer)->GetAsInteger();
        if (startnummer == hold.Startnummer)
            continue;
        grid.SetRowCount(row + 1);
        grid.SetCells(NrCol, row, QString::number(startnummer));
        grid.SetCells(NavnCol, row, deltager.GetTrimmedString(DeltagerField::Navn));
        const int tur = StafetTurOf(hold, startnummer);
        grid.SetCells(TurCol, row, tur > 0 ? QString::number(tur) : QString());
        ++row;
    }
    grid.GotoCell(TurCol, grid.FixedRows(), true);
}

void TStafetNavneForm::OKClick() {
    if (!NavneStringGrid->CommitCell())
        return;
    std::vector<TStafetTur> ture;
    for (int row = NavneStringGrid->FixedRows(); row < NavneStringGrid->RowCount(); ++row) {
        bool ok = false;
        const qint32 startnummer = NavneStringGrid->Cells(NrCol, row).toInt(&ok);
        if (ok)
            ture.push_back({startnummer, NavneStringGrid->Cells(TurCol, row)});
    }
    if (const std::optional<QString> failure =
            FailureOf([&] { SetStafetTure(*manager_->GetResultat(index_), ture); })) {
        ShowError(this, *failure);
        return;
    }
    done(mrOk);
}
