// The macro list and the panel commands: add, delete, repeat count and play
// mode. Only the repeat-count save writes the library file.
#include <algorithm>
#include <mutex>

#include "common/number.h"
#include "common/text.h"
#include "macro/macro_editor.h"

namespace korvel {

void MacroEditor::fillMacroList() {
    ListBoxPort& list = controls_.macroList;
    clearList(list);
    const int count = std::clamp<int>(tables_.userMacroCount, 0, kMaxUserMacros);
    for (int i = 0; i < count; ++i) list.addLine(macroName(tables_.userMacros[i]));
    if (count == 0) return;
    const int s = std::max(0, std::min(std::max(list.count() - 1, 0), state_.currentMacro));
    state_.currentMacro = s;
    list.select(s);
    selectMacro();
}

void MacroEditor::selectMacro() {
    const int line = controls_.macroList.selected();
    state_.currentMacro = line;
    controls_.nameEdit.setText(controls_.macroList.lineText(line));
    refreshEventList(line);
}

int MacroEditor::findMacroByName(std::u16string_view name) const {
    const int count = std::clamp<int>(tables_.userMacroCount, 0, kMaxUserMacros);
    for (int i = 0; i < count; ++i)
        if (macroName(tables_.userMacros[i]) == name) return i;
    return count;
}

void MacroEditor::AddMacro() {
    // The name as the record keeps it: cut at 19 characters, so that adding
    // a long name twice finds the first one.
    MacroRecord probe;
    setMacroName(probe, controls_.nameEdit.text());
    const std::u16string name = macroName(probe);
    controls_.macroList.focus();
    const int count = tables_.userMacroCount;
    if (count >= kMaxUserMacros || name.empty()) return;
    const int k = count > 0 ? findMacroByName(name) : 0;
    state_.currentMacro = k;
    if (k == count) {
        {
            std::lock_guard<std::mutex> lock(macroTablesLock());
            setMacroName(tables_.userMacros[k], name);
            tables_.userMacroCount = static_cast<std::int16_t>(count + 1);
        }
        clearList(controls_.eventList);
        controls_.macroList.addLine(name);
    }
    controls_.macroList.select(state_.currentMacro);
}

void MacroEditor::DeleteMacro() {
    ListBoxPort& list = controls_.macroList;
    if (state_.recording || list.count() == 0) return;
    const int v = list.selected();
    const int g = tables_.userMacroCount;
    // No selection (or a line the table does not have): nothing to delete.
    if (v < 0 || v >= g || g > kMaxUserMacros) return;
    {
        std::lock_guard<std::mutex> lock(macroTablesLock());
        for (int k = v; k + 1 < g; ++k) tables_.userMacros[k] = tables_.userMacros[k + 1];
    }
    list.deleteLine(v);
    const int u = v > 0 ? v - 1 : 0;
    list.select(u);
    state_.currentMacro = u;
    if (list.count() == 0) {
        controls_.nameEdit.setText(u"");
        controls_.repeatEdit.setText(u"1");
        controls_.repeatEdit.enable(false);
    } else {
        controls_.nameEdit.setText(list.lineText(u));
    }
    {
        std::lock_guard<std::mutex> lock(macroTablesLock());
        tables_.userMacroCount = static_cast<std::int16_t>(std::max(g - 1, 0));
        MacroRecord& freed = tables_.userMacros[g - 1];
        freed.playMode = 0;
        freed.setRepeatCount(1);
        freed.eventCount = 0;
    }
    refreshEventList(u);
}

void MacroEditor::SaveRepeatCount() {
    std::int32_t n = leadingInt(controls_.repeatEdit.text());
    if (n < 1) {
        n = 1;
        controls_.repeatEdit.setText(u"1");
    } else if (n > 65535) {
        n = 65535;
        controls_.repeatEdit.setText(u"65535");
    }
    if (!isUserRecord(state_.currentMacro)) return;
    {
        std::lock_guard<std::mutex> lock(macroTablesLock());
        tables_.userMacros[state_.currentMacro].setRepeatCount(static_cast<std::uint16_t>(n));
    }
    SaveMacroLibrary(tables_, tables_.macroLibraryPath);
}

void MacroEditor::TogglePlayMode() {
    if (!isUserRecord(state_.currentMacro)) return;
    MacroRecord& record = tables_.userMacros[state_.currentMacro];
    if (record.playMode == 0) {
        {
            std::lock_guard<std::mutex> lock(macroTablesLock());
            record.playMode = 1;
        }
        controls_.repeatEdit.setText(decimalText(record.repeatCount()));
        controls_.repeatEdit.enable(true);
    } else {
        {
            std::lock_guard<std::mutex> lock(macroTablesLock());
            record.playMode = 0;
        }
        controls_.repeatEdit.setText(u"1");
        controls_.repeatEdit.enable(false);
    }
    host_.invalidate();
}

}  // namespace korvel
