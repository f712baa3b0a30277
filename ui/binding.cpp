// Moves values between the settings record and the controls, and keeps every
// value label in step with its slider.
#include <windows.h>

#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "settings/settings.h"
#include "settings/value_text.h"
#include "ui/main_window.h"
#include "ui/slider_math.h"

namespace zemlo::ui {

namespace {

using FlagField = uint8_t Settings::*;
using RealField = double Settings::*;
using IntField = int32_t Settings::*;
using ChangeHandler = void (TForm1::*)();

struct CheckBinding {
  ControlField box;
  FlagField field;
};

// Page by page, the order in which updateGUI sets the controls.
constexpr CheckBinding kChecks[] = {
    {&TForm1::CheckBox1, &Settings::showFPS},
    {&TForm1::CheckBox2, &Settings::showStat},
    {&TForm1::CheckBox3, &Settings::useTrilinear},
    {&TForm1::CheckBox4, &Settings::forceNoNightShader},
    {&TForm1::CheckBox5, &Settings::sharpenUI},
    {&TForm1::CheckBox6, &Settings::debugOutput},
    {&TForm1::CheckBox16, &Settings::handlePrintScreen},
    {&TForm1::CheckBox7, &Settings::UsePostProcessing},
    {&TForm1::CheckBox8, &Settings::DisablePPForMap},
    {&TForm1::CheckBox20, &Settings::UseSpecialNVGPP},
    {&TForm1::CheckBox21, &Settings::Force32bitPostProcessing},
    {&TForm1::CheckBox9, &Settings::HardLight},
    {&TForm1::CheckBox10, &Settings::Desaturate},
    {&TForm1::CheckBox11, &Settings::Glare},
    {&TForm1::CheckBox12, &Settings::GlareDarkenSky},
    {&TForm1::CheckBox19, &Settings::GlareUseFade},
    {&TForm1::CheckBox17, &Settings::GlareForce32bitBuffer},
    {&TForm1::CheckBox13, &Settings::useReflections},
    {&TForm1::CheckBox14, &Settings::reflectObjects},
    {&TForm1::CheckBox15, &Settings::useExpFog},
    {&TForm1::CheckBox18, &Settings::useLighting},
};

// A real shown by a slider and a two-decimal label: position = Round(value x factor).
struct RealSlider {
  ControlField slider;
  RealField field;
  int factor;
  ControlField label;
};
constexpr RealSlider kRealSliders[] = {
    {&TForm1::TrackBar1, &Settings::LODbias0, 10, &TForm1::LOD1},
    {&TForm1::TrackBar2, &Settings::LODbias1, 10, &TForm1::LOD2},
    {&TForm1::TrackBar6, &Settings::GlareStrength, 20, &TForm1::gst},
    {&TForm1::TrackBar7, &Settings::GlareSize, 2, &TForm1::gsi},
};

// A per-channel strength on a vertical slider, full strength at the top.
struct StrengthSlider {
  ControlField slider;
  RealField field;
};
constexpr StrengthSlider kStrengthSliders[] = {
    {&TForm1::HLs1, &Settings::HardLightSR},      {&TForm1::HLs2, &Settings::HardLightSG},
    {&TForm1::HLs3, &Settings::HardLightSB},      {&TForm1::TrackBar3, &Settings::DesaturateSR},
    {&TForm1::TrackBar4, &Settings::DesaturateSG}, {&TForm1::TrackBar5, &Settings::DesaturateSB},
};

// An integer whose slider position is the value itself.
struct CountSlider {
  ControlField slider;
  IntField field;
  ControlField label;
};
constexpr CountSlider kCountSliders[] = {
    {&TForm1::TrackBar8, &Settings::maxCount, &TForm1::Label9},
    {&TForm1::TrackBar9, &Settings::maxDistance, &TForm1::Label11},
    {&TForm1::TrackBar10, &Settings::maxHeight, &TForm1::Label12},
    {&TForm1::TrackBar12, &Settings::bumpStrength, &TForm1::Label15},
};

struct SliderHandler {
  ControlField slider;
  ChangeHandler handler;
};
constexpr SliderHandler kChangeHandlers[] = {
    {&TForm1::TrackBar1, &TForm1::TrackBar1Change},   {&TForm1::TrackBar2, &TForm1::TrackBar2Change},
    {&TForm1::TrackBar6, &TForm1::TrackBar6Change},   {&TForm1::TrackBar7, &TForm1::TrackBar7Change},
    {&TForm1::TrackBar8, &TForm1::TrackBar8Change},   {&TForm1::TrackBar9, &TForm1::TrackBar9Change},
    {&TForm1::TrackBar10, &TForm1::TrackBar10Change}, {&TForm1::TrackBar11, &TForm1::TrackBar11Change},
    {&TForm1::TrackBar12, &TForm1::TrackBar12Change},
};

int position(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); }

std::wstring widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string labelText(HWND label) {
  wchar_t buffer[64] = {};
  GetWindowTextW(label, buffer, 64);
  std::string text;
  for (const wchar_t* c = buffer; *c; ++c) text += *c < 0x80 ? static_cast<char>(*c) : '?';
  return text;
}

double parseRealLabel(HWND label) {
  const std::string text = labelText(label);
  const auto value = parseReal(text);
  if (!value) throw std::runtime_error("'" + text + "' is not a valid floating point value");
  return *value;
}

int32_t parseIntegerLabel(HWND label) {
  const std::string text = labelText(label);
  const auto value = parseInteger(text);
  if (!value) throw std::runtime_error("'" + text + "' is not a valid integer value");
  return *value;
}

}  // namespace

