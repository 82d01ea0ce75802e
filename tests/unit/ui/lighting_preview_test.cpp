#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "ui/lighting_preview.h"

namespace korvel {
namespace {

// Runs passes with recorded waits instead of sleeping.
struct PreviewRun {
    UiState ui;
    Profile profile;
    PreviewMemory memory;
    std::vector<std::string> log;  // "paint", "wait N"
    PreviewSteps steps{[this] { log.push_back("paint"); },
                       [this](int ms) {
                           log.push_back("wait " + std::to_string(ms));
                           return true;
                       }};
    PreviewRun(std::uint8_t mode, std::int32_t level) {
        profile.ledStatusApplied = mode;
        profile.dpiLevel = level;
        ui.currentPage = kPageColour;
        beginPreview(ui, profile, memory);
    }
    std::pair<int, int> pass() {
        log.clear();
        runPreviewPass(ui, profile, memory, steps);
        return {ui.previewDark, ui.previewColour};
    }
};

TEST(LightingPreview, BlinkingModesAlternateUnlitAndTheNextColour) {
    for (std::uint8_t mode : {0, 1}) {
        PreviewRun run(mode, 2);
        const std::string wait = mode == 1 ? "wait 800" : "wait 1200";
        EXPECT_EQ(run.pass(), (std::pair{1, 3}));
        EXPECT_EQ(run.log, (std::vector<std::string>{"paint", wait}));
        EXPECT_EQ(run.pass(), (std::pair{0, 3}));
        EXPECT_EQ(run.pass(), (std::pair{1, 0}));  // 3 wraps to 0
        EXPECT_EQ(run.pass(), (std::pair{0, 0}));
    }
}

TEST(LightingPreview, SteadyModesFollowTheLevel) {
    PreviewRun lit(2, 1);
    EXPECT_EQ(lit.pass(), (std::pair{0, 1}));
    lit.profile.dpiLevel = 3;
    EXPECT_EQ(lit.pass(), (std::pair{0, 3}));
    EXPECT_EQ(lit.log, (std::vector<std::string>{"paint", "wait 1200"}));
    PreviewRun unlit(3, 2);
    EXPECT_EQ(unlit.pass(), (std::pair{1, 2}));
    EXPECT_EQ(unlit.pass(), (std::pair{1, 2}));
}

TEST(LightingPreview, ANewLevelShowsItsColourForTwoSecondsFirst) {
    PreviewRun run(0, 0);
    run.pass();  // unlit
    run.profile.dpiLevel = 2;
    EXPECT_EQ(run.pass(), (std::pair{0, 2}));
    EXPECT_EQ(run.log, (std::vector<std::string>{"paint", "wait 2000", "paint", "wait 1200"}));
}

TEST(LightingPreview, ThreadRunsWhileTheColourPageIsShownAndEndsAfter) {
    UiState ui;
    Profile profile;
    profile.ledStatusApplied = 2;
    std::atomic<int> repaints{0};
    LightingPreview preview(ui, profile, [&] { ++repaints; });
    ui.currentPage = kPageColour;
    preview.startPreviewThread();
    EXPECT_TRUE(preview.running());
    preview.startPreviewThread();  // already running: nothing more
    for (int i = 0; i < 500 && repaints == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(repaints.load(), 0);
    ui.currentPage = kPageMain;
    preview.stop();
    EXPECT_FALSE(preview.running());
    // And it can start again.
    ui.currentPage = kPageColour;
    preview.startPreviewThread();
    EXPECT_TRUE(preview.running());
    preview.stop();
}

}  // namespace
}  // namespace korvel
