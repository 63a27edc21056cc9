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

// Thrown inside the import to end it at once.
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
  if (errorLine) *errorLine = SaveFailedText(fileName);
  return false;
}

int32_t ImportResourceSet(const std::string& fileName, TResourceObject& resource,
                          const TResourceSetSelection& selection, TResourceSetHost& host) {
  int32_t added = 0;
  TTextReader in;
  try {
    if (!in.Open(fileName)) throw TImportEnd{};
    std::string version;
    if (in.ReadRaw() == "[FileDataVersion]") version = std::string(in.ReadRaw());
    int32_t n = 0;
    if (in.ReadRaw() == "[ResourceCount]") n = CountLineOrZero(in);
    for (int32_t k = 0; k < n; ++k) {
      if (in.Eof()) throw TImportEnd{};  // a count larger than the file
      if (in.ReadRaw() != RecordTag("Resource", k)) continue;
      const std::string name = in.ReadString();
      if (!name.empty() && host.ResourceIndex(name) < 0) {
        if (static_cast<size_t>(k) >= selection.Resources.size()) throw TImportEnd{};
        if (selection.Resources[static_cast<size_t>(k)] && resource.Count < MaxItemCount) {
          const int32_t brush = NumberLine(in), slur = NumberLine(in);
          const TColor color = NumberLine(in);
          // The ranges the editor allows for the brush.
          resource.Add(name, std::max(1, brush), std::clamp(slur, 0, 100), color);
          host.AddResource(name);
          ++added;
          continue;
        }
      }
      for (int i = 0; i < 3; ++i) in.ReadRaw();
    }
    int32_t m = 0;
    if (in.ReadRaw() == "[PlantCount]") m = CountLineOrZero(in);
    const bool v051 = version >= "0.5.1", v052 = version >= "0.5.2";
    TPlantParameter r;
    for (int32_t k = 0; k < m; ++k) {
      if (in.Eof()) throw TImportEnd{};
      if (in.ReadRaw() != RecordTag("Plant", k)) continue;
      TGenome& g = r.Param;
      r.Const.Name = in.ReadString();
      g.ResourceIn() = host.ResourceIndex(in.ReadString());
      g.ResourceOut() = v051 ? host.ResourceIndex(in.ReadString()) : g.ResourceIn();
      g.Mutation() = NumberLine(in);
      r.Const.Color = NumberLine(in);
      r.Const.ColorMutant = v052 ? NumberLine(in) : 255;
      g.ResourceBegin() = NumberLine(in);
      g.ResourceEat() = NumberLine(in);
      g.AgeReproduct() = NumberLine(in);
      g.AgeMax() = NumberLine(in);
      g.ChildrenCount() = NumberLine(in);
      if (r.Const.Name.empty() || host.HasPlant(r.Const.Name)) continue;
      if (static_cast<size_t>(k) >= selection.Plants.size()) throw TImportEnd{};
      if (!selection.Plants[static_cast<size_t>(k)] || host.PlantCount() >= MaxItemCount) continue;
      // A species must name resources of the model; one whose resource is
      // not in the list is left out.
      if (g.ResourceIn() < 0 || g.ResourceOut() < 0 || g.ResourceIn() >= resource.Count ||
          g.ResourceOut() >= resource.Count)
        continue;
      KeepSpeciesInRange(r, resource.Count);
      host.AddPlant(r);
      ++added;
    }
  } catch (const TImportEnd&) {
  }
  in.Close();
  host.UpdateView();
  return added;
}
