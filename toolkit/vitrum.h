// Vitrum: the one public header of the OpenGL toolkit.
// Window and event runtime, render state, vertex path, rounded solids,
// picking with a 3D menu, TGA textures and shaped image buttons. All state is
// in globals with static storage; configuration globals may be set by an
// application before the call that reads them.
#pragma once

// GL's headers on Windows need three macros of windows.h and include all of
// it when two are missing; given here, the toolkit's names never meet the
// system's.
#if defined(_WIN32) && !defined(APIENTRY)
#define APIENTRY __stdcall
#endif
#if defined(_WIN32) && !defined(WINGDIAPI)
#define WINGDIAPI __declspec(dllimport)
#endif
#if defined(_WIN32) && !defined(CALLBACK)
#define CALLBACK __stdcall
#endif
#include <GL/gl.h>
#include <GL/glu.h>

#include <string>

#include "glmath.h"
#include "region.h"
#include "tga.h"
#include "vtrtypes.h"
#include "winmsg.h"

// ---------------------------------------------------------------------------
// Window set-up and tear-down

// Cursor kinds of the main window.
constexpr LONGINT ARROW = 1, IBEAM = 2, WAIT = 3, CROSS = 4, UPARROW = 5, SIZE = 6, FILECURSOR = 7, SIZENWSE = 8,
                  SIZENESW = 9, SIZEWE = 10, SIZENS = 11, SIZEALL = 12, NOCURSOR = 13, HAND = 14, APPSTARTING = 15,
                  HELP = 16;
// Icon kinds of the main window.
constexpr LONGINT GENERIC = 1, FILEICON = 2;
// Ready-made PIXEL_FORMAT_FLAGS: double buffer, stereo, draw to window,
// OpenGL support, DirectDraw support.
constexpr LONGINT VTR_ACCELERATION = 0x2027;

extern LONGWORD HWINDOW;
extern LONGWORD DCWINDOW;
extern LONGWORD RCWINDOW;
extern LONGINT SETTYPECURSOR;
extern const char* CURSORFILE;
extern LONGINT SETTYPEICON;
extern const char* ICONFILE;
extern const char* SETTITLENAME;
extern LONGINT WIDTH;
extern LONGINT HEIGHT;
extern LONGINT BITS;
extern BOOLEAN FULLSCREEN;
extern BOOLEAN ACTIVE;
extern LONGINT PIXEL_FORMAT_FLAGS;
extern BOOLEAN SHOWMENUBAR;
extern VTRPROCEDURE CREATEMENUBAR;
extern BOOLEAN SHOWSTATUSBAR;
extern LONGWORD HSTATUS;
extern LONGWORD AWND;
extern checked_array<char, 0, 260> FILENAME;
extern checked_array<LONGINT, 1, 20> STATUSITEM;
extern checked_array<LONGINT, 1, 20> EDGES;
extern LONGINT MAXSTATUSITEM;
extern std::string VTRVERSION;

// A window procedure: window, message, wParam, lParam; the result.
using VTRWNDPROC = LONGINT (*)(LONGWORD WINDOW, LONGINT AMESSAGE, LONGINT WPARAM, LONGINT LPARAM);

// The registration record of a window class.
struct TWINDOWCLASS {
  const char* CLASSNAME;
  VTRWNDPROC PROCEDURE;
  void* CURSOR;
  void* ICON;
  LONGWORD BACKGROUND;  // 0x00BBGGRR
};
// The image-button class's record.
extern TWINDOWCLASS WINDOWCLASSEX;

