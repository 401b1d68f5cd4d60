#include "files/notebook_files.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <optional>

#include "editor/selection_list.h"
#include "editor/undo.h"
#include "files/file_fields.h"
#include "files/file_kinds.h"
#include "layout/hooks.h"
#include "layout/notebook_render.h"
#include "layout/relayout.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/document.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "platform/platform.h"
#include "ports/measuring_port.h"
#include "shell/alerts.h"
#include "shell/app_paths.h"
#include "shell/charset.h"
#include "shell/commands.h"
#include "shell/failure.h"
#include "shell/messages.h"
#include "shell/string_cache.h"
#include "shell/strings.h"

namespace lemmabox {
namespace {

// Where the plug-in that shows notebooks in a web page is offered; '#' stands
// for the initial of the interface language.
constexpr const char* kPluginPage = "http://lemmabox.org/plugin/get#.html";

std::vector<std::unique_ptr<NotebookFile>>& Files() {
  static auto* files = new std::vector<std::unique_ptr<NotebookFile>>();
  return *files;
}

int gUntitledCount = 0;

void Nothing(NotebookFile&) {}
NotebookFile* CurrentFile() {
  return NotebookFileOf(CurrentNotebook());
}
constexpr NotebookFileEvents kDefaultEvents = {
    .shown = &Nothing,
    .broughtToFront = &Nothing,
    .closing = &Nothing,
    .front = &CurrentFile,
};

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) return path;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, error);
  return (error ? absolute : canonical).lexically_normal().string();
}

bool SamePath(const std::string& a, const std::string& b) {
  return AbsolutePath(a) == AbsolutePath(b);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

bool CtrlAndAltDown() {
  Platform& platform = CurrentPlatform();
  return platform.ControlKeyDown() && platform.AltKeyDown();
}

std::string UntitledPath() {
  return ApplicationPaths().preferencesDirectory + UntitledFileName(++gUntitledCount);
}

NotebookFile& Register(Handle root, std::string path, bool untitled) {
  auto file = std::make_unique<NotebookFile>();
  file->root = root;
  file->path = std::move(path);
  file->untitled = untitled;
  NotebookRecordOf(root).changed = 0;
  Files().push_back(std::move(file));
  return *Files().back();
}

// Takes the lock of a file just opened or saved; a file another program
// holds can only be saved elsewhere.
void LockFile(NotebookFile& file) {
  ReleaseFileLock(file.lock);
  file.lock = AcquireFileLock(file.path);
  file.lockRefused = file.lock == kNoFileLock;
}

// Writes the notebook to target and makes it the file's path.
void SaveTo(NotebookFile& file, const std::string& target) {
  const bool ownFile = !file.untitled && SamePath(target, file.path);
  if (ownFile && file.lockRefused) Raise(kMsgFileLocked);
  if (!ownFile && FileExists(target)) {
    // A file another copy of the program has open is not replaced.
    const int probe = AcquireFileLock(target);
    if (probe == kNoFileLock) Raise(kMsgFileLocked);
    ReleaseFileLock(probe);
  }
  WriteNotebookFileAt(file.root, target, file.window);
  file.path = AbsolutePath(target);
  file.untitled = false;
  NotebookRecordOf(file.root).changed = 0;
  LockFile(file);
}

// The contents of fresh (a notebook just read) take the place of root's.
void ReplaceContents(Handle root, Handle fresh) {
  StartUndoRecord(false);  // nothing of the old contents may come back
  while (ToDoFront(root) != nullptr) ToDoPopFront(root);
  DeleteSlots(root, FirstProp(root), ObjCount(root));
  const int first = FirstProp(fresh);
  std::vector<Handle> props;
  for (int i = first; i < ObjCount(fresh); ++i) props.push_back(TakeSlot(fresh, i));
  DeleteSlots(fresh, first, ObjCount(fresh));
  for (Handle prop : props)
    if (prop != nullptr) InsertSlot(root, ObjCount(root), prop);
  // The queue of the fresh notebook names conclusions that now live in root.
  std::vector<Handle> queued;
  for (Handle c = ToDoFront(fresh); c != nullptr; c = ToDoFront(fresh)) {
    queued.push_back(c);
    ToDoPopFront(fresh);
  }
  for (auto it = queued.rbegin(); it != queued.rend(); ++it) ToDoPush(root, *it);
  NotebookRecord& target = NotebookRecordOf(root);
  const NotebookRecord& source = NotebookRecordOf(fresh);
  target.prefs = source.prefs;
  target.style = source.style;
  // Layout builds its font sets afresh for the new style.
  std::memset(target.style.fontSets, 0, sizeof target.style.fontSets);
  CloseNotebook(fresh);
  Clarify(root);
  MirrorManipulationSettings(root);
  gNotebookDisplay.relayoutRows(root);
  NotebookRecordOf(root).changed = 0;
}

// The notebook's size and the base font size it is shown with: the
// window's when one shows it, else as printed at 72 units per inch.
void ContentMeasure(Handle root, int32_t& width, int32_t& height, int32_t& base) {
  DisplayTarget display;
  if (gLayoutHooks.displayOf(root, display) && display.env != nullptr) {
    const LayoutBox box = LayOutNotebook(root, *display.env);
    width = box.width;
    height = box.height;
    base = display.env->metrics().size[kLevelMain];
    return;
  }
  MeasuringPort port;
  LayoutEnv env(port, NotebookRecordOf(root).style);
  InvalidateTree(root);
  const LayoutBox box = LayOutNotebook(root, env);
  InvalidateTree(root);
  width = box.width;
  height = box.height;
  base = env.metrics().size[kLevelMain];
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i) {
    const auto a = static_cast<unsigned char>(text[text.size() - tail.size() + i]);
    if (std::toupper(a) != std::toupper(static_cast<unsigned char>(tail[i]))) return false;
  }
  return true;
}

