#include "model/D_StaevneDefRaekke.h"

#include "model/D_StdKlasser.h"

TDateTime RundeDatoTid(const QDate& dato, const QTime& tid, const QTime& start) {
    return QDateToDateTime(dato) + (QTimeToDateTime(tid) - QTimeToDateTime(start));
}

TDateTime VistRundeTid(TDateTime datoTid, const QTime& start) {
    return datoTid == EmptyDateTime ? EmptyDateTime : datoTid + QTimeToDateTime(start);
}

QString RundeSted(const TEditOvelseData& row) {
    return IsTidOvtype(row.Ovtype) ? QStringLiteral("LØB") : row.Ovelse;
}

void SetRundeSlots(TEditOvelseData& row, TDateTime datoTid) {
    for (TEditRundeData& slot : row.Runde) {
        if (slot.DatoTid == EmptyDateTime)
            slot.DatoTid = datoTid;
        slot.Sted = RundeSted(row);
    }
}

std::unique_ptr<TEditOvelseData> NyOvelseData(int klasseNr, const TOvelseElement& ovelse,
                                              const TOvDefElement* ovDef) {
    auto row = std::make_unique<TEditOvelseData>();
    row->KlasseNr = klasseNr;
    row->Klasse = GetStdKlasseKode(klasseNr);
    row->Ovelse = ovelse.GetTrimmedString(OvelseField::Ovelse);
    if (ovDef != nullptr) {
        row->Attribut = ovDef->GetTrimmedString(OvDefField::Attribut);
        row->AttributTekst = ovDef->GetTrimmedString(OvDefField::Tekst);
    }
    row->Ovtype = ovelse.GetOvtype();
    row->OvelseNr = ovelse.GetField(OvelseField::Sortkode)->GetAsInteger();
    row->Runder = QStringLiteral("F");
    return row;
}
