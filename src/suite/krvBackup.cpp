#include "suite/krvBackup.h"

#include <algorithm>
#include <cstdio>
#include <thread>
#include <tuple>

#include "base/Text.h"
#include "base/WinPath.h"
#include "base/cuAppError.h"
#include "platform/FileSystem.h"
#include "suite/BackupNames.h"
#include "suite/Checksum64.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "suite/muKRVFunctions.h"

namespace krv {
namespace {

constexpr int64_t kStatusEveryMs = 500;
constexpr uint64_t kMinMargin = 16ull << 20;  // room left for everything else on the drive
constexpr double kMiB = 1024.0 * 1024.0;

constexpr char kInUse[] =
    "Das Daten-Backend '##' wird gerade von einem anderen Programm verwendet. Es wurde daher keine Sicherheitskopie "
    "angelegt.@@@@Bitte schließen Sie alle Programme, die das Daten-Backend verwenden, und starten Sie KORVELLA "
    "erneut.";
constexpr char kInUseBy[] =
    "Das Daten-Backend '##' wird gerade von einem anderen Programm verwendet (##). Es wurde daher keine "
    "Sicherheitskopie angelegt.@@@@Bitte schließen Sie alle Programme, die das Daten-Backend verwenden, und starten "
    "Sie KORVELLA erneut.";
constexpr char kCopyFailed[] =
    "Die Sicherheitskopie des Daten-Backends '##' konnte nicht angelegt werden:@@##@@@@Es wurde keine "
    "Sicherheitskopie gespeichert.";

// One decimal with a German decimal comma.
std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string s = text;
  std::replace(s.begin(), s.end(), '.', ',');
  return s;
}

std::string FormatSize(uint64_t bytes) {
  const double mib = static_cast<double>(bytes) / kMiB;
  return mib >= 1024.0 ? Decimal(mib / 1024.0) + " GB" : Decimal(mib) + " MB";
}

// "C:" of a drive path, "\\server\share" of a UNC path, else the folder itself.
std::string DriveOf(const std::string& folder) {
  if (folder.size() >= 2 && folder[1] == ':') return UpperCase(folder.substr(0, 2));
  if (WinPathIsUnc(folder)) {
    const size_t share = folder.find_first_of("\\/", 2);
    const size_t end = share == std::string::npos ? share : folder.find_first_of("\\/", share + 1);
    return folder.substr(0, end);
  }
  return folder;
}

std::string Normalised(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  while (path.size() > 1 && path.back() == '\\') path.pop_back();
  return path;
}

bool SameFolder(const std::string& a, const std::string& b) { return IEquals(Normalised(a), Normalised(b)); }

// Jet keeps "<stem>.ldb" beside an open database.
std::string LockFileOf(const std::string& backend) { return WinPathFolder(backend) + WinPathStem(backend) + ".ldb"; }

// A plain positive number, else 0 (keep all).
int KeepCount(const std::string& text) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::stoi(text);
}

bool Older(const BackupCopy& a, const BackupCopy& b) {
  const LocalTime &x = a.time, &y = b.time;
  return std::tie(x.year, x.month, x.day, x.hour, x.minute, x.second, a.name) <
         std::tie(y.year, y.month, y.day, y.hour, y.minute, y.second, b.name);
}

std::string ProgressText(uint64_t done, uint64_t total, int64_t elapsed_ms) {
  const uint64_t percent = total == 0 ? 100 : done * 100 / total;
  const double rate = elapsed_ms > 0 ? static_cast<double>(done) / kMiB * 1000.0 / static_cast<double>(elapsed_ms) : 0;
  return "Sicherheitskopie: " + std::to_string(percent) + " % (" + Decimal(rate) + " MB/s) ...";
}

BlockSink SumInto(Checksum64* sum) {
  return [sum](const char* data, size_t size) {
    sum->Update(data, size);
    return true;
  };
}

