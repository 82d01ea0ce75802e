// The recorder: keystrokes forwarded by the low-level keyboard hook become
// the events of one user macro, with the measured pauses as their delays.
#include <algorithm>
#include <mutex>

#include "macro/key_codes.h"
#include "macro/macro_editor.h"

namespace korvel {

namespace {

bool isKeyMessage(std::uint32_t m) {
    return m == kMsgKeyDown || m == kMsgKeyUp || m == kMsgSysKeyDown || m == kMsgSysKeyUp;
}
bool isPress(std::uint32_t m) { return m == kMsgKeyDown || m == kMsgSysKeyDown; }

}  // namespace

MacroEditorState& macroEditorState() {
    static MacroEditorState state;
    return state;
}

bool isFilteredKey(std::uint32_t message, std::uintptr_t param) {
    if (message == kMsgKeyDown && (param == 27 || param == 13)) return true;
    return isKeyMessage(message) && param == 121;
}

MacroEditor::MacroEditor(MacroEditorState& state, MacroTables& tables, MacroEditorControls controls,
                         MacroEditorHost& host, UtcClockPort& clock)
    : state_(state), tables_(tables), controls_(controls), host_(host), clock_(clock) {}

void MacroEditor::startAfterLibraryLoad(int currentMacro) {
    state_.currentMacro = currentMacro;
    const int n = isUserRecord(currentMacro) ? tables_.userMacros[currentMacro].eventCount : 0;
    state_.selectedLine = n > 0 ? 2 * n - 2 : 0;
}

void MacroEditor::StartStopRecording() {
    controls_.eventList.focus();
    if (controls_.macroList.count() == 0) return;
    if (state_.recording) {
        endRecording();
        return;
    }
    state_.recording = 1;
    const int t = std::clamp(std::max(controls_.macroList.selected(), 0), 0, kMaxUserMacros - 1);
    state_.heldKeys.fill(0);
    state_.heldCount = 0;
    if (!state_.keyboardHook) state_.keyboardHook = host_.installKeyboardHook();
    state_.recordTarget = t;
    state_.downCount = 0;
    state_.upCount = 0;
    state_.recordedCount = 0;
    const std::u16string name = controls_.macroList.lineText(t);
    {
        std::lock_guard<std::mutex> lock(macroTablesLock());
        MacroRecord& record = tables_.userMacros[t];
        record = tables_.userMacros[kMaxUserMacros];  // the blank template
        setMacroName(record, name);
        record.playMode = 0;
        record.setRepeatCount(1);
    }
    state_.currentMacro = t;
    controls_.repeatEdit.setText(u"1");
    controls_.repeatEdit.enable(false);
    clearList(controls_.eventList);
}

void MacroEditor::endRecording() {
    if (!state_.recording) return;
    state_.recording = 0;
    {
        std::lock_guard<std::mutex> lock(macroTablesLock());
        tables_.userMacros[std::clamp(state_.recordTarget, 0, kMaxUserMacros - 1)].eventCount =
            static_cast<std::uint8_t>(std::clamp(state_.recordedCount, 0, kMaxRecordedEvents));
    }
    if (state_.keyboardHook) {
        host_.removeKeyboardHook();
        state_.keyboardHook = false;
    }
}

bool MacroEditor::PreTranslateMessage(std::uint32_t message, std::uintptr_t param, bool advancedPageShown) {
    if (state_.recording && isKeyMessage(message)) {
        recordKeyMessage(message, param);
    } else if (!state_.recording && advancedPageShown && message == kMsgRButtonUp) {
        OpenEventMenu();
    }
    return isFilteredKey(message, param);
}

void MacroEditor::recordKeyMessage(std::uint32_t message, std::uintptr_t param) {
    const std::int32_t code = static_cast<std::int32_t>(param);
    // A held key repeats its press message; only the first one counts.
    if (message == state_.lastKeyMessage && code == state_.lastKeyCode) return;
    if (state_.recordedCount >= kMaxRecordedEvents) {
        state_.lastKeyMessage = message;
        state_.lastKeyCode = code;
        return;
    }
    const bool press = isPress(message);
    if (press) {
        if (state_.downCount >= kMaxRecordedPresses) return;
        // With nine keys held a further press is not tracked, so neither it
        // nor its release is recorded.
        if (state_.heldCount >= kMaxHeldKeys) return;
        state_.heldKeys[state_.heldCount++] = static_cast<std::uint8_t>(param & 0xFF);
    } else {
        const int held = std::clamp(state_.heldCount, 0, kMaxHeldKeys);
        int found = -1;
        for (int k = 0; k < held; ++k) {
            if (param <= 0xFF && state_.heldKeys[k] == param) {
                found = k;
                break;
            }
        }
        // Pressed before the recording started, or its press was not recorded.
        if (found < 0) return;
        for (int k = found; k + 1 < held; ++k) state_.heldKeys[k] = state_.heldKeys[k + 1];
        state_.heldKeys[held - 1] = 0;
        state_.heldCount = held - 1;
    }

    const int target = state_.recordTarget;
    const int index = state_.recordedCount;
    const int delay = elapsedSinceLastEvent();
    {
        std::lock_guard<std::mutex> lock(macroTablesLock());
        MacroRecord& record = tables_.userMacros[target];
        record.events[index] = MacroEvent{virtualKeyToUsage(static_cast<std::uint8_t>(param & 0xFF)),
                                          press ? ACTION_DOWN : ACTION_UP};
        if (index > 0) {
            record.setDelay(index - 1, static_cast<std::uint16_t>(delay));
            record.setDelay(index, kNewEventDelayMs);
        }
    }
    appendEventLines(target, index);
    state_.recordedCount = index + 1;
    state_.lastKeyMessage = message;
    state_.lastKeyCode = code;
}

int MacroEditor::elapsedSinceLastEvent() {
    const UtcTimeOfDay t = clock_.now();
    const std::int64_t now =
        ((static_cast<std::int64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
    std::int64_t d = now - state_.lastEventTime;
    state_.lastEventTime = static_cast<std::int32_t>(now);
    if (d < 0) d += kMillisecondsPerDay;  // midnight UTC has passed
    return static_cast<int>(std::clamp<std::int64_t>(d, 0, kMaxDelayMs));
}

void MacroEditor::clearList(ListBoxPort& list) {
    // Last line first; bounded in case the list does not shrink.
    for (int n = list.count(), guard = 0; n > 0 && guard < 4096; n = list.count(), ++guard) list.deleteLine(n - 1);
}

}  // namespace korvel
