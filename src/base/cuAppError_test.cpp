#include "base/cuAppError.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/MessageTable.h"
#include "base/Text.h"
#include "base/cmnShowFatalError.h"
#include "testing/FakeDialogs.h"

namespace krv {
namespace {

const char kMsg207Filled[] = "Die Komponente 'ErrorDLL' ist nicht korrekt registriert. Installieren Sie KORVELLA neu.";

struct Pointer : MousePointerOwner {
  int value = kMousePointerDefault;
  int MousePointer() const override { return value; }
  void SetMousePointer(int pointer) override { value = pointer; }
};

// Records the pointers while a box is up.
struct PointerDialogs : FakeDialogs {
  Pointer* screen = nullptr;
  Pointer* client = nullptr;
  std::vector<std::pair<int, int>> pointers_seen;
  int MessageBox(const std::string& text, const std::string& caption, int style) override {
    pointers_seen.emplace_back(screen ? screen->value : -1, client ? client->value : -1);
    return FakeDialogs::MessageBox(text, caption, style);
  }
};

class AppErrorTest : public ::testing::Test {
 protected:
  AppErrorTest() : err(dialogs, AppInfo{kAppTitle, kAppHelpFile, "C:\\Programme\\Korvella"}, &screen) {
    dialogs.screen = &screen;
  }

  // Runs `body` and returns the KrvError it raised; fails the test if none.
  template <typename F>
  KrvError Raised(F body) {
    try {
      body();
    } catch (const KrvError& e) {
      return e;
    }
    ADD_FAILURE() << "nothing raised";
    return {};
  }

  Pointer screen;
  PointerDialogs dialogs;
  cuAppError err;
};

TEST(MsgParseTest, FillsPlaceholdersInOrderAfterLineBreaks) {
  const MsgArg none;
  struct Case {
    const char* text;
    MsgArg a1, a2, a3, a4;
    const char* expected;
  } cases[] = {
      {"a@@b@@@@c", none, none, none, none, "a\r\nb\r\n\r\nc"},
      {"## x ##", "800", none, none, none, "800 x ##"},        // a second ## stays
      {"## x ## x ##", "a", none, "c", none, "a x ## x ##"},   // stops at the first absent one
      {"Wert: ##", "a@@b", none, none, none, "Wert: a@@b"},    // @@ of an argument stays
      {"[##] [##]", "<##>", "in", none, none, "[<in>] [##]"},  // an argument's ## is filled next
      {"## / ##", 800, -1, none, none, "800 / -1"},            // numbers as text
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cuAppError::MsgParse(c.text, c.a1, c.a2, c.a3, c.a4), c.expected) << c.text;
  }
}

TEST(MessageTableTest, HoldsExactlyTheProgramsIds) {
  std::vector<int32_t> expected;
  for (int32_t id = 101; id <= 227; ++id) {
    if (id != 124) expected.push_back(id);
  }
  for (int32_t id = 500; id <= 504; ++id) expected.push_back(id);
  EXPECT_EQ(MessageIds(), expected);
  EXPECT_EQ(FindMessage(124), nullptr);
}

TEST_F(AppErrorTest, EveryMessageLoadsAsValidText) {
  for (const int32_t id : MessageIds()) {
    const std::string text = err.MsgLoad(id);
    EXPECT_FALSE(text.empty()) << id;
    EXPECT_EQ(text.find("@@"), std::string::npos) << id;
    // Umlauts must arrive as UTF-8 on every compiler.
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text) << id;
  }
  EXPECT_NE(err.MsgLoad(103).find("l\xC3\xA4uft"), std::string::npos);
  EXPECT_EQ(err.MsgLoad(-102, "/X"), err.MsgLoad(102, "/X"));  // the sign is ignored

  EXPECT_EQ(err.MsgLoad(102, "/Q"), "Der Parameter '/Q' ist unbekannt.");
  EXPECT_EQ(err.MsgLoad(146, 800, 600),
            "KORVELLA benötigt eine Minmal-Bildschirmauflösung von 1024 x 768.\r\n"
            "Das Programm kann in der aktuellen Auflösung von 800 x 600 nicht ausgerführt werden.");
}

TEST_F(AppErrorTest, MissingMessagesFail) {
  const KrvError missing = Raised([&] { err.MsgLoad(124); });
  EXPECT_EQ(missing.number, kErrResourceNotFound);
  EXPECT_NE(missing.description.find("124"), std::string::npos);

  err.SetMsgArray(MsgArrayData{{"eins ##", "zwei", "drei"}, 1});
  EXPECT_EQ(err.MsgLoad(1, "x"), "eins x");
  EXPECT_EQ(err.MsgLoad(-3), "drei");
  for (const int32_t id : {0, 4}) {
    const KrvError e = Raised([&] { err.MsgLoad(-id); });
    EXPECT_EQ(e.number, kErrNoMessage) << id;
    EXPECT_EQ(e.source, "cuAppError: Z_LoadMsg");
    EXPECT_EQ(e.description, "Unvorhergesehener Fehler.\r\nFür die Fehlernummer " + std::to_string(-id) +
                                 " wurde keine Meldung definiert.");
  }
}

