#pragma once

#include <cstddef>

#include "world/utils.h"

// One shot in flight. Its owner (the gun or a red alien) moves it and deletes it.
class CBullet
{
public:
    CBullet(double x, double y, double angle);

    // Shots come and go every few steps: their memory goes back to a pool of its own, from
    // which the next shots take it, so that a world step allocates nothing once the first
    // shots have flown.
    static void* operator new(std::size_t size);
    static void operator delete(void* bullet, std::size_t size) noexcept;

    // One step of flight along the angle at CParams::Bullet_Speed.
    void move(double dt);
    SVector2D getPosition() const { return m_vPos; }
    double getAngle() const { return m_dAngle; }
    SRect getRect() const;

private:
    SVector2D m_vPos;
    double m_dAngle;      // degrees from straight up, growing towards +x
    SVector2D m_vVelocity; // along the angle at CParams::Bullet_Speed, in pixels a millisecond
};
