#pragma once
// The resource-set file (.zor): chosen resource and species definitions,
// without field or statistics, carried from one simulation to another.
// Species name their food and waste resources by resource name.
#include <cstdint>
#include <string>
#include <vector>

#include "model/uPlant.h"
#include "model/uResource.h"

// Which records are ticked in the file window's check list: for export,
// Resources[k] for the model's resource k and Plants[k] for its species k; for
// import, Resources[k] and Plants[k] for the records TResourceSet::Resources[k]
// and TResourceSet::Plants[k] that the list shows.
struct TResourceSetSelection {
  std::vector<bool> Resources;
  std::vector<bool> Plants;
};

// A resource record of a set, as read. Broken: a line that should be one of
// its numbers is not one (that value reads 0).
struct TResourceSetResource {
  std::string Name;
  int32_t BrushValue = 0;
  int32_t Slur = 0;
  TColor Color = 0;
  bool Broken = false;
};

// A species record of a set, as read: its values (Count, Mass and the resource
// indexes zero) and its food and waste resources by name; Broken as for a
// resource record.
struct TResourceSetPlant {
  TPlantParameter Species;
  std::string ResourceIn, ResourceOut;
  bool Broken = false;
};

// A set as read: its version, the counts it announces, and the records whose
// tag stood where it should, in file order. The file window's check list shows
// these records and the import adds the ticked ones of the same reading, so
// what is imported is exactly what the list showed.
struct TResourceSet {
  std::string Version;
  int32_t ResourceCount = 0;
  int32_t PlantCount = 0;
  std::vector<TResourceSetResource> Resources;
  std::vector<TResourceSetPlant> Plants;
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
  // TFormParameter::AddResource: lists a resource already appended to the
  // store. When memory runs out it throws std::bad_alloc, the resource having
  // left the store again.
  virtual void AddResource(const std::string& name) = 0;
  // TFormParameter::AddPlant: adds the species to the store and lists it; when
  // memory runs out it throws std::bad_alloc, with the store as it was.
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

// Reads a set: a version tag on the first line (without it the set is older
// than "0.5.1" and that line is lost), then the counts and the records; a
// species record has its waste resource from "0.5.1" on (before, the waste
// resource is the food resource) and its mutant colour from "0.5.2" on (before,
// 255). A line that is not the expected tag is dropped and counts as one
// record; a value that should be a number and is not makes its record Broken,
// and the reading goes on with the next line, so that every record is listed.
// False, with no records, when the file cannot be opened or read; `error`
// (when given) then gets the system's error number of a file that could not be
// opened (as TTextReader::Open gives it), or 0 for one that is not a set (a
// line longer than the reader takes).
bool ReadResourceSet(const std::string& fileName, TResourceSet& set, int* error = nullptr);

// How an import ended: the records added and, of the ticked records whose
// names the lists did not have, how many were left out and why.
struct TResourceSetImport {
  int32_t Added = 0;
  // The set holds no records at all (an export with nothing ticked writes one).
  bool NoRecords = false;
  // No record of the set was ticked.
  bool NoneTicked = false;
  // Left out because the model already held MaxItemCount resources, or species.
  int32_t ResourcesOverLimit = 0;
  int32_t PlantsOverLimit = 0;
  // Species left out because their food or waste resource is neither in the
  // model nor among the records added, and those resources' names (each once,
  // without regard to letter case, in the order met).
  int32_t PlantsWithoutResource = 0;
  std::vector<std::string> MissingResources;
  // The import stopped at a ticked new record that was Broken (BrokenName), or
  // while memory ran out; NotAdded counts that record and the ticked new
  // records after it.
  enum TStop { Whole, Broken, NoMemory } Stop = Whole;
  std::string BrokenName;
  int32_t NotAdded = 0;
};

// Adds the ticked records of a set to the model, skipping empty names and names
// the lists already have, and species whose food or waste resource is not in
// the resource list; a record beyond the ticks given ends the import, and once
// a list holds MaxItemCount items no more are added to it. A ticked new record
// that is Broken stops the import there, and so does memory running out; the
// records added before stay, each whole in the stores and the lists. Returns
// the number of records added; `report`, when given, says how it ended.
int32_t ImportResourceSet(const TResourceSet& set, TResourceObject& resource, const TResourceSetSelection& selection,
                          TResourceSetHost& host, TResourceSetImport* report = nullptr);

// What the user is told of an import from `fileName` that left ticked new
// records out (none when it left out none): how many came in, how many did
// not and why (the limit, a species' missing resource, a broken record,
// memory); or that the set holds no records, or that nothing was ticked.
std::vector<std::string> ImportReportLines(const std::string& fileName, const TResourceSetImport& report);
