#include "app/interface_wizard.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <algorithm>

#include "app/artwork.h"
#include "app/model_number_dialog.h"
#include "app/wait_cursor.h"
#include "controls/colors.h"
#include "controls/text_fit.h"

namespace ravelfin {

namespace {
// Heights of the page's rows, as parts of the page height.
constexpr double kConnectionRow = 0.22;
constexpr double kPlugRow = 0.65;
constexpr double kSelectRow = 0.72;
constexpr double kButtonRow = 0.85;

constexpr char kHeadline[] = "FIRST, Establish communication between the reader and the host.";
constexpr char kConnectionQuestion[] = "-How is the reader connected to the host?";
constexpr char kPlugInstruction[] = "-Plug the reader to the host";
constexpr char kSelectDevice[] = "-Select the &device";

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
      deviceLabel_(new QLabel(QString::fromLatin1(kSelectDevice), this)),
      combo_(new QComboBox(this)),
      status_(new QLabel(this)),
      continue_(new QPushButton(QStringLiteral("C&ONTINUE"), this)),
      cancel_(new QPushButton(QStringLiteral("CA&NCEL"), this)) {
    // The connection groups other than USB are not offered: their buttons stay hidden.
    const char* names[3] = {"PS/2 Keyboard", "RS232", "USB"};
    for (int group = 0; group < 3; ++group) {
        groups_[group] = new QRadioButton(QString::fromLatin1(names[group]), this);
        groups_[group]->hide();
        connect(groups_[group], &QRadioButton::clicked, this, &InterfaceWizard::FillCombo);
    }
    groups_[InterfaceSelection::kUsbGroup]->setChecked(true);

    // What is painted is told to screen readers: the headline names the page, the two
    // painted instructions describe it.
    setAccessibleName(QString::fromLatin1(kHeadline));
    setAccessibleDescription(
        QStringLiteral("%1 USB\n%2")
            .arg(QString::fromLatin1(kConnectionQuestion), QString::fromLatin1(kPlugInstruction)));

    deviceLabel_->setFont(PageFont(17, true));
    deviceLabel_->setBuddy(combo_);
    combo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo_->setFont(PageFont(14, false));
    status_->setFont(PageFont(13, true));
    status_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    status_->setStyleSheet(QStringLiteral("color: #1c6042;"));
    for (QPushButton* button : {continue_, cancel_}) {
        button->setFont(PageFont(13, true));
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    }
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

void InterfaceWizard::Initialise(const Preferences& remembered, const QString& reason) {
    WaitCursor busy;
    remembered_ = remembered;
    reason_ = reason;
    selection_.SelectedType = 3;
    selection_.SelectedIndex = 0;
    selection_.BuildLists();
    FillCombo();
    if (devicesChanged_)
        DevicesChanged();
}

int InterfaceWizard::SelectedGroup() const {
    for (int group = 0; group < 3; ++group) {
        if (groups_[group]->isChecked())
            return group;
    }
    return InterfaceSelection::kUsbGroup;
}

void InterfaceWizard::ShowStatus(const QString& text) {
    status_->setText(text);
    FitStatus();
}

void InterfaceWizard::FitStatus() {
    status_->setFont(FitFontToWidth(PageFont(13, true), status_->width(), status_->text()));
}

void InterfaceWizard::DevicesChanged() {
    // A search re-entered from inside a probe's wait would list devices under its feet.
    if (busy_) {
        devicesChanged_ = true;
        return;
    }
    const int item = combo_->currentIndex();
    const std::optional<DeviceEntry> chosen =
        item >= 0 && item < static_cast<int>(comboEntries_.size())
            ? std::optional(comboEntries_[static_cast<std::size_t>(item)])
            : std::nullopt;
    do {
        devicesChanged_ = false;
        selection_.BuildLists();
        FillCombo();
    } while (devicesChanged_);
    if (!chosen)
        return;
    for (std::size_t i = 0; i < comboEntries_.size(); ++i) {
        if (comboEntries_[i].Type == chosen->Type &&
            (chosen->Identity.IsKnown() ? comboEntries_[i].Identity.SameReader(chosen->Identity)
                                        : comboEntries_[i].Name == chosen->Name)) {
            combo_->setCurrentIndex(static_cast<int>(i));
            return;
        }
    }
    // Another reader in its line would be taken by a CONTINUE meant for the one that left.
    combo_->setCurrentIndex(-1);
    ShowStatus(QStringLiteral("The reader you chose left; choose a reader."));
}

void InterfaceWizard::FillCombo() {
    WaitCursor busy;
    const QScopedValueRollback searching(busy_, true);
    combo_->clear();
    comboEntries_.clear();
    for (QWidget* control : {static_cast<QWidget*>(combo_), static_cast<QWidget*>(continue_)})
        control->setEnabled(false);
    ShowStatus(QStringLiteral("Searching for readers..."));
    status_->repaint();  // a probe may block before the window paints again

    int preferred = 0;
    for (const auto& choice : selection_.ProbeGroup(SelectedGroup())) {
        if (choice.Device.Type == remembered_.InterfaceType &&
            choice.Device.Index == remembered_.DeviceIndex) {
            preferred = combo_->count();
        }
        combo_->addItem(DeviceLine(choice));
        comboEntries_.push_back(choice.Device);
    }
    if (combo_->count() > 0)
        combo_->setCurrentIndex(preferred);

    for (QWidget* control : {static_cast<QWidget*>(combo_), static_cast<QWidget*>(continue_)})
        control->setEnabled(true);
    LayOut();
    ShowStatus(!reason_.isEmpty()     ? reason_
               : combo_->count() == 0 ? QStringLiteral("No reader was found.")
                                      : QString());
    if (isVisible())
        (combo_->count() > 0 ? static_cast<QWidget*>(combo_) : cancel_)->setFocus();
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
        const QScopedValueRollback connecting(busy_, true);
        connected = selection_.Continue(chosen, prompt_);
    }
    if (connected)
        done(QDialog::Accepted);
    else if (devicesChanged_)
        DevicesChanged();
}

void InterfaceWizard::OnCancel() {
    selection_.Cancel();
    done(QDialog::Rejected);
}

void InterfaceWizard::resizeEvent(QResizeEvent* event) {
    SkinnedDialog::resizeEvent(event);
    LayOut();
}

void InterfaceWizard::LayOut() {
    const int w = width();
    const int h = height();
    const int left = w / 12;
    const int right = w - 8;
    deviceLabel_->setFont(FitFontToWidth(PageFont(17, true), right - left,
                                         deviceLabel_->text().remove(QLatin1Char('&'))));
    const int labelTop = static_cast<int>(h * kSelectRow) - deviceLabel_->fontMetrics().ascent();
    deviceLabel_->setGeometry(left, labelTop, right - left, deviceLabel_->fontMetrics().height());

    // The device list is as wide as its longest line, within the page.
    int lineWidth = 0;
    for (int item = 0; item < combo_->count(); ++item)
        lineWidth =
            std::max(lineWidth, combo_->fontMetrics().horizontalAdvance(combo_->itemText(item)));
    const int comboLeft = left + 16;
    const int comboWidth = std::min(right - comboLeft, std::max(w / 2, lineWidth + 48));
    const int comboTop = deviceLabel_->geometry().bottom() + 6;
    const int comboHeight = std::max(30, combo_->sizeHint().height());
    combo_->setGeometry(comboLeft, comboTop, comboWidth, comboHeight);

    status_->setGeometry(comboLeft, combo_->geometry().bottom() + 4, right - comboLeft,
                         status_->fontMetrics().height() + 2);
    FitStatus();

    const int buttonTop =
        std::max(static_cast<int>(h * kButtonRow), status_->geometry().bottom() + 6);
    const int buttonWidth = std::min(150, w / 2 - 30);
    const int buttonHeight = std::clamp(h - 4 - buttonTop, 24, 40);  // lower on a short page
    continue_->setGeometry(w / 2 - 20 - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    cancel_->setGeometry(w / 2 + 20, buttonTop, buttonWidth, buttonHeight);
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

    // Two of the three instructions (the third labels the device list), with the
    // connection kinds under the first one.
    const QString question = QString::fromLatin1(kConnectionQuestion);
    painter.setFont(FitFontToWidth(PageFont(17, true), static_cast<int>(w) - left - 8, question));
    painter.setPen(QColor(20, 20, 20));
    painter.drawText(left, static_cast<int>(h * kConnectionRow), question);
    painter.drawText(left, static_cast<int>(h * kPlugRow), QString::fromLatin1(kPlugInstruction));

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
        const QString caption = QString::fromLatin1(captions[i]);
        painter.setFont(
            FitFontToWidth(PageFont(14, active), static_cast<int>(tileWidth) - 8, caption));
        painter.setPen(active ? colors::DeepGreen() : QColor(140, 140, 140));
        painter.drawText(tile.adjusted(0, 0, 0, -8), Qt::AlignHCenter | Qt::AlignBottom, caption);
    }
}

QString DeviceLine(const InterfaceSelection::Choice& choice) {
    const QString version =
        choice.Text.empty()
            ? QStringLiteral("(no answer)")
            : QString::fromLatin1(choice.Text.data(), static_cast<qsizetype>(choice.Text.size()));
    QString line = QStringLiteral("%1 \u2014 %2 \u2014 %3")
                       .arg(version, QString::fromLatin1(InterfaceKindName(choice.Device.Type)),
                            QString::fromLocal8Bit(choice.Device.Name.c_str()));
    // Two readers of one kind and firmware are told apart by their serial numbers.
    if (!choice.Device.Identity.SerialNumber.empty())
        line += QStringLiteral(" \u2014 %1")
                    .arg(QString::fromStdString(choice.Device.Identity.SerialNumber));
    return line;
}

}  // namespace ravelfin
