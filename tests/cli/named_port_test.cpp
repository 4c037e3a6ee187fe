#include "cli_rig.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {
namespace {

class NamedPort : public CliRig {
  protected:
    NamedPort() { ClockFollowsPauses(); }
};

// A port named on the command line is the port of that name all through the command, while
// the port listed before it leaves half way and the list closes up.
TEST_F(NamedPort, StaysThePortOfThatNameWhenTheListShifts) {
    SimulatedReader& leaving = Attach("rs232,firmware=V3.10,leave=1");
    SimulatedReader& named = Attach("rs232,firmware=V4.33");
    ReaderSettings settings;
    settings.TerminalType = '6';
    settings.FirmwareVersionNumber = 4.33;
    const std::string file = dir.File("in.cfs2");
    ASSERT_TRUE(SaveSettingsFile(settings, file));
    EXPECT_EQ(Run({"--device", "rs232:/sim/ttyS1", "apply", file}), 0) << out.str();
    EXPECT_FALSE(leaving.IsPlugged());
    EXPECT_TRUE(leaving.Frames().empty());
    EXPECT_EQ(named.Settings().TerminalType, '6');
}

}  // namespace
}  // namespace ravelfin::cli
