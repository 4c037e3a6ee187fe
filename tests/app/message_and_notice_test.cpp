#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/support/gui_test_registry.h"
#include "app/support/gui_test_support.h"
#include "controls/message_dialog.h"
#include "controls/notice_window.h"

using namespace ravelfin;
using namespace ravelfin::testing;

class MessageAndNoticeTest : public QObject {
    Q_OBJECT

  private slots:
    void theMessageClosesItselfAfterTenSeconds() {
        MessageDialog dialog(QStringLiteral("Success to re-open the device."));
        QVERIFY(!dialog.AutoCloseTimer().isActive());  // counts from the moment it shows
        bool timerWasRunning = false;
        int interval = 0;
        QTimer::singleShot(0, &dialog, [&] {
            timerWasRunning = dialog.AutoCloseTimer().isActive();
            interval = dialog.AutoCloseTimer().interval();
            FireTimer(dialog.AutoCloseTimer());
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(timerWasRunning);
        QCOMPARE(interval, 10000);
        QVERIFY(dialog.AutoCloseTimer().isSingleShot());
    }

    void okClosesTheMessageAndStopsItsTimer() {
        MessageDialog dialog(QStringLiteral("Unknown Model Number!"));
        QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Return); });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }

    void aShortTextStandsLowerThanALongOne() {
        const QString longText(70, QLatin1Char('x'));
        MessageDialog shortOne(QStringLiteral("Please Input Model Number!"));
        MessageDialog longOne(longText);
        shortOne.show();
        longOne.show();
        const int shortTop = shortOne.findChild<QLabel*>()->geometry().top();
        const int longTop = longOne.findChild<QLabel*>()->geometry().top();
        QCOMPARE(shortTop - longTop, 10);
        QCOMPARE(longOne.Text(), longText);
    }

    void theNoticeEndsByTimerClickOrKeyOnce() {
        QWidget owner;
        owner.resize(600, 400);
        owner.show();

        NoticeWindow byTimer(QStringLiteral("first"), &owner);
        QSignalSpy timerSpy(&byTimer, &NoticeWindow::Finished);
        byTimer.show();
        QVERIFY(byTimer.LifetimeTimer().isActive());
        QCOMPARE(byTimer.LifetimeTimer().interval(), 5000);
        FireTimer(byTimer.LifetimeTimer());
        QCOMPARE(timerSpy.count(), 1);

        NoticeWindow byClick(QStringLiteral("second"), &owner);
        QSignalSpy clickSpy(&byClick, &NoticeWindow::Finished);
        byClick.show();
        QTest::mouseClick(&byClick, Qt::LeftButton);
        QCOMPARE(clickSpy.count(), 1);
        QVERIFY(!byClick.LifetimeTimer().isActive());
        QTest::keyClick(&byClick, Qt::Key_Space);  // finished already: no second signal
        QCOMPARE(clickSpy.count(), 1);

        NoticeWindow byKey(QStringLiteral("third"), &owner);
        QSignalSpy keySpy(&byKey, &NoticeWindow::Finished);
        byKey.show();
        QTest::keyClick(&byKey, Qt::Key_A);
        QCOMPARE(keySpy.count(), 1);
    }
};

RAVELFIN_GUI_TEST(MessageAndNoticeTest);
#include "message_and_notice_test.moc"
