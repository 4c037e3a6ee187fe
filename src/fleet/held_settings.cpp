#include "fleet/held_settings.h"

#include <algorithm>
#include <array>
#include <set>

#include "fleet/setting_fields.h"
#include "protocol/command_frame.h"
#include "protocol/firmware_version.h"
#include "protocol/settings_encoder.h"

namespace ravelfin {

namespace {

constexpr std::size_t kFrameBuffer = 2048;
constexpr std::uint8_t kSecurityItems[] = {'I', 'J', 'K', 'L'};

/// Adds the FuncID of every item of an encoder's frame (STX 'S' items ETX LRC) to `ids`.
void AddItems(const ReaderSettings& record,
              bool (*encode)(const ReaderSettings&, std::span<std::uint8_t>, std::size_t&),
              std::set<std::uint8_t>& ids) {
    std::array<std::uint8_t, kFrameBuffer> frame{};
    std::size_t length = 0;
    if (!encode(record, frame, length))
        return;
    for (std::size_t p = 2; p + 1 < length && frame[p] != kEtx; p += 2 + frame[p + 1])
        ids.insert(frame[p]);
}

}  // namespace

std::vector<std::string> HeldSettings(const ReaderSettings& reader, const ReaderSettings& wanted) {
    ReaderSettings sent = wanted;
    sent.FirmwareVersionNumber = reader.FirmwareVersionNumber;
    std::set<std::uint8_t> ids;
    AddItems(sent, EncodeGeneralSettings, ids);
    AddItems(sent, EncodeDataEditFrame, ids);
    if (reader.ModelClass == kModelFormulas) {
        for (std::uint8_t id : kSecurityItems)
            ids.erase(id);
    }
    std::vector<std::string> names;
    auto keep = [&](const char* name, std::uint8_t id) {
        if (ids.count(id) > 0)
            names.emplace_back(name);
    };
    for (const ByteSetting& s : ByteSettings()) {
        if (s.IsSetting)
            keep(s.Name, s.FuncId);
    }
    for (const StringSetting& s : StringSettings())
        keep(s.Name, s.FuncId);
    for (const DataEditSetting& s : DataEditSettingNames())
        keep(s.Name, s.FuncId);
    return names;
}

bool CompareWithReader(const ReaderSettings& reader, ReaderSettings& wanted,
                       std::vector<std::string>& differing) {
    ReaderSettings stored = wanted;
    if (!AsStoredBy(stored, reader.FirmwareVersionNumber))
        return false;
    wanted = stored;
    differing.clear();
    for (const std::string& name : HeldSettings(reader, wanted)) {
        if (!SameSetting(reader, wanted, name))
            differing.push_back(name);
    }
    return true;
}

}  // namespace ravelfin
