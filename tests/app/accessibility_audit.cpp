// Lists what a screen reader could not tell apart:
//   ravelfin-config-accessibility-audit
// It opens the main window, the wizard, the notice, both settings editors (every tab) with
// their file dialog and message boxes, the report, the help and the data-editing dialogs on
// simulated readers, offscreen, and prints one line per fault:
//   EMPTY     a control a person can reach with Tab has no accessible name;
//   REPEATED  two controls a window shows together sound the same;
//   UNNAMED   a window, message box or editor has no name;
//   MISSING   a window the audit opens did not open (so it went unchecked).
// The exit status is the number of faults (0: all named).
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QPair>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <cstdio>

#include "advanced/boot_loader_page.h"
#include "app/settings_editors.h"
#include "app/support/gui_test_support.h"
#include "controls/config_file_chooser.h"
#include "controls/data_files.h"
#include "controls/help_window.h"
#include "controls/message_dialog.h"
#include "dataedit/ui/data_editing_page.h"
#include "sim/simulated_environment.h"

using namespace ravelfin;

namespace {

int faults = 0;
int checked = 0;
QSet<QString> audited;  // the windows and pages audited, as the report names them

// What one audit of a window has met so far: a control is checked once, whichever tab shows
// it, and a pair of controls that sound alike is reported once.
struct Scope {
    QSet<QWidget*> seen;
    QSet<QPair<QWidget*, QWidget*>> repeated;
};

// What a screen reader says `control` is. On Linux a list's accessible name is its current
// line, whatever its accessibleName; the label it is "labelled by" (its buddy) names it.
QString SpokenName(QWidget* control, QAccessibleInterface* face) {
    if (!qobject_cast<QComboBox*>(control))
        return face->text(QAccessible::Name);
    for (const auto& [other, relation] : face->relations(QAccessible::Label)) {
        if (qobject_cast<QLabel*>(other->object()))
            return other->text(QAccessible::Name);
    }
    return {};
}

// Parts of another control (a list's scroll bars, a spin box's edit line) are named through it.
bool IsPart(QWidget* w) {
    if (qobject_cast<QScrollBar*>(w) || w->focusProxy())
        return true;
    for (QWidget* up = w->parentWidget(); up; up = up->parentWidget()) {
        if (qobject_cast<QAbstractSpinBox*>(up) || qobject_cast<QComboBox*>(up) ||
            qobject_cast<QAbstractItemView*>(up))
            return true;
    }
    return false;
}

void Fault(const char* fault, const char* where, QWidget* w, const QString& name,
           const QString& other) {
    ++faults;
    std::printf("%-9s %-28s %-22s name='%s' %s\n", fault, where, w->metaObject()->className(),
                qPrintable(name), qPrintable(other));
}

void CheckNamed(QWidget* w, const char* where) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
        Fault("UNNAMED", where, w, QString(), QString());
}

// The controls of `root`'s window that show now; `root` is the window or a page in it. Names
// must differ among the controls shown together (a tab that is not shown is not read out).
void AuditShown(QWidget& root, const char* where, Scope& scope) {
    QWidget& window = *root.window();
    QList<QWidget*> all = window.findChildren<QWidget*>();
    all.prepend(&window);
    QHash<QString, QWidget*> shown;  // case-folded: a screen reader says both alike
    for (QWidget* w : all) {
        if (w->window() != &window || !w->isVisible() || !(w->focusPolicy() & Qt::TabFocus) ||
            IsPart(w))
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        const QString name = face ? SpokenName(w, face) : QString();
        if (!scope.seen.contains(w)) {
            scope.seen.insert(w);
            ++checked;
            if (name.isEmpty())
                Fault("EMPTY", where, w, name, QString());
        }
        // A tab list is called by its current tab, which a control of that page may repeat (the
        // tab "Set Boot Loader Mode" and its button): the name is the tab's, not the list's.
        if (name.isEmpty() || qobject_cast<QTabBar*>(w))
            continue;
        QWidget*& first = shown[name.toCaseFolded()];
        if (!first)
            first = w;
        else if (const QPair<QWidget*, QWidget*> pair{first, w}; !scope.repeated.contains(pair)) {
            scope.repeated.insert(pair);
            Fault("REPEATED", where, w, name,
                  QStringLiteral("like a %1").arg(first->metaObject()->className()));
        }
    }
}

// A page shown alone (`isPage`) is no window of the program and needs no name of its own.
void Audit(QWidget& root, const char* where, bool isPage = false) {
    audited.insert(QString::fromUtf8(where));
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    if (!isPage) {
        CheckNamed(&root, where);
        if (root.window() != &root)
            CheckNamed(root.window(), where);
    }
    Scope scope;
    AuditShown(root, where, scope);
    for (QTabWidget* tabs : root.findChildren<QTabWidget*>()) {
        if (!tabs->isVisible())
            continue;
        const int was = tabs->currentIndex();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QApplication::processEvents();
            const QByteArray page = QByteArray(where) + "/" + tabs->tabText(tab).toUtf8();
            AuditShown(root, page.constData(), scope);
        }
        tabs->setCurrentIndex(was);
    }
}

