// POSIX only: tests of the file system against a temporary folder.
#include "platform/posix/FileSystem_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/posix/NativePath_posix.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  // The Windows path of `rel` inside the temporary folder.
  std::string Win(const std::string& rel) const { return NativeToWinPath(tmp_.native()) + "\\" + rel; }
  std::string Native(const std::string& rel) const { return tmp_.native() + "/" + rel; }
  void Put(const std::string& rel, const std::string& content) const {
    std::ofstream(Native(rel), std::ios::binary) << content;
  }
  std::string Get(const std::string& rel) const {
    std::ifstream in(Native(rel), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  mode_t Mode(const std::string& rel) const {
    struct stat st {};
    EXPECT_EQ(stat(Native(rel).c_str(), &st), 0) << rel;
    return st.st_mode & 07777;
  }
  // Names in the temporary folder, so tests see leftover temporary files.
  std::vector<std::string> Listing(const std::string& rel = "") const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(Native(rel))) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir tmp_;
  PosixFileSystem fs_;
  std::string err_;
};

using Names = std::vector<std::string>;

TEST_F(PosixFileSystemTest, ExistsLengthAndReadIgnoreLetterCase) {
  Put("Daten.MDB", "12345");
  fs::create_directory(Native("Ordner"));
  EXPECT_TRUE(fs_.FileExists(Win("daten.mdb")));
  EXPECT_FALSE(fs_.FileExists(Win("ordner")));
  EXPECT_TRUE(fs_.FolderExists(Win("ORDNER")));
  EXPECT_FALSE(fs_.FolderExists(Win("Daten.mdb")));
  EXPECT_FALSE(fs_.FileExists(Win("fehlt.mdb")));
  uint64_t length = 0;
  ASSERT_TRUE(fs_.FileLength(Win("DATEN.mdb"), &length, &err_)) << err_;
  EXPECT_EQ(length, 5u);
  EXPECT_FALSE(fs_.FileLength(Win("ordner"), &length, &err_));
  std::string content;
  ASSERT_TRUE(fs_.ReadFile(Win("daten.mdb"), &content, &err_)) << err_;
  EXPECT_EQ(content, "12345");
  EXPECT_FALSE(fs_.ReadFile(Win("fehlt.mdb"), &content, &err_));
  EXPECT_NE(err_.find("fehlt.mdb"), std::string::npos) << err_;
  EXPECT_FALSE(fs_.FileExists("C:\\Windows\\win.ini"));
  EXPECT_FALSE(fs_.ReadFile("C:\\boot.ini", &content, &err_));
  EXPECT_NE(err_.find("drive Z:"), std::string::npos) << err_;
}

TEST_F(PosixFileSystemTest, AtomicWriteReplacesKeepsModeAndLeavesNoTemporaryFile) {
  Put("krv.reg", "alt");
  chmod(Native("krv.reg").c_str(), 0640);
  ASSERT_TRUE(fs_.WriteFileAtomic(Win("KRV.REG"), std::string("neu\0bin", 7), &err_)) << err_;
  EXPECT_EQ(Get("krv.reg"), std::string("neu\0bin", 7));
  EXPECT_EQ(Mode("krv.reg"), 0640u);
  ASSERT_TRUE(fs_.WriteFileAtomic(Win("neu.txt"), "", &err_)) << err_;
  EXPECT_TRUE(fs::exists(Native("neu.txt")));
  EXPECT_EQ(Listing(), (Names{"krv.reg", "neu.txt"}));
  EXPECT_FALSE(fs_.WriteFileAtomic(Win("fehlt\\x.txt"), "x", &err_));
  EXPECT_EQ(Listing(), (Names{"krv.reg", "neu.txt"}));
}

TEST_F(PosixFileSystemTest, AtomicWriteGoesThroughSymbolicLinks) {
  fs::create_directory(Native("real"));
  Put("real/settings.reg", "alt");
  fs::create_symlink("real/settings.reg", Native("link.reg"));
  ASSERT_TRUE(fs_.WriteFileAtomic(Win("link.reg"), "neu", &err_)) << err_;
  EXPECT_TRUE(fs::is_symlink(Native("link.reg")));
  EXPECT_EQ(Get("real/settings.reg"), "neu");
  EXPECT_EQ(Listing("real"), Names{"settings.reg"});
}

