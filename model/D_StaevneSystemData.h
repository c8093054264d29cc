#pragma once
// A meet's system-data block: every setting, in its stored order.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The visitor of a variant made of one lambda per alternative.
template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// One meet's settings as they travel in the variable part of its meet record: a 32-bit length, then the
// block of 90 positional fields behind its count. Spare fields are written as zeros and dropped on
// reading, so nothing holds them; carried fields are kept as read and written back unchanged.
class TSystemData {
public:
    static constexpr int SystemDataFieldCount = 90;
    static QString DefaultReportFilename();
    static QString DefaultGridColumns();

    // The defaults of SetSystemDataDefaults.
    TSystemData() = default;

    // All settings to their defaults, both lists emptied, the grid columns to the default layout. Also
    // forgets a block of a newer version read before.
    void SetSystemDataDefaults();

    // Bytes of the block alone: the count and the 90 fields, without the length in front.
    qint32 GetSystemDataSize() const;
    // The block of GetSystemDataSize bytes. A block read from a newer version is refused (Exception),
    // since writing these settings would lose what that version stored: see IsNewerBlock.
    QByteArray GetSystemDataBlock() const;
    // The whole variable part: the block's 32-bit length, then the block.
    QByteArray GetVariablePart() const;

    // Reads the variable part of a meet record, as many bytes of it as could be read. Nothing there, or a
    // length below 1, keeps the defaults. A part shorter than its length, or a block of a newer version,
    // keeps the defaults and shows an error. A block that ends inside its fields resets to the defaults
    // and returns false, showing nothing: the caller tells the user. Never raises. Whenever the settings
    // end at their defaults, the report file name and the counts are made usable as after a good read.
    bool LoadVariablePart(const QByteArray& variablePart);

    // The last read met a block with more fields than this version knows. Its settings are the
    // defaults; the meet's own bytes are kept in NewerVariablePart and must not be replaced by these.
    bool IsNewerBlock() const { return newerBlock_; }
    // The variable part of that block exactly as read (length and block), to be written back unchanged.
    const QByteArray& NewerVariablePart() const { return newerVariablePart_; }

    QString Overskrift1;
    QString Overskrift2;
    QString Overskrift3;
    QString Arrangor;
    QString KlublisteBundtekst1;
    QString KlublisteBundtekst2;
    bool BrugPersonligRekord = false;
    bool DT = false;
    bool FlereRunder = false;
    bool Indendors = false;
    // Days since 1899-12-30, the start time of day as the fraction.
    double Dato = 0;
    // The event grid's column layout in its text form.
    QString OvelseGridColumns = DefaultGridColumns();
    bool VT = false;
    bool UndladSerier = false;
    bool EgenTurnering = false;
    qint32 AntalDTHold = 6;
    bool LTU = false;
    qint32 PointBeregning = 0;
    bool UndladKontrol = false;
    quint8 Carried28 = 0;
    qint32 AntalDeltagerePrOvelse = 0;
    qint32 MaxAntalOvelserPrDeltager = 0;
    double DiplomIndent = 0;
    double DiplomNed1 = 0;
    quint8 Carried35 = 0;
    qint32 DiplomLayout = 0;
    quint8 Carried38 = 0;
    QString TabelOpslagPath;
    quint8 Carried41 = 0;
    bool Motionsloeb = false;
    bool TidsskemaUofficielt = false;
    QString Startnumre;
    quint8 Carried48 = 0;
    bool Engelsk = false;
    bool Redid = false;
    bool Oversattelse = false;
    // TextArrangor, TextStartliste, ... TextProgram, taken by position.
    QStringList OversattelsesTekster;
    bool AltidFinale = false;
    bool UdeladRettelserFoerSeedning = false;
    quint8 Carried55 = 0;
    quint8 Carried56 = 0;
    bool ECup2007 = false;
    QString ReportFilename;
    bool IndtastSeedning = false;
    bool IndtastPR = false;
    QString Carried63;
    QStringList DTOvelserHalvePoints;
    quint8 Carried66 = 0;
    QString Stadion;
    bool AutoTildelStartnumre = false;
    QString StafetStartnumre;
    bool DoTrace = false;
    qint32 AntalTaellendeDeltagere = 0;
    bool Gribben = false;
    QString Carried73;
    QString PlaceringsPoint1;
    QString MangekampOverskrift;
    bool UdskrivPR = false;
    bool OnlyHtmlBody = false;
    QString PlaceringsPoint2;
    QString PlaceringsPoint3;
    QString RekordFilenames;
    bool UndladTotalStilling = false;
    bool UndladKategoriStilling = false;
    bool D3TMangekamp = false;
    QString PlaceringsPoint4;
    qint32 AntalPointDec = 0;
    QString CsvLoadFilePath;
    bool UndladInternationaltNavn = false;
    bool OstHoldTurnering = false;
    QString ScoreboardFilePath;
    bool SeedningLigPR = false;

private:
    void ReadBlock(const QByteArray& block);
    void ApplyReadFixes();

    bool newerBlock_ = false;
    QByteArray newerVariablePart_;
};

// The settings of the current meet, for routines that have no meet manager at hand: those the model's
// context points to, else the defaults.
const TSystemData& CurrentSystemData();
