// The result manager against plainly reading the same records through the record manager, in the same
// run. A meet of 5,000 participants in 100 clubs and 20,000 results in 20 rounds of 1,000 (ten events in
// two classes: runs, jumps with their attempts and wind, throws and relays with their legs):
// - load one round (a long jump with six attempts a row), sort it, save it after a change to every row;
// - load the whole meet round by round, and make a manager (which counts every round);
// - load the same round from a meet that holds nothing else, so that the two loads show whether the time
//   of a round depends on the rounds around it;
// - place that round, mark who goes on (two by place, eight in all) and make its teams of three, beside a
//   sort of it, and the same in a round ten times its size;
// - sort that round by name, and make its teams with every row in one club, beside the same in the round
//   ten times its size: both must grow with the round, not with its square;
// - seed that round into ten heats with drawn groups and fanned lanes, once and with the clubs
//   spread over the heats in ten draws, and give it team-league points (with half points) and points by
//   place with two scorers per team, beside the same in the round ten times its size.
// - sort, place and qualify, make teams of, seed and give points to the round a hundred times its size
//   (100,000 rows), beside the same ten times its size: each must grow as n log n, 13.3 a tenfold;
// - seed that round into heats of eight with the clubs spread in the dialog's 30,000 draws, beside one
//   draw, by drawn groups and by drawn order;
// - write the whole meet as its XML document ("zuno-staevne.xml"), beside a plain read of every record of
//   the meet that the document holds, and the same in a meet ten times its size (50,000 participants in
//   1,000 clubs, 200 rounds of 1,000 in twenty classes).
// The plain read takes the round's result records by key and, for each, its participant by key and its
// club (each club once): the records the manager reads. The plain write reads each record by position and
// updates it, in one transaction. The plain read of a meet walks each of its files by key from the meet's
// first record to its last, the results with their series.
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_PointBeregning.h"
#include "model/D_Result.h"
#include "model/D_ResultHold.h"
#include "model/D_Staevne.h"
#include "model/D_StdKlasser.h"
#include "platform/LittleEndian.h"
#include "platform/recordmanager/RecordManager.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchMeet.h"
#include "support/BenchRuns.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace RM = RecordManager;

namespace {

constexpr int Deltagere = 5000;
constexpr int Klubber = 100;
constexpr int PrRunde = 1000;
const char* const Ovelser[] = {"100", "200", "400", "800", "1500", "LÆ", "HØ", "KU", "DI", "4X100"};
// The classes of the meet, two for each unit of its scale.
const char* const Klasser[] = {"M",   "K",   "M30", "K30", "M35", "K35", "M40", "K40", "M45", "K45",
                               "M50", "K50", "M55", "K55", "M60", "K60", "M65", "K65", "M70", "K70"};
// The round the single-round figures use.
const QString RundeKlasse = QStringLiteral("M");
const QString RundeOvelse = QStringLiteral("LÆ");

// ---------------------------------------------------------------- the meets

// The attempts of one entry, by the event's type.
QByteArray SerieOf(qint32 ovtype, int k, int deltagere) {
    TSerier serier;
    const auto add = [&serier](qint32 value, qint32 kode) {
        TSerie& serie = *serier.GetSerie(serier.Add());
        serie.Value = value;
        serie.Kode = kode;
    };
    switch (ovtype) {
    case int(TOvtype::HorisontalSpring):
    case int(TOvtype::Kast):
        for (int a = 0; a < 6; ++a)
            add(a == 2 ? 0 : 500 + (k * 37 + a * 11) % 300, (k + a) % 40 - 15);
        break;
    case int(TOvtype::VertikalSpring):
        for (int h = 0; h < 8; ++h)
            add(150 + 5 * h, h < 6 ? 3 : 223);
        break;
    case int(TOvtype::Stafet):
        for (int leg = 0; leg < 4; ++leg)
            add((k * 4 + leg) % deltagere + 1, 0);
        break;
    default:
        break;
    }
    return serier.SaveToString();
}

// A program folder with one meet, its programme and its records.
class TMeet : public TBenchMeet {
public:
    // Every event row of the programme when full, else the benchmark's round alone, with prRunde entries;
    // scale times the classes, clubs and participants.
    explicit TMeet(bool full, int prRunde = PrRunde, int scale = 1)
        : prRunde_(prRunde)
        , klasser_(2 * scale)
        , klubber_(Klubber * scale)
        , deltagere_(Deltagere * scale) {
        Use use(*this);
        MakeProgramme(full);
        Fill();
    }

