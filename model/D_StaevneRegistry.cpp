#include "model/D_Staevne.h"

#include "platform/Printer.h"
#include "platform/Registry.h"

#include <variant>

namespace {

using R = TStaevneRegistry;
using TValue = std::variant<bool R::*, qint32 R::*, QString R::*>;

struct TRegistryValue {
    const char* Name;
    TValue Member;
};

// The values each meet keeps under its own key.
const TRegistryValue MeetValues[] = {
    {"OversigtKlasse", &R::OversigtKlasse},
    {"VisUgedag", &R::VisUgedag},
    {"UdskrivTilSkaerm", &R::UdskrivTilSkaerm},
    {"UdskrivTilPrinter", &R::UdskrivTilPrinter},
    {"HtmlUdskrift", &R::HtmlUdskrift},
    {"HtmlNavnPrOvelse", &R::HtmlNavnPrOvelse},
    {"XmlUdskrift", &R::XmlUdskrift},
    {"SideskiftPrKlasse", &R::SideskiftPrKlasse},
    {"SideskiftPrTidspunkt", &R::SideskiftPrTidspunkt},
    {"SideskiftPrHeat", &R::SideskiftPrHeat},
    {"UdskrivTommeOvelser", &R::UdskrivTommeOvelser},
    {"InklusivKlubstilling", &R::InklusivKlubstilling},
    {"InklusivMangekampStilling", &R::InklusivMangekampStilling},
    {"InklusivHoldkonkurrence", &R::InklusivHoldkonkurrence},
    {"InklusivKlubkonkurrence", &R::InklusivKlubkonkurrence},
    {"TidsskemaSortering", &R::TidsskemaSortering},
    {"VisNulOvelser", &R::VisNulOvelser},
    {"AutoTidRegistrering", &R::AutoTidRegistrering},
    {"AutoPopup", &R::AutoPopup},
    {"EltidSystem", &R::EltidSystem},
    {"CameraNo", &R::CameraNo},
    {"EltidDirekte", &R::EltidDirekte},
    {"PrinterNavn", &R::PrinterNavn},
    {"DiplomPrinter", &R::DiplomPrinter},
    {"OversigtGridSortering", &R::OversigtGridSortering},
    {"PageTabPosition", &R::PageTabPosition},
};

QString BaseKey() {
    return Platform::TRegistry::ProgramKey(QStringLiteral(".cfg"));
}

// Empty for a name that cannot be a key of its own below the base key.
QString MeetKey(const QString& navn) {
    if (navn.isEmpty() || navn.contains(u'\\'))
        return {};
    return BaseKey() + u'\\' + navn;
}

} // namespace

void TStaevneManager::LoadRegistry() {
    LoadRegistryOf(RecordNavn());
}

void TStaevneManager::LoadRegistryOf(const QString& navn) {
    Platform::TRegistry registry;
    if (registry.OpenKey(BaseKey(), false)) {
        scoreboard_.ScoreboardServer =
            registry.ReadString(QStringLiteral("ScoreboardServer"), scoreboard_.ScoreboardServer);
        scoreboard_.ScoreboardServerPort =
            registry.ReadInteger(QStringLiteral("ScoreboardServerPort"), scoreboard_.ScoreboardServerPort);
        httpServerPort_ = registry.ReadInteger(QStringLiteral("HttpServerPort"), httpServerPort_);
        lastUsedName_ = registry.ReadString(QStringLiteral("LastUsedName"), lastUsedName_);
    }
    // A meet without a key of its own reads what the base key holds; every value defaults to what the
    // manager holds now.
    const QString meetKey = MeetKey(navn);
    if ((!meetKey.isEmpty() && registry.OpenKey(meetKey, false)) || registry.OpenKey(BaseKey(), false)) {
        for (const TRegistryValue& value : MeetValues) {
            const QString name = QLatin1String(value.Name);
            std::visit(Overloaded{
                           [&](bool R::*m) { registry_.*m = registry.ReadBool(name, registry_.*m); },
                           [&](qint32 R::*m) { registry_.*m = registry.ReadInteger(name, registry_.*m); },
                           [&](QString R::*m) { registry_.*m = registry.ReadString(name, registry_.*m); },
                       },
                       value.Member);
        }
    }
    SelectPrinter();
}

void TStaevneManager::SaveRegistry() {
    Platform::TRegistry registry;
    if (registry.OpenKey(BaseKey(), true)) {
        registry.WriteInteger(QStringLiteral("HttpServerPort"), httpServerPort_);
        if (lastUsedName_.isEmpty())
            registry.DeleteValue(QStringLiteral("LastUsedName"));
        else
            registry.WriteString(QStringLiteral("LastUsedName"), lastUsedName_);
    }
    if (currentIndex_ >= 0)
        WriteMeetRegistry(GetStaevneNavn(currentIndex_), registry_);
}

void TStaevneManager::WriteMeetRegistry(const QString& navn, const TStaevneRegistry& values) {
    Platform::TRegistry registry;
    const QString meetKey = MeetKey(navn);
    if (meetKey.isEmpty() || !registry.OpenKey(meetKey, true))
        return;
    for (const TRegistryValue& value : MeetValues) {
        const QString name = QLatin1String(value.Name);
        std::visit(Overloaded{
                       [&](bool R::*m) { registry.WriteBool(name, values.*m); },
                       [&](qint32 R::*m) { registry.WriteInteger(name, values.*m); },
                       [&](QString R::*m) { registry.WriteString(name, values.*m); },
                   },
                   value.Member);
    }
}

void TStaevneManager::DeleteRegistryKey(const QString& navn) {
    if (const QString key = MeetKey(navn); !key.isEmpty()) {
        Platform::TRegistry registry;
        registry.DeleteKey(key);
    }
}

void TStaevneManager::SelectPrinter() {
    Platform::SelectPrinter(registry_.PrinterNavn);
}

void TStaevneManager::SelectDiplomPrinter() {
    Platform::SelectPrinter(registry_.DiplomPrinter);
}
