#pragma once

#include <array>

#include "controls/skinned_dialog.h"
#include "dataedit/data_edit_settings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace ravelfin {

class Messenger;

/// The "Data Editing" tab of the advanced settings editor: switches data editing on and
/// off, chooses the output method, lists the formulas of every card type and opens their
/// editors and the New Field dialog. It edits the record in place, with no undo.
class DataEditingPage final : public SkinnedDialog {
    Q_OBJECT
  public:
    /// `firmwareVersion` is the connected reader's version number: from 3.32 on the second
    /// formula slot is the "Custom2" card rather than DMV.
    DataEditingPage(DataEditSettings& settings, double firmwareVersion, Messenger& messenger,
                    QWidget* parent = nullptr);

    /// Reloads every control from the record: radios from `mode`, card type Credit Card,
    /// tracks 1 and 2 selected, the formula list rebuilt.
    void Refresh();
    /// Edits another record from now on (a re-opened reader brings a new one), and refreshes.
    void SetRecord(DataEditSettings& settings, double firmwareVersion);

    QListWidget* FormulaList() const { return formulaList_; }
    /// The formula slot of the "Data Format" radio that is selected.
    std::size_t CardType() const;
    std::array<bool, 3> TrackSelected() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ShowMode();
    void SetMode(bool enabled, bool unmatched);
    void UpdateDependents();
    void UpdateTrackBoxes();
    void FillFormulaList();
    int SelectedFormulaSlot() const;
    void OpenEditor(std::size_t slot);
    void OpenNewField();

    DataEditSettings* settings_;
    double firmwareVersion_;
    Messenger& messenger_;

    QRadioButton* enable_;
    QRadioButton* disable_;
    QGroupBox* outputGroup_;
    QRadioButton* matched_;
    QRadioButton* unmatched_;
    QGroupBox* formatGroup_;
    std::array<QRadioButton*, kFormulaSlots> cardTypes_{};  // by formula slot
    QGroupBox* trackGroup_;
    std::array<QCheckBox*, 3> tracks_{};
    QLabel* formulaLabel_;
    QListWidget* formulaList_;
    QList<QWidget*> dependents_;
};

}  // namespace ravelfin
