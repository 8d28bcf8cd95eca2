// Shaped image buttons: their window procedure, bitmap loading with
// palettes, and the region of a bitmap's opaque pixels.
// Owns the bitmap and palette tables. A button keeps its state in named
// properties of its window: three bitmaps, the hover region and the mode.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "bmp.h"
#include "internal.h"
#include "vitrum.h"

std::string BMPTYPE;

namespace {

struct bitmap {
  LONGINT width, height, bits;
  std::vector<std::uint32_t> pixels;  // rows top to bottom, blue in the low byte
  // What the screen shows of it in its window: alpha 0 outside the shape.
  std::vector<std::uint32_t> shown;
  LONGWORD shown_for = 0;  // the window whose shape made SHOWN
};

std::vector<std::unique_ptr<bitmap>> bitmaps;            // handle i + 1
std::vector<std::unique_ptr<LONGWORD[]>> palettes;       // handle i + 1, 256 entries

constexpr LONGINT mode_normal = 1, mode_hover = 2, mode_pressed = 3;

template <class T>
LONGWORD keep(std::vector<std::unique_ptr<T>>& table, std::unique_ptr<T> item) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (!table[i]) {
      table[i] = std::move(item);
      return static_cast<LONGWORD>(i + 1);
    }
  }
  table.push_back(std::move(item));
  return static_cast<LONGWORD>(table.size());
}

bitmap* find_bitmap(LONGWORD handle) {
  return handle >= 1 && handle <= bitmaps.size() ? bitmaps[handle - 1].get() : nullptr;
}

// Makes B as much larger as the main window's screen is scaled, each pixel
// repeated (the nearest one of the image for every pixel of the screen).
void scale_to_screen(bitmap& b) {
  const double scale = vtr_window_scale();
  if (scale == 1 || b.width == 0 || b.height == 0) return;
  const LONGINT width = vtr_scaled(b.width), height = vtr_scaled(b.height);
  std::vector<std::uint32_t> scaled(static_cast<std::size_t>(width) * height);
  for (LONGINT y = 0; y < height; ++y) {
    const LONGINT from_y = std::min<LONGINT>(static_cast<LONGINT>(y / scale), b.height - 1);
    for (LONGINT x = 0; x < width; ++x) {
      const LONGINT from_x = std::min<LONGINT>(static_cast<LONGINT>(x / scale), b.width - 1);
      scaled[static_cast<std::size_t>(y) * width + x] = b.pixels[static_cast<std::size_t>(from_y) * b.width + from_x];
    }
  }
  b.pixels = std::move(scaled);
  b.width = width;
  b.height = height;
}

// A drawing surface of FILE at the screen's scale: the bitmap, or an empty
// one when the file cannot be loaded, so that every state has a surface.
LONGWORD surface(const std::string& file) {
  LONGWORD palette = 0;
  LONGWORD b = LOADBMPFROMFILE(file, palette);
  vtr_delete_palette(palette);  // true-colour display: realised and done
  if (b == 0) b = keep(bitmaps, std::make_unique<bitmap>(bitmap{0, 0, 0, {}, {}, 0}));
  scale_to_screen(*find_bitmap(b));
  return b;
}

// The region of a surface's pixels that are not the transparent key
// colour, as BITMAPTOREGION makes it from a file; 0 for an empty surface.
LONGWORD shape_of(LONGWORD handle) {
  const bitmap* b = find_bitmap(handle);
  if (!b || b->width == 0 || b->height == 0) return 0;
  return vtr_region_from_pixels(b->pixels.data(), b->width, b->height, VTR_MAGENTA, 1);
}

void release(LONGWORD window, const char* property, bool is_region) {
  const LONGWORD value = vtr_remove_prop(window, property);
  if (value == 0) return;
  if (is_region) {
    vtr_region_delete(value);
  } else {
    vtr_delete_bitmap(value);
  }
}

}  // namespace

