#include "files/uDataFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string_view>

#include "files/uNames.h"
#include "files/uTextFile.h"
#include "model/uLimits.h"
#include "platform/Cp1251.h"
#include "platform/FileOpen.h"

namespace {

// The system's error numbers for a file the user may not read or write.
bool NoPermission(int error) { return error == EACCES || error == EPERM; }

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}


// Makes the plant field's cells match the store's size (a store built with no
// species has no cells yet).
void NormalizePlantField(TPlantObject& plant) {
  const size_t want = static_cast<size_t>(std::max(0, plant.RowCount)) * static_cast<size_t>(std::max(0, plant.ColCount));
  if (plant.Field.Size() != want) plant.Field.Reset(plant.RowCount, plant.ColCount);
  if (static_cast<int32_t>(plant.Params.size()) != plant.Count) plant.Params.resize(std::max(0, plant.Count));
}

// Removes every index that points outside its list: living cells of a species
// that does not exist are emptied, food and waste indexes outside the resource
// list become 0, and an empty cell's species index becomes 0.
void SanitizeIndexes(const TResourceObject& resource, TPlantObject& plant) {
  NormalizePlantField(plant);
  const int32_t n = resource.Count, m = plant.Count;
  for (int32_t s = 0; s < m; ++s) KeepResourceIndexesInRange(plant.Params[s].Param, n);
  const size_t cells = plant.Field.Size();
  TPlantCell* c = plant.Field.Data();
  for (size_t i = 0; i < cells; ++i) {
    TPlantCell& cell = c[i];
    const bool speciesOk = cell.Species >= 0 && cell.Species < m;
    if (cell.Mass > 0) {
      if (!speciesOk) {
        cell = TPlantCell{};
        continue;
      }
      KeepResourceIndexesInRange(cell.Genome, n);
    } else {
      if (cell.Mass < 0) cell.Mass = 0;
      if (!speciesOk) cell.Species = 0;
    }
  }
}

// Counters from the field: cell counts and totals of the resources, counts,
// masses and distributions of the species, then the averages.
void RecountStores(TResourceObject& resource, TPlantObject& plant) {
  for (int32_t r = 0; r < resource.Count; ++r) {
    resource.Recount(r);
    TResourceParameter& p = resource.Params[r];
    p.MaxCellCount = std::max(p.MaxCellCount, p.CellCount);
    p.MaxTotal = std::max(p.MaxTotal, p.Total);
  }
  for (int32_t s = 0; s < plant.Count; ++s) {
    plant.Params[s].Const.Count = 0;
    plant.Params[s].Const.Mass = 0;
    plant.ClearStat(s);
  }
  const size_t cells = plant.Field.Size();
  const TPlantCell* c = plant.Field.Data();
  for (size_t i = 0; i < cells; ++i) {
    if (c[i].Mass <= 0) continue;
    TPlantParameter& p = plant.Params[c[i].Species];
    ++p.Const.Count;
    p.Const.Mass += c[i].Mass;
    plant.StatAddCell(p.Stat, c[i]);
  }
  for (int32_t s = 0; s < plant.Count; ++s) {
    TPlantParameter& p = plant.Params[s];
    p.Stat.MaxCount = std::max(p.Stat.MaxCount, p.Const.Count);
    p.Stat.MaxMass = std::max(p.Stat.MaxMass, p.Const.Mass);
    plant.CalcAverage(s);
  }
}

class TLoader {
 public:
  TLoader(const std::string& fileName, bool showComments, TResourceObject& resource, TPlantObject& plant,
          TDataFileDocument& doc, TDataFileHost& host)
      : FileName(fileName), ShowComments(showComments), Res(resource), Plant(plant), Doc(doc), Host(host) {}

  bool Run();

 private:
  enum class TStop { None, BadFormat, Later, TooMany };
  TStop Header();
  bool ReadResources();
  bool ReadPlants();
  bool ReadCells();
  bool Refuse(const std::string& line);
  void Resync();

