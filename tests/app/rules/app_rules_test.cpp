// Which page may open beside which, and what a typed model number means, without a window.
#include <gtest/gtest.h>

#include "app/rules/model_number.h"
#include "app/rules/navigation_rules.h"
#include "protocol/interface_type.h"

namespace ravelfin {
namespace {

TEST(PageExclusion, TheWizardAndAVisibleEditorKeepEachOtherOut) {
    const std::string closeFirst = "Please close current window before selecting ";
    for (bool basic : {false, true}) {
        for (bool advanced : {false, true}) {
            const PageStates withWizard{true, basic, advanced};
            EXPECT_EQ(BasicEditorRefusal(withWizard),
                      closeFirst + "\"CHANGE BASIC READER SETTINGS\"");
            EXPECT_EQ(AdvancedEditorRefusal(withWizard),
                      closeFirst + "\"CHANGE ADVANCED READER SETTINGS\"");
            EXPECT_EQ(ReportRefusal(withWizard), closeFirst + "\"CHECK CURRENT READER SETTINGS\"");
            const PageStates noWizard{false, basic, advanced};
            EXPECT_EQ(BasicEditorRefusal(noWizard), "");
            EXPECT_EQ(AdvancedEditorRefusal(noWizard), "");
            EXPECT_EQ(ReportRefusal(noWizard), "");
        }
    }

    // The visible editor names itself; the advanced one first when both claim to show.
    const std::string advanced =
        "Please close \"Change Advanced Reader Setting\" Before Going Back to the Main Menu";
    const std::string basic =
        "Please close \"Change Basic Reader Setting\" Before Going Back to the Main Menu";
    EXPECT_EQ(WizardRefusal(PageStates{false, false, false}), "");
    EXPECT_EQ(WizardRefusal(PageStates{true, false, false}), "");
    EXPECT_EQ(WizardRefusal(PageStates{false, true, false}), basic);
    EXPECT_EQ(WizardRefusal(PageStates{false, false, true}), advanced);
    EXPECT_EQ(WizardRefusal(PageStates{false, true, true}), advanced);
}

TEST(ModelNumber, AKnownSeriesOf8To18CharactersNamesItsInterface) {
    struct Case {
        const char* typed;
        ModelNumberCheck check;
        int type;  // -1: left as it was
    };
    const Case cases[] = {
        {"", ModelNumberCheck::kEmpty, -1},
        {"RX-4410", ModelNumberCheck::kUnknown, -1},                 // 7 characters
        {"RX-44102", ModelNumberCheck::kAccepted, kInterfaceRs232},  // 8
        {"RX-44203", ModelNumberCheck::kAccepted, kInterfacePs2},
        {"RX-44304", ModelNumberCheck::kAccepted, kInterfaceUsbHidKb},
        {"RX-44405", ModelNumberCheck::kAccepted, kInterfaceUsbHid},
        {"RX-44106", ModelNumberCheck::kAccepted, kInterfaceUsbRs232},
        {"RX-44101", ModelNumberCheck::kAccepted, kInterfaceUnknown},
        {"RX-44107", ModelNumberCheck::kAccepted, kInterfaceUnknown},
        {"RX-44305ABCDEFGHIJ", ModelNumberCheck::kAccepted, kInterfaceUsbHid},  // 18
        {"RX-44305ABCDEFGHIJK", ModelNumberCheck::kUnknown, -1},                // 19
        {"rx-44305", ModelNumberCheck::kUnknown, -1},  // the series is case-sensitive
        {"RX-44505", ModelNumberCheck::kUnknown, -1},  // not a known series
        {"RX-4400 5", ModelNumberCheck::kUnknown, -1},
        {" RX-44105", ModelNumberCheck::kUnknown, -1},
    };
    for (const Case& c : cases) {
        int type = -1;
        EXPECT_EQ(CheckModelNumber(c.typed, type), c.check) << c.typed;
        EXPECT_EQ(type, c.type) << c.typed;
    }
}

}  // namespace
}  // namespace ravelfin
