#include "print/D_Udskrift.h"

#include "foundation/LxClass.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"
#include "print/PrUtilFormat.h"
#include "storage/DBFieldDate.h"

#include <algorithm>
#include <set>

TUdskrift::TUdskrift(QObject* owner)
    : print_(std::make_unique<TStdPrint>(owner)) {
    print_->PageNo = 0;
}

TUdskrift::~TUdskrift() = default;

QString TUdskrift::GetText(int index) const {
    if (index < 1 || index > static_cast<int>(texts_.size()))
        RaiseListIndexError(index);
    return texts_[static_cast<std::size_t>(index - 1)];
}

void TUdskrift::SetText(int index, const QString& text) {
    if (index < 1 || index > static_cast<int>(texts_.size()))
        RaiseListIndexError(index);
    texts_[static_cast<std::size_t>(index - 1)] = text;
}

// ---------------------------------------------------------------- options

void TUdskrift::SetUdskrivTilSkaerm(bool value) {
    udskrivTilSkaerm_ = value;
    print_->SetPreview(value);
}

void TUdskrift::SetUdskrivTilPrinter(bool value) {
    udskrivTilPrinter_ = value;
    print_->SetPreview(udskrivTilSkaerm_);
}

void TUdskrift::SetUdskrivEnLangSide(bool value) {
    print_->OneLongPage = value;
}

void TUdskrift::SetStartPage(int n) {
    print_->PageNo = static_cast<quint16>(std::max(n - 1, 0));
}

void TUdskrift::SetData(TResultatManager* data) {
    Data = data;
}

bool TUdskrift::HasData() {
    return (Data && Data->Count() > 0) || UdskrivTommeOvelser;
}

// ---------------------------------------------------------------- running

void TUdskrift::OvelseStep() {
    if (WantsPrint())
        PrintOvelse();
    else if (HtmlUdskrift)
        WriteOvelseHtml();
    AfterOvelse();
}

void TUdskrift::RunOne() {
    InList = false;
    if (!HasData())
        return;
    if (OnlyHtml())
        OpenHtml();
    OvelseStep();
    print_->Print();
    if (OnlyHtml())
        CloseHtml();
}

void TUdskrift::RunList(const std::vector<TOvelseInfo*>& list) {
    if (!Data)
        throw Exception(QStringLiteral("Programmeringsfejl: udskriften har ingen resultatmanager"));
    InList = true;
    if (OnlyHtml())
        OpenHtml();
    QString klasse;
    bool printed = false;
    TDateTime tid = 0;
    BeforeRun();
    for (TOvelseInfo* info : list) {
        if (!info)
            continue;
        const QString naeste = info->OvelseRn().GetTrimmedString(OvelseRnField::Klasse);
        if (naeste != klasse) {
            if (!klasse.isEmpty() && printed)
                KlasseBreak(SideskiftPrKlasse);
            klasse = naeste;
            printed = false;
        }
        if (SideskiftPrTidspunkt && info->GetTid() != tid) {
            if (tid != 0)
                TidBreak();
            tid = info->GetTid();
        }
        Data->LoadOvelse(info);
        if (HasData()) {
            printed = true;
            OvelseStep();
        }
    }
    if (!klasse.isEmpty())
        KlasseBreak(SideskiftPrKlasse);
    if (SideskiftPrTidspunkt && tid != 0)
        TidBreak();
    AfterRun();
    if (WantsPrint())
        print_->Print();
    if (OnlyHtml())
        CloseHtml();
}

void TUdskrift::KlasseBreak(bool pageBreak) {
    KlasseChanged();
    if (WantsPrint() && pageBreak) {
        print_->Print();
        print_->ClearSection(TPrintSection::Body);
    }
}

void TUdskrift::TidBreak() {
    if (WantsPrint()) {
        print_->Print();
        print_->ClearSection(TPrintSection::Body);
    }
}

void TUdskrift::CloseHtml() {
    if (Html) {
        Html->Close();
        Html.reset();
    }
}

QString TUdskrift::HtmlPageFileName(const QString& fixedName) const {
    if (!StaevneManager)
        throw Exception(QStringLiteral("Programmeringsfejl: intet stævne at skrive siden til"));
    const QString name = HtmlFileName.isEmpty() ? HtmlNamePrefix + fixedName + HtmlNameSuffix : HtmlFileName;
    return PathJoin(StaevneManager->GetStaevneDir(), SafeFileName(name) + StaevneManager->GetHtmlExt());
}

void TUdskrift::OpenHtmlPage(const QString& fixedName, const QString& title) {
    Html = std::make_unique<THtmlMaker>(HtmlPageFileName(fixedName), title, false, &HtmlIncludes);
}

