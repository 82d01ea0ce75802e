// Fuzz target: the configuration file. The input is the text of a config.ini;
// reading a profile from it must give values inside their tables, and a write
// must leave the written value readable and every other value as it was.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "common/ini.h"
#include "common/text.h"
#include "profile/config_store.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

const std::u16string& scratchFile() {
    static const std::u16string path = [] {
        const auto p = std::filesystem::temp_directory_path() / "korvel-fuzz-config.ini";
        return korvel::fromPath(p);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = fromUtf8(bytes);

    // A write is read back as written; the neighbours keep their values.
    const auto before = ini::Snapshot::fromText(text);
    bool ok = false;
    const auto after = ini::Snapshot::fromText(ini::applyWrites(text, {{u"Config1", u"K0", u"41"}}, &ok));
    check(ok);
    check(after.get(u"Config1", u"K0", 5) == u"41");
    for (const char16_t* key : {u"K1", u"DPI_LEVEL", u"FIRE_TIME"})
        check(after.get(u"Config1", key, 100) == before.get(u"Config1", key, 100));
    check(after.get(u"Init", u"CurConfig", 100) == before.get(u"Init", u"CurConfig", 100));

    // A profile loaded from whatever the file holds stays inside the tables.
    std::ofstream(toPath(scratchFile()), std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
    Profile p;
    loadProfile(p, scratchFile(), 1, false, 1);
    for (int i = 0; i < kButtonCount; ++i) check(p.buttonFunction[i] >= 0 && p.buttonFunction[i] < kFunctionCodeCount);
    for (int i = 0; i < kDpiLevelCount; ++i) check(p.dpiSet[i] < kDpiValueCount && p.dpiSetEn[i] <= 1);
    check(p.dpiLevel >= 0 && p.dpiLevel < kDpiLevelCount);
    check(p.ledStatus <= 3 && p.dpiSpeed <= 9 && p.wheelSpeed <= 9 && p.usbSpeed <= 3);
    check(p.fireTime >= 0 && p.fireTime <= kMaxFireTime);
    const int verSel = readVerSel(scratchFile());
    check(verSel >= 0 && verSel <= 255);
    return 0;
}
