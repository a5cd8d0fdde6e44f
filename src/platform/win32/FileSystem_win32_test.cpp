// Win32 code only: what the real file system adds to the shared behaviour.
#include <gtest/gtest.h>

#include <stdexcept>

#include "base/WinPath.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"
#include "testing/TempDir.h"

namespace krv::win32 {
namespace {

class Win32FileSystemTest : public ::testing::Test {
 protected:
  TempDir dir_;
  std::unique_ptr<FileSystem> fs_ = NewFileSystem();
  std::string err_;
};

TEST_F(Win32FileSystemTest, AtomicWriteKeepsTheHiddenMark) {
  const std::string file = WinPathJoin(dir_.native(), "hidden.ini");
  ASSERT_TRUE(fs_->WriteFileAtomic(file, "a", &err_) && fs_->SetAttributes(file, kAttrHidden, &err_)) << err_;
  ASSERT_TRUE(fs_->WriteFileAtomic(file, "b", &err_)) << err_;
  uint32_t attrs = 0;
  ASSERT_TRUE(fs_->GetAttributes(file, &attrs, &err_)) << err_;
  EXPECT_TRUE(attrs & kAttrHidden);
}

TEST_F(Win32FileSystemTest, LongPathsOpenFilesAndThrowingCallbacks) {
  std::string folder = dir_.native(), content;
  for (int i = 0; i < 6; ++i) folder = WinPathJoin(folder, std::string(50, static_cast<char>('a' + i)));
  ASSERT_TRUE(fs_->CreateFolder(folder, &err_)) << err_;
  const std::string file = WinPathJoin(folder, "Sicherung.mdb");
  ASSERT_TRUE(fs_->WriteFileAtomic(file, "lang", &err_)) << err_;
  ASSERT_TRUE(fs_->CopyFile(file, file + ".bak", false, nullptr, &err_)) << err_;
  // A file another writer holds open can still be read.
  UniqueHandle h(CreateFileW(Wide(file + ".bak").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(h.valid());
  ASSERT_TRUE(fs_->ReadFile(file + ".bak", &content, &err_)) << err_;
  EXPECT_EQ(content, "lang");
  // An exception of the caller's callback reaches the caller, and nothing is left.
  const auto thrower = [](uint64_t, uint64_t) -> bool { throw std::runtime_error("Abbruch"); };
  EXPECT_THROW(fs_->CopyFile(file, WinPathJoin(folder, "neu.mdb"), true, thrower, &err_), std::runtime_error);
  EXPECT_EQ(fs_->List(WinPathJoin(folder, "*")).size(), 2u);
}

TEST_F(Win32FileSystemTest, FileHeldWhileOpenWithoutSharing) {
  const std::string file = WinPathJoin(dir_.native(), "daten.ldb");
  ASSERT_TRUE(fs_->WriteFileAtomic(file, "lock", &err_)) << err_;
  EXPECT_FALSE(fs_->FileHeld(file, nullptr));
  {
    UniqueHandle h(CreateFileW(WidePath(file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(h.valid());
    EXPECT_TRUE(fs_->FileHeld(file, nullptr));
  }
  EXPECT_FALSE(fs_->FileHeld(file, nullptr) || fs_->FileHeld(file + ".fehlt", nullptr));
}

}  // namespace
}  // namespace krv::win32
