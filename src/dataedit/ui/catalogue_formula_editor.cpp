#include "dataedit/ui/catalogue_formula_editor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dataedit/field_code.h"
#include "dataedit/ui/field_list.h"
#include "dataedit/ui/latin1_text.h"

namespace ravelfin {
namespace {

struct CardTexts {
    std::size_t slot;
    FormulaEditor::Captions captions;
    QString fieldsHeading;
    QString doubleClickHint;
    QString sequenceLabel;
};

CardTexts TextsOf(CardCatalogue card) {
    const QString clear = QStringLiteral("Clear Seq.");
    const QString newAdded = QStringLiteral("New Added Fields");
    switch (card) {
        case CardCatalogue::kCreditCard:
            return {kSlotCreditCard,
                    {QStringLiteral("Credit Card Sent Sequence(Formula)"), clear, newAdded,
                     QStringLiteral("Added Fields List: (as Track 0)")},
                    QStringLiteral("Credit Card Fields for Track1 and Track2 :"),
                    QStringLiteral("Double click at the above list(s) to select one field.\n"
                                   "(each field including TrackNo. and FieldNo. Such as \"1a\")"),
                    QStringLiteral("Send Sequence:")};
        case CardCatalogue::kDmv:
            return {kSlotDmvOrCustom2,
                    {QStringLiteral("DMV Sent Sequence(Formula)"), clear, newAdded,
                     QStringLiteral("Added Fields:\n\n(as track0)")},
                    QStringLiteral("DMV Fields for Track1, Track2 and Track3:"),
                    QStringLiteral("Double click to select a field."),
                    QStringLiteral("Send Sequence:")};
        case CardCatalogue::kAamva:
            break;
    }
    return {kSlotAamva,
            {QStringLiteral("AAMVA Sent Sequence(Formula)"), clear, newAdded,
             QStringLiteral("Added Fields:\n(as track0)")},
            QStringLiteral("AAMVA Fields for Track1, Track2 and Track3:"),
            QStringLiteral("Double click to select a field."),
            QStringLiteral("Sent Sequence:")};
}

}  // namespace

CatalogueFormulaEditor::CatalogueFormulaEditor(CardCatalogue card, DataEditSettings& settings,
                                               std::array<bool, 3> trackSelected,
                                               Messenger& messenger, QWidget* parent)
    : FormulaEditor(settings, TextsOf(card).slot, static_cast<int>(TextsOf(card).slot),
                    TextsOf(card).captions, messenger, parent) {
    const CardTexts texts = TextsOf(card);
    auto* fields = new QGroupBox(texts.fieldsHeading);
    auto* fieldsLayout = new QHBoxLayout(fields);
    for (int track = 1; track <= 3; ++track) {
        const auto labels = CatalogueFields(card, track);
        if (labels.empty())
            continue;
        const QString caption = QStringLiteral("Track%1 Fields").arg(track);
        auto* group = new QGroupBox(caption);
        auto* list = new FieldList(caption);
        QStringList lines;
        for (const char* label : labels)
            lines << Latin1Text(label);
        list->SetLines(lines);
        (new QVBoxLayout(group))->addWidget(list);
        group->setEnabled(trackSelected[static_cast<std::size_t>(track - 1)]);
        fieldsLayout->addWidget(group);
        connect(list, &FieldList::Chosen, this,
                [this, track](int row) { Append(MakeFieldCode(track, row)); });
        trackLists_[static_cast<std::size_t>(track - 1)] = list;
    }
    auto* addedLabel = new QLabel(addedList_->accessibleName());
    auto* added = new QVBoxLayout;
    added->addWidget(addedLabel);
    added->addWidget(addedList_);
    added->addWidget(newAddedButton_);
    fieldsLayout->addLayout(added);

    QVBoxLayout* layout = &Body();
    layout->addWidget(fields, 1);
    layout->addWidget(new QLabel(texts.doubleClickHint));
    AddSequence(texts.sequenceLabel);
    resize(card == CardCatalogue::kCreditCard ? 720 : 900, 460);
}

}  // namespace ravelfin