  bool Num(int32_t& v) { return In.ReadNumber(v); }

  const std::string& FileName;
  bool ShowComments;
  TResourceObject& Res;
  TPlantObject& Plant;
  TDataFileDocument& Doc;
  TDataFileHost& Host;
  TTextReader In;
  std::string Version;  // the version line as it stands in the file
  std::string TooManyLine;  // the refusal of a count above MaxItemCount
  bool Touched = false; // the stores or the editor's lists were changed
};

bool TLoader::Refuse(const std::string& line) {
  In.Close();
  if (Touched) Resync();
  Host.ShowMessage(HtmlKindError, "Ошибка", {line});
  return false;
}

// After a refusal that came once the records were being read: the stores keep
// what was read, with valid indexes and counters, and the windows show them.
void TLoader::Resync() {
  SanitizeIndexes(Res, Plant);
  RecountStores(Res, Plant);
  Host.ClearResourceList();
  for (int32_t i = 0; i < Res.Count; ++i) Host.AddResourceItem(i, Res.Params[i].Name);
  Host.SelectFirstResource();
  Host.ClearPlantList();
  for (int32_t i = 0; i < Plant.Count; ++i) Host.AddPlantItem(i, Plant.Params[i].Const.Name);
  Host.SelectFirstPlant();
  Host.SetFieldSize(Res.RowCount, Res.ColCount);
  Host.RebuildLayout();
}

bool TLoader::ReadResources() {
  Host.ClearResourceList();
  TUniqueNames names;
  for (int32_t i = 0; i < Res.Count; ++i) {
    if (In.ReadRaw() != RecordTag("Resource", i)) return false;
    TResourceParameter& p = Res.Params[i];
    p.Name = names.Add(In.ReadString(), DefaultResourceName(i));
    Host.AddResourceItem(i, p.Name);
    int32_t cellCount = 0, total = 0;
    if (!Num(cellCount) || !Num(total) || !Num(p.BrushValue) || !Num(p.Slur) || !In.ReadLineNumber(p.Color))
      return false;
    p.CellCount = cellCount;
    p.Total = total;
    // The brush drops at least 1 and spreads 0..100 percent, as the editor allows.
    p.BrushValue = std::max(1, p.BrushValue);
    p.Slur = std::clamp(p.Slur, 0, 100);
  }
  Host.SelectFirstResource();
  return true;
}

bool TLoader::ReadPlants() {
  Host.ClearPlantList();
  const bool v051 = Version >= "0.5.1", v052 = Version >= "0.5.2";
  TUniqueNames names;
  for (int32_t i = 0; i < Plant.Count; ++i) {
    if (In.ReadRaw() != RecordTag("Plant", i)) return false;
    TPlantParameter& p = Plant.Params[i];
    p.Const.Name = names.Add(In.ReadString(), DefaultPlantName(i));
    Host.AddPlantItem(i, p.Const.Name);
    TGenome& g = p.Param;
    int32_t mass = 0, maxMass = 0;
    if (!Num(p.Const.Count) || !Num(mass) || !Num(g.ResourceIn())) return false;
    if (v051) {
      if (!Num(g.ResourceOut())) return false;
    } else {
      g.ResourceOut() = g.ResourceIn();
    }
    if (!Num(g.Mutation()) || !Num(p.Const.Color)) return false;
    if (v052) {
      if (!Num(p.Const.ColorMutant)) return false;
    } else {
      p.Const.ColorMutant = 255;
    }
    if (!Num(g.ResourceBegin()) || !Num(g.ResourceEat()) || !Num(g.AgeReproduct()) || !Num(g.AgeMax()) ||
        !Num(g.ChildrenCount()) || !Num(maxMass) || !Num(p.Stat.MaxCount))
      return false;
    p.Const.Mass = mass;
    p.Stat.MaxMass = maxMass;
    if (!v052)
      for (int k = 0; k < 10; ++k) In.ReadRaw();
    KeepGenomeInRange(p.Param, Res.Count);
  }
  return true;
}

