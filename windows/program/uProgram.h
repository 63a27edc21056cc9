#pragma once
// windows/program: what the program is as a whole, below every window: its
// name and version, the model it starts with, and the toolkit's Russian texts.
//
// The program's title and version, and the records of the model a first start
// (or a start whose settings hold no lists) begins with.
#include <QString>
#include <cstdint>
#include <string>

#include "model/uColor.h"
#include "model/uPlant.h"

// The program's version and "ZeltorOmra " followed by it (set by the entry).
extern QString ProgramVersion;
extern QString ProgramTitle;

// The tools of the field view: the pointer and the two brushes (the numbers
// are those the settings file stores). None stands for no tool's button down,
// as during a run.
enum class TBrushTool : int32_t { None = -1, Pointer = 0, Resource = 1, Plant = 2 };

// A resource as the settings keep it.
struct TSettingsResource {
  std::string Name;
  int32_t BrushValue = 25;
  int32_t Slur = 70;
  TColor Color = clYellow;
};

// The default resource and species of a first start.
TSettingsResource DefaultSettingsResource();
TPlantParameter DefaultSettingsPlant();
