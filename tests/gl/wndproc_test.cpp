// The window procedure fed messages directly, the pump, and the mouse view.
#include <algorithm>
#include <array>
#include <chrono>
#include <thread>
#include <tuple>

#include "glwindow.h"
#include "internal.h"
#include "platform.h"

namespace {

class WindowProcedure : public GLTest {
 protected:
  static LONGINT send(LONGINT message, LONGINT wparam = 0, LONGINT lparam = 0) {
    return GLWNDPROC(HWINDOW, message, wparam, lparam);
  }
  static LONGINT at(LONGINT x, LONGINT y) { return MAKELPARAM(x, y); }
};

bool contains(const std::vector<LONGINT>& ids, LONGINT id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

TEST_F(WindowProcedure, DestructionAndEscapeEndTheRun) {
  // Escape ends it without destroying the window or recording the key.
  for (const auto& [message, wparam] : {std::pair{WM_DESTROY, 0}, {WM_KEYDOWN, VK_ESCAPE}}) {
    EXPECT_TRUE(send(WM_CREATE) == 0 && ACTIVE);
    EXPECT_TRUE(send(message, wparam) == 0 && !ACTIVE) << message;
    EXPECT_EQ(SETKEY[VK_ESCAPE], 0);
    EXPECT_TRUE(contains(drain_messages(), WM_QUIT) && platform_window_exists()) << message;
  }
  send(WM_CREATE);
}

TEST_F(WindowProcedure, KeysFillTheTableAndAnyReleaseEndsFreeLook) {
  send(WM_KEYDOWN, 'A');
  send(WM_KEYDOWN, 0x25);
  EXPECT_EQ((std::array{SETKEY['A'], SETKEY[0x25]}), (std::array{-1, -1}));
  MOUSEFREE = true;
  send(WM_KEYUP, 'A');
  EXPECT_EQ((std::array{SETKEY['A'], SETKEY[0x25]}), (std::array{0, -1}));
  EXPECT_FALSE(MOUSEFREE);
}

TEST_F(WindowProcedure, LeftPressRecordsThePointAndTakesTheCapture) {
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(120, 45));
  EXPECT_EQ((std::array{SETMX, SETMY, XCOORD, YCOORD}), (std::array{120, 45, 120, 45}));
  EXPECT_TRUE(LEFTMOUSEDOWN && LEFTMOUSEDOWN2 && vtr_capture() == HWINDOW);
  send(WM_LBUTTONUP, 0, at(130, 50));
  EXPECT_EQ((std::array{SETMX, SETMY, XCOORD, YCOORD}), (std::array{0, 0, 0, 0}));
  EXPECT_FALSE(LEFTMOUSEDOWN || LEFTMOUSEDOWN2 || vtr_capture() != 0);
}

TEST_F(WindowProcedure, TheCaptureStaysWhileAButtonIsHeldAndALostOneEndsTheDrag) {
  // Left held, right clicked: the left release must still come.
  MSPEED = 2;
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
  send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, at(10, 10));
  send(WM_RBUTTONUP, MK_LBUTTON, at(10, 10));
  EXPECT_TRUE(vtr_capture() == HWINDOW && LEFTMOUSEDOWN && !RIGHTMOUSEDOWN);
  send(WM_LBUTTONUP, 0, at(-300, 900));
  EXPECT_EQ(vtr_capture(), 0u);
  // The desktop takes the pointer away from a drag (the keys go to another
  // window; the window is minimised, where the test can do that): the drag
  // ends as the releases would end it, and a bare move turns nothing.
  for (const bool minimise : {false, true}) {
    for (LONGINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) send(button, MK_LBUTTON | MK_RBUTTON, at(10, 10));
    if (!minimise) {
      platform_push_focus_lost();
    } else if (!minimise_test_window(true)) {
      break;
    }
    for (int i = 0; i < 3; ++i) SETGLMSG();
    if (minimise) minimise_test_window(false);
    EXPECT_FALSE(LEFTMOUSEDOWN || RIGHTMOUSEDOWN) << (minimise ? "minimised" : "the focus lost");
    EXPECT_EQ((std::array<LONGINT, 2>{SETMX, static_cast<LONGINT>(vtr_capture())}), (std::array<LONGINT, 2>{0, 0}));
    send(WM_MOUSEMOVE, 0, at(200, 100));
    EXPECT_EQ((std::array{XROT, DEPTH}), (std::array{0.0f, 0.0f}));
  }
  drain_messages();
}

