// POSIX only: what the file system adds to the shared behaviour: modes, links, copy engines.
#include "platform/posix/FileSystem_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/posix/NativePath_posix.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

namespace fs = std::filesystem;
using It = std::istreambuf_iterator<char>;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  std::string Win(const std::string& rel) const { return NativeToWinPath(tmp_.native()) + "\\" + rel; }
  std::string Native(const std::string& rel) const { return tmp_.native() + "/" + rel; }
  void Put(const std::string& rel, const std::string& content, unsigned mode) const {
    std::ofstream(Native(rel), std::ios::binary) << content;
    fs::permissions(Native(rel), static_cast<fs::perms>(mode));
  }
  std::string Get(const std::string& rel) const { return {It(std::ifstream(Native(rel)).rdbuf()), It()}; }
  unsigned Mode(const std::string& rel) const { return static_cast<unsigned>(fs::status(Native(rel)).permissions()); }

  TempDir tmp_;
  PosixFileSystem fs_;
  std::string err_;
};

TEST_F(PosixFileSystemTest, AtomicWriteKeepsTheModeAndGoesThroughLinks) {
  Put("settings.reg", "alt", 0640);
  fs::create_symlink("settings.reg", Native("link.reg"));
  ASSERT_TRUE(fs_.WriteFileAtomic(Win("LINK.reg"), "neu", &err_)) << err_;
  EXPECT_TRUE(fs::is_symlink(Native("link.reg")));
  EXPECT_EQ(Get("settings.reg"), "neu");
  EXPECT_EQ(Mode("settings.reg"), 0640u);
}

TEST_F(PosixFileSystemTest, ReadsAPartOfAFile) {
  Put("teil.dll", "0123456789", 0644);
  for (const auto& [offset, length, expected] : {std::tuple{0, 4, "0123"}, {7, 100, "789"}, {15, 1, ""}}) {
    std::string part = "alt";
    ASSERT_TRUE(fs_.ReadFileRange(Win("TEIL.DLL"), offset, length, &part, &err_)) << err_;
    EXPECT_EQ(part, expected) << offset << "+" << length;
  }
  std::string none;
  EXPECT_FALSE(fs_.ReadFileRange(Win("fehlt.dll"), 0, 4, &none, &err_));
}

TEST_F(PosixFileSystemTest, AttributesMapToModeBitsAndNames) {
  Put("datei.txt", "x", 0664);
  Put(".versteckt", "x", 0644);
  const struct {
    const char* name;
    uint32_t set, expected, mode;  // set 0: only read
  } cases[] = {
      {"datei.txt", kAttrReadOnly | kAttrSystem, kAttrArchive | kAttrReadOnly, 0444},
      {"datei.txt", kAttrArchive, kAttrArchive, 0644},  // the owner gets write access back
      {".versteckt", 0, kAttrArchive | kAttrHidden, 0644},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.set == 0 || fs_.SetAttributes(Win(c.name), c.set, &err_)) << err_;
    uint32_t attrs = 0;
    ASSERT_TRUE(fs_.GetAttributes(Win(c.name), &attrs, &err_)) << err_;
    EXPECT_EQ(attrs, c.expected) << c.name << " set " << c.set;
    EXPECT_EQ(Mode(c.name), c.mode) << c.name << " set " << c.set;
  }
}

TEST_F(PosixFileSystemTest, CopyWithEveryEngineAndMoveKeepContentModeAndTime) {
  std::string big(5 * 512 * 1024 + 17, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 1000);
  Put("quelle.mdb", big, 0640);
  fs::last_write_time(Native("quelle.mdb"), fs::file_time_type(std::chrono::seconds(1234567890)));
  using Engine = PosixFileSystem::CopyEngine;
  for (const Engine engine : {Engine::kBest, Engine::kSendfile, Engine::kReadWrite}) {
    PosixFileSystem fs(engine);
    ASSERT_TRUE(fs.CopyFile(Win("quelle.mdb"), Win("ziel.mdb"), true, nullptr, &err_)) << err_;
    EXPECT_EQ(Get("ziel.mdb"), big);
    EXPECT_EQ(Mode("ziel.mdb"), 0640u);
    EXPECT_EQ(fs::last_write_time(Native("ziel.mdb")), fs::last_write_time(Native("quelle.mdb")));
  }
  EXPECT_FALSE(fs_.CopyFile(Win("quelle.mdb"), Win("QUELLE.mdb"), true, nullptr, &err_));
  EXPECT_EQ(Get("quelle.mdb"), big);
  ASSERT_TRUE(fs_.MoveFile(Win("ziel.mdb"), Win("ZIEL.MDB"), &err_)) << err_;  // only the letter case changes
  EXPECT_TRUE(fs::exists(Native("ZIEL.MDB")));
  if (!fs::is_directory("/dev/shm")) GTEST_SKIP() << "no second file system at /dev/shm";
  const std::string other = "/dev/shm/" + fs::path(tmp_.native()).filename().string();
  ASSERT_TRUE(fs_.MoveFile(Win("ZIEL.MDB"), NativeToWinPath(other), &err_)) << err_;
  EXPECT_FALSE(fs::exists(Native("ZIEL.MDB")));
  EXPECT_EQ(fs::file_size(other), big.size());
  fs::remove(other);
}

// A child stands for Access: it opens the lock file, maybe locks it, and waits to be killed.
TEST_F(PosixFileSystemTest, FileHeldWhileAnotherProcessHasItOpenOrLocked) {
  enum Hold { kOpen, kClassicLock, kOfdLock };
  for (Hold how : {kOpen, kClassicLock, kOfdLock}) {
    SCOPED_TRACE(how);
    Put("daten.ldb", "lock", 0644);
    std::string holder;
    EXPECT_FALSE(fs_.FileHeld(Win("daten.ldb"), &holder));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      struct flock lk = {.l_type = F_WRLCK, .l_whence = SEEK_SET, .l_start = 0, .l_len = 1, .l_pid = 0};
      if (const int fd = open(Native("daten.ldb").c_str(), O_RDWR); how != kOpen)
        fcntl(fd, how == kClassicLock ? F_SETLK : F_OFD_SETLK, &lk);
      (void)!write(ready[1], "x", 1);
      pause();
      _exit(0);
    }
    char c;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_TRUE(fs_.FileHeld(Win("DATEN.LDB"), &holder) && !holder.empty());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_FALSE(fs_.FileHeld(Win("daten.ldb"), &holder));
    EXPECT_TRUE(fs_.DeleteFile(Win("daten.ldb"), &err_)) << err_;
  }
  EXPECT_FALSE(fs_.FileHeld(Win("fehlt.ldb"), nullptr));
}

}  // namespace
}  // namespace krv
