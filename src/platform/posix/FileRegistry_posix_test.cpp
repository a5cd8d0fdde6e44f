// POSIX only: the hive files: folders, format, damage, rights, crashes and concurrent writers.
#include "platform/posix/FileRegistry_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <set>

#include "platform/RegFile.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

class FileRegistryTest : public ::testing::Test {
 protected:
  std::string user() const { return dir_.native() + "/user"; }
  std::string machine() const { return dir_.native() + "/machine"; }
  std::string hkcu() const { return user() + "/HKEY_CURRENT_USER.reg"; }
  FileRegistry Open() const { return FileRegistry(user(), machine()); }
  RegStatus Write(FileRegistry& reg, Hive hive, const std::string& name, std::string* err = nullptr) {
    return reg.WriteValue(hive, "K", name, RegValue::Sz(name), err);
  }

  TempDir dir_;
};

TEST(ChooseRegistryFoldersTest, FollowsEnvironment) {
  for (const auto& [registry_dir, xdg, want] :
       {std::tuple<const char*, const char*, const char*>{nullptr, nullptr, "/home/anna/.config"},
        {nullptr, "relative/cfg", "/home/anna/.config"},
        {nullptr, "/cfg", "/cfg"},
        {"/srv/reg", "/cfg", nullptr}}) {
    const RegistryFolders f = ChooseRegistryFolders(registry_dir, xdg, "/home/anna");
    EXPECT_EQ(f.current_user + " " + f.machine,
              want ? std::string(want) + "/korvella/registry /etc/korvella/registry" : "/srv/reg /srv/reg");
  }
}

