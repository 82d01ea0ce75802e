#pragma once
// The text renderer of the native build: the two fonts through FreeType.
// "DejaVu Sans Mono" stands in for "Consolas" and "WenQuanYi Micro Hei" for
// "宋体", each sized to the cell its Windows font is created with (14 x 7 and
// 12 x 6 pixels).
#include <memory>
#include <string>

#include "ui/text_renderer.h"

namespace korvel {

inline constexpr char kDefaultEnglishFontFile[] = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
inline constexpr char kDefaultChineseFontFile[] = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

class FreeTypeTextRenderer : public TextRendererPort {
public:
    // Nothing when either font file cannot be opened.
    static std::unique_ptr<FreeTypeTextRenderer> open(const std::string& englishFile = kDefaultEnglishFontFile,
                                                      const std::string& chineseFile = kDefaultChineseFontFile);
    ~FreeTypeTextRenderer() override;

    TextExtent measure(UiFont font, std::u16string_view text) override;
    void draw(Canvas& canvas, std::int32_t x, std::int32_t y, UiFont font, std::u16string_view text,
              Rgb colour) override;

private:
    struct Impl;
    explicit FreeTypeTextRenderer(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace korvel