bool TUdskrift::IsCompletelySeeded() const {
    if (!Data)
        return false;
    bool seeded = false;
    for (int i = 0; i < Data->Count(); ++i) {
        const TResultat& row = *Data->GetResultat(i);
        if (!row.HasStarted())
            continue;
        if (!row.HasHeat())
            return false;
        seeded = true;
    }
    return seeded;
}

int TUdskrift::HeatCount() const {
    std::set<qint32> heats;
    for (const TResultat* row : rows_)
        if (row->Heat >= 1 && row->Heat <= MaxHeatNr)
            heats.insert(row->Heat);
    return static_cast<int>(heats.size());
}

QString TUdskrift::HeatStartText(qint32 heat, int heatCount) const {
    const TOvelseInfo* info = Data ? Data->OvelseInfo() : nullptr;
    if (!info || heat < 1 || heatCount < 2 || info->GetTidPrHeat() == 0 ||
        CurrentSystemData().TidsskemaUofficielt)
        return {};
    return FormatDateTime(QStringLiteral("h:nn"), DateTimeToQDateTime(info->GetHeatTid(heat)));
}

QString TUdskrift::StatusText(const TResultat& row) {
    if (row.IsAfbud() || row.IsEjMoedt() || row.IsVenter())
        return FormatResKode(row.RK);
    if (row.IsUK() || row.IsUdenforHold())
        return FormatUdenforKonk(row.UK);
    return {};
}

QString TUdskrift::TeamName(const TResultat& row) {
    const QString navn = TrimBlanks(row.Navn);
    return navn.isEmpty() ? row.GetKlub() : navn;
}

bool TUdskrift::RefuseHtmlOnly(const QString& what) {
    if (!OnlyHtml())
        return false;
    if (!htmlOnlyRefused_) {
        htmlOnlyRefused_ = true;
        ShowInformation(print_->Owner(), what + QStringLiteral(" kan kun udskrives på papir eller vises på "
                                                               "skærmen, ikke skrives som HTML."));
    }
    return true;
}

// ---------------------------------------------------------------- the rows being printed

namespace {

std::unique_ptr<TResultat> CopyOf(const TResultat& row) {
    auto copy = std::make_unique<TResultat>(row.Manager, row.OvelseInfo);
    TResultat& c = *copy;
    c.Modified = row.Modified;
    c.DeltagerModified = row.DeltagerModified;
    c.Position = row.Position;
    c.Startnummer = row.Startnummer;
    c.Heat = row.Heat;
    c.Efter = row.Efter;
    c.RK = row.RK;
    c.Seedning = row.Seedning;
    c.Resultat = row.Resultat;
    c.PK = row.PK;
    c.Plac = row.Plac;
    c.Side = row.Side;
    c.Bane = row.Bane;
    c.VK = row.VK;
    c.Vind = row.Vind;
    c.PR = row.PR;
    c.Navn = row.Navn;
    c.Aargang = row.Aargang;
    c.Klub = row.Klub;
    c.Rank = row.Rank;
    c.Bem = row.Bem;
    c.Point = row.Point;
    c.Holdkode = row.Holdkode;
    c.Koen = row.Koen;
    c.UK = row.UK;
    c.ScanningTid = row.ScanningTid;
    c.Licensnummer = row.Licensnummer;
    c.KortNavn = row.KortNavn;
    c.Point3 = row.Point3;
    c.Klasse = row.Klasse;
    c.Ovelse = row.Ovelse;
    c.Runde = row.Runde;
    c.Reaktion = row.Reaktion;
    c.SG = row.SG;
    c.Bem2 = row.Bem2;
    c.Tusindedele = row.Tusindedele;
    c.KlubNr = row.KlubNr;
    c.KlubAdresse5 = row.KlubAdresse5;
    c.Lodtraekning = row.Lodtraekning;
    c.SeedLodtraekning = row.SeedLodtraekning;
    c.MKPointSum = row.MKPointSum;
    c.MKPoint3Sum = row.MKPoint3Sum;
    c.BestLegalResultat = row.BestLegalResultat;
    c.BestLegalVind = row.BestLegalVind;
    c.VTPoint = row.VTPoint;
    c.VeteranPoint2 = row.VeteranPoint2;
    c.windDisciplines = row.windDisciplines;
    c.windExcess = row.windExcess;
    c.alternativeAttempt = row.alternativeAttempt;
    for (int i = 0; i < row.GetSerieCount(); ++i)
        *c.GetSerie(c.Serier.Add()) = *row.GetSerie(i);
    return copy;
}

} // namespace

