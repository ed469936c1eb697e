// A jointed figure for the character art: poses as angles, solved into points, and the strokes
// that give limbs their shading and outline.
#pragma once

#include <cairo.h>

#include <vector>

#include "canvas.hpp"

struct Vec {
  double x = 0, y = 0;
};
inline Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(Vec a, double s) {
  return {a.x * s, a.y * s};
}

// Angles in radians. Figures face left: a limb at 0 hangs straight down, a positive angle swings
// it forward (to the left). The torso at 0 stands upright, positive leans forward.
struct Pose {
  double x = 0, y = 0;  // pelvis offset from its rest place, px
  double torso = 0;
  double head = 0;
  double backShoulder = 0, backElbow = 0, frontShoulder = 0, frontElbow = 0;
  double backHip = 0, backKnee = 0, frontHip = 0, frontKnee = 0;
  double weapon = 0;  // turn of the held weapon from the line of the forearm
  double extra = 0;   // a free channel per character (visor glow, crack light, ...)
  double roll = 0;    // the whole figure tipped over about its feet, positive falls backwards
};

Pose Lerp(const Pose& a, const Pose& b, double t);
// Eased path through keys; `t` in [0, 1]. Looping paths return to the first key at t = 1.
Pose Through(const std::vector<Pose>& keys, double t, bool loop);

struct Proportions {
  double thigh, shin, spine, neck, upperArm, forearm;
  Vec pelvisRest;  // pelvis position on the canvas with feet on the ground
};

// Joint positions on the canvas.
struct Skeleton {
  Vec pelvis, chest, neck, head;
  Vec backElbow, backHand, frontElbow, frontHand;
  Vec backKnee, backFoot, frontKnee, frontFoot;
  double torsoAngle = 0, backForearm = 0, frontForearm = 0;
  double backShin = 0, frontShin = 0;
};

// With `planted`, the figure is lowered or raised so that its lower foot stands on groundY.
Skeleton Solve(const Proportions& p, const Pose& pose, bool planted, double groundY);

// Direction of a hanging limb turned forward by `angle`.
Vec Hang(double angle);
// Direction of the torso turned forward by `angle` (upwards at 0).
Vec Rise(double angle);

// A tapered limb from a to b with round ends, shaded across its width and outlined.
void Limb(cairo_t* cr, Vec a, Vec b, double widthA, double widthB, Rgb colour);
// A filled polygon with an outline, shaded from its top-left.
void Plate(cairo_t* cr, const std::vector<Vec>& points, Rgb colour);
void Ellipse(cairo_t* cr, Vec centre, double rx, double ry, double angle, Rgb colour);
// Points of a shape given in a local frame, turned by `angle` and moved to `origin`.
std::vector<Vec> Place(const std::vector<Vec>& local, Vec origin, double angle);
// A soft ground shadow under the feet.
void GroundShadow(cairo_t* cr, double x, double y, double halfWidth, double alpha);

// A pose written in degrees: torso, head, back shoulder and elbow, front shoulder and elbow, back
// hip and knee, front hip and knee, weapon, then pelvis offset and roll.
Pose Key(double torso, double head, double backShoulder, double backElbow, double frontShoulder,
         double frontElbow, double backHip, double backKnee, double frontHip, double frontKnee,
         double weapon, double x = 0, double y = 0, double roll = 0);

// Where a frame falls in its clip: 0 at the first frame; looping clips stop short of 1.
double ClipTime(int index, int count, bool loop);
// As Through, with each key at its own time (ascending, first 0, last 1).
Pose ThroughAt(const std::vector<Pose>& keys, const std::vector<double>& times, double t);
