// Every reader operation against every fault a simulated reader or link can show, on both
// link kinds. Each cell checks the operation's result and message, what it promises about
// the record, that no device stays open, and that it gives up after a bounded number of
// pauses. docs/reliability.md shows the same table.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "connection/connection.h"
#include "flows/boot_loader.h"
#include "flows/factory_defaults.h"
#include "flows/flow_messages.h"
#include "flows/manual_command.h"
#include "flows/quick_clone.h"
#include "flows/send_settings.h"
#include "protocol/interface_type.h"
#include "sim/simulated_environment.h"
#include "transport/transport_factory.h"

namespace ravelfin {
namespace {

struct FaultCase {
    const char* name;
    SimulatedFault fault;
    bool unplugBefore;
};

const FaultCase kFaults[] = {
    {"none", SimulatedFault::None, false},
    {"no answer", SimulatedFault::NoAnswer, false},
    {"NAK", SimulatedFault::Nak, false},
    {"wrong LRC", SimulatedFault::WrongLrc, false},
    {"cut short", SimulatedFault::CutShort, false},
    {"unplugged before", SimulatedFault::None, true},
    {"unplugged during", SimulatedFault::UnpluggedMidAnswer, false},
    {"slower than the limit", SimulatedFault::LateAnswer, false},
    {"port held elsewhere", SimulatedFault::PortBusy, false},
};

/// No operation may wait longer than this (simulated time) or this often before it gives up.
constexpr long long kMaxWaitedMs = 60'000;
constexpr std::size_t kMaxWaits = 2'000;

class CellMessenger final : public Messenger {
  public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void ShowNotice(const std::string& text) override { Messages.push_back(text); }
    std::vector<std::string> Messages;
};

/// A pause that records, and ends the whole run when an operation keeps retrying: an endless
/// loop must fail the test rather than hang it.
class BoundedPause final : public Pause {
  public:
    void Wait(int ms) override {
        Waits.push_back(ms);
        if (Waits.size() > 100 * kMaxWaits) {
            std::fprintf(stderr, "FATAL: %s never stops waiting\n", Cell.c_str());
            std::_Exit(1);
        }
    }
    long long Total() const { return std::accumulate(Waits.begin(), Waits.end(), 0LL); }
    std::vector<int> Waits;
    std::string Cell;
};

/// One cell's machine: the reader under test, alone in its device class, and a sound reader
/// on the other link kind as the clone's source.
struct Cell {
    explicit Cell(std::uint32_t type)
        : environment(pause), type(static_cast<int>(type)), record(type) {
        SimulatedReaderOptions options;
        options.InterfaceType = type;
        options.Firmware = "V4.30";
        std::string error;
        EXPECT_TRUE(environment.AddReader(options, error)) << error;
        options.InterfaceType = type == kInterfaceUsbHid ? kInterfaceUsbRs232 : kInterfaceUsbHid;
        EXPECT_TRUE(environment.AddReader(options, error)) << error;
        record.TerminalType = '4';
        record.Track1Prefix = {'P', 0x02};
        record.formulas[0] = {0x21, 0x22};
    }
    SimulatedReader& Reader() { return environment.Reader(0); }
    int SourceType() const {
        return type == kInterfaceUsbHid ? kInterfaceUsbRs232 : kInterfaceUsbHid;
    }
    std::unique_ptr<ReaderTransport> NewTransport() { return MakeTransport(type, environment); }
    FlowContext Context(ReaderTransport* transport) {
        return {transport, DeviceAddress(0), messenger, pause};
    }
    bool AnyDeviceOpen() {
        SimulatedDeviceSource& devices = environment.Source();
        for (std::size_t i = 0; i < environment.ReaderCount(); ++i) {
            const std::string& name = environment.ReaderName(i);
            const auto* hid = devices.FindHidInterface(name);
            const auto* port = devices.FindSerialPort(name);
            if ((hid && hid->OpenHandles != 0) || (port && port->Open))
                return true;
        }
        return false;
    }

