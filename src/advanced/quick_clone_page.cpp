#include "advanced/quick_clone_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/skinned_dialog.h"
#include "protocol/interface_type.h"
#include "transport/transport_factory.h"

namespace ravelfin {

namespace {
// The interface lists offer the two USB HID kinds, in this order.
constexpr int kInterfaceTypes[] = {kInterfaceUsbHidKb, kInterfaceUsbHid};

QComboBox* AddList(QFormLayout& form, const QString& caption, const QStringList& items = {}) {
    auto* list = new QComboBox;
    list->addItems(items);
    list->setAccessibleName(caption);
    auto* label = new QLabel(caption);
    label->setBuddy(list);
    form.addRow(label, list);
    return list;
}
}  // namespace

QuickClonePage::QuickClonePage(ReaderEnvironment& machine, Messenger& messages, QWidget* parent)
    : SkinnedPage(parent),
      machine_(machine),
      flow_([&machine](int type) { return MakeTransport(type, machine); }, messages) {
    for (int type = kInterfaceRs232; type <= static_cast<int>(kInterfaceUsbHid); ++type)
        ListDevices(machine_.Devices(), type, lists_[type]);

    const QStringList readerTypes{QStringLiteral("Orvane USB MSR")};
    const QStringList interfaces{QStringLiteral("USB-HID-KB"), QStringLiteral("USB-HID")};
    auto* source = new QFormLayout;
    auto* target = new QFormLayout;
    QComboBox* sourceType = AddList(*source, QStringLiteral("Source Type:"), readerTypes);
    sourceInterface_ = AddList(*source, QStringLiteral("Source Interface:"), interfaces);
    sourceConnection_ = AddList(*source, QStringLiteral("Source Connection:"));
    readButton_ = new QPushButton(QStringLiteral("Read From MSR"));
    source->addRow(CenteredButtonRow({readButton_}));
    QComboBox* targetType = AddList(*target, QStringLiteral("Target Type:"), readerTypes);
    targetInterface_ = AddList(*target, QStringLiteral("Target Interface:"), interfaces);
    targetConnection_ = AddList(*target, QStringLiteral("Target Connection:"));
    cloneButton_ = new QPushButton(QStringLiteral("Clone To MSR"));
    target->addRow(CenteredButtonRow({cloneButton_}));
    // Enter runs "Clone To MSR" unless the focus is on the other button; Escape is handled
    // below.
    SetDefaultButton(cloneButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(16);
    for (QFormLayout* side : {source, target}) {
        side->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        side->setVerticalSpacing(10);
        auto* frame = new QGroupBox;
        frame->setLayout(side);
        layout->addWidget(frame);
    }
    layout->addStretch();
    for (QPushButton* button : {readButton_, cloneButton_})
        button->setMinimumWidth(140);
    // Down the source side, then down the target side.
    QWidget* order[] = {sourceType, sourceInterface_, sourceConnection_, readButton_,
                        targetType, targetInterface_, targetConnection_, cloneButton_};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    FillConnections(sourceConnection_, kInterfaceUsbHidKb);
    FillConnections(targetConnection_, kInterfaceUsbHidKb);
    // Only the user's choices count: the lists refilled by the page change nothing more.
    connect(sourceInterface_, &QComboBox::activated, this,
            [this] { InterfaceChosen(sourceInterface_, sourceConnection_); });
    connect(targetInterface_, &QComboBox::activated, this,
            [this] { InterfaceChosen(targetInterface_, targetConnection_); });
    connect(sourceConnection_, &QComboBox::activated, this, [this] { flow_.ForgetSource(); });
    connect(readButton_, &QPushButton::clicked, this, &QuickClonePage::ReadFromMsr);
    connect(cloneButton_, &QPushButton::clicked, this, &QuickClonePage::CloneToMsr);
}

int QuickClonePage::ChosenType(const QComboBox* interfaceList) {
    const int position = interfaceList->currentIndex();
    return position < 0 ? 0 : kInterfaceTypes[position];
}

void QuickClonePage::FillConnections(QComboBox* connectionList, int type) {
    connectionList->clear();
    for (const DeviceEntry& entry : lists_[type])
        connectionList->addItem(QString::fromStdString(entry.Name));
    if (connectionList->count() > 0)
        connectionList->setCurrentIndex(0);
}

void QuickClonePage::RefreshDeviceList(int type) {
    std::vector<DeviceEntry> found;
    ListDevices(machine_.Devices(), type, found);
    if (found.size() == lists_[type].size())
        return;
    lists_[type] = std::move(found);
    if (ChosenType(sourceInterface_) == type)
        FillConnections(sourceConnection_, type);
    if (ChosenType(targetInterface_) == type)
        FillConnections(targetConnection_, type);
}

void QuickClonePage::DeviceChanged(std::int64_t timestampMs) {
    if (lastDeviceChange_ && timestampMs - *lastDeviceChange_ < kDeviceChangeQuietMs)
        return;
    lastDeviceChange_ = timestampMs;
    for (int type : {kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid})
        RefreshDeviceList(type);
}

void QuickClonePage::InterfaceChosen(QComboBox* interfaceList, QComboBox* connectionList) {
    const int type = ChosenType(interfaceList);
    if (type == 0)
        return;
    RefreshDeviceList(kInterfaceUsbHidKb);
    RefreshDeviceList(kInterfaceUsbHid);
    FillConnections(connectionList, type);
}

void QuickClonePage::ReadFromMsr() {
    flow_.ReadSource(ChosenType(sourceInterface_), sourceConnection_->currentText().toStdString());
}

void QuickClonePage::CloneToMsr() {
    flow_.CloneTo(ChosenType(targetInterface_), targetConnection_->currentText().toStdString());
}

void QuickClonePage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ReadFromMsr();
        return;
    }
    SkinnedPage::keyPressEvent(event);
}

}  // namespace ravelfin
