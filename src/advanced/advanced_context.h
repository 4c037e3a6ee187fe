#pragma once

#include <functional>

#include "connection/connection.h"
#include "connection/messenger.h"
#include "controls/config_file_chooser.h"
#include "controls/message_boxes.h"
#include "flows/flow_context.h"

namespace ravelfin {

/// The connection's reader as the advanced editor took it last (`FetchReaderContext`). Pages
/// read it through a reference, so that after the reader was reopened they work on the new
/// record and transport.
struct ReaderContext {
    ReaderSettings* Settings = nullptr;
    ReaderTransport* Transport = nullptr;
    int DeviceIndex = -1;
};

/// What the advanced editor and its pages borrow from the program.
struct AdvancedEditorServices {
    Connection& Link;
    Messenger& Messages;
    MessageBoxes& Boxes;
    ConfigFileChooser& Files;
    /// Reloads the basic editor's pages when the main window holds one.
    std::function<void()> RefreshBasicEditor;
};

/// What each page of the advanced editor is given; it lives as long as the editor.
struct AdvancedPageContext {
    AdvancedEditorServices& Services;
    const ReaderContext& Reader;
    /// Reloads the settings pages of both editors, after the record was read from the reader
    /// again.
    std::function<void()> RefreshEditors;

    /// What a flow borrows for one run on the editor's reader: the connection's, which finds
    /// the reader by its identity before it writes.
    FlowContext Flow() const { return Services.Link.Flow(Services.Messages); }
};

}  // namespace ravelfin
