#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kt730 {

// Bytes of the serial line as window text: one character per byte.
inline QString bytesToQString(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A control's text as the UTF-8 that the integer rule and the messages take.
inline std::string toUtf8(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace kt730
