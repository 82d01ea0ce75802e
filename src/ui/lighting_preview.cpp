#include "ui/lighting_preview.h"

#include <chrono>

namespace korvel {

void beginPreview(UiState& ui, const Profile& profile, PreviewMemory& memory) {
    ui.previewColour = profile.dpiLevel;
    memory.lastLevel = profile.dpiLevel;
}

bool runPreviewPass(UiState& ui, const Profile& profile, PreviewMemory& memory, const PreviewSteps& steps) {
    const std::uint8_t mode = profile.ledStatusApplied;
    const std::int32_t level = profile.dpiLevel;
    if (mode == 3) {
        ui.previewDark = 1;
        ui.previewColour = level;
    } else if (mode == 2) {
        ui.previewDark = 0;
        ui.previewColour = level;
    } else if (level != memory.lastLevel) {
        // A new level shows its colour for a while first.
        ui.previewColour = level;
        ui.previewDark = 0;
        steps.requestRepaint();
        memory.lastLevel = level;
        if (!steps.wait(kPreviewLevelChangeMs)) return false;
    } else if (ui.previewDark != 0) {
        ui.previewDark = 0;
    } else {
        ui.previewDark = 1;
        ui.previewColour = (ui.previewColour + 1) & 3;
    }
    steps.requestRepaint();
    return steps.wait(mode == 1 ? kPreviewFastStepMs : kPreviewSlowStepMs);
}

LightingPreview::LightingPreview(UiState& ui, const Profile& profile, std::function<void()> requestRepaint)
    : ui_(ui), profile_(profile), requestRepaint_(std::move(requestRepaint)) {}

LightingPreview::~LightingPreview() { stop(); }

void LightingPreview::startPreviewThread() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (running_) return;
    lock.unlock();
    // A thread that ended by itself is joined before the next one starts.
    if (thread_.joinable()) thread_.join();
    lock.lock();
    stopping_ = false;
    running_ = true;
    lock.unlock();
    thread_ = std::thread([this] { loop(); });
}

void LightingPreview::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    running_ = false;
}

bool LightingPreview::waitMs(int ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void LightingPreview::loop() {
    PreviewMemory memory;
    beginPreview(ui_, profile_, memory);
    const PreviewSteps steps{[this] {
                                 if (requestRepaint_) requestRepaint_();
                             },
                             [this](int ms) { return waitMs(ms) && ui_.currentPage == kPageColour; }};
    for (;;) {
        while (ui_.currentPage == kPageColour)
            if (!runPreviewPass(ui_, profile_, memory, steps)) break;
        // Deciding to end and marking the thread not running is one step, so
        // a page change back to the colour page either sees it running (and
        // this loop goes on) or starts a new one.
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_ || ui_.currentPage != kPageColour) {
            running_ = false;
            return;
        }
    }
}

}  // namespace korvel
