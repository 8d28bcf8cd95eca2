// The window procedure fed messages directly, the pump, and the mouse view.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>
#include <cstring>
#include <functional>

#include "glwindow.h"
#include "internal.h"
#include "platform.h"
#include "support.h"

namespace {

class WindowProcedure : public ::testing::Test {
 protected:
  void SetUp() override {
    open_test_window();
    reset_input();
    drain_messages();
  }
  static LONGINT send(LONGINT message, LONGINT wparam = 0, LONGINT lparam = 0) {
    return GLWNDPROC(HWINDOW, message, wparam, lparam);
  }
  static LONGINT at(LONGINT x, LONGINT y) { return MAKELPARAM(x, y); }
};

bool contains(const std::vector<LONGINT>& ids, LONGINT id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

TEST_F(WindowProcedure, CreationAndDestructionSwitchTheRun) {
  EXPECT_EQ(send(WM_CREATE), 0);
  EXPECT_TRUE(ACTIVE);
  EXPECT_EQ(send(WM_DESTROY), 0);
  EXPECT_FALSE(ACTIVE);
  EXPECT_TRUE(contains(drain_messages(), WM_QUIT));
  send(WM_CREATE);
}

TEST_F(WindowProcedure, EscapeEndsTheRunWithoutDestroyingOrRecordingTheKey) {
  send(WM_CREATE);
  EXPECT_EQ(send(WM_KEYDOWN, VK_ESCAPE), 0);
  EXPECT_FALSE(ACTIVE);
  EXPECT_EQ(SETKEY[VK_ESCAPE], 0);
  EXPECT_TRUE(contains(drain_messages(), WM_QUIT));
  EXPECT_TRUE(platform_window_exists());
  send(WM_CREATE);
}

TEST_F(WindowProcedure, KeysFillTheTableAndAnyReleaseEndsFreeLook) {
  send(WM_KEYDOWN, 'A');
  send(WM_KEYDOWN, 0x25);
  EXPECT_EQ(SETKEY['A'], -1);
  EXPECT_EQ(SETKEY[0x25], -1);
  MOUSEFREE = true;
  send(WM_KEYUP, 'A');
  EXPECT_EQ(SETKEY['A'], 0);
  EXPECT_EQ(SETKEY[0x25], -1);
  EXPECT_FALSE(MOUSEFREE);
}

TEST_F(WindowProcedure, LeftPressRecordsThePointAndTakesTheCapture) {
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(120, 45));
  EXPECT_EQ(SETMX, 120);
  EXPECT_EQ(SETMY, 45);
  EXPECT_EQ(XCOORD, 120);
  EXPECT_EQ(YCOORD, 45);
  EXPECT_TRUE(LEFTMOUSEDOWN);
  EXPECT_TRUE(LEFTMOUSEDOWN2);
  EXPECT_EQ(vtr_capture(), HWINDOW);
  send(WM_LBUTTONUP, 0, at(130, 50));
  EXPECT_EQ(SETMX, 0);
  EXPECT_EQ(SETMY, 0);
  EXPECT_EQ(XCOORD, 0);
  EXPECT_EQ(YCOORD, 0);
  EXPECT_FALSE(LEFTMOUSEDOWN);
  EXPECT_FALSE(LEFTMOUSEDOWN2);
  EXPECT_EQ(vtr_capture(), 0u);
}

TEST_F(WindowProcedure, TheCaptureStaysWhileAButtonIsHeldAndALostOneEndsTheDrag) {
  // Left held, right clicked: the left release must still come.
  MSPEED = 2;
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
  send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, at(10, 10));
  send(WM_RBUTTONUP, MK_LBUTTON, at(10, 10));
  EXPECT_EQ(vtr_capture(), HWINDOW);
  EXPECT_TRUE(LEFTMOUSEDOWN);
  EXPECT_FALSE(RIGHTMOUSEDOWN);
  send(WM_LBUTTONUP, 0, at(-300, 900));
  EXPECT_EQ(vtr_capture(), 0u);
  // The system takes the capture away from a drag (another window, a
  // lock): the drag ends as the releases would end it, and a bare move
  // turns nothing.
  for (LONGINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) send(button, MK_LBUTTON | MK_RBUTTON, at(10, 10));
  if (!take_capture_away()) vtr_post_message(HWINDOW, WM_CAPTURECHANGED, 0, 0);
  for (int i = 0; i < 3; ++i) SETGLMSG();
  EXPECT_FALSE(LEFTMOUSEDOWN || RIGHTMOUSEDOWN);
  EXPECT_EQ(SETMX, 0);
  EXPECT_EQ(vtr_capture(), 0u);
  send(WM_MOUSEMOVE, 0, at(200, 100));
  EXPECT_EQ(XROT, 0);
  EXPECT_EQ(DEPTH, 0);
}

