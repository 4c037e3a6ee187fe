// Lists every control a person can reach with Tab whose accessible name is empty or is not
// its caption (a button's text; for an edit box or list, the text of the label naming it):
//   ravelfin-config-accessibility-audit
// It opens the main window, the wizard, both settings editors (every tab) and the data-editing
// dialogs on simulated readers, offscreen, and prints one line per fault; the exit status is
// the number of faults (0: all named).
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <cstdio>

#include "app/settings_editors.h"
#include "app/support/editor_desk.h"
#include "app/support/gui_test_support.h"
#include "controls/config_file_chooser.h"
#include "controls/data_files.h"
#include "dataedit/ui/data_editing_page.h"
#include "sim/simulated_environment.h"

using namespace ravelfin;

namespace {

int faults = 0;
int checked = 0;
QSet<QWidget*> seen;

QString Plain(QString text) {
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.trimmed();
}

// The caption a person sees for `control`: its own text, else the label whose buddy it is.
QString Caption(QWidget* control, QWidget& root) {
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return Plain(button->text());
    for (QLabel* label : root.findChildren<QLabel*>()) {
        if (label->buddy() == control)
            return Plain(label->text());
    }
    return {};
}

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

void AuditShown(QWidget& root, const char* where) {
    const int before = checked;
    QList<QWidget*> all = root.findChildren<QWidget*>();
    all.prepend(&root);
    for (QWidget* w : all) {
        if (seen.contains(w) || !w->isVisible() || !(w->focusPolicy() & Qt::TabFocus) || IsPart(w))
            continue;
        seen.insert(w);
        ++checked;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        const QString name = face ? SpokenName(w, face) : QString();
        const QString caption = Caption(w, root);
        const char* fault = nullptr;
        if (name.isEmpty())
            fault = "EMPTY";
        else if (!caption.isEmpty() && name != caption)
            fault = "DIFFERS";
        if (!fault)
            continue;
        ++faults;
        std::printf("%-8s %-28s %-22s name='%s' caption='%s'\n", fault, where,
                    w->metaObject()->className(), qPrintable(name), qPrintable(caption));
    }
    if (checked > before)
        std::printf("checked  %-28s %d control(s)\n", where, checked - before);
}

// Every tab of every tab set in `root`, one after the other.
void Audit(QWidget& root, const char* where) {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    AuditShown(root, where);
    for (QTabWidget* tabs : root.findChildren<QTabWidget*>()) {
        const int was = tabs->currentIndex();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QApplication::processEvents();
            const QByteArray page = QByteArray(where) + "/" + tabs->tabText(tab).toUtf8();
            AuditShown(root, page.constData());
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
    desk.window.SelectReaderInterface();
    if (desk.window.Wizard())
        Audit(*desk.window.Wizard(), "wizard");
}

void AuditEditors(std::initializer_list<const char*> optionTexts, int interfaceType,
                  const char* where) {
    testing::EditorDesk desk(optionTexts);
    desk.connection.Connect(interfaceType, 0);
    desk.window.ChangeBasicSettings();
    if (SettingsEditor* basic = desk.window.BasicDialog()) {
        Audit(*basic, (std::string(where) + " basic").c_str());
        basic->close();
        QApplication::processEvents();
    }
    desk.window.ChangeAdvancedSettings();
    if (SettingsEditor* advanced = desk.window.AdvancedDialog())
        Audit(*advanced, (std::string(where) + " advanced").c_str());
}

void AuditDataEditingDialogs() {
    SimulatedEnvironment machine;
    SimulatedReaderOptions reader;
    reader.Firmware = "V3.40";
    std::string error;
    machine.AddReader(reader, error);
    testing::RecordingMessenger messenger;
    Connection connection{machine, messenger};
    if (!connection.Connect(kInterfaceUsbHid, 0))
        return;
    DataEditingPage page([&connection] { return connection.Settings.get(); }, connection.Settings->FirmwareVersionNumber,
                         messenger);
    page.show();
    if (auto* enable = ButtonNamed(page, QStringLiteral("Enable")))
        enable->click();
    Audit(page, "data editing page");
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
    std::printf("%d of %d control(s) unnamed or misnamed\n", faults, checked);
    return faults;
}
