#include <QComboBox>
#include <QTest>

#include "advanced/quick_clone_page.h"
#include "app/device_change_relay.h"
#include "app/main_window.h"
#include "app/preferences.h"
#include "app/support/gui_test_support.h"
#include "flows/flow_messages.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
/// An advanced editor that is nothing but a Quick Clone tab somewhere inside.
class CloneOnlyEditors final : public SettingsDialogs {
  public:
    CloneOnlyEditors(ReaderEnvironment& machine, Messenger& messages)
        : machine_(machine), messages_(messages) {}
    QDialog* CreateBasic(QWidget* /*parent*/) override { return nullptr; }
    QDialog* CreateAdvanced(QWidget* parent) override {
        auto* editor = new SkinnedDialog(parent, SkinnedDialog::PageTag{});
        new QuickClonePage(machine_, messages_, new QWidget(editor));
        return editor;
    }
    void ReaderReopened(QDialog& /*advanced*/) override {}

  private:
    ReaderEnvironment& machine_;
    Messenger& messages_;
};

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}
}  // namespace

class DeviceChangesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { SavePreferences(Preferences{}); }

    void readersPluggedAndPulledReachTheQuickCloneLists() {
        AppRig rig({"usb-hid", "usb-hid-kb", "usb-hid"});
        CloneOnlyEditors editors(rig.Machine, rig.Messages);
        MainWindow window(rig.Link, rig.Messages, editors);
        qint64 now = 0;
        window.DeviceChanges().SetClock([&now] { return now; });
        QVERIFY(rig.Link.Connect(kInterfaceUsbHid, 0));
        window.ChangeAdvancedSettings();
        auto* page = window.AdvancedDialog()->findChild<QuickClonePage*>();
        QVERIFY(page);
        page->SourceInterface()->setCurrentIndex(1);
        emit page->SourceInterface()->activated(1);
        const QStringList both{"/sim/hidraw0", "/sim/hidraw2"};
        QCOMPARE(Items(page->SourceConnection()), both);

        const auto at = [&](qint64 ms, auto change) {
            now = ms;
            change();
            QApplication::processEvents();
        };
        at(1000, [&] { rig.Machine.Unplug(2); });
        QCOMPARE(Items(page->SourceConnection()), QStringList{"/sim/hidraw0"});
        at(1400, [&] { rig.Machine.Plug(2); });  // too soon after the last one
        QCOMPARE(Items(page->SourceConnection()), QStringList{"/sim/hidraw0"});
        at(1500, [&] { rig.Machine.Unplug(1); });
        QCOMPARE(Items(page->SourceConnection()), both);
        QCOMPARE(Items(page->TargetConnection()), QStringList{});

        // A reader that left while its list still shows it cannot be opened, and says so.
        at(1600, [&] { rig.Machine.Unplug(2); });
        page->SourceConnection()->setCurrentIndex(1);
        page->ReadButton()->click();
        QCOMPARE(rig.Messages.Messages, Strings{kSourceOpenFailedText});
    }

    void theWizardsListFollowsReadersWhileItIsShown() {
        AppRig rig({"usb-hid,firmware=V4.30", "usb-hid-kb,firmware=V3.31"});
        MainWindow window(rig.Link, rig.Messages, rig.Editors);
        window.show();
        window.SelectReaderInterface();
        QComboBox* devices = window.Wizard()->DeviceCombo();
        QCOMPARE(devices->count(), 2);
        devices->setCurrentIndex(1);  // the HID reader, after the keyboard one
        const QString chosen = devices->currentText();
        QVERIFY(chosen.contains("4.30"));
        rig.Machine.Unplug(1);
        QApplication::processEvents();
        QCOMPARE(devices->count(), 1);
        QCOMPARE(devices->currentText(), chosen);
        rig.Machine.Plug(1);
        QApplication::processEvents();
        QCOMPARE(devices->count(), 2);
        QCOMPARE(devices->currentText(), chosen);  // still the one chosen
        window.Wizard()->hide();
        rig.Machine.Unplug(0);
        QApplication::processEvents();
        QCOMPARE(devices->count(), 2);
    }

    void aReaderPulledDuringTheSearchIsDroppedOnceTheSearchIsOver() {
        // The first wait of the search, inside the first probe, is when the reader goes.
        struct PullDuringWait final : Pause {
            std::function<void()> once;
            void Wait(int /*ms*/) override {
                if (auto pull = std::exchange(once, nullptr))
                    pull();
            }
        } pause;
        SimulatedEnvironment machine(pause);
        std::string error;
        for (int i = 0; i < 3; ++i)
            QVERIFY(machine.AddReader(SimulatedReaderOptions{}, error));
        RecordingMessenger messages;
        Connection link(machine, messages);
        StubEditors editors;
        MainWindow window(link, messages, editors);
        window.show();
        pause.once = [&machine] {
            machine.Unplug(1);
            QApplication::processEvents();
        };
        window.SelectReaderInterface();
        QCOMPARE(window.Wizard()->DeviceCombo()->count(), 2);
    }
};

RAVELFIN_GUI_TEST(DeviceChangesTest);
#include "device_changes_test.moc"
