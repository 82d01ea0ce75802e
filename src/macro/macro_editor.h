#pragma once
// The macro editor of the advanced page: the recorder, the event list with
// its right-click commands and in-place delay editing, and the macro list
// with its panel commands. Everything runs on the user-interface thread; the
// records themselves are changed under the macro tables' lock so that
// playback on the dispatcher thread never copies a half-edited record.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "macro/editor_ports.h"
#include "macro/macro_library.h"

namespace korvel {

// Window messages the pre-filter looks at.
inline constexpr std::uint32_t kMsgKeyDown = 0x100;
inline constexpr std::uint32_t kMsgKeyUp = 0x101;
inline constexpr std::uint32_t kMsgSysKeyDown = 0x104;
inline constexpr std::uint32_t kMsgSysKeyUp = 0x105;
inline constexpr std::uint32_t kMsgRButtonUp = 0x205;

// Private messages of the editable event list.
inline constexpr std::uint32_t kMsgLbeChanged = 0x8000 + 0x840;   // WM_APP + 0x840, to the parent
inline constexpr std::uint32_t kMsgLbeEndEdit = 0x8000 + 0x841;   // WM_APP + 0x841, edit -> list
inline constexpr std::uint32_t kMsgLbeEditDone = 0x400 + 10;      // WM_USER + 10, to the parent

// Child-control ids of the advanced page.
inline constexpr int kNameEditId = 10000;
inline constexpr int kMacroListId = 10001;
inline constexpr int kEventListId = 10002;
inline constexpr int kRepeatEditId = 10004;

// Limits.
inline constexpr int kMaxRecordedEvents = 216;
inline constexpr int kMaxRecordedPresses = 108;
inline constexpr int kMaxHeldKeys = 9;
inline constexpr int kMaxEditorEvents = 254;
inline constexpr int kMaxDelayMs = 65535;
inline constexpr int kNewEventDelayMs = 30;
inline constexpr int kMillisecondsPerDay = 86'400'000;
inline constexpr char16_t kOverflowText[] = u"Overflow!!!";

struct MacroEditorState {
    // Recorder.
    std::uint8_t recording = 0;
    bool keyboardHook = false;  // a low-level keyboard hook is installed
    std::int32_t recordTarget = 0;
    std::int32_t recordedCount = 0;
    std::array<std::uint8_t, kMaxHeldKeys> heldKeys{};
    std::int32_t heldCount = 0;
    std::uint32_t lastKeyMessage = 0;
    std::int32_t lastKeyCode = 0;
    std::int32_t lastEventTime = 0;
    // Event-list editor.
    std::int32_t currentMacro = 0;
    std::int32_t selectedLine = 0;
    std::int32_t downCount = 0;
    std::int32_t upCount = 0;
    std::int32_t menuMacro = 0;
    std::int32_t menuEvent = 0;
    std::int32_t menuLineCount = 0;
};

// The process-wide editor state.
MacroEditorState& macroEditorState();

// The event-list menu's commands. Both editions' menus carry the same
// commands under different ids.
enum class EventCommandKind : std::uint8_t { None, InsertBefore, InsertAfter, ModifyDelay, Delete };
struct EventCommand {
    EventCommandKind kind = EventCommandKind::None;
    std::uint8_t code = 0;    // 240-242 for the inserts
    std::uint8_t action = 0;  // ACTION_DOWN or ACTION_UP for the inserts
    bool operator==(const EventCommand&) const = default;
};
EventCommand eventCommandForId(int id);

// Enter, Escape and F10 never act on the main window: true when the message
// is discarded by the key filter.
bool isFilteredKey(std::uint32_t message, std::uintptr_t param);

// The delay a typed delay line stands for: the text before the first "ms",
// its leading integer, clamped to 0-65535 (a typed -5 must not become 251).
std::uint16_t typedDelay(std::u16string_view text);

// The four child controls of the advanced page. Their objects live for the
// whole run; only their windows come and go with the page.
struct MacroEditorControls {
    EditFieldPort& repeatEdit;
    EditFieldPort& nameEdit;
    ListBoxPort& macroList;
    EventListPort& eventList;
};

class MacroEditor {
public:
    MacroEditor(MacroEditorState& state, MacroTables& tables, MacroEditorControls controls, MacroEditorHost& host,
                UtcClockPort& clock);

    MacroEditorState& state() { return state_; }
    const MacroEditorState& state() const { return state_; }

    // After the user library was loaded at start-up: the loader's current
    // macro, and its last event's line as the selected line.
    void startAfterLibraryLoad(int currentMacro);

    // ---- recorder
    // Advanced control 4.
    void StartStopRecording();
    // Ends a running recording as its stop does (the events go to the target
    // record, the hook goes). For replacing the user table while recording:
    // the recording would otherwise go on into a record loaded meanwhile and
    // give it a mix of the file's and the recorded events.
    void endRecording();
    // The main window's message pre-filter. True: discard the message; false:
    // go on with the dialog's standard pre-translation.
    bool PreTranslateMessage(std::uint32_t message, std::uintptr_t param, bool advancedPageShown);
    // Milliseconds since the last measurement, across midnight UTC, at most
    // 65535.
    int elapsedSinceLastEvent();

    // ---- event list
    void appendEventLines(int macro, int event);
    void refreshEventList(int macro);
    // Right-button release on the advanced page while not recording.
    void OpenEventMenu();
    // A command of the event menu; false when the id is none of them.
    bool onEventCommand(int id);
    void insertEvent(int macro, int position, std::uint8_t code, std::uint8_t action);
    // WM_LBE_EDITDONE from the event list.
    void onEditDone();

    // ---- macro list and panel commands
    void fillMacroList();
    void selectMacro();
    int findMacroByName(std::u16string_view name) const;
    void AddMacro();           // advanced control 2
    void DeleteMacro();        // advanced control 3
    void SaveRepeatCount();    // advanced control 5
    void TogglePlayMode();     // advanced control 6

private:
    static bool isUserRecord(int macro) { return macro >= 0 && macro < kMaxUserMacros; }
    void recordKeyMessage(std::uint32_t message, std::uintptr_t param);
    void clearList(ListBoxPort& list);

    MacroEditorState& state_;
    MacroTables& tables_;
    MacroEditorControls controls_;
    MacroEditorHost& host_;
    UtcClockPort& clock_;
};

}  // namespace korvel
