#include "model/D_EditTabel.h"

#include <array>

namespace {

// The list's entries and their files, in the list's (alphabetical) order.
struct TEditTabel {
    const char* Navn;
    TRecordFileNo File;
};
constexpr std::array<TEditTabel, 14> EditTabeller = {{
    {"AFVSTED", TRecordFileNo::AfvSted},
    {"BETALING", TRecordFileNo::Betaling},
    {"DELTAGER", TRecordFileNo::Deltager},
    {"GRUPPE", TRecordFileNo::Gruppe},
    {"KLASSE", TRecordFileNo::Klasse},
    {"KLUB", TRecordFileNo::Klub},
    {"KLUBKOB", TRecordFileNo::Klubkob},
    {"OVDEF", TRecordFileNo::OvDef},
    {"OVELSE", TRecordFileNo::Ovelse},
    {"OVELSERK", TRecordFileNo::OvelseRk},
    {"OVELSERN", TRecordFileNo::OvelseRn},
    {"RESULTAT", TRecordFileNo::Resultat},
    {"STAEVNE", TRecordFileNo::Staevne},
    {"VARE", TRecordFileNo::Vare},
}};

// The table's time-stamp settings for one write, put back afterwards.
class TStampScope {
public:
    TStampScope(TDataTable& table, bool create, bool modified)
        : table_(table)
        , create_(table.UpdateCreateTimeStamp)
        , modified_(table.UpdateModifiedTimeStamp) {
        table.UpdateCreateTimeStamp = create;
        table.UpdateModifiedTimeStamp = modified;
    }
    ~TStampScope() {
        table_.UpdateCreateTimeStamp = create_;
        table_.UpdateModifiedTimeStamp = modified_;
    }
    TStampScope(const TStampScope&) = delete;
    TStampScope& operator=(const TStampScope&) = delete;

private:
    TDataTable& table_;
    bool create_;
    bool modified_;
};

} // namespace

const QStringList& EditTabelNavne() {
    static const QStringList navne = [] {
        QStringList list;
        for (const TEditTabel& tabel : EditTabeller)
            list << QString::fromLatin1(tabel.Navn);
        return list;
    }();
    return navne;
}

std::unique_ptr<TZunoDataTable> MakeEditTabel(int index) {
    if (index < 0 || index >= static_cast<int>(EditTabeller.size()))
        return nullptr;
    return std::make_unique<TZunoDataTable>(
        RecordFileDef(EditTabeller[static_cast<std::size_t>(index)].File));
}

void ForEachEditRecord(TZunoDataTable& table, const std::function<void()>& onRecord) {
    const bool keyed = table.GetIndexCount() > 0;
    if (keyed) {
        table.SetIndexNumber(0);
        table.GetFirst();
    } else {
        table.StepFirst();
    }
    while (!table.GetEof()) {
        onRecord();
        if (keyed)
            table.GetNext();
        else
            table.StepNext();
    }
}

quint32 WriteEditRecord(TZunoDataTable& table, quint32 position, const std::map<int, QString>& changed) {
    const bool isNew = position == 0;
    const TStampScope stamps(table, isNew && !changed.contains(table.CreateTimeStampFieldNo),
                             isNew && !changed.contains(table.ModifiedTimeStampFieldNo));
    if (isNew) {
        table.Insert();
    } else {
        table.GotoPosition(position);
        table.Edit();
    }
    try {
        for (const auto& [fieldNo, text] : changed)
            table.GetField(fieldNo)->SetAsString(text);
        table.Post();
    } catch (...) {
        table.Cancel();
        throw;
    }
    return isNew ? table.GetPosition() : position;
}

void DeleteEditRecord(TZunoDataTable& table, quint32 position) {
    table.GotoPosition(position);
    table.Delete();
}

bool IsEditNumberField(const TZunoDataTable& table, int fieldNo) {
    if (fieldNo < 0 || fieldNo >= table.GetFieldDefs().GetCount() ||
        table.GetFieldDefs().GetItem(fieldNo).FieldType != TFieldType::Integer)
        return false;
    // The code fields show words and wind, not their stored numbers.
    const TField* field = table.GetField(fieldNo);
    return dynamic_cast<const TBooleanField*>(field) == nullptr &&
           dynamic_cast<const TVindField*>(field) == nullptr;
}
