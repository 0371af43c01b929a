#pragma once

#include <string>

class CFitnessGraph;

// A self-contained SVG picture of the graph's curves: axes with round ticks and labels,
// a title and a legend.
std::string renderSvg(const CFitnessGraph& graph, const std::string& title);
