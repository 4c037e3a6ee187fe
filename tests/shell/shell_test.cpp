// What the main window's buttons do with the connection, on simulated readers and without a
// window: the wizard's probing and choice, the editors' connect step, the settings report.
#include <gtest/gtest.h>

#include "shell/editor_connection.h"
#include "shell/interface_selection.h"
#include "shell/settings_report_flow.h"
#include "sim/sim_test_support.h"

namespace ravelfin {
namespace {

using Strings = std::vector<std::string>;

class ShellTest : public MachineTest {
  protected:
    void Attach(const Strings& readers) {
        for (const std::string& reader : readers)
            ravelfin::Attach(env, reader);
    }
};

TEST_F(ShellTest, TheWizardProbesEachGroupAndOnlyContinueReplacesTheReader) {
    Attach({"usb-hid,firmware=V4.30", "rs232,firmware=V3.10", "usb-hid-kb,firmware=V3.31",
            "usb-rs232,firmware=V2.10"});
    env.Reader(0).SetFault(SimulatedFault::NoAnswer);
    InterfaceSelection selection(connection, told);
    selection.BuildLists();
    auto usb = selection.ProbeGroup(InterfaceSelection::kUsbGroup);
    ASSERT_EQ(usb.size(), 3u);
    ASSERT_TRUE(connection.Connect(usb[0].Device.Type, usb[0].Device.Index));
    const ReaderSettings* inUse = connection.Settings.get();

    usb = selection.ProbeGroup(InterfaceSelection::kUsbGroup);
    std::vector<std::pair<std::string, int>> offered;
    for (const auto& choice : usb)
        offered.emplace_back(choice.Text, choice.Device.Type);
    // Keyboard readers first, then the virtual serial ports, then HID; a mute one says "".
    EXPECT_EQ(offered, (std::vector<std::pair<std::string, int>>{{"V3.31", kInterfaceUsbHidKb},
                                                                 {"V2.10", kInterfaceUsbRs232},
                                                                 {"", kInterfaceUsbHid}}));
    const auto serial = selection.ProbeGroup(InterfaceSelection::kRs232Group);
    ASSERT_EQ(serial.size(), 1u);
    EXPECT_EQ(serial[0].Text, "V3.10");
    // The keyboard port is always offered; no transport can ask it for a version.
    const auto ps2 = selection.ProbeGroup(InterfaceSelection::kPs2Group);
    ASSERT_EQ(ps2.size(), 1u);
    EXPECT_EQ(ps2[0].Text, "");
    EXPECT_EQ(ps2[0].Device.Type, kInterfacePs2);
    EXPECT_EQ(told.messages, Strings{"ERROR Interface Type!"});
    told.messages.clear();
    EXPECT_TRUE(selection.ProbeGroup(3).empty());
    EXPECT_TRUE(selection.ProbeGroup(-1).empty());
    EXPECT_EQ(selection.CurrentGroup, InterfaceSelection::kPs2Group);

    // Probing and cancelling leave the reader in use as it was.
    selection.Cancel();
    EXPECT_EQ(connection.Settings.get(), inUse);
    EXPECT_EQ(connection.FirmwareVersionText, "V3.31");

    // Nothing chosen: the message names the group.
    EXPECT_FALSE(selection.Continue(std::nullopt, nullptr));
    selection.CurrentGroup = InterfaceSelection::kUsbGroup;
    EXPECT_FALSE(selection.Continue(std::nullopt, nullptr));
    EXPECT_EQ(told.messages,
              (Strings{"Please select an interface!",
                       "No Reader with USB interface has been found, Please Select Right "
                       "Interface!"}));
    told.messages.clear();

    // The serial reader, chosen, replaces the keyboard reader.
    EXPECT_TRUE(selection.Continue(serial[0].Device, nullptr));
    EXPECT_EQ(connection.InterfaceType, kInterfaceRs232);
    EXPECT_EQ(connection.FirmwareVersionText, "V3.10");
    EXPECT_TRUE(told.messages.empty());
}

TEST_F(ShellTest, AMuteReaderFallsBackToTheTypedModelNumber) {
    Attach({"usb-hid", "usb-rs232,firmware=V2.10"});
    env.Reader(0).SetFault(SimulatedFault::NoAnswer);
    InterfaceSelection selection(connection, told);
    selection.BuildLists();
    const auto usb = selection.ProbeGroup(InterfaceSelection::kUsbGroup);
    ASSERT_EQ(usb.size(), 2u);
    const DeviceEntry mute = usb[1].Device;
    ASSERT_EQ(mute.Type, kInterfaceUsbHid);

    // Cancelled or unanswerable prompts keep the wizard open without a word.
    int asked = 0;
    EXPECT_FALSE(selection.Continue(mute, [&] {
        ++asked;
        return std::optional<int>{};
    }));
    EXPECT_FALSE(selection.Continue(mute, nullptr));
    EXPECT_FALSE(selection.Continue(mute, [] { return std::optional<int>{kInterfaceRs232}; }));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(told.messages.empty());

    // A model naming the mute reader's own type tries it again, and says it failed.
    EXPECT_FALSE(selection.Continue(mute, [] { return std::optional<int>{kInterfaceUsbHid}; }));
    EXPECT_EQ(told.messages, Strings{"Could not open Lumatrak device, please check it!"});
    EXPECT_FALSE(connection.IsConnected());

    // A model naming the other reader's type connects the first of that type.
    told.messages.clear();
    EXPECT_TRUE(selection.Continue(mute, [] { return std::optional<int>{kInterfaceUsbRs232}; }));
    EXPECT_EQ(connection.InterfaceType, kInterfaceUsbRs232);
    EXPECT_EQ(connection.FirmwareVersionText, "V2.10");
    EXPECT_EQ(selection.SelectedType, kInterfaceUsbRs232);
    EXPECT_TRUE(told.messages.empty());
}

TEST_F(ShellTest, TheEditorsConnectOnceOrTenTimesAndSayWhyNot) {
    EXPECT_FALSE(ConnectForBasicEditor(connection));
    EXPECT_EQ(WhyNoReader(connection), "No reader was found: plug one in.");
    EXPECT_FALSE(ConnectForAdvancedEditor(connection));
    EXPECT_EQ(Pauses(300), 10);

    Attach({"usb-hid"});
    env.Reader(0).SetFault(SimulatedFault::Nak);
    EXPECT_FALSE(ConnectForBasicEditor(connection));
    EXPECT_EQ(Pauses(300), 10);
    EXPECT_EQ(WhyNoReader(connection),
              "The reader attached did not answer: check it, then choose it.");

    // Once the reader answers, the advanced editor takes it at the first attempt.
    env.Reader(0).SetFault(SimulatedFault::None);
    ASSERT_TRUE(ConnectForAdvancedEditor(connection));
    EXPECT_EQ(Pauses(300), 10);
    EXPECT_TRUE(connection.IsConnected());
    EXPECT_TRUE(ConnectForBasicEditor(connection));

    Attach({"usb-hid-kb"});
    EXPECT_EQ(WhyNoReader(connection), "Several readers are attached: choose the one to use.");
    EXPECT_TRUE(told.messages.empty());
}

TEST_F(ShellTest, TheReportIsReadAfreshOrRefusedOrSaysWhatFailed) {
    std::string report = "untouched";
    SettingsReportFlow flow(connection, told);
    EXPECT_EQ(flow.Run(false, report), SettingsReportFlow::Outcome::kNoReader);
    EXPECT_EQ(flow.Run(true, report), SettingsReportFlow::Outcome::kRefused);
    EXPECT_EQ(told.notices,
              Strings{"Please close current window before selecting \"CHECK CURRENT READER "
                      "SETTINGS\""});
    EXPECT_EQ(report, "untouched");

    Attach({"usb-hid,firmware=V4.30"});
    env.Reader(0).Settings().Track1Prefix = {'A'};
    ASSERT_EQ(flow.Run(false, report), SettingsReportFlow::Outcome::kReport);
    EXPECT_NE(report.find("Firmware Version: V4.30"), std::string::npos) << report;
    EXPECT_NE(report.find("Track 1 Prefix: A\r\n"), std::string::npos) << report;

    // Connected: the report reads the reader again and shows what it holds now.
    env.Reader(0).Settings().Track1Prefix = {'B'};
    ASSERT_EQ(flow.Run(false, report), SettingsReportFlow::Outcome::kReport);
    EXPECT_NE(report.find("Track 1 Prefix: B\r\n"), std::string::npos) << report;
    connection.Settings->Track1Prefix = {'Z'};
    std::string again;
    ASSERT_EQ(flow.Run(false, again), SettingsReportFlow::Outcome::kReport);
    EXPECT_EQ(again, report) << "the report shows the reader, not the record";
    EXPECT_TRUE(told.messages.empty());

    env.Reader(0).SetFault(SimulatedFault::Nak);
    EXPECT_EQ(flow.Run(false, report), SettingsReportFlow::Outcome::kFailed);
    env.Reader(0).SetFault(SimulatedFault::PortBusy);
    EXPECT_EQ(flow.Run(false, report), SettingsReportFlow::Outcome::kFailed);
    EXPECT_EQ(told.messages,
              (Strings{"Can not read from Ravelfin device!", "Can not open Ravelfin device!"}));
}

}  // namespace
}  // namespace ravelfin
