#include "view/cletterbox.h"

#include <algorithm>
#include <cmath>

CLetterbox::CLetterbox(double worldWidth, double worldHeight) : m_dWorldWidth(worldWidth), m_dWorldHeight(worldHeight)
{
    setWindow(static_cast<int>(worldWidth), static_cast<int>(worldHeight));
}

void CLetterbox::setWindow(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    m_iWindowHeight = height;
    const double fit = std::min(width / m_dWorldWidth, height / m_dWorldHeight);
    // Rounded, then bounded: a picture a hair too large for the window loses the pixel.
    m_iWidth = std::min(width, static_cast<int>(std::lround(m_dWorldWidth * fit)));
    m_iHeight = std::min(height, static_cast<int>(std::lround(m_dWorldHeight * fit)));
    m_iLeft = (width - m_iWidth) / 2;
    m_iBottom = (height - m_iHeight) / 2;
}

double CLetterbox::scale() const
{
    return m_iWidth / m_dWorldWidth;
}

bool CLetterbox::isInside(double windowX, double windowY) const
{
    const double fromBottom = m_iWindowHeight - windowY;
    return m_iWidth > 0 && m_iHeight > 0 && windowX >= m_iLeft && windowX < m_iLeft + m_iWidth &&
           fromBottom > m_iBottom && fromBottom <= m_iBottom + m_iHeight;
}

SVector2D CLetterbox::toWorld(double windowX, double windowY) const
{
    if (m_iWidth <= 0 || m_iHeight <= 0)
        return SVector2D(0, 0);
    // GL's pixel (i, j) covers [i, i + 1] × [j, j + 1] from the bottom-left; GLUT counts rows
    // from the top.
    const double glX = windowX + 0.5;
    const double glY = m_iWindowHeight - windowY - 0.5;
    return SVector2D((glX - m_iLeft) * m_dWorldWidth / m_iWidth, (glY - m_iBottom) * m_dWorldHeight / m_iHeight);
}

SVector2D CLetterbox::toWindow(SVector2D world) const
{
    const double glX = m_iLeft + world.x * m_iWidth / m_dWorldWidth;
    const double glY = m_iBottom + world.y * m_iHeight / m_dWorldHeight;
    return SVector2D(glX - 0.5, m_iWindowHeight - glY - 0.5);
}
