#include "sim/simulated_environment.h"

#include "sim/simulated_hid_device.h"
#include "sim/simulated_serial_link.h"
#include "transport/device_discovery.h"

namespace ravelfin {

SimulatedEnvironment::SimulatedEnvironment() : pause_(ownPause_) {}

SimulatedEnvironment::SimulatedEnvironment(Pause& pause) : pause_(pause) {}

bool SimulatedEnvironment::AddReader(const SimulatedReaderOptions& options, std::string& error) {
    const std::uint32_t type = options.InterfaceType;
    if (type != kInterfaceRs232 && type != kInterfaceUsbRs232 && type != kInterfaceUsbHidKb &&
        type != kInterfaceUsbHid) {
        error = "a simulated reader must be attached as rs232, usb-rs232, usb-hid-kb or usb-hid";
        return false;
    }
    auto reader = std::make_unique<SimulatedReader>(options);
    if (!options.LoadFile.empty() && !reader->LoadSettings(options.LoadFile)) {
        error = "cannot load the simulated reader's settings from '" + options.LoadFile +
                "' (not a readable cfs2 configuration file)";
        return false;
    }
    if (type == kInterfaceUsbHid || type == kInterfaceUsbHidKb) {
        const std::string path = "/sim/hidraw" + std::to_string(source_.HidInterfaceCount());
        source_.AddHidInterface({path, kReaderVendorId, reader->ProductId()}, reader.get(),
                                options.FeatureReportLength);
    } else if (type == kInterfaceUsbRs232) {
        const std::string name = "/sim/ttyUSB" + std::to_string(source_.SerialPortCount());
        source_.AddSerialPort({name, true, kUsbSerialVendorId, kUsbSerialProductId}, reader.get());
    } else {
        const std::string name = "/sim/ttyS" + std::to_string(source_.SerialPortCount());
        source_.AddSerialPort({name, false, 0, 0}, reader.get());
    }
    readers_.push_back(std::move(reader));
    return true;
}

std::unique_ptr<HidDevice> SimulatedEnvironment::CreateHidDevice() {
    return std::make_unique<SimulatedHidDevice>(source_);
}

std::unique_ptr<SerialLink> SimulatedEnvironment::CreateSerialLink() {
    return std::make_unique<SimulatedSerialLink>(source_);
}

}  // namespace ravelfin
