// Texture slots and their upload to GL.
// Owns the 201 slots and the two filter settings.
#include "file.h"
#include "internal.h"
#include "vitrum.h"

checked_array<TGATEXTURE, 0, 200> TEXTURETGA2{};
LONGINT GL_MIN_FILTER = GL_LINEAR;
LONGINT GL_MAG_FILTER = GL_LINEAR;

namespace {

bool mipmapped(LONGINT filter) {
  return filter == GL_NEAREST_MIPMAP_NEAREST || filter == GL_NEAREST_MIPMAP_LINEAR ||
         filter == GL_LINEAR_MIPMAP_NEAREST || filter == GL_LINEAR_MIPMAP_LINEAR;
}

}  // namespace

void TEXTURELOADTGAID(const char* TGAFILE, LONGINT NUM) {
  TGATEXTURE& slot = TEXTURETGA2[NUM];
  if (!vtr_file_exists(TGAFILE)) return;
  if (!LOADTGA(slot, TGAFILE)) return;
  glEnable(GL_TEXTURE_2D);
  GLuint name = 0;
  glGenTextures(1, &name);
  slot.TEXID = name;
  glBindTexture(GL_TEXTURE_2D, slot.TEXID);
  // Rows are tightly packed: an RGB row need not be a multiple of 4 bytes.
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(slot.BPP / 8), static_cast<GLsizei>(slot.WIDTH),
               static_cast<GLsizei>(slot.HEIGHT), 0, slot.TYP, GL_UNSIGNED_BYTE, slot.IMAGEDATA);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_MIN_FILTER);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_MAG_FILTER);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  if (mipmapped(GL_MIN_FILTER)) {
    ADDMIPMAPSTEXTURE(static_cast<LONGINT>(slot.BPP), static_cast<LONGINT>(slot.WIDTH),
                      static_cast<LONGINT>(slot.HEIGHT), slot.IMAGEDATA);
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  tga_free(slot);
}

void TEXTURETGASELECTID(LONGINT NUM) { glBindTexture(GL_TEXTURE_2D, TEXTURETGA2[NUM].TEXID); }

void ADDMIPMAPSTEXTURE(LONGINT FORMAT, LONGINT WIDTH, LONGINT HEIGHT, const BYTE* BITS) {
  if (FORMAT == 24) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, BITS);
  } else if (FORMAT == 32) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, BITS);
  }
}

// The textures themselves went with their context.
void vtr_reset_textures() {
  for (long long i = TEXTURETGA2.low(); i <= TEXTURETGA2.high(); ++i) tga_free(TEXTURETGA2[i]);
  TEXTURETGA2 = {};
  GL_MIN_FILTER = GL_MAG_FILTER = GL_LINEAR;
}
