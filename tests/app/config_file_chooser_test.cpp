#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/support/gui_test_support.h"
#include "controls/config_file_chooser.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
// Answers the next file dialog with `name` typed; `then` answers what that brings up.
void TypeInNextFileDialog(const QString& name, std::function<void(QMessageBox*)> then = {}) {
    OnNextModalOf<QFileDialog>([name, then](QFileDialog* dialog) {
        // Typed, as a user does: the dialog's own selection follows its folder listing,
        // which fills in later.
        auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(typed);
        typed->setText(name);
        if (then)
            OnNextModalOf<QMessageBox>(then);
        static_cast<QDialog*>(dialog)->accept();  // as the Save or Open button does
        if (dialog->isVisible())
            dialog->reject();
    });
}
}  // namespace

class ConfigFileChooserTest : public QObject {
    Q_OBJECT

  private slots:
    void aBareNameGetsTheExtensionOverwritingAsksAndTheFolderIsKept() {
        QSettings().remove(QStringLiteral("Settings/ConfigFileFolder"));
        QVERIFY(ConfigFileFolder() != QString());
        QTemporaryDir folder;
        QtConfigFileChooser chooser;

        QSettings().setValue(QStringLiteral("Settings/ConfigFileFolder"), folder.path());
        TypeInNextFileDialog(QStringLiteral("reader"));
        const QString saved = chooser.ChooseFileToSave(nullptr);
        QCOMPARE(saved, folder.filePath(QStringLiteral("reader.cfs2")));

        // The file now exists: saving over it asks, and "No" keeps the dialog open.
        QFile existing(saved);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        bool asked = false;
        TypeInNextFileDialog(QStringLiteral("reader.cfs2"), [&asked](QMessageBox* box) {
            asked = true;
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(chooser.ChooseFileToSave(nullptr), QString());
        QVERIFY(asked);

        // Opening starts where the last file was chosen; a cancel yields nothing.
        QCOMPARE(ConfigFileFolder(), folder.path());
        TypeInNextFileDialog(QStringLiteral("reader.cfs2"));
        QCOMPARE(chooser.ChooseFileToOpen(nullptr), saved);
        OnNextModalOf<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        QCOMPARE(chooser.ChooseFileToOpen(nullptr), QString());
    }
};

RAVELFIN_GUI_TEST(ConfigFileChooserTest);
#include "config_file_chooser_test.moc"
