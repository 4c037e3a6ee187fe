#pragma once

#include <QStringList>
#include <array>

#include "controls/skinned_dialog.h"
#include "dataedit/custom_card_records.h"
#include "dataedit/custom_fields.h"
#include "dataedit/data_edit_settings.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace ravelfin {

class FieldList;
class Messenger;

/// The lines of a custom field list: each definition's text form.
QStringList CustomFieldLines(const std::vector<Bytes>& fields);

/// The "Customized Fields" dialog: defines the custom fields of "Custom" or "Custom2" on a
/// working copy that "OK" writes back.
class CustomizedFieldsDialog final : public SkinnedDialog {
    Q_OBJECT
  public:
    /// `workingSequence` is the sequence of the customized-card editor that opens the dialog.
    CustomizedFieldsDialog(DataEditSettings& settings, const Bytes& workingSequence, bool custom2,
                           Messenger& messenger, QWidget* parent);

    /// The kind whose boxes are enabled.
    CustomFieldKind Kind() const;
    QRadioButton* KindButton(CustomFieldKind kind) const;
    QComboBox* TrackChoice() const { return track_; }
    QComboBox* NewFieldNumber() const { return number_; }
    FieldList* FieldsList() const { return list_; }
    /// The number and text boxes of `kind`, in the order the dialog shows them.
    const QList<QLineEdit*>& Boxes(CustomFieldKind kind) const;
    const std::vector<Bytes>& WorkingFields() const { return card_.fields; }

    void accept() override;

  private:
    struct KindBoxes {
        CustomFieldKind kind = CustomFieldKind::kBefore;
        QRadioButton* radio = nullptr;
        QList<QLineEdit*> boxes;
        // Where each box's text goes; parallel to `boxes`.
        QList<std::string CustomFieldInput::*> targets;
    };

    QWidget* MakeKindGroup(std::size_t index, CustomFieldKind kind);
    void ChooseKind(CustomFieldKind kind);
    void Add();
    void Delete();
    void ShowFields();

    DataEditSettings& settings_;
    Bytes workingSequence_;  // kept by value: a caller's temporary is gone while the dialog runs
    bool custom2_;
    Messenger& messenger_;
    CustomCardDefinition card_;
    QComboBox* track_;
    QComboBox* number_;
    std::array<KindBoxes, 4> kinds_;
    FieldList* list_;
};

}  // namespace ravelfin
