#include "profile/profile_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "test_support.h"
#include "common/ini.h"
#include "common/text.h"
#include "profile/config_store.h"

namespace korvel {
namespace {

// Records every call in order, as text.
class FakeHost : public ProfileFilesHost {
public:
    std::optional<std::u16string> chosen;
    std::vector<FileDialogRequest> dialogs;
    std::vector<std::string> calls;
    bool advanced = false;

    std::optional<std::u16string> chooseFile(const FileDialogRequest& r) override {
        dialogs.push_back(r);
        return chosen;
    }
    void repaint() override { calls.push_back("repaint"); }
    void applyProfile() override { calls.push_back("apply"); }
    void loadUserMacros(std::u16string_view path) override { calls.push_back("load " + toUtf8(path)); }
    void saveUserMacros(std::u16string_view path) override { calls.push_back("save " + toUtf8(path)); }
    void setMacroLibraryPath(std::u16string_view path) override { calls.push_back("library " + toUtf8(path)); }
    bool advancedPageShown() override { return advanced; }
    void fillMacroList() override { calls.push_back("fill"); }
    void loadSkinLayouts(std::int32_t v) override { calls.push_back("layouts " + std::to_string(v)); }
    void reloadMenus(std::int32_t v) override { calls.push_back("menus " + std::to_string(v)); }
    void setWindowTitle(std::int32_t v) override { calls.push_back("title " + std::to_string(v)); }
};

void setSample(Profile& p) {
    const int buttons[] = {1, 2, 41, 5, 52, 16, 31, 0, 39};
    for (int i = 0; i < kButtonCount; ++i) p.buttonFunction[i] = buttons[i];
    p.dpiLevel = 2;
    p.wheelStatus = 1;
    p.macroMode2 = 1;
    const std::uint8_t set[] = {0, 3, 7, 11};
    const std::uint8_t en[] = {1, 0, 1, 1};
    for (int i = 0; i < kDpiLevelCount; ++i) {
        p.dpiSet[i] = set[i];
        p.dpiSetEn[i] = en[i];
    }
    p.ledStatus = 3;
    p.dpiSpeed = 9;
    p.wheelSpeed = 5;
    p.fireTime = 123;
    p.usbSpeed = 1;
}

std::vector<std::int64_t> fields(const Profile& p) {
    std::vector<std::int64_t> v;
    for (const auto& f : p.buttonFunction) v.push_back(f);
    v.insert(v.end(), {p.dpiLevel, p.wheelStatus, p.macroMode2});
    for (int i = 0; i < kDpiLevelCount; ++i) v.insert(v.end(), {p.dpiSet[i], p.dpiSetEn[i]});
    v.insert(v.end(), {p.ledStatus, p.dpiSpeed, p.wheelSpeed, p.fireTime, p.usbSpeed});
    return v;
}

class ProfileFilesTest : public ::testing::Test {
protected:
    ProfileFilesTest()
        : folder(fromPath(dir.root())),
          context{profile, folder, folder + u"\\config.ini", folder + u"\\skins", current, verSel} {}

    void writeConfig() {
        std::string text = "[Init]\r\nCurConfig=3\r\nVER_SEL=1\r\n";
        for (int n = 2; n <= 5; ++n)
            text += "[CfgReset" + std::to_string(n) + "]\r\nK0=1\r\nDPI_SET_EN0=1\r\nFIRE_TIME=10" + std::to_string(n) +
                    "\r\nMACRO_MODE2=0\r\n";
        text += "[CfgReset_EN5]\r\nK0=1\r\nDPI_SET_EN0=1\r\nFIRE_TIME=155\r\n";
        dir.write("config.ini", text);
    }

    test::TempFolder dir;
    std::u16string folder;
    Profile profile;
    Relaxed<std::int32_t> current{3};
    Relaxed<std::int32_t> verSel{1};
    ProfileFilesContext context;
    FakeHost host;
};

TEST_F(ProfileFilesTest, ExportThenImportRestoresEveryField) {
    setSample(profile);
    const auto saved = fields(profile);
    host.chosen = folder + u"\\mine.ini";
    exportProfile(context, host);
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_TRUE(host.dialogs[0].save);
    EXPECT_EQ(host.dialogs[0].filter, u"All Files(*.ini)|*.ini||");
    EXPECT_EQ(host.dialogs[0].defaultExtension, u"ini");
    EXPECT_EQ(host.dialogs[0].flags, 0x6u);
    EXPECT_EQ(host.dialogs[0].initialFolder, folder);

    profile.setFactoryValues();
    profile.macroMode2 = 0;
    ASSERT_NE(fields(profile), saved);
    importProfile(context, host);
    EXPECT_EQ(fields(profile), saved);
    EXPECT_FALSE(host.dialogs[1].save);
    EXPECT_EQ(host.dialogs[1].defaultExtension, u"");
    EXPECT_EQ(host.dialogs[1].flags, 0x5u);
    EXPECT_EQ(host.dialogs[1].initialFolder, folder);
    // Neither applied nor saved; both repainted.
    EXPECT_EQ(host.calls, (std::vector<std::string>{"repaint", "repaint"}));
    EXPECT_EQ(current, 3);
}

TEST_F(ProfileFilesTest, ExportIntoAConfigCopyReplacesOnlySectionSeven) {
    dir.write("copy.ini", "[Init]\r\nCurConfig=2\r\n[Config7]\r\nK0=9\r\nOLD=1\r\n[Config1]\r\nK0=4\r\n");
    setSample(profile);
    host.chosen = folder + u"\\copy.ini";
    exportProfile(context, host);
    const auto file = ini::Snapshot::load(host.chosen.value());
    EXPECT_EQ(file.get(u"Init", u"CurConfig", 10), u"2");
    EXPECT_EQ(file.get(u"Config1", u"K0", 10), u"4");
    EXPECT_EQ(file.get(u"Config7", u"K0", 10), u"1");
    EXPECT_EQ(file.get(u"Config7", u"FIRE_TIME", 10), u"123");
    EXPECT_EQ(file.get(u"Config7", u"MACRO_MODE2", 10), u"1");
}

TEST_F(ProfileFilesTest, CancelledDialogsChangeNothing) {
    setSample(profile);
    const auto before = fields(profile);
    importProfile(context, host);
    exportProfile(context, host);
    EXPECT_EQ(fields(profile), before);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.root()));
}