TEST_F(PosixFileSystemTest, ReadOnlyFilesAreNeitherWrittenNorDeleted) {
  Put("schutz.txt", "alt");
  ASSERT_TRUE(fs_.SetAttributes(Win("schutz.txt"), kAttrReadOnly, &err_)) << err_;
  EXPECT_EQ(Mode("schutz.txt") & 0222, 0u);
  EXPECT_FALSE(fs_.WriteFileAtomic(Win("schutz.txt"), "neu", &err_));
  EXPECT_NE(err_.find("read-only"), std::string::npos) << err_;
  EXPECT_FALSE(fs_.AppendFile(Win("schutz.txt"), "neu", &err_));
  EXPECT_FALSE(fs_.DeleteFile(Win("schutz.txt"), &err_));
  Put("quelle.txt", "q");
  EXPECT_FALSE(fs_.CopyFile(Win("quelle.txt"), Win("schutz.txt"), true, nullptr, &err_));
  EXPECT_EQ(Get("schutz.txt"), "alt");
  EXPECT_EQ(Listing(), (Names{"quelle.txt", "schutz.txt"}));
  ASSERT_TRUE(fs_.SetAttributes(Win("schutz.txt"), kAttrNormal, &err_)) << err_;
  EXPECT_TRUE(fs_.DeleteFile(Win("schutz.txt"), &err_)) << err_;
}

TEST_F(PosixFileSystemTest, AttributesMapToModeBitsAndNames) {
  Put("datei.txt", "x");
  Put(".versteckt", "x");
  fs::create_directory(Native("ordner"));
  chmod(Native("datei.txt").c_str(), 0664);
  struct Case {
    const char* name;
    uint32_t set;  // 0: only read
    uint32_t expected;
    mode_t mode;
  } cases[] = {
      {"datei.txt", 0, kAttrArchive, 0664},
      {"datei.txt", kAttrReadOnly | kAttrArchive, kAttrArchive | kAttrReadOnly, 0444},
      {"datei.txt", kAttrReadOnly | kAttrSystem, kAttrArchive | kAttrReadOnly, 0444},
      {"datei.txt", kAttrArchive, kAttrArchive, 0644},  // the owner gets write access back
      {"datei.txt", kAttrReadOnly, kAttrArchive | kAttrReadOnly, 0444},
      {"datei.txt", kAttrNormal | kAttrReadOnly, kAttrArchive, 0644},
      {"datei.txt", kAttrHidden, kAttrArchive, 0644},  // a name is not changed to hide a file
      {".versteckt", 0, kAttrArchive | kAttrHidden, 0},
      {"ordner", kAttrReadOnly, kAttrDirectory, 0},  // folders keep their bits
  };
  for (const auto& c : cases) {
    if (c.set != 0) {
      ASSERT_TRUE(fs_.SetAttributes(Win(c.name), c.set, &err_)) << err_;
    }
    uint32_t attrs = 0;
    ASSERT_TRUE(fs_.GetAttributes(Win(c.name), &attrs, &err_)) << err_;
    EXPECT_EQ(attrs, c.expected) << c.name << " set " << c.set;
    if (c.mode != 0) {
      EXPECT_EQ(Mode(c.name), c.mode) << c.name << " set " << c.set;
    }
  }
  uint32_t attrs = 0;
  EXPECT_FALSE(fs_.GetAttributes(Win("fehlt"), &attrs, &err_));
  EXPECT_FALSE(fs_.SetAttributes(Win("fehlt"), kAttrNormal, &err_));
}

TEST_F(PosixFileSystemTest, DeleteRemovesFilesAndLinksButNotFolders) {
  Put("weg.txt", "x");
  fs::create_directory(Native("ordner"));
  fs::create_symlink("ordner", Native("link"));
  EXPECT_TRUE(fs_.DeleteFile(Win("WEG.txt"), &err_)) << err_;
  EXPECT_FALSE(fs_.DeleteFile(Win("ordner"), &err_));
  EXPECT_TRUE(fs_.DeleteFile(Win("link"), &err_)) << err_;
  EXPECT_FALSE(fs_.DeleteFile(Win("weg.txt"), &err_));
  EXPECT_EQ(Listing(), Names{"ordner"});
}

