// Device link timing with the virtual mouse and real time:
//  - idle CPU of the listener and dispatcher threads,
//  - from an input report to the first feature report of a macro,
//  - the gaps between consecutive sends of a macro against max(delay, 15) ms,
//    and their drift over a long macro.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "device/device_link.h"
#include "device/device_support.h"
#include "platform/virtual/virtual_mouse.h"

namespace korvel {
namespace {

class OneMacro final : public MacroSource {
public:
    MacroRecord userMacro(int) override {
        std::lock_guard lock(m_);
        return record_;
    }
    MacroRecord constMacro(int) override { return {}; }
    void set(const MacroRecord& r) {
        std::lock_guard lock(m_);
        record_ = r;
    }

private:
    std::mutex m_;
    MacroRecord record_{};
};

// The program runs its two worker threads at the highest normal priority;
// here a raised nice value stands in for it where the system allows it.
std::atomic<int> raisedThreads{0};
void raisePriority() {
    if (setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), -10) == 0) raisedThreads.fetch_add(1);
}

// A connected, applied link with its threads running; button 3 plays user
// macro 1.
struct Rig {
    Rig() {
        DevicePorts ports;
        ports.bus = &mouse;
        ports.clock = &steadyClock();
        ports.macros = &macros;
        ports.onWorkerThreadStart = raisePriority;
        profile.setFactoryValues();
        profile.buttonFunction[3] = kFnUserMacroFirst;
        link = std::make_unique<DeviceLink>(profile, ports);
        link->startThreads();
        link->ConnectMouse();
        link->ApplyProfile();
    }
    ~Rig() { link->stopThreads(); }
    // Waits, without touching the mouse (whose lock the sends take), until
    // the link has handled `reports` reports in all and is idle again.
    void waitIdle(std::uint64_t reports) {
        while (link->inputReportsHandled() < reports || link->macroBusy())
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    VirtualMouse mouse;
    OneMacro macros;
    Profile profile;
    std::unique_ptr<DeviceLink> link;
};

MacroRecord macroOf(int events, std::uint16_t delay) {
    MacroRecord r{};
    for (int k = 0; k < events; ++k) {
        r.events[k] = MacroEvent{static_cast<std::uint8_t>(4 + (k / 2) % 26), static_cast<std::uint8_t>(k % 2 ? ACTION_UP : ACTION_DOWN)};
        r.setDelay(k, delay);
    }
    r.eventCount = static_cast<std::uint8_t>(events);
    return r;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// CPU used by the whole process (the two worker threads; this thread sleeps)
// while the mouse is connected and nothing happens.
void BM_IdleCpu(benchmark::State& state) {
    Rig rig;
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double c0 = processCpuSeconds();
        const auto t0 = steadyClock().nowMicros();
        steadyClock().sleepForMillis(500);
        cpu += processCpuSeconds() - c0;
        wall += static_cast<double>(steadyClock().nowMicros() - t0) * 1e-6;
    }
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
}
BENCHMARK(BM_IdleCpu)->Iterations(4)->Unit(benchmark::kMillisecond);

// From the mouse queuing input report 6 of a press to the first feature
// report of the macro arriving at the mouse (both stamped by the mouse).
void BM_PressToFirstReport(benchmark::State& state) {
    Rig rig;
    rig.macros.set(macroOf(1, 0));
    std::vector<double> latencies;
    for (auto _ : state) {
        const std::size_t logStart = rig.mouse.log().size();
        const auto handled = rig.link->inputReportsHandled();
        rig.mouse.press(3);
        rig.mouse.release(3);
        rig.waitIdle(handled + 2);
        const auto log = rig.mouse.log();
        std::int64_t in = -1, out = -1;
        for (std::size_t i = logStart; i < log.size(); ++i) {
            if (in < 0 && log[i].kind == VirtualLogEntry::InputOut) in = log[i].micros;
            if (in >= 0 && log[i].kind == VirtualLogEntry::FeatureIn) {
                out = log[i].micros;
                break;
            }
        }
        latencies.push_back(static_cast<double>(out - in));
        state.SetIterationTime(static_cast<double>(out - in) * 1e-6);
    }
    state.counters["median_us"] = percentile(latencies, 0.5);
    state.counters["p99_us"] = percentile(latencies, 0.99);
    state.counters["max_us"] = percentile(latencies, 1.0);
}
BENCHMARK(BM_PressToFirstReport)->Iterations(100)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Gaps between consecutive event sends of one long macro (the pauses of
// ReleaseAll excluded), against the floor of max(delay, 15) ms.
void BM_MacroGaps(benchmark::State& state) {
    const int events = static_cast<int>(state.range(0));
    const auto delay = static_cast<std::uint16_t>(state.range(1));
    const double floorUs = 1000.0 * std::max<int>(delay, kMinEventDelayMs);
    Rig rig;
    // A record holds 255 events at most: a long macro is several repetitions.
    const int perRepetition = std::min(events, 250);
    MacroRecord r = macroOf(perRepetition, delay);
    r.playMode = 1;
    r.setRepeatCount(static_cast<std::uint16_t>((events + perRepetition - 1) / perRepetition));
    rig.macros.set(r);
    std::vector<double> excess;
    double firstTenth = 0, lastTenth = 0, below = 0;
    for (auto _ : state) {
        const std::size_t logStart = rig.mouse.featureLog().size();
        const auto handled = rig.link->inputReportsHandled();
        rig.mouse.press(3);
        rig.mouse.release(3);
        rig.waitIdle(handled + 2);
        const auto log = rig.mouse.featureLog();
        // Event sends are those not followed/preceded by ReleaseAll's pauses:
        // take consecutive sends within one repetition.
        std::vector<std::int64_t> stamps;
        std::size_t i = logStart;
        for (int rep = 0; rep * perRepetition < events && i < log.size(); ++rep) {
            for (int k = 0; k < perRepetition && i < log.size(); ++k, ++i) stamps.push_back(log[i].micros);
            stamps.push_back(-1);  // repetition boundary
            i += 2;                // ReleaseAll's two sends
        }
        for (std::size_t k = 1; k < stamps.size(); ++k) {
            if (stamps[k] < 0 || stamps[k - 1] < 0) continue;
            const double gap = static_cast<double>(stamps[k] - stamps[k - 1]);
            excess.push_back(gap - floorUs);
            if (gap < floorUs) ++below;
        }
    }
    const std::size_t tenth = std::max<std::size_t>(excess.size() / 10, 1);
    for (std::size_t k = 0; k < tenth && k < excess.size(); ++k) {
        firstTenth += excess[k];
        lastTenth += excess[excess.size() - 1 - k];
    }
    state.counters["gaps"] = static_cast<double>(excess.size());
    state.counters["raised_threads"] = raisedThreads.load();
    state.counters["below_floor"] = below;
    state.counters["min_excess_us"] = percentile(excess, 0.0);
    state.counters["median_excess_us"] = percentile(excess, 0.5);
    state.counters["p99_excess_us"] = percentile(excess, 0.99);
    state.counters["max_excess_us"] = percentile(excess, 1.0);
    // Drift: does the excess grow along the macro?
    state.counters["first10pct_mean_excess_us"] = firstTenth / static_cast<double>(tenth);
    state.counters["last10pct_mean_excess_us"] = lastTenth / static_cast<double>(tenth);
}
BENCHMARK(BM_MacroGaps)->Args({100, 0})->Args({100, 40})->Iterations(1)->Unit(benchmark::kMillisecond);
// The full 1000-event run (about 15 s): --benchmark_filter=BM_MacroGaps/1000
BENCHMARK(BM_MacroGaps)->Args({1000, 0})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvel

BENCHMARK_MAIN();
