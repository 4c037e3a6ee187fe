#include "protocol/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

namespace ravelfin {
namespace {

namespace fs = std::filesystem;

bool WriteAll(int fd, std::span<const std::uint8_t> bytes, FileSteps& steps) {
    while (!bytes.empty()) {
        const ssize_t written = steps.Write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// Names are built by appending to a named string: GCC 12 warns on "literal" + a temporary
// string (-Wrestrict, a false positive of its inlined insert: a literal never lies inside the
// string).

/// A name beside the target that no other save uses: the process id and a counter.
std::string TemporaryName(const fs::path& directory, const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    std::string name = ".";
    name += target.filename().string();
    name += '.';
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(counter++);
    name += ".tmp";
    return (directory / name).string();
}

/// Gives the unnamed file `fd` the name `name`; false when the name is taken or linking fails.
bool NameUnnamedFile(int fd, const std::string& name) {
    std::string self = "/proc/self/fd/";
    self += std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

/// Makes the rename itself durable; a failure here loses nothing already renamed.
void SyncDirectory(const fs::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

/// The file a path names: a symbolic link is followed to what it points at (however far, and
/// whether that exists yet or not), so that replacing goes to the link's target and the link
/// stays.
fs::path FollowLinks(const std::string& path) {
    fs::path target(path);
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(target, error)); ++hops) {
        const fs::path next = fs::read_symlink(target, error);
        if (error)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

}  // namespace

ssize_t FileSteps::Write(int fd, const std::uint8_t* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileSteps::Sync(int fd) {
    return ::fsync(fd);
}

int FileSteps::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}

FileSteps& SystemFileSteps() {
    static FileSteps steps;
    return steps;
}

bool ReplaceFileContents(const std::string& linkOrPath, std::span<const std::uint8_t> bytes,
                         FileSteps& steps) {
    const fs::path target = FollowLinks(linkOrPath);
    const std::string path = target.string();
    fs::path directory = target.parent_path();
    if (directory.empty())
        directory = ".";
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && (existing.st_mode & S_IWUSR) == 0)
        return false;

    // An unnamed file vanishes by itself when the process dies before it gets a name.
    std::string name;
    int fd = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        // File systems without unnamed files get a named one from the start.
        name = TemporaryName(directory, target);
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0)
            return false;
    }
    bool ok = WriteAll(fd, bytes, steps);
    if (ok && exists)
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    ok = ok && steps.Sync(fd) == 0;
    if (ok && name.empty()) {
        for (int attempt = 0; attempt < 100 && name.empty(); ++attempt) {
            std::string candidate = TemporaryName(directory, target);
            if (NameUnnamedFile(fd, candidate)) {
                name = std::move(candidate);
            } else if (errno != EEXIST) {
                break;
            }
        }
        ok = !name.empty();
    }
    ok = ::close(fd) == 0 && ok;
    ok = ok && steps.Rename(name.c_str(), path.c_str()) == 0;
    if (!ok && !name.empty())
        ::unlink(name.c_str());
    if (ok)
        SyncDirectory(directory);
    return ok;
}

}  // namespace ravelfin
