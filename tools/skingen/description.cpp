#include "description.h"

#include <stdexcept>
#include <string>

namespace skingen {

namespace {

struct Builder {
    std::vector<Control>& table;
    Page page;
    void operator()(int index, int x, int y, int w, int h, Kind kind, std::string id, std::string en = {},
                    std::string cn = {}, int extra = 0) {
        Control c;
        c.index = index;
        c.x = x;
        c.y = y;
        c.w = w;
        c.h = h;
        c.kind = kind;
        c.id = std::move(id);
        c.en = std::move(en);
        c.cn = std::move(cn);
        c.extra = extra;
        c.page = page;
        table.push_back(std::move(c));
    }
};

void sortAndCheck(std::vector<Control>& table, int count, const char* name) {
    std::vector<Control> sorted(count);
    std::vector<bool> seen(count, false);
    for (Control& c : table) {
        // A comma in a caption would shift the fields of the layout value.
        if (c.en.find(',') != std::string::npos || c.cn.find(',') != std::string::npos || c.id.find(',') != std::string::npos)
            throw std::logic_error(std::string("comma in a caption of ") + name + ": " + std::to_string(c.index));
        if (c.index < 0 || c.index >= count || seen[c.index])
            throw std::logic_error(std::string("bad or repeated index in ") + name + ": " + std::to_string(c.index));
        seen[c.index] = true;
        sorted[c.index] = c;
    }
    for (int i = 0; i < count; ++i)
        if (!seen[i]) throw std::logic_error(std::string("missing index in ") + name + ": " + std::to_string(i));
    table = std::move(sorted);
}

// Where the mouse picture's buttons lie (boxes of the highlights 115-123).
// Button b (0-8) is numbered b + 1 on the picture and in the function list.
struct MouseBox {
    int x, y, w, h;
};
constexpr MouseBox kMouseButtons[9] = {
    {228, 108, 66, 130},  // 0 left
    {316, 108, 66, 130},  // 1 right
    {296, 128, 18, 52},   // 2 wheel
    {212, 270, 16, 40},   // 3 side, front
    {212, 316, 16, 40},   // 4 side, rear
    {296, 186, 18, 22},   // 5 DPI +
    {296, 212, 18, 22},   // 6 DPI -
    {212, 226, 16, 38},   // 7 side, top
    {382, 262, 16, 44},   // 8 right side
};

SkinDescription build() {
    SkinDescription d;

    // ---- Main table: the frame (0-19) on every page.
    Builder m{d.mainControls, Page::Frame};
    m(0, 452, 516, 100, 32, Kind::Button, "save", "Save", "保存");
    m(1, 22, 10, 176, 42, Kind::Logo, "logo");
    m(2, 560, 516, 100, 32, Kind::Button, "cancel", "Cancel", "取消");
    m(3, 668, 516, 112, 32, Kind::Button, "apply", "Apply", "应用", 1);
    for (int p = 0; p < 5; ++p)
        m(4 + p, 28, 104 + 40 * p, 148, 34, Kind::Profile, "profile" + std::to_string(p + 1),
          "Profile " + std::to_string(p + 1), "配置 " + std::to_string(p + 1), p + 1);
    m(9, 238, 16, 112, 36, Kind::Tab, "tab_main", "BUTTONS", "按键设置");
    m(10, 354, 16, 112, 36, Kind::Tab, "tab_advanced", "ADVANCED", "高级设置");
    m(11, 470, 16, 112, 36, Kind::Tab, "tab_lighting", "LIGHTING", "灯光设置");
    m(12, 716, 18, 30, 30, Kind::Minimise, "minimise");
    m(13, 750, 18, 30, 30, Kind::Close, "close");
    m(14, 28, 336, 148, 30, Kind::Button, "import", "Import", "导入配置");
    m(15, 28, 372, 148, 30, Kind::Button, "export", "Export", "导出配置");
    m(16, 28, 408, 148, 30, Kind::Button, "reset", "Factory Reset", "恢复出厂");
    m(17, 616, 21, 42, 24, Kind::Pill, "chinese", {}, {}, 1);
    m(18, 662, 21, 42, 24, Kind::Pill, "english", {}, {}, 2);
    m(19, 28, 478, 148, 24, Kind::Link, "website", "korvel.example", "korvel.example");
    for (Control& c : d.mainControls) c.page = Page::Frame;

    // ---- Main page.
    m.page = Page::Main;
    // Button functions: numbered rows beside the mouse picture.
    m(20, 416, 74, 226, 18, Kind::Label, "head_buttons", "BUTTON FUNCTIONS", "按键功能");
    for (int b = 0; b < 9; ++b)
        m(25 + b, 444, 98 + 26 * b, 198, 22, Kind::FunctionRow, "button" + std::to_string(b + 1), {}, {}, b + 1);
    // Wheel mode and a short tip on the right.
    m(43, 654, 74, 128, 18, Kind::Label, "head_wheel", "SCROLL WHEEL", "滚轮模式");
    m(41, 654, 98, 128, 28, Kind::Option, "wheel_standard", "Standard", "标准");
    m(42, 654, 132, 128, 28, Kind::Option, "wheel_alternate", "Alternate", "备用");
    m(22, 654, 180, 128, 18, Kind::Label, "tip_head", "TIP", "提示");
    m(23, 654, 200, 128, 18, Kind::Label, "tip1", "Click a row to", "点击右侧功能行");
    m(24, 654, 218, 128, 18, Kind::Label, "tip2", "pick a function", "选择新的功能，");
    m(40, 654, 236, 128, 18, Kind::Label, "tip3", "then Apply.", "然后点击应用。");
    // DPI levels: radio, name, in-use switch, colour chip, 12-slot bar.
    m(21, 556, 350, 216, 18, Kind::Label, "head_dpi", "DPI", "DPI 值");
    m(44, 416, 350, 84, 18, Kind::Label, "head_level", "LEVEL", "档位");
    m(45, 500, 350, 40, 18, Kind::Label, "head_inuse", "ON", "启用");
    const char* levelEn[4] = {"Level 1", "Level 2", "Level 3", "Level 4"};
    const char* levelCn[4] = {"档位 1", "档位 2", "档位 3", "档位 4"};
    for (int L = 0; L < 4; ++L) {
        const int y = 372 + 30 * L;
        m(54 + L, 418, y, 24, 24, Kind::LevelSelect, "level_select" + std::to_string(L + 1), {}, {}, L);
        m(50 + L, 444, y, 56, 24, Kind::Label, "level_name" + std::to_string(L + 1), levelEn[L], levelCn[L], L);
        m(46 + L, 504, y + 3, 34, 18, Kind::Toggle, "level_on" + std::to_string(L + 1), {}, {}, L);
        m(58 + L, 541, y + 4, 12, 16, Kind::Deco, "level_colour" + std::to_string(L + 1), {}, {}, 100 + L);
        for (int s = 0; s < 12; ++s)
            m(66 + 12 * L + s, 556 + 18 * s, y, 18, 24, Kind::Slot,
              "dpi" + std::to_string(L + 1) + "_" + std::to_string(s + 1), {}, {}, L);
        m(62 + L, 774, y + 4, 10, 16, Kind::Deco, "level_end" + std::to_string(L + 1), {}, {}, 110 + L);
    }
    // Scale under the bars: slots 0, 2, 4, 6, 8 and 10.
    const char* scale[6] = {"200", "600", "1000", "1600", "2400", "4000"};
    for (int k = 0; k < 6; ++k) m(34 + k, 556 + 36 * k - 6, 492, 30, 16, Kind::Label, "scale" + std::to_string(k), scale[k], scale[k]);
    m(114, 200, 516, 180, 32, Kind::Deco, "device_chip", {}, {}, 1);
    for (int b = 0; b < 9; ++b) {
        const MouseBox& r = kMouseButtons[b];
        m(115 + b, r.x, r.y, r.w, r.h, Kind::MouseButton, "mouse_button" + std::to_string(b + 1), {}, {}, b);
    }
    sortAndCheck(d.mainControls, 124, "main");

    // ---- Colour page.
    Builder c{d.colourControls, Page::Colour};
    c(5, 206, 74, 196, 18, Kind::Label, "head_mode", "LIGHTING MODE", "灯光模式");
    const char* modeEn[4] = {"Slow Blink", "Fast Blink", "Always On", "Off"};
    const char* modeCn[4] = {"慢速闪烁", "快速闪烁", "常亮", "关闭"};
    for (int i = 0; i < 4; ++i) c(i, 206, 98 + 40 * i, 196, 32, Kind::Option, "mode" + std::to_string(i), modeEn[i], modeCn[i]);
    c(4, 206, 262, 196, 64, Kind::Deco, "bulb", {}, {}, 2);
    c(8, 206, 340, 196, 18, Kind::Label, "head_colours", "LEVEL COLOURS", "档位颜色");
    c(12, 206, 420, 196, 18, Kind::Label, "hint", "Apply to light the mouse", "应用后写入鼠标");
    c(6, 420, 74, 362, 18, Kind::Label, "head_preview", "PREVIEW", "效果预览");
    c(11, 420, 98, 362, 300, Kind::Preview, "preview");
    c(7, 420, 412, 150, 26, Kind::Label, "current_dpi", "Current DPI", "当前 DPI");
    c(9, 574, 412, 96, 26, Kind::Display, "dpi_value");
    c(10, 674, 412, 40, 26, Kind::Label, "dpi_unit", "DPI", "DPI");
    sortAndCheck(d.colourControls, 13, "colour");

    // ---- Advanced page.
    Builder a{d.advancedControls, Page::Advanced};
    a(38, 200, 74, 150, 18, Kind::Label, "head_macros", "MACROS", "宏列表");
    a(39, 362, 74, 184, 18, Kind::Label, "head_events", "EVENTS", "事件列表");
    a(45, 200, 310, 40, 22, Kind::Label, "name_label", "Name", "名称");
    a(2, 200, 340, 72, 26, Kind::Button, "macro_add", "Add", "添加");
    a(3, 278, 340, 72, 26, Kind::Button, "macro_delete", "Delete", "删除");
    a(6, 200, 374, 150, 26, Kind::ToggleRow, "play_mode", "Repeat", "按次数");
    a(50, 200, 408, 48, 22, Kind::Label, "repeat_label", "Times", "次数");
    a(5, 308, 408, 42, 22, Kind::Button, "repeat_set", "Set", "设定");
    a(4, 362, 368, 86, 28, Kind::Button, "record", "Record", "录制", 2);
    a(43, 452, 368, 45, 28, Kind::Display, "down_count", "[↓]0", "[↓]0");
    a(44, 501, 368, 45, 28, Kind::Display, "up_count", "[↑]0", "[↑]0");
    a(7, 362, 404, 184, 26, Kind::ToggleRow, "loop_all", "Loop Macros", "循环播放");
    a(51, 200, 446, 80, 24, Kind::Label, "library_label", "Library", "宏库文件");
    a(0, 284, 446, 126, 24, Kind::Button, "library_import", "Import", "导入宏库");
    a(1, 420, 446, 126, 24, Kind::Button, "library_export", "Export", "导出宏库");
    a(40, 566, 74, 216, 18, Kind::Label, "head_pointer", "POINTER SPEED", "指针速度");
    a(28, 566, 98, 24, 24, Kind::Deco, "pointer_icon", {}, {}, 3);
    for (int i = 0; i < 10; ++i) a(8 + i, 594 + 19 * i, 98, 18, 24, Kind::Step, "pointer" + std::to_string(i + 1), {}, {}, i + 1);
    a(46, 594, 124, 40, 16, Kind::Label, "slow", "slow", "慢");
    a(47, 744, 124, 40, 16, Kind::Label, "fast", "fast", "快");
    a(41, 566, 150, 216, 18, Kind::Label, "head_wheel", "SCROLL SPEED", "滚轮速度");
    a(29, 566, 172, 24, 24, Kind::Deco, "wheel_icon", {}, {}, 4);
    for (int i = 0; i < 10; ++i) a(18 + i, 594 + 19 * i, 172, 18, 24, Kind::Step, "wheel" + std::to_string(i + 1), {}, {}, i + 1);
    a(48, 594, 198, 50, 16, Kind::Label, "one_line", "1 line", "1 行");
    a(49, 724, 198, 60, 16, Kind::Label, "ten_lines", "10 lines", "10 行");
    a(42, 566, 226, 216, 18, Kind::Label, "head_fire", "FIRE INTERVAL", "连发间隔");
    a(32, 566, 250, 24, 24, Kind::Minus, "fire_minus");
    a(30, 596, 252, 156, 20, Kind::FireBar, "fire_bar");
    a(31, 758, 250, 24, 24, Kind::Plus, "fire_plus");
    a(33, 638, 280, 72, 24, Kind::Display, "fire_value", "50ms", "50ms");
    for (int i = 0; i < 4; ++i) a(34 + i, 574 + 52 * i, 330, 46, 46, Kind::Deco, "badge" + std::to_string(i + 1), {}, {}, 5 + i);
    sortAndCheck(d.advancedControls, 52, "advanced");

    auto child = [](int x, int y, int w, int h, const char* id) {
        Control k;
        k.x = x;
        k.y = y;
        k.w = w;
        k.h = h;
        k.kind = Kind::Child;
        k.id = id;
        k.page = Page::Advanced;
        return k;
    };
    d.macroListBox = child(200, 96, 150, 206, "macro_list");
    d.eventListBox = child(362, 96, 184, 262, "event_list");
    d.nameBox = child(244, 310, 106, 22, "name_edit");
    d.repeatBox = child(252, 408, 52, 22, "repeat_edit");

    // ---- Warning dialog.
    Builder w{d.warningControls, Page::Warning};
    w(0, 64, 106, 108, 30, Kind::Button, "go_on", "Continue", "继续", 3);
    w(1, 188, 106, 108, 30, Kind::Button, "decline", "Cancel", "取消", 3);
    w(2, 16, 66, 328, 24, Kind::Label, "message", "No other button does Left Click.", "没有其他按键为左键，确定更改？");
    sortAndCheck(d.warningControls, 3, "warning");

    // ---- Function captions 1-54, in function-code order.
    const char* fn[55][2] = {
        {"", ""},
        {"Left Click", "左键"},
        {"Right Click", "右键"},
        {"Middle Click", "中键"},
        {"Back", "后退"},
        {"Forward", "前进"},
        {"DPI Switch", "DPI 切换"},
        {"Advanced", "高级功能"},
        {"Multimedia", "多媒体"},
        {"Macros", "宏"},
        {"Quick Macros", "快捷宏"},
        {"Fire Key", "连发键"},
        {"Double Click", "双击"},
        {"Sniper", "狙击键"},
        {"OFF", "无功能"},
        {"DPI Up", "DPI 加"},
        {"DPI Down", "DPI 减"},
        {"DPI Lock", "DPI 锁定"},
        {"Reserved", "保留"},
        {"Reserved", "保留"},
        {"Reserved", "保留"},
        {"Home Page", "主页"},
        {"Media Player", "媒体播放器"},
        {"Email", "电子邮件"},
        {"Volume Up", "音量加"},
        {"Volume Down", "音量减"},
        {"Previous Track", "上一曲"},
        {"Next Track", "下一曲"},
        {"Mute", "静音"},
        {"Play/Pause", "播放/暂停"},
        {"Calculator", "计算器"},
        {"Quick Macro 1", "快捷宏 1"},
        {"Quick Macro 2", "快捷宏 2"},
        {"Quick Macro 3", "快捷宏 3"},
        {"Quick Macro 4", "快捷宏 4"},
        {"Quick Macro 5", "快捷宏 5"},
        {"Quick Macro 6", "快捷宏 6"},
        {"Quick Macro 7", "快捷宏 7"},
        {"Quick Macro 8", "快捷宏 8"},
        {"Run Calculator", "运行计算器"},
        {"Command Prompt", "命令提示符"},
        {"Macro 1", "宏 1"},
        {"Macro 2", "宏 2"},
        {"Macro 3", "宏 3"},
        {"Macro 4", "宏 4"},
        {"Macro 5", "宏 5"},
        {"Macro 6", "宏 6"},
        {"Macro 7", "宏 7"},
        {"Macro 8", "宏 8"},
        {"Macro 9", "宏 9"},
        {"Macro 10", "宏 10"},
        {"Macro 11", "宏 11"},
        {"Macro 12", "宏 12"},
        {"None", "无"},
        {"None", "无"},
    };
    for (int n = 1; n <= 54; ++n) {
        d.functionEn[n] = fn[n][0];
        d.functionCn[n] = fn[n][1];
    }
    return d;
}

}  // namespace

const SkinDescription& description() {
    static const SkinDescription d = build();
    return d;
}

}  // namespace skingen
