#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

#include "app/support/gui_test_support.h"
#include "app/welcome_painter.h"
#include "controls/colors.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
bool IsInk(QRgb pixel) {
    return qGray(pixel) < 120;
}

// How many pixels of two pictures of one size differ clearly.
int ClearlyDifferent(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            count += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 60;
    }
    return count;
}
}  // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT

  private slots:
    void theWindowFitsTheScreenAndItsTextsStayInTheirAreas() {
        AppRig rig;
        MainWindow window(rig.Link, rig.Messages, rig.Editors);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The test screen is smaller than the window's own size.
        const QRect available = window.screen()->availableGeometry();
        QVERIFY(available.width() < kMainWindowWidth || available.height() < kMainWindowHeight);
        QVERIFY(available.contains(window.frameGeometry()));
        QCOMPARE(MainWindowSize(QSize(1920, 1080)), QSize(kMainWindowWidth, kMainWindowHeight));

        // Down to a small laptop at 150 %, the welcome text ends above the panel's border and
        // every caption fits its button.
        for (const QSize size : {QSize(1000, 680), QSize(800, 600), QSize(640, 420)}) {
            window.setFixedSize(size);
            const QImage picture = window.grab().toImage();
            const QRect text = WelcomeTextArea(size, window.ContentArea());
            int inkInText = 0, inkBelow = 0;
            for (int x = text.left(); x <= text.right(); ++x) {
                for (int y = text.top(); y <= text.bottom(); ++y)
                    inkInText += IsInk(picture.pixel(x, y));
                for (int y = text.bottom() + 1; y < size.height() - 2; ++y)  // above the border
                    inkBelow += IsInk(picture.pixel(x, y));
            }
            const QRect needed = QFontMetrics(WelcomeTextFont(text))
                                     .boundingRect(text, Qt::TextWordWrap, WelcomeText());
            QVERIFY(text.contains(needed));
            QVERIFY2(inkInText > 1000 && inkBelow == 0, qPrintable(QStringLiteral("%1x%2: %3 %4")
                                                                       .arg(size.width())
                                                                       .arg(size.height())
                                                                       .arg(inkInText)
                                                                       .arg(inkBelow)));
            for (int i = 0; i < NavigationBar::kButtonCount; ++i) {
                QPushButton* button = window.Navigation().At(NavigationBar::Button(i));
                const QString caption = button->text().remove(QLatin1Char('&'));
                const QRect needed =
                    button->fontMetrics().boundingRect(button->rect(), Qt::AlignCenter, caption);
                QVERIFY2(button->rect().adjusted(4, 2, -4, -2).contains(needed),
                         qPrintable(caption));
            }
        }
    }

    void theWizardKeepsItsControlsAndLinesInsideThePage() {
        AppRig rig({"usb-hid-kb", "usb-hid"});
        MainWindow window(rig.Link, rig.Messages, rig.Editors);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ChangeBasicSettings();  // two readers: the wizard opens and says so
        InterfaceWizard* wizard = window.Wizard();
        QVERIFY(wizard && !wizard->StatusLine()->text().isEmpty());
        // As designed, and on 1280 x 1024 and 1366 x 768 screens at 150 %.
        for (const QSize size : {QSize(1000, 680), QSize(853, 683), QSize(910, 512)}) {
            window.setFixedSize(size);
            QCOMPARE(wizard->geometry(), window.ContentArea());
            for (QWidget* control : wizard->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!control->isHidden())
                    QVERIFY2(wizard->rect().contains(control->geometry()),
                             qPrintable(control->metaObject()->className()));
            }
            QLabel* status = wizard->StatusLine();
            QVERIFY(status->fontMetrics().horizontalAdvance(status->text()) <= status->width());
            QVERIFY(status->geometry().bottom() < wizard->ContinueButton()->geometry().top());
            QComboBox* list = wizard->DeviceCombo();
            QVERIFY(list->fontMetrics().horizontalAdvance(list->itemText(0)) < list->width() - 24);
        }
    }

    void theSkinShowsTheFocusAndWhereAViewIsScrolled() {
        QWidget window;
        auto* first = new QPushButton(QStringLiteral("CONTINUE"), &window);
        auto* second = new QPushButton(QStringLiteral("CANCEL"), &window);
        second->move(0, 50);
        auto* bar = new QScrollBar(Qt::Vertical, &window);
        bar->setGeometry(200, 0, 16, 240);
        bar->setRange(0, 100);
        bar->setPageStep(20);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        second->setFocus();
        const QImage plain = first->grab().toImage();
        first->setFocus();
        QVERIFY(first->hasFocus());
        const QImage focused = first->grab().toImage();
        // A ring all round, not a shade.
        QVERIFY2(ClearlyDifferent(plain, focused) > first->width() + first->height(),
                 qPrintable(QString::number(ClearlyDifferent(plain, focused))));

        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = option.sliderValue = bar->value();
        option.pageStep = bar->pageStep();
        option.singleStep = bar->singleStep();
        const QRect handle = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                          QStyle::SC_ScrollBarSlider, bar);
        const QRect groove = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                          QStyle::SC_ScrollBarGroove, bar);
        QVERIFY(handle.isValid() && groove.bottom() > handle.bottom() + 20);
        const QImage picture = bar->grab().toImage();
        const int handleGrey = qGray(picture.pixel(handle.center()));
        const int trackGrey =
            qGray(picture.pixel(QPoint(groove.center().x(), groove.bottom() - 10)));
        QVERIFY2(handleGrey + 40 < trackGrey,
                 qPrintable(QStringLiteral("handle %1, track %2").arg(handleGrey).arg(trackGrey)));
    }
};

RAVELFIN_GUI_TEST(ScreenFitTest);
#include "screen_fit_test.moc"
