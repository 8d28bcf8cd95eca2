// Ending and starting again: every toolkit file puts back its own state, the
// window and its context first, while the others still hold theirs.
// Owns nothing.
#include "internal.h"

void vtr_reset() {
  vtr_reset_window();
  vtr_reset_runtime();
  vtr_reset_pump();
  vtr_reset_status_bar();
  vtr_reset_image_buttons();
  vtr_reset_picks();
  vtr_reset_render_state();
  vtr_reset_vertex_path();
  vtr_reset_textures();
}
