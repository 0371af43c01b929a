#pragma once

#include "world/utils.h"

// One shot in flight. Its owner (the gun or a red alien) moves it and deletes it.
class CBullet
{
public:
    CBullet(double x, double y, double angle);

    // One step of flight along the angle at CParams::Bullet_Speed.
    void move(double dt);
    SVector2D getPosition() const { return m_vPos; }
    double getAngle() const { return m_dAngle; }
    SRect getRect() const;

private:
    SVector2D m_vPos;
    double m_dAngle; // degrees from straight up, growing towards +x
};
