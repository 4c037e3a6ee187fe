#pragma once

#include <QJsonObject>

#include "protocol/reader_settings.h"

namespace ravelfin::cli {

/// The record as one JSON object with a member per field, named as the field: one-byte
/// settings as integers, byte strings as arrays of integers.
QJsonObject SettingsToJson(const ReaderSettings& record);

}  // namespace ravelfin::cli
