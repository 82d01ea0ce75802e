#pragma once
// The main window: a borderless dialog that lives for the whole run, hides
// to the tray when closed, and ends only through the exit routine.
#include "app/main_window_host.h"
#include "dialog.h"

namespace korvel::win {

class CKorvelDlg : public Dialog, public MainWindowHost {
public:
    CKorvelDlg();
    ~CKorvelDlg() override;

private:
    bool onInitDialog() override;
    bool preTranslateMessage(MSG& message) override;

    std::optional<LRESULT> onSysCommand(WPARAM command);
    LRESULT onTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    void showFromTray();
    void exitProgram();
    void paint();

    // MainWindowHost
    void startWorkerThreads() override;
    void appendAboutEntry() override;
    void setLargeIcon() override;
    void setTitle(std::u16string_view title) override;
    bool loadSkinLayouts() override;
    void createMacroControls() override;
    bool loadWarningLayout() override;
    void createFonts() override;
    void shapeWindow() override;
    void loadMenus(std::int32_t verSel) override;
    void startMacroEditor(int currentMacro) override;
    bool connectMouse() override;
    void showMessage(std::u16string_view text) override;
    void sleepMs(int ms) override;
    void addTrayIcon() override;
    void removeTrayIcon() override;
    void minimize() override;
    void hide() override;
    void repaint() override;
    void destroyWindow() override;
    bool getPointerSpeed(int& speed) override;
    void setPointerSpeed(int speed) override;

    HICON icon_;
};

}  // namespace korvel::win
