#pragma once

#include <string>

class CLearningGraph;

// A self-contained SVG picture of the learning graph under a title: the panels, curves,
// levels, notes, ticks and legends that CGraphLayout lays out for the window, on white paper.
std::string renderSvg(const CLearningGraph& graph, const std::string& title);
