// Image buttons in a real toolkit window: loading, the state machine fed
// messages, pointer routing through the pump, drawing and the status bar.
#include <array>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "datagen.h"
#include "glwindow.h"
#include "internal.h"
#include "platform.h"

namespace {

// Clears the picture to black, draws the children over it as a swap does
// and returns the client height.
int draw_over_black() {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  vtr_draw_children();
  int wx, wy, cw, ch;
  platform_get_window_rect(&wx, &wy, &cw, &ch);
  return ch;
}

class ImageButton : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    dir = temp_path("vtr-buttons");
    std::filesystem::create_directories(dir);
    // Button 1: a 96 x 96 disc on magenta, 24 bits; button 3 paletted.
    for (int n : {1, 3})
      for (char s : {'N', 'H', 'P'})
        write_file(dir + "/B" + std::to_string(n) + s + ".BMP", bmp_file(demo_button(n, s), n == 3));
    bitmaps = vtr_bitmap_count();
    regions = vtr_region_count();
    palettes = vtr_palette_count();
  }
  void TearDown() override {
    std::filesystem::remove_all(dir);
    BMPTYPE.clear();
  }
  LONGWORD make(const std::string& prefix, LONGINT x, LONGINT y, LONGINT id) {
    BMPTYPE = dir + "/" + prefix;
    return vtr_create_image_button(x, y, 40, 30, id);
  }
  static LONGINT mode(LONGWORD b) { return static_cast<LONGINT>(vtr_get_prop(b, HOVERMODE)); }
  static std::vector<LONGINT> commands() {
    std::vector<LONGINT> ids;
    TMSG m;
    while (vtr_message_pending())
      if (vtr_take_message(&m) && m.MESSAGE == WM_COMMAND) ids.push_back(m.WPARAM);
    return ids;
  }

  std::string dir;
  std::size_t bitmaps = 0, regions = 0, palettes = 0;
};

TEST_F(ImageButton, LoadsItsImagesAndTakesTheNormalImagesSize) {
  const LONGWORD b = make("B1", 10, 20, 7);
  ASSERT_NE(b, 0u);
  const TRECT r = vtr_window_rect(b);
  EXPECT_EQ((std::array<LONGINT, 6>{r.LEFT, r.TOP, r.RIGHT - r.LEFT, r.BOTTOM - r.TOP, vtr_child_id(b), mode(b)}),
            (std::array<LONGINT, 6>{10, 20, 96, 96, 7, 1}));
  for (const char* name : {NORMALBMP, HOVERBMP, PRESSBMP, BUTTONRGN}) EXPECT_NE(vtr_get_prop(b, name), 0u) << name;
  EXPECT_NE(vtr_window_region(b), 0u);
  // The shape is the disc: its centre is in, a corner is out.
  EXPECT_TRUE(vtr_region_contains(vtr_window_region(b), 48, 48));
  EXPECT_FALSE(vtr_region_contains(vtr_window_region(b), 2, 2));
  // Destroying it releases every bitmap, region and palette it held.
  vtr_destroy_window(b);
  EXPECT_FALSE(vtr_is_child(b));
  EXPECT_EQ((std::array{vtr_bitmap_count(), vtr_region_count(), vtr_palette_count()}),
            (std::array{bitmaps, regions, palettes}));
  EXPECT_EQ(vtr_get_prop(b, HOVERMODE), 0u);
}

TEST_F(ImageButton, HoverPressAndClickPostOneCommand) {
  const LONGWORD b = make("B1", 0, 0, 42);
  const LONGINT centre = MAKELPARAM(48, 48), corner = MAKELPARAM(2, 2);
  // Each message, then the mode, whether the button holds the capture and
  // the commands posted: hover, press, move within, click; press, leave the
  // shape, release outside; come in with the button held, release there.
  const struct {
    LONGINT message, wparam, lparam, mode;
    bool captured;
    std::vector<LONGINT> posted;
  } steps[] = {{WM_MOUSEMOVE, 0, corner, 1, false, {}},
               {WM_MOUSEMOVE, 0, centre, 2, true, {}},
               {WM_LBUTTONDOWN, MK_LBUTTON, centre, 3, true, {}},
               {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 50), 3, true, {}},
               {WM_LBUTTONUP, 0, centre, 1, false, {42}},
               {WM_MOUSEMOVE, 0, centre, 2, true, {}},
               {WM_LBUTTONDOWN, MK_LBUTTON, centre, 3, true, {}},
               {WM_MOUSEMOVE, MK_LBUTTON, corner, 1, false, {}},
               {WM_LBUTTONUP, 0, corner, 1, false, {}},
               {WM_MOUSEMOVE, MK_LBUTTON, centre, 3, true, {}},
               {WM_LBUTTONUP, 0, centre, 1, false, {42}}};
  int n = 0;
  for (const auto& step : steps) {
    HOVERBUTTONHANDLER(b, step.message, step.wparam, step.lparam);
    EXPECT_EQ(mode(b), step.mode) << "step " << n;
    EXPECT_EQ(vtr_capture() == b, step.captured) << "step " << n;
    EXPECT_EQ(commands(), step.posted) << "step " << n++;
  }
}

