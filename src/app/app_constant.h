// Fixed names and values of the application.
#pragma once

#include <cstdint>

constexpr const char* kAppTitle = "Tamsel";
constexpr const char* kSettingsFile = "tamsel.ini";
constexpr int32_t kStartWidth = 800;
constexpr int32_t kStartHeight = 600;
constexpr uint32_t kStartUpInterval = 1;
constexpr uint32_t kMainLoopInterval = 10;

// How the sound output is opened.
constexpr int32_t kMaxPlaybacks = 32;
constexpr float kMasterVolume = 1.0f;
constexpr int32_t kOutputRate = 44100;

// The full-screen post-processing programs in the order the scene cycles
// them; each is shaders\post processing\<name>.txt and goes by its name.
constexpr const char* kPostProcessingFolder = "shaders\\post processing\\";
constexpr const char* kPostProcessingPrograms[] = {"cel", "gameboy", "heatvision", "sepia", "tiles", "edge", "blur"};
constexpr int32_t kPostProcessingCount = 7;