TEST_F(WindowProcedure, OnAMonitorOfAnotherScaleTheClientAreaAndViewportFollow) {
  // At 150 % the window asked for as 800 x 600 is 1200 x 900, a column less
  // once placed, and the frame's viewport fills it; back at 100 %, 799 x 600.
  for (const auto& [dpi, width, height] : {std::array{144, 1200, 900}, std::array{96, 800, 600}}) {
    if (!change_monitor_scale(dpi)) vtr_post_message(HWINDOW, WM_DPICHANGED, dpi, 0);
    for (int i = 0; i < 3; ++i) SETGLMSG();
    EXPECT_EQ(WIDTH, width);
    EXPECT_EQ(HEIGHT, height);
    int x, y, cw, ch;
    platform_get_window_rect(&x, &y, &cw, &ch);
    EXPECT_EQ(cw, width - 1) << dpi;
    EXPECT_EQ(ch, height) << dpi;
    OPENGL_INIT(100, 0, 0.4, 0.4, 0.4);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
  }
  int x, y, cw, ch;
  platform_get_window_rect(&x, &y, &cw, &ch);
  platform_set_window_rect(x, y, 800, 600);
}

TEST_F(WindowProcedure, LeftDragTurnsTheViewOneDegreePerPixelAtSpeedTwo) {
  MSPEED = 2;
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(100, 100));
  send(WM_MOUSEMOVE, MK_LBUTTON, at(110, 95));
  EXPECT_FLOAT_EQ(XROT, -5);
  EXPECT_FLOAT_EQ(YROT, 10);
  EXPECT_FLOAT_EQ(XROT2, -5);
  EXPECT_FLOAT_EQ(YROT2, 10);
  EXPECT_EQ(SETOMX, 110);
  EXPECT_EQ(SETOMY, 95);

  // The same drag in several messages adds up to the same angles.
  reset_input();
  MSPEED = 2;
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(100, 100));
  send(WM_MOUSEMOVE, MK_LBUTTON, at(103, 99));
  send(WM_MOUSEMOVE, MK_LBUTTON, at(107, 97));
  send(WM_MOUSEMOVE, MK_LBUTTON, at(110, 95));
  EXPECT_FLOAT_EQ(XROT, -5);
  EXPECT_FLOAT_EQ(YROT, 10);

  // Odd pixel counts give half degrees at speed 1.
  reset_input();
  MSPEED = 1;
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(0, 0));
  send(WM_MOUSEMOVE, MK_LBUTTON, at(3, 1));
  EXPECT_FLOAT_EQ(XROT, 0.5f);
  EXPECT_FLOAT_EQ(YROT, 1.5f);
}

TEST_F(WindowProcedure, PointerOutsideTheClientAreaIsNegativeNotHuge) {
  MSPEED = 2;
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
  send(WM_MOUSEMOVE, MK_LBUTTON, at(-5, -2));
  EXPECT_FLOAT_EQ(YROT, -15);
  EXPECT_FLOAT_EQ(XROT, -12);
  EXPECT_EQ(SETOMX, -5);
  EXPECT_EQ(SETOMY, -2);
}

TEST_F(WindowProcedure, MovesWithoutAButtonOnlyTrackThePointer) {
  MSPEED = 2;
  send(WM_MOUSEMOVE, 0, at(300, 200));
  EXPECT_EQ(SETOMX, 300);
  EXPECT_EQ(SETOMY, 200);
  EXPECT_EQ(XROT, 0);
  EXPECT_EQ(YROT, 0);
  EXPECT_EQ(DEPTH, 0);
}

