#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include "app/support/gui_test_support.h"
#include "controls/key_sequence_edit.h"
#include "protocol/char_names.h"

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

// Puts the caret before byte `from` and selects `count` bytes from there with Shift+Right.
void Select(KeySequenceEdit& box, int from, int count) {
    QTest::keyClick(&box, Qt::Key_Home);
    for (int i = 0; i < from; ++i)
        QTest::keyClick(&box, Qt::Key_Right);
    for (int i = 0; i < count; ++i)
        QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
}
}  // namespace

class KeySequenceEditTest : public QObject {
    Q_OBJECT

  private slots:
    void theLimitHoldsForTypingPicksPastesAndValues() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        box.SetTextLimit(8);
        QTest::keyClicks(&box, QStringLiteral("ABCDEFGHI"));
        box.InsertCode(0x02);
        QCOMPARE(box.Value(), BytesFromText("ABCDEFGH"));
        QCOMPARE(messages.Messages, Strings(2, "Exceed the maximum range."));
        // A longer value from a file or a reader is shown whole, never cut; typing more is
        // refused, and deleting stores the rest of it.
        box.SetBytes(BytesFromText("0123456789"));
        QCOMPARE(box.text(), QStringLiteral("0123456789"));
        QTest::keyClick(&box, Qt::Key_X);
        QCOMPARE(box.Value(), BytesFromText("0123456789"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.Value(), BytesFromText("012345678"));

        // In a one-byte box the new byte replaces the old one, without complaint.
        messages.Clear();
        box.SetTextLimit(1);
        box.Clear();
        QTest::keyClicks(&box, QStringLiteral("AB"));
        QCOMPARE(box.Value(), BytesFromText("B"));
        QVERIFY(messages.Messages.empty());

        // A paste goes in whole, over the selection, or not at all.
        struct Paste {
            int limit;
            const char* value;
            int from, count;  // the selection
            const char* clipboard;
            Bytes expected;
            int caret;
        };
        const Paste pastes[] = {
            {8, "ABCDEF", 6, 0, "GH", BytesFromText("ABCDEFGH"), 8},
            {8, "ABCDEF", 1, 0, "\\cr\\lf", {'A', 0x0D, 0x0A, 'B', 'C', 'D', 'E', 'F'}, 3},
            {8, "ABCDEFGH", 2, 3, "\\stx", {'A', 'B', 0x02, 'F', 'G', 'H'}, 3},
            {1, "A", 1, 0, "\\stx", {0x02}, 1},
            {8, "ABCDEF", 6, 0, "GHI", BytesFromText("ABCDEF"), 6},
            {8, "ABCDEFGH", 2, 1, "XY", BytesFromText("ABCDEFGH"), 3},
            {1, "A", 1, 0, "BC", {'A'}, 1},
        };
        for (const Paste& paste : pastes) {
            const QByteArray label = QByteArray(paste.value) + " + " + paste.clipboard;
            messages.Clear();
            box.SetTextLimit(paste.limit);
            box.SetBytes(BytesFromText(paste.value));
            Select(box, paste.from, paste.count);
            QGuiApplication::clipboard()->setText(QString::fromLatin1(paste.clipboard));
            QSignalSpy changes(&box, &KeySequenceEdit::BytesChanged);
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
            // A change is signalled once; a refusal is said.
            const int changed = BytesFromText(paste.value) != paste.expected;
            QVERIFY2(
                std::tuple(box.Value(), box.Caret(), changes.count(), messages.Messages.size()) ==
                    std::tuple(paste.expected, paste.caret, changed, std::size_t(1 - changed)),
                label.constData());
        }
    }

    void namesAreSteppedOverDeletedAndInsertedAsOneByte() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        box.SetBytes(Bytes{0x02, 'A'});
        QCOMPARE(box.text(), QStringLiteral("\\stxA"));
        Press(box, {Qt::Key_Left});
        QCOMPARE(box.cursorPosition(), 4);
        QCOMPARE(box.Caret(), 1);
        Press(box, {Qt::Key_Up, Qt::Key_Left, Qt::Key_Backspace});  // to the start, no further
        QCOMPARE(box.Value(), (Bytes{0x02, 'A'}));
        Press(box, {Qt::Key_Delete});
        QCOMPARE(box.text(), QStringLiteral("A"));

        // A pick goes in at the caret, which then stands behind the name.
        box.SetBytes(BytesFromText("AB"));
        Press(box, {Qt::Key_Left});
        box.InsertCode(0x0D);
        QCOMPARE(box.text(), QStringLiteral("A\\crB"));
        QCOMPARE(box.cursorPosition(), 4);
        Press(box, {Qt::Key_Backspace});
        QCOMPARE(box.Value(), BytesFromText("AB"));

