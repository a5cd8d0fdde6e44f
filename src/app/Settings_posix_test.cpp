// POSIX only: "krv25 /O" on a pseudo-terminal, with the rest of the
// installation faked: the days and the backend are changed by keys.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <thread>

#include "app/cApp.h"
#include "app/mGlobals.h"
#include "testing/PseudoTerminal_posix.h"
#include "testing/StarterHarness.h"
#include "ui/posix/UiHost_posix.h"

namespace krv {
namespace {

TEST(SettingsOnTerminalTest, DaysAndBackendChangedByKeys) {
  const struct {
    const char *keys, *key, *value_name, *value;
  } cases[] = {
      // Tab to the days, three backspaces, 45, Alt+O.
      {"\t\t\t\x7f\x7f\x7f"
       "45\x1bo",
       "Loader", "CheckLastSyncDate", "45"},
      // Enter opens the list, Down, Enter picks the second entry, Escape closes.
      {"\r\x1b[B\r\x1b", "Options", "BackendPath", "D:\\Archiv\\alt.mdb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value_name);
    Pty pty;
    PosixUiHost host(pty.slave(), pty.slave());
    StarterHarness h;
    h.env.ui = &host;
    h.fs.AddFile("D:\\Archiv\\alt.mdb", std::string("\0\1\0\0Standard Jet DB\0", 20));
    h.db.File("D:\\Archiv\\alt.mdb").Table("ADRESSEN");
    h.reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Loader\\RecentBackends", "File 2",
                    "D:\\Archiv\\alt.mdb");
    h.sys.command_line = "/O";
    mGlobals g(h.env);
    std::thread user([&] {
      if (!Eventually([&] { return Visible(pty.Output()).find("Updates") != std::string::npos; })) return;
      pty.Type(c.keys);
      // A dialog the keys did not close is closed by hanging up.
      if (!Eventually([&] { return pty.Restored(); }, [&] { pty.Output(); })) pty.HangUp();
    });
    EXPECT_EQ(Main(g), 0);
    user.join();
    RegValue v;
    h.reg.ReadValue(Hive::CurrentUser, std::string(kHarnessRoot) + "\\" + c.key, c.value_name, &v, nullptr);
    EXPECT_EQ(v.text, c.value) << Visible(pty.Output());
    EXPECT_TRUE(pty.Restored());
  }
}

}  // namespace
}  // namespace krv
#endif
