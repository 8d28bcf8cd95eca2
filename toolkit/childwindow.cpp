// Child windows of the main window: image buttons and the status bar.
// Owns their table (position, size, shape, named properties), the status
// bar's part texts, and their drawing over the GL picture before the swap.
#include "childwindow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform.h"
#include "vitrum.h"

namespace {

constexpr LONGWORD first_child = 100;
constexpr int max_children = 64;
constexpr int max_props = 8;

struct property {
  char name[32];
  LONGWORD value;
};

struct child {
  bool alive;
  LONGINT id;
  TRECT rect;
  LONGWORD shape;
  property props[max_props];
};

checked_array<child, 0, max_children - 1> children{};

child* find(LONGWORD window) {
  if (window < first_child || window >= first_child + max_children) return nullptr;
  child& c = children[window - first_child];
  return c.alive ? &c : nullptr;
}

// Status bar: part texts and their rendered pictures, remade only when a
// text changes.
checked_array<checked_array<char, 0, 260>, 0, 19> part_text{};
checked_array<platform_bitmap, 0, 19> part_picture{};
checked_array<bool, 0, 19> part_stale{};

void client_size(LONGINT* width, LONGINT* height) {
  int x, y;
  platform_get_window_rect(&x, &y, width, height);
}

void fill(LONGINT left, LONGINT top, LONGINT right, LONGINT bottom, float r, float g, float b) {
  glColor3f(r, g, b);
  glRecti(left, top, right, bottom);
}

void draw_status_bar(LONGINT width, LONGINT bottom) {
  const LONGINT top = bottom - VTR_STATUS_HEIGHT;
  fill(0, top, width, bottom, 240 / 255.0f, 240 / 255.0f, 240 / 255.0f);
  fill(0, top, width, top + 1, 0.63f, 0.63f, 0.63f);
  const LONGINT parts = MAXSTATUSITEM > 0 ? MAXSTATUSITEM : 1;
  LONGINT left = 0;
  for (LONGINT part = 0; part < parts && part < 20; ++part) {
    // Right edges as set; -1 (or none) reaches the right border.
    LONGINT right = MAXSTATUSITEM > 0 ? EDGES[part + 1] : -1;
    if (right < 0 || right > width) right = width;
    if (right <= left) continue;
    fill(right - 1, top + 2, right, bottom - 2, 0.63f, 0.63f, 0.63f);
    if (part_stale[part]) {
      platform_render_text(part_text[part].data(), 10, &part_picture[part]);
      part_stale[part] = false;
    }
    const platform_bitmap& text = part_picture[part];
    if (text.width > 0 && text.height > 0) {
      const LONGINT shown = std::min<LONGINT>(text.width, right - left - 8);
      if (shown > 0) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, text.width);
        glRasterPos2i(left + 5, top + (VTR_STATUS_HEIGHT - text.height) / 2 + 1);
        glDrawPixels(shown, text.height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, text.pixels.data());
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glDisable(GL_BLEND);
      }
    }
    left = right;
  }
}

}  // namespace

LONGWORD vtr_create_image_button(LONGINT X, LONGINT Y, LONGINT WIDTH_, LONGINT HEIGHT_, LONGINT ID) {
  if (HWINDOW == 0) return 0;
  for (int i = 0; i < max_children; ++i) {
    if (children[i].alive) continue;
    children[i] = {};
    children[i].alive = true;
    children[i].id = ID;
    children[i].rect = {X, Y, X + WIDTH_, Y + HEIGHT_};
    const LONGWORD window = first_child + static_cast<LONGWORD>(i);
    HOVERBUTTONHANDLER(window, WM_CREATE, 0, 0);
    return window;
  }
  return 0;
}

bool vtr_is_child(LONGWORD window) { return find(window) != nullptr; }

void vtr_destroy_child(LONGWORD window) {
  child* c = find(window);
  if (!c) return;
  HOVERBUTTONHANDLER(window, WM_DESTROY, 0, 0);
  if (vtr_capture() == window) vtr_release_capture();
  vtr_region_delete(c->shape);
  c->alive = false;
}

void vtr_destroy_all_children() {
  for (int i = 0; i < max_children; ++i) vtr_destroy_child(first_child + static_cast<LONGWORD>(i));
}

std::size_t vtr_child_count() {
  std::size_t n = 0;
  for (int i = 0; i < max_children; ++i) n += children[i].alive;
  return n;
}

