#include "race/ElapsedText.h"

namespace {
void putDigits(char16_t* at, std::uint32_t value, int digits) {
    for (int i = digits - 1; i >= 0; --i) {
        at[i] = static_cast<char16_t>(u'0' + value % 10U);
        value /= 10U;
    }
}
} // namespace

QString elapsedText(std::uint32_t now, std::int32_t startTick) {
    const std::uint32_t d = now - static_cast<std::uint32_t>(startTick);
    const std::uint32_t milliseconds = d % 1000U;
    std::uint32_t t = d / 1000U;
    const std::uint32_t seconds = t % 60U;
    t /= 60U;
    const std::uint32_t minutes = t % 60U;
    const std::uint32_t hours = t / 60U % 24U;

    char16_t text[12] = {0, 0, u':', 0, 0, u':', 0, 0, u':', 0, 0, 0};
    putDigits(text, hours, 2);
    putDigits(text + 3, minutes, 2);
    putDigits(text + 6, seconds, 2);
    putDigits(text + 9, milliseconds, 3);
    return QString(reinterpret_cast<const QChar*>(text), 12);
}