// The header loop. Returns None when "[Field]" was met or the file ended.
TLoader::TStop TLoader::Header() {
  while (!In.Eof()) {
    std::string_view line = In.ReadRaw();
    if (line == "[Author]") {
      Doc.Author = In.ReadString();
      Doc.Created = In.ReadString();
    }
    if (In.ReadRaw() != "[FileDataVersion]") return TStop::BadFormat;
    Version = std::string(In.ReadRaw());
    Doc.FileDataVersion = Cp1251ToUtf8(Version);
    if (Version > DataFileVersion) return TStop::Later;

    Host.SetFileCaption(ShortFileName(FileName));
    Host.SetViewCaption(ViewCaption(Doc));
    Host.AddRecentFile(FileName);

    // Comment lines, and the line after them.
    Doc.Comment.clear();
    line = In.ReadRaw();
    while (StartsWith(line, "Comment=")) {
      Doc.Comment.push_back(Cp1251ToUtf8(line.substr(8)));
      line = In.ReadRaw();
    }
    const bool isStep = line == "[Step]";
    if (!Doc.Comment.empty()) {
      Doc.Comment.push_back(CommentInfoLine(Doc));
      if (Host.CommentOptionChecked() && ShowComments) Host.ShowMessage(HtmlKindComment, "Комментарии", Doc.Comment);
    }
    Host.EnableCommentAction(!Doc.Comment.empty());
    if (Doc.Comment.empty()) Host.CloseCommentWindow();

    if (isStep) {
      int32_t step = 0;
      if (!Num(step) || step < 0) return TStop::BadFormat;
      Doc.Step = step;
      Host.ShowStep(Doc.Step);
    }

    int32_t rows = Res.RowCount, cols = Res.ColCount;
    if (In.ReadRaw() == "[RowCount]" && !Num(rows)) return TStop::BadFormat;
    if (In.ReadRaw() == "[ColCount]" && !Num(cols)) return TStop::BadFormat;
    if (rows < FieldRowMin || rows > FieldRowMax || cols < FieldColMin || cols > FieldColMax) return TStop::BadFormat;
    // A larger field must fit in what is left of the file (every cell takes at
    // least eight lines) before the stores are grown for it.
    const uint64_t cells = static_cast<uint64_t>(rows) * static_cast<uint64_t>(cols);
    if (cells > static_cast<uint64_t>(Res.RowCount) * static_cast<uint64_t>(std::max(0, Res.ColCount)) &&
        2ull * 8ull * cells > In.Remaining())
      return TStop::BadFormat;
    Touched = true;
    SanitizeIndexes(Res, Plant);
    Res.SetSize(rows, cols);
    Plant.SetSize(rows, cols);

    if (In.ReadRaw() == "[ResourceCount]") {
      int32_t n = 0;
      if (!In.ReadLineNumber(n) || n < 0) return TStop::BadFormat;
      if (n > MaxItemCount) {
        TooManyLine = TooManyItemsText(FileName, "ресурсов", n);
        return TStop::TooMany;
      }
      // The records and the field must fit in what is left of the file.
      const uint64_t need = 7ull * static_cast<uint64_t>(n) +
                            2ull * static_cast<uint64_t>(rows) * static_cast<uint64_t>(cols) * (static_cast<uint64_t>(n) + 8);
      if (need > In.Remaining()) return TStop::BadFormat;
      Res.SetCount(n);
    }
    if (!ReadResources()) return TStop::BadFormat;

    if (In.ReadRaw() == "[PlantCount]") {
      int32_t m = 0;
      if (!In.ReadLineNumber(m) || m < 0) return TStop::BadFormat;
      if (m > MaxItemCount) {
        TooManyLine = TooManyItemsText(FileName, "организмов", m);
        return TStop::TooMany;
      }
      if (16ull * static_cast<uint64_t>(m) > In.Remaining()) return TStop::BadFormat;
      Plant.Params.resize(static_cast<size_t>(m));
      Plant.Count = m;
    }
    if (!ReadPlants()) return TStop::BadFormat;

    if (In.ReadRaw() == "[Field]") return TStop::None;
  }
  return TStop::None;
}

