// The scene built once at start-up and the nine on-screen controls: three
// layer choosers and six turn controls, items of one 3D menu.
#pragma once

#include "vitrum.h"

extern TMENU3D MENU;
extern const LONGINT SELUNO, SELDUE, SELTRE;
extern const LONGINT ROTINVX, ROTPOSX, ROTINVY, ROTPOSY, ROTINVZ, ROTPOSZ;
// Frame counters of the six turn controls, in the order of controls 4 to 9.
extern checked_array<LONGINT, 0, 5> TIME;

// Loads the ten textures, sets the start view, solves the cube and builds
// the controls with their pick list.
void OPENGL_CREATELIST();

// Pick shape of every control: a 0.3 x 0.3 square about the item.
void AREAPULSANTE();
// Hover pair: 80 % brightness while hovered.
void SOPRAON();
void SOPRAOFF();
// Click pairs: pressed look and action while clicked, normal look (or the
// chosen layer's pressed look) while not.
void CLICKON1();
void CLICKON2();
void CLICKON3();
void CLICKON4();
void CLICKON5();
void CLICKON6();
void CLICKON7();
void CLICKON8();
void CLICKON9();
void CLICKOFF1();
void CLICKOFF2();
void CLICKOFF3();
void CLICKOFF4();
void CLICKOFF5();
void CLICKOFF6();
void CLICKOFF7();
void CLICKOFF8();
void CLICKOFF9();

// True when a held turn control steps the layer in the frame about to be
// drawn (its count reaches 5).
bool held_control_steps();
// Counts a frame that is not drawn for the held turn controls, as their
// pressed callbacks count a drawn one.
void count_held_controls();
