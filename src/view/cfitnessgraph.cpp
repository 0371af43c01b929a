#include "view/cfitnessgraph.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <sstream>

int CFitnessGraph::addSeries(const std::string& name, unsigned colour, double lineWidth)
{
    m_vSeries.push_back({name, colour, lineWidth, {}});
    return static_cast<int>(m_vSeries.size()) - 1;
}

void CFitnessGraph::setAxisNames(const std::string& x, const std::string& y)
{
    m_sXName = x;
    m_sYName = y;
}

void CFitnessGraph::addPoint(int series, double x, double y)
{
    std::vector<SPoint>& points = m_vSeries[series].vPoints;
    if (points.size() >= MaxPoints)
    {
        size_t kept = 0;
        for (size_t i = 0; i < points.size(); i += 2)
            points[kept++] = points[i];
        points.resize(kept);
    }
    points.push_back({x, y});
}

bool CFitnessGraph::isEmpty() const
{
    return std::all_of(m_vSeries.begin(), m_vSeries.end(), [](const SSeries& s) { return s.vPoints.empty(); });
}

double CFitnessGraph::largest(double SPoint::*coordinate) const
{
    double most = 0.0;
    for (const SSeries& series : m_vSeries)
        for (const SPoint& point : series.vPoints)
            if (std::isfinite(point.*coordinate))
                most = std::max(most, point.*coordinate);
    return most;
}

CFitnessGraph::SAxis CFitnessGraph::axisFor(double largestValue)
{
    if (!(largestValue > 0) || !std::isfinite(largestValue))
        return {1.0, 0.2, 5};
    // Kept a normal number, so that the step of a denormal range is not zero.
    const double rough = std::max(largestValue / 5, DBL_MIN);
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * magnitude;
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * magnitude >= rough)
        {
            step = factor * magnitude;
            break;
        }
    const double ticks = std::max(1.0, std::ceil(largestValue / step - 1e-9));
    if (std::isfinite(ticks * step))
        return {ticks * step, step, static_cast<int>(ticks)};
    return {largestValue, step, static_cast<int>(largestValue / step)};
}

std::string CFitnessGraph::label(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}
