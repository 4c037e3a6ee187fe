#include "connection/connection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "protocol/firmware_version.h"
#include "protocol/reader_operations.h"
#include "sim/simulated_environment.h"

namespace ravelfin {
namespace {

class RecordingMessenger final : public Messenger {
  public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowNotice(const std::string& text) override { notices.push_back(text); }
    std::vector<std::string> messages;
    std::vector<std::string> notices;
};

class ConnectionTest : public ::testing::Test {
  protected:
    SimulatedReader& Attach(std::uint32_t type, const std::string& firmware = "V4.30") {
        SimulatedReaderOptions options;
        options.InterfaceType = type;
        options.Firmware = firmware;
        std::string error;
        EXPECT_TRUE(env.AddReader(options, error)) << error;
        return env.Reader(env.ReaderCount() - 1);
    }
    int CountPauses(int ms) {
        const auto& waits = env.RecordedPauses().Waits;
        return static_cast<int>(std::count(waits.begin(), waits.end(), ms));
    }

    SimulatedEnvironment env;
    RecordingMessenger messenger;
    Connection connection{env, messenger};
};

TEST_F(ConnectionTest, TheOnlyUsbReaderIsFoundReadAndClassified) {
    EXPECT_FALSE(connection.EnsureConnected());  // nothing attached
    SimulatedReader& reader = Attach(kInterfaceUsbHid);
    reader.Settings().TerminalType = '5';
    reader.Settings().Track2Prefix = {0x02, 'X'};

    ASSERT_TRUE(connection.EnsureConnected());
    EXPECT_EQ(connection.InterfaceType, kInterfaceUsbHid);
    EXPECT_EQ(connection.DeviceIndex, 0);
    EXPECT_EQ(connection.FirmwareVersionText, "V4.30");
    EXPECT_EQ(connection.Settings->TerminalType, '5');
    EXPECT_EQ(connection.Settings->Track2Prefix, (Bytes{0x02, 'X'}));
    EXPECT_EQ(connection.Settings->FirmwareVersionNumber, 4.3);
    EXPECT_EQ(connection.Settings->ModelClass, 30000u);  // product id 0x4206
    EXPECT_EQ(connection.Transport->ModelClass, 30000u);
    EXPECT_EQ(CountPauses(2000), 1);
    EXPECT_EQ(CountPauses(600), 1);
    EXPECT_TRUE(connection.Transport->GetDeviceName().empty()) << "left open";
    EXPECT_TRUE(messenger.messages.empty());

    // Connected now: no further reader traffic.
    const auto pauses = env.RecordedPauses().Waits.size();
    EXPECT_TRUE(connection.EnsureConnected());
    EXPECT_EQ(env.RecordedPauses().Waits.size(), pauses);
}

TEST_F(ConnectionTest, TwoUsbReadersAreNotGuessedBetween) {
    Attach(kInterfaceUsbHid);
    Attach(kInterfaceUsbRs232);
    EXPECT_FALSE(connection.EnsureConnected());
    EXPECT_FALSE(connection.IsConnected());
    // A stored selection still picks one of them.
    connection.InterfaceType = kInterfaceUsbRs232;
    connection.DeviceIndex = 0;
    ASSERT_TRUE(connection.EnsureConnected());
    EXPECT_EQ(connection.Transport->GetInterfaceType(), kInterfaceUsbRs232);
    EXPECT_EQ(connection.Settings->ModelClass, 0u);  // serial links have no product id
}

TEST_F(ConnectionTest, ASavedSelectionThatNoLongerOpensFallsBackToTheSearch) {
    Attach(kInterfaceUsbHidKb);
    connection.InterfaceType = kInterfaceUsbHid;
    connection.DeviceIndex = 4;
    ASSERT_TRUE(connection.EnsureConnected());
    EXPECT_EQ(connection.InterfaceType, kInterfaceUsbHidKb);
    EXPECT_EQ(connection.DeviceIndex, 0);

    Attach(kInterfaceUsbHid);
    Connection other(env, messenger);
    other.InterfaceType = kInterfaceRs232;
    other.DeviceIndex = 0;
    EXPECT_FALSE(other.EnsureConnected());
    EXPECT_EQ(other.InterfaceType, 0);
    EXPECT_EQ(other.DeviceIndex, -1);
}

TEST_F(ConnectionTest, AFailedSettingsReadLeavesNoRecordToEditButKeepsTheSelection) {
    for (auto fault : {SimulatedFault::NoAnswer, SimulatedFault::Nak, SimulatedFault::WrongLrc,
                       SimulatedFault::CutShort}) {
        SimulatedEnvironment local;
        SimulatedReaderOptions options;
        options.InterfaceType = kInterfaceUsbHid;
        std::string error;
        ASSERT_TRUE(local.AddReader(options, error));
        local.Reader(0).SetFault(fault);
        Connection c(local, messenger);
        EXPECT_FALSE(c.Connect(kInterfaceUsbHid, 0));
        EXPECT_EQ(c.Transport, nullptr);
        EXPECT_EQ(c.Settings, nullptr);
        EXPECT_EQ(c.InterfaceType, kInterfaceUsbHid);
        EXPECT_EQ(c.DeviceIndex, 0);
        EXPECT_FALSE(c.EnsureConnected());

        // Once the reader answers again, the kept selection connects.
        local.Reader(0).SetFault(SimulatedFault::None);
        EXPECT_TRUE(c.EnsureConnected());
    }
}

TEST_F(ConnectionTest, SerialPortLeftBusyByAFailedReadCanBeOpenedAgain) {
    SimulatedReader& reader = Attach(kInterfaceRs232);
    reader.SetFault(SimulatedFault::NoAnswer);
    EXPECT_FALSE(connection.Connect(kInterfaceRs232, 0));
    reader.SetFault(SimulatedFault::None);
    EXPECT_TRUE(connection.Connect(kInterfaceRs232, 0));
}

TEST_F(ConnectionTest, InterfacesWithoutTransportSayErrorInterfaceType) {
    for (int type : {0, 2, 6}) {
        messenger.messages.clear();
        EXPECT_EQ(connection.CreateTransport(type), nullptr);
        EXPECT_EQ(messenger.messages, std::vector<std::string>{"ERROR Interface Type!"});
    }
    messenger.messages.clear();
    EXPECT_FALSE(connection.Connect(kInterfacePs2, 0));
    EXPECT_EQ(connection.InterfaceType, 0);
    EXPECT_EQ(messenger.messages, std::vector<std::string>{"ERROR Interface Type!"});
}

TEST_F(ConnectionTest, ProbeGivesTheVersionTextOrNothing) {
    SimulatedReader& hid = Attach(kInterfaceUsbHid, "LUMA V4.27");
    SimulatedReader& serial = Attach(kInterfaceUsbRs232, "V3.31");
    hid.Settings().TerminalType = '6';
    EXPECT_EQ(connection.ProbeDevice(kInterfaceUsbHid, 0), "LUMA V4.27");
    // The probe read no settings, so nothing passes for a connection: the next use reads them.
    EXPECT_FALSE(connection.IsConnected());
    EXPECT_EQ(connection.InterfaceType, kInterfaceUsbHid);
    ASSERT_TRUE(connection.EnsureConnected());
    EXPECT_EQ(connection.Settings->TerminalType, '6');

    EXPECT_EQ(connection.ProbeDevice(kInterfaceUsbRs232, 0), "V3.31");
    serial.SetFault(SimulatedFault::NoAnswer);
    EXPECT_EQ(connection.ProbeDevice(kInterfaceUsbRs232, 0), "");
    EXPECT_EQ(connection.ProbeDevice(kInterfaceUsbHid, 7), "");
    EXPECT_EQ(connection.InterfaceType, 0);
    EXPECT_EQ(connection.DeviceIndex, -1);
}

TEST_F(ConnectionTest, ReopenRetriesUntilTheReaderIsBack) {
    SimulatedReader& reader = Attach(kInterfaceUsbHid);
    ASSERT_TRUE(connection.EnsureConnected());
    EXPECT_TRUE(connection.Reopen());
    EXPECT_TRUE(connection.IsConnected());

    reader.SetFault(SimulatedFault::PortBusy);
    EXPECT_FALSE(connection.Reopen());
    EXPECT_EQ(CountPauses(300), 20);
    EXPECT_FALSE(connection.IsConnected());
    // Why it failed stays for the user to read, until an open succeeds.
    EXPECT_EQ(connection.LastOpenError(), PortError::Busy);
    reader.SetFault(SimulatedFault::None);
    EXPECT_TRUE(connection.Reopen());
    EXPECT_EQ(connection.LastOpenError(), PortError::None);
}

TEST_F(ConnectionTest, ReopenFindsAReaderBackAsTheOtherKindBesideAnother) {
    Attach(kInterfaceUsbHidKb);
    SimulatedReader& reader = Attach(kInterfaceUsbHid);
    ASSERT_TRUE(connection.Connect(kInterfaceUsbHid, 1));
    // A new format: the reader resets once let go and is back three seconds later.
    connection.Settings->HidFormat = '8';
    ASSERT_TRUE(connection.Transport->OpenByIndex(1));
    ASSERT_EQ(WriteGeneralSettings(*connection.Settings, connection.Transport.get()), kWriteOk);
    connection.Transport->Close();
    env.GetPause().Wait(SimulatedEnvironment::kResetAbsenceMs);

    ASSERT_TRUE(connection.Reopen());
    EXPECT_EQ(connection.InterfaceType, kInterfaceUsbHidKb);
    EXPECT_EQ(connection.DeviceIndex, 1);
    EXPECT_EQ(connection.Transport->ProductId, reader.ProductId());
    EXPECT_EQ(connection.Settings->HidFormat, '8');
}

}  // namespace
}  // namespace ravelfin
