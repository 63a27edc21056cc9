// Writes the sample data file "fight_mutation.zod" with the program's own
// writer: two species compete for one resource on a closed field; one of them
// mutates, the other does not.
//   zo_make_sample <resources folder>
#include <cstdio>
#include <string>
#include <vector>

#include "files/uDataFile.h"
#include "model/uPlant.h"
#include "model/uRandom.h"
#include "model/uResource.h"

namespace {

// The writer's window side is not needed here: messages go to the terminal.
class TQuietHost : public TNullDataFileHost {
 public:
  void ShowMessage(int, const std::string& caption, const std::vector<std::string>& lines) override {
    std::fprintf(stderr, "%s\n", caption.c_str());
    for (const auto& l : lines) std::fprintf(stderr, "  %s\n", l.c_str());
  }
};

TPlantParameter Species(const char* name, TColor color, TColor colorMutant, int mutation) {
  // Food and waste are both resource 0: the dead feed the living, nothing leaves the field.
  return NewPlantParameter(name, TGenome(2, 2, 4, 20, 2, mutation, 0, 0), color, colorMutant);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zo_make_sample <resources folder>\n");
    return 2;
  }
  const int rows = 45, cols = 45;
  TResourceObject resource(1, rows, cols);
  resource.SetParameter(0, "Трава", 25, 70, RGBColor(0xC0, 0xDC, 0xC0));  // "Мятный"
  resource.EmptyColor = clFieldDefault;
  resource.AddAmountEverywhere(0, 20);

  TPlantObject plant(2, rows, cols);
  // Every colour here is one the parameter editor's colour list names, so its
  // "Цвет" rows and pickers show them by name.
  // "Зелёный", its mutant frame (never drawn: it does not mutate) "Фуксия".
  plant.SetParameter(0, Species("Постоянный", RGBColor(0x00, 0x80, 0x00), RGBColor(0xFF, 0x00, 0xFF), 0));
  // "Синий", mutants framed "Красный".
  plant.SetParameter(1, Species("Мутирующий", RGBColor(0x00, 0x00, 0xFF), clRed, 15));
  plant.EmptyColor = clFieldDefault;
  // Two colonies of the same size on opposite sides of the field.
  RandSeed = 20240607u;
  for (int k = 0; k < 40; ++k) {
    plant.Place(0, 10 + Random(25), 3 + Random(10));
    plant.Place(1, 10 + Random(25), 32 + Random(10));
  }
  for (int32_t i = 0; i < plant.Count; ++i) plant.CalcAverage(i);

  TDataFileDocument doc;
  doc.Author = "ZeltorOmra";
  doc.FileDataVersion = DataFileVersion;
  doc.Comment = {
      "Борьба за один ресурс: два вида едят одну и ту же траву.",
      "Слева колония вида \"Постоянный\" (зелёный): его дети всегда точные копии родителя, мутаций нет.",
      "Справа колония вида \"Мутирующий\" (синий): примерно каждый седьмой ребёнок мутирует, мутанты обведены красной рамкой.",
      "В начале оба вида одинаковы во всём, кроме процента мутации.",
      "Погибший организм оставляет свою массу травой в своей клетке, так что вещество на поле не пропадает.",
      "Запустите счёт (F5) и следите на вкладке \"Журнал\" окна статистики (\"Общее количество\", \"Общая масса\") за обоими видами.",
      "На вкладке \"Статистика\" выберите \"Питание за такт, ед\" или \"Размножение, шт\" и посмотрите, куда сдвигается распределение у мутирующего вида.",
      "Вопрос опыта: даёт ли изменчивость преимущество, или постоянный вид вытеснит мутирующий?",
      "",  // the writer leaves out the last line, which the reader's information line takes
  };
  TQuietHost host;
  const std::string path = std::string(argv[1]) + "/fight_mutation.zod";
  if (!SaveDataFile(path, resource, plant, doc, host)) return 1;
  std::printf("%s\n", path.c_str());
  return 0;
}