TEST_F(WindowProcedure, NoSpeedBeforeTheFirstViewCallMeansNoDrag) {
  ASSERT_EQ(MSPEED, 0);
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(100, 100));
  send(WM_MOUSEMOVE, MK_LBUTTON, at(150, 20));
  send(WM_RBUTTONDOWN, MK_RBUTTON, at(150, 20));
  send(WM_MOUSEMOVE, MK_RBUTTON, at(150, 90));
  EXPECT_EQ(XROT, 0);
  EXPECT_EQ(YROT, 0);
  EXPECT_EQ(DEPTH, 0);
}

TEST_F(WindowProcedure, RightDragMovesTheViewNearerOrFarther) {
  MSPEED = 2;
  send(WM_RBUTTONDOWN, MK_RBUTTON, at(50, 100));
  EXPECT_EQ(ZCOORD, 100);
  EXPECT_TRUE(RIGHTMOUSEDOWN);
  send(WM_MOUSEMOVE, MK_RBUTTON, at(50, 110));
  EXPECT_FLOAT_EQ(DEPTH, -2);
  EXPECT_FLOAT_EQ(DEPTH2, -2);
  send(WM_MOUSEMOVE, MK_RBUTTON, at(50, 85));
  EXPECT_FLOAT_EQ(DEPTH, 3);
  EXPECT_EQ(XROT, 0);

  // In free-look mode right drags do nothing.
  MOUSEFREE = true;
  send(WM_MOUSEMOVE, MK_RBUTTON, at(50, 200));
  EXPECT_FLOAT_EQ(DEPTH, 3);
  send(WM_RBUTTONUP, 0, at(50, 200));
  EXPECT_FALSE(RIGHTMOUSEDOWN);
  EXPECT_FALSE(RIGHTMOUSEDOWN2);
}

TEST_F(WindowProcedure, FreeLookNeedsTheInputFocus) {
  // The offscreen window never has the focus: free-look leaves the view and
  // the pointer alone.
  if (platform_has_focus()) GTEST_SKIP() << "the test window has the focus on this platform";
  MSPEED = 2;
  MOUSEFREE = true;
  send(WM_MOUSEMOVE, 0, at(700, 10));
  EXPECT_EQ(XROT, 0);
  EXPECT_EQ(YROT, 0);
}

TEST_F(WindowProcedure, FrameRateReadOutRewritesTheTitle) {
  VIEWFPS = true;
  FPSCOUNT = 300;
  send(WM_TIMER, FPS_TIMER);
  EXPECT_STREQ(platform_get_title(), "Vitrum test - FPS [60]");
  EXPECT_EQ(FPSCOUNT, 0);
  send(WM_TIMER, FPS_TIMER);
  EXPECT_STREQ(platform_get_title(), "Vitrum test - FPS [1]");

  // Halves go to the even neighbour: 2.5 frames a second shows 2.
  FPSCOUNT = 12;
  FORCEFPS = 1;
  send(WM_TIMER, FPS_TIMER);
  EXPECT_STREQ(platform_get_title(), "Vitrum test - FPS [2]");

  // The factor creeps towards the target rate.
  ADDFORCEFPS = 50;
  FPSCOUNT = 300;
  send(WM_TIMER, FPS_TIMER);
  EXPECT_EQ(FORCEFPS, 0);
  EXPECT_STREQ(platform_get_title(), "Vitrum test - FPS [60]");

  // Another timer, or the read-out switched off, leaves the title alone.
  platform_set_title("Vitrum test");
  FPSCOUNT = 300;
  send(WM_TIMER, FPS_TIMER + 1);
  VIEWFPS = false;
  send(WM_TIMER, FPS_TIMER);
  EXPECT_STREQ(platform_get_title(), "Vitrum test");
  EXPECT_EQ(FPSCOUNT, 300);
}

LONGINT commands_seen = 0;
LONGINT last_command = 0;
LONGINT on_command(LONGWORD, LONGINT message, LONGINT wparam, LONGINT) {
  ++commands_seen;
  last_command = wparam;
  EXPECT_EQ(message, WM_COMMAND);
  return 0;
}
int menus_asked = 0;
void on_menu() { ++menus_asked; }

