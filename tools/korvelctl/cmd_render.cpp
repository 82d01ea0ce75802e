// korvelctl render: a page of the main window, the function menu or the
// warning dialog as the program paints it, written as a PNG file. For skin
// authors, and for looking at the program without Windows.
//
// The painting is the program's own (src/ui); images come from the JPEG
// decoder and text from FreeType with the fonts that stand in for "Consolas"
// and "宋体". Native build only: the Windows build says so and fails.
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "command.h"

#ifndef _WIN32
#include <png.h>

#include <filesystem>

#include "common/ini.h"
#include "common/text.h"
#include "macro/macro_library.h"
#include "platform/native/freetype_text.h"
#include "platform/native/jpeg_image.h"
#include "profile/config_store.h"
#include "profile/profile.h"
#include "ui/function_menu.h"
#include "ui/layout.h"
#include "ui/page_painter.h"
#include "ui/skin_image.h"
#include "ui/text_renderer.h"
#include "ui/ui_state.h"
#include "ui/warning_dialog.h"
#endif

namespace korvelctl {
namespace {

constexpr char kUsage[] =
    "[--skin DIR] [--edition en|cn] [--config FILE] [--profile N] [--hover INDEX|frame:INDEX] [--pressed] "
    "PAGE OUT.png";
constexpr char kDetails[] =
    "  PAGE: main, advanced, colour, menu or warning.\n"
    "  --skin     the skin folder (default: the folder \"skins\" beside korvelctl, as the program\n"
    "             looks for it beside itself).\n"
    "  --edition  en or cn (default: \"VER_SEL\" of --config, else en).\n"
    "  --config   a config.ini to take the profile from (default: the factory settings);\n"
    "             the user macros' names come from Macro_EN.dat / Macro_CN.dat beside it.\n"
    "  --profile  1-7 (default: \"CurConfig\" of --config, else 1).\n"
    "  --hover    the control under the pointer: an index of the page's table, frame:INDEX for a\n"
    "             frame control (main table 0-19), the row (1-12) of the menu, or the box (0 or 1)\n"
    "             of the warning dialog. A menu row of 7-10 shows its sub-menu beside the menu.\n"
    "  --pressed  the left button held over it.\n";

[[maybe_unused]] int usage(CommandContext& context) {
    const int code = usageError(context, "render");
    context.err << kDetails;
    return code;
}

#ifdef _WIN32

int runRender(CommandContext& context) {
    return fail(context, "render is available in the native build only");
}

#else

bool parseInt(const std::string& text, int& value) {
    if (text.empty() || text.size() > 6) return false;
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    value = static_cast<int>(text[0] == '-' ? -v : v);
    return true;
}

std::filesystem::path executableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}

bool writePng(const korvel::Canvas& canvas, const std::string& file) {
    if (canvas.empty()) return false;
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, out);
        png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.width()), static_cast<png_uint_32>(canvas.height()), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (std::int32_t y = 0; y < canvas.height(); ++y)
            png_write_row(png, const_cast<png_bytep>(canvas.data() + static_cast<std::size_t>(y) * canvas.stride()));
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return std::fclose(out) == 0 && ok;
}

// Layout and macro-file messages go to the error stream.
class StreamMessages : public korvel::MessageBoxPort {
public:
    explicit StreamMessages(std::ostream& err) : err_(err) {}
    void show(std::u16string_view text, std::u16string_view) override {
        err_ << "korvelctl: " << korvel::toUtf8(text) << "\n";
        ++count;
    }
    int count = 0;

private:
    std::ostream& err_;
};

struct Options {
    std::string skin, edition, config, page, out;
    int profile = 0;
    bool hoverGiven = false, hoverFrame = false, pressed = false;
    int hover = 0;
};

int parse(CommandContext& context, Options& o) {
    std::vector<std::string> rest;
    const auto& a = context.args;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string& w = a[i];
        const bool hasValue = i + 1 < a.size();
        if (w == "--skin" && hasValue) o.skin = a[++i];
        else if (w == "--edition" && hasValue) o.edition = a[++i];
        else if (w == "--config" && hasValue) o.config = a[++i];
        else if (w == "--profile" && hasValue) {
            if (!parseInt(a[++i], o.profile) || o.profile < 1 || o.profile > 7)
                return fail(context, "invalid profile number '" + a[i] + "' (1-7)");
        } else if (w == "--hover" && hasValue) {
            std::string v = a[++i];
            o.hoverGiven = true;
            if (v.rfind("frame:", 0) == 0) {
                o.hoverFrame = true;
                v = v.substr(6);
            }
            if (!parseInt(v, o.hover) || o.hover < 0 || (o.hoverFrame && o.hover > 19))
                return fail(context, "invalid hover index '" + a[i] + "'");
        } else if (w == "--pressed") o.pressed = true;
        else if (w.rfind("--", 0) == 0) return usage(context);
        else rest.push_back(w);
    }
    if (rest.size() != 2) return usage(context);
    o.page = rest[0];
    o.out = rest[1];
    if (o.page != "main" && o.page != "advanced" && o.page != "colour" && o.page != "menu" && o.page != "warning")
        return fail(context, "unknown page '" + o.page + "' (main, advanced, colour, menu, warning)");
    if (!o.edition.empty() && o.edition != "en" && o.edition != "cn")
        return fail(context, "unknown edition '" + o.edition + "' (en, cn)");
    return kExitOk;
}

