// One frame of the cube program.
#pragma once

// Draws one frame: camera, light, the nine controls and their picking, the
// mouse-driven view and the cube.
void OPENGL_DRAW();
