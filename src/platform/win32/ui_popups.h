#pragma once
// The skinned popups of the main page: the function menu (CMenuDlg, template
// 103) with its sub-menu (CSubMenuDlg, template 104), both modeless, and the
// warning dialog (WarningDlg, template 105), modal. Each forwards its
// messages to the core's controller and shows what the controller draws.
#include <memory>

#include "dialog.h"
#include "ui/function_menu.h"
#include "ui/warning_dialog.h"

namespace korvel::win {

class CSubMenuDlg;

class CMenuDlg : public Dialog {
public:
    CMenuDlg();
    ~CMenuDlg() override;

private:
    bool onInitDialog() override;
    void paint();
    void invalidate();

    FunctionMenu menu_;
    std::unique_ptr<CSubMenuDlg> subMenu_;
};

class CSubMenuDlg : public Dialog {
public:
    CSubMenuDlg();

private:
    bool onInitDialog() override;
    void paint();
    void choose();

    SubMenu subMenu_;
};

class WarningDlg : public Dialog {
public:
    WarningDlg();

private:
    bool onInitDialog() override;
    void paint();

    WarningDialog dialog_;
};

}  // namespace korvel::win
