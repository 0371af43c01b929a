#include "render/ctexture.h"

#include <GL/gl.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "render/cbitmap.h"
#include "render/cpixelbudget.h"
#include "render/mipmapupload.h"

namespace
{
// Built before the textures and destroyed after them, which give their pixels back.
CPixelBudget g_textureBudget(TexturePixelBudget);
} // namespace

CTexture g_aTextures[TEX_TABLE_SIZE];

namespace
{
struct STextureFile
{
    int iId;
    const char* szFileName;
};

// In loading order.
const STextureFile g_aTextureFiles[] = {
    {TEX_BACKGROUND, "graphics/bckgrnd.bmp"},
    {TEX_BEING_BORN, "graphics/Text_AlienShip_General_BeingBorn.bmp"},
    {TEX_BEING_BORN + 1, "graphics/Text_AlienShip_General_BeingBorn_Mask.bmp"},
    {TEX_GREEN_ALIVE, "graphics/alienShip1.bmp"},
    {TEX_GREEN_ALIVE + 1, "graphics/alienShip1_mask.bmp"},
    {TEX_GREEN_DYING_1, "graphics/Text_AlienShip_Green_Dying01.bmp"},
    {TEX_GREEN_DYING_1 + 1, "graphics/Text_AlienShip_Green_Dying01_Mask.bmp"},
    {TEX_GREEN_DYING_2, "graphics/Text_AlienShip_Green_Dying02.bmp"},
    {TEX_GREEN_DYING_2 + 1, "graphics/Text_AlienShip_Green_Dying02_Mask.bmp"},
    {TEX_GREEN_DYING_3, "graphics/Text_AlienShip_Green_Dying03.bmp"},
    {TEX_GREEN_DYING_3 + 1, "graphics/Text_AlienShip_Green_Dying03_Mask.bmp"},
    {TEX_RED_ALIVE, "graphics/Text_AlienShip_Red_Alive.bmp"},
    {TEX_RED_ALIVE + 1, "graphics/Text_AlienShip_Red_Alive_Mask.bmp"},
    {TEX_GUN, "graphics/gun.bmp"},
    {TEX_GUN + 1, "graphics/gun_mask.bmp"},
    {TEX_BULLET, "graphics/bullet.bmp"},
    {TEX_BULLET + 1, "graphics/bullet_mask.bmp"},
    {TEX_UNDEFINED, "graphics/Text_Undefined.bmp"},
};
} // namespace

CTexture::~CTexture()
{
    release();
}

void CTexture::release()
{
    if (m_uName != 0)
    {
        glDeleteTextures(1, &m_uName);
        m_uName = 0;
    }
    g_textureBudget.giveBack(m_iPixels);
    m_iPixels = 0;
}

bool CTexture::loadMipmapped(const char* szFileName, int minFilter, int magFilter, bool clamp)
{
    return create(szFileName, minFilter, magFilter, clamp, true);
}

bool CTexture::load(const char* szFileName, int minFilter, int magFilter, bool clamp)
{
    return create(szFileName, minFilter, magFilter, clamp, false);
}

bool CTexture::loadBitmapFile(const char* szFileName, CBitmap& bitmap)
{
    std::string error;
    if (bitmap.readFile(szFileName, error, g_textureBudget))
    {
        m_iPixels = bitmap.getWidth() * bitmap.getHeight();
        return true;
    }
    std::cerr << szFileName << ": " << error << std::endl;
    return false;
}

bool CTexture::create(const char* szFileName, int minFilter, int magFilter, bool clamp, bool mipmapped)
{
    release();
    CBitmap bitmap;
    if (!loadBitmapFile(szFileName, bitmap))
        return false;
    bitmap.swapRedBlue();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4); // rows are padded to 4 bytes
    glGenTextures(1, &m_uName);
    glBindTexture(GL_TEXTURE_2D, m_uName);
    if (clamp)
    {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    if (mipmapped)
        uploadMipmapped(bitmap.getWidth(), bitmap.getHeight(), bitmap.row(0));
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, bitmap.getWidth(), bitmap.getHeight(), 0, GL_RGB, GL_UNSIGNED_BYTE,
                     bitmap.row(0));
    return true;
}

void loadTextures()
{
    // Every file is tried, so that the messages name every broken one at once.
    bool allGood = true;
    for (int k = 0; k < textureFileCount(); ++k)
        allGood = loadTextureFile(k) && allGood;
    endTextureLoading(allGood);
}

int textureFileCount()
{
    return static_cast<int>(sizeof g_aTextureFiles / sizeof g_aTextureFiles[0]);
}

bool loadTextureFile(int k)
{
    const STextureFile& file = g_aTextureFiles[k];
    return g_aTextures[file.iId].loadMipmapped(file.szFileName, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, false);
}

void endTextureLoading(bool allGood)
{
    if (allGood)
        return;
    std::cerr << "Unable to bind some of the textures from /graphics folder" << std::endl;
    std::exit(-1);
}