        // Shift selects whole bytes; a plain arrow leaves the selection at its end.
        box.SetBytes(Bytes{'A', 0x02, 'B', 'C'});  // "A\stxBC"
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, QList<int>, const char*> steps[] = {
            {Qt::Key_Home, Qt::NoModifier, {0, 0, 0}, ""},
            {Qt::Key_Right, Qt::ShiftModifier, {1, 0, 1}, "A"},
            {Qt::Key_Right, Qt::ShiftModifier, {2, 0, 2}, "A\\stx"},
            {Qt::Key_Left, Qt::NoModifier, {0, 0, 0}, ""},  // to the selection's start
            {Qt::Key_End, Qt::NoModifier, {4, 4, 4}, ""},
            {Qt::Key_Home, Qt::ShiftModifier, {0, 4, 0}, "A\\stxBC"},
            {Qt::Key_Right, Qt::ShiftModifier, {1, 4, 1}, "\\stxBC"},
            {Qt::Key_Down, Qt::NoModifier, {4, 4, 4}, ""},  // to the selection's end
        };
        for (const auto& [key, modifiers, marks, selected] : steps) {
            QTest::keyClick(&box, key, modifiers);
            QCOMPARE(Marks(box), marks);
            QCOMPARE(box.selectedText(), QString::fromLatin1(selected));
            QCOMPARE(box.cursorPosition(), ByteIndexToDisplayPos(box.Value(), marks[0]));
        }
    }

    void controlBytesAreTypedWithCtrlAndQuotedWithCtrlQ() {
        RecordingMessenger messages;
        KeySequenceEdit box(messages);
        QTest::keyClick(&box, Qt::Key_B, Qt::ControlModifier);
        QKeyEvent euro(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xE2\x82\xAC"));
        QApplication::sendEvent(&box, &euro);  // beyond ISO 8859-1: dropped
        QInputMethodEvent composed;
        composed.setCommitString(QString::fromUtf8("\xE2\x82\xAC\xC3\xBCx"));
        QApplication::sendEvent(&box, &composed);
        QCOMPARE(box.Value(), (Bytes{0x02, 0xFC, 'x'}));
        // Enter and Escape belong to the dialog.
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(&box, &press);
            QVERIFY(!press.isAccepted());
        }

        // Ctrl+Q, then a key: its control byte, even where the key edits, moves the focus or
        // closes the dialog; Shift or Ctrl pressed on the way does not end the wait.
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, std::uint8_t> quoted[] = {
            {Qt::Key_B, Qt::NoModifier, 0x02},
            {Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, 0x16},
            {Qt::Key_At, Qt::ShiftModifier, 0x00},
            {Qt::Key_Underscore, Qt::ShiftModifier, 0x1F},
            {Qt::Key_Escape, Qt::NoModifier, 0x1B},
            {Qt::Key_Return, Qt::NoModifier, 0x0D},
            {Qt::Key_Tab, Qt::NoModifier, 0x09},
        };
        for (const auto& [key, modifiers, code] : quoted) {
            box.SetBytes(BytesFromText("AB"));
            Press(box, {Qt::Key_Left});
            QTest::keyClick(&box, Qt::Key_Q, Qt::ControlModifier);
            QTest::keyPress(&box, Qt::Key_Shift);
            QTest::keyPress(&box, Qt::Key_Control);
            QTest::keyClick(&box, key, modifiers);
            QCOMPARE(box.Value(), (Bytes{'A', code, 'B'}));
            QCOMPARE(box.Caret(), 2);
        }
        // A key without a control byte does what it always does, and only the next key is
        // quoted.
        box.SetBytes(BytesFromText("AB"));
        QTest::keyClick(&box, Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(&box, Qt::Key_1);
        QTest::keyClick(&box, Qt::Key_C);
        QCOMPARE(box.Value(), BytesFromText("AB1c"));
        QVERIFY(messages.Messages.empty());
    }

    void aQuotedKeyIsTheBoxsBeforeAWindowShortcutOrTheFocusChain() {
        RecordingMessenger messages;
        QWidget window;
        auto* box = new KeySequenceEdit(messages, &window);
        auto* next = new QLineEdit(&window);
        next->move(0, 40);
        auto* close = new QAction(&window);
        close->setShortcut(Qt::CTRL | Qt::Key_W);
        window.addAction(close);
        QSignalSpy closes(close, &QAction::triggered);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_W, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(box->Value(), (Bytes{0x17, 0x09}));
        QVERIFY(closes.isEmpty() && box->hasFocus());
        QTest::keyClick(box, Qt::Key_W, Qt::ControlModifier);  // unquoted: the window's
        QCOMPARE(closes.count(), 1);
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(next->hasFocus());
    }

    void theClipboardHoldsTheShownTextAndTheExactBytes() {
        RecordingMessenger messages;
        KeySequenceEdit from(messages), to(messages);
        // The "\esc" and "\bs" keys, and a typed text that reads as a name.
        const Bytes value{'A', 0x97, 0x9C, '\\', 'c', 'r', 0x0D};
        from.SetBytes(value);
        Select(from, 1, 5);
        QTest::keyClick(&from, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("\\esc\\bs\\cr"));
        QTest::keyClick(&to, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(to.Value(), (Bytes{0x97, 0x9C, '\\', 'c', 'r'}));

        // Cut stores what is left; Shift+Insert pastes it back where it was.
        QTest::keyClick(&from, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(from.Value(), (Bytes{'A', 0x0D}));
        QTest::keyClick(&from, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(from.Value(), value);
        // Text from elsewhere: characters beyond ISO 8859-1 are dropped as they are when typed.
        QGuiApplication::clipboard()->setText(QString::fromUtf8("\\cr\xE2\x82\xAC\xC3\xA9"));
        to.Clear();
        QTest::keyClick(&to, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(to.Value(), (Bytes{0x0D, 0xE9}));
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
