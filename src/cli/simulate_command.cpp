#include "cli/simulate_command.h"

#include <atomic>
#include <optional>

#include "cli/console.h"
#include "cli/stop_signals.h"
#include "sim/simulated_reader.h"
#include "sim/simulated_reader_options.h"
#include "sim/terminal_reader_server.h"
#include "sim/uhid_reader_server.h"
#include "sim/usb_serial_gadget.h"

namespace ravelfin::cli {

namespace {

std::atomic<bool> stopRequested{false};

/// The serial reader that --pty and --usb-serial serve, from the command's options; nullopt
/// after telling what is wrong, with the exit code in `exitCode`.
std::optional<SimulatedReaderOptions> SerialReaderOptions(const CommandLine& cl, int& exitCode) {
    SimulatedReaderOptions options;
    options.InterfaceType = cl.usbSerial ? kInterfaceUsbRs232 : kInterfaceRs232;
    exitCode = kExitUsage;
    if (cl.interface && cl.usbSerial) {
        PrintError("ravelfin: simulate --interface goes with --pty only");
        return std::nullopt;
    }
    if (cl.interface) {
        if (*cl.interface == "usb-rs232") {
            options.InterfaceType = kInterfaceUsbRs232;
        } else if (*cl.interface != "rs232") {
            PrintError("ravelfin: simulate --interface takes rs232 or usb-rs232");
            return std::nullopt;
        }
    }
    if (cl.firmware) options.Firmware = *cl.firmware;
    if (cl.securityLevel) {
        const std::string& d = *cl.securityLevel;
        if (d.size() != 1 || d[0] < '0' || d[0] > '4') {
            PrintError("ravelfin: --security-level takes one digit from 0 to 4");
            return std::nullopt;
        }
        options.SecurityLevel = d[0];
    }
    if (cl.fault) {
        // The fault names are those of --simulate READER,fault=FAULT.
        SimulatedReaderOptions faulty;
        std::string error;
        // Unplugging and a busy port are faults of the device, not of the reader's answers;
        // a terminal shows neither.
        if (!ParseSimulatedReaderOptions("rs232,fault=" + *cl.fault, faulty, error) ||
            faulty.Fault == SimulatedFault::UnpluggedMidAnswer ||
            faulty.Fault == SimulatedFault::PortBusy) {
            PrintError("ravelfin: simulate --fault takes no-answer, nak, wrong-lrc or cut-short");
            return std::nullopt;
        }
        options.Fault = faulty.Fault;
    }
    return options;
}

int ServeUhid(const CommandLine& cl) {
    UhidReaderServer server;
    std::string error;
    for (const std::string& optionText : cl.uhid) {
        if (!server.Add(optionText, error)) {
            PrintError("ravelfin: simulate --uhid " + optionText + ": " + error);
            return kExitUsage;
        }
    }
    if (!server.Start(error)) {
        PrintError("ravelfin: " + error);
        return kExitFailed;
    }
    const bool served =
        server.Serve(stopRequested, [](const std::string& node) { PrintText(node + "\n"); });
    return served ? kExitOk : kExitFailed;
}

int ServeSerial(const CommandLine& cl) {
    int exitCode = kExitOk;
    const std::optional<SimulatedReaderOptions> options = SerialReaderOptions(cl, exitCode);
    if (!options) return exitCode;
    SimulatedReader reader(*options);
    if (cl.load && !reader.LoadSettings(*cl.load)) {
        PrintError("Failed to load configuration from file.");
        return kExitFailed;
    }
    // The gadget goes after the server has closed its terminal: removing the serial function
    // waits until nobody holds the terminal open.
    UsbSerialGadget gadget;
    TerminalReaderServer server(reader);
    std::string error;
    std::string port;
    if (cl.usbSerial) {
        if (!gadget.Create(options->SerialNumber, error) ||
            !server.Open(gadget.GadgetTerminal(), error)) {
            PrintError("ravelfin: " + error);
            return kExitFailed;
        }
        port = gadget.FindHostPort(10000);
        if (port.empty()) {
            PrintError("ravelfin: the USB serial gadget's port did not appear on this machine "
                       "(is its controller dummy_hcd's?)");
            return kExitFailed;
        }
    } else if (server.Start(error)) {
        port = server.TerminalPath();
    } else {
        PrintError("ravelfin: cannot create a pseudo-terminal: " + error);
        return kExitFailed;
    }
    PrintText(port + "\n");
    return server.Serve(stopRequested) ? kExitOk : kExitFailed;
}

}  // namespace

int RunSimulate(const CommandLine& cl) {
    if (cl.pty + !cl.uhid.empty() + cl.usbSerial != 1) {
        PrintError("ravelfin: simulate needs one of --pty, --uhid TYPE[,OPTIONS] or --usb-serial");
        return kExitUsage;
    }
    // Before anything is made, so that what is made is also taken down after a signal.
    const StopSignals signals([] { stopRequested = true; });
    return cl.uhid.empty() ? ServeSerial(cl) : ServeUhid(cl);
}

}  // namespace ravelfin::cli
