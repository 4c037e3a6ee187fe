#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "advanced/advanced_settings_dialog.h"
#include "advanced/output_format_page.h"
#include "advanced/security_setting_page.h"
#include "app/interface_wizard.h"
#include "app/settings_editors.h"
#include "app/support/editor_rigs.h"
#include "app/support/gui_test_support.h"
#include "app/support/named_controls.h"
#include "basic/basic_settings_dialog.h"
#include "basic/general_settings_page.h"
#include "controls/config_file_chooser.h"
#include "controls/radio_group.h"
#include "flows/flow_messages.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
const std::string kReopened = "Success to re-open the device.";
}  // namespace

class AdvancedEditorWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void aNewHidFormatResetsTheReaderWhichIsReopenedAsTheOtherKind() {
        EditorWindow w({"usb-hid,pid=4201,firmware=V4.30"});
        w.window.ChangeAdvancedSettings();
        AdvancedSettingsDialog* editor = w.Advanced();
        QVERIFY(editor && editor->isVisible());
        OutputFormatPage& format = *editor->OutputFormat();

        for (const auto& [button, type, productId] :
             {std::tuple{format.KeyboardButton(), kInterfaceUsbHidKb, 0x4101u},
              std::tuple{format.HidButton(), kInterfaceUsbHid, 0x4201u}}) {
            w.rig.Messages.Clear();
            button->click();
            editor->SendButton()->click();
            QTRY_COMPARE(w.rig.Messages.Messages, (Strings{kWrittenText, kReopened}));
            // The same editor, on the reader as it came back.
            QCOMPARE(w.Advanced(), editor);
            QCOMPARE(w.rig.Link.InterfaceType, int(type));
            QCOMPARE(w.rig.Link.Transport->ProductId, productId);
            QVERIFY(button->isChecked() && button->isEnabled());
            QCOMPARE(w.rig.Link.Settings->ReconnectPending, 0u);
            // The data editing page edits the new record.
            QWidget* dataEditing = editor->Page(AdvancedTab::kDataEditing);
            QAbstractButton* enable = Named(dataEditing, "Enable");
            QAbstractButton* disable = Named(dataEditing, "Disable");
            QAbstractButton* other = enable->isChecked() ? disable : enable;
            other->click();
            QCOMPARE(w.rig.Link.Settings->mode != '0', other == enable);
        }
    }

    void factorySettingsOrAReportReadAgainReloadTheOtherEditor() {
        EditorWindow w({"usb-hid,firmware=V4.30,security-level=1"});
        w.window.ChangeBasicSettings();
        w.window.ChangeAdvancedSettings();
        AdvancedSettingsDialog* advanced = w.Advanced();
        BasicSettingsDialog* basic = w.Basic();
        QVERIFY(advanced && basic && !basic->isVisible());

        basic->GeneralPage()->Beep()->SetIndex(-1);
        advanced->DefaultAll();
        QVERIFY(basic->GeneralPage()->Beep()->Index() >= 0);

        advanced->Security()->MaskCharBox()->setText(QStringLiteral("#"));
        advanced->SendToMsr();
        QCOMPARE(w.rig.Machine.Reader(0).Settings().MaskChar, '#');
        // Showing the basic editor again keeps the advanced one, hidden.
        w.window.ChangeBasicSettings();
        QCOMPARE(w.Advanced(), advanced);
        w.Basic()->DefaultAll();
        QCOMPARE(advanced->Security()->MaskCharBox()->text(), QStringLiteral("*"));

        // The report reads the reader into the record: an unsent edit on either editor's page
        // gives way to what the reader holds.
        advanced->Security()->MaskCharBox()->setText(QStringLiteral("#"));
        w.Basic()->GeneralPage()->Beep()->SetIndex(-1);
        OnNextModal([](QWidget* modal) { modal->close(); });
        w.window.CheckCurrentSettings();
        QCOMPARE(advanced->Security()->MaskCharBox()->text(), QStringLiteral("*"));
        QVERIFY(w.Basic()->GeneralPage()->Beep()->Index() >= 0);
    }

    // The wizard's CONTINUE replaces the record: an editor made for the earlier one, hidden
    // behind the other, must neither show nor touch it again. (It once refreshed from the
    // freed record when the basic editor's "Default All" reread the reader.)
    void aReaderChosenInTheWizardClosesTheEditorsMadeForTheEarlierOne() {
        EditorWindow w({"usb-hid,firmware=V4.30", "usb-hid-kb,firmware=V3.90"});
        w.rig.Link.Connect(kInterfaceUsbHid, 0);
        w.window.ChangeAdvancedSettings();
        w.window.ChangeBasicSettings();
        w.Basic()->CloseEditor();
        QTRY_VERIFY(!w.window.BasicDialog());
        QVERIFY(w.window.AdvancedDialog() && !w.window.AdvancedDialog()->isVisible());

        w.window.SelectReaderInterface();
        QVERIFY(w.window.Wizard());
        w.window.Wizard()->ContinueButton()->click();
        QTRY_VERIFY(!w.window.Wizard());
        QVERIFY(!w.window.AdvancedDialog());

        w.rig.Messages.Clear();
        w.window.ChangeBasicSettings();
        w.Basic()->DefaultAll();
        QCOMPARE(w.rig.Messages.Messages, Strings{kDefaultsSetText});
        w.window.ChangeAdvancedSettings();  // made afresh, for the reader now in use
        QVERIFY(w.Advanced() && w.Advanced()->isVisible());
    }

    // An editor closed while a modal window of its own runs (the file dialog of "Save to
    // File", a formula editor of its Data Editing page) ends that window first and goes only
    // once the loop that ran it has returned: a screen reader's Press reaches "Close" behind
    // a modal window.
    void anEditorClosedWhileItsModalWindowRunsGoesAfterIt() {
        EditorDesk desk({"usb-hid,firmware=V4.30"});  // the real file dialog, the editor's child
        desk.machine.Reader(0).Settings().mode = '1';
        MainWindow& window = desk.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int editor = 0; editor < 2; ++editor) {
            QPointer<SettingsEditor> open = ShowEditor(window, editor);
            QVERIFY(open);
            bool ownModal = false;
            OnNextModal([&](QWidget* modal) {
                for (QObject* o = modal; o; o = o->parent())
                    ownModal = ownModal || o == open;
                open->Button(SettingsEditor::kClose)->click();
                QApplication::processEvents();
                QVERIFY(!open->isVisible() && !modal->isVisible());
            });
            if (editor == 0) {
                open->Button(SettingsEditor::kSave)->click();
            } else {
                for (QPushButton* button : open->findChildren<QPushButton*>()) {
                    if (button->text() == QStringLiteral("Add Formula"))
                        button->click();
                }
            }
            QVERIFY2(ownModal, editor == 0 ? "basic" : "advanced");
            QTRY_VERIFY(!open);
            QVERIFY(desk.messenger.Messages.empty());  // the ended file dialog saved nothing
        }
    }
};

RAVELFIN_GUI_TEST(AdvancedEditorWindowTest);
#include "advanced_editor_window_test.moc"
