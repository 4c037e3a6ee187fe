#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <linux/input.h>
#include <linux/uhid.h>
#include <sys/socket.h>
#include <unistd.h>

#include "sim/simulated_reader.h"
#include "sim/uhid_reader.h"
#include "sim/uhid_reader_server.h"
#include "sim_test_support.h"
#include "transport/report_descriptor.h"

namespace ravelfin {
namespace {

std::size_t FeatureLengthOf(const std::uint8_t* descriptor, std::size_t size) {
    ReportDescriptor parsed;
    EXPECT_TRUE(parsed.Parse(std::span(descriptor, size)));
    EXPECT_FALSE(parsed.UsesReportIds());
    return parsed.FeatureReportLength();
}

TEST(UhidReader, TheDescriptorDeclaresTheFeatureReportBesideCardDataAndTheBootKeyboard) {
    for (const bool keyboard : {false, true}) {
        for (const std::size_t length : {9u, 33u, 65u, 300u}) {
            const Bytes descriptor = ReaderReportDescriptor(keyboard, length);
            EXPECT_EQ(FeatureLengthOf(descriptor.data(), descriptor.size()), length)
                << "keyboard " << keyboard << ", length " << length;
        }
    }
}

/// A reader on one end of a socket pair that carries uhid events the way /dev/uhid does;
/// the test plays the kernel on the other end.
struct KernelSide {
    explicit KernelSide(const char* optionText) : reader(Options(optionText)) {
        int ends[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends), 0);
        kernel = ends[0];
        device =
            std::make_unique<UhidReader>(reader, ends[1], "place/0", std::chrono::milliseconds(0));
    }
    ~KernelSide() {
        device.reset();
        ::close(kernel);
    }
    static SimulatedReaderOptions Options(const char* optionText) {
        SimulatedReaderOptions options;
        std::string error;
        EXPECT_TRUE(ParseSimulatedReaderOptions(optionText, options, error)) << error;
        return options;
    }
    /// The event the device wrote last; the device writes before it returns, so one that is
    /// not there now never comes.
    uhid_event Next() {
        uhid_event event{};
        EXPECT_EQ(::recv(kernel, &event, sizeof event, MSG_DONTWAIT),
                  static_cast<ssize_t>(sizeof event));
        return event;
    }
    /// Sends `event` to the device, lets it answer and returns the answer.
    uhid_event Ask(const uhid_event& event) {
        EXPECT_EQ(::write(kernel, &event, sizeof event), static_cast<ssize_t>(sizeof event));
        EXPECT_TRUE(device->HandleEvent());
        return Next();
    }
    uhid_event SetFeature(const Bytes& frame, std::size_t length = 33) {
        uhid_event event{};
        event.type = UHID_SET_REPORT;
        event.u.set_report.id = ++id;
        event.u.set_report.rtype = UHID_FEATURE_REPORT;
        event.u.set_report.size = static_cast<std::uint16_t>(length);
        std::memcpy(event.u.set_report.data + 1, frame.data(), frame.size());
        return Ask(event);
    }
    uhid_event GetReport(std::uint8_t type = UHID_FEATURE_REPORT) {
        uhid_event event{};
        event.type = UHID_GET_REPORT;
        event.u.get_report.id = ++id;
        event.u.get_report.rtype = type;
        return Ask(event);
    }
    void Tell(std::uint32_t type) {
        uhid_event event{};
        event.type = type;
        EXPECT_EQ(::write(kernel, &event, sizeof event), static_cast<ssize_t>(sizeof event));
        EXPECT_TRUE(device->HandleEvent());
    }