TEST_F(WindowProcedure, CommandsAndContextMenusReachTheHooksOnlyWithTheMenuBar) {
  GETINPUTCOMMAND = on_command;
  CREATEMOUSEMENU = on_menu;
  commands_seen = menus_asked = 0;
  send(WM_COMMAND, 42);
  send(WM_RBUTTONUP, 0, at(5, 5));
  EXPECT_EQ(commands_seen, 0);
  EXPECT_EQ(menus_asked, 0);

  SHOWMENUBAR = true;
  send(WM_COMMAND, 42);
  EXPECT_EQ(commands_seen, 1);
  EXPECT_EQ(last_command, 42);
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
  answer_next_box("Vitrum test box");
  platform_message_box("Between post and pump", "Vitrum test box", MB_OK);
  vtr_post_message(HWINDOW, WM_COMMAND, 3, 0);
  for (LONGINT id = 1; id <= 3; ++id) {
    TMSG m{};
    ASSERT_TRUE(vtr_take_message(&m)) << id;
    EXPECT_EQ(m.MESSAGE, WM_COMMAND);
    EXPECT_EQ(m.WPARAM, id);
  }
}

TEST_F(WindowProcedure, PumpDispatchesOneMessagePerCall) {
  platform_push_key('A', true);
  platform_push_key('B', true);
  platform_push_key('C', true);
  SETGLMSG();
  EXPECT_EQ(SETKEY['A'], -1);
  EXPECT_EQ(SETKEY['B'], 0);
  EXPECT_EQ(MSG_.MESSAGE, WM_KEYDOWN);
  EXPECT_EQ(MSG_.WPARAM, 'A');
  SETGLMSG();
  EXPECT_EQ(SETKEY['B'], -1);
  EXPECT_EQ(SETKEY['C'], 0);
  SETGLMSG();
  EXPECT_EQ(SETKEY['C'], -1);
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
  EXPECT_TRUE(LEFTMOUSEDOWN);
  EXPECT_EQ(SETMX, 100);
  SETGLMSG();
  EXPECT_EQ(SETOMX, 110);
  EXPECT_EQ(SETOMY, 95);
  EXPECT_FLOAT_EQ(XROT, -5);
  EXPECT_FLOAT_EQ(YROT, 10);
  EXPECT_EQ(SETKEY['Q'], 0);
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
  EXPECT_EQ(SETOMX, 250);
  EXPECT_EQ(SETOMY, 60);
  EXPECT_FALSE(platform_message_pending());
  // A run that ends in an event without a message keeps its last position.
  platform_push_mouse_motion(260, 61, MK_LBUTTON);
  platform_push_mouse_motion(270, 62, MK_LBUTTON);
  platform_push_mouse_button(2, true, 270, 62);
  SETGLMSG();
  EXPECT_EQ(MSG_.MESSAGE, WM_MOUSEMOVE);
  EXPECT_EQ(SETOMX, 270);
  EXPECT_EQ(SETOMY, 62);
}

// A pump that may rest: it waits for the next event while nothing could
// change the picture, and handles that event next.
class RestingPump : public WindowProcedure {
 protected:
  void SetUp() override {
    WindowProcedure::SetUp();
    RESTWHENIDLE = true;
  }
  void TearDown() override { RESTWHENIDLE = false; }
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
  come_to_rest();
  ASSERT_TRUE(wakes_for([] { platform_push_key('K', true); }));
  EXPECT_EQ(MSG_.MESSAGE, WM_KEYDOWN);
  EXPECT_EQ(SETKEY['K'], -1);

  come_to_rest();
  ASSERT_TRUE(wakes_for([] { platform_push_mouse_motion(321, 123); }));
  EXPECT_EQ(MSG_.MESSAGE, WM_MOUSEMOVE);
  EXPECT_EQ(SETOMX, 321);

  come_to_rest();
  ASSERT_TRUE(wakes_for([] { platform_push_expose(); }));
  EXPECT_EQ(MSG_.MESSAGE, WM_PAINT);

