#include "sim/usb_serial_gadget.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace ravelfin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kVendorId = "0x5e1c";
constexpr const char* kProductId = "0x0d42";

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text << '\n';
    out.flush();
    return static_cast<bool>(out);
}

std::string ReadLine(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

bool MakeFolder(const std::string& path, std::string& error) {
    if (::mkdir(path.c_str(), 0755) == 0)
        return true;
    error = errno == EACCES || errno == EPERM
                ? "no permission to make a USB gadget: run simulate --usb-serial as root"
                : "cannot make " + path + ": " + std::strerror(errno);
    return false;
}

}  // namespace

UsbSerialGadget::UsbSerialGadget(std::string configfs, std::string controllers)
    : configfs_(std::move(configfs)), controllers_(std::move(controllers)) {}

UsbSerialGadget::~UsbSerialGadget() {
    Remove();
}

bool UsbSerialGadget::Create(const std::string& serialNumber, std::string& error) {
    const std::string gadgets = configfs_ + "/usb_gadget";
    std::error_code fsError;
    if (!fs::is_directory(gadgets, fsError)) {
        error = "no USB gadgets in " + configfs_ +
                ": load libcomposite (modprobe libcomposite) and mount configfs there";
        return false;
    }
    std::set<std::string> taken;
    for (const auto& other : fs::directory_iterator(gadgets, fsError))
        taken.insert(ReadLine(other.path() / "UDC"));
    std::set<std::string> free;  // sorted: the first is taken
    bool any = false;
    for (const auto& controller : fs::directory_iterator(controllers_, fsError)) {
        any = true;
        if (taken.count(controller.path().filename().string()) == 0)
            free.insert(controller.path().filename().string());
    }
    if (free.empty()) {
        error = any ? "every USB device controller is in use by another gadget: remove one, or "
                      "load dummy_hcd with more (modprobe dummy_hcd num=2)"
                    : "no USB device controller: load dummy_hcd (modprobe dummy_hcd)";
        return false;
    }

    const std::string gadget = gadgets + "/ravelfin-" + std::to_string(::getpid());
    if (!MakeFolder(gadget, error))
        return false;
    gadget_ = gadget;
    serialNumber_ = serialNumber;
    const std::string strings = gadget + "/strings/0x409";
    const std::string config = gadget + "/configs/c.1";
    const std::string function = gadget + "/functions/acm.usb0";
    const bool made = WriteText(gadget + "/idVendor", kVendorId) &&
                      WriteText(gadget + "/idProduct", kProductId) && MakeFolder(strings, error) &&
                      WriteText(strings + "/manufacturer", "Orvane") &&
                      WriteText(strings + "/product", "Ravelfin MSR") &&
                      WriteText(strings + "/serialnumber", serialNumber) &&
                      MakeFolder(config, error) && MakeFolder(config + "/strings/0x409", error) &&
                      WriteText(config + "/strings/0x409/configuration", "ACM") &&
                      MakeFolder(function, error) &&
                      ::symlink(function.c_str(), (config + "/acm.usb0").c_str()) == 0 &&
                      WriteText(gadget + "/UDC", *free.begin());
    if (!made) {
        if (error.empty())
            error = "cannot set the USB gadget up in " + gadget + ": " + std::strerror(errno);
        Remove();
        return false;
    }
    const std::string port = ReadLine(function + "/port_num");
    if (port.empty()) {
        error = "the USB gadget's serial function has no port (is usb_f_acm there?)";
        Remove();
        return false;
    }
    gadgetTerminal_ = "/dev/ttyGS" + port;
    return true;
}

std::string UsbSerialGadget::FindHostPort(int waitMs) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        std::error_code error;
        for (const auto& tty : fs::directory_iterator("/sys/class/tty", error)) {
            const fs::path interface = fs::canonical(tty.path() / "device", error);
            if (error) {
                error.clear();
                continue;
            }
            const fs::path usb = interface.parent_path();
            if (ReadLine(usb / "idVendor") == std::string(kVendorId).substr(2) &&
                ReadLine(usb / "idProduct") == std::string(kProductId).substr(2) &&
                ReadLine(usb / "serial") == serialNumber_) {
                return "/dev/" + tty.path().filename().string();
            }
        }
        if (std::chrono::steady_clock::now() >= until)
            return "";
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void UsbSerialGadget::Remove() {
    if (gadget_.empty())
        return;
    // The reverse of making it; steps that were never reached fail harmlessly.
    WriteText(gadget_ + "/UDC", "");
    ::unlink((gadget_ + "/configs/c.1/acm.usb0").c_str());
    for (const char* folder : {"/configs/c.1/strings/0x409", "/configs/c.1", "/functions/acm.usb0",
                               "/strings/0x409", ""}) {
        ::rmdir((gadget_ + folder).c_str());
    }
    gadget_.clear();
    gadgetTerminal_.clear();
}

}  // namespace ravelfin
