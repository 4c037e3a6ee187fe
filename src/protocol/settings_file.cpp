#include "protocol/settings_file.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>

#include "protocol/command_frame.h"
#include "protocol/file_replacement.h"
#include "protocol/settings_encoder.h"
#include "protocol/settings_parser.h"

namespace ravelfin {
namespace {

constexpr std::string_view kMagic = "KORVEXMSRCFG";
constexpr std::string_view kFormatVersion = "2000";
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kMaxFileSize = 1024;

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view text) {
    return bytes.size() >= text.size() && std::equal(text.begin(), text.end(), bytes.begin());
}

}  // namespace

bool SaveSettingsFile(const ReaderSettings& record, const std::string& path) {
    std::array<std::uint8_t, kMaxFileSize> buffer{};
    std::copy(kMagic.begin(), kMagic.end(), buffer.begin());
    std::copy(kFormatVersion.begin(), kFormatVersion.end(), buffer.begin() + kMagic.size());
    std::size_t frameLength = 0;
    if (!EncodeAllSettings(record, std::span(buffer).subspan(kHeaderSize), frameLength)) {
        return false;
    }
    return ReplaceFileContents(path, std::span(buffer).first(kHeaderSize + frameLength),
                               SystemFileSteps());
}

bool LoadSettingsFile(ReaderSettings& record, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    // One byte more than a file may hold, to tell a full file from an overlong one.
    std::array<std::uint8_t, kMaxFileSize + 1> buffer{};
    in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
    const auto size = static_cast<std::size_t>(in.gcount());
    if (in.bad()) return false;

    return LoadSettingsFromBytes(record, std::span<const std::uint8_t>(buffer).first(size));
}

bool LoadSettingsFromBytes(ReaderSettings& record, std::span<const std::uint8_t> file) {
    if (file.size() <= kHeaderSize + 1 || file.size() > kMaxFileSize) return false;
    if (!StartsWith(file, kMagic) || !StartsWith(file.subspan(kMagic.size()), kFormatVersion) ||
        file[kHeaderSize] != kStx || file[kHeaderSize + 1] != kSetLetter) {
        return false;
    }
    // Parse into a copy: a file that fails half way must not leave a half-loaded record.
    ReaderSettings loaded = record;
    if (!ParseSettings(file.subspan(kHeaderSize), loaded)) return false;
    record = loaded;
    return true;
}

}  // namespace ravelfin
