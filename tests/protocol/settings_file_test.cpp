#include "protocol/settings_file.h"

#include <gtest/gtest.h>

#include "protocol/settings_encoder.h"
#include "temp_dir.h"
#include "test_records.h"

namespace ravelfin {
namespace {

namespace fs = std::filesystem;

ByteList FileOf(const ByteList& frame) {
    const std::string header = "KORVEXMSRCFG2000";
    // Reserved first: GCC 12 warns on a range inserted into a vector of a size it knows
    // (-Warray-bounds, a false positive of its reallocating path).
    ByteList file;
    file.reserve(header.size() + frame.size());
    file.assign(header.begin(), header.end());
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

// What each firmware version carries is the encoder's business; the file keeps the frame whole
// and a load keeps what the record knows of its reader.
TEST(SettingsFile, RoundTripsTheFrameAndKeepsTheReadersOwnState) {
    TempDir dir;
    const std::string path = dir.File("settings.cfs2");
    const ReaderSettings saved = VariedRecord(4.3);
    ASSERT_TRUE(SaveSettingsFile(saved, path));
    ReaderSettings loaded = LoadTarget();
    ASSERT_TRUE(LoadSettingsFile(loaded, path));

    ReaderSettings expected = saved;
    const ReaderSettings t = LoadTarget();
    std::tie(expected.InterfaceType, expected.FirmwareVersionNumber, expected.ModelClass,
             expected.ReconnectPending, expected.HidFormatBeforeLoad, expected.SerialNumber) =
        std::tie(t.InterfaceType, t.FirmwareVersionNumber, t.ModelClass, t.ReconnectPending,
                 t.HidFormatBeforeLoad, t.SerialNumber);
    expected.BeepVolume = '2';  // 4.3 carries the beep mode in its place
    EXPECT_EQ(loaded, expected);

    // The file is the header and the full frame, nothing after it.
    EXPECT_EQ(ReadFile(path), FileOf(Encoded(EncodeAllSettings, saved)));
}

TEST(SettingsFile, RejectsFilesItCannotTrustAndKeepsTheRecord) {
    TempDir dir;
    const std::string path = dir.File("settings.cfs2");
    ASSERT_TRUE(SaveSettingsFile(VariedRecord(4.26), path));
    const ByteList good = ReadFile(path);
    std::vector<ByteList> bad = {{}};
    const std::pair<std::size_t, std::uint8_t> damage[] = {
        {good.size() - 1, static_cast<std::uint8_t>(good.back() ^ 0x55)},  // LRC
        {15, '1'},
        {16, kAck},
        {17, 'R'},
        {0, 'k'}};  // version, ACK first, read letter, magic
    for (auto [at, value] : damage) {
        bad.push_back(good);
        bad.back()[at] = value;
    }
    // A frame of unknown items without an ETX filling 1024 bytes, and the same with one byte
    // more in its first item.
    ByteList full = FileOf({kStx, 'S'});
    while (full.size() < 1024)
        full.insert(full.end(), {0x90, 0});
    ByteList tooLong = full;
    tooLong.insert(tooLong.begin() + 19, 1);
    bad.push_back(tooLong);
    const auto load = [&](const ByteList& bytes, ReaderSettings& r) {
        WriteFile(path, bytes);
        return LoadSettingsFile(r, path);
    };
    for (const ByteList& bytes : bad) {
        ReaderSettings r = LoadTarget();
        EXPECT_FALSE(load(bytes, r)) << ::testing::PrintToString(bytes);
        EXPECT_EQ(r, LoadTarget());
    }
    ReaderSettings r = LoadTarget();
    EXPECT_FALSE(LoadSettingsFile(r, dir.File("missing.cfs2")));
    EXPECT_EQ(r, LoadTarget());

    // A full 1024-byte file, and one cut short after an item, are read.
    EXPECT_TRUE(load(full, r));
    EXPECT_TRUE(load(FileOf({kStx, 'S', 0x10, 1, '7'}), r));
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

}  // namespace
}  // namespace ravelfin
