#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>

#include "advanced/boot_loader_page.h"
#include "advanced/manual_command_page.h"
#include "advanced/quick_clone_page.h"
#include "app/device_change_relay.h"
#include "app/main_window.h"
#include "app/preferences.h"
#include "app/settings_editors.h"
#include "app/support/editor_rigs.h"
#include "app/support/gui_test_support.h"
#include "flows/flow_messages.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

/// Picks `index` in `list` with the keyboard, as a user does.
void Choose(QComboBox* list, int index) {
    list->setFocus();
    while (list->currentIndex() != index)
        QTest::keyClick(list, list->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
}

/// Runs `once` at the rig's next pause: a look inside a conversation.
void AtNextPause(AppRig& rig, std::function<void()> once) {
    rig.Machine.RecordedPauses().OnWait = [once = std::move(once)](int) mutable {
        if (auto run = std::exchange(once, nullptr))
            run();
    };
}

/// A page placed in a window, as the advanced editor holds it.
template <typename Page>
struct Hosted {
    template <typename... Args>
    explicit Hosted(Args&&... args) : page(*new Page(std::forward<Args>(args)..., &window)) {
        window.resize(700, 520);
        page.resize(window.size());
        window.show();
    }
    QWidget window;
    Page& page;
};

/// Answers the next standard message box with `button` after noting its text and default.
void AnswerBox(QMessageBox::StandardButton button, QString* text,
               QMessageBox::StandardButton* defaultButton = nullptr) {
    OnNextModal([=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        *text = box->text();
        if (defaultButton)
            *defaultButton = box->standardButton(box->defaultButton());
        box->button(button)->click();
    });
}
}  // namespace

class ToolPagesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { SavePreferences(Preferences{}); }

    void readersPluggedAndPulledReachTheQuickCloneLists() {
        EditorWindow w({"usb-hid", "usb-hid-kb", "usb-hid", "usb-rs232"});
        AppRig& rig = w.rig;
        MainWindow& window = w.window;
        qint64 now = 0;
        window.DeviceChanges().SetClock([&now] { return now; });
        QVERIFY(rig.Link.Connect(kInterfaceUsbHid, 0));
        window.ChangeAdvancedSettings();
        auto* page = window.AdvancedDialog()->findChild<QuickClonePage*>();
        QVERIFY(page);
        Choose(page->SourceInterface(), 1);
        const QStringList both{"/sim/hidraw0", "/sim/hidraw2"};
        QCOMPARE(Items(page->SourceConnection()), both);
        QTest::keyClick(page->SourceConnection(), Qt::Key_Escape);  // Escape reads

        const auto at = [&](qint64 ms, auto change) {
            now = ms;
            change();
            QApplication::processEvents();
        };
        at(1000, [&] { rig.Machine.Unplug(2); });
        QCOMPARE(Items(page->SourceConnection()), QStringList{"/sim/hidraw0"});
        at(1499, [&] { rig.Machine.Plug(2); });  // too soon after the last one
        QCOMPARE(Items(page->SourceConnection()), QStringList{"/sim/hidraw0"});
        at(1999, [&] { rig.Machine.Unplug(3); });  // a serial reader counts too
        QCOMPARE(Items(page->SourceConnection()), both);
        // The source keeps its choice while others come and go.
        page->SourceConnection()->setCurrentIndex(1);
        at(2499, [&] { rig.Machine.Unplug(1); });
        QCOMPARE(Items(page->TargetConnection()), QStringList{});
        QCOMPARE(page->SourceConnection()->currentIndex(), 1);

        // The lists refilled by the page are no choice of the user's: the read still counts.
        // A reader that left while its list still shows it cannot be opened, and says so.
        page->CloneButton()->click();
        emit page->SourceConnection()->activated(1);  // the user's choice drops the read
        page->CloneButton()->click();
        at(2500, [&] { rig.Machine.Unplug(2); });
        page->ReadButton()->click();
        QCOMPARE(rig.Messages.Messages,
                 (Strings{kSourceReadText, kTargetOpenFailedText, kReadFirstText,
                          "The source reader you chose (port 9-3, serial SN00000003) is no longer "
                          "attached; nothing was sent to any reader."}));
    }

    void theWizardsListFollowsReadersWhileItIsShown() {
        AppRig rig({"usb-hid,firmware=V4.30", "usb-hid-kb,firmware=V3.31"});
        MainWindow window(rig.Link, rig.Messages, rig.Editors);
        window.show();
        window.SelectReaderInterface();
        QComboBox* devices = window.Wizard()->DeviceCombo();
        devices->setCurrentIndex(1);  // the HID reader, after the keyboard one
        const QString chosen = devices->currentText();
        QVERIFY(chosen.contains("4.30"));
        const auto after = [&](auto change) {
            change();
            QApplication::processEvents();
            return std::pair{devices->count(), devices->currentText()};
        };
        QCOMPARE(after([&] { rig.Machine.Unplug(1); }), (std::pair{1, chosen}));
        QCOMPARE(after([&] { rig.Machine.Plug(1); }), (std::pair{2, chosen}));
        window.Wizard()->hide();  // a hidden wizard's list stays as it was
        QCOMPARE(after([&] { rig.Machine.Unplug(0); }).first, 2);
    }

    void aReaderPulledDuringTheSearchIsDroppedOnceTheSearchIsOver() {
        // The first wait of the search, inside the first probe, is when the reader goes.
        AppRig rig({"usb-hid", "usb-hid", "usb-hid"});
        MainWindow window(rig.Link, rig.Messages, rig.Editors);
        window.show();
        AtNextPause(rig, [&rig] {
            rig.Machine.Unplug(1);
            QApplication::processEvents();
        });
        window.SelectReaderInterface();
        QCOMPARE(window.Wizard()->DeviceCombo()->count(), 2);
    }

    // The log's text is the flow's (tested there); the page shows it as it grows.
    void theManualCommandLogShowsWhatWentOutAndCameBack() {
        AppRig rig({"usb-hid,firmware=V3.90"});
        QVERIFY(rig.Link.Connect(kInterfaceUsbHid, 0));
        int refreshes = 0;
        Hosted<ManualCommandPage> hosted(rig.Link, rig.Messages, [&refreshes] { ++refreshes; });
        ManualCommandPage& page = hosted.page;
        // The command shows while the reader is asked.
        QString whileAsking;
        AtNextPause(rig, [&] { whileAsking = page.ResponseBox()->toPlainText(); });
        const auto send = [&page](const QString& text) {
            page.CommandBox()->setText(text);
            QTest::keyClick(page.CommandBox(), Qt::Key_Return);
        };
        send(QStringLiteral("\\x2\\x52\\x22\\x3"));
        QCOMPARE(whileAsking, QStringLiteral("1) Send Command:  \\x2\\x52\\x22\\x3\\x71 ......\n"));
        send(QStringLiteral("\\x2\\x53\\x10\\x1\\x33\\x3"));
        QCOMPARE(rig.Link.Settings->TerminalType, '3');  // read again after the set
        QCOMPARE(refreshes, 1);
        QCOMPARE(page.ResponseBox()->toPlainText(),
                 QString::fromStdString(page.LogText()).remove('\r'));
        page.ClearButton()->click();
        QCOMPARE(page.ResponseBox()->toPlainText() + QString::fromStdString(page.LogText()),
                 QString());
    }

    // Which password opens it is the flow's (tested there); the page asks before it sends,
    // with No as the default.
    void theBootLoaderSwitchNeedsThePasswordAndAYes() {
        AppRig rig({"usb-hid,firmware=V3.90"});
        QVERIFY(rig.Link.Connect(kInterfaceUsbHid, 0));
        SimulatedReader& reader = rig.Machine.Reader(0);
        const std::size_t framesBefore = reader.Frames().size();
        Hosted<BootLoaderPage> hosted(rig.Link, rig.Messages);
        BootLoaderPage& page = hosted.page;
        QString text;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        page.PasswordBox()->setText(QStringLiteral("qx plor 3904417265"));
        AnswerBox(QMessageBox::Ok, &text);
        QTest::keyClick(page.PasswordBox(), Qt::Key_Return);
        QCOMPARE(text, QString(kInvalidPasswordText));
        page.PasswordBox()->setText(QStringLiteral("QX PLOR 3904417265"));
        AnswerBox(QMessageBox::No, &text, &defaultButton);
        page.SetButton()->click();
        QCOMPARE(text, QString(kBootLoaderQuestionText));
        QCOMPARE(defaultButton, QMessageBox::No);
        QVERIFY(page.PasswordBox()->text().isEmpty());
        QCOMPARE(reader.Frames().size(), framesBefore);  // nothing sent yet

        page.PasswordBox()->setText(QStringLiteral("QX PLOR 3904417265"));
        AnswerBox(QMessageBox::Yes, &text);
        page.SetButton()->click();
        QVERIFY(reader.InBootLoader());
        QCOMPARE(rig.Messages.Messages, Strings{kBootLoaderSetText});
    }
};

RAVELFIN_GUI_TEST(ToolPagesTest);
#include "tool_pages_test.moc"