TEST_F(AppErrorTest, MsgShowUsesMessageCaptionAndReturnsAnswer) {
  dialogs.answers = {kIdNo};
  EXPECT_EQ(err.MsgShow(105, 36), kIdNo);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].caption, "KORVELLA II.5 Startprogramm");
  EXPECT_EQ(dialogs.shown[0].style, 36);
  EXPECT_TRUE(dialogs.shown[0].text.starts_with("Es läuft zur Zeit eine Access-Anwendung.\r\nWenn Sie"));

  // A help context adds the help button and the program's help file.
  MsgBoxParams box;
  box.buttons = 48;
  box.help_context = 10;
  err.MsgShow(221, box);
  EXPECT_EQ(box.help_file, "C:\\Programme\\Korvella\\krvrun25.chm");
  EXPECT_EQ(box.buttons, 48 + kMbHelp);
  EXPECT_EQ(dialogs.shown.back().style, 48 + kMbHelp);
}

TEST_F(AppErrorTest, PointersAreDefaultDuringBoxesAndRestoredByMsgShowOnly) {
  Pointer form;
  dialogs.client = &form;
  err.SetClientScreenObject(&form);
  screen.value = kMousePointerHourglass;
  form.value = 13;
  err.MsgShow(221, 64);
  EXPECT_EQ(dialogs.pointers_seen.back(), std::make_pair(kMousePointerDefault, kMousePointerDefault));
  EXPECT_EQ(screen.value, kMousePointerHourglass);
  EXPECT_EQ(form.value, 13);

  try {
    throw KrvError(9, "x", "y");
  } catch (...) {
    err.ErrMsg("cApp", "Init");
  }
  EXPECT_EQ(dialogs.pointers_seen.back(), std::make_pair(kMousePointerDefault, kMousePointerDefault));
  EXPECT_EQ(screen.value, kMousePointerDefault);  // ErrMsg leaves the default
  EXPECT_EQ(form.value, kMousePointerDefault);
}

TEST_F(AppErrorTest, ErrRaiseOfAMessageNumbersAndFillsIt) {
  const KrvError e = Raised([&] { err.ErrRaise(-207, "cApp", "CheckActiveX", "", "ErrorDLL"); });
  EXPECT_EQ(e.number, -2147221711);
  EXPECT_EQ(e.source, "cApp: CheckActiveX");
  EXPECT_EQ(e.description, kMsg207Filled);

  err.SetErrOffset(1000);
  EXPECT_EQ(Raised([&] { err.ErrRaise(-207, "cApp", "CheckActiveX"); }).number, -2147221711 + 1000);
  // A message the table lacks still raises, with the fallback description.
  const KrvError unknown = Raised([&] { err.ErrRaise(-124, "", "Proc"); });
  EXPECT_EQ(unknown.description, "Keine Fehlerbeschreibung verfügbar.");
  EXPECT_EQ(unknown.source, "Proc");
}

TEST_F(AppErrorTest, ErrRaiseComposesSource) {
  struct Case {
    KrvError pending;
    int32_t number;
    const char *source, *proc, *description;
    int32_t want_number;
    const char *want_source, *want_description;
  } cases[] = {
      // A pending error of the program itself carries no foreign source.
      {{11, "KrvRun25", "Division durch Null"}, 0, "cApp", "Init", "", 11, "cApp: Init", "Division durch Null"},
      {{429, "KrvLib25", "d"}, 0, "cApp", "Init", "", 429, "KrvLib25 | cApp: Init", "d"},
      {{429, "KrvLib25", "d"}, 0, "cApp", "", "", 429, "KrvLib25 | cApp", "d"},
      {{429, "", ""}, 0, "", "", "", 429, "", "Keine Fehlerbeschreibung verfügbar."},
      // An own number and description replace the pending ones; arguments fill it.
      {{429, "KrvLib25", "d"},
       77,
       "mCommon",
       "Copy",
       "Datei ## fehlt",
       77,
       "KrvLib25 | mCommon: Copy",
       "Datei ## fehlt"},
  };
  for (const Case& c : cases) {
    const KrvError e = Raised([&] {
      try {
        throw c.pending;
      } catch (...) {
        err.ErrRaise(c.number, c.source, c.proc, c.description);
      }
    });
    EXPECT_EQ(e.number, c.want_number) << c.want_source;
    EXPECT_EQ(e.source, c.want_source);
    EXPECT_EQ(e.description, c.want_description);
    EXPECT_EQ(e.line, 0);
  }
}

