#include "fleet/failure_kind.h"

#include "protocol/command_frame.h"

namespace ravelfin {

const char* FailureCode(FailureKind kind) {
    switch (kind) {
        case FailureKind::None:
            return "";
        case FailureKind::NoAnswer:
            return "no-answer";
        case FailureKind::Nak:
            return "nak";
        case FailureKind::BadLrc:
            return "bad-lrc";
        case FailureKind::CutShort:
            return "cut-short";
        case FailureKind::Gone:
            return "gone";
        case FailureKind::Busy:
            return "busy";
        case FailureKind::NoPermission:
            return "no-permission";
        case FailureKind::Refused:
            return "refused";
        case FailureKind::TooLong:
            return "too-long";
        case FailureKind::OtherReader:
            return "other-reader";
        case FailureKind::File:
            return "file";
        case FailureKind::Failed:
            return "failed";
    }
    return "failed";
}

const char* FailureExplanation(FailureKind kind) {
    switch (kind) {
        case FailureKind::NoAnswer:
            return "the reader did not answer";
        case FailureKind::Nak:
            return "the reader answered NAK";
        case FailureKind::BadLrc:
            return "the answer came corrupted";
        case FailureKind::CutShort:
            return "the answer was cut short";
        case FailureKind::Gone:
            return "the device is not there";
        default:
            return "";
    }
}

FailureKind ClassifyAnswer(std::span<const std::uint8_t> answer) {
    // A USB HID answer is padded to whole reports; a zero LRC goes with the padding and is
    // told by the ETX that then ends what is left.
    std::size_t size = answer.size();
    while (size > 0 && answer[size - 1] == 0)
        --size;
    const std::span<const std::uint8_t> body = answer.first(size);
    if (body.empty())
        return FailureKind::NoAnswer;
    if (body[0] == kNak)
        return FailureKind::Nak;
    if (body[0] == kRefused)
        return FailureKind::Refused;
    if (body[0] != kAck)
        return FailureKind::BadLrc;
    if (body.size() == 1)
        return FailureKind::None;
    const std::span<const std::uint8_t> frame = body.subspan(1);
    if (frame[0] != kStx)
        return FailureKind::BadLrc;
    std::uint8_t lrc = 0;
    std::size_t etx = frame.size() - 1;
    if (frame[etx] != kEtx) {
        if (frame.size() < 3 || frame[frame.size() - 2] != kEtx)
            return FailureKind::CutShort;
        --etx;
        lrc = frame.back();
    }
    return ComputeLrc(frame.first(etx + 1)) == lrc ? FailureKind::None : FailureKind::BadLrc;
}

}  // namespace ravelfin
