// Window set-up failures, made to happen for real: each shows its own text
// under the caption "Error" and ends the process with exit code 1.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "vitrum.h"

namespace {

LONGINT print_box(const char* text, const char* caption, LONGWORD) {
  std::fprintf(stderr, "box [%s] %s\n", caption, text);
  return IDOK;
}

// Opens the window the way the program does, on the video driver DRIVER.
void open_with(const char* driver) {
  setenv("SDL_VIDEODRIVER", driver, 1);
  vtr_message_box_handler = print_box;
  OGLWINDOWSETTING(ARROW, "", FILEICON, "zoze.ico");
  CREATEOGLWINDOW("Zoze di velak v1.0", 800, 600, 32, false);
  std::exit(3);  // not reached: creation either succeeds (and this says so) or ends the process
}

TEST(SetupFailureDeathTest, NoVideoDriverFailsTheRegistration) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(open_with("no-such-driver"), ::testing::ExitedWithCode(1),
              "box \\[Error\\] Errore di registro per la rispettiva applicazione!");
}

TEST(SetupFailureDeathTest, ADriverWithoutGLFailsTheWindow) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(open_with("dummy"), ::testing::ExitedWithCode(1),
              "box \\[Error\\] Impossibile creare la finestra per la rispettiva applicazione!");
}

TEST(SetupFailureDeathTest, AWindowWithoutContextFailsTheInitialisation) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // No window of that handle exists: its context cannot be made.
  auto init_without_window = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    vtr_message_box_handler = print_box;
    if (!WINDOWREGISTER() || WINDOWINIT(HWINDOW)) std::exit(3);
    THROWERROR("la rispettiva applicazione non è stata inizilizata!");
  };
  EXPECT_EXIT(init_without_window(), ::testing::ExitedWithCode(1),
              "box \\[Error\\] la rispettiva applicazione non è stata inizilizata!");
}

}  // namespace
