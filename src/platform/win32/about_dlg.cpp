#include "about_dlg.h"

#include "resource.h"

namespace korvel::win {

CAboutDlg::CAboutDlg() : Dialog(IDD_ABOUTBOX) {
    onCommand(IDOK, [this] { end(IDOK); });
    onCommand(IDCANCEL, [this] { end(IDCANCEL); });
}

}  // namespace korvel::win