// On POSIX systems the toolkit, once it starts (its first box or window),
// takes SIGTERM, SIGINT and SIGHUP whose handling is still the default:
// while the window is up the first becomes a close request (WM_CLOSE, the
// close path, exit code 0), under a box or before the window it ends the
// program as the signal would. A signal the program handles itself, or
// ignores, before the toolkit starts is left to it.
void OGLWINDOWSETTING(LONGINT TYPECURSOR, const char* CURFILE, LONGINT TYPEICON, const char* ICOFILE);
BOOLEAN CREATEOGLWINDOW(const char* APPNAME, LONGINT APPWIDTH, LONGINT APPHEIGHT, LONGINT APPBITS, BOOLEAN APPFULLSCREEN);
BOOLEAN WINDOWREGISTER();
LONGWORD WINDOWCREATE(const char* PCAPPLICATIONNAME);
BOOLEAN WINDOWINIT(LONGWORD HPARENT);
LONGWORD CREATESTATUSBAR(LONGWORD PARENT);
void POSITIONWINDOW(LONGINT X, LONGINT Y);
void DELETEOGLWINDOW();
[[noreturn]] void THROWERROR(const char* PCERRORMESSAGE);

// Names the program for the desktop, before CREATEOGLWINDOW: ID is its
// desktop entry's name without ".desktop" ("org.example.Cube"), by which
// docks match the window to the entry: the app id on Wayland, and the last
// dot-separated part ("Cube") the class on X11. Unnamed, the program's
// file name serves.
void vtr_set_app_id(const char* ID);
// The folder holding the running program (UTF-8), empty when unknown.
const char* vtr_program_folder();
// The primary screen's size in pixels.
void vtr_screen_size(LONGINT* width, LONGINT* height);
// Shows the frame just drawn. Where the display does not pace the swaps
// (it refuses a swap interval, or takes one and swaps at once), it waits for
// the display's next refresh (60 Hz when unknown), so that what counts
// frames runs at the same speed everywhere; a frame skipped
// (vtr_skip_frame) only waits for its turn.
void vtr_swap_buffers();

// ---------------------------------------------------------------------------
// Window procedure, message pump and input state

constexpr LONGINT FPS_TIMER = 1;
constexpr LONGINT FPS_INTERVAL = 5000;
constexpr LONGINT GL_M0 = 0, GL_MX = 1, GL_MY = 2, GL_MZ = 3;

struct TPOINT {
  LONGINT X, Y;
};

struct TMSG {
  LONGWORD HWND;
  LONGINT MESSAGE;
  LONGINT WPARAM;
  LONGINT LPARAM;
};

using VTRINPUTCOMMAND = LONGINT (*)(LONGWORD WINDOW, LONGINT AMESSAGE, LONGINT WPARAM, LONGINT LPARAM);

extern checked_array<LONGINT, 0, 500> SETKEY;  // true is stored as -1
extern LONGINT SETMX, SETMY;
extern LONGINT SETOMX, SETOMY;
extern BOOLEAN LEFTMOUSEDOWN, RIGHTMOUSEDOWN;
extern BOOLEAN LEFTMOUSEDOWN2, RIGHTMOUSEDOWN2;
extern LONGINT XCOORD, YCOORD, ZCOORD;
extern SINGLE XROT, YROT, DEPTH;
extern SINGLE XROT2, YROT2, DEPTH2;
extern BOOLEAN MOUSEFREE;
extern TPOINT MPOS;
extern LONGINT MSPEED;
extern LONGINT FPSCOUNT;
extern LONGINT FORCEFPS;
extern LONGINT ADDFORCEFPS;
extern BOOLEAN VIEWFPS;
// When true, SETGLMSG waits for the next event instead of returning empty
// while nothing could change the picture: the last frame handled no
// message, the menus' picks came out as in the frame before with no item
// pressed, and neither MOUSEFREE nor VIEWFPS is on (a button held still
// changes nothing). Resting, it also passes over pointer motions with no
// button held that leave every menu's hover pick as the last frame drew it,
// so a program that sets it draws the pointer's position only through its
// menus. False at start: the loop then runs every frame, as it always has.
extern BOOLEAN RESTWHENIDLE;
extern TMSG MSG_;
extern VTRPROCEDURE CREATEMOUSEMENU;
extern VTRINPUTCOMMAND GETINPUTCOMMAND;

