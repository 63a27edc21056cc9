#pragma once
// Shared pieces of the file tests: a temporary folder, a recording stand-in
// for the main window, a small model and checks of the stores' invariants.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "files/uDataFile.h"
#include "files/uResourceSet.h"
#include "model/uPlant.h"
#include "model/uResource.h"

namespace fs = std::filesystem;

class TTempDir {
 public:
  TTempDir() {
    static int counter = 0;
    Path = fs::temp_directory_path() / ("zo_files_" + std::to_string(getpid()) + "_" + std::to_string(++counter));
    fs::remove_all(Path);
    fs::create_directories(Path);
  }
  ~TTempDir() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  std::string File(const std::string& name) const { return (Path / name).string(); }
  fs::path Path;
};

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Splits on CR LF; the text must end in one.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) break;
    out.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

inline std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

// Records what the reader and the writer ask of the windows.
class TFakeHost : public TDataFileHost {
 public:
  struct TMessage {
    int Kind;
    std::string Caption;
    std::vector<std::string> Lines;
  };
  std::vector<TMessage> Messages;
  std::string FileCaption, ViewCaptionText;
  std::vector<std::string> Recent;
  bool CommentOption = true;
  int CommentActionEnabled = -1;  // -1 never set
  int CommentWindowClosed = 0;
  int32_t StepShown = -1;
  std::vector<std::string> ResourceList, PlantList;
  int ResourceSelected = 0, PlantSelected = 0;
  int32_t Rows = -1, Cols = -1;
  int Layouts = 0;

  void ShowMessage(int kind, const std::string& caption, const std::vector<std::string>& lines) override {
    Messages.push_back({kind, caption, lines});
  }
  void SetFileCaption(const std::string& shortName) override { FileCaption = shortName; }
  void SetViewCaption(const std::string& caption) override { ViewCaptionText = caption; }
  void AddRecentFile(const std::string& fileName) override { Recent.push_back(fileName); }
  bool CommentOptionChecked() override { return CommentOption; }
  void EnableCommentAction(bool enabled) override { CommentActionEnabled = enabled; }
  void CloseCommentWindow() override { ++CommentWindowClosed; }
  void ShowStep(int32_t step) override { StepShown = step; }
  void ClearResourceList() override { ResourceList.clear(); }
  void AddResourceItem(int32_t index, const std::string& name) override {
    EXPECT_EQ(index, static_cast<int32_t>(ResourceList.size()));
    ResourceList.push_back(name);
  }
  void SelectFirstResource() override { ++ResourceSelected; }
  void ClearPlantList() override { PlantList.clear(); }
  void AddPlantItem(int32_t index, const std::string& name) override {
    EXPECT_EQ(index, static_cast<int32_t>(PlantList.size()));
    PlantList.push_back(name);
  }
  void SelectFirstPlant() override { ++PlantSelected; }
  void SetFieldSize(int32_t rows, int32_t cols) override {
    Rows = rows;
    Cols = cols;
  }
  void RebuildLayout() override { ++Layouts; }

  std::vector<std::string> Errors() const {
    std::vector<std::string> out;
    for (const auto& m : Messages)
      if (m.Kind == 0) out.push_back(m.Caption + "|" + (m.Lines.empty() ? "" : m.Lines[0]));
    return out;
  }
};

inline TPlantParameter Species(const std::string& name, int32_t in, int32_t out, TColor color) {
  return NewPlantParameter(name, TGenome(2, 1, 5, 10, 3, 10, in, out), color, clRed);
}

// A small model: rows x cols, resources "Ресурс Жёлтый" and "Water", species
// "Организм А" (eats 0, leaves 1), "Beta" (eats 1, leaves 0) and "Гамма".
struct TModel {
  TResourceObject Res;
  TPlantObject Plant;
  TDataFileDocument Doc;

  TModel(int32_t rows = 6, int32_t cols = 12) : Res(0, rows, cols), Plant(0, rows, cols) {
    Plant.Field.Reset(rows, cols);
    Res.Add("Ресурс Жёлтый", 25, 70, clYellow);
    Res.Add("Water", 7, 30, RGBColor(0, 0, 255));
    Plant.Add(Species("Организм А", 0, 1, clLime));
    Plant.Add(Species("Beta", 1, 0, RGBColor(10, 20, 30)));
    Plant.Add(Species("Гамма", 1, 1, -2147483643));  // a system colour
    Doc.Author = "Иван";
    Doc.Created = "01.02.2003 04:05:06";
    Doc.FileDataVersion = "0.5.2";
    Doc.Step = 77;
  }

