#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "app/support/gui_test_support.h"
#include "app/welcome_painter.h"

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