TEST_F(PosixFileSystemTest, CreateFolderMakesParentsAndFindsExistingOnes) {
  fs::create_directory(Native("Backup"));
  ASSERT_TRUE(fs_.CreateFolder(Win("backup\\2025\\Januar"), &err_)) << err_;
  EXPECT_TRUE(fs::is_directory(Native("Backup/2025/Januar")));
  EXPECT_TRUE(fs_.CreateFolder(Win("BACKUP\\2025"), &err_)) << err_;
  EXPECT_EQ(Listing(), Names{"Backup"});
  Put("datei", "x");
  EXPECT_FALSE(fs_.CreateFolder(Win("datei"), &err_));
  EXPECT_FALSE(fs_.CreateFolder(Win("datei\\unter"), &err_));
}

TEST_F(PosixFileSystemTest, ListMatchesWildcardsIgnoringCase) {
  Put("Daten.LDB", "1234");
  Put("daten.mdb", "12");
  Put("readme", "1");
  fs::create_directory(Native("Sicherung.ldb"));
  auto names = [&](const std::string& pattern) {
    Names out;
    for (const auto& e : fs_.List(Win(pattern))) out.push_back(e.name + (e.is_folder ? "/" : ""));
    return out;
  };
  EXPECT_EQ(names("*.ldb"), (Names{"Daten.LDB", "Sicherung.ldb/"}));
  EXPECT_EQ(names("DATEN.*"), (Names{"Daten.LDB", "daten.mdb"}));
  EXPECT_EQ(names("*.*"), (Names{"Daten.LDB", "daten.mdb", "readme", "Sicherung.ldb/"}));
  EXPECT_EQ(names("?eadme"), Names{"readme"});
  EXPECT_EQ(names("fehlt\\*"), Names{});
  const auto entries = fs_.List(Win("daten.ldb"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].size, 4u);
}

TEST_F(PosixFileSystemTest, CopyKeepsContentModeAndTimeWithEveryEngine) {
  std::string big(5 * 512 * 1024 + 17, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 1000);
  Put("quelle.mdb", big);
  chmod(Native("quelle.mdb").c_str(), 0640);
  const struct timespec times[2] = {{1000000000, 0}, {1234567890, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, Native("quelle.mdb").c_str(), times, 0), 0);
  using Engine = PosixFileSystem::CopyEngine;
  for (const Engine engine : {Engine::kBest, Engine::kSendfile, Engine::kReadWrite}) {
    PosixFileSystem fs(engine);
    std::vector<uint64_t> seen;
    auto progress = [&](uint64_t done, uint64_t total) {
      EXPECT_EQ(total, big.size());
      seen.push_back(done);
      return true;
    };
    ASSERT_TRUE(fs.CopyFile(Win("QUELLE.mdb"), Win("ziel.mdb"), false, progress, &err_)) << err_;
    EXPECT_EQ(Get("ziel.mdb"), big);
    EXPECT_EQ(Mode("ziel.mdb"), 0640u);
    int64_t seconds = 0;
    ASSERT_TRUE(fs.ModifiedTime(Win("ziel.mdb"), &seconds, &err_));
    EXPECT_EQ(seconds, 1234567890);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), 0u);
    EXPECT_EQ(seen.back(), big.size());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(Listing(), (Names{"quelle.mdb", "ziel.mdb"}));
    fs::remove(Native("ziel.mdb"));
  }
}

TEST_F(PosixFileSystemTest, CopyRespectsOverwriteAndRefusesItsOwnSource) {
  Put("a.txt", "neu");
  Put("b.txt", "alt");
  EXPECT_FALSE(fs_.CopyFile(Win("a.txt"), Win("B.TXT"), false, nullptr, &err_));
  EXPECT_EQ(Get("b.txt"), "alt");
  ASSERT_TRUE(fs_.CopyFile(Win("a.txt"), Win("B.TXT"), true, nullptr, &err_)) << err_;
  EXPECT_EQ(Get("b.txt"), "neu");
  EXPECT_FALSE(fs_.CopyFile(Win("a.txt"), Win("A.txt"), true, nullptr, &err_));
  EXPECT_EQ(Get("a.txt"), "neu");
  EXPECT_FALSE(fs_.CopyFile(Win("fehlt.txt"), Win("c.txt"), true, nullptr, &err_));
  EXPECT_EQ(Listing(), (Names{"a.txt", "b.txt"}));
}

