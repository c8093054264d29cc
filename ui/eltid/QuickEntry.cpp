#include "ui/eltid/QuickEntry.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/PathResolver.h"
#include "model/D_Context.h"
#include "model/D_Result.h"
#include "model/D_Tekster.h"

#include <QFile>

namespace {

const QString ClockFormat = QStringLiteral("hh:mm:ss");
const QString Overskriv = QStringLiteral("Der er allerede indtastet resultater, overskriv resultat");
constexpr int ScanTidDigits = 6;
// The default button "Nej" before a destructive question.
constexpr int NejButton = 1;

} // namespace

TQuickEntry::TQuickEntry(TResultatManager& manager)
    : manager_(manager) {}

bool TQuickEntry::Enter(const std::vector<TOvelseInfo*>& rounds) {
    rows_.clear();
    byStartnummer_.clear();
    if (rounds.empty())
        return false;
    manager_.LoadOvelser(rounds);
    return Fill();
}

void TQuickEntry::Leave(const std::vector<TOvelseInfo*>& rounds,
                        const std::function<void(TOvelseInfo&)>& saved) {
    rows_.clear();
    byStartnummer_.clear();
    if (IsReadOnly())
        return;
    manager_.SaveResultater();
    for (TOvelseInfo* round : rounds) {
        manager_.LoadOvelse(round);
        manager_.SaveResultater();
        if (saved)
            saved(*round);
    }
}

bool TQuickEntry::Fill() {
    manager_.SortResultatStartnummer();
    rows_ = manager_.GetResultater();
    byStartnummer_.clear();
    byStartnummer_.reserve(rows_.size());
    for (int i = 0; i < int(rows_.size()); ++i)
        byStartnummer_.emplace(rows_[std::size_t(i)]->Startnummer, i); // the first row of a number
    return !rows_.empty();
}

TResultat* TQuickEntry::RowAt(int row) const {
    return row >= 0 && row < int(rows_.size()) ? rows_[std::size_t(row)] : nullptr;
}

QStringList TQuickEntry::Headings() {
    return {QStringLiteral("#"),    QStringLiteral("Nr"),   QStringLiteral("Resultat"),
            QStringLiteral("Navn"), QStringLiteral("Klub"), QStringLiteral("Scan-tid"),
            QStringLiteral("Tid")};
}

QString TQuickEntry::CellText(int row, TQuickColumn column) const {
    const TResultat* r = RowAt(row);
    if (!r)
        return {};
    switch (column) {
    case TQuickColumn::Nummer:
        return QString::number(row + 1);
    case TQuickColumn::Nr:
        return r->GetFieldText(TResultColumn::Startnummer);
    case TQuickColumn::Resultat:
        return r->GetFieldText(TResultColumn::Resultat);
    case TQuickColumn::Navn:
        return r->GetFieldText(TResultColumn::NavnAargang);
    case TQuickColumn::Klub:
        return r->GetFieldText(TResultColumn::Klub);
    case TQuickColumn::ScanTid:
        return r->GetFieldText(TResultColumn::ScanningTid);
    case TQuickColumn::Tid:
        return starttid_ ? LobeTid(r->GetFieldText(TResultColumn::ScanningTid), *starttid_) : QString();
    }
    return {};
}

int TQuickEntry::RowOf(qint32 startnummer) const {
    const auto found = byStartnummer_.find(startnummer);
    return found == byStartnummer_.end() ? -1 : found->second;
}

bool TQuickEntry::IsReadOnly() {
    return ModelContext().SpeakerMode;
}

std::optional<qint32> TQuickEntry::ParseStartnummer(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint32 n = trimmed.toInt(&ok);
    if (!ok || n < 0)
        throw Exception(QStringLiteral("Ugyldigt startnummer: ") + trimmed);
    return n;
}

TQuickStartOutcome TQuickEntry::EnterStartnummer(const QString& text, const QTime& now, bool autoTid,
                                                 QObject* owner) {
    TQuickStartOutcome outcome;
    if (IsReadOnly())
        return outcome;
    const std::optional<qint32> startnummer = ParseStartnummer(text);
    if (!startnummer)
        return outcome;
    if (autoTid && !AppendAutoTid(*startnummer, now))
        outcome.LogFejl =
            QStringLiteral("Filen ") + AutoTidFileName() + QStringLiteral(" kunne ikke skrives");
    outcome.Row = RowOf(*startnummer);
    if (outcome.Row < 0)
        throw Exception(QStringLiteral("Startnummer findes ikke"));
    TResultat& row = *rows_[std::size_t(outcome.Row)];
    if (row.Resultat != 0) {
        MessageDefaultButton = NejButton;
        if (!AskConfirm(owner, Overskriv)) {
            outcome.What = TQuickStart::Kept;
            return outcome;
        }
    }
    if (!autoTid) {
        outcome.What = TQuickStart::EnterResultat;
        return outcome;
    }
    row.SetFieldText(TResultColumn::Resultat, now.toString(ClockFormat));
    outcome.What = TQuickStart::Registered;
    return outcome;
}

TQuickResultOutcome TQuickEntry::EnterResultat(const QString& startnummerText, const QString& resultatText) {
    TQuickResultOutcome outcome;
    if (IsReadOnly() || resultatText.trimmed().isEmpty())
        return outcome;
    try {
        const std::optional<qint32> startnummer = ParseStartnummer(startnummerText);
        outcome.Row = startnummer ? RowOf(*startnummer) : -1;
        if (outcome.Row >= 0)
            rows_[std::size_t(outcome.Row)]->SetFieldText(TResultColumn::Resultat, resultatText);
    } catch (const Exception& error) {
        outcome.Fejl = error.Message();
    }
    return outcome;
}

QString TQuickEntry::SetResultatCell(int row, const QString& text) {
    TResultat* r = RowAt(row);
    if (r && !IsReadOnly())
        r->SetFieldText(TResultColumn::Resultat, text);
    return CellText(row, TQuickColumn::Resultat);
}

QString TQuickEntry::LobeTid(const QString& scanTid, const QTime& start) {
    const QString digits = RemoveResultatSeparators(scanTid.trimmed());
    bool ok = false;
    const qint32 hhnnss = digits.toInt(&ok);
    if (digits.size() != ScanTidDigits || !ok || hhnnss <= 0)
        return {};
    const QTime scan = TidToDateTime(hhnnss * 100);
    const QTime from(start.hour(), start.minute(), start.second());
    if (!scan.isValid() || scan < from)
        return {};
    return QTime(0, 0).addSecs(from.secsTo(scan)).toString(ClockFormat);
}

QString TQuickEntry::AutoTidLine(qint32 startnummer, const QTime& time) {
    return IntToStrWidth(startnummer, 5) + u' ' + time.toString(ClockFormat);
}

QString TQuickEntry::AutoTidFileName() {
    return DataDirFile(QStringLiteral("AutoTid.Txt"));
}

bool TQuickEntry::AppendAutoTid(qint32 startnummer, const QTime& time) {
    QFile file(AutoTidFileName());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = (AutoTidLine(startnummer, time) + CrLf).toLatin1();
    return file.write(line) == line.size() && file.flush();
}
