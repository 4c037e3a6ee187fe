#include "controls/help_topics.h"

namespace ravelfin {

const std::vector<HelpTopic>& HelpTopics() {
    static const std::vector<HelpTopic> topics = {
        {kHelpMainWindow, QStringLiteral("main_window.html"), QStringLiteral("Getting started")},
        {0, QStringLiteral("select_interface.html"), QStringLiteral("Selecting the reader")},
        {0, QStringLiteral("check_settings.html"), QStringLiteral("Checking the settings")},
        {kHelpGeneralSettings, QStringLiteral("general_settings.html"),
         QStringLiteral("General settings")},
        {kHelpPrePostamble, QStringLiteral("prepostamble.html"),
         QStringLiteral("Preamble, postamble and sentinels")},
        {kHelpTrackSettings, QStringLiteral("track_settings.html"),
         QStringLiteral("Track settings")},
        {kHelpKeyboardSettings, QStringLiteral("keyboard_settings.html"),
         QStringLiteral("Keyboard settings")},
        {kHelpOutputFormat, QStringLiteral("output_format.html"), QStringLiteral("Output format")},
        {kHelpDataEditing, QStringLiteral("data_editing.html"), QStringLiteral("Data editing")},
        {kHelpSecuritySettings, QStringLiteral("security_settings.html"),
         QStringLiteral("Security settings")},
        {0, QStringLiteral("tools.html"), QStringLiteral("Reader tools")},
    };
    return topics;
}

QString HelpFileForContext(int context) {
    for (const HelpTopic& topic : HelpTopics()) {
        if (context != 0 && topic.context == context)
            return topic.file;
    }
    return {};
}

}  // namespace ravelfin
