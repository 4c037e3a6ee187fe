#include "app/interface_wizard.h"

#include <QComboBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "app/artwork.h"
#include "app/model_number_dialog.h"
#include "app/wait_cursor.h"
#include "controls/colors.h"

namespace ravelfin {

namespace {
// Heights of the page's rows, as parts of the page height.
constexpr double kConnectionRow = 0.22;
constexpr double kPlugRow = 0.65;
constexpr double kSelectRow = 0.72;
constexpr double kButtonRow = 0.85;

QFont PageFont(int pixelSize, bool bold, bool italic = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}
}  // namespace

InterfaceWizard::InterfaceWizard(Connection& connection, Messenger& messenger, QWidget* parent)
    : SkinnedDialog(parent, PageTag{}),
      messenger_(messenger),
      selection_(connection, messenger),
      combo_(new QComboBox(this)),
      continue_(new QPushButton(QStringLiteral("CONTINUE"), this)),
      cancel_(new QPushButton(QStringLiteral("CANCEL"), this)) {
    // The connection groups other than USB are not offered: their buttons stay hidden.
    const char* names[3] = {"PS/2 Keyboard", "RS232", "USB"};
    for (int group = 0; group < 3; ++group) {
        groups_[group] = new QRadioButton(QString::fromLatin1(names[group]), this);
        groups_[group]->hide();
        connect(groups_[group], &QRadioButton::clicked, this, &InterfaceWizard::FillCombo);
    }
    groups_[InterfaceSelection::kUsbGroup]->setChecked(true);

    combo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo_->setFont(PageFont(14, false));
    for (QPushButton* button : {continue_, cancel_})
        button->setFont(PageFont(13, true));
    continue_->setDefault(true);
    connect(continue_, &QPushButton::clicked, this, &InterfaceWizard::OnContinue);
    connect(cancel_, &QPushButton::clicked, this, &InterfaceWizard::OnCancel);

    prompt_ = [this]() -> std::optional<int> {
        CursorScope arrow(Qt::ArrowCursor);  // the prompt comes in the middle of a connect
        ModelNumberDialog dialog(messenger_, window());
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.InterfaceType();
    };
}

void InterfaceWizard::SetModelNumberPrompt(InterfaceSelection::ModelNumberPrompt prompt) {
    prompt_ = std::move(prompt);
}

void InterfaceWizard::Initialise() {
    WaitCursor busy;
    selection_.SelectedType = 3;
    selection_.SelectedIndex = 0;
    selection_.BuildLists();
    FillCombo();
}

int InterfaceWizard::SelectedGroup() const {
    for (int group = 0; group < 3; ++group) {
        if (groups_[group]->isChecked())
            return group;
    }
    return InterfaceSelection::kUsbGroup;
}

void InterfaceWizard::FillCombo() {
    WaitCursor busy;
    combo_->clear();
    comboEntries_.clear();
    for (const auto& choice : selection_.ProbeGroup(SelectedGroup())) {
        combo_->addItem(QString::fromLatin1(choice.Text.c_str()));
        comboEntries_.push_back(choice.Device);
    }
    if (combo_->count() > 0)
        combo_->setCurrentIndex(0);
}

void InterfaceWizard::OnContinue() {
    std::optional<DeviceEntry> chosen;
    const int item = combo_->currentIndex();
    if (item >= 0 && item < static_cast<int>(comboEntries_.size())) {
        chosen = comboEntries_[static_cast<std::size_t>(item)];
    }
    bool connected = false;
    {
        WaitCursor busy;
        connected = selection_.Continue(chosen, prompt_);
    }
    if (connected)
        done(QDialog::Accepted);
}

void InterfaceWizard::OnCancel() {
    selection_.Cancel();
    done(QDialog::Rejected);
}

void InterfaceWizard::resizeEvent(QResizeEvent* event) {
    SkinnedDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int left = w / 12;
    combo_->setGeometry(left + 16, static_cast<int>(h * kSelectRow) + 26, w / 2, 30);
    const int buttonTop = static_cast<int>(h * kButtonRow);
    continue_->setGeometry(w / 2 - 170, buttonTop, 150, 40);
    cancel_->setGeometry(w / 2 + 20, buttonTop, 150, 40);
}

void InterfaceWizard::paintEvent(QPaintEvent* event) {
    SkinnedDialog::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double w = width();
    const double h = height();
    const int left = static_cast<int>(w / 12);

    // Headline: "FIRST" large, the rest of the sentence beside and under it.
    QFont first(QStringLiteral("Times New Roman"));
    first.setPixelSize(static_cast<int>(h * 0.08));
    first.setWeight(QFont::Black);
    first.setItalic(true);
    painter.setFont(first);
    painter.setPen(colors::DeepGreen());
    const int firstBase = static_cast<int>(h * 0.02) + painter.fontMetrics().ascent();
    painter.drawText(left, firstBase, QStringLiteral("FIRST"));
    const int textLeft = left + painter.fontMetrics().horizontalAdvance(QStringLiteral("FIRST"));

    // Host and reader joined by a cable, at the top right.
    const QRectF host(w * 0.69, h * 0.025, w * 0.13, h * 0.16);
    const QRectF reader(w * 0.835, h * 0.07, w * 0.15, h * 0.11);
    painter.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(host.center().x(), host.center().y()),
                     QPointF(reader.center().x(), reader.center().y()));
    DrawHostPicture(painter, host);
    DrawReaderPicture(painter, reader);

