#pragma once

// For the tools that draw the game's scene: loads params.ini from the working folder (a
// bad file is reported and false returned), then opens a window of the game's size with
// the GL state, the textures of graphics/ and the animation tables the scene needs. A
// texture that cannot be loaded ends the program, as in the game. glutInit comes first.
bool openSceneWindow(const char* title);
