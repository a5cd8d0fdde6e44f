// POSIX only: the file store behind the registry: folders, file format,
// damaged files, rights, and safety against crashes and concurrent writers.
#include "platform/posix/FileRegistry_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <set>

#include "platform/RegFile.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> FolderEntries(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (const dirent* e = readdir(d)) {
      if (e->d_name[0] != '.') names.emplace_back(e->d_name);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
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
  std::string hklm() const { return machine() + "/HKEY_LOCAL_MACHINE.reg"; }
  FileRegistry Open() const { return FileRegistry(user(), machine()); }

  TempDir dir_;
};

TEST(ChooseRegistryFoldersTest, FollowsEnvironment) {
  struct Case {
    const char* registry_dir;
    const char* xdg;
    const char* home;
    const char* user;
    const char* machine;
  } cases[] = {
      {nullptr, nullptr, "/home/anna", "/home/anna/.config/korvella/registry", "/etc/korvella/registry"},
      {nullptr, "/cfg", "/home/anna", "/cfg/korvella/registry", "/etc/korvella/registry"},
      {nullptr, "relative/cfg", "/home/anna", "/home/anna/.config/korvella/registry", "/etc/korvella/registry"},
      {"/srv/reg", "/cfg", "/home/anna", "/srv/reg", "/srv/reg"},
  };
  for (const Case& c : cases) {
    const RegistryFolders f = ChooseRegistryFolders(c.registry_dir, c.xdg, c.home);
    EXPECT_EQ(f.current_user, c.user);
    EXPECT_EQ(f.machine, c.machine);
  }
}

TEST_F(FileRegistryTest, HiveFilesAreRegeditExportsNamedAfterTheirHive) {
  FileRegistry reg = Open();
  ASSERT_EQ(reg.WriteValue(Hive::CurrentUser, "Software\\Vantorel", "Pfad", RegValue::Sz("C:\\Ä"), nullptr),
            RegStatus::kOk);
  ASSERT_EQ(reg.WriteValue(Hive::LocalMachine, "Software", "", RegValue::Dword(5), nullptr), RegStatus::kOk);
  ASSERT_EQ(reg.CreateKey(Hive::Users, "Leer", nullptr), RegStatus::kOk);
  EXPECT_EQ(reg.HivePath(Hive::CurrentUser), hkcu());
  EXPECT_EQ(FolderEntries(user()), (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
  EXPECT_EQ(FolderEntries(machine()), (std::vector<std::string>{"HKEY_LOCAL_MACHINE.reg", "HKEY_LOCAL_MACHINE.reg.lock",
                                                                "HKEY_USERS.reg", "HKEY_USERS.reg.lock"}));
  const std::string expected =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER]\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Vantorel]\r\n"
      "\"Pfad\"=\"C:\\\\Ä\"\r\n\r\n";
  EXPECT_EQ(ReadFile(hkcu()), EncodeRegFile(expected, RegFormat::kUnicode5));
  EXPECT_EQ(ModeOf(user()), 0700u);
  EXPECT_EQ(ModeOf(hkcu()), 0600u);
  EXPECT_EQ(ModeOf(hklm()), 0644u);
}

