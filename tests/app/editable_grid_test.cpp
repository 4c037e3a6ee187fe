#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "app/support/gui_test_registry.h"
#include "controls/editable_grid.h"

using namespace ravelfin;

namespace {
// A grid of 30 rows: a read-only caption, a text column and a drop-down column.
void Fill(EditableGrid& grid) {
    grid.setColumnCount(3);
    grid.setRowCount(30);
    for (int row = 0; row < 30; ++row) {
        grid.setItem(row, 0, new QTableWidgetItem(QStringLiteral("row %1").arg(row)));
        grid.setItem(row, 1, new QTableWidgetItem(QStringLiteral("%")));
        grid.setItem(row, 2, new QTableWidgetItem(QStringLiteral("Two")));
    }
    grid.SetColumnKind(1, EditableGrid::CellKind::Text);
    grid.SetColumnKind(2, EditableGrid::CellKind::Choice,
                       {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
    grid.resize(360, 200);
}

void ClickCell(EditableGrid& grid, int row, int column) {
    const QRect cell = grid.visualItemRect(grid.item(row, column));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
}
}  // namespace

class EditableGridTest : public QObject {
    Q_OBJECT

  private slots:
    void aTextCellReportsItsTextWhenLeftAndOnlyThen() {
        EditableGrid grid;
        Fill(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        QSignalSpy began(&grid, &EditableGrid::EditBegan);
        QSignalSpy ended(&grid, &EditableGrid::EditEnded);

        ClickCell(grid, 0, 0);  // the caption column is not edited
        QVERIFY(grid.Editor() == nullptr);

        ClickCell(grid, 1, 1);
        QCOMPARE(began.count(), 1);
        QCOMPARE(began.at(0).at(0).toInt(), 1);
        auto* editor = qobject_cast<QLineEdit*>(grid.Editor());
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("%"));
        const int narrow = editor->width();
        editor->setText(QStringLiteral("a much longer text than the cell is wide"));
        QVERIFY(editor->width() > narrow);

        // Emptied, it keeps the focus and reports nothing.
        editor->clear();
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(editor->hasFocus());
        QCOMPARE(ended.count(), 0);

        QTest::keyClicks(editor, QStringLiteral("!"));
        QTest::keyClick(editor, Qt::Key_Escape);  // Escape ends a text edit like Enter
        QTRY_COMPARE(ended.count(), 1);
        const QList<QVariant> report = ended.at(0);
        QCOMPARE(report.at(0).toInt(), 1);
        QCOMPARE(report.at(1).toInt(), 1);
        QCOMPARE(report.at(2).toBool(), true);
        QCOMPARE(report.at(3).toString(), QStringLiteral("!"));
        QVERIFY(grid.Editor() == nullptr);
        QVERIFY(grid.hasFocus());
        QCOMPARE(grid.item(1, 1)->text(), QStringLiteral("%"));  // the owner decides
    }

    void clickingAnotherCellEndsTheFirstEdit() {
        EditableGrid grid;
        Fill(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        QSignalSpy ended(&grid, &EditableGrid::EditEnded);
        ClickCell(grid, 0, 1);
        qobject_cast<QLineEdit*>(grid.Editor())->setText(QStringLiteral("^"));
        ClickCell(grid, 2, 1);
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toInt(), 0);
        QCOMPARE(ended.at(0).at(3).toString(), QStringLiteral("^"));
        QCOMPARE(qobject_cast<QLineEdit*>(grid.Editor())->text(), QStringLiteral("%"));
    }

    void aDropDownReportsTheChoiceOrNothingAfterEscape() {
        EditableGrid grid;
        Fill(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        QSignalSpy ended(&grid, &EditableGrid::EditEnded);

        QVERIFY(grid.BeginEdit(3, 2));
        auto* combo = qobject_cast<QComboBox*>(grid.Editor());
        QVERIFY(combo);
        QCOMPARE(combo->currentText(), QStringLiteral("Two"));
        combo->hidePopup();
        combo->setCurrentIndex(2);
        emit combo->activated(2);
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(2).toBool(), true);
        QCOMPARE(ended.at(0).at(3).toString(), QStringLiteral("Three"));

        QVERIFY(grid.BeginEdit(4, 2));
        combo = qobject_cast<QComboBox*>(grid.Editor());
        QTRY_VERIFY(QApplication::activePopupWidget());  // the list opens by itself
        combo->hidePopup();
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QApplication::setActiveWindow(&grid);
        combo->setFocus();
        QVERIFY(combo->hasFocus());
        QTest::keyClick(combo, Qt::Key_Escape);
        QTRY_COMPARE(ended.count(), 2);
        QCOMPARE(ended.at(1).at(0).toInt(), 4);
        QCOMPARE(ended.at(1).at(2).toBool(), false);
    }

    void scrollingTakesTheFocusAndEndsTheEdit() {
        EditableGrid grid;
        Fill(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        QSignalSpy ended(&grid, &EditableGrid::EditEnded);
        QVERIFY(grid.BeginEdit(0, 1));
        grid.verticalScrollBar()->setValue(5);
        QTRY_COMPARE(ended.count(), 1);
        QVERIFY(!grid.BeginEdit(0, 0));
        QVERIFY(!grid.BeginEdit(40, 1));
    }
};

RAVELFIN_GUI_TEST(EditableGridTest);
#include "editable_grid_test.moc"
