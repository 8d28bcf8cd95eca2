// Regions as lists of rectangles, and region building from an image's
// opaque pixels. Owns the region table. Rectangles of a region never
// overlap when built from an image (runs of one row are disjoint, rows are
// distinct), so a union is the joined list.
#include "region.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

struct region {
  TRECT* rects;
  std::size_t count;
  TRECT bounds;
};

region** table = nullptr;  // slot i holds handle i + 1
std::size_t table_size = 0;

const TRECT empty_bounds = {INT32_MAX, INT32_MAX, 0, 0};

region* lookup(LONGWORD handle) {
  if (handle == 0 || handle > table_size) return nullptr;
  return table[handle - 1];
}

void grow_bounds(TRECT& b, const TRECT& r) {
  b.LEFT = std::min(b.LEFT, r.LEFT);
  b.TOP = std::min(b.TOP, r.TOP);
  b.RIGHT = std::max(b.RIGHT, r.RIGHT);
  b.BOTTOM = std::max(b.BOTTOM, r.BOTTOM);
}

LONGWORD store(region* r) {
  for (std::size_t i = 0; i < table_size; ++i) {
    if (!table[i]) {
      table[i] = r;
      return static_cast<LONGWORD>(i + 1);
    }
  }
  auto** bigger = static_cast<region**>(std::realloc(table, (table_size + 16) * sizeof(region*)));
  if (!bigger) return 0;
  table = bigger;
  std::fill(table + table_size, table + table_size + 16, nullptr);
  table[table_size] = r;
  table_size += 16;
  return static_cast<LONGWORD>(table_size - 15);
}

// The list of rectangles being collected, grown ALLOC_UNIT at a time.
struct rect_list {
  TRECT* rects = nullptr;
  LONGINT MAXRECTS = 0;
  LONGINT count = 0;
  TRECT bounds = empty_bounds;

  bool append(const TRECT& r) {
    if (count == MAXRECTS) {
      auto* bigger = static_cast<TRECT*>(std::realloc(rects, (MAXRECTS + ALLOC_UNIT) * sizeof(TRECT)));
      if (!bigger) return false;
      rects = bigger;
      MAXRECTS += ALLOC_UNIT;
    }
    grow_bounds(bounds, r);
    rects[count++] = r;
    return true;
  }
};

// Makes a region of the collected rectangles and unites it into RESULT (or
// makes it the result); the list starts again empty.
bool flush(rect_list& list, LONGWORD& result) {
  const LONGWORD part = vtr_region_create(list.rects, static_cast<std::size_t>(list.count));
  if (part == 0) return false;
  if (result == 0) {
    result = part;
  } else {
    const bool united = vtr_region_unite(result, part);
    vtr_region_delete(part);
    if (!united) return false;
  }
  list.count = 0;
  list.bounds = empty_bounds;
  return true;
}

}  // namespace

LONGWORD vtr_region_create(const TRECT* rects, std::size_t count) {
  auto* r = static_cast<region*>(std::malloc(sizeof(region)));
  if (!r) return 0;
  r->count = count;
  r->bounds = empty_bounds;
  r->rects = count ? static_cast<TRECT*>(std::malloc(count * sizeof(TRECT))) : nullptr;
  if (count && !r->rects) {
    std::free(r);
    return 0;
  }
  for (std::size_t i = 0; i < count; ++i) {
    r->rects[i] = rects[i];
    grow_bounds(r->bounds, rects[i]);
  }
  const LONGWORD handle = store(r);
  if (handle == 0) {
    std::free(r->rects);
    std::free(r);
  }
  return handle;
}

bool vtr_region_unite(LONGWORD target, LONGWORD source) {
  region* t = lookup(target);
  const region* s = lookup(source);
  if (!t || !s) return false;
  if (s->count == 0) return true;
  auto* joined = static_cast<TRECT*>(std::realloc(t->rects, (t->count + s->count) * sizeof(TRECT)));
  if (!joined) return false;
  std::memcpy(joined + t->count, s->rects, s->count * sizeof(TRECT));
  t->rects = joined;
  t->count += s->count;
  grow_bounds(t->bounds, s->bounds);
  return true;
}

void vtr_region_delete(LONGWORD handle) {
  region* r = lookup(handle);
  if (!r) return;
  std::free(r->rects);
  std::free(r);
  table[handle - 1] = nullptr;
}

bool vtr_region_contains(LONGWORD handle, LONGINT x, LONGINT y) {
  const region* r = lookup(handle);
  if (!r) return false;
  const TRECT& b = r->bounds;
  if (x < b.LEFT || x >= b.RIGHT || y < b.TOP || y >= b.BOTTOM) return false;
  for (std::size_t i = 0; i < r->count; ++i) {
    const TRECT& q = r->rects[i];
    if (x >= q.LEFT && x < q.RIGHT && y >= q.TOP && y < q.BOTTOM) return true;
  }
  return false;
}

const TRECT* vtr_region_rects(LONGWORD handle, std::size_t* count) {
  const region* r = lookup(handle);
  *count = r ? r->count : 0;
  return r ? r->rects : nullptr;
}

TRECT vtr_region_bounds(LONGWORD handle) {
  const region* r = lookup(handle);
  return r && r->count ? r->bounds : TRECT{0, 0, 0, 0};
}

std::size_t vtr_region_count() {
  std::size_t n = 0;
  for (std::size_t i = 0; i < table_size; ++i) n += table[i] != nullptr;
  return n;
}

LONGWORD vtr_region_from_pixels(const std::uint32_t* pixels, LONGINT width, LONGINT height, LONGWORD TRANSCOLOR,
                                BYTE TOLERANCE) {
  const int lr = TRANSCOLOR & 0xFF, lg = (TRANSCOLOR >> 8) & 0xFF, lb = (TRANSCOLOR >> 16) & 0xFF;
  const int hr = std::min(lr + TOLERANCE, 255), hg = std::min(lg + TOLERANCE, 255), hb = std::min(lb + TOLERANCE, 255);
  auto transparent = [&](std::uint32_t p) {
    const int b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
    return lr <= r && r <= hr && lg <= g && g <= hg && lb <= b && b <= hb;
  };

  rect_list list;
  LONGWORD result = 0;
  bool ok = true;
  for (LONGINT y = 0; ok && y < height; ++y) {
    const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
    for (LONGINT x = 0; ok && x < width; ++x) {
      const LONGINT x0 = x;
      while (x < width && !transparent(row[x])) ++x;
      if (x > x0) {
        ok = list.append({x0, y, x, y + 1});
        if (ok && list.count == REGION_BATCH) ok = flush(list, result);
      }
      // The transparent pixel that ended the run is skipped by the loop.
    }
  }
  // The rest, even none: a wholly transparent image is an empty region.
  if (ok) ok = flush(list, result);
  std::free(list.rects);
  if (!ok) {
    vtr_region_delete(result);
    return 0;
  }
  return result;
}

void vtr_palette_from_table(const BYTE* table_, std::size_t count, LONGWORD palette[256]) {
  count = std::min<std::size_t>(count, 256);
  for (std::size_t i = 0; i < 256; ++i) {
    if (i < count) {
      const BYTE* q = table_ + i * 4;
      palette[i] = q[2] | (LONGWORD{q[1]} << 8) | (LONGWORD{q[0]} << 16);
    } else {
      palette[i] = 0;
    }
  }
}
