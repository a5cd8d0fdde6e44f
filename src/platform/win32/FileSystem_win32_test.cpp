// Win32 code only: the real file system against a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

#include "base/WinPath.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"
#include "testing/TempDir.h"

namespace krv::win32 {
namespace {

class Win32FileSystemTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return WinPathJoin(dir_.native(), name); }
  void Write(const std::string& name, const std::string& content) {
    std::string err;
    ASSERT_TRUE(fs_->WriteFileAtomic(Path(name), content, &err)) << err;
  }
  std::string Read(const std::string& name) {
    std::string content, err;
    EXPECT_TRUE(fs_->ReadFile(Path(name), &content, &err)) << err;
    return content;
  }
  std::vector<std::string> Names(const std::string& mask) {
    std::vector<std::string> names;
    for (const DirEntry& e : fs_->List(Path(mask))) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir_;
  std::unique_ptr<FileSystem> fs_ = NewFileSystem();
};

TEST_F(Win32FileSystemTest, WritesAndReadsFilesWithUmlautNamesAndBinaryContent) {
  const std::string content("Grüße\r\n\0\xFF", 11);
  Write("Bücher.txt", content);
  EXPECT_TRUE(fs_->FileExists(Path("Bücher.txt")));
  EXPECT_TRUE(fs_->FileExists(Path("BÜCHER.TXT"))) << "names compare ignoring case";
  EXPECT_FALSE(fs_->FolderExists(Path("Bücher.txt")));
  EXPECT_EQ(Read("Bücher.txt"), content);
  uint64_t length = 0;
  std::string err;
  ASSERT_TRUE(fs_->FileLength(Path("Bücher.txt"), &length, &err)) << err;
  EXPECT_EQ(length, content.size());
  EXPECT_EQ(Names("*"), std::vector<std::string>{"Bücher.txt"});
}

TEST_F(Win32FileSystemTest, AtomicWriteReplacesAndLeavesNoTemporaryFile) {
  Write("krv25.log", "alt und lang, alt und lang");
  Write("krv25.log", "neu");
  EXPECT_EQ(Read("krv25.log"), "neu");
  Write("krv25.log", "");
  EXPECT_EQ(Read("krv25.log"), "");
  EXPECT_EQ(Names("*"), std::vector<std::string>{"krv25.log"});
}

TEST_F(Win32FileSystemTest, AtomicWriteKeepsHiddenMarkAndRefusesReadOnlyTarget) {
  Write("hidden.ini", "a");
  std::string err;
  ASSERT_TRUE(fs_->SetAttributes(Path("hidden.ini"), kAttrHidden, &err)) << err;
  Write("hidden.ini", "b");
  uint32_t attrs = 0;
  ASSERT_TRUE(fs_->GetAttributes(Path("hidden.ini"), &attrs, &err)) << err;
  EXPECT_TRUE(attrs & kAttrHidden);
  EXPECT_EQ(Read("hidden.ini"), "b");

  Write("locked.ini", "old");
  ASSERT_TRUE(fs_->SetAttributes(Path("locked.ini"), kAttrReadOnly, &err)) << err;
  EXPECT_FALSE(fs_->WriteFileAtomic(Path("locked.ini"), "new", &err));
  EXPECT_NE(err.find("MoveFileExW("), std::string::npos) << err;
  EXPECT_EQ(Read("locked.ini"), "old");
  EXPECT_EQ(Names("*.tmp"), std::vector<std::string>{});
}

TEST_F(Win32FileSystemTest, AttributesSetReadAndResetToNormal) {
  Write("a.mdb", "x");
  const std::string file = Path("a.mdb");
  std::string err;
  struct Case {
    uint32_t set;
    uint32_t expect_on;
    uint32_t expect_off;
  };
  const Case cases[] = {
      {kAttrReadOnly, kAttrReadOnly, kAttrHidden},
      {kAttrHidden | kAttrSystem, kAttrHidden | kAttrSystem, kAttrReadOnly},
      {kAttrArchive | kAttrReadOnly, kAttrArchive | kAttrReadOnly, kAttrHidden | kAttrSystem},
      // Wine reports every file as archived, so "normal" is checked on the other marks.
      {kAttrNormal | kAttrReadOnly, 0, kAttrReadOnly | kAttrHidden | kAttrSystem},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(fs_->SetAttributes(file, c.set, &err)) << err;
    uint32_t attrs = 0;
    ASSERT_TRUE(fs_->GetAttributes(file, &attrs, &err)) << err;
    EXPECT_EQ(attrs & c.expect_on, c.expect_on) << "set " << c.set << " got " << attrs;
    EXPECT_EQ(attrs & c.expect_off, 0u) << "set " << c.set << " got " << attrs;
  }
  ASSERT_TRUE(fs_->SetAttributes(file, kAttrReadOnly, &err));
  EXPECT_FALSE(fs_->DeleteFile(file, &err)) << "a read-only file stays";
  EXPECT_NE(err.find("DeleteFileW("), std::string::npos) << err;
  ASSERT_TRUE(fs_->SetAttributes(file, kAttrNormal, &err)) << err;
  EXPECT_TRUE(fs_->DeleteFile(file, &err)) << err;
  EXPECT_FALSE(fs_->FileExists(file));

  uint32_t attrs = 0;
  ASSERT_TRUE(fs_->GetAttributes(dir_.native(), &attrs, &err)) << err;
  EXPECT_TRUE(attrs & kAttrDirectory);
  EXPECT_FALSE(fs_->GetAttributes(Path("fehlt.txt"), &attrs, &err));
  EXPECT_NE(err.find("fehlt.txt"), std::string::npos) << err;
}

TEST_F(Win32FileSystemTest, ModifiedTimeIsNow) {
  Write("a.txt", "x");
  int64_t seconds = 0;
  std::string err;
  ASSERT_TRUE(fs_->ModifiedTime(Path("a.txt"), &seconds, &err)) << err;
  EXPECT_LT(std::llabs(seconds - static_cast<int64_t>(time(nullptr))), 120);
}

TEST_F(Win32FileSystemTest, CreatesFolderWithParentsAndRefusesWhereAFileIsInTheWay) {
  std::string err;
  const std::string deep = Path("eins\\zwei\\drü\\");
  ASSERT_TRUE(fs_->CreateFolder(deep, &err)) << err;
  EXPECT_TRUE(fs_->FolderExists(Path("eins\\zwei\\drü")));
  EXPECT_FALSE(fs_->FileExists(Path("eins\\zwei\\drü")));
  EXPECT_TRUE(fs_->CreateFolder(deep, &err)) << "an existing folder is fine: " << err;

  Write("datei", "x");
  EXPECT_FALSE(fs_->CreateFolder(Path("datei\\unter"), &err));
  EXPECT_NE(err.find("CreateDirectoryW("), std::string::npos) << err;
}

TEST_F(Win32FileSystemTest, ListsByWildcardWithFoldersAndSizes) {
  Write("a.mdb", "12345");
  Write("B.MDB", "");
  Write("c.mdbx", "x");
  Write("d.txt", "x");
  Write("e.txt", "x");
  Write("ee.txt", "x");
  std::string err;
  ASSERT_TRUE(fs_->CreateFolder(Path("sicherung.mdb"), &err)) << err;

  const struct {
    const char* mask;
    std::vector<std::string> names;
  } cases[] = {
      {"*.mdb", {"B.MDB", "a.mdb", "sicherung.mdb"}},
      {"?.txt", {"d.txt", "e.txt"}},
      {"e*", {"e.txt", "ee.txt"}},
      {"fehlt*", {}},
      {"*", {"B.MDB", "a.mdb", "c.mdbx", "d.txt", "e.txt", "ee.txt", "sicherung.mdb"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Names(c.mask), c.names) << c.mask;

  for (const DirEntry& e : fs_->List(Path("*.mdb"))) {
    EXPECT_EQ(e.is_folder, e.name == "sicherung.mdb") << e.name;
    if (e.name == "a.mdb") {
      EXPECT_EQ(e.size, 5u);
    }
  }
  EXPECT_TRUE(fs_->List(Path("fehlt\\*")).empty());
}

TEST_F(Win32FileSystemTest, CopiesWithProgressAndHonoursOverwrite) {
  const std::string big(3 * 1024 * 1024 + 17, 'k');
  Write("quelle.mdb", big);
  Write("ziel.mdb", "alt");
  std::string err;
  EXPECT_FALSE(fs_->CopyFile(Path("quelle.mdb"), Path("ziel.mdb"), false, nullptr, &err));
  EXPECT_EQ(Read("ziel.mdb"), "alt");

  uint64_t last_done = 0, last_total = 0;
  int calls = 0;
  const CopyProgress progress = [&](uint64_t done, uint64_t total) {
    EXPECT_LE(done, total);
    last_done = done;
    last_total = total;
    ++calls;
    return true;
  };
  ASSERT_TRUE(fs_->CopyFile(Path("quelle.mdb"), Path("ziel.mdb"), true, progress, &err)) << err;
  EXPECT_TRUE(Read("ziel.mdb") == big);
  EXPECT_GE(calls, 1);
  EXPECT_EQ(last_total, big.size());
  EXPECT_EQ(last_done, big.size());

  ASSERT_TRUE(fs_->CopyFile(Path("quelle.mdb"), Path("neu.mdb"), false, nullptr, &err)) << err;
  EXPECT_TRUE(Read("neu.mdb") == big);
  ASSERT_TRUE(fs_->SetAttributes(Path("neu.mdb"), kAttrReadOnly, &err)) << err;
  EXPECT_FALSE(fs_->CopyFile(Path("ziel.mdb"), Path("neu.mdb"), true, nullptr, &err)) << "a read-only target stays";
  ASSERT_TRUE(fs_->SetAttributes(Path("neu.mdb"), kAttrNormal, &err)) << err;
  EXPECT_FALSE(fs_->CopyFile(Path("fehlt.mdb"), Path("x.mdb"), true, nullptr, &err));
  EXPECT_NE(err.find("fehlt.mdb"), std::string::npos) << err;
  EXPECT_EQ(Names("*"), (std::vector<std::string>{"neu.mdb", "quelle.mdb", "ziel.mdb"}));
}

TEST_F(Win32FileSystemTest, CancelledCopyKeepsTheOldTargetAndLeavesNothing) {
  Write("quelle.mdb", std::string(2 * 1024 * 1024, 'q'));
  Write("ziel.mdb", "alt");
  std::string err;
  EXPECT_FALSE(fs_->CopyFile(
      Path("quelle.mdb"), Path("ziel.mdb"), true, [](uint64_t, uint64_t) { return false; }, &err));
  EXPECT_NE(err.find("cancelled"), std::string::npos) << err;
  EXPECT_EQ(Read("ziel.mdb").substr(0, 10), "alt");
  EXPECT_FALSE(fs_->CopyFile(
      Path("quelle.mdb"), Path("neu.mdb"), true, [](uint64_t, uint64_t) { return false; }, &err));
  EXPECT_EQ(Names("*"), (std::vector<std::string>{"quelle.mdb", "ziel.mdb"}));

  // An exception of the caller's callback reaches the caller, and still nothing is left.
  EXPECT_THROW(fs_->CopyFile(
                   Path("quelle.mdb"), Path("neu.mdb"), true,
                   [](uint64_t, uint64_t) -> bool { throw std::runtime_error("Abbruch"); }, &err),
               std::runtime_error);
  EXPECT_EQ(Names("*"), (std::vector<std::string>{"quelle.mdb", "ziel.mdb"}));
}

TEST_F(Win32FileSystemTest, MovesButNeverOverAnExistingFile) {
  Write("a.txt", "a");
  Write("b.txt", "b");
  std::string err;
  EXPECT_FALSE(fs_->MoveFile(Path("a.txt"), Path("b.txt"), &err));
  EXPECT_EQ(Read("b.txt"), "b");
  ASSERT_TRUE(fs_->MoveFile(Path("a.txt"), Path("c.txt"), &err)) << err;
  EXPECT_FALSE(fs_->FileExists(Path("a.txt")));
  EXPECT_EQ(Read("c.txt"), "a");
}

TEST_F(Win32FileSystemTest, AppendCreatesThenExtends) {
  std::string err;
  ASSERT_TRUE(fs_->AppendFile(Path("krv25.log"), "eins\r\n", &err)) << err;
  ASSERT_TRUE(fs_->AppendFile(Path("krv25.log"), "zwei\r\n", &err)) << err;
  EXPECT_EQ(Read("krv25.log"), "eins\r\nzwei\r\n");
  EXPECT_FALSE(fs_->AppendFile(Path("fehlt\\krv25.log"), "x", &err));
}

TEST_F(Win32FileSystemTest, FreeSpaceAndWritableFolder) {
  uint64_t bytes = 0;
  std::string err;
  ASSERT_TRUE(fs_->FreeSpace(dir_.native(), &bytes, &err)) << err;
  EXPECT_GT(bytes, 0u);
  EXPECT_FALSE(fs_->FreeSpace(Path("fehlt"), &bytes, &err));
  EXPECT_NE(err.find("GetDiskFreeSpaceExW("), std::string::npos) << err;

  EXPECT_TRUE(fs_->FolderWritable(dir_.native()));
  EXPECT_FALSE(fs_->FolderWritable(Path("fehlt")));
  EXPECT_EQ(Names("*"), std::vector<std::string>{}) << "the probe file is removed";
}

TEST_F(Win32FileSystemTest, PathsLongerThanMaxPathWork) {
  std::string folder = dir_.native();
  for (int i = 0; i < 6; ++i) folder = WinPathJoin(folder, std::string(50, static_cast<char>('a' + i)));
  ASSERT_GT(folder.size(), 300u);
  std::string err;
  ASSERT_TRUE(fs_->CreateFolder(folder, &err)) << err;
  const std::string file = WinPathJoin(folder, "Sicherung.mdb");
  ASSERT_TRUE(fs_->WriteFileAtomic(file, "lang", &err)) << err;
  ASSERT_TRUE(fs_->CopyFile(file, file + ".bak", false, nullptr, &err)) << err;
  std::string content;
  ASSERT_TRUE(fs_->ReadFile(file + ".bak", &content, &err)) << err;
  EXPECT_EQ(content, "lang");
  EXPECT_EQ(fs_->List(WinPathJoin(folder, "*.mdb")).size(), 1u);
  EXPECT_TRUE(fs_->DeleteFile(file, &err)) << err;
  EXPECT_TRUE(fs_->DeleteFile(file + ".bak", &err)) << err;
}

TEST_F(Win32FileSystemTest, ReadsFileHeldOpenByAnotherWriter) {
  Write("offen.log", "inhalt");
  HANDLE h = CreateFileW(Wide(Path("offen.log")).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Read("offen.log"), "inhalt");
  CloseHandle(h);
}

}  // namespace
}  // namespace krv::win32