TRECT vtr_window_rect(LONGWORD window) {
  const child* c = find(window);
  return c ? c->rect : TRECT{0, 0, 0, 0};
}

LONGINT vtr_child_id(LONGWORD window) {
  const child* c = find(window);
  return c ? c->id : 0;
}

void vtr_move_window(LONGWORD window, LONGINT x, LONGINT y, LONGINT width, LONGINT height) {
  if (child* c = find(window)) c->rect = {x, y, x + width, y + height};
}

void vtr_set_window_region(LONGWORD window, LONGWORD region) {
  child* c = find(window);
  if (!c) {
    vtr_region_delete(region);
    return;
  }
  if (c->shape != region) vtr_region_delete(c->shape);
  c->shape = region;
}

LONGWORD vtr_window_region(LONGWORD window) {
  const child* c = find(window);
  return c ? c->shape : 0;
}

bool vtr_set_prop(LONGWORD window, const char* name, LONGWORD value) {
  child* c = find(window);
  if (!c || std::strlen(name) >= sizeof c->props[0].name) return false;
  property* free_slot = nullptr;
  for (property& p : c->props) {
    if (p.name[0] && std::strcmp(p.name, name) == 0) {
      p.value = value;
      return true;
    }
    if (!p.name[0] && !free_slot) free_slot = &p;
  }
  if (!free_slot) return false;
  std::snprintf(free_slot->name, sizeof free_slot->name, "%s", name);
  free_slot->value = value;
  return true;
}

LONGWORD vtr_get_prop(LONGWORD window, const char* name) {
  const child* c = find(window);
  if (!c) return 0;
  for (const property& p : c->props)
    if (p.name[0] && std::strcmp(p.name, name) == 0) return p.value;
  return 0;
}

LONGWORD vtr_remove_prop(LONGWORD window, const char* name) {
  child* c = find(window);
  if (!c) return 0;
  for (property& p : c->props) {
    if (p.name[0] && std::strcmp(p.name, name) == 0) {
      const LONGWORD value = p.value;
      p = {};
      return value;
    }
  }
  return 0;
}

LONGWORD vtr_route_pointer(LONGINT* lparam) {
  const LONGINT x = GET_X_LPARAM(*lparam), y = GET_Y_LPARAM(*lparam);
  LONGWORD target = vtr_capture();
  if (target == 0 && HSTATUS != 0) {
    // The status bar, drawn over everything, takes the pointer over its strip.
    LONGINT width, height;
    client_size(&width, &height);
    if (x >= 0 && x < width && y >= height - VTR_STATUS_HEIGHT && y < height) {
      *lparam = MAKELPARAM(x, y - (height - VTR_STATUS_HEIGHT));
      return HSTATUS;
    }
  }
  if (target == 0) {
    // The topmost child (the one made last) whose shape is under the point.
    for (int i = max_children - 1; i >= 0 && target == 0; --i) {
      const child& c = children[i];
      if (!c.alive || x < c.rect.LEFT || x >= c.rect.RIGHT || y < c.rect.TOP || y >= c.rect.BOTTOM) continue;
      if (c.shape == 0 || vtr_region_contains(c.shape, x - c.rect.LEFT, y - c.rect.TOP))
        target = first_child + static_cast<LONGWORD>(i);
    }
  }
  if (const child* c = find(target)) {
    *lparam = MAKELPARAM(x - c->rect.LEFT, y - c->rect.TOP);
    return target;
  }
  return HWINDOW;
}

void vtr_set_status_text(LONGINT PART, const char* TEXT) {
  std::snprintf(part_text[PART].data(), part_text[PART].size(), "%s", TEXT ? TEXT : "");
  part_stale[PART] = true;
}

const char* vtr_status_text(LONGINT PART) { return part_text[PART].data(); }

void vtr_draw_children() {
  if (vtr_child_count() == 0 && HSTATUS == 0) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  LONGINT width, height;
  client_size(&width, &height);
  glViewport(0, 0, width, height);
  glOrtho(0, width, height, 0, -1, 1);  // client pixels, y down
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.5f);
  // Images are drawn top row first, downwards from their top-left corner.
  glPixelZoom(1, -1);
  for (int i = 0; i < max_children; ++i)
    if (children[i].alive) HOVERBUTTONHANDLER(first_child + static_cast<LONGWORD>(i), WM_PAINT, 0, 0);
  glDisable(GL_ALPHA_TEST);
  if (HSTATUS != 0) draw_status_bar(width, height);
  glPixelZoom(1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}