LONGINT GLWNDPROC(LONGWORD WINDOW, LONGINT AMESSAGE, LONGINT WPARAM, LONGINT LPARAM);
void SETGLMSG();
void SETGLMOUSEMOVE(LONGINT XYZ, LONGINT SPEED);

// After SETGLMSG: false when, with RESTWHENIDLE on, the frame about to be
// drawn would show the picture of the frame before as far as the toolkit
// can tell (it handled no message, the menus' flags are as they were drawn,
// MOUSEFREE and VIEWFPS are off); only what the application itself counts
// in frames, a pressed item's repeat, may change it. Always true otherwise.
bool vtr_picture_may_change();
// The frame in progress is counted but not drawn: the picture on the screen
// stays, and vtr_swap_buffers waits for the frame's turn without swapping.
void vtr_skip_frame();

// Starts the frame-rate read-out: a WM_TIMER with wParam FPS_TIMER every
// FPS_INTERVAL milliseconds. The application adds 1 to FPSCOUNT per frame.
void vtr_start_fps_timer();


// ---------------------------------------------------------------------------
// Vertex path

constexpr LONGINT GLVERT3FSLOTS = 10000;

struct TGLVERTEX3F {
  checked_array<TGLVECTOR, 1, GLVERT3FSLOTS> GLVERT3F;           // final position as last sent
  checked_array<TGLVECTOR, 1, GLVERT3FSLOTS> GLVERT3FTMP;        // translation after scaling
  checked_array<TGLVECTOR, 1, GLVERT3FSLOTS> GLVERT3FTMPROTATE;  // rotation in degrees about X, Y, Z
  checked_array<TGLVECTOR, 1, GLVERT3FSLOTS> GLVERT3FTMPPOSROT;  // offset added before the rotation
  checked_array<TGLVECTOR, 1, GLVERT3FSLOTS> GLVERT3FTMPSCALE;   // per-axis scale; all zero = unset
  checked_array<TGLVECTOR, 1, GLVERT3FSLOTS> GLVERT3FOFFSET;     // position as given, untransformed
  LONGINT GLVERT3FCOUNT;
  LONGINT GLVERT3FMAX;
  LONGINT GLVERT3FSETNUM;
};

extern TGLVERTEX3F GLBASEVERTEX3F;
extern BOOLEAN GLVERT3FREMOVE;
extern BOOLEAN GLVERT3FENABLEEDIT;

void GLBEGIN(LONGWORD MODE);
void GLVERTEX3F(SINGLE X, SINGLE Y, SINGLE Z);
void GLEND();
// glNormal3f and glTexCoord2f for the vertices sent through the vertex path.
void vtr_normal(GLfloat X, GLfloat Y, GLfloat Z);
void vtr_texcoord(GLfloat S, GLfloat T);
// glNewList(LIST, GL_COMPILE) and glEndList, for geometry drawn through the
// vertex path (its normals and texture coordinates through the two calls
// above) that calling the list must draw exactly as it was drawn:
// meanwhile each quad is compiled as the two triangles GL splits a quad
// drawn at once into (a compiled quad is split along its other diagonal,
// which a smooth-shaded quad would show).
void vtr_new_list(GLuint LIST);
void vtr_end_list();

// ---------------------------------------------------------------------------
// Render state

extern checked_array<SINGLE, 0, 3> AMBIENTLIGHT;
extern checked_array<SINGLE, 0, 3> DIFFUSELIGHT;
extern checked_array<SINGLE, 0, 3> SPECULARLIGHT;
extern checked_array<SINGLE, 0, 3> LIGHTPOSITION;

