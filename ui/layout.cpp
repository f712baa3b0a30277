#include "ui/layout.h"

#include <algorithm>
#include <string_view>

#include "ui/bindings.h"
#include "ui/help_texts.h"

namespace zemlo::ui {

namespace {

using C = FormControls;
using S = Settings;
using namespace help;

// What some kinds add to a row.

// A check box and its setting; its help, if any.
constexpr ControlRow check(ControlRow row, const Binding& bind, const char* help = nullptr) {
  row.bind = &bind;
  row.help = help;
  return row;
}

// A slider, its setting(s), and the labels beside it that show its value and name it.
constexpr ControlRow slider(ControlRow row, const Binding& bind,
                            const wchar_t* valueLabel = nullptr, const wchar_t* namedBy = nullptr) {
  row.bind = &bind;
  row.valueLabel = valueLabel;
  row.namedBy = namedBy;
  return row;
}

// A control told apart from its like neighbours by its group: named by the
// group's caption and `part`, by default its own caption.
constexpr ControlRow inGroup(ControlRow row, const wchar_t* part = nullptr) {
  row.nameInGroup = part ? part : row.caption;
  return row;
}

// The channels of the colour sliders, left to right as config.cfg orders them.
constexpr wchar_t kRed[] = L"красный", kGreen[] = L"зеленый", kBlue[] = L"синий";

// A label or group box with help, or a group box whose background empties panes.
constexpr ControlRow helps(ControlRow row, const char* help, Clears clears = Clears::Nothing) {
  row.help = help;
  row.clears = clears;
  return row;
}

// A control the window's code names (a member of FormControls), or one it finds by its row.
#define F(name) &C::name, L## #name
#define N(name) nullptr, L## #name
constexpr const wchar_t* kForm = nullptr;

// Columns: control, kind, parent, tab order, {left, top, width, height}, caption, options;
// then what check boxes, sliders and help add: the setting(s) shown, the value label, the help;
// inGroup(...) around those a reader names by their group.
// One control a line, as the layout tables read: wider than the code's lines.
// clang-format off
constexpr ControlRow kControls[] = {
    // Top level.
    {F(BitBtn1), Kind::Button, kForm, 0, {32, 368, 105, 25}, L"&Сохранить", Font::Inherit, {}, Glyph::Yes},
    {F(BitBtn2), Kind::Button, kForm, 1, {152, 368, 105, 25}, L"&Вернуть", Font::Inherit, {}, Glyph::Retry},
    {F(BitBtn3), Kind::Button, kForm, 2, {376, 368, 105, 25}, L"&Выход", Font::Inherit, {}, Glyph::Close},
    {F(PageControl1), Kind::Tabs, kForm, 3, {8, 8, 497, 345}},
    {N(TabSheet1), Kind::Page, L"PageControl1", 0, {}, L"Основные"},
    {N(TabSheet2), Kind::Page, L"PageControl1", 1, {}, L"Постпроцессинг"},
    {N(TabSheet3), Kind::Page, L"PageControl1", 2, {}, L"Отражения"},
    {N(TabSheet4), Kind::Page, L"PageControl1", 3, {}, L"О программе"},

    // TabSheet1 "Основные".
    helps({N(GroupBox1), Kind::GroupBox, L"TabSheet1", 0, {8, 12, 225, 281}, L"Основные Настройки"}, nullptr, Clears::AllPanes),
    check({N(CheckBox1), Kind::CheckBox, L"GroupBox1", 0, {16, 24, 97, 17}, L"Вкл. FPS"}, flag<&S::showFPS>, kShowFpsHelp),
    check({N(CheckBox2), Kind::CheckBox, L"GroupBox1", 1, {16, 40, 193, 17}, L"Вкл. вывод статистики"}, flag<&S::showStat>, kShowStatHelp),
    check({N(CheckBox3), Kind::CheckBox, L"GroupBox1", 2, {16, 56, 193, 17}, L"Вкл. трилинейную фильтрацию"}, flag<&S::useTrilinear>, kTrilinearHelp),
    check({N(CheckBox4), Kind::CheckBox, L"GroupBox1", 3, {16, 72, 193, 17}, L"Выкл. эффект ночного шейдера"}, flag<&S::forceNoNightShader>, kNoNightShaderHelp),
    check({N(CheckBox5), Kind::CheckBox, L"GroupBox1", 4, {16, 88, 193, 17}, L"Резкость интерфейса"}, flag<&S::sharpenUI>, kSharpenUiHelp),
    check({N(CheckBox16), Kind::CheckBox, L"GroupBox1", 8, {16, 104, 193, 17}, L"Вкл. скрины клавишей PrntScrn"}, flag<&S::handlePrintScreen>, kPrintScreenHelp),
    check({N(CheckBox6), Kind::CheckBox, L"GroupBox1", 5, {16, 120, 193, 17}, L"Выводить Debug-файл"}, flag<&S::debugOutput>, kDebugOutputHelp),
    helps({N(Label1), Kind::Label, L"GroupBox1", -1, {16, 152, 123, 13}, L"Осн. текстура mipmap LODbias:"}, kLodBias0Help),
    slider({N(TrackBar1), Kind::HSlider, L"GroupBox1", 6, {16, 168, 185, 25}, L"", Font::Inherit, {-10, 10, 1, 2, 14, 0}}, real<&S::LODbias0, 10>, L"LOD1", L"Label1"),
    {N(LOD1), Kind::FixedLabel, L"GroupBox1", -1, {24, 191, 169, 13}, L"", Font::Small},
    helps({N(Label2), Kind::Label, L"GroupBox1", -1, {16, 208, 123, 13}, L"Мультитекстура mipmap LODbias:"}, kLodBias1Help),
    slider({N(TrackBar2), Kind::HSlider, L"GroupBox1", 7, {16, 224, 185, 25}, L"", Font::Inherit, {-10, 10, 1, 2, 14, 0}}, real<&S::LODbias1, 10>, L"LOD2", L"Label2"),
    {N(LOD2), Kind::FixedLabel, L"GroupBox1", -1, {24, 248, 169, 13}, L"", Font::Small},
    {N(GroupBox2), Kind::GroupBox, L"TabSheet1", 1, {248, 12, 225, 281}, L"Помощь"},
    {F(Help1), Kind::HelpPane, L"GroupBox2", 0, {16, 24, 193, 241}, L"", Font::Help},

    // TabSheet2 "Постпроцессинг".
    helps({N(GroupBox4), Kind::GroupBox, L"TabSheet2", 1, {8, 12, 225, 293}, L"Настройки постпроцессинга"}, nullptr, Clears::OwnPane),
    check({N(CheckBox7), Kind::CheckBox, L"GroupBox4", 0, {16, 16, 169, 17}, L"Вкл. постпроцессинг"}, flag<&S::UsePostProcessing>, kPostProcessingHelp),
    check({N(CheckBox8), Kind::CheckBox, L"GroupBox4", 1, {16, 32, 189, 17}, L"Выкл. постпроцессинг для карты"}, flag<&S::DisablePPForMap>, kNoPostProcessingForMapHelp),
    check({N(CheckBox20), Kind::CheckBox, L"GroupBox4", 5, {16, 48, 177, 17}, L"Вкл. спец. эффект ПНВ"}, flag<&S::UseSpecialNVGPP>, kNightVisionHelp),
    check({N(CheckBox21), Kind::CheckBox, L"GroupBox4", 6, {16, 64, 177, 17}, L"Вкл. полный 32-bit цвет"}, flag<&S::Force32bitPostProcessing>, kPostProcessing32bitHelp),
    helps({N(GroupBox5), Kind::GroupBox, L"GroupBox4", 2, {8, 88, 89, 97}, L"\"Жесткий\" свет", Font::Small}, kHardLightHelp),
    inGroup(slider({N(HLs1), Kind::VSlider, L"GroupBox5", 0, {8, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}}, strength<&S::HardLightSR>), kRed),
    inGroup(slider({N(HLs2), Kind::VSlider, L"GroupBox5", 1, {32, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}}, strength<&S::HardLightSG>), kGreen),
    inGroup(slider({N(HLs3), Kind::VSlider, L"GroupBox5", 2, {56, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}}, strength<&S::HardLightSB>), kBlue),
    inGroup(check({N(CheckBox9), Kind::CheckBox, L"GroupBox5", 3, {17, 72, 64, 17}, L" Вкл."}, flag<&S::HardLight>)),
    helps({N(GroupBox6), Kind::GroupBox, L"GroupBox4", 4, {120, 88, 89, 97}, L"Обесцвечивание", Font::Small}, kDesaturateHelp),
    inGroup(slider({N(TrackBar3), Kind::VSlider, L"GroupBox6", 0, {8, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}}, strength<&S::DesaturateSR>), kRed),
    inGroup(slider({N(TrackBar4), Kind::VSlider, L"GroupBox6", 1, {32, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}}, strength<&S::DesaturateSG>), kGreen),
    inGroup(slider({N(TrackBar5), Kind::VSlider, L"GroupBox6", 2, {56, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}}, strength<&S::DesaturateSB>), kBlue),
    inGroup(check({N(CheckBox10), Kind::CheckBox, L"GroupBox6", 3, {17, 72, 64, 17}, L" Вкл."}, flag<&S::Desaturate>)),
    helps({N(GroupBox7), Kind::GroupBox, L"GroupBox4", 3, {8, 192, 201, 89}, L"Эффект пов. яркости", Font::Small}, kGlareHelp),
    {N(Label4), Kind::Label, L"GroupBox7", -1, {8, 13, 37, 11}, L"Сила:"},
    {N(gst), Kind::Label, L"GroupBox7", -1, {49, 13, 10, 11}},
    slider({N(TrackBar6), Kind::HSlider, L"GroupBox7", 2, {8, 24, 105, 25}, L"", Font::Inherit, {0, 20, 1, 2, 13, 0}}, real<&S::GlareStrength, 20>, L"gst", L"Label4"),
    {N(Label5), Kind::Label, L"GroupBox7", -1, {8, 47, 19, 11}, L"Размер:"},
    {N(gsi), Kind::Label, L"GroupBox7", -1, {49, 47, 10, 11}},
    slider({N(TrackBar7), Kind::HSlider, L"GroupBox7", 3, {8, 56, 105, 25}, L"", Font::Inherit, {2, 12, 1, 1, 13, 2}}, real<&S::GlareSize, 2>, L"gsi", L"Label5"),
    inGroup(check({N(CheckBox11), Kind::CheckBox, L"GroupBox7", 0, {121, 16, 64, 17}, L"Вкл."}, flag<&S::Glare>, kGlareHelp)),
    check({N(CheckBox12), Kind::CheckBox, L"GroupBox7", 1, {121, 32, 64, 17}, L"Темн. небо"}, flag<&S::GlareDarkenSky>, kGlareDarkenSkyHelp),
    check({N(CheckBox17), Kind::CheckBox, L"GroupBox7", 4, {121, 48, 64, 17}, L"Исп. 32-bit"}, flag<&S::GlareForce32bitBuffer>, kGlare32bitHelp),
    check({N(CheckBox19), Kind::CheckBox, L"GroupBox7", 5, {121, 64, 64, 17}, L"Зат. света"}, flag<&S::GlareUseFade>, kGlareFadeHelp),
    {N(GroupBox3), Kind::GroupBox, L"TabSheet2", 0, {248, 12, 225, 293}, L"Помощь"},
    {F(Help2), Kind::HelpPane, L"GroupBox3", 0, {16, 24, 193, 257}, L"", Font::Help},

    // TabSheet3 "Отражения".
    helps({N(GroupBox8), Kind::GroupBox, L"TabSheet3", 0, {8, 12, 225, 293}, L"Настройка отражений"}, nullptr, Clears::AllPanes),
    check({N(CheckBox13), Kind::CheckBox, L"GroupBox8", 0, {16, 24, 169, 17}, L"Вкл. отражения"}, flag<&S::useReflections>, kReflectionsHelp),
    check({N(CheckBox14), Kind::CheckBox, L"GroupBox8", 1, {16, 40, 177, 17}, L"Вкл. отражение объектов"}, flag<&S::reflectObjects>, kReflectObjectsHelp),
    check({N(CheckBox15), Kind::CheckBox, L"GroupBox8", 2, {16, 56, 177, 17}, L"Вкл. туман на воде"}, flag<&S::useExpFog>, kExpFogHelp),
    check({N(CheckBox18), Kind::CheckBox, L"GroupBox8", 3, {16, 72, 177, 17}, L"Вкл. подсветку отражений"}, flag<&S::useLighting>, kReflectionLightingHelp),
    helps({N(Label6), Kind::Label, L"GroupBox8", -1, {10, 109, 51, 11}, L"Размер текстур:", Font::Small}, kReflectionSizeHelp),
    {N(Label8), Kind::Label, L"GroupBox8", -1, {83, 109, 34, 11}, L"", Font::Small},
    slider({N(TrackBar11), Kind::HSlider, L"GroupBox8", 4, {24, 120, 161, 18}, L"", Font::Inherit, {0, 2, 1, 1, 13, 0}}, textureSize, L"Label8", L"Label6"),
    helps({N(Label7), Kind::Label, L"GroupBox8", -1, {10, 141, 55, 11}, L"Кол-во объектов:", Font::Small}, kMaxCountHelp),
    {N(Label9), Kind::Label, L"GroupBox8", -1, {87, 141, 34, 11}, L"", Font::Small},
    slider({N(TrackBar8), Kind::HSlider, L"GroupBox8", 5, {24, 152, 161, 18}, L"", Font::Inherit, {0, 2000, 50, 100, 13, 100}}, count<&S::maxCount>, L"Label9", L"Label7"),
    helps({N(Label10), Kind::Label, L"GroupBox8", -1, {10, 173, 66, 11}, L"Дист. до объекта:", Font::Small}, kMaxDistanceHelp),
    {N(Label11), Kind::Label, L"GroupBox8", -1, {90, 173, 15, 11}, L"", Font::Small},
    slider({N(TrackBar9), Kind::HSlider, L"GroupBox8", 6, {24, 184, 161, 18}, L"", Font::Inherit, {0, 3000, 50, 200, 13, 100}}, count<&S::maxDistance>, L"Label11", L"Label10"),
    helps({N(Label13), Kind::Label, L"GroupBox8", -1, {10, 205, 56, 11}, L"Высота до объекта:", Font::Small}, kMaxHeightHelp),
    {N(Label12), Kind::Label, L"GroupBox8", -1, {97, 205, 10, 11}, L"", Font::Small},
    slider({N(TrackBar10), Kind::HSlider, L"GroupBox8", 7, {24, 216, 161, 18}, L"", Font::Inherit, {0, 150, 5, 10, 13, 1}}, count<&S::maxHeight>, L"Label12", L"Label13"),
    helps({N(Label14), Kind::Label, L"GroupBox8", -1, {10, 237, 81, 11}, L"Сила Bumpmap-текстуры:", Font::Small}, kBumpStrengthHelp),
    {N(Label15), Kind::Label, L"GroupBox8", -1, {125, 237, 5, 11}, L"", Font::Small},
    slider({N(TrackBar12), Kind::HSlider, L"GroupBox8", 8, {24, 248, 161, 18}, L"", Font::Inherit, {0, 10, 1, 1, 13, 1}}, count<&S::bumpStrength>, L"Label15", L"Label14"),
    {N(GroupBox12), Kind::GroupBox, L"TabSheet3", 1, {248, 12, 225, 293}, L"Помощь"},
    {F(Help3), Kind::HelpPane, L"GroupBox12", 0, {16, 24, 193, 257}, L"", Font::Help},

    // TabSheet4 "О программе".
    {F(Panel1), Kind::Panel, L"TabSheet4", 0, {8, 8, 473, 297}, L"", Font::Inherit, {}, Glyph::None, BevelStyle::Lowered},
    {F(Bevel2), Kind::Bevel, L"Panel1", -1, {8, 8, 121, 281}},
    {F(Image1), Kind::Image, L"Panel1", -1, {9, 9, 119, 279}},
    {F(Panel2), Kind::Panel, L"Panel1", 0, {136, 8, 329, 281}, L"", Font::Inherit, {}, Glyph::None, BevelStyle::Raised},
    {F(Memo1), Kind::Memo, L"Panel2", 0, {8, 16, 313, 249}, L"", Font::Memo},
};
// clang-format on
#undef F
#undef N

constexpr const ControlRow* find(const wchar_t* name) {
  for (const ControlRow& row : kControls)
    if (name && std::wstring_view(row.name) == name) return &row;
  return nullptr;
}

// Every name a row gives of another is a row's, and a parent comes before its children.
static_assert(std::ranges::all_of(kControls, [](const ControlRow& row) {
  const auto known = [](const wchar_t* name) { return !name || find(name); };
  return known(row.parent) && known(row.valueLabel) && known(row.namedBy) &&
         (!row.parent || find(row.parent) < &row);
}));

// Check boxes have no value text, sliders always have one.
static_assert(std::ranges::all_of(kControls, [](const ControlRow& row) {
  return !row.bind || (row.bind->valueText != nullptr) == (row.kind != Kind::CheckBox);
}));
static_assert(std::ranges::count(kControls, Kind::Page, &ControlRow::kind) == kPageCount);

}  // namespace

const ControlRow* rowOf(const wchar_t* name) { return find(name); }

std::span<const ControlRow> controlTable() { return kControls; }

const ControlRow* helpSource(const ControlRow& row) {
  for (const ControlRow* r : {&row, rowOf(row.namedBy), rowOf(row.parent)})
    if (r && r->help) return r;
  return nullptr;
}

int pageOf(const ControlRow& row) {
  for (const ControlRow* r = &row; r; r = rowOf(r->parent))
    if (r->kind == Kind::Page) return r->tabOrder;
  return -1;
}

}  // namespace zemlo::ui
