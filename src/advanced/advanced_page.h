#pragma once

#include "controls/skinned_dialog.h"

namespace ravelfin {

/// The base of the advanced editor's pages: a page of the skinned look on which Enter and
/// Escape neither close the page nor press a button; they go on to the editor, which
/// ignores them too.
class AdvancedPage : public SkinnedDialog {
    Q_OBJECT
  public:
    explicit AdvancedPage(QWidget* parent) : SkinnedDialog(parent, PageTag{}) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

/// True for the keys that would end a dialog: Enter, Return and Escape.
bool IsDialogEndingKey(const QKeyEvent& event);

}  // namespace ravelfin