TEST_F(WindowProcedure, OnAMonitorOfAnotherScaleTheWindowFollowsAsFarAsItFits) {
  // At 125 % the window asked for as 800 x 600 is 1000 x 750, a column less
  // once placed, and the frame's viewport fills it; at 300 % it would not
  // fit the screen and is as large as fits, still 4:3; back at 100 %,
  // 799 x 600.
  int ax, ay, aw, ah, left, top, right, bottom;
  platform_work_area(&ax, &ay, &aw, &ah);
  platform_frame_size(&left, &top, &right, &bottom);
  for (const auto& [dpi, width, height] : {std::array{120, 1000, 750}, std::array{288, 0, 0}, std::array{96, 800, 600}}) {
    if (!change_monitor_scale(dpi)) vtr_post_message(HWINDOW, WM_DPICHANGED, dpi, 0);
    for (int i = 0; i < 3; ++i) SETGLMSG();
    int x, y, cw, ch;
    platform_get_window_rect(&x, &y, &cw, &ch);
    OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ((std::array{cw, ch, viewport[2], viewport[3]}), (std::array{WIDTH - 1, HEIGHT, WIDTH, HEIGHT})) << dpi;
    if (width != 0) {
      EXPECT_EQ((std::array{WIDTH, HEIGHT}), (std::array{width, height})) << dpi;
      continue;
    }
    const int room_x = aw - (cw + left + right), room_y = ah - (ch + top + bottom);
    EXPECT_TRUE(room_x >= 0 && room_y >= 0 && std::min(room_x, room_y) <= 2) << room_x << " x " << room_y;
    EXPECT_NEAR(WIDTH * 3, HEIGHT * 4, 4);
  }
  int x, y, cw, ch;
  platform_get_window_rect(&x, &y, &cw, &ch);
  platform_set_window_rect(x, y, 800, 600, false);
}

// Pointer messages and the view they leave: a left drag turns it, a right
// drag moves it nearer or farther, each at MSPEED.
struct drag_case {
  const char* what;
  LONGINT speed;
  BOOLEAN free_look;
  std::vector<std::array<LONGINT, 4>> messages;  // message, wParam, x, y
  float xrot, yrot, depth;
};

constexpr LONGINT L = MK_LBUTTON, R = MK_RBUTTON;
const drag_case drags[] = {
    {"one pixel one degree at speed 2", 2, false, {{WM_LBUTTONDOWN, L, 100, 100}, {WM_MOUSEMOVE, L, 110, 95}}, -5, 10, 0},
    {"the same drag in several messages", 2, false,
     {{WM_LBUTTONDOWN, L, 100, 100}, {WM_MOUSEMOVE, L, 103, 99}, {WM_MOUSEMOVE, L, 107, 97}, {WM_MOUSEMOVE, L, 110, 95}},
     -5, 10, 0},
    {"odd pixels give half degrees at speed 1", 1, false, {{WM_LBUTTONDOWN, L, 0, 0}, {WM_MOUSEMOVE, L, 3, 1}}, 0.5f,
     1.5f, 0},
    {"outside the client area negative, not huge", 2, false, {{WM_LBUTTONDOWN, L, 10, 10}, {WM_MOUSEMOVE, L, -5, -2}},
     -12, -15, 0},
    {"moves without a button only track the pointer", 2, false, {{WM_MOUSEMOVE, 0, 300, 200}}, 0, 0, 0},
    {"no speed before the first view call", 0, false,
     {{WM_LBUTTONDOWN, L, 100, 100}, {WM_MOUSEMOVE, L, 150, 20}, {WM_RBUTTONDOWN, R, 150, 20}, {WM_MOUSEMOVE, R, 150, 90}},
     0, 0, 0},
    {"right drag 10 pixels down", 2, false, {{WM_RBUTTONDOWN, R, 50, 100}, {WM_MOUSEMOVE, R, 50, 110}}, 0, 0, -2},
    {"right drag down and back up", 2, false,
     {{WM_RBUTTONDOWN, R, 50, 100}, {WM_MOUSEMOVE, R, 50, 110}, {WM_MOUSEMOVE, R, 50, 85}}, 0, 0, 3},
    {"no right drag in free-look mode", 2, true, {{WM_RBUTTONDOWN, R, 50, 100}, {WM_MOUSEMOVE, R, 50, 200}}, 0, 0, 0},
    // The offscreen window never has the focus: free-look leaves the view
    // and the pointer alone.
    {"no free-look without the input focus", 2, true, {{WM_MOUSEMOVE, 0, 700, 10}}, 0, 0, 0},
};

