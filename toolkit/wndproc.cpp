// The main window procedure, the message pump and the mouse-driven view.
// Owns the input state: key table, pointer positions, button flags, drag
// anchors, view angles and distance, free-look, the frame-rate read-out,
// and what the pump needs to know to let a frame rest. Input changes only
// inside GLWNDPROC, with two exceptions: SETGLMOUSEMOVE sets MSPEED, and
// the application gives XROT, YROT and DEPTH their start values.
#include <cmath>
#include <cstdio>
#include <string>

#include "internal.h"
#include "platform.h"
#include "vitrum.h"

BOOLEAN ACTIVE = false;
checked_array<LONGINT, 0, 500> SETKEY{};
LONGINT SETMX = 0, SETMY = 0;
LONGINT SETOMX = 0, SETOMY = 0;
BOOLEAN LEFTMOUSEDOWN = false, RIGHTMOUSEDOWN = false;
BOOLEAN LEFTMOUSEDOWN2 = false, RIGHTMOUSEDOWN2 = false;
LONGINT XCOORD = 0, YCOORD = 0, ZCOORD = 0;
SINGLE XROT = 0, YROT = 0, DEPTH = 0;
SINGLE XROT2 = 0, YROT2 = 0, DEPTH2 = 0;
TPOINT MPOS = {0, 0};
LONGINT MSPEED = 0;
LONGINT FPSCOUNT = 0;
LONGINT FORCEFPS = 1;
LONGINT ADDFORCEFPS = 0;
BOOLEAN VIEWFPS = false;
BOOLEAN RESTWHENIDLE = false;
TMSG MSG_ = {};
VTRPROCEDURE CREATEMOUSEMENU = nullptr;
VTRINPUTCOMMAND GETINPUTCOMMAND = nullptr;

namespace {

constexpr LONGINT key_true = -1;

// What the frame in progress did that the next one may have to show. The
// first frame is drawn whatever happens.
bool frame_took_message = true;
bool frame_picks_changed = false;
// An item of a menu was pressed at the last frame's picks: it acts in
// every frame, picked or not.
bool item_pressed = false;
bool frame_picked = false;
// Whether the frame in progress may show another picture than the one
// before, as far as the toolkit knows; the first always does (a window
// that was never drawn may get no uncovering to say so).
bool frame_may_differ = true;
bool first_frame = true;
// Says whether the hover picks would change at the pointer's present
// position; null until a menu has picked.
bool (*hover_changed)() = nullptr;

// True when the frame just drawn left nothing that the next could draw
// differently, nor any pressed item that counts frames.
bool frame_at_rest() {
  if (!RESTWHENIDLE) return false;
  // Minimised, nothing that is drawn can be seen.
  if (platform_minimised()) return true;
  return !frame_took_message && !frame_picks_changed && !item_pressed && !MOUSEFREE && !VIEWFPS;
}

// Adds INCREMENT to a single-precision angle, the sum carried in double.
void add(SINGLE& value, double increment) { value = static_cast<SINGLE>(value + increment); }

SINGLE limit60(SINGLE value) { return value > 60 ? 60.0f : (value < -60 ? -60.0f : value); }

void pointer_moved(LONGINT x, LONGINT y) {
  SETOMX = x;
  SETOMY = y;
  if (LEFTMOUSEDOWN) {
    // With MSPEED 2 one pixel is one degree: vertical motion turns about X,
    // horizontal motion about Y.
    const double dx = static_cast<double>(y - YCOORD) / 2 * MSPEED;
    const double dy = static_cast<double>(x - XCOORD) / 2 * MSPEED;
    add(XROT, dx);
    add(YROT, dy);
    add(XROT2, dx);
    add(YROT2, dy);
    XCOORD = x;
    YCOORD = y;
  }
  if (RIGHTMOUSEDOWN && !MOUSEFREE) {
    const double dz = static_cast<double>(y - ZCOORD) / 10 * MSPEED;
    add(DEPTH, -dz);
    add(DEPTH2, -dz);
    ZCOORD = y;
  }
  if (MOUSEFREE && platform_has_focus()) {
    // Free-look holds the pointer at a fixed screen point and turns the view
    // by how far it strayed: horizontal drives XROT, vertical YROT.
    platform_get_cursor_pos(&MPOS.X, &MPOS.Y);
    platform_set_cursor_pos(WIDTH / 2, HEIGHT / 2);
    const double dx = static_cast<double>(MPOS.X - WIDTH / 2) / 100 * MSPEED;
    const double dy = static_cast<double>(HEIGHT / 2 - MPOS.Y) / 100 * MSPEED;
    add(XROT, dx);
    add(YROT, -dy);
    YROT = limit60(YROT);
    add(XROT2, dx);
    add(YROT2, -dy);
    YROT2 = limit60(YROT2);
  }
}

void refresh_frame_rate() {
  const LONGINT frames = checked_mul(checked_mul(FORCEFPS, 1000), FPSCOUNT);
  FPSCOUNT = static_cast<LONGINT>(std::nearbyint(frames / 5000.0));  // halves to even
  if (ADDFORCEFPS > 1) {
    if (FPSCOUNT < ADDFORCEFPS) FORCEFPS = checked_add(FORCEFPS, 1);
    if (FPSCOUNT > ADDFORCEFPS) FORCEFPS = checked_add(FORCEFPS, -1);
  }
  if (FPSCOUNT < 1) FPSCOUNT = 1;
  const std::string title = std::string(SETTITLENAME ? SETTITLENAME : "") + " - FPS [" + std::to_string(FPSCOUNT) + "]";
  platform_set_title(title.c_str());
  FPSCOUNT = 0;
}

// A button's release. The capture is given back once no button is held:
// the other button's release must still reach the window.
void left_released() {
  LEFTMOUSEDOWN = false;
  LEFTMOUSEDOWN2 = false;
  XCOORD = YCOORD = SETMX = SETMY = 0;
  if (!RIGHTMOUSEDOWN) vtr_release_capture();
}

void right_released() {
  RIGHTMOUSEDOWN = false;
  RIGHTMOUSEDOWN2 = false;
  if (!LEFTMOUSEDOWN) vtr_release_capture();
}

// A pointer motion over the main window itself with no button held: at rest
// it changes nothing on the screen but, perhaps, the menus' hover flags.
bool bare_motion(const TMSG& m) {
  return m.MESSAGE == WM_MOUSEMOVE && !vtr_is_child(m.HWND) && (m.WPARAM & (MK_LBUTTON | MK_RBUTTON)) == 0 &&
         !LEFTMOUSEDOWN && !RIGHTMOUSEDOWN;
}

}  // namespace

