#include "ProgramFolderFixture.h"

#include "model/D_Globals.h"
#include "tools/setup/Installation.h"

TProgramFolderTest::TProgramFolderTest()
    : previousProgramDir_(ProgramDir)
    , presenter_(std::make_unique<TRecordingPresenter>())
    , recorder_(static_cast<TRecordingPresenter*>(&MessagePresenter())) {
    dir_ = folder_.path() + u'/';
    InstallProgramFolder(dir_, QStringLiteral(ZUNO_SOURCE_DIR "/data"));
    ProgramDir = dir_;
}

TProgramFolderTest::~TProgramFolderTest() {
    ProgramDir = previousProgramDir_;
}

QStringList TProgramFolderTest::Shown() {
    QStringList texts;
    const auto& boxes = recorder_->Shown();
    for (; seen_ < boxes.size(); ++seen_)
        texts.append(boxes[seen_].Text);
    return texts;
}
