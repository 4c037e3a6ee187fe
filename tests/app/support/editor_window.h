#pragma once

#include "advanced/advanced_settings_dialog.h"
#include "app/main_window.h"
#include "app/settings_editors.h"
#include "app/support/gui_test_support.h"
#include "basic/basic_settings_dialog.h"

namespace ravelfin::testing {

/// The program's window, shown, with its real editors on simulated readers; messages, message
/// boxes and file questions are recorded or scripted.
struct EditorWindow {
    explicit EditorWindow(const Strings& readers = {}) : rig(readers) {
        editors.SetMessageBoxes(boxes);
        window.show();
    }
    AdvancedSettingsDialog* Advanced() const {
        return qobject_cast<AdvancedSettingsDialog*>(window.AdvancedDialog());
    }
    BasicSettingsDialog* Basic() const {
        return qobject_cast<BasicSettingsDialog*>(window.BasicDialog());
    }

    AppRig rig;
    RecordingBoxes boxes;
    ScriptedFileChooser files;
    SettingsEditors editors{rig.Link, rig.Messages, files};
    MainWindow window{rig.Link, rig.Messages, editors};
};

}  // namespace ravelfin::testing
