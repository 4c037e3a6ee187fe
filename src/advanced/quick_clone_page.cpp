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
      messages_(messages),
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
    // The reader chosen stays chosen, by its identity, wherever the list now places it; one
    // that left is chosen again when it comes back, and meanwhile no other takes its place.
    if (const std::optional<DeviceEntry> current = ChosenReader(connectionList))
        lastChosen_[connectionList] = *current;
    connectionList->clear();
    for (const DeviceEntry& entry : lists_[type]) {
        connectionList->addItem(QString::fromStdString(entry.Name));
        connectionList->setItemData(connectionList->count() - 1,
                                    QString::fromStdString(entry.Identity.Describe()),
                                    Qt::ToolTipRole);
    }
    connectionEntries_[connectionList] = lists_[type];
    int keep = connectionList->count() > 0 ? 0 : -1;
    if (const auto chosen = lastChosen_.find(connectionList); chosen != lastChosen_.end()) {
        keep = -1;
        for (std::size_t i = 0; i < lists_[type].size(); ++i) {
            if (lists_[type][i].Type == chosen->second.Type &&
                lists_[type][i].Identity.SameReader(chosen->second.Identity)) {
                keep = static_cast<int>(i);
            }
        }
    }
    connectionList->setCurrentIndex(keep);
}

std::optional<DeviceEntry> QuickClonePage::ChosenReader(const QComboBox* connectionList) const {
    const auto entries = connectionEntries_.find(connectionList);
    const int item = connectionList->currentIndex();
    if (entries == connectionEntries_.end() || item < 0 ||
        item >= static_cast<int>(entries->second.size())) {
        return std::nullopt;
    }
    return entries->second[static_cast<std::size_t>(item)];
}

void QuickClonePage::RefreshDeviceList(int type) {
    std::vector<DeviceEntry> found;
    ListDevices(machine_.Devices(), type, found);
    if (found == lists_[type])
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
    // Another interface is another choice: its list starts at its first reader.
    connectionEntries_.erase(connectionList);
    lastChosen_.erase(connectionList);
    FillConnections(connectionList, type);
}

std::optional<DeviceAddress> QuickClonePage::WhereNow(const QComboBox* connectionList,
                                                      const char* side) {
    const std::optional<DeviceEntry> chosen = ChosenReader(connectionList);
    if (!chosen || !chosen->Identity.IsKnown())
        return DeviceAddress(connectionList->currentText().toStdString());
    DeviceEntry now;
    if (FindReader(machine_.Devices(), chosen->Identity, {chosen->Type}, now))
        return DeviceAddress(now.Name);
    messages_.ShowMessage(std::string("The ") + side + " reader you chose (" +
                          chosen->Identity.Describe() +
                          ") is no longer attached; nothing was sent to any reader.");
    return std::nullopt;
}

void QuickClonePage::ReadFromMsr() {
    // A list whose chosen reader left has none chosen: the user is asked to choose one.
    const int type = sourceConnection_->currentIndex() < 0 && sourceConnection_->count() > 0
                         ? 0
                         : ChosenType(sourceInterface_);
    std::optional<DeviceAddress> source = DeviceAddress();
    if (type > 0)
        source = WhereNow(sourceConnection_, "source");
    if (source)
        flow_.ReadSource(type, *source);
}

void QuickClonePage::CloneToMsr() {
    const int type = targetConnection_->currentIndex() < 0 && targetConnection_->count() > 0
                         ? 0
                         : ChosenType(targetInterface_);
    // Without a read the flow says so; where the target is matters only to a clone.
    std::optional<DeviceAddress> target = DeviceAddress();
    if (flow_.Source() && type > 0)
        target = WhereNow(targetConnection_, "target");
    if (target)
        flow_.CloneTo(type, *target);
}

void QuickClonePage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ReadFromMsr();
        return;
    }
    SkinnedPage::keyPressEvent(event);
}

}  // namespace ravelfin