std::vector<std::string> NotebookFilters() {
  return {"Notebook (*.axn *.AXN *.axp *.AXP *.axs *.AXS)", "All Files (*)"};
}

// --- Commands ---

NotebookFile* FrontFile() {
  return gNotebookFileEvents.front();
}

void NewNotebookCommand() {
  gNotebookFileEvents.shown(NewUntitledNotebookFile());
}

void OpenNotebookCommand() {
  FileChooserRequest request;
  request.title = "Open Notebook";
  request.directory = ApplicationPaths().preferencesDirectory;
  request.filters = NotebookFilters();
  const std::string path = CurrentPlatform().ChooseFile(request);
  if (path.empty()) return;
  NotebookReadOptions options;
  options.lenient = CtrlAndAltDown();
  const size_t before = OpenNotebookFiles().size();
  MessageNumber failure = CatchFailure([&] {
    NotebookFile& file = OpenNotebookFileAt(path, options);
    if (OpenNotebookFiles().size() > before) {
      gNotebookFileEvents.shown(file);
    } else {
      gNotebookFileEvents.broughtToFront(file);
    }
  });
  // Escape closes the half-read notebook without an alert of its own.
  if (failure != 0 && failure != kMsgUserInterrupt) Raise(failure);
}

void CloseNotebookCommand() {
  NotebookFile* file = FrontFile();
  if (file != nullptr && MayCloseNotebookFile(*file)) CloseNotebookFile(*file);
}

void SaveNotebookCommand() {
  if (NotebookFile* file = FrontFile()) SaveNotebookFile(*file);
}

void SaveAsCommand() {
  if (NotebookFile* file = FrontFile()) ChooseAndSaveNotebookFileAs(*file);
}

void RevertCommand() {
  if (NotebookFile* file = FrontFile()) RevertNotebookFile(*file);
}

void CopyHtmlTagCommand() {
  if (NotebookFile* file = FrontFile()) CopyHtmlTag(*file);
}

}  // namespace

NotebookFileEvents gNotebookFileEvents = kDefaultEvents;

void ResetNotebookFileEvents() {
  gNotebookFileEvents = kDefaultEvents;
}

std::vector<NotebookFile*> OpenNotebookFiles() {
  std::vector<NotebookFile*> files;
  for (const auto& file : Files()) files.push_back(file.get());
  return files;
}

