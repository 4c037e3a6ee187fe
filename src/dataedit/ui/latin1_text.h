#pragma once

#include <QString>
#include <string>

#include "protocol/bytes.h"

namespace ravelfin {

// Boxes take their text as bytes and records show their bytes as characters, one byte per
// character, so a text survives the round trip through a record unchanged.

inline QString Latin1Text(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string Latin1Bytes(const QString& text) {
    return text.toLatin1().toStdString();
}

}  // namespace ravelfin
