// One frame of the cube program.
#include "frame.h"

#include "vitrum.h"

void OPENGL_DRAW() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
