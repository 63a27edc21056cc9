#include "windows/program/uProgram.h"

QString ProgramVersion = QStringLiteral(ZO_VERSION);
QString ProgramTitle = QStringLiteral("ZeltorOmra " ZO_VERSION);

TSettingsResource DefaultSettingsResource() {
  TSettingsResource r;
  r.Name = "Ресурс Yellow";
  return r;
}

TPlantParameter DefaultSettingsPlant() {
  return NewPlantParameter("Организм Lime", TGenome(1, 1, 5, 10, 3, 10, 0, 0), clLime, clRed);
}
