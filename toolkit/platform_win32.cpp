// The platform layer on Win32 and WGL: the only toolkit file that includes
// windows.h. Owns the native window class "GLWindow", the window, its
// device and rendering contexts, the system cursors, the timers, and the
// messages the native window procedure hands over. Native messages reach
// the toolkit with their own numbers; texts cross the API as UTF-16,
// converted from and to the toolkit's UTF-8.
#include "win32_api.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform.h"
#include "winmsg.h"

namespace {

const wchar_t* const class_name = L"GLWindow";

HINSTANCE instance = nullptr;
bool initialised = false;
HWND window = nullptr;
HDC device = nullptr;
HGLRC context = nullptr;
DWORD window_style = 0;
HCURSOR cursors[17] = {};
std::deque<platform_message> arrived;  // from the window procedure: close, paint
std::vector<UINT_PTR> timers;
std::string last_error;
bool box_up = false;
bool shown = false;  // shown since it was made, once placed
bool releasing_capture = false;
bool fine_timer = false;  // timeBeginPeriod(1) in force
// What the program's icon looks like at the system's two sizes.
struct icon_pair {
  HICON big, small;
};
icon_pair file_icons{};

std::wstring wide(const char* text) {
  if (!text || !*text) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
  return out;
}

std::string narrow(const wchar_t* text) {
  if (!text || !*text) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

// What the system says of its last error, for a failure's reason.
const char* system_error(const char* what) {
  const DWORD code = GetLastError();
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  last_error = std::string(what) + " (error " + std::to_string(code) + (text ? ": " + narrow(text) : "") + ")";
  if (text) LocalFree(text);
  while (!last_error.empty() && (last_error.back() == '\n' || last_error.back() == '\r')) last_error.pop_back();
  return last_error.c_str();
}

// The native window procedure. Input is taken from the queue before it gets
// here; what arrives is the system's own traffic. A close request, a paint,
// a lost capture, a change of the monitor's scale and the end of the
// session become toolkit messages; the rest gets the default handling (the
// system menu, Alt+F4, the screen saver's and the monitor's requests).
LRESULT CALLBACK native_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      arrived.push_back({WM_CLOSE, 0, 0});
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The session ends: the frame loop takes the close path; under a box
      // nothing would take it, and the program ends at once, as a program
      // asked to end by a signal does elsewhere.
      if (wparam && box_up) ExitProcess(128 + 15);
      if (wparam) arrived.push_back({WM_CLOSE, 0, 0});
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      arrived.push_back({WM_PAINT, 0, 0});
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // GL paints every pixel
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      // Taken away by the system (another window, a lock, a foreground
      // change): not given back by the toolkit itself, nor taken again by
      // this window.
      if (!releasing_capture && !(message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lparam) == hwnd))
        arrived.push_back({WM_CAPTURECHANGED, 0, 0});
      return DefWindowProcW(hwnd, message, wparam, lparam);
    case WM_DPICHANGED: {
      // On a monitor of another scale: the system's rectangle first, then
      // the toolkit sizes the client area for the new scale. A full-screen
      // window keeps the screen.
      const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
      if (window_style & WS_CAPTION)
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      arrived.push_back({WM_DPICHANGED, static_cast<LONGINT>(LOWORD(wparam)), 0});
      return 0;
    }
    case WM_KILLFOCUS:
    case WM_SIZE:
      // Minimised, or another window has the keys: the pointer the window
      // held is the system's again, and its loss is reported below.
      if ((message == WM_KILLFOCUS || wparam == SIZE_MINIMIZED) && GetCapture() == hwnd) ReleaseCapture();
      return DefWindowProcW(hwnd, message, wparam, lparam);
    case WM_SYSCOMMAND:
      // Alt or F10 alone, or Alt with a key the system menu does not know,
      // would start the menu's keyboard loop, which holds the frame loop
      // until a key ends it: there is no menu bar to walk. Alt+Space still
      // opens the system menu; Alt+F4 closes.
      if ((wparam & 0xFFF0) == SC_KEYMENU && lparam != ' ') return 0;
      return DefWindowProcW(hwnd, message, wparam, lparam);
    default:
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

// The toolkit message of a queued native message, if it has one.
bool translate(const MSG& native, platform_message* out) {
  if (native.hwnd != window || !window) return false;
  switch (native.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_TIMER:
      *out = {static_cast<LONGINT>(native.message), static_cast<LONGINT>(native.wParam),
              static_cast<LONGINT>(native.lParam)};
      return true;
    default:
      return false;
  }
}

void dispatch(MSG& native) {
  TranslateMessage(&native);
  DispatchMessageW(&native);
}

// What a pixel format offers of the toolkit's demands.
bool meets_demands(int format) {
  PIXELFORMATDESCRIPTOR got{};
  if (format == 0 || DescribePixelFormat(device, format, sizeof got, &got) == 0) return false;
  return (got.dwFlags & PFD_DOUBLEBUFFER) && (got.dwFlags & PFD_SUPPORT_OPENGL) && got.iPixelType == PFD_TYPE_RGBA &&
         got.cDepthBits > 0;
}

// Sets the format closest to the request on the window's device context;
// false when that format lacks double buffering, RGBA or depth.
bool set_format(const platform_pixel_request& p) {
  PIXELFORMATDESCRIPTOR want{};
  want.nSize = sizeof want;
  want.nVersion = 1;
  want.dwFlags = PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (p.stereo ? PFD_STEREO : 0);
  want.iPixelType = PFD_TYPE_RGBA;
  want.cColorBits = 24;
  want.cAlphaBits = static_cast<BYTE>(p.alpha_bits);
  want.cAccumBits = static_cast<BYTE>(p.accum_bits);
  want.cDepthBits = static_cast<BYTE>(p.depth_bits > 24 ? p.depth_bits : 24);
  want.cStencilBits = static_cast<BYTE>(p.stencil_bits);
  want.iLayerType = PFD_MAIN_PLANE;
  const int format = ChoosePixelFormat(device, &want);
  return meets_demands(format) && SetPixelFormat(device, format, &want);
}

// The system's functions for monitors of their own scale, where it has them
// (Windows 10 from 1607 on); null on older systems, which have one scale.
template <class F>
F user32_function(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// An optional system library, from the system folder only: a file of that
// name beside the program is never loaded. (Systems too old to know the
// flag are searched by the system folder's full path.)
HMODULE system_library(const wchar_t* name) {
  if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  return LoadLibraryW((std::wstring(folder, n) + L"\\" + name).c_str());
}

// The scale of the window's monitor in pixels per inch.
UINT window_dpi() {
  static const auto for_window = user32_function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (window && for_window) return for_window(window);
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// The outer rectangle of a client rectangle, at the window's scale.
void outer_of(RECT* rect) {
  static const auto for_dpi = user32_function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  if (!(for_dpi && window && for_dpi(rect, window_style, FALSE, 0, window_dpi())))
    AdjustWindowRectEx(rect, window_style, FALSE, 0);
}

// True when WORD stands in the space-separated list NAMES.
bool has_word(const char* names, const char* word) {
  const std::size_t n = std::strlen(word);
  for (const char* p = std::strstr(names, word); p; p = std::strstr(p + 1, word))
    if ((p == names || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
  return false;
}

}  // namespace

bool platform_init(bool, const char** reason) {
  if (initialised) return true;
  instance = GetModuleHandleW(nullptr);
  // (The program declares itself aware of every monitor's scale in its
  // manifest, before any window or box exists.) A class for GL: a device
  // context of its own, no background painted under the picture, the arrow
  // until a cursor of the toolkit's is set.
  WNDCLASSW wc{};
  wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = native_procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = class_name;
  if (LOWORD(RegisterClassW(&wc)) == 0) {
    if (reason) *reason = "the window class could not be registered";
    return false;
  }
  initialised = true;
  return true;
}

// Windows matches a window to its shortcut by the program's file.
void platform_set_app_id(const char*) {}

const char* platform_program_folder() {
  static const std::string folder = [] {
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size()) return std::string();
    path.resize(n);
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string() : narrow(path.substr(0, slash).c_str());
  }();
  return folder.c_str();
}

LONGINT platform_message_box(const char* text, const char* caption, LONGWORD style) {
  // Owned by the main window once it exists: the box stays above it and
  // takes the keys typed there.
  box_up = true;
  const LONGINT answer = MessageBoxW(window, wide(text).c_str(), wide(caption).c_str(), style);
  box_up = false;
  return answer;
}

void* platform_system_cursor(LONGINT kind) {
  static const LPCWSTR shapes[17] = {nullptr,    IDC_ARROW,   IDC_IBEAM,  IDC_WAIT,    IDC_CROSS,   IDC_UPARROW,
                                     IDC_SIZE,   nullptr,     IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE, IDC_SIZENS,
                                     IDC_SIZEALL, IDC_NO,     IDC_HAND,   IDC_APPSTARTING, IDC_HELP};
  if (!cursors[kind]) cursors[kind] = LoadCursorW(nullptr, shapes[kind]);
  return cursors[kind];
}

// Cursors and icons from files live as long as the process.
void* platform_file_cursor(const char* file) {
  return file && *file ? LoadCursorFromFileW(wide(file).c_str()) : nullptr;
}

// The icon at the system's big and small sizes, each the file's image
// nearest that size; the program's own icon (its first resource) where the
// file cannot be read.
void* platform_file_icon(const char* file) {
  const std::wstring name = wide(file);
  const int sizes[2][2] = {{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)},
                           {GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)}};
  HICON loaded[2] = {};
  for (int i = 0; i < 2; ++i) {
    HANDLE image = nullptr;
    if (!name.empty()) image = LoadImageW(nullptr, name.c_str(), IMAGE_ICON, sizes[i][0], sizes[i][1], LR_LOADFROMFILE);
    if (!image) image = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, sizes[i][0], sizes[i][1], 0);
    loaded[i] = static_cast<HICON>(image);
  }
  if (!loaded[0] || !loaded[1]) return nullptr;
  file_icons = {loaded[0], loaded[1]};
  return &file_icons;
}

