// The main window's fill and clear commands: each builds its choices into a
// dialog shown below the main window and, on "Да", applies them to the stores.
#include <QLabel>
#include <QTabWidget>
#include <algorithm>
#include <optional>

#include "model/uFieldEdit.h"
#include "platform/Cp1251.h"
#include "platform/IniFile.h"
#include "windows/look/CheckListBox.h"
#include "windows/look/ValueListEditor.h"
#include "windows/main/main.h"
#include "windows/parameter/fParameter.h"
#include "windows/place/uPlace.h"
#include "windows/settings/uSettings.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fFieldClear.h"
#include "windows/view/fFieldInput.h"
#include "windows/view/fView.h"

namespace {

const std::string kFieldInput = "FieldInput";

// The amount last filled for a resource: under its name, or, for a name with
// "&#" in it, under the key as an older version wrote it, the name as it
// stands (which this version's keys carry as "&#38;#").
std::string StoredAmount(const TIniFile& ini, const std::string& name) {
  if (ini.ValueExists(kFieldInput, name) || name.find("&#") == std::string::npos)
    return ini.ReadString(kFieldInput, name, std::string());
  return ini.ReadStringAtStoredKey(kFieldInput, Utf8ToCp1251(name), std::string());
}

}  // namespace

void TMainForm::ActionFieldInputExecute() {
  if (IsRunning() || !Resource) return;
  // 1. The dialog, and the settings file with its column width and amounts.
  TFormFieldInput dialog(this);
  TValueListEditor* grid = dialog.ValueListEditor;
  std::optional<TIniFile> ini;
  if (const QString file = WindowSettingsFile(); !file.isEmpty())
    ini.emplace(file.toStdString(), WindowSettingsStart().toStdString());
  if (ini) {
    const int width = ini->ReadInteger(kFieldInput, TFormFieldInput::ColWidthKey, TFormFieldInput::DefaultColWidth);
    grid->SetColWidths(0, std::max(30, width));
  }
  // 2. Below the main window.
  PlaceBelowMain(&dialog, this);
  // 3. A section row, then one line per resource with the amount last filled for it.
  grid->ClearRows();
  grid->InsertRow(QStringLiteral("&") + PageCaption(1, QStringLiteral("Ресурсы")), QString());
  const int firstLine = grid->RowCount();
  for (int32_t r = 0; r < Resource->Count; ++r) {
    const std::string& name = Resource->Params[r].Name;
    const std::string amount = ini ? StoredAmount(*ini, name) : std::string();
    grid->InsertRow(QString::fromStdString(name), QString::fromStdString(amount));
  }
  // 4. On "Да": remember and fill every amount above 0.
  if (dialog.exec() == TFormFieldInput::mrYes) {
    const int32_t count = std::min<int32_t>(Resource->Count, grid->RowCount() - firstLine);
    std::vector<int32_t> amounts(static_cast<size_t>(std::max<int32_t>(0, count)), 0);
    for (int32_t r = 0; r < count; ++r) {
      const std::string text = grid->Values(firstLine + r).toStdString();
      const int32_t amount = ReadFillAmount(text);
      if (amount <= 0) continue;
      amounts[r] = amount;
      const std::string& name = Resource->Params[r].Name;
      if (ini && TIniFile::KeyStorable(name)) ini->WriteString(kFieldInput, name, text);
    }
    FillField(*Resource, amounts);
    if (FormStatistic) FormStatistic->UpdateView();
  }
  // 5. The column width, confirmed or not, goes with the amounts in one write.
  if (ini) {
    ini->WriteInteger(kFieldInput, TFormFieldInput::ColWidthKey, grid->ColWidths(0));
    if (!ini->UpdateFile())
      ShowHtmlMessage(HtmlKindError, QStringLiteral("Ошибка"),
                      {SettingsWriteFailureText(QString::fromStdString(ini->FileName()), ini->Error())});
  }
}

void TMainForm::ActionFieldClearExecute() {
  if (IsRunning() || !Resource || !Plant) return;
  // 1. The dialog, below the main window.
  TFormFieldClear dialog(this, ImageList);
  PlaceBelowMain(&dialog, this);
  // 2. Header rows with the editor's page captions; what can be cleared starts ticked.
  TCheckListBox* list = dialog.CheckListBox;
  list->Clear();
  auto header = [list](const QString& caption) { list->SetHeader(list->AddItem(caption), true); };
  auto choice = [list](const QString& caption, bool available) {
    const int row = list->AddItem(caption);
    list->SetItemEnabled(row, available);
    list->SetChecked(row, available);
    return row;
  };
  header(PageCaption(0, QStringLiteral("Общие")));
  const int stepRow = choice(QStringLiteral("Скинуть счетчик тактов"), Step >= 1);
  header(PageCaption(1, QStringLiteral("Ресурсы")));
  const int firstResource = list->Count();
  for (int32_t r = 0; r < Resource->Count; ++r) {
    const TResourceParameter& p = Resource->Params[r];
    choice(QStringLiteral("%1 (%2)").arg(QString::fromStdString(p.Name)).arg(p.CellCount), p.CellCount >= 1);
  }
  header(PageCaption(2, QStringLiteral("Организмы")));
  const int firstSpecies = list->Count();
  for (int32_t s = 0; s < Plant->Count; ++s) {
    const TParameterConst& p = Plant->Params[s].Const;
    choice(QStringLiteral("%1 (%2)").arg(QString::fromStdString(p.Name)).arg(p.Count), p.Count >= 1);
  }
  // 3. On "Да": the tick counter, then the layers and species that are ticked.
  if (dialog.exec() != TFormFieldClear::mrYes) return;
  if (list->Checked(stepRow)) {
    if (FormStatistic) FormStatistic->ClearHistory();
    Step = 0;
    if (FormView) FormView->StaticTextStep->setText(QStringLiteral("0"));
    if (FormStatistic) FormStatistic->RebuildLayout();
  }
  std::vector<bool> resources(static_cast<size_t>(Resource->Count)), species(static_cast<size_t>(Plant->Count));
  for (int32_t r = 0; r < Resource->Count; ++r) resources[r] = list->Checked(firstResource + r);
  for (int32_t s = 0; s < Plant->Count; ++s) species[s] = list->Checked(firstSpecies + s);
  ClearField(*Resource, *Plant, resources, species);
  if (FormStatistic) FormStatistic->UpdateView();
}
