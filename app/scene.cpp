// Scene set-up and the nine controls. Owns MENU, the pick names and the
// turn controls' frame counters; the controls act on the cube from inside
// the frame's drawing.
#include "scene.h"

#include "cube.h"
#include "cubedraw.h"

TMENU3D MENU{};
const LONGINT SELUNO = 100, SELDUE = 101, SELTRE = 102;
const LONGINT ROTINVX = 103, ROTPOSX = 104, ROTINVY = 105, ROTPOSY = 106, ROTINVZ = 107, ROTPOSZ = 108;
checked_array<LONGINT, 0, 5> TIME{};

namespace {

constexpr const char* texture_files[10] = {
    "immagini/colore.tga", "immagini/uno.tga",  "immagini/due.tga",  "immagini/tre.tga",  "immagini/negx.tga",
    "immagini/posx.tga",   "immagini/negy.tga", "immagini/posy.tga", "immagini/negz.tga", "immagini/posz.tga"};

void OPENGL_TEXTURE() {
  for (LONGINT id = 0; id <= 9; ++id) TEXTURELOADTGAID(texture_files[id], id);
}

// A control's square with its image, pressed (80 % size) or normal, drawn
// unlit with the colour the hover pair set.
void face(bool pressed, LONGINT texture) {
  if (pressed) {
    glScalef(0.8f, 0.8f, 1.0f);
  } else {
    glScalef(1, 1, 1);
  }
  LIGHTINGOFF();
  SETGLSPRITE();
  TEXTURETGASELECTID(texture);
  QUAD(-0.15f, 0.15f, 0, 0.15f, 0.15f, 0, -0.15f, -0.15f, 0, 0.15f, -0.15f, 0);
  SETGLSPRITEOFF();
  LIGHTINGON();
}

// The menu item of the first turn control; the six follow in TIME's order.
constexpr LONGINT first_turn_item = 3;

// While a turn control is held: a step on its 5th frame, then every 6th
// (a frame counted without drawing steps nothing: TURN is null).
void repeat(LONGINT k, void (*turn)(SINGLE, LONGINT), SINGLE angle) {
  TIME[k] = checked_add(TIME[k], 1);
  if (TIME[k] == 5 && turn) turn(angle, SELLAYER);
  if (TIME[k] > 5) TIME[k] = 0;
}

void chooser_on(LONGINT texture, LONGINT layer) {
  face(true, texture);
  SELLAYER = layer;
}

void chooser_off(LONGINT texture, LONGINT layer) { face(SELLAYER == layer, texture); }

void turn_on(LONGINT texture, LONGINT k, void (*turn)(SINGLE, LONGINT), SINGLE angle) {
  face(true, texture);
  repeat(k, turn, angle);
}

void turn_off(LONGINT texture, LONGINT k) {
  face(false, texture);
  TIME[k] = 0;
}

}  // namespace

void OPENGL_CREATELIST() {
  OPENGL_TEXTURE();
  XROT = 45;
  YROT = 225;
  INITCUBE();
  MENU.ADDSELECTON(GLVECTOR(2.3, 1.1, 25), SELUNO);
  MENU.ADDSELECTON(GLVECTOR(2.3, 0.7, 25), SELDUE);
  MENU.ADDSELECTON(GLVECTOR(2.3, 0.3, 25), SELTRE);
  MENU.ADDSELECTON(GLVECTOR(2.1, -0.5, 25), ROTINVX);
  MENU.ADDSELECTON(GLVECTOR(2.5, -0.5, 25), ROTPOSX);
  MENU.ADDSELECTON(GLVECTOR(2.1, -0.9, 25), ROTINVY);
  MENU.ADDSELECTON(GLVECTOR(2.5, -0.9, 25), ROTPOSY);
  MENU.ADDSELECTON(GLVECTOR(2.1, -1.3, 25), ROTINVZ);
  MENU.ADDSELECTON(GLVECTOR(2.5, -1.3, 25), ROTPOSZ);
  MENU.SETSELECTON(AREAPULSANTE);
}

void AREAPULSANTE() { QUAD(-0.15f, -0.15f, 0, 0.15f, -0.15f, 0, -0.15f, 0.15f, 0, 0.15f, 0.15f, 0); }

void SOPRAON() { glColor3f(0.8f, 0.8f, 0.8f); }
void SOPRAOFF() { glColor3f(1, 1, 1); }

void CLICKON1() { chooser_on(1, 2); }
void CLICKON2() { chooser_on(2, 1); }
void CLICKON3() { chooser_on(3, 0); }
void CLICKOFF1() { chooser_off(1, 2); }
void CLICKOFF2() { chooser_off(2, 1); }
void CLICKOFF3() { chooser_off(3, 0); }

void CLICKON4() { turn_on(4, 0, ROTATELAYERX, 6); }
void CLICKON5() { turn_on(5, 1, ROTATELAYERX, -6); }
void CLICKON6() { turn_on(6, 2, ROTATELAYERY, -6); }
void CLICKON7() { turn_on(7, 3, ROTATELAYERY, 6); }
void CLICKON8() { turn_on(8, 4, ROTATELAYERZ, -6); }
void CLICKON9() { turn_on(9, 5, ROTATELAYERZ, 6); }
void CLICKOFF4() { turn_off(4, 0); }
void CLICKOFF5() { turn_off(5, 1); }
void CLICKOFF6() { turn_off(6, 2); }
void CLICKOFF7() { turn_off(7, 3); }
void CLICKOFF8() { turn_off(8, 4); }
void CLICKOFF9() { turn_off(9, 5); }

bool held_control_steps() {
  for (LONGINT k = 0; k <= 5; ++k)
    if (MENU.CLICK[first_turn_item + k] && TIME[k] == 4) return true;
  return false;
}

void count_held_controls() {
  for (LONGINT k = 0; k <= 5; ++k)
    if (MENU.CLICK[first_turn_item + k]) repeat(k, nullptr, 0);
}
