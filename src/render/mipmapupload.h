#pragma once

// Puts the picture into the bound 2-D texture with every mipmap level: RGB rows from the
// bottom, each padded to a multiple of 4 bytes. A picture whose sides are not powers of two
// is scaled to the powers of two nearest them first, as GLU does.
void uploadMipmapped(int width, int height, const unsigned char* rgb);
