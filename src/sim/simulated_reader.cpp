#include "sim/simulated_reader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "protocol/command_frame.h"
#include "protocol/firmware_version.h"
#include "protocol/settings_encoder.h"
#include "protocol/settings_file.h"
#include "protocol/settings_parser.h"

namespace ravelfin {

namespace {

constexpr std::uint8_t kFuncBeepMode = 0xAE;
constexpr std::uint8_t kFuncEncryption = 0x4C;
constexpr std::uint8_t kFuncSecurityLevel = 0x7E;
constexpr std::uint8_t kFuncSerialNumber = 0x4E;
constexpr std::uint8_t kFuncCustom2 = 0xFD;
// A version above every threshold but not the one with the beep mode: its full frame
// carries every setting the image holds.
constexpr double kVersionWithEverything = 5.0;
constexpr std::size_t kEncodeBuffer = 2048;

/// Offset and length of each FuncID/Len/data item; false when an item runs past the end.
bool ItemSpans(std::span<const std::uint8_t> items,
               std::vector<std::pair<std::size_t, std::size_t>>& spans) {
    spans.clear();
    std::size_t p = 0;
    while (p < items.size()) {
        if (p + 1 >= items.size())
            return false;
        const std::size_t length = 2 + static_cast<std::size_t>(items[p + 1]);
        if (p + length > items.size())
            return false;
        spans.emplace_back(p, length);
        p += length;
    }
    return true;
}

void AppendItem(Bytes& items, std::uint8_t funcId, std::uint8_t value) {
    items.insert(items.end(), {funcId, 1, value});
}

// Room is reserved before a range is appended to the first bytes: GCC 12 warns on a range
// inserted into a vector of a size it knows (-Warray-bounds, a false positive of its
// reallocating path), and one allocation is enough anyway.

/// STX, the body, ETX and the LRC over STX through ETX.
Bytes Framed(std::span<const std::uint8_t> body) {
    Bytes frame;
    frame.reserve(body.size() + 3);
    frame.push_back(kStx);
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(kEtx);
    frame.push_back(ComputeLrc(frame));
    return frame;
}

Bytes AckAnd(const Bytes& frame) {
    Bytes answer;
    answer.reserve(frame.size() + 1);
    answer.push_back(kAck);
    answer.insert(answer.end(), frame.begin(), frame.end());
    return answer;
}

/// The items between 'S' and ETX of an encoder's frame.
bool EncodedItems(const ReaderSettings& record, Bytes& items) {
    std::array<std::uint8_t, kEncodeBuffer> frame{};
    std::size_t length = 0;
    if (!EncodeAllSettings(record, frame, length) || length < 4)
        return false;
    items.assign(frame.begin() + 2, frame.begin() + static_cast<std::ptrdiff_t>(length - 2));
    return true;
}

bool IsOneByteSetting(std::uint8_t funcId) {
    static constexpr std::uint8_t kIds[] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x19,
                                            0x1A, 0x1B, 0x1D, 0x21, 0x23, 0x24, 0x25, 0x41, 0x42,
                                            0x43, 0x44, 0x45, 0x47, 0x48, 0x60, 0x77};
    return std::find(std::begin(kIds), std::end(kIds), funcId) != std::end(kIds) ||
           (funcId >= 0x61 && funcId <= 0x6B);
}

bool IsHidAttached(std::uint32_t interfaceType) {
    return interfaceType == kInterfaceUsbHid || interfaceType == kInterfaceUsbHidKb;
}

/// A reader on USB HID restarts and re-enumerates when its USB HID format changes, a
/// keyboard reader also when its polling interval does.
bool ChangeResetsReader(std::uint32_t interfaceType, const ReaderSettings& before,
                        const ReaderSettings& after) {
    if (!IsHidAttached(interfaceType))
        return false;
    return before.HidFormat != after.HidFormat ||
           (interfaceType == kInterfaceUsbHidKb && before.KbPollInterval != after.KbPollInterval);
}

bool IsKeyboardFormat(std::uint8_t hidFormat) {
    return hidFormat == '8' || hidFormat == '2';
}

}  // namespace

SimulatedReader::SimulatedReader(const SimulatedReaderOptions& options)
    : options_(options), firmwareNumber_(ParseVersionNumber(options.Firmware)) {
    productId_ = options.ProductId;
    if (productId_ == 0 && options.InterfaceType == kInterfaceUsbHid)
        productId_ = 0x4206;
    if (productId_ == 0 && options.InterfaceType == kInterfaceUsbHidKb)
        productId_ = 0x4106;
    settings_ = FactorySettings(options.SecurityLevel);
    fault_ = options.Fault;
}

void SimulatedReader::SetFault(SimulatedFault fault, int afterFrames) {
    std::lock_guard lock(mutex_);
    fault_ = fault;
    framesBeforeFault_ = afterFrames;
}

void SimulatedReader::SetResetHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    resetHandler_ = std::move(handler);
}