TEST_F(WindowProcedure, DragsTurnAndMoveTheView) {
  for (const drag_case& d : drags) {
    // Free-look with the focus turns the view by itself: not a drag.
    if (d.free_look && platform_has_focus()) continue;
    reset_input();
    MSPEED = d.speed;
    MOUSEFREE = d.free_look;
    for (const auto& [message, wparam, x, y] : d.messages) send(message, wparam, at(x, y));
    EXPECT_EQ((std::array{XROT, YROT, DEPTH, XROT2, YROT2, DEPTH2}),
              (std::array{d.xrot, d.yrot, d.depth, d.xrot, d.yrot, d.depth})) << d.what;
    EXPECT_EQ((std::array{SETOMX, SETOMY}), (std::array{d.messages.back()[2], d.messages.back()[3]})) << d.what;
  }
  // The right button's anchor and its release.
  send(WM_RBUTTONDOWN, R, at(50, 100));
  EXPECT_TRUE(ZCOORD == 100 && RIGHTMOUSEDOWN && RIGHTMOUSEDOWN2);
  send(WM_RBUTTONUP, 0, at(50, 200));
  EXPECT_FALSE(RIGHTMOUSEDOWN || RIGHTMOUSEDOWN2);
}

TEST_F(WindowProcedure, FrameRateReadOutRewritesTheTitle) {
  // The frames counted in five seconds, the factor and its target rate, and
  // the title the read-out leaves; another timer, or the read-out switched
  // off, leaves the title and the count alone. Halves go to the even
  // neighbour (12 frames are 2.4 a second, shown as 2); the factor creeps
  // towards the target.
  const struct {
    BOOLEAN on;
    LONGINT timer, frames, factor, target;
    const char* title;
    LONGINT frames_after, factor_after;
  } readouts[] = {{true, FPS_TIMER, 300, 1, 0, "Vitrum test - FPS [60]", 0, 1},
                  {true, FPS_TIMER, 0, 1, 0, "Vitrum test - FPS [1]", 0, 1},
                  {true, FPS_TIMER, 12, 1, 0, "Vitrum test - FPS [2]", 0, 1},
                  {true, FPS_TIMER, 300, 1, 50, "Vitrum test - FPS [60]", 0, 0},
                  {true, FPS_TIMER + 1, 300, 1, 0, "Vitrum test", 300, 1},
                  {false, FPS_TIMER, 300, 1, 0, "Vitrum test", 300, 1}};
  for (const auto& r : readouts) {
    platform_set_title("Vitrum test");
    VIEWFPS = r.on;
    FPSCOUNT = r.frames;
    FORCEFPS = r.factor;
    ADDFORCEFPS = r.target;
    send(WM_TIMER, r.timer);
    EXPECT_STREQ(platform_get_title(), r.title) << r.frames;
    EXPECT_EQ((std::array{FPSCOUNT, FORCEFPS}), (std::array{r.frames_after, r.factor_after})) << r.frames;
  }
}

TEST_F(WindowProcedure, CommandsAndContextMenusReachTheHooksOnlyWithTheMenuBar) {
  send(WM_COMMAND, 42);
  send(WM_RBUTTONUP, 0, at(5, 5));
  EXPECT_EQ((std::array{commands_seen, menus_asked}), (std::array{0, 0}));

  SHOWMENUBAR = true;
  send(WM_COMMAND, 42);
  EXPECT_EQ((std::array{commands_seen, last_command}), (std::array{1, 42}));
  // The default handling of a right-button release asks for the menu.
  send(WM_RBUTTONDOWN, MK_RBUTTON, at(5, 5));
  send(WM_RBUTTONUP, 0, at(5, 5));
  EXPECT_EQ(menus_asked, 1);
  send(WM_CONTEXTMENU, static_cast<LONGINT>(HWINDOW), at(5, 5));
  EXPECT_EQ(menus_asked, 2);
}

