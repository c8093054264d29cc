#pragma once
// The meet's own tables as the settings window edits them, one grid each: classes, venues, goods groups
// and goods. The window shows a table's records row by row and hands the texts typed back; the rules of
// what may be typed, added, deleted and how rows are numbered live here.
#include "model/D_DBDef.h"

#include <QString>

#include <memory>
#include <vector>

class TOvelseManager;
class TVareManager;

class TStaevneDataTabel {
public:
    enum class TKolonneArt {
        Nummer, // the row's number; the sort code where the table has one
        Kode,   // the record's own code: given once, never changed
        Tekst,  // a text field
        Gruppe, // a goods group that must exist
        Pris,   // an amount
    };
    struct TKolonne {
        QString Overskrift;
        TKolonneArt Art;
        int FieldNo; // -1: shown only
        int Bredde;
        int MaxLength; // 0: no limit
    };

    virtual ~TStaevneDataTabel();

    const std::vector<TKolonne>& Kolonner() const { return kolonner_; }
    int KodeKolonne() const;
    // Whether the "#" column holds the records' sort code, which follows the rows' order.
    bool HarSortkode() const { return sortkode_ >= 0; }

    // The records to show, in the list's order, without those marked for deletion.
    std::vector<TDataElement*> Records();
    // A cell's text for a record in the row (1 the first).
    QString CellText(const TDataElement& record, int kolonne, int row) const;
    // Raises the reason when the text cannot go into the column.
    void CheckCell(int kolonne, const QString& text);
    // Writes the checked text into the record; the code column and shown-only columns are left alone.
    void SetCell(TDataElement& record, int kolonne, const QString& text);
    // A new record for a new row's texts, each checked first: the code (trimmed) must be given and not be
    // in use, else its message is raised and nothing is added.
    TDataElement& Add(const QStringList& cells);
    // Marks the record for deletion; raises the refusal when it is in use.
    void Delete(TDataElement& record);
    // The sort codes of the records in their rows' order: 1, 2, ...; nothing in a table without.
    void Nummerer(const std::vector<TDataElement*>& rows);

protected:
    // mangler: the message of a new row without a code; findes: of a code in use.
    TStaevneDataTabel(TDataList& list, std::vector<TKolonne> kolonner, QString mangler, QString findes);

    // A new record with the code, or null when the owner refuses it.
    virtual TDataElement* NewRecord(const QString& kode) = 0;
    // The refusal when the record is in use; empty when it may go.
    virtual QString InUse(const TDataElement& record) = 0;
    // A goods group exists.
    virtual bool GruppeFindes(const QString& gruppe);

private:
    TDataList& list_;
    std::vector<TKolonne> kolonner_;
    int sortkode_ = -1;
    QString mangler_;
    QString findes_;
};

std::unique_ptr<TStaevneDataTabel> KlasseTabel(TOvelseManager& ovelser);
std::unique_ptr<TStaevneDataTabel> AfvStedTabel(TOvelseManager& ovelser);
std::unique_ptr<TStaevneDataTabel> GruppeTabel(TVareManager& varer);
std::unique_ptr<TStaevneDataTabel> VareTabel(TVareManager& varer);

// Raises when a text holds a character the stored texts (Windows-1252) cannot hold, or is longer than
// maxLength characters (0: any length); hvad names it in the message.
void CheckTekst(const QString& text, int maxLength, const QString& hvad);