void SimulatedReader::EndSession() {
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        if (!resetDue_)
            return;
        resetDue_ = false;
        handler = resetHandler_;
    }
    // Outside the lock: the machine announces the departure, and listeners may look at us.
    if (handler)
        handler();
}

void SimulatedReader::FinishReset() {
    std::lock_guard lock(mutex_);
    const bool keyboard = IsKeyboardFormat(settings_.HidFormat);
    options_.InterfaceType = keyboard ? kInterfaceUsbHidKb : kInterfaceUsbHid;
    productId_ = static_cast<std::uint16_t>((keyboard ? 0x4100 : 0x4200) | (productId_ & 0xFF));
    settings_.InterfaceType = options_.InterfaceType;
}

SimulatedFault SimulatedReader::Fault() const {
    std::lock_guard lock(mutex_);
    return framesBeforeFault_ > 0 ? SimulatedFault::None : fault_;
}

int SimulatedReader::AnswerDelayPolls() const {
    std::lock_guard lock(mutex_);
    return answerDelayPolls_;
}

ReaderSettings SimulatedReader::FactorySettings(char securityLevel) const {
    ReaderSettings settings(options_.InterfaceType);
    if (options_.InterfaceType == kInterfaceUsbHidKb)
        settings.HidFormat = '8';
    settings.KbPollIntervalRead = settings.KbPollInterval;
    settings.SecurityLevel = static_cast<std::uint8_t>(securityLevel);
    settings.Encryption = '0';
    settings.ResetSecurityDefaults();
    const std::string serial = options_.SerialNumber.substr(0, settings.SerialNumber.size() - 1);
    settings.SerialNumber[0] = static_cast<std::uint8_t>(serial.size());
    std::copy(serial.begin(), serial.end(), settings.SerialNumber.begin() + 1);
    return settings;
}

bool SimulatedReader::LoadSettings(const std::string& path) {
    std::lock_guard lock(mutex_);
    ReaderSettings loaded = settings_;
    if (!LoadSettingsFile(loaded, path))
        return false;
    loaded.SecurityLevel = settings_.SecurityLevel;
    loaded.SerialNumber = settings_.SerialNumber;
    settings_ = loaded;
    return true;
}

void SimulatedReader::FailNextSetReports(int count) {
    std::lock_guard lock(mutex_);
    failingSetReports_ = count;
}

bool SimulatedReader::ConsumeSetReportFailure() {
    std::lock_guard lock(mutex_);
    if (failingSetReports_ <= 0)
        return false;
    --failingSetReports_;
    return true;
}

Bytes SimulatedReader::Answer(std::span<const std::uint8_t> frame) {
    std::lock_guard lock(mutex_);
    frames_.emplace_back(frame.begin(), frame.end());
    SimulatedFault fault = fault_;
    if (framesBeforeFault_ > 0) {
        --framesBeforeFault_;
        fault = SimulatedFault::None;
    }
    answerDelayPolls_ = fault == SimulatedFault::SlowAnswer   ? kSlowPolls
                        : fault == SimulatedFault::LateAnswer ? kLatePolls
                                                              : 0;
    if (fault == SimulatedFault::NoAnswer)
        return {};
    if (fault == SimulatedFault::Nak)
        return {kNak};
    if (fault == SimulatedFault::RefusesSets && frame.size() > 1 && frame[1] == kSetLetter)
        return {kRefused};
    Bytes answer = AnswerFrame(frame);
    switch (fault) {
        case SimulatedFault::WrongLrc:
            if (answer.size() > 1)
                answer.back() ^= 0xFF;
            break;
        case SimulatedFault::CutShort:
            answer.resize(answer.size() / 2);
            break;
        case SimulatedFault::UnpluggedMidAnswer:
            answer.resize(answer.size() / 2);
            plugged_ = false;
            break;
        default:
            break;
    }
    return answer;
}

Bytes SimulatedReader::AnswerFrame(std::span<const std::uint8_t> frame) {
    const std::size_t n = frame.size();
    if (n < 5 || frame[0] != kStx || frame[n - 2] != kEtx ||
        ComputeLrc(frame.first(n - 1)) != frame[n - 1]) {
        return {kNak};
    }
    if (frame[1] == kReadLetter)
        return n == 5 ? AnswerRead(frame[2]) : Bytes{kNak};
    if (frame[1] != kSetLetter)
        return {kNak};
    if (n == 5 && frame[2] == kFuncSetDefaults) {
        ReaderSettings factory = FactorySettings(static_cast<char>(settings_.SecurityLevel));
        resetDue_ = resetDue_ || ChangeResetsReader(options_.InterfaceType, settings_, factory);
        settings_ = factory;
        return {kAck};
    }
    return AnswerSet(frame.subspan(2, n - 4));
}

