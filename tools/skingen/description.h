#pragma once
// The one description of Korvel's skin: every control of every layout table
// with its box, its kind of drawing and its captions in both editions. The
// layout files are written from it and the images are drawn from it, so a
// box and its picture cannot disagree.
#include <array>
#include <string>
#include <vector>

namespace skingen {

enum class Kind {
    Button,       // push button
    Tab,          // page tab
    Profile,      // profile selector in the side bar
    Pill,         // small language button
    Minimise,
    Close,
    Logo,         // brand mark (hover look only)
    Label,        // text only
    Link,         // web link
    FunctionRow,  // a button's function entry (opens the menu)
    Option,       // one of a group of options, with a radio dot
    LevelSelect,  // DPI level radio in the level's colour
    Toggle,       // in-use switch without caption
    ToggleRow,    // switch with a caption
    Slot,         // one DPI value slot of a level bar
    Deco,         // hover-only ornament
    MouseButton,  // highlight of a button on the mouse picture
    Step,         // one step of a speed selector
    FireBar,
    Plus,
    Minus,
    Display,      // inset field for live text
    Preview,      // lighting preview
    Child,        // box of a child control (list or edit field)
};

enum class Page { Frame, Main, Advanced, Colour, Warning };

struct Control {
    int index = -1;
    int x = 0, y = 0, w = 0, h = 0;
    Kind kind = Kind::Label;
    std::string id;  // field 0 of the layout value
    std::string en;  // caption, English edition
    std::string cn;  // caption, Chinese edition
    int extra = 0;   // kind-specific: level, button number, ornament number
    Page page = Page::Main;
};

struct Size {
    int w, h;
};

struct SkinDescription {
    Size main{800, 560};
    Size menu{172, 291};     // 10 rows of 29 and the closing line
    Size subMenu{172, 349};  // 12 rows of 29 and the closing line
    Size warning{360, 156};
    int menuRow = 29;

    std::vector<Control> mainControls;      // indices 0-123 (0-19 the frame)
    std::vector<Control> colourControls;    // 0-12
    std::vector<Control> advancedControls;  // 0-51
    Control repeatBox, nameBox, macroListBox, eventListBox;
    std::vector<Control> warningControls;   // 0-2
    std::array<std::string, 55> functionEn{}, functionCn{};  // 1-54
};

const SkinDescription& description();

}  // namespace skingen
