// The stored DVT folder, "Dvt_Path", which the DVT Test window and the main
// window's "Dvt Test File Insert" share. Each place writes it as soon as the
// operator chooses a folder there and reads it again before it offers or keeps
// a folder (the main window after the DVT Test window has closed), so the
// latest choice made in either place is what both start from and what the
// main window writes back when it closes.
#pragma once

#include <string>

#include "core/services.h"

extern const char* const kDvtPathValueName;  // "Dvt_Path"

// Reads the stored folder into `folder`; false, leaving it unchanged, when the
// value is missing or unreadable.
bool LoadDvtFolder(SettingsStore& store, std::string* folder);
// Writes `folder` as the stored DVT folder; false when the store refused it.
bool StoreDvtFolder(SettingsStore& store, const std::string& folder);