TEST_F(FileRegistryTest, KeepsTheModeAndWritesThroughASymlink) {
  FileRegistry reg = Open();
  ASSERT_EQ(reg.WriteValue(Hive::CurrentUser, "K", "a", RegValue::Dword(1), nullptr), RegStatus::kOk);
  const std::string real = dir_.native() + "/elsewhere.reg";
  ASSERT_EQ(rename(hkcu().c_str(), real.c_str()), 0);
  ASSERT_EQ(symlink("../elsewhere.reg", hkcu().c_str()), 0);
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(reg.WriteValue(Hive::CurrentUser, "K", "b", RegValue::Dword(2), nullptr), RegStatus::kOk);
  struct stat st {};
  ASSERT_EQ(lstat(hkcu().c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(ModeOf(real), 0640u);
  EXPECT_NE(ReadFile(real).find(std::string("\"\0b\0\"\0=\0", 8)), std::string::npos);
}

TEST_F(FileRegistryTest, DamagedHiveIsReportedAndNeverOverwritten) {
  const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"gut\"=\"1\"\r\n";
  const struct {
    const char* what;
    std::string bytes;
    bool readable;    // "gut" can still be read
    const char* why;  // what CheckStores says after the file's name
  } cases[] = {
      {"no header", "Hallo\r\n", false, "): not a registry file"},
      {"bad line", head + "\"kaputt\"=dword:123456789\r\n", true, "): line 5: "},
      {"other hive", head + "[HKEY_LOCAL_MACHINE\\K]\r\n", true, "): line 5: key of HKEY_LOCAL_MACHINE"},
  };
  ASSERT_EQ(mkdir(user().c_str(), 0700), 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(hkcu(), c.bytes);
    FileRegistry reg = Open();
    std::string why;
    EXPECT_FALSE(reg.CheckStores(&why));
    EXPECT_TRUE(why.starts_with("ParseRegFile(" + hkcu() + c.why)) << why;
    std::string err;
    EXPECT_EQ(reg.WriteValue(Hive::CurrentUser, "K", "neu", RegValue::Sz("x"), &err), RegStatus::kFailed);
    EXPECT_EQ(err, why + "; the file is kept as it is and not written");
    RegOp create;
    create.key = "Neu";
    EXPECT_FALSE(ApplyRegOps(reg, {create}, nullptr));
    EXPECT_EQ(ReadFile(hkcu()), c.bytes);
    EXPECT_EQ(reg.ValueExists(Hive::CurrentUser, "K", "gut"), c.readable);
    // Once the file is repaired, the hive works again.
    WriteFile(hkcu(), head);
    EXPECT_EQ(reg.WriteValue(Hive::CurrentUser, "K", "neu", RegValue::Sz("x"), &err), RegStatus::kOk) << err;
    EXPECT_EQ(reg.ValueNames(Hive::CurrentUser, "K"), (std::vector<std::string>{"gut", "neu"}));
    EXPECT_TRUE(reg.CheckStores(&why));
  }
}

TEST_F(FileRegistryTest, MissingHiveFilesAreFineAndStayUntouched) {
  std::string why;
  EXPECT_TRUE(Open().CheckStores(&why)) << why;
  EXPECT_TRUE(FolderEntries(dir_.native()).empty());  // checking creates nothing

  FileRegistry homeless("", machine());
  std::string err;
  EXPECT_EQ(homeless.WriteValue(Hive::CurrentUser, "K", "v", RegValue::Dword(1), &err), RegStatus::kFailed);
  EXPECT_NE(err.find("HOME"), std::string::npos) << err;
}

TEST_F(FileRegistryTest, EveryWriteGetsALaterStampThanTheFileHad) {
  FileRegistry a = Open();
  ASSERT_EQ(a.WriteValue(Hive::CurrentUser, "K", "x", RegValue::Dword(0), nullptr), RegStatus::kOk);
  // A new version never carries an older or equal mtime, even when the clock
  // is behind the file, so equal stamps can only mean the same file.
  timespec future[2] = {{0, UTIME_OMIT}, {time(nullptr) + 3600, 5}};
  ASSERT_EQ(utimensat(AT_FDCWD, hkcu().c_str(), future, 0), 0);
  ASSERT_EQ(a.WriteValue(Hive::CurrentUser, "K", "x", RegValue::Dword(1), nullptr), RegStatus::kOk);
  struct stat st {};
  ASSERT_EQ(stat(hkcu().c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, future[1].tv_sec);
  EXPECT_EQ(st.st_mtim.tv_nsec, 6);
}

// Runs `body` in a child process as an unprivileged user (nobody when we are
// root) and returns its exit status.
int RunUnprivileged(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
}

TEST_F(FileRegistryTest, HiveTheUserMayNotWriteRefusesWithDenied) {
  {
    FileRegistry reg = Open();
    ASSERT_EQ(reg.WriteValue(Hive::LocalMachine, "K", "m", RegValue::Sz("root"), nullptr), RegStatus::kOk);
    ASSERT_EQ(reg.WriteValue(Hive::CurrentUser, "K", "u", RegValue::Sz("user"), nullptr), RegStatus::kOk);
  }
  const uid_t owner = geteuid() == 0 ? 65534 : geteuid();
  ASSERT_EQ(chmod(machine().c_str(), 0755), 0);
  ASSERT_EQ(chown(user().c_str(), owner, owner), 0);
  ASSERT_EQ(chown(hkcu().c_str(), owner, owner), 0);
  ASSERT_EQ(chmod(hkcu().c_str(), 0444), 0);  // folder writable, file not
  if (geteuid() != 0) {
    ASSERT_EQ(chmod(machine().c_str(), 0555), 0);
  }
  const std::string before_lm = ReadFile(hklm());
  const std::string before_cu = ReadFile(hkcu());
  const int result = RunUnprivileged([&] {
    FileRegistry reg = Open();
    std::string err;
    int failures = 0;
    RegValue v;
    if (reg.ReadValue(Hive::LocalMachine, "K", "m", &v, &err) != RegStatus::kOk || v.text != "root") failures |= 1;
    if (reg.WriteValue(Hive::LocalMachine, "K", "m", RegValue::Sz("x"), &err) != RegStatus::kDenied) failures |= 2;
    if (err.empty()) failures |= 4;
    if (reg.WriteValue(Hive::CurrentUser, "K", "u", RegValue::Sz("x"), &err) != RegStatus::kDenied) failures |= 32;
    return failures;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadFile(hklm()), before_lm);
  EXPECT_EQ(ReadFile(hkcu()), before_cu);
}

std::string FillerImport(int count) {
  std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Fill]\r\n";
  for (int i = 0; i < count; ++i) {
    text += "\"Füllwert " + std::to_string(i) + "\"=\"" + std::string(40, 'x') + "\"\r\n";
  }
  return text;
}

TEST_F(FileRegistryTest, WriterKilledAtRandomMomentsLosesNothingAcknowledged) {
  {
    // A big hive makes each write take long enough for kills to land inside it.
    RegParseResult parsed;
    ASSERT_TRUE(ParseRegFile(FillerImport(3000), &parsed, nullptr));
    FileRegistry reg = Open();
    ASSERT_TRUE(ApplyRegOps(reg, parsed.ops, nullptr));
  }
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  std::set<int> acknowledged;
  int next = 0;
  for (int round = 0; round < 25; ++round) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    const pid_t pid = fork();
    if (pid == 0) {
      close(fds[0]);
      FileRegistry reg = Open();
      for (int i = next;; ++i) {
        const RegValue value = i % 3 ? RegValue::Sz("Wert " + std::to_string(i)) : RegValue::Dword(i);
        const Hive hive = i % 4 == 3 ? Hive::LocalMachine : Hive::CurrentUser;
        if (reg.WriteValue(hive, "Fault", "v" + std::to_string(i), value, nullptr) != RegStatus::kOk) {
          _exit(3);
        }
        if (write(fds[1], &i, sizeof i) != sizeof i) _exit(4);
      }
    }
    close(fds[1]);
    int i = 0;
    // Every other round waits for a first write, so kills also land in writes
    // of a writer that has loaded the hive, whatever the machine's speed.
    if (round % 2 && read(fds[0], &i, sizeof i) == sizeof i) {
      acknowledged.insert(i);
      next = std::max(next, i + 1);
    }
    usleep(static_cast<useconds_t>(rng() % 80000));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "writer gave up with " << WEXITSTATUS(status);
    while (read(fds[0], &i, sizeof i) == sizeof i) {
      acknowledged.insert(i);
      next = std::max(next, i + 1);
    }
    close(fds[0]);

    FileRegistry check = Open();
    ASSERT_EQ(check.HiveProblem(Hive::CurrentUser), "") << "round " << round;
    ASSERT_EQ(check.HiveProblem(Hive::LocalMachine), "") << "round " << round;
    ASSERT_EQ(check.ValueNames(Hive::CurrentUser, "Fill").size(), 3000u);
    for (int n : acknowledged) {
      RegValue v;
      const Hive hive = n % 4 == 3 ? Hive::LocalMachine : Hive::CurrentUser;
      ASSERT_EQ(check.ReadValue(hive, "Fault", "v" + std::to_string(n), &v, nullptr), RegStatus::kOk)
          << "value " << n << " acknowledged but lost in round " << round;
      ASSERT_EQ(v, n % 3 ? RegValue::Sz("Wert " + std::to_string(n)) : RegValue::Dword(n));
    }
  }
  EXPECT_GE(acknowledged.size(), 12u);  // at least the waited-for writes
}

TEST_F(FileRegistryTest, ConcurrentWritersLoseNothing) {
  constexpr int kWriters = 3;
  constexpr int kValues = 40;
  // Folders not there yet, named with a trailing slash as users do: every
  // writer creates them, and each finds them made by itself or another.
  auto open = [&] { return FileRegistry(dir_.native() + "/neu/user/", dir_.native() + "/neu/machine/"); };
  std::vector<pid_t> pids;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = fork();
    if (pid == 0) {
      FileRegistry reg = open();
      for (int i = 0; i < kValues; ++i) {
        const std::string name = "w" + std::to_string(w) + "_" + std::to_string(i);
        if (reg.WriteValue(Hive::CurrentUser, "Concurrent", name, RegValue::Dword(i), nullptr) != RegStatus::kOk) {
          _exit(1);
        }
        if (i % 8 == 0 && reg.WriteValue(Hive::LocalMachine, "Concurrent\\w" + std::to_string(w), name,
                                         RegValue::Sz(name), nullptr) != RegStatus::kOk) {
          _exit(2);
        }
      }
      _exit(0);
    }
    pids.push_back(pid);
  }
  for (pid_t pid : pids) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  FileRegistry reg = open();
  EXPECT_EQ(reg.ValueNames(Hive::CurrentUser, "Concurrent").size(), static_cast<size_t>(kWriters * kValues));
  for (int w = 0; w < kWriters; ++w) {
    EXPECT_EQ(reg.ValueNames(Hive::LocalMachine, "Concurrent\\w" + std::to_string(w)).size(), 5u);
  }
}

}  // namespace
}  // namespace krv
