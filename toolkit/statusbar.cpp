// The status bar: a child window docked along the bottom of the main
// window, in parts whose right edges the application sets, each with a
// text. It is drawn by the toolkit over the GL picture, the texts rendered
// by the platform's font only when they change.
// Owns the status bar's globals, its class, the part texts and their
// rendered pictures.
#include <algorithm>
#include <cstdio>

#include "internal.h"
#include "platform.h"
#include "vitrum.h"

LONGWORD HSTATUS = 0;
LONGWORD AWND = 0;
checked_array<char, 0, 260> FILENAME{};
checked_array<LONGINT, 1, 20> STATUSITEM{};
checked_array<LONGINT, 1, 20> EDGES{};
LONGINT MAXSTATUSITEM = 0;

namespace {

constexpr const char* status_class = "msctls_statusbar32";
constexpr LONGINT status_id = 30482;
constexpr int max_parts = 20;

checked_array<checked_array<char, 0, 260>, 0, max_parts - 1> part_text{};
checked_array<vtr_image, 0, max_parts - 1> part_picture{};
checked_array<bool, 0, max_parts - 1> part_stale{};
checked_array<double, 0, max_parts - 1> part_scale{};  // the scale each picture was made at

void fill(LONGINT left, LONGINT top, LONGINT right, LONGINT bottom, float r, float g, float b) {
  glColor3f(r, g, b);
  glRecti(left, top, right, bottom);
}

void draw_text(LONGINT part, LONGINT left, LONGINT right, LONGINT top, LONGINT height) {
  const double scale = vtr_window_scale();
  if (part_stale[part] || part_scale[part] != scale) {
    platform_render_text(part_text[part].data(), 10, scale, &part_picture[part]);
    part_stale[part] = false;
    part_scale[part] = scale;
  }
  const vtr_image& text = part_picture[part];
  const LONGINT shown = std::min<LONGINT>(text.width, right - left - vtr_scaled(8));
  if (text.height <= 0 || shown <= 0) return;
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, text.width);
  glRasterPos2i(left + vtr_scaled(5), top + (height - text.height) / 2 + 1);
  glDrawPixels(shown, text.height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, text.pixels.data());
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glDisable(GL_BLEND);
}

// The strip in the button-face grey, a line along its top, and each part
// with its separator and text.
void paint(LONGWORD window) {
  const TRECT r = vtr_window_rect(window);
  glDisable(GL_ALPHA_TEST);
  fill(r.LEFT, r.TOP, r.RIGHT, r.BOTTOM, 240 / 255.0f, 240 / 255.0f, 240 / 255.0f);
  fill(r.LEFT, r.TOP, r.RIGHT, r.TOP + 1, 0.63f, 0.63f, 0.63f);
  const LONGINT parts = MAXSTATUSITEM > 0 ? MAXSTATUSITEM : 1;
  LONGINT left = r.LEFT;
  for (LONGINT part = 0; part < parts && part < max_parts; ++part) {
    // Right edges as set, at 100 %; -1 (or none) reaches the right border.
    LONGINT right = MAXSTATUSITEM > 0 ? EDGES[part + 1] : -1;
    right = right < 0 ? r.RIGHT : std::min(vtr_scaled(right), r.RIGHT);
    if (right <= left) continue;
    fill(right - 1, r.TOP + 2, right, r.BOTTOM - 2, 0.63f, 0.63f, 0.63f);
    draw_text(part, left, right, r.TOP, r.BOTTOM - r.TOP);
    left = right;
  }
}

LONGINT status_procedure(LONGWORD window, LONGINT message, LONGINT wparam, LONGINT lparam) {
  switch (message) {
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_DESTROY:
      if (HSTATUS == window) HSTATUS = 0;
      if (AWND == window) AWND = 0;
      return 0;
    default:
      return vtr_def_window_proc(window, message, wparam, lparam);
  }
}

}  // namespace

LONGWORD CREATESTATUSBAR(LONGWORD PARENT) {
  std::snprintf(FILENAME.data(), FILENAME.size(), "%s", "Percorso file");
  if (!vtr_class_registered(status_class)) vtr_register_class(status_class, status_procedure);
  AWND = vtr_create_window(status_class, PARENT, 0, 0, 0, 0, status_id);
  if (AWND != 0) {
    vtr_dock_window(AWND, VTR_STATUS_HEIGHT);
    vtr_set_status_text(0, FILENAME.data());
    for (LONGINT i = 1; i <= MAXSTATUSITEM; ++i) EDGES[i] = STATUSITEM[i];
  }
  return AWND;
}

void vtr_set_status_text(LONGINT PART, const char* TEXT) {
  std::snprintf(part_text[PART].data(), part_text[PART].size(), "%s", TEXT ? TEXT : "");
  part_stale[PART] = true;
}

const char* vtr_status_text(LONGINT PART) { return part_text[PART].data(); }

void vtr_reset_status_bar() {
  HSTATUS = AWND = 0;
  FILENAME = {};
  STATUSITEM = {};
  EDGES = {};
  MAXSTATUSITEM = 0;
  part_text = {};
  part_picture = {};
  part_stale = {};
  part_scale = {};
}
