#pragma once
// The data file (.zod): one whole simulation state as CR LF lines in code page
// 1251. The writer always writes format version "0.5.2"; the reader takes that
// version and every earlier one, and refuses a later one.
//
// The file code changes the two stores and the document fields directly and
// reaches the windows only through TDataFileHost, which the main window
// implements.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "files/uMessageKind.h"
#include "model/uPlant.h"
#include "model/uResource.h"

// The version the writer produces and the highest the reader accepts.
inline constexpr const char* DataFileVersion = "0.5.2";
// Limits of the field size held by the parameter editor's size controls.
inline constexpr int32_t FieldRowMin = 5, FieldRowMax = 1000;
inline constexpr int32_t FieldColMin = 10, FieldColMax = 1000;

// The main window's description of the current data (besides its file name).
struct TDataFileDocument {
  int32_t Step = 0;                   // the tick counter
  std::string Author;                 // author of the data
  std::string Created;                // date and time of the last save, as text
  std::string FileDataVersion;        // format version of the data
  std::vector<std::string> Comment;   // comment lines; after a load with comments the last
                                      // one is the information line, which is never written
};

// Everything the reader and the writer do to windows. kind of ShowMessage:
// HtmlKindError or HtmlKindComment (as TMainForm::ShowHtmlMessage).
class TDataFileHost {
 public:
  virtual ~TDataFileHost() = default;
  virtual void ShowMessage(int kind, const std::string& caption, const std::vector<std::string>& lines) = 0;
  // The main window's caption and the application title: ProgramTitle + " - " + shortName
  // (shortName is the file name without its folder).
  virtual void SetFileCaption(const std::string& shortName) = 0;
  // The view window's caption, complete ("Наблюдение " + version + " - " + author + " " + time).
  virtual void SetViewCaption(const std::string& caption) = 0;
  // Moves a file to the front of the recent files.
  virtual void AddRecentFile(const std::string& fileName) = 0;
  // The parameter editor's comment option (CheckBoxComment).
  virtual bool CommentOptionChecked() = 0;
  // Enables or disables ActionViewComment.
  virtual void EnableCommentAction(bool enabled) = 0;
  // Closes the comment window when it exists and is visible.
  virtual void CloseCommentWindow() = 0;
  // The view's StaticTextStep shows the tick counter.
  virtual void ShowStep(int32_t step) = 0;
  // Empties ListBoxResource and the view's PopupMenuResource.
  virtual void ClearResourceList() = 0;
  // Appends a resource to ListBoxResource and sets its brush menu item
  // (TFormView::SetBrushMenuItem with PopupMenuResource, the name, index and the resource brush).
  virtual void AddResourceItem(int32_t index, const std::string& name) = 0;
  // Selects row 0 of ListBoxResource and runs ListBoxResourceClick.
  virtual void SelectFirstResource() = 0;
  virtual void ClearPlantList() = 0;
  // As AddResourceItem for ListBoxPlant and PopupMenuPlant (the organism brush).
  virtual void AddPlantItem(int32_t index, const std::string& name) = 0;
  virtual void SelectFirstPlant() = 0;
  // Puts the field size into UpDownR and UpDownC and the field view. Both stores
  // already have this size when it is called.
  virtual void SetFieldSize(int32_t rows, int32_t cols) = 0;
  // TFormStatistic::RebuildLayout.
  virtual void RebuildLayout() = 0;
};

// A host with no windows behind it: it ignores every request and reports the
// comment option as off. For tools and measurements that read or write alone.
class TNullDataFileHost : public TDataFileHost {
 public:
  void ShowMessage(int, const std::string&, const std::vector<std::string>&) override {}
  void SetFileCaption(const std::string&) override {}
  void SetViewCaption(const std::string&) override {}
  void AddRecentFile(const std::string&) override {}
  bool CommentOptionChecked() override { return false; }
  void EnableCommentAction(bool) override {}
  void CloseCommentWindow() override {}
  void ShowStep(int32_t) override {}
  void ClearResourceList() override {}
  void AddResourceItem(int32_t, const std::string&) override {}
  void SelectFirstResource() override {}
  void ClearPlantList() override {}
  void AddPlantItem(int32_t, const std::string&) override {}
  void SelectFirstPlant() override {}
  void SetFieldSize(int32_t, int32_t) override {}
  void RebuildLayout() override {}
};