TEST_F(ImageButton, WithoutANormalImageThereIsNoShapeNoHoverButPressesWork) {
  const LONGWORD b = make("MISSING", 5, 5, 9);
  ASSERT_NE(b, 0u);
  EXPECT_EQ((std::array{vtr_window_region(b), vtr_get_prop(b, BUTTONRGN)}), (std::array<LONGWORD, 2>{0, 0}));
  const TRECT r = vtr_window_rect(b);
  EXPECT_EQ(r.RIGHT - r.LEFT, 40);  // the size given at creation
  std::vector<LONGINT> modes;
  for (const auto& [message, wparam] : {std::pair{WM_MOUSEMOVE, 0}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}}) {
    HOVERBUTTONHANDLER(b, message, wparam, MAKELPARAM(10, 10));
    modes.push_back(mode(b));
  }
  EXPECT_EQ(modes, (std::vector<LONGINT>{1, 3, 1}));
  EXPECT_EQ(commands(), std::vector<LONGINT>{9});
  vtr_destroy_window(b);
  EXPECT_EQ(vtr_bitmap_count(), bitmaps);
}

TEST_F(ImageButton, BitmapsAndTheirPalettes) {
  LONGWORD palette = 0;
  const LONGWORD deep = LOADBMPFROMFILE(dir + "/B1N.BMP", palette);
  ASSERT_NE(deep, 0u);
  EXPECT_EQ(palette, 0u);
  const LONGWORD indexed = LOADBMPFROMFILE(dir + "/B3N.BMP", palette);
  ASSERT_NE(indexed, 0u);
  EXPECT_NE(palette, 0u);
  EXPECT_EQ(vtr_palette_count(), palettes + 1);
  LONGWORD untouched = 77;
  EXPECT_EQ(LOADBMPFROMFILE(dir + "/nothing.BMP", untouched), 0u);
  EXPECT_EQ(untouched, 77u);
  EXPECT_EQ(BITMAPTOREGION(dir + "/nothing.BMP", VTR_MAGENTA, 1), 0u);
  // A small file claiming 30000 x 30000 pixels is refused unread.
  std::vector<std::uint8_t> huge = bmp_file(demo_button(1, 'N'));
  for (int field : {18, 22}) put32(huge, field, 30000);
  write_file(dir + "/HUGE.BMP", huge);
  EXPECT_EQ(LOADBMPFROMFILE(dir + "/HUGE.BMP", untouched), 0u);
  EXPECT_EQ(untouched, 77u);
  // The paletted hexagon gives the same kind of shape as a deep image.
  const LONGWORD shape = BITMAPTOREGION(dir + "/B3N.BMP", VTR_MAGENTA, 1);
  EXPECT_TRUE(vtr_region_contains(shape, 48, 48));
  EXPECT_FALSE(vtr_region_contains(shape, 1, 48));
  vtr_region_delete(shape);
  vtr_delete_bitmap(deep);
  vtr_delete_bitmap(indexed);
  vtr_delete_palette(palette);
  EXPECT_EQ(vtr_bitmap_count(), bitmaps);
}

