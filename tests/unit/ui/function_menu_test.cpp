#include <gtest/gtest.h>

#include "paint_test_skin.h"
#include "ui/function_menu.h"
#include "ui/warning_dialog.h"

namespace korvel {
namespace {

using namespace test;

constexpr std::int32_t kRow = 29;

class MenuTest : public ::testing::Test {
protected:
    MenuTest() : cache(decoder, u"S"), menu(popups, cache, text), sub(popups, cache, text) {
        decoder.files[std::u16string(skinFile::kMenuMask)] = Canvas(172, 291);
        decoder.files[std::u16string(skinFile::kMenuNormal)] = Canvas(172, 291, kNormal);
        decoder.files[std::u16string(skinFile::kMenuOver)] = Canvas(172, 291, kOver);
        decoder.files[std::u16string(skinFile::kMenuDown)] = Canvas(172, 291, kDown);
        decoder.files[std::u16string(skinFile::kSubMenuMask)] = Canvas(150, 349);
        decoder.files[std::u16string(skinFile::kSubMenuNormal)] = Canvas(150, 349, kNormal);
        decoder.files[std::u16string(skinFile::kSubMenuOver)] = Canvas(150, 349, kOver);
        decoder.files[std::u16string(skinFile::kSubMenuDown)] = Canvas(150, 349, kDown);
        profile.setFactoryValues();
        popups.selectedButton = 27;  // button 2
        menu.initialise();
    }
    std::int32_t rowY(int r) const { return (r - 1) * kRow + 3; }
    void hoverMenuRow(int r) { menu.onPointerMove(10, rowY(r)); }
    // Opens the sub-menu of a menu row as the menu's paint does.
    SubMenuAction openSub(int r) {
        hoverMenuRow(r);
        Canvas c;
        menu.paint(c, layouts, 1);
        const SubMenuAction a = menu.afterPaint(macros.userMacroCount);
        if (a.openAt) sub.initialise(macros.userMacroCount);
        return a;
    }