NotebookFile* NotebookFileOf(Handle root) {
  if (root == nullptr) return nullptr;
  for (const auto& file : Files())
    if (file->root == root) return file.get();
  return nullptr;
}

Handle NewNotebookFromTemplate() {
  const std::optional<std::string> path = FindSupportFile(TemplateFileName());
  if (!path) return nullptr;
  return ReadNotebookFile(*path);
}

NotebookFile& NewUntitledNotebookFile() {
  Handle root = nullptr;
  // A template that cannot be read is told about; the notebook starts empty.
  if (MessageNumber failure = CatchFailure([&] { root = NewNotebookFromTemplate(); }))
    Alert(failure);
  if (root == nullptr) root = NewNotebook();
  return Register(root, UntitledPath(), true);
}

NotebookFile& OpenNotebookFileAt(const std::string& path, const NotebookReadOptions& options) {
  const std::string full = AbsolutePath(path);
  for (const auto& open : Files()) {
    if (open->untitled || open->path != full) continue;
    if (open->windows > 1) InformationAlert(kMsgSeveralWindows);
    return *open;
  }
  const char kind = FileKindOfName(full);
  if (kind == 'c') Raise(kMsgUnimplemented);
  NotebookReadInfo info;
  Handle root = ReadNotebookFileWith(full, options, &info);
  if (info.failure != 0 && info.failure != kMsgUserInterrupt) Alert(info.failure);
  if (kind == 'N') return Register(root, UntitledPath(), true);
  NotebookFile& file = Register(root, full, false);
  file.window = info.window;
  LockFile(file);
  if (file.lockRefused) InformationAlert(kMsgFileLocked);
  return file;
}

std::vector<NotebookFile*> OpenStartupNotebookFiles() {
  std::vector<NotebookFile*> opened;
  for (int n = 0; n <= kLastStartupNotebook; ++n) {
    const std::optional<std::string> path = FindSupportFile(StartupFileName(n));
    if (!path) continue;
    MessageNumber failure = CatchFailure([&] {
      NotebookFile& file = OpenNotebookFileAt(*path);
      file.silentSave = !file.lockRefused;
      opened.push_back(&file);
      gNotebookFileEvents.shown(file);
    });
    if (failure != 0) Alert(failure);
  }
  if (opened.empty()) {
    NotebookFile& file = NewUntitledNotebookFile();
    opened.push_back(&file);
    gNotebookFileEvents.shown(file);
  }
  return opened;
}

bool SaveNotebookFile(NotebookFile& file) {
  if (file.untitled) return ChooseAndSaveNotebookFileAs(file);
  SaveTo(file, NotebookFileName(file.path, CtrlAndAltDown()));
  return true;
}

void SaveNotebookFileAs(NotebookFile& file, const std::string& path, bool asText) {
  SaveTo(file, NotebookFileName(path, asText));
}

bool ChooseAndSaveNotebookFileAs(NotebookFile& file) {
  FileChooserRequest request;
  request.save = true;
  request.title = "Save as";
  request.directory = std::filesystem::path(file.path).parent_path().string();
  request.suggestedName = std::string(FileNamePart(file.path));
  request.filters = NotebookFilters();
  const std::string path = CurrentPlatform().ChooseFile(request);
  if (path.empty()) return false;
  SaveNotebookFileAs(file, path, CtrlAndAltDown());
  return true;
}

bool AutoSaveNotebookFile(NotebookFile& file) {
  const NotebookRecord& record = NotebookRecordOf(file.root);
  if (!record.prefs.autoSave || !record.changed || file.untitled || file.lockRefused) return false;
  if (MessageNumber failure = CatchFailure([&] { SaveTo(file, file.path); })) {
    Alert(failure);
    return false;
  }
  return true;
}

