#pragma once
// Work killed at a chosen step of its commits: it runs in a child process that stops itself there (the
// n-th time it writes or syncs a journal, commits a record file or removes a file), and the test kills it
// with SIGKILL, as a power cut or a killed program would end it.
#include "platform/recordmanager/FileSystem.h"
#include "storage/BtvFile.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

class TStopAtStep : public RecordManager::FileSystem {
public:
    explicit TStopAtStep(int step)
        : step_(step) {}
    int beforeWrite(const char* path) override {
        if (QByteArray(path).endsWith(".zrm-journal"))
            Step();
        return FileSystem::beforeWrite(path);
    }
    int beforeCommit(const char* path) override {
        Step();
        return FileSystem::beforeCommit(path);
    }
    int sync(int fd) override {
        Step();
        return FileSystem::sync(fd);
    }
    int unlink(const char* path) override {
        Step();
        return FileSystem::unlink(path);
    }

private:
    void Step() {
        if (++steps_ == step_)
            raise(SIGSTOP);
    }
    int step_;
    int steps_ = 0;
};

// Runs start and then work in a child process, the work stopped at its step-th commit step and killed
// there; false when the work ran to its end without reaching that step. The caller frees what it holds
// open of the record files first (the child opens every file anew) and starts again afterwards.
inline bool KilledAt(int step, const std::function<void()>& start, const std::function<void()>& work) {
    StopRecordManager();
    const pid_t child = fork();
    if (child == 0) {
        int code = 0;
        try {
            start();
            TStopAtStep stop(step);
            const RecordManager::ScopedFileSystem seam(stop);
            work();
        } catch (...) {
            code = 1;
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, WUNTRACED);
    // Nothing between here and the kill may end the test: a stopped child would stay.
    if (WIFSTOPPED(status)) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return true;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the work failed at step " << step;
    return false;
}