  // Restarting a timer replaces it.
  come_to_rest();
  for (int i = 0; i < 3; ++i) platform_start_timer(9, 50);
  EXPECT_EQ(platform_timer_count(), 1u);
  const bool woke = wakes_for({});
  platform_start_timer(9, 0);
  EXPECT_EQ(platform_timer_count(), 0u);
  ASSERT_TRUE(woke);
  EXPECT_EQ(MSG_.MESSAGE, WM_TIMER);
  EXPECT_EQ(MSG_.WPARAM, 9);

  // A message the toolkit posted is pending already: no wait at all.
  come_to_rest();
  vtr_post_message(HWINDOW, WM_COMMAND, 77, 0);
  ASSERT_TRUE(pump_with());
  EXPECT_EQ(MSG_.MESSAGE, WM_COMMAND);
  EXPECT_EQ(MSG_.WPARAM, 77);
}

TEST_F(RestingPump, MinimisedItRestsEvenWithAButtonHeld) {
  if (!minimise_test_window(true)) GTEST_SKIP() << "no window to minimise on this display";
  drain_messages();
  platform_push_mouse_button(1, true, 50, 50);
  SETGLMSG();
  const bool rested = pump_with([] { platform_push_key('R', false); });
  platform_push_mouse_button(1, false, 50, 50);
  minimise_test_window(false);
  drain_messages();
  reset_input();
  EXPECT_TRUE(rested);
  EXPECT_EQ(MSG_.MESSAGE, WM_KEYUP);
}

TEST_F(RestingPump, NeverWhileAButtonIsHeldOrTheViewMovesByItself) {
  for (int button : {1, 3}) {
    platform_push_mouse_button(button, true, 50, 50);
    SETGLMSG();
    ASSERT_TRUE(pump_with());
    EXPECT_TRUE(pump_with()) << "button " << button << " held";
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

// The virtual key the platform reports for a key pushed at POSITION.
LONGINT key_seen(LONGINT position, LONGINT symbol = 0, bool num_lock = true) {
  platform_push_key(position, true, symbol, num_lock);
  platform_message m{};
  if (!platform_take_message(&m) || m.message != WM_KEYDOWN) return -1;
  return m.wparam;
}

TEST_F(WindowProcedure, PlatformKeysArriveAsVirtualKeys) {
  for (LONGINT vk : {0x1B, 0x0D, 0x20, 0x25, 0x70, LONGINT{'Z'}, LONGINT{'0'}, 0x60, 0xBA}) EXPECT_EQ(key_seen(vk), vk);
  // The keypad's digits, and with NumLock off the keys printed beside them.
  EXPECT_EQ(key_seen(0x61, 0, true), 0x61);
  EXPECT_EQ(key_seen(0x61, 0, false), 0x23);
  EXPECT_EQ(key_seen(0x68, 0, false), 0x26);
  EXPECT_EQ(key_seen(0x60, 0, false), 0x2D);
  EXPECT_EQ(key_seen(0x6E, 0, false), 0x2E);  // the decimal point is Delete
#ifndef _WIN32
  // Letters follow the layout, as on an AZERTY keyboard: the key labelled A
  // stands where a US keyboard has Q, and M where it has the semicolon; the
  // US M position prints a comma. Its digit row prints symbols and still
  // gives the digits; function keys and arrows never move.
  EXPECT_EQ(key_seen('Q', 'a'), 'A');
  EXPECT_EQ(key_seen('A', 'q'), 'Q');
  EXPECT_EQ(key_seen(0xBA, 'm'), 'M');
  EXPECT_EQ(key_seen('M', ','), 0xBC);
  EXPECT_EQ(key_seen('1', '&'), '1');
  EXPECT_EQ(key_seen(0x70), 0x70);
  EXPECT_EQ(key_seen(0x26), 0x26);
#endif  // On Windows the system itself gives keys the codes of its layout.
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
  for (int i = 0; i < 3; ++i) SETGLMSG();
  EXPECT_TRUE(RIGHTMOUSEDOWN);
  EXPECT_FLOAT_EQ(DEPTH, -2);
  for (int i = 0; i < 3; ++i) SETGLMSG();
  EXPECT_FALSE(RIGHTMOUSEDOWN);
  EXPECT_FLOAT_EQ(DEPTH, -2);
  EXPECT_EQ(vtr_capture(), 0u);

  // Motion with the left button held says so in wParam, as a press does.
  platform_push_mouse_button(1, true, 10, 10);
  platform_push_key('Q', true);
  platform_push_mouse_motion(20, 10, MK_LBUTTON);
  platform_message m{};
  ASSERT_TRUE(platform_take_message(&m));
  EXPECT_EQ(m.message, WM_LBUTTONDOWN);
  EXPECT_TRUE(m.wparam & MK_LBUTTON);
  ASSERT_TRUE(platform_take_message(&m));
  ASSERT_TRUE(platform_take_message(&m));
  EXPECT_EQ(m.message, WM_MOUSEMOVE);
  EXPECT_EQ(m.wparam & (MK_LBUTTON | MK_RBUTTON), MK_LBUTTON);
  platform_push_mouse_button(1, false, 20, 10);
  ASSERT_TRUE(platform_take_message(&m));
  EXPECT_EQ(m.message, WM_LBUTTONUP);
  EXPECT_FALSE(m.wparam & MK_LBUTTON);
}

TEST_F(WindowProcedure, TheScreenSaverMayRun) { EXPECT_TRUE(platform_screen_saver_allowed()); }

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
// The mouse-driven view applied to the modelview matrix.

using mat4 = std::array<double, 16>;  // column-major, as GL stores it

mat4 identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

mat4 multiply(const mat4& a, const mat4& b) {
  mat4 r{};
  for (int c = 0; c < 4; ++c)
    for (int row = 0; row < 4; ++row)
      for (int k = 0; k < 4; ++k) r[c * 4 + row] += a[k * 4 + row] * b[c * 4 + k];
  return r;
}

mat4 translation(double x, double y, double z) {
  mat4 m = identity();
  m[12] = x;
  m[13] = y;
  m[14] = z;
  return m;
}

// Right-handed rotation by DEG degrees about the unit axis (x, y, z).
mat4 rotation(double deg, double x, double y, double z) {
  const double a = deg * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a), t = 1 - c;
  return {t * x * x + c,     t * x * y + s * z, t * x * z - s * y, 0, t * x * y - s * z, t * y * y + c,
          t * y * z + s * x, 0,                 t * x * z + s * y, t * y * z - s * x, t * z * z + c, 0,
          0,                 0,                 0,                 1};
}

mat4 modelview() {
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  mat4 r;
  for (int i = 0; i < 16; ++i) r[i] = m[i];
  return r;
}

void expect_matrix(const mat4& actual, const mat4& expected) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5) << "element " << i;
}