int runRender(CommandContext& context) {
    using namespace korvel;
    Options o;
    if (const int r = parse(context, o); r != kExitOk) return r;

    // The profile, as it is after applying (the applied DPI codes and lighting mode).
    Profile profile;
    std::int32_t verSel = 1;
    std::int32_t number = o.profile > 0 ? o.profile : 1;
    StreamMessages messages(context.err);
    MacroTables macros;
    if (!o.config.empty()) {
        const std::u16string path = pathArgument(o.config);
        if (!ini::Snapshot::load(path).exists()) return fail(context, "cannot read configuration file '" + o.config + "'");
        verSel = readVerSel(path);
        if (o.profile == 0) number = readCurConfig(path);
        if (number < 1 || number > 7) number = 1;
        loadProfile(profile, path, number, false, verSel);
    } else {
        profile.setFactoryValues();
    }
    if (!o.edition.empty()) verSel = o.edition == "en" ? 1 : 0;
    if (!o.config.empty()) {
        const std::filesystem::path folder = toPath(pathArgument(o.config)).parent_path();
        const std::u16string library =
            fromPath(folder.empty() ? std::filesystem::path(".") : folder) + (verSel != 0 ? u"/Macro_EN.dat" : u"/Macro_CN.dat");
        if (std::filesystem::exists(toPath(library))) LoadMacroLibrary(macros, library, MacroTable::User, messages);
    }
    for (int L = 0; L < kDpiLevelCount; ++L)
        profile.dpiCode[L] = dpiCodeTable[std::min<int>(profile.dpiSet[L], kDpiValueCount - 1)];
    profile.ledStatusApplied = profile.ledStatus;

    // The skin.
    const std::u16string skin = o.skin.empty() ? fromPath(executableFolder() / "skins") : pathArgument(o.skin);
    std::error_code ec;
    if (!std::filesystem::is_directory(toPath(skin), ec))
        return fail(context, "no skin folder '" + toUtf8(skin) + "' (give one with --skin)");
    SkinLayouts layouts;
    LayoutContext layoutContext{skin, verSel, &messages, {}, {}};
    if (!loadSkinLayouts(layoutContext, layouts)) return fail(context, "the skin's layout files are incomplete");
    JpegImageDecoder decoder;
    SkinImageCache images(decoder, skin);

    std::unique_ptr<TextRendererPort> text = FreeTypeTextRenderer::open();
    if (!text) {
        context.err << "korvelctl: fonts not found (" << kDefaultEnglishFontFile << ", " << kDefaultChineseFontFile
                    << "); text drawn as boxes\n";
        text = std::make_unique<BoxTextRenderer>();
    }

    UiState ui;
    PopupState popups;
    ui.pointerDown = o.pressed;
    Canvas picture;
    if (o.page == "main" || o.page == "advanced" || o.page == "colour") {
        const std::uint8_t page = o.page == "main" ? kPageMain : o.page == "advanced" ? kPageAdvanced : kPageColour;
        ui.currentPage = page;
        if (o.hoverGiven) {
            if (o.hoverFrame || page == kPageMain) ui.mainHover = o.hover;
            else if (page == kPageAdvanced) ui.advancedHover = o.hover;
            else ui.colourHover = o.hover;
        }
        ui.previewColour = profile.dpiLevel;
        const SkinImage& mask = images.get(skinFile::kMainMask);
        const PaintInput input{layouts, profile, macros, ui, number, verSel, MacroEditorView{}};
        composePage(picture, pageImages(images, page), input, *text, mask.width(), mask.height());
        if (page == kPageAdvanced) {
            // The macro panel's child controls: black fields, as the program colours them.
            for (const ChildBox* c : {&layouts.repeatBox, &layouts.nameBox, &layouts.macroListBox, &layouts.eventListBox})
                picture.fillBox(c->box, Rgb{});
        }
    } else if (o.page == "menu") {
        FunctionMenu menu(popups, images, *text);
        menu.initialise();
        if (o.hoverGiven) menu.onPointerMove(0, (o.hover - 1) * menu.size().rowHeight);
        if (o.pressed) menu.onButtonDown();
        Canvas menuPicture;
        menu.paint(menuPicture, layouts, verSel);
        const SubMenuAction action = menu.afterPaint(macros.userMacroCount);
        if (!action.openAt) {
            picture = std::move(menuPicture);
        } else {
            SubMenu sub(popups, images, *text);
            sub.initialise(macros.userMacroCount);
            Canvas subPicture;
            sub.paint(subPicture, layouts, macros, verSel);
            // Both popups on one picture, as they stand on the screen.
            const std::int32_t top = std::min(0, action.openAt->y);
            const std::int32_t bottom = std::max(menuPicture.height(), action.openAt->y + subPicture.height());
            picture = Canvas(action.openAt->x + subPicture.width(), bottom - top, Rgb{});
            copyBlock(picture, 0, -top, menuPicture, 0, 0, menuPicture.width(), menuPicture.height());
            copyBlock(picture, action.openAt->x, action.openAt->y - top, subPicture, 0, 0, subPicture.width(),
                      subPicture.height());
        }
    } else {
        WarningDialog dialog(popups, images, *text);
        dialog.initialise();
        if (o.hoverGiven && o.hover <= 1) {
            const SkinBox& b = layouts.warningBoxes[o.hover];
            dialog.onPointerMove(layouts, b.x, b.y);
        }
        dialog.paint(picture, layouts, verSel);
    }
    if (picture.empty()) return fail(context, "nothing to draw: the skin's images are missing");
    if (!writePng(picture, o.out)) return fail(context, "cannot write '" + o.out + "'");
    context.out << o.out << ": " << picture.width() << " x " << picture.height() << "\n";
    return kExitOk;
}

#endif

const CommandRegistrar renderCommand{{"render", kUsage, "draw a page, the function menu or the warning dialog as PNG", &runRender}};

}  // namespace
}  // namespace korvelctl
