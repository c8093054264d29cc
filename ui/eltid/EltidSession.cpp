#include "ui/eltid/EltidSession.h"

#include "foundation/PathResolver.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"

#include <QDir>

#include <array>

// ---------------------------------------------------------------- the heading

namespace {

// The youth classes' names on the scoreboard of a Redid meet.
struct TRedidKlasse {
    const char16_t* Klasse;
    const char16_t* Tekst;
};
constexpr std::array<TRedidKlasse, 8> RedidKlasser = {{{u"P12", u"G U12"},
                                                       {u"P14", u"G U14"},
                                                       {u"P16", u"G U16"},
                                                       {u"P18", u"G +16"},
                                                       {u"D12", u"B U12"},
                                                       {u"D14", u"B U14"},
                                                       {u"D16", u"B U16"},
                                                       {u"D18", u"B +16"}}};

QString RedidKlasseText(const TOvelseInfo& info) {
    const QString kode = info.GetKlasseKode().toUpper();
    for (const TRedidKlasse& klasse : RedidKlasser) {
        if (kode == QStringView(klasse.Klasse))
            return QString::fromUtf16(klasse.Tekst);
    }
    return info.Klasse().GetTrimmedString(KlasseField::Langtekst);
}

// Running events by their code and round letter (after the first round), others by their short text.
QString EventPart(const TOvelseInfo& info) {
    if (!info.Ovelse().IsLobeOvelse())
        return info.Ovelse().GetTrimmedString(OvelseField::Korttekst);
    return info.OvelseRn().GetTrimmedString(OvelseRnField::Ovelse) +
           (info.GetRundeNr() > 1 ? info.GetRunde() : QString());
}

} // namespace

QString EltidOverskrift(const TOvelseInfo& info, qint32 heat, int heatCount) {
    const TSystemData& data = CurrentSystemData();
    const bool heats = heatCount > 1;
    const QString heatWord = heats ? QStringLiteral(" heat ") + QString::number(heat) : QString();
    if (data.Redid)
        return RedidKlasseText(info) + u' ' + EventPart(info) +
               (heats ? QStringLiteral(" h") + QString::number(heat) : QString());
    if (data.ECup2007)
        return info.Klasse().GetTrimmedString(KlasseField::Korttekst) + QStringLiteral(" - ") +
               EventPart(info) + heatWord;
    if (data.Engelsk)
        return info.GetKlasseText().left(1) + u' ' + info.GetOvelseText() + heatWord;
    return info.GetKlasseOvelseKode() + heatWord;
}

// ---------------------------------------------------------------- the run

namespace {

TStaevneManager& MeetManager() {
    TStaevneManager* manager = ModelContext().StaevneManager.get();
    if (!manager)
        throw Exception(QStringLiteral("Intet stævne er åbent"));
    return *manager;
}

const QString TickFejl = QStringLiteral("Exception, EltidReader: ");
constexpr std::chrono::seconds ShowWaitingAfter{1};

} // namespace

TEltidSession::TEltidSession(const TEltidRun& run)
    : run_(run)
    , heat_(*run.Manager, run.Heat) {
    if (const TStaevneManager* meet = ModelContext().StaevneManager.get()) {
        eltidSystem_ = meet->Registry().EltidSystem;
        cameraNo_ = meet->Registry().CameraNo;
    }
    if (const TOvelseInfo* info = run_.Manager->OvelseInfo())
        overskrift_ = EltidOverskrift(*info, run_.Heat, run_.Manager->GetHeatCount());
    MakeReader();
}

TEltidSession::~TEltidSession() = default;

bool TEltidSession::IsTimed() const {
    const TOvelseInfo* info = run_.Manager->OvelseInfo();
    return info && info->Ovelse().IsLobeOvelse();
}

QString TEltidSession::Caption() const {
    return QStringLiteral(" %1 %2, Heat: %3, Antal: %4")
        .arg(run_.KlasseText, run_.OvelseText)
        .arg(run_.Heat)
        .arg(run_.Antal);
}

void TEltidSession::MakeReader() {
    reader_ = MakeEltid(eltidSystem_, heat_, cameraNo_);
    reader_->SetFlags(minutTilSekund_, omega1000_);
}

void TEltidSession::SetEltidSystem(int index) {
    if (!CanChoose() || index < 0 || index >= EltidSystemCount)
        return;
    eltidSystem_ = index;
    MeetManager().Registry().EltidSystem = index;
    MakeReader();
}

void TEltidSession::SetCameraNo(int index) {
    if (!CanChoose() || index < 0)
        return;
    cameraNo_ = index;
    MeetManager().Registry().CameraNo = index;
    MakeReader();
}

