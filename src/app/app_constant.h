// Fixed names and values of the application.
#pragma once

#include <cstdint>

constexpr const char* kAppTitle = "Tamsel";
constexpr const char* kSettingsFile = "tamsel.ini";
constexpr int32_t kStartWidth = 800;
constexpr int32_t kStartHeight = 600;
constexpr uint32_t kStartUpInterval = 1;
constexpr uint32_t kMainLoopInterval = 10;