TEST_F(ProfileFilesTest, ImportWithoutSectionSevenGivesZeros) {
    dir.write("other.ini", "[Config1]\r\nK0=4\r\n");
    setSample(profile);
    host.chosen = folder + u"\\other.ini";
    importProfile(context, host);
    for (const auto& f : profile.buttonFunction) EXPECT_EQ(f, 0);
    EXPECT_EQ(profile.fireTime, 0);
    EXPECT_EQ(profile.macroMode2, 0);
}

struct ResetCase {
    const char* name;
    std::int32_t verSel;
    int profileFiveFireTime;
    const char* edition;
};
class FactoryResetCases : public ProfileFilesTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(FactoryResetCases, RewritesProfilesAndTheLibraryOfTheEdition) {
    writeConfig();
    verSel = GetParam().verSel;
    setSample(profile);  // macroMode2 1, the hold switch to keep
    host.advanced = true;
    factoryReset(context, host);

    const auto file = ini::Snapshot::load(context.configPath);
    EXPECT_EQ(file.get(u"Config5", u"FIRE_TIME", 10), fromUtf8(std::to_string(GetParam().profileFiveFireTime)));
    for (int n = 2; n <= 4; ++n)
        EXPECT_EQ(file.get(profileSectionName(n), u"FIRE_TIME", 10), u"10" + decimalText(n));
    // Profile 1: the built-in factory values, the hold switch kept.
    Profile one;
    loadProfile(one, context.configPath, 1, false, verSel);
    Profile factory;
    factory.setFactoryValues();
    factory.macroMode2 = 1;
    EXPECT_EQ(fields(one), fields(factory));
    // The current profile is still 3, freshly loaded from its new section.
    EXPECT_EQ(current, 3);
    EXPECT_EQ(profile.fireTime, 103);
    EXPECT_EQ(profile.macroMode2, 0);

    const std::string root = toUtf8(folder);
    const std::string ed = GetParam().edition;
    EXPECT_EQ(host.calls, (std::vector<std::string>{"load " + root + "\\skins\\INI_" + ed + "\\defMacro.dat", "fill",
                                                    "repaint", "save " + root + "\\Macro_" + ed + ".dat", "apply"}));
}

INSTANTIATE_TEST_SUITE_P(Table, FactoryResetCases,
                         ::testing::Values(ResetCase{"English", 1, 155, "EN"}, ResetCase{"Chinese", 0, 105, "CN"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileFilesTest, FactoryResetOffTheAdvancedPageDoesNotRefillTheList) {
    writeConfig();
    current = 1;
    factoryReset(context, host);
    EXPECT_EQ(host.calls.size(), 3u);
    EXPECT_EQ(host.calls.back(), "apply");
    EXPECT_EQ(profile.fireTime, 50);  // profile 1 reloaded
}

TEST_F(ProfileFilesTest, SwitchingEditionsReloadsEverythingOfTheEdition) {
    writeConfig();
    setSample(profile);
    const auto before = fields(profile);
    host.advanced = true;
    const std::string root = toUtf8(folder);

    switchToChinese(context, host);
    EXPECT_EQ(verSel, 0);
    EXPECT_EQ(readVerSel(context.configPath), 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"layouts 0", "library " + root + "\\Macro_CN.dat",
                                                    "load " + root + "\\Macro_CN.dat", "fill", "repaint", "menus 0",
                                                    "title 0"}));

    host.calls.clear();
    host.advanced = false;
    switchToEnglish(context, host);
    EXPECT_EQ(verSel, 1);
    EXPECT_EQ(readVerSel(context.configPath), 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"layouts 1", "library " + root + "\\Macro_EN.dat",
                                                    "load " + root + "\\Macro_EN.dat", "menus 1", "title 1"}));

    // The same edition again still does it all.
    host.calls.clear();
    switchToEnglish(context, host);
    EXPECT_EQ(host.calls.size(), 5u);
    // Neither the profile nor the mouse is touched.
    EXPECT_EQ(fields(profile), before);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "apply"), 0);
}

}  // namespace
}  // namespace korvel
