#pragma once
// The event-overlap model of one class for the event editor's overview: the class's rounds, each with
// the participants entered in it, and for a chosen round how many of its participants each of the other
// rounds also holds.
#include <QString>

#include <memory>
#include <unordered_map>
#include <vector>

class TOvelseInfo;
class TResultatManager;

struct TGridDeltager {
    qint32 Startnummer = 0;
    quint16 Aargang = 0;
    QString Navn;
    QString Klub;
};

// One round and its participants: those who started or may still start.
class TGridOvelse {
public:
    explicit TGridOvelse(TOvelseInfo* ovelseInfo);
    TGridOvelse(const TGridOvelse&) = delete;
    TGridOvelse& operator=(const TGridOvelse&) = delete;

    int Count() const { return static_cast<int>(deltagere_.size()); }
    // Null outside the participants.
    const TGridDeltager* GetDeltager(int index) const;
    // Loads the round into the manager and takes its participants; withdrawn, absent and waiting entries
    // are none.
    void LoadDeltagere(TResultatManager& manager);
    // Adds the number of participants with the start number to Overlap.
    void CountStartnummer(qint32 startnummer);

    // The round; its identity is the key.
    TOvelseInfo* const OvelseInfo;
    int Overlap = 0;
    // Class text, " - ", event text.
    const QString Titel;

private:
    std::vector<TGridDeltager> deltagere_;
    // Participants by start number.
    std::unordered_map<qint32, int> antal_;
};

class TGridKlasse {
public:
    explicit TGridKlasse(const QString& klasseNavn);
    TGridKlasse(const TGridKlasse&) = delete;
    TGridKlasse& operator=(const TGridKlasse&) = delete;

    int Count() const { return static_cast<int>(ovelser_.size()); }
    // Null outside the rounds.
    TGridOvelse* GetOvelse(int index) const;
    // Appends the round with its participants, read through the manager.
    TGridOvelse& AddOvelse(TOvelseInfo* ovelseInfo, TResultatManager& manager);
    // Every round's Overlap becomes the number of the chosen round's participants also entered in it (the
    // chosen round's own 0); a round not in the class only resets them.
    void CalcOverlap(const TOvelseInfo* ovelseInfo);
    // The Overlap of the round; 0 when it is not in the class.
    int GetOverlap(const TOvelseInfo* ovelseInfo) const;

    const QString KlasseNavn;

private:
    TGridOvelse* Find(const TOvelseInfo* ovelseInfo) const;

    std::vector<std::unique_ptr<TGridOvelse>> ovelser_;
};
