#include "transport/reader_identity.h"

#include <cctype>
#include <string_view>

namespace ravelfin {

namespace {

bool IsDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

/// "1-2", "1-2.4.1": a bus number, a dash, then port numbers joined by dots.
bool IsUsbDeviceName(std::string_view name) {
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || !IsDigits(name.substr(0, dash)))
        return false;
    std::string_view ports = name.substr(dash + 1);
    for (;;) {
        const std::size_t dot = ports.find('.');
        if (!IsDigits(ports.substr(0, dot)))
            return false;
        if (dot == std::string_view::npos)
            return true;
        ports.remove_prefix(dot + 1);
    }
}

}  // namespace

bool ReaderIdentity::SameReader(const ReaderIdentity& other) const {
    if (!IsKnown() || !other.IsKnown())
        return false;
    const bool bothSerials = !SerialNumber.empty() && !other.SerialNumber.empty();
    if (bothSerials && SerialNumber != other.SerialNumber)
        return false;
    if (!PortPath.empty() && !other.PortPath.empty())
        return PortPath == other.PortPath;
    return bothSerials;
}

std::string ReaderIdentity::Describe() const {
    std::string text;
    if (!PortPath.empty())
        text = "port " + PortPath;
    if (!SerialNumber.empty())
        text += (text.empty() ? "serial " : ", serial ") + SerialNumber;
    return text.empty() ? "unknown identity" : text;
}

ReaderIdentity IdentityOf(const HidInterfaceInfo& hid) {
    return ReaderIdentity{hid.PortPath.empty() ? hid.Path : hid.PortPath, hid.SerialNumber};
}

ReaderIdentity IdentityOf(const SerialPortInfo& port) {
    const std::string& place = !port.PortPath.empty()     ? port.PortPath
                               : !port.StableName.empty() ? port.StableName
                                                          : port.Name;
    return ReaderIdentity{place, port.SerialNumber};
}

std::string UsbPortPathOf(const std::string& sysfsPath) {
    std::string found;
    std::string_view rest = sysfsPath;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        if (IsUsbDeviceName(part))
            found = part;
        if (slash == std::string_view::npos)
            break;
        rest.remove_prefix(slash + 1);
    }
    return found;
}

}  // namespace ravelfin