    MemoryDecoder decoder;
    SkinImageCache cache;
    RecordingText text;
    PopupState popups;
    SkinLayouts layouts = testLayouts();
    MacroTables macros;
    Profile profile;
    FunctionMenu menu;
    SubMenu sub;
};

TEST_F(MenuTest, ShapeComesFromTheMask) {
    EXPECT_EQ(menu.size().width, 172);
    EXPECT_EQ(menu.size().rowHeight, 29);
    EXPECT_EQ(menu.size().height, 291);
    EXPECT_EQ(menu.outline(), (Rect{0, 0, 172, 291}));
    EXPECT_EQ(popups.menuHover, kNone);
}

TEST_F(MenuTest, RowHitTestExcludesRightAndBottomEdges) {
    EXPECT_EQ(popupRowAt(0, 0, 172, 29, 12), 1);
    EXPECT_EQ(popupRowAt(171, 28, 172, 29, 12), 1);
    EXPECT_EQ(popupRowAt(171, 29, 172, 29, 12), 2);
    EXPECT_EQ(popupRowAt(172, 5, 172, 29, 12), kNone);
    EXPECT_EQ(popupRowAt(5, 290, 172, 29, 12), 11);  // the closing line: a row without effect
    EXPECT_EQ(popupRowAt(5, 12 * 29, 172, 29, 12), kNone);
    EXPECT_EQ(popupRowAt(-1, 5, 172, 29, 12), kNone);
    EXPECT_EQ(popupRowAt(5, 5, 172, 0, 12), kNone);  // no mask, no rows
}

TEST_F(MenuTest, ReleaseOnRowsOneToSixAssignsAndCloses) {
    for (int r = 1; r <= 12; ++r) {
        profile.setFactoryValues();
        hoverMenuRow(r);
        menu.onButtonDown();
        const bool close = menu.onButtonUp(profile);
        EXPECT_EQ(close, r <= 6) << r;
        EXPECT_EQ(profile.buttonFunction[2], r <= 6 ? r : 3) << r;
        EXPECT_FALSE(popups.menuHeld);
    }
}

TEST_F(MenuTest, LeftButtonRuleAppliesToEveryChoice) {
    popups.selectedButton = 25;  // button 0, the only left click
    hoverMenuRow(2);
    menu.onButtonUp(profile);
    EXPECT_EQ(profile.buttonFunction[0], 2);
    EXPECT_EQ(profile.buttonFunction[1], 1);
    profile.setFactoryValues();
    profile.buttonFunction[0] = 3;
    profile.buttonFunction[8] = 1;
    popups.selectedButton = 33;  // button 8
    hoverMenuRow(2);
    menu.onButtonUp(profile);
    EXPECT_EQ(profile.buttonFunction[8], 1);
}

TEST_F(MenuTest, RepaintsOnlyWhenTheRowChanges) {
    EXPECT_TRUE(menu.onPointerMove(10, rowY(3)));
    EXPECT_FALSE(menu.onPointerMove(40, rowY(3) + 10));
    EXPECT_TRUE(menu.onPointerMove(40, rowY(4)));
}

TEST_F(MenuTest, PaintShowsTheRowLookAndCentredCaptions) {
    hoverMenuRow(5);
    menu.onButtonDown();
    Canvas c;
    menu.paint(c, layouts, 1);
    EXPECT_EQ(c.width(), 172);
    EXPECT_EQ(c.height(), 291);
    EXPECT_EQ(c.pixel(0, 4 * kRow), kDown);
    EXPECT_EQ(c.pixel(171, 5 * kRow - 1), kDown);
    EXPECT_EQ(c.pixel(0, 5 * kRow), kNormal);
    EXPECT_EQ(c.pixel(0, 4 * kRow - 1), kNormal);
    menu.onButtonUp(profile);
    menu.paint(c, layouts, 1);
    EXPECT_EQ(c.pixel(0, 4 * kRow), kOver);
    ASSERT_EQ(text.calls.size(), 20u);  // ten captions per paint
    for (int r = 1; r <= 10; ++r) {
        const auto& call = text.calls[10 + r - 1];
        EXPECT_EQ(call.text, layouts.functionCaptions[r]);
        const std::int32_t cx = BoxTextRenderer().measure(UiFont::English, call.text).cx;
        EXPECT_EQ(call.x, (172 - cx) / 2);
        EXPECT_EQ(call.y, (r - 1) * kRow + (kRow - 14) / 2);
        EXPECT_EQ(call.colour, r == 5 ? kCaptionRed : kCaptionWhite);
    }
}

TEST_F(MenuTest, SubMenusByRowWithOffsetsRowsAndCodes) {
    setMacroNames(macros, 3);
    const struct {
        int menuRow;
        int rows;
        std::int32_t offset;
        int firstCode;
    } cases[] = {{7, 6, 1 * kRow, 11}, {8, 10, -2 * kRow, 21}, {9, 3, 6 * kRow, 41}, {10, 8, 2 * kRow, 31}};
    for (const auto& c : cases) {
        const SubMenuAction a = openSub(c.menuRow);
        ASSERT_TRUE(a.openAt) << c.menuRow;
        EXPECT_EQ(*a.openAt, (ScreenPoint{172, c.offset}));
        EXPECT_EQ(popups.subMenuRows, c.rows);
        EXPECT_EQ(sub.outline(), (Rect{0, 0, 150, c.rows * kRow + 1}));
        for (int d = 1; d <= c.rows; ++d) {
            profile.setFactoryValues();
            sub.onPointerMove(5, (d - 1) * kRow + 1);
            sub.onButtonDown();
            EXPECT_EQ(sub.onButtonUp(profile), c.firstCode + d - 1);
            EXPECT_EQ(profile.buttonFunction[2], c.firstCode + d - 1);
            EXPECT_TRUE(popups.closeMenuPending);
            EXPECT_FALSE(popups.subMenuHeld);
            EXPECT_EQ(popups.lastSubMenuCode, c.firstCode + d - 1);
        }
    }
}

TEST_F(MenuTest, MovingBetweenRowsReplacesOrClosesTheSubMenu) {
    const SubMenuAction a = openSub(7);
    EXPECT_FALSE(a.closeOpen);
    const SubMenuAction b = openSub(10);
    EXPECT_TRUE(b.closeOpen);
    EXPECT_TRUE(b.openAt);
    EXPECT_EQ(popups.subMenuRows, 8);
    const SubMenuAction c = openSub(2);
    EXPECT_TRUE(c.closeOpen);
    EXPECT_FALSE(c.openAt);
    EXPECT_FALSE(popups.subMenuOpen);
}

TEST_F(MenuTest, SubMenuCaptions) {
    setMacroNames(macros, 3);
    openSub(9);
    Canvas c;
    text.calls.clear();
    sub.onPointerMove(5, kRow + 2);
    sub.paint(c, layouts, macros, 1);
    ASSERT_EQ(text.calls.size(), 3u);
    EXPECT_EQ(text.calls[0].text, u"Macro1");
    EXPECT_EQ(text.calls[1].text, u"Macro2");
    EXPECT_EQ(text.calls[1].colour, kCaptionRed);
    EXPECT_EQ(c.height(), 3 * kRow + 1);
    EXPECT_EQ(c.pixel(0, kRow), kOver);
    openSub(7);
    text.calls.clear();
    sub.paint(c, layouts, macros, 1);
    ASSERT_EQ(text.calls.size(), 6u);
    EXPECT_EQ(text.calls[3].text, u"OFF");  // row 4 of sub-menu A, code 14
}

TEST_F(MenuTest, ExtraLineAndEmptyLibraryAssignNothing) {
    openSub(7);
    sub.onPointerMove(5, 6 * kRow);  // the line below the last row
    EXPECT_EQ(popups.subMenuHover, kNone);
    EXPECT_EQ(sub.onButtonUp(profile), std::nullopt);
    EXPECT_EQ(profile.buttonFunction[2], 3);
    EXPECT_FALSE(popups.closeMenuPending);

    macros.userMacroCount = 0;
    const SubMenuAction a = openSub(9);
    ASSERT_TRUE(a.openAt);
    EXPECT_EQ(a.openAt->y, 9 * kRow);
    EXPECT_TRUE(sub.outline().empty());
    sub.onPointerMove(5, 2);
    EXPECT_EQ(sub.onButtonUp(profile), std::nullopt);
    EXPECT_EQ(profile.buttonFunction[2], 3);
}

// ---- warning dialog

class WarningTest : public MenuTest {
protected:
    WarningTest() : dialog(popups, cache, text) {
        Canvas mask(200, 100, Rgb{255, 255, 255});
        mask.fillRect(0, 0, 180, 90, Rgb{});
        decoder.files[std::u16string(skinFile::kWarningMask)] = mask;
        decoder.files[std::u16string(skinFile::kWarningNormal)] = Canvas(200, 100, kNormal);
        decoder.files[std::u16string(skinFile::kWarningOver)] = Canvas(200, 100, kOver);
        dialog.initialise();
    }
    WarningDialog dialog;
};

TEST_F(WarningTest, SizeAndOutlineFromTheMask) {
    EXPECT_EQ(dialog.width(), 200);
    EXPECT_EQ(dialog.height(), 100);
    EXPECT_TRUE(dialog.outline().contains(179, 89));
    EXPECT_FALSE(dialog.outline().contains(180, 10));
    EXPECT_EQ(dialog.outline().area(), 180 * 90);
}

TEST_F(WarningTest, FlowByHoverAndRelease) {
    const SkinBox go = layouts.warningBoxes[0], no = layouts.warningBoxes[1], msg = layouts.warningBoxes[2];
    EXPECT_TRUE(dialog.onPointerMove(layouts, go.x, go.y));
    EXPECT_FALSE(dialog.onPointerMove(layouts, go.x + 5, go.y + 5));  // once per change
    EXPECT_EQ(dialog.onButtonUp(), kWarningGoOn);
    EXPECT_TRUE(dialog.onPointerMove(layouts, no.x + no.width - 1, no.y + no.height - 1));
    EXPECT_EQ(dialog.onButtonUp(), kWarningDecline);
    EXPECT_TRUE(dialog.onPointerMove(layouts, msg.x + 1, msg.y + 1));
    EXPECT_EQ(dialog.onButtonUp(), std::nullopt);
    EXPECT_FALSE(dialog.onPointerMove(layouts, no.x + no.width, no.y));  // right edge excluded
    EXPECT_EQ(dialog.onButtonUp(), std::nullopt);
}

TEST_F(WarningTest, PaintShowsTheOverLookAndRedCaptions) {
    const SkinBox go = layouts.warningBoxes[0], no = layouts.warningBoxes[1];
    dialog.onPointerMove(layouts, no.x + 1, no.y + 1);
    Canvas c;
    dialog.paint(c, layouts, 0);
    EXPECT_EQ(c.pixel(no.x, no.y), kOver);
    EXPECT_EQ(c.pixel(go.x, go.y), kNormal);
    ASSERT_EQ(text.calls.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const auto& call = text.calls[i];
        EXPECT_EQ(call.font, UiFont::Chinese);
        EXPECT_EQ(call.colour, kCaptionRed);
        const TextExtent e = BoxTextRenderer().measure(UiFont::Chinese, call.text);
        EXPECT_EQ(call.x, layouts.warningBoxes[i].x + (layouts.warningBoxes[i].width - e.cx) / 2);
        EXPECT_EQ(call.y, layouts.warningBoxes[i].y + (layouts.warningBoxes[i].height - e.cy) / 2);
    }
}

}  // namespace
}  // namespace korvel