TEST_F(WindowProcedure, ViewModesApplyDistanceThenTwoTurns) {
  XROT = 30;
  YROT = -70;
  DEPTH = 4;
  const mat4 base = translation(0, 0, -30);
  const mat4 expected[4] = {
      multiply(multiply(multiply(base, translation(0, 0, -4)), rotation(30, 1, 0, 0)), rotation(-70, 0, 1, 0)),
      multiply(multiply(multiply(base, translation(0, -4, 0)), rotation(30, 1, 0, 0)), rotation(-70, 0, 0, 1)),
      multiply(multiply(multiply(base, translation(-4, 0, 0)), rotation(30, 0, 0, -1)), rotation(-70, 0, 1, 0)),
      multiply(multiply(multiply(base, translation(0, 0, -4)), rotation(30, 0, 1, 0)), rotation(-70, 1, 0, 0)),
  };
  glMatrixMode(GL_MODELVIEW);
  for (LONGINT mode = GL_M0; mode <= GL_MZ; ++mode) {
    glLoadIdentity();
    glTranslatef(0, 0, -30);
    SETGLMOUSEMOVE(mode, 3 + mode);
    EXPECT_EQ(MSPEED, 3 + mode);
    expect_matrix(modelview(), expected[mode]);
  }
  // Any other mode only sets the speed.
  glLoadIdentity();
  glTranslatef(0, 0, -30);
  SETGLMOUSEMOVE(7, 2);
  EXPECT_EQ(MSPEED, 2);
  expect_matrix(modelview(), base);
}

}  // namespace
