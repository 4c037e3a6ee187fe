#include "app/rules/navigation_rules.h"

namespace ravelfin {

std::string WizardRefusal(const PageStates& pages) {
    if (pages.AdvancedVisible) {
        return "Please close \"Change Advanced Reader Setting\" Before Going Back to the Main "
               "Menu";
    }
    if (pages.BasicVisible) {
        return "Please close \"Change Basic Reader Setting\" Before Going Back to the Main Menu";
    }
    return {};
}

std::string BasicEditorRefusal(const PageStates& pages) {
    if (!pages.WizardExists)
        return {};
    return "Please close current window before selecting \"CHANGE BASIC READER SETTINGS\"";
}

std::string AdvancedEditorRefusal(const PageStates& pages) {
    if (!pages.WizardExists)
        return {};
    return "Please close current window before selecting \"CHANGE ADVANCED READER SETTINGS\"";
}

std::string ReportRefusal(const PageStates& pages) {
    if (!pages.WizardExists)
        return {};
    return "Please close current window before selecting \"CHECK CURRENT READER SETTINGS\"";
}

}  // namespace ravelfin