// Size and checksum of the copy against the backend, and the copy flushed
// to disk. The backend is read on a second thread and the flush waits on a
// third while this one reads the copy: all three overlap, both files come
// from the cache, and no thread writes anything another one reads.
bool VerifyCopy(FileSystem& fs, const std::string& backend, const std::string& temp, uint64_t size, std::string* why) {
  Checksum64 original, copy;
  std::string backend_why, flush_why;
  bool backend_read = false, flushed = false;
  std::jthread reader([&] { backend_read = fs.ReadBlocks(backend, SumInto(&original), &backend_why); });
  std::jthread flusher([&] { flushed = fs.FlushFile(temp, &flush_why); });
  uint64_t copied = 0;
  bool ok = fs.FileLength(temp, &copied, why) && fs.ReadBlocks(temp, SumInto(&copy), why);
  reader.join();
  flusher.join();
  if (ok && !flushed) {
    *why = flush_why;
    ok = false;
  }
  if (ok && !backend_read) {
    *why = backend_why;
    ok = false;
  }
  if (ok && copied != size) {
    *why = "Die Kopie ist " + std::to_string(copied) + " Bytes groß, das Daten-Backend " + std::to_string(size) + ".";
    ok = false;
  }
  if (ok && original.Digest() != copy.Digest()) {
    *why = "Der Inhalt der Kopie weicht vom Daten-Backend ab.";
    ok = false;
  }
  return ok;
}

}  // namespace

krvBackup::krvBackup(krvLibrary& lib, IObjects& objects, cuAppError& err) : lib_(lib), objects_(objects), err_(err) {}

std::string krvBackup::TargetFolder() { return RegRead(lib_, kBackupFolderSetting, true, ""); }

std::vector<BackupCopy> krvBackup::Copies() {
  std::vector<BackupCopy> copies;
  const std::string folder = TargetFolder();
  const std::string backend = objects_.BackendPath();
  if (folder.empty() || backend.empty()) return copies;
  const std::string backend_name = WinPathName(backend);
  for (const DirEntry& entry : lib_.fs().List(WinPathJoin(folder, "*"))) {
    BackupCopy copy{entry.name, {}};
    if (!entry.is_folder && ParseBackupCopyName(backend_name, entry.name, &copy.time)) copies.push_back(copy);
  }
  std::sort(copies.begin(), copies.end(), Older);
  return copies;
}

int32_t krvBackup::Backup() {
  const std::string folder = TargetFolder();
  const std::string backend = objects_.BackendPath();
  if (folder.empty() || backend.empty()) return kBackupNothingDone;
  FileSystem& fs = lib_.fs();
  if (!fs.FileExists(backend)) {
    err_.MsgShow(kMsgNamedFileNotFound, kMbIconExclamation, backend);
    return kBackupProblem;
  }
  int32_t code = kBackupNothingDone;
  if (RefuseFolder(folder, backend, &code)) return code;
  if (!fs.FolderWritable(folder)) {
    err_.MsgShow(kMsgBackupFolderNotWritable, kMbIconExclamation, folder);
    return kBackupProblem;
  }
  const std::string backend_name = WinPathName(backend);
  RemoveLeftovers(folder, backend_name);

  std::string holder, why;
  if (fs.FileHeld(LockFileOf(backend), &holder)) {
    Problem(holder.empty() ? kInUse : kInUseBy, backend, holder);
    return kBackupProblem;
  }
  uint64_t size = 0;
  if (!fs.FileLength(backend, &size, &why)) {
    Problem(kCopyFailed, backend, why);
    return kBackupProblem;
  }
  if (!EnoughSpace(folder, size)) return kBackupProblem;

  const std::string copy = BackupCopyName(backend_name, lib_.system().Now());
  const std::string temp = WinPathJoin(folder, BackupTempName(copy));
  if (!CopyAndVerify(backend, temp, size, &why)) {
    Problem(kCopyFailed, backend, why);
    return kBackupProblem;
  }
  if (!fs.MoveFile(temp, WinPathJoin(folder, copy), &why)) {
    std::string ignored;
    fs.DeleteFile(temp, &ignored);
    Problem(kCopyFailed, backend, why);
    return kBackupProblem;
  }
  err_.MsgShow(kMsgBackupMade, kMbIconInformation, copy);
  RemoveBeyondKeep(folder);
  return kBackupMade;
}