TEST_F(ImageButton, ThePumpRoutesThePointerByShapeAndDeliversTheCommand) {
  const LONGWORD b = make("B1", 100, 100, 5);
  SHOWMENUBAR = true;
  MSPEED = 2;
  // Over the transparent corner the main window has the pointer.
  platform_push_mouse_motion(102, 102);
  SETGLMSG();
  EXPECT_EQ((std::array{SETOMX, mode(b)}), (std::array{102, 1}));
  // Over the disc the button does, in its own coordinates.
  platform_push_mouse_motion(148, 148);
  SETGLMSG();
  EXPECT_EQ((std::array{SETOMX, mode(b)}), (std::array{102, 2}));
  platform_push_mouse_button(1, true, 148, 148);
  platform_push_mouse_button(1, false, 148, 148);
  SETGLMSG();
  EXPECT_EQ(mode(b), 3);
  EXPECT_FALSE(LEFTMOUSEDOWN);  // the main window saw no press: no view drag
  SETGLMSG();
  SETGLMSG();  // the posted command
  EXPECT_EQ((std::array{commands_seen, last_command}), (std::array{1, 5}));

  // Entered with the left button held (pressed elsewhere), the button shows
  // pressed and clicks on the release.
  platform_push_mouse_motion(102, 102);
  platform_push_key('Q', true);
  platform_push_mouse_motion(148, 148, MK_LBUTTON);
  platform_push_mouse_button(1, false, 148, 148);
  for (int i = 0; i < 3; ++i) SETGLMSG();
  EXPECT_EQ(mode(b), 3);
  SETGLMSG();
  SETGLMSG();
  EXPECT_EQ((std::array{commands_seen, last_command}), (std::array{2, 5}));

  // A right click on the button asks the main window for its context menu,
  // without starting a zoom there.
  platform_push_mouse_button(3, true, 148, 148);
  platform_push_mouse_button(3, false, 148, 148);
  SETGLMSG();
  SETGLMSG();
  EXPECT_TRUE(menus_asked == 1 && !RIGHTMOUSEDOWN);

  // Where two buttons overlap, the pointer goes to the one on top: the one
  // made last.
  const LONGWORD above = make("B1", 130, 130, 6);
  platform_push_mouse_motion(20, 20);
  platform_push_mouse_motion(175, 175);  // inside both discs
  SETGLMSG();
  SETGLMSG();
  EXPECT_EQ((std::array{mode(above), mode(b)}), (std::array{2, 1}));
  // Pressed, then the pointer taken away by the system: the button looks
  // as it did, and clicks nothing.
  platform_push_mouse_button(1, true, 175, 175);
  platform_push_focus_lost();
  for (int i = 0; i < 3; ++i) SETGLMSG();
  EXPECT_EQ((std::array{mode(above), commands_seen}), (std::array{1, 2}));
}

TEST_F(ImageButton, ButtonsAndTheStatusBarAreDrawnOverThePicture) {
  const LONGWORD b = make("B1", 50, 40, 1);
  const int ch = draw_over_black();
  auto pixel = [&](int x, int y) {
    const std::vector<BYTE> p = read_pixels(x, ch - 1 - y, 1, 1);
    return std::vector<int>{p[0], p[1], p[2]};
  };
  // The normal image at the centre, the GL picture at the corner.
  const auto centre = pixel(50 + 20, 40 + 48);
  EXPECT_TRUE(centre[2] > 150 && centre[0] < 100) << centre[0] << "," << centre[2];
  EXPECT_EQ(pixel(50 + 1, 40 + 1), (std::vector<int>{0, 0, 0}));
  // Hovered, the hover image.
  HOVERBUTTONHANDLER(b, WM_MOUSEMOVE, 0, MAKELPARAM(48, 48));
  draw_over_black();
  const auto hovered = pixel(50 + 20, 40 + 48);
  EXPECT_TRUE(hovered[1] > 150 && hovered[2] < 100) << hovered[1] << "," << hovered[2];
  vtr_destroy_window(b);

  // Placed partly above and left of the client area, it shows what is left:
  // each pixel on the screen is the image's pixel the overhangs put there.
  const picture image = demo_button(1, 'N');
  for (const auto& [left, top] : {std::pair<int, int>{-30, -8}, {-6, -40}}) {
    const LONGWORD clipped = make("B1", left, top, 2);
    draw_over_black();
    int compared = 0;
    for (int y = 0; y < 96 + top; y += 5)
      for (int x = 0; x < 96 + left; x += 5) {
        const std::uint8_t* want = &image.rgba[((y - top) * 96 + (x - left)) * 4];
        if (want[3] < 128) continue;  // outside the shape: the picture beneath
        const auto seen = pixel(x, y);
        for (int c = 0; c < 3; ++c) ASSERT_NEAR(seen[c], want[c], 2) << left << "," << top << " at " << x << "," << y;
        ++compared;
      }
    EXPECT_GT(compared, 50);
    vtr_destroy_window(clipped);
  }
  // Drawing a clipped button leaves no row length or skip behind: a texture
  // uploaded afterwards holds its own pixels.
  TEXTURELOADTGAID(ZOZE_SOURCE_DIR "/immagini/uno.tga", 150);
  TGATEXTURE file{};
  ASSERT_TRUE(LOADTGA(file, ZOZE_SOURCE_DIR "/immagini/uno.tga"));
  std::vector<BYTE> uploaded(std::size_t{file.WIDTH} * file.HEIGHT * file.BPP / 8);
  TEXTURETGASELECTID(150);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, file.TYP, GL_UNSIGNED_BYTE, uploaded.data());
  EXPECT_EQ(std::memcmp(uploaded.data(), file.IMAGEDATA, uploaded.size()), 0);
  tga_free(file);
}

