#include "base/cuAppError.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/cmnShowFatalError.h"
#include "testing/FakeDialogs.h"

namespace krv {
namespace {

const char kMsg207[] = "Die Komponente 'ErrorDLL' ist nicht korrekt registriert. Installieren Sie KORVELLA neu.";
const char kHelp[] = "C:\\Programme\\Korvella\\krvrun25.chm";
constexpr int32_t kStore = 1;  // a row that stores the error and raises it again after its handler

struct Pointer : MousePointerOwner {
  int value = kMousePointerDefault;
  int MousePointer() const override { return value; }
  void SetMousePointer(int pointer) override { value = pointer; }
};

// Records the pointers of screen and form while a box is up.
struct PointerDialogs : FakeDialogs {
  Pointer screen, form;
  std::vector<std::pair<int, int>> pointers_seen;
  int MessageBox(const std::string& text, const std::string& caption, int style) override {
    pointers_seen.emplace_back(screen.value, form.value);
    return FakeDialogs::MessageBox(text, caption, style);
  }
};

std::exception_ptr Pending(int32_t number, const char* source, const char* description, int32_t line = 0) {
  KrvError e(number, source, description);
  e.line = line;
  return std::make_exception_ptr(e);
}

// Runs `body` while `pending` is handled (outside any handler when null); returns what it raised.
template <typename F>
KrvError Handle(std::exception_ptr pending, F body) {
  try {
    if (!pending) return body(), KrvError();
    try {
      std::rethrow_exception(pending);
    } catch (...) {
      body();
    }
  } catch (const KrvError& e) {
    return e;
  }
  return {};
}

// Number, [source], description and, when set, ?help context and file.
std::string Show(const KrvError& e) {
  const std::string help = e.help_context ? " ?" + std::to_string(e.help_context) + " " + e.help_file : "";
  return std::to_string(e.number) + " [" + e.source + "] " + e.description + help;
}

class AppErrorTest : public ::testing::Test {
 protected:
  PointerDialogs dialogs;
  cuAppError err{dialogs, AppInfo{kAppTitle, kAppHelpFile, "C:\\Programme\\Korvella"}, &dialogs.screen};
};

TEST_F(AppErrorTest, MsgLoadFillsMessagesOfTheTableOrTheArray) {
  EXPECT_EQ(cuAppError::MsgParse("a@@b@@@@c"), "a\r\nb\r\n\r\nc");
  EXPECT_EQ(cuAppError::MsgParse("## x ## x ##", "a", {}, "c"), "a x ## x ##");  // stops at the first absent one
  // An argument's ## is filled by the next one; its @@ stays.
  EXPECT_EQ(cuAppError::MsgParse("[##] [##] ##", "<##>", "a@@b", 800), "[<a@@b>] [800] ##");
  EXPECT_EQ(err.MsgLoad(-102, "/Q"), "Der Parameter '/Q' ist unbekannt.");
  EXPECT_EQ(Show(Handle(nullptr, [&] { err.MsgLoad(124); })),
            "326 [KrvRun25] Ressource mit Bezeichner '124' nicht gefunden.");
  err.SetMsgArray(MsgArrayData{{"eins ##", "zwei", "drei"}, 1});
  EXPECT_EQ(err.MsgLoad(1, "x") + err.MsgLoad(-3), "eins xdrei");
  EXPECT_EQ(Show(Handle(nullptr, [&] { err.MsgLoad(-4); })),
            "-2147221503 [cuAppError: Z_LoadMsg] Unvorhergesehener Fehler.\r\nFür die Fehlernummer -4 wurde keine "
            "Meldung definiert.");
}

TEST_F(AppErrorTest, ErrRaiseAddsItsPlaceToTheSource) {
  const struct {
    std::exception_ptr pending;
    int32_t number, help;
    const char *source, *proc, *description;
    std::string want;
  } cases[] = {
      {nullptr, -207, 0, "cApp", "CheckActiveX", "", "-2147221711 [cApp: CheckActiveX] " + std::string(kMsg207)},
      {nullptr, -124, 0, "", "Proc", "", "-2147221628 [Proc] Keine Fehlerbeschreibung verfügbar."},  // not in the table
      {Pending(11, "KrvRun25", "Division"), 0, 0, "cApp", "Init", "", "11 [cApp: Init] Division"},   // our own source
      {Pending(429, "KrvLib25", "d"), 0, 0, "cApp", "", "", "429 [KrvLib25 | cApp] d"},
      {Pending(429, "Lib", "d"), 77, 0, "mCommon", "Copy", "## fehlt", "77 [Lib | mCommon: Copy] ErrorDLL fehlt"},
      {Pending(5, "Lib", "d", 120), 0, 4711, "cF", "Load", "",
       "5 [Lib | cF: Load (120)] d ?4711 " + std::string(kHelp)},
      {std::make_exception_ptr(std::runtime_error("kaputt")), 0, 0, "cC", "Read", "",
       "5 [cC: Read] Interner Fehler: kaputt"},
      {Pending(3021, "DAO", "d", 40), kStore, 0, "cBackup", "Do", "", "3021 [DAO | cBackup: Do (40)] d"},
  };
  for (const auto& c : cases) {
    if (c.number == kStore) Handle(c.pending, [&] { err.ErrStore(); });
    const KrvError raised = Handle(c.number == kStore ? nullptr : c.pending, [&] {
      if (c.number == kStore) err.ErrRaiseStored(c.source, c.proc);
      err.ErrRaise(c.number, c.source, c.proc, c.description, "ErrorDLL", {}, {}, {}, c.help);
    });
    EXPECT_EQ(Show(raised), c.want);
  }
  err.SetErrOffset(1000);
  EXPECT_EQ(Handle(nullptr, [&] { err.ErrRaise(-207, "cApp", "Check"); }).number, -2147221711 + 1000);
}

TEST_F(AppErrorTest, BoxesShowTheMessageTheErrorByLevelOrTheFatalError) {
  err.SetClientScreenObject(&dialogs.form);
  dialogs.screen.value = kMousePointerHourglass;
  dialogs.form.value = 13;
  dialogs.answers = {kIdNo};
  EXPECT_EQ(err.MsgShow(105, 36), kIdNo);
  EXPECT_TRUE(dialogs.shown[0].text.starts_with("Es läuft zur Zeit eine Access-Anwendung.\r\nWenn Sie"));
  // Default pointers while a box is up; MsgShow restores them afterwards, ErrMsg leaves the default.
  const std::pair<int, int> defaults(kMousePointerDefault, kMousePointerDefault);
  EXPECT_EQ(dialogs.pointers_seen.back(), defaults);
  EXPECT_EQ(std::make_pair(dialogs.screen.value, dialogs.form.value), std::make_pair(kMousePointerHourglass, 13));
  MsgBoxParams box{48, {}, {}, {}, 10};  // a help context adds the help button and file
  err.MsgShow(221, box);
  EXPECT_EQ(box.title + " " + box.help_file + " " + std::to_string(dialogs.shown.back().style),
            std::string(kAppTitle) + " " + kHelp + " 16432");

  Handle(Pending(429, "KrvLib25", "Objekterstellung nicht möglich", 3), [&] {
    for (int level : {2, 1, 0}) {
      err.SetErrLevel(level);
      err.ErrMsg("cApp", "Init", "", level == 1 ? 5 : -1);
    }
  });
  ASSERT_EQ(dialogs.shown.size(), 4u);  // level 0 shows nothing
  const std::string caption = "KORVELLA II.5 Startprogramm <Fehler Nr. 429>|";
  EXPECT_EQ(dialogs.shown[2].caption + "|" + dialogs.shown[2].text,
            caption + "Zeile: 3\r\nKrvLib25 | cApp: Init\r\n\r\nObjekterstellung nicht möglich");
  EXPECT_EQ(dialogs.shown[3].caption + "|" + dialogs.shown[3].text, caption + "Objekterstellung nicht möglich");
  EXPECT_EQ(dialogs.pointers_seen.back(), defaults);
  EXPECT_EQ(std::make_pair(dialogs.screen.value, dialogs.form.value), defaults);
  EXPECT_EQ(std::make_pair(dialogs.shown[2].style, dialogs.shown[3].style), std::make_pair(16, 16 + kMbHelp));

  Handle(Pending(-2147221711, "cuRunMDB: GetAccessPath", "Text"), [&] { cmnShowFatalError(dialogs, "T", "Main"); });
  Handle(Pending(53, "KrvRun25", "Datei nicht gefunden", 7),
         [&] { cmnShowFatalError(dialogs, "Titel", "Form_Load", "Eigener Text"); });
  ASSERT_EQ(dialogs.shown.size(), 6u);
  EXPECT_EQ(dialogs.shown[4].text, "Fehler Nr. -2147221711\r\nQuelle: cuRunMDB: GetAccessPath: Main\r\n\r\nText");
  EXPECT_EQ(dialogs.shown[4].style, kMbIconStop);
  EXPECT_EQ(dialogs.shown[5].text, "Fehler Nr. 53\r\nQuelle: KrvRun25: Form_Load (7)\r\n\r\nEigener Text");
}

}  // namespace
}  // namespace krv