bool krvBackup::RefuseFolder(const std::string& folder, const std::string& backend, int32_t* code) {
  *code = kBackupAborted;
  if (SameFolder(folder, WinPathFolder(backend))) {
    err_.MsgShow(kMsgBackupFolderIsBackendFolder, kMbIconExclamation, WinPathFolder(backend, false));
    return true;
  }
  // Any file of the backend's type that is not a dated copy counts as a backend.
  const std::string ext(FileExtension(WinPathName(backend)));
  for (const DirEntry& entry : lib_.fs().List(WinPathJoin(folder, "*"))) {
    if (entry.is_folder || !IEquals(FileExtension(entry.name), ext) || IsAnyBackupCopyName(ext, entry.name)) continue;
    err_.MsgShow(kMsgBackupFolderHoldsBackend, kMbIconExclamation);
    return true;
  }
  return false;
}

bool krvBackup::EnoughSpace(const std::string& folder, uint64_t size) {
  uint64_t free_bytes = 0;
  std::string why;
  if (!lib_.fs().FreeSpace(folder, &free_bytes, &why)) return true;  // unknown: the copy itself will tell
  const uint64_t needed = size + std::max(size / 20, kMinMargin);
  if (free_bytes >= needed) return true;
  err_.MsgShow(kMsgBackupNoSpace, kMbIconExclamation, DriveOf(folder),
               FormatSize(free_bytes) + " frei, " + FormatSize(needed) + " benötigt");
  return false;
}

// Temporary files of an earlier run that ended before its rename; a file
// another process still writes stays.
void krvBackup::RemoveLeftovers(const std::string& folder, const std::string& backend_name) {
  FileSystem& fs = lib_.fs();
  for (const DirEntry& entry : fs.List(WinPathJoin(folder, "~*.tmp"))) {
    const std::string path = WinPathJoin(folder, entry.name);
    std::string ignored;
    if (!entry.is_folder && IsBackupTempName(backend_name, entry.name) && !fs.FileHeld(path, nullptr)) {
      fs.DeleteFile(path, &ignored);
    }
  }
}

bool krvBackup::CopyAndVerify(const std::string& backend, const std::string& temp, uint64_t size, std::string* why) {
  FileSystem& fs = lib_.fs();
  System& sys = lib_.system();
  const int64_t start = sys.TickMs();
  int64_t last = start;
  const CopyProgress progress = [&](uint64_t done, uint64_t total) {
    const int64_t now = sys.TickMs();
    if (Status && done < total && now - last >= kStatusEveryMs) {
      last = now;
      Status(ProgressText(done, total, now - start));
    }
    return true;
  };
  if (!fs.CopyToNew(backend, temp, progress, why)) return false;
  if (Status) Status("Sicherheitskopie wird geprüft ...");
  const bool ok = VerifyCopy(fs, backend, temp, size, why);
  if (!ok) {
    std::string ignored;
    fs.DeleteFile(temp, &ignored);
  }
  return ok;
}

void krvBackup::RemoveBeyondKeep(const std::string& folder) {
  const size_t keep = static_cast<size_t>(KeepCount(RegRead(lib_, kBackupKeepSetting, true, "0")));
  if (keep == 0) return;
  const std::vector<BackupCopy> copies = Copies();
  for (size_t i = 0; i + keep < copies.size(); ++i) {
    std::string ignored;
    lib_.fs().DeleteFile(WinPathJoin(folder, copies[i].name), &ignored);
  }
}

void krvBackup::Problem(const std::string& text, const std::string& arg1, const std::string& arg2) {
  MsgBoxParams box;
  box.buttons = kMbIconExclamation;
  box.text = text;
  err_.MsgShow(0, box, arg1, arg2.empty() ? MsgArg() : MsgArg(arg2));
}

}  // namespace krv
