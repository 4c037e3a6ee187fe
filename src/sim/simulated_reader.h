#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "protocol/bytes.h"
#include "protocol/reader_settings.h"
#include "sim/simulated_reader_options.h"

namespace ravelfin {

/// A card reader in software: it keeps a settings image and answers command frames the way
/// the utility expects a reader to (ACK or 0x16 after a set frame, the whole configuration,
/// the firmware version text, single reads of the security level and encryption).
///
/// Answering, faults and plugging are safe from several threads; `Settings` and `Frames` are
/// for looking at a reader that nobody is talking to.
class SimulatedReader {
  public:
    /// How many polls a slow reader lets pass before its answer appears.
    static constexpr int kSlowPolls = 2;
    /// How many polls a late reader lets pass: more than either link waits for an answer.
    static constexpr int kLatePolls = 1000;
    /// How long a reader that resets stays away from the machine, in milliseconds.
    static constexpr int kRestartMs = 3000;

    explicit SimulatedReader(const SimulatedReaderOptions& options);

    /// Replaces the settings image with a configuration file's settings (the security level
    /// stays the reader's own). False, changing nothing, when the file cannot be loaded.
    bool LoadSettings(const std::string& path);

    /// The reader's answer to one complete frame (empty for no answer). Malformed frames and
    /// frames with a wrong LRC are answered with NAK.
    Bytes Answer(std::span<const std::uint8_t> frame);

    /// The settings image. Its `FirmwareVersionNumber` and `ModelClass` stay 0, so that it
    /// compares equal to a record freshly parsed from the reader's answer.
    ReaderSettings& Settings() { return settings_; }
    const ReaderSettings& Settings() const { return settings_; }
    const std::string& Firmware() const { return options_.Firmware; }
    double FirmwareNumber() const { return firmwareNumber_; }
    std::uint16_t ProductId() const { return productId_; }
    std::uint32_t InterfaceType() const { return options_.InterfaceType; }
    const SimulatedReaderOptions& Options() const { return options_; }

    /// Switches `fault` on once `afterFrames` more frames have been answered normally.
    void SetFault(SimulatedFault fault, int afterFrames = 0);
    /// The fault in effect now.
    SimulatedFault Fault() const;
    /// How many polls the simulated devices let pass before delivering the last answer.
    int AnswerDelayPolls() const;
    /// The next `count` HID set-report requests fail.
    void FailNextSetReports(int count);
    /// Used by the HID device: true (and one fewer left) when this set request must fail.
    bool ConsumeSetReportFailure();

    /// Called when the host lets go of the reader after a change that makes it reset (a new
    /// USB HID format, or a new polling interval on a keyboard reader): the reader restarts
    /// and leaves the machine for a while. Set by the machine that attaches it.
    void SetResetHandler(std::function<void()> handler);
    /// The host closed its link to the reader: a reset that a change made due begins now.
    void EndSession();
    /// Back from a reset, as the kind of reader its USB HID format makes it: a keyboard
    /// reader (product id 0x41nn) for the keyboard formats, a HID reader (0x42nn) otherwise.
    void FinishReset();

    bool IsPlugged() const { return plugged_; }
    void Replug() { plugged_ = true; }
    void Unplug() { plugged_ = false; }
    bool InBootLoader() const { return inBootLoader_; }
    /// Every complete frame received, in order.
    const std::vector<Bytes>& Frames() const { return frames_; }

  private:
    Bytes AnswerFrame(std::span<const std::uint8_t> frame);
    Bytes AnswerRead(std::uint8_t funcId) const;
    Bytes AnswerSet(std::span<const std::uint8_t> items);
    bool KnowsFuncId(std::uint8_t funcId) const;
    ReaderSettings FactorySettings(char securityLevel) const;
    /// The items of the settings image as this firmware reports them.
    bool ReportedItems(Bytes& items) const;
    /// The items that restore every field of the settings image.
    bool StateItems(Bytes& items) const;

    SimulatedReaderOptions options_;
    double firmwareNumber_ = 0.0;
    std::uint16_t productId_ = 0;
    ReaderSettings settings_;
    mutable std::mutex mutex_;  // one conversation at a time changes the image
    SimulatedFault fault_ = SimulatedFault::None;
    int framesBeforeFault_ = 0;
    int answerDelayPolls_ = 0;
    int failingSetReports_ = 0;
    std::atomic<bool> plugged_{true};
    bool resetDue_ = false;
    std::function<void()> resetHandler_;
    bool inBootLoader_ = false;
    std::vector<Bytes> frames_;
};

}  // namespace ravelfin
