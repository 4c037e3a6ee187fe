#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/settings_editors.h"
#include "app/support/editor_rigs.h"
#include "app/support/gui_test_support.h"

using namespace ravelfin;
using namespace ravelfin::testing;

class ScreenFitTest : public QObject {
    Q_OBJECT

  private slots:
    // On the smallest screens the program runs on, 1366 x 768 and 1280 x 1024 at 150 % (the
    // window's logical size there), every control of every page of both editors keeps at least
    // its own smallest size, lies whole on its page (which scrolls where the window is
    // smaller), and the editor's buttons stay in sight.
    void everyEditorControlIsWholeAndReachableOnTheSmallestScreens() {
        EditorWindow w({"usb-hid-kb,firmware=V3.90,pid=4106,security-level=1"});
        MainWindow& window = w.window;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (const QSize screen : {QSize(1366, 768), QSize(1280, 1024)}) {
            window.setFixedSize(MainWindowSize((QSizeF(screen) / 1.5).toSize()));
            for (int which = 0; which < 2; ++which) {
                SettingsEditor* editor = ShowEditor(window, which);
                QVERIFY(editor);
                for (int b = 0; b < SettingsEditor::kButtonCount; ++b) {
                    QPushButton* button = editor->Button(SettingsEditor::ButtonId(b));
                    QVERIFY(editor->rect().contains(
                        QRect(button->mapTo(editor, QPoint()), button->size())));
                }
                for (int tab = 0; tab < editor->Tabs()->count(); ++tab) {
                    editor->Tabs()->setCurrentIndex(tab);
                    QApplication::processEvents();
                    QWidget* page = editor->PageAt(tab);
                    for (QWidget* control : page->findChildren<QWidget*>()) {
                        const bool input = qobject_cast<QAbstractButton*>(control) ||
                                           qobject_cast<QLineEdit*>(control) ||
                                           qobject_cast<QComboBox*>(control) ||
                                           qobject_cast<QAbstractItemView*>(control);
                        // A table's headers are parts of it, sized by the table.
                        if (!input || qobject_cast<QHeaderView*>(control) ||
                            !control->isVisibleTo(page) || control->window() != &window)
                            continue;
                        const QString where =
                            QStringLiteral("%1: %2 on %3")
                                .arg(editor->Tabs()->tabText(tab), control->accessibleName())
                                .arg(screen.width());
                        const QSize least =
                            control->minimumSizeHint().boundedTo(control->maximumSize());
                        QVERIFY2(control->width() >= least.width() &&
                                     control->height() >= least.height(),
                                 qPrintable(where + " is squeezed"));
                        QVERIFY2(page->rect().contains(
                                     QRect(control->mapTo(page, QPoint()), control->size())),
                                 qPrintable(where + " is cut off"));
                    }
                }
            }
        }
    }
};

RAVELFIN_GUI_TEST(ScreenFitTest);
#include "screen_fit_test.moc"
