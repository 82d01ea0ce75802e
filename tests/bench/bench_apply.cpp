// ApplyProfile on the user-interface thread, with the virtual mouse:
//  - the sixteen feature reports and the system settings alone,
//  - the whole operation, which also writes "CurConfig", the applied copy
//    and the profile's own section into a config.ini (a copy of the shipped
//    one, in a temporary folder), as a click on Apply does.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "app/app_state.h"
#include "common/text.h"
#include "device/device_link.h"
#include "device/device_support.h"
#include "platform/virtual/virtual_mouse.h"

namespace korvel {
namespace {

class FakeSettings final : public SystemSettings {
public:
    bool getPointerSpeed(int& speed) override {
        speed = speed_;
        return true;
    }
    void setPointerSpeed(int speed) override { speed_ = speed; }
    bool getWheelScrollLines(unsigned& lines) override {
        lines = lines_;
        return true;
    }
    void setWheelScrollLines(unsigned lines) override { lines_ = lines; }

private:
    int speed_ = 10;
    unsigned lines_ = 3;
};

struct ApplyRig {
    explicit ApplyRig(ProfileStore* store) {
        DevicePorts ports;
        ports.bus = &mouse;
        ports.settings = &settings;
        ports.store = store;
        profile.setFactoryValues();
        link = std::make_unique<DeviceLink>(profile, ports);
        link->ConnectMouse();
    }
    VirtualMouse mouse;
    FakeSettings settings;
    Profile profile;
    std::unique_ptr<DeviceLink> link;
};

void BM_ApplyProfileReportsOnly(benchmark::State& state) {
    NullProfileStore store(1);
    ApplyRig rig(&store);
    for (auto _ : state) rig.link->ApplyProfile();
}
BENCHMARK(BM_ApplyProfileReportsOnly)->Unit(benchmark::kMicrosecond);

void BM_ApplyProfileWithConfigFile(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("korvel-bench-apply-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path shipped = fs::path(KORVEL_SOURCE_DIR) / "res" / "config.ini";
    if (fs::exists(shipped)) fs::copy_file(shipped, folder / "config.ini", fs::copy_options::overwrite_existing);

    AppState& app = appState();
    app.programFolder = fromPath(folder);
    app.configPath = app.programFolder + u"\\config.ini";
    app.currentProfile = 1;
    ConfigFileStore store(app);
    ApplyRig rig(&store);
    for (auto _ : state) rig.link->ApplyProfile();
    fs::remove_all(folder);
}
BENCHMARK(BM_ApplyProfileWithConfigFile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvel

BENCHMARK_MAIN();
