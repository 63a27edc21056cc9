#include "files/uResourceSet.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include "files/uDataFile.h"
#include "files/uTextFile.h"
#include "model/uLimits.h"
#include "platform/Cp1251.h"

namespace {

bool Ticked(const std::vector<bool>& ticks, int32_t k) {
  return k >= 0 && static_cast<size_t>(k) < ticks.size() && ticks[static_cast<size_t>(k)];
}

std::string ResourceName(const TResourceObject& resource, int32_t index) {
  return index >= 0 && index < resource.Count ? resource.Params[index].Name : std::string();
}

// Thrown inside the reading of a set to end it at once.
struct TImportEnd {};

// A number line of a record; a line that is no number reads 0 and marks the
// record broken.
int32_t NumberLine(TTextReader& in, bool& broken) {
  int32_t v = 0;
  if (in.ReadLineNumber(v)) return v;
  broken = true;
  return 0;
}

}  // namespace

int32_t CountLineOrZero(TTextReader& in) {
  int32_t v = 0;
  if (!in.ReadLineNumber(v) || v < 0) return 0;
  return v;
}

bool ExportResourceSet(const std::string& fileName, const TResourceObject& resource, const TPlantObject& plant,
                       const TResourceSetSelection& selection, std::string* errorLine) {
  TTextWriter out(fileName);
  // What the first line too long for the reader holds: the set is then not written.
  std::string tooLong;
  const auto name = [&](const std::string& line, const char* kind) {
    if (!out.WriteString(line) && tooLong.empty()) tooLong = std::string(kind) + " \"" + NameForMessage(line) + "\"";
  };
  if (out.Ok()) {
    out.WriteRaw("[FileDataVersion]");
    out.WriteRaw(DataFileVersion);
    int32_t n = 0, m = 0;
    for (int32_t i = 0; i < resource.Count; ++i) n += Ticked(selection.Resources, i);
    for (int32_t i = 0; i < plant.Count; ++i) m += Ticked(selection.Plants, i);
    out.WriteRaw("[ResourceCount]");
    out.WriteNumber(n);
    int32_t k = 0;
    for (int32_t i = 0; i < resource.Count; ++i) {
      if (!Ticked(selection.Resources, i)) continue;
      const TResourceParameter& p = resource.Params[i];
      out.WriteRaw(RecordTag("Resource", k++));
      name(p.Name, "имя ресурса");
      out.WriteNumber(p.BrushValue);
      out.WriteNumber(p.Slur);
      out.WriteNumber(p.Color);
    }
    out.WriteRaw("[PlantCount]");
    out.WriteNumber(m);
    k = 0;
    for (int32_t i = 0; i < plant.Count; ++i) {
      if (!Ticked(selection.Plants, i)) continue;
      const TPlantParameter& p = plant.Params[i];
      const TGenome& g = p.Param;
      out.WriteRaw(RecordTag("Plant", k++));
      name(p.Const.Name, "имя организма");
      name(ResourceName(resource, g.ResourceIn()), "имя ресурса");
      name(ResourceName(resource, g.ResourceOut()), "имя ресурса");
      WritePlantTraits(out, p);
    }
    if (out.Commit()) return true;
  }
  if (errorLine)
    *errorLine = out.LineTooLong() ? LineTooLongText(fileName, tooLong) : SaveFailedText(fileName, out.Error());
  return false;
}

