#include "ui/layout.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

#include "common/ini.h"
#include "common/number.h"
#include "common/text.h"

namespace korvel {

namespace {

constexpr std::u16string_view kMissingFileMessage = u"找不到配置文件";
constexpr std::u16string_view kBadValueMessage = u"加载ini错误！";
constexpr std::u16string_view kButtonPos = u"BUTTONPOS";
constexpr std::u16string_view kFunString = u"FUN_STRING";
constexpr std::u16string_view kEdit = u"EDIT";
constexpr std::u16string_view kMacroDisplay = u"MACRODISPLAY";

std::int32_t saturate(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

SkinBox boxOf(const LayoutFields& f) {
    return SkinBox{leadingInt(f[1]), leadingInt(f[2]), leadingInt(f[3]), leadingInt(f[4])};
}

std::u16string layoutPath(std::u16string_view skinFolder, std::int32_t verSel, std::u16string_view english,
                          std::u16string_view chinese) {
    std::u16string path(skinFolder);
    path += verSel != 0 ? u"\\INI_EN\\" : u"\\INI_CN\\";
    path += verSel != 0 ? english : chinese;
    return path;
}

bool fileExists(std::u16string_view path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(toPath(path), ec);
}

void showMessage(const LayoutContext& context, std::u16string_view text) {
    if (context.messages) context.messages->show(text, context.messageCaption);
}

// Fills entries 0..N-1 of a "BUTTONPOS" table.
template <std::size_t N>
bool loadButtonPositions(LayoutReader& reader, std::u16string_view path, std::array<SkinBox, N>& boxes,
                         std::array<std::u16string, N>& captions) {
    boxes.fill(SkinBox{});
    for (auto& c : captions) c.clear();
    for (std::size_t i = 0; i < N; ++i) {
        LayoutFields f = reader.readLayoutValue(path, kButtonPos, static_cast<int>(i));
        if (reader.failed()) return false;
        boxes[i] = boxOf(f);
        captions[i] = std::move(f[5]);
    }
    return true;
}

ChildBox childBoxOf(const LayoutFields& f) {
    ChildBox c;
    c.box = boxOf(f);
    c.rect = toRect(c.box);
    return c;
}

}  // namespace

Rect toRect(const SkinBox& box) {
    return Rect{box.x, box.y, saturate(std::int64_t{box.x} + box.width),
                   saturate(std::int64_t{box.y} + box.height)};
}

SkinLayouts& skinLayouts() {
    static SkinLayouts layouts;
    return layouts;
}

LayoutFields splitLayoutValue(std::u16string_view value, bool* tooManyCommas) {
    LayoutFields fields;
    std::size_t commas = static_cast<std::size_t>(std::count(value.begin(), value.end(), u','));
    if (tooManyCommas) *tooManyCommas = commas > 6;
    std::size_t start = 0;
    for (std::size_t field = 0; field < 6; ++field) {
        std::size_t comma = value.find(u',', start);
        if (comma == std::u16string_view::npos) {
            // The rest of the value is this field; later fields stay empty.
            fields[field] = std::u16string(value.substr(start));
            return fields;
        }
        fields[field] = std::u16string(value.substr(start, comma - start));
        start = comma + 1;
    }
    fields[6] = std::u16string(value.substr(start));  // keeps any later commas
    return fields;
}

std::u16string mainLayoutPath(std::u16string_view skinFolder, std::int32_t verSel) {
    return layoutPath(skinFolder, verSel, u"skin_main_en.ini", u"skin_main.ini");
}
std::u16string colourLayoutPath(std::u16string_view skinFolder, std::int32_t verSel) {
    return layoutPath(skinFolder, verSel, u"skin_color_en.ini", u"skin_color.ini");
}
std::u16string advancedLayoutPath(std::u16string_view skinFolder, std::int32_t verSel) {
    return layoutPath(skinFolder, verSel, u"skin_advance_en.ini", u"skin_advance.ini");
}
std::u16string warningLayoutPath(std::u16string_view skinFolder, std::int32_t verSel) {
    return layoutPath(skinFolder, verSel, u"LBWarning_en.ini", u"LBWarning.ini");
}

std::u16string_view rateCycleCaption(std::int32_t verSel) { return verSel != 0 ? u"OFF" : u"无功能"; }

struct LayoutReader::Cache {
    ini::Snapshot snapshot;
};

LayoutReader::LayoutReader(const LayoutContext& context) : context_(context) {}
LayoutReader::~LayoutReader() = default;

const ini::Snapshot* LayoutReader::open(std::u16string_view path) {
    if (failed_) return nullptr;
    if (cache_ && cachedPath_ == path) return &cache_->snapshot;
    if (!fileExists(path)) {
        failed_ = true;
        showMessage(context_, kMissingFileMessage);
        if (context_.exitRoutine) context_.exitRoutine();
        return nullptr;
    }
    if (!cache_) cache_ = std::make_unique<Cache>();
    cache_->snapshot = ini::Snapshot::load(path);
    cachedPath_ = std::u16string(path);
    return &cache_->snapshot;
}

LayoutFields LayoutReader::readLayoutValue(std::u16string_view path, std::u16string_view section, int index) {
    const ini::Snapshot* file = open(path);
    if (!file) return {};
    std::u16string value = file->get(section, decimalText(index), kLayoutValueCapacity);
    bool tooMany = false;
    LayoutFields fields = splitLayoutValue(value, &tooMany);
    if (tooMany) showMessage(context_, kBadValueMessage);
    return fields;
}

LayoutFields readLayoutValue(const LayoutContext& context, std::u16string_view path, std::u16string_view section,
                             int index) {
    LayoutReader reader(context);
    return reader.readLayoutValue(path, section, index);
}

namespace {

bool loadMain(LayoutReader& reader, const LayoutContext& context, SkinLayouts& layouts) {
    const std::u16string path = mainLayoutPath(context.skinFolder, context.verSel);
    for (auto& c : layouts.functionCaptions) c.clear();
    if (!loadButtonPositions(reader, path, layouts.mainBoxes, layouts.mainCaptions)) return false;
    for (std::size_t n = 1; n <= kFunctionCaptionKeys; ++n) {
        LayoutFields f = reader.readLayoutValue(path, kFunString, static_cast<int>(n));
        if (reader.failed()) return false;
        layouts.functionCaptions[n] = std::move(f[0]);
    }
    layouts.functionCaptions[14] = std::u16string(rateCycleCaption(context.verSel));
    return true;
}

bool loadColour(LayoutReader& reader, const LayoutContext& context, SkinLayouts& layouts) {
    return loadButtonPositions(reader, colourLayoutPath(context.skinFolder, context.verSel), layouts.colourBoxes,
                               layouts.colourCaptions);
}

bool loadAdvanced(LayoutReader& reader, const LayoutContext& context, SkinLayouts& layouts) {
    const std::u16string path = advancedLayoutPath(context.skinFolder, context.verSel);
    layouts.repeatBox = layouts.nameBox = layouts.macroListBox = layouts.eventListBox = ChildBox{};
    if (!loadButtonPositions(reader, path, layouts.advancedBoxes, layouts.advancedCaptions)) return false;
    const struct {
        std::u16string_view section;
        int key;
        ChildBox* target;
    } children[] = {{kEdit, 3, &layouts.repeatBox},
                    {kEdit, 4, &layouts.nameBox},
                    {kMacroDisplay, 1, &layouts.macroListBox},
                    {kMacroDisplay, 2, &layouts.eventListBox}};
    for (const auto& c : children) {
        LayoutFields f = reader.readLayoutValue(path, c.section, c.key);
        if (reader.failed()) return false;
        *c.target = childBoxOf(f);
    }
    return true;
}

bool loadWarning(LayoutReader& reader, const LayoutContext& context, SkinLayouts& layouts) {
    return loadButtonPositions(reader, warningLayoutPath(context.skinFolder, context.verSel), layouts.warningBoxes,
                               layouts.warningCaptions);
}

}  // namespace

bool loadMainLayout(const LayoutContext& context, SkinLayouts& layouts) {
    LayoutReader reader(context);
    return loadMain(reader, context, layouts);
}
bool loadColourLayout(const LayoutContext& context, SkinLayouts& layouts) {
    LayoutReader reader(context);
    return loadColour(reader, context, layouts);
}
bool loadAdvancedLayout(const LayoutContext& context, SkinLayouts& layouts) {
    LayoutReader reader(context);
    return loadAdvanced(reader, context, layouts);
}
bool loadWarningLayout(const LayoutContext& context, SkinLayouts& layouts) {
    LayoutReader reader(context);
    return loadWarning(reader, context, layouts);
}

bool loadSkinLayouts(const LayoutContext& context, SkinLayouts& layouts) {
    // One reader for all four, so a missing file is reported once.
    LayoutReader reader(context);
    return loadMain(reader, context, layouts) && loadColour(reader, context, layouts) &&
           loadAdvanced(reader, context, layouts) && loadWarning(reader, context, layouts);
}

int hitTest(const SkinBox* boxes, std::size_t count, int last, std::int32_t px, std::int32_t py) {
    if (last < 0) return 255;
    const std::size_t end = std::min(count, static_cast<std::size_t>(last) + 1);
    for (std::size_t i = 0; i < end; ++i)
        if (boxes[i].contains(px, py)) return static_cast<int>(i);
    return 255;
}

}  // namespace korvel
