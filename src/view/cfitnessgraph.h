#pragma once

#include <string>
#include <vector>

// Curves of fitness over game minutes, each with its colour and line width, the names of
// the two axes, and the axis ranges and tick steps that fit them. Both the in-game graph and
// the SVG plots draw from it.
class CFitnessGraph
{
public:
    struct SPoint
    {
        double x;
        double y;
    };

    struct SSeries
    {
        std::string sName;
        unsigned uColour; // 0xRRGGBB
        double dLineWidth; // in pixels
        std::vector<SPoint> vPoints;
    };

    // From 0 to a round value above everything drawn, in round steps: ticks at k * dStep
    // for k from 0 to iTicks, none above dMax. Both are finite and dMax positive for any
    // input, and iTicks is at most 5, so drawing the ticks always ends.
    struct SAxis
    {
        double dMax;
        double dStep;
        int iTicks;
        double tick(int k) const { return k * dStep; }
    };

    static constexpr double ThickLine = 3.0;
    static constexpr double ThinLine = 1.0;
    int addSeries(const std::string& name, unsigned colour, double lineWidth = ThickLine);
    // A series that reaches MaxPoints drops every second point, so a run of any length
    // keeps its whole course at a coarser grain in bounded memory.
    void addPoint(int series, double x, double y);
    static constexpr size_t MaxPoints = 4096;
    const std::vector<SSeries>& getSeries() const { return m_vSeries; }
    bool isEmpty() const;

    void setAxisNames(const std::string& x, const std::string& y);
    const std::string& xName() const { return m_sXName; }
    const std::string& yName() const { return m_sYName; }

    SAxis xAxis() const { return axisFor(largest(&SPoint::x)); }
    SAxis yAxis() const { return axisFor(largest(&SPoint::y)); }

    // A round step near a fifth of the range and the first multiple of it at or above the
    // range; near the largest double, where that multiple does not exist, the range itself.
    static SAxis axisFor(double largestValue);
    // Tick labels without trailing zeros: 0.5, 2, 1500, 1e+06.
    static std::string label(double value);

private:
    double largest(double SPoint::*coordinate) const;

    std::vector<SSeries> m_vSeries;
    std::string m_sXName;
    std::string m_sYName;
};
