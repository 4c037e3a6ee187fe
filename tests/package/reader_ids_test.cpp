// The USB ids that the installed metadata names are the ones the program accepts as readers:
// software centres offer the program for exactly these devices, and udev opens exactly these
// to the user at the computer.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "transport/device_discovery.h"

namespace ravelfin {
namespace {

using UsbId = std::pair<unsigned, unsigned>;

std::string ReadFile(const std::string& name) {
    std::ifstream in(std::string(RAVELFIN_LINUX_RESOURCES) + "/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Hex4(unsigned value, bool upper) {
    char text[8];
    std::snprintf(text, sizeof text, upper ? "%04X" : "%04x", value);
    return text;
}

TEST(PackageIds, MetainfoModaliasesAreExactlyTheReaders) {
    std::set<UsbId> expected = {{kUsbSerialVendorId, kUsbSerialProductId}};
    for (unsigned product = 0; product <= 0xFFFF; ++product) {
        if (HidReaderType(kReaderVendorId, static_cast<std::uint16_t>(product)) != 0)
            expected.insert({kReaderVendorId, product});
    }

    const std::string metainfo = ReadFile("com.orvane.RavelfinConfig.metainfo.xml.in");
    const std::regex modalias("<modalias>usb:v([0-9A-F]{4})p([0-9A-F]{4})d\\*</modalias>");
    std::set<UsbId> listed;
    for (auto it = std::sregex_iterator(metainfo.begin(), metainfo.end(), modalias);
         it != std::sregex_iterator(); ++it) {
        listed.insert({std::stoul((*it)[1], nullptr, 16), std::stoul((*it)[2], nullptr, 16)});
    }
    EXPECT_EQ(listed, expected);
}

TEST(PackageIds, UdevRuleOpensReadersToTheUserAndKeepsModemManagerAway) {
    std::istringstream rules(ReadFile("70-ravelfin.rules"));
    const std::string vendor = "ATTRS{idVendor}==\"" + Hex4(kReaderVendorId, false) + "\"";
    const std::string serial = "ATTRS{idVendor}==\"" + Hex4(kUsbSerialVendorId, false) +
                               "\", ATTRS{idProduct}==\"" + Hex4(kUsbSerialProductId, false) + "\"";
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
