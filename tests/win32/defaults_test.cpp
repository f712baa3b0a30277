// The way back to the defaults through the context menus of the real window:
// right-click, the context-menu key and Shift+F10.
#include <windows.h>

#include <string>
#include <vector>

#include "win32/ui_test_support.h"

namespace zemlo::test {
namespace {

class DefaultsTest : public WindowTest {
public:
  // Every menu shown, and the item the next ones are answered with (-1: none).
  static inline std::vector<std::vector<std::wstring>> menus;
  static inline int choice = 0;

protected:
  void SetUp() override {
    WindowTest::SetUp();
    menus.clear();
    choice = 0;
    previous_ = ui::setPopupMenuFunction(&recordMenu);
  }
  void TearDown() override {
    ui::setPopupMenuFunction(previous_);
    WindowTest::TearDown();
  }
  void rightClick(HWND hwnd, int x = 2, int y = 2) {
    PostMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    PostMessageW(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    pump();
  }
  bool saved(const std::string& line) const {
    return readConfig().find(line + "\r\n") != std::string::npos;
  }

private:
  static int recordMenu(HWND, POINT, const std::vector<std::wstring>& items) {
    menus.push_back(items);
    return choice;
  }
  ui::PopupMenuFunction previous_ = nullptr;
};

TEST_F(DefaultsTest, ASlidersMenuSetsItsDefaultAndSaveWritesIt) {
  const std::string file = "[Postprocessing]\r\nGlareStrength=0.9\r\n";
  writeConfig(file);
  open();
  HWND slider = control(L"TrackBar6");
  choice = -1;  // dismissed: nothing changes
  rightClick(slider);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0], std::vector<std::wstring>{L"По умолчанию: 0.40"});
  EXPECT_EQ(position(slider), 18);
  choice = 0;
  rightClick(slider);
  EXPECT_EQ(position(slider), 8);
  EXPECT_EQ(text(control(L"gst")), L"0.40");
  EXPECT_EQ(readConfig(), file);  // nothing written until Save
  click(control(L"BitBtn1"));
  EXPECT_TRUE(saved("GlareStrength=0.4")) << readConfig();
}

TEST_F(DefaultsTest, TheMenuKeyAndShiftF10OfferTheFocusedControlsDefault) {
  writeConfig("[General]\r\nshowFPS=1\r\nuseTrilinear=0\r\n");
  open();
  focus(control(L"CheckBox1"));
  key(VK_APPS);
  focus(control(L"CheckBox3"));
  key(VK_F10, false, true, true);
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[0], std::vector<std::wstring>{L"По умолчанию: выкл."});
  EXPECT_EQ(menus[1], std::vector<std::wstring>{L"По умолчанию: вкл."});
  EXPECT_FALSE(checked(control(L"CheckBox1")));
  EXPECT_TRUE(checked(control(L"CheckBox3")));
  // A control without a setting has no menu.
  focus(control(L"BitBtn2"));
  key(VK_APPS);
  EXPECT_EQ(menus.size(), 2u);
}

TEST_F(DefaultsTest, APagesBackgroundSetsAllOfThatPageOnly) {
  const std::string file =
      "[General]\r\nshowFPS=1\r\n"
      "[Reflections]\r\nuseReflections=0\r\nsizeX=1024\r\nsizeY=1024\r\nmaxCount=100\r\n";
  writeConfig(file);
  open();
  form.selectPage(2);
  rightClick(control(L"GroupBox8"), 5, 100);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0], std::vector<std::wstring>{L"Все настройки страницы по умолчанию"});
  EXPECT_TRUE(checked(control(L"CheckBox13")));
  EXPECT_EQ(text(control(L"Label8")), L"512x512");
  EXPECT_EQ(text(control(L"Label9")), L"512");
  EXPECT_TRUE(checked(control(L"CheckBox1")));  // another page
  EXPECT_EQ(readConfig(), file);
  click(control(L"BitBtn1"));
  for (const char* line :
       {"useReflections=1", "sizeX=512", "sizeY=512", "maxCount=512", "showFPS=1"})
    EXPECT_TRUE(saved(line)) << line;
}

}  // namespace
}  // namespace zemlo::test
