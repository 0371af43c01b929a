#pragma once

#include <string>
#include <vector>

// Curves of fitness over game minutes, each with its colour, line width, whether it is drawn
// dashed, and a note to write beside its last point, a title, the names of the two axes, and
// the axis ranges and tick steps that fit them all. Both the in-game
// graph and the SVG plots draw from it. Texts are Latin-1, as the window's fonts take them.
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
        bool bDashed;
        std::vector<SPoint> vPoints;
        std::string sNote = ""; // written beside the last point
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
    int addSeries(const std::string& name, unsigned colour, double lineWidth = ThickLine, bool dashed = false);
    // A series that reaches MaxPoints drops every second point, so a run of any length
    // keeps its whole course at a coarser grain in bounded memory.
    void addPoint(int series, double x, double y);
    static constexpr size_t MaxPoints = 4096;
    void setNote(int series, const std::string& note) { m_vSeries[series].sNote = note; }
    const std::vector<SSeries>& getSeries() const { return m_vSeries; }
    bool isEmpty() const;

    // A title, and a shorter one of the same meaning for a narrow panel ("" for none).
    void setTitle(const std::string& title, const std::string& shortTitle = "")
    {
        m_sTitle = title;
        m_sShortTitle = shortTitle;
    }
    const std::string& title() const { return m_sTitle; }
    const std::string& shortTitle() const { return m_sShortTitle; }
    void setAxisNames(const std::string& x, const std::string& y);
    const std::string& xName() const { return m_sXName; }
    const std::string& yName() const { return m_sYName; }

    SAxis xAxis() const { return axisFor(largest(&SPoint::x)); }
    SAxis yAxis() const { return axisFor(largest(&SPoint::y)); }

    // The y axis as drawn: linear from 0 (yAxis), or logarithmic from the decade below the
    // smallest positive value to the decade above the largest (ticks at each decade, and at 2
    // and 5 times it when the range spans at most two decades), for data whose largest values
    // dwarf the rest. share() places a value from 0 at the bottom to 1 at the top, clamped; on a
    // logarithmic axis a value that is not positive lies at the bottom.
    struct SScale
    {
        bool bLog;
        double dLow, dHigh;
        std::vector<double> vTicks;
        double share(double y) const;
    };
    void setLogScale(bool on) { m_bLogScale = on; }
    SScale yScale() const;

    // A round step near a fifth of the range and the first multiple of it at or above the
    // range; near the largest double, where that multiple does not exist, the range itself.
    static SAxis axisFor(double largestValue);
    // Tick labels without trailing zeros: 0.5, 2, 1500, 1e+06.
    static std::string label(double value);

private:
    double largest(double SPoint::*coordinate) const;

    std::vector<SSeries> m_vSeries;
    bool m_bLogScale = false;
    std::string m_sTitle;
    std::string m_sShortTitle;
    std::string m_sXName;
    std::string m_sYName;
};