double platform_display_scale() {
  if (window) return window_dpi() / 96.0;
  // The monitor the window is made on: the one at the screen's corner.
  using for_monitor_fn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static HMODULE shcore = system_library(L"shcore.dll");
  const auto for_monitor =
      shcore ? reinterpret_cast<for_monitor_fn>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
             : nullptr;
  UINT x = 0, y = 0;
  if (for_monitor && for_monitor(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), 0, &x, &y) == S_OK && y > 0)
    return y / 96.0;
  return window_dpi() / 96.0;
}

bool platform_create_window(const char* title, int client_width, int client_height, bool borderless, void* cursor,
                            void* icon, const char** reason) {
  if (!initialised || window) {
    *reason = initialised ? "there is a window already" : "the platform has not started";
    return false;
  }
  // A captioned window that cannot be resized or maximised, or a pop-up
  // with a thin border covering the screen; sizes are those of the client
  // area.
  window_style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU |
                 (borderless ? WS_BORDER : WS_CAPTION | WS_MINIMIZEBOX);
  RECT outer = {0, 0, client_width, client_height};
  outer_of(&outer);
  window = CreateWindowExW(0, class_name, wide(title).c_str(), window_style, 0, 0, outer.right - outer.left,
                           outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
  if (!window) {
    *reason = system_error("CreateWindowExW failed");
    return false;
  }
  device = GetDC(window);
  if (!device) {
    *reason = system_error("GetDC failed");
    DestroyWindow(window);
    window = nullptr;
    arrived.clear();
    return false;
  }
  if (cursor) SetClassLongPtrW(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
  if (icon) {
    const icon_pair& icons = *static_cast<const icon_pair*>(icon);
    SetClassLongPtrW(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(icons.big));
    SetClassLongPtrW(window, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(icons.small));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.big));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.small));
  }
  // Shown once it is placed.
  shown = false;
  return true;
}

