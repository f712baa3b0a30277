// Settings shown by the real controls, and copied back on Save.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "settings/settings.h"
#include "win32/ui_test_support.h"

namespace zemlo::test {
namespace {

using BindingTest = WindowTest;

struct SliderShows {
  const wchar_t* slider;
  int position;
  const wchar_t* label;  // nullptr: the slider has no value label
  const wchar_t* labelText;
};

TEST_F(BindingTest, NoFileShowsTheDefaultsAndCreatesNothing) {
  open();
  EXPECT_FALSE(std::filesystem::exists(configPath()));
  const std::pair<const wchar_t*, bool> boxes[] = {
      {L"CheckBox1", false}, {L"CheckBox2", false}, {L"CheckBox3", true},   {L"CheckBox4", false},
      {L"CheckBox5", true},  {L"CheckBox6", false}, {L"CheckBox16", true},  {L"CheckBox7", true},
      {L"CheckBox8", true},  {L"CheckBox20", true}, {L"CheckBox21", false}, {L"CheckBox9", true},
      {L"CheckBox10", true}, {L"CheckBox11", true}, {L"CheckBox12", true},  {L"CheckBox19", false},
      {L"CheckBox17", true}, {L"CheckBox13", true}, {L"CheckBox14", false}, {L"CheckBox15", true},
      {L"CheckBox18", true}};
  for (const auto& [name, on] : boxes) EXPECT_EQ(checked(control(name)), on) << name;

  const SliderShows sliders[] = {{L"TrackBar1", 0, L"LOD1", L"0.00"},
                                 {L"TrackBar2", 0, L"LOD2", L"0.00"},
                                 {L"HLs1", 6, nullptr, nullptr},
                                 {L"HLs2", 6, nullptr, nullptr},
                                 {L"HLs3", 4, nullptr, nullptr},
                                 {L"TrackBar3", 8, nullptr, nullptr},
                                 {L"TrackBar4", 8, nullptr, nullptr},
                                 {L"TrackBar5", 8, nullptr, nullptr},
                                 {L"TrackBar6", 8, L"gst", L"0.40"},
                                 {L"TrackBar7", 6, L"gsi", L"3.00"},
                                 {L"TrackBar11", 1, L"Label8", L"512x512"},
                                 {L"TrackBar8", 512, L"Label9", L"512"},
                                 {L"TrackBar9", 512, L"Label11", L"512"},
                                 {L"TrackBar10", 150, L"Label12", L"150"},
                                 {L"TrackBar12", 10, L"Label15", L"10"}};
  for (const SliderShows& s : sliders) {
    EXPECT_EQ(position(control(s.slider)), s.position) << s.slider;
    if (s.label) {
      EXPECT_EQ(text(control(s.label)), s.labelText) << s.label;
    }
  }
  // The record holds the file's defaults, unclamped.
  EXPECT_EQ(settings.maxHeight, 512);
  EXPECT_EQ(settings.bumpStrength, 512);
}

struct FileCase {
  const char* section;
  const char* line;
  SliderShows shows;
  const char* saved;  // the key's line after Save
};

class HandWrittenFile : public WindowTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(HandWrittenFile, SetsTheSliderAndItsLabelAndSavesWhatIsShown) {
  const FileCase& c = GetParam();
  writeConfig(std::string("[") + c.section + "]\r\n" + c.line + "\r\n");
  open();
  EXPECT_EQ(position(control(c.shows.slider)), c.shows.position);
  if (c.shows.label) {
    EXPECT_EQ(text(control(c.shows.label)), c.shows.labelText);
  }
  click(control(L"BitBtn1"));
  EXPECT_NE(readConfig().find(std::string(c.saved) + "\r\n"), std::string::npos) << readConfig();
}

// One case a line, as the table of the sliders reads.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, HandWrittenFile,
    ::testing::Values(
        FileCase{"Postprocessing", "GlareSize=3.0", {L"TrackBar7", 6, L"gsi", L"3.00"}, "GlareSize=3"},
        FileCase{"Postprocessing", "GlareStrength=0.4", {L"TrackBar6", 8, L"gst", L"0.40"}, "GlareStrength=0.4"},
        FileCase{"Postprocessing", "GlareStrength=0.43", {L"TrackBar6", 9, L"gst", L"0.45"}, "GlareStrength=0.45"},
        FileCase{"Postprocessing", "GlareSize=2.5", {L"TrackBar7", 5, L"gsi", L"2.50"}, "GlareSize=2.5"},
        FileCase{"Postprocessing", "GlareSize=100", {L"TrackBar7", 12, L"gsi", L"6.00"}, "GlareSize=6"},
        FileCase{"Postprocessing", "HardLightSB=0.6", {L"HLs3", 4, nullptr, nullptr}, "HardLightSB=0.6"},
        FileCase{"Postprocessing", "HardLightSR=-0.5", {L"HLs1", 10, nullptr, nullptr}, "HardLightSR=0"},
        FileCase{"Postprocessing", "HardLightSR=0.45", {L"HLs1", 5, nullptr, nullptr}, "HardLightSR=0.5"},
        FileCase{"Postprocessing", "HardLightSR=0.25", {L"HLs1", 8, nullptr, nullptr}, "HardLightSR=0.2"},
        FileCase{"Postprocessing", "HardLightSR=0.75", {L"HLs1", 2, nullptr, nullptr}, "HardLightSR=0.8"},
        FileCase{"Postprocessing", "DesaturateSB=0.7", {L"TrackBar5", 3, nullptr, nullptr}, "DesaturateSB=0.7"},
        FileCase{"General", "LODbias0=-1.5", {L"TrackBar1", -10, L"LOD1", L"-1.00"}, "LODbias0=-1"},
        FileCase{"General", "LODbias0=0.15", {L"TrackBar1", 1, L"LOD1", L"0.10"}, "LODbias0=0.1"},
        FileCase{"General", "LODbias0=0.35", {L"TrackBar1", 3, L"LOD1", L"0.30"}, "LODbias0=0.3"},
        FileCase{"General", "LODbias0=-0.25", {L"TrackBar1", -2, L"LOD1", L"-0.20"}, "LODbias0=-0.2"},
        FileCase{"General", "LODbias0=-0.3", {L"TrackBar1", -3, L"LOD1", L"-0.30"}, "LODbias0=-0.3"},
        FileCase{"General", "LODbias1=1E300", {L"TrackBar2", 10, L"LOD2", L"1.00"}, "LODbias1=1"},
        FileCase{"General", "LODbias1=-1E300", {L"TrackBar2", -10, L"LOD2", L"-1.00"}, "LODbias1=-1"},
        FileCase{"Reflections", "maxCount=100", {L"TrackBar8", 100, L"Label9", L"100"}, "maxCount=100"},
        FileCase{"Reflections", "maxCount=-5", {L"TrackBar8", 0, L"Label9", L"0"}, "maxCount=0"},
        FileCase{"Reflections", "maxDistance=2999", {L"TrackBar9", 2999, L"Label11", L"2999"}, "maxDistance=2999"},
        FileCase{"Reflections", "maxHeight=512", {L"TrackBar10", 150, L"Label12", L"150"}, "maxHeight=150"},
        FileCase{"Reflections", "bumpStrength=3", {L"TrackBar12", 3, L"Label15", L"3"}, "bumpStrength=3"},
        FileCase{"Reflections", "sizeX=1024\r\nsizeY=1024", {L"TrackBar11", 2, L"Label8", L"1024x1024"}, "sizeY=1024"},
        FileCase{"Reflections", "sizeX=256\r\nsizeY=256", {L"TrackBar11", 0, L"Label8", L"256x256"}, "sizeX=256"},
        // Not one of the squares: the slider stays where a fresh window has it.
        FileCase{"Reflections", "sizeX=800\r\nsizeY=600", {L"TrackBar11", 0, L"Label8", L"256x256"}, "sizeY=256"},
        FileCase{"Reflections", "sizeX=512\r\nsizeY=1024", {L"TrackBar11", 0, L"Label8", L"256x256"}, "sizeX=256"}));
// clang-format on

TEST_F(BindingTest, UserMovesRewriteLabelsOnEveryScrollNotification) {
  open();
  HWND slider = control(L"TrackBar6");
  SendMessageW(slider, TBM_SETPOS, TRUE, 12);
  // Setting the position alone says nothing; the scroll notification does.
  EXPECT_EQ(text(control(L"gst")), L"0.40");
  SendMessageW(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 12),
               reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(text(control(L"gst")), L"0.60");
  // The label text is what Save parses back.
  click(control(L"BitBtn1"));
  EXPECT_DOUBLE_EQ(settings.GlareStrength, 0.6);
  EXPECT_NE(readConfig().find("GlareStrength=0.6\r\n"), std::string::npos);
}

TEST_F(BindingTest, ArrowKeysOnASliderMoveItAndItsLabel) {
  open();
  focus(control(L"TrackBar8"));
  key(VK_RIGHT);
  EXPECT_EQ(position(control(L"TrackBar8")), 513);
  EXPECT_EQ(text(control(L"Label9")), L"513");
  key(VK_NEXT);  // page step 50
  EXPECT_EQ(position(control(L"TrackBar8")), 563);
  EXPECT_EQ(text(control(L"Label9")), L"563");
  key(VK_END);
  EXPECT_EQ(text(control(L"Label9")), L"2000");
}

TEST_F(BindingTest, VerticalSlidersRaiseTheirPositionGoingDown) {
  open();
  HWND hls1 = control(L"HLs1");
  focus(hls1);
  key(VK_DOWN);
  EXPECT_EQ(position(hls1), 7);
  click(control(L"BitBtn1"));
  EXPECT_NE(readConfig().find("HardLightSR=0.3\r\n"), std::string::npos);
}

TEST_F(BindingTest, ValueLabelsSizeThemselvesExceptTheCentredOnes) {
  open();
  HWND label = control(L"Label9");
  const RECT before = placement(label);
  SendMessageW(form.handle(), WM_HSCROLL, 0, 0);  // no slider: ignored
  SendMessageW(control(L"TrackBar8"), TBM_SETPOS, TRUE, 5);
  SendMessageW(GetParent(control(L"TrackBar8")), WM_HSCROLL, TB_ENDTRACK,
               reinterpret_cast<LPARAM>(control(L"TrackBar8")));
  const RECT after = placement(label);
  EXPECT_LT(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.left, before.left);
  const RECT lod = placement(control(L"LOD1"));
  EXPECT_EQ(lod.right - lod.left, 169);
  EXPECT_EQ(lod.bottom - lod.top, 13);
}

TEST_F(BindingTest, CarriedKeysSurviveASaveInTheirTextForm) {
  writeConfig(
      "[Reflections]\r\nreflectTerrain=0\r\nLODbias=-0.75\r\nclipTolerance=0.00001\r\ntexOffsetX="
      "1E15\r\n"
      "texOffsetY=-0.0\r\n");
  open();
  click(control(L"BitBtn1"));
  const std::string file = readConfig();
  for (const char* line : {"reflectTerrain=0\r\n", "LODbias=-0.75\r\n", "clipTolerance=1E-5\r\n",
                           "texOffsetX=1E15\r\n", "texOffsetY=0\r\n"})
    EXPECT_NE(file.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace zemlo::test
