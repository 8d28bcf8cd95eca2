// The real frame in a hidden 800 x 600 window, drawn the way the program
// draws it (the cube's geometry compiled once into display lists) and the
// way it computes it anew every frame (the vertex path's edit mode with no
// slots, which sends every vertex as computed): for each, the time and the
// CPU a frame takes, the main thread's share of it, the immediate-mode
// calls it makes and the heap allocations; then how many pixels the two
// pictures differ in. Usage: frame_bench [FRAMES]
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "cube.h"
#include "frame.h"
#include "scene.h"

// Every heap allocation of the process, the GL driver's included.
namespace {
std::atomic<long> mallocs{0};
}

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* malloc(size_t n) {
  mallocs.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(n);
}
extern "C" void* calloc(size_t n, size_t m) {
  mallocs.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(n, m);
}
extern "C" void* realloc(void* p, size_t n) {
  mallocs.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, n);
}

// The immediate-mode calls of the program, counted on their way to GL.
namespace {
long immediate_calls = 0;
template <class F>
F next_gl(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
}  // namespace

#define COUNTED(name, params, args)                                    \
  extern "C" void name params {                                        \
    static const auto real = next_gl<void(*) params>(#name);           \
    ++immediate_calls;                                                 \
    real args;                                                         \
  }
COUNTED(glBegin, (GLenum mode), (mode))
COUNTED(glEnd, (), ())
COUNTED(glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
COUNTED(glNormal3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
COUNTED(glTexCoord2f, (GLfloat s, GLfloat t), (s, t))
COUNTED(glColor3f, (GLfloat r, GLfloat g, GLfloat b), (r, g, b))
COUNTED(glColor4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))

namespace {

double cpu_ms(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct figures {
  double wall_ms, process_ms, main_ms, calls, mallocs;
};

// FRAMES frames as the loop draws them, each finished before the next.
figures measure(int frames) {
  glFinish();
  const long calls0 = immediate_calls, mallocs0 = mallocs;
  const double process0 = cpu_ms(CLOCK_PROCESS_CPUTIME_ID), main0 = cpu_ms(CLOCK_THREAD_CPUTIME_ID);
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < frames; ++i) {
    glClear(GL_COLOR_BUFFER_BIT);
    OPENGL_DRAW();
    glFinish();
  }
  const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  return {wall / frames, (cpu_ms(CLOCK_PROCESS_CPUTIME_ID) - process0) / frames,
          (cpu_ms(CLOCK_THREAD_CPUTIME_ID) - main0) / frames, static_cast<double>(immediate_calls - calls0) / frames,
          static_cast<double>(mallocs - mallocs0) / frames};
}

std::vector<unsigned char> picture() {
  std::vector<unsigned char> p(800 * 600 * 3);
  glFinish();
  glReadBuffer(GL_FRONT);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, p.data());
  return p;
}

// Draws through the computing path (true) or the compiled one.
void computing(bool on) {
  GLVERT3FENABLEEDIT = on;
  GLBASEVERTEX3F.GLVERT3FSETNUM = 0;
  GLBASEVERTEX3F.GLVERT3FCOUNT = 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 1000;
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  if (chdir(ZOZE_SOURCE_DIR) != 0) return 1;
  OGLWINDOWSETTING(ARROW, "", GENERIC, "");
  CREATEOGLWINDOW("frame benchmark", 800, 600, 32, false);
  OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
  SETGLREFRACTIVE();
  SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
  OPENGL_CREATELIST();
  // A part-turned layer and a hovered control, as in play.
  ROTBLOCK.X[2] = 30;
  SETOMX = 704;
  SETOMY = 372;
  std::printf("frames: %d at 800 x 600 on %s\n", frames, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  std::printf("%-22s %9s %12s %12s %14s %12s\n", "", "wall ms", "CPU ms", "main ms", "immediate", "allocations");
  std::vector<unsigned char> pictures[2];
  // The two paths take turns, three rounds, best of each: the machine's
  // noise between runs is larger than what is measured.
  figures best[2] = {};
  for (int round = 0; round < 3; ++round) {
    for (int path = 0; path < 2; ++path) {
      computing(path == 1);
      measure(20);
      const figures f = measure(frames);
      if (round == 0 || f.process_ms < best[path].process_ms) best[path] = f;
      pictures[path] = picture();
    }
  }
  const char* names[2] = {"compiled once", "computed every frame"};
  for (int path = 0; path < 2; ++path)
    std::printf("%-22s %9.3f %12.3f %12.3f %14.1f %12.2f\n", names[path], best[path].wall_ms, best[path].process_ms,
                best[path].main_ms, best[path].calls, best[path].mallocs);
  long differing = 0;
  for (std::size_t i = 0; i < pictures[0].size(); i += 3)
    differing += pictures[0][i] != pictures[1][i] || pictures[0][i + 1] != pictures[1][i + 1] ||
                 pictures[0][i + 2] != pictures[1][i + 2];
  std::printf("immediate-mode calls, compiled / computed: %.2f %%\n", 100 * best[0].calls / best[1].calls);
  std::printf("pixels that differ between the two pictures: %ld of %d\n", differing, 800 * 600);
  if (const char* dump = std::getenv("FRAME_BENCH_DUMP")) {
    for (int path = 0; path < 2; ++path) {
      FILE* f = std::fopen((std::string(dump) + (path ? "-computed.ppm" : "-compiled.ppm")).c_str(), "wb");
      if (!f) continue;
      std::fprintf(f, "P6 800 600 255\n");
      for (int y = 599; y >= 0; --y) std::fwrite(&pictures[path][y * 2400], 1, 2400, f);
      std::fclose(f);
    }
  }
  computing(false);
  DELETEOGLWINDOW();
  return 0;
}