void TUdskrift::CopyRows() {
    copies_.clear();
    rows_.clear();
    copyOf_.clear();
    if (!Data)
        return;
    copies_.reserve(static_cast<std::size_t>(Data->Count()));
    for (int i = 0; i < Data->Count(); ++i) {
        const TResultat* row = Data->GetResultat(i);
        copies_.push_back(CopyOf(*row));
        rows_.push_back(copies_.back().get());
        copyOf_.emplace(row, copies_.back().get());
    }
}

void TUdskrift::SortRows(TResultatCompare compare) {
    const TResultSort sort(RulesOf(Data ? Data->OvelseInfo() : nullptr));
    SortResultater(rows_, sort, compare);
}

TResultat* TUdskrift::CopyOfRow(const TResultat* row) const {
    const auto found = copyOf_.find(row);
    return found == copyOf_.end() ? nullptr : found->second;
}

// ---------------------------------------------------------------- for the jobs

void TUdskrift::AddHeaderSpacer() {
    const double left = print_->Columns().empty() ? 0 : print_->Columns().front().GetLeft();
    print_->AddHeaderText(TPrintAlignment::Left, QStringLiteral(" "), left, 1002);
}

QStringList TUdskrift::RelayMembers(const TResultat& resultat, bool withStartnummer) {
    const bool eCup = CurrentSystemData().ECup2007;
    TDeltagerTable& deltagere = Data->DeltagerTable2();
    QStringList members;
    for (int i = 0; i < resultat.GetSerieCount(); ++i) {
        const TSerie* serie = resultat.GetSerie(i);
        if (!serie || serie->Value <= 0)
            continue;
        const qint32 startnummer = serie->Value;
        if (!deltagere.FindKey({TKeyValue(qint64(CurrentStID())), TKeyValue(qint64(startnummer))})) {
            members.append(QStringLiteral("Startnummer ") + QString::number(startnummer));
            continue;
        }
        QString member = deltagere.GetField(DeltagerField::Navn)->GetTrimmedString();
        const qint32 aargang = deltagere.GetField(DeltagerField::Aargang)->GetAsInteger();
        if (aargang != 0)
            member += QStringLiteral(" -") + QString::number(aargang);
        if (withStartnummer && !eCup)
            member = u'(' + QString::number(startnummer) + QStringLiteral(") ") + member;
        members.append(member);
    }
    return members;
}

int TUdskrift::PrintRelayMembers(const TResultat& resultat, int column) {
    const QStringList members = RelayMembers(resultat, true);
    const TPrintFontScope font(print_->LineFont());
    print_->LineFont().Style |= PrintFontStyle::Italic;
    int lines = 0;
    for (qsizetype i = 0; i < members.size(); i += 2) {
        ++lines;
        print_->AddColumnText(column, members.mid(i, 2).join(QStringLiteral(" / ")), Row + lines);
    }
    return lines;
}

QString TUdskrift::RelayMembersHtml(const TResultat& resultat) {
    QStringList members = RelayMembers(resultat, false);
    for (QString& member : members)
        member = HtmlEscape(member);
    return members.join(QStringLiteral("<br>"));
}

QString TUdskrift::RelayStartNumbersHtml(const TResultat& resultat) const {
    QStringList numbers;
    for (int i = 0; i < resultat.GetSerieCount(); ++i)
        if (const TSerie* serie = resultat.GetSerie(i); serie && serie->Value > 0)
            numbers.append(QString::number(serie->Value));
    return numbers.join(QStringLiteral("<br>"));
}

QString TUdskrift::QualificationText() const {
    if (!Data || !Data->OvelseInfo())
        return {};
    return Heading().QualificationText();
}

QString TUdskrift::GetRecordHolderText(const TRekord& rekord) const {
    if (!Data || !Data->OvelseInfo())
        throw Exception(QStringLiteral("Programmeringsfejl: udskriften har ingen øvelse"));
    return Heading().GetRecordHolderText(rekord);
}

TOvelseHeading TUdskrift::Heading() const {
    return TOvelseHeading(*Data, THeadingOptions{ShowsLangtekst(), ShowsHeatCount()});
}

// ---------------------------------------------------------------- the event step

void TUdskrift::PrintOvelse() {
    CopyRows();
    Prepare();
    SavedRow = Row;
    if (SkipGeneric || !Data || !Data->OvelseInfo())
        return;
    if (HeadingInBody)
        Heading().PrintInBody(*print_, Row);
    else
        Heading().PrintInHeader(*print_);
}

void TUdskrift::WriteOvelseHtml() {
    CopyRows();
    Prepare();
    if (!SkipGeneric && Html && Data && Data->OvelseInfo())
        Heading().WriteHtml(*Html);
}
