#pragma once
// The colour page's lighting preview: a worker thread that imitates the
// mouse's light for the applied lighting mode by changing two display values
// (unlit or lit, and the level colour) and asking for repaints. It runs while
// the colour page is shown and ends by itself after the page is left.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "common/relaxed.h"
#include "profile/profile.h"
#include "ui/ui_state.h"

namespace korvel {

inline constexpr int kPreviewLevelChangeMs = 2000;
inline constexpr int kPreviewFastStepMs = 800;   // lighting mode 1
inline constexpr int kPreviewSlowStepMs = 1200;  // every other mode

// One pass of the preview loop: what it changes, and the waits it makes in
// order, each followed by the check whether the page is still shown. `wait`
// returns false when the preview must stop at once.
struct PreviewSteps {
    std::function<void()> requestRepaint;
    std::function<bool(int ms)> wait;
};

// The preview's remembered level, kept between passes.
struct PreviewMemory {
    std::int32_t lastLevel = 0;
};

// Starts the loop's values: the colour of the current level, lit.
void beginPreview(UiState& ui, const Profile& profile, PreviewMemory& memory);
// Runs one pass; returns false when a wait asked to stop.
bool runPreviewPass(UiState& ui, const Profile& profile, PreviewMemory& memory, const PreviewSteps& steps);

class LightingPreview {
public:
    LightingPreview(UiState& ui, const Profile& profile, std::function<void()> requestRepaint);
    // Stops the thread (tests and tools; the program keeps one for the run).
    ~LightingPreview();
    LightingPreview(const LightingPreview&) = delete;
    LightingPreview& operator=(const LightingPreview&) = delete;

    // startPreviewThread: starts the loop unless it is running.
    void startPreviewThread();
    bool running() const { return running_; }
    // Ends the loop at its next wait and waits for the thread.
    void stop();

private:
    void loop();
    bool waitMs(int ms);

    UiState& ui_;
    const Profile& profile_;
    std::function<void()> requestRepaint_;
    Relaxed<bool> running_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace korvel
