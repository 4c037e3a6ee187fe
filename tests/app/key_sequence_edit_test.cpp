#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include "app/support/gui_test_support.h"
#include "controls/key_sequence_edit.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
void Press(QWidget& box, std::initializer_list<Qt::Key> keys) {
    for (Qt::Key key : keys)
        QTest::keyClick(&box, key);
}

// Caret, selection anchor and selection end, as byte indexes.
QList<int> Marks(const KeySequenceEdit& box) {
    return {box.Caret(), box.SelectionAnchor(), box.SelectionEnd()};
}

// Drags with the left button from the character at display position `from` to that at `to`.
void Drag(QLineEdit& box, int from, int to) {
    const auto at = [&box](int pos) {
        box.setCursorPosition(pos);
        return QPoint(box.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x() + 2,
                      box.height() / 2);
    };
    const QPoint start = at(from), end = at(to);
    QTest::mousePress(&box, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, end, box.mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&box, &move);
    QTest::mouseRelease(&box, Qt::LeftButton, {}, end);
}
}  // namespace

class KeySequenceEditTest : public QObject {
    Q_OBJECT

  private slots:
    void theLimitHoldsForTypingPicksAndValues() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        box.SetTextLimit(8);
        QTest::keyClicks(&box, QStringLiteral("ABCDEFGHI"));
        box.InsertCode(0x02);
        QCOMPARE(box.Value(), BytesFromText("ABCDEFGH"));
        QCOMPARE(messages.Messages, Strings(2, "Exceed the maximum range."));
        // A longer value from a file or a reader is shown whole, never cut; typing more is
        // refused, and deleting stores the rest of it.
        messages.Clear();
        box.SetBytes(BytesFromText("0123456789"));
        QCOMPARE(box.Value(), BytesFromText("0123456789"));
        QCOMPARE(box.text(), QStringLiteral("0123456789"));
        QTest::keyClick(&box, Qt::Key_X);
        QCOMPARE(box.Value(), BytesFromText("0123456789"));
        QCOMPARE(messages.Messages, Strings{"Exceed the maximum range."});
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.Value(), BytesFromText("012345678"));

        // In a one-byte box the new byte replaces the old one, without complaint.
        messages.Clear();
        box.SetTextLimit(1);
        box.Clear();
        QTest::keyClicks(&box, QStringLiteral("AB"));
        QCOMPARE(box.Value(), BytesFromText("B"));
        box.InsertCode(0x0D);
        QCOMPARE(box.text(), QStringLiteral("\\cr"));
        QVERIFY(messages.Messages.empty());
    }

    void namesAreSteppedOverDeletedAndInsertedAsOneByte() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        box.SetBytes(Bytes{0x02, 'A'});
        QCOMPARE(box.text(), QStringLiteral("\\stxA"));
        QCOMPARE(box.cursorPosition(), 5);
        Press(box, {Qt::Key_Left});
        QCOMPARE(box.cursorPosition(), 4);
        QCOMPARE(box.Caret(), 1);
        Press(box, {Qt::Key_Up, Qt::Key_Left, Qt::Key_Backspace});  // to the start, no further
        QCOMPARE(box.cursorPosition(), 0);
        QCOMPARE(box.Value(), (Bytes{0x02, 'A'}));
        Press(box, {Qt::Key_Delete});
        QCOMPARE(box.text(), QStringLiteral("A"));
        Press(box, {Qt::Key_Down, Qt::Key_Right, Qt::Key_Delete});  // to the end, no further
        QCOMPARE(box.Caret(), 1);
        QCOMPARE(box.Value(), Bytes{'A'});

        // A pick goes in at the caret, which then stands behind the name.
        box.SetBytes(BytesFromText("AB"));
        Press(box, {Qt::Key_Left});
        box.InsertCode(0x0D);
        QCOMPARE(box.text(), QStringLiteral("A\\crB"));
        QCOMPARE(box.cursorPosition(), 4);
        QCOMPARE(box.FirstByte(), std::uint8_t{'A'});
        Press(box, {Qt::Key_Backspace});
        QCOMPARE(box.Value(), BytesFromText("AB"));
        box.Clear();
        QCOMPARE(box.FirstByte(), std::uint8_t{0});
        QCOMPARE(Marks(box), (QList<int>{0, 0, 0}));
        QCOMPARE(box.text(), QString());
    }

    void controlAndLatin1CharactersAreBytesAndOtherKeysDoNothing() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        QTest::keyClick(&box, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);  // no copy: a byte
        QTest::keyClick(&box, Qt::Key_H, Qt::ControlModifier);  // the backspace character
        Press(box, {Qt::Key_Home, Qt::Key_End, Qt::Key_Return, Qt::Key_Escape});
        for (const char* typed : {"\xC3\xA9", "\xE2\x82\xAC"}) {  // e acute; the euro sign
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(typed));
            QApplication::sendEvent(&box, &press);
        }
        QInputMethodEvent composed;
        composed.setCommitString(QString::fromUtf8("\xE2\x82\xAC\xC3\xBCx"));
        QApplication::sendEvent(&box, &composed);
        QCOMPARE(box.Value(), (Bytes{0x02, 0x03, 0xE9, 0xFC, 'x'}));
        QCOMPARE(box.text().left(8), QStringLiteral("\\stx\\etx"));
    }

    void draggingSelectsWholeBytesThatTypingOrDeletingReplaces() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        box.resize(300, 30);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.SetBytes(Bytes{'A', 0x02, 'B', 'C'});  // "A\stxBC"
        Drag(box, 0, 3);                           // released inside the name
        QCOMPARE(Marks(box), (QList<int>{1, 0, 1}));
        QCOMPARE(box.selectedText(), QStringLiteral("A"));
        QTest::keyClick(&box, 'Z');
        QCOMPARE(box.Value(), (Bytes{'Z', 0x02, 'B', 'C'}));

        Drag(box, 1, 5);
        QCOMPARE(box.selectedText(), QStringLiteral("\\stx"));
        Press(box, {Qt::Key_Backspace});
        QCOMPARE(box.Value(), BytesFromText("ZBC"));
        QCOMPARE(Marks(box), (QList<int>{1, 1, 1}));
        QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(2, 15));  // changes nothing
        QCOMPARE(box.Caret(), 1);
    }

    void aRequiredBoxLeftEmptyComplainsAndKeepsTheFocus() {
        RecordingMessenger messages;
        QWidget window;
        auto* required = new KeySequenceEdit(messages, &window);
        auto* other = new QLineEdit(&window);
        required->SetCharacterRequired(true);
        other->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        required->setFocus();
        other->setFocus();
        QTRY_COMPARE(messages.Messages, Strings{"You should input a charater."});
        QVERIFY(required->hasFocus());

        messages.Clear();  // with a byte in it the box may be left
        QTest::keyClick(required, Qt::Key_X);
        other->setFocus();
        QCoreApplication::processEvents();
        QVERIFY(messages.Messages.empty() && other->hasFocus());
    }
};

RAVELFIN_GUI_TEST(KeySequenceEditTest);
#include "key_sequence_edit_test.moc"