bool platform_set_pixel_format(const platform_pixel_request& pixels, const char** reason) {
  if (!device) {
    *reason = "no window";
    return false;
  }
  if (!set_format(pixels)) {
    *reason = "no pixel format with double buffering, RGBA and depth";
    return false;
  }
  return true;
}

bool platform_create_context(const char** reason) {
  context = wglCreateContext(device);
  if (!context) {
    *reason = system_error("wglCreateContext failed");
    return false;
  }
  if (!wglMakeCurrent(device, context)) {
    *reason = system_error("wglMakeCurrent failed");
    wglDeleteContext(context);
    context = nullptr;
    return false;
  }
  return true;
}

void platform_delete_context() {
  // No context current any more; harmless when there was none.
  wglMakeCurrent(nullptr, nullptr);
  if (context) wglDeleteContext(context);
  context = nullptr;
}

void platform_hide_window() {
  if (window) ShowWindow(window, SW_HIDE);
}

void platform_show_window() {
  if (!window) return;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  shown = true;
}

void platform_destroy_window() {
  if (!window) return;
  for (UINT_PTR id : timers) KillTimer(window, id);
  timers.clear();
  if (device) ReleaseDC(window, device);
  device = nullptr;
  DestroyWindow(window);
  window = nullptr;
}

bool platform_window_exists() { return window != nullptr; }

