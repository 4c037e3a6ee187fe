#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "protocol/bytes.h"
#include "sim/simulated_reader.h"
#include "transport/device_source.h"

namespace ravelfin {

/// The attached devices as a test or the --simulate option describes them: serial ports and
/// HID interfaces in the order they were added, each optionally wired to a simulated reader.
/// Devices without a reader are other equipment that never answers. A reader that is
/// unplugged drops out of the lists, so the indices of the devices after it move up, as they
/// do on a real machine.
///
/// Safe to use from several threads: readers worked in parallel share the lists.
class SimulatedDeviceSource final : public DeviceSource {
  public:
    struct SerialPort {
        SerialPortInfo Info;
        SimulatedReader* Reader = nullptr;
        bool Open = false;  // held by a link: a second exclusive open fails
        bool Gone = false;  // replaced by a later entry; never listed or found again
    };
    struct HidInterface {
        HidInterfaceInfo Info;
        SimulatedReader* Reader = nullptr;
        std::size_t FeatureReportLength = 0;  // including the report-id byte
        std::vector<Bytes> Reports;           // every set report that reached the device
        int OpenHandles = 0;                  // devices that have it open now
        bool Gone = false;  // replaced by a later entry; never listed or found again
    };

    bool GetSerialPort(int index, SerialPortInfo& out) override;
    bool GetHidInterface(int index, HidInterfaceInfo& out) override;

    /// Adds a port at the next serial index; returns that index.
    int AddSerialPort(const SerialPortInfo& info, SimulatedReader* reader = nullptr);
    /// Adds an interface at the next HID index; returns that index.
    int AddHidInterface(const HidInterfaceInfo& info, SimulatedReader* reader = nullptr,
                        std::size_t featureReportLength = 33);

    /// The port with this name, or nullptr; also while its reader is unplugged. Entries stay
    /// where they are for as long as the source lives; one that is gone is not found.
    SerialPort* FindSerialPort(const std::string& name);
    /// The interface with this path, or nullptr; also while its reader is unplugged.
    HidInterface* FindHidInterface(const std::string& path);

    /// Takes the port for a link; false when another link holds it.
    bool ClaimSerialPort(SerialPort& port);
    void ReleaseSerialPort(SerialPort& port);
    /// A reader came back from a reset: the interface at `path` is gone, and the reader
    /// appears at the end of the HID list under `newPath` with `productId`, keeping its USB
    /// place, serial number and the reports it received, as a real reader that enumerates
    /// again gets a new node.
    void MoveHidInterface(const std::string& path, const std::string& newPath,
                          std::uint16_t productId);
    /// Keeps a set report that reached the interface.
    void RecordReport(HidInterface& hid, std::span<const std::uint8_t> report);

    /// Every entry ever added, plugged in or not.
    int SerialPortCount() const;
    int HidInterfaceCount() const;

  private:
    mutable std::mutex mutex_;
    std::deque<SerialPort> ports_;  // a deque: links keep pointers to entries
    std::deque<HidInterface> interfaces_;
};

}  // namespace ravelfin
