#pragma once

#include <QString>

namespace ravelfin {

/// Says, for the life of the object, that the reader is restarting and for how long it has
/// been: "The reader is restarting: 6 s", in a small line centred over the active window.
/// A restart is a flow's wait followed by the attempts to open the reader again: a scope that
/// begins right after another one ended goes on counting from where that one was.
class RestartProgress {
  public:
    RestartProgress();
    ~RestartProgress();
    RestartProgress(const RestartProgress&) = delete;
    RestartProgress& operator=(const RestartProgress&) = delete;

    /// The line showing now, or an empty text when no restart is under way.
    static QString ShownText();
};

}  // namespace ravelfin
