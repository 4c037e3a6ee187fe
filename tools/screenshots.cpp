// Makes the PNG pictures of docs/ from the program's own windows, on a simulated reader:
//   ravelfin-config-screenshots DIR [--laptop]
// It draws offscreen on a screen of its own (1280 x 1024), so the pictures come out the same
// on every machine. With --laptop the screen is a 1366 x 768 laptop's scaled to 150 %, the
// pictures are of the editors and dialogs only, and their names start with the screen's. Each
// picture is one function below. Those in kTour run in order on one window, each starting from the
// state the one before left; those in kScenes set up a scene of their own. A new picture is a new
// function and a line in one of the two lists.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "advanced/advanced_settings_dialog.h"
#include "advanced/boot_loader_page.h"
#include "advanced/manual_command_page.h"
#include "advanced/quick_clone_page.h"
#include "app/model_number_dialog.h"
#include "app/settings_editors.h"
#include "app/support/gui_test_support.h"
#include "basic/basic_settings_dialog.h"
#include "controls/config_file_chooser.h"
#include "controls/data_files.h"
#include "controls/help_topics.h"
#include "controls/help_window.h"
#include "dataedit/custom_fields.h"
#include "dataedit/ui/data_editing_page.h"
#include "sim/simulated_environment.h"

using namespace ravelfin;