bool TLoader::ReadCells() {
  const int32_t rows = Res.RowCount, cols = Res.ColCount, n = Res.Count, m = Plant.Count;
  const bool v052 = Version >= "0.5.2";
  const size_t total = static_cast<size_t>(rows) * static_cast<size_t>(cols);
  size_t done = 0;
  bool ok = true;
  for (int32_t r = 0; r < rows && ok; ++r) {
    for (int32_t c = 0; c < cols; ++c) {
      for (int32_t k = 0; k < n && ok; ++k) ok = Num(Res.Field(k, r, c)) && Res.Field(k, r, c) >= 0;
      TPlantCell& cell = Plant.Field(r, c);
      TGenome& g = cell.Genome;
      ok = ok && Num(cell.Mass) && Num(cell.Species) && Num(cell.Age) && Num(g.ResourceEat()) &&
           Num(g.AgeReproduct()) && Num(g.AgeMax()) && Num(g.ResourceBegin()) && Num(g.ChildrenCount());
      // Amounts, masses and ages below 0 are not the program's: the file is refused.
      ok = ok && cell.Mass >= 0 && cell.Age >= 0;
      if (ok && v052) {
        ok = Num(g.ResourceIn()) && Num(g.ResourceOut()) && Num(g.Mutation());
      } else if (ok) {
        if (cell.Species >= 0 && cell.Species < m) {
          const TGenome& s = Plant.Params[cell.Species].Param;
          g.ResourceIn() = s.ResourceIn();
          g.ResourceOut() = s.ResourceOut();
          g.Mutation() = s.Mutation();
        } else {
          g.ResourceIn() = g.ResourceOut() = g.Mutation() = 0;
        }
      }
      cell.BornAhead = false;
      if (ok && In.HitEnd()) ok = false;
      if (!ok) break;
      // An organism whose food or waste resource is not in the list (earlier
      // versions left such organisms when a resource was deleted) takes
      // resource 0, and its other values are brought into the ranges the tick
      // keeps; one of no species is left out afterwards (SanitizeIndexes).
      if (cell.Mass > 0) KeepGenomeInRange(g, n);
      ++done;
    }
  }
  if (ok) return true;
  // What was read stays; the cells not read are emptied.
  for (size_t i = done; i < total; ++i) {
    const int32_t r = static_cast<int32_t>(i / static_cast<size_t>(cols)), c = static_cast<int32_t>(i % static_cast<size_t>(cols));
    for (int32_t k = 0; k < n; ++k) Res.Field(k, r, c) = 0;
    Plant.Field(r, c) = TPlantCell{};
  }
  return false;
}

