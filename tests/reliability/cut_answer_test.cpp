#include <gtest/gtest.h>

#include "protocol/command_frame.h"
#include "protocol/interface_type.h"
#include "protocol/reader_operations.h"
#include "sim/simulated_reader.h"

namespace ravelfin {
namespace {

/// Delivers a fixed answer to every exchange, padded with zeros as HID reports are.
class CannedTransport final : public ReaderTransport {
  public:
    bool GetFirmwareVersion(std::string&) override { return false; }
    bool OpenByIndex(int) override { return true; }
    bool Open(const std::string&) override { return true; }
    bool Close() override { return true; }
    bool Exchange(std::span<const std::uint8_t>, std::span<std::uint8_t> recv,
                  std::size_t& recvLen) override {
        recvLen = std::min(recv.size(), Answer.size() + Padding);
        std::fill(recv.begin(), recv.end(), 0);
        std::copy_n(Answer.begin(), std::min(recvLen, Answer.size()), recv.begin());
        return true;
    }
    int GetInterfaceType() const override { return 5; }
    bool IsReady() const override { return true; }
    std::string GetDeviceName() const override { return ""; }
    Bytes Answer;
    std::size_t Padding = 0;
};

// A settings answer can lose its end on the link at any byte; cut between two items it still
// walks cleanly, and its missing settings would pass for the reader's own factory defaults.
TEST(CutAnswer, AReadAllAnswerCutAtAnyByteIsRefusedAndTheRecordKept) {
    SimulatedReader reader(SimulatedReaderOptions{});
    reader.Settings().Track3Suffix = {'Z', 0x0D};
    const Bytes full =
        reader.Answer(std::array<std::uint8_t, 5>{kStx, kReadLetter, kFuncReadAll, kEtx, 0x4C});
    ASSERT_EQ(full.back() ^ ComputeLrc(std::span(full).subspan(1, full.size() - 2)), 0);
    ReaderSettings kept(kInterfaceUsbHid);
    kept.TerminalType = '6';
    // Serial answers end where the bytes end; HID answers run on in zero-filled reports.
    for (std::size_t padding : {0, 32}) {
        CannedTransport transport;
        transport.Padding = padding;
        for (std::size_t keep = 1; keep < full.size(); ++keep) {
            transport.Answer.assign(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(keep));
            ReaderSettings record = kept;
            EXPECT_FALSE(ReadAllSettings(record, &transport)) << keep << " of " << full.size();
            EXPECT_EQ(record, kept);
        }
        transport.Answer = full;
        ReaderSettings record = kept;
        ASSERT_TRUE(ReadAllSettings(record, &transport));
        EXPECT_EQ(record.Track3Suffix, (Bytes{'Z', 0x0D}));
    }
}

}  // namespace
}  // namespace ravelfin
