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

bool EncodeSettingsFile(const ReaderSettings& record, Bytes& file) {
    std::array<std::uint8_t, kMaxFileSize> buffer{};
    std::copy(kMagic.begin(), kMagic.end(), buffer.begin());
    std::copy(kFormatVersion.begin(), kFormatVersion.end(), buffer.begin() + kMagic.size());
    std::size_t frameLength = 0;
    if (!EncodeAllSettings(record, std::span(buffer).subspan(kHeaderSize), frameLength)) {
        return false;
    }
    file.assign(buffer.begin(),
                buffer.begin() + static_cast<std::ptrdiff_t>(kHeaderSize + frameLength));
    return true;
}

bool SaveSettingsFile(const ReaderSettings& record, const std::string& path) {
    Bytes file;
    return EncodeSettingsFile(record, file) && ReplaceFileContents(path, file, SystemFileSteps());
}

namespace {

/// The file's bytes, one more than a file may hold when it is longer, so that loading
/// refuses an overlong file rather than a cut one.
bool ReadBytes(const std::string& path, Bytes& file) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    file.assign(kMaxFileSize + 1, 0);
    in.read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size()));
    if (in.bad()) return false;
    file.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

}  // namespace

bool ReadSettingsFile(const std::string& path, Bytes& file) {
    ReaderSettings check;
    return ReadBytes(path, file) && LoadSettingsFromBytes(check, file);
}

bool LoadSettingsFile(ReaderSettings& record, const std::string& path) {
    Bytes file;
    return ReadBytes(path, file) && LoadSettingsFromBytes(record, file);
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
