#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "app/app_options.h"
#include "app/qt_pause.h"
#include "app/support/gui_test_support.h"
#include "app/wait_cursor.h"
#include "controls/editable_grid.h"

using namespace ravelfin;
using namespace ravelfin::testing;

class ControlsAndStartupTest : public QObject {
    Q_OBJECT

  private slots:
    void theGridReportsAnEditWhenItsCellEditorIsLeft() {
        // 30 rows of a read-only caption and a text cell ("%"), as the sentinels' grid.
        EditableGrid grid;
        grid.setColumnCount(2);
        grid.setRowCount(30);
        for (int cell = 0; cell < 60; ++cell)
            grid.setItem(cell / 2, cell % 2, new QTableWidgetItem(cell % 2 ? "%" : "row"));
        grid.SetColumnKind(0, EditableGrid::CellKind::ReadOnly);
        grid.SetColumnKind(1, EditableGrid::CellKind::Text);
        grid.resize(360, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        const auto click = [&grid](int row, int column) {
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                              grid.visualItemRect(grid.item(row, column)).center());
        };
        QSignalSpy ended(&grid, &EditableGrid::EditEnded);
        click(0, 0);  // the caption column is not edited
        QVERIFY(!grid.Editor() && !grid.BeginEdit(0, 0) && !grid.BeginEdit(40, 1));

        // A text cell reports only a non-empty text, and leaves the cell to its owner.
        click(1, 1);
        auto* editor = qobject_cast<QLineEdit*>(grid.Editor());
        QVERIFY(editor && editor->text() == QStringLiteral("%"));
        editor->clear();
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(editor->hasFocus());
        QCOMPARE(ended.count(), 0);
        QTest::keyClicks(editor, QStringLiteral("!"));
        QTest::keyClick(editor, Qt::Key_Escape);  // ends a text edit like Enter
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0), (QList<QVariant>{1, 1, true, QStringLiteral("!")}));
        QVERIFY(!grid.Editor() && grid.hasFocus());
        QCOMPARE(grid.item(1, 1)->text(), QStringLiteral("%"));

        // Clicking another cell ends the first edit; so does scrolling.
        click(0, 1);
        qobject_cast<QLineEdit*>(grid.Editor())->setText(QStringLiteral("^"));
        click(2, 1);
        QTRY_COMPARE(ended.count(), 2);
        QCOMPARE(ended.at(1), (QList<QVariant>{0, 1, true, QStringLiteral("^")}));
        QCOMPARE(qobject_cast<QLineEdit*>(grid.Editor())->text(), QStringLiteral("%"));
        grid.verticalScrollBar()->setValue(5);
        QTRY_COMPARE(ended.count(), 3);
        QCOMPARE(ended.at(2).at(0).toInt(), 2);
    }

    void theCommandLineTakesRepeatedReadersAndRefusesMistakes() {
        AppOptions options;
        std::string error;
        const QString line = "ravelfin-config --simulate usb-hid --simulate=rs232,firmware=V3.31";
        QVERIFY(ParseAppOptions(line.split(' '), options, error));
        QCOMPARE(options.SimulatedReaders.size(), std::size_t{2});  // their parts are the sim's
        QCOMPARE(options.SimulatedReaders[1].Firmware, std::string("V3.31"));
        AppOptions help;
        for (const char* wrong :
             {"--simulate usb-floppy", "--device /dev/hidraw0", "report", "--simulate"}) {
            error.clear();
            const QStringList arguments =
                QStringLiteral("ravelfin-config %1").arg(wrong).split(' ');
            QVERIFY2(!ParseAppOptions(arguments, help, error) && !error.empty(), wrong);
        }
    }

    void inputDuringAConversationIsDiscardedNotDelayed() {
        QPushButton button(QStringLiteral("EXIT"));
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QSignalSpy clicked(&button, &QPushButton::clicked);
        // A click and a key as the window system delivers them.
        const auto postTo = [](QPushButton& target) {
            const QPointF at(target.rect().center());
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QApplication::postEvent(
                    &target, new QMouseEvent(type, at, target.mapToGlobal(at), Qt::LeftButton,
                                             Qt::LeftButton, Qt::NoModifier));
            }
            QApplication::postEvent(&target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, {}));
            QApplication::postEvent(&target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, {}));
        };
        const auto post = [&] { postTo(button); };

        // Input while a pause waits, and input queued while an exchange blocks the thread.
        QTimer::singleShot(0, &button, post);
        QtPause().Wait(30);
        {
            WaitCursor busy;
            post();
        }
        QApplication::processEvents();
        QCOMPARE(clicked.count(), 0);

        // A dialog opened in the middle of a conversation takes input; a modal window in
        // front before it began does not.
        QDialog asked;
        auto* answer = new QPushButton(QStringLiteral("OK"), &asked);
        int answered = 0;
        connect(answer, &QPushButton::clicked, [&answered] { ++answered; });
        QTimer::singleShot(0, &asked, [&] {
            postTo(*answer);
            QTimer::singleShot(0, &asked, &QDialog::reject);
        });
        {
            WaitCursor busy;
            asked.exec();
        }
        QCOMPARE(answered, 2);
        QTimer::singleShot(0, &asked, [&] {
            {
                WaitCursor busy;
                postTo(*answer);
            }
            asked.reject();
        });
        asked.exec();
        QCOMPARE(answered, 2);

        // A message in the middle of a conversation is answered as usual; afterwards input
        // acts again.
        {
            WaitCursor busy;
            CursorScope arrow(Qt::ArrowCursor);
            QTest::mouseClick(&button, Qt::LeftButton);
        }
        post();
        QApplication::processEvents();
        QCOMPARE(clicked.count(), 3);
    }
};

RAVELFIN_GUI_TEST(ControlsAndStartupTest);
#include "controls_and_startup_test.moc"
