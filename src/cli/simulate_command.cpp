#include "cli/simulate_command.h"

#include <atomic>
#include <csignal>

#include "cli/console.h"
#include "sim/pty_reader_server.h"
#include "sim/simulated_reader.h"
#include "sim/simulated_reader_options.h"

namespace ravelfin::cli {

namespace {

std::atomic<bool> stopRequested{false};

extern "C" void RequestStop(int) { stopRequested = true; }

}  // namespace

int RunSimulate(const CommandLine& cl) {
    if (!cl.pty) {
        PrintError("ravelfin: simulate needs --pty (the only way to serve a reader so far)");
        return kExitUsage;
    }
    SimulatedReaderOptions options;
    options.InterfaceType = kInterfaceRs232;
    if (cl.interface) {
        if (*cl.interface == "usb-rs232") {
            options.InterfaceType = kInterfaceUsbRs232;
        } else if (*cl.interface != "rs232") {
            PrintError("ravelfin: simulate --interface takes rs232 or usb-rs232");
            return kExitUsage;
        }
    }
    if (cl.firmware) options.Firmware = *cl.firmware;
    if (cl.securityLevel) {
        const std::string& d = *cl.securityLevel;
        if (d.size() != 1 || d[0] < '0' || d[0] > '4') {
            PrintError("ravelfin: --security-level takes one digit from 0 to 4");
            return kExitUsage;
        }
        options.SecurityLevel = d[0];
    }
    if (cl.fault) {
        // The fault names are those of --simulate READER,fault=FAULT.
        SimulatedReaderOptions faulty;
        std::string error;
        // Unplugging and a busy port are faults of the device, not of the reader's answers;
        // a pseudo-terminal shows neither.
        if (!ParseSimulatedReaderOptions("rs232,fault=" + *cl.fault, faulty, error) ||
            faulty.Fault == SimulatedFault::UnpluggedMidAnswer ||
            faulty.Fault == SimulatedFault::PortBusy) {
            PrintError("ravelfin: simulate --fault takes no-answer, nak, wrong-lrc or cut-short");
            return kExitUsage;
        }
        options.Fault = faulty.Fault;
    }
    SimulatedReader reader(options);
    if (cl.load && !reader.LoadSettings(*cl.load)) {
        PrintError("Failed to load configuration from file.");
        return kExitFailed;
    }
    PtyReaderServer server(reader);
    std::string error;
    if (!server.Start(error)) {
        PrintError("ravelfin: cannot create a pseudo-terminal: " + error);
        return kExitFailed;
    }
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    PrintText(server.TerminalPath() + "\n");
    return server.Serve(stopRequested) ? kExitOk : kExitFailed;
}

}  // namespace ravelfin::cli
