#pragma once
// Profile exchange files, the factory reset and the language switch. They act
// on the profile store here; everything they need from the macro library, the
// skin, the menus, the window and the mouse goes through ProfileFilesHost, so
// this module stays independent of them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/relaxed.h"
#include "profile/profile.h"

namespace korvel {

inline constexpr char16_t kProfileFileFilter[] = u"All Files(*.ini)|*.ini||";
inline constexpr char16_t kProfileFileExtension[] = u"ini";
inline constexpr std::uint32_t kImportDialogFlags = 0x5;  // read-only box ticked and hidden
inline constexpr std::uint32_t kExportDialogFlags = 0x6;  // read-only box hidden, confirm overwrite

struct FileDialogRequest {
    bool save = false;               // file-save, else file-open
    std::u16string filter;           // "All Files(*.ini)|*.ini||"
    std::u16string defaultExtension; // empty: none
    std::uint32_t flags = 0;
    std::u16string initialFolder;
};

class ProfileFilesHost {
public:
    virtual ~ProfileFilesHost() = default;
    // The framework's file dialog owned by the main window: the chosen full
    // path, or nothing when cancelled.
    virtual std::optional<std::u16string> chooseFile(const FileDialogRequest& request) = 0;
    virtual void repaint() = 0;
    virtual void applyProfile() = 0;  // ApplyProfile: CurConfig, section 6, current section, mouse
    // LoadMacroLibrary of the user table (the editor takes the loader's
    // current macro) and SaveMacroLibrary of it.
    virtual void loadUserMacros(std::u16string_view path) = 0;
    virtual void saveUserMacros(std::u16string_view path) = 0;
    virtual void setMacroLibraryPath(std::u16string_view path) = 0;
    virtual bool advancedPageShown() = 0;
    virtual void fillMacroList() = 0;
    virtual void loadSkinLayouts(std::int32_t verSel) = 0;  // main, colour, advanced, warning
    // Detach the event and tray menus, load the edition's resources and make
    // them owner-drawn.
    virtual void reloadMenus(std::int32_t verSel) = 0;
    virtual void setWindowTitle(std::int32_t verSel) = 0;
};

struct ProfileFilesContext {
    Profile& profile;
    std::u16string programFolder;
    std::u16string configPath;
    std::u16string skinFolder;
    const Relaxed<std::int32_t>& currentProfile;
    Relaxed<std::int32_t>& verSel;
};

// Library files of the editions (verSel 0 Chinese, otherwise English).
std::u16string editionMacroLibraryPath(std::u16string_view programFolder, std::int32_t verSel);
std::u16string defaultMacroLibraryPath(std::u16string_view skinFolder, std::int32_t verSel);

// Main page controls 14-18.
void importProfile(ProfileFilesContext& context, ProfileFilesHost& host);
void exportProfile(ProfileFilesContext& context, ProfileFilesHost& host);
void factoryReset(ProfileFilesContext& context, ProfileFilesHost& host);
void switchToChinese(ProfileFilesContext& context, ProfileFilesHost& host);
void switchToEnglish(ProfileFilesContext& context, ProfileFilesHost& host);
void switchEdition(ProfileFilesContext& context, ProfileFilesHost& host, std::int32_t verSel);

}  // namespace korvel
