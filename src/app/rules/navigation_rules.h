#pragma once

#include <string>

namespace ravelfin {

/// Which pages of the main window exist or show. At most one settings editor shows at a
/// time, the wizard excludes both editors and a visible editor excludes the wizard.
struct PageStates {
    bool WizardExists = false;
    bool BasicVisible = false;
    bool AdvancedVisible = false;
};

/// Each function returns the notice that refuses the request, or "" when it may go ahead.
std::string WizardRefusal(const PageStates& pages);
std::string BasicEditorRefusal(const PageStates& pages);
std::string AdvancedEditorRefusal(const PageStates& pages);
std::string ReportRefusal(const PageStates& pages);

}  // namespace ravelfin