bool TLoader::Run() {
  struct stat st {};
  if (FileName.empty() || ::stat(FileName.c_str(), &st) != 0) {
    // A folder on the way that may not be entered hides whether the file is
    // there; a name too long is no name of a file at all.
    Host.ShowMessage(HtmlKindError, "Ошибка", {OpenFailedText(FileName, FileName.empty() ? ENOENT : errno)});
    return false;
  }
  if (!In.Open(FileName)) {
    Host.ShowMessage(HtmlKindError, "Ошибка", {OpenFailedText(FileName, errno)});
    return false;
  }
  // An empty file holds no model: refused instead of emptying the field.
  if (In.Size() == 0) return Refuse(BadFormatText(FileName));

  switch (Header()) {
    case TStop::BadFormat: return Refuse(BadFormatText(FileName));
    case TStop::Later: return Refuse(LaterVersionText(FileName));
    case TStop::TooMany: return Refuse(TooManyLine);
    case TStop::None: break;
  }
  Host.SelectFirstPlant();

  int32_t rows = 0, cols = 0;
  if (!Num(rows) || !Num(cols) || In.HitEnd()) return Refuse(BadFormatText(FileName));
  if (rows < FieldRowMin || rows > FieldRowMax || cols < FieldColMin || cols > FieldColMax)
    return Refuse(BadFormatText(FileName));
  const uint64_t need = 2ull * static_cast<uint64_t>(rows) * static_cast<uint64_t>(cols) *
                        (static_cast<uint64_t>(Res.Count) + 8);
  if (need > In.Remaining()) return Refuse(BadFormatText(FileName));
  Touched = true;
  SanitizeIndexes(Res, Plant);
  Res.SetSize(rows, cols);
  Plant.SetSize(rows, cols);
  NormalizePlantField(Plant);
  Host.SetFieldSize(rows, cols);
  for (int32_t s = 0; s < Plant.Count; ++s) Plant.ClearStat(s);

  if (!ReadCells() || In.LineTooLong()) return Refuse(BadFormatText(FileName));
  In.Close();
  SanitizeIndexes(Res, Plant);
  RecountStores(Res, Plant);
  Host.RebuildLayout();
  return true;
}

}  // namespace

bool LoadDataFile(const std::string& fileName, bool showComments, TResourceObject& resource, TPlantObject& plant,
                  TDataFileDocument& doc, TDataFileHost& host) {
  TLoader loader(fileName, showComments, resource, plant, doc, host);
  return loader.Run();
}

void WritePlantTraits(TTextWriter& out, const TPlantParameter& p) {
  const TGenome& g = p.Param;
  out.WriteNumber(g.Mutation());
  out.WriteNumber(p.Const.Color);
  out.WriteNumber(p.Const.ColorMutant);
  out.WriteNumber(g.ResourceBegin());
  out.WriteNumber(g.ResourceEat());
  out.WriteNumber(g.AgeReproduct());
  out.WriteNumber(g.AgeMax());
  out.WriteNumber(g.ChildrenCount());
}