TEST_F(PosixFileSystemTest, CancelledCopyLeavesNoPartialFile) {
  Put("gross.mdb", std::string(3 << 20, 'x'));
  Put("alt.mdb", "alt");
  for (int cancel_at : {0, 1, 2}) {
    int calls = 0;
    auto progress = [&](uint64_t, uint64_t) { return calls++ < cancel_at; };
    EXPECT_FALSE(fs_.CopyFile(Win("gross.mdb"), Win("neu.mdb"), false, progress, &err_));
    EXPECT_NE(err_.find("cancelled"), std::string::npos) << err_;
    EXPECT_FALSE(fs_.CopyFile(Win("gross.mdb"), Win("alt.mdb"), true, progress, &err_));
    EXPECT_EQ(Get("alt.mdb"), "alt");
    EXPECT_EQ(Listing(), (Names{"alt.mdb", "gross.mdb"})) << cancel_at;
  }
}

TEST_F(PosixFileSystemTest, MoveRenamesButNeverReplaces) {
  Put("a.txt", "a");
  Put("b.txt", "b");
  EXPECT_FALSE(fs_.MoveFile(Win("a.txt"), Win("B.txt"), &err_));
  EXPECT_EQ(Get("b.txt"), "b");
  ASSERT_TRUE(fs_.MoveFile(Win("A.TXT"), Win("c.txt"), &err_)) << err_;
  EXPECT_EQ(Get("c.txt"), "a");
  ASSERT_TRUE(fs_.MoveFile(Win("c.txt"), Win("C.TXT"), &err_)) << err_;  // only the letter case changes
  EXPECT_EQ(Listing(), (Names{"C.TXT", "b.txt"}));
  fs::create_directory(Native("ordner"));
  ASSERT_TRUE(fs_.MoveFile(Win("Ordner"), Win("mappe"), &err_)) << err_;
  EXPECT_FALSE(fs_.MoveFile(Win("fehlt"), Win("x"), &err_));
  EXPECT_EQ(Listing(), (Names{"C.TXT", "b.txt", "mappe"}));
}

TEST_F(PosixFileSystemTest, MoveAcrossFileSystemsCopiesAndDeletes) {
  struct stat here {
  }, shm{};
  if (stat(tmp_.native().c_str(), &here) != 0 || stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev) {
    GTEST_SKIP() << "no second file system at /dev/shm";
  }
  const std::string other = "/dev/shm/krv-move-test-" + std::to_string(getpid());
  Put("reise.txt", "inhalt");
  ASSERT_TRUE(fs_.MoveFile(Win("reise.txt"), NativeToWinPath(other), &err_)) << err_;
  EXPECT_FALSE(fs::exists(Native("reise.txt")));
  std::ifstream in(other);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "inhalt");
  fs::remove(other);
}

TEST_F(PosixFileSystemTest, WritableFolderSpaceAndAppend) {
  EXPECT_TRUE(fs_.FolderWritable(Win("")));
  EXPECT_FALSE(fs_.FolderWritable(Win("fehlt")));
  EXPECT_EQ(Listing(), Names{});
  uint64_t bytes = 0;
  ASSERT_TRUE(fs_.FreeSpace(Win(""), &bytes, &err_)) << err_;
  EXPECT_GT(bytes, 0u);
  EXPECT_FALSE(fs_.FreeSpace(Win("fehlt"), &bytes, &err_));
  ASSERT_TRUE(fs_.AppendFile(Win("krv25.log"), "eins\n", &err_)) << err_;
  ASSERT_TRUE(fs_.AppendFile(Win("KRV25.LOG"), "zwei\n", &err_)) << err_;
  EXPECT_EQ(Get("krv25.log"), "eins\nzwei\n");
}

TEST_F(PosixFileSystemTest, FolderWithoutWriteAccessIsNotWritable) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write everywhere";
  fs::create_directory(Native("nur-lesen"));
  chmod(Native("nur-lesen").c_str(), 0555);
  EXPECT_FALSE(fs_.FolderWritable(Win("nur-lesen")));
  chmod(Native("nur-lesen").c_str(), 0755);
}

}  // namespace
}  // namespace krv
