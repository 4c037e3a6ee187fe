#pragma once

#include <array>

#include "dataedit/ui/formula_editor.h"

class QComboBox;
class QLineEdit;

namespace ravelfin {

/// The formula editor of "Custom" or "Custom2": the custom fields and the added fields to
/// pick from, "<= New Custom Field", and working copies of the card's length limits and
/// match strings that "OK" writes back with the formula.
class CustomCardFormulaEditor final : public FormulaEditor {
    Q_OBJECT
  public:
    CustomCardFormulaEditor(bool custom2, DataEditSettings& settings, Messenger& messenger,
                            QWidget* parent);

    FieldList* CustomFieldList() const { return customList_; }
    QPushButton* NewCustomFieldButton() const { return newCustomButton_; }

    /// The "Track No.", first box ("Min" or "Offset"), second box ("Max" or "String:") and
    /// "ClearAll" of the "Length Limit" or the "Match String" group.
    struct RecordGroup {
        QComboBox* track = nullptr;
        QLineEdit* first = nullptr;
        QLineEdit* second = nullptr;
        QPushButton* clearAll = nullptr;
        std::array<Bytes, 3> records;
    };
    const RecordGroup& LengthLimit() const { return length_; }
    const RecordGroup& MatchString() const { return match_; }

  protected:
    void WriteBack() override;

  private:
    QWidget* MakeRecordGroup(RecordGroup& group, const QString& title, const QString& first,
                             const QString& second, bool secondIsNumber);
    void ShowRecord(const RecordGroup& group);
    void StoreRecord(RecordGroup& group);
    void FillCustomFields();
    void OpenCustomizedFields();

    bool custom2_;
    FieldList* customList_;
    QPushButton* newCustomButton_;
    RecordGroup length_;
    RecordGroup match_;
};

}  // namespace ravelfin
