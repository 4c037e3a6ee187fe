#pragma once

#include <QStringList>
#include <vector>

#include "controls/skinned_dialog.h"
#include "dataedit/data_edit_settings.h"

class QPushButton;

namespace ravelfin {

class CharNameList;
class FieldList;
class KeySequenceEdit;
class Messenger;

/// The lines of an added-field list: "(0a)" and so on, then the field's bytes with the
/// names of their non-printable characters.
QStringList AddedFieldLines(const std::vector<Bytes>& fields);

/// The "New Field" dialog: defines the added fields on a working copy that "OK" writes back.
class NewFieldDialog final : public SkinnedDialog {
    Q_OBJECT
  public:
    /// `workingSequence` is the open formula editor's sequence, or nullptr when the dialog
    /// is opened from the Data Editing page; a field it uses cannot be deleted.
    NewFieldDialog(DataEditSettings& settings, const Bytes* workingSequence, Messenger& messenger,
                   QWidget* parent);

    KeySequenceEdit* FieldBox() const { return fieldBox_; }
    CharNameList* CharacterList() const { return characters_; }
    FieldList* FieldsList() const { return list_; }
    const std::vector<Bytes>& WorkingFields() const { return fields_; }

    void accept() override;

  private:
    void Add();
    void Delete();

    DataEditSettings& settings_;
    const Bytes* workingSequence_;
    Messenger& messenger_;
    std::vector<Bytes> fields_;
    KeySequenceEdit* fieldBox_;
    CharNameList* characters_;
    FieldList* list_;
};

}  // namespace ravelfin
