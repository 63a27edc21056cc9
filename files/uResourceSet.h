#pragma once
// The resource-set file (.zor): chosen resource and species definitions,
// without field or statistics, carried from one simulation to another.
// Species name their food and waste resources by resource name.
#include <cstdint>
#include <string>
#include <vector>

#include "model/uPlant.h"
#include "model/uResource.h"

// Which records are ticked in the file window's check list: Resources[k] for
// resource k and Plants[k] for species k (of the model when exporting, of the
// set when importing).
struct TResourceSetSelection {
  std::vector<bool> Resources;
  std::vector<bool> Plants;
};

// The parameter editor's lists, as the import needs them.
class TResourceSetHost {
 public:
  virtual ~TResourceSetHost() = default;
  // Index of the item of ListBoxResource with this name (without regard to
  // letter case), or -1.
  virtual int32_t ResourceIndex(const std::string& name) = 0;
  // Whether ListBoxPlant has an item of this name (without regard to letter case).
  virtual bool HasPlant(const std::string& name) = 0;
  // The number of items in ListBoxPlant.
  virtual int32_t PlantCount() = 0;
  // TFormParameter::AddResource: lists a resource already appended to the store.
  virtual void AddResource(const std::string& name) = 0;
  // TFormParameter::AddPlant: adds the species to the store and lists it.
  virtual void AddPlant(const TPlantParameter& species) = 0;
  // TFormStatistic::UpdateView.
  virtual void UpdateView() = 0;
};

class TTextReader;
// A count line of a set: a number, 0 when it is not one or is below 0.
int32_t CountLineOrZero(TTextReader& in);

// Writes the ticked resources and species as a set (version "0.5.2"), replacing
// the file only once it is whole. A species names its resources by the names
// of the model's resources, ticked or not. Returns false (with the message line
// in *errorLine when given) when the file could not be written.
bool ExportResourceSet(const std::string& fileName, const TResourceObject& resource, const TPlantObject& plant,
                       const TResourceSetSelection& selection, std::string* errorLine = nullptr);

// Adds the ticked records of a set to the model, skipping empty names and names
// the lists already have, and species whose food or waste resource is not in
// the resource list; once a list holds MaxItemCount items no more are added to
// it. Any failure ends the import silently; what was added before it stays.
// Returns the number of records added.
int32_t ImportResourceSet(const std::string& fileName, TResourceObject& resource,
                          const TResourceSetSelection& selection, TResourceSetHost& host);