// Perspective 3D mode: clear colour (R, G, B, A), viewport WIDTH x HEIGHT,
// 45 degrees, near 0.1, far DEPTH, depth test, normalising, blend function.
void OPENGL_INIT(REAL DEPTH, REAL A, REAL R, REAL G, REAL B);
// 2D overlay mode: x from -2 to 2, y by the window's shape, z from -2 to 2.
void OPENGL_I2D(REAL A, REAL R, REAL G, REAL B);
// Colours, switches on and places light NLIGHT at (L0, L1, L2, L3).
void SETGLLIGHT(LONGWORD NLIGHT, SINGLE L0, SINGLE L1, SINGLE L2, SINGLE L3);
// Moves light NLIGHT; a SIZE other than 0 also draws a point marker there.
void PUTGLPOINTLIGHT(LONGWORD NLIGHT, SINGLE SIZE, SINGLE LX, SINGLE LY, SINGLE LZ, SINGLE LVAL);
// Front-face material, every colour with alpha 1.
void SETGLNEWMAT(SINGLE AMBR, SINGLE AMBG, SINGLE AMBB, SINGLE DIFR, SINGLE DIFG, SINGLE DIFB, SINGLE SPECR,
                 SINGLE SPECG, SINGLE SPECB, SINGLE EMISR, SINGLE EMISG, SINGLE EMISB, SINGLE SHINE);
void SETGLREFRACTIVE();
void SETGLSPRITE();
void SETGLSPRITEOFF();
void LIGHTINGON();
void LIGHTINGOFF();
void TWOSIDEON();
void TWOSIDEOFF();
void TEXTUREON();
void TEXTUREOFF();

// ---------------------------------------------------------------------------
// Rounded solids

// Two vertices, each optionally preceded by its texture coordinate.
void LINEFREE(SINGLE TX1, SINGLE TY1, SINGLE TX2, SINGLE TY2, SINGLE X1, SINGLE Y1, SINGLE Z1, SINGLE X2, SINGLE Y2,
              SINGLE Z2, BOOLEAN TEXTURE);
// Sphere patch of RADIUS about (X, Y, Z): ANGY degrees of azimuth from +X
// towards +Z, a quarter circle from the XZ plane up to +Y.
void ROUNDCORNER(SINGLE X, SINGLE Y, SINGLE Z, SINGLE ANGY, SINGLE RADIUS, LONGINT NUMPOINTS, SINGLE TSIZE);
// Quarter cylinder from +X to +Y about the axis through (X, Y, Z) along Z.
void ROUNDEDGE(SINGLE X, SINGLE Y, SINGLE Z, SINGLE LENGTH, SINGLE RADIUS, LONGINT NUMPOINTS, SINGLE TSIZE);
// Box between (X1, Y1, Z1) and (X2, Y2, Z2), offset by (X, Y, Z).
void ZOZE(SINGLE X, SINGLE Y, SINGLE Z, SINGLE X1, SINGLE Y1, SINGLE Z1, SINGLE X2, SINGLE Y2, SINGLE Z2, SINGLE TSIZE);
// Bevelled cube about (X, Y, Z): flat core SIZE, bevel RADIUS.
void CUBOSMUSSATO(SINGLE X, SINGLE Y, SINGLE Z, SINGLE SIZE, SINGLE RADIUS, LONGINT NUMPOINTS, SINGLE TSIZE);

// ---------------------------------------------------------------------------
// TGA textures

extern checked_array<TGATEXTURE, 0, 200> TEXTURETGA2;
// Filters given to every texture created afterwards (GL_LINEAR at start).
extern LONGINT GL_MIN_FILTER;
extern LONGINT GL_MAG_FILTER;

// Loads TGAFILE into slot NUM as a new texture; a missing file is skipped
// without a message, a broken one is reported and skipped.
void TEXTURELOADTGAID(const char* TGAFILE, LONGINT NUM);
// Binds the texture of slot NUM (name 0 for a slot never loaded).
void TEXTURETGASELECTID(LONGINT NUM);
// Builds the mipmap chain of the bound texture from 24- or 32-bit pixels.
void ADDMIPMAPSTEXTURE(LONGINT FORMAT, LONGINT WIDTH, LONGINT HEIGHT, const BYTE* BITS);

