// The USB ids that the installed udev rule names are the ones the program accepts as readers:
// udev opens exactly these to the user at the computer.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "transport/device_discovery.h"

namespace ravelfin {
namespace {

std::string ReadFile(const std::string& name) {
    std::ifstream in(std::string(RAVELFIN_LINUX_RESOURCES) + "/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

TEST(PackageIds, UdevRuleOpensReadersToTheUserAndKeepsModemManagerAway) {
    std::istringstream rules(ReadFile("70-ravelfin.rules"));
    const std::string vendor = "ATTRS{idVendor}==\"" + Hex4(kReaderVendorId) + "\"";
    const std::string serial = "ATTRS{idVendor}==\"" + Hex4(kUsbSerialVendorId) +
                               "\", ATTRS{idProduct}==\"" + Hex4(kUsbSerialProductId) + "\"";
    bool hid = false, tty = false;
    for (std::string line; std::getline(rules, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const bool uaccess = line.find("TAG+=\"uaccess\"") != std::string::npos;
        if (line.find("SUBSYSTEM==\"hidraw\"") != std::string::npos &&
            line.find(vendor) != std::string::npos)
            hid = uaccess;
        if (line.find("SUBSYSTEM==\"tty\"") != std::string::npos &&
            line.find(serial) != std::string::npos)
            tty = uaccess && line.find("ENV{ID_MM_DEVICE_IGNORE}=\"1\"") != std::string::npos;
    }
    EXPECT_TRUE(hid) << "no hidraw rule with uaccess for " << vendor;
    EXPECT_TRUE(tty) << "no tty rule with uaccess and ID_MM_DEVICE_IGNORE for " << serial;
}

}  // namespace
}  // namespace ravelfin
