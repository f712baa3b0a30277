// The help texts, English, named by what they explain; the control table
// gives each to its control. "\r" breaks lines; two end a paragraph.
#pragma once

#include <string>

namespace zemlo::ui {

// The text as the pane holds it: every CR, LF or CR LF becomes CR LF.
std::wstring paneText(const char* text);

namespace help {

// The texts as they read, wrapped at spaces: not for clang-format to re-break.
// clang-format off

inline constexpr char kShowFpsHelp[] = "Shows the current FPS (Frames Per Second) in the top left corner of the screen\r\rYou "
    "can also toggle this setting in-game by pressing App-F";

inline constexpr char kShowStatHelp[] = "Shows render statistics & ZEMLO settings in the top left corner of the screen\r\rYou "
    "can also toggle this setting in-game by pressing App-S";

inline constexpr char kTrilinearHelp[] = "Forces TQR to use trilinear instead of bilinear texture filtering.\r\rTrilinear "
    "texture filtering makes the transitions between different texture mipmap levels much smoother "
    "which looks better, with very minimal performance hit.";

inline constexpr char kNoNightShaderHelp[] = "Removes the special night time pixelshader effects.\r\rWith cards that support "
    "pixel shaders, nights in TQR look almost black and white. Enabling this setting will remove the "
    "effect, and can improve performance a bit.";

inline constexpr char kSharpenUiHelp[] = "Makes TQR use a lower mipmap LOD setting for GUI elements.\r\rEnabling this setting "
    "can make user interface elements, especially text, sharper and more readable.";

inline constexpr char kDebugOutputHelp[] = "Enables ZEMLO debug output.\r\rMakes ZEMLO output debug information using the "
    "Windows OutputDebugString function. Can cause a major performance hit.";

inline constexpr char kPrintScreenHelp[] = "Enables handling of the print screen key to take screenshots.\r\rIf this setting is "
    "enabled, pressing print screen will save a screenshot to zemlo/screenshots directory.\r\rAlso, "
    "pressing app-printscreen will save a screenshot with the GUI elements hidden.";

inline constexpr char kLodBias0Help[] = "Primary texture mipmap LODbias.\r\rAdjusts mipmapping level of detail. Lower settings "
    "make textures appear sharper, but can cause aliasing in motion. Higher setting causes textures to "
    "be blurry, but can improve performance.\r\rThis setting adjusts primary texture (stage 0) LODbias.";

inline constexpr char kLodBias1Help[] = "Secondary texture mipmap LODbias.\r\rAdjusts mipmapping level of detail. Lower settings "
    "make textures appear sharper, but can cause aliasing in motion. Higher setting causes textures to "
    "be blurry, but can improve performance.\r\rThis setting adjusts secondary texture (stage 1) "
    "LODbias, used for multitexturing effect in ground and water.";

inline constexpr char kPostProcessingHelp[] = "Enables postprocessing effects\r\rYou can also toggle this setting in-game by "
    "pressing App-P";

inline constexpr char kNoPostProcessingForMapHelp[] = "Automatically disables all postprocessing effects if the map is visible "
    "to make it more readable.";

inline constexpr char kNightVisionHelp[] = "Enables a predefined set of postprocessing effects when NV Goggles are "
    "visible.\r\rEnables glare fading, sets glare effect to full strength and desaturation effect to "
    "1.0, 0.0, 0.95 when night vision goggles are used for a special effect.";

inline constexpr char kPostProcessing32bitHelp[] = "Forces postprocessing buffer to 32bit color.\r\rIf you are using 16bit color "
    "in game, enabling this setting will force the postprocessing buffer to use 32bit color, which can "
    "improve visual quality without the performance hit of full 32bit color.";

inline constexpr char kHardLightHelp[] = "\"Hard Light\" postprocessing effect settings.\r\rHard Light effect makes the colours "
    "of the game appear more \"rough\", which can look better.\r\rThe sliders set the effect strength "
    "per color channel (Red, Green and Blue).";

inline constexpr char kDesaturateHelp[] = "Desaturation postprocessing effect settings.\r\rDesaturation effect desaturates the "
    "colours of the game, to compensate for oversaturation caused by hard light and glare "
    "effects.\r\rThe sliders set the effect strength per color channel (Red, Green and Blue). Apply "
    "minimally for optimal effect.";

inline constexpr char kGlareHelp[] = "\"Glare\" postprocessing effect settings.\r\rGlare effect applies a blur effect to the "
    "frame, and overlays it on top of the original image for a color bleed-through effect.\r\rThe "
    "strength slider sets the glare strength, too high values can make the game look too "
    "blurry.\r\rSize sets the blur buffer size, higher values make more blur, but cause aliasing in "
    "motion.";

inline constexpr char kGlareDarkenSkyHelp[] = "Darkens sky & fog for glare.\r\rWith glare effect, darkens the sky by 15% and the "
    "fog color by 10% to compensate for overbrightness caused by glare.\r\rYou can also toggle this "
    "setting in-game by pressing App-J";

inline constexpr char kGlare32bitHelp[] = "Forces the glare postprocessing buffer to use 32bit color.\r\rIf you are using 16bit "
    "color, enabling this setting can make the glare effect look better without the performance hit of "
    "full 32bit color.";

inline constexpr char kGlareFadeHelp[] = "Uses a light fading effect at night time for the glare effect.\r\rMakes bright parts "
    "like explosions slowly fade out of the screen at night time, but can also cause shapes to "
    "\"burn\" into the image.";

inline constexpr char kReflectionsHelp[] = "Enables reflections.\r\rYou can also toggle this setting in-game by pressing App-I";

inline constexpr char kReflectObjectsHelp[] = "Enables object reflections.\r\rEnables objects (vehicles, trees, buildings) to be "
    "reflected in water. The reflected objects come from the last rendered frame, so they look "
    "\"laggy\" in motion.\r\rYou can also toggle this setting in-game by pressing App-O";

inline constexpr char kExpFogHelp[] = "Uses an exponential fog effect on water.\r\rUses exponential fog instead of linear fog in "
    "water which looks better but can cause water to appear too \"foggy\" with low viewdistances.";

inline constexpr char kReflectionLightingHelp[] = "Enables lighting on reflections.\r\rEnables lighting calculation on reflected "
    "things. Causes reflections to appear at a different colour, disabling this can also improve "
    "performance a bit.";

inline constexpr char kReflectionSizeHelp[] = "Reflection render-to-texture texture size.\r\rSets the texture size used by the "
    "reflection render-to-texture effect. Larger texture size results in a sharper reflection, but can "
    "also degrade performance.";

inline constexpr char kMaxCountHelp[] = "Maximum number of reflected objects.\r\rMaximum number of objects reflected. This is "
    "actually calculated from number of draw primitive calls, so actual reflected object count can be "
    "much lower.\r\rAlso, objects are rendered in farthest to nearest order, so when this limit is "
    "reached while rendering, objects close to the player will not be visible in the reflection.";

inline constexpr char kMaxDistanceHelp[] = "Maximum distance of reflected objects.\r\rDisables reflection on objects that are "
    "farther away than this.";

inline constexpr char kMaxHeightHelp[] = "Maximum height of reflected objects.\r\rDisables reflection on objects that are higher "
    "than this from the waterline.";

inline constexpr char kBumpStrengthHelp[] = "Bumpmap effect strength.\r\rSets the \"roughness\" of the bump map effect on water.";

// clang-format on

}  // namespace help
}  // namespace zemlo::ui
