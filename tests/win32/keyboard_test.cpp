// The keyboard: default button, accelerators, Tab order, page switching.
#include <windows.h>

#include <commctrl.h>

#include "win32/ui_test_support.h"

namespace zemlo::test {
namespace {

using KeyboardTest = WindowTest;

bool saved(const std::vector<ShownMessageBox>& shown) {
  return !shown.empty() && shown.back().text == L"Settings saved.";
}
bool revertAsked(const std::vector<ShownMessageBox>& shown) {
  return !shown.empty() && shown.back().text == L"Revert settings?";
}

TEST_F(KeyboardTest, OpensOnTheFirstPageWithSaveFocused) {
  open();
  EXPECT_EQ(form.activePage(), 0);
  EXPECT_EQ(GetFocus(), control(L"BitBtn1"));
  EXPECT_TRUE(IsWindowVisible(control(L"TabSheet1")));
  EXPECT_FALSE(IsWindowVisible(control(L"TabSheet2")));
}

TEST_F(KeyboardTest, EnterPressesTheDefaultOrTheFocusedButton) {
  struct Case {
    const wchar_t* focus;
    bool (*expect)(const std::vector<ShownMessageBox>&);
  };
  const Case cases[] = {{L"BitBtn1", saved},
                        {L"CheckBox3", saved},
                        {L"TrackBar1", saved},
                        {L"PageControl1", saved},
                        {L"BitBtn2", revertAsked}};
  for (const Case& c : cases) {
    open();
    answer = IDCANCEL;
    focus(control(c.focus));
    key(VK_RETURN);
    EXPECT_TRUE(c.expect(boxes)) << named(c.focus);
    DestroyWindow(form.handle());
    boxes.clear();
  }
}

TEST_F(KeyboardTest, EnterInAHelpPaneStartsANewLineAndOnExitCloses) {
  open();
  focus(control(L"Help1"));
  key(VK_RETURN);
  EXPECT_TRUE(boxes.empty());
  focus(control(L"BitBtn3"));
  key(VK_RETURN);
  EXPECT_EQ(form.handle(), nullptr);
}

TEST_F(KeyboardTest, AcceleratorsInEitherLetterCase) {
  struct Case {
    wchar_t letter;
    bool alt;
    const wchar_t* focus;
    bool (*expect)(const std::vector<ShownMessageBox>&);
  };
  const Case cases[] = {
      {L'С', true, L"BitBtn1", saved},
      {L'с', true, L"CheckBox1", saved},
      {L'В', true, L"BitBtn1", revertAsked},
      {L'в', true, L"TrackBar1", revertAsked},
      // A letter alone works where typing means nothing.
      {L'с', false, L"CheckBox2", saved},
      {L'в', false, L"BitBtn3", revertAsked},
  };
  for (const Case& c : cases) {
    open();
    answer = IDCANCEL;
    focus(control(c.focus));
    typeChar(c.letter, c.alt);
    EXPECT_TRUE(c.expect(boxes)) << int(c.letter) << (c.alt ? " with Alt" : " alone");
    // Alt+В never reaches Exit.
    EXPECT_NE(form.handle(), nullptr);
    DestroyWindow(form.handle());
    boxes.clear();
  }
}

TEST_F(KeyboardTest, LettersTypedIntoAHelpPaneAreJustText) {
  open();
  focus(control(L"Help1"));
  typeChar(L'с', false);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(text(control(L"Help1")), L"с");
}

TEST_F(KeyboardTest, EscapeDoesNothing) {
  open();
  for (const wchar_t* name : {L"BitBtn1", L"CheckBox1", L"Help1"}) {
    focus(control(name));
    key(VK_ESCAPE);
    EXPECT_NE(form.handle(), nullptr);
    EXPECT_TRUE(boxes.empty());
  }
}

TEST_F(KeyboardTest, TabVisitsTheControlsInTheirOrder) {
  open();
  const wchar_t* page1[] = {L"BitBtn2",   L"BitBtn3",   L"PageControl1", L"CheckBox1",
                            L"CheckBox2", L"CheckBox3", L"CheckBox4",    L"CheckBox5",
                            L"CheckBox6", L"TrackBar1", L"TrackBar2",    L"CheckBox16",
                            L"Help1",     L"BitBtn1"};
  for (const wchar_t* name : page1) {
    key(VK_TAB);
    EXPECT_EQ(GetFocus(), control(name)) << named(name);
  }
  key(VK_TAB, false, true);
  EXPECT_EQ(GetFocus(), control(L"Help1"));

  form.selectPage(1);
  focus(control(L"PageControl1"));
  const wchar_t* page2[] = {L"Help2",     L"CheckBox7",  L"CheckBox8",  L"HLs1",       L"HLs2",
                            L"HLs3",      L"CheckBox9",  L"CheckBox11", L"CheckBox12", L"TrackBar6",
                            L"TrackBar7", L"CheckBox17", L"CheckBox19", L"TrackBar3",  L"TrackBar4",
                            L"TrackBar5", L"CheckBox10", L"CheckBox20", L"CheckBox21", L"BitBtn1"};
  for (const wchar_t* name : page2) {
    key(VK_TAB);
    EXPECT_EQ(GetFocus(), control(name)) << named(name);
  }

  form.selectPage(2);
  focus(control(L"PageControl1"));
  const wchar_t* page3[] = {L"CheckBox13", L"CheckBox14", L"CheckBox15", L"CheckBox18",
                            L"TrackBar11", L"TrackBar8",  L"TrackBar9",  L"TrackBar10",
                            L"TrackBar12", L"Help3"};
  for (const wchar_t* name : page3) {
    key(VK_TAB);
    EXPECT_EQ(GetFocus(), control(name)) << named(name);
  }

  form.selectPage(3);
  focus(control(L"PageControl1"));
  key(VK_TAB);
  EXPECT_EQ(GetFocus(), control(L"Memo1"));
  key(VK_RETURN);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(KeyboardTest, CtrlTabSwitchesPagesFromTheTabRowOrInsideAPage) {
  open();
  focus(control(L"PageControl1"));
  key(VK_TAB, true);
  EXPECT_EQ(form.activePage(), 1);
  key(VK_TAB, true, true);
  key(VK_TAB, true, true);
  EXPECT_EQ(form.activePage(), 3);  // wraps round
  key(VK_TAB, true);
  EXPECT_EQ(form.activePage(), 0);

  focus(control(L"CheckBox3"));
  key(VK_TAB, true);
  EXPECT_EQ(form.activePage(), 1);
  // The focus left the hidden page for the new one.
  EXPECT_TRUE(IsChild(control(L"TabSheet2"), GetFocus()));

  focus(control(L"BitBtn2"));
  key(VK_TAB, true);
  EXPECT_EQ(form.activePage(), 1);
  EXPECT_EQ(GetFocus(), control(L"BitBtn2"));
}

TEST_F(KeyboardTest, ClickingATabShowsItsPage) {
  open();
  TabCtrl_SetCurFocus(control(L"PageControl1"), 2);
  pump();
  EXPECT_EQ(form.activePage(), 2);
  EXPECT_TRUE(IsWindowVisible(control(L"TabSheet3")));
  EXPECT_FALSE(IsWindowVisible(control(L"TabSheet1")));
}

}  // namespace
}  // namespace zemlo::test