void platform_frame_size(int* left, int* top, int* right, int* bottom) {
  *left = *top = *right = *bottom = 0;
  if (!window) return;
  RECT outer = {0, 0, 0, 0};
  outer_of(&outer);
  *left = -outer.left;
  *top = -outer.top;
  *right = outer.right;
  *bottom = outer.bottom;
}

void platform_set_window_rect(int x, int y, int width, int height, bool raise) {
  if (!window) return;
  RECT outer = {0, 0, width, height};
  outer_of(&outer);
  SetWindowPos(window, HWND_TOP, x, y, outer.right - outer.left, outer.bottom - outer.top,
               raise && shown ? 0 : SWP_NOZORDER | SWP_NOACTIVATE);
}

void platform_work_area(int* x, int* y, int* width, int* height) {
  // The monitor the window is on, or the one it will be made on.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const HMONITOR on = window ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                             : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(on, &monitor)) area = monitor.rcWork;
  *x = area.left;
  *y = area.top;
  *width = area.right - area.left;
  *height = area.bottom - area.top;
}

void platform_get_window_rect(int* x, int* y, int* width, int* height) {
  *x = *y = *width = *height = 0;
  if (!window) return;
  RECT outer, client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  *x = outer.left;
  *y = outer.top;
  *width = client.right - client.left;
  *height = client.bottom - client.top;
}

void platform_set_title(const char* title) {
  if (window) SetWindowTextW(window, wide(title).c_str());
}

const char* platform_get_title() {
  static std::string title;
  wchar_t text[512] = {};
  if (window) GetWindowTextW(window, text, 512);
  title = narrow(text);
  return title.c_str();
}

void platform_screen_size(int* width, int* height) {
  *width = GetSystemMetrics(SM_CXSCREEN);
  *height = GetSystemMetrics(SM_CYSCREEN);
}

bool platform_set_swap_interval(int interval) {
  // Only a driver that lists the extension has the call; another may hand
  // out an entry point that does something else.
  using extensions_fn = const char*(WINAPI*)();
  using swap_interval_fn = BOOL(WINAPI*)(int);
  const auto listed = reinterpret_cast<extensions_fn>(reinterpret_cast<void*>(wglGetProcAddress("wglGetExtensionsStringEXT")));
  const char* names = listed ? listed() : nullptr;
  if (!names) names = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (!names || !has_word(names, "WGL_EXT_swap_control")) return false;
  const auto set = reinterpret_cast<swap_interval_fn>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
  return set && set(interval);
}

