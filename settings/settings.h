// The settings record shared by the window and the settings file, and the two
// operations that move it between memory and config.cfg.
#pragma once

#include <cstdint>

#include "settings/profile_store.h"

namespace zemlo {

// One field per key of config.cfg, in the add-on's declaration order. Flags are
// one byte (0/1), integers signed 32-bit, reals IEEE doubles. No defaults here:
// the record starts zeroed and readINI applies the defaults.
struct Settings {
  uint8_t showFPS;
  uint8_t showStat;
  uint8_t useTrilinear;
  uint8_t forceNoNightShader;
  uint8_t sharpenUI;
  uint8_t debugOutput;
  uint8_t handlePrintScreen;
  double LODbias0;
  double LODbias1;
  uint8_t UsePostProcessing;
  uint8_t Force32bitPostProcessing;
  uint8_t UseSpecialNVGPP;
  uint8_t DisablePPForMap;
  uint8_t HardLight;
  double HardLightSR;
  double HardLightSG;
  double HardLightSB;
  uint8_t Desaturate;
  double DesaturateSR;
  double DesaturateSG;
  double DesaturateSB;
  uint8_t Glare;
  double GlareStrength;
  double GlareSize;
  uint8_t GlareDarkenSky;
  uint8_t GlareUseFade;
  uint8_t GlareForce32bitBuffer;
  uint8_t useReflections;
  uint8_t reflectTerrain;
  uint8_t reflectObjects;
  int32_t sizeX;
  int32_t sizeY;
  double LODbias;
  uint8_t useExpFog;
  uint8_t useLighting;
  int32_t maxCount;
  int32_t maxDistance;
  int32_t maxHeight;
  int32_t bumpStrength;
  double clipTolerance;
  double texOffsetX;
  double texOffsetY;
};

// The one process-wide record. Zero-initialised static storage; lives for the run.
extern Settings settings;

class ProfileStore;

// Loads every key into `record` (defaults for what is missing or unreadable).
void loadSettings(Settings& record, const ProfileStore& store);
// Writes every field of `record`, one write per key in file order. Throws
// WriteError naming the store's path at the first write that fails.
void saveSettings(const Settings& record, ProfileStore& store);

// config.cfg in the directory of the running executable, worked out afresh.
FileName settingsFilePath();

// The global record <-> config.cfg beside the executable. writeINI is all or
// nothing: it throws WriteError naming config.cfg and leaves the file as it
// was, or the file holds every key; a save that changes nothing writes nothing.
void readINI();
void writeINI();

}  // namespace zemlo
