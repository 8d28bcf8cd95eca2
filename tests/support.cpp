// Test support on POSIX systems and on Windows.
#include "support.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <psapi.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

std::string temp_path(const std::string& name) {
  return (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))).string();
}

long peak_memory_kb() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#endif
}

void set_environment(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

void occupy_window_class(const char* name) {
#ifdef _WIN32
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
#else
  (void)name;
#endif
}

void answer_next_box(const char* caption) {
#ifdef _WIN32
  std::thread([name = std::string(caption)] {
    for (int i = 0; i < 500; ++i) {
      if (HWND box = FindWindowA("#32770", name.c_str())) {
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(10);
    }
  }).detach();
#else
  (void)caption;
#endif
}

bool make_fifo(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return false;
#else
  return mkfifo(path.c_str(), 0600) == 0;
#endif
}

bool make_pipe(int ends[2]) {
#ifdef _WIN32
  return _pipe(ends, 1 << 16, _O_BINARY) == 0;
#else
  return pipe(ends) == 0;
#endif
}

#ifdef _WIN32
namespace {
HWND test_window() { return FindWindowW(L"GLWindow", nullptr); }
}  // namespace

bool take_capture_away() {
  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (!other) return false;
  SetCapture(other);
  ReleaseCapture();
  DestroyWindow(other);
  return true;
}

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
bool take_capture_away() { return false; }
bool change_monitor_scale(int) { return false; }
bool minimise_test_window(bool) { return false; }
#endif