bool ReadResourceSet(const std::string& fileName, TResourceSet& set, int* error) {
  set = TResourceSet();
  if (error) *error = 0;
  TTextReader in;
  if (!in.Open(fileName)) {
    if (error) *error = errno;
    return false;
  }
  try {
    if (in.ReadRaw() == "[FileDataVersion]") set.Version = std::string(in.ReadRaw());
    if (in.ReadRaw() == "[ResourceCount]") set.ResourceCount = CountLineOrZero(in);
    for (int32_t k = 0; k < set.ResourceCount; ++k) {
      if (in.Eof()) throw TImportEnd{};  // a count larger than the file
      if (in.ReadRaw() != RecordTag("Resource", k)) continue;
      TResourceSetResource r;
      r.Name = in.ReadString();
      r.BrushValue = NumberLine(in, r.Broken);
      r.Slur = NumberLine(in, r.Broken);
      r.Color = NumberLine(in, r.Broken);
      set.Resources.push_back(std::move(r));
    }
    if (in.ReadRaw() == "[PlantCount]") set.PlantCount = CountLineOrZero(in);
    const bool v051 = set.Version >= "0.5.1", v052 = set.Version >= "0.5.2";
    for (int32_t k = 0; k < set.PlantCount; ++k) {
      if (in.Eof()) throw TImportEnd{};
      if (in.ReadRaw() != RecordTag("Plant", k)) continue;
      TResourceSetPlant r;
      TGenome& g = r.Species.Param;
      r.Species.Const.Name = in.ReadString();
      r.ResourceIn = in.ReadString();
      r.ResourceOut = v051 ? in.ReadString() : r.ResourceIn;
      g.Mutation() = NumberLine(in, r.Broken);
      r.Species.Const.Color = NumberLine(in, r.Broken);
      r.Species.Const.ColorMutant = v052 ? NumberLine(in, r.Broken) : 255;
      g.ResourceBegin() = NumberLine(in, r.Broken);
      g.ResourceEat() = NumberLine(in, r.Broken);
      g.AgeReproduct() = NumberLine(in, r.Broken);
      g.AgeMax() = NumberLine(in, r.Broken);
      g.ChildrenCount() = NumberLine(in, r.Broken);
      set.Plants.push_back(std::move(r));
    }
  } catch (const TImportEnd&) {
  }
  const bool ok = !in.LineTooLong();
  in.Close();
  if (!ok) set = TResourceSet();
  return ok;
}

int32_t ImportResourceSet(const TResourceSet& set, TResourceObject& resource, const TResourceSetSelection& selection,
                          TResourceSetHost& host, TResourceSetImport* report) {
  TResourceSetImport result;
  result.NoRecords = set.Resources.empty() && set.Plants.empty();
  result.NoneTicked = true;
  for (size_t k = 0; k < set.Resources.size(); ++k)
    if (Ticked(selection.Resources, static_cast<int32_t>(k))) result.NoneTicked = false;
  for (size_t k = 0; k < set.Plants.size(); ++k)
    if (Ticked(selection.Plants, static_cast<int32_t>(k))) result.NoneTicked = false;
  // The record in hand: resource records first, then species records.
  size_t resourceAt = 0, plantAt = 0;
  const auto stop = [&](TResourceSetImport::TStop why, const std::string& name) {
    result.Stop = why;
    result.BrokenName = name;
  };
  // Adds the ticked records; a record beyond the ticks ends the import.
  const auto addTicked = [&] {
    for (; resourceAt < set.Resources.size(); ++resourceAt) {
      const size_t k = resourceAt;
      const TResourceSetResource& r = set.Resources[k];
      if (r.Name.empty() || host.ResourceIndex(r.Name) >= 0) continue;
      if (k >= selection.Resources.size()) return;
      if (!selection.Resources[k]) continue;
      if (r.Broken) return stop(TResourceSetImport::Broken, r.Name);
      if (resource.Count >= MaxItemCount) {
        ++result.ResourcesOverLimit;
        continue;
      }
      // The ranges the editor allows for the brush. Each of the two calls
      // leaves the store as it was when memory runs out.
      resource.Add(r.Name, std::max(1, r.BrushValue), std::clamp(r.Slur, 0, 100), r.Color);
      host.AddResource(r.Name);
      ++result.Added;
    }
    for (; plantAt < set.Plants.size(); ++plantAt) {
      const size_t k = plantAt;
      TPlantParameter species = set.Plants[k].Species;
      if (species.Const.Name.empty() || host.HasPlant(species.Const.Name)) continue;
      if (k >= selection.Plants.size()) return;
      if (!selection.Plants[k]) continue;
      if (set.Plants[k].Broken) return stop(TResourceSetImport::Broken, species.Const.Name);
      if (host.PlantCount() >= MaxItemCount) {
        ++result.PlantsOverLimit;
        continue;
      }
      // The resources are looked up now, so those of this set added above are found.
      TGenome& g = species.Param;
      g.ResourceIn() = host.ResourceIndex(set.Plants[k].ResourceIn);
      g.ResourceOut() = host.ResourceIndex(set.Plants[k].ResourceOut);
      // A species must name resources of the model; one whose resource is
      // not in the list is left out, and the report names that resource.
      const bool inFound = g.ResourceIn() >= 0 && g.ResourceIn() < resource.Count;
      const bool outFound = g.ResourceOut() >= 0 && g.ResourceOut() < resource.Count;
      if (!inFound || !outFound) {
        for (const std::string* missing : {inFound ? nullptr : &set.Plants[k].ResourceIn,
                                           outFound ? nullptr : &set.Plants[k].ResourceOut})
          if (missing && std::none_of(result.MissingResources.begin(), result.MissingResources.end(),
                                      [&](const std::string& n) { return SameTextCI(n, *missing); }))
            result.MissingResources.push_back(*missing);
        ++result.PlantsWithoutResource;
        continue;
      }
      KeepGenomeInRange(species.Param, resource.Count);
      host.AddPlant(species);
      ++result.Added;
    }
  };
  try {
    addTicked();
  } catch (const std::bad_alloc&) {
    stop(TResourceSetImport::NoMemory, std::string());
  }
  if (result.Stop != TResourceSetImport::Whole) {
    // From the record in hand on: the ticked records whose names the lists do not have.
    const auto ticked = [](const std::vector<bool>& ticks, size_t k) { return Ticked(ticks, static_cast<int32_t>(k)); };
    try {
      for (size_t k = resourceAt; k < set.Resources.size(); ++k)
        result.NotAdded += ticked(selection.Resources, k) && !set.Resources[k].Name.empty() &&
                           host.ResourceIndex(set.Resources[k].Name) < 0;
      for (size_t k = plantAt; k < set.Plants.size(); ++k)
        result.NotAdded += ticked(selection.Plants, k) && !set.Plants[k].Species.Const.Name.empty() &&
                           !host.HasPlant(set.Plants[k].Species.Const.Name);
    } catch (const std::bad_alloc&) {
      // The names cannot be looked up: every ticked record from there on.
      result.NotAdded = 0;
      for (size_t k = resourceAt; k < set.Resources.size(); ++k) result.NotAdded += ticked(selection.Resources, k);
      for (size_t k = plantAt; k < set.Plants.size(); ++k) result.NotAdded += ticked(selection.Plants, k);
    }
  }
  host.UpdateView();
  if (report) *report = result;
  return result.Added;
}

