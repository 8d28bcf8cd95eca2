// The cube program: asks for full screen, opens the window, sets the render
// state, builds the scene and runs the frame loop until the window goes.
#include <cstdio>
#include <filesystem>
#include <string>

#include "frame.h"
#include "scene.h"
#include "vitrum.h"

namespace {

namespace fs = std::filesystem;

// True when FOLDER holds the program's data: its icon and its images.
bool holds_data(const fs::path& folder) {
  std::error_code error;
  return fs::is_regular_file(folder / "zoze.ico", error) &&
         fs::is_regular_file(folder / "immagini" / "colore.tga", error);
}

// The program reads its data by names relative to the working folder. When
// the folder it was started in does not hold them, it works from the first
// folder that does: its own (an unpacked archive, the build tree), then the
// installed data beside its binary folder (../share/zoze).
void find_data() {
  if (holds_data(".")) return;
  const std::string program = vtr_program_folder();
  if (!program.empty()) {
    const fs::path own(reinterpret_cast<const char8_t*>(program.c_str()));
    for (const fs::path& folder : {own, own / ".." / "share" / "zoze"}) {
      std::error_code error;
      if (holds_data(folder) && (fs::current_path(folder, error), !error)) return;
    }
  }
  std::fprintf(stderr, "Zoze di velak: images not found here, beside the program or in ../share/zoze\n");
}

}  // namespace

int main() {
  // Floating-point exceptions are masked by default on this platform, and
  // the GL and GLU entry points are bound by the dynamic linker.
  find_data();
  FULLSCREEN = vtr_message_box("Settare lo schermo intero?  ", "Video!", MB_YESNO | MB_ICONQUESTION) != IDNO;
  OGLWINDOWSETTING(ARROW, "", FILEICON, "zoze.ico");
  vtr_set_app_id("org.zozedivelak.zoze");
  CREATEOGLWINDOW("Zoze di velak v1.0", 800, 600, 32, FULLSCREEN);

  LONGINT screen_width = 0, screen_height = 0;
  vtr_screen_size(&screen_width, &screen_height);
  POSITIONWINDOW(screen_width / 2 - WIDTH / 2, screen_height / 2 - HEIGHT / 2);

  OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
  SETGLREFRACTIVE();
  SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
  OPENGL_CREATELIST();

  // Nothing moves by itself while no control is held: between events the
  // loop waits instead of drawing the same picture again. (The benchmark's
  // baseline build draws every frame, as the loop did before.)
#ifndef ZOZE_DRAW_EVERY_FRAME
  RESTWHENIDLE = true;
#endif
  do {
    glClear(GL_COLOR_BUFFER_BIT);
    SETGLMSG();
    OPENGL_DRAW();
    vtr_swap_buffers();
  } while (ACTIVE);

  DELETEOGLWINDOW();
  return 0;
}