    // Needs the meet in use.
    static TOvelseInfo& Round(const QString& klasse, const QString& ovelse) {
        TOvelseInfo* info = ModelContext().OvelseManager->FindOvelseInfo(klasse, ovelse, QString());
        Check(info, "round");
        return *info;
    }
    static std::vector<TOvelseInfo*> Rounds() {
        std::vector<TOvelseInfo*> rounds;
        for (const auto& [key, info] : ModelContext().OvelseManager->KlasseIndex())
            rounds.push_back(info);
        return rounds;
    }
    int Participants() const { return deltagere_; }
    int Results() const { return static_cast<int>(Rounds().size()) * prRunde_; }

private:
    void MakeProgramme(bool full) {
        SaveProgramme(std::span(Klasser).first(static_cast<std::size_t>(klasser_)), Ovelser,
                      [full](const char* klasse, const char* ovelse) {
                          return full || (klasse == RundeKlasse && QString::fromUtf8(ovelse) == RundeOvelse);
                      });
        TOvelseRnElement& runde = Round(RundeKlasse, RundeOvelse).OvelseRn();
        for (const auto& [field, value] :
             {std::pair(OvelseRnField::AntalViderePlac, 2), std::pair(OvelseRnField::AntalVidereIalt, 8),
              std::pair(OvelseRnField::AntalPrHold, 3)})
            runde.GetField(field)->SetAsInteger(value);
        ModelContext().OvelseManager->Save();
    }

    void Fill() {
        TBtvTransaction transaction;
        InsertKlubber(klubber_, [](TKlubTable& klub, qint32 nr) {
            klub.GetField(KlubField::HoldKode)->SetAsString(QString(QChar(u'A' + nr % 26)));
        });
        InsertDeltagere(deltagere_, klubber_);
        TResultatTable resultat;
        resultat.Open();
        int r = 0;
        for (const auto& [key, info] : ModelContext().OvelseManager->KlasseIndex()) {
            // The benchmark's round has the same entries in both meets.
            const int first = info->GetKlasseKode() == RundeKlasse && info->GetOvelseKode() == RundeOvelse
                                  ? 0
                                  : (++r) * prRunde_;
            const qint32 ovtype = info->Ovelse().GetOvtype();
            for (int k = 0; k < prRunde_; ++k) {
                NewResultat(resultat, *info, (first + k) % deltagere_ + 1);
                resultat.GetField(ResultatField::Heat)->SetAsInteger(k / 8 + 1);
                resultat.GetField(ResultatField::Banenummer)->SetAsInteger(k % 8 + 1);
                resultat.GetField(ResultatField::Resultat)->SetAsInteger(1000 + (k * 7919) % 900);
                resultat.GetField(ResultatField::Seedning)->SetAsInteger(1000 + (k * 104729) % 900);
                resultat.Post();
                if (const QByteArray serie = SerieOf(ovtype, k, deltagere_); !serie.isEmpty())
                    WriteSerier(resultat, serie);
            }
        }
        transaction.Commit();
    }

    int prRunde_;
    int klasser_;
    int klubber_;
    int deltagere_;
};

// ---------------------------------------------------------------- the plain side

// The three files on position blocks of their own, read with plain calls.
class TPlain {
public:
    explicit TPlain(const QString& dir) {
        for (std::size_t i = 0; i < files_.size(); ++i) {
            QByteArray name = QFile::encodeName(dir + QString::fromLatin1(Names[i]));
            name.append('\0');
            quint8 owner = 0;
            quint32 length = 1;
            Check(Call(i, RM::OpOpen, &owner, length, name.data(), static_cast<int>(name.size())) == 0,
                  "open");
        }
    }
    ~TPlain() {
        for (std::size_t i = 0; i < files_.size(); ++i) {
            quint32 length = 0;
            Call(i, RM::OpClose, nullptr, length, nullptr, 0);
        }
    }
    TPlain(const TPlain&) = delete;
    TPlain& operator=(const TPlain&) = delete;