  // Paints some resources and places organisms, one of them a mutant.
  void Populate() {
    for (int32_t r = 0; r < Res.RowCount; ++r)
      for (int32_t c = 0; c < Res.ColCount; ++c) {
        if ((r + c) % 3 == 0) Res.AddAmount(0, r, c, r * 10 + c + 1);
        if ((r * c) % 4 == 1) Res.AddAmount(1, r, c, 5);
        if ((r + 2 * c) % 5 == 0) Plant.Place((r + c) % 3, r, c);
      }
    TPlantCell& cell = Plant.Field(1, 3);
    if (cell.Mass > 0) {
      cell.Genome.Mutation() = 42;
      cell.Genome.ResourceOut() = 0;
      Plant.ClearStat(cell.Species);
    }
    Plant.Field(0, 0).Age = 4;
    for (int32_t s = 0; s < Plant.Count; ++s) Plant.ClearStat(s);
    for (int32_t r = 0; r < Plant.RowCount; ++r)
      for (int32_t c = 0; c < Plant.ColCount; ++c)
        if (Plant.Field(r, c).Mass > 0) Plant.StatAddCell(Plant.Params[Plant.Field(r, c).Species].Stat, Plant.Field(r, c));
    for (int32_t s = 0; s < Plant.Count; ++s) Plant.CalcAverage(s);
  }
};

// Every index in the stores points inside its list, and the counters agree with the field.
inline void ExpectStoresValid(const TResourceObject& res, const TPlantObject& plant) {
  ASSERT_EQ(static_cast<int32_t>(res.Params.size()), res.Count);
  ASSERT_EQ(static_cast<int32_t>(plant.Params.size()), plant.Count);
  ASSERT_EQ(res.Field.LayerCount(), res.Count);
  if (res.Count > 0) {
    ASSERT_EQ(res.Field.LayerSize(), static_cast<size_t>(res.RowCount) * res.ColCount);
  }
  ASSERT_EQ(plant.Field.Size(), static_cast<size_t>(plant.RowCount) * plant.ColCount);
  auto resOk = [&](int32_t v) { return v == 0 || (v > 0 && v < res.Count); };
  for (const auto& p : plant.Params) {
    EXPECT_TRUE(resOk(p.Param.ResourceIn()));
    EXPECT_TRUE(resOk(p.Param.ResourceOut()));
  }
  std::vector<int32_t> counts(plant.Count, 0);
  std::vector<int64_t> masses(plant.Count, 0);
  for (int32_t r = 0; r < plant.RowCount; ++r)
    for (int32_t c = 0; c < plant.ColCount; ++c) {
      const TPlantCell& cell = plant.Field(r, c);
      if (cell.Mass <= 0) continue;
      ASSERT_GE(cell.Species, 0);
      ASSERT_LT(cell.Species, plant.Count);
      EXPECT_TRUE(resOk(cell.Genome.ResourceIn()));
      EXPECT_TRUE(resOk(cell.Genome.ResourceOut()));
      ++counts[cell.Species];
      masses[cell.Species] += cell.Mass;
    }
  for (int32_t s = 0; s < plant.Count; ++s) {
    EXPECT_EQ(plant.Params[s].Const.Count, counts[s]);
    EXPECT_EQ(plant.Params[s].Const.Mass, masses[s]);
    int32_t inHistogram = 0;
    for (const auto& item : plant.Params[s].Stat.Histogram[gAgeMax]) inHistogram += item.Num;
    EXPECT_EQ(inHistogram, counts[s]);
  }
}

// Reads a set and imports its ticked records, as the file window and the import do.
inline int32_t ImportSetFile(const std::string& fileName, TResourceObject& resource,
                             const TResourceSetSelection& selection, TResourceSetHost& host) {
  TResourceSet set;
  ReadResourceSet(fileName, set);
  return ImportResourceSet(set, resource, selection, host);
}
