#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ui/brel_menu.h"

namespace korvel {
namespace {

// Menus as trees in memory; handle n is menus[n].
class FakeMenus : public MenuResourcePort {
public:
    struct Item {
        std::u16string text;
        std::int32_t id;
        MenuHandle sub;
    };
    std::map<MenuHandle, std::vector<Item>> menus;
    std::vector<std::pair<MenuHandle, int>> converted;
    std::map<std::pair<MenuHandle, int>, std::uintptr_t> data;
    std::vector<int> loaded;

    MenuHandle loadMenu(int id) override {
        loaded.push_back(id);
        return static_cast<MenuHandle>(id);
    }

    int itemCount(MenuHandle m) override { return static_cast<int>(menus[m].size()); }
    std::int32_t itemId(MenuHandle m, int p) override { return menus[m][p].sub ? -1 : menus[m][p].id; }
    std::u16string itemText(MenuHandle m, int p) override { return menus[m][p].text; }
    MenuHandle subMenu(MenuHandle m, int p) override { return menus[m][p].sub; }
    void makeOwnerDraw(MenuHandle m, int p, std::uintptr_t itemData) override {
        converted.emplace_back(m, p);
        data[{m, p}] = itemData;
    }
};

// The English event menu: one top item whose submenu is shown.
FakeMenus englishEventMenu() {
    FakeMenus f;
    auto buttons = [&f](MenuHandle base, int firstId, const char16_t* leftDown) {
        f.menus[base + 1] = {{leftDown, firstId, 0}, {u"Up", firstId + 1, 0}};
        f.menus[base + 2] = {{u"Down", firstId + 2, 0}, {u"Up", firstId + 3, 0}};
        f.menus[base + 3] = {{u"Down", firstId + 4, 0}, {u"Up", firstId + 5, 0}};
        f.menus[base] = {{u"Left Button", 0, base + 1}, {u"Right Button", 0, base + 2}, {u"Mid Button", 0, base + 3}};
    };
    buttons(10, 32802, u"Down ");
    buttons(20, 32809, u"Down ");
    f.menus[2] = {{u"Add Forward", 0, 10}, {u"Add Backward", 0, 20}, {u"Modify Delay", 32780, 0}, {u"Delete", 32781, 0}};
    f.menus[1] = {{u"Menu", 0, 2}};
    return f;
}

TEST(BrelMenuConversion, RecordsAreNumberedDepthFirst) {
    FakeMenus f = englishEventMenu();
    CBrelMenu menu;
    EXPECT_TRUE(menu.load(f, 1));
    ASSERT_EQ(menu.itemCount(), 23);
    const std::vector<std::u16string> texts{u"Menu",         u"Add Forward", u"Left Button", u"Down ",      u"Up",
                                            u"Right Button", u"Down",        u"Up",          u"Mid Button", u"Down",
                                            u"Up",           u"Add Backward", u"Left Button", u"Down ",     u"Up",
                                            u"Right Button", u"Down",        u"Up",          u"Mid Button", u"Down",
                                            u"Up",           u"Modify Delay", u"Delete"};
    for (int i = 0; i < 23; ++i) EXPECT_EQ(menu.item(i).text, texts[i]) << i;
    EXPECT_EQ(menu.item(0).id, -1);
    EXPECT_EQ(menu.item(3).id, 32802);
    EXPECT_EQ(menu.item(10).id, 32807);
    EXPECT_EQ(menu.item(13).id, 32809);
    EXPECT_EQ(menu.item(21).id, 32780);
    EXPECT_EQ(menu.item(22).id, 32781);
    // Every item converted, each with the address of its own record.
    ASSERT_EQ(f.converted.size(), 23u);
    EXPECT_EQ(f.data[std::make_pair(MenuHandle{2}, 3)], menu.itemData(22));
    EXPECT_EQ(f.data[std::make_pair(MenuHandle{1}, 0)], menu.itemData(0));
    EXPECT_EQ(reinterpret_cast<const MenuItemRecord*>(f.data[std::make_pair(MenuHandle{10}, 1)])->text, u"Right Button");
}

TEST(BrelMenuConversion, ReloadStartsTheRecordsAgain) {
    FakeMenus f = englishEventMenu();
    CBrelMenu menu;
    menu.load(f, 1);
    FakeMenus tray;
    tray.menus[5] = {{u"Tray", 0, 6}};
    tray.menus[6] = {{u"Show", 100, 0}, {u"", 0, 0}, {u"Exit", 101, 0}};
    EXPECT_EQ(menu.detach(), 1u);
    EXPECT_TRUE(menu.load(tray, 5));
    EXPECT_EQ(menu.itemCount(), 4);
    EXPECT_EQ(menu.item(2).id, 0);
    EXPECT_EQ(menu.handle(), 5u);
}

TEST(BrelMenuConversion, MoreThanThirtyItemsAreRefusedSafely) {
    FakeMenus f;
    for (int i = 0; i < 35; ++i) f.menus[1].push_back({u"Item", 1000 + i, 0});
    CBrelMenu menu;
    EXPECT_FALSE(menu.load(f, 1));
    EXPECT_EQ(menu.itemCount(), kBrelMenuCapacity);
    EXPECT_EQ(f.converted.size(), 30u);  // the rest stay ordinary items
}

TEST(BrelMenuConversion, AMenuThatContainsItselfEnds) {
    FakeMenus f;
    f.menus[1] = {{u"Loop", 0, 1}};
    CBrelMenu menu;
    EXPECT_FALSE(menu.load(f, 1));
    EXPECT_LE(menu.itemCount(), kBrelMenuCapacity);
}

TEST(BrelMenuResources, LoadingAnEditionConvertsBothMenus) {
    FakeMenus f;
    f.menus[154] = {{u"Menu", 0, 1540}};
    f.menus[1540] = {{u"Modify Delay", 32780, 0}, {u"Delete", 32781, 0}};
    f.menus[157] = {{u"Tray", 0, 1570}};
    f.menus[1570] = {{u"Exit", 1, 0}};
    f.menus[161] = {{u"Menu", 0, 1610}};
    f.menus[1610] = {{u"\u4FEE\u6539\u5EF6\u8FDF", 32835, 0}};
    f.menus[162] = {{u"Tray", 0, 1620}};
    f.menus[1620] = {{u"\u9000\u51FA", 1, 0}, {u"", 0, 0}};
    CBrelMenu event, tray;
    LoadBrelMenus(f, 1, event, tray);
    EXPECT_EQ(event.itemCount(), 3);
    EXPECT_EQ(tray.itemCount(), 2);
    LoadBrelMenus(f, 0, event, tray);
    EXPECT_EQ(f.loaded, (std::vector<int>{154, 157, 161, 162}));
    EXPECT_EQ(event.handle(), 161u);
    EXPECT_EQ(event.itemCount(), 2);
    EXPECT_EQ(event.item(1).id, 32835);
    EXPECT_EQ(tray.itemCount(), 3);
    EXPECT_EQ(tray.item(2).id, 0);
}

TEST(BrelMenuResources, EditionsUseTheirOwnMenus) {
    EXPECT_EQ(eventMenuResource(1), 154);
    EXPECT_EQ(trayMenuResource(1), 157);
    EXPECT_EQ(eventMenuResource(0), 161);
    EXPECT_EQ(trayMenuResource(0), 162);
}

struct MeasureCase {
    std::u16string text;
    std::int32_t id;
    MenuItemSize size;
};

TEST(BrelMenuMeasure, EightPixelsPerCharacterAndFixedHeights) {
    const std::vector<MeasureCase> cases{
        {u"Modify Delay", 32780, {96, 20}},
        {u"\u9879\u524D\u63D2\u5165    ", 32817, {64, 20}},  // 项前插入 and four blanks
        {u"Add Forward", -1, {88, 20}},
        {u"", 0, {0, 1}},
        {u"Up", 32803, {16, 20}},
    };
    for (const auto& c : cases) {
        const MenuItemRecord r{c.text, c.id};
        EXPECT_EQ(CBrelMenu::MeasureItem(&r), c.size);
    }
    EXPECT_EQ(CBrelMenu::MeasureItem(nullptr), (MenuItemSize{0, 0}));
}

constexpr Rgb kGrey{50, 50, 50};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

class BrelMenuDraw : public ::testing::Test {
protected:
    Canvas canvas{140, 60, kGrey};
    BoxTextRenderer text;
};

TEST_F(BrelMenuDraw, HighlightedItemShowsAFramedBand) {
    const MenuItemRecord r{u"Modify Delay", 32780};
    CBrelMenu::DrawItem(canvas, text, UiFont::English, &r, SkinBox{5, 5, 96, 20}, true);
    // Frame in the current pen.
    EXPECT_EQ(canvas.pixel(5, 5), kBlack);
    EXPECT_EQ(canvas.pixel(100, 24), kBlack);
    EXPECT_EQ(canvas.pixel(50, 5), kBlack);
    EXPECT_EQ(canvas.pixel(5, 15), kBlack);
    // Inner rows: blue at the top, green rising by 14 per row up to 238.
    for (int k = 0; k < 18; ++k) {
        EXPECT_EQ(canvas.pixel(6, 6 + k), (Rgb{0, static_cast<std::uint8_t>(14 * k), 255})) << k;
        EXPECT_EQ(canvas.pixel(99, 6 + k), (Rgb{0, static_cast<std::uint8_t>(14 * k), 255})) << k;
    }
    EXPECT_EQ(canvas.pixel(6, 23), (Rgb{0, 238, 255}));
    // Outside the item nothing changed.
    EXPECT_EQ(canvas.pixel(101, 10), kGrey);
    EXPECT_EQ(canvas.pixel(4, 10), kGrey);
}

TEST_F(BrelMenuDraw, TextStartsTenPixelsInAndIsCentred) {
    const MenuItemRecord r{u"Modify Delay", 32780};
    CBrelMenu::DrawItem(canvas, text, UiFont::English, &r, SkinBox{5, 5, 120, 20}, false);
    EXPECT_EQ(canvas.pixel(5, 5), kMenuGround);
    EXPECT_EQ(canvas.pixel(124, 24), kMenuGround);
    // English boxes: 7 wide, 14 high, drawn one pixel in and two down in
    // their cell; the cell starts at x 15 and y 5 + (20 - 14) / 2 = 8.
    EXPECT_EQ(canvas.pixel(16, 10), kWhite);
    EXPECT_EQ(canvas.pixel(15, 10), kMenuGround);
    EXPECT_EQ(canvas.pixel(16, 9), kMenuGround);
    EXPECT_EQ(canvas.pixel(16, 19), kWhite);
    EXPECT_EQ(canvas.pixel(16, 20), kMenuGround);
}

TEST_F(BrelMenuDraw, TextIsClippedToTheItem) {
    const MenuItemRecord r{u"Modify Delay", 32780};
    CBrelMenu::DrawItem(canvas, text, UiFont::English, &r, SkinBox{5, 5, 40, 20}, false);
    EXPECT_EQ(canvas.pixel(44, 12), kWhite);  // the last column of the item
    EXPECT_EQ(canvas.pixel(45, 12), kGrey);   // just past it
    EXPECT_EQ(canvas.pixel(60, 12), kGrey);
}

TEST_F(BrelMenuDraw, SubmenuItemIsDrawnLikeACommand) {
    const MenuItemRecord r{u"Add Forward", -1};
    CBrelMenu::DrawItem(canvas, text, UiFont::English, &r, SkinBox{0, 0, 88, 20}, false);
    EXPECT_EQ(canvas.pixel(2, 2), kMenuGround);
    EXPECT_EQ(canvas.pixel(11, 5), kWhite);
}

TEST_F(BrelMenuDraw, SeparatorOfOnePixelStartsTwentyFiveIn) {
    const MenuItemRecord r{u"", 0};
    CBrelMenu::DrawItem(canvas, text, UiFont::English, &r, SkinBox{0, 30, 100, 1}, false);
    EXPECT_EQ(canvas.pixel(24, 30), kGrey);
    EXPECT_EQ(canvas.pixel(25, 30), kMenuSeparatorBottomRight);
    EXPECT_EQ(canvas.pixel(99, 30), kMenuSeparatorBottomRight);
    EXPECT_EQ(canvas.pixel(100, 30), kGrey);
    EXPECT_EQ(canvas.pixel(30, 29), kGrey);
    EXPECT_EQ(canvas.pixel(30, 31), kGrey);
}

TEST_F(BrelMenuDraw, TallerSeparatorHasRedTopLeftAndBlueBottomRight) {
    const MenuItemRecord r{u"", 0};
    CBrelMenu::DrawItem(canvas, text, UiFont::English, &r, SkinBox{0, 30, 100, 4}, false);
    EXPECT_EQ(canvas.pixel(25, 30), kMenuSeparatorTopLeft);
    EXPECT_EQ(canvas.pixel(60, 30), kMenuSeparatorTopLeft);
    EXPECT_EQ(canvas.pixel(25, 32), kMenuSeparatorTopLeft);
    EXPECT_EQ(canvas.pixel(99, 30), kMenuSeparatorBottomRight);
    EXPECT_EQ(canvas.pixel(60, 33), kMenuSeparatorBottomRight);
    EXPECT_EQ(canvas.pixel(25, 33), kMenuSeparatorBottomRight);
    EXPECT_EQ(canvas.pixel(60, 31), kGrey);  // the inside stays
}

TEST_F(BrelMenuDraw, DegenerateItemsDrawNothingOutside) {
    const MenuItemRecord r{u"Delete", 32781};
    const Canvas before = canvas;
    CBrelMenu::DrawItem(canvas, text, UiFont::English, &r, SkinBox{10, 10, 0, 0}, true);
    CBrelMenu::DrawItem(canvas, text, UiFont::English, nullptr, SkinBox{10, 10, 50, 20}, true);
    EXPECT_EQ(canvas, before);
    // A highlighted item two pixels high has no band rows but its frame.
    CBrelMenu::DrawItem(canvas, text, UiFont::English, &r, SkinBox{200, 200, 30, 2}, true);
    CBrelMenu::DrawItem(canvas, text, UiFont::English, &r, SkinBox{10, 40, 30, 2}, true);
    EXPECT_EQ(canvas.pixel(10, 40), kBlack);
}

}  // namespace
}  // namespace korvel
