#include "vysledky/TimeText.h"

namespace TimeText {

namespace {
// The number in text[at, at + digits), or -1 unless every one of them is an ASCII digit.
int digitsAt(QStringView text, qsizetype at, int digits) {
    int value = 0;
    for (int i = 0; i < digits; ++i) {
        const char16_t c = text[at + i].unicode();
        if (c < u'0' || c > u'9') {
            return -1;
        }
        value = value * 10 + (c - u'0');
    }
    return value;
}
} // namespace

std::optional<int> millis(QStringView text) {
    if (text.size() != 12 || text[2] != u':' || text[5] != u':' || text[8] != u':') {
        return std::nullopt;
    }
    const int hours = digitsAt(text, 0, 2);
    const int minutes = digitsAt(text, 3, 2);
    const int seconds = digitsAt(text, 6, 2);
    const int milliseconds = digitsAt(text, 9, 3);
    // The timing program wraps hours at 24; a field out of its range is not one of its times.
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 ||
        milliseconds < 0) {
        return std::nullopt;
    }
    return ((hours * 60 + minutes) * 60 + seconds) * 1000 + milliseconds;
}

} // namespace TimeText