TEST_F(WindowProcedure, CloseRequestDestroysTheWindowThroughTheDefaultHandling) {
  ASSERT_TRUE(ACTIVE);
  platform_push_close_request();
  SETGLMSG();
  EXPECT_FALSE(ACTIVE);
  EXPECT_TRUE(contains(drain_messages(), WM_QUIT));
}

TEST_F(WindowProcedure, PostedMessagesSurviveAModalLoopInOrder) {
  vtr_post_message(HWINDOW, WM_COMMAND, 1, 0);
  vtr_post_message(HWINDOW, WM_COMMAND, 2, 0);
  // A modal loop between post and pump: a message box, answered at once.
  const LONGINT answer = answered_box("Vitrum test box", [] {
    return platform_message_box("Between post and pump", "Vitrum test box", MB_OK);
  });
  vtr_post_message(HWINDOW, WM_COMMAND, 3, 0);
  for (LONGINT id = 1; id <= 3; ++id) {
    TMSG m{};
    ASSERT_TRUE(vtr_take_message(&m)) << id;
    EXPECT_EQ((std::array{m.MESSAGE, m.WPARAM}), (std::array{WM_COMMAND, id}));
  }
  if (answer == 0) GTEST_SKIP() << "no box can be shown here";
  EXPECT_EQ(answer, IDOK);
}

TEST_F(WindowProcedure, PumpDispatchesOneMessagePerCall) {
  for (LONGINT key : {'A', 'B', 'C'}) platform_push_key(key, true);
  for (LONGINT key : {'A', 'B', 'C'}) {
    SETGLMSG();
    EXPECT_EQ((std::array{MSG_.MESSAGE, MSG_.WPARAM, SETKEY[key], SETKEY[key + 1]}), (std::array{WM_KEYDOWN, key, -1, 0}));
  }
  // An empty queue returns at once and changes nothing.
  const TMSG before = MSG_;
  SETGLMSG();
  EXPECT_EQ(MSG_.MESSAGE, before.MESSAGE);
}

TEST_F(WindowProcedure, PumpTakesARunOfMotionsAsItsLast) {
  MSPEED = 2;
  platform_push_mouse_button(1, true, 100, 100);
  platform_push_mouse_motion(101, 100);
  platform_push_mouse_motion(105, 98);
  platform_push_mouse_motion(110, 95);
  platform_push_key('Q', true);
  SETGLMSG();
  EXPECT_TRUE(LEFTMOUSEDOWN && SETMX == 100) << SETMX;
  SETGLMSG();
  EXPECT_EQ((std::array{SETOMX, SETOMY, SETKEY['Q']}), (std::array{110, 95, 0}));
  EXPECT_EQ((std::array{XROT, YROT}), (std::array{-5.0f, 10.0f}));
  SETGLMSG();
  EXPECT_EQ(SETKEY['Q'], -1);

  // A burst with events that carry no message in between (here the middle
  // button) is still one run, taken in one call.
  for (int i = 1; i <= 2000; ++i) {
    platform_push_mouse_motion(100 + i % 300, 95, MK_LBUTTON);
    if (i % 7 == 0) platform_push_mouse_button(2, i % 14 == 0, 100, 95);
  }
  platform_push_mouse_motion(250, 60, MK_LBUTTON);
  SETGLMSG();
  EXPECT_EQ((std::array{SETOMX, SETOMY}), (std::array{250, 60}));
  EXPECT_FALSE(platform_message_pending());
  // A run that ends in an event without a message keeps its last position.
  platform_push_mouse_motion(260, 61, MK_LBUTTON);
  platform_push_mouse_motion(270, 62, MK_LBUTTON);
  platform_push_mouse_button(2, true, 270, 62);
  SETGLMSG();
  EXPECT_EQ((std::array{MSG_.MESSAGE, SETOMX, SETOMY}), (std::array{WM_MOUSEMOVE, 270, 62}));
}

// A pump that may rest: it waits for the next event while nothing could
// change the picture, and handles that event next.
class RestingPump : public WindowProcedure {
 protected:
  void SetUp() override {
    WindowProcedure::SetUp();
    RESTWHENIDLE = true;
  }
};

