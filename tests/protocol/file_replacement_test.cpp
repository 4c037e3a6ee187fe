#include "protocol/file_replacement.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <functional>

#include "protocol/settings_file.h"
#include "temp_dir.h"
#include "test_records.h"

namespace ravelfin {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FilesIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

/// Runs `body` in a child process; returns its wait status.
int InChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

/// Steps of which one fails the way a full disk or a failing device makes it fail.
class FailingSteps final : public FileSteps {
  public:
    enum class Failure { kNoSpace, kNoSpaceAfterSome, kIoError, kSync, kRename };
    explicit FailingSteps(Failure failure) : failure_(failure) {}

    ssize_t Write(int fd, const std::uint8_t* data, std::size_t size) override {
        if (failure_ == Failure::kNoSpaceAfterSome && !wroteSome_) {
            wroteSome_ = true;
            return FileSteps::Write(fd, data, std::min<std::size_t>(size, 100));
        }
        if (failure_ == Failure::kNoSpace || failure_ == Failure::kNoSpaceAfterSome)
            return Fail(ENOSPC);
        if (failure_ == Failure::kIoError)
            return Fail(EIO);
        return FileSteps::Write(fd, data, size);
    }
    int Sync(int fd) override {
        return failure_ == Failure::kSync ? Fail(EIO) : FileSteps::Sync(fd);
    }
    int Rename(const char* from, const char* to) override {
        return failure_ == Failure::kRename ? Fail(EXDEV) : FileSteps::Rename(from, to);
    }

  private:
    static int Fail(int error) {
        errno = error;
        return -1;
    }
    Failure failure_;
    bool wroteSome_ = false;
};

TEST(FileReplacement, AFailureAtAnyStepKeepsTheOldFileAndLeavesNothingBehind) {
    TempDir dir;
    const std::string path = dir.File("settings.cfs2");
    const ByteList old(300, 'o');
    const ByteList next(500, 'n');
    using Failure = FailingSteps::Failure;
    for (Failure failure : {Failure::kNoSpace, Failure::kNoSpaceAfterSome, Failure::kIoError,
                            Failure::kSync, Failure::kRename}) {
        for (bool existed : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "failure " << static_cast<int>(failure)
                                              << (existed ? ", replacing" : ", creating"));
            fs::remove(path);
            if (existed)
                WriteFile(path, old);
            FailingSteps steps(failure);
            EXPECT_FALSE(ReplaceFileContents(path, next, steps));
            EXPECT_EQ(FilesIn(dir.Path()), existed ? std::vector<std::string>{"settings.cfs2"}
                                                   : std::vector<std::string>{});
            if (existed) {
                EXPECT_EQ(ReadFile(path), old);
            }
        }
    }

    // Without a failure the file is replaced and keeps its permissions.
    WriteFile(path, old);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(ReplaceFileContents(path, next, SystemFileSteps()));
    EXPECT_EQ(ReadFile(path), next);
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"settings.cfs2"});

    // Through a symbolic link the file it points at is replaced, and the link stays.
    fs::create_symlink("settings.cfs2", dir.File("link.cfs2"));
    ASSERT_TRUE(ReplaceFileContents(dir.File("link.cfs2"), old, SystemFileSteps()));
    EXPECT_TRUE(fs::is_symlink(dir.File("link.cfs2")));
    EXPECT_EQ(ReadFile(path), old);
}

// The file size limit of a process stops its writes half way: by a signal that kills the
// process before it can clean up, or, where the program ignores that signal, by a failing
// write.
TEST(SettingsFileSave, AFileSizeLimitFailsTheSaveAndKeepsTheFile) {
    TempDir dir;
    const std::string path = dir.File("settings.cfs2");
    ASSERT_TRUE(SaveSettingsFile(VariedRecord(3.0), path));
    const ByteList before = ReadFile(path);
    for (bool ignoreSignal : {true, false}) {
        const int status = InChild([&] {
            if (ignoreSignal)
                std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64, 64};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return SaveSettingsFile(VariedRecord(4.3), path) ? 0 : 3;
        });
        if (ignoreSignal) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
        }
        EXPECT_EQ(ReadFile(path), before);
        EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"settings.cfs2"});
    }
}

TEST(SettingsFileSave, TwoProcessesSavingAtOnceLeaveOneCompleteFile) {
    TempDir dir;
    const std::string path = dir.File("settings.cfs2");
    ReaderSettings small = VariedRecord(3.0);
    small.Track3Suffix.clear();
    const ReaderSettings large = VariedRecord(4.3);
    ASSERT_TRUE(SaveSettingsFile(large, path));
    const ByteList largeFile = ReadFile(path);
    ASSERT_TRUE(SaveSettingsFile(small, path));
    const ByteList smallFile = ReadFile(path);
    ASSERT_NE(smallFile.size(), largeFile.size());

    pid_t savers[2];
    for (int i = 0; i < 2; ++i) {
        savers[i] = ::fork();
        if (savers[i] == 0) {
            bool all = true;
            for (int n = 0; n < 200; ++n)
                all = SaveSettingsFile(i ? large : small, path) && all;
            ::_exit(all ? 0 : 1);
        }
    }
    int mixed = 0;
    int running = 2;
    int statuses[2] = {};
    while (running > 0) {
        const ByteList seen = ReadFile(path);
        if (seen != smallFile && seen != largeFile)
            ++mixed;
        for (int i = 0; i < 2; ++i) {
            if (savers[i] > 0 && ::waitpid(savers[i], &statuses[i], WNOHANG) == savers[i]) {
                savers[i] = 0;
                --running;
            }
        }
    }
    EXPECT_EQ(mixed, 0);
    for (int status : statuses)
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const ByteList last = ReadFile(path);
    EXPECT_TRUE(last == smallFile || last == largeFile);
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"settings.cfs2"});
}

}  // namespace
}  // namespace ravelfin
