// Resource identifiers of korvel.exe, shared by korvel.rc and the Windows code.
#pragma once

// Dialog templates.
#define IDD_ABOUTBOX          100
#define IDD_KORVEL_DIALOG     102
#define IDD_MAIN_MENU         103
#define IDD_SUB_MENU          104
#define IDD_WARNING           105

// Strings.
#define IDS_ABOUTBOX          101

// The application icon: window icon, tray icon and About box.
#define IDR_MAINFRAME         159

// Menus: the event-list context menu and the tray menu of each edition.
#define IDR_EVENT_MENU_EN     154
#define IDR_TRAY_MENU_EN      157
#define IDR_EVENT_MENU_CN     161
#define IDR_TRAY_MENU_CN      162

// System-menu command of the About entry (a multiple of 16, below 0xF000).
#define IDM_ABOUTBOX          0x0010

// Tray menu commands.
#define ID_TRAY_EXIT_EN       32800
#define ID_TRAY_SHOW_EN       32801
#define ID_TRAY_SHOW_CN       32837
#define ID_TRAY_EXIT_CN       32838

// Event-list commands, English menu.
#define ID_EVENT_EN_MODIFY_DELAY      32780
#define ID_EVENT_EN_DELETE            32781
#define ID_EVENT_EN_BEFORE_LEFT_DOWN  32802
#define ID_EVENT_EN_BEFORE_LEFT_UP    32803
#define ID_EVENT_EN_BEFORE_RIGHT_DOWN 32804
#define ID_EVENT_EN_BEFORE_RIGHT_UP   32805
#define ID_EVENT_EN_BEFORE_MID_DOWN   32806
#define ID_EVENT_EN_BEFORE_MID_UP     32807
#define ID_EVENT_EN_AFTER_LEFT_DOWN   32809
#define ID_EVENT_EN_AFTER_LEFT_UP     32810
#define ID_EVENT_EN_AFTER_RIGHT_DOWN  32811
#define ID_EVENT_EN_AFTER_RIGHT_UP    32812
#define ID_EVENT_EN_AFTER_MID_DOWN    32813
#define ID_EVENT_EN_AFTER_MID_UP      32814

// Event-list commands, Chinese menu.
#define ID_EVENT_CN_BEFORE_LEFT_DOWN  32817
#define ID_EVENT_CN_BEFORE_LEFT_UP    32818
#define ID_EVENT_CN_BEFORE_RIGHT_DOWN 32820
#define ID_EVENT_CN_BEFORE_RIGHT_UP   32821
#define ID_EVENT_CN_BEFORE_MID_DOWN   32823
#define ID_EVENT_CN_BEFORE_MID_UP     32824
#define ID_EVENT_CN_AFTER_LEFT_DOWN   32829
#define ID_EVENT_CN_AFTER_LEFT_UP     32830
#define ID_EVENT_CN_AFTER_RIGHT_DOWN  32831
#define ID_EVENT_CN_AFTER_RIGHT_UP    32832
#define ID_EVENT_CN_AFTER_MID_DOWN    32833
#define ID_EVENT_CN_AFTER_MID_UP      32834
#define ID_EVENT_CN_MODIFY_DELAY      32835
#define ID_EVENT_CN_DELETE            32836

// Tray icon: its id and the callback message (WM_USER + 1).
#define IDC_TRAY_ICON         153
#define WM_KORVEL_TRAY        0x0401
