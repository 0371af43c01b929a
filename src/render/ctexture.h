#pragma once

#include "brain/textureids.h"

class CBitmap;

// One OpenGL texture made from one bitmap file.
class CTexture
{
public:
    CTexture() : m_uName(0), m_iPixels(0) {}
    virtual ~CTexture(); // releases the texture
    CTexture(const CTexture&) = delete;
    CTexture& operator=(const CTexture&) = delete;

    // Both report a file that cannot be used on the standard error stream and return false.
    // All textures together hold at most TexturePixelBudget pixels.
    virtual bool loadMipmapped(const char* szFileName, int minFilter, int magFilter, bool clamp);
    virtual bool load(const char* szFileName, int minFilter, int magFilter, bool clamp);

    unsigned getId() const { return m_uName; }
    void release();

private:
    bool loadBitmapFile(const char* szFileName, CBitmap& bitmap);
    bool create(const char* szFileName, int minFilter, int magFilter, bool clamp, bool mipmapped);

    unsigned m_uName; // the GL texture name; 0 when empty
    int m_iPixels;    // taken from the textures' pixel budget; given back on release
};

// Pixels all textures together may hold: 64 Mpixels, some 340 MB with their mipmaps, some
// 80 times what the game's 18 pictures need; each file may have up to 16384 x 16384.
constexpr long long TexturePixelBudget = 64LL << 20;

// Indexed by texture id; the mask of sprite n is entry n + 1.
extern CTexture g_aTextures[TEX_TABLE_SIZE];

// Loads every picture of the graphics folder; ends the program when any fails.
void loadTextures();
// The same a file at a time, for a platform that spreads its start-up over short tasks: the
// files to load, the k-th of them (false when it failed, the message given), and the end,
// which ends the program as loadTextures does when any failed.
int textureFileCount();
bool loadTextureFile(int k);
void endTextureLoading(bool allGood);
