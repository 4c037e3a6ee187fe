// The advanced editor's rules at every level, cipher and firmware boundary, which the page
// tests reach only for the readers they attach.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

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
    const std::pair<std::u16string, MaskCharCheck> cases[] = {
        {u"", MaskCharCheck::kEmpty},         {u" ", MaskCharCheck::kValid},
        {u"~", MaskCharCheck::kValid},        {u"\x1a", MaskCharCheck::kValid},
        {u"\x19", MaskCharCheck::kInvalid},   {u"\x7f", MaskCharCheck::kInvalid},
        {u"\u00e9", MaskCharCheck::kInvalid}, {u"**", MaskCharCheck::kTooLong},
    };
    for (const auto& [text, check] : cases)
        EXPECT_EQ(CheckMaskChar(text), check) << int(text.empty() ? 0 : text[0]);
}

TEST(SerialNumber, TheLengthByteCountsAtMostTheTenCharactersThatFit) {
    using Serial = std::array<std::uint8_t, 11>;
    const std::pair<Serial, std::string> cases[] = {
        {{10, 'S', 'N', '0', '0', '0', '0', '0', '0', '0', '1'}, "SN00000001"},
        {{3, 'A', 'B', 'C', 'D'}, "ABC"},
        {{0, 'A', 'B'}, ""},
        {{0xFF, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J'}, "ABCDEFGHIJ"},
        {{4, ' ', 'B', 'C', 'D'}, " BCD"},
        // Nothing stored: a control character or 0xFF first.
        {{4, 0x19, 'B', 'C', 'D'}, ""},
        {{4, 0xFF, 'B', 'C', 'D'}, ""},
    };
    for (const auto& [serial, text] : cases)
        EXPECT_EQ(SerialNumberText(serial), text) << int(serial[0]);
}

// The security tab on the two secure readers, data editing locked at their levels 3 and 4,
// the boot loader below firmware 4.0.
TEST(AdvancedTabs, TheReaderAndItsFirmwareDecideWhichPagesShow) {
    using T = AdvancedTab;
    const std::vector<T> plain{T::kOutputFormat, T::kDataEditing, T::kQuickClone,
                               T::kManualCommand};
    const std::vector<T> secure{T::kOutputFormat, T::kDataEditing, T::kSecuritySetting,
                                T::kQuickClone, T::kManualCommand};
    const std::vector<T> locked{T::kOutputFormat, T::kSecuritySetting, T::kQuickClone,
                                T::kManualCommand};
    auto withBootLoader = [](std::vector<T> tabs) {
        tabs.push_back(T::kBootLoader);
        return tabs;
    };
    const struct {
        std::uint32_t product;
        std::uint8_t level;
        double firmware;
        std::vector<T> tabs;
    } cases[] = {
        {0x4200, '3', 4.0, plain},
        {0x4205, '4', 5.1, plain},
        {0x4107, '4', 4.3, plain},
        {0x4306, '3', 4.3, plain},
        {0x4106, '0', 4.3, secure},
        {0x4206, '2', 4.3, secure},
        {0x4206, '5', 4.0, secure},
        {0x4106, '3', 4.3, locked},
        {0x4206, '4', 4.3, locked},
        {0, '1', 3.99, withBootLoader(plain)},
        {0x4206, '1', 3.99, withBootLoader(secure)},
        {0x4206, '4', 3.5, withBootLoader(locked)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AdvancedTabSet(c.product, c.level, c.firmware), c.tabs)
            << std::hex << c.product << " level " << c.level << " firmware " << c.firmware;
    }
}

}  // namespace
}  // namespace ravelfin
