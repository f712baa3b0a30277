// Moves values between the settings record and the controls, and keeps every
// value label in step with its slider: one row per check box and per slider.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>

#include "settings/settings.h"
#include "settings/value_text.h"
#include "settings/wide_text.h"
#include "ui/main_window.h"
#include "ui/slider_math.h"
#include "ui/win_handles.h"

namespace zemlo::ui {

namespace {

using ChangeHandler = void (TForm1::*)();

struct CheckRow {
  int page;  // 1..3: updateGUI sets the controls page by page
  ControlField box;
  uint8_t Settings::*field;
};

constexpr CheckRow kChecks[] = {
    {1, &TForm1::CheckBox1, &Settings::showFPS},
    {1, &TForm1::CheckBox2, &Settings::showStat},
    {1, &TForm1::CheckBox3, &Settings::useTrilinear},
    {1, &TForm1::CheckBox4, &Settings::forceNoNightShader},
    {1, &TForm1::CheckBox5, &Settings::sharpenUI},
    {1, &TForm1::CheckBox6, &Settings::debugOutput},
    {1, &TForm1::CheckBox16, &Settings::handlePrintScreen},
    {2, &TForm1::CheckBox7, &Settings::UsePostProcessing},
    {2, &TForm1::CheckBox8, &Settings::DisablePPForMap},
    {2, &TForm1::CheckBox20, &Settings::UseSpecialNVGPP},
    {2, &TForm1::CheckBox21, &Settings::Force32bitPostProcessing},
    {2, &TForm1::CheckBox9, &Settings::HardLight},
    {2, &TForm1::CheckBox10, &Settings::Desaturate},
    {2, &TForm1::CheckBox11, &Settings::Glare},
    {2, &TForm1::CheckBox12, &Settings::GlareDarkenSky},
    {2, &TForm1::CheckBox19, &Settings::GlareUseFade},
    {2, &TForm1::CheckBox17, &Settings::GlareForce32bitBuffer},
    {3, &TForm1::CheckBox13, &Settings::useReflections},
    {3, &TForm1::CheckBox14, &Settings::reflectObjects},
    {3, &TForm1::CheckBox15, &Settings::useExpFog},
    {3, &TForm1::CheckBox18, &Settings::useLighting},
};

// A value label's text as a number; a label only ever holds what its slider wrote.
template <typename T>
T parseLabel(const std::string& text, std::optional<T> (*parse)(std::string_view),
             const char* what) {
  const std::optional<T> value = parse(text);
  if (!value) throw std::runtime_error("'" + text + "' is not a valid " + what + " value");
  return *value;
}

// How a kind of slider relates its position to its setting(s) and its label.
struct SliderKind {
  // Record to position, before the slider clamps it to [low, high]; `current`
  // is where the slider stands now.
  int (*position)(const Settings& s, int low, int high, int current);
  // Controls to record: from the slider's position and its label's text.
  void (*store)(Settings& s, int position, const std::string& labelText);
  std::string (*labelText)(int position);
};

// A real shown as Round(value x Factor), its label two decimals of position / Factor.
template <double Settings::*Field, int Factor>
constexpr SliderKind real{[](const Settings& s, int low, int high, int) {
                            return scaledPosition(s.*Field, Factor, low, high);
                          },
                          [](Settings& s, int, const std::string& text) {
                            s.*Field = parseLabel(text, parseReal, "floating point");
                          },
                          [](int position) { return realLabel(position, Factor); }};

// A per-channel strength on a vertical slider, full strength at the top; no label.
template <double Settings::*Field>
constexpr SliderKind strength{
    [](const Settings& s, int, int, int) { return strengthPosition(s.*Field); },
    [](Settings& s, int position, const std::string&) {
      s.*Field = strengthFromPosition(position);
    },
    nullptr};

// An integer whose position is the value itself.
template <int32_t Settings::*Field>
constexpr SliderKind count{[](const Settings& s, int, int, int) { return int{s.*Field}; },
                           [](Settings& s, int, const std::string& text) {
                             s.*Field = parseLabel(text, parseInteger, "integer");
                           },
                           [](int position) { return std::to_string(position); }};

constexpr SliderKind textureSize{
    [](const Settings& s, int, int, int now) { return textureSizePosition(s.sizeX, s.sizeY, now); },
    [](Settings& s, int position, const std::string&) {
      s.sizeX = s.sizeY = textureSizeForPosition(position);
    },
    textureSizeLabel};

// A slider, its value label and the setting(s) it shows.
struct SliderRow {
  int page;
  ControlField slider;
  ControlField label;    // null: no value label
  ChangeHandler change;  // its change handler, if it has one
  const SliderKind& kind;
};

using F = TForm1;
using S = Settings;
// clang-format off
constexpr SliderRow kSliders[] = {
    {1, &F::TrackBar1, &F::LOD1, &F::TrackBar1Change, real<&S::LODbias0, 10>},
    {1, &F::TrackBar2, &F::LOD2, &F::TrackBar2Change, real<&S::LODbias1, 10>},
    {2, &F::HLs1, nullptr, nullptr, strength<&S::HardLightSR>},
    {2, &F::HLs2, nullptr, nullptr, strength<&S::HardLightSG>},
    {2, &F::HLs3, nullptr, nullptr, strength<&S::HardLightSB>},
    {2, &F::TrackBar3, nullptr, nullptr, strength<&S::DesaturateSR>},
    {2, &F::TrackBar4, nullptr, nullptr, strength<&S::DesaturateSG>},
    {2, &F::TrackBar5, nullptr, nullptr, strength<&S::DesaturateSB>},
    {2, &F::TrackBar6, &F::gst, &F::TrackBar6Change, real<&S::GlareStrength, 20>},
    {2, &F::TrackBar7, &F::gsi, &F::TrackBar7Change, real<&S::GlareSize, 2>},
    {3, &F::TrackBar11, &F::Label8, &F::TrackBar11Change, textureSize},
    {3, &F::TrackBar8, &F::Label9, &F::TrackBar8Change, count<&S::maxCount>},
    {3, &F::TrackBar9, &F::Label11, &F::TrackBar9Change, count<&S::maxDistance>},
    {3, &F::TrackBar10, &F::Label12, &F::TrackBar10Change, count<&S::maxHeight>},
    {3, &F::TrackBar12, &F::Label15, &F::TrackBar12Change, count<&S::bumpStrength>},
};
// clang-format on

int position(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); }
int rangeMin(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0)); }
int rangeMax(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0)); }

