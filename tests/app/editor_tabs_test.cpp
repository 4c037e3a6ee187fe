#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "advanced/advanced_settings_dialog.h"
#include "app/settings_editors.h"
#include "app/support/gui_test_support.h"
#include "app/support/scripted_file_chooser.h"
#include "basic/basic_settings_dialog.h"

using namespace ravelfin;
using namespace ravelfin::testing;

class EditorTabsTest : public QObject {
    Q_OBJECT

  private slots:
    // With every tab there (a secure reader below 4.0 has six), each caption is seen whole in
    // the program's window: no tab hides behind the scroll arrows.
    void everyAdvancedTabIsSeenWhole() {
        AppRig rig({"usb-hid-kb,firmware=V3.90,pid=4106"});
        ScriptedFileChooser files;
        SettingsEditors editors{rig.Link, rig.Messages, files};
        MainWindow window{rig.Link, rig.Messages, editors};
        // The window's own size, as on any screen of 1024 x 768 or more.
        window.setFixedSize(kMainWindowWidth, kMainWindowHeight);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ChangeAdvancedSettings();
        SettingsEditor* editor = window.AdvancedDialog();
        QVERIFY(editor && editor->isVisible());
        QApplication::processEvents();
        QTabBar* bar = editor->findChild<QTabWidget*>()->tabBar();
        QCOMPARE(bar->count(), 6);
        for (int tab = 0; tab < bar->count(); ++tab) {
            bar->setCurrentIndex(tab);
            QApplication::processEvents();
            for (int other = 0; other < bar->count(); ++other)
                QVERIFY2(bar->rect().contains(bar->tabRect(other)),
                         qPrintable(bar->tabText(other) + " is cut off"));
        }
    }

    // Ctrl+Tab turns the pages also from the buttons under the tabs (where the focus starts),
    // not only from inside a page; Ctrl+Shift+Tab turns them back.
    void ctrlTabTurnsThePagesFromTheButtonsUnderThem() {
        AppRig rig({"usb-hid-kb,firmware=V4.30"});
        ScriptedFileChooser files;
        SettingsEditors editors{rig.Link, rig.Messages, files};
        MainWindow window{rig.Link, rig.Messages, editors};
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (int editor = 0; editor < 2; ++editor) {
            SettingsEditor* dialog = ShowEditor(window, editor);
            QVERIFY(dialog);
            auto* tabs = dialog->findChild<QTabWidget*>();
            QPushButton* send = nullptr;
            for (auto* button : dialog->findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("Send to MSR"))
                    send = button;
            QVERIFY(tabs && send);
            QCOMPARE(tabs->currentIndex(), 0);
            QTest::keyClick(send, Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(tabs->currentIndex(), 1);
            QTest::keyClick(send, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(tabs->currentIndex(), 0);
            dialog->close();
            QApplication::processEvents();
        }
    }
};

RAVELFIN_GUI_TEST(EditorTabsTest);
#include "editor_tabs_test.moc"
