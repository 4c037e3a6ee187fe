#include "protocol/file_replacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "protocol/bytes.h"
#include "temp_dir.h"

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
    const Bytes old(300, 'o');
    const Bytes next(500, 'n');
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

}  // namespace
}  // namespace ravelfin
