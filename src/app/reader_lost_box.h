#pragma once

#include <QString>

class QWidget;

namespace ravelfin {

/// The caption of the button that offers to choose another reader.
inline constexpr char kSelectReaderButton[] = "SELECT READER INTERFACE";

/// Tells that the reader the user chose cannot be written to, with two buttons: SELECT
/// READER INTERFACE and Close. Modal over `owner`; true when the user chose the former.
bool RunReaderLostBox(QWidget* owner, const QString& text);

}  // namespace ravelfin