    BoundedPause pause;
    SimulatedEnvironment environment;
    CellMessenger messenger;
    int type;
    ReaderSettings record;  // the caller's record, where an operation takes one
};

/// What a cell came to: S the operation's success, F its failure after the exchange, O the
/// device did not open, R (defaults only) the reader restored its defaults but could not be
/// read back, P (version read only) the part of the version text that arrived. The messages
/// and records of the flows that their own tests check are not checked again here.
using Operation = std::function<char(Cell&)>;

char ConnectAndReadAll(Cell& cell) {
    Connection connection(cell.environment, cell.messenger);
    const bool ok = connection.Connect(cell.type, 0);
    EXPECT_TRUE(cell.messenger.Messages.empty());
    if (ok)
        return 'S';
    // Settings never read from the reader must not stay behind as its settings.
    EXPECT_EQ(connection.Settings, nullptr);
    if (connection.InterfaceType == 0)
        return 'O';
    EXPECT_EQ(connection.DeviceIndex, 0);  // the selection stays for the next attempt
    return 'F';
}

char SendFlow(Cell& cell) {
    auto transport = cell.NewTransport();
    transport->FirmwareVersionNumber = 4.3;
    const ReaderSettings before = cell.record;
    const SendOutcome outcome = SendToReader(cell.Context(transport.get()), cell.record);
    ReaderSettings after = cell.record;
    after.FirmwareVersionNumber = before.FirmwareVersionNumber;
    EXPECT_EQ(after, before);  // a send never changes the record
    if (!outcome.Opened)
        return 'O';
    return outcome.Result == kWriteOk ? 'S' : 'F';
}

char WriteGeneral(Cell& cell) {
    // The data-editing frame goes first and is answered soundly; the fault meets the general
    // frame. A port held by another program is held from the start.
    const SimulatedFault fault = cell.Reader().Fault();
    if (fault != SimulatedFault::PortBusy)
        cell.Reader().SetFault(fault, 1);
    return SendFlow(cell);
}

char WriteDataEdit(Cell& cell) {
    const char letter = SendFlow(cell);
    // A failed data-editing frame stops the send before the general frame.
    if (letter == 'F') {
        EXPECT_EQ(cell.Reader().Frames().size(), 1u);
    }
    return letter;
}

char FactoryDefaults(Cell& cell) {
    auto transport = cell.NewTransport();
    const DefaultsOutcome outcome = RestoreDefaults(cell.Context(transport.get()), cell.record);
    if (cell.Reader().Frames().empty())
        return 'O';
    return outcome.Reread ? 'S' : outcome.Restored ? 'R' : 'F';
}

char VersionRead(Cell& cell) {
    Connection connection(cell.environment, cell.messenger);
    const std::string text = connection.ProbeDevice(cell.type, 0);
    EXPECT_TRUE(cell.messenger.Messages.empty());
    EXPECT_EQ(connection.Settings, nullptr);  // a probe reads no settings
    if (connection.InterfaceType == 0) {
        EXPECT_EQ(text, "");
        return 'O';
    }
    // An answer cut short keeps the text it brought.
    EXPECT_EQ(std::string("V4.30").rfind(text, 0), 0u) << text;
    return text.empty() ? 'F' : text == "V4.30" ? 'S' : 'P';
}

QuickClone MakeClone(Cell& cell) {
    return QuickClone([&cell](int type) { return MakeTransport(type, cell.environment); },
                      cell.messenger);
}

char CloneRead(Cell& cell) {
    QuickClone clone = MakeClone(cell);
    const bool ok = clone.ReadSource(cell.type, DeviceAddress(0));
    const auto& messages = cell.messenger.Messages;
    if (messages == std::vector<std::string>{kSourceOpenFailedText})
        return 'O';
    EXPECT_EQ(messages, std::vector<std::string>{ok ? kSourceReadText : kSourceReadFailedText});
    // A failed read leaves no half-read source to clone from.
    EXPECT_EQ(clone.Source() != nullptr, ok);
    return ok ? 'S' : 'F';
}

char CloneWrite(Cell& cell) {
    QuickClone clone = MakeClone(cell);
    const SimulatedFault fault = cell.Reader().Fault();
    const bool unplugged = !cell.Reader().IsPlugged();
    cell.Reader().SetFault(SimulatedFault::None);
    cell.environment.Plug(0);
    EXPECT_TRUE(clone.ReadSource(cell.SourceType(), DeviceAddress(0)));
    cell.messenger.Messages.clear();
    const ReaderSettings source = *clone.Source();
    // The target's version is read soundly; the fault meets the settings frame.
    cell.Reader().SetFault(fault, 1);
    if (unplugged)
        cell.Reader().Unplug();

    const int result = clone.CloneTo(cell.type, DeviceAddress(0));
    EXPECT_EQ(*clone.Source(), source);  // the source record survives any clone
    const auto& messages = cell.messenger.Messages;
    if (messages == std::vector<std::string>{kTargetOpenFailedText})
        return 'O';
    EXPECT_EQ(messages,
              std::vector<std::string>{result == kWriteOk ? kClonedText : kCloneFailedText});
    return result == kWriteOk ? 'S' : 'F';
}

char RawCommand(Cell& cell) {
    ManualCommand page;
    auto transport = cell.NewTransport();
    const ReaderSettings before = cell.record;
    const ManualCommandResult result =
        page.Send("\\x2\\x53\\x10\\x01\\x31\\x3", cell.Context(transport.get()), &cell.record);
    // An accepted set command reads the reader back into the record, or leaves the record as
    // it was when that read fails; any other result leaves it as it was.
    if (result != ManualCommandResult::kDone) {
        EXPECT_EQ(cell.record, before);
        return result == ManualCommandResult::kOpenFailed ? 'O' : 'F';
    }
    EXPECT_TRUE(cell.record == before || cell.record == cell.Reader().Settings());
    return cell.record.TerminalType == '1' ? 'S' : 'R';
}

char BootLoader(Cell& cell) {
    auto transport = cell.NewTransport();
    const bool ok = SetBootLoaderMode(cell.Context(transport.get()));
    if (cell.Reader().Frames().empty())
        return 'O';
    if (ok) {
        EXPECT_TRUE(cell.Reader().InBootLoader());
    }
    return ok ? 'S' : 'F';
}

struct OperationRow {
    const char* name;
    Operation run;
    // One letter per fault of kFaults, for HID feature reports and for serial.
    const char* hid;
    const char* serial;
};

const OperationRow kOperations[] = {
    {"connect and read all", ConnectAndReadAll, "SFFFFOFFO", "SFFFFOFFO"},
    {"write general", WriteGeneral, "SFFSFOFFO", "SFFSFOFFO"},
    {"write data editing", WriteDataEdit, "SFFSFOFFO", "SFFSFOFFO"},
    {"factory defaults", FactoryDefaults, "SFFRFOFFO", "SFFRFOFFO"},
    {"version read", VersionRead, "SFFSPOPFO", "SFFSFOFFO"},
    {"clone read", CloneRead, "SFFFFOFFO", "SFFFFOFFO"},
    {"clone write", CloneWrite, "SFFSFOFFO", "SFFSFOFFO"},
    {"raw command", RawCommand, "SFFRFOFFO", "SFFRFOFFO"},
    {"boot loader", BootLoader, "SFFSFOFFO", "SFFSFOFFO"},
};

TEST(FaultMatrix, EveryOperationMeetsEveryFaultOnBothLinks) {
    for (const OperationRow& operation : kOperations) {
        for (std::uint32_t type : {kInterfaceUsbHid, kInterfaceUsbRs232}) {
            const bool hid = type == kInterfaceUsbHid;
            for (std::size_t f = 0; f < std::size(kFaults); ++f) {
                const FaultCase& fault = kFaults[f];
                const std::string name =
                    std::string(operation.name) + (hid ? ", HID, " : ", serial, ") + fault.name;
                SCOPED_TRACE(name);
                Cell cell(type);
                cell.pause.Cell = name;
                cell.Reader().SetFault(fault.fault);
                if (fault.unplugBefore)
                    cell.Reader().Unplug();

                EXPECT_EQ(operation.run(cell), (hid ? operation.hid : operation.serial)[f]);
                EXPECT_FALSE(cell.AnyDeviceOpen()) << "a device was left open";
                EXPECT_LE(cell.pause.Waits.size(), kMaxWaits);
                EXPECT_LE(cell.pause.Total(), kMaxWaitedMs);
            }
        }
    }
}

}  // namespace
}  // namespace ravelfin