LONGWORD LOADBMPFROMFILE(const std::string& FILENAME, LONGWORD& PAL) {
  vtr_image loaded;
  if (!vtr_load_bmp(FILENAME.c_str(), &loaded)) return 0;
  if (loaded.bits <= 8) {
    auto entries = std::make_unique<LONGWORD[]>(256);
    vtr_palette_from_table(loaded.table.data(), loaded.table.size() / 4, entries.get());
    PAL = keep(palettes, std::move(entries));
  } else {
    PAL = 0;
  }
  return keep(bitmaps, std::make_unique<bitmap>(
                           bitmap{loaded.width, loaded.height, loaded.bits, std::move(loaded.pixels), {}, 0}));
}

LONGWORD BITMAPTOREGION(const std::string& BMPNAME, LONGWORD TRANSCOLOR, BYTE TOLERANCE) {
  LONGWORD palette = 0;
  const LONGWORD b = LOADBMPFROMFILE(BMPNAME, palette);
  if (b == 0) return 0;
  const bitmap* image = find_bitmap(b);
  const LONGWORD region = vtr_region_from_pixels(image->pixels.data(), image->width, image->height, TRANSCOLOR, TOLERANCE);
  vtr_delete_bitmap(b);
  vtr_delete_palette(palette);
  return region;
}

bool vtr_bitmap_size(LONGWORD handle, LONGINT* width, LONGINT* height) {
  const bitmap* b = find_bitmap(handle);
  if (!b) return false;
  *width = b->width;
  *height = b->height;
  return true;
}

void vtr_delete_bitmap(LONGWORD handle) {
  if (find_bitmap(handle)) bitmaps[handle - 1].reset();
}

void vtr_delete_palette(LONGWORD handle) {
  if (handle >= 1 && handle <= palettes.size()) palettes[handle - 1].reset();
}

std::size_t vtr_bitmap_count() {
  std::size_t n = 0;
  for (const auto& b : bitmaps) n += b != nullptr;
  return n;
}

std::size_t vtr_palette_count() {
  std::size_t n = 0;
  for (const auto& p : palettes) n += p != nullptr;
  return n;
}

void vtr_reset_image_buttons() {
  BMPTYPE.clear();
  bitmaps.clear();
  palettes.clear();
}

namespace {

// Draws bitmap HANDLE unscaled at the top-left corner of WINDOW, clipped to
// its rectangle and shape; during the window's paint.
void draw_bitmap(LONGWORD window, LONGWORD handle) {
  bitmap* b = find_bitmap(handle);
  if (!b || b->width == 0 || b->height == 0) return;
  const TRECT r = vtr_window_rect(window);
  if (b->shown_for != window || b->shown.empty()) {
    // Made once per bitmap and window: the pixels, hidden outside the shape.
    const LONGWORD shape = vtr_window_region(window);
    b->shown.resize(b->pixels.size());
    for (LONGINT y = 0; y < b->height; ++y)
      for (LONGINT x = 0; x < b->width; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * b->width + x;
        const bool inside = shape == 0 || vtr_region_contains(shape, x, y);
        b->shown[i] = (b->pixels[i] & 0x00FFFFFFu) | (inside ? 0xFF000000u : 0u);
      }
    b->shown_for = window;
  }
  // Unscaled from the top-left corner, clipped to the window's rectangle
  // and to the client area's top and left edges (GL draws no image whose
  // first pixel lies outside; the right and bottom edges clip by themselves).
  const LONGINT skip_x = std::max(0, -r.LEFT), skip_y = std::max(0, -r.TOP);
  const LONGINT width = std::min(b->width, r.RIGHT - r.LEFT) - skip_x;
  const LONGINT height = std::min(b->height, r.BOTTOM - r.TOP) - skip_y;
  if (width <= 0 || height <= 0) return;
  glPixelStorei(GL_UNPACK_ROW_LENGTH, b->width);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, skip_x);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, skip_y);
  glRasterPos2i(r.LEFT + skip_x, r.TOP + skip_y);
  glDrawPixels(width, height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, b->shown.data());
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

}  // namespace

namespace {
const bool class_registered = vtr_register_class(SZHOVERCLASS, HOVERBUTTONHANDLER);
}  // namespace

