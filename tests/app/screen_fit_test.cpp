#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "app/settings_editors.h"
#include "app/support/editor_rigs.h"
#include "app/support/gui_test_support.h"
#include "app/welcome_painter.h"
#include "dataedit/formula_slots.h"
#include "dataedit/ui/customized_fields_dialog.h"
#include "dataedit/ui/formula_editor.h"
#include "dataedit/ui/formula_editors.h"
#include "dataedit/ui/new_field_dialog.h"
#include "protocol/reader_settings.h"

using namespace ravelfin;
using namespace ravelfin::testing;

class ScreenFitTest : public QObject {
    Q_OBJECT

  private slots:
    // As designed, and on 1280 x 1024 and 1366 x 768 screens at 150 % (and smaller).
    void theWindowFitsTheScreenAndNoTextLeavesItsArea() {
        AppRig rig({"usb-hid-kb", "usb-hid"});
        MainWindow window(rig.Link, rig.Messages, rig.Editors);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect available = window.screen()->availableGeometry();  // 800 x 600 offscreen
        QVERIFY(available.width() < kMainWindowWidth && available.contains(window.frameGeometry()));

        const QSize sizes[] = {{1000, 680}, {853, 683}, {910, 512}, {640, 420}};
        for (const QSize size : sizes) {
            window.setFixedSize(size);
            const QRect text = WelcomeTextArea(size, window.ContentArea());
            QVERIFY(text.bottom() < size.height() - 2);  // above the panel's border
            QVERIFY(text.contains(QFontMetrics(WelcomeTextFont(text))
                                      .boundingRect(text, Qt::TextWordWrap, WelcomeText())));
            for (int i = 0; i < NavigationBar::kButtonCount; ++i) {
                QPushButton* button = window.Navigation().At(NavigationBar::Button(i));
                const QString caption = button->text().remove(QLatin1Char('&'));
                QVERIFY2(button->rect()
                             .adjusted(4, 2, -4, -2)
                             .contains(button->fontMetrics().boundingRect(
                                 button->rect(), Qt::AlignCenter, caption)),
                         qPrintable(caption));
            }
        }

        window.ChangeBasicSettings();  // two readers: the wizard opens and says so
        InterfaceWizard* wizard = window.Wizard();
        QVERIFY(wizard && !wizard->StatusLine()->text().isEmpty());
        for (const QSize size : {sizes[0], sizes[1], sizes[2]}) {
            window.setFixedSize(size);
            for (QWidget* control : wizard->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!control->isHidden())
                    QVERIFY(wizard->rect().contains(control->geometry()));
            }
            QLabel* status = wizard->StatusLine();
            QVERIFY(status->fontMetrics().horizontalAdvance(status->text()) <= status->width());
            QVERIFY(status->geometry().bottom() < wizard->ContinueButton()->geometry().top());
            QComboBox* list = wizard->DeviceCombo();
            QVERIFY(list->fontMetrics().horizontalAdvance(list->itemText(0)) < list->width() - 24);
        }
    }

    // On 1366 x 768 and 1280 x 1024 screens at 100, 125 and 150 % (the window's logical size
    // there), every control of every page of both editors keeps at least its own smallest
    // size, lies whole on its page (which scrolls where the window is smaller), and the
    // editor's buttons stay in sight; at 100 % every tab's caption is seen whole. Ctrl+Tab turns
    // the pages also from the buttons under the tabs, where the focus starts.
    void everyEditorControlIsWholeAndReachableOnCommonScreens() {
        EditorWindow w({"usb-hid-kb,firmware=V3.90,pid=4106,security-level=1"});
        MainWindow& window = w.window;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (const QSize screen : {QSize(1366, 768), QSize(1280, 1024)}) {
            for (const double scale : {1.0, 1.25, 1.5}) {
                window.setFixedSize(MainWindowSize((QSizeF(screen) / scale).toSize()));
                for (int which = 0; which < 2; ++which) {
                    SettingsEditor* editor = ShowEditor(window, which);
                    QVERIFY(editor);
                    for (int b = 0; b < SettingsEditor::kButtonCount; ++b) {
                        QPushButton* button = editor->Button(SettingsEditor::ButtonId(b));
                        QVERIFY(editor->rect().contains(
                            QRect(button->mapTo(editor, QPoint()), button->size())));
                    }
                    QTabBar* bar = editor->Tabs()->tabBar();
                    if (scale == 1.0) {
                        QPushButton* send = editor->Button(SettingsEditor::kSend);
                        QTest::keyClick(send, Qt::Key_Tab, Qt::ControlModifier);
                        QCOMPARE(bar->currentIndex(), 1);
                        QTest::keyClick(send, Qt::Key_Backtab,
                                        Qt::ControlModifier | Qt::ShiftModifier);
                        QCOMPARE(bar->currentIndex(), 0);
                    }
                    for (int tab = 0; tab < editor->Tabs()->count(); ++tab) {
                        editor->Tabs()->setCurrentIndex(tab);
                        QApplication::processEvents();
                        // No tab hides behind the scroll arrows.
                        for (int other = 0; other < bar->count() && scale == 1.0; ++other)
                            QVERIFY2(bar->rect().contains(bar->tabRect(other)),
                                     qPrintable(bar->tabText(other) + " is cut off"));
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
                                QStringLiteral("%1: %2 at %3 on %4")
                                    .arg(editor->Tabs()->tabText(tab), control->accessibleName())
                                    .arg(scale)
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
    }

    // The data-editing dialogs need no more than a 1366 x 768 laptop at 150 % offers: their
    // controls scroll above OK and Cancel, and a shown dialog stays within the screen.
    void theDataEditingDialogsFitASmallScreen() {
        const QSize laptop(910, 512);
        ReaderSettings settings;
        RecordingMessenger messages;
        std::vector<std::unique_ptr<QDialog>> dialogs;
        for (FormulaEditorKind kind :
             {FormulaEditorKind::kCreditCard, FormulaEditorKind::kDmv, FormulaEditorKind::kAamva,
              FormulaEditorKind::kCustom, FormulaEditorKind::kCustom2}) {
            dialogs.push_back(
                MakeFormulaEditor(kind, settings, {true, true, true}, messages, nullptr));
        }
        dialogs.push_back(
            std::make_unique<CustomizedFieldsDialog>(settings, Bytes{}, false, messages, nullptr));
        dialogs.push_back(std::make_unique<NewFieldDialog>(settings, nullptr, messages, nullptr));
        const QRect screen = dialogs.front()->screen()->availableGeometry();
        for (const auto& dialog : dialogs) {
            const QSize least = dialog->minimumSizeHint();
            QVERIFY2(least.width() <= laptop.width() && least.height() <= laptop.height(),
                     qPrintable(dialog->windowTitle()));
            dialog->resize(2000, 2000);
            dialog->show();
            QVERIFY2(screen.contains(dialog->frameGeometry()), qPrintable(dialog->windowTitle()));
            dialog->hide();
        }
    }

    void theFocusedButtonIsRingedAllRound() {
        QWidget window;
        auto* first = new QPushButton(QStringLiteral("CONTINUE"), &window);
        (new QPushButton(QStringLiteral("CANCEL"), &window))->setFocus();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QImage plain = first->grab().toImage();
        first->setFocus();
        const QImage focused = first->grab().toImage();
        int changed = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x)
                changed += std::abs(qGray(plain.pixel(x, y)) - qGray(focused.pixel(x, y))) > 60;
        }
        QVERIFY2(changed > first->width() + first->height(), qPrintable(QString::number(changed)));
    }
};

RAVELFIN_GUI_TEST(ScreenFitTest);
#include "screen_fit_test.moc"
