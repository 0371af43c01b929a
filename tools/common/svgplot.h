#pragma once

#include <string>

class CFitnessGraph;

// A self-contained SVG picture of the graph's curves, each in its colour and line width:
// axes with round ticks, labels and the graph's axis names, a title and a legend.
std::string renderSvg(const CFitnessGraph& graph, const std::string& title);
