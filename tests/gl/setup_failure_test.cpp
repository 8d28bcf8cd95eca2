// Window set-up failures, made to happen for real: each shows its own text
// under the caption "Error" and ends the process with exit code 1. And a
// broken icon file, which costs the window its icon and nothing else.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "datagen.h"
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

TEST(WindowSetup, AnIconFileClaimingAHugeImageIsRefusedUnread) {
  // 4 kB that claim 30000 x 60000 pixels.
  std::vector<std::uint8_t> icon = ico_file(data_icon());
  for (int i = 0; i < 4; ++i) {
    icon[22 + 4 + i] = static_cast<std::uint8_t>(30000 >> (8 * i));
    icon[22 + 8 + i] = static_cast<std::uint8_t>(120000 >> (8 * i));
  }
  const std::string name = "/tmp/vtr-huge-" + std::to_string(getpid()) + ".ico";
  std::FILE* f = std::fopen(name.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(icon.data(), 1, icon.size(), f);
  std::fclose(f);
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  struct rusage before, after;
  getrusage(RUSAGE_SELF, &before);
  OGLWINDOWSETTING(FILECURSOR, name.c_str(), FILEICON, name.c_str());
  EXPECT_TRUE(WINDOWREGISTER());
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes";
  std::remove(name.c_str());
}

}  // namespace