// A resting pump handles the message LATER brings: the wait may also end
// for an event without a message first (a frame is drawn for it), after
// which the pump rests again.
bool wakes_for(const std::function<void()>& later) {
  bool woke = pump_with(later);
  for (int i = 0; woke && MSG_.MESSAGE == 0 && i < 5; ++i) woke = pump_with();
  return woke;
}

TEST_F(RestingPump, EveryKindOfEventEndsTheWaitAndIsHandledNext) {
  // What comes while the pump rests (or just before), and what it takes.
  const struct {
    std::function<void()> before, later;
    LONGINT message, wparam;
  } wakes[] = {
      {{}, [] { platform_push_key('K', true); }, WM_KEYDOWN, 'K'},
      {{}, [] { platform_push_mouse_motion(321, 123); }, WM_MOUSEMOVE, 0},
      {{}, [] { platform_push_expose(); }, WM_PAINT, 0},
      {[] { platform_start_timer(9, 50); }, {}, WM_TIMER, 9},
      // A message the toolkit posted is pending already: no wait at all.
      {[] { vtr_post_message(HWINDOW, WM_COMMAND, 77, 0); }, {}, WM_COMMAND, 77},
  };
  for (const auto& w : wakes) {
    come_to_rest();
    if (w.before) w.before();
    const bool woke = wakes_for(w.later);
    platform_start_timer(9, 0);
    ASSERT_TRUE(woke) << w.message;
    EXPECT_EQ((std::array{MSG_.MESSAGE, MSG_.WPARAM}), (std::array{w.message, w.wparam}));
  }
  EXPECT_EQ((std::array{SETKEY['K'], SETOMX}), (std::array{-1, 321}));
  // Restarting a timer replaces it.
  for (int i = 0; i < 3; ++i) platform_start_timer(9, 50);
  EXPECT_EQ(platform_timer_count(), 1u);
  platform_start_timer(9, 0);
  EXPECT_EQ(platform_timer_count(), 0u);
}

TEST_F(RestingPump, MinimisedItRestsEvenWhileTheViewWouldMoveByItself) {
  if (!minimise_test_window(true)) GTEST_SKIP() << "no window to minimise on this display";
  drain_messages();
  VIEWFPS = true;
  const bool rested = wakes_for([] { platform_push_key('R', false); });
  const LONGINT taken = MSG_.MESSAGE;
  VIEWFPS = false;
  minimise_test_window(false);
  EXPECT_TRUE(rested);
  EXPECT_EQ(taken, WM_KEYUP);
}

TEST_F(RestingPump, AButtonHeldStillRestsTheViewMovingByItselfNever) {
  // A button held still changes nothing: after the press's frame the pump
  // waits for what comes next.
  for (int button : {1, 3}) {
    platform_push_mouse_button(button, true, 50, 50);
    SETGLMSG();
    ASSERT_TRUE(pump_with());
    EXPECT_TRUE(pump_with([] { platform_push_key('K', true); }));
    EXPECT_EQ(MSG_.MESSAGE, WM_KEYDOWN) << "button " << button << " held";
    platform_push_mouse_button(button, false, 50, 50);
    SETGLMSG();
  }
  for (BOOLEAN* mode : {&MOUSEFREE, &VIEWFPS}) {
    come_to_rest();
    *mode = true;
    EXPECT_TRUE(pump_with());
    *mode = false;
  }
  // Without the switch the pump never rests.
  come_to_rest();
  RESTWHENIDLE = false;
  EXPECT_TRUE(pump_with());
}

TEST_F(WindowProcedure, AltAndF10AreSystemKeysLeftToTheDefaultHandling) {
  constexpr LONGINT vk_menu = 0x12, vk_f10 = 0x79;
  send(WM_CREATE);
  // Alt+Escape, F10 and Alt alone, a letter with Alt held: pressed and
  // released, reported as system keys, and no menu loop holds the pump.
  for (const auto& [vk, alt] : {std::pair{VK_ESCAPE, true}, {vk_f10, false}, {vk_menu, true}, {LONGINT{'A'}, true}}) {
    platform_push_key(vk, true, 0, true, alt);
    platform_push_key(vk, false, 0, true, alt);
  }
  for (int i = 0; i < 8; ++i) {
    ASSERT_TRUE(pump_with()) << "the pump stood still at message " << i;
    EXPECT_TRUE(MSG_.MESSAGE == WM_SYSKEYDOWN || MSG_.MESSAGE == WM_SYSKEYUP) << MSG_.MESSAGE;
  }
  EXPECT_TRUE(ACTIVE);
  for (LONGINT vk : {VK_ESCAPE, vk_f10, vk_menu, static_cast<LONGINT>('A')}) EXPECT_EQ(SETKEY[vk], 0) << vk;
  // Without Alt the letter is a key again.
  platform_push_key('A', true);
  SETGLMSG();
  EXPECT_EQ(SETKEY['A'], -1);
}

