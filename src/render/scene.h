#pragma once

#include <functional>

class CGameController;

// Draws one frame into the back buffer, without swapping: background, help page, aliens
// with their bullets, statistics overlay, trainee, gun, gun bullets. An empty overlay
// function draws nothing.
void drawScene(const CGameController& controller, const std::function<void()>& helpPage,
               const std::function<void()>& statsOverlay);
