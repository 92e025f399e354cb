// The PNG image library the image resource calls: decodes a file into tightly
// packed 8-bit channels and takes the buffer back afterwards.
#pragma once

extern "C" {

// path is in engine form (backslash separators allowed). Returns 1 with the
// picture's size, its channel count (1 grey, 3 RGB, 4 RGBA) and a buffer of
// rows top row first; 0 on any failure, with *data null and the sizes 0.
int imgload_LoadPNG(const char* path, int* width, int* height, int* channels, unsigned char** data);

// Frees a buffer from imgload_LoadPNG and nulls the pointer; null is allowed.
void imgload_FreeData(unsigned char** data);
}