bool MayCloseNotebookFile(NotebookFile& file, bool emergency) {
  if (file.windows > 1) return true;
  if (emergency) {
    file.path = RecoveryFileName(file.path);
    file.untitled = false;
    file.lockRefused = false;
  }
  if (NotebookRecordOf(file.root).changed) {
    bool save = emergency || file.silentSave;
    if (!save) {
      std::string question = ProgramTextToUtf8(StringById(kStrSaveFileQuestion));
      const std::string name(FileNamePart(file.path));
      if (const size_t at = question.find("%s"); at != std::string::npos)
        question.replace(at, 2, name);
      const BoxAnswer answer = MessageBox(question, ProgramTextToUtf8(ProgramName()),
                                          BoxIcon::kInformation, BoxButtons::kYesNoCancel);
      if (answer == BoxAnswer::kCancel) return false;
      save = answer == BoxAnswer::kYes;
    }
    if (save) {
      bool saved = false;
      MessageNumber failure = CatchFailure([&] {
        // An emergency keeps the ".rec" name as it is.
        if (emergency) {
          SaveTo(file, file.path);
          saved = true;
        } else {
          saved = SaveNotebookFile(file);
        }
      });
      if (failure != 0) Alert(failure);
      if (!saved) return false;
    }
  }
  ReleaseFileLock(file.lock);
  file.lock = kNoFileLock;
  return true;
}

void CloseNotebookFile(NotebookFile& file) {
  gNotebookFileEvents.closing(file);
  ReleaseFileLock(file.lock);
  Handle root = file.root;
  auto& files = Files();
  std::erase_if(files, [&](const auto& owned) { return owned.get() == &file; });
  CloseNotebook(root);
}

bool RevertNotebookFile(NotebookFile& file) {
  if (file.untitled) return false;
  const std::string question = "Revert to the saved copy of " +
                               std::string(FileNamePart(file.path)) +
                               "?  The changes made since it was saved will be lost.";
  if (MessageBox(question, "Confirm Revert", BoxIcon::kQuestion, BoxButtons::kYesNo) !=
      BoxAnswer::kYes)
    return false;
  Handle fresh = ReadNotebookFile(file.path);
  ReplaceContents(file.root, fresh);
  return true;
}

std::string HtmlTagText(std::string_view fileName, int32_t contentWidth, int32_t contentHeight,
                        int32_t baseFontSize) {
  std::string escaped;
  for (char ch : fileName) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 33 || c >= 126 ||
        std::string_view("\">\\^{}<[]`|").find(ch) != std::string_view::npos) {
      AppendFormat(escaped, "%%%02x", c);
    } else {
      escaped.push_back(ch);
    }
  }
  const int32_t base = std::max(1, baseFontSize);
  const int32_t height = contentHeight * 22 / base + 16;
  const int32_t width = contentWidth * 22 / base + 16;
  std::string page = kPluginPage;
  const char* language = StringById(kStrLanguageName);
  if (const size_t hash = page.find('#'); hash != std::string::npos)
    page[hash] = language != nullptr && language[0] != '\0' ? language[0] : 'E';
  std::string tag;
  tag = "<embed src=\"" + escaped + "\" height=" + std::to_string(height) +
        " width=" + std::to_string(width) + " \r\npluginspage=\"" + page + "\">";
  return tag;
}

void CopyHtmlTag(NotebookFile& file) {
  const std::string name(FileNamePart(file.path));
  if (!EndsWithNoCase(name, ".AXP")) InformationAlert(kMsgPluginExtension);
  int32_t width = 0;
  int32_t height = 0;
  int32_t base = 1;
  ContentMeasure(file.root, width, height, base);
  CurrentPlatform().SetClipboardText(HtmlTagText(name, width, height, base));
}

void RegisterFileCommands() {
  using A = CommandAction;
  RegisterCommand(A::kNewNotebook, [](int32_t) { NewNotebookCommand(); });
  RegisterCommand(A::kOpenNotebook, [](int32_t) { OpenNotebookCommand(); });
  RegisterCommand(A::kCloseNotebook, [](int32_t) { CloseNotebookCommand(); });
  RegisterCommand(A::kSaveNotebook, [](int32_t) { SaveNotebookCommand(); });
  RegisterCommand(A::kSaveNotebookAs, [](int32_t) { SaveAsCommand(); });
  RegisterCommand(A::kRevertToSaved, [](int32_t) { RevertCommand(); });
  RegisterCommand(A::kCopyHtmlTag, [](int32_t) { CopyHtmlTagCommand(); });
}

}  // namespace lemmabox