LONGINT GLWNDPROC(LONGWORD WINDOW, LONGINT AMESSAGE, LONGINT WPARAM, LONGINT LPARAM) {
  switch (AMESSAGE) {
    case WM_CREATE:
      ACTIVE = true;
      return 0;
    case WM_DESTROY:
      ACTIVE = false;
      vtr_post_message(0, WM_QUIT, 0, 0);
      return 0;
    case WM_PAINT:
      // The frame loop draws with GL, the children over it at every swap.
      return 0;
    case WM_CONTEXTMENU:
      if (SHOWMENUBAR) CREATEMOUSEMENU();
      break;
    case WM_KEYDOWN:
      if (WPARAM == VK_ESCAPE) {
        vtr_send_message(WINDOW, WM_DESTROY, 0, 0);
        return 0;
      }
      SETKEY[WPARAM] = key_true;
      break;
    case WM_KEYUP:
      SETKEY[WPARAM] = 0;
      MOUSEFREE = false;
      platform_release_pointer();
      break;
    case WM_COMMAND:
      if (SHOWMENUBAR && GETINPUTCOMMAND) GETINPUTCOMMAND(WINDOW, AMESSAGE, WPARAM, LPARAM);
      return 0;
    case WM_TIMER:
      if (VIEWFPS && WPARAM == FPS_TIMER) refresh_frame_rate();
      break;
    case WM_MOUSEMOVE:
      pointer_moved(GET_X_LPARAM(LPARAM), GET_Y_LPARAM(LPARAM));
      break;
    case WM_LBUTTONDOWN:
      vtr_release_capture();
      vtr_set_capture(WINDOW);
      LEFTMOUSEDOWN = true;
      LEFTMOUSEDOWN2 = true;
      XCOORD = SETMX = GET_X_LPARAM(LPARAM);
      YCOORD = SETMY = GET_Y_LPARAM(LPARAM);
      break;
    case WM_LBUTTONUP:
      left_released();
      break;
    case WM_RBUTTONDOWN:
      vtr_release_capture();
      vtr_set_capture(WINDOW);
      RIGHTMOUSEDOWN = true;
      RIGHTMOUSEDOWN2 = true;
      ZCOORD = GET_Y_LPARAM(LPARAM);
      break;
    case WM_RBUTTONUP:
      right_released();
      break;
    case WM_CAPTURECHANGED:
      // The system took the pointer away: the releases will not come, so
      // what the held buttons were doing ends here.
      if (LEFTMOUSEDOWN) left_released();
      if (RIGHTMOUSEDOWN) right_released();
      break;
    default:
      break;
  }
  return vtr_def_window_proc(WINDOW, AMESSAGE, WPARAM, LPARAM);
}

