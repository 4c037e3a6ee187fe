#include "fleet/failure_kind.h"

#include <gtest/gtest.h>

#include "protocol/bytes.h"
#include "protocol/command_frame.h"

namespace ravelfin {
namespace {

/// ACK, then STX, `body`, ETX and the LRC over STX to ETX.
Bytes Answer(const Bytes& body) {
    // Room first: GCC 12 warns on a range inserted into a vector of a size it knows
    // (-Warray-bounds, a false positive of its reallocating path).
    Bytes answer;
    answer.reserve(body.size() + 4);
    answer.push_back(kAck);
    answer.push_back(kStx);
    answer.insert(answer.end(), body.begin(), body.end());
    answer.push_back(kEtx);
    answer.push_back(ComputeLrc(std::span(answer).subspan(1)));
    return answer;
}

TEST(FailureKind, AnAnswerTellsWhatWentWrongWithIt) {
    const Bytes version = Answer({'V', '4', '.', '3'});
    Bytes wrongLrc = version;
    wrongLrc.back() ^= 0xFF;
    const Bytes cut(version.begin(), version.begin() + 4);
    // An LRC of zero meets the zeros a USB HID report is padded with.
    const Bytes zeroLrc = Answer({'A', '@'});
    ASSERT_EQ(zeroLrc.back(), 0);
    Bytes padded = zeroLrc;
    padded.resize(64, 0);
    Bytes paddedWrong = padded;
    paddedWrong[3] = 'B';
    const struct {
        Bytes answer;
        FailureKind kind;
    } cases[] = {
        {version, FailureKind::None},
        {Bytes{kAck}, FailureKind::None},
        {Bytes{kAck, 0, 0, 0}, FailureKind::None},
        {padded, FailureKind::None},
        {Bytes{}, FailureKind::NoAnswer},
        {Bytes(32, 0), FailureKind::NoAnswer},
        {Bytes{kNak, 0, 0}, FailureKind::Nak},
        {Bytes{kRefused}, FailureKind::Refused},
        {wrongLrc, FailureKind::BadLrc},
        {paddedWrong, FailureKind::BadLrc},
        {Bytes{0xF9}, FailureKind::BadLrc},
        {Bytes{kAck, 'x', kEtx, 0x7B}, FailureKind::BadLrc},
        {cut, FailureKind::CutShort},
        {Bytes{kAck, kStx}, FailureKind::CutShort},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyAnswer(c.answer), c.kind)
            << "answer of " << c.answer.size() << " bytes, expected " << FailureCode(c.kind);
    }
}

}  // namespace
}  // namespace ravelfin
