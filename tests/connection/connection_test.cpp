#include <gtest/gtest.h>

#include <algorithm>

#include "connection/connection.h"
#include "flows/boot_loader.h"
#include "flows/factory_defaults.h"
#include "flows/flow_messages.h"
#include "flows/manual_command.h"
#include "flows/send_settings.h"
#include "protocol/command_frame.h"
#include "protocol/reader_operations.h"
#include "sim/sim_test_support.h"
#include "support/reader_writes.h"

namespace ravelfin {
namespace {

using ConnectionTest = MachineTest;

TEST_F(ConnectionTest, TheOnlyUsbReaderIsFoundReadAndClassified) {
    EXPECT_FALSE(connection.EnsureConnected());  // nothing attached
    SimulatedReader& reader = Attach(env, "usb-hid");
    reader.Settings().TerminalType = '5';

    ASSERT_TRUE(connection.EnsureConnected());
    EXPECT_EQ(connection.InterfaceType, kInterfaceUsbHid);
    EXPECT_EQ(connection.Settings->TerminalType, '5');
    EXPECT_EQ(connection.Settings->ModelClass, 30000u);  // product id 0x4206
    EXPECT_EQ(Pauses(2000), 1);
    EXPECT_EQ(Pauses(600), 1);
    EXPECT_TRUE(connection.Transport->GetDeviceName().empty()) << "left open";
    EXPECT_TRUE(told.messages.empty());

    // Connected now: no further reader traffic.
    const auto pauses = env.RecordedPauses().Waits.size();
    EXPECT_TRUE(connection.EnsureConnected());
    EXPECT_EQ(env.RecordedPauses().Waits.size(), pauses);
}

// A stored selection that no longer opens falls back to the search, which takes the only USB
// reader but never guesses between two.
TEST_F(ConnectionTest, AStoredSelectionElseTheOnlyUsbReaderIsTaken) {
    Attach(env, "usb-hid-kb");
    connection.InterfaceType = kInterfaceUsbHid;
    connection.DeviceIndex = 4;
    ASSERT_TRUE(connection.EnsureConnected());
    EXPECT_EQ(connection.InterfaceType, kInterfaceUsbHidKb);
    EXPECT_EQ(connection.DeviceIndex, 0);

    Attach(env, "usb-rs232");
    Connection other(env, told);
    other.InterfaceType = kInterfaceRs232;
    other.DeviceIndex = 5;
    EXPECT_FALSE(other.EnsureConnected());
    EXPECT_EQ(other.InterfaceType, 0);
    EXPECT_EQ(other.DeviceIndex, -1);
    other.InterfaceType = kInterfaceUsbRs232;
    other.DeviceIndex = 0;
    ASSERT_TRUE(other.EnsureConnected());
    EXPECT_EQ(other.Transport->GetInterfaceType(), kInterfaceUsbRs232);
    EXPECT_EQ(other.Settings->ModelClass, 0u);  // serial links have no product id
}

TEST_F(ConnectionTest, ReopenRetriesUntilTheReaderIsBack) {
    SimulatedReader& reader = Attach(env, "usb-hid");
    ASSERT_TRUE(connection.EnsureConnected());
    EXPECT_TRUE(connection.Reopen());
    EXPECT_TRUE(connection.IsConnected());

    reader.SetFault(SimulatedFault::PortBusy);
    EXPECT_FALSE(connection.Reopen());
    EXPECT_EQ(Pauses(300), 20);
    EXPECT_FALSE(connection.IsConnected());
    // Why it failed stays for the user to read, until an open succeeds.
    EXPECT_EQ(connection.LastOpenError(), PortError::Busy);
    reader.SetFault(SimulatedFault::None);
    EXPECT_TRUE(connection.Reopen());
    EXPECT_EQ(connection.LastOpenError(), PortError::None);
}

// A keyboard reader being edited; another that sorts before it arrives and takes its list
// position; then the one edited leaves. Writes go to the reader edited, or to none.
TEST_F(ConnectionTest, AReaderThatTookTheListPositionIsNeverWrittenTo) {
    SimulatedReader& newcomer = Attach(env, "usb-hid-kb,firmware=V4.30,arrive=1000");
    SimulatedReader& edited = Attach(env, "usb-hid-kb,firmware=V3.90");
    ASSERT_TRUE(connection.EnsureConnected());
    EXPECT_EQ(connection.DeviceIndex, 0);
    EXPECT_EQ(connection.Identity, (ReaderIdentity{"9-2", "SN00000002"}));

    env.Plug(0);  // the newcomer is index 0 now
    connection.Settings->TerminalType = '4';
    EXPECT_EQ(SendToReader(connection.Flow(told), *connection.Settings).Result, kWriteOk);
    EXPECT_EQ(edited.Settings().TerminalType, '4');
    EXPECT_TRUE(newcomer.Frames().empty());

    const std::size_t editedWrites = Writes(edited);
    env.Unplug(1);
    const FlowContext flow = connection.Flow(told);
    EXPECT_EQ(SendToReader(flow, *connection.Settings).Result, kWriteFailed);
    EXPECT_FALSE(RestoreDefaults(flow, *connection.Settings).Restored);
    ManualCommand manual;
    EXPECT_EQ(manual.Send("\\x2\\x53\\x10\\x1\\x33\\x3", flow, connection.Settings.get()),
              ManualCommandResult::kOpenFailed);
    EXPECT_FALSE(SetBootLoaderMode(flow));
    const std::string gone =
        "The reader you chose (port 9-2, serial SN00000002) is no longer attached; nothing was "
        "sent to any reader.";
    EXPECT_EQ(told.offers, std::vector<std::string>(4, gone));
    EXPECT_EQ(told.messages, std::vector<std::string>{kWrittenText});  // the first send
    EXPECT_TRUE(newcomer.Frames().empty());
    EXPECT_FALSE(newcomer.InBootLoader());

    // Back in its socket, under whatever node: written to again.
    env.Plug(1);
    EXPECT_EQ(SendToReader(connection.Flow(told), *connection.Settings).Result, kWriteOk);
    EXPECT_GT(Writes(edited), editedWrites);
    EXPECT_TRUE(newcomer.Frames().empty());
}

TEST_F(ConnectionTest, AReaderThatReportsOtherFirmwareGetsNothing) {
    SimulatedReader& reader = Attach(env, "usb-hid,firmware=V3.90");
    ASSERT_TRUE(connection.EnsureConnected());
    const std::size_t framesAtConnect = reader.Frames().size();
    // As if another reader had taken the place and the serial number of the one connected.
    connection.FirmwareVersionText = "V4.30";
    EXPECT_EQ(SendToReader(connection.Flow(told), *connection.Settings).Result, kWriteFailed);
    EXPECT_EQ(told.offers,
              std::vector<std::string>{"Another reader answers in place of the one you chose "
                                       "(port 9-1, serial SN00000001): it reports V3.90, not "
                                       "V4.30; nothing was sent to it."});
    EXPECT_EQ(Writes(reader), 0u);
    EXPECT_EQ(reader.Frames().size(), framesAtConnect + 2);  // it was asked twice

    // A reader that does not tell its firmware is not written to either.
    connection.FirmwareVersionText = "V3.90";
    reader.SetFault(SimulatedFault::NoAnswer);
    ExpectedReader expected = *connection.Expected();
    EXPECT_EQ(OpenExpectedReader(*connection.Transport, expected), ReaderCheck::kNoAnswer);
    reader.SetFault(SimulatedFault::None);
    EXPECT_EQ(OpenExpectedReader(*connection.Transport, expected), ReaderCheck::kSameReader);
}

// A HID reader that takes a keyboard format restarts and comes back as a keyboard reader,
// under a new node, after the other reader in the list: it is reopened, not the other one.
TEST_F(ConnectionTest, ARestartWithTwoReadersAttachedReopensTheSameReader) {
    SimulatedReader& restarting = Attach(env, "usb-hid,firmware=V4.30");
    SimulatedReader& other = Attach(env, "usb-hid,firmware=V4.25");
    ASSERT_TRUE(connection.Connect(kInterfaceUsbHid, 0));
    const ReaderIdentity identity = connection.Identity;

    connection.Settings->HidFormat = '8';
    connection.Settings->ReconnectPending = 1;
    const SendOutcome sent = SendToReader(connection.Flow(told), *connection.Settings);
    ASSERT_EQ(sent.Reset, ReaderReset::kReopen);
    EXPECT_EQ(restarting.ProductId(), 0x4106);
    EXPECT_EQ(env.ReaderName(0), "/sim/hidraw2");

    ASSERT_TRUE(connection.Reopen());
    EXPECT_EQ(connection.InterfaceType, kInterfaceUsbHidKb);
    EXPECT_EQ(connection.Identity, identity);
    EXPECT_EQ(connection.FirmwareVersionText, "V4.30");
    EXPECT_EQ(connection.DeviceIndex, 1);  // where it is now, after the other one

    // Identity through the reset: the next write goes to it still.
    const std::size_t otherFrames = other.Frames().size();
    connection.Settings->TerminalType = '2';
    EXPECT_EQ(SendToReader(connection.Flow(told), *connection.Settings).Result, kWriteOk);
    EXPECT_EQ(restarting.Settings().TerminalType, '2');
    EXPECT_EQ(other.Frames().size(), otherFrames);

    // A reader that does not come back is not replaced by the one that stayed.
    restarting.Settings().HidFormat = '0';
    env.Unplug(0);
    EXPECT_FALSE(connection.Reopen());
    EXPECT_FALSE(connection.IsConnected());
    EXPECT_EQ(connection.Identity, identity);
    EXPECT_EQ(Writes(other), 0u);
    env.Plug(0);
    EXPECT_TRUE(connection.EnsureConnected());  // the kept identity, wherever it is
    EXPECT_EQ(connection.FirmwareVersionText, "V4.30");
}

TEST_F(ConnectionTest, FactorySettingsAreReadBackFromTheReaderThatTookThemAfterItsRestart) {
    Attach(env, "usb-hid-kb,firmware=V4.25");
    SimulatedReader& reader = Attach(env, "usb-hid-kb,firmware=V4.30");
    reader.Settings().KbPollInterval = 5;
    ASSERT_TRUE(connection.Connect(kInterfaceUsbHidKb, 1));
    env.Unplug(0);  // the other one leaves: the reader moves up to index 0
    reader.Settings().BeepVolume = '0';
    const DefaultsOutcome outcome = RestoreDefaults(connection.Flow(told), *connection.Settings);
    EXPECT_TRUE(outcome.Restored);
    EXPECT_EQ(outcome.Reset, ReaderReset::kReopenCloseEditor);
    EXPECT_TRUE(outcome.Reread);
    EXPECT_EQ(connection.Settings->BeepVolume, '2');
    EXPECT_EQ(connection.Settings->KbPollInterval, 1);
}

}  // namespace
}  // namespace ravelfin
