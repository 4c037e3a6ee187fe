#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "app/preferences.h"
#include "app/support/app_rig.h"
#include "app/support/gui_test_registry.h"
#include "app/support/gui_test_support.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
using Strings = std::vector<std::string>;

constexpr char kCloseAdvanced[] =
    "Please close \"Change Advanced Reader Setting\" Before Going Back to the Main Menu";
constexpr char kCloseBasic[] =
    "Please close \"Change Basic Reader Setting\" Before Going Back to the Main Menu";
constexpr char kBasicBlocked[] =
    "Please close current window before selecting \"CHANGE BASIC READER SETTINGS\"";
constexpr char kAdvancedBlocked[] =
    "Please close current window before selecting \"CHANGE ADVANCED READER SETTINGS\"";
constexpr char kReportBlocked[] =
    "Please close current window before selecting \"CHECK CURRENT READER SETTINGS\"";

void Click(MainWindow& window, NavigationBar::Button button) {
    QTest::mouseClick(window.Navigation().At(button), Qt::LeftButton);
}
}  // namespace

class MainWindowNavigationTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { SavePreferences(Preferences{}); }

    void aFirstStartFindsTheOnlyReaderForTheBasicEditor() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid"});
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        QCOMPARE(rig.Link.InterfaceType, 0);
        QCOMPARE(rig.Link.DeviceIndex, -1);
        QVERIFY(!rig.Link.Transport && !rig.Link.Settings);  // nothing opened at start

        Click(window, NavigationBar::kChangeBasic);
        QVERIFY(rig.Link.IsConnected());
        QCOMPARE(rig.TakePauses().front(), 2000);
        QVERIFY(window.BasicDialog());
        QVERIFY(window.BasicDialog()->isVisibleTo(&window));
        QCOMPARE(window.BasicDialog()->geometry(), window.ContentArea());
        QVERIFY(rig.Messages.Notices.empty());
    }

    void atMostOneEditorShowsAndAVisibleEditorKeepsTheWizardOut() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid"});
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        Click(window, NavigationBar::kChangeBasic);
        Click(window, NavigationBar::kChangeAdvanced);
        QVERIFY(window.BasicDialog() && !window.BasicDialog()->isVisible());
        QVERIFY(window.AdvancedDialog() && window.AdvancedDialog()->isVisible());

        window.SelectReaderInterface();
        QCOMPARE(rig.Messages.Notices, Strings{kCloseAdvanced});
        QVERIFY(!window.Wizard());
        QVERIFY(window.AdvancedDialog()->findChild<QPushButton*>("close")->hasFocus());

        // Back to the basic editor: a new one replaces the hidden one.
        QDialog* firstBasic = window.BasicDialog();
        Click(window, NavigationBar::kChangeBasic);
        QVERIFY(window.BasicDialog() != firstBasic);
        QVERIFY(!window.AdvancedDialog()->isVisible());
        Click(window, NavigationBar::kSelectInterface);
        QCOMPARE(rig.Messages.Notices.back(), std::string(kCloseBasic));

        // The editor closes itself: it goes, and EXIT has the focus.
        window.BasicDialog()->findChild<QPushButton*>("close")->click();
        QTRY_VERIFY(!window.BasicDialog());
        QVERIFY(window.Navigation().At(NavigationBar::kExit)->hasFocus());

        // The hidden advanced editor does not keep the wizard out.
        Click(window, NavigationBar::kSelectInterface);
        QVERIFY(window.Wizard());
        QVERIFY(window.Wizard()->isVisible());
        QCOMPARE(editors.Created, 3);
    }

    void theWizardKeepsEditorsAndTheReportOut() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid"});
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        window.show();
        Click(window, NavigationBar::kSelectInterface);
        QVERIFY(window.Wizard());
        rig.TakePauses();

        Click(window, NavigationBar::kChangeBasic);
        Click(window, NavigationBar::kChangeAdvanced);
        Click(window, NavigationBar::kCheckSettings);
        QCOMPARE(rig.Messages.Notices, (Strings{kBasicBlocked, kAdvancedBlocked, kReportBlocked}));
        QCOMPARE(editors.Created, 0);
        QVERIFY(rig.TakePauses().empty());  // no reader was touched

        // Ending the wizard removes it; the editors may open again.
        window.Wizard()->CancelButton()->click();
        QTRY_VERIFY(!window.Wizard());
        Click(window, NavigationBar::kChangeAdvanced);
        QCOMPARE(editors.Created, 1);
    }

    void withoutAReaderTheEditorsOpenNothingAndSayNothing() {
        AppRig rig;
        Attach(rig.Machine, {"usb-hid", "usb-hid"});  // two readers: none is chosen
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        Click(window, NavigationBar::kChangeBasic);
        QVERIFY(rig.TakePauses().empty());
        Click(window, NavigationBar::kChangeAdvanced);
        QCOMPARE(rig.TakePauses(), std::vector<int>(10, 300));
        QCOMPARE(editors.Created, 0);
        QVERIFY(rig.Messages.Messages.empty() && rig.Messages.Notices.empty());

        // Once the reader is chosen, the next click connects.
        rig.Link.InterfaceType = 5;
        rig.Link.DeviceIndex = 1;
        Click(window, NavigationBar::kChangeBasic);
        QCOMPARE(editors.Created, 1);
    }

    void aNewNoticeReplacesTheOldAndExitClosesIt() {
        AppRig rig;
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        window.show();
        window.ShowNotice(QStringLiteral("first"));
        QPointer<NoticeWindow> first = window.Notice();
        QVERIFY(first && first->isVisible());
        window.ShowNotice(QStringLiteral("second"));
        QVERIFY(!first || !first->isVisible());
        QCOMPARE(window.Notice()->Text(), QStringLiteral("second"));
        QTRY_VERIFY(!first);

        // A click ends the notice; the window deletes it.
        QTest::mouseClick(window.Notice(), Qt::LeftButton);
        QTRY_VERIFY(!window.Notice());

        window.ShowNotice(QStringLiteral("third"));
        QPointer<NoticeWindow> third = window.Notice();
        Click(window, NavigationBar::kExit);
        QVERIFY(!window.isVisible());
        QTRY_VERIFY(!third);
    }

    void theWindowMovesWhenItsSurfaceIsDragged() {
        AppRig rig;
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint before = window.pos();
        QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(20, 300));
        QMouseEvent drag(QEvent::MouseMove, QPoint(60, 330), window.mapToGlobal(QPoint(60, 330)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drag);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(60, 330));
        QCOMPARE(window.pos(), before + QPoint(40, 30));
    }
};

RAVELFIN_GUI_TEST(MainWindowNavigationTest);
#include "main_window_navigation_test.moc"