    SimulatedReader reader;
    int kernel = -1;
    std::unique_ptr<UhidReader> device;
    std::uint32_t id = 40;
};

TEST(UhidReader, IsMadeAsTheReaderOnUsbAndAnswersInWholeFeatureReports) {
    KernelSide side("usb-hid,pid=4203,firmware=V3.90");
    std::string error;
    ASSERT_TRUE(side.device->Create(error)) << error;
    const uhid_event create = side.Next();
    ASSERT_EQ(create.type, UHID_CREATE2);
    EXPECT_EQ(create.u.create2.bus, BUS_USB);
    EXPECT_EQ(create.u.create2.vendor, 0x3A1Du);
    EXPECT_EQ(create.u.create2.product, 0x4203u);
    EXPECT_STREQ(reinterpret_cast<const char*>(create.u.create2.uniq), "SN00000001");
    EXPECT_STREQ(reinterpret_cast<const char*>(create.u.create2.phys), "place/0");
    EXPECT_EQ(FeatureLengthOf(create.u.create2.rd_data, create.u.create2.rd_size), 33u);

    const uhid_event taken = side.SetFeature(ReadFrame(kFuncReadVersion));
    EXPECT_EQ(taken.type, UHID_SET_REPORT_REPLY);
    EXPECT_EQ(taken.u.set_report_reply.id, side.id);
    EXPECT_EQ(taken.u.set_report_reply.err, 0);

    const uhid_event answer = side.GetReport();
    ASSERT_EQ(answer.type, UHID_GET_REPORT_REPLY);
    EXPECT_EQ(answer.u.get_report_reply.id, side.id);
    EXPECT_EQ(answer.u.get_report_reply.err, 0);
    ASSERT_EQ(answer.u.get_report_reply.size, 33);
    EXPECT_EQ(answer.u.get_report_reply.data[0], 0);  // report id
    const std::string payload(reinterpret_cast<const char*>(answer.u.get_report_reply.data + 1),
                              32);
    EXPECT_NE(payload.find("V3.90"), std::string::npos) << payload;

    // Nothing more to say: the empty NAK report.
    const uhid_event empty = side.GetReport();
    ASSERT_EQ(empty.u.get_report_reply.size, 33);
    EXPECT_EQ(empty.u.get_report_reply.data[1], kNak);
    EXPECT_EQ(std::count(empty.u.get_report_reply.data + 2, empty.u.get_report_reply.data + 33, 0),
              31);
}

TEST(UhidReader, RefusesWhatIsNotAWholeFeatureReportWithReportIdZero) {
    KernelSide side("usb-hid");
    std::string error;
    ASSERT_TRUE(side.device->Create(error)) << error;
    side.Next();
    EXPECT_NE(side.SetFeature(ReadFrame(kFuncReadVersion), 32).u.set_report_reply.err, 0);
    EXPECT_NE(side.SetFeature(ReadFrame(kFuncReadVersion), 34).u.set_report_reply.err, 0);
    EXPECT_TRUE(side.reader.Frames().empty());
    EXPECT_NE(side.GetReport(UHID_INPUT_REPORT).u.get_report_reply.err, 0);
    EXPECT_NE(side.GetReport(UHID_OUTPUT_REPORT).u.get_report_reply.err, 0);
}

// The reader restarts once the host lets go of it, or, for a keyboard that the console keeps
// open, once its answer is said and the host asks for more.
TEST(UhidReader, ANewHidFormatRemakesTheDeviceAsTheOtherKindOfReader) {
    const struct {
        const char* optionText;
        Bytes change;
        bool hostLetsGo;
        std::uint32_t productAfter;
    } cases[] = {
        {"usb-hid,pid=4203", SetFrame({0x23, 1, '8'}), true, 0x4103},
        {"usb-hid-kb,pid=4105", SetFrame({0x23, 1, '0'}), false, 0x4205},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.optionText);
        KernelSide side(c.optionText);
        std::string error;
        ASSERT_TRUE(side.device->Create(error)) << error;
        side.Next();
        side.Tell(UHID_OPEN);
        ASSERT_EQ(side.SetFeature(c.change).u.set_report_reply.err, 0);
        EXPECT_EQ(side.GetReport().u.get_report_reply.data[1], kAck);
        EXPECT_TRUE(side.device->IsPresent());  // the answer may go on
        if (c.hostLetsGo)
            side.Tell(UHID_CLOSE);
        else
            EXPECT_EQ(side.GetReport().u.get_report_reply.data[1], kNak);
        EXPECT_EQ(side.Next().type, UHID_DESTROY);
        EXPECT_FALSE(side.device->IsPresent());

        const auto now = UhidReader::Clock::now();
        EXPECT_EQ(side.device->MsUntilReturn(now), 0);
        ASSERT_TRUE(side.device->ReturnIfDue(now, error)) << error;
        const uhid_event again = side.Next();
        ASSERT_EQ(again.type, UHID_CREATE2);
        EXPECT_EQ(again.u.create2.product, c.productAfter);
        EXPECT_EQ(FeatureLengthOf(again.u.create2.rd_data, again.u.create2.rd_size), 33u);
        EXPECT_EQ(side.device->MsUntilReturn(now), -1);
        EXPECT_FALSE(side.device->ReturnIfDue(now, error));

        // Without a change due, neither restarts it.
        side.SetFeature(ReadFrame(kFuncReadVersion));
        side.GetReport();
        side.GetReport();
        side.Tell(UHID_CLOSE);
        EXPECT_TRUE(side.device->IsPresent());
    }
}

