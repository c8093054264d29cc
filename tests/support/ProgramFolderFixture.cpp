#include "ProgramFolderFixture.h"

#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "platform/Registry.h"
#include "tools/setup/Installation.h"

namespace {
void ClearRegistry() {
    Platform::TRegistry().DeleteKey(Platform::TRegistry::ProgramKey(QStringLiteral(".cfg")));
}
} // namespace

TProgramFolderTest::TProgramFolderTest() {
    dir_ = folder_.path() + u'/';
    InstallProgramFolder(dir_, QStringLiteral(ZUNO_SOURCE_DIR "/data"));
    ModelContext().ProgramDir = dir_;
    ClearRegistry();
}

TProgramFolderTest::~TProgramFolderTest() {
    ClearRegistry();
}

TStaevneManager& TProgramFolderTest::Manager() {
    if (!StaevneManager)
        StaevneManager = std::make_unique<TStaevneManager>();
    return *StaevneManager;
}

TStaevneManager& TProgramFolderTest::Restart() {
    OvelseManager.reset();
    StaevneManager.reset();
    return Manager();
}

qint32 TProgramFolderTest::CreateMeet(const QString& navn) {
    Manager().CreateStaevne(navn);
    return Manager().GetCurrentStID();
}

qint32 TProgramFolderTest::AddMeetRecord(const QString& navn, int status, const QByteArray& variablePart) {
    TStaevneTable table;
    table.Open();
    table.Insert();
    table.GetField(StaevneField::Navn)->SetAsString(navn);
    table.GetField(StaevneField::Status)->SetAsInteger(status);
    table.Post();
    if (!variablePart.isEmpty())
        table.WriteChunk(variablePart.constData(), static_cast<quint32>(table.GetRecordLength()),
                         static_cast<quint32>(variablePart.size()));
    return table.GetField(StaevneField::StID)->GetAsInteger();
}