namespace {

QDir output;
QString namePrefix;

// Adds the reader `optionText` describes, as --simulate takes it; a tool without it is no use.
void AddReader(SimulatedEnvironment& machine, const char* optionText) {
    std::string error;
    if (!machine.AddReaderFromOptionText(optionText, error)) {
        std::fprintf(stderr, "--simulate %s: %s\n", optionText, error.c_str());
        std::exit(1);
    }
}

// The program's window on one simulated USB HID reader with firmware V4.30.
struct Tour {
    Tour() { AddReader(machine, "usb-hid,firmware=V4.30"); }
    SimulatedEnvironment machine;
    testing::ShownWindow shown{machine};
    MainWindow& window = shown.window;
};

// The window, with `top` (if any) drawn over it where it stands.
void Save(QWidget& window, const char* name, QWidget* top = nullptr) {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    QPixmap picture = window.grab();
    if (top) {
        const QPoint at = top->mapToGlobal(QPoint()) - window.mapToGlobal(QPoint());
        QPainter painter(&picture);
        if (top->mask().isEmpty())  // a shadow; rounded windows are clipped to their mask
            painter.fillRect(QRect(at + QPoint(4, 4), top->size()), QColor(0, 0, 0, 60));
        else
            painter.setClipRegion(top->mask().translated(at));
        painter.drawPixmap(at, top->grab());
    }
    const QString path = output.filePath(namePrefix + QString::fromLatin1(name));
    std::printf("%s\n", qPrintable(path));
    if (!picture.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// Runs `prepare` on the next modal window, saves it as `name` (over `window` unless that is
// null) and closes it.
void SaveNextModal(const char* name, QWidget* window,
                   std::function<void(QWidget*)> prepare = nullptr) {
    testing::OnNextModal([name, window, prepare](QWidget* modal) {
        if (prepare)
            prepare(modal);
        Save(window ? *window : *modal, name, window ? modal : nullptr);
        modal->close();
    });
}

void MainWindowPicture(Tour& tour) {
    Save(tour.window, "main-window.png");
}

void WizardPicture(Tour& tour) {
    tour.window.SelectReaderInterface();
    Save(tour.window, "wizard.png");
}

// The wizard is open: asking for an editor is refused with a notice.
void NoticePicture(Tour& tour) {
    tour.window.ChangeBasicSettings();
    Save(tour.window, "notice.png", tour.window.Notice());
    tour.window.CloseNotice();
}

// The reader listed stops answering, so CONTINUE cannot connect and the wizard asks for the
// model number.
void ModelNumberPicture(Tour& tour) {
    tour.machine.Reader(0).SetFault(SimulatedFault::NoAnswer);
    SaveNextModal("model-number.png", &tour.window, [](QWidget* modal) {
        if (auto* prompt = qobject_cast<ModelNumberDialog*>(modal))
            prompt->ModelEdit()->setText(QStringLiteral("RX-44305"));
    });
    tour.window.Wizard()->ContinueButton()->click();
    tour.machine.Reader(0).SetFault(SimulatedFault::None);
}

void MessagePicture(Tour& tour) {
    SaveNextModal("message.png", &tour.window);
    tour.shown.messenger.ShowMessage("Success to re-open the device.");
}

// CONTINUE connects the reader; CHECK CURRENT READER SETTINGS shows its report.
void ReportPicture(Tour& tour) {
    tour.window.Wizard()->ContinueButton()->click();
    QApplication::processEvents();  // the wizard goes
    SaveNextModal("report.png", nullptr);
    tour.window.CheckCurrentSettings();
}

void HelpPicture(Tour& tour) {
    ShowHelp(&tour.window, kHelpFileName, kHelpContextCommand, kHelpMainWindow);
    if (HelpWindow* help = CurrentHelpWindow())
        Save(*help, "help.png");
}

// The four pages of the basic settings editor in the program's window, on a USB HID keyboard
// reader so that every page takes input.
void SaveBasicEditorPages() {
    testing::EditorDesk scene({"usb-hid-kb,firmware=V4.20"});
    scene.machine.Reader(0).Settings().Track1Prefix = {0x02, 'T', '1'};
    scene.machine.Reader(0).Settings().Postamble = {'E', 'N', 'D', 0x0D, 0x0A};
    scene.window.ChangeBasicSettings();
    auto* editor = qobject_cast<BasicSettingsDialog*>(scene.window.BasicDialog());
    if (!editor) {
        std::fprintf(stderr, "the basic settings editor did not open\n");
        return;
    }
    const char* names[] = {"basic-general.png", "basic-prepostamble.png", "basic-track.png",
                           "basic-keyboard.png"};
    for (int tab = 0; tab < 4; ++tab) {
        editor->Tabs()->setCurrentIndex(tab);
        Save(scene.window, names[tab]);
    }
}
// The settings tabs of the advanced settings editor in the program's window, on a secure
// reader with a security level that leaves data editing open.
void SaveAdvancedEditorPages() {
    testing::EditorDesk scene({"usb-hid,firmware=V4.30,security-level=1"});
    scene.machine.Reader(0).Settings().MaskChar = '#';
    scene.machine.Reader(0).Settings().PrePan = 6;
    scene.window.ChangeAdvancedSettings();
    auto* editor = qobject_cast<AdvancedSettingsDialog*>(scene.window.AdvancedDialog());
    if (!editor) {
        std::fprintf(stderr, "the advanced settings editor did not open\n");
        return;
    }
    const std::pair<AdvancedTab, const char*> pages[] = {
        {AdvancedTab::kOutputFormat, "advanced-output-format.png"},
        {AdvancedTab::kDataEditing, "advanced-data-editing.png"},
        {AdvancedTab::kSecuritySetting, "advanced-security.png"}};
    for (const auto& [tab, name] : pages) {
        editor->ShowPage(editor->Page(tab));
        Save(scene.window, name);
    }
}
// The reader tools of the advanced editor in the program's window, on a keyboard reader below
// firmware 4.0 (so that the boot-loader tab is there) and a HID reader to clone to.
void SaveToolPages() {
    testing::EditorDesk scene({"usb-hid-kb,firmware=V3.90,pid=4101", "usb-hid,firmware=V3.90"});
    MainWindow& window = scene.window;
    scene.connection.Connect(kInterfaceUsbHidKb, 0);
    window.ChangeAdvancedSettings();
    auto* editor = window.AdvancedDialog();
    auto* tabs = editor ? editor->findChild<QTabWidget*>() : nullptr;
    auto* clone = tabs ? editor->findChild<QuickClonePage*>() : nullptr;
    auto* manual = tabs ? editor->findChild<ManualCommandPage*>() : nullptr;
    auto* boot = tabs ? editor->findChild<BootLoaderPage*>() : nullptr;
    if (!clone || !manual || !boot) {
        std::fprintf(stderr, "the advanced editor did not open with its three tool tabs\n");
        return;
    }
    clone->TargetInterface()->setCurrentIndex(1);
    emit clone->TargetInterface()->activated(1);
    clone->ReadButton()->click();
    editor->ShowPage(clone);
    Save(window, "quick-clone.png");
    for (const char* command : {"\\x2\\x52\\x22\\x3", "\\x2\\x53\\x11\\x1\\x31\\x3"}) {
        manual->CommandBox()->setText(QString::fromLatin1(command));
        manual->SendManualCommand();
    }
    editor->ShowPage(manual);
    Save(window, "manual-command.png");
    editor->ShowPage(boot);
    Save(window, "boot-loader.png");
}

// The Data Editing page on a reader with formulas (model class 10000, firmware 3.40), with a
// credit-card formula and a custom-card formula made of custom and added fields.
struct DataEditingScene {
    DataEditingScene() {
        AddReader(machine, "usb-hid,firmware=V3.40");
        if (!connection.Connect(kInterfaceUsbHid, 0)) {
            std::fprintf(stderr, "the simulated formula reader did not connect\n");
            std::exit(1);
        }
        ReaderSettings& settings = *connection.Settings;
        settings.mode = '1';
        settings.addedFields = {{'#'}, {0x0D, 0x0A}};
        settings.formulas[kSlotCreditCard] = {0x2A, 0x2B, 0x01, 0x41, 0x48, 0x47};
        AddCustomField(settings.custom, CustomFieldKind::kBefore, 2, {"1", "=", "", "", "", ""});
        AddCustomField(settings.custom, CustomFieldKind::kAfter, 1, {"1", "^", "", "", "0", "20"});
        settings.custom.lengthLimits[1] = {0xF0, 0x40, 10, 40};
        settings.formulas[kSlotCustom] = {0x40, 0x00, 0x21};
        page = std::make_unique<DataEditingPage>([&settings] { return &settings; },
                                                 settings.FirmwareVersionNumber, messenger);
        page->resize(680, 440);
        page->show();
    }
    QAbstractButton* Button(const QString& text) const {
        for (auto* b : page->findChildren<QAbstractButton*>()) {
            if (b->text() == text)
                return b;
        }
        std::fprintf(stderr, "no button %s on the Data Editing page\n", qPrintable(text));
        std::exit(1);
    }
    SimulatedEnvironment machine;
    QtMessenger messenger;
    Connection connection{machine, messenger};
    std::unique_ptr<DataEditingPage> page;
};

void SaveDataEditingPage() {
    DataEditingScene scene;
    Save(*scene.page, "data-editing.png");
}

void SaveCreditCardEditor() {
    DataEditingScene scene;
    SaveNextModal("formula-editor.png", nullptr);
    scene.Button(QStringLiteral("Add Formula"))->click();
}

void SaveCustomCardEditor() {
    DataEditingScene scene;
    scene.Button(QStringLiteral("Custom"))->click();
    SaveNextModal("customized-card-editor.png", nullptr);
    scene.Button(QStringLiteral("Add Formula"))->click();
}

// The Customized Fields dialog, opened from the custom card's formula editor.
void SaveCustomFieldsDialog() {
    DataEditingScene scene;
    scene.Button(QStringLiteral("Custom"))->click();
    testing::OnNextModal([](QWidget* formulaEditor) {
        SaveNextModal("customized-fields.png", nullptr);
        for (auto* button : formulaEditor->findChildren<QAbstractButton*>()) {
            if (button->text() == QStringLiteral("<= New Custom Field"))
                button->click();
        }
        formulaEditor->close();
    });
    scene.Button(QStringLiteral("Add Formula"))->click();
}

using TourPicture = void (*)(Tour&);
const TourPicture kTour[] = {MainWindowPicture, WizardPicture, NoticePicture, ModelNumberPicture,
                             MessagePicture,    ReportPicture, HelpPicture};
using Scene = void (*)();
const Scene kScenes[] = {SaveBasicEditorPages, SaveAdvancedEditorPages, SaveDataEditingPage,
                         SaveCreditCardEditor, SaveCustomCardEditor,    SaveCustomFieldsDialog,
                         SaveToolPages};

}  // namespace

int main(int argc, char* argv[]) {
    const bool laptop = argc > 2 && std::strcmp(argv[2], "--laptop") == 0;
    QTemporaryDir scratch;
    const QString screen = scratch.filePath(QStringLiteral("screen.json"));
    QFile config(screen);
    if (config.open(QIODevice::WriteOnly)) {
        const QSize size = laptop ? QSize(1366, 768) : QSize(1280, 1024);
        config.write(QStringLiteral(R"({"screens": [{"name": "docs", "x": 0, "y": 0, "width": %1,
                        "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                         .arg(size.width())
                         .arg(size.height())
                         .toUtf8());
        config.close();
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screen).toLocal8Bit());
    }
    if (laptop) {
        qputenv("QT_SCALE_FACTOR", "1.5");
        namePrefix = QStringLiteral("laptop-1366x768-150-");
    }
    QApplication application(argc, argv);
    testing::PrepareApplication(application);
    OverrideDataFolders({QStringLiteral(RAVELFIN_RESOURCES_DIR)});
    output = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    output.mkpath(QStringLiteral("."));

    if (!laptop) {
        Tour tour;
        for (TourPicture picture : kTour)
            picture(tour);
    }
    for (Scene scene : kScenes)
        scene();
    return 0;
}
