// skingen: draws Korvel's skin (every image of both editions) and writes its
// layout files, all from the one description in description.cpp.
//
//   skingen <skin folder> [--layouts-only] [--preview <folder>]
//
// The skin folder receives the JPEG images and INI_EN/ and INI_CN/ with the
// four layout files of each edition (UTF-8 with a byte-order mark, CRLF).
// --preview also writes pictures of the pages as the program shows them.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "description.h"
#include "platform/native/jpeg_image.h"
#include "render.h"

namespace fs = std::filesystem;
using namespace skingen;

namespace {

#ifndef SKINGEN_DEJAVU_DIR
#define SKINGEN_DEJAVU_DIR "/usr/share/fonts/truetype/dejavu"
#endif
#ifndef SKINGEN_WQY_FILE
#define SKINGEN_WQY_FILE "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
#endif

// Page images keep colour at full resolution (crisp coloured edges); masks
// are stored at the highest quality so they stay pure black and white.
constexpr int kImageQuality = 92;
constexpr int kMaskQuality = 100;

bool writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool writeJpeg(const fs::path& path, const korvel::Canvas& c, int quality) {
    const std::vector<std::uint8_t> bytes = korvel::encodeJpeg(c, quality, true);
    if (bytes.empty() || !writeFile(path, bytes)) {
        std::cerr << "skingen: cannot write " << path << "\n";
        return false;
    }
    return true;
}

// ---- Layout files.

class IniText {
public:
    explicit IniText(const std::string& title) { line("; " + title + " - made by skingen, do not edit by hand"); }
    void section(const std::string& name) {
        if (!text_.empty()) line("");
        line("[" + name + "]");
    }
    void line(const std::string& s) { text_ += s + "\r\n"; }
    // "label,x,y,width,height,caption," - always six commas, so every reader
    // splits the seven fields the same way.
    void box(int key, const Control& c, const std::string& caption) {
        line(std::to_string(key) + "=" + c.id + "," + std::to_string(c.x) + "," + std::to_string(c.y) + "," +
             std::to_string(c.w) + "," + std::to_string(c.h) + "," + caption + ",");
    }
    bool save(const fs::path& path) const {
        std::vector<std::uint8_t> bytes{0xEF, 0xBB, 0xBF};
        bytes.insert(bytes.end(), text_.begin(), text_.end());
        return writeFile(path, bytes);
    }

private:
    std::string text_;
};

bool writeLayouts(const fs::path& skin) {
    const SkinDescription& d = description();
    bool ok = true;
    for (int english = 0; english < 2; ++english) {
        const fs::path folder = skin / (english ? "INI_EN" : "INI_CN");
        fs::create_directories(folder);
        auto cap = [english](const Control& c) { return english ? c.en : c.cn; };
        const std::string edition = english ? "English edition" : "Chinese edition";

        IniText mainIni("Korvel skin, main window, " + edition);
        mainIni.section("BUTTONPOS");
        for (const Control& c : d.mainControls) mainIni.box(c.index, c, cap(c));
        mainIni.section("FUN_STRING");
        for (int n = 1; n <= 54; ++n) mainIni.line(std::to_string(n) + "=" + (english ? d.functionEn[n] : d.functionCn[n]));
        ok &= mainIni.save(folder / (english ? "skin_main_en.ini" : "skin_main.ini"));

        IniText colourIni("Korvel skin, lighting page, " + edition);
        colourIni.section("BUTTONPOS");
        for (const Control& c : d.colourControls) colourIni.box(c.index, c, cap(c));
        ok &= colourIni.save(folder / (english ? "skin_color_en.ini" : "skin_color.ini"));

        IniText advancedIni("Korvel skin, advanced page, " + edition);
        advancedIni.section("BUTTONPOS");
        for (const Control& c : d.advancedControls) advancedIni.box(c.index, c, cap(c));
        advancedIni.section("EDIT");
        advancedIni.box(3, d.repeatBox, "");
        advancedIni.box(4, d.nameBox, "");
        advancedIni.section("MACRODISPLAY");
        advancedIni.box(1, d.macroListBox, "");
        advancedIni.box(2, d.eventListBox, "");
        ok &= advancedIni.save(folder / (english ? "skin_advance_en.ini" : "skin_advance.ini"));

        IniText warningIni("Korvel skin, warning dialog, " + edition);
        warningIni.section("BUTTONPOS");
        for (const Control& c : d.warningControls) warningIni.box(c.index, c, cap(c));
        ok &= warningIni.save(folder / (english ? "LBWarning_en.ini" : "LBWarning.ini"));
    }
    return ok;
}

bool writeImages(const fs::path& skin, const Fonts& f) {
    const SkinDescription& d = description();
    bool ok = true;
    struct PageFiles {
        Page page;
        const char* normal;
        const char* over;
        const char* down;
    } pages[] = {{Page::Main, "main_normal.jpg", "main_over.jpg", "main_down.jpg"},
                 {Page::Advanced, "advanced_normal.jpg", "advanced_over.jpg", "advanced_down.jpg"},
                 {Page::Colour, "color_normal_pink.jpg", "color_over_red.jpg", "color_down_purple.jpg"}};
    for (const PageFiles& p : pages) {
        ok &= writeJpeg(skin / p.normal, renderPage(f, p.page, Look::Normal, Glow::Pink), kImageQuality);
        ok &= writeJpeg(skin / p.over, renderPage(f, p.page, Look::Over, Glow::Red), kImageQuality);
        ok &= writeJpeg(skin / p.down, renderPage(f, p.page, Look::Down, Glow::Purple), kImageQuality);
    }
    ok &= writeJpeg(skin / "color_normal_gray.jpg", renderPage(f, Page::Colour, Look::Normal, Glow::Unlit), kImageQuality);
    ok &= writeJpeg(skin / "color_over_blue.jpg", renderPage(f, Page::Colour, Look::Normal, Glow::Blue), kImageQuality);
    ok &= writeJpeg(skin / "main_mask.jpg", renderMask(mainOutline(d.main), d.main), kMaskQuality);

    const std::vector<Pt> menuRect{{0, 0}, {float(d.menu.w), 0}, {float(d.menu.w), float(d.menu.h)}, {0, float(d.menu.h)}};
    const std::vector<Pt> subRect{{0, 0}, {float(d.subMenu.w), 0}, {float(d.subMenu.w), float(d.subMenu.h)}, {0, float(d.subMenu.h)}};
    ok &= writeJpeg(skin / "menu_normal.jpg", renderMenu(f, 10, d.menu, d.menuRow, true, Look::Normal), kImageQuality);
    ok &= writeJpeg(skin / "menu_over.jpg", renderMenu(f, 10, d.menu, d.menuRow, true, Look::Over), kImageQuality);
    ok &= writeJpeg(skin / "menu_down.jpg", renderMenu(f, 10, d.menu, d.menuRow, true, Look::Down), kImageQuality);
    ok &= writeJpeg(skin / "menu_mask.jpg", renderMask(menuRect, d.menu), kMaskQuality);
    ok &= writeJpeg(skin / "advanced menu_normal.jpg", renderMenu(f, 12, d.subMenu, d.menuRow, false, Look::Normal), kImageQuality);
    ok &= writeJpeg(skin / "advanced menu_over.jpg", renderMenu(f, 12, d.subMenu, d.menuRow, false, Look::Over), kImageQuality);
    ok &= writeJpeg(skin / "advanced menu_down.jpg", renderMenu(f, 12, d.subMenu, d.menuRow, false, Look::Down), kImageQuality);
    ok &= writeJpeg(skin / "advanced menu_mask.jpg", renderMask(subRect, d.subMenu), kMaskQuality);
    ok &= writeJpeg(skin / "warning_normal.jpg", renderWarning(f, Look::Normal), kImageQuality);
    ok &= writeJpeg(skin / "warning_over.jpg", renderWarning(f, Look::Over), kImageQuality);
    ok &= writeJpeg(skin / "warning_mask.jpg", renderMask(warningOutline(d.warning), d.warning), kMaskQuality);
    return ok;
}

bool writePreviews(const fs::path& folder, const Fonts& f) {
    fs::create_directories(folder);
    bool ok = true;
    const korvel::Canvas mainMask = renderMask(mainOutline(description().main), description().main);
    for (int english = 0; english < 2; ++english) {
        const std::string suffix = english ? "_en.jpg" : "_cn.jpg";
        const Page pages[3] = {Page::Main, Page::Advanced, Page::Colour};
        const char* names[3] = {"main", "advanced", "colour"};
        for (int i = 0; i < 3; ++i) {
            korvel::Canvas c = previewPage(f, pages[i], english);
            for (int y = 0; y < c.height(); ++y)
                for (int x = 0; x < c.width(); ++x)
                    if (mainMask.pixel(x, y).r > 100) c.setPixel(x, y, korvel::Rgb{255, 255, 255});
            ok &= writeJpeg(folder / (std::string("preview_") + names[i] + suffix), c, 95);
        }
        ok &= writeJpeg(folder / ("preview_menu" + suffix), previewMenu(f, english, false), 95);
        ok &= writeJpeg(folder / ("preview_submenu" + suffix), previewMenu(f, english, true), 95);
        ok &= writeJpeg(folder / ("preview_warning" + suffix), previewWarning(f, english), 95);
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path skin;
    fs::path preview;
    bool layoutsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--layouts-only") {
            layoutsOnly = true;
        } else if (a == "--preview" && i + 1 < argc) {
            preview = argv[++i];
        } else if (skin.empty() && !a.empty() && a[0] != '-') {
            skin = a;
        } else {
            std::cerr << "usage: skingen <skin folder> [--layouts-only] [--preview <folder>]\n";
            return 2;
        }
    }
    if (skin.empty()) {
        std::cerr << "usage: skingen <skin folder> [--layouts-only] [--preview <folder>]\n";
        return 2;
    }
    try {
        description();  // checks the tables before anything is written
        fs::create_directories(skin);
        bool ok = writeLayouts(skin);
        if (!layoutsOnly || !preview.empty()) {
            const Fonts fonts(SKINGEN_DEJAVU_DIR, SKINGEN_WQY_FILE);
            if (!layoutsOnly) ok &= writeImages(skin, fonts);
            if (!preview.empty()) ok &= writePreviews(preview, fonts);
        }
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "skingen: " << e.what() << "\n";
        return 1;
    }
}
