#include "basic/pre_postamble_page.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "basic/rules/page_rules.h"
#include "basic/rules/sentinel_cells.h"
#include "connection/connection.h"
#include "connection/messenger.h"
#include "controls/char_name_list.h"
#include "controls/editable_grid.h"
#include "controls/help_topics.h"
#include "controls/key_sequence_edit.h"

namespace ravelfin {

namespace {

constexpr char kOneCharacterText[] = "You should input one valid character!";
constexpr int kTrackLimit = 6;
constexpr int kAmbleLimit = 15;
const QString kInvalid = QStringLiteral("INVALID");

struct BoxLayout {
    const char* label;
    Bytes ReaderSettings::*field;
    int limit;
};

constexpr std::array<BoxLayout, PrePostamblePage::kBoxCount> kBoxes{{
    {"Track 1 Prefix", &ReaderSettings::Track1Prefix, kTrackLimit},
    {"Track 1 Suffix", &ReaderSettings::Track1Suffix, kTrackLimit},
    {"Track 2 Prefix", &ReaderSettings::Track2Prefix, kTrackLimit},
    {"Track 2 Suffix", &ReaderSettings::Track2Suffix, kTrackLimit},
    {"Track 3 Prefix", &ReaderSettings::Track3Prefix, kTrackLimit},
    {"Track 3 Suffix", &ReaderSettings::Track3Suffix, kTrackLimit},
    {"Preamble", &ReaderSettings::Preamble, kAmbleLimit},
    {"Postamble", &ReaderSettings::Postamble, kAmbleLimit},
}};

const QStringList kColumns{QStringLiteral("Bits\\Track"), QStringLiteral("Track 1"),
                           QStringLiteral("Track 2"), QStringLiteral("Track 3")};

QTableWidgetItem* Cell(const QString& text, const QString& name, bool editable) {
    auto* cell = new QTableWidgetItem(text);
    if (!editable)
        cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
    cell->setData(Qt::AccessibleTextRole, name);
    cell->setData(Qt::AccessibleDescriptionRole, text);
    return cell;
}

}  // namespace

PrePostamblePage::PrePostamblePage(Connection& connection, Messenger& messenger, QWidget* parent)
    : BasicPage(connection, messenger, kHelpPrePostamble, false, parent), grid_(new EditableGrid) {
    auto* sentinels = new QGroupBox(QStringLiteral("Track Start/End Sentinels:"));
    auto* sentinelLayout = new QVBoxLayout(sentinels);
    sentinelLayout->addWidget(grid_);
    grid_->setAccessibleName(QStringLiteral("Track Start/End Sentinels:"));
    grid_->SetColumnKind(0, EditableGrid::CellKind::ReadOnly);
    for (int column = 1; column <= kSentinelTracks; ++column)
        grid_->SetColumnKind(column, EditableGrid::CellKind::Text);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setTabKeyNavigation(false);
    connect(grid_, &EditableGrid::EditEnded, this, &PrePostamblePage::OnSentinelEdited);
    grid_->viewport()->installEventFilter(this);

    auto* strings = new QGridLayout;
    strings->addWidget(new QLabel(QStringLiteral("Output String")), 0, 1);
    strings->addWidget(new QLabel(QStringLiteral("Non-Printable Characters")), 0, 2);
    rows_.reserve(kBoxCount);
    for (int i = 0; i < kBoxCount; ++i) {
        const BoxLayout& boxLayout = kBoxes[static_cast<std::size_t>(i)];
        rows_.emplace_back(messenger, QString::fromLatin1(boxLayout.label),
                           QStringLiteral("Non-Printable Characters"), *strings, i + 1);
        KeySequenceEdit* box = rows_.back().Box;
        box->SetTextLimit(boxLayout.limit);
        connect(box, &KeySequenceEdit::BytesChanged, this, [this, box, field = boxLayout.field] {
            if (ReaderSettings* record = Record())
                box->GetBytes(record->*field);
        });
    }
    strings->setColumnStretch(1, 3);
    strings->setColumnStretch(2, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sentinels);
    layout->addLayout(strings);
    layout->addStretch();
    layout->addLayout(TakeButtonRow());

    Refresh();
    ApplySecurityLock();
}

void PrePostamblePage::Load(const ReaderSettings& shown) {
    const ReaderSettings* record = &shown;
    FillGrid();
    for (int i = 0; i < kBoxCount; ++i) {
        const BoxLayout& boxLayout = kBoxes[static_cast<std::size_t>(i)];
        ByteStringRow& row = rows_[static_cast<std::size_t>(i)];
        row.List->Reset();
        row.Box->SetTextLimit(boxLayout.limit);
        row.Box->SetBytes(record->*boxLayout.field);
    }
}

void PrePostamblePage::FillGrid() {
    const ReaderSettings& record = *ShownRecord();
    grid_->clear();
    grid_->setColumnCount(static_cast<int>(kColumns.size()));
    grid_->setHorizontalHeaderLabels(kColumns);
    grid_->setRowCount(kSentinelRows);
    for (int row = 0; row < kSentinelRows; ++row) {
        const QString caption = QString::fromLatin1(SentinelRowCaption(row));
        grid_->setItem(row, 0, Cell(caption, caption, false));
        for (int track = 0; track < kSentinelTracks; ++track) {
            const QString name = caption + QStringLiteral(", ") + kColumns[track + 1];
            const auto field = SentinelField(row, track, record.FirmwareVersionNumber);
            const QString text = field ? QString(QChar(char16_t(record.*field))) : kInvalid;
            grid_->setItem(row, track + 1, Cell(text, name, field != nullptr));
        }
    }
    // A current cell for the keyboard, without a highlighted row until the user moves.
    grid_->selectionModel()->setCurrentIndex(grid_->model()->index(0, 1),
                                             QItemSelectionModel::NoUpdate);
    SizeColumns();
    grid_->setFixedHeight(grid_->horizontalHeader()->sizeHint().height() +
                          kSentinelRows * grid_->verticalHeader()->defaultSectionSize() +
                          2 * grid_->frameWidth());
}

void PrePostamblePage::SizeColumns() {
    const int width = grid_->viewport()->width();
    grid_->setColumnWidth(0, width / 3 + 3);
    for (int column = 1; column <= kSentinelTracks; ++column)
        grid_->setColumnWidth(column, 2 * width / 9);
}

bool PrePostamblePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_->viewport() && event->type() == QEvent::Resize)
        SizeColumns();
    return BasicPage::eventFilter(watched, event);
}