void TEltidSession::SetOmega1000(bool on) {
    omega1000_ = on;
    reader_->SetFlags(minutTilSekund_, omega1000_);
}

void TEltidSession::SetMinutTilSekund(bool on) {
    minutTilSekund_ = on;
    reader_->SetFlags(minutTilSekund_, omega1000_);
}

// ---------------------------------------------------------------- choosing

TEltidFileList TEltidSession::ListFiles() {
    return reader_->GetFileList(tidligere_);
}

bool TEltidSession::CanFjern() const {
    return CanChoose() && !tidligere_ && !reader_->FileList().isEmpty();
}

TEltidFileList TEltidSession::Fjern(const QStringList& names) {
    if (CanFjern() && !names.isEmpty())
        reader_->AddReadFiles(names);
    return ListFiles();
}

TEltidFileList TEltidSession::Nulstil() {
    if (CanChoose())
        reader_->RemoveReadFiles();
    return ListFiles();
}

TEltidFileList TEltidSession::SetEltidReference(const QString& chosenFile) {
    if (CanChoose() && !chosenFile.isEmpty())
        reader_->SetReference(chosenFile);
    return ListFiles();
}

void TEltidSession::Choose(const QString& baseName) {
    if (!CanChoose() || baseName.isEmpty())
        return;
    reader_->SetFlags(minutTilSekund_, omega1000_);
    reader_->Choose(baseName);
    state_ = TEltidState::Reading;
    if (autoXml_)
        SendResults();
}

// ---------------------------------------------------------------- reading

TEltidTick TEltidSession::Tick(std::chrono::milliseconds wait) {
    TEltidTick tick;
    if (state_ != TEltidState::Reading || paused_)
        return tick;
    try {
        tick.Poll = reader_->Poll(wait);
        if (tick.Poll == TEltidPoll::Read && autoXml_)
            SendResults();
    } catch (const std::exception& error) {
        tick.Fejl = TickFejl + MessageOf(error);
        paused_ = true;
    }
    return tick;
}

QString TEltidSession::WaitingText() const {
    const std::chrono::milliseconds waited = reader_->Waiting();
    if (waited < ShowWaitingAfter)
        return {};
    return QStringLiteral("Venter på ") + reader_->ResultFolder() +
           QStringLiteral(" (%1 s)").arg(std::chrono::duration_cast<std::chrono::seconds>(waited).count());
}

QStringList TEltidSession::GridHeadings() {
    return {QStringLiteral("Nr"),    QStringLiteral("Bane"),   QStringLiteral("StartNr"),
            QStringLiteral("  Tid"), QStringLiteral("Status"), QStringLiteral("1 / 1000")};
}

QStringList TEltidSession::LineTexts(int index) const {
    const TEltidData& line = reader_->Lines().at(std::size_t(index));
    return {line.Plac,         line.Bane,
            line.Startnr,      QStringLiteral("  ") + line.Tid,
            line.StatusText(), QStringLiteral("  ") + QString::number(line.Tusindedele)};
}

bool TEltidSession::CanGodkend() const {
    return (state_ == TEltidState::Reading || state_ == TEltidState::Editing) && LineCount() > 0;
}

bool TEltidSession::CanRediger() const {
    return state_ == TEltidState::Reading && LineCount() > 0;
}

QString TEltidSession::VindText() const {
    return run_.Vind ? reader_->HeatVind() : QString();
}

QString TEltidSession::VindFejl() const {
    return run_.Vind ? reader_->HeatVindFejl() : QString();
}

// ---------------------------------------------------------------- editing

void TEltidSession::Rediger() {
    if (CanRediger())
        state_ = TEltidState::Editing;
}

void TEltidSession::Edit(void (TEltid::*set)(int, const QString&), int index, const QString& text) {
    if (state_ != TEltidState::Editing)
        return;
    (reader_.get()->*set)(index, text);
    if (autoXml_)
        SendResults();
}

void TEltidSession::EditBane(int index, const QString& text) {
    Edit(&TEltid::SetLineBane, index, text);
}

void TEltidSession::EditStartNr(int index, const QString& text) {
    Edit(&TEltid::SetLineStartnr, index, text);
}

namespace {

// The typed wind to give the heat; none for an empty text. Raises for a text that is no wind.
std::optional<qint32> TypedVind(const QString& text) {
    const TEltidVind vind = CheckEltidVind(text);
    if (!vind.Fejl.isEmpty())
        throw Exception(vind.Fejl);
    return vind.Vind;
}

} // namespace

