#pragma once

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <memory>

#include "advanced/advanced_settings_dialog.h"
#include "app/main_window.h"
#include "app/settings_editors.h"
#include "app/support/gui_test_support.h"
#include "basic/basic_settings_dialog.h"
#include "controls/char_name_list.h"
#include "controls/editable_grid.h"
#include "controls/radio_group.h"
#include "shell/editor_connection.h"

namespace ravelfin::testing {

// The basic editor on the one simulated reader of `reader`, connected and shown.
struct OpenEditor {
    explicit OpenEditor(const std::string& reader) : rig({reader}) {
        ConnectForBasicEditor(rig.Link);
        dialog = std::make_unique<BasicSettingsDialog>(rig.Link, rig.Messages, files);
        dialog->RefreshAllPages();
        dialog->resize(700, 540);
        dialog->show();
        rig.TakePauses();
        rig.Messages.Clear();
    }
    ReaderSettings& Record() { return *rig.Link.Settings; }
    ReaderSettings& InReader() { return rig.Machine.Reader(0).Settings(); }
    // The editor's own waits since the last look, without the transport's.
    std::vector<int> FlowPauses() {
        std::vector<int> pauses = rig.TakePauses();
        std::erase_if(pauses, [](int ms) { return ms != 500 && ms != 700 && ms != 8000; });
        return pauses;
    }

    AppRig rig;
    ScriptedFileChooser files;
    std::unique_ptr<BasicSettingsDialog> dialog;
};

// Clicks radio button `index` on its indicator, as a user does.
inline void Choose(RadioGroup* group, int index) {
    QRadioButton* button = group->Button(index);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Picks the name from the list, as a click in its open list does.
inline void Pick(CharNameList* list, const char* name) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i) == QLatin1String(name)) {
            list->setCurrentIndex(i);
            emit list->activated(i);
            return;
        }
    }
    QFAIL(name);
}

// Types `text` into a sentinel cell and ends the edit with Enter.
inline void EditCell(EditableGrid* grid, int row, int column, const QString& text) {
    QVERIFY(grid->BeginEdit(row, column));
    auto* line = qobject_cast<QLineEdit*>(grid->Editor());
    QVERIFY(line);
    // Typed over the old value where the keyboard can type it.
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        QTest::keyClicks(line, text);
    else
        line->setText(text);
    QTest::keyClick(line, Qt::Key_Return);
    QTRY_VERIFY(!grid->Editor());
}

/// Simulated readers, a connection to the first and what the editors borrow.
struct ConnectedRig {
    explicit ConnectedRig(const Strings& readers) : app(readers) {
        const auto type = static_cast<int>(app.Machine.Reader(0).InterfaceType());
        if (!app.Link.Connect(type, 0))
            QTest::qFail("cannot connect to the simulated reader", __FILE__, __LINE__);
        app.TakePauses();
    }
    /// The advanced editor on the reader, its pages filled.
    std::unique_ptr<AdvancedSettingsDialog> Open() {
        auto dialog = std::make_unique<AdvancedSettingsDialog>(services, nullptr);
        dialog->RefreshAllPages();
        app.TakePauses();
        return dialog;
    }
    ReaderSettings& Record() { return *app.Link.Settings; }
    SimulatedReader& Reader() { return app.Machine.Reader(0); }

    AppRig app;
    RecordingBoxes boxes;
    ScriptedFileChooser files;
    AdvancedEditorServices services{app.Link, app.Messages, boxes, files};
};

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
