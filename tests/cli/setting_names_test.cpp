#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "cli/set_command.h"
#include "cli/settings_json.h"
#include "fleet/setting_fields.h"

namespace ravelfin::cli {
namespace {

/// A member of the record under the name that scripts use for it, given by the member itself.
struct Binding {
    std::string name;
    std::function<void(ReaderSettings&)> change;  // to a value no record starts with
    const char* value;  // that value as `set` takes it; null where `set` refuses the name
};

// clang-format off
#define BYTE(member) Binding{#member, [](ReaderSettings& r) { r.member = 0xA5; }, "0xA5"}
#define TEXT(member) Binding{#member, [](ReaderSettings& r) { r.member = {0xA5, 1}; }, "[0xA5,1]"}
#define HELD(member, ...) Binding{#member, [](ReaderSettings& r) { __VA_ARGS__; }, nullptr}
// clang-format on

// Setting a value through each name changes exactly its own member; the JSON shows that
// member under that name and no other, and a comparison by name finds that one setting only.
TEST(SettingNames, EachNameIsBoundToItsOwnMember) {
    // clang-format off
    const Binding bindings[] = {
        BYTE(TerminalType), BYTE(BeepVolume), BYTE(BeepMode), BYTE(InterCharDelay),
        BYTE(Handshake), BYTE(StopBits), BYTE(BaudRate), BYTE(DataBits), BYTE(Parity),
        BYTE(XOnChar), BYTE(XOffChar), BYTE(TrackSelect), BYTE(TrackSeparator),
        BYTE(DataFormat), BYTE(UicOptions), BYTE(Terminator), BYTE(SendOptions),
        BYTE(MsrReading), BYTE(DecodingMethod), BYTE(SendLrc), BYTE(HidFormat),
        BYTE(Track1StartSentinel7), BYTE(Track1StartSentinel6), BYTE(Track1StartSentinel5),
        BYTE(Track2StartSentinel7), BYTE(Track2StartSentinel5), BYTE(Track3StartSentinel7),
        BYTE(Track3StartSentinel6), BYTE(Track3StartSentinel5), BYTE(KbPollInterval),
        BYTE(KeyboardLanguage), BYTE(Option25), BYTE(Track1EndSentinel),
        BYTE(Track2EndSentinel), BYTE(Track3EndSentinel), BYTE(PrePan), BYTE(PostPan),
        BYTE(MaskChar), BYTE(Encryption), BYTE(SecurityLevel), BYTE(mode),
        TEXT(Preamble), TEXT(Postamble), TEXT(Track1Prefix), TEXT(Track2Prefix),
        TEXT(Track3Prefix), TEXT(Track1Suffix), TEXT(Track2Suffix), TEXT(Track3Suffix),
        HELD(KbPollIntervalRead, r.KbPollIntervalRead = 1),
        HELD(HidFormatBeforeLoad, r.HidFormatBeforeLoad = 1),
        HELD(addedFields, r.addedFields = {{1}}), HELD(custom, r.custom.fields = {{1}}),
        HELD(custom2, r.custom2.fields = {{1}}), HELD(formulas, r.formulas[1] = {1}),
        HELD(SerialNumber, r.SerialNumber[1] = 1), HELD(InterfaceType, r.InterfaceType = 1),
        HELD(ModelClass, r.ModelClass = 1), HELD(ReconnectPending, r.ReconnectPending = 1),
        HELD(FirmwareVersionNumber, r.FirmwareVersionNumber = 1),
    };
    // clang-format on
    const ReaderSettings start;
    const QJsonObject startJson = SettingsToJson(start);
    std::set<QString> named;
    for (const Binding& b : bindings) {
        ReaderSettings expected = start;
        b.change(expected);
        ASSERT_NE(expected, start) << b.name;
        ReaderSettings assigned = start;
        std::string error;
        EXPECT_EQ(AssignSetting(b.name + "=" + (b.value ? b.value : "1"), assigned, error),
                  b.value != nullptr)
            << b.name << ": " << error;
        EXPECT_EQ(assigned, b.value ? expected : start) << b.name;

        const QJsonObject json = SettingsToJson(expected);
        std::vector<std::string> shown;
        for (auto it = json.begin(); it != json.end(); ++it) {
            if (startJson.value(it.key()) != it.value())
                shown.push_back(it.key().toStdString());
        }
        EXPECT_EQ(shown, std::vector<std::string>{b.name});
        for (const std::string& name : SettingNames())
            EXPECT_EQ(SameSetting(start, expected, name), name != b.name) << b.name << " " << name;
        named.insert(QString::fromStdString(b.name));
    }
    // Every member of the JSON, and so every name `set` and `diff` know, has its row.
    for (const QString& key : startJson.keys())
        EXPECT_EQ(named.count(key), 1u) << key.toStdString();
}

}  // namespace
}  // namespace ravelfin::cli
