#pragma once

#include <cstdint>
#include <vector>

namespace ravelfin {

/// The pages the advanced editor can show, in the order their tabs stand.
enum class AdvancedTab {
    kOutputFormat,
    kDataEditing,
    kSecuritySetting,
    kQuickClone,
    kManualCommand,
    kBootLoader,
};

/// Readers with the security settings: the two product ids of model class 30000.
bool IsSecureReader(std::uint32_t productId);

/// The tabs for a reader: Output Format always; Data Editing unless a secure reader runs at
/// security level '3' or '4' (data editing is then locked); Security Setting on a secure
/// reader; Quick Clone and Manual Command always; Set Boot Loader Mode below firmware 4.0.
std::vector<AdvancedTab> AdvancedTabSet(std::uint32_t productId, std::uint8_t securityLevel,
                                        double firmwareVersion);

/// Whether "Send to MSR", "Load from File", "Save to File" and "Default All" apply on a
/// tab: on the pages that edit the settings record, never on the reader tools.
bool IsSettingsTab(AdvancedTab tab);

/// The caption of a tab.
const char* TabCaption(AdvancedTab tab);

}  // namespace ravelfin
