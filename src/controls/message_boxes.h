#pragma once

#include <QString>

class QWidget;

namespace ravelfin {

/// The platform's standard message boxes, as the pages use them. A seam: tests answer and
/// record them instead of showing them.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    /// A box with a warning icon, `title` as its caption and an OK button; returns when the
    /// user has closed it.
    virtual void Warning(QWidget* owner, const QString& title, const QString& text) = 0;
    /// A box with the program's caption and an OK button.
    virtual void Information(QWidget* owner, const QString& text) = 0;
    /// A warning box with Yes and No, No being the default; true for Yes.
    virtual bool AskYesNo(QWidget* owner, const QString& title, const QString& text) = 0;
};

/// The boxes of the windowing system.
class PlatformMessageBoxes final : public MessageBoxes {
  public:
    void Warning(QWidget* owner, const QString& title, const QString& text) override;
    void Information(QWidget* owner, const QString& text) override;
    bool AskYesNo(QWidget* owner, const QString& title, const QString& text) override;
};

}  // namespace ravelfin
