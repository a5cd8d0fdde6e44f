// POSIX only: what the file system adds to the shared behaviour: modes,
// links, copy engines and mode bits for Windows attributes.
#include "platform/posix/FileSystem_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

  TempDir tmp_;
  PosixFileSystem fs_;
  std::string err_;
};

TEST_F(PosixFileSystemTest, AtomicWriteKeepsTheModeAndGoesThroughLinks) {
  fs::create_directory(Native("real"));
  Put("real/settings.reg", "alt");
  chmod(Native("real/settings.reg").c_str(), 0640);
  fs::create_symlink("real/settings.reg", Native("link.reg"));
  ASSERT_TRUE(fs_.WriteFileAtomic(Win("LINK.reg"), "neu", &err_)) << err_;
  EXPECT_TRUE(fs::is_symlink(Native("link.reg")));
  EXPECT_EQ(Get("real/settings.reg"), "neu");
  EXPECT_EQ(Mode("real/settings.reg"), 0640u);
  std::string content;
  EXPECT_FALSE(fs_.ReadFile("C:\\boot.ini", &content, &err_));
  EXPECT_NE(err_.find("drive Z:"), std::string::npos) << err_;
}

TEST_F(PosixFileSystemTest, AttributesMapToModeBitsAndNames) {
  Put("datei.txt", "x");
  Put(".versteckt", "x");
  chmod(Native("datei.txt").c_str(), 0664);
  const struct {
    const char* name;
    uint32_t set;  // 0: only read
    uint32_t expected;
    mode_t mode;
  } cases[] = {
      {"datei.txt", kAttrReadOnly | kAttrSystem, kAttrArchive | kAttrReadOnly, 0444},
      {"datei.txt", kAttrArchive, kAttrArchive, 0644},  // the owner gets write access back
      {".versteckt", 0, kAttrArchive | kAttrHidden, 0},
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
    ASSERT_TRUE(fs.CopyFile(Win("quelle.mdb"), Win("ziel.mdb"), false, nullptr, &err_)) << err_;
    EXPECT_EQ(Get("ziel.mdb"), big);
    EXPECT_EQ(Mode("ziel.mdb"), 0640u);
    int64_t seconds = 0;
    ASSERT_TRUE(fs.ModifiedTime(Win("ziel.mdb"), &seconds, &err_));
    EXPECT_EQ(seconds, 1234567890);
    fs::remove(Native("ziel.mdb"));
  }
  EXPECT_FALSE(fs_.CopyFile(Win("quelle.mdb"), Win("QUELLE.mdb"), true, nullptr, &err_));
  EXPECT_EQ(Get("quelle.mdb"), big);
}

TEST_F(PosixFileSystemTest, MoveChangesLetterCaseAndCrossesFileSystems) {
  Put("c.txt", "inhalt");
  ASSERT_TRUE(fs_.MoveFile(Win("c.txt"), Win("C.TXT"), &err_)) << err_;
  EXPECT_TRUE(fs::exists(Native("C.TXT")));
  struct stat here {
  }, shm{};
  if (stat(tmp_.native().c_str(), &here) != 0 || stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev) {
    GTEST_SKIP() << "no second file system at /dev/shm";
  }
  const std::string other = "/dev/shm/krv-move-test-" + std::to_string(getpid());
  ASSERT_TRUE(fs_.MoveFile(Win("C.TXT"), NativeToWinPath(other), &err_)) << err_;
  EXPECT_FALSE(fs::exists(Native("C.TXT")));
  std::ifstream in(other);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "inhalt");
  fs::remove(other);
}

}  // namespace
}  // namespace krv