Bytes SimulatedReader::AnswerRead(std::uint8_t funcId) const {
    switch (funcId) {
        case kFuncReadAll: {
            Bytes items;
            if (!ReportedItems(items))
                return {kNak};
            return AckAnd(Framed(items));
        }
        case kFuncReadVersion:
            return AckAnd(Framed(BytesFromText(options_.Firmware)));
        case kFuncSecurityLevel:
        case kFuncEncryption: {
            if (!KnowsFuncId(funcId))
                return {kRefused};
            const std::uint8_t value =
                funcId == kFuncSecurityLevel ? settings_.SecurityLevel : settings_.Encryption;
            const std::uint8_t item[] = {funcId, 1, value};
            return AckAnd(Framed(item));
        }
        default:
            return {kRefused};
    }
}

bool SimulatedReader::KnowsFuncId(std::uint8_t funcId) const {
    if (IsOneByteSetting(funcId))
        return true;
    if ((funcId >= 0x34 && funcId <= 0x39) || funcId == 0xD2 || funcId == 0xD3)
        return true;
    if (funcId >= 0xFA && funcId <= 0xFC)
        return true;
    if (funcId == kFuncBootLoader)
        return true;
    if (funcId == kFuncBeepMode)
        return firmwareNumber_ == 4.3;
    if (funcId == kFuncCustom2)
        return firmwareNumber_ > 3.32;
    if ((funcId >= 0x49 && funcId <= kFuncEncryption) || funcId == kFuncSecurityLevel) {
        return firmwareNumber_ > 4.25;
    }
    return false;
}

Bytes SimulatedReader::AnswerSet(std::span<const std::uint8_t> items) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    if (!ItemSpans(items, spans))
        return {kNak};
    bool onlyCommands = true;
    for (const auto& [offset, length] : spans) {
        if (!KnowsFuncId(items[offset]))
            return {kRefused};
        if (items[offset] != kFuncBootLoader)
            onlyCommands = false;
    }
    for (const auto& [offset, length] : spans) {
        if (items[offset] == kFuncBootLoader)
            inBootLoader_ = true;
    }
    if (onlyCommands)
        return {kAck};

    // The new settings: the image's own items, less those the frame replaces, then the
    // frame's items, read by the same parser that reads the reader's answer.
    Bytes state;
    std::vector<std::pair<std::size_t, std::size_t>> stateSpans;
    if (!StateItems(state) || !ItemSpans(state, stateSpans))
        return {kNak};
    Bytes body{kSetLetter};
    for (const auto& [offset, length] : stateSpans) {
        const std::uint8_t funcId = state[offset];
        const bool replaced = std::any_of(spans.begin(), spans.end(), [&](const auto& item) {
            return items[item.first] == funcId;
        });
        if (!replaced) {
            body.insert(body.end(), state.begin() + static_cast<std::ptrdiff_t>(offset),
                        state.begin() + static_cast<std::ptrdiff_t>(offset + length));
        }
    }
    body.insert(body.end(), items.begin(), items.end());
    ReaderSettings next(options_.InterfaceType);
    if (!ParseSettings(Framed(body), next))
        return {kNak};
    next.SerialNumber = settings_.SerialNumber;
    resetDue_ = resetDue_ || ChangeResetsReader(options_.InterfaceType, settings_, next);
    settings_ = next;
    return {kAck};
}

bool SimulatedReader::ReportedItems(Bytes& items) const {
    ReaderSettings reported = settings_;
    reported.FirmwareVersionNumber = firmwareNumber_;
    if (!EncodedItems(reported, items))
        return false;
    if (KnowsFuncId(kFuncEncryption)) {
        // The encoder leaves the encryption out at some security levels; a reader always
        // reports it.
        std::vector<std::pair<std::size_t, std::size_t>> spans;
        ItemSpans(items, spans);
        const bool present = std::any_of(spans.begin(), spans.end(), [&](const auto& item) {
            return items[item.first] == kFuncEncryption;
        });
        if (!present)
            AppendItem(items, kFuncEncryption, settings_.Encryption);
    }
    const std::size_t serialLength = settings_.SerialNumber[0];
    // The answer carries 9 to 11 bytes or no serial number at all: a shorter item would
    // misalign everything after it.
    if (serialLength >= 8 && serialLength < settings_.SerialNumber.size()) {
        items.push_back(kFuncSerialNumber);
        items.push_back(static_cast<std::uint8_t>(serialLength + 1));
        items.insert(
            items.end(), settings_.SerialNumber.begin(),
            settings_.SerialNumber.begin() + static_cast<std::ptrdiff_t>(serialLength + 1));
    }
    return true;
}

bool SimulatedReader::StateItems(Bytes& items) const {
    ReaderSettings everything = settings_;
    everything.FirmwareVersionNumber = kVersionWithEverything;
    if (!EncodedItems(everything, items))
        return false;
    AppendItem(items, kFuncBeepMode, settings_.BeepMode);
    AppendItem(items, kFuncEncryption, settings_.Encryption);
    return true;
}

}  // namespace ravelfin
