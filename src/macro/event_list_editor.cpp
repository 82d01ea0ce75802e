// The event list: its lines, the right-click menu's commands and the delay
// typed over a delay line.
#include <algorithm>
#include <mutex>

#include "common/number.h"
#include "common/text.h"
#include "macro/key_codes.h"
#include "macro/macro_editor.h"

namespace korvel {

EventCommand eventCommandForId(int id) {
    struct Entry {
        int english;
        int chinese;
        EventCommand command;
    };
    using K = EventCommandKind;
    static constexpr Entry kTable[] = {
        {32802, 32817, {K::InsertBefore, KEY_MOUSE_LEFT, ACTION_DOWN}},
        {32803, 32818, {K::InsertBefore, KEY_MOUSE_LEFT, ACTION_UP}},
        {32804, 32820, {K::InsertBefore, KEY_MOUSE_RIGHT, ACTION_DOWN}},
        {32805, 32821, {K::InsertBefore, KEY_MOUSE_RIGHT, ACTION_UP}},
        {32806, 32823, {K::InsertBefore, KEY_MOUSE_MIDDLE, ACTION_DOWN}},
        {32807, 32824, {K::InsertBefore, KEY_MOUSE_MIDDLE, ACTION_UP}},
        {32809, 32829, {K::InsertAfter, KEY_MOUSE_LEFT, ACTION_DOWN}},
        {32810, 32830, {K::InsertAfter, KEY_MOUSE_LEFT, ACTION_UP}},
        {32811, 32831, {K::InsertAfter, KEY_MOUSE_RIGHT, ACTION_DOWN}},
        {32812, 32832, {K::InsertAfter, KEY_MOUSE_RIGHT, ACTION_UP}},
        {32813, 32833, {K::InsertAfter, KEY_MOUSE_MIDDLE, ACTION_DOWN}},
        {32814, 32834, {K::InsertAfter, KEY_MOUSE_MIDDLE, ACTION_UP}},
        {32780, 32835, {K::ModifyDelay, 0, 0}},
        {32781, 32836, {K::Delete, 0, 0}},
    };
    for (const Entry& e : kTable)
        if (e.english == id || e.chinese == id) return e.command;
    return {};
}

std::uint16_t typedDelay(std::u16string_view text) {
    const auto ms = text.find(u"ms");
    if (ms != std::u16string_view::npos) text = text.substr(0, ms);
    return static_cast<std::uint16_t>(std::clamp<std::int32_t>(leadingInt(text), 0, kMaxDelayMs));
}

void MacroEditor::appendEventLines(int macro, int event) {
    if (!isUserRecord(macro)) return;
    if (event < 0 || event >= kMacroEventSlots) return;
    const MacroRecord& record = tables_.userMacros[macro];
    ListBoxPort& list = controls_.eventList;
    if (event > 0) list.addLine(delayLineText(record.delay(event - 1)));
    const MacroEvent e = record.events[event];
    if (e.action == ACTION_DOWN) ++state_.downCount;
    if (e.action == ACTION_UP) ++state_.upCount;
    list.addLine(eventLineText(e.code, e.action));
    host_.invalidate();
    list.select(state_.recording ? list.count() - 1 : state_.selectedLine);
}

void MacroEditor::refreshEventList(int macro) {
    state_.downCount = 0;
    state_.upCount = 0;
    clearList(controls_.eventList);
    if (!isUserRecord(macro)) return;
    const MacroRecord& record = tables_.userMacros[macro];
    const int n = record.eventCount;
    if (n == 0) return;
    for (int i = 0; i < n; ++i) appendEventLines(macro, i);
    if (record.playMode == 1) {
        controls_.repeatEdit.setText(decimalText(record.repeatCount()));
        controls_.repeatEdit.enable(true);
    } else {
        controls_.repeatEdit.setText(u"1");
        controls_.repeatEdit.enable(false);
    }
}

void MacroEditor::OpenEventMenu() {
    EventListPort& list = controls_.eventList;
    const Rect r = list.clientRectOnScreen();
    const std::int64_t top = list.topIndex();
    const Point p = host_.cursorPosition();
    const std::int64_t h = list.lineHeight();
    // Counted from the list's first line, not from the top visible one.
    std::int64_t line = h != 0 ? (top * h + p.y - r.top) / h : 0;
    line = std::clamp<std::int64_t>(line, INT32_MIN, INT32_MAX);
    state_.selectedLine = static_cast<std::int32_t>(line);
    list.select(state_.selectedLine);
    state_.menuLineCount = list.count();
    if (r.contains(p) && (state_.selectedLine < state_.menuLineCount || state_.menuLineCount == 0))
        host_.showEventMenu(p);
    // In place before the chosen command runs: it arrives after the menu closed.
    state_.menuEvent = list.selected() / 2;
    const int macro = controls_.macroList.selected();
    state_.menuMacro = macro >= kMaxUserMacros ? kMaxUserMacros - 1 : macro;
}

bool MacroEditor::onEventCommand(int id) {
    const EventCommand command = eventCommandForId(id);
    if (command.kind == EventCommandKind::None) return false;
    // Nothing while recording, and nothing when no macro was selected.
    if (state_.recording || !isUserRecord(state_.menuMacro)) return true;
    const int m = state_.menuMacro;
    switch (command.kind) {
        case EventCommandKind::InsertBefore:
            insertEvent(m, state_.menuEvent, command.code, command.action);
            refreshEventList(m);
            break;
        case EventCommandKind::InsertAfter:
            if (controls_.eventList.count() > 0) {
                insertEvent(m, state_.menuEvent + 1, command.code, command.action);
            } else {
                insertEvent(m, 0, command.code, command.action);
                state_.selectedLine = 0;
            }
            refreshEventList(m);
            break;
        case EventCommandKind::ModifyDelay:
            if (state_.menuLineCount == 0) break;
            if (state_.selectedLine > 0 && state_.selectedLine % 2 == 1) controls_.eventList.requestEdit();
            break;
        case EventCommandKind::Delete: {
            {
                std::lock_guard<std::mutex> lock(macroTablesLock());
                MacroRecord& record = tables_.userMacros[m];
                const int n = record.eventCount;
                const int c = n > 0 ? n - 1 : 0;
                record.eventCount = static_cast<std::uint8_t>(c);
                if (state_.menuEvent >= 0 && state_.menuEvent < c) {
                    for (int k = state_.menuEvent; k < n - 1; ++k) {
                        record.events[k] = record.events[k + 1];
                        record.setDelay(k, record.delay(k + 1));
                    }
                }
            }
            state_.selectedLine = state_.selectedLine <= 2 ? 0 : state_.selectedLine - 2;
            refreshEventList(m);
            break;
        }
        case EventCommandKind::None:
            break;
    }
    return true;
}

void MacroEditor::insertEvent(int macro, int position, std::uint8_t code, std::uint8_t action) {
    if (!isUserRecord(macro)) return;
    MacroRecord& record = tables_.userMacros[macro];
    const int n = record.eventCount;
    if (n + 1 > kMaxEditorEvents) {
        host_.showMessage(kOverflowText);
        return;
    }
    // The list may show another macro than the one the command acts on; a
    // position past the end appends rather than leaving a gap of stale events.
    const int p = std::clamp(position, 0, n);
    {
        std::lock_guard<std::mutex> lock(macroTablesLock());
        record.eventCount = static_cast<std::uint8_t>(n + 1);
        for (int k = n - 1; k >= p; --k) {
            record.events[k + 1] = record.events[k];
            record.setDelay(k + 1, record.delay(k));
        }
        record.events[p] = MacroEvent{code, action};
        record.setDelay(p, kNewEventDelayMs);
    }
    state_.selectedLine += 2;
}

void MacroEditor::onEditDone() {
    const int m = state_.menuMacro;
    if (!isUserRecord(m)) return;
    // Only a delay line carries a delay. Another line can end up in the
    // editor (Ctrl+A sends the same character as the edit request); its text
    // is then dropped by the rebuild instead of zeroing a delay.
    const int line = state_.selectedLine;
    if (line > 0 && line % 2 == 1 && state_.menuEvent >= 0 && state_.menuEvent < kMacroEventSlots) {
        const std::uint16_t d = typedDelay(controls_.eventList.lineText(line));
        std::lock_guard<std::mutex> lock(macroTablesLock());
        tables_.userMacros[m].setDelay(state_.menuEvent, d);
    }
    refreshEventList(m);
}

}  // namespace korvel
