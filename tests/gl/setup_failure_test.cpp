// Window set-up failures, made to happen for real: each shows its own text
// under the caption "Error", says why on standard error in the platform's
// words, and ends the process with exit code 1. And a broken icon file,
// which costs the window its icon and nothing else.
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "datagen.h"
#ifndef _WIN32
#include "process_posix.h"
#endif
#include "support.h"
#include "vitrum.h"

namespace {

// Opens the window the way the program does, on the video driver DRIVER.
void open_with_and_return(const char* driver) {
  set_environment("SDL_VIDEODRIVER", driver);
  record_boxes();
  OGLWINDOWSETTING(ARROW, "", FILEICON, "zoze.ico");
  CREATEOGLWINDOW("Zoze di velak v1.0", 800, 600, 32, false);
}

void open_with(const char* driver) {
  open_with_and_return(driver);
  std::exit(3);  // not reached: creation either succeeds (and this says so) or ends the process
}

TEST(SetupFailureDeathTest, APlatformThatCannotStartFailsTheRegistration) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // No video driver of that name; on Windows, the window class taken.
  auto open_unstartable = [] {
    occupy_window_class("GLWindow");
    open_with("no-such-driver");
  };
  EXPECT_EXIT(open_unstartable(), ::testing::ExitedWithCode(1),
              "box \\[Error\\] Errore di registro per la rispettiva applicazione!");
  EXPECT_EXIT(open_unstartable(), ::testing::ExitedWithCode(1),
              "Error: Errore di registro per la rispettiva applicazione! \\(the platform could not start: \\w");
}

TEST(SetupFailureDeathTest, AWindowThatCannotBeMadeOrDrawnInFailsItsOwnStep) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // A second main window cannot be made.
  auto open_twice = [] {
    open_with_and_return("offscreen");
    open_with("offscreen");
  };
  EXPECT_EXIT(open_twice(), ::testing::ExitedWithCode(1),
              "Error: Impossibile creare la finestra per la rispettiva applicazione! \\(the window could not be made: \\w");
#ifndef _WIN32
  // A driver without GL makes the window but no pixel format for it.
  EXPECT_EXIT(open_with("dummy"), ::testing::ExitedWithCode(1),
              "box \\[Error\\] la rispettiva applicazione non è stata inizilizata!");
  EXPECT_EXIT(open_with("dummy"), ::testing::ExitedWithCode(1),
              "Error: la rispettiva applicazione non è stata inizilizata! \\(no pixel format could be chosen: \\w");
#endif
}

TEST(SetupFailureDeathTest, AWindowWithoutContextFailsTheInitialisation) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The menu-bar hook runs between the window's creation and its GL set-up;
  // taking the window away there leaves no surface for a context.
  auto window_gone_before_its_context = [] {
    SHOWMENUBAR = true;
    CREATEMENUBAR = DELETEOGLWINDOW;
    open_with("offscreen");
  };
  EXPECT_EXIT(window_gone_before_its_context(), ::testing::ExitedWithCode(1),
              "box \\[Error\\] la rispettiva applicazione non è stata inizilizata!");
}

#ifndef _WIN32
TEST(SignalsDeathTest, AHandlerOfTheProgramsOwnIsLeftToIt) {
  // SIGHUP handled by the program before its window is made reaches it.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::signal(SIGHUP, [](int) { std::_Exit(42); });
        open_with_and_return("offscreen");
        std::raise(SIGHUP);
      },
      ::testing::ExitedWithCode(42), "");
}

TEST(BoxLabels, SpeakTheMessagesLanguageInLettersTheCharacterSetHas) {
  // Messages' language, LC_CTYPE (C's ASCII, C.UTF-8's Unicode), the labels.
  set_environment("LC_ALL", nullptr);
  for (const auto& [messages, ctype, yes, no] : {std::array<std::string, 4>{"it_IT.UTF-8", "C.UTF-8", "Sì", "No"},
                                                 {"it_IT.UTF-8", "C", "Si", "No"}, {"pt_BR.UTF-8", "C", "Sim", "Nao"},
                                                 {"de_DE.UTF-8", "C", "Ja", "Nein"}, {"sv_SE", "C.UTF-8", "Yes", "No"}}) {
    set_environment("LC_MESSAGES", messages.c_str());
    set_environment("LC_CTYPE", ctype.c_str());
    const process_labels labels = process_yes_no_labels();
    EXPECT_EQ((std::array<std::string, 2>{labels.yes, labels.no}), (std::array{yes, no})) << messages << " in " << ctype;
  }
  set_environment("LC_MESSAGES", nullptr);
  set_environment("LC_CTYPE", nullptr);
  set_environment("LC_ALL", "C.UTF-8");
}
#endif

TEST(WindowSetup, AnIconFileClaimingAHugeImageIsRefusedUnread) {
  // 4 kB that claim 30000 x 60000 pixels.
  std::vector<std::uint8_t> icon = ico_file(data_icon());
  put32(icon, {{22 + 4, 30000}, {22 + 8, 120000}});
  const std::string name = temp_path("vtr-huge") + ".ico";
  ASSERT_TRUE(write_file(name, icon));
  set_environment("SDL_VIDEODRIVER", "offscreen");
  const long before = peak_memory_kb();
  OGLWINDOWSETTING(FILECURSOR, name.c_str(), FILEICON, name.c_str());
  EXPECT_TRUE(WINDOWREGISTER());
  EXPECT_LT(peak_memory_kb() - before, 64 * 1024) << "kilobytes";
  std::remove(name.c_str());
}

}  // namespace
