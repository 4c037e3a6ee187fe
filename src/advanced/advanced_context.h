#pragma once

#include <QString>
#include <functional>

#include "connection/connection.h"
#include "connection/messenger.h"
#include "controls/message_boxes.h"
#include "flows/flow_context.h"

class QWidget;

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
    /// The configuration file chooser: a path to save to (`save`) or to load from, or an
    /// empty string when the user cancelled.
    std::function<QString(QWidget* owner, bool save)> ChooseFile;
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

    /// What a flow borrows for one run on the editor's reader.
    FlowContext Flow() const {
        return FlowContext{Reader.Transport, Reader.DeviceIndex, Services.Messages,
                           Services.Link.Environment().GetPause()};
    }
};

}  // namespace ravelfin
