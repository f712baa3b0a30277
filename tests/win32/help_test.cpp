// Context help driven by real mouse-move messages over the real controls.
#include <windows.h>

#include "ui/help_texts.h"
#include "ui/layout.h"
#include "win32/ui_test_support.h"

namespace zemlo::test {
namespace {

class HelpTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    open();
  }
  // A mouse move at (x, y) of `hwnd`'s client area, as Windows posts it.
  void moveOver(HWND hwnd, int x, int y) {
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    pump();
  }
  // Over a control's middle; labels let the mouse through to their parent.
  void moveOver(HWND hwnd) {
    RECT r = placement(hwnd);
    if (isClass(hwnd, L"Static"))
      moveOver(GetParent(hwnd), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    else
      moveOver(hwnd, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
  }
  std::wstring help(int n) { return text(control((L"Help" + std::to_wstring(n)).c_str())); }
  // Over what explains a control to the mouse: the control itself, or for a
  // slider, which shows nothing when hovered, its caption label where that has
  // help, else its group's background.
  void moveOverWhatExplains(const ui::ControlRow& row);
};

// A group box's own background, clear of its children.
struct Background {
  const wchar_t* box;
  int x, y;
};
const Background kGroupBox1{L"GroupBox1", 8, 140};
const Background kGroupBox4{L"GroupBox4", 215, 20};
const Background kGroupBox5{L"GroupBox5", 3, 50};
const Background kGroupBox6{L"GroupBox6", 3, 50};
const Background kGroupBox7{L"GroupBox7", 195, 80};
const Background kGroupBox8{L"GroupBox8", 5, 100};

void HelpTest::moveOverWhatExplains(const ui::ControlRow& row) {
  const ui::ControlRow* label = ui::rowOf(row.namedBy);
  if (row.kind != ui::Kind::HSlider && row.kind != ui::Kind::VSlider)
    moveOver(control(row.name));
  else if (label && label->help)
    moveOver(control(label->name));
  else  // a colour slider: both colour groups have their background there
    moveOver(GetParent(control(row.name)), kGroupBox5.x, kGroupBox5.y);
}

TEST_F(HelpTest, EveryControlWithHelpFillsItsOwnPane) {
  const Background boxes[] = {kGroupBox5, kGroupBox6, kGroupBox7};
  for (const ui::ControlRow& entry : ui::controlTable()) {
    if (!entry.help) continue;
    HWND target = control(entry.name);
    bool isBox = false;
    for (const Background& b : boxes)
      if (control(b.box) == target) {
        moveOver(target, b.x, b.y);
        isBox = true;
      }
    if (!isBox) moveOver(target);
    EXPECT_EQ(help(ui::pageOf(entry) + 1), ui::paneText(entry.help)) << named(entry.name);
  }
}

TEST_F(HelpTest, TextsAreTheProgramsOwnWithPaneLineBreaks) {
  moveOver(control(L"CheckBox1"));
  EXPECT_EQ(
      help(1),
      L"Shows the current FPS (Frames Per Second) in the top left corner of the screen\r\n\r\n"
      L"You can also toggle this setting in-game by pressing App-F");
  moveOver(control(L"CheckBox14"));
  EXPECT_EQ(
      help(3),
      L"Enables object reflections.\r\n\r\nEnables objects (vehicles, trees, buildings) to be "
      L"reflected in water. The reflected objects come from the last rendered frame, so they look "
      L"\"laggy\" in motion.\r\n\r\nYou can also toggle this setting in-game by pressing App-O");
  moveOver(control(L"Label14"));
  EXPECT_EQ(
      help(3),
      L"Bumpmap effect strength.\r\n\r\nSets the \"roughness\" of the bump map effect on water.");
  moveOver(control(kGroupBox7.box), kGroupBox7.x, kGroupBox7.y);
  const std::wstring glare = help(2);
  moveOver(control(L"CheckBox11"));
  EXPECT_EQ(help(2), glare);
  EXPECT_EQ(glare.rfind(L"\"Glare\" postprocessing effect settings.\r\n\r\n", 0), 0u);
}

TEST_F(HelpTest, GroupBox1AndGroupBox8BackgroundsEmptyAllPanes) {
  for (const Background& b : {kGroupBox1, kGroupBox8}) {
    moveOver(control(L"CheckBox3"));
    moveOver(control(L"CheckBox7"));
    moveOver(control(L"CheckBox13"));
    ASSERT_FALSE(help(1).empty());
    ASSERT_FALSE(help(2).empty());
    ASSERT_FALSE(help(3).empty());
    moveOver(control(b.box), b.x, b.y);
    EXPECT_EQ(help(1), L"");
    EXPECT_EQ(help(2), L"");
    EXPECT_EQ(help(3), L"");
  }
}

TEST_F(HelpTest, GroupBox4BackgroundEmptiesOnlyItsPane) {
  moveOver(control(L"CheckBox3"));
  moveOver(control(L"CheckBox7"));
  moveOver(control(kGroupBox4.box), kGroupBox4.x, kGroupBox4.y);
  EXPECT_EQ(help(2), L"");
  EXPECT_FALSE(help(1).empty());
  // Inside it, the hard-light box has a text of its own.
  moveOver(control(kGroupBox5.box), kGroupBox5.x, kGroupBox5.y);
  EXPECT_EQ(help(2).rfind(L"\"Hard Light\" postprocessing effect settings.", 0), 0u);
}

TEST_F(HelpTest, ControlsWithoutHelpChangeNothing) {
  moveOver(control(L"CheckBox12"));
  const std::wstring before = help(2);
  for (const wchar_t* name :
       {L"TrackBar6", L"gst", L"Label4", L"Label5", L"CheckBox9", L"CheckBox10", L"HLs2"}) {
    moveOver(control(name));
    EXPECT_EQ(help(2), before) << named(name);
  }
  moveOver(control(L"Label9"));
  moveOver(control(L"TrackBar8"));
  moveOver(control(L"GroupBox12"), 100, 5);
  moveOver(control(L"Help1"));
  moveOver(control(L"BitBtn1"));
  EXPECT_EQ(help(2), before);
  EXPECT_EQ(help(3), L"");
}

TEST_F(HelpTest, TheSameTextLeavesCaretAndSelectionAlone) {
  HWND pane = control(L"Help1");
  moveOver(control(L"CheckBox5"));
  SendMessageW(pane, EM_SETSEL, 5, 12);
  moveOver(control(L"CheckBox5"));
  DWORD start = 0, end = 0;
  SendMessageW(pane, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 5u);
  EXPECT_EQ(end, 12u);
  moveOver(control(L"CheckBox6"));
  EXPECT_EQ(help(1).rfind(L"Enables ZEMLO debug output.", 0), 0u);
}

TEST_F(HelpTest, WhatTheUserTypedIsReplacedByTheNextText) {
  HWND pane = control(L"Help3");
  form.selectPage(2);
  focus(pane);
  for (wchar_t c : std::wstring(L"notes")) typeChar(c, false);
  EXPECT_EQ(help(3), L"notes");
  moveOver(control(L"CheckBox15"));
  EXPECT_EQ(help(3).rfind(L"Uses an exponential fog effect on water.", 0), 0u);
}

// Tab onto a control: its page's pane shows what hovering over it shows, a
// slider what hovering over its caption label or group shows, and a control
// without help leaves the pane as hovering over it does. Each control of the
// page, in the order Tab takes from the tab row.
TEST_F(HelpTest, TheKeyboardFocusShowsWhatHoveringShows) {
  for (int page = 0; page < 3; ++page) {
    form.selectPage(page);
    const HWND sheet = control((L"TabSheet" + std::to_wstring(page + 1)).c_str());
    std::vector<const ui::ControlRow*> inTabOrder;
    focus(control(L"PageControl1"));
    for (key(VK_TAB); IsChild(sheet, GetFocus()); key(VK_TAB))
      for (const ui::ControlRow& row : ui::controlTable())
        if (form.controlByName(row.name) == GetFocus()) inTabOrder.push_back(&row);
    ASSERT_FALSE(inTabOrder.empty()) << "page " << page;
    std::vector<std::wstring> hovered;
    moveOver(control(kGroupBox1.box), kGroupBox1.x, kGroupBox1.y);  // empties every pane
    for (const ui::ControlRow* row : inTabOrder) {
      moveOverWhatExplains(*row);
      hovered.push_back(help(page + 1));
    }
    moveOver(control(kGroupBox1.box), kGroupBox1.x, kGroupBox1.y);
    focus(control(L"PageControl1"));
    for (std::size_t i = 0; i < hovered.size(); ++i) {
      key(VK_TAB);
      ASSERT_EQ(GetFocus(), control(inTabOrder[i]->name));
      EXPECT_EQ(help(page + 1), hovered[i]) << named(inTabOrder[i]->name);
    }
  }
}

TEST_F(HelpTest, PanesKeepTheirTextAcrossPageChanges) {
  moveOver(control(L"CheckBox2"));
  const std::wstring shown = help(1);
  form.selectPage(2);
  form.selectPage(0);
  EXPECT_EQ(help(1), shown);
}

}  // namespace
}  // namespace zemlo::test
