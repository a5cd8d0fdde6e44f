// Win32 code only: what the real file system adds to the shared behaviour.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "base/WinPath.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"
#include "testing/TempDir.h"

namespace krv::win32 {
namespace {

TEST(Win32FileSystemTest, AtomicWriteKeepsTheHiddenMark) {
  TempDir dir;
  auto fs = NewFileSystem();
  const std::string file = WinPathJoin(dir.native(), "hidden.ini");
  std::string err;
  ASSERT_TRUE(fs->WriteFileAtomic(file, "a", &err)) << err;
  ASSERT_TRUE(fs->SetAttributes(file, kAttrHidden, &err)) << err;
  ASSERT_TRUE(fs->WriteFileAtomic(file, "b", &err)) << err;
  uint32_t attrs = 0;
  ASSERT_TRUE(fs->GetAttributes(file, &attrs, &err)) << err;
  EXPECT_TRUE(attrs & kAttrHidden);
}

TEST(Win32FileSystemTest, LongPathsOpenFilesAndThrowingCallbacks) {
  TempDir dir;
  auto fs = NewFileSystem();
  std::string folder = dir.native();
  for (int i = 0; i < 6; ++i) folder = WinPathJoin(folder, std::string(50, static_cast<char>('a' + i)));
  std::string err, content;
  ASSERT_TRUE(fs->CreateFolder(folder, &err)) << err;
  const std::string file = WinPathJoin(folder, "Sicherung.mdb");
  ASSERT_TRUE(fs->WriteFileAtomic(file, "lang", &err)) << err;
  ASSERT_TRUE(fs->CopyFile(file, file + ".bak", false, nullptr, &err)) << err;
  ASSERT_TRUE(fs->ReadFile(file + ".bak", &content, &err)) << err;
  EXPECT_EQ(content, "lang");

  // A file another writer holds open can still be read.
  HANDLE h = CreateFileW(Wide(file).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(fs->ReadFile(file, &content, &err)) << err;
  CloseHandle(h);

  // An exception of the caller's callback reaches the caller, and nothing is left.
  const auto thrower = [](uint64_t, uint64_t) -> bool { throw std::runtime_error("Abbruch"); };
  EXPECT_THROW(fs->CopyFile(file, WinPathJoin(folder, "neu.mdb"), true, thrower, &err), std::runtime_error);
  EXPECT_EQ(fs->List(WinPathJoin(folder, "*")).size(), 2u);
}

TEST(Win32FileSystemTest, FileHeldWhileOpenWithoutSharing) {
  TempDir dir;
  auto fs = NewFileSystem();
  const std::string file = WinPathJoin(dir.native(), "daten.ldb");
  std::string err;
  ASSERT_TRUE(fs->WriteFileAtomic(file, "lock", &err)) << err;
  EXPECT_FALSE(fs->FileHeld(file, nullptr));
  {
    UniqueHandle h(CreateFileW(WidePath(file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(h.valid());
    EXPECT_TRUE(fs->FileHeld(file, nullptr));
  }
  EXPECT_FALSE(fs->FileHeld(file, nullptr));
  EXPECT_FALSE(fs->FileHeld(file + ".fehlt", nullptr));
}

}  // namespace
}  // namespace krv::win32
