// Soak run: reader operations on simulated readers, with faults switched on and off at random,
// until the readers have answered the asked number of frames. Prints the exchanges made, the
// operations and how many failed, any device left open, and the resident memory after the
// first 500 exchanges and at the end. Run by scripts/soak.sh, under AddressSanitizer's leak
// checker and without it.
//
// Usage: ravelfin-soak [EXCHANGES] [SEED]

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "connection/connection.h"
#include "flows/boot_loader.h"
#include "flows/factory_defaults.h"
#include "flows/manual_command.h"
#include "flows/quick_clone.h"
#include "flows/send_settings.h"
#include "protocol/interface_type.h"
#include "sim/simulated_environment.h"
#include "transport/transport_factory.h"

namespace ravelfin {
namespace {

class Quiet final : public Messenger, public Pause {
  public:
    void ShowMessage(const std::string&) override {}
    void ShowNotice(const std::string&) override {}
    void Wait(int) override {}
};

/// VmRSS (now) or VmHWM (the peak) from /proc/self/status, in kB.
long StatusKilobytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string name;
    long value = -1;
    while (status >> name) {
        if (name == key + ":") {
            status >> value;
            return value;
        }
    }
    return value;
}

long ResidentKilobytes() {
    return StatusKilobytes("VmRSS");
}

const SimulatedFault kFaults[] = {
    SimulatedFault::NoAnswer,           SimulatedFault::Nak,
    SimulatedFault::WrongLrc,           SimulatedFault::CutShort,
    SimulatedFault::UnpluggedMidAnswer, SimulatedFault::SlowAnswer,
    SimulatedFault::LateAnswer,         SimulatedFault::PortBusy,
};
const char* const kOperations[] = {"connect", "send",        "defaults",    "probe",
                                   "clone",   "raw command", "boot loader", "unplugged"};
constexpr int kOperationCount = static_cast<int>(std::size(kOperations));

/// Runs operation `op` on the reader at index 0 of `type`'s class; true when it succeeded.
bool RunOperation(int op, int type, SimulatedEnvironment& machine, Quiet& quiet,
                  ReaderSettings& record) {
    auto transport = MakeTransport(type, machine);
    const FlowContext context{transport.get(), DeviceAddress(0), quiet, quiet};
    switch (op) {
        case 0: {
            Connection connection(machine, quiet);
            return connection.Connect(type, 0);
        }
        case 1:
            return SendToReader(context, record).Result == kWriteOk;
        case 2:
            return RestoreDefaults(context, record).Reread;
        case 3: {
            Connection connection(machine, quiet);
            return !connection.ProbeDevice(type, 0).empty();
        }
        case 4: {
            QuickClone clone([&](int t) { return MakeTransport(t, machine); }, quiet);
            return clone.ReadSource(type, DeviceAddress(0)) &&
                   clone.CloneTo(type, DeviceAddress(0)) == kWriteOk;
        }
        case 5: {
            ManualCommand page;
            return page.Send("\\x2\\x53\\x10\\x01\\x31\\x3", context, &record) ==
                   ManualCommandResult::kDone;
        }
        default:
            return SetBootLoaderMode(context);
    }
}

bool AnyDeviceOpen(SimulatedEnvironment& machine) {
    SimulatedDeviceSource& devices = machine.Source();
    for (std::size_t i = 0; i < machine.ReaderCount(); ++i) {
        const auto* hid = devices.FindHidInterface(machine.ReaderName(i));
        const auto* port = devices.FindSerialPort(machine.ReaderName(i));
        if ((hid && hid->OpenHandles != 0) || (port && port->Open))
            return true;
    }
    return false;
}

}  // namespace
}  // namespace ravelfin

int main(int argc, char** argv) {
    using namespace ravelfin;
    const long target = argc > 1 ? std::atol(argv[1]) : 10000;
    std::mt19937 rng(argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u);
    Quiet quiet;
    long exchanges = 0;
    long finished = 0;  // exchanges on the machines before the current one
    long startKb = -1;
    long leftOpen = 0;
    long runs[kOperationCount] = {};
    long failed[kOperationCount] = {};
    while (exchanges < target) {
        // A fresh machine now and then: its readers keep every frame they were sent.
        SimulatedEnvironment machine(quiet);
        std::string error;
        for (std::uint32_t type : {kInterfaceUsbHid, kInterfaceUsbRs232}) {
            SimulatedReaderOptions options;
            options.InterfaceType = type;
            machine.AddReader(options, error);
        }
        ReaderSettings record(kInterfaceUsbHid);
        for (int round = 0; round < 200 && exchanges < target; ++round) {
            const std::size_t which = rng() % 2;
            const int type = which == 0 ? kInterfaceUsbHid : kInterfaceUsbRs232;
            SimulatedReader& reader = machine.Reader(which);
            const bool faulty = rng() % 5 < 2;
            if (faulty)
                reader.SetFault(kFaults[rng() % std::size(kFaults)], static_cast<int>(rng() % 3));
            int op = static_cast<int>(rng() % (kOperationCount - 1));
            if (faulty && rng() % 8 == 0) {
                machine.Unplug(which);
                op = kOperationCount - 1;
                RunOperation(static_cast<int>(rng() % (kOperationCount - 1)), type, machine, quiet,
                             record);
                ++failed[op];
            } else if (!RunOperation(op, type, machine, quiet, record)) {
                ++failed[op];
            }
            ++runs[op];
            reader.SetFault(SimulatedFault::None);
            machine.Plug(which);
            reader.Replug();
            if (AnyDeviceOpen(machine))
                ++leftOpen;
            long current = 0;
            for (std::size_t i = 0; i < machine.ReaderCount(); ++i)
                current += static_cast<long>(machine.Reader(i).Frames().size());
            exchanges = finished + current;
            if (startKb < 0 && exchanges >= 500)
                startKb = ResidentKilobytes();
        }
        finished = exchanges;
    }
    std::printf("exchanges: %ld\n", exchanges);
    std::printf("resident memory: %ld kB after 500 exchanges, %ld kB at the end, %ld kB peak\n",
                startKb, ResidentKilobytes(), StatusKilobytes("VmHWM"));
    for (int op = 0; op < kOperationCount; ++op)
        std::printf("  %-12s %6ld runs, %6ld failed\n", kOperations[op], runs[op], failed[op]);
    std::printf("devices left open: %ld\n", leftOpen);
    return leftOpen == 0 ? 0 : 1;
}