// Keys as the platform reports them: a position on a US layout, what the
// layout prints there (0: the US symbol), NumLock, and the virtual key.
struct key_case {
  LONGINT position, symbol;
  bool num_lock;
  LONGINT seen;
};
const key_case keys[] = {
    {0x1B, 0, true, 0x1B}, {0x0D, 0, true, 0x0D}, {0x20, 0, true, 0x20}, {0x25, 0, true, 0x25}, {0x70, 0, true, 0x70},
    {'Z', 0, true, 'Z'},   {'0', 0, true, '0'},   {0x60, 0, true, 0x60}, {0xBA, 0, true, 0xBA},
    // The keypad's digits, and with NumLock off the keys printed beside
    // them; the decimal point is Delete.
    {0x61, 0, true, 0x61}, {0x61, 0, false, 0x23}, {0x68, 0, false, 0x26}, {0x60, 0, false, 0x2D}, {0x6E, 0, false, 0x2E},
#ifndef _WIN32  // On Windows the system itself gives keys the codes of its layout.
    // Letters follow the layout, as on an AZERTY keyboard: the key labelled
    // A stands where a US keyboard has Q, and M where it has the semicolon;
    // the US M position prints a comma. Its digit row prints symbols and
    // still gives the digits; function keys and arrows never move.
    {'Q', 'a', true, 'A'}, {'A', 'q', true, 'Q'}, {0xBA, 'm', true, 'M'}, {'M', ',', true, 0xBC}, {'1', '&', true, '1'},
    {0x70, 0, true, 0x70}, {0x26, 0, true, 0x26},
#endif
};

TEST_F(WindowProcedure, PlatformKeysArriveAsVirtualKeys) {
  for (const key_case& k : keys) {
    platform_push_key(k.position, true, k.symbol, k.num_lock);
    platform_message m{};
    ASSERT_TRUE(platform_take_message(&m));
    EXPECT_EQ((std::array{m.message, m.wparam}), (std::array{WM_KEYDOWN, k.seen}))
        << k.position << " printing " << k.symbol << (k.num_lock ? "" : " without NumLock");
  }
}

TEST_F(WindowProcedure, PlatformButtonsAndMotionCarryTheirButtons) {
  // A right drag through the platform moves the view only while held.
  MSPEED = 2;
  platform_push_mouse_button(3, true, 50, 100);
  platform_push_key('Q', true);
  platform_push_mouse_motion(50, 110, MK_RBUTTON);
  platform_push_key('Q', false);
  platform_push_mouse_button(3, false, 50, 110);
  platform_push_mouse_motion(50, 150);
  for (bool held : {true, false}) {
    for (int i = 0; i < 3; ++i) SETGLMSG();
    EXPECT_EQ(RIGHTMOUSEDOWN, held);
    EXPECT_FLOAT_EQ(DEPTH, -2);
  }
  EXPECT_EQ(vtr_capture(), 0u);

  // Motion with the left button held says so in wParam, as a press does.
  platform_push_mouse_button(1, true, 10, 10);
  platform_push_key('Q', true);
  platform_push_mouse_motion(20, 10, MK_LBUTTON);
  platform_push_mouse_button(1, false, 20, 10);
  for (const auto& [message, held] : {std::pair{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_KEYDOWN, -1}, {WM_MOUSEMOVE, MK_LBUTTON},
                                      {WM_LBUTTONUP, 0}}) {
    platform_message m{};
    ASSERT_TRUE(platform_take_message(&m));
    EXPECT_EQ(m.message, message);
    if (held >= 0) {
      EXPECT_EQ(m.wparam & (MK_LBUTTON | MK_RBUTTON), held) << message;
    }
  }
}

