#include "profile/profile_files.h"

#include "profile/config_store.h"

namespace korvel {

std::u16string editionMacroLibraryPath(std::u16string_view programFolder, std::int32_t verSel) {
    return std::u16string(programFolder) + (verSel != 0 ? u"\\Macro_EN.dat" : u"\\Macro_CN.dat");
}

std::u16string defaultMacroLibraryPath(std::u16string_view skinFolder, std::int32_t verSel) {
    return std::u16string(skinFolder) + (verSel != 0 ? u"\\INI_EN\\defMacro.dat" : u"\\INI_CN\\defMacro.dat");
}

void importProfile(ProfileFilesContext& context, ProfileFilesHost& host) {
    const auto path = host.chooseFile(
        FileDialogRequest{false, kProfileFileFilter, u"", kImportDialogFlags, context.programFolder});
    if (!path) return;
    // Neither applied nor saved: the user does that with the main page.
    loadProfile(context.profile, *path, kExchangeProfile, false, context.verSel);
    host.repaint();
}

void exportProfile(ProfileFilesContext& context, ProfileFilesHost& host) {
    const auto path = host.chooseFile(FileDialogRequest{true, kProfileFileFilter, kProfileFileExtension,
                                                        kExportDialogFlags, context.programFolder});
    if (!path) return;
    saveProfile(context.profile, *path, kExchangeProfile);
    host.repaint();
}

void factoryReset(ProfileFilesContext& context, ProfileFilesHost& host) {
    Profile& profile = context.profile;
    const std::int32_t verSel = context.verSel;
    // Profile 1 is the built-in factory profile; the macro-hold switch is the
    // user's own and survives.
    const std::int32_t macroMode2 = profile.macroMode2;
    profile.setFactoryValues();
    profile.macroMode2 = macroMode2;
    saveProfile(profile, context.configPath, 1);
    for (int n = 5; n >= 2; --n) {
        loadProfile(profile, context.configPath, n, true, verSel);
        saveProfile(profile, context.configPath, n);
    }
    loadProfile(profile, context.configPath, context.currentProfile, false, verSel);

    host.loadUserMacros(defaultMacroLibraryPath(context.skinFolder, verSel));
    if (host.advancedPageShown()) {
        host.fillMacroList();
        host.repaint();
    }
    host.saveUserMacros(editionMacroLibraryPath(context.programFolder, verSel));
    host.applyProfile();
}

void switchEdition(ProfileFilesContext& context, ProfileFilesHost& host, std::int32_t verSel) {
    context.verSel = verSel;
    writeVerSel(context.configPath, verSel);
    host.loadSkinLayouts(verSel);
    const std::u16string library = editionMacroLibraryPath(context.programFolder, verSel);
    host.setMacroLibraryPath(library);
    host.loadUserMacros(library);
    if (host.advancedPageShown()) {
        host.fillMacroList();
        host.repaint();
    }
    host.reloadMenus(verSel);
    host.setWindowTitle(verSel);
}

void switchToChinese(ProfileFilesContext& context, ProfileFilesHost& host) { switchEdition(context, host, 0); }
void switchToEnglish(ProfileFilesContext& context, ProfileFilesHost& host) { switchEdition(context, host, 1); }

}  // namespace korvel
