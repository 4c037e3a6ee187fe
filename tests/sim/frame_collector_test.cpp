#include "sim/frame_collector.h"

#include <gtest/gtest.h>

#include <vector>

#include "sim_test_support.h"

namespace ravelfin {
namespace {

TEST(FrameCollector, FindsEachFrameWhateverTheChunksAndDropsPaddingAndNoise) {
    const Bytes defaults = CommandFrame(kFuncSetDefaults);  // 02 53 18 03 4A
    const Bytes readAll = CommandFrame(kFuncReadAll);
    // Data bytes that look like STX, ETX or the defaults command must not end a frame.
    const Bytes set = SetFrame({0xD2, 4, 3, kStx, kEtx, 0x18, 0x18, 1, '1'});
    std::vector<Bytes> sent = {defaults, set, readAll, set};

    Bytes stream{0x00, 0x15, kStx, 'Q'};
    for (const Bytes& frame : sent) {
        stream.insert(stream.end(), frame.begin(), frame.end());
        stream.insert(stream.end(), 7, 0x00);  // report padding
    }
    for (std::size_t chunk : {std::size_t{1}, std::size_t{5}, std::size_t{32}, stream.size()}) {
        SCOPED_TRACE(chunk);
        FrameCollector collector;
        std::vector<Bytes> received;
        for (std::size_t i = 0; i < stream.size(); i += chunk) {
            collector.Add(std::span(stream).subspan(i, std::min(chunk, stream.size() - i)));
            Bytes frame;
            while (collector.Take(frame))
                received.push_back(frame);
        }
        EXPECT_EQ(received, sent);
        EXPECT_FALSE(collector.HasPartial());
    }
}

}  // namespace
}  // namespace ravelfin
