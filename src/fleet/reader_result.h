#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fleet/failure_kind.h"
#include "protocol/reader_settings.h"

namespace ravelfin {

/// How one reader's part of a command ended.
enum class ResultState {
    Ok,
    Failed,
    Stopped,  // a stop came before anything was written to it
};

/// "ok", "failed", "stopped".
const char* ResultStateText(ResultState state);

struct ReaderResult {
    ResultState State = ResultState::Failed;
    /// The reader took settings from the command that it did not hold before (`apply`,
    /// `defaults`), or took any set frame at all (`clone`, `send`).
    bool Changed = false;
    /// Why it failed; `None` unless `State` is `Failed`.
    FailureKind Error = FailureKind::None;
    /// What the command would say for this reader alone.
    std::string Message;
    /// The reader's firmware text, when it was read.
    std::string Firmware;
    /// Printed below the result line: a settings report, a raw command's exchange.
    std::string Text;
    /// The settings read from the reader (`report`, `diff`, the source of `clone`), with its
    /// firmware version number and model class.
    std::optional<ReaderSettings> Settings;
    /// `diff`: the file as this reader stores it, and the settings that differ (the names of
    /// `SettingName`) among those the reader holds.
    std::optional<ReaderSettings> Wanted;
    std::vector<std::string> Differences;

    bool Ok() const { return State == ResultState::Ok; }
};

}  // namespace ravelfin