    // The round's records with their participants and clubs; the positions of the round's records.
    std::vector<quint32> ReadRound(qint32 stID, const QString& klasse, const QString& ovelse) {
        std::vector<quint32> positions;
        std::vector<bool> klubSeen(Klubber + 2, false);
        std::array<quint8, 14> key{};
        storeLE<qint32>(key.data(), stID);
        const QByteArray k =
            Windows1252::Encode(klasse.leftJustified(3)) + Windows1252::Encode(ovelse.leftJustified(6));
        std::memcpy(key.data() + 4, k.constData(), 9);
        std::array<quint8, 255> keyBuffer{};
        std::memcpy(keyBuffer.data(), key.data(), key.size());
        quint32 length = static_cast<quint32>(record_.size());
        int status = Call(Resultat, RM::OpGetGreaterOrEqual, record_.data(), length, keyBuffer.data(), 255);
        while ((status == 0 || status == RM::StatusDataBufferTooShort) &&
               std::memcmp(record_.data() + 16, key.data(), key.size()) == 0) {
            positions.push_back(Position());
            std::array<quint8, 255> deltagerKey{};
            storeLE<qint32>(deltagerKey.data(), stID);
            std::memcpy(deltagerKey.data() + 4, record_.data() + 30, 4);
            quint32 dl = static_cast<quint32>(other_.size());
            if (Call(Deltager, RM::OpGetEqual, other_.data(), dl, deltagerKey.data(), 255) == 0) {
                const qint16 klubNr = loadLE<qint16>(other_.data() + 24);
                if (klubNr >= 0 && klubNr < static_cast<qint16>(klubSeen.size()) && !klubSeen[klubNr]) {
                    klubSeen[klubNr] = true;
                    std::array<quint8, 255> klubKey{};
                    storeLE<qint32>(klubKey.data(), stID);
                    storeLE<qint16>(klubKey.data() + 4, klubNr);
                    dl = static_cast<quint32>(other_.size());
                    Call(Klub, RM::OpGetEqual, other_.data(), dl, klubKey.data(), 255);
                }
            }
            length = static_cast<quint32>(record_.size());
            status = Call(Resultat, RM::OpGetNext, record_.data(), length, keyBuffer.data(), 255);
        }
        return positions;
    }

    // Each record read by position and written back whole, with a field changed, in one transaction.
    void UpdateRecords(const std::vector<quint32>& positions) {
        quint32 none = 0;
        Check(Call(Resultat, RM::OpBeginTransaction, nullptr, none, nullptr, 0) == 0, "begin");
        std::array<quint8, 255> keyBuffer{};
        for (const quint32 position : positions) {
            storeLE<quint32>(record_.data(), position);
            quint32 length = static_cast<quint32>(record_.size());
            Check(Call(Resultat, RM::OpGetDirect, record_.data(), length, keyBuffer.data(), 255) == 0,
                  "direct");
            record_[43] ^= 1;
            Check(Call(Resultat, RM::OpUpdate, record_.data(), length, keyBuffer.data(), 255) == 0, "update");
        }
        Check(Call(Resultat, RM::OpEndTransaction, nullptr, none, nullptr, 0) == 0, "end");
    }

private:
    static constexpr const char* Names[] = {"RESULTAT.ZU2", "DELTAGER.ZU2", "KLUB.ZU2"};
    static constexpr std::size_t Resultat = 0;
    static constexpr std::size_t Deltager = 1;
    static constexpr std::size_t Klub = 2;

    int Call(std::size_t file, int operation, void* data, quint32& length, void* key, int keyLength) {
        return BTRCALL(static_cast<uint16_t>(operation), files_[file].data(), data, &length, key,
                       static_cast<uint8_t>(keyLength), 0);
    }
    quint32 Position() {
        std::array<quint8, 4> position{};
        quint32 length = 4;
        Call(Resultat, RM::OpGetPosition, position.data(), length, nullptr, 0);
        return loadLE<quint32>(position.data());
    }

