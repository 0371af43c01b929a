#include "view/cfitnessgraph.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <sstream>

int CFitnessGraph::addSeries(const std::string& name, unsigned colour, double lineWidth, bool dashed)
{
    m_vSeries.push_back({name, colour, lineWidth, dashed, {}, ""});
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

double CFitnessGraph::SScale::share(double y) const
{
    double at = 0.0;
    if (!bLog)
        at = (y - dLow) / (dHigh - dLow);
    else if (y > 0)
        at = (std::log10(y) - std::log10(dLow)) / (std::log10(dHigh) - std::log10(dLow));
    return std::isnan(at) ? 0.0 : std::clamp(at, 0.0, 1.0);
}

CFitnessGraph::SScale CFitnessGraph::yScale() const
{
    double smallest = HUGE_VAL;
    for (const SSeries& series : m_vSeries)
        for (const SPoint& point : series.vPoints)
            if (point.y > 0 && std::isfinite(point.y))
                smallest = std::min(smallest, point.y);
    const double most = largest(&SPoint::y);
    if (!m_bLogScale || !(smallest <= most))
    {
        const SAxis axis = yAxis();
        SScale scale{false, 0.0, axis.dMax, {}};
        for (int k = 0; k <= axis.iTicks; ++k)
            scale.vTicks.push_back(axis.tick(k));
        return scale;
    }
    // Decades as powers of ten of whole exponents, which a double holds from 1e-307 to 1e308.
    const int low = std::clamp(static_cast<int>(std::floor(std::log10(smallest))), -307, 307);
    const int high = std::clamp(static_cast<int>(std::ceil(std::log10(most))), low + 1, 308);
    SScale scale{true, std::pow(10.0, low), std::pow(10.0, high), {}};
    for (int decade = low; decade <= high; ++decade)
        for (const double factor : {1.0, 2.0, 5.0})
            if (factor == 1.0 || high - low <= 2)
            {
                const double tick = factor * std::pow(10.0, decade);
                if (tick <= scale.dHigh)
                    scale.vTicks.push_back(tick);
            }
    return scale;
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
