// Fuzz target: the skin layout files. The input is the text of a layout file,
// given to every loader of the English edition; whatever it holds, the loaders
// stay inside their tables and the hit test only answers indexes it has.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "common/ports.h"
#include "common/text.h"
#include "ui/layout.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

class QuietMessages : public korvel::MessageBoxPort {
public:
    void show(std::u16string_view, std::u16string_view) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    static const auto skin = std::filesystem::temp_directory_path() / "korvel-fuzz-skin";
    static const std::u16string skinFolder = [] {
        std::filesystem::create_directories(skin / "INI_EN");
        return fromPath(skin);
    }();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& path : {mainLayoutPath(skinFolder, 1), colourLayoutPath(skinFolder, 1),
                             advancedLayoutPath(skinFolder, 1), warningLayoutPath(skinFolder, 1)})
        std::ofstream(toPath(path), std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());

    QuietMessages messages;
    bool exited = false;
    LayoutContext context;
    context.skinFolder = skinFolder;
    context.verSel = 1;
    context.messages = &messages;
    context.exitRoutine = [&] { exited = true; };
    SkinLayouts layouts;
    check(loadSkinLayouts(context, layouts));
    check(!exited);
    for (int y = -5; y < 700; y += 37)
        for (int x = -5; x < 900; x += 41) {
            const int hit = hitTest(layouts.mainBoxes, static_cast<int>(layouts.mainBoxes.size()) - 1, x, y);
            check(hit == 255 || (hit >= 0 && hit < static_cast<int>(layouts.mainBoxes.size())));
        }
    return 0;
}
