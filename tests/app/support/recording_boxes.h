#pragma once

#include <QString>
#include <deque>
#include <string>
#include <vector>

#include "controls/message_boxes.h"

namespace ravelfin::testing {

/// Keeps every standard message box instead of showing it, as "caption|text" (the
/// information box has no caption of its own: "|text"), and answers questions from a queue
/// (No when it is empty).
class RecordingBoxes final : public MessageBoxes {
  public:
    void Warning(QWidget* /*owner*/, const QString& title, const QString& text) override {
        Shown.push_back((title + u'|' + text).toStdString());
    }
    void Information(QWidget* /*owner*/, const QString& text) override {
        Shown.push_back((u'|' + text).toStdString());
    }
    bool AskYesNo(QWidget* /*owner*/, const QString& title, const QString& text) override {
        Shown.push_back((title + u'|' + text).toStdString());
        if (Answers.empty())
            return false;
        const bool yes = Answers.front();
        Answers.pop_front();
        return yes;
    }
    std::vector<std::string> Shown;
    std::deque<bool> Answers;
};

}  // namespace ravelfin::testing
