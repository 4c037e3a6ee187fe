#include "advanced/rules/advanced_tabs.h"

namespace ravelfin {

namespace {
constexpr std::uint32_t kSecureKeyboardReader = 0x4106;
constexpr std::uint32_t kSecureHidReader = 0x4206;
constexpr double kLastBootLoaderFirmware = 4.0;
}  // namespace

bool IsSecureReader(std::uint32_t productId) {
    return productId == kSecureKeyboardReader || productId == kSecureHidReader;
}

std::vector<AdvancedTab> AdvancedTabSet(std::uint32_t productId, std::uint8_t securityLevel,
                                        double firmwareVersion) {
    const bool secure = IsSecureReader(productId);
    const bool dataEditLocked = secure && (securityLevel == '3' || securityLevel == '4');
    std::vector<AdvancedTab> tabs{AdvancedTab::kOutputFormat};
    if (!dataEditLocked)
        tabs.push_back(AdvancedTab::kDataEditing);
    if (secure)
        tabs.push_back(AdvancedTab::kSecuritySetting);
    tabs.push_back(AdvancedTab::kQuickClone);
    tabs.push_back(AdvancedTab::kManualCommand);
    if (firmwareVersion < kLastBootLoaderFirmware)
        tabs.push_back(AdvancedTab::kBootLoader);
    return tabs;
}

bool IsSettingsTab(AdvancedTab tab) {
    return tab == AdvancedTab::kOutputFormat || tab == AdvancedTab::kDataEditing ||
           tab == AdvancedTab::kSecuritySetting;
}

const char* TabCaption(AdvancedTab tab) {
    switch (tab) {
        case AdvancedTab::kOutputFormat:
            return "Output Format";
        case AdvancedTab::kDataEditing:
            return "Data Editing";
        case AdvancedTab::kSecuritySetting:
            return "Security Setting";
        case AdvancedTab::kQuickClone:
            return "Quick Clone";
        case AdvancedTab::kManualCommand:
            return "Manual Command";
        case AdvancedTab::kBootLoader:
            return "Set Boot Loader Mode";
    }
    return "";
}

}  // namespace ravelfin
