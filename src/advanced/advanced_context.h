#pragma once

#include <functional>

#include "connection/connection.h"
#include "connection/messenger.h"
#include "controls/config_file_chooser.h"
#include "controls/message_boxes.h"
#include "flows/flow_context.h"

namespace ravelfin {

/// What the advanced editor and its pages borrow from the program. The reader, its record
/// and its transport are reached through `Link` at each use: a reopen replaces them.
struct AdvancedEditorServices {
    Connection& Link;
    Messenger& Messages;
    MessageBoxes& Boxes;
    ConfigFileChooser& Files;
};

/// What each page of the advanced editor is given; it lives as long as the editor.
struct AdvancedPageContext {
    AdvancedEditorServices& Services;
    /// Reloads the settings pages of both editors, after the record was read from the reader
    /// again.
    std::function<void()> RefreshEditors;

    /// What a flow borrows for one run on the connection's reader as it is now: the
    /// connection finds the reader by its identity before it writes.
    FlowContext Flow() const { return Services.Link.Flow(Services.Messages); }
};

}  // namespace ravelfin