QAbstractButton* ButtonNamed(QWidget& root, const QString& text) {
    for (auto* b : root.findChildren<QAbstractButton*>()) {
        if (b->text() == text)
            return b;
    }
    std::fprintf(stderr, "no button '%s'\n", qPrintable(text));
    return nullptr;
}

// Audits the next modal window as `where`, then closes it.
void AuditNextModal(const char* where) {
    testing::OnNextModal([where](QWidget* modal) {
        Audit(*modal, where);
        modal->close();
    });
}

void AuditShell() {
    testing::EditorDesk desk({"usb-hid,firmware=V4.30"});
    Audit(desk.window, "main window");
    desk.window.ShowNotice(QStringLiteral("Please close current window first"));
    if (desk.window.Notice())
        Audit(*desk.window.Notice(), "notice");
    desk.window.CloseNotice();
    if (desk.connection.Connect(kInterfaceUsbHid, 0)) {
        AuditNextModal("report");
        desk.window.CheckCurrentSettings();
    }
    desk.window.SelectReaderInterface();
    if (desk.window.Wizard())
        Audit(*desk.window.Wizard(), "wizard");
    desk.window.ShowHelpFile();
    if (CurrentHelpWindow()) {
        Audit(*CurrentHelpWindow(), "help");
        delete CurrentHelpWindow();
    }
    {
        MessageDialog message(QStringLiteral("Success to re-open the device."), &desk.window);
        AuditNextModal("message");
        message.exec();
    }
}

void AuditEditors(std::initializer_list<const char*> optionTexts, int interfaceType,
                  const char* where) {
    testing::EditorDesk desk(optionTexts);
    desk.connection.Connect(interfaceType, 0);
    desk.window.ChangeBasicSettings();
    if (SettingsEditor* basic = desk.window.BasicDialog()) {
        Audit(*basic, (std::string(where) + " basic").c_str());
        AuditNextModal("file dialog");
        basic->SaveToFile();
        basic->close();
        QApplication::processEvents();
    }
    desk.window.ChangeAdvancedSettings();
    SettingsEditor* advanced = desk.window.AdvancedDialog();
    if (!advanced)
        return;
    Audit(*advanced, (std::string(where) + " advanced").c_str());
    // A wrong password is refused in a platform message box without a caption.
    if (auto* bootLoader = advanced->findChild<BootLoaderPage*>()) {
        advanced->Tabs()->setCurrentWidget(bootLoader);
        AuditNextModal("wrong password box");
        bootLoader->SetButton()->click();
    }
}

void AuditDataEditingDialogs() {
    testing::EditorDesk desk({"usb-hid,firmware=V3.40"});
    if (!desk.connection.Connect(kInterfaceUsbHid, 0))
        return;
    ReaderSettings& record = *desk.connection.Settings;
    DataEditingPage page([&record] { return &record; }, record.FirmwareVersionNumber,
                         desk.messenger);
    page.show();
    if (auto* enable = ButtonNamed(page, QStringLiteral("Enable")))
        enable->click();
    Audit(page, "data editing page", true);
    if (auto* b = ButtonNamed(page, QStringLiteral("New Field"))) {
        AuditNextModal("new field");
        b->click();
    }
    if (auto* b = ButtonNamed(page, QStringLiteral("Add Formula"))) {
        AuditNextModal("credit card formula");
        b->click();
    }
    if (auto* custom = ButtonNamed(page, QStringLiteral("Custom")))
        custom->click();
    if (auto* b = ButtonNamed(page, QStringLiteral("Add Formula"))) {
        testing::OnNextModal([](QWidget* editor) {
            Audit(*editor, "custom card formula");
            if (auto* more = ButtonNamed(*editor, QStringLiteral("<= New Custom Field"))) {
                AuditNextModal("customized fields");
                more->click();
            }
            editor->close();
        });
        b->click();
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::PrepareApplication(application);
    OverrideDataFolders({QStringLiteral(RAVELFIN_RESOURCES_DIR)});
    AuditShell();
    AuditEditors({"usb-hid-kb,firmware=V3.90,pid=4101", "usb-hid,firmware=V3.90"},
                 kInterfaceUsbHidKb, "keyboard V3.90");
    AuditEditors({"usb-hid,firmware=V4.30,security-level=1"}, kInterfaceUsbHid, "secure V4.30");
    AuditDataEditingDialogs();
    // A window that did not open was not audited: its faults would go unseen.
    for (const char* where :
         {"main window", "notice", "report", "wizard", "help", "message", "keyboard V3.90 basic",
          "file dialog", "keyboard V3.90 advanced", "wrong password box", "secure V4.30 basic",
          "secure V4.30 advanced", "data editing page", "new field", "credit card formula",
          "custom card formula", "customized fields"}) {
        if (!audited.contains(QString::fromLatin1(where))) {
            ++faults;
            std::printf("MISSING   %s was not opened\n", where);
        }
    }
    std::printf("%d control(s) checked; %d fault(s)\n", checked, faults);
    return faults;
}
