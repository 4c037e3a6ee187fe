// The advanced editor's rules at every level, cipher and firmware boundary, which the page
// tests reach only for the readers they attach.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "advanced/rules/advanced_tabs.h"
#include "advanced/rules/security_rules.h"

namespace ravelfin {
namespace {

auto AsTuple(const EncryptionChoices& c) {
    return std::make_tuple(c.ClearText, c.TripleDes, c.Aes);
}

constexpr EncryptionChoices kAll{true, true, true};
constexpr EncryptionChoices kNone{false, false, false};

TEST(EncryptionChoicesForRecord, TheLevelDecidesAndTheStoredCipherStaysChoosable) {
    struct Case {
        std::uint8_t level, encryption;
        EncryptionChoices before, after;
    };
    const Case cases[] = {
        {'0', '0', kAll, {true, true, true}},  // level 0 rules clear text out, but it is stored
        {'0', '1', kAll, {false, true, true}},
        {'3', '2', kNone, {false, true, true}},
        {'1', '0', kNone, {true, true, true}},
        {'2', '0', kNone, {true, true, true}},
        {'2', '1', kNone, {false, true, true}},  // an encrypting reader never goes back
        {'4', '0', kAll, {true, false, false}},
        {'4', '2', kAll, {false, false, true}},
        {'4', 0x00, kAll, {false, false, false}},  // an unknown cipher is not clear text
        // An unknown level leaves the choices as they were.
        {'5', '0', {true, false, true}, {true, false, true}},
        {0x00, '1', {true, false, false}, {false, true, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AsTuple(ChoicesForRecord(c.before, c.level, c.encryption)), AsTuple(c.after))
            << "level " << int(c.level) << ", encryption " << int(c.encryption);
    }
}

TEST(EncryptionChoicesAfterSend, WhatTheReaderReportsDecides) {
    struct Case {
        std::uint8_t level, reported, record;
        EncryptionChoices before, after;
    };
    const Case cases[] = {
        {'0', '0', '1', kAll, {false, true, true}},
        {'3', 0x00, '0', kNone, {true, true, true}},  // no answer: the stored clear text stays
        {'1', '0', '0', kNone, {true, true, true}},
        {'2', '2', '0', kNone, {false, true, true}},  // the reader encrypts: no clear text
        {'2', '1', '0', kNone, {false, true, true}},
        {'2', '7', '0', kNone, {true, true, true}},  // names no cipher: says nothing
        {'4', '0', '2', kAll, {false, false, true}},
        {'4', '0', '0', kAll, {true, false, false}},
        // No level reported (or an unknown one) changes nothing but the stored cipher.
        {0x00, 0x00, '1', {true, false, false}, {true, true, false}},
        {'9', '1', '0', {true, false, false}, {false, false, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AsTuple(ChoicesAfterSend(c.before, c.level, c.reported, c.record)),
                  AsTuple(c.after))
            << "level " << int(c.level) << ", reported " << int(c.reported) << ", record "
            << int(c.record);
    }
}

TEST(MaskChar, OnePrintableCharacterIsValid) {
    EXPECT_EQ(CheckMaskChar(u""), MaskCharCheck::kEmpty);
    EXPECT_EQ(CheckMaskChar(u" "), MaskCharCheck::kValid);
    EXPECT_EQ(CheckMaskChar(u"~"), MaskCharCheck::kValid);
    EXPECT_EQ(CheckMaskChar(u"#"), MaskCharCheck::kValid);
    EXPECT_EQ(CheckMaskChar(u"\x1a"), MaskCharCheck::kValid);
    EXPECT_EQ(CheckMaskChar(u"\x19"), MaskCharCheck::kInvalid);
    EXPECT_EQ(CheckMaskChar(u"\t"), MaskCharCheck::kInvalid);
    EXPECT_EQ(CheckMaskChar(u"\x7f"), MaskCharCheck::kInvalid);
    EXPECT_EQ(CheckMaskChar(u"\u00e9"), MaskCharCheck::kInvalid);
    EXPECT_EQ(CheckMaskChar(u"**"), MaskCharCheck::kTooLong);
    EXPECT_EQ(CheckMaskChar(u"\x01\x02"), MaskCharCheck::kTooLong);
}

TEST(SerialNumber, TheLengthByteCountsAtMostTheTenCharactersThatFit) {
    using Serial = std::array<std::uint8_t, 11>;
    EXPECT_EQ(SerialNumberText(Serial{10, 'S', 'N', '0', '0', '0', '0', '0', '0', '0', '1'}),
              "SN00000001");
    EXPECT_EQ(SerialNumberText(Serial{3, 'A', 'B', 'C', 'D'}), "ABC");
    EXPECT_EQ(SerialNumberText(Serial{0, 'A', 'B'}), "");
    EXPECT_EQ(SerialNumberText(Serial{0xFF, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J'}),
              "ABCDEFGHIJ");
    EXPECT_EQ(SerialNumberText(Serial{4, ' ', 'B', 'C', 'D'}), " BCD");
    // Nothing stored: a control character or 0xFF first.
    EXPECT_EQ(SerialNumberText(Serial{4, 0x19, 'B', 'C', 'D'}), "");
    EXPECT_EQ(SerialNumberText(Serial{4, 0xFF, 'B', 'C', 'D'}), "");
    EXPECT_EQ(SerialNumberText(Serial{}), "");
}

TEST(AdvancedTabs, TheReaderDecidesWhichPagesShow) {
    using T = AdvancedTab;
    const std::vector<T> plain{T::kOutputFormat, T::kDataEditing, T::kQuickClone,
                               T::kManualCommand};
    EXPECT_EQ(AdvancedTabSet(0x4200, '3', 4.0), plain);
    EXPECT_EQ(AdvancedTabSet(0, '4', 5.1), plain);

    const std::vector<T> secure{T::kOutputFormat, T::kDataEditing, T::kSecuritySetting,
                                T::kQuickClone, T::kManualCommand};
    for (std::uint32_t product : {0x4106u, 0x4206u}) {
        EXPECT_TRUE(IsSecureReader(product));
        for (std::uint8_t level : {'0', '1', '2'})
            EXPECT_EQ(AdvancedTabSet(product, level, 4.3), secure);
        for (std::uint8_t level : {'3', '4'}) {
            EXPECT_EQ(AdvancedTabSet(product, level, 4.3),
                      (std::vector<T>{T::kOutputFormat, T::kSecuritySetting, T::kQuickClone,
                                      T::kManualCommand}));
        }
    }
    EXPECT_FALSE(IsSecureReader(0x4107));
    EXPECT_FALSE(IsSecureReader(0x4306));

    // The boot loader page below firmware 4.0 only, last of all.
    std::vector<T> old = plain;
    old.push_back(T::kBootLoader);
    EXPECT_EQ(AdvancedTabSet(0, '1', 3.99), old);
    EXPECT_EQ(AdvancedTabSet(0x4206, '4', 3.5).back(), T::kBootLoader);
}

TEST(AdvancedTabs, OnlyTheRecordPagesTakeTheFileButtonsAndEachHasItsCaption) {
    const std::vector<AdvancedTab> all = AdvancedTabSet(0x4206, '1', 3.0);
    ASSERT_EQ(all.size(), 6u);
    std::vector<std::string> captions;
    std::vector<bool> settings;
    for (AdvancedTab tab : all) {
        captions.emplace_back(TabCaption(tab));
        settings.push_back(IsSettingsTab(tab));
    }
    EXPECT_EQ(captions,
              (std::vector<std::string>{"Output Format", "Data Editing", "Security Setting",
                                        "Quick Clone", "Manual Command", "Set Boot Loader Mode"}));
    EXPECT_EQ(settings, (std::vector<bool>{true, true, true, false, false, false}));
}

}  // namespace
}  // namespace ravelfin
