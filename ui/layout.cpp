#include "ui/layout.h"

namespace zemlo::ui {

namespace {

#define F(name) &TForm1::name, L## #name
constexpr ControlField kForm = nullptr;

// Columns: control, kind, parent, tab order, {left, top, width, height}, caption, options.
// One control a line, as the layout tables read: wider than the code's lines.
// clang-format off
constexpr ControlRow kControls[] = {
    // Top level.
    {F(BitBtn1), Kind::Button, kForm, 0, {32, 368, 105, 25}, L"&Сохранить", Font::Inherit, {}, Glyph::Yes},
    {F(BitBtn2), Kind::Button, kForm, 1, {152, 368, 105, 25}, L"&Вернуть", Font::Inherit, {}, Glyph::Retry},
    {F(BitBtn3), Kind::Button, kForm, 2, {376, 368, 105, 25}, L"&Выход", Font::Inherit, {}, Glyph::Close},
    {F(PageControl1), Kind::Tabs, kForm, 3, {8, 8, 497, 345}},
    {F(TabSheet1), Kind::Page, &TForm1::PageControl1, 0, {}, L"Основные"},
    {F(TabSheet2), Kind::Page, &TForm1::PageControl1, 1, {}, L"Постпроцессинг"},
    {F(TabSheet3), Kind::Page, &TForm1::PageControl1, 2, {}, L"Отражения"},
    {F(TabSheet4), Kind::Page, &TForm1::PageControl1, 3, {}, L"О программе"},

    // TabSheet1 "Основные".
    {F(GroupBox1), Kind::GroupBox, &TForm1::TabSheet1, 0, {8, 12, 225, 281}, L"Основные Настройки"},
    {F(CheckBox1), Kind::CheckBox, &TForm1::GroupBox1, 0, {16, 24, 97, 17}, L"Вкл. FPS"},
    {F(CheckBox2), Kind::CheckBox, &TForm1::GroupBox1, 1, {16, 40, 193, 17}, L"Вкл. вывод статистики"},
    {F(CheckBox3), Kind::CheckBox, &TForm1::GroupBox1, 2, {16, 56, 193, 17}, L"Вкл. трилинейную фильтрацию"},
    {F(CheckBox4), Kind::CheckBox, &TForm1::GroupBox1, 3, {16, 72, 193, 17}, L"Выкл. эффект ночного шейдера"},
    {F(CheckBox5), Kind::CheckBox, &TForm1::GroupBox1, 4, {16, 88, 193, 17}, L"Резкость интерфейса"},
    {F(CheckBox16), Kind::CheckBox, &TForm1::GroupBox1, 8, {16, 104, 193, 17}, L"Вкл. скрины клавишей PrntScrn"},
    {F(CheckBox6), Kind::CheckBox, &TForm1::GroupBox1, 5, {16, 120, 193, 17}, L"Выводить Debug-файл"},
    {F(Label1), Kind::Label, &TForm1::GroupBox1, -1, {16, 152, 123, 13}, L"Осн. текстура mipmap LODbias:"},
    {F(TrackBar1), Kind::HSlider, &TForm1::GroupBox1, 6, {16, 168, 185, 25}, L"", Font::Inherit, {-10, 10, 1, 2, 14, 0}},
    {F(LOD1), Kind::FixedLabel, &TForm1::GroupBox1, -1, {24, 191, 169, 13}, L"", Font::Small},
    {F(Label2), Kind::Label, &TForm1::GroupBox1, -1, {16, 208, 123, 13}, L"Мультитекстура mipmap LODbias:"},
    {F(TrackBar2), Kind::HSlider, &TForm1::GroupBox1, 7, {16, 224, 185, 25}, L"", Font::Inherit, {-10, 10, 1, 2, 14, 0}},
    {F(LOD2), Kind::FixedLabel, &TForm1::GroupBox1, -1, {24, 248, 169, 13}, L"", Font::Small},
    {F(GroupBox2), Kind::GroupBox, &TForm1::TabSheet1, 1, {248, 12, 225, 281}, L"Помощь"},
    {F(Help1), Kind::HelpPane, &TForm1::GroupBox2, 0, {16, 24, 193, 241}, L"", Font::Help},

    // TabSheet2 "Постпроцессинг".
    {F(GroupBox4), Kind::GroupBox, &TForm1::TabSheet2, 1, {8, 12, 225, 293}, L"Настройки постпроцессинга"},
    {F(CheckBox7), Kind::CheckBox, &TForm1::GroupBox4, 0, {16, 16, 169, 17}, L"Вкл. постпроцессинг"},
    {F(CheckBox8), Kind::CheckBox, &TForm1::GroupBox4, 1, {16, 32, 189, 17}, L"Выкл. постпроцессинг для карты"},
    {F(CheckBox20), Kind::CheckBox, &TForm1::GroupBox4, 5, {16, 48, 177, 17}, L"Вкл. спец. эффект ПНВ"},
    {F(CheckBox21), Kind::CheckBox, &TForm1::GroupBox4, 6, {16, 64, 177, 17}, L"Вкл. полный 32-bit цвет"},
    {F(GroupBox5), Kind::GroupBox, &TForm1::GroupBox4, 2, {8, 88, 89, 97}, L"\"Жесткий\" свет", Font::Small},
    {F(HLs1), Kind::VSlider, &TForm1::GroupBox5, 0, {8, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}},
    {F(HLs2), Kind::VSlider, &TForm1::GroupBox5, 1, {32, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}},
    {F(HLs3), Kind::VSlider, &TForm1::GroupBox5, 2, {56, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}},
    {F(CheckBox9), Kind::CheckBox, &TForm1::GroupBox5, 3, {17, 72, 64, 17}, L" Вкл."},
    {F(GroupBox6), Kind::GroupBox, &TForm1::GroupBox4, 4, {120, 88, 89, 97}, L"Обесцвечивание", Font::Small},
    {F(TrackBar3), Kind::VSlider, &TForm1::GroupBox6, 0, {8, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}},
    {F(TrackBar4), Kind::VSlider, &TForm1::GroupBox6, 1, {32, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}},
    {F(TrackBar5), Kind::VSlider, &TForm1::GroupBox6, 2, {56, 16, 25, 57}, L"", Font::Inherit, {0, 10, 1, 1, 13, 0}},
    {F(CheckBox10), Kind::CheckBox, &TForm1::GroupBox6, 3, {17, 72, 64, 17}, L" Вкл."},
    {F(GroupBox7), Kind::GroupBox, &TForm1::GroupBox4, 3, {8, 192, 201, 89}, L"Эффект пов. яркости", Font::Small},
    {F(Label4), Kind::Label, &TForm1::GroupBox7, -1, {8, 13, 37, 11}, L"Сила:"},
    {F(gst), Kind::Label, &TForm1::GroupBox7, -1, {49, 13, 10, 11}},
    {F(TrackBar6), Kind::HSlider, &TForm1::GroupBox7, 2, {8, 24, 105, 25}, L"", Font::Inherit, {0, 20, 1, 2, 13, 0}},
    {F(Label5), Kind::Label, &TForm1::GroupBox7, -1, {8, 47, 19, 11}, L"Размер:"},
    {F(gsi), Kind::Label, &TForm1::GroupBox7, -1, {49, 47, 10, 11}},
    {F(TrackBar7), Kind::HSlider, &TForm1::GroupBox7, 3, {8, 56, 105, 25}, L"", Font::Inherit, {2, 12, 1, 1, 13, 2}},
    {F(CheckBox11), Kind::CheckBox, &TForm1::GroupBox7, 0, {121, 16, 64, 17}, L"Вкл."},
    {F(CheckBox12), Kind::CheckBox, &TForm1::GroupBox7, 1, {121, 32, 64, 17}, L"Темн. небо"},
    {F(CheckBox17), Kind::CheckBox, &TForm1::GroupBox7, 4, {121, 48, 64, 17}, L"Исп. 32-bit"},
    {F(CheckBox19), Kind::CheckBox, &TForm1::GroupBox7, 5, {121, 64, 64, 17}, L"Зат. света"},
    {F(GroupBox3), Kind::GroupBox, &TForm1::TabSheet2, 0, {248, 12, 225, 293}, L"Помощь"},
    {F(Help2), Kind::HelpPane, &TForm1::GroupBox3, 0, {16, 24, 193, 257}, L"", Font::Help},

    // TabSheet3 "Отражения".
    {F(GroupBox8), Kind::GroupBox, &TForm1::TabSheet3, 0, {8, 12, 225, 293}, L"Настройка отражений"},
    {F(CheckBox13), Kind::CheckBox, &TForm1::GroupBox8, 0, {16, 24, 169, 17}, L"Вкл. отражения"},
    {F(CheckBox14), Kind::CheckBox, &TForm1::GroupBox8, 1, {16, 40, 177, 17}, L"Вкл. отражение объектов"},
    {F(CheckBox15), Kind::CheckBox, &TForm1::GroupBox8, 2, {16, 56, 177, 17}, L"Вкл. туман на воде"},
    {F(CheckBox18), Kind::CheckBox, &TForm1::GroupBox8, 3, {16, 72, 177, 17}, L"Вкл. подсветку отражений"},
    {F(Label6), Kind::Label, &TForm1::GroupBox8, -1, {10, 109, 51, 11}, L"Размер текстур:", Font::Small},
    {F(Label8), Kind::Label, &TForm1::GroupBox8, -1, {83, 109, 34, 11}, L"", Font::Small},
    {F(TrackBar11), Kind::HSlider, &TForm1::GroupBox8, 4, {24, 120, 161, 18}, L"", Font::Inherit, {0, 2, 1, 1, 13, 0}},
    {F(Label7), Kind::Label, &TForm1::GroupBox8, -1, {10, 141, 55, 11}, L"Кол-во объектов:", Font::Small},
    {F(Label9), Kind::Label, &TForm1::GroupBox8, -1, {87, 141, 34, 11}, L"", Font::Small},
    {F(TrackBar8), Kind::HSlider, &TForm1::GroupBox8, 5, {24, 152, 161, 18}, L"", Font::Inherit, {0, 2000, 50, 100, 13, 100}},
    {F(Label10), Kind::Label, &TForm1::GroupBox8, -1, {10, 173, 66, 11}, L"Дист. до объекта:", Font::Small},
    {F(Label11), Kind::Label, &TForm1::GroupBox8, -1, {90, 173, 15, 11}, L"", Font::Small},
    {F(TrackBar9), Kind::HSlider, &TForm1::GroupBox8, 6, {24, 184, 161, 18}, L"", Font::Inherit, {0, 3000, 50, 200, 13, 100}},
    {F(Label13), Kind::Label, &TForm1::GroupBox8, -1, {10, 205, 56, 11}, L"Высота до объекта:", Font::Small},
    {F(Label12), Kind::Label, &TForm1::GroupBox8, -1, {97, 205, 10, 11}, L"", Font::Small},
    {F(TrackBar10), Kind::HSlider, &TForm1::GroupBox8, 7, {24, 216, 161, 18}, L"", Font::Inherit, {0, 150, 5, 10, 13, 1}},
    {F(Label14), Kind::Label, &TForm1::GroupBox8, -1, {10, 237, 81, 11}, L"Сила Bumpmap-текстуры:", Font::Small},
    {F(Label15), Kind::Label, &TForm1::GroupBox8, -1, {125, 237, 5, 11}, L"", Font::Small},
    {F(TrackBar12), Kind::HSlider, &TForm1::GroupBox8, 8, {24, 248, 161, 18}, L"", Font::Inherit, {0, 10, 1, 1, 13, 1}},
    {F(GroupBox12), Kind::GroupBox, &TForm1::TabSheet3, 1, {248, 12, 225, 293}, L"Помощь"},
    {F(Help3), Kind::HelpPane, &TForm1::GroupBox12, 0, {16, 24, 193, 257}, L"", Font::Help},

    // TabSheet4 "О программе".
    {F(Panel1), Kind::Panel, &TForm1::TabSheet4, 0, {8, 8, 473, 297}, L"", Font::Inherit, {}, Glyph::None, BevelStyle::Lowered},
    {F(Bevel2), Kind::Bevel, &TForm1::Panel1, -1, {8, 8, 121, 281}},
    {F(Image1), Kind::Image, &TForm1::Panel1, -1, {9, 9, 119, 279}},
    {F(Panel2), Kind::Panel, &TForm1::Panel1, 0, {136, 8, 329, 281}, L"", Font::Inherit, {}, Glyph::None, BevelStyle::Raised},
    {F(Memo1), Kind::Memo, &TForm1::Panel2, 0, {8, 16, 313, 249}, L"", Font::Memo},
};
// clang-format on
#undef F

}  // namespace

std::span<const ControlRow> controlTable() { return kControls; }

}  // namespace zemlo::ui
