#pragma once
// In-memory child controls, host and clock for the macro editor tests, with
// a fixture that wires an editor to its own macro table.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "macro/editable_list.h"
#include "macro/key_codes.h"
#include "macro/macro_editor.h"

namespace korvel::test {

// A list box. While `shown` is false its window does not exist: it has no
// lines and no selection, and writes are lost.
class FakeList : public EventListPort {
public:
    std::vector<std::u16string> lines;
    int sel = -1;
    bool shown = true;
    int top = 0;
    int height = 16;
    Rect screen{100, 200, 300, 400};
    int focusCount = 0;
    int editRequests = 0;
    std::function<void()> onRequestEdit;

    int count() const override { return shown ? static_cast<int>(lines.size()) : 0; }
    void addLine(std::u16string_view t) override {
        if (shown) lines.emplace_back(t);
    }
    void insertLine(int i, std::u16string_view t) override {
        if (!shown || i < 0 || i > count()) return;
        lines.insert(lines.begin() + i, std::u16string(t));
        if (sel >= i) ++sel;
    }
    void deleteLine(int i) override {
        if (!shown || i < 0 || i >= count()) return;
        lines.erase(lines.begin() + i);
        if (sel == i) sel = -1;
        else if (sel > i) --sel;
    }
    std::u16string lineText(int i) const override {
        return shown && i >= 0 && i < count() ? lines[static_cast<std::size_t>(i)] : std::u16string();
    }
    int selected() const override { return shown ? sel : -1; }
    void select(int i) override {
        if (shown) sel = (i >= 0 && i < count()) ? i : -1;
    }
    int topIndex() const override { return top; }
    int lineHeight() const override { return height; }
    Rect itemRect(int i) const override { return {0, (i - top) * height, 200, (i - top + 1) * height}; }
    Rect clientRectOnScreen() const override { return screen; }
    void focus() override { ++focusCount; }
    void requestEdit() override {
        ++editRequests;
        if (onRequestEdit) onRequestEdit();
    }
    // Screen point over line `line` of the list (counted from its first line).
    Point pointOnLine(int line) const { return {screen.left + 10, screen.top + (line - top) * height + 3}; }
};

class FakeField : public EditFieldPort {
public:
    std::u16string value;
    bool enabled = true;
    int focusCount = 0;
    std::u16string text() const override { return value; }
    void setText(std::u16string_view t) override { value = t; }
    void enable(bool e) override { enabled = e; }
    void focus() override { ++focusCount; }
};

class FakeHost : public MacroEditorHost {
public:
    int invalidations = 0;
    Point cursor;
    std::vector<Point> menus;
    std::vector<std::u16string> messages;
    bool hookWorks = true;
    bool hookInstalled = false;
    int hookInstalls = 0;
    int hookRemovals = 0;

    void invalidate() override { ++invalidations; }
    Point cursorPosition() override { return cursor; }
    void showEventMenu(Point at) override { menus.push_back(at); }
    void showMessage(std::u16string_view t) override { messages.emplace_back(t); }
    bool installKeyboardHook() override {
        ++hookInstalls;
        hookInstalled = hookWorks;
        return hookWorks;
    }
    void removeKeyboardHook() override {
        ++hookRemovals;
        hookInstalled = false;
    }
};

class FakeClock : public UtcClockPort {
public:
    std::int64_t ms = 10LL * 3600 * 1000;  // 10:00:00.000
    UtcTimeOfDay now() override {
        const std::int64_t t = ((ms % 86'400'000) + 86'400'000) % 86'400'000;
        return {static_cast<int>(t / 3'600'000), static_cast<int>(t / 60'000 % 60), static_cast<int>(t / 1000 % 60),
                static_cast<int>(t % 1000)};
    }
    void advance(std::int64_t d) { ms += d; }
};

// The in-place editor window.
class FakeInPlaceEdit : public InPlaceEditPort {
public:
    bool open = false;
    Rect rect;
    std::u16string value;
    bool allSelected = false;
    int creates = 0;
    bool exists() const override { return open; }
    void create(Rect r) override {
        open = true;
        rect = r;
        ++creates;
        allSelected = false;
    }
    void setText(std::u16string_view t) override { value = t; }
    std::u16string text() const override { return value; }
    void selectAll() override { allSelected = true; }
    void focus() override {}
    void destroy() override { open = false; }
};

inline MacroRecord makeMacro(std::u16string_view name, std::vector<MacroEvent> events, std::vector<int> delays,
                             int playMode = 0, int repeat = 1) {
    MacroRecord r;
    setMacroName(r, name);
    r.playMode = static_cast<std::uint8_t>(playMode);
    r.setRepeatCount(static_cast<std::uint16_t>(repeat));
    r.eventCount = static_cast<std::uint8_t>(events.size());
    for (std::size_t i = 0; i < events.size(); ++i) r.events[i] = events[i];
    for (std::size_t i = 0; i < delays.size(); ++i) r.setDelay(static_cast<int>(i), static_cast<std::uint16_t>(delays[i]));
    return r;
}

class EditorFixture : public ::testing::Test, public EditableListParentPort {
protected:
    EditorFixture()
        : editor(state, tables, MacroEditorControls{repeatEdit, nameEdit, macroList, eventList}, host, clock),
          listLogic(eventList, inPlace, *this) {
        eventList.onRequestEdit = [this] { listLogic.onChar(kEditRequestChar); };
    }

    // EditableListParentPort: the main window's handlers.
    void lineChanged(int index, std::u16string_view oldText) override {
        changes.emplace_back(index, std::u16string(oldText));
    }
    void editDone() override {
        ++editDones;
        if (forwardEditDone) editor.onEditDone();
    }

    // Puts macros in the table and shows the list as entering the page does.
    void useMacros(std::vector<MacroRecord> records, int current = 0) {
        tables.userMacroCount = static_cast<std::int16_t>(records.size());
        for (std::size_t i = 0; i < records.size(); ++i) tables.userMacros[i] = records[i];
        state.currentMacro = current;
        editor.fillMacroList();
    }

    // A right-click on a line of the event list.
    void rightClickLine(int line) {
        host.cursor = eventList.pointOnLine(line);
        editor.OpenEventMenu();
    }

    // Typing into the open in-place editor and ending with a key release.
    void typeAndRelease(std::u16string_view text, std::uintptr_t key) {
        ASSERT_TRUE(inPlace.open);
        inPlace.value = text;
        if (auto keep = editHelperKeyUp(key)) listLogic.onEndEditMessage(*keep);
    }

    MacroTables tables;
    MacroEditorState state;
    FakeField repeatEdit, nameEdit;
    FakeList macroList, eventList;
    FakeHost host;
    FakeClock clock;
    MacroEditor editor;
    FakeInPlaceEdit inPlace;
    EditableListLogic listLogic;
    std::vector<std::pair<int, std::u16string>> changes;
    int editDones = 0;
    bool forwardEditDone = true;
};

inline MacroEvent down(int code) { return {static_cast<std::uint8_t>(code), ACTION_DOWN}; }
inline MacroEvent up(int code) { return {static_cast<std::uint8_t>(code), ACTION_UP}; }

}  // namespace korvel::test