void PrePostamblePage::OnSentinelEdited(int row, int column, bool hasValue, const QString& text) {
    ReaderSettings* record = Record();
    if (!record)
        return;
    // One character of the reader's 8-bit set; anything else is not one valid character.
    const bool oneByte = hasValue && text.size() == 1 && text.at(0).unicode() <= 0xFF;
    const std::string typed =
        oneByte ? std::string(1, static_cast<char>(text.at(0).unicode())) : std::string(2, '?');
    if (!StoreSentinel(*record, row, column - 1, typed)) {
        Messages().ShowMessage(kOneCharacterText);
        return;
    }
    QTableWidgetItem* cell = grid_->item(row, column);
    cell->setText(text);
    cell->setData(Qt::AccessibleDescriptionRole, text);
}

void PrePostamblePage::ApplySecurityLock() {
    const ReaderSettings* record = ShownRecord();
    const bool locked = record && LocksTrackFraming(record->SecurityLevel);
    grid_->setEnabled(!locked);
    for (int i = kTrack1Prefix; i <= kTrack3Suffix; ++i) {
        rows_[static_cast<std::size_t>(i)].Box->setEnabled(!locked);
        rows_[static_cast<std::size_t>(i)].List->setEnabled(!locked);
    }
}

void PrePostamblePage::RestorePageDefaults(ReaderSettings& record) {
    record.ResetSentinelDefaults();
    DefaultPageButton()->setFocus(Qt::OtherFocusReason);
}

}  // namespace ravelfin