// ---------------------------------------------------------------------------
// Picking and the 3D menu

using TVIEWPORTARRAY = checked_array<GLint, 0, 3>;

// Sets the pick name of what is drawn next.
void ADDNAMETOOBJ(LONGINT NAME);
// Pick name of the nearest object of display list OBJNAME under client
// point (X, Y), Y growing downwards; 0 when nothing is hit.
LONGINT SELECTOBJID(LONGINT X, LONGINT Y, LONGINT OBJNAME);

// Up to 51 items, each a pick name and a position; hover and press flags
// come from the last ELEMENTSELECTON.
struct TMENU3D {
  LONGWORD EVENTSELECTION;
  checked_array<BOOLEAN, 0, 50> OVER;
  checked_array<BOOLEAN, 0, 50> CLICK;
  checked_array<LONGINT, 0, 50> BUTTONID;
  checked_array<TGLVECTOR, 0, 50> POS;
  LONGINT MAXNUMSEL;
  LONGINT CNTSEL;

  // A menu that is gone is no longer picked between frames.
  ~TMENU3D();
  void ADDSELECTON(TGLVECTOR POS, LONGINT ID);
  // Seals the items and compiles their pick shapes, drawn by ELEMENT about
  // each item's position, into one display list.
  void SETSELECTON(VTRPROCEDURE ELEMENT);
  // Picks under the pointer (OVER), then under the press point (CLICK).
  void ELEMENTSELECTON();
  // Draws item NUM at its position through one callback of each pair.
  void DRAWMENUID(VTRPROCEDURE EVENTOVER, VTRPROCEDURE EVENTNOTOVER, VTRPROCEDURE EVENTCLICK,
                  VTRPROCEDURE EVENTNOTCLICK, LONGINT NUM);
};

// ---------------------------------------------------------------------------
// Child windows, the status bar and shaped image buttons

// Prefix of the three bitmap files of the next image button: BMPTYPE + "N",
// "H" or "P" + ".BMP". Read only while a button is being created.
extern std::string BMPTYPE;
constexpr const char* SZHOVERCLASS = "IMAGEBUTTON";
constexpr const char* NORMALBMP = "NORMALBITMAP";
constexpr const char* HOVERBMP = "HOVERBITMAP";
constexpr const char* PRESSBMP = "PRESSBITMAP";
constexpr const char* BUTTONRGN = "HOVERBUTTONREGION";
constexpr const char* HOVERMODE = "HOVERMODEBYTE";
// Magenta in the platform's colour layout (red in the low byte).
constexpr LONGWORD VTR_MAGENTA = 0x00FF00FF;

// The window procedure of image buttons.
LONGINT HOVERBUTTONHANDLER(LONGWORD WND, LONGINT IMSG, LONGINT WPARAM, LONGINT LPARAM);
// Loads a BMP file; the bitmap, or 0. An image of 8 bits or fewer also gets
// a 256-entry palette from its colour table in PAL; a deeper one needs none
// on a true-colour display and leaves PAL 0. Both belong to the caller.
LONGWORD LOADBMPFROMFILE(const std::string& FILENAME, LONGWORD& PAL);
// The region of the pixels of BMPNAME that are not TRANSCOLOR (tolerance
// upwards only), in the bitmap's pixel coordinates; 0 when it cannot be
// loaded. The region belongs to the caller.
LONGWORD BITMAPTOREGION(const std::string& BMPNAME, LONGWORD TRANSCOLOR, BYTE TOLERANCE);

// Creates an image button as a child of the main window at client position
// (X, Y) with child identifier ID, from the bitmaps named by BMPTYPE; it
// takes the size of its normal image (WIDTH x HEIGHT when that is missing).
LONGWORD vtr_create_image_button(LONGINT X, LONGINT Y, LONGINT WIDTH, LONGINT HEIGHT, LONGINT ID);

// Sets the text of status-bar part PART (0 is the first).
void vtr_set_status_text(LONGINT PART, const char* TEXT);
