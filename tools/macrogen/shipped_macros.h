#pragma once
// The macros that ship with Korvel: the constant library and the factory and
// initial user libraries of both editions. macrogen writes them to res/; the
// unit tests check the committed files against this description.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "macro/macro_record.h"

namespace korvel::shipped {

// Key codes (HID keyboard usages) used below.
inline constexpr std::uint8_t A = 4, C = 6, D = 7, E = 8, G = 10, R = 21, V = 25, X = 27, Z = 29;
inline constexpr std::uint8_t ENTER = 40, TAB = 43, SPACE = 44, F5 = 62;
inline constexpr std::uint8_t LCTRL = 224, LSHIFT = 225, LALT = 226, LWIN = 227;
inline constexpr std::uint8_t LBUTTON = KEY_MOUSE_LEFT, RBUTTON = KEY_MOUSE_RIGHT;

class Builder {
public:
    explicit Builder(std::u16string name) { setMacroName(record_, name); record_.setRepeatCount(1); }
    Builder& down(std::uint8_t code, std::uint16_t delayAfter = 30) { return event(code, ACTION_DOWN, delayAfter); }
    Builder& up(std::uint8_t code, std::uint16_t delayAfter = 30) { return event(code, ACTION_UP, delayAfter); }
    Builder& tap(std::uint8_t code, std::uint16_t held = 30, std::uint16_t after = 30) {
        return down(code, held).up(code, after);
    }
    // Modifiers pressed in order, the key tapped, modifiers released in reverse.
    Builder& chord(std::initializer_list<std::uint8_t> modifiers, std::uint8_t key) {
        for (std::uint8_t m : modifiers) down(m);
        tap(key);
        for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) up(*it);
        return *this;
    }
    Builder& repeat(std::uint16_t times) {
        record_.playMode = 1;
        record_.setRepeatCount(times);
        return *this;
    }
    MacroRecord build() const { return record_; }

private:
    Builder& event(std::uint8_t code, std::uint8_t action, std::uint16_t delayAfter) {
        const int k = record_.eventCount++;
        record_.events[static_cast<std::size_t>(k)] = {code, action};
        record_.setDelay(k, delayAfter);
        return *this;
    }
    MacroRecord record_;
};

// constMacro.dat: played by the constant-macro functions 1-8 of both editions.
inline std::vector<MacroRecord> constantMacros() {
    return {
        Builder(u"Copy").chord({LCTRL}, C).build(),
        Builder(u"Paste").chord({LCTRL}, V).build(),
        Builder(u"Cut").chord({LCTRL}, X).build(),
        Builder(u"Undo").chord({LCTRL}, Z).build(),
        Builder(u"Select All").chord({LCTRL}, A).build(),
        Builder(u"Double Click").tap(LBUTTON, 30, 60).tap(LBUTTON, 30, 30).build(),
        Builder(u"Switch Window").chord({LALT}, TAB).build(),
        Builder(u"Show Desktop").chord({LWIN}, D).build(),
    };
}

// Sample user macros of one edition; the names are in the edition's language.
struct SampleNames {
    std::u16string reload, burst, grenade, jumpCrouch, gg, spamUse, refresh;
};

inline std::vector<MacroRecord> sampleMacros(const SampleNames& n) {
    return {
        Builder(n.reload).tap(R, 40, 30).build(),
        Builder(n.burst).tap(LBUTTON, 40, 80).tap(LBUTTON, 40, 80).tap(LBUTTON, 40, 30).build(),
        Builder(n.grenade).down(G, 400).up(G, 50).tap(LBUTTON, 40, 30).build(),
        Builder(n.jumpCrouch).down(SPACE, 60).down(LCTRL, 400).up(SPACE, 30).up(LCTRL, 30).build(),
        Builder(n.gg).tap(ENTER, 30, 80).tap(G).tap(G).tap(ENTER).build(),
        Builder(n.spamUse).tap(E, 30, 50).repeat(5).build(),
        Builder(n.refresh).tap(F5).build(),
    };
}

inline std::vector<MacroRecord> englishSamples() {
    return sampleMacros({u"Quick Reload", u"Burst Fire", u"Cook Grenade", u"Crouch Jump", u"Say GG",
                         u"Spam Use x5", u"Refresh Page"});
}

inline std::vector<MacroRecord> chineseSamples() {
    return sampleMacros({u"快速换弹", u"三连发", u"延时投雷", u"蹲跳", u"发送GG", u"连按使用键5次", u"刷新网页"});
}

}  // namespace korvel::shipped
