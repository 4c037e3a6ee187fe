#pragma once

#include <QString>
#include <QStringList>

#include "controls/config_file_chooser.h"

namespace ravelfin::testing {

/// Answers the editors' file questions with the paths a test queued; an empty path (or an
/// empty queue) is a cancel. Counts the questions asked.
class ScriptedFileChooser final : public ConfigFileChooser {
  public:
    QString ChooseFileToSave(QWidget* /*parent*/) override { return Next(Saves); }
    QString ChooseFileToOpen(QWidget* /*parent*/) override { return Next(Opens); }

    QStringList Answers;
    int Saves = 0;
    int Opens = 0;

  private:
    QString Next(int& count) {
        ++count;
        return Answers.isEmpty() ? QString() : Answers.takeFirst();
    }
};

}  // namespace ravelfin::testing