// Writes the model to fileName (replacing it only once the whole file is
// written). On success sets doc.Created, moves the file to the front of the
// recent files and sets the captions. On failure shows the error page and
// changes nothing. Returns whether the file was written.
bool SaveDataFile(const std::string& fileName, const TResourceObject& resource, const TPlantObject& plant,
                  TDataFileDocument& doc, TDataFileHost& host);

// Reads fileName into the stores and doc. On a refusal shows the error page
// and returns false; the stores then hold what was read before it, always with
// valid indexes and recounted counters.
bool LoadDataFile(const std::string& fileName, bool showComments, TResourceObject& resource, TPlantObject& plant,
                  TDataFileDocument& doc, TDataFileHost& host);

// Date and time as the program writes them: "dd.mm.yyyy hh:mm:ss", local time.
std::string DateTimeText(std::time_t when);
// The view window's caption for the document.
std::string ViewCaption(const TDataFileDocument& doc);
// The file name without its folder.
std::string ShortFileName(const std::string& fileName);
// The information line the reader appends to a file's comments.
std::string CommentInfoLine(const TDataFileDocument& doc);
// A record's tag line, as data files and resource sets write it: "[Resource3]", "[Plant0]".
std::string RecordTag(const char* kind, int32_t index);
// Messages of the reader and the writer. Where a file cannot be opened or
// written, `error` is the system's error number (errno) of the failure, or
// ErrorNotRegularFile (platform/FileOpen.h), or 0 when it is not known: the
// message names the cause (ReadFailureCause, WriteFailureCause).
std::string NotFoundText(const std::string& fileName);
// A permission refused on the way to the file (a folder that may not be
// entered) is told apart from one refused on the file itself.
std::string CannotOpenText(const std::string& fileName, int error = 0);
// A file that could not be opened for reading: NotFoundText when there is no
// such file (ENOENT, ENOTDIR), else CannotOpenText.
std::string OpenFailedText(const std::string& fileName, int error);
std::string BadFormatText(const std::string& fileName);
std::string LaterVersionText(const std::string& fileName);
// A count of resources or species above MaxItemCount; `what` is "ресурсов" or "организмов".
std::string TooManyItemsText(const std::string& fileName, const std::string& what, int32_t count);
std::string SaveFailedText(const std::string& fileName, int error = 0);
// A file not saved because a line of it would be longer than the reader takes
// back; `what` says what the line holds ("имя ресурса \"...\"").
std::string LineTooLongText(const std::string& fileName, const std::string& what);
// A name as a message quotes it: whole, or its first 40 characters and "…".
std::string NameForMessage(const std::string& name);
// Why a file could not be read or written, as one sentence, from the system's
// error number (or ErrorNotRegularFile): no permission, no such file or
// folder, no room left on the disk, a read-only file system, a name too long,
// a folder or another kind of file than a regular one; a sentence of likely
// causes where the number tells none.
std::string ReadFailureCause(int error);
std::string WriteFailureCause(int error);
// Whether a folder on the way to the file may not be entered by this user, so
// that whether the file is there cannot be told.
bool CannotEnterFolderOf(const std::string& fileName);

class TTextWriter;
// The lines of a species record after its resource lines, as the data file
// and the resource set both write them: mutation, the two colours, then
// ResourceBegin, ResourceEat, AgeReproduct, AgeMax and ChildrenCount.
void WritePlantTraits(TTextWriter& out, const TPlantParameter& p);
