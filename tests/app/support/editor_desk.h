#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>

#include "app/main_window.h"
#include "app/settings_editors.h"
#include "app/support/gui_test_support.h"
#include "connection/connection.h"
#include "controls/config_file_chooser.h"
#include "sim/simulated_environment.h"

namespace ravelfin::testing {

/// The program's window with its two real editors, shown, on simulated readers written as
/// --simulate takes them. Messages are recorded, so that none waits for an answer.
struct EditorDesk {
    explicit EditorDesk(std::initializer_list<const char*> readers) {
        std::string error;
        for (const char* optionText : readers) {
            if (!machine.AddReaderFromOptionText(optionText, error))
                std::fprintf(stderr, "%s\n", error.c_str());
        }
        window.show();
    }
    SimulatedEnvironment machine;
    RecordingMessenger messenger;
    Connection connection{machine, messenger};
    QtConfigFileChooser files;
    SettingsEditors editors{connection, messenger, files};
    MainWindow window{connection, messenger, editors};
};

}  // namespace ravelfin::testing
