#pragma once
#include "dialog.h"

namespace korvel::win {

// The About box: icon, version and an OK button.
class CAboutDlg : public Dialog {
public:
    CAboutDlg();
};

}  // namespace korvel::win
