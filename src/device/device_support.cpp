#include "device/device_support.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "macro/macro_library.h"
#include "profile/config_store.h"

namespace korvel {

std::int64_t SteadyClock::nowMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepUntilMicros(std::int64_t deadline) {
    using namespace std::chrono;
    std::this_thread::sleep_until(steady_clock::time_point(duration_cast<steady_clock::duration>(microseconds(deadline))));
}

Clock& steadyClock() {
    static SteadyClock clock;
    return clock;
}

void SimulatedClock::sleepUntilMicros(std::int64_t deadline) {
    std::int64_t now = now_.load(std::memory_order_acquire);
    while (now < deadline && !now_.compare_exchange_weak(now, deadline, std::memory_order_acq_rel)) {
    }
}

namespace {

class InProcessEvent final : public AutoResetEvent {
public:
    explicit InProcessEvent(std::u16string_view name) : name_(name) {}
    void set() override {
        {
            std::lock_guard lock(m_);
            signalled_ = true;
        }
        cv_.notify_one();
    }
    bool wait(int timeoutMs) override {
        std::unique_lock lock(m_);
        if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return signalled_; })) return false;
        signalled_ = false;
        return true;
    }

private:
    std::u16string name_;
    std::mutex m_;
    std::condition_variable cv_;
    bool signalled_ = false;  // created not signalled
};

}  // namespace

std::unique_ptr<AutoResetEvent> InProcessEventFactory::createNamedAutoResetEvent(std::u16string_view name) {
    return std::make_unique<InProcessEvent>(name);
}

void ConfigFileStore::writeCurConfig(std::int32_t number) { korvel::writeCurConfig(app_.configPath, number); }
void ConfigFileStore::saveProfile(const Profile& profile, int number) { korvel::saveProfile(profile, app_.configPath, number); }
void ConfigFileStore::saveDpiLevel(const Profile& profile, int number) { korvel::saveDpiLevel(profile, app_.configPath, number); }
void ConfigFileStore::saveUsbSpeed(const Profile& profile, int number) { korvel::saveUsbSpeed(profile, app_.configPath, number); }

MacroRecord MacroTablesSource::userMacro(int index) { return snapshotUserMacro(index); }
MacroRecord MacroTablesSource::constMacro(int index) { return snapshotConstMacro(index); }

}  // namespace korvel