TEST_F(AppErrorTest, ErrRaiseAddsLineAndHelp) {
  KrvError pending(5, "KrvLib25", "d");
  pending.line = 120;
  const KrvError e = Raised([&] {
    try {
      throw pending;
    } catch (...) {
      err.ErrRaise(0, "frmLoader", "pubInit", "", {}, {}, {}, {}, 4711);
    }
  });
  EXPECT_EQ(e.source, "KrvLib25 | frmLoader: pubInit (120)");
  EXPECT_EQ(e.help_context, 4711);
  EXPECT_EQ(e.help_file, "C:\\Programme\\Korvella\\krvrun25.chm");
}

TEST_F(AppErrorTest, ForeignExceptionsBecomeNumberedErrors) {
  const KrvError e = Raised([&] {
    try {
      throw std::runtime_error("kaputt");
    } catch (...) {
      err.ErrRaise(0, "cCompCheck", "ReadList");
    }
  });
  EXPECT_EQ(e.number, kErrInvalidCall);
  EXPECT_EQ(e.source, "cCompCheck: ReadList");
  EXPECT_EQ(e.description, "Interner Fehler: kaputt");
}

// Three procedures with handlers, the innermost failing with a message, shown
// at the top as the user reads it.
void GetAccessPath(cuAppError& err) { err.ErrRaise(-207, "cuRunMDB", "GetAccessPath", "", "ErrorDLL"); }
void CheckAccess(cuAppError& err) {
  try {
    GetAccessPath(err);
  } catch (...) {
    err.ErrRaise(0, "frmLoader", "CheckAccess");
  }
}
void LoadKRV(cuAppError& err) {
  try {
    CheckAccess(err);
  } catch (...) {
    err.ErrRaise(0, "cApp", "LoadKRV");
  }
}

TEST_F(AppErrorTest, SourceGrowsThroughThreeProceduresToTheFatalBox) {
  try {
    LoadKRV(err);
    ADD_FAILURE() << "nothing raised";
  } catch (...) {
    cmnShowFatalError(dialogs, kAppTitle, "Main", "", &screen);
  }
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text,
            "Fehler Nr. -2147221711\r\n"
            "Quelle: cuRunMDB: GetAccessPath | frmLoader: CheckAccess | cApp: LoadKRV: Main"
            "\r\n\r\n" +
                std::string(kMsg207Filled));
  EXPECT_EQ(dialogs.shown[0].style, kMbIconStop);
}

TEST_F(AppErrorTest, FatalBoxWithOwnDescriptionAndLine) {
  KrvError pending(53, "KrvRun25", "Datei nicht gefunden");
  pending.line = 7;
  try {
    throw pending;
  } catch (...) {
    cmnShowFatalError(dialogs, "Titel", "Form_Load", "Eigener Text");
  }
  EXPECT_EQ(dialogs.shown[0].text, "Fehler Nr. 53\r\nQuelle: KrvRun25: Form_Load (7)\r\n\r\nEigener Text");
}

TEST_F(AppErrorTest, StoredErrorIsRaisedAfterCleanup) {
  KrvError pending(3021, "DAO.Recordset", "Kein aktueller Datensatz.");
  pending.line = 40;
  KrvError e = Raised([&] {
    try {
      throw pending;
    } catch (...) {
      err.ErrStore();
    }
    // Clean-up whose own error is handled must not replace the stored one.
    try {
      throw std::runtime_error("Aufräumen");
    } catch (...) {
    }
    err.ErrRaiseStored("cAutoBackup", "DoBackup");
  });
  EXPECT_EQ(e.number, 3021);
  EXPECT_EQ(e.source, "DAO.Recordset | cAutoBackup: DoBackup (40)");
  EXPECT_EQ(e.description, "Kein aktueller Datensatz.");
}

TEST_F(AppErrorTest, ErrorTextByLevel) {
  KrvError pending(429, "KrvLib25", "Objekterstellung nicht möglich");
  pending.line = 3;
  const std::string caption = "KORVELLA II.5 Startprogramm <Fehler Nr. 429>";
  std::string level2, level1, level0;
  try {
    throw pending;
  } catch (...) {
    level2 = err.ErrString("cApp", "Init");
    err.ErrMsg("cApp", "Init");
    err.SetErrLevel(1);
    level1 = err.ErrString("cApp", "Init");
    err.ErrMsg("cApp", "Init", "", 5);
    err.SetErrLevel(0);
    level0 = err.ErrString("cApp", "Init");
    err.ErrMsg("cApp", "Init");
  }
  EXPECT_EQ(level2, caption + "\r\nZeile: 3\r\nKrvLib25 | cApp: Init\r\n\r\nObjekterstellung nicht möglich");
  EXPECT_EQ(level1, caption + "\r\nObjekterstellung nicht möglich");
  EXPECT_EQ(level0, "\r\n");
  ASSERT_EQ(dialogs.shown.size(), 2u);  // level 0 shows nothing
  EXPECT_EQ(dialogs.shown[0].caption, caption);
  EXPECT_EQ(dialogs.shown[0].style, kMbIconStop);
  EXPECT_EQ(dialogs.shown[1].style, 16400);
}

}  // namespace
}  // namespace krv
