#include <QAccessible>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "app/support/gui_test_support.h"
#include "app/welcome_painter.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
QString Accessible(QObject* object, QAccessible::Text what = QAccessible::Name) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(what) : QStringLiteral("<none>");
}

}  // namespace

class ShellAccessibilityTest : public QObject {
    Q_OBJECT

  private slots:
    void theShellIsReadOutAndWorkedFromTheKeyboard() {
        AppRig rig({"usb-hid,firmware=V4.30"});
        MainWindow window(rig.Link, rig.Messages, rig.Editors);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(),
                 window.Navigation().At(NavigationBar::kSelectInterface));
        QStringList names;
        for (int i = 0; i < NavigationBar::kButtonCount; ++i)
            names << Accessible(window.Navigation().At(NavigationBar::Button(i)));
        QCOMPARE(names,
                 (QStringList{"SELECT READER INTERFACE", "HOW TO USE THIS UTILITY",
                              "CHECK CURRENT READER SETTINGS", "CHANGE BASIC READER SETTINGS",
                              "CHANGE ADVANCED READER SETTINGS", "HELP", "EXIT"}));
        QCOMPARE(Accessible(&window), QStringLiteral("Orvane Ravelfin Configuration Utility"));
        QCOMPARE(Accessible(&window, QAccessible::Description), WelcomeText());

        // Alt+S opens the wizard and the focus goes into it, on the device list.
        QTest::keyClick(window.windowHandle(), Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(window.Wizard());  // a mnemonic clicks after a short flash
        InterfaceWizard* wizard = window.Wizard();
        QVERIFY(wizard->isVisible());
        QCOMPARE(QApplication::focusWidget(), wizard->DeviceCombo());
        // On Linux a list is named by the label it is "labelled by" (its value is the line).
        const auto labels = QAccessible::queryAccessibleInterface(wizard->DeviceCombo())
                                ->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0].first->text(QAccessible::Name), QStringLiteral("-Select the device"));
        QCOMPARE(Accessible(wizard),
                 QStringLiteral("FIRST, Establish communication between the reader and the host."));
        QVERIFY(Accessible(wizard, QAccessible::Description)
                    .contains(QStringLiteral("-Plug the reader to the host")));
        QCOMPARE(Accessible(wizard->ContinueButton()), QStringLiteral("CONTINUE"));

        // The painted notice is read out; Alt+N cancels the wizard.
        window.ShowNotice(QStringLiteral("Please close current window first"));
        QCOMPARE(Accessible(window.Notice()), QStringLiteral("Please close current window first"));
        window.CloseNotice();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.windowHandle(), Qt::Key_N, Qt::AltModifier);
        QTRY_VERIFY(!window.Wizard());
        QVERIFY(rig.Link.InterfaceType == 0 && !rig.Link.IsConnected());
        // Alt+B connects the only reader and opens the basic editor, which takes the focus.
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(),  // back where it started
                 window.Navigation().At(NavigationBar::kSelectInterface));
        QTest::keyClick(window.windowHandle(), Qt::Key_B, Qt::AltModifier);
        QTRY_VERIFY(window.BasicDialog());
        QCOMPARE(QApplication::focusWidget(), window.BasicDialog()->focusProxy());
    }
};

RAVELFIN_GUI_TEST(ShellAccessibilityTest);
#include "shell_accessibility_test.moc"
