#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "connection/messenger.h"

namespace ravelfin {

/// Shows messages in the modal MessageDialog over the program's window and passes notices
/// to the window that hosts them. A reader that cannot be written to is told in a box that
/// offers SELECT READER INTERFACE.
class QtMessenger final : public Messenger {
  public:
    /// The window messages are centred on, and the host of the notices.
    void SetWindow(QWidget* window, std::function<void(const QString&)> showNotice);
    /// What SELECT READER INTERFACE in the box about a lost reader does.
    void SetReaderSelection(std::function<void()> selectReader) {
        selectReader_ = std::move(selectReader);
    }

    void ShowMessage(const std::string& text) override;
    void ShowNotice(const std::string& text) override;
    void OfferReaderSelection(const std::string& text) override;

  private:
    QPointer<QWidget> window_;
    std::function<void(const QString&)> showNotice_;
    std::function<void()> selectReader_;
};

}  // namespace ravelfin