void TEltidSession::EnterVind(const QString& text) {
    if (!run_.Vind)
        return;
    if (const std::optional<qint32> vind = TypedVind(text))
        heat_.SetVind(*vind);
    if (autoXml_)
        SendResults();
}

// ---------------------------------------------------------------- closing

QString TEltidSession::GodkendQuestion() const {
    const int fejl = reader_->FejlCount();
    if (fejl == 0)
        return {};
    return QStringLiteral("%1 linje(r) er markeret FEJL og giver ingen resultater. Løbere i heatet uden tid "
                          "får status \"Ej mødt\". Godkend alligevel")
        .arg(fejl);
}

void TEltidSession::Godkend(const QString& vindText) {
    if (state_ == TEltidState::Accepted || state_ == TEltidState::Cancelled)
        return;
    const std::optional<qint32> vind = run_.Vind ? TypedVind(vindText) : std::nullopt;
    if (vind)
        heat_.SetVind(*vind);
    if (state_ != TEltidState::Choosing) {
        reader_->Finish();
        if (!tidligere_)
            reader_->AddReadFiles({reader_->BaseName()});
    }
    state_ = TEltidState::Accepted;
}

void TEltidSession::Annuller() {
    if (state_ == TEltidState::Accepted || state_ == TEltidState::Cancelled)
        return;
    heat_.RestoreAll();
    state_ = TEltidState::Cancelled;
}

// ---------------------------------------------------------------- scoreboard

namespace {

struct TKnapDef {
    TScoreboardKnap Knap;
    const char* Command;
    bool OneHeat;
};
constexpr std::array<TKnapDef, 7> Knapper = {{{TScoreboardKnap::StartListeLane, "startlist-lane", true},
                                              {TScoreboardKnap::StartListeBib, "startlist-bib", true},
                                              {TScoreboardKnap::Resultat, "results", true},
                                              {TScoreboardKnap::ResultatTotal, "results", false},
                                              {TScoreboardKnap::KvalNaesteRunde, "qualification", false},
                                              {TScoreboardKnap::Presentation, "presentation", true},
                                              {TScoreboardKnap::Clear, "", true}}};

const TKnapDef& DefOf(TScoreboardKnap knap) {
    for (const TKnapDef& def : Knapper) {
        if (def.Knap == knap)
            return def;
    }
    return Knapper.back();
}

} // namespace

QStringList TEltidSession::ScoreboardCommands() {
    QStringList commands;
    for (const QString& line : ReadTextLines(DataDirFile(QStringLiteral("scoreboard-commands")))) {
        if (!line.trimmed().isEmpty())
            commands.append(line.trimmed());
    }
    return commands;
}

QStringList TEltidSession::OngoingEvents() {
    return QDir(ResolvePath(ModelContext().ProgramDir))
        .entryList({QStringLiteral("*-result.xml")}, QDir::Files, QDir::Name);
}

void TEltidSession::Send(TScoreboardKnap knap, const QString& chosenCommand) {
    const TKnapDef& def = DefOf(knap);
    QString command = QString::fromLatin1(def.Command);
    if (knap == TScoreboardKnap::Clear)
        command = chosenCommand;
    else if (knap == TScoreboardKnap::Resultat || knap == TScoreboardKnap::ResultatTotal)
        command = kunSide1_ ? QStringLiteral("results-best") : QStringLiteral("results");
    if (command.isEmpty())
        return;
    TScoreboard& scoreboard = MeetManager().Scoreboard();
    TResultatManager& manager = *run_.Manager;
    scoreboard.Command = command;
    if (alleHeats_) {
        manager.ClearScoreboardFiler();
        for (int heat = 1; heat <= manager.GetHeatCount(); ++heat) {
            scoreboard.Header = QString(overskrift_).replace(u'#', QString::number(heat));
            manager.WriteScoreboardFil(def.OneHeat, heat);
        }
        manager.WriteScoreboardData();
        alleHeats_ = false;
        return;
    }
    scoreboard.Header = overskrift_;
    if (!collect_)
        manager.ClearScoreboardFiler();
    manager.WriteScoreboardFil(def.OneHeat, run_.Heat);
    if (!collect_)
        manager.WriteScoreboardData();
}

void TEltidSession::SendResults() {
    Send(TScoreboardKnap::Resultat);
}

void TEltidSession::ClearCollected() {
    run_.Manager->ClearScoreboardFiler();
}

void TEltidSession::ActivateCollected() {
    run_.Manager->WriteScoreboardData();
    collect_ = false;
}

void TEltidSession::ActivateOngoing(const QString& fileName) {
    if (!fileName.isEmpty())
        run_.Manager->ActivateScoreboardFil(fileName);
}
