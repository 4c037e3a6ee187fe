#include "sim/simulated_reader_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

namespace ravelfin {

namespace {

struct TypeName {
    std::string_view name;
    std::uint32_t type;
};

constexpr TypeName kTypeNames[] = {
    {"rs232", kInterfaceRs232},
    {"usb-rs232", kInterfaceUsbRs232},
    {"usb-hid-kb", kInterfaceUsbHidKb},
    {"usb-hid", kInterfaceUsbHid},
};

std::vector<std::string> SplitOnComma(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            return parts;
        start = comma + 1;
    }
}

bool ParseHex16(std::string_view text, std::uint16_t& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseMilliseconds(const std::string& text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

struct FaultName {
    std::string_view name;
    SimulatedFault fault;
};

constexpr FaultName kFaultNames[] = {
    {"no-answer", SimulatedFault::NoAnswer},        {"nak", SimulatedFault::Nak},
    {"wrong-lrc", SimulatedFault::WrongLrc},        {"cut-short", SimulatedFault::CutShort},
    {"unplug", SimulatedFault::UnpluggedMidAnswer}, {"busy", SimulatedFault::PortBusy},
};

}  // namespace

std::string NumberedSerialNumber(std::size_t ordinal) {
    const std::string digits = std::to_string(ordinal);
    return "SN" + std::string(8 - std::min<std::size_t>(8, digits.size()), '0') + digits;
}

bool ParseSimulatedReaderOptions(const std::string& optionText, SimulatedReaderOptions& out,
                                 std::string& error) {
    out = SimulatedReaderOptions{};
    const std::vector<std::string> parts = SplitOnComma(optionText);
    bool typeKnown = false;
    for (const TypeName& entry : kTypeNames) {
        if (parts[0] == entry.name) {
            out.InterfaceType = entry.type;
            typeKnown = true;
        }
    }
    if (!typeKnown) {
        error = "unknown simulated reader type '" + parts[0] +
                "' (use rs232, usb-rs232, usb-hid-kb or usb-hid)";
        return false;
    }
    const bool isHid =
        out.InterfaceType == kInterfaceUsbHid || out.InterfaceType == kInterfaceUsbHidKb;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        const std::size_t equals = part.find('=');
        const std::string key = part.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : part.substr(equals + 1);
        if (equals == std::string::npos || value.empty()) {
            error = "simulated reader option '" + part + "' needs a value (KEY=VALUE)";
            return false;
        }
        if (key == "firmware") {
            out.Firmware = value;
        } else if (key == "pid") {
            if (!isHid) {
                error = "pid applies to usb-hid and usb-hid-kb readers only";
                return false;
            }
            if (!ParseHex16(value, out.ProductId) || out.ProductId == 0) {
                error = "pid '" + value + "' is not a hexadecimal product id such as 4206";
                return false;
            }
        } else if (key == "security-level") {
            if (value.size() != 1 || value[0] < '0' || value[0] > '4') {
                error = "security-level '" + value + "' must be one digit from 0 to 4";
                return false;
            }
            out.SecurityLevel = value[0];
        } else if (key == "load") {
            out.LoadFile = value;
        } else if (key == "arrive" || key == "leave") {
            int& ms = key == "arrive" ? out.ArriveAfterMs : out.LeaveAfterMs;
            if (!ParseMilliseconds(value, ms)) {
                error = key + " '" + value + "' is not a number of milliseconds such as 500";
                return false;
            }
        } else if (key == "fault") {
            const auto* found = std::find_if(std::begin(kFaultNames), std::end(kFaultNames),
                                             [&](const FaultName& f) { return f.name == value; });
            if (found == std::end(kFaultNames)) {
                error = "fault '" + value +
                        "' is not no-answer, nak, wrong-lrc, cut-short, unplug or busy";
                return false;
            }
            out.Fault = found->fault;
        } else {
            error = "unknown simulated reader option '" + key +
                    "' (use firmware, pid, security-level, load, arrive, leave or fault)";
            return false;
        }
    }
    if (out.LeaveAfterMs >= 0 && out.LeaveAfterMs < std::max(out.ArriveAfterMs, 0)) {
        error = "leave=" + std::to_string(out.LeaveAfterMs) +
                " comes before arrive=" + std::to_string(out.ArriveAfterMs) +
                "; a reader leaves after it arrives";
        return false;
    }
    return true;
}

}  // namespace ravelfin
