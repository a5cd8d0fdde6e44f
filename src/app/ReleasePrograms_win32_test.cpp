// Win32 only: the stripped programs that the packages take, read back from
// <build>/release/: subsystem, version and embedded manifest.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "suite/PeVersion.h"

namespace krv {
namespace {

std::filesystem::path Released(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(std::wstring(self, n)).parent_path() / L"release" / name;
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The subsystem field of the optional header; 0 when the image is too short.
int Subsystem(const std::vector<uint8_t>& image) {
  uint32_t pe = 0;
  if (image.size() < 0x40) return 0;
  std::memcpy(&pe, &image[0x3c], sizeof pe);
  const size_t at = size_t{pe} + 4 + 20 + 68;
  if (at + 2 > image.size()) return 0;
  return image[at] | image[at + 1] << 8;
}

TEST(ReleaseProgramsTest, CarryTheProjectVersionAndTheirSubsystem) {
  struct Case {
    const wchar_t* file;
    int subsystem;
  } cases[] = {
      {L"krv25.exe", IMAGE_SUBSYSTEM_WINDOWS_GUI},
      {L"krvreg.exe", IMAGE_SUBSYSTEM_WINDOWS_CUI},  // a console command, as reg.exe
  };
  for (const Case& c : cases) {
    const std::filesystem::path file = Released(c.file);
    const std::vector<uint8_t> image = ReadAll(file);
    std::string version, why;
    EXPECT_TRUE(PeFileVersion(image, &version, &why)) << file << ": " << why;
    EXPECT_EQ(version, KRV_VERSION4) << file;
    EXPECT_EQ(Subsystem(image), c.subsystem) << file;
  }
}

std::string Manifest(const std::filesystem::path& file) {
  HMODULE image = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!image) return {};
  std::string text;
  if (HRSRC res = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, res)));
    if (bytes) text.assign(bytes, SizeofResource(image, res));
  }
  FreeLibrary(image);
  return text;
}

TEST(ReleaseProgramsTest, StarterEmbedsItsManifest) {
  const std::string manifest = Manifest(Released(L"krv25.exe"));
  for (const char* needed : {"Microsoft.Windows.Common-Controls", "level=\"asInvoker\"", "PerMonitorV2",
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "version=\"" KRV_VERSION4 "\""}) {
    EXPECT_NE(manifest.find(needed), std::string::npos) << needed << " missing in:\n" << manifest;
  }
  EXPECT_EQ(Manifest(Released(L"krvreg.exe")), "");
}

}  // namespace
}  // namespace krv
#endif
