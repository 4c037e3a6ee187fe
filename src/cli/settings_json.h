#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <string>

#include "protocol/reader_settings.h"

namespace ravelfin::cli {

/// The record as one JSON object with a member per field, named as the field: one-byte
/// settings as integers, byte strings as arrays of integers.
QJsonObject SettingsToJson(const ReaderSettings& record);

/// A value of that object on one line: 50, [13,10], {"fields":[],...}.
std::string CompactJson(const QJsonValue& value);

}  // namespace ravelfin::cli
