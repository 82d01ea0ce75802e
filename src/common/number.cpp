#include "common/number.h"

#include <limits>

#include "common/text.h"

namespace korvel {

std::int32_t leadingInt(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > limit) value = limit;  // saturate; keep scanning the digits
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(value >= limit ? limit - 1 : value);
}

}  // namespace korvel
