#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <future>
#include <thread>

#include "cli_rig.h"
#include "flows/flow_messages.h"
#include "protocol/settings_file.h"

namespace ravelfin::cli {
namespace {

class Watch : public CliRig {
  protected:
    static void SetUpTestSuite() {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_cli";
            static char* argv[] = {name, nullptr};
            static QCoreApplication application(argc, argv);
        }
    }

    std::string ConfigFile() {
        ReaderSettings settings;
        settings.TerminalType = '5';
        const std::string path = dir.File("watch.cfs2");
        EXPECT_TRUE(SaveSettingsFile(settings, path));
        return path;
    }

    /// Runs `action` once the watch's event loop runs, and ends a watch that would never end
    /// as Ctrl+C would, so that a fault fails the test rather than hanging it.
    void Soon(std::function<void()> action) {
        QTimer::singleShot(0, std::move(action));
        guard_ = std::make_unique<QTimer>();
        guard_->setSingleShot(true);
        QObject::connect(guard_.get(), &QTimer::timeout, [] { std::raise(SIGINT); });
        guard_->start(10000);
    }

  private:
    std::unique_ptr<QTimer> guard_;
};

TEST_F(Watch, ConfiguresEachReaderOnceUntilTheCountIsReached) {
    Attach("usb-hid,arrive=0");
    Attach("usb-rs232,arrive=0");
    SimulatedReader& late = Attach("usb-hid,arrive=0");
    Attach("rs232");  // attached before the watch: not configured, but its departure is told
    EXPECT_EQ(Run({"watch", "--apply", dir.File("missing.cfs2")}), kExitFailed);
    Soon([this] {
        env.Unplug(3);
        env.Plug(0);
        env.Unplug(0);
        env.Plug(0);  // back again: the same reader, configured once
        env.Plug(1);
        env.Plug(1);  // no second arrival while plugged in
    });
    ASSERT_EQ(Run({"watch", "--apply", ConfigFile(), "--count", "2"}), kExitOk) << err.str();
    const std::string written = kWrittenText;
    const std::string first = "usb-hid:0 /sim/hidraw0 (port 9-1, serial SN00000001): ";
    const std::string second = "usb-rs232:0 /sim/ttyUSB0 (port 9-2, serial SN00000002): ";
    std::vector<std::string> lines = Lines();
    // Arrivals and departures come in order; results as their readers finish.
    ASSERT_EQ(lines.size(), 7u) << out.str();
    EXPECT_EQ(
        std::vector<std::string>(lines.begin(), lines.begin() + 5),
        (std::vector<std::string>{"rs232:0 /sim/ttyS1 (port /sim/ttyS1): left", first + "arrived",
                                  first + "left", first + "arrived", second + "arrived"}));
    std::sort(lines.begin() + 5, lines.end());
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.end()),
              (std::vector<std::string>{first + written, second + written}));
    EXPECT_EQ(env.Reader(1).Settings().TerminalType, '5');
    EXPECT_TRUE(late.Frames().empty());
    EXPECT_FALSE(env.IsMonitored());
}

// Readers arrive one at a time, each once the one before has its result: one that fails is
// not counted, and the watch ends with the second reader configured, before the fourth.
TEST_F(Watch, ACountCountsConfiguredReadersOnly) {
    Attach("usb-hid,arrive=0,fault=nak");
    for (int i = 0; i < 3; ++i)
        Attach("usb-hid,arrive=0");
    std::size_t plugged = 1;
    out.onPrint = [&](const std::string& text) {
        if (!text.ends_with("arrived\n") && plugged < env.ReaderCount())
            env.Plug(plugged++);  // each result lets the next reader in
    };
    Soon([this] { env.Plug(0); });
    EXPECT_EQ(Run({"watch", "--apply", ConfigFile(), "--count", "2"}), kExitFailed) << out.str();
    EXPECT_NE(Lines()[1].find("NAK"), std::string::npos) << out.str();
    EXPECT_EQ(env.Reader(1).Settings().TerminalType, '5');
    EXPECT_EQ(env.Reader(2).Settings().TerminalType, '5');
    EXPECT_TRUE(env.Reader(3).Frames().empty());
}

TEST_F(Watch, AReaderThatRestartsForTheFileIsCountedOnce) {
    SimulatedReader& keyboard = Attach("usb-hid-kb,arrive=0");
    SimulatedReader& other = Attach("usb-hid,arrive=0");
    ReaderSettings settings;
    settings.HidFormat = '0';  // a HID reader's format: the keyboard reader restarts as one
    settings.FirmwareVersionNumber = 4.3;
    const std::string file = dir.File("hid.cfs2");
    ASSERT_TRUE(SaveSettingsFile(settings, file));
    // The second reader arrives once the first is back from its restart, as a HID reader
    // under a new node.
    env.Subscribe(this, [this](const DeviceEvent& event) {
        if (event.What == DeviceEvent::Change::Arrived && event.Type == kInterfaceUsbHid &&
            event.Name != env.ReaderName(1))
            env.Plug(1);
    });
    Soon([this] { env.Plug(0); });
    ASSERT_EQ(Run({"watch", "--apply", file, "--count", "2"}), kExitOk) << err.str();
    env.Unsubscribe(this);
    const auto written = [](const std::string& line) {
        return line.find(kWrittenText) != std::string::npos;
    };
    EXPECT_EQ(std::ranges::count_if(Lines(), written), 2) << out.str();
    EXPECT_EQ(keyboard.ProductId(), 0x4206);
    EXPECT_FALSE(other.Frames().empty());
}

TEST_F(Watch, ASignalEndsItOnceTheReaderInTheMiddleOfAWriteIsDone) {
    SimulatedReader& reader = Attach("usb-hid,arrive=0");
    Attach("usb-hid,arrive=0");
    // The worker is held at its first pause after the reader took a set frame: in the middle
    // of its configuration.
    std::promise<void> reached;
    std::promise<void> release;
    onWait = [&, held = false](const WorkerPause&, int) mutable {
        if (!held && SentSettings(reader)) {
            held = true;
            reached.set_value();
            release.get_future().wait();
        }
    };
    std::thread signaller([&] {
        reached.get_future().wait();
        std::raise(SIGTERM);
        // Stopping drops the monitor: no reader arriving from now on is taken.
        while (env.IsMonitored())
            std::this_thread::yield();
        env.Plug(1);
        release.set_value();
    });
    Soon([this] { env.Plug(0); });
    EXPECT_EQ(Run({"watch", "--apply", ConfigFile(), "--json"}), kExitOk);
    signaller.join();
    // One JSON object a line.
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           R"({"device":"usb-hid:0","event":"arrived","name":"/sim/hidraw0",)"
                           R"("port":"9-1","serial":"SN00000001"})",
                           R"({"changed":true,"device":"usb-hid:0","error":null,"event":"result",)"
                           R"("firmware":"V4.30","message":")" +
                               std::string(kWrittenText) +
                               R"(","name":"/sim/hidraw0","port":"9-1","result":"ok",)"
                               R"("serial":"SN00000001"})"}));
    EXPECT_EQ(reader.Settings().TerminalType, '5');
    EXPECT_TRUE(env.Reader(1).Frames().empty());
    EXPECT_EQ(err.str(),
              "Stopping: 1 reader(s) at work; those in the middle of a write finish it ...\n");
}

}  // namespace
}  // namespace ravelfin::cli
