#pragma once
// Ready-made implementations of the device ports that are the same on every
// platform: clocks, an in-process event, do-nothing ports for tools, the
// configuration-file store and the macro tables as a playback source.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "device/device_ports.h"

namespace korvel {

// std::chrono::steady_clock, with real sleeps.
class SteadyClock final : public Clock {
public:
    std::int64_t nowMicros() override;
    void sleepUntilMicros(std::int64_t deadline) override;
};
// The process-wide real clock.
Clock& steadyClock();

// Virtual time: a sleep returns at once and moves the time to its deadline.
// For working out the timing of a playback without waiting for it.
class SimulatedClock final : public Clock {
public:
    std::int64_t nowMicros() override { return now_.load(std::memory_order_acquire); }
    void sleepUntilMicros(std::int64_t deadline) override;

private:
    std::atomic<std::int64_t> now_{0};
};

// Events that live inside this process; the name is kept, not shared.
class InProcessEventFactory final : public EventFactory {
public:
    std::unique_ptr<AutoResetEvent> createNamedAutoResetEvent(std::u16string_view name) override;
};

class NullSystemSettings final : public SystemSettings {
public:
    bool getPointerSpeed(int&) override { return false; }
    void setPointerSpeed(int) override {}
    bool getWheelScrollLines(unsigned&) override { return false; }
    void setWheelScrollLines(unsigned) override {}
};

class NullProgramLauncher final : public ProgramLauncher {
public:
    void launch(std::u16string_view) override {}
};

class NullRepaintRequester final : public RepaintRequester {
public:
    void requestRepaint(bool) override {}
};

// Writes nothing (for tools that only want to see the reports).
class NullProfileStore final : public ProfileStore {
public:
    explicit NullProfileStore(std::int32_t current = 1) : current_(current) {}
    std::int32_t currentProfileNumber() override { return current_; }
    void writeCurConfig(std::int32_t) override {}
    void saveProfile(const Profile&, int) override {}
    void saveDpiLevel(const Profile&, int) override {}
    void saveUsbSpeed(const Profile&, int) override {}

private:
    std::int32_t current_;
};

// config.ini of the application state: its `configPath` and `currentProfile`.
class ConfigFileStore final : public ProfileStore {
public:
    explicit ConfigFileStore(AppState& app) : app_(app) {}
    std::int32_t currentProfileNumber() override { return app_.currentProfile; }
    void writeCurConfig(std::int32_t number) override;
    void saveProfile(const Profile& profile, int number) override;
    void saveDpiLevel(const Profile& profile, int number) override;
    void saveUsbSpeed(const Profile& profile, int number) override;

private:
    AppState& app_;
};

// The process-wide macro tables, copied under their lock.
class MacroTablesSource final : public MacroSource {
public:
    MacroRecord userMacro(int index) override;
    MacroRecord constMacro(int index) override;
};

}  // namespace korvel
