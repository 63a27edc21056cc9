#include "files/uResourceSet.h"

#include <algorithm>

#include "files/uDataFile.h"
#include "files/uTextFile.h"
#include "model/uLimits.h"

namespace {

bool Ticked(const std::vector<bool>& ticks, int32_t k) {
  return k >= 0 && static_cast<size_t>(k) < ticks.size() && ticks[static_cast<size_t>(k)];
}

std::string ResourceName(const TResourceObject& resource, int32_t index) {
  return index >= 0 && index < resource.Count ? resource.Params[index].Name : std::string();
}

// Thrown inside the reading of a set to end it at once.
struct TImportEnd {};

int32_t NumberLine(TTextReader& in) {
  int32_t v = 0;
  if (!in.ReadLineNumber(v)) throw TImportEnd{};
  return v;
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
      out.WriteString(p.Name);
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
      out.WriteString(p.Const.Name);
      out.WriteString(ResourceName(resource, g.ResourceIn()));
      out.WriteString(ResourceName(resource, g.ResourceOut()));
      WritePlantTraits(out, p);
    }
    if (out.Commit()) return true;
  }
  if (errorLine) *errorLine = SaveFailedText(fileName, out.Error());
  return false;
}

bool ReadResourceSet(const std::string& fileName, TResourceSet& set) {
  set = TResourceSet();
  TTextReader in;
  if (!in.Open(fileName)) return false;
  try {
    if (in.ReadRaw() == "[FileDataVersion]") set.Version = std::string(in.ReadRaw());
    if (in.ReadRaw() == "[ResourceCount]") set.ResourceCount = CountLineOrZero(in);
    for (int32_t k = 0; k < set.ResourceCount; ++k) {
      if (in.Eof()) throw TImportEnd{};  // a count larger than the file
      if (in.ReadRaw() != RecordTag("Resource", k)) continue;
      TResourceSetResource r;
      r.Name = in.ReadString();
      r.BrushValue = NumberLine(in);
      r.Slur = NumberLine(in);
      r.Color = NumberLine(in);
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
      g.Mutation() = NumberLine(in);
      r.Species.Const.Color = NumberLine(in);
      r.Species.Const.ColorMutant = v052 ? NumberLine(in) : 255;
      g.ResourceBegin() = NumberLine(in);
      g.ResourceEat() = NumberLine(in);
      g.AgeReproduct() = NumberLine(in);
      g.AgeMax() = NumberLine(in);
      g.ChildrenCount() = NumberLine(in);
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
                          TResourceSetHost& host) {
  int32_t added = 0;
  // Adds the ticked records; a record beyond the ticks ends the import.
  const auto addTicked = [&] {
    for (size_t k = 0; k < set.Resources.size(); ++k) {
      const TResourceSetResource& r = set.Resources[k];
      if (r.Name.empty() || host.ResourceIndex(r.Name) >= 0) continue;
      if (k >= selection.Resources.size()) return;
      if (!selection.Resources[k] || resource.Count >= MaxItemCount) continue;
      // The ranges the editor allows for the brush.
      resource.Add(r.Name, std::max(1, r.BrushValue), std::clamp(r.Slur, 0, 100), r.Color);
      host.AddResource(r.Name);
      ++added;
    }
    for (size_t k = 0; k < set.Plants.size(); ++k) {
      TPlantParameter species = set.Plants[k].Species;
      if (species.Const.Name.empty() || host.HasPlant(species.Const.Name)) continue;
      if (k >= selection.Plants.size()) return;
      if (!selection.Plants[k] || host.PlantCount() >= MaxItemCount) continue;
      // The resources are looked up now, so those of this set added above are found.
      TGenome& g = species.Param;
      g.ResourceIn() = host.ResourceIndex(set.Plants[k].ResourceIn);
      g.ResourceOut() = host.ResourceIndex(set.Plants[k].ResourceOut);
      // A species must name resources of the model; one whose resource is
      // not in the list is left out.
      if (g.ResourceIn() < 0 || g.ResourceOut() < 0 || g.ResourceIn() >= resource.Count ||
          g.ResourceOut() >= resource.Count)
        continue;
      KeepGenomeInRange(species.Param, resource.Count);
      host.AddPlant(species);
      ++added;
    }
  };
  addTicked();
  host.UpdateView();
  return added;
}
