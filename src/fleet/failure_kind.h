#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ravelfin {

/// Why a reader's part of a command failed, for scripts: each kind has a code of its own.
enum class FailureKind {
    None,
    NoAnswer,      // "no-answer": the reader said nothing
    Nak,           // "nak": it answered NAK (a USB HID reader with nothing to say does too)
    BadLrc,        // "bad-lrc": the answer came corrupted: its LRC does not match, or garbage
    CutShort,      // "cut-short": the answer ended before its ETX
    Gone,          // "gone": the device is not there, or went away in the middle
    Busy,          // "busy": another program holds the device
    NoPermission,  // "no-permission": this user may not open the device
    Refused,       // "refused": the reader refused a setting or command (unknown FuncID)
    TooLong,       // "too-long": the settings do not fit into one frame; nothing was sent
    OtherReader,   // "other-reader": another reader answers in place of the one chosen
    File,          // "file": a configuration file could not be read or written
    Failed,        // "failed": anything else
};

/// The kind's code as scripts see it ("no-answer", ...); "" for None.
const char* FailureCode(FailureKind kind);

/// What a fault of the answer means, in a few words for the result line ("the answer was cut
/// short"); "" for the kinds whose messages say it already.
const char* FailureExplanation(FailureKind kind);

/// The fault in a reader's answer to one frame, as received (a USB HID answer in whole
/// reports, padded with zeros): `None` for a plain acknowledgement or a complete frame whose
/// LRC matches.
FailureKind ClassifyAnswer(std::span<const std::uint8_t> answer);

}  // namespace ravelfin