    std::array<std::array<quint8, RM::PositionBlockSize>, 3> files_{};
    std::array<quint8, 4096> record_{};
    std::array<quint8, 1024> other_{};
};

// Every record of the files of a meet, each file walked by key 0 with plain calls (the benchmark's
// folders hold one meet each); the results are read with their series.
class TPlainMeet {
public:
    explicit TPlainMeet(const QString& dir)
        : dir_(dir) {}

    // The records read.
    std::size_t Read() {
        std::size_t records = 0;
        for (const char* name : Names) {
            std::array<quint8, RM::PositionBlockSize> block{};
            QByteArray path = QFile::encodeName(dir_ + QString::fromLatin1(name));
            path.append('\0');
            quint8 owner = 0;
            quint32 length = 1;
            Check(BTRCALL(RM::OpOpen, block.data(), &owner, &length, path.data(),
                          static_cast<uint8_t>(path.size()), 0) == 0,
                  "open");
            std::array<quint8, 255> key{};
            length = static_cast<quint32>(record_.size());
            int status = BTRCALL(RM::OpGetFirst, block.data(), record_.data(), &length, key.data(), 255, 0);
            while (status == RM::StatusSuccess) {
                ++records;
                length = static_cast<quint32>(record_.size());
                status = BTRCALL(RM::OpGetNext, block.data(), record_.data(), &length, key.data(), 255, 0);
            }
            Check(status == RM::StatusEndOfFile, "walk");
            length = 0;
            BTRCALL(RM::OpClose, block.data(), nullptr, &length, nullptr, 0, 0);
        }
        return records;
    }

private:
    static constexpr const char* Names[] = {"STAEVNE.ZU2",  "KLASSE.ZU2", "AFVSTED.ZU2",  "OVELSERK.ZU2",
                                            "OVELSERN.ZU2", "KLUB.ZU2",   "DELTAGER.ZU2", "RESULTAT.ZU2"};
    QString dir_;
    std::array<quint8, 4096> record_{};
};

// ---------------------------------------------------------------- the timed work

std::unique_ptr<TMeet>& FullMeet() {
    static std::unique_ptr<TMeet> meet;
    return meet;
}
std::unique_ptr<TMeet>& SmallMeet() {
    static std::unique_ptr<TMeet> meet;
    return meet;
}
// The benchmark's round alone, ten times the size.
std::unique_ptr<TMeet>& BigMeet() {
    static std::unique_ptr<TMeet> meet;
    return meet;
}
// The benchmark's round alone, a hundred times the size.
std::unique_ptr<TMeet>& HugeMeet() {
    static std::unique_ptr<TMeet> meet;
    return meet;
}
// The whole meet ten times the size.
std::unique_ptr<TMeet>& TenfoldMeet() {
    static std::unique_ptr<TMeet> meet;
    return meet;
}

std::vector<quint32> PlainRound(TPlain& plain) {
    const std::vector<quint32> positions = plain.ReadRound(CurrentStID(), RundeKlasse, RundeOvelse);
    Check(positions.size() == PrRunde, "plain round");
    return positions;
}

// The name of the figure running.
std::string& CurrentFigure() {
    static std::string name;
    return name;
}

// The best time of each figure, in seconds, by its name.
std::map<std::string, double>& BestTimes() {
    static std::map<std::string, double> times;
    return times;
}

// The figure running, on the meet: each run of work gives the seconds of its part that counts.
template <typename Work>
void Figure(benchmark::State& state, TMeet& meet, Work work) {
    TMeet::Use use(meet);
    double& best = BestTimes()[CurrentFigure()];
    const double t = TimeGivenEach(state, work);
    best = best == 0 ? t : std::min(best, t);
}

// The benchmark's round, loaded into manager, which must then hold rows.
void LoadBenchRound(TResultatManager& manager, int rows) {
    manager.LoadOvelse(&TMeet::Round(RundeKlasse, RundeOvelse));
    Check(manager.Count() == rows, "round");
}

void LoadRound(benchmark::State& state, TMeet& meet) {
    Figure(state, meet, [&] {
        TResultatManager manager;
        const double t = Timed([&] { manager.LoadOvelse(&TMeet::Round(RundeKlasse, RundeOvelse)); });
        Check(manager.Count() == PrRunde, "round");
        return t;
    });
}

void PlainReadRound(benchmark::State& state, TMeet& meet) {
    Figure(state, meet, [&] {
        TPlain plain(meet.Dir());
        return Timed([&] { PlainRound(plain); });
    });
}

// The loaded round sorted by result, or by another of the manager's orders.
void SortRound(benchmark::State& state, TMeet& meet, int rows,
               void (TResultatManager::*sort)() = &TResultatManager::SortResultatHeat) {
    Figure(state, meet, [&] {
        TResultatManager manager;
        LoadBenchRound(manager, rows);
        return Timed([&] { (manager.*sort)(); });
    });
}

// Places (with the teams) and qualifiers of the loaded round.
void PlaceRound(benchmark::State& state, TMeet& meet, int rows) {
    Figure(state, meet, [&] {
        TResultatManager manager;
        LoadBenchRound(manager, rows);
        int coded = 0;
        const double t = Timed([&] {
            manager.CalcPlacering();
            coded = manager.CalcVidereKode(QChar(u'F'));
        });
        Check(coded >= 8 && manager.HoldResultater(), "qualifiers and teams");
        return t;
    });
}

// The teams of three of the round with every row in one club: the club's teams made one after another.
void TeamsOfOneClub(benchmark::State& state, TMeet& meet, int rows) {
    Figure(state, meet, [&] {
        TResultatManager manager;
        LoadBenchRound(manager, rows);
        for (TResultat* row : manager.GetResultater())
            row->Klub = QStringLiteral("Klub 1");
        const double t = Timed([&] { manager.CalcHoldResultater(); });
        Check(manager.HoldResultater() && manager.HoldResultater()->Count() == rows / 3, "teams");
        return t;
    });
}

// The meet's settings for the scope, then those it had.
class TSettings {
public:
    template <typename Change>
    explicit TSettings(Change change)
        : saved_(ModelContext().StaevneManager->SystemData()) {
        change(ModelContext().StaevneManager->SystemData());
    }
    ~TSettings() { ModelContext().StaevneManager->SystemData() = saved_; }
    TSettings(const TSettings&) = delete;
    TSettings& operator=(const TSettings&) = delete;

private:
    TSystemData saved_;
};

// The teams of three of the round, its clubs as they are.
void TeamsRound(benchmark::State& state, TMeet& meet, int rows) {
    Figure(state, meet, [&] {
        TResultatManager manager;
        LoadBenchRound(manager, rows);
        const double t = Timed([&] { manager.CalcHoldResultater(); });
        Check(manager.HoldResultater() && manager.HoldResultater()->Count() > 0, "teams");
        return t;
    });
}

// Heats for seeding, the same number in both rounds (a round holds at most 255): of 100 rows in the round,
// of 1,000 in the round ten times its size.
constexpr int SeedHeats = 10;

// Heats by drawn groups and fanned lanes; with spread, the clubs spread over the heats in ten draws.
void SeedRound(benchmark::State& state, TMeet& meet, int rows, bool spread) {
    Figure(state, meet, [&] {
        const TSettings settings([spread](TSystemData& data) { data.Redid = spread; });
        TResultatManager manager;
        LoadBenchRound(manager, rows);
        const double t = Timed([&] { manager.SeedOvelse(rows / SeedHeats, 3, 3, 2, spread ? 10 : 1, 1); });
        Check(manager.GetHeatCount() == SeedHeats, "heats");
        return t;
    });
}

// Heats of eight as the editor seeds them by default, the clubs spread over the heats in as many draws as
// the seeding dialog offers (a club crowds a heat in every one of them), beside one draw.
constexpr int DefaultAttempts = 30000;
constexpr int HeatSize = 8;

void SpreadRound(benchmark::State& state, TMeet& meet, qint32 method, int attempts) {
    Figure(state, meet, [&] {
        const TSettings settings([](TSystemData& data) { data.Redid = true; });
        TResultatManager manager;
        LoadBenchRound(manager, PrRunde);
        QString message;
        const double t = Timed([&] { message = manager.SeedOvelse(HeatSize, method, 3, 2, attempts, 1); });
        Check(manager.GetHeatCount() == PrRunde / HeatSize && (attempts == 1 || !message.isEmpty()),
              "spread");
        return t;
    });
}

// Team-league points with half points, then points by place with two scorers per team.
void PointRound(benchmark::State& state, TMeet& meet, int rows) {
    Figure(state, meet, [&] {
        TResultatManager manager;
        LoadBenchRound(manager, rows);
        double t = 0;
        {
            const TSettings settings([](TSystemData& data) {
                data.DT = true;
                data.AntalDTHold = 26;
                data.DTOvelserHalvePoints = QStringList{RundeOvelse};
            });
            t += Timed([&] { manager.CalcPoint(); });
            Check(manager.HasPoint(), "team-league points");
        }
        const TSettings settings([](TSystemData& data) {
            data.PointBeregning = qint32(PointBeregning::Placering1);
            data.PlaceringsPoint1 = QStringLiteral("10,8,6,5,4,3,2,1,*");
            data.EgenTurnering = true;
            data.AntalTaellendeDeltagere = 2;
        });
        TResultatManager byPlace;
        byPlace.LoadOvelse(&TMeet::Round(RundeKlasse, RundeOvelse));
        t += Timed([&] { byPlace.CalcPoint(); });
        Check(byPlace.HasPoint(), "points by place");
        return t;
    });
}

void SaveRound(benchmark::State& state) {
    Figure(state, *FullMeet(), [] {
        TResultatManager manager;
        manager.LoadOvelse(&TMeet::Round(RundeKlasse, RundeOvelse));
        for (int i = 0; i < manager.Count(); ++i)
            manager.GetResultat(i)->SetPK(manager.GetResultat(i)->PK ^ 1);
        return Timed([&] { manager.SaveResultater(); });
    });
}

void PlainUpdateRound(benchmark::State& state) {
    Figure(state, *FullMeet(), [] {
        TPlain plain(FullMeet()->Dir());
        const std::vector<quint32> positions = PlainRound(plain);
        return Timed([&] { plain.UpdateRecords(positions); });
    });
}

void LoadMeet(benchmark::State& state) {
    Figure(state, *FullMeet(), [] {
        TResultatManager manager;
        int rows = 0;
        const double t = Timed([&] {
            for (TOvelseInfo* round : TMeet::Rounds()) {
                manager.LoadOvelse(round);
                rows += manager.Count();
            }
        });
        Check(rows == PrRunde * 20, "meet");
        return t;
    });
}

void PlainReadMeet(benchmark::State& state) {
    Figure(state, *FullMeet(), [] {
        TPlain plain(FullMeet()->Dir());
        std::size_t rows = 0;
        const double t = Timed([&] {
            for (TOvelseInfo* round : TMeet::Rounds())
                rows += plain.ReadRound(CurrentStID(), round->GetKlasseKode(), round->GetOvelseKode()).size();
        });
        Check(rows == PrRunde * 20, "plain meet");
        return t;
    });
}

void CreateManager(benchmark::State& state) {
    Figure(state, *FullMeet(), [] { return Timed([] { TResultatManager manager; }); });
}

// The meet manager's XML document of the whole meet, built and saved.
void MeetXml(benchmark::State& state, TMeet& meet) {
    Figure(state, meet, [&] {
        const double t = Timed([&] { ModelContext().StaevneManager->SaveStaevneXml(); });
        Check(QFile(meet.Dir() + QStringLiteral("zuno-staevne.xml")).size() > 100L * meet.Results(),
              "document");
        return t;
    });
}

void PlainReadMeetRecords(benchmark::State& state, TMeet& meet) {
    Figure(state, meet, [&] {
        TPlainMeet plain(meet.Dir());
        std::size_t records = 0;
        const double t = Timed([&] { records = plain.Read(); });
        Check(records > std::size_t(meet.Results() + meet.Participants()), "plain meet records");
        return t;
    });
}

// The ratios of the best times, each figure beside its baseline.
void PrintRatios() {
    std::printf("\n%-34s %10s   %-36s %10s %7s\n", "work", "ms", "baseline", "ms", "ratio");
    const std::pair<const char*, const char*> pairs[] = {
        {"load round", "plain read round"},
        {"load round (meet of one round)", "plain read round (meet of one round)"},
        {"load round", "load round (meet of one round)"},
        {"sort round", "plain read round"},
        {"place and qualify round", "sort round"},
        {"place and qualify round x10", "sort round x10"},
        {"place and qualify round x10", "place and qualify round"},
        {"sort round x10", "sort round"},
        {"sort round by name", "sort round"},
        {"sort round by name x10", "sort round by name"},
        {"teams of one club", "sort round"},
        {"teams of one club x10", "teams of one club"},
        {"seed round", "sort round"},
        {"seed round x10", "seed round"},
        {"seed round, clubs spread", "seed round"},
        {"seed round x10, clubs spread", "seed round, clubs spread"},
        {"seed round, 30,000 attempts", "seed round, one draw"},
        {"seed round drawn, 30,000 attempts", "seed round drawn, one draw"},
        {"points round", "place and qualify round"},
        {"points round x10", "points round"},
        {"sort round x100", "sort round x10"},
        {"sort round by name x100", "sort round by name x10"},
        {"place and qualify round x100", "place and qualify round x10"},
        {"teams round x10", "teams round"},
        {"teams round x100", "teams round x10"},
        {"seed round x100", "seed round x10"},
        {"points round x100", "points round x10"},
        {"save round", "plain read round"},
        {"save round", "plain update round"},
        {"load meet round by round", "plain read meet"},
        {"create manager", "plain read meet"},
        {"meet as XML", "plain read meet records"},
        {"meet as XML x10", "plain read meet records x10"},
        {"meet as XML x10", "meet as XML"},
        {"plain read meet records x10", "plain read meet records"},
    };
    for (const auto& [work, baseline] : pairs) {
        const double a = BestTimes()[work] * 1000;
        const double b = BestTimes()[baseline] * 1000;
        std::printf("%-34s %10.2f   %-36s %10.2f %7.2f\n", work, a, baseline, b, a / b);
    }
}

} // namespace