int platform_refresh_rate() {
  // The display settings of the window's monitor.
  MONITORINFOEXW monitor{};
  monitor.cbSize = sizeof monitor;
  const bool known = window && GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsW(known ? monitor.szDevice : nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 0;
  // 0 and 1 stand for the hardware's default rate.
  return mode.dmDisplayFrequency > 1 ? static_cast<int>(mode.dmDisplayFrequency) : 0;
}

void platform_swap() {
  if (!device) return;
  // A window nobody placed is shown where it was made.
  if (!shown) platform_show_window();
  SwapBuffers(device);
}

bool platform_take_message(platform_message* out) {
  if (!initialised) return false;
  for (;;) {
    if (!arrived.empty()) {
      *out = arrived.front();
      arrived.pop_front();
      return true;
    }
    MSG native;
    if (!PeekMessageW(&native, nullptr, 0, 0, PM_REMOVE)) return false;
    // A quit posted by the system (the toolkit keeps its own queue): the
    // program ends by its close path.
    if (native.message == WM_QUIT) {
      *out = {WM_CLOSE, 0, 0};
      return true;
    }
    if (translate(native, out)) {
      // System keys are the system's too: Alt+F4, Alt+Space.
      if (native.message == WM_SYSKEYDOWN || native.message == WM_SYSKEYUP) dispatch(native);
      return true;
    }
    // No toolkit message: the system handles it.
    dispatch(native);
  }
}

bool platform_take_motion(platform_message* out) {
  if (!initialised) return false;
  MSG native;
  platform_message message;
  while (arrived.empty() && PeekMessageW(&native, nullptr, 0, 0, PM_NOREMOVE)) {
    // A paint waits until nothing else is queued, as the system has it.
    if (native.message == WM_PAINT) return false;
    const bool has_message = translate(native, &message);
    if (has_message && message.message != WM_MOUSEMOVE) return false;
    PeekMessageW(&native, nullptr, native.message, native.message, PM_REMOVE);
    if (has_message) {
      *out = message;
      return true;
    }
    dispatch(native);
  }
  return false;
}

bool platform_message_pending() {
  MSG native;
  return initialised && (!arrived.empty() || PeekMessageW(&native, nullptr, 0, 0, PM_NOREMOVE));
}

void platform_wait_event() {
  if (!initialised || !arrived.empty()) return;
  // Input already queued ends the wait as well as what comes.
  MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void platform_set_capture(bool on) {
  if (!window) return;
  if (on) {
    SetCapture(window);
  } else {
    releasing_capture = true;
    ReleaseCapture();
    releasing_capture = false;
  }
}

bool platform_minimised() { return window && IsIconic(window); }

void platform_precise_sleeps(bool on) {
  if (on == fine_timer) return;
  fine_timer = on && timeBeginPeriod(1) == TIMERR_NOERROR;
  if (!on) timeEndPeriod(1);
}

bool platform_has_focus() { return window && GetForegroundWindow() == window; }

// The system's screen saver and monitor power requests get their default
// handling: nothing here holds the display awake.
bool platform_screen_saver_allowed() { return true; }

void platform_get_cursor_pos(int* x, int* y) {
  POINT p = {0, 0};
  GetCursorPos(&p);
  *x = p.x;
  *y = p.y;
}

void platform_set_cursor_pos(int x, int y) {
  if (initialised) SetCursorPos(x, y);
}

// The pointer is moved where it is asked to go: nothing to let go of.
void platform_release_pointer() {}

void platform_client_to_screen(int* x, int* y) {
  POINT p = {*x, *y};
  if (window) ClientToScreen(window, &p);
  *x = p.x;
  *y = p.y;
}

void platform_start_timer(LONGINT id, LONGINT ms) {
  if (!window) return;
  if (ms <= 0) {
    KillTimer(window, static_cast<UINT_PTR>(id));
    timers.erase(std::remove(timers.begin(), timers.end(), static_cast<UINT_PTR>(id)), timers.end());
    return;
  }
  SetTimer(window, static_cast<UINT_PTR>(id), static_cast<UINT>(ms), nullptr);
  // Restarting a timer replaces it: the list holds each once.
  if (std::find(timers.begin(), timers.end(), static_cast<UINT_PTR>(id)) == timers.end())
    timers.push_back(static_cast<UINT_PTR>(id));
}

std::size_t platform_timer_count() { return timers.size(); }

bool platform_render_text(const char* text, int point_size, double scale, vtr_image* out) {
  *out = {};
  const std::wstring line = wide(text);
  HDC surface = CreateCompatibleDC(nullptr);
  if (!surface) return false;
  // The system's status-bar font at the size asked for.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW face = metrics.lfStatusFont;
  face.lfHeight = -static_cast<LONG>(std::lround(point_size * 96 * scale / 72));
  face.lfQuality = ANTIALIASED_QUALITY;
  HFONT font = CreateFontIndirectW(&face);
  HGDIOBJ old_font = SelectObject(surface, font);
  SIZE extent = {0, 0};
  bool ok = font != nullptr;
  if (ok && !line.empty()) GetTextExtentPoint32W(surface, line.c_str(), static_cast<int>(line.size()), &extent);
  if (ok && extent.cx > 0 && extent.cy > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = extent.cx;
    info.bmiHeader.biHeight = -extent.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(surface, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ok = canvas != nullptr;
    if (ok) {
      // Black on white, then the darkness of each pixel as its alpha.
      HGDIOBJ old_canvas = SelectObject(surface, canvas);
      PatBlt(surface, 0, 0, extent.cx, extent.cy, WHITENESS);
      SetBkMode(surface, TRANSPARENT);
      SetTextColor(surface, RGB(0, 0, 0));
      TextOutW(surface, 0, 0, line.c_str(), static_cast<int>(line.size()));
      GdiFlush();
      const auto* drawn = static_cast<const std::uint32_t*>(bits);
      out->width = extent.cx;
      out->height = extent.cy;
      out->bits = 32;
      out->pixels.resize(static_cast<std::size_t>(extent.cx) * extent.cy);
      for (std::size_t i = 0; i < out->pixels.size(); ++i) {
        const std::uint32_t p = drawn[i];
        const std::uint32_t light = ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3;
        out->pixels[i] = (255 - light) << 24;
      }
      SelectObject(surface, old_canvas);
      DeleteObject(canvas);
    }
  }
  SelectObject(surface, old_font);
  if (font) DeleteObject(font);
  DeleteDC(surface);
  return ok;
}

void platform_push_mouse_motion(int x, int y, LONGINT held) {
  if (window) PostMessageW(window, WM_MOUSEMOVE, static_cast<WPARAM>(held), MAKELPARAM(x, y));
}

void platform_push_mouse_button(int button, bool down, int x, int y) {
  if (!window) return;
  const UINT message = button == 1   ? (down ? WM_LBUTTONDOWN : WM_LBUTTONUP)
                       : button == 2 ? (down ? WM_MBUTTONDOWN : WM_MBUTTONUP)
                                     : (down ? WM_RBUTTONDOWN : WM_RBUTTONUP);
  const WPARAM held = !down ? 0 : (button == 1 ? MK_LBUTTON : button == 2 ? MK_MBUTTON : MK_RBUTTON);
  PostMessageW(window, message, held, MAKELPARAM(x, y));
}

void platform_push_key(LONGINT position, bool down, LONGINT, bool num_lock, bool alt) {
  if (!window) return;
  // The system itself gives keys the virtual keys of its layout; what a
  // test can push is the key of a US layout, and the keypad's navigation
  // keys without NumLock.
  LONGINT vk = position;
  // 0 to 9, then the decimal point: Insert, End, Down, Next, Left, Clear,
  // Right, Home, Up, Prior, Delete.
  static const LONGINT navigation[11] = {0x2D, 0x23, 0x28, 0x22, 0x25, 0x0C, 0x27, 0x24, 0x26, 0x21, 0x2E};
  if (!num_lock && position >= VK_NUMPAD0 && position <= VK_NUMPAD9) vk = navigation[position - VK_NUMPAD0];
  if (!num_lock && position == VK_DECIMAL) vk = navigation[10];
  // With Alt held the system reports system keys, bit 29 of lParam set.
  const UINT message = alt || vk == VK_MENU || vk == VK_F10 ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP)
                                                            : (down ? WM_KEYDOWN : WM_KEYUP);
  const LPARAM flags = (down ? 1 : (1 | 3 << 30)) | (alt ? 1 << 29 : 0);
  PostMessageW(window, message, static_cast<WPARAM>(vk), flags);
}

void platform_push_expose() {
  if (window) InvalidateRect(window, nullptr, FALSE);
}

void platform_push_close_request() {
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
}

void platform_push_focus_lost() {
  if (window) PostMessageW(window, WM_KILLFOCUS, 0, 0);
}
