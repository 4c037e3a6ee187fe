#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "advanced/advanced_settings_dialog.h"
#include "advanced/quick_clone_page.h"
#include "app/main_window.h"
#include "app/reader_lost_box.h"
#include "app/settings_editors.h"
#include "app/support/editor_rigs.h"
#include "app/support/gui_test_support.h"
#include "basic/basic_settings_dialog.h"
#include "controls/notice_window.h"
#include "flows/flow_messages.h"
#include "protocol/command_frame.h"
#include "shell/interface_selection.h"
#include "support/reader_writes.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {

void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

}  // namespace

class ReaderIdentityTest : public QObject {
    Q_OBJECT
  private slots:
    // Two keyboard readers; the second arrives while the first is being edited and takes
    // its place in the list. The send writes to the first reader or to none.
    void anEditorSendsToItsReaderWhateverArrivesOrLeaves() {
        EditorWindow w({"usb-hid-kb,firmware=V4.30,arrive=100000", "usb-hid-kb,firmware=V3.90"});
        AppRig& rig = w.rig;
        MainWindow& window = w.window;
        SimulatedReader& newcomer = rig.Machine.Reader(0);
        SimulatedReader& edited = rig.Machine.Reader(1);
        window.ChangeBasicSettings();
        auto* basic = qobject_cast<BasicSettingsDialog*>(window.BasicDialog());
        QVERIFY(basic);
        QPushButton* send = basic->Button(BasicSettingsDialog::kSend);
        QPushButton* defaults = basic->Button(BasicSettingsDialog::kDefaultAll);

        rig.Machine.Plug(0);
        Settle();
        QVERIFY(send->isEnabled());  // its reader is still there
        rig.Link.Settings->TerminalType = '4';
        send->click();
        QCOMPARE(rig.Messages.Messages, Strings{kWrittenText});
        QCOMPARE(edited.Settings().TerminalType, '4');
        QVERIFY(newcomer.Frames().empty());

        // Its reader leaves: a notice says so, and nothing can be sent until it is back.
        rig.Machine.Unplug(1);
        Settle();
        QVERIFY(window.Notice());
        QVERIFY2(window.Notice()->Text().contains(QStringLiteral("SN00000002")),
                 qPrintable(window.Notice()->Text()));
        QVERIFY(!send->isEnabled() && !defaults->isEnabled());
        QVERIFY(basic->Button(BasicSettingsDialog::kSave)->isEnabled());
        rig.Messages.Clear();
        basic->SendToMsr();  // as a keyboard shortcut or a script would
        QCOMPARE(rig.Messages.Messages,
                 Strings{"The reader you chose (port 9-2, serial SN00000002) is no longer "
                         "attached; nothing was sent to any reader."});
        QVERIFY(newcomer.Frames().empty());

        // An editor opened again while its reader is away starts with them off.
        window.ChangeBasicSettings();
        basic = qobject_cast<BasicSettingsDialog*>(window.BasicDialog());
        QVERIFY(basic);
        send = basic->Button(BasicSettingsDialog::kSend);
        defaults = basic->Button(BasicSettingsDialog::kDefaultAll);
        QVERIFY(!send->isEnabled() && !defaults->isEnabled());

        const std::size_t before = Writes(edited);
        rig.Machine.Plug(1);
        Settle();
        QVERIFY(send->isEnabled() && defaults->isEnabled());
        send->click();
        QVERIFY(Writes(edited) > before);
        QVERIFY(newcomer.Frames().empty());
    }

    // The advanced editor switches its buttons by tab; while its reader is away they stay off
    // on every tab, and come back as the tab wants them.
    void theAdvancedEditorsSendButtonsFollowItsReaderAndItsTabs() {
        EditorWindow w({"usb-hid,firmware=V4.30"});
        w.window.ChangeAdvancedSettings();
        AdvancedSettingsDialog* advanced = w.Advanced();
        QVERIFY(advanced && advanced->SendButton()->isEnabled());
        w.rig.Machine.Unplug(0);
        Settle();
        QVERIFY(!advanced->SendButton()->isEnabled() && !advanced->DefaultButton()->isEnabled());
        const int tools = advanced->Tabs()->count() - 1;  // a reader tool, not a settings page
        advanced->Tabs()->setCurrentIndex(tools);
        advanced->Tabs()->setCurrentIndex(0);
        QVERIFY(!advanced->SendButton()->isEnabled());
        advanced->Tabs()->setCurrentIndex(tools);
        w.rig.Machine.Plug(0);
        Settle();
        QVERIFY(!advanced->SendButton()->isEnabled());  // the tool tab has no send
        advanced->Tabs()->setCurrentIndex(0);
        QVERIFY(advanced->SendButton()->isEnabled() && advanced->DefaultButton()->isEnabled());
    }

