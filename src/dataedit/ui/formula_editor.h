#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "controls/skinned_dialog.h"
#include "dataedit/data_edit_settings.h"

class QPlainTextEdit;
class QVBoxLayout;
class QPushButton;

namespace ravelfin {

class FieldList;
class Messenger;

/// The parts every formula editor shares: a working copy of one slot's formula shown in the
/// "Send Sequence" box, the added-field list, "Clear Seq.", "New Added Fields", "OK" (which
/// writes the working copy back) and "Cancel" (which drops it).
class FormulaEditor : public SkinnedDialog {
    Q_OBJECT
  public:
    struct Captions {
        QString title;
        QString clearSequence;   // "Clear Seq." or "Clear Sequence"
        QString newAddedFields;  // "New Added Fields" or "New Added Fields=>>"
        QString addedFields;     // the label over the added-field list
    };

    /// `textTable` is the slot whose digit spellings the sequence text uses.
    FormulaEditor(DataEditSettings& settings, std::size_t slot, int textTable,
                  const Captions& captions, Messenger& messenger, QWidget* parent);

    const Bytes& WorkingSequence() const { return working_; }
    QString SequenceText() const;
    FieldList* AddedFieldList() const { return addedList_; }

    void accept() override;

  protected:
    /// Appends `code` to the working sequence, or shows why it cannot.
    void Append(std::uint8_t code);
    /// Shows the working sequence again, after the codes' meanings changed.
    void ShowSequence();
    /// The layout of the editor's controls, which scroll above the OK and Cancel buttons.
    QVBoxLayout& Body() { return *body_; }
    /// Ends the body with the labelled "Send Sequence" box beside its clear button.
    void AddSequence(const QString& sequenceLabel);
    /// Writes the editor's own working copies beyond the formula.
    virtual void WriteBack() {}

    DataEditSettings& settings_;
    Messenger& messenger_;
    QPlainTextEdit* sequenceBox_;
    FieldList* addedList_;
    QPushButton* clearButton_;
    QPushButton* newAddedButton_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QVBoxLayout* body_;

  private:
    void FillAddedFields();
    void OpenNewField();

    std::size_t slot_;
    int textTable_;
    Bytes working_;
};

}  // namespace ravelfin
