#include "flows/settings_file_flow.h"

#include "flows/flow_messages.h"
#include "protocol/settings_file.h"

namespace ravelfin {

bool SaveToFile(ReaderSettings& settings, const ReaderTransport* transport, const std::string& path,
                Editor editor, Messenger& messages) {
    if (transport)
        settings.FirmwareVersionNumber = transport->FirmwareVersionNumber;
    const bool saved = SaveSettingsFile(settings, path);
    const bool basic = editor == Editor::kBasic;
    if (saved) {
        messages.ShowMessage(basic ? kBasicSavedText : kAdvancedSavedText);
    } else {
        messages.ShowMessage(basic ? kBasicSaveFailedText : kAdvancedSaveFailedText);
    }
    return saved;
}

namespace {

/// The load of "Load from File" with `load` doing the reading.
bool LoadWith(ReaderSettings& settings, Messenger& messages,
              const std::function<void()>& refreshPages,
              const std::function<bool(ReaderSettings&)>& load) {
    const std::uint8_t formatBefore = settings.HidFormat;
    // The file's polling interval is a value to send, not what the reader runs with.
    const std::uint8_t pollIntervalRead = settings.KbPollIntervalRead;
    if (!load(settings)) {
        messages.ShowMessage(kLoadFailedText);
        return false;
    }
    settings.HidFormatBeforeLoad = formatBefore;
    settings.KbPollIntervalRead = pollIntervalRead;
    if (settings.HidFormat != settings.HidFormatBeforeLoad)
        settings.ReconnectPending = 1;
    if (refreshPages)
        refreshPages();
    messages.ShowMessage(kLoadedText);
    return true;
}

}  // namespace

bool LoadFromFile(ReaderSettings& settings, const std::string& path, Messenger& messages,
                  const std::function<void()>& refreshPages) {
    return LoadWith(settings, messages, refreshPages,
                    [&](ReaderSettings& record) { return LoadSettingsFile(record, path); });
}

bool LoadFromFileBytes(ReaderSettings& settings, std::span<const std::uint8_t> file,
                       Messenger& messages) {
    return LoadWith(settings, messages, {},
                    [&](ReaderSettings& record) { return LoadSettingsFromBytes(record, file); });
}

}  // namespace ravelfin
