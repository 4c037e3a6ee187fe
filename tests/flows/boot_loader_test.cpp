#include "flows/boot_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flows/flow_fakes.h"

namespace ravelfin::testing {
namespace {

using ::testing::ElementsAre;

TEST(BootLoader, TakesOnlyTheExactPasswordAndSendsTheSwitchFrame) {
    EXPECT_TRUE(IsBootLoaderPassword("QX PLOR 3904417265"));
    EXPECT_FALSE(IsBootLoaderPassword("QX PLOR 3904417265 "));
    EXPECT_FALSE(IsBootLoaderPassword("qx plor 3904417265"));
    for (const bool accepted : {true, false}) {
        Rig rig;
        if (!accepted)
            rig.reader.Answers = {{false, {kNak}}};
        EXPECT_EQ(SetBootLoaderMode(rig.Context(4)), accepted);
        EXPECT_THAT(rig.rec.frames, ElementsAre(Bytes{0x02, 0x53, 0x70, 0x01, 0xFF, 0x03, 0xDC}));
        EXPECT_THAT(rig.rec.trace, ElementsAre("open 4", "send 70",
                                               accepted ? "msg Set Boot Loader mode successfully!"
                                                        : "msg Fail to set Boot Loader mode!",
                                               "close"));
    }
}

}  // namespace
}  // namespace ravelfin::testing
