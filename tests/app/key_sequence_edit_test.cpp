#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "app/support/gui_test_registry.h"
#include "app/support/recording_messenger.h"
#include "controls/key_sequence_edit.h"

using namespace ravelfin;
using ravelfin::testing::RecordingMessenger;

namespace {
constexpr char kExceeded[] = "Exceed the maximum range.";

Bytes Of(std::initializer_list<int> values) {
    Bytes bytes;
    for (int v : values)
        bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

// The centre of the shown character at display position `pos`.
QPoint PointAt(QLineEdit& box, int pos) {
    box.setCursorPosition(pos);
    const QRect caret = box.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return QPoint(caret.center().x() + 2, box.height() / 2);
}
}  // namespace

class KeySequenceEditTest : public QObject {
    Q_OBJECT

  private slots:
    void typingRespectsTheLimit() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        box.SetTextLimit(8);
        QTest::keyClicks(&box, QStringLiteral("ABCDEFGHI"));
        QCOMPARE(box.Value(), BytesFromText("ABCDEFGH"));
        QCOMPARE(messages.Messages, std::vector<std::string>{kExceeded});

        // One byte boxes: the new character replaces the old one, without complaint.
        messages.Clear();
        KeySequenceEdit single(messages);
        single.SetTextLimit(1);
        QTest::keyClick(&single, 'A');
        QTest::keyClick(&single, 'B');
        QCOMPARE(single.Value(), BytesFromText("B"));
        single.InsertCode(0x0D);
        QCOMPARE(single.Value(), Of({0x0D}));
        QCOMPARE(single.text(), QStringLiteral("\\cr"));
        QVERIFY(messages.Messages.empty());

        // A pick from the name list obeys the limit too.
        box.InsertCode(0x02);
        QCOMPARE(box.Value().size(), std::size_t{8});
        QCOMPARE(messages.Messages, std::vector<std::string>{kExceeded});
    }

    void namesAreSteppedOverAndDeletedAsOneByte() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        box.SetBytes(Of({0x02, 0x41}));
        QCOMPARE(box.text(), QStringLiteral("\\stxA"));
        QCOMPARE(box.cursorPosition(), 5);

        QTest::keyClick(&box, Qt::Key_Left);
        QCOMPARE(box.cursorPosition(), 4);
        QCOMPARE(box.Caret(), 1);
        QTest::keyClick(&box, Qt::Key_Up);
        QCOMPARE(box.cursorPosition(), 0);
        QTest::keyClick(&box, Qt::Key_Left);  // already at the start
        QCOMPARE(box.Caret(), 0);
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.Value(), Of({0x02, 0x41}));

        QTest::keyClick(&box, Qt::Key_Delete);
        QCOMPARE(box.Value(), Of({0x41}));
        QCOMPARE(box.text(), QStringLiteral("A"));
        QTest::keyClick(&box, Qt::Key_Down);
        QTest::keyClick(&box, Qt::Key_Right);  // already at the end
        QCOMPARE(box.Caret(), 1);
        QTest::keyClick(&box, Qt::Key_Delete);  // nothing after the caret
        QCOMPARE(box.Value(), Of({0x41}));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QVERIFY(box.Value().empty());
        QCOMPARE(box.text(), QString());
    }

    void picksGoInAtTheCaret() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        box.SetBytes(BytesFromText("AB"));
        QTest::keyClick(&box, Qt::Key_Left);
        box.InsertCode(0x0D);
        QCOMPARE(box.Value(), Of({'A', 0x0D, 'B'}));
        QCOMPARE(box.text(), QStringLiteral("A\\crB"));
        QCOMPARE(box.cursorPosition(), 4);  // behind the name
        QCOMPARE(box.FirstByte(), std::uint8_t{'A'});
        box.Clear();
        QCOMPARE(box.FirstByte(), std::uint8_t{0});
        QCOMPARE(box.Caret(), 0);
    }

    void controlCharactersAreTypedAndOtherKeysIgnored() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        QTest::keyClick(&box, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);  // no copy: a byte
        QTest::keyClick(&box, Qt::Key_H, Qt::ControlModifier);  // the backspace character
        QTest::keyClick(&box, Qt::Key_Home);
        QTest::keyClick(&box, Qt::Key_End);
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(box.Value(), Of({0x02, 0x03}));
        QCOMPARE(box.text(), QStringLiteral("\\stx\\etx"));

        // Latin-1 characters are bytes; characters beyond it have no byte.
        for (const QString& typed :
             {QString::fromUtf8("\xC3\xA9"), QString::fromUtf8("\xE2\x82\xAC")}) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
            QApplication::sendEvent(&box, &press);
        }
        QCOMPARE(box.Value(), Of({0x02, 0x03, 0xE9}));
    }

    void draggingSelectsWholeBytesAndTypingReplacesThem() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        box.resize(300, 30);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.SetBytes(Of({'A', 0x02, 'B', 'C'}));  // "A\stxBC"

        // Press on "A", drag into the middle of the name, release there.
        const QPoint start = PointAt(box, 0);
        const QPoint insideName = PointAt(box, 3);
        QTest::mousePress(&box, Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, insideName, box.mapToGlobal(insideName), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&box, &move);
        QTest::mouseRelease(&box, Qt::LeftButton, {}, insideName);
        QCOMPARE(box.SelectionAnchor(), 0);
        QCOMPARE(box.SelectionEnd(), 1);
        QCOMPARE(box.selectedText(), QStringLiteral("A"));

        QTest::keyClick(&box, 'Z');
        QCOMPARE(box.Value(), Of({'Z', 0x02, 'B', 'C'}));

        // Select the name and delete it: caret, anchor and end meet at its start.
        QTest::mousePress(&box, Qt::LeftButton, {}, PointAt(box, 1));
        QMouseEvent over(QEvent::MouseMove, PointAt(box, 5), box.mapToGlobal(PointAt(box, 5)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&box, &over);
        QTest::mouseRelease(&box, Qt::LeftButton, {}, PointAt(box, 5));
        QCOMPARE(box.selectedText(), QStringLiteral("\\stx"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.Value(), BytesFromText("ZBC"));
        QCOMPARE(box.Caret(), 1);
        QCOMPARE(box.SelectionAnchor(), 1);
        QCOMPARE(box.SelectionEnd(), 1);

        // A right click changes nothing.
        QTest::mouseClick(&box, Qt::RightButton, {}, PointAt(box, 0));
        QCOMPARE(box.Caret(), 1);
    }

    void aRequiredBoxLeftEmptyKeepsTheFocus() {
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
        QTRY_COMPARE(messages.Messages, std::vector<std::string>{"You should input a charater."});
        QVERIFY(required->hasFocus());

        // With a byte in it the box may be left.
        messages.Clear();
        QTest::keyClick(required, Qt::Key_X);
        other->setFocus();
        QTest::qWait(20);
        QVERIFY(messages.Messages.empty());
        QVERIFY(other->hasFocus());
    }
};

RAVELFIN_GUI_TEST(KeySequenceEditTest);
#include "key_sequence_edit_test.moc"
