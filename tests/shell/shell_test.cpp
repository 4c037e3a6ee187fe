// What the main window's buttons do with the connection, on simulated readers and without a
// window: the wizard's probing and choice, the editors' connect step, the settings report.
#include <gtest/gtest.h>

#include <algorithm>

#include "connection/connection.h"
#include "shell/editor_connection.h"
#include "shell/interface_selection.h"
#include "shell/settings_report_flow.h"
#include "sim/simulated_environment.h"

namespace ravelfin {
namespace {

using Strings = std::vector<std::string>;

class RecordingMessenger final : public Messenger {
  public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void ShowNotice(const std::string& text) override { Notices.push_back(text); }
    Strings Messages;
    Strings Notices;
};

class ShellTest : public ::testing::Test {
  protected:
    void Attach(const Strings& readers) {
        for (const std::string& reader : readers) {
            std::string error;
            ASSERT_TRUE(machine.AddReaderFromOptionText(reader, error)) << error;
        }
    }
    int Pauses(int ms) {
        const auto& waits = machine.RecordedPauses().Waits;
        return static_cast<int>(std::count(waits.begin(), waits.end(), ms));
    }

    SimulatedEnvironment machine;
    RecordingMessenger messages;
    Connection link{machine, messages};
};

TEST_F(ShellTest, TheWizardProbesEachGroupAndOnlyContinueReplacesTheReader) {
    Attach({"usb-hid,firmware=V4.30", "rs232,firmware=V3.10", "usb-hid-kb,firmware=V3.31",
            "usb-rs232,firmware=V2.10"});
    machine.Reader(0).SetFault(SimulatedFault::NoAnswer);
    InterfaceSelection selection(link, messages);
    selection.BuildLists();
    auto usb = selection.ProbeGroup(InterfaceSelection::kUsbGroup);
    ASSERT_EQ(usb.size(), 3u);
    ASSERT_TRUE(link.Connect(usb[0].Device.Type, usb[0].Device.Index));
    const ReaderSettings* inUse = link.Settings.get();

    usb = selection.ProbeGroup(InterfaceSelection::kUsbGroup);
    Strings texts;
    std::vector<int> types;
    for (const auto& choice : usb) {
        texts.push_back(choice.Text);
        types.push_back(choice.Device.Type);
    }
    // Keyboard readers first, then the virtual serial ports, then HID; a mute one says "".
    EXPECT_EQ(texts, (Strings{"V3.31", "V2.10", ""}));
    EXPECT_EQ(types, (std::vector<int>{kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid}));
    const auto serial = selection.ProbeGroup(InterfaceSelection::kRs232Group);
    ASSERT_EQ(serial.size(), 1u);
    EXPECT_EQ(serial[0].Text, "V3.10");
    // The keyboard port is always offered; no transport can ask it for a version.
    const auto ps2 = selection.ProbeGroup(InterfaceSelection::kPs2Group);
    ASSERT_EQ(ps2.size(), 1u);
    EXPECT_EQ(ps2[0].Text, "");
    EXPECT_EQ(ps2[0].Device.Type, kInterfacePs2);
    EXPECT_EQ(messages.Messages, Strings{"ERROR Interface Type!"});
    messages.Messages.clear();
    EXPECT_TRUE(selection.ProbeGroup(3).empty());
    EXPECT_TRUE(selection.ProbeGroup(-1).empty());
    EXPECT_EQ(selection.CurrentGroup, InterfaceSelection::kPs2Group);

    // Probing and cancelling leave the reader in use as it was.
    selection.Cancel();
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(link.Settings.get(), inUse);
    EXPECT_EQ(link.InterfaceType, kInterfaceUsbHidKb);
    EXPECT_EQ(link.FirmwareVersionText, "V3.31");

    // Nothing chosen: the message names the group.
    EXPECT_FALSE(selection.Continue(std::nullopt, nullptr));
    selection.CurrentGroup = InterfaceSelection::kUsbGroup;
    EXPECT_FALSE(selection.Continue(std::nullopt, nullptr));
    EXPECT_EQ(messages.Messages,
              (Strings{"Please select an interface!",
                       "No Reader with USB interface has been found, Please Select Right "
                       "Interface!"}));
    messages.Messages.clear();

    // The serial reader, chosen, replaces the keyboard reader.
    EXPECT_TRUE(selection.Continue(serial[0].Device, nullptr));
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(link.InterfaceType, kInterfaceRs232);
    EXPECT_EQ(link.DeviceIndex, 0);
    EXPECT_EQ(link.FirmwareVersionText, "V3.10");
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(ShellTest, AMuteReaderFallsBackToTheTypedModelNumber) {
    Attach({"usb-hid", "usb-rs232,firmware=V2.10"});
    machine.Reader(0).SetFault(SimulatedFault::NoAnswer);
    InterfaceSelection selection(link, messages);
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
    EXPECT_TRUE(messages.Messages.empty());

    // A model naming the mute reader's own type tries it again, and says it failed.
    EXPECT_FALSE(selection.Continue(mute, [] { return std::optional<int>{kInterfaceUsbHid}; }));
    EXPECT_EQ(messages.Messages, Strings{"Could not open Lumatrak device, please check it!"});
    EXPECT_FALSE(link.IsConnected());

    // A model naming the other reader's type connects the first of that type.
    messages.Messages.clear();
    EXPECT_TRUE(selection.Continue(mute, [] { return std::optional<int>{kInterfaceUsbRs232}; }));
    EXPECT_EQ(link.InterfaceType, kInterfaceUsbRs232);
    EXPECT_EQ(link.FirmwareVersionText, "V2.10");
    EXPECT_EQ(selection.SelectedType, kInterfaceUsbRs232);
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(ShellTest, TheEditorsConnectOnceOrTenTimesAndSayWhyNot) {
    EXPECT_FALSE(ConnectForBasicEditor(link));
    EXPECT_EQ(WhyNoReader(link), "No reader was found: plug one in.");
    EXPECT_FALSE(ConnectForAdvancedEditor(link));
    EXPECT_EQ(Pauses(300), 10);

    Attach({"usb-hid"});
    machine.Reader(0).SetFault(SimulatedFault::Nak);
    EXPECT_FALSE(ConnectForBasicEditor(link));
    EXPECT_EQ(Pauses(300), 10);
    EXPECT_EQ(WhyNoReader(link), "The reader attached did not answer: check it, then choose it.");

    // Once the reader answers, the advanced editor takes it at the first attempt.
    machine.Reader(0).SetFault(SimulatedFault::None);
    ASSERT_TRUE(ConnectForAdvancedEditor(link));
    EXPECT_EQ(Pauses(300), 10);
    EXPECT_TRUE(link.IsConnected());
    EXPECT_TRUE(ConnectForBasicEditor(link));

    Attach({"usb-hid-kb"});
    EXPECT_EQ(WhyNoReader(link), "Several readers are attached: choose the one to use.");
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(ShellTest, TheReportIsReadAfreshOrRefusedOrSaysWhatFailed) {
    std::string report = "untouched";
    SettingsReportFlow flow(link, messages);
    EXPECT_EQ(flow.Run(false, report), SettingsReportFlow::Outcome::kNoReader);
    EXPECT_EQ(flow.Run(true, report), SettingsReportFlow::Outcome::kRefused);
    EXPECT_EQ(messages.Notices,
              Strings{"Please close current window before selecting \"CHECK CURRENT READER "
                      "SETTINGS\""});
    EXPECT_EQ(report, "untouched");

    Attach({"usb-hid,firmware=V4.30"});
    machine.Reader(0).Settings().Track1Prefix = {'A'};
    ASSERT_EQ(flow.Run(false, report), SettingsReportFlow::Outcome::kReport);
    EXPECT_NE(report.find("Firmware Version: V4.30"), std::string::npos) << report;
    EXPECT_NE(report.find("Track 1 Prefix: A\r\n"), std::string::npos) << report;

    // Connected: the report reads the reader again and shows what it holds now.
    machine.Reader(0).Settings().Track1Prefix = {'B'};
    ASSERT_EQ(flow.Run(false, report), SettingsReportFlow::Outcome::kReport);
    EXPECT_NE(report.find("Track 1 Prefix: B\r\n"), std::string::npos) << report;
    link.Settings->Track1Prefix = {'Z'};
    std::string again;
    ASSERT_EQ(flow.Run(false, again), SettingsReportFlow::Outcome::kReport);
    EXPECT_EQ(again, report) << "the report shows the reader, not the record";
    EXPECT_TRUE(messages.Messages.empty());

    machine.Reader(0).SetFault(SimulatedFault::Nak);
    EXPECT_EQ(flow.Run(false, report), SettingsReportFlow::Outcome::kFailed);
    machine.Reader(0).SetFault(SimulatedFault::PortBusy);
    EXPECT_EQ(flow.Run(false, report), SettingsReportFlow::Outcome::kFailed);
    EXPECT_EQ(messages.Messages,
              (Strings{"Can not read from Ravelfin device!", "Can not open Ravelfin device!"}));
}

}  // namespace
}  // namespace ravelfin