int main(int argc, char** argv) {
    const TBenchRunHome home;
    QCoreApplication application(argc, argv);
    FullMeet() = std::make_unique<TMeet>(true);
    SmallMeet() = std::make_unique<TMeet>(false);
    BigMeet() = std::make_unique<TMeet>(false, 10 * PrRunde);
    HugeMeet() = std::make_unique<TMeet>(false, 100 * PrRunde);
    TenfoldMeet() = std::make_unique<TMeet>(true, PrRunde, 10);

    const std::pair<const char*, std::function<void(benchmark::State&)>> figures[] = {
        {"load round", [](benchmark::State& s) { LoadRound(s, *FullMeet()); }},
        {"plain read round", [](benchmark::State& s) { PlainReadRound(s, *FullMeet()); }},
        {"load round (meet of one round)", [](benchmark::State& s) { LoadRound(s, *SmallMeet()); }},
        {"plain read round (meet of one round)",
         [](benchmark::State& s) { PlainReadRound(s, *SmallMeet()); }},
        {"sort round", [](benchmark::State& s) { SortRound(s, *FullMeet(), PrRunde); }},
        {"place and qualify round", [](benchmark::State& s) { PlaceRound(s, *FullMeet(), PrRunde); }},
        {"sort round x10", [](benchmark::State& s) { SortRound(s, *BigMeet(), 10 * PrRunde); }},
        {"place and qualify round x10", [](benchmark::State& s) { PlaceRound(s, *BigMeet(), 10 * PrRunde); }},
        {"sort round by name",
         [](benchmark::State& s) { SortRound(s, *FullMeet(), PrRunde, &TResultatManager::SortNavn); }},
        {"sort round by name x10",
         [](benchmark::State& s) { SortRound(s, *BigMeet(), 10 * PrRunde, &TResultatManager::SortNavn); }},
        {"teams of one club", [](benchmark::State& s) { TeamsOfOneClub(s, *FullMeet(), PrRunde); }},
        {"teams of one club x10", [](benchmark::State& s) { TeamsOfOneClub(s, *BigMeet(), 10 * PrRunde); }},
        {"seed round", [](benchmark::State& s) { SeedRound(s, *FullMeet(), PrRunde, false); }},
        {"seed round x10", [](benchmark::State& s) { SeedRound(s, *BigMeet(), 10 * PrRunde, false); }},
        {"seed round, clubs spread", [](benchmark::State& s) { SeedRound(s, *FullMeet(), PrRunde, true); }},
        {"seed round x10, clubs spread",
         [](benchmark::State& s) { SeedRound(s, *BigMeet(), 10 * PrRunde, true); }},
        {"seed round, one draw", [](benchmark::State& s) { SpreadRound(s, *FullMeet(), 3, 1); }},
        {"seed round, 30,000 attempts",
         [](benchmark::State& s) { SpreadRound(s, *FullMeet(), 3, DefaultAttempts); }},
        {"seed round drawn, one draw", [](benchmark::State& s) { SpreadRound(s, *FullMeet(), 4, 1); }},
        {"seed round drawn, 30,000 attempts",
         [](benchmark::State& s) { SpreadRound(s, *FullMeet(), 4, DefaultAttempts); }},
        {"points round", [](benchmark::State& s) { PointRound(s, *FullMeet(), PrRunde); }},
        {"points round x10", [](benchmark::State& s) { PointRound(s, *BigMeet(), 10 * PrRunde); }},
        {"sort round x100", [](benchmark::State& s) { SortRound(s, *HugeMeet(), 100 * PrRunde); }},
        {"sort round by name x100",
         [](benchmark::State& s) { SortRound(s, *HugeMeet(), 100 * PrRunde, &TResultatManager::SortNavn); }},
        {"place and qualify round x100",
         [](benchmark::State& s) { PlaceRound(s, *HugeMeet(), 100 * PrRunde); }},
        {"teams round", [](benchmark::State& s) { TeamsRound(s, *FullMeet(), PrRunde); }},
        {"teams round x10", [](benchmark::State& s) { TeamsRound(s, *BigMeet(), 10 * PrRunde); }},
        {"teams round x100", [](benchmark::State& s) { TeamsRound(s, *HugeMeet(), 100 * PrRunde); }},
        {"seed round x100", [](benchmark::State& s) { SeedRound(s, *HugeMeet(), 100 * PrRunde, false); }},
        {"points round x100", [](benchmark::State& s) { PointRound(s, *HugeMeet(), 100 * PrRunde); }},
        {"save round", SaveRound},
        {"plain update round", PlainUpdateRound},
        {"load meet round by round", LoadMeet},
        {"plain read meet", PlainReadMeet},
        {"create manager", CreateManager},
        {"meet as XML", [](benchmark::State& s) { MeetXml(s, *FullMeet()); }},
        {"plain read meet records", [](benchmark::State& s) { PlainReadMeetRecords(s, *FullMeet()); }},
        {"meet as XML x10", [](benchmark::State& s) { MeetXml(s, *TenfoldMeet()); }},
        {"plain read meet records x10", [](benchmark::State& s) { PlainReadMeetRecords(s, *TenfoldMeet()); }},
    };
    // Five rounds of all figures, each run once a round, so that a figure and its baseline meet the same
    // load on the machine; the best of the five counts.
    for (int round = 0; round < 5; ++round) {
        for (const auto& [name, work] : figures) {
            RegisterOnce(name, [figure = std::string(name), work = work](benchmark::State& state) {
                CurrentFigure() = figure;
                work(state);
            });
        }
    }

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    PrintRatios();
    benchmark::Shutdown();
    TenfoldMeet().reset();
    HugeMeet().reset();
    BigMeet().reset();
    SmallMeet().reset();
    FullMeet().reset();
    return 0;
}
