#pragma once
// Skin layout files: where every skin control of the main window and its
// popups lies, and the fixed text drawn on it. One set of four INI files per
// language edition under skinFolder + "\INI_EN" and "\INI_CN"; the tables are
// addressed by control index (the vocabulary shared by skin and code).
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/geometry.h"
#include "common/ports.h"

namespace korvel {

namespace ini {
class Snapshot;
}

// The box of one skin control in window pixels (also image pixels).
struct SkinBox {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    // x <= px < x + width and y <= py < y + height, computed without overflow,
    // so a box with a zero or negative size contains no point.
    bool contains(std::int32_t px, std::int32_t py) const {
        return px >= x && py >= y && std::int64_t{px} < std::int64_t{x} + width &&
               std::int64_t{py} < std::int64_t{y} + height;
    }
    bool operator==(const SkinBox&) const = default;
};

// The same box as edges, the form child controls are created on. Edges
// beyond 32 bits saturate.
Rect toRect(const SkinBox& box);

// A child-control box, kept in both forms.
struct ChildBox {
    SkinBox box;
    Rect rect;
};

inline constexpr std::size_t kMainEntries = 124;      // keys 0-123 of "BUTTONPOS"
inline constexpr std::size_t kColourEntries = 13;     // 0-12
inline constexpr std::size_t kAdvancedEntries = 52;   // 0-51
inline constexpr std::size_t kWarningEntries = 3;     // 0-2
inline constexpr std::size_t kFunctionCaptionKeys = 54;  // "FUN_STRING" keys 1-54; entry 0 stays empty

// Longest value read from a layout file (the buffer of 260 characters).
inline constexpr std::size_t kLayoutValueCapacity = 260;

// Index roles that code outside the painter refers to.
namespace mainIndex {
inline constexpr int kSave = 0, kHide = 2, kApply = 3, kProfileFirst = 4, kTabMain = 9, kTabAdvanced = 10,
                     kTabColour = 11, kMinimise = 12, kClose = 13, kImport = 14, kExport = 15, kReset = 16,
                     kChinese = 17, kEnglish = 18, kWeb = 19, kFunctionFirst = 25, kFunctionLast = 33,
                     kWheel0 = 41, kWheel1 = 42, kDpiEnableFirst = 46, kDpiSelectFirst = 54, kDpiBarFirst = 66,
                     kDpiBarLast = 113, kHoverOnly = 114, kMouseHighlightFirst = 115;
}

struct SkinLayouts {
    std::array<SkinBox, kMainEntries> mainBoxes{};
    std::array<std::u16string, kMainEntries> mainCaptions{};
    std::array<std::u16string, kFunctionCaptionKeys + 1> functionCaptions{};  // 0-54
    std::array<SkinBox, kColourEntries> colourBoxes{};
    std::array<std::u16string, kColourEntries> colourCaptions{};
    std::array<SkinBox, kAdvancedEntries> advancedBoxes{};
    std::array<std::u16string, kAdvancedEntries> advancedCaptions{};
    ChildBox repeatBox;     // "EDIT" 3
    ChildBox nameBox;       // "EDIT" 4
    ChildBox macroListBox;  // "MACRODISPLAY" 1
    ChildBox eventListBox;  // "MACRODISPLAY" 2
    std::array<SkinBox, kWarningEntries> warningBoxes{};
    std::array<std::u16string, kWarningEntries> warningCaptions{};
};

// The process-wide tables (empty until the first load).
SkinLayouts& skinLayouts();

// Everything the loaders need from the rest of the program.
struct LayoutContext {
    std::u16string skinFolder;          // programFolder + "\skins"
    std::int32_t verSel = 1;            // 0 Chinese, 1 English
    MessageBoxPort* messages = nullptr; // owned by the main window
    std::u16string messageCaption;      // the application title
    std::function<void()> exitRoutine;  // ends the program
};

using LayoutFields = std::array<std::u16string, 7>;

// Splits one layout value into its seven comma-separated fields. Values with
// fewer than six commas fill the fields they have and leave the rest empty.
// `tooManyCommas` tells whether the value had more than six.
LayoutFields splitLayoutValue(std::u16string_view value, bool* tooManyCommas = nullptr);

// Layout file paths of an edition.
std::u16string mainLayoutPath(std::u16string_view skinFolder, std::int32_t verSel);
std::u16string colourLayoutPath(std::u16string_view skinFolder, std::int32_t verSel);
std::u16string advancedLayoutPath(std::u16string_view skinFolder, std::int32_t verSel);
std::u16string warningLayoutPath(std::u16string_view skinFolder, std::int32_t verSel);

// The caption every edition gives function code 14, whatever the file says.
std::u16string_view rateCycleCaption(std::int32_t verSel);

// Reads layout values, each file parsed once per loader run. A missing file
// shows "找不到配置文件" once and runs the exit routine; after that nothing more
// is read (every value reads empty) so a returning exit routine is harmless.
class LayoutReader {
public:
    explicit LayoutReader(const LayoutContext& context);
    ~LayoutReader();
    LayoutReader(const LayoutReader&) = delete;
    LayoutReader& operator=(const LayoutReader&) = delete;

    LayoutFields readLayoutValue(std::u16string_view path, std::u16string_view section, int index);
    bool failed() const { return failed_; }

private:
    const ini::Snapshot* open(std::u16string_view path);
    const LayoutContext& context_;
    std::u16string cachedPath_;
    struct Cache;
    std::unique_ptr<Cache> cache_;
    bool failed_ = false;
};

// One value, as a standalone read (parses the file for this one value).
LayoutFields readLayoutValue(const LayoutContext& context, std::u16string_view path, std::u16string_view section,
                             int index);

// The loaders. Each returns false when a file was missing (the message was
// shown and the exit routine run); the tables it fills are then left as far
// as they got, every entry not yet read being cleared.
bool loadMainLayout(const LayoutContext& context, SkinLayouts& layouts);
bool loadColourLayout(const LayoutContext& context, SkinLayouts& layouts);
bool loadAdvancedLayout(const LayoutContext& context, SkinLayouts& layouts);
bool loadWarningLayout(const LayoutContext& context, SkinLayouts& layouts);
// Main, colour, advanced, warning; stops at the first missing file.
bool loadSkinLayouts(const LayoutContext& context, SkinLayouts& layouts);

// The first index in 0..last whose box contains the point, or 255.
int hitTest(const SkinBox* boxes, std::size_t count, int last, std::int32_t px, std::int32_t py);
template <std::size_t N>
int hitTest(const std::array<SkinBox, N>& boxes, int last, std::int32_t px, std::int32_t py) {
    return hitTest(boxes.data(), N, last, px, py);
}

}  // namespace korvel
