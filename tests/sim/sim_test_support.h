#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "connection/connection.h"
#include "connection/messenger.h"
#include "protocol/bytes.h"
#include "protocol/command_frame.h"
#include "protocol/test_records.h"
#include "sim/simulated_environment.h"
#include "sim/simulated_reader_options.h"
#include "transport/device_discovery.h"

namespace ravelfin {

/// What a simulated reader of `type` with `firmware` is, the rest left at the defaults.
inline SimulatedReaderOptions ReaderOptions(std::uint32_t type, const char* firmware = "V4.30") {
    SimulatedReaderOptions options;
    options.InterfaceType = type;
    options.Firmware = firmware;
    return options;
}

/// Attaches the reader that `optionText` describes, as --simulate takes it; returns it.
inline SimulatedReader& Attach(SimulatedEnvironment& env, const std::string& optionText) {
    std::string error;
    EXPECT_TRUE(env.AddReaderFromOptionText(optionText, error)) << error;
    return env.Reader(env.ReaderCount() - 1);
}

/// Where the readers of `type` are listed; which reader each is does not matter here.
inline std::vector<DeviceEntry> Listed(SimulatedEnvironment& env, int type) {
    std::vector<DeviceEntry> list;
    ListDevices(env.Devices(), type, list);
    for (DeviceEntry& entry : list)
        entry.Identity = {}, entry.StableName.clear();
    return list;
}

/// The frame BuildCommandFrame makes for one FuncID and its data.
inline Bytes CommandFrame(std::uint8_t funcId, std::span<const std::uint8_t> data = {}) {
    std::array<std::uint8_t, 300> frame{};
    std::size_t length = 0;
    BuildCommandFrame(funcId, data, frame, length);
    return Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length));
}

/// STX 'R' funcId ETX LRC: the read of a single setting.
inline Bytes ReadFrame(std::uint8_t funcId) {
    return WithLrc({kStx, kReadLetter, funcId, kEtx});
}

/// A set frame holding the given items (FuncID, Len, data ...) as they stand.
inline Bytes SetFrame(const Bytes& items) {
    return Frame({items});
}

/// What the user was told, each kind on its own.
struct Told final : Messenger {
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowNotice(const std::string& text) override { notices.push_back(text); }
    void OfferReaderSelection(const std::string& text) override { offers.push_back(text); }
    std::vector<std::string> messages, notices, offers;
};

/// A simulated machine, what its user was told, and the program's connection to its readers.
class MachineTest : public ::testing::Test {
  protected:
    int Pauses(int ms) {
        return static_cast<int>(std::ranges::count(env.RecordedPauses().Waits, ms));
    }

    SimulatedEnvironment env;
    Told told;
    Connection connection{env, told};
};

}  // namespace ravelfin
