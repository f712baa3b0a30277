#include "ui/help_texts.h"

#include <string>

namespace zemlo::ui {

namespace {

#define T(field) &TForm1::field

// The texts as they read, broken where a sentence allows: not for clang-format to re-break.
// clang-format off

constexpr char kGlareText[] =
    "\"Glare\" postprocessing effect settings.\r\rGlare effect applies a blur effect to the frame, and "
    "overlays it on top of the original image for a color bleed-through effect.\r\rThe strength slider "
    "sets the glare strength, too high values can make the game look too blurry.\r\rSize sets the blur "
    "buffer size, higher values make more blur, but cause aliasing in motion.";

const HelpEntry kHelp[] = {
    {"CheckBox1MouseMove", T(CheckBox1), T(Help1),
     "Shows the current FPS (Frames Per Second) in the top left corner of the screen\r\rYou can also "
     "toggle this setting in-game by pressing App-F"},
    {"CheckBox2MouseMove", T(CheckBox2), T(Help1),
     "Shows render statistics & ZEMLO settings in the top left corner of the screen\r\rYou can also "
     "toggle this setting in-game by pressing App-S"},
    {"CheckBox3MouseMove", T(CheckBox3), T(Help1),
     "Forces TQR to use trilinear instead of bilinear texture filtering.\r\rTrilinear texture filtering "
     "makes the transitions between different texture mipmap levels much smoother which looks better, "
     "with very minimal performance hit."},
    {"CheckBox4MouseMove", T(CheckBox4), T(Help1),
     "Removes the special night time pixelshader effects.\r\rWith cards that support pixel shaders, "
     "nights in TQR look almost black and white. Enabling this setting will remove the effect, and can "
     "improve performance a bit."},
    {"CheckBox5MouseMove", T(CheckBox5), T(Help1),
     "Makes TQR use a lower mipmap LOD setting for GUI elements.\r\rEnabling this setting can make user "
     "interface elements, especially text, sharper and more readable."},
    {"CheckBox6MouseMove", T(CheckBox6), T(Help1),
     "Enables ZEMLO debug output.\r\rMakes ZEMLO output debug information using the Windows "
     "OutputDebugString function. Can cause a major performance hit."},
    {"CheckBox16MouseMove", T(CheckBox16), T(Help1),
     "Enables handling of the print screen key to take screenshots.\r\rIf this setting is enabled, "
     "pressing print screen will save a screenshot to zemlo/screenshots directory.\r\rAlso, pressing "
     "app-printscreen will save a screenshot with the GUI elements hidden."},
    {"Label1MouseMove", T(Label1), T(Help1),
     "Primary texture mipmap LODbias.\r\rAdjusts mipmapping level of detail. Lower settings make "
     "textures appear sharper, but can cause aliasing in motion. Higher setting causes textures to be "
     "blurry, but can improve performance.\r\rThis setting adjusts primary texture (stage 0) LODbias."},
    {"Label2MouseMove", T(Label2), T(Help1),
     "Secondary texture mipmap LODbias.\r\rAdjusts mipmapping level of detail. Lower settings make "
     "textures appear sharper, but can cause aliasing in motion. Higher setting causes textures to be "
     "blurry, but can improve performance.\r\rThis setting adjusts secondary texture (stage 1) LODbias, "
     "used for multitexturing effect in ground and water."},
    {"CheckBox7MouseMove", T(CheckBox7), T(Help2),
     "Enables postprocessing effects\r\rYou can also toggle this setting in-game by pressing App-P"},
    {"CheckBox8MouseMove", T(CheckBox8), T(Help2),
     "Automatically disables all postprocessing effects if the map is visible to make it more "
     "readable."},
    {"CheckBox20MouseMove", T(CheckBox20), T(Help2),
     "Enables a predefined set of postprocessing effects when NV Goggles are visible.\r\rEnables glare "
     "fading, sets glare effect to full strength and desaturation effect to 1.0, 0.0, 0.95 when night "
     "vision goggles are used for a special effect."},
    {"CheckBox21MouseMove", T(CheckBox21), T(Help2),
     "Forces postprocessing buffer to 32bit color.\r\rIf you are using 16bit color in game, enabling "
     "this setting will force the postprocessing buffer to use 32bit color, which can improve visual "
     "quality without the performance hit of full 32bit color."},
    {"GroupBox5MouseMove", T(GroupBox5), T(Help2),
     "\"Hard Light\" postprocessing effect settings.\r\rHard Light effect makes the colours of the game "
     "appear more \"rough\", which can look better.\r\rThe sliders set the effect strength per color "
     "channel (Red, Green and Blue)."},
    {"GroupBox6MouseMove", T(GroupBox6), T(Help2),
     "Desaturation postprocessing effect settings.\r\rDesaturation effect desaturates the colours of the "
     "game, to compensate for oversaturation caused by hard light and glare effects.\r\rThe sliders set "
     "the effect strength per color channel (Red, Green and Blue). Apply minimally for optimal effect."},
    {"GroupBox7MouseMove", T(GroupBox7), T(Help2), kGlareText},
    {"CheckBox11MouseMove", T(CheckBox11), T(Help2), kGlareText},
    {"CheckBox12MouseMove", T(CheckBox12), T(Help2),
     "Darkens sky & fog for glare.\r\rWith glare effect, darkens the sky by 15% and the fog color by 10% "
     "to compensate for overbrightness caused by glare.\r\rYou can also toggle this setting in-game by "
     "pressing App-J"},
    {"CheckBox17MouseMove", T(CheckBox17), T(Help2),
     "Forces the glare postprocessing buffer to use 32bit color.\r\rIf you are using 16bit color, "
     "enabling this setting can make the glare effect look better without the performance hit of full "
     "32bit color."},
    {"CheckBox19MouseMove", T(CheckBox19), T(Help2),
     "Uses a light fading effect at night time for the glare effect.\r\rMakes bright parts like "
     "explosions slowly fade out of the screen at night time, but can also cause shapes to \"burn\" "
     "into the image."},
    {"CheckBox13MouseMove", T(CheckBox13), T(Help3),
     "Enables reflections.\r\rYou can also toggle this setting in-game by pressing App-I"},
    {"CheckBox1MouseMove4", T(CheckBox14), T(Help3),
     "Enables object reflections.\r\rEnables objects (vehicles, trees, buildings) to be reflected in "
     "water. The reflected objects come from the last rendered frame, so they look \"laggy\" in "
     "motion.\r\rYou can also toggle this setting in-game by pressing App-O"},
    {"CheckBox15MouseMove", T(CheckBox15), T(Help3),
     "Uses an exponential fog effect on water.\r\rUses exponential fog instead of linear fog in water "
     "which looks better but can cause water to appear too \"foggy\" with low viewdistances."},
    {"CheckBox18MouseMove", T(CheckBox18), T(Help3),
     "Enables lighting on reflections.\r\rEnables lighting calculation on reflected things. Causes "
     "reflections to appear at a different colour, disabling this can also improve performance a bit."},
    {"Label6MouseMove", T(Label6), T(Help3),
     "Reflection render-to-texture texture size.\r\rSets the texture size used by the reflection "
     "render-to-texture effect. Larger texture size results in a sharper reflection, but can also "
     "degrade performance."},
    {"Label7MouseMove", T(Label7), T(Help3),
     "Maximum number of reflected objects.\r\rMaximum number of objects reflected. This is actually "
     "calculated from number of draw primitive calls, so actual reflected object count can be much "
     "lower.\r\rAlso, objects are rendered in farthest to nearest order, so when this limit is reached "
     "while rendering, objects close to the player will not be visible in the reflection."},
    {"Label10MouseMove", T(Label10), T(Help3),
     "Maximum distance of reflected objects.\r\rDisables reflection on objects that are farther away "
     "than this."},
    {"Label13MouseMove", T(Label13), T(Help3),
     "Maximum height of reflected objects.\r\rDisables reflection on objects that are higher than this "
     "from the waterline."},
    {"Label14MouseMove", T(Label14), T(Help3),
     "Bumpmap effect strength.\r\rSets the \"roughness\" of the bump map effect on water."},
};

const ClearEntry kClear[] = {
    {"GroupBox1MouseMove", T(GroupBox1), {T(Help3), T(Help2), T(Help1)}},
    {"GroupBox1MouseMove", T(GroupBox8), {T(Help3), T(Help2), T(Help1)}},
    {"GroupBox4MouseMove", T(GroupBox4), {T(Help2), nullptr, nullptr}},
};

// clang-format on
#undef T

}  // namespace

std::span<const HelpEntry> helpTable() { return kHelp; }
std::span<const ClearEntry> clearTable() { return kClear; }

std::wstring paneText(const char* text) {
  std::wstring out;
  for (const char* c = text; *c; ++c) {
    if (*c == '\r' || *c == '\n') {
      if (*c == '\r' && c[1] == '\n') ++c;
      out += L"\r\n";
    } else {
      out += static_cast<unsigned char>(*c);
    }
  }
  return out;
}

}  // namespace zemlo::ui
