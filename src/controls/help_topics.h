#pragma once

#include <QString>
#include <vector>

namespace ravelfin {

/// The help file every caller names; the pages themselves live in the "help" folder.
inline constexpr const char* kHelpFileName = "RavelfinCfgUtil.chm";
/// The help command that shows the topic mapped to a context number.
inline constexpr int kHelpContextCommand = 15;

/// Context numbers of the help topics, one per page of the program.
enum HelpContext : int {
    kHelpMainWindow = 16384,
    kHelpGeneralSettings = 16385,
    kHelpPrePostamble = 16386,
    kHelpSecuritySettings = 16387,
    kHelpTrackSettings = 16388,
    kHelpOutputFormat = 16389,
    kHelpDataEditing = 16390,
    kHelpKeyboardSettings = 16391,
};

struct HelpTopic {
    int context;    // 0 for pages reached only from the contents
    QString file;   // inside the help folder
    QString title;  // shown in the contents
};

/// Every help page in the order of the contents.
const std::vector<HelpTopic>& HelpTopics();

/// The page of a context number, or an empty string when no topic has it.
QString HelpFileForContext(int context);

}  // namespace ravelfin
