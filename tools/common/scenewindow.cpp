#include "common/scenewindow.h"

#include <GL/freeglut.h>

#include "app/cparams.h"
#include "brain/animationtables.h"
#include "render/ctexture.h"
#include "render/scene.h"

bool openSceneWindow(const char* title)
{
    if (!CParams::loadAndReport("params.ini"))
        return false;
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(CParams::Window_Width, CParams::Window_Height);
    glutCreateWindow(title);
    setUpSceneGl();
    loadTextures();
    buildAnimationTables();
    return true;
}
