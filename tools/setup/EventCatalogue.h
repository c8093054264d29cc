#pragma once
// The event catalogue source read into catalogue records.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// One row of the event catalogue source: one event in one language, the fields of an OVELSE.ZU2 record.
struct OvelseRow {
    int Linje = 0; // line in the source file, for messages
    int16_t Sortkode = 0;
    QString Ovelse;
    QString Korttekst;
    QString Langtekst;
    int16_t Ovtype = 0;
    int16_t EltidKorr = 0;
    int16_t Vindmaaling = 0;
    int16_t Restype = 0;
    int16_t System = 0;
    uint8_t Sprog = 0;
    uint8_t StartBlok = 0;
};

// One attribute definition of an event in one language, the fields of an OVDEF.ZU2 record.
struct OvDefRow {
    int Linje = 0;
    int16_t Sortkode = 0;
    QString Ovelse;
    QString Attribut;
    QString Tekst;
    int16_t System = 0;
    uint8_t Sprog = 0;
};

// The shipped event catalogue: two ";"-separated UTF-8 files with a header line naming the record fields.
// Every text must fit its record field in Windows-1252 bytes; a bad file is refused whole with a
// Danish message naming the file and the line.
class EventCatalogue {
public:
    static constexpr const char* OvelserFileName = "ovelser.csv";
    static constexpr const char* OvDefFileName = "ovdef.csv";

    // Reads both files from a folder; every attribute must belong to an event of the same language.
    static EventCatalogue Load(const QString& dataDir);

    static std::vector<OvelseRow> ReadOvelser(const QString& path);
    static std::vector<OvDefRow> ReadOvDef(const QString& path);
    static std::vector<OvelseRow> ParseOvelser(const QByteArray& content, const QString& fileName);
    static std::vector<OvDefRow> ParseOvDef(const QByteArray& content, const QString& fileName);

    const std::vector<OvelseRow>& Ovelser() const { return ovelser_; }
    const std::vector<OvDefRow>& OvDef() const { return ovdef_; }

private:
    std::vector<OvelseRow> ovelser_;
    std::vector<OvDefRow> ovdef_;
};
