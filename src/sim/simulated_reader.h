#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/bytes.h"
#include "protocol/reader_settings.h"
#include "sim/simulated_reader_options.h"

namespace ravelfin {

/// Misbehaviour a test switches on. The simulated devices carry the answer as the fault
/// says; `Answer` itself applies the faults that change the answer's bytes.
enum class SimulatedFault {
    None,
    NoAnswer,            // the reader stays silent and acts on nothing
    Nak,                 // the reader answers NAK to everything and acts on nothing
    WrongLrc,            // the last byte of every answer is corrupted
    CutShort,            // only the first half of every answer arrives
    UnpluggedMidAnswer,  // half of the answer arrives, then the reader is gone
    SlowAnswer,          // the answer comes only after `kSlowPolls` polls found nothing
    LateAnswer,          // the answer comes only after `kLatePolls` polls: past every time limit
    PortBusy,            // another program holds the device: opening fails
};

/// A card reader in software: it keeps a settings image and answers command frames the way
/// the utility expects a reader to (ACK or 0x16 after a set frame, the whole configuration,
/// the firmware version text, single reads of the security level and encryption).
class SimulatedReader {
public:
    /// How many polls a slow reader lets pass before its answer appears.
    static constexpr int kSlowPolls = 2;
    /// How many polls a late reader lets pass: more than either link waits for an answer.
    static constexpr int kLatePolls = 1000;

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

    /// Switches a fault on; the first `sparedFrames` frames from now on are still answered
    /// as a sound reader would, so that a fault can strike a later step of an operation.
    void SetFault(SimulatedFault fault, int sparedFrames = 0) {
        fault_ = fault;
        faultFromFrame_ = frames_.size() + static_cast<std::size_t>(sparedFrames);
    }
    /// The fault in effect for the next frame.
    SimulatedFault Fault() const {
        return frames_.size() >= faultFromFrame_ ? fault_ : SimulatedFault::None;
    }
    /// How many polls the simulated devices let pass before delivering the last answer.
    int AnswerDelayPolls() const { return answerDelayPolls_; }
    /// The next `count` HID set-report requests fail.
    void FailNextSetReports(int count) { failingSetReports_ = count; }
    /// Used by the HID device: true (and one fewer left) when this set request must fail.
    bool ConsumeSetReportFailure();

    bool IsPlugged() const { return plugged_; }
    void Unplug() { plugged_ = false; }
    void Replug() { plugged_ = true; }
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
    SimulatedFault fault_ = SimulatedFault::None;
    std::size_t faultFromFrame_ = 0;
    int answerDelayPolls_ = 0;
    int failingSetReports_ = 0;
    bool plugged_ = true;
    bool inBootLoader_ = false;
    std::vector<Bytes> frames_;
};

}  // namespace ravelfin
