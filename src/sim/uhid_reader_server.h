#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/simulated_reader.h"
#include "sim/uhid_reader.h"

namespace ravelfin {

/// Serves simulated readers as HID devices that the whole system sees, through /dev/uhid,
/// until told to stop; the devices go with the server.
class UhidReaderServer {
  public:
    explicit UhidReaderServer(std::chrono::milliseconds restartTime =
                                  std::chrono::milliseconds(SimulatedReader::kRestartMs));
    ~UhidReaderServer();
    UhidReaderServer(const UhidReaderServer&) = delete;
    UhidReaderServer& operator=(const UhidReaderServer&) = delete;

    /// Adds a reader as `--simulate` writes it ("usb-hid-kb,firmware=V3.90"); only the two
    /// USB HID types are shown this way, without arrive=, leave= or fault=busy. One that
    /// keeps the default serial number gets the next (SN00000001, ...). False with a
    /// one-line `error`; nothing is added then.
    bool Add(const std::string& optionText, std::string& error);
    /// Opens `uhid` once per reader and makes the devices. False with a one-line `error`
    /// that names what is missing and how to get it; no device is left made then.
    bool Start(std::string& error, const std::string& uhid = "/dev/uhid");
    /// Answers the kernel, each reader on a thread of its own, until `stop` becomes true,
    /// looking at it at least every 50 ms; `appeared` is called (one call at a time) with each
    /// device's node (/dev/hidrawN) once it is there, the first ones in the order the readers
    /// were added, again after every restart. False when a
    /// device fails, true when stopped.
    bool Serve(const std::atomic<bool>& stop,
               const std::function<void(const std::string&)>& appeared);

  private:
    struct Served {
        std::unique_ptr<SimulatedReader> Reader;
        std::unique_ptr<UhidReader> Device;
        bool NodeTold = false;
    };

    /// One reader's part of `Serve`, until `stop` or `failed`; false when its device fails.
    /// `tell` is offered each node found, until it takes it (returns true).
    static bool ServeOne(Served& served, const std::atomic<bool>& stop,
                         const std::atomic<bool>& failed,
                         const std::function<bool(const std::string&)>& tell);

    std::chrono::milliseconds restartTime_;
    std::vector<Served> served_;
};

/// The node of the hidraw device whose HID device reports `phys` as where it sits
/// ("/dev/hidraw3"); empty when there is none (yet).
std::string FindHidrawNode(const std::string& phys);

}  // namespace ravelfin
