#include "flows/settings_file_flow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "flows/flow_fakes.h"
#include "flows/send_settings.h"
#include "protocol/settings_file.h"

namespace ravelfin::testing {
namespace {

using ::testing::ElementsAre;

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "flows_" + name;
}

TEST(SettingsFileFlow, SaveWritesForTheReadersFirmwareInTheEditorsWords) {
    Rig rig;
    rig.reader.FirmwareVersionNumber = 4.3;
    ReaderSettings settings(kInterfaceUsbHid), loaded(kInterfaceUsbHid);
    settings.BeepMode = 7;  // only a 4.3 file carries the mode
    loaded.FirmwareVersionNumber = 4.3;
    EXPECT_TRUE(SaveToFile(settings, &rig.reader, TempPath("a.cfs2"), Editor::kBasic, rig));
    ASSERT_TRUE(LoadSettingsFile(loaded, TempPath("a.cfs2")));
    EXPECT_EQ(loaded.BeepMode, 7);
    EXPECT_FALSE(SaveToFile(settings, nullptr, TempPath("none/a"), Editor::kAdvanced, rig));
    EXPECT_THAT(rig.Messages(), ElementsAre("Save configuration to file successfully.",
                                            "Failed to save configuration file."));
}

TEST(SettingsFileFlow, ALoadedFormatOrPollingIntervalMakesTheNextSendReopenTheReader) {
    ReaderSettings file(kInterfaceUsbHidKb);
    file.KbPollInterval = 9;
    ASSERT_TRUE(SaveSettingsFile(file, TempPath("interval.cfs2")));
    file.HidFormat = '1';
    ASSERT_TRUE(SaveSettingsFile(file, TempPath("format.cfs2")));
    for (const bool formatChanges : {false, true}) {
        Rig rig(kInterfaceUsbHidKb);
        ReaderSettings settings(kInterfaceUsbHidKb);
        settings.HidFormat = '0';
        settings.KbPollInterval = settings.KbPollIntervalRead = 1;  // as read from the reader
        ASSERT_TRUE(LoadFromFile(settings,
                                 TempPath(formatChanges ? "format.cfs2" : "interval.cfs2"), rig,
                                 rig.Refresh()));
        EXPECT_THAT(rig.rec.trace,
                    ElementsAre("refresh", "msg Load configuration from file successfully."));
        EXPECT_EQ(settings.KbPollInterval, 9);
        EXPECT_EQ(settings.ReconnectPending, formatChanges ? 1u : 0u);
        EXPECT_EQ(SendToReader(rig.Context(), settings).Reset,
                  formatChanges ? ReaderReset::kReopen : ReaderReset::kReopenCloseEditor);
    }
    // A file that does not load changes nothing at all.
    std::ofstream(TempPath("bad.cfs2"), std::ios::binary) << "KORVEXMSRCFG1999\x02S";
    Rig rig;
    ReaderSettings settings(kInterfaceUsbHid);
    settings.HidFormat = '1';
    const ReaderSettings before = settings;
    EXPECT_FALSE(LoadFromFile(settings, TempPath("bad.cfs2"), rig, rig.Refresh()));
    EXPECT_THAT(rig.rec.trace, ElementsAre("msg Failed to load configuration from file."));
    EXPECT_EQ(settings, before);
}

}  // namespace
}  // namespace ravelfin::testing
