#pragma once
// The goods manager: the current meet's goods groups and goods, which clubs buy (KLUBKOB.ZU2).
#include "foundation/CodeText.h"
#include "model/D_DBDef.h"

#include <QString>

#include <memory>

enum class TVareManagerErrorNo : quint16 { GruppeUndefined = 1, VareUndefined = 2 };

// "Object: TVareManager", a line break, and the text of the number with the group or goods number.
class EVareManagerError : public ECodedError<TVareManagerErrorNo> {
public:
    EVareManagerError(TVareManagerErrorNo errorNo, const QString& nummer);
};

// Groups and goods are found by their number given as text, compared trimmed with the field's text; an
// element marked for deletion is no longer found. The element found becomes its list's current one.
class TVareManager {
public:
    // Opens GRUPPE.ZU2 and VARE.ZU2 in ProgramDir and loads the current meet's groups and goods.
    TVareManager();
    ~TVareManager();
    TVareManager(const TVareManager&) = delete;
    TVareManager& operator=(const TVareManager&) = delete;

    void Load();
    // Stores both lists, the goods first. False when a record could not be written (the user has been
    // told; the change stays pending).
    bool Save();
    bool IsChanged() const;

    // pos gets the position in the list's order, -1 when not found.
    bool FindGruppe(const QString& gruppe, int& pos);
    bool FindVare(const QString& varenummer, int& pos);
    // A new element with the number, stored by Save; null when one has it already.
    TGruppeElement* AddGruppe(const QString& gruppe);
    TVareElement* AddVare(const QString& varenummer);
    TGruppeElement* CurrentGruppe() const;
    TVareElement* CurrentVare() const;
    // Makes the element current; raises error 1 or 2 when there is none.
    TGruppeElement& SelectGruppe(const QString& gruppe);
    TVareElement& SelectVare(const QString& varenummer);

    // Whether a goods item of the meet has the group, as it will be after Save: the loaded goods not
    // marked for deletion, and goods stored since the list was loaded.
    bool IsGruppeUsed(qint32 gruppe);
    // Whether a stored purchase of the meet has the goods number.
    bool IsVareUsed(qint32 varenummer);
    // Mark the element for deletion (stored by Save) unless it is in use; then the refusal is shown and
    // the result is false.
    bool DeleteGruppe(TGruppeElement& gruppe);
    bool DeleteVare(TVareElement& vare);

    TGruppeList& GruppeList() { return gruppeList_; }
    TVareList& VareList() { return vareList_; }

private:
    TGruppeTable gruppeTable_;
    TGruppeList gruppeList_{gruppeTable_};
    TVareTable vareTable_;
    TVareList vareList_{vareTable_};
    // Opened on the first IsVareUsed.
    std::unique_ptr<TKlubkobTable> klubkobTable_;
};
