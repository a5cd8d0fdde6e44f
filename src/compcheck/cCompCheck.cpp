#include "compcheck/cCompCheck.h"

#include "base/MessageIds.h"
#include "base/Text.h"
#include "base/WinPath.h"
#include "base/cuAppError.h"
#include "suite/FileVersion.h"
#include "suite/VersionCompare.h"
#include "suite/krvCNFFile.h"
#include "ui/UiHost.h"

namespace krv {

namespace {

constexpr int kLocales = 10;

std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields(1);
  for (char c : text) {
    if (c == '|') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// 0 equal and 1 (the required version is older) are fine; 3 is never given.
bool Accepted(int order) { return order == 0 || order == 1 || order == 3; }

std::vector<ComponentEntry> Entries(const CnfSections& sections) {
  const CnfSection* section = sections.Section(kComponentListSection);
  const CnfCollection* collection = section ? section->Collection(kComponentListCollection) : nullptr;
  std::vector<ComponentEntry> entries;
  if (!collection) return entries;
  for (const CnfKey& element : collection->elements) entries.push_back({element.name, SplitFields(element.value)});
  return entries;
}

}  // namespace

std::vector<ComponentEntry> ComponentListParse(std::string_view text) {
  return Entries(krvCNFFile::Parse(text, true, true));
}

cCompCheck::cCompCheck(CompCheckContext ctx) : ctx_(std::move(ctx)) {
  try {
    Load();
  } catch (...) {
    // what was read so far stays
  }
}

void cCompCheck::Load() {
  krvCNFFile reader(ctx_.fs);
  reader.Filename = WinPathAddSeparator(ctx_.program_folder) + kComponentListFile;
  reader.RemoveComments = true;
  reader.RemoveTrailingTabs = true;
  const auto sections = reader.FileRead();
  if (!sections) return;
  for (const ComponentEntry& entry : Entries(*sections)) {
    ComponentRecord record;
    if (Locate(entry, &record)) list_.push_back(std::move(record));
  }
}

std::string cCompCheck::TypeLibFile(const std::string& id, const std::string& version) {
  for (int locale = 0; locale < kLocales; ++locale) {
    const std::string key = "TypeLib\\" + id + "\\" + version + "\\" + std::to_string(locale) + "\\win32";
    RegValue value;
    if (ctx_.reg.ReadValue(Hive::ClassesRoot, key, "", &value, nullptr) != RegStatus::kOk) continue;
    if (value.type != kRegSz && value.type != kRegExpandSz) continue;
    const std::string file(Trim(value.text, " \t\""));
    if (!file.empty()) return file;
  }
  return {};
}

std::string cCompCheck::PlaceholderFolder(std::string_view placeholder) {
  const size_t cut = placeholder.find('\\');
  const std::string_view name = placeholder.substr(0, cut);
  const std::string_view sub = cut == std::string_view::npos ? std::string_view() : placeholder.substr(cut + 1);
  std::string folder;
  if (IEquals(name, "Win")) {
    folder = ctx_.folders.Folder(SystemFolder::kWindows);
  } else if (IEquals(name, "WinSys")) {
    folder = ctx_.folders.Folder(SystemFolder::kSystem);
  } else if (IEquals(name, "CommonFiles")) {
    folder = ctx_.folders.Folder(SystemFolder::kCommonFiles);
  } else if (IEquals(name, "MSSharedFiles") || IEquals(name, "MSDAO")) {
    const std::string common = ctx_.folders.Folder(SystemFolder::kCommonFiles);
    if (!common.empty()) folder = WinPathAddSeparator(common) + "Microsoft Shared\\";
    if (!folder.empty() && IEquals(name, "MSDAO")) folder += "DAO";
  }
  if (folder.empty()) return {};  // nothing to look in, with or without a sub path
  folder = WinPathAddSeparator(folder);
  if (!sub.empty()) folder = WinPathAddSeparator(folder + std::string(sub));
  return folder;
}

bool cCompCheck::Locate(const ComponentEntry& entry, ComponentRecord* record) {
  record->file_name = entry.file_name;
  record->description = entry.Field(1);
  record->required_version = entry.Field(5);
  const auto exists_in = [&](const std::string& folder) {
    return !folder.empty() && ctx_.fs.FileExists(folder + entry.file_name);
  };

  const std::string registered = TypeLibFile(entry.Field(3), entry.Field(2));
  std::string folder;
  if (!registered.empty()) {
    const std::string beside = WinPathFolder(registered);
    if (IEquals(WinPathName(registered), entry.file_name) && exists_in(beside)) {
      folder = beside;
    } else if (IEndsWith(registered, ".tlb") && exists_in(beside)) {
      folder = beside;
    }
  } else {
    const std::string placeholder = PlaceholderFolder(entry.Field(4));
    if (exists_in(placeholder)) folder = placeholder;
  }
  if (folder.empty()) return false;
  record->folder = folder;
  record->current_version = FileVersion(ctx_.fs, folder + entry.file_name);
  return !record->current_version.empty();
}

std::string cCompCheck::Report(int* conflicts) const {
  std::string report;
  *conflicts = 0;
  for (const ComponentRecord& c : list_) {
    if (Accepted(VersionCompare(c.required_version, c.current_version))) continue;
    if (*conflicts > 0) report += kCrLf;
    report += "- " + c.file_name + " (" + c.description + ")" + kCrLf;
    report += "  Pfad: " + c.folder + kCrLf;
    report += "  Aktuelle Version: " + c.current_version + kCrLf;
    report += "  Benötigte Version: " + c.required_version;
    ++*conflicts;
  }
  return report;
}

bool cCompCheck::Check(WindowHandle owner) {
  int conflicts = 0;
  const std::string report = Report(&conflicts);
  if (conflicts == 0 || !ctx_.ui) return true;
  TextWindowArgs window;
  window.caption = kConflictCaption;
  window.font_name = kConflictFont;
  window.font_size = kConflictFontSize;
  window.owner = owner;
  window.text = ctx_.err.MsgLoad(kMsgComponentsOutdated, conflicts) + kCrLf + kCrLf + report + kCrLf + kCrLf +
                ctx_.err.MsgLoad(kMsgComponentsConfirm);
  return ctx_.ui->ShowTextWindow(window);
}

}  // namespace krv
