#include "profile/config_store.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "common/file_io.h"
#include "common/ini.h"

namespace korvel {
namespace {

class ConfigStore : public ::testing::Test {
protected:
    test::TempFolder dir;
    std::u16string path = dir.file("config.ini");
    Profile p;
};

TEST_F(ConfigStore, SaveWritesAllKeysInOrderIntoANewSection) {
    dir.write("config.ini", "[Init]\r\nCurConfig=1\r\n");
    p.macroMode2 = 1;
    p.setFactoryValues();
    saveProfile(p, path, 3);
    EXPECT_EQ(dir.read("config.ini"),
              "[Init]\r\nCurConfig=1\r\n[Config3]\r\n"
              "K0=1\r\nK1=2\r\nK2=3\r\nK3=5\r\nK4=4\r\nK5=16\r\nK6=15\r\nK7=13\r\nK8=0\r\n"
              "DPI_LEVEL=0\r\nWHEEL_STATUS=0\r\nMACRO_MODE2=1\r\n"
              "DPI_SET0=4\r\nDPI_SET_EN0=1\r\nDPI_SET1=6\r\nDPI_SET_EN1=1\r\n"
              "DPI_SET2=8\r\nDPI_SET_EN2=1\r\nDPI_SET3=10\r\nDPI_SET_EN3=1\r\n"
              "LED_STATUS=0\r\nDPI_SPEED=4\r\nWHEEL_SPEED=2\r\nUSB_SPEED=2\r\nFIRE_TIME=50\r\n");
}

TEST_F(ConfigStore, SaveThenLoadGivesTheSameProfile) {
    p.setFactoryValues();
    p.assignButtonFunction(4, 43);
    p.toggleDpiEnabled(1);
    p.selectDpiLevel(3);
    p.setDpiValue(2, 11);
    p.setLedStatus(2);
    p.setFireTime(299);
    saveProfile(p, path, 2);
    Profile q;
    loadProfile(q, path, 2, false, 1);
    for (int i = 0; i < kButtonCount; ++i) EXPECT_EQ(q.buttonFunction[i], p.buttonFunction[i]);
    for (int i = 0; i < kDpiLevelCount; ++i) {
        EXPECT_EQ(q.dpiSet[i], p.dpiSet[i]);
        EXPECT_EQ(q.dpiSetEn[i], p.dpiSetEn[i]);
    }
    EXPECT_EQ(q.dpiLevel, 3);
    EXPECT_EQ(q.ledStatus, 2);
    EXPECT_EQ(q.fireTime, 299);
    EXPECT_EQ(q.usbSpeed, 2);
}

TEST_F(ConfigStore, ReadsNumbersAsTheFileGivesThem) {
    dir.write("config.ini",
              "[Config1]\nK3=041\nK4=41\nDPI_SET_EN2=7\nDPI_SET0=260\nFIRE_TIME=12345\nDPI_LEVEL=2x\n"
              "LED_STATUS=abc\nK5=-3\nK6=99\nDPI_SET1=200\nDPI_SPEED=12\nWHEEL_SPEED=400\nUSB_SPEED=9\n");
    loadProfile(p, path, 1, false, 0);
    EXPECT_EQ(p.buttonFunction[3], 41);
    EXPECT_EQ(p.buttonFunction[4], 41);
    EXPECT_EQ(p.dpiSetEn[2], 1);
    EXPECT_EQ(p.dpiSet[0], 4);       // low 8 bits of 260
    EXPECT_EQ(p.fireTime, 300);      // "1234" after the cut, then bounded
    EXPECT_EQ(p.dpiLevel, 2);
    EXPECT_EQ(p.ledStatus, 0);
    // Out-of-range values are bounded so nothing later reads past a table.
    EXPECT_EQ(p.buttonFunction[5], 0);
    EXPECT_EQ(p.buttonFunction[6], 0);
    EXPECT_EQ(p.dpiSet[1], 11);
    EXPECT_EQ(p.dpiSpeed, 9);
    EXPECT_EQ(p.wheelSpeed, 9);      // 400 & 0xFF = 144, then bounded
    EXPECT_EQ(p.usbSpeed, 3);
    saveProfile(p, path, 1);
    EXPECT_EQ(ini::readString(path, u"Config1", u"DPI_SET_EN2", 10), u"1");
}

TEST_F(ConfigStore, BoundsAHandEditedProfile) {
    dir.write("config.ini", "[Config1]\nDPI_LEVEL=7\nDPI_SET_EN2=1\nLED_STATUS=9\nFIRE_TIME=-20\nWHEEL_STATUS=5\n");
    loadProfile(p, path, 1, false, 0);
    EXPECT_EQ(p.dpiLevel, 2);  // the first level in use
    EXPECT_EQ(p.ledStatus, 3);
    EXPECT_EQ(p.fireTime, 0);
    EXPECT_EQ(p.wheelStatus, 1);
}

TEST_F(ConfigStore, MissingFileGivesZerosAndChinese) {
    p.setFactoryValues();
    loadProfile(p, path, 1, false, 1);
    for (int i = 0; i < kButtonCount; ++i) EXPECT_EQ(p.buttonFunction[i], 0);
    for (int i = 0; i < kDpiLevelCount; ++i) EXPECT_EQ(p.dpiSetEn[i], 0);
    EXPECT_EQ(readCurConfig(path), 0);
    EXPECT_EQ(readVerSel(path), 0);
    EXPECT_FALSE(fileExists(path));  // reading never creates the file
}

TEST_F(ConfigStore, DefaultSectionsByEdition) {
    dir.write("config.ini", "[CfgReset5]\nK0=21\n[CfgReset_EN5]\nK0=22\n[CfgReset2]\nK0=23\n");
    loadProfile(p, path, 5, true, 1);
    EXPECT_EQ(p.buttonFunction[0], 22);
    loadProfile(p, path, 5, true, 0);
    EXPECT_EQ(p.buttonFunction[0], 21);
    loadProfile(p, path, 2, true, 1);
    EXPECT_EQ(p.buttonFunction[0], 23);
}

TEST_F(ConfigStore, InitValuesAndSingleKeys) {
    writeCurConfig(path, 4);
    writeVerSel(path, 1);
    EXPECT_EQ(readCurConfig(path), 4);
    EXPECT_EQ(readVerSel(path), 1);
    dir.write("config.ini", "[Init]\nVER_SEL=257\n");
    EXPECT_EQ(readVerSel(path), 1);  // narrowed to 8 bits
    p.dpiLevel = 3;
    p.usbSpeed = 1;
    saveDpiLevel(p, path, 6);
    saveUsbSpeed(p, path, 6);
    EXPECT_EQ(dir.read("config.ini"), "[Init]\nVER_SEL=257\n[Config6]\nDPI_LEVEL=3\nUSB_SPEED=1\n");
}

}  // namespace
}  // namespace korvel
