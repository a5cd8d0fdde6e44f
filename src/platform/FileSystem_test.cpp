// The file system behaviour the core relies on, run on the platform's real
// file system against a temporary folder (Windows paths on every platform).
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "base/WinPath.h"
#include "testing/TempDir.h"
#ifdef _WIN32
#include "platform/win32/Services_win32.h"
#else
#include "platform/posix/FileSystem_posix.h"
#include "platform/posix/NativePath_posix.h"
#endif

namespace krv {
namespace {

using Names = std::vector<std::string>;

class FileSystemBehaviour : public ::testing::Test {
 protected:
#ifdef _WIN32
  std::string P(const std::string& name) const { return WinPathJoin(dir_.native(), name); }
  std::unique_ptr<FileSystem> fs_ = win32::NewFileSystem();
#else
  std::string P(const std::string& name) const { return WinPathJoin(NativeToWinPath(dir_.native()), name); }
  std::unique_ptr<FileSystem> fs_ = std::make_unique<PosixFileSystem>();
#endif
  void Put(const std::string& name, const std::string& content) {
    ASSERT_TRUE(fs_->WriteFileAtomic(P(name), content, &err_)) << err_;
  }
  std::string Get(const std::string& name) {
    std::string content;
    EXPECT_TRUE(fs_->ReadFile(P(name), &content, &err_)) << err_;
    return content;
  }
  Names List(const std::string& mask) {
    Names names;
    for (const DirEntry& e : fs_->List(P(mask))) names.push_back(e.name + (e.is_folder ? "/" : ""));
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Attrs(const std::string& name) {
    uint32_t a = 0;
    if (!fs_->GetAttributes(P(name), &a, &err_)) return "fails";
    return std::string(a & kAttrReadOnly ? "R" : "") + (a & kAttrDirectory ? "D" : "");
  }

  TempDir dir_;
  std::string err_;
};

TEST_F(FileSystemBehaviour, FilesWithUmlautNamesAreFoundIgnoringCase) {
  const std::string content("Grüße\r\n\0\xFF", 11);
  Put("Bücher.txt", content);
  ASSERT_TRUE(fs_->CreateFolder(P("eins\\zwei\\drü\\"), &err_)) << err_;  // parents too
  EXPECT_TRUE(fs_->FileExists(P("BÜCHER.TXT")));
  EXPECT_FALSE(fs_->FileExists(P("eins")));
  EXPECT_TRUE(fs_->FolderExists(P("EINS\\zwei\\drü")));
  EXPECT_FALSE(fs_->FolderExists(P("Bücher.txt")));
  EXPECT_EQ(Get("bücher.TXT"), content);
  uint64_t length = 0;
  ASSERT_TRUE(fs_->FileLength(P("Bücher.txt"), &length, &err_)) << err_;
  EXPECT_EQ(length, content.size());
  std::string got;
  EXPECT_FALSE(fs_->ReadFile(P("fehlt.mdb"), &got, &err_));
  EXPECT_NE(err_.find("fehlt.mdb"), std::string::npos) << err_;
  EXPECT_FALSE(fs_->CreateFolder(P("Bücher.txt\\unter"), &err_));
  EXPECT_EQ(List("*"), (Names{"Bücher.txt", "eins/"}));
  EXPECT_EQ(List("*.TXT"), Names{"Bücher.txt"});
  EXPECT_EQ(List("fehlt\\*"), Names{});
  const std::vector<DirEntry> one = fs_->List(P("BÜCHER.TXT"));
  EXPECT_TRUE(one.size() == 1 && one[0].size == content.size());
}

TEST_F(FileSystemBehaviour, AtomicWriteReplacesWholeAndLeavesNoTemporaryFile) {
  Put("krv25.log", "alt und lang, alt und lang");
  Put("KRV25.LOG", "neu");
  EXPECT_EQ(Get("krv25.log"), "neu");
  EXPECT_FALSE(fs_->WriteFileAtomic(P("fehlt\\x.txt"), "x", &err_));
  EXPECT_EQ(List("*"), Names{"krv25.log"});
}

TEST_F(FileSystemBehaviour, ReadOnlyFilesAreNeitherWrittenReplacedNorDeleted) {
  Put("schutz.txt", "alt");
  Put("quelle.txt", "q");
  ASSERT_TRUE(fs_->SetAttributes(P("schutz.txt"), kAttrReadOnly, &err_)) << err_;
  EXPECT_EQ(Attrs("schutz.txt"), "R");
  EXPECT_FALSE(fs_->WriteFileAtomic(P("schutz.txt"), "neu", &err_));
  EXPECT_FALSE(fs_->DeleteFile(P("schutz.txt"), &err_));
  EXPECT_FALSE(fs_->CopyFile(P("quelle.txt"), P("schutz.txt"), true, nullptr, &err_));
  EXPECT_EQ(Get("schutz.txt"), "alt");
  ASSERT_TRUE(fs_->SetAttributes(P("schutz.txt"), kAttrNormal | kAttrReadOnly, &err_)) << err_;
  EXPECT_TRUE(fs_->DeleteFile(P("schutz.txt"), &err_)) << err_;
  ASSERT_TRUE(fs_->CreateFolder(P("ordner"), &err_)) << err_;
  EXPECT_EQ(Attrs("ordner"), "D");
  EXPECT_FALSE(fs_->DeleteFile(P("ordner"), &err_));
  EXPECT_EQ(Attrs("fehlt"), "fails");
}

TEST_F(FileSystemBehaviour, CopyHonoursOverwriteReportsProgressAndCancelKeepsTheOldTarget) {
  const std::string big(3 * 1024 * 1024 + 17, 'k');
  Put("quelle.mdb", big);
  Put("ziel.mdb", "alt");
  EXPECT_FALSE(fs_->CopyFile(P("quelle.mdb"), P("ziel.mdb"), false, nullptr, &err_));
  const CopyProgress cancel = [](uint64_t, uint64_t) { return false; };
  EXPECT_FALSE(fs_->CopyFile(P("quelle.mdb"), P("ziel.mdb"), true, cancel, &err_));
  EXPECT_NE(err_.find("cancelled"), std::string::npos) << err_;
  EXPECT_FALSE(fs_->CopyFile(P("quelle.mdb"), P("neu.mdb"), true, cancel, &err_));
  EXPECT_EQ(Get("ziel.mdb"), "alt");
  EXPECT_EQ(List("*"), (Names{"quelle.mdb", "ziel.mdb"}));
  uint64_t last_done = 0, last_total = 0;
  const CopyProgress progress = [&](uint64_t done, uint64_t total) {
    EXPECT_LE(done, total);
    last_done = done;
    last_total = total;
    return true;
  };
  ASSERT_TRUE(fs_->CopyFile(P("QUELLE.mdb"), P("ZIEL.mdb"), true, progress, &err_)) << err_;
  EXPECT_TRUE(Get("ziel.mdb") == big);
  EXPECT_EQ(last_done + last_total, 2 * big.size());
  EXPECT_FALSE(fs_->CopyFile(P("fehlt.mdb"), P("x.mdb"), true, nullptr, &err_));
  EXPECT_NE(err_.find("fehlt.mdb"), std::string::npos) << err_;
}

TEST_F(FileSystemBehaviour, MoveRenamesButNeverReplaces) {
  Put("a.txt", "a");
  Put("b.txt", "b");
  EXPECT_FALSE(fs_->MoveFile(P("a.txt"), P("B.txt"), &err_));
  ASSERT_TRUE(fs_->MoveFile(P("A.TXT"), P("c.txt"), &err_)) << err_;
  EXPECT_EQ(Get("b.txt") + Get("c.txt"), "ba");
  EXPECT_EQ(List("*"), (Names{"b.txt", "c.txt"}));
}

TEST_F(FileSystemBehaviour, AppendFreeSpaceAndWritableFolder) {
  ASSERT_TRUE(fs_->AppendFile(P("krv25.log"), "eins\r\n", &err_)) << err_;
  ASSERT_TRUE(fs_->AppendFile(P("KRV25.LOG"), "zwei\r\n", &err_)) << err_;
  EXPECT_EQ(Get("krv25.log"), "eins\r\nzwei\r\n");
  EXPECT_FALSE(fs_->AppendFile(P("fehlt\\krv25.log"), "x", &err_));
  uint64_t bytes = 0;
  ASSERT_TRUE(fs_->FreeSpace(P(""), &bytes, &err_)) << err_;
  EXPECT_GT(bytes, 0u);
  EXPECT_FALSE(fs_->FreeSpace(P("fehlt"), &bytes, &err_));
  EXPECT_TRUE(fs_->FolderWritable(P("")));
  EXPECT_FALSE(fs_->FolderWritable(P("fehlt")));
  EXPECT_EQ(List("*"), Names{"krv25.log"});  // the probe file is removed
}

}  // namespace
}  // namespace krv