    // The box about a lost reader offers SELECT READER INTERFACE: the editors close once the
    // flow is over and the wizard opens.
    void choosingAnotherReaderClosesTheEditorsAndOpensTheWizard() {
        AppRig rig({"usb-hid", "usb-hid-kb"});
        ShownWindow shown(rig.Machine);
        QVERIFY(shown.connection.Connect(kInterfaceUsbHid, 0));
        StubEditors stubs(shown.connection, shown.messenger);
        MainWindow window(shown.connection, shown.messenger, stubs);
        shown.messenger.SetReaderSelection([&window] { window.ChooseAnotherReader(); });
        window.show();
        window.ChangeBasicSettings();
        QVERIFY(window.BasicDialog());
        QString text;
        OnNextModalOf<QMessageBox>([&text](QMessageBox* box) {
            text = box->text();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QLatin1String(kSelectReaderButton))
                    button->click();
            }
        });
        shown.messenger.OfferReaderSelection("The reader you chose left.");
        QVERIFY(window.BasicDialog());  // not while the flow that asked still runs
        Settle();
        QVERIFY(text.startsWith(QStringLiteral("The reader you chose left.")));
        QVERIFY(!window.BasicDialog() && window.Wizard());
    }

    // Quick Clone keeps the target chosen by its identity; one that left is not replaced by
    // another reader of the same count, and its place is kept until it is back.
    void quickCloneKeepsItsReadersByIdentity() {
        AppRig rig({"usb-hid", "usb-hid", "usb-hid,arrive=100000"});
        SimulatedReader& target = rig.Machine.Reader(1);
        SimulatedReader& stranger = rig.Machine.Reader(2);
        QWidget host;
        auto* page = new QuickClonePage(rig.Machine, rig.Messages, &host);
        host.show();
        page->SourceInterface()->setCurrentIndex(1);
        emit page->SourceInterface()->activated(1);
        page->TargetInterface()->setCurrentIndex(1);
        emit page->TargetInterface()->activated(1);
        page->TargetConnection()->setCurrentIndex(1);  // the second reader
        page->ReadButton()->click();
        rig.Machine.Reader(0).Settings().TrackSelect = '7';
        page->ReadButton()->click();

        // The target leaves and a stranger arrives in the same moment: same count, other
        // reader. The list shows it, but nothing is chosen in the target's place.
        rig.Machine.Unplug(1);
        rig.Machine.Plug(2);
        page->DeviceChanged(1000);
        QCOMPARE(page->TargetConnection()->count(), 2);
        QCOMPARE(page->TargetConnection()->currentIndex(), -1);
        rig.Messages.Clear();
        page->CloneButton()->click();
        QCOMPARE(rig.Messages.Messages, Strings{kSelectTargetText});
        QVERIFY(stranger.Frames().empty());
        QVERIFY(Writes(target) == 0);

        // Back: chosen again, wherever it is listed, and cloned to.
        rig.Machine.Plug(1);
        page->DeviceChanged(2000);
        QCOMPARE(page->TargetConnection()->currentText(),
                 QString::fromStdString(rig.Machine.ReaderName(1)));
        page->CloneButton()->click();
        QCOMPARE(rig.Messages.Messages.back(), std::string(kClonedText));
        QCOMPARE(target.Settings().TrackSelect, '7');
        QVERIFY(stranger.Frames().empty());
    }

    // The wizard keeps the line chosen on its reader, and connects to that reader where it
    // is when CONTINUE is pressed.
    void theWizardConnectsTheReaderChosenNotItsListPosition() {
        AppRig rig({"usb-hid,firmware=V4.30,arrive=100000", "usb-hid,firmware=V3.90",
                    "usb-hid,firmware=V4.25"});
        InterfaceSelection selection(rig.Link, rig.Messages);
        selection.BuildLists();
        const auto choices = selection.ProbeGroup(InterfaceSelection::kUsbGroup);
        QCOMPARE(choices.size(), std::size_t{2});
        QCOMPARE(choices[0].Text, std::string("V3.90"));
        rig.Machine.Plug(0);  // takes index 0
        QVERIFY(selection.Continue(choices[0].Device, {}));
        QCOMPARE(rig.Link.FirmwareVersionText, std::string("V3.90"));
        QCOMPARE(rig.Link.DeviceIndex, 1);

        rig.Machine.Unplug(2);
        rig.Messages.Clear();
        QVERIFY(!selection.Continue(choices[1].Device, {}));
        QCOMPARE(rig.Messages.Messages,
                 Strings{"The reader you chose (port 9-3, serial SN00000003) is no longer "
                         "attached. Please choose it again."});
        QCOMPARE(rig.Link.FirmwareVersionText, std::string("V3.90"));  // the one in use stays
    }
};

RAVELFIN_GUI_TEST(ReaderIdentityTest);
#include "reader_identity_test.moc"