TEST_F(FileRegistryTest, HiveFilesAreRegeditExportsNamedAfterTheirHiveWithPrivateRights) {
  FileRegistry reg = Open();
  ASSERT_EQ(reg.WriteValue(Hive::CurrentUser, "Software\\V", "Pfad", RegValue::Sz("C:\\Ä"), nullptr), RegStatus::kOk);
  ASSERT_EQ(Write(reg, Hive::LocalMachine, "m"), RegStatus::kOk);
  RegParseResult parsed;  // a Unicode export, as regedit writes one
  EXPECT_TRUE(ReadFile(hkcu()).starts_with(std::string_view("\xFF\xFEW\0", 4)) &&
              ParseRegFile(ReadFile(hkcu()), &parsed, nullptr));
  EXPECT_EQ(parsed.ops.back().value, RegValue::Sz("C:\\Ä"));
  const std::vector<mode_t> modes = {ModeOf(user()), ModeOf(hkcu()), ModeOf(machine() + "/HKEY_LOCAL_MACHINE.reg")};
  EXPECT_EQ(modes, (std::vector<mode_t>{0700, 0600, 0644}));

  // A rewrite keeps the file's mode, writes through a symlink, and stamps a later
  // mtime even with the clock behind the file, so equal stamps mean the same file.
  const std::string real = dir_.native() + "/elsewhere.reg";
  ASSERT_EQ(rename(hkcu().c_str(), real.c_str()), 0);
  ASSERT_EQ(symlink("../elsewhere.reg", hkcu().c_str()), 0);
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  const timespec future[2] = {{0, UTIME_OMIT}, {time(nullptr) + 3600, 5}};
  ASSERT_EQ(utimensat(AT_FDCWD, real.c_str(), future, 0), 0);
  ASSERT_EQ(Write(reg, Hive::CurrentUser, "b"), RegStatus::kOk);
  struct stat st {};
  ASSERT_EQ(lstat(hkcu().c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(ModeOf(real), 0640u);
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec * 1000000000 + st.st_mtim.tv_nsec, future[1].tv_sec * 1000000000 + 6);
}

TEST_F(FileRegistryTest, MissingHiveIsFineDamagedIsReportedAndNeverOverwritten) {
  const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"gut\"=\"1\"\r\n";
  // The file's bytes, and what CheckStores says after the file's name.
  const std::pair<std::string, const char*> cases[] = {
      {"Hallo\r\n", "): not a registry file"},
      {head + "[HKEY_LOCAL_MACHINE\\K]\r\n", "): line 5: key of HKEY_LOCAL_MACHINE"},
  };
  std::string why, err;
  // Missing files are fine, and checking creates nothing.
  EXPECT_TRUE(Open().CheckStores(&why) && access(user().c_str(), F_OK) != 0) << why;
  FileRegistry homeless("", machine());
  EXPECT_EQ(Write(homeless, Hive::CurrentUser, "v", &err), RegStatus::kFailed);
  EXPECT_NE(err.find("HOME"), std::string::npos) << err;
  ASSERT_EQ(mkdir(user().c_str(), 0700), 0);
  for (const auto& [bytes, said] : cases) {
    SCOPED_TRACE(bytes);
    std::ofstream(hkcu(), std::ios::binary) << bytes;
    FileRegistry reg = Open();
    EXPECT_FALSE(reg.CheckStores(&why));
    EXPECT_TRUE(why.starts_with("ParseRegFile(" + hkcu() + said)) << why;
    EXPECT_EQ(Write(reg, Hive::CurrentUser, "neu", &err), RegStatus::kFailed);
    EXPECT_EQ(err, why + "; the file is kept as it is and not written");
    EXPECT_EQ(ReadFile(hkcu()), bytes);
    EXPECT_EQ(reg.ValueExists(Hive::CurrentUser, "K", "gut"), bytes.starts_with(head));  // what parsed still reads
    std::ofstream(hkcu(), std::ios::binary) << head;  // repaired, the hive works again
    EXPECT_EQ(Write(reg, Hive::CurrentUser, "neu", &err), RegStatus::kOk) << err;
  }
}

TEST_F(FileRegistryTest, HiveTheUserMayNotWriteRefusesWithDenied) {
  FileRegistry setup = Open();
  ASSERT_EQ(Write(setup, Hive::LocalMachine, "m"), RegStatus::kOk);
  ASSERT_EQ(Write(setup, Hive::CurrentUser, "u"), RegStatus::kOk);
  ASSERT_TRUE(geteuid() != 0 || chown(user().c_str(), 65534, 65534) == 0);
  ASSERT_EQ(chmod(hkcu().c_str(), 0444) | chmod(machine().c_str(), 0555), 0);  // user's folder writable, file not
  const pid_t pid = fork();
  if (pid == 0) {  // as nobody when we are root
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
    FileRegistry reg = Open();
    std::string err;
    _exit(!(reg.ValueExists(Hive::LocalMachine, "K", "m") &&
            Write(reg, Hive::LocalMachine, "m", &err) == RegStatus::kDenied && !err.empty() &&
            Write(reg, Hive::CurrentUser, "u", &err) == RegStatus::kDenied));
  }
  int status = -1;
  EXPECT_TRUE(waitpid(pid, &status, 0) == pid && status == 0) << status;
}

TEST_F(FileRegistryTest, ConcurrentWritersKilledAtRandomMomentsLoseNothingAcknowledged) {
  auto open = [&] { return FileRegistry(user() + "/", machine() + "/"); };  // new folders, made by any writer
  auto hive_of = [](int n) { return n % 4 == 3 ? Hive::LocalMachine : Hive::CurrentUser; };
  std::set<int> acknowledged;
  for (int round = 0; round < 20; ++round) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    pid_t pids[2];
    for (int w = 0; w < 2; ++w) {
      if ((pids[w] = fork()) == 0) {
        FileRegistry reg = open();
        for (int n = (round * 2 + w) * 100000;; ++n) {
          if (Write(reg, hive_of(n), std::to_string(n)) != RegStatus::kOk) _exit(3);
          if (write(fds[1], &n, sizeof n) != sizeof n) _exit(4);
        }
      }
    }
    close(fds[1]);
    pollfd first{fds[0], POLLIN, 0};  // kills come after a first acknowledged write, so some land in loaded writers
    poll(&first, 1, 10000);
    usleep(static_cast<useconds_t>(round * 4000));  // kills land all along a write
    for (pid_t pid : pids) {
      int status = kill(pid, SIGKILL);
      ASSERT_TRUE(waitpid(pid, &status, 0) == pid && WIFSIGNALED(status)) << "a writer gave up";
    }
    for (int n = 0; read(fds[0], &n, sizeof n) == sizeof n;) acknowledged.insert(n);
    close(fds[0]);
    FileRegistry check = open();
    ASSERT_TRUE(check.CheckStores(nullptr)) << "round " << round;
    for (int a : acknowledged) ASSERT_TRUE(check.ValueExists(hive_of(a), "K", std::to_string(a))) << a;
    // A big hive makes each later write long enough for kills to land inside it.
    if (round == 0) check.WriteValue(Hive::CurrentUser, "Fill", "", RegValue::Sz(std::string(300000, 'x')), nullptr);
  }
  EXPECT_GE(acknowledged.size(), 20u);
}

}  // namespace
}  // namespace krv
