#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "sim/usb_serial_gadget.h"

namespace ravelfin {
namespace {

namespace fs = std::filesystem;

/// Every refusal comes before anything is made: the gadgets' folder is left as it was.
TEST(UsbSerialGadget, SaysWhatIsMissingAndMakesNothing) {
    const fs::path root =
        fs::path(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") / "usb-serial-gadget-test";
    const struct {
        bool gadgets;
        std::vector<std::string> controllers;
        std::vector<std::string> taken;  // bound to gadgets of others
        const char* error;
    } cases[] = {
        {false, {"dummy_udc.0"}, {}, "modprobe libcomposite"},
        {true, {}, {}, "modprobe dummy_hcd"},
        {true, {"dummy_udc.0"}, {"dummy_udc.0"}, "in use by another gadget"},
    };
    for (const auto& c : cases) {
        fs::remove_all(root);
        fs::create_directories(root / "config");
        fs::create_directories(root / "udc");
        if (c.gadgets)
            fs::create_directories(root / "config/usb_gadget");
        for (const std::string& controller : c.controllers)
            fs::create_directories(root / "udc" / controller);
        int other = 0;
        for (const std::string& controller : c.taken) {
            const fs::path gadget =
                root / "config/usb_gadget" / ("other" + std::to_string(other++));
            fs::create_directories(gadget);
            std::ofstream(gadget / "UDC") << controller << '\n';
        }
        const auto before = std::distance(fs::recursive_directory_iterator(root),
                                          fs::recursive_directory_iterator());
        UsbSerialGadget gadget((root / "config").string(), (root / "udc").string());
        std::string error;
        EXPECT_FALSE(gadget.Create("SN00000001", error)) << c.error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_TRUE(gadget.GadgetTerminal().empty());
        EXPECT_EQ(std::distance(fs::recursive_directory_iterator(root),
                                fs::recursive_directory_iterator()),
                  before)
            << c.error;
    }
    fs::remove_all(root);
}

}  // namespace
}  // namespace ravelfin