// SDL stops the screen saver for as long as a window is open, unless told.
// (Windows keeps it unless a program asks for the display, as none here
// does: nothing to look at there.)
TEST_F(WindowProcedure, TheScreenSaverMayRun) {
#ifdef _WIN32
  GTEST_SKIP() << "the system's own";
#endif
  EXPECT_TRUE(platform_screen_saver_allowed());
}

TEST(Window, SwapsKeepToTheRefreshRateWhoeverPacesThem) {
  // The display where it keeps to a swap interval; the toolkit where it
  // refuses one or takes one and swaps at once (as SDL's offscreen display
  // and Wine on a virtual X server do), found out within a second of frames.
  open_test_window();
  const int rate = platform_refresh_rate() > 0 ? platform_refresh_rate() : 60;
  auto seconds_for = [](int swaps) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < swaps; ++i) vtr_swap_buffers();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  seconds_for(40);
  EXPECT_GE(seconds_for(12), 11.0 / rate) << rate << " Hz";
  // After a stall the frames keep their pace instead of rushing to make up
  // for the frames that were not drawn.
  std::this_thread::sleep_for(std::chrono::milliseconds(20 * 1000 / rate));
  vtr_swap_buffers();
  EXPECT_GE(seconds_for(8), 7.0 / rate) << "after a stall";
}

// ---------------------------------------------------------------------------
// The mouse-driven view: where a point of the cube lands on the screen.

TEST_F(WindowProcedure, ViewModesMoveAndTurnThePictureAsEachSays) {
  // Where a point lands, right (1) or left (-1) of the screen's centre and
  // below (1) or above (-1) it, or on the centre line (0), as each mode moves
  // the view by the distance along its own axis and turns it by each angle
  // about its own axis, right-handed. The first and last modes move it away
  // (the point comes nearer the centre); an unknown mode moves nothing.
  const struct {
    LONGINT mode;
    float xrot, yrot, depth, x, y, z;
    int right, down;
  } views[] = {{GL_M0, 0, 0, 10, 1, 0, 0, 1, 0}, {GL_M0, 90, 0, 0, 0, 0, 1, 0, 1}, {GL_M0, 0, 90, 0, 0, 0, 1, 1, 0},
               {GL_MX, 0, 0, 2, 0, 0, 0, 0, 1},  {GL_MX, 90, 0, 0, 0, 0, 1, 0, 1}, {GL_MX, 0, 90, 0, 1, 0, 0, 0, -1},
               {GL_MY, 0, 0, 2, 0, 0, 0, -1, 0}, {GL_MY, 90, 0, 0, 1, 0, 0, 0, 1}, {GL_MY, 0, 90, 0, 0, 0, 1, 1, 0},
               {GL_MZ, 0, 0, 2, 1, 0, 0, 1, 0},  {GL_MZ, 90, 0, 0, 0, 0, 1, 1, 0}, {GL_MZ, 0, 90, 0, 0, 0, 1, 0, 1},
               {7, 90, 90, 5, 1, 0, 0, 1, 0}};
  OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
  for (const auto& v : views) {
    auto seen = [&v](bool moved) {
      glLoadIdentity();
      glTranslatef(0, 0, -30);
      if (moved) SETGLMOUSEMOVE(v.mode, 3);
      const auto [x, y] = client_point(v.x, v.y, v.z);
      return std::array{x - 400, y - 300};
    };
    std::tie(XROT, YROT, DEPTH) = std::tuple{v.xrot, v.yrot, v.depth};
    const auto [dx, dy] = seen(true);
    const std::string where = "mode " + std::to_string(v.mode) + ": " + std::to_string(dx) + "," + std::to_string(dy);
    EXPECT_TRUE((v.right == 0 ? std::abs(dx) <= 1 : dx * v.right > 5) && (v.down == 0 ? std::abs(dy) <= 1 : dy * v.down > 5))
        << where;
    const int unmoved = seen(false)[0];
    EXPECT_TRUE(v.depth == 0 || (v.mode != GL_M0 && v.mode != GL_MZ) || dx < unmoved) << where << ", farther away";
    EXPECT_TRUE(v.mode != 7 || dx == unmoved) << where;
  }
  EXPECT_EQ(MSPEED, 3);
}

}  // namespace