void TForm1::setSliderPosition(HWND slider, int newPosition) {
  const int low = static_cast<int>(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
  const int high = static_cast<int>(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
  newPosition = newPosition < low ? low : newPosition > high ? high : newPosition;
  if (newPosition == position(slider)) return;
  // Setting the position sends no notification: run the change handler here.
  SendMessageW(slider, TBM_SETPOS, TRUE, newPosition);
  for (const SliderHandler& h : kChangeHandlers)
    if (this->*h.slider == slider) (this->*h.handler)();
}

void TForm1::onScroll(HWND slider) {
  // Every scroll notification runs the handler, even one that ends where it began.
  for (const SliderHandler& h : kChangeHandlers)
    if (this->*h.slider == slider) (this->*h.handler)();
}

void TForm1::updateGUI() {
  const Settings& s = settings;
  const auto check = [&](const CheckBinding& b) {
    SendMessageW(this->*b.box, BM_SETCHECK, s.*b.field ? BST_CHECKED : BST_UNCHECKED, 0);
  };
  const auto real = [&](const RealSlider& b) {
    const HWND slider = this->*b.slider;
    const int low = static_cast<int>(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
    const int high = static_cast<int>(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    setSliderPosition(slider, scaledPosition(s.*b.field, b.factor, low, high));
  };
  const auto strength = [&](const StrengthSlider& b) {
    setSliderPosition(this->*b.slider, strengthPosition(s.*b.field));
  };
  const auto count = [&](const CountSlider& b) { setSliderPosition(this->*b.slider, s.*b.field); };

  // TabSheet1.
  for (int i = 0; i < 7; ++i) check(kChecks[i]);
  real(kRealSliders[0]);
  real(kRealSliders[1]);
  // TabSheet2.
  for (int i = 7; i < 17; ++i) check(kChecks[i]);
  for (const StrengthSlider& b : kStrengthSliders) strength(b);
  real(kRealSliders[2]);
  real(kRealSliders[3]);
  // TabSheet3.
  for (int i = 17; i < 21; ++i) check(kChecks[i]);
  setSliderPosition(TrackBar11, textureSizePosition(s.sizeX, s.sizeY, position(TrackBar11)));
  for (const CountSlider& b : kCountSliders) count(b);

  // Every label again, also where its slider did not move.
  for (const SliderHandler& h : kChangeHandlers) (this->*h.handler)();
}

void TForm1::updateSettings() {
  Settings& s = settings;
  for (const CheckBinding& b : kChecks)
    s.*b.field = SendMessageW(this->*b.box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  for (const RealSlider& b : kRealSliders) s.*b.field = parseRealLabel(this->*b.label);
  for (const StrengthSlider& b : kStrengthSliders) s.*b.field = strengthFromPosition(position(this->*b.slider));
  s.sizeX = s.sizeY = textureSizeForPosition(position(TrackBar11));
  for (const CountSlider& b : kCountSliders) s.*b.field = parseIntegerLabel(this->*b.label);
}

void TForm1::TrackBar1Change() { setLabelText(LOD1, widen(realLabel(position(TrackBar1), 10))); }
void TForm1::TrackBar2Change() { setLabelText(LOD2, widen(realLabel(position(TrackBar2), 10))); }
void TForm1::TrackBar6Change() { setLabelText(gst, widen(realLabel(position(TrackBar6), 20))); }
void TForm1::TrackBar7Change() { setLabelText(gsi, widen(realLabel(position(TrackBar7), 2))); }
void TForm1::TrackBar8Change() { setLabelText(Label9, std::to_wstring(position(TrackBar8))); }
void TForm1::TrackBar9Change() { setLabelText(Label11, std::to_wstring(position(TrackBar9))); }
void TForm1::TrackBar10Change() { setLabelText(Label12, std::to_wstring(position(TrackBar10))); }
void TForm1::TrackBar11Change() { setLabelText(Label8, widen(textureSizeLabel(position(TrackBar11)))); }
void TForm1::TrackBar12Change() { setLabelText(Label15, std::to_wstring(position(TrackBar12))); }

}  // namespace zemlo::ui