    // The rest of the sentence shrinks, if it must, to end before the pictures.
    const QString lead = QStringLiteral(", Establish communication");
    int size = static_cast<int>(h * 0.033);
    painter.setFont(PageFont(size, true, true));
    while (size > 10 &&
           textLeft + 2 + painter.fontMetrics().horizontalAdvance(lead) > host.left() - 6) {
        painter.setFont(PageFont(--size, true, true));
    }
    painter.setPen(QColor(30, 30, 30));
    const int line = painter.fontMetrics().ascent() + 2;
    painter.drawText(textLeft + 2, firstBase, lead);
    painter.drawText(textLeft + 18, firstBase + line, QStringLiteral("between the reader"));
    painter.drawText(textLeft + 18, firstBase + 2 * line, QStringLiteral("and the host."));

    // The three instructions, with the connection kinds under the first one.
    painter.setFont(PageFont(17, true));
    painter.setPen(QColor(20, 20, 20));
    painter.drawText(left, static_cast<int>(h * kConnectionRow),
                     QStringLiteral("-How is the reader connected to the host?"));
    painter.drawText(left, static_cast<int>(h * kPlugRow),
                     QStringLiteral("-Plug the reader to the host"));
    painter.drawText(left, static_cast<int>(h * kSelectRow), QStringLiteral("-Select the device"));

    const Connector kinds[3] = {Connector::kPs2, Connector::kRs232, Connector::kUsb};
    const char* captions[3] = {"PS/2 keyboard", "RS232", "USB"};
    const double tileWidth = w * 0.22;
    const double gap = w * 0.05;
    const double tileTop = h * 0.27;
    const double tileHeight = h * 0.31;
    const int offered = SelectedGroup();
    for (int i = 0; i < 3; ++i) {
        const QRectF tile(left + 16 + i * (tileWidth + gap), tileTop, tileWidth, tileHeight);
        const bool active = i == offered;
        painter.setPen(
            QPen(active ? colors::AccentGreen() : QColor(180, 190, 184), active ? 3 : 1));
        painter.setBrush(active ? QColor(255, 255, 255) : QColor(236, 242, 238));
        painter.drawRoundedRect(tile, 10, 10);
        DrawConnector(painter, tile.adjusted(tileWidth * 0.2, 12, -tileWidth * 0.2, -34), kinds[i],
                      active);
        painter.setFont(PageFont(14, active));
        painter.setPen(active ? colors::DeepGreen() : QColor(140, 140, 140));
        painter.drawText(tile.adjusted(0, 0, 0, -8), Qt::AlignHCenter | Qt::AlignBottom,
                         QString::fromLatin1(captions[i]));
    }
}

}  // namespace ravelfin
