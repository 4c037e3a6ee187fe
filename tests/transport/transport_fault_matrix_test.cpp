#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "protocol/settings_parser.h"
#include "transport/transport_factory.h"
#include "transport_test_support.h"

namespace ravelfin {
namespace {

enum class Operation { ReadAll, Version, Set };

/// What one operation gives under one fault: the exchange result, whether the read-all
/// answer parses, and the firmware text.
struct Expected {
    bool exchanged;
    bool parses;
    const char* version;
};

struct Row {
    SimulatedFault fault;
    Expected hid[3];  // ReadAll, Version, Set
    Expected serial[3];
};

// A HID read succeeds whatever the reader answers (even the empty NAK report); a serial
// exchange needs the leading ACK. A version text must end at ETX. The answer's LRC is looked
// at by the settings parser only.
constexpr Expected kOk{true, true, "V4.30"};
constexpr Expected kFail{false, false, ""};
const Row kRows[] = {
    {SimulatedFault::None, {kOk, kOk, kOk}, {kOk, kOk, kOk}},
    {SimulatedFault::NoAnswer,
     {{true, false, ""}, {false, false, ""}, kFail},
     {kFail, kFail, kFail}},
    {SimulatedFault::Nak, {{true, false, ""}, {false, false, ""}, kFail}, {kFail, kFail, kFail}},
    {SimulatedFault::WrongLrc, {{true, false, ""}, kOk, kOk}, {{true, false, ""}, kOk, kOk}},
    {SimulatedFault::CutShort,
     {{true, false, ""}, kFail, kFail},
     {{true, false, ""}, kFail, kFail}},
    {SimulatedFault::UnpluggedMidAnswer,
     {{true, false, ""}, kFail, kFail},
     {{true, false, ""}, kFail, kFail}},
    {SimulatedFault::SlowAnswer, {kOk, kOk, kOk}, {kOk, kOk, kOk}},
    {SimulatedFault::PortBusy, {kFail, kFail, kFail}, {kFail, kFail, kFail}},
};

TEST(TransportFaultMatrix, EveryFaultGivesItsResultOnBothTransports) {
    for (std::uint32_t type : {kInterfaceUsbHid, kInterfaceRs232}) {
        for (const Row& row : kRows) {
            for (Operation operation : {Operation::ReadAll, Operation::Version, Operation::Set}) {
                const Expected& expected =
                    (type == kInterfaceUsbHid ? row.hid : row.serial)[static_cast<int>(operation)];
                SCOPED_TRACE("type " + std::to_string(type) + ", fault " +
                             std::to_string(static_cast<int>(row.fault)) + ", operation " +
                             std::to_string(static_cast<int>(operation)));
                SimulatedEnvironment environment;
                AttachReader(environment, type);
                SimulatedReader& reader = environment.Reader(0);
                const auto transport = MakeTransport(static_cast<int>(type), environment);
                reader.SetFault(row.fault);
                const bool opened = transport->OpenByIndex(0);
                EXPECT_EQ(opened, row.fault != SimulatedFault::PortBusy);
                if (!opened) {
                    EXPECT_EQ(transport->LastOpenError(), PortError::Busy);
                }

                Bytes answer(1024, 0xEE);
                std::size_t length = 0;
                bool exchanged = false;
                std::string version;
                switch (operation) {
                    case Operation::ReadAll:
                        exchanged = transport->Exchange(CommandFrame(kFuncReadAll), answer, length);
                        break;
                    case Operation::Version:
                        exchanged = transport->GetFirmwareVersion(version);
                        break;
                    case Operation::Set:
                        exchanged = transport->Exchange(SetFrame({0x10, 1, '5'}), answer, length);
                        break;
                }
                EXPECT_EQ(exchanged, expected.exchanged);
                EXPECT_LE(length, answer.size());
                if (operation == Operation::ReadAll) {
                    ReaderSettings record(type);
                    EXPECT_EQ(ParseSettings(std::span(answer).first(length), record),
                              expected.parses);
                }
                if (operation == Operation::Version) {
                    EXPECT_EQ(version, expected.version);
                }
                transport->Close();
            }
        }
    }
}

}  // namespace
}  // namespace ravelfin
