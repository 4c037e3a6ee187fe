// Makes the PNG pictures of docs/ from the program's own windows, on a simulated reader:
//   ravelfin-config-screenshots DIR
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cstdio>

#include "app/interface_wizard.h"
#include "app/main_window.h"
#include "app/model_number_dialog.h"
#include "app/qt_messenger.h"
#include "app/settings_dialogs.h"
#include "app/tools/tool_support.h"
#include "connection/connection.h"
#include "controls/data_files.h"
#include "controls/editable_grid.h"
#include "controls/help_topics.h"
#include "controls/help_window.h"
#include "controls/key_sequence_edit.h"
#include "controls/message_dialog.h"
#include "controls/skin_style.h"
#include "controls/skinned_dialog.h"
#include "sim/simulated_environment.h"

using namespace ravelfin;

namespace {

QDir output;

void Save(const QPixmap& picture, const char* name) {
    const QString path = output.filePath(QString::fromLatin1(name));
    if (!picture.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::printf("%s\n", qPrintable(path));
}

void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The window with `top` drawn over it where it stands, with a soft shadow.
QPixmap Composite(QWidget& window, QWidget& top) {
    QPixmap picture = window.grab();
    const QPoint at = top.mapToGlobal(QPoint()) - window.mapToGlobal(QPoint());
    QPainter painter(&picture);
    if (top.mask().isEmpty()) {
        for (int i = 8; i > 0; --i) {
            painter.fillRect(QRect(at + QPoint(i, i), top.size()), QColor(0, 0, 0, 10));
        }
    }
    // Windows with rounded corners: the offscreen platform keeps no masks, so apply it here.
    if (!top.mask().isEmpty())
        painter.setClipRegion(top.mask().translated(at));
    painter.drawPixmap(at, top.grab());
    return picture;
}

// The shared controls on a page of their own, as the settings editors use them.
void SaveControlsGallery(Messenger& messenger) {
    SkinnedDialog page;
    page.resize(640, 420);
    auto* tabs = new QTabWidget;
    auto* content = new SkinnedDialog(nullptr, SkinnedDialog::PageTag{});
    tabs->addTab(content, QStringLiteral("Pre/Postamble"));
    tabs->addTab(new QWidget, QStringLiteral("General Settings"));
    tabs->addTab(new QWidget, QStringLiteral("Track Settings"));

    auto* grid = new EditableGrid;
    grid->setColumnCount(4);
    grid->setRowCount(2);
    grid->setHorizontalHeaderLabels({QStringLiteral("Bits\\Track"), QStringLiteral("Track 1"),
                                     QStringLiteral("Track 2"), QStringLiteral("Track 3")});
    const char* rows[2][4] = {{"7 Bits Start Sentinel", "%", "%", "%"},
                              {"End Sentinel", "?", "?", "?"}};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 4; ++c)
            grid->setItem(r, c, new QTableWidgetItem(rows[r][c]));
    }
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setColumnWidth(0, 170);
    grid->setFixedHeight(90);

    auto* prefix = new KeySequenceEdit(messenger);
    prefix->SetBytes({0x02, 'C', 'A', 'R', 'D', 0x0D});
    auto* postamble = new KeySequenceEdit(messenger);
    postamble->SetBytes({0x95, 0x98});
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Track 1 Prefix"), prefix);
    fields->addRow(QStringLiteral("Postamble"), postamble);

    auto* options = new QGroupBox(QStringLiteral("Options"));
    auto* optionRows = new QVBoxLayout(options);
    optionRows->addWidget(new QCheckBox(QStringLiteral("Send Start/End Sentinel")));
    auto* on = new QRadioButton(QStringLiteral("MSR Reading Enabled"));
    on->setChecked(true);
    optionRows->addWidget(on);

    auto* layout = new QVBoxLayout(content);
    layout->addWidget(grid);
    layout->addLayout(fields);
    layout->addWidget(options);
    auto* outer = new QVBoxLayout(&page);
    outer->addWidget(tabs);
    page.show();
    Settle();
    Save(page.grab(), "controls.png");
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvane-Ravelfin"));
    QApplication::setApplicationName(QStringLiteral("ravelfin-config-screenshots"));
    InstallSkin(application);
    QTemporaryDir settingsHome;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome.path());
    OverrideDataFolders({QStringLiteral(RAVELFIN_RESOURCES_DIR)});
    output = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    output.mkpath(QStringLiteral("."));

    SimulatedEnvironment machine;
    SimulatedReaderOptions reader;
    reader.Firmware = "V4.30";
    std::string error;
    machine.AddReader(reader, error);
    QtMessenger messenger;
    Connection connection(machine, messenger);
    NoSettingsDialogs editors;
    {
        MainWindow window(connection, messenger, editors);
        messenger.SetWindow(&window, [&window](const QString& text) { window.ShowNotice(text); });
        window.show();
        Settle();
        Save(window.grab(), "main-window.png");

        window.SelectReaderInterface();
        Settle();
        Save(window.grab(), "wizard.png");

        window.ChangeBasicSettings();  // refused while the wizard is open
        Settle();
        if (window.Notice())
            Save(Composite(window, *window.Notice()), "notice.png");
        window.CloseNotice();

        tools::OnNextModal([&window](QWidget* modal) {
            auto* prompt = qobject_cast<ModelNumberDialog*>(modal);
            if (prompt)
                prompt->ModelEdit()->setText(QStringLiteral("RX-44305"));
            Settle();
            Save(Composite(window, *modal), "model-number.png");
            modal->close();
        });
        ModelNumberDialog(messenger, &window).exec();

        tools::OnNextModal([&window](QWidget* modal) {
            Settle();
            Save(Composite(window, *modal), "message.png");
            modal->close();
        });
        messenger.ShowMessage("Success to re-open the device.");

        window.Wizard()->ContinueButton()->click();
        Settle();
        tools::OnNextModal([](QWidget* modal) {
            Settle();
            Save(modal->grab(), "report.png");
            modal->close();
        });
        window.CheckCurrentSettings();

        SaveControlsGallery(messenger);

        ShowHelp(&window, kHelpFileName, kHelpContextCommand, kHelpMainWindow);
        Settle();
        if (HelpWindow* help = CurrentHelpWindow())
            Save(help->grab(), "help.png");
    }
    connection.Settings.reset();
    connection.Transport.reset();
    return 0;
}
