#pragma once

#include <string>

namespace ravelfin {

/// A reader's USB virtual serial port made in software: a configfs USB gadget with vendor
/// 0x5E1C, product 0x0D42 and one CDC ACM function, bound to the first device controller
/// that no gadget uses (dummy_hcd's makes one whose host side is this machine). The gadget
/// side is a terminal (/dev/ttyGSn) to serve the reader on; the host side is the port that
/// programs open (/dev/ttyACMn). Removed by the destructor.
class UsbSerialGadget {
  public:
    /// `configfs` and `controllers`: where configfs and the device controllers' class are.
    explicit UsbSerialGadget(std::string configfs = "/sys/kernel/config",
                             std::string controllers = "/sys/class/udc");
    ~UsbSerialGadget();
    UsbSerialGadget(const UsbSerialGadget&) = delete;
    UsbSerialGadget& operator=(const UsbSerialGadget&) = delete;

    /// Makes the gadget and binds it. False with a one-line `error` that names what is
    /// missing and how to get it (the libcomposite or dummy_hcd module, root); nothing is
    /// left made then.
    bool Create(const std::string& serialNumber, std::string& error);
    /// The gadget side's terminal; empty before `Create`.
    const std::string& GadgetTerminal() const { return gadgetTerminal_; }
    /// The host side's node on this machine, looked for in sysfs for up to `waitMs`; empty
    /// when it did not appear.
    std::string FindHostPort(int waitMs) const;
    /// Unbinds and removes the gadget; harmless when there is none. Blocks while the gadget
    /// terminal is open, in this process too: close it first.
    void Remove();

  private:
    std::string configfs_;
    std::string controllers_;
    std::string gadget_;  // its configfs folder, once made
    std::string serialNumber_;
    std::string gadgetTerminal_;
};

}  // namespace ravelfin
