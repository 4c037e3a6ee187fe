#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ravelfin {

/// The system calls that replacing a file is made of, so that a test can make any of them
/// fail (no space left, an input/output error) or stop the process between two of them.
class FileSteps {
  public:
    virtual ~FileSteps() = default;
    /// write(2): bytes written, or -1 with errno set.
    virtual ssize_t Write(int fd, const std::uint8_t* data, std::size_t size);
    /// fsync(2) of the new content, the last step before the new file gets a name.
    virtual int Sync(int fd);
    /// rename(2) of the finished file over the target.
    virtual int Rename(const char* from, const char* to);
};

/// Replaces the file at `path` with `bytes`, so that the path holds the old content or the
/// new one and never anything in between: the new content is written and synced to an unnamed
/// file in the target's directory, which gets a name only when complete and is then renamed
/// over the target. Two processes replacing the same file at once leave one complete file.
///
/// Returns false when an existing target is read-only (a user's way of protecting it), when
/// the directory cannot take a new file, or when any step fails (no space left, a write
/// error, a file size limit); the target then stays byte for byte as it was and no temporary
/// file is left behind. A process killed before the rename leaves the target as it was; only
/// a kill between the naming and the rename, two system calls apart, can leave a temporary
/// file. A replaced file keeps the permissions of the one it replaces. A symbolic link is
/// followed: its target is replaced and the link stays.
bool ReplaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes,
                         FileSteps& steps);

/// The steps as the system performs them.
FileSteps& SystemFileSteps();

}  // namespace ravelfin