TEST(UhidReader, AReaderPulledOutMidAnswerDeliversHalfThenIsGone) {
    KernelSide side("usb-hid,fault=unplug");
    std::string error;
    ASSERT_TRUE(side.device->Create(error)) << error;
    side.Next();
    side.SetFeature(ReadFrame(kFuncReadAll));
    EXPECT_EQ(side.GetReport().u.get_report_reply.err, 0);
    uhid_event last{};
    for (int i = 0; i < 40 && last.u.get_report_reply.err == 0; ++i)
        last = side.GetReport();
    EXPECT_NE(last.u.get_report_reply.err, 0);
    EXPECT_EQ(side.Next().type, UHID_DESTROY);
    EXPECT_FALSE(side.device->IsPresent());
    EXPECT_EQ(side.device->MsUntilReturn(UhidReader::Clock::now()), -1);

    // A request the kernel sent before the device went is dropped, and the channel serves on.
    uhid_event late{};
    late.type = UHID_GET_REPORT;
    late.u.get_report.rtype = UHID_FEATURE_REPORT;
    ASSERT_EQ(::write(side.kernel, &late, sizeof late), static_cast<ssize_t>(sizeof late));
    EXPECT_TRUE(side.device->HandleEvent());
    uhid_event none{};
    EXPECT_LT(::recv(side.kernel, &none, sizeof none, MSG_DONTWAIT), 0);
}

TEST(UhidReaderServer, RefusesWhatUhidCannotShowAndSaysHowToGetUhid) {
    const struct {
        const char* optionText;
        const char* error;
    } refused[] = {
        {"rs232", "usb-hid or usb-hid-kb"},
        {"usb-rs232", "usb-hid or usb-hid-kb"},
        {"usb-hid,arrive=100", "arrive="},
        {"usb-hid-kb,leave=100", "leave="},
        {"usb-hid,fault=busy", "fault=busy"},
        {"usb-hid,load=/nonexistent.cfs2", "/nonexistent.cfs2"},
    };
    for (const auto& c : refused) {
        UhidReaderServer server;
        std::string error;
        EXPECT_FALSE(server.Add(c.optionText, error)) << c.optionText;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.optionText << ": " << error;
    }
    UhidReaderServer server;
    std::string error;
    ASSERT_TRUE(server.Add("usb-hid-kb,firmware=V3.90", error)) << error;
    EXPECT_FALSE(server.Start(error, "/nonexistent/uhid"));
    EXPECT_NE(error.find("modprobe uhid"), std::string::npos) << error;
}

}  // namespace
}  // namespace ravelfin
