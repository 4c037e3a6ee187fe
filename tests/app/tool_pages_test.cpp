#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QComboBox>
#include <QLabel>
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
#include "app/support/gui_test_support.h"
#include "app/support/scripted_file_chooser.h"
#include "flows/flow_messages.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
/// What a screen reader announces a control by: its name, or for a drop-down list (whose
/// name on Linux is its current item) the label it is labelled by.
QString Caption(QWidget* widget) {
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
    if (!qobject_cast<QComboBox*>(widget))
        return control->text(QAccessible::Name);
    const auto labels = control->relations(QAccessible::Label);
    return labels.size() == 1 ? labels[0].first->text(QAccessible::Name) : QString();
}

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

/// A pause that runs `once` at the first wait after it is set: a look inside a conversation.
struct FirstWait final : Pause {
    std::function<void()> once;
    void Wait(int /*ms*/) override {
        if (auto run = std::exchange(once, nullptr))
            run();
    }
};

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
        AppRig rig({"usb-hid", "usb-hid-kb", "usb-hid", "usb-rs232"});
        ScriptedFileChooser files;
        SettingsEditors editors(rig.Link, rig.Messages, files);
        MainWindow window(rig.Link, rig.Messages, editors);
        qint64 now = 0;
        window.DeviceChanges().SetClock([&now] { return now; });
        QVERIFY(rig.Link.Connect(kInterfaceUsbHid, 0));
        window.ChangeAdvancedSettings();
        auto* page = window.AdvancedDialog()->findChild<QuickClonePage*>();
        QVERIFY(page);
        Choose(page->SourceInterface(), 1);
        const QStringList both{"/sim/hidraw0", "/sim/hidraw2"};
        QCOMPARE(Items(page->SourceConnection()), both);
        page->ReadButton()->click();

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
        at(2500, [&] { rig.Machine.Unplug(2); });
        page->ReadButton()->click();
        QCOMPARE(rig.Messages.Messages,
                 (Strings{kSourceReadText, kTargetOpenFailedText,
                          "The source reader you chose (port 9-3, serial SN00000003) is no longer "
                          "attached; nothing was sent to any reader."}));
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
        FirstWait pause;
        SimulatedEnvironment machine(pause);
        std::string error;
        for (int i = 0; i < 3; ++i)
            QVERIFY(machine.AddReader(SimulatedReaderOptions{}, error));
        RecordingMessenger messages;
        Connection link(machine, messages);
        StubEditors editors(link, messages);
        MainWindow window(link, messages, editors);
        window.show();
        pause.once = [&machine] {
            machine.Unplug(1);
            QApplication::processEvents();
        };
        window.SelectReaderInterface();
        QCOMPARE(window.Wizard()->DeviceCombo()->count(), 2);
    }

    void aCloneCopiesTheSourceReadersGeneralSettingsToTheTarget() {
        AppRig rig({"usb-hid-kb,firmware=V4.30", "usb-hid,firmware=V4.30"});
        ReaderSettings& source = rig.Machine.Reader(0).Settings();
        const ReaderSettings& target = rig.Machine.Reader(1).Settings();
        source.TerminalType = '3';
        source.Track1Prefix = {'A', 0x0D};
        // The HID target's own format: a keyboard format would make it reset into a keyboard
        // reader and leave for a while.
        source.HidFormat = '0';
        Hosted<QuickClonePage> hosted(rig.Machine, rig.Messages);
        QuickClonePage& page = hosted.page;
        QCOMPARE(Items(page.SourceConnection()), QStringList{"/sim/hidraw0"});
        QCOMPARE(Items(page.TargetConnection()), QStringList{"/sim/hidraw0"});

        // Enter clones, Escape reads, wherever the focus is but on the read button.
        Choose(page.TargetInterface(), 1);
        QCOMPARE(Items(page.TargetConnection()), QStringList{"/sim/hidraw1"});
        QTest::keyClick(page.TargetConnection(), Qt::Key_Return);
        QTest::keyClick(page.TargetConnection(), Qt::Key_Escape);
        QVERIFY(page.isVisible());
        // Another source interface keeps the read; the user choosing a connection drops it.
        Choose(page.SourceInterface(), 1);
        Choose(page.SourceInterface(), 0);
        QTest::keyClick(page.SourceInterface(), Qt::Key_Enter);
        QCOMPARE(target.TerminalType, '3');
        QCOMPARE(target.Track1Prefix, (Bytes{'A', 0x0D}));
        QVERIFY(!rig.Link.Transport && !rig.Link.Settings);  // the connection is not used
        emit page.SourceConnection()->activated(0);
        page.CloneButton()->click();
        QCOMPARE(rig.Messages.Messages,
                 (Strings{kReadFirstText, kSourceReadText, kClonedText, kReadFirstText}));
    }

    void theManualCommandLogShowsWhatWentOutAndCameBack() {
        FirstWait pause;
        SimulatedEnvironment machine(pause);
        std::string error;
        QVERIFY(machine.AddReaderFromOptionText("usb-hid,firmware=V3.90", error));
        RecordingMessenger messages;
        Connection link(machine, messages);
        QVERIFY(link.Connect(kInterfaceUsbHid, 0));
        int refreshes = 0;
        Hosted<ManualCommandPage> hosted(link, messages, [&refreshes] { ++refreshes; });
        ManualCommandPage& page = hosted.page;
        // The command shows while the reader is asked.
        QString whileAsking;
        pause.once = [&] { whileAsking = page.ResponseBox()->toPlainText(); };
        const auto send = [&page](const QString& text) {
            page.CommandBox()->setText(text);
            QTest::keyClick(page.CommandBox(), Qt::Key_Return);
        };
        send(QStringLiteral("\\x2\\x52\\x22\\x3"));
        QCOMPARE(whileAsking, QStringLiteral("1) Send Command:  \\x2\\x52\\x22\\x3\\x71 ......\n"));
        send(QStringLiteral("\\x2\\x53\\x10\\x1\\x33"));  // no ETX: refused, numbered 2
        send(QStringLiteral("\\x2 \\x53\\x10\\x1\t\\x33\\x3"));
        QCOMPARE(machine.Reader(0).Settings().TerminalType, '3');
        QCOMPARE(link.Settings->TerminalType, '3');  // read again after the set
        QCOMPARE(refreshes, 1);
        // A HID reader answers in whole 32-byte reports.
        const auto zeros = [](int count) {
            std::string text;
            while (count--)
                text += "0x00 ";
            return text;
        };
        const std::string log =
            "1) Send Command:  \\x2\\x52\\x22\\x3\\x71 ......\r\n"
            "Return From MSR (32Bytes):  0x06 0x02 0x56 0x33 0x2e 0x39 0x30 0x03 0x43 " +
            zeros(23) +
            "\r\n"
            "\r\n3) Send Command:  \\x2\\x53\\x10\\x1\\x33\\x3\\x70 ......\r\n"
            "Return From MSR (32Bytes):  0x06 " +
            zeros(31) + "\r\n";
        QCOMPARE(QString::fromStdString(page.LogText()), QString::fromStdString(log));
        QCOMPARE(messages.Messages, Strings{kNotFramedText});
        // The box shows the log as plain lines, to the eye and to a screen reader.
        const QString shown = QString::fromStdString(log).remove('\r');
        QCOMPARE(page.ResponseBox()->toPlainText(), shown);
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(page.ResponseBox())->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), shown);

        // A cleared log starts again at 1 without a line break.
        page.ClearButton()->click();
        QCOMPARE(page.ResponseBox()->toPlainText(), QString());
        send(QStringLiteral("\\x2\\x52\\x22\\x3"));
        QVERIFY(page.LogText().starts_with("1) Send Command:  "));
        QTest::keyClick(page.CommandBox(), Qt::Key_Escape);
        QVERIFY(page.isVisible());
    }

    void theBootLoaderSwitchNeedsThePasswordAndAYes() {
        AppRig rig({"usb-hid,firmware=V3.90"});
        QVERIFY(rig.Link.Connect(kInterfaceUsbHid, 0));
        SimulatedReader& reader = rig.Machine.Reader(0);
        const std::size_t framesBefore = reader.Frames().size();
        Hosted<BootLoaderPage> hosted(rig.Link, rig.Messages);
        BootLoaderPage& page = hosted.page;
        QString text;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        for (const char* wrong : {"QX PLOR 3904417265 ", "qx plor 3904417265"}) {
            page.PasswordBox()->setText(wrong);
            AnswerBox(QMessageBox::Ok, &text);
            QTest::keyClick(page.PasswordBox(), Qt::Key_Return);
            QCOMPARE(text, QString(kInvalidPasswordText));
            QCOMPARE(page.PasswordBox()->text(), QString(wrong));
        }
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
        QCOMPARE(reader.Frames().back(), (Bytes{0x02, 0x53, 0x70, 0x01, 0xFF, 0x03, 0xDC}));
        QCOMPARE(rig.Messages.Messages, Strings{kBootLoaderSetText});
    }

    void everyControlIsNamedAfterItsCaption() {
        AppRig rig({"usb-hid"});
        QuickClonePage clone(rig.Machine, rig.Messages);
        ManualCommandPage manual(rig.Link, rig.Messages, {});
        BootLoaderPage boot(rig.Link, rig.Messages);
        QCOMPARE(manual.SendButton()->isEnabled(), false);  // no reader connected
        for (QWidget* page : std::initializer_list<QWidget*>{&clone, &manual, &boot}) {
            for (QLabel* label : page->findChildren<QLabel*>()) {
                if (label->buddy())
                    QCOMPARE(Caption(label->buddy()), label->text());
            }
            for (QPushButton* button : page->findChildren<QPushButton*>())
                QCOMPARE(Caption(button), button->text());
        }
        QCOMPARE(clone.findChildren<QLabel*>().size(), 6);
        QCOMPARE(Caption(manual.ResponseBox()),
                 QStringLiteral("Command/Response Data to/from Ravelfin:"));
    }
};

RAVELFIN_GUI_TEST(ToolPagesTest);
#include "tool_pages_test.moc"
