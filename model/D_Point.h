#pragma once
// Club points per round, merged and ranked into standings.
#include <QString>

#include <memory>
#include <vector>

// Standings: competitors (clubs, teams or athletes) that collect points by their places in rounds.

struct TPointReg {
    double Points = 0;
    qint32 Placering = 0;
};

// One competitor and its registrations.
class TPoint {
public:
    TPoint(QString key, QString name, QString extraText);

    const QString& Key() const { return key_; }
    const QString& Name() const { return name_; }
    const QString& ExtraText() const { return extraText_; }

    int Count() const { return static_cast<int>(regs_.size()); }
    const TPointReg& GetReg(int index) const { return regs_.at(index); }
    void AddReg(qint32 placering, double points);

    double GetTotalPoint() const;
    QString GetTotalPointText() const;
    // Registrations with place 1 to 8; 0 for any other place.
    int CountPlacering(qint32 placering) const;

private:
    QString key_;
    QString name_;
    QString extraText_;
    std::vector<TPointReg> regs_;
};

class TPoints {
public:
    TPoints() = default;
    TPoints(const TPoints&) = delete;
    TPoints& operator=(const TPoints&) = delete;

    // Frees every competitor and resets the group's counts and class code.
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    // Null out of range.
    TPoint* GetItem(int index) const;
    // Position of the competitor with exactly this key, -1 when none.
    int IndexOf(const QString& key) const;

    // Registers a place and its points for the competitor with this key, creating it when new; an
    // existing competitor keeps its name and extra text.
    void Add(const QString& key, const QString& name, const QString& extraText, qint32 placering,
             double points);
    // Adds every registration of other under its competitor's key, name and extra text.
    void Merge(const TPoints& other);
    // Best first: by total (to thousandths), then by the number of first places, then of second places,
    // and so on to eighth places. Competitors equal on all of these keep their order.
    void Sort();

    // Set by the club standings of a group of events: rounds that gave points, rounds in the group and
    // the class code of the group's first round.
    qint32 AntalMedPoint = 0;
    qint32 AntalIGruppe = 0;
    QString Klasse;

private:
    std::vector<std::unique_ptr<TPoint>> items_;
};
