#pragma once
// The main window's start-up from the settings file and its exit through it
// (the file itself: windows/settings/uSettings).
class TMainForm;
struct TSettingsData;
struct TSettingsWindowDefaults;

// Places the main window and the three tool windows as the settings say (and
// shows the field view and the statistics window when they say so).
void PlaceStartUpWindows(TMainForm& form, const TSettingsData& data);

// The settings' defaults for the windows as this screen's fonts draw them and
// as much as its work area holds.
TSettingsWindowDefaults StartUpWindowDefaults();

// Reads the settings and builds the windows and the model from them, then
// loads the sample on a first start or begins a new data file.
void StartUpFromSettings(TMainForm& form);

// Writes the settings at exit and frees the HTML windows. On failure shows a
// plain message box that names the cause and returns false; the old file is
// then untouched. Also false, without a word, when no file is to be written
// (the settings file could not be read at start, which start-up said).
bool WriteExitSettings(TMainForm& form);