std::vector<std::string> ImportReportLines(const std::string& fileName, const TResourceSetImport& report) {
  if (report.NoRecords || report.NoneTicked)
    return {"Из набора \"" + fileName + "\" ничего не добавлено: " +
            (report.NoRecords ? "в наборе нет ни одной записи." : "не отмечено ни одной записи.")};
  std::vector<std::string> lines;
  const auto overLimit = [&](int32_t count, const char* what) {
    if (count > 0)
      lines.push_back(std::string("Не добавлено ") + what + ": " + std::to_string(count) + ". Больше " +
                      std::to_string(MaxItemCount) + " " + what + " программа не допускает.");
  };
  overLimit(report.ResourcesOverLimit, "ресурсов");
  overLimit(report.PlantsOverLimit, "организмов");
  if (report.PlantsWithoutResource > 0) {
    // The resources by name, as many as a page line holds well.
    constexpr size_t kNamed = 10;
    std::string names;
    for (size_t i = 0; i < report.MissingResources.size() && i < kNamed; ++i)
      names += (i ? ", \"" : "\"") + NameForMessage(report.MissingResources[i]) + "\"";
    if (report.MissingResources.size() > kNamed)
      names += " и ещё " + std::to_string(report.MissingResources.size() - kNamed);
    const bool oneResource = report.MissingResources.size() == 1, onePlant = report.PlantsWithoutResource == 1;
    lines.push_back("Не добавлено организмов: " + std::to_string(report.PlantsWithoutResource) + ". " +
                    (oneResource ? "Ресурса, которым " : "Ресурсов, которыми ") +
                    (onePlant ? "он питается или " : "они питаются или ") +
                    (oneResource ? "который " : "которые ") + (onePlant ? "выделяет" : "выделяют") +
                    ", нет ни в модели, ни среди отмеченных записей набора: " + names + ".");
  }
  if (report.Stop == TResourceSetImport::Broken)
    lines.push_back("Запись \"" + report.BrokenName +
                    "\" в наборе повреждена: в ней не число там, где должно быть число. Импорт остановлен на ней, "
                    "не добавлено записей: " + std::to_string(report.NotAdded) + ".");
  else if (report.Stop == TResourceSetImport::NoMemory)
    lines.push_back("Для остальных отмеченных записей (" + std::to_string(report.NotAdded) +
                    ") не хватает памяти. Импорт остановлен.");
  if (lines.empty()) return lines;
  lines.insert(lines.begin(),
               "Из набора \"" + fileName + "\" добавлено записей: " + std::to_string(report.Added) + ".");
  return lines;
}
