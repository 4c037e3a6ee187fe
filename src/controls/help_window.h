#pragma once

#include <QDir>
#include <QWidget>
#include <string>

class QListWidget;
class QTextBrowser;

namespace ravelfin {

/// The in-program help viewer: the contents on the left, the page on the right. It opens
/// over the middle of its owner and closes with Escape or Ctrl+W.
class HelpWindow final : public QWidget {
    Q_OBJECT
  public:
    HelpWindow(const QDir& folder, QWidget* owner);

    /// Shows one page of the help folder; false when it does not exist.
    bool ShowPage(const QString& file);
    QString CurrentPage() const;
    /// The title of the page shown.
    QString PageTitle() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QDir folder_;
    QListWidget* contents_;
    QTextBrowser* browser_;
};

/// Opens the help window at the topic of `context` and returns 1; returns 0 and shows
/// nothing when the command is not the context command or the help pages are missing. The
/// window belongs to `owner` (it closes with it) or, for nullptr, to nobody.
int ShowHelp(QWidget* owner, const std::string& helpFile, int command, int context);

/// The help window opened last, or nullptr.
HelpWindow* CurrentHelpWindow();

}  // namespace ravelfin
