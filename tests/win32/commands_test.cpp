// Save, Revert and Exit through the real buttons, against the real file.
#include "settings/settings.h"
#include "ui/error_box.h"
#include "win32/ui_test_support.h"

namespace zemlo::test {
namespace {

using CommandsTest = WindowTest;

// What a save right after loading a file without keys writes, key by key.
// clang-format off
constexpr const char* kDefaultLines[] = {
    "showFPS=0", "showStat=0", "useTrilinear=1", "forceNoNightShader=0", "sharpenUI=1",
    "debugOutput=0", "handlePrintScreen=1", "LODbias0=0", "LODbias1=0", "UsePostProcessing=1",
    "Force32bitPostProcessing=0", "DisablePPForMap=1", "UseSpecialNVGPP=1", "HardLight=1",
    "HardLightSR=0.4", "HardLightSG=0.4", "HardLightSB=0.6", "Desaturate=1", "DesaturateSR=0.2",
    "DesaturateSG=0.2", "DesaturateSB=0.2", "Glare=1", "GlareStrength=0.4", "GlareSize=3",
    "GlareDarkenSky=1", "GlareUseFade=0", "GlareForce32bitBuffer=1", "useReflections=1",
    "reflectTerrain=1", "reflectObjects=0", "sizeX=512", "sizeY=512", "LODbias=-0.5", "useExpFog=1",
    "useLighting=1", "maxCount=512", "maxDistance=512", "maxHeight=150", "bumpStrength=10",
    "clipTolerance=-0.035", "texOffsetX=-0.49", "texOffsetY=-0.49"};
// clang-format on

TEST_F(CommandsTest, SaveWithoutAFileCreatesAllKeysInOrderAndConfirms) {
  open();
  click(control(L"BitBtn1"));
  const std::string file = readConfig();
  std::size_t at = 0;
  for (const char* section : {"[General]", "[Postprocessing]", "[Reflections]"}) {
    at = file.find(section, at);
    ASSERT_NE(at, std::string::npos) << section;
  }
  at = 0;
  for (const char* line : kDefaultLines) {
    const std::size_t found = file.find(std::string(line) + "\r\n", at);
    ASSERT_NE(found, std::string::npos) << line << " in order in\n" << file;
    at = found;
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"Settings saved.");
  EXPECT_EQ(boxes[0].caption, L"ZEMLO");
  EXPECT_EQ(boxes[0].type & (MB_TYPEMASK | MB_ICONMASK), UINT(MB_OK | MB_ICONINFORMATION));

  // A second save writes the same file again, changing nothing.
  click(control(L"BitBtn1"));
  EXPECT_EQ(readConfig(), file);
}

TEST_F(CommandsTest, SaveKeepsWhatTheEditorDoesNotOwn) {
  writeConfig("; my notes\r\n[General]\r\nshowFPS=1\r\nmyKey=keep me\r\n[Mine]\r\nx=1\r\n");
  open();
  click(control(L"BitBtn1"));
  const std::string file = readConfig();
  for (const char* kept : {"; my notes", "myKey=keep me", "[Mine]", "x=1", "showFPS=1"})
    EXPECT_NE(file.find(kept), std::string::npos) << kept << " in\n" << file;
}

TEST_F(CommandsTest, RevertCancelChangesNothingAndOkReloadsTheFile) {
  writeConfig("[General]\r\nshowFPS=1\r\n");
  open();
  HWND box = control(L"CheckBox1");
  setChecked(box, false);
  answer = IDCANCEL;
  click(control(L"BitBtn2"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"Revert settings?");
  EXPECT_EQ(boxes[0].caption, L"ZEMLO");
  EXPECT_EQ(boxes[0].type & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK),
            UINT(MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1));
  EXPECT_FALSE(checked(box));
  EXPECT_EQ(readConfig(), "[General]\r\nshowFPS=1\r\n");

  // Edited by hand while the window is open: Revert shows the new values.
  writeConfig("[General]\r\nshowFPS=1\r\n[Reflections]\r\nmaxCount=1000\r\n");
  answer = IDOK;
  click(control(L"BitBtn2"));
  EXPECT_TRUE(checked(box));
  EXPECT_EQ(text(control(L"Label9")), L"1000");
}

TEST_F(CommandsTest, RevertWithNoFileReturnsEveryControlToItsDefault) {
  writeConfig("[General]\r\nshowStat=1\r\nLODbias0=-0.5\r\n[Reflections]\r\nbumpStrength=2\r\n");
  open();
  EXPECT_TRUE(checked(control(L"CheckBox2")));
  std::filesystem::remove(configPath());
  click(control(L"BitBtn2"));
  EXPECT_FALSE(checked(control(L"CheckBox2")));
  EXPECT_EQ(text(control(L"LOD1")), L"0.00");
  EXPECT_EQ(text(control(L"Label15")), L"10");
  EXPECT_FALSE(std::filesystem::exists(configPath()));
}

TEST_F(CommandsTest, FailedSaveShowsTheErrorBoxAndKeepsTheUsersValues) {
  open();
  HWND box = control(L"CheckBox1");
  setChecked(box, true);
  // A directory in the file's place cannot be written, whoever runs the test.
  std::filesystem::create_directory(configPath());
  click(control(L"BitBtn1"));
  ASSERT_EQ(boxes.size(), 1u);
  const std::wstring expected = L"Unable to write to " + configPath().wstring() + L".";
  EXPECT_EQ(boxes[0].text, expected);
  EXPECT_EQ(boxes[0].caption, L"ZEMLO Configurator");
  EXPECT_EQ(boxes[0].type & (MB_TYPEMASK | MB_ICONMASK), UINT(MB_OK | MB_ICONSTOP));
  EXPECT_TRUE(IsWindow(form.handle()));
  EXPECT_TRUE(checked(box));
  // Still working: once the way is clear, Save succeeds.
  std::filesystem::remove(configPath());
  click(control(L"BitBtn1"));
  EXPECT_EQ(boxes.back().text, L"Settings saved.");
}

TEST_F(CommandsTest, ExitClosesWithoutSaving) {
  open();
  setChecked(control(L"CheckBox1"), true);
  click(control(L"BitBtn3"));
  EXPECT_EQ(form.handle(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(configPath()));
  EXPECT_TRUE(boxes.empty());
}

TEST(ErrorBoxText, AppendsAFullStopAfterLettersAndDigitsOnly) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"Unable to write to C:\\x\\config.cfg", L"Unable to write to C:\\x\\config.cfg."},
      {"Disk 7", L"Disk 7."},
      {"Done.", L"Done."},
      {"Why?", L"Why?."},  // "?" sorts after "."
      {"Full!", L"Full!"},
      {"", L""}};
  for (const auto& [in, out] : cases) EXPECT_EQ(ui::errorBoxText(in), out);
}

}  // namespace
}  // namespace zemlo::test
