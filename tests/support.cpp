// Test support on POSIX systems and on Windows.
#ifdef _WIN32
// windows.h first, as the toolkit's Win32 layer reads it: its BOOLEAN
// under another name, its constants standing in for the toolkit's.
#include "win32_api.h"
#include <psapi.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "support.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "vtrtypes.h"

std::string temp_path(const std::string& name) {
  return (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))).string();
}

bool write_file(const std::string& path, const bytes& content) {
  std::ofstream out(std::filesystem::u8path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
  return static_cast<bool>(out);
}

std::string temp_file(const bytes& content) {
  static int made = 0;
  const std::string path = temp_path("vtr-file-" + std::to_string(++made));
  write_file(path, content);
  return path;
}

bytes read_file(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void put32(bytes& f, std::size_t at, std::uint32_t v, bool big_endian) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (big_endian ? 24 - 8 * i : 8 * i));
}

void put32(bytes& f, std::initializer_list<std::pair<std::size_t, std::uint32_t>> fields, bool big_endian) {
  for (const auto& [at, v] : fields) put32(f, at, v, big_endian);
}

bytes tga_file(int type, int width, int height, int depth, const bytes& data) {
  bytes f = {0, 0, static_cast<std::uint8_t>(type), 0, 0, 0, 0, 0, 0, 0, 0, 0,
             static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8),
             static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(height >> 8),
             static_cast<std::uint8_t>(depth), 0};
  for (std::uint8_t b : data) f.push_back(b);
  return f;
}

std::vector<std::string> boxes_shown;

void record_boxes() {
  boxes_shown.clear();
  vtr_message_box_handler = [](const char* text, const char* caption, LONGWORD) -> LONGINT {
    std::fprintf(stderr, "box [%s] %s\n", caption, text);
    boxes_shown.push_back(std::string(caption) + ": " + text);
    return IDOK;
  };
}

void reset_cube() {
  INITCUBE();
  ROTBLOCK = {};
  ROTOFFSET = {0, 0, 0};
  SELLAYER = 2;
}

bool same_colour(const TGLRGB2& a, const TGLRGB2& b) { return a.R == b.R && a.G == b.G && a.B == b.B; }

bool same_colours(const TCUBES& a, const TCUBES& b) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        for (int s = 0; s < 6; ++s)
          if (!same_colour(a[i][j][k].SIDES[s], b[i][j][k].SIDES[s])) return false;
  return true;
}

const int slot_direction[6][3] = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}, {0, -1, 0}, {1, 0, 0}};
const char* const slot_colour[6] = {"white", "green", "orange", "red", "yellow", "blue"};

std::array<double, 3> turned(std::array<double, 3> v, int axis, double degrees) {
  const double a = degrees * 3.14159265358979323846 / 180, c = std::cos(a), s = std::sin(a);
  const int p = (axis + 1) % 3, q = (axis + 2) % 3;
  std::array<double, 3> r = v;
  r[p] = c * v[p] - s * v[q];
  r[q] = s * v[p] + c * v[q];
  return r;
}

// What the tests need of the system: one section for Windows, one for POSIX
// systems.
#ifdef _WIN32
long peak_memory_kb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

void set_environment(const char* name, const char* value) { _putenv_s(name, value ? value : ""); }

void occupy_window_class(const char* name) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

namespace {

// Presses OK on a box with that caption; false when there is none.
bool answer_box(const char* caption) {
  HWND box = FindWindowA("#32770", caption);
  return box && PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

bool make_fifo(const std::string&) { return false; }
bool make_pipe(int ends[2]) { return _pipe(ends, 1 << 16, _O_BINARY) == 0; }

namespace {
HWND test_window() { return FindWindowW(L"GLWindow", nullptr); }
}  // namespace

bool change_monitor_scale(int dpi) {
  HWND window = test_window();
  if (!window) return false;
  static int current = 96;
  RECT r;
  GetWindowRect(window, &r);
  RECT suggested = {r.left, r.top, r.left + (r.right - r.left) * dpi / current, r.top + (r.bottom - r.top) * dpi / current};
  current = dpi;
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  return true;
}

bool minimise_test_window(bool minimised) {
  HWND window = test_window();
  if (!window) return false;
  ShowWindow(window, minimised ? SW_MINIMIZE : SW_RESTORE);
  return true;
}
#else
long peak_memory_kb() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void set_environment(const char* name, const char* value) {
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

namespace {

// The tests draw nowhere, and their boxes go to standard error: there is
// never one to answer.
bool answer_box(const char*) { return false; }

}  // namespace
void occupy_window_class(const char*) {}
bool make_fifo(const std::string& path) { return mkfifo(path.c_str(), 0600) == 0; }
bool make_pipe(int ends[2]) { return pipe(ends) == 0; }
bool change_monitor_scale(int) { return false; }
bool minimise_test_window(bool) { return false; }
#endif

LONGINT answered_box(const char* caption, const std::function<LONGINT()>& show) {
  std::atomic<bool> shown = false;
  std::thread helper([&] {
    for (int i = 0; i < 500 && !shown; ++i) {
      if (answer_box(caption)) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (shown) return;
    std::fprintf(stderr, "The box \"%s\" was not answered within five seconds: nothing here sees it.\n", caption);
    std::_Exit(1);
  });
  const LONGINT answer = show();
  shown = true;
  helper.join();
  return answer;
}