namespace {
const bool main_class_registered = vtr_register_class(VTR_MAIN_CLASS, GLWNDPROC);
}  // namespace

namespace {

// One pass of the pump: at most one message handled, after a wait while
// the frame before left nothing to draw differently.
void pump_once() {
  const bool rest = frame_at_rest();
  frame_took_message = frame_picks_changed = frame_picked = false;
  for (;;) {
    if (!vtr_take_message(&MSG_)) {
      if (!rest) return;
      // The event that ends the wait stays queued and is the one taken now.
      vtr_wait_message();
      if (!vtr_take_message(&MSG_)) return;
    }
    const bool bare = rest && hover_changed && bare_motion(MSG_);
    // Pointer messages come routed to the child under the pointer or holding
    // the capture, in its own client coordinates.
    vtr_send_message(MSG_.HWND, MSG_.MESSAGE, MSG_.WPARAM, MSG_.LPARAM);
    // The frame would draw the picture on the screen again: it rests on.
    if (bare && !hover_changed()) continue;
    frame_took_message = true;
    return;
  }
}

}  // namespace

void SETGLMSG() {
  const bool picks_changed = frame_picks_changed;
  pump_once();
  frame_may_differ = first_frame || frame_took_message || picks_changed || MOUSEFREE || VIEWFPS;
  first_frame = false;
}

bool vtr_picture_may_change() { return !RESTWHENIDLE || frame_may_differ; }

void SETGLMOUSEMOVE(LONGINT XYZ, LONGINT SPEED) {
  MSPEED = SPEED;
  switch (XYZ) {
    case GL_M0:
      glTranslatef(0, 0, -DEPTH);
      glRotatef(XROT, 1, 0, 0);
      glRotatef(YROT, 0, 1, 0);
      break;
    case GL_MX:
      glTranslatef(0, -DEPTH, 0);
      glRotatef(XROT, 1, 0, 0);
      glRotatef(YROT, 0, 0, 1);
      break;
    case GL_MY:
      glTranslatef(-DEPTH, 0, 0);
      glRotatef(XROT, 0, 0, -1);
      glRotatef(YROT, 0, 1, 0);
      break;
    case GL_MZ:
      glTranslatef(0, 0, -DEPTH);
      glRotatef(XROT, 0, 1, 0);
      glRotatef(YROT, 1, 0, 0);
      break;
    default:
      break;
  }
}

void vtr_note_picks(bool changed, bool pressed, bool (*hover)()) {
  frame_picks_changed = frame_picks_changed || changed;
  item_pressed = (frame_picked && item_pressed) || pressed;
  frame_picked = true;
  hover_changed = hover;
}

void vtr_start_fps_timer() { platform_start_timer(FPS_TIMER, FPS_INTERVAL); }

void vtr_reset_pump() {
  ACTIVE = false;
  SETKEY = {};
  SETMX = SETMY = SETOMX = SETOMY = 0;
  LEFTMOUSEDOWN = RIGHTMOUSEDOWN = LEFTMOUSEDOWN2 = RIGHTMOUSEDOWN2 = false;
  XCOORD = YCOORD = ZCOORD = 0;
  XROT = YROT = DEPTH = XROT2 = YROT2 = DEPTH2 = 0;
  MPOS = {0, 0};
  MSPEED = FPSCOUNT = ADDFORCEFPS = 0;
  FORCEFPS = 1;
  VIEWFPS = RESTWHENIDLE = false;
  MSG_ = {};
  CREATEMOUSEMENU = nullptr;
  GETINPUTCOMMAND = nullptr;
  frame_took_message = frame_may_differ = first_frame = true;
  frame_picks_changed = item_pressed = frame_picked = false;
  hover_changed = nullptr;
}