using StatusBar = GLTest;

TEST_F(StatusBar, PartsAndTheirTexts) {
  MAXSTATUSITEM = 3;
  STATUSITEM[1] = 100;
  STATUSITEM[2] = 200;
  STATUSITEM[3] = -1;
  HSTATUS = CREATESTATUSBAR(HWINDOW);
  ASSERT_NE(HSTATUS, 0u);
  EXPECT_EQ(AWND, HSTATUS);
  EXPECT_STREQ(FILENAME.data(), "Percorso file");
  EXPECT_STREQ(vtr_status_text(0), "Percorso file");
  EXPECT_EQ((std::array{EDGES[2], EDGES[3]}), (std::array{200, -1}));
  draw_over_black();
  int wx, wy, cw, ch;
  platform_get_window_rect(&wx, &wy, &cw, &ch);
  std::vector<BYTE> strip = read_pixels(0, 0, cw, VTR_STATUS_HEIGHT);
  auto dark_in = [&](int x0, int x1) {
    int n = 0;
    for (int y = 2; y < VTR_STATUS_HEIGHT - 2; ++y)
      for (int x = x0; x < x1; ++x) n += strip[(static_cast<size_t>(y) * cw + x) * 3] < 90;
    return n;
  };
  // Text in the first part only; separators at the part edges.
  EXPECT_GT(dark_in(2, 96), 40);
  EXPECT_EQ((std::array{dark_in(102, 196), dark_in(202, cw - 4)}), (std::array{0, 0}));
  const int mid = VTR_STATUS_HEIGHT / 2;
  EXPECT_LT(strip[(static_cast<size_t>(mid) * cw + 99) * 3], 200);
  EXPECT_EQ(strip[(static_cast<size_t>(mid) * cw + 150) * 3], 240);
  vtr_set_status_text(1, "Pulsante 2 premuto");
  vtr_draw_children();
  strip = read_pixels(0, 0, cw, VTR_STATUS_HEIGHT);
  EXPECT_GT(dark_in(102, 196), 40);

  // The strip takes the pointer: a press there is no press of the main
  // window, and a drag from it turns nothing; just above it, it is.
  MSPEED = 2;
  platform_push_mouse_button(1, true, 150, ch - 5);
  platform_push_mouse_motion(190, ch - 8, MK_LBUTTON);
  platform_push_mouse_button(1, false, 190, ch - 8);
  for (int i = 0; i < 3; ++i) SETGLMSG();
  EXPECT_TRUE(SETMX == 0 && XROT == 0 && YROT == 0) << SETMX << " " << XROT << " " << YROT;
  platform_push_mouse_button(1, true, 150, ch - VTR_STATUS_HEIGHT - 1);
  SETGLMSG();
  EXPECT_TRUE(SETMX == 150 && LEFTMOUSEDOWN) << SETMX;
  // Pressed above it, a drag across the strip stays the main window's, and
  // so does the release there.
  platform_push_mouse_motion(170, ch - 5, MK_LBUTTON);
  SETGLMSG();
  EXPECT_FLOAT_EQ(YROT, 20);
  platform_push_mouse_button(1, false, 170, ch - 5);
  SETGLMSG();
  EXPECT_TRUE(!LEFTMOUSEDOWN && vtr_capture() == 0);
}

}  // namespace
