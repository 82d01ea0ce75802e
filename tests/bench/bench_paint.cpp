// The main page's hover repaint: composing the page (state, frame, captions)
// from images decoded once and kept, against decoding the page's three JPEG
// images for every paint. Uses the shipped skin and the native fonts.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "common/text.h"
#include "macro/macro_library.h"
#include "platform/native/freetype_text.h"
#include "platform/native/jpeg_image.h"
#include "profile/profile.h"
#include "ui/layout.h"
#include "ui/page_painter.h"
#include "ui/skin_image.h"

namespace korvel {
namespace {

struct Scene {
    Scene() {
        skin = fromPath(std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "res" / "skins");
        LayoutContext context{skin, 1, nullptr, {}, {}};
        loaded = loadSkinLayouts(context, layouts);
        profile.setFactoryValues();
        text = FreeTypeTextRenderer::open();
        if (!text) text = std::make_unique<BoxTextRenderer>();
        ui.currentPage = kPageMain;
    }
    PaintInput input() const { return PaintInput{layouts, profile, macros, ui, 1, 1, {}}; }
    // The pointer moves between two function entries: each paint is a hover change.
    void nextHover() {
        ui.mainHover = ui.mainHover == 25 ? 26 : 25;
    }
    std::u16string skin;
    bool loaded = false;
    SkinLayouts layouts;
    Profile profile;
    MacroTables macros;
    UiState ui;
    std::unique_ptr<TextRendererPort> text;
    JpegImageDecoder decoder;
    Canvas out;
};

void BM_MainHoverRepaintCached(benchmark::State& state) {
    Scene scene;
    if (!scene.loaded) {
        state.SkipWithError("shipped skin not found");
        return;
    }
    SkinImageCache cache(scene.decoder, scene.skin);
    pageImages(cache, kPageMain);  // the first paint decodes
    for (auto _ : state) {
        scene.nextHover();
        composePage(scene.out, pageImages(cache, kPageMain), scene.input(), *scene.text);
        benchmark::DoNotOptimize(scene.out.data());
    }
}
BENCHMARK(BM_MainHoverRepaintCached)->Unit(benchmark::kMicrosecond);

void BM_MainHoverRepaintDecodingEachTime(benchmark::State& state) {
    Scene scene;
    if (!scene.loaded) {
        state.SkipWithError("shipped skin not found");
        return;
    }
    const auto names = pageImageNames(kPageMain);
    const Canvas none;
    for (auto _ : state) {
        scene.nextHover();
        const SkinImage normal = loadSkinImage(scene.decoder, scene.skin, names[0]);
        const SkinImage over = loadSkinImage(scene.decoder, scene.skin, names[1]);
        const SkinImage down = loadSkinImage(scene.decoder, scene.skin, names[2]);
        const PageImages images{&normal.pixels, &over.pixels, &down.pixels, &none, &none};
        composePage(scene.out, images, scene.input(), *scene.text);
        benchmark::DoNotOptimize(scene.out.data());
    }
}
BENCHMARK(BM_MainHoverRepaintDecodingEachTime)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvel

BENCHMARK_MAIN();
