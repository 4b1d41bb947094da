#pragma once

#include <QStringView>

#include <optional>

// A time text as the log writes it: HH:MM:SS:mmm, twelve characters. Anything else is kept
// as written but never taken for a time.
namespace TimeText {

// Milliseconds of a well-formed time text, or nothing.
std::optional<int> millis(QStringView text);

} // namespace TimeText