std::string textOf(HWND label) { return narrow(windowText(label)); }

}  // namespace

void TForm1::sliderMoved(HWND slider) {
  for (const SliderRow& row : kSliders)
    if (this->*row.slider == slider && row.change) (this->*row.change)();
}

void TForm1::showSliderValue(ControlField slider) {
  for (const SliderRow& row : kSliders)
    if (row.slider == slider)
      setLabelText(this->*row.label, widen(row.kind.labelText(position(this->*slider))));
}

void TForm1::setSliderPosition(HWND slider, int newPosition) {
  newPosition = std::clamp(newPosition, rangeMin(slider), rangeMax(slider));
  if (newPosition == position(slider)) return;
  // Setting the position sends no notification: run the change handler here.
  SendMessageW(slider, TBM_SETPOS, TRUE, newPosition);
  sliderMoved(slider);
}

void TForm1::onScroll(HWND slider) {
  // Every scroll notification runs the handler, even one that ends where it began.
  sliderMoved(slider);
}

void TForm1::updateGUI() {
  for (int page = 1; page <= 3; ++page) {
    for (const CheckRow& row : kChecks)
      if (row.page == page)
        SendMessageW(this->*row.box, BM_SETCHECK, settings.*row.field ? BST_CHECKED : BST_UNCHECKED,
                     0);
    for (const SliderRow& row : kSliders) {
      if (row.page != page) continue;
      const HWND slider = this->*row.slider;
      setSliderPosition(slider, row.kind.position(settings, rangeMin(slider), rangeMax(slider),
                                                  position(slider)));
    }
  }
  // Every label again, also where its slider did not move.
  for (const SliderRow& row : kSliders)
    if (row.change) (this->*row.change)();
}

void TForm1::updateSettings() {
  for (const CheckRow& row : kChecks)
    settings.*row.field = SendMessageW(this->*row.box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  // A labelled slider's setting is read back from its label, not its position:
  // the label shows the value rounded to the slider's step, and that decimal
  // is what is saved (a GlareStrength of 0.43 shows as 0.45 and saves as 0.45).
  for (const SliderRow& row : kSliders)
    row.kind.store(settings, position(this->*row.slider),
                   row.label ? textOf(this->*row.label) : std::string());
}

void TForm1::TrackBar1Change() { showSliderValue(&TForm1::TrackBar1); }
void TForm1::TrackBar2Change() { showSliderValue(&TForm1::TrackBar2); }
void TForm1::TrackBar6Change() { showSliderValue(&TForm1::TrackBar6); }
void TForm1::TrackBar7Change() { showSliderValue(&TForm1::TrackBar7); }
void TForm1::TrackBar8Change() { showSliderValue(&TForm1::TrackBar8); }
void TForm1::TrackBar9Change() { showSliderValue(&TForm1::TrackBar9); }
void TForm1::TrackBar10Change() { showSliderValue(&TForm1::TrackBar10); }
void TForm1::TrackBar11Change() { showSliderValue(&TForm1::TrackBar11); }
void TForm1::TrackBar12Change() { showSliderValue(&TForm1::TrackBar12); }

}  // namespace zemlo::ui
