#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "app/preferences.h"
#include "app/support/app_rig.h"
#include "app/support/gui_test_registry.h"
#include "controls/data_files.h"
#include "controls/help_topics.h"
#include "controls/help_window.h"

using namespace ravelfin;
using namespace ravelfin::testing;

class HelpAndGuideTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { OverrideDataFolders({QStringLiteral(RAVELFIN_RESOURCES_DIR)}); }
    void cleanup() {
        OverrideDataFolders({});
        if (HelpWindow* help = CurrentHelpWindow())
            delete help;
    }

    void everyContextNumberOpensItsOwnTitledPage() {
        QSet<QString> pages;
        QSet<QString> titles;
        for (int context = 16384; context <= 16391; ++context) {
            QCOMPARE(ShowHelp(nullptr, kHelpFileName, kHelpContextCommand, context), 1);
            HelpWindow* help = CurrentHelpWindow();
            QVERIFY(help && help->isVisible());
            QCOMPARE(help->CurrentPage(), HelpFileForContext(context));
            QVERIFY2(!help->PageTitle().isEmpty(), qPrintable(help->CurrentPage()));
            pages.insert(help->CurrentPage());
            titles.insert(help->PageTitle());
        }
        QCOMPARE(pages.size(), 8);
        QCOMPARE(titles.size(), 8);
        // Every page of the contents exists.
        for (const HelpTopic& topic : HelpTopics())
            QVERIFY(CurrentHelpWindow()->ShowPage(topic.file));
    }

    void helpBelongsToItsOwnerOrToNobody() {
        QWidget page;
        QCOMPARE(ShowHelp(&page, kHelpFileName, kHelpContextCommand, kHelpTrackSettings), 1);
        QCOMPARE(CurrentHelpWindow()->parentWidget(), &page);
        QCOMPARE(ShowHelp(nullptr, kHelpFileName, kHelpContextCommand, kHelpPrePostamble), 1);
        QVERIFY(CurrentHelpWindow()->parentWidget() == nullptr);
    }

    void missingHelpOrAnUnknownRequestDoesNothing() {
        QCOMPARE(ShowHelp(nullptr, kHelpFileName, 1, kHelpMainWindow), 0);
        QCOMPARE(ShowHelp(nullptr, kHelpFileName, kHelpContextCommand, 17000), 0);
        QTemporaryDir empty;
        OverrideDataFolders({empty.path()});
        QCOMPARE(ShowHelp(nullptr, kHelpFileName, kHelpContextCommand, kHelpMainWindow), 0);
        QVERIFY(!CurrentHelpWindow());
    }

    void theGuideOpensInTheDesktopViewerWhenItExists() {
        SavePreferences(Preferences{});
        AppRig rig;
        StubEditors editors;
        MainWindow window(rig.Link, rig.Messages, editors);
        QList<QUrl> opened;
        window.SetDocumentOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        QTest::mouseClick(window.Navigation().At(NavigationBar::kHowToUse), Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        QVERIFY(
            opened.front().toLocalFile().endsWith(QStringLiteral("/HOW TO USE THIS UTILITY.txt")));

        QTemporaryDir empty;
        OverrideDataFolders({empty.path()});
        QTest::mouseClick(window.Navigation().At(NavigationBar::kHowToUse), Qt::LeftButton);
        QTest::mouseClick(window.Navigation().At(NavigationBar::kHelp), Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        QVERIFY(!CurrentHelpWindow());
        QVERIFY(rig.Messages.Messages.empty());
    }
};

RAVELFIN_GUI_TEST(HelpAndGuideTest);
#include "help_and_guide_test.moc"
