// Every setting, one line each: its section of config.cfg, its key (also its
// field's name in the record), its type and its default. The record's fields
// (settings.h), the key table of every load and save and the defaults
// (settings.cpp) are all made from this list, so a new setting is one line here.
// Types: Flag (one byte, 0 or 1), Integer (signed 32-bit), Real (a double).
#pragma once

// ZEMLO_SETTINGS(KEY, PAIR) gives KEY(section, key, type, default) for every setting in
// file order: the order of every load and save, and of a new file's lines. The record
// declares one pair the other way round, as the add-on does: PAIR(KEY, first, second),
// which ZEMLO_FILE_ORDER or ZEMLO_RECORD_ORDER spells out. It is the one difference
// between the two orders; settings.cpp checks that it stays the only one.
// clang-format off
#define ZEMLO_SETTINGS(KEY, PAIR)                                     \
  KEY(General,        showFPS,                  Flag,    0)           \
  KEY(General,        showStat,                 Flag,    0)           \
  KEY(General,        useTrilinear,             Flag,    1)           \
  KEY(General,        forceNoNightShader,       Flag,    0)           \
  KEY(General,        sharpenUI,                Flag,    1)           \
  KEY(General,        debugOutput,              Flag,    0)           \
  KEY(General,        handlePrintScreen,        Flag,    1)           \
  KEY(General,        LODbias0,                 Real,    0.0)         \
  KEY(General,        LODbias1,                 Real,    0.0)         \
  KEY(Postprocessing, UsePostProcessing,        Flag,    1)           \
  KEY(Postprocessing, Force32bitPostProcessing, Flag,    0)           \
  PAIR(KEY,                                                           \
   (Postprocessing,   DisablePPForMap,          Flag,    1),          \
   (Postprocessing,   UseSpecialNVGPP,          Flag,    1))          \
  KEY(Postprocessing, HardLight,                Flag,    1)           \
  KEY(Postprocessing, HardLightSR,              Real,    0.4)         \
  KEY(Postprocessing, HardLightSG,              Real,    0.4)         \
  KEY(Postprocessing, HardLightSB,              Real,    0.6)         \
  KEY(Postprocessing, Desaturate,               Flag,    1)           \
  KEY(Postprocessing, DesaturateSR,             Real,    0.2)         \
  KEY(Postprocessing, DesaturateSG,             Real,    0.2)         \
  KEY(Postprocessing, DesaturateSB,             Real,    0.2)         \
  KEY(Postprocessing, Glare,                    Flag,    1)           \
  KEY(Postprocessing, GlareStrength,            Real,    0.4)         \
  KEY(Postprocessing, GlareSize,                Real,    3.0)         \
  KEY(Postprocessing, GlareDarkenSky,           Flag,    1)           \
  KEY(Postprocessing, GlareUseFade,             Flag,    0)           \
  KEY(Postprocessing, GlareForce32bitBuffer,    Flag,    1)           \
  KEY(Reflections,    useReflections,           Flag,    1)           \
  KEY(Reflections,    reflectTerrain,           Flag,    1)           \
  KEY(Reflections,    reflectObjects,           Flag,    0)           \
  KEY(Reflections,    sizeX,                    Integer, 512)         \
  KEY(Reflections,    sizeY,                    Integer, 512)         \
  KEY(Reflections,    LODbias,                  Real,    -0.5)        \
  KEY(Reflections,    useExpFog,                Flag,    1)           \
  KEY(Reflections,    useLighting,              Flag,    1)           \
  KEY(Reflections,    maxCount,                 Integer, 512)         \
  KEY(Reflections,    maxDistance,              Integer, 512)         \
  KEY(Reflections,    maxHeight,                Integer, 512)         \
  KEY(Reflections,    bumpStrength,             Integer, 512)         \
  KEY(Reflections,    clipTolerance,            Real,    -0.035)      \
  KEY(Reflections,    texOffsetX,               Real,    -0.49)       \
  KEY(Reflections,    texOffsetY,               Real,    -0.49)
// clang-format on

#define ZEMLO_FILE_ORDER(KEY, first, second) KEY first KEY second
#define ZEMLO_RECORD_ORDER(KEY, first, second) KEY second KEY first
