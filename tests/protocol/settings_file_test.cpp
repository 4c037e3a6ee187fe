#include "protocol/settings_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "protocol/settings_encoder.h"
#include "temp_dir.h"
#include "test_records.h"

namespace ravelfin {
namespace {

namespace fs = std::filesystem;

const ByteList kHeader = {'K', 'O', 'R', 'V', 'E', 'X', 'M', 'S',
                          'R', 'C', 'F', 'G', '2', '0', '0', '0'};

ByteList FileOf(const ByteList& frame) {
    ByteList file = kHeader;
    file.insert(file.end(), frame.begin(), frame.end());
    return file;
}

/// A record that already holds state of its own which a load must keep.
ReaderSettings LoadTarget() {
    ReaderSettings r(kInterfaceRs232);
    r.FirmwareVersionNumber = 1.5;
    r.ModelClass = 30000;
    r.ReconnectPending = 1;
    r.HidFormatBeforeLoad = 'h';
    r.SerialNumber = {3, 'S', 'N', '1'};
    return r;
}

TEST(SettingsFile, RoundTripsWhatEachFirmwareVersionCarries) {
    TempDir dir;
    const std::string path = dir.File("settings.cfs2");
    for (double version : {3.31, 3.32, 3.33, 4.25, 4.26, 4.3, 4.31}) {
        SCOPED_TRACE(version);
        const ReaderSettings saved = VariedRecord(version);
        ASSERT_TRUE(SaveSettingsFile(saved, path));
        ReaderSettings loaded = LoadTarget();
        ASSERT_TRUE(LoadSettingsFile(loaded, path));

        ReaderSettings expected = saved;
        const ReaderSettings target = LoadTarget();
        expected.InterfaceType = target.InterfaceType;
        expected.FirmwareVersionNumber = target.FirmwareVersionNumber;
        expected.ModelClass = target.ModelClass;
        expected.ReconnectPending = target.ReconnectPending;
        expected.HidFormatBeforeLoad = target.HidFormatBeforeLoad;
        expected.SerialNumber = target.SerialNumber;
        if (version == 4.3) {
            expected.BeepVolume = '2';
        } else {
            expected.BeepMode = 2;
        }
        if (version <= 3.32) expected.custom2.Clear();
        if (version <= 4.25) {
            expected.PrePan = expected.PostPan = 4;
            expected.MaskChar = '*';
            expected.SecurityLevel = '0';
            expected.Encryption = target.Encryption;
        }
        EXPECT_EQ(loaded, expected);

        // The file is the header and the full frame, nothing after it.
        std::array<std::uint8_t, 1008> frame{};
        std::size_t length = 0;
        ASSERT_TRUE(EncodeAllSettings(saved, frame, length));
        EXPECT_EQ(ReadFile(path), FileOf(ByteList(frame.begin(), frame.begin() + length)));
    }
}

TEST(SettingsFile, RejectsFilesItCannotTrustAndKeepsTheRecord) {
    TempDir dir;
    const std::string path = dir.File("settings.cfs2");
    ASSERT_TRUE(SaveSettingsFile(VariedRecord(4.26), path));
    const ByteList good = ReadFile(path);
    ByteList wrongLrc = good;
    wrongLrc.back() ^= 0x55;
    ByteList wrongVersion = good;
    wrongVersion[15] = '1';
    ByteList ackFirst = good;
    ackFirst[16] = kAck;
    ByteList readLetter = good;
    readLetter[17] = 'R';
    ByteList wrongMagic = good;
    wrongMagic[0] = 'k';
    // 1025 bytes: a frame of unknown items without an ETX, one byte too long.
    ByteList tooLong = FileOf({kStx, 'S'});
    while (tooLong.size() < 1025) tooLong.insert(tooLong.end(), {0x90, 0});
    tooLong.resize(1025, 0);

    for (const ByteList& bytes :
         {ByteList{}, wrongLrc, wrongVersion, ackFirst, readLetter, wrongMagic, tooLong}) {
        WriteFile(path, bytes);
        ReaderSettings r = LoadTarget();
        EXPECT_FALSE(LoadSettingsFile(r, path)) << bytes.size();
        EXPECT_EQ(r, LoadTarget());
    }
    ReaderSettings r = LoadTarget();
    EXPECT_FALSE(LoadSettingsFile(r, dir.File("missing.cfs2")));
    EXPECT_EQ(r, LoadTarget());

    // A full 1024-byte file, and one cut short after an item, are read.
    tooLong.pop_back();
    WriteFile(path, tooLong);
    EXPECT_TRUE(LoadSettingsFile(r, path));
    WriteFile(path, FileOf({kStx, 'S', 0x10, 1, '7'}));
    EXPECT_TRUE(LoadSettingsFile(r, path));
    EXPECT_EQ(r.TerminalType, '7');
}

TEST(SettingsFile, AFailedSaveKeepsTheExistingFile) {
    TempDir dir;
    const std::string path = dir.File("settings.cfs2");
    ASSERT_TRUE(SaveSettingsFile(VariedRecord(4.3), path));
    const ByteList before = ReadFile(path);

    ReaderSettings unencodable = VariedRecord(4.3);
    unencodable.Track1Prefix = Bytes(255, 'x');
    ReaderSettings tooLarge = VariedRecord(4.3);  // every string fits, the whole does not
    for (Bytes* s : {&tooLarge.Preamble, &tooLarge.Postamble, &tooLarge.Track1Prefix,
                     &tooLarge.Track2Prefix}) {
        *s = Bytes(254, 'y');
    }
    EXPECT_FALSE(SaveSettingsFile(unencodable, path));
    EXPECT_FALSE(SaveSettingsFile(tooLarge, path));
    EXPECT_EQ(ReadFile(path), before);

    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(SaveSettingsFile(VariedRecord(3.0), path));
    EXPECT_EQ(ReadFile(path), before);

    EXPECT_FALSE(SaveSettingsFile(VariedRecord(3.0), dir.File("no/such/dir.cfs2")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);  // no leftovers
}

/// Makes a file refuse every write, root's too, for as long as it lives.
class Immutable {
public:
    explicit Immutable(const std::string& path) : path_(path) { active_ = Set(true); }
    ~Immutable() {
        if (active_) Set(false);
    }

private:
    bool Set(bool on) {
        const int fd = open(path_.c_str(), O_RDONLY);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return ok;
    }
    std::string path_;
    bool active_ = false;
};

TEST(SettingsFile, AReadOnlyFileLoads) {
    TempDir dir;
    const std::string path = dir.File("settings.cfs2");
    const ReaderSettings saved = VariedRecord(4.26);
    ASSERT_TRUE(SaveSettingsFile(saved, path));
    fs::permissions(path, fs::perms::owner_read);
    Immutable guard(path);
    if (std::ofstream(path, std::ios::app).is_open()) {
        GTEST_SKIP() << "this file system lets the test user write a read-only file";
    }
    ReaderSettings loaded;
    ASSERT_TRUE(LoadSettingsFile(loaded, path));
    EXPECT_EQ(loaded.Track3Suffix, saved.Track3Suffix);
    EXPECT_EQ(loaded.custom, saved.custom);
}

}  // namespace
}  // namespace ravelfin
