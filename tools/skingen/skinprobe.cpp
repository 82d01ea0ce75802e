// skinprobe.exe: decodes every shipped skin image with GDI+ (the decoder of
// the Windows program) and writes the pixels, so that a test on the build
// machine can compare them with libjpeg-turbo's.
//
//   skinprobe <skin folder> <output folder>
//
// For each image "\name.jpg" it writes "<output>\name.jpg.rgb": a line
// "width height", then the rows of red, green, blue bytes.
#include <cstdio>
#include <string>

#include "platform/win32/gdiplus_image.h"
#include "ui/skin_image.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinprobe <skin folder> <output folder>\n");
        return 2;
    }
    korvel::win32::GdiplusImageDecoder decoder;
    if (!decoder.started()) return 1;
    const std::wstring skin = argv[1], out = argv[2];
    int failures = 0;
    for (std::u16string_view name : korvel::skinFile::kAll) {
        const korvel::SkinImage image =
            korvel::loadSkinImage(decoder, std::u16string(skin.begin(), skin.end()), name);
        if (!image.loaded) {
            ++failures;
            continue;
        }
        const std::wstring path = out + std::wstring(name.begin(), name.end()) + L".rgb";
        FILE* f = _wfopen(path.c_str(), L"wb");
        if (!f) {
            ++failures;
            continue;
        }
        std::fprintf(f, "%d %d\n", image.width(), image.height());
        std::fwrite(image.pixels.data(), 1, image.pixels.stride() * static_cast<std::size_t>(image.height()), f);
        std::fclose(f);
    }
    return failures ? 1 : 0;
}
