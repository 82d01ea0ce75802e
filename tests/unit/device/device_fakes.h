#pragma once
// Recording stand-ins for the device ports, and a clock the test drives.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "device/device_ports.h"
#include "macro/macro_record.h"
#include "profile/profile.h"

namespace korvel::test {

// Time moves only when the test says so, or freely (every sleep returns at
// once at its deadline) once `runFree` is set.
class ManualClock final : public Clock {
public:
    std::int64_t nowMicros() override {
        std::lock_guard lock(m_);
        return now_;
    }
    void sleepUntilMicros(std::int64_t deadline) override {
        std::unique_lock lock(m_);
        ++sleepers_;
        ++sleepsStarted_;
        cv_.notify_all();
        cv_.wait(lock, [&] { return free_ || now_ >= deadline; });
        now_ = std::max(now_, deadline);
        --sleepers_;
        cv_.notify_all();
    }
    void runFree() {
        std::lock_guard lock(m_);
        free_ = true;
        cv_.notify_all();
    }
    void advanceMicros(std::int64_t us) {
        std::lock_guard lock(m_);
        now_ += us;
        cv_.notify_all();
    }
    // Waits until `count` sleeps have started in total.
    bool waitForSleeps(int count, int timeoutMs = 10000) {
        std::unique_lock lock(m_);
        return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return sleepsStarted_ >= count; });
    }
    int sleepsStarted() {
        std::lock_guard lock(m_);
        return sleepsStarted_;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    std::int64_t now_ = 1'000'000;
    int sleepers_ = 0;
    int sleepsStarted_ = 0;
    bool free_ = false;
};

class RecordingSettings final : public SystemSettings {
public:
    bool pointerQueryWorks = true;
    bool wheelQueryWorks = true;
    std::vector<int> pointerSpeeds;
    std::vector<unsigned> wheelLines;
    bool getPointerSpeed(int& s) override {
        s = 7;
        return pointerQueryWorks;
    }
    void setPointerSpeed(int s) override { pointerSpeeds.push_back(s); }
    bool getWheelScrollLines(unsigned& l) override {
        l = 3;
        return wheelQueryWorks;
    }
    void setWheelScrollLines(unsigned l) override { wheelLines.push_back(l); }
};

class RecordingLauncher final : public ProgramLauncher {
public:
    void launch(std::u16string_view program) override {
        std::lock_guard lock(m_);
        started_.emplace_back(program);
    }
    std::vector<std::u16string> started() {
        std::lock_guard lock(m_);
        return started_;
    }

private:
    std::mutex m_;
    std::vector<std::u16string> started_;
};

class CountingRepaint final : public RepaintRequester {
public:
    void requestRepaint(bool) override { count_.fetch_add(1); }
    int count() const { return count_.load(); }

private:
    std::atomic<int> count_{0};
};

// Records which saves happened, with the value saved.
class RecordingStore final : public ProfileStore {
public:
    std::int32_t current = 3;
    std::int32_t currentProfileNumber() override { return current; }
    void writeCurConfig(std::int32_t n) override { add("CurConfig", n); }
    void saveProfile(const Profile&, int n) override { add("profile", n); }
    void saveDpiLevel(const Profile& p, int n) override { add("DPI_LEVEL", n * 100 + p.dpiLevel); }
    void saveUsbSpeed(const Profile& p, int n) override { add("USB_SPEED", n * 100 + p.usbSpeed); }
    std::vector<std::pair<std::string, int>> writes() {
        std::lock_guard lock(m_);
        return writes_;
    }

private:
    void add(const char* what, int n) {
        std::lock_guard lock(m_);
        writes_.emplace_back(what, n);
    }
    std::mutex m_;
    std::vector<std::pair<std::string, int>> writes_;
};

class FakeMacros final : public MacroSource {
public:
    MacroRecord userMacro(int index) override {
        std::lock_guard lock(m_);
        return index >= 0 && index < 13 ? user[index] : MacroRecord{};
    }
    MacroRecord constMacro(int index) override {
        std::lock_guard lock(m_);
        return index >= 0 && index < 13 ? constant[index] : MacroRecord{};
    }
    void setUser(int index, const MacroRecord& r) {
        std::lock_guard lock(m_);
        user[index] = r;
    }
    void setConst(int index, const MacroRecord& r) {
        std::lock_guard lock(m_);
        constant[index] = r;
    }

private:
    std::mutex m_;
    MacroRecord user[13]{};
    MacroRecord constant[13]{};
};

struct Ev {
    std::uint8_t code, action;
    std::uint16_t delay;
};

inline MacroRecord makeMacro(std::initializer_list<Ev> events, std::uint8_t playMode = 0, std::uint16_t repeat = 0) {
    MacroRecord r{};
    r.playMode = playMode;
    r.setRepeatCount(repeat);
    int k = 0;
    for (const Ev& e : events) {
        r.events[k] = MacroEvent{e.code, e.action};
        r.setDelay(k, e.delay);
        ++k;
    }
    r.eventCount = static_cast<std::uint8_t>(k);
    return r;
}

// Key usages.
inline constexpr std::uint8_t kA = 4, kB = 5, kC = 6, kK = 14, kO = 18, kShift = 225;

inline Profile factoryProfile() {
    Profile p;
    p.setFactoryValues();
    return p;
}

}  // namespace korvel::test