bool SaveDataFile(const std::string& fileName, const TResourceObject& resource, const TPlantObject& plant,
                  TDataFileDocument& doc, TDataFileHost& host) {
  TTextWriter out(fileName);
  if (!out.Ok()) {
    host.ShowMessage(HtmlKindError, "Ошибка", {SaveFailedText(fileName, out.Error())});
    return false;
  }
  // What the first line too long for the reader holds: the file is then not saved.
  std::string tooLong;
  const auto text = [&](const std::string& line, const auto& what) {
    if (!out.WriteString(line) && tooLong.empty()) tooLong = what();
  };
  const std::string created = DateTimeText(std::time(nullptr));
  out.WriteRaw("[Author]");
  text(doc.Author, [&] { return "имя автора \"" + NameForMessage(doc.Author) + "\""; });
  out.WriteString(created);
  out.WriteRaw("[FileDataVersion]");
  out.WriteRaw(DataFileVersion);
  // The last comment line is the information line the reader appended.
  for (size_t i = 0; i + 1 < doc.Comment.size(); ++i)
    text("Comment=" + doc.Comment[i], [&] { return "строка комментария " + std::to_string(i + 1); });
  out.WriteRaw("[Step]");
  out.WriteNumber(doc.Step);
  const int32_t rows = resource.RowCount, cols = resource.ColCount, n = resource.Count;
  out.WriteRaw("[RowCount]");
  out.WriteNumber(rows);
  out.WriteRaw("[ColCount]");
  out.WriteNumber(cols);
  out.WriteRaw("[ResourceCount]");
  out.WriteNumber(n);
  for (int32_t i = 0; i < n; ++i) {
    const TResourceParameter& p = resource.Params[i];
    out.WriteRaw(RecordTag("Resource", i));
    text(p.Name, [&] { return "имя ресурса \"" + NameForMessage(p.Name) + "\""; });
    out.WriteNumber(p.CellCount);
    out.WriteNumber(Saturate32(p.Total));
    out.WriteNumber(p.BrushValue);
    out.WriteNumber(p.Slur);
    out.WriteNumber(p.Color);
  }
  out.WriteRaw("[PlantCount]");
  out.WriteNumber(plant.Count);
  for (int32_t i = 0; i < plant.Count; ++i) {
    const TPlantParameter& p = plant.Params[i];
    const TGenome& g = p.Param;
    out.WriteRaw(RecordTag("Plant", i));
    text(p.Const.Name, [&] { return "имя организма \"" + NameForMessage(p.Const.Name) + "\""; });
    out.WriteNumber(p.Const.Count);
    out.WriteNumber(Saturate32(p.Const.Mass));
    out.WriteNumber(g.ResourceIn());
    out.WriteNumber(g.ResourceOut());
    WritePlantTraits(out, p);
    out.WriteNumber(Saturate32(p.Stat.MaxMass));
    out.WriteNumber(p.Stat.MaxCount);
  }
  // Every line of text is written by now: a file its reader would refuse is not saved.
  if (out.LineTooLong()) {
    host.ShowMessage(HtmlKindError, "Ошибка", {LineTooLongText(fileName, tooLong)});
    return false;
  }
  out.WriteRaw("[Field]");
  out.WriteNumber(rows);
  out.WriteNumber(cols);
  const bool plantFits = plant.RowCount >= rows && plant.ColCount >= cols &&
                         plant.Field.Size() == static_cast<size_t>(plant.RowCount) * static_cast<size_t>(plant.ColCount);
  const TPlantCell empty{};
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < cols; ++c) {
      for (int32_t k = 0; k < n; ++k) out.WriteNumber(resource.Field(k, r, c));
      const TPlantCell& cell = plantFits ? plant.Field(r, c) : empty;
      const TGenome& g = cell.Genome;
      out.WriteNumber(cell.Mass);
      out.WriteNumber(cell.Species);
      out.WriteNumber(cell.Age);
      out.WriteNumber(g.ResourceEat());
      out.WriteNumber(g.AgeReproduct());
      out.WriteNumber(g.AgeMax());
      out.WriteNumber(g.ResourceBegin());
      out.WriteNumber(g.ChildrenCount());
      out.WriteNumber(g.ResourceIn());
      out.WriteNumber(g.ResourceOut());
      out.WriteNumber(g.Mutation());
    }
  if (!out.Commit()) {
    host.ShowMessage(HtmlKindError, "Ошибка", {SaveFailedText(fileName, out.Error())});
    return false;
  }
  doc.Created = created;
  host.AddRecentFile(fileName);
  host.SetFileCaption(ShortFileName(fileName));
  host.SetViewCaption(ViewCaption(doc));
  return true;
}

std::string DateTimeText(std::time_t when) {
  std::tm t{};
  localtime_r(&when, &t);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900, t.tm_hour,
                t.tm_min, t.tm_sec);
  return buf;
}

std::string ViewCaption(const TDataFileDocument& doc) {
  return "Наблюдение " + doc.FileDataVersion + " - " + doc.Author + " " + doc.Created;
}

