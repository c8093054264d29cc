#pragma once
// A test's own program folder: a temporary folder made by the installation (the 14 record files with
// the event catalogue, and the shipped files) and set as ProgramDir; message boxes are recorded instead
// of shown. Derive a test class from it, or use TEST_F(TProgramFolderTest, ...) directly.
#include "foundation/Messages.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class TProgramFolderTest : public ::testing::Test {
protected:
    TProgramFolderTest();
    ~TProgramFolderTest() override;

    // The folder's path with a trailing "/", as ProgramDir holds it.
    const QString& Dir() const { return dir_; }
    QString Path(const QString& name) const { return dir_ + name; }
    // The texts of the message boxes shown since the last call.
    QStringList Shown();

private:
    QTemporaryDir folder_;
    QString dir_;
    QString previousProgramDir_;
    TScopedMessagePresenter presenter_;
    TRecordingPresenter* recorder_;
    std::size_t seen_ = 0;
};
