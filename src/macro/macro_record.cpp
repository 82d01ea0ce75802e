#include "macro/macro_record.h"

namespace korvel {

std::u16string macroName(const MacroRecord& record) {
    std::u16string text;
    for (int i = 0; i < kMacroNameBytes / 2; ++i) {
        const auto c = static_cast<char16_t>(record.name[2 * i] | (record.name[2 * i + 1] << 8));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

void setMacroName(MacroRecord& record, std::u16string_view text) {
    const auto zero = text.find(u'\0');
    if (zero != std::u16string_view::npos) text = text.substr(0, zero);
    std::size_t length = text.size() < static_cast<std::size_t>(kMacroNameMaxChars)
                             ? text.size()
                             : static_cast<std::size_t>(kMacroNameMaxChars);
    // Do not keep the first half of a character that needs two units.
    if (length < text.size() && length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
    record.name.fill(0);
    for (std::size_t i = 0; i < length; ++i) {
        record.name[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        record.name[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
}

}  // namespace korvel