LONGWORD vtr_create_image_button(LONGINT X, LONGINT Y, LONGINT WIDTH_, LONGINT HEIGHT_, LONGINT ID) {
  const LONGWORD main = vtr_main_window();
  return main != 0 ? vtr_create_window(SZHOVERCLASS, main, vtr_scaled(X), vtr_scaled(Y), vtr_scaled(WIDTH_),
                                          vtr_scaled(HEIGHT_), ID)
                      : 0;
}

LONGINT HOVERBUTTONHANDLER(LONGWORD WND, LONGINT IMSG, LONGINT WPARAM, LONGINT LPARAM) {
  switch (IMSG) {
    case WM_CREATE: {
      const std::string normal = BMPTYPE + "N" + ".BMP";
      const LONGWORD normal_surface = surface(normal);
      LONGINT width = 0, height = 0;
      vtr_bitmap_size(normal_surface, &width, &height);
      // The size of the normal image; the requested position is kept.
      if (width > 0 && height > 0) {
        const TRECT r = vtr_window_rect(WND);
        vtr_move_window(WND, r.LEFT, r.TOP, width, height);
      }
      vtr_set_prop(WND, NORMALBMP, normal_surface);
      vtr_set_prop(WND, HOVERBMP, surface(BMPTYPE + "H" + ".BMP"));
      vtr_set_prop(WND, PRESSBMP, surface(BMPTYPE + "P" + ".BMP"));
      vtr_set_prop(WND, HOVERMODE, mode_normal);
      const LONGWORD shape = shape_of(normal_surface);
      if (shape == 0) return 0;
      vtr_set_window_region(WND, shape);
      vtr_set_prop(WND, BUTTONRGN, shape_of(normal_surface));
      return 0;
    }
    case WM_DESTROY:
      vtr_remove_prop(WND, HOVERMODE);
      release(WND, BUTTONRGN, true);
      release(WND, PRESSBMP, false);
      release(WND, HOVERBMP, false);
      release(WND, NORMALBMP, false);
      return 0;
    case WM_PAINT: {
      const LONGINT mode = static_cast<LONGINT>(vtr_get_prop(WND, HOVERMODE));
      const char* names[4] = {nullptr, NORMALBMP, HOVERBMP, PRESSBMP};
      if (mode >= mode_normal && mode <= mode_pressed) {
        if (const LONGWORD b = vtr_get_prop(WND, names[mode])) draw_bitmap(WND, b);
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      const LONGWORD hover = vtr_get_prop(WND, BUTTONRGN);
      const LONGINT mode = static_cast<LONGINT>(vtr_get_prop(WND, HOVERMODE));
      if (hover == 0 || mode == 0) return 0;
      if (vtr_region_contains(hover, GET_X_LPARAM(LPARAM), GET_Y_LPARAM(LPARAM))) {
        if (mode == mode_normal) {
          const bool button_held = (WPARAM & (MK_LBUTTON | MK_RBUTTON)) != 0;
          vtr_set_prop(WND, HOVERMODE, button_held ? mode_pressed : mode_hover);
          // Held so that the button hears when the pointer leaves it.
          vtr_set_capture(WND);
        }
      } else {
        vtr_set_prop(WND, HOVERMODE, mode_normal);
        vtr_release_capture();
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      vtr_set_capture(WND);
      vtr_set_prop(WND, HOVERMODE, mode_pressed);
      return 0;
    case WM_LBUTTONUP:
      if (vtr_get_prop(WND, HOVERMODE) == mode_pressed) vtr_post_message(vtr_parent(WND), WM_COMMAND, vtr_child_id(WND), 0);
      vtr_set_prop(WND, HOVERMODE, mode_normal);
      vtr_release_capture();
      return 0;
    case WM_CAPTURECHANGED:
      // The system took the pointer away: no release comes, nothing is
      // clicked.
      if (vtr_get_prop(WND, HOVERMODE) != 0) vtr_set_prop(WND, HOVERMODE, mode_normal);
      return 0;
    default:
      return vtr_def_window_proc(WND, IMSG, WPARAM, LPARAM);
  }
}
