#pragma once

// Whether the current GL context has framebuffer objects and blits: core from OpenGL 3.0 on.
bool hasFramebufferObjects();
