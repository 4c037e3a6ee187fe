#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "protocol/bytes.h"
#include "sim/feature_report_server.h"
#include "sim/simulated_reader.h"

namespace ravelfin {

/// The report descriptor of a reader attached by USB HID: one vendor collection with a
/// feature report of `featureReportLength` bytes (the report-id byte included, no report ids
/// used) and an input report for card data; a keyboard reader has a boot keyboard
/// collection beside it.
Bytes ReaderReportDescriptor(bool keyboard, std::size_t featureReportLength);

/// One simulated reader shown to the whole system as a HID device through /dev/uhid: on bus
/// USB with the reader's vendor and product id, its serial number as the device's unique id,
/// and its feature reports served by the reader. A reset that the reader makes (when the host
/// lets go of it, or asks for more once the answer is said) destroys the device and makes it again
/// after the restart time, with the product id of its new mode; a reader that is pulled out
/// mid-answer destroys it for good.
class UhidReader {
  public:
    using Clock = std::chrono::steady_clock;

    /// `channel`: an open /dev/uhid, or anything that carries its events one per read and
    /// write; owned from now on. `phys`: where the device says it sits, the same after every
    /// restart, so that it can be found in sysfs.
    UhidReader(SimulatedReader& reader, int channel, std::string phys,
               std::chrono::milliseconds restartTime);
    /// Destroys the device and closes the channel.
    ~UhidReader();
    UhidReader(const UhidReader&) = delete;
    UhidReader& operator=(const UhidReader&) = delete;

    /// Makes the device. False with a one-line `error` when the kernel refuses.
    bool Create(std::string& error);
    int Channel() const { return channel_; }
    const std::string& Phys() const { return phys_; }
    /// True while the device exists (made, and neither restarting nor gone).
    bool IsPresent() const { return present_; }
    /// Reads one event from the kernel and answers it; one for a device destroyed since is
    /// dropped. False when the channel cannot be read.
    bool HandleEvent();
    /// Milliseconds until the device is due back from a restart; -1 when it is not away.
    long long MsUntilReturn(Clock::time_point now) const;
    /// Makes the device again once its restart is over. True when it did; false with an
    /// empty `error` when nothing was due.
    bool ReturnIfDue(Clock::time_point now, std::string& error);

  private:
    bool Write(const void* event, std::size_t size);
    void Destroy();
    void BeginRestart();

    SimulatedReader& reader_;
    int channel_;
    std::string phys_;
    std::chrono::milliseconds restartTime_;
    FeatureReportServer reports_;
    bool present_ = false;
    bool answering_ = false;  // the last report fetched carried (part of) an answer
    bool away_ = false;
    Clock::time_point returnAt_{};
};

}  // namespace ravelfin