std::string ShortFileName(const std::string& fileName) {
  const size_t slash = fileName.rfind('/');
  return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

std::string RecordTag(const char* kind, int32_t index) { return std::string("[") + kind + std::to_string(index) + "]"; }

std::string CommentInfoLine(const TDataFileDocument& doc) {
  return "Автор файла: <b>" + doc.Author + "</b>. Время создания: " + doc.Created +
         ". Версия формата данных: " + doc.FileDataVersion + ".";
}

std::string NotFoundText(const std::string& fileName) {
  return "Файл \"" + fileName + "\" не найден. Проверьте корректность имени файла.";
}

namespace {

// The causes that read the same whether the file was to be read or written.
const char* CauseOfBothSides(int error) {
  switch (error) {
    case ENAMETOOLONG: return "Слишком длинное имя файла.";
    case EISDIR: return "Это папка, а не файл.";
    case ErrorNotRegularFile: return "Это не обычный файл.";
    case ELOOP: return "Слишком много символических ссылок на пути к файлу.";
    default: return nullptr;
  }
}

}  // namespace

std::string ReadFailureCause(int error) {
  if (NoPermission(error)) return "Нет прав на чтение этого файла.";
  if (const char* cause = CauseOfBothSides(error)) return cause;
  switch (error) {
    case ENOENT: return "Файл не найден.";
    case ENOTDIR: return "Папка этого файла не существует.";
    case EIO: return "Ошибка чтения с диска.";
    default: return "Возможно, файл занят другим процессом.";
  }
}

bool CannotEnterFolderOf(const std::string& fileName) {
  // A file's state is read with no permission on the file itself: refused,
  // it is a folder on the way that is closed.
  struct stat st {};
  return ::stat(fileName.c_str(), &st) != 0 && NoPermission(errno);
}

std::string CannotOpenText(const std::string& fileName, int error) {
  const std::string cause = NoPermission(error) && CannotEnterFolderOf(fileName)
                                ? "Нет прав на открытие папки этого файла."
                                : ReadFailureCause(error);
  return "Файл \"" + fileName + "\" не удалось открыть. " + cause;
}

std::string OpenFailedText(const std::string& fileName, int error) {
  return error == ENOENT || error == ENOTDIR ? NotFoundText(fileName) : CannotOpenText(fileName, error);
}

std::string BadFormatText(const std::string& fileName) {
  return "Не удалось открыть файл \"" + fileName + "\". Возможно, неверный формат данных.";
}

std::string LaterVersionText(const std::string& fileName) {
  return "Не удалось открыть файл \"" + fileName + "\". Возможно, файл имеет более поздний формат данных .";
}

std::string TooManyItemsText(const std::string& fileName, const std::string& what, int32_t count) {
  return "Не удалось открыть файл \"" + fileName + "\". Число " + what + " в файле (" + std::to_string(count) +
         ") больше, чем допускает программа (" + std::to_string(MaxItemCount) + ").";
}

std::string WriteFailureCause(int error) {
  if (NoPermission(error)) return "Нет прав на запись этого файла или его папки.";
  if (const char* cause = CauseOfBothSides(error)) return cause;
  switch (error) {
    case ENOENT:
    case ENOTDIR: return "Папка этого файла не существует.";
    case ENOSPC: return "На диске не осталось места.";
    case EDQUOT: return "На диске не осталось места, отведённого пользователю.";
    case EROFS: return "Файловая система доступна только для чтения.";
    case EFBIG: return "Файл больше, чем позволяет система.";
    case EIO: return "Ошибка записи на диск.";
    default: return "Возможно, файл занят другим процессом или имеет атрибут \"Только для чтения\".";
  }
}

std::string SaveFailedText(const std::string& fileName, int error) {
  return "Файл \"" + fileName + "\" не удалось сохранить. " + WriteFailureCause(error);
}

std::string LineTooLongText(const std::string& fileName, const std::string& what) {
  return "Файл \"" + fileName + "\" не удалось сохранить. Слишком длинная строка для файла: " + what +
         ". Строка файла может быть не длиннее " + std::to_string(MaxNameLength) + " знаков.";
}

std::string NameForMessage(const std::string& name) {
  constexpr size_t kShown = 40;  // characters
  size_t at = 0;
  for (size_t shown = 0; at < name.size() && shown < kShown; ++shown) {
    ++at;
    while (at < name.size() && (static_cast<unsigned char>(name[at]) & 0xC0) == 0x80) ++at;
  }
  return at < name.size() ? name.substr(0, at) + "…" : name;
}
