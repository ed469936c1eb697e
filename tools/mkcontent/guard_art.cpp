// The guard: plate armour, a crested helm, a round shield and a bearded axe, facing left.
#include <algorithm>
#include <cmath>

#include "mkcontent/character_art.hpp"
#include "mkcontent/rig.hpp"

namespace {

constexpr int kSize = 128;
constexpr double kGround = 64 + 56;
const Proportions kBody{22, 22, 31, 11, 17, 16, {64, kGround - 43}};

const Rgb kPlate{0.47, 0.50, 0.56};
const Rgb kMail{0.30, 0.31, 0.35};
const Rgb kTabard{0.38, 0.07, 0.08};
const Rgb kShield{0.30, 0.18, 0.10};

Pose Ready() {
  return Key(8, -4, 20, 50, 20, 60, -14, 10, 16, 8, 165);
}

struct GuardFrame {
  Pose pose;
  double headOff = 0;  // 0: on the shoulders; above 0: how far its flight has gone
  bool planted = true;
};

GuardFrame GuardPose(Clip clip, int index, int count) {
  GuardFrame f;
  switch (clip) {
    case Clip::Idle:
      f.pose = Through({Ready(), Key(10, -6, 22, 52, 22, 58, -14, 13, 16, 11, 160, 0, 1)},
                       ClipTime(index, count, true), true);
      break;
    case Clip::Walk:
      f.pose = Through({Key(10, -4, 25, 50, 5, 60, -24, 18, 28, 4, 160),
                        Key(12, -5, 20, 50, 15, 60, 0, 55, 6, 10, 165),
                        Key(10, -4, 15, 50, 25, 60, 28, 4, -24, 18, 160),
                        Key(12, -5, 20, 50, 15, 60, 6, 10, 0, 55, 165)},
                       ClipTime(index, count, true), true);
      break;
    case Clip::Jump:
      f.pose = Through({Key(15, -4, 30, 60, 60, 40, 40, 90, 70, 100, 130, 0, -8),
                        Key(5, -4, 20, 50, 90, 30, 0, 30, 20, 40, 150, 0, -4)},
                       ClipTime(index, count, true), true);
      f.planted = false;
      break;
    case Clip::Strike: {
      // Slow wind-up, a fast fall; the ninth frame (index 8) is the blow.
      f.pose = ThroughAt({Ready(), Key(-6, 4, 30, 40, 120, 50, -14, 10, 20, 10, 215),
                          Key(-12, 6, 35, 40, 135, 50, -16, 12, 22, 12, 248, 2),
                          Key(30, -8, 10, 30, 75, 0, -25, 18, 34, 30, 40, -6, 2),
                          Key(15, -4, 15, 40, 45, 40, -18, 12, 24, 14, 140)},
                         {0, 0.4, 0.6, 8.0 / 11.0, 1}, ClipTime(index, count, false));
      break;
    }
    case Clip::Stunned:
      f.pose = Through({Key(-18, 18, 60, 60, -30, 50, -6, 10, 24, 14, 150, 5),
                        Key(-10, 24, 50, 70, -15, 70, -10, 14, 20, 18, 140, 7)},
                       ClipTime(index, count, true), true);
      break;
    case Clip::Death: {
      // Held on the first frame for two seconds: on his knees, the head already flying.
      double t = ClipTime(index, count, false);
      f.pose = ThroughAt({Key(20, 0, 30, 20, 40, 20, -10, 100, 50, 110, 70),
                          Key(24, 0, 30, 20, 40, 20, -10, 100, 50, 110, 60),
                          Key(30, 0, 40, 10, 50, 10, -10, 100, 50, 110, 40, 22, 0, -40),
                          Key(10, 0, 80, 10, 90, 10, 0, 20, 10, 20, 80, 52, 0, -86)},
                         {0, 0.2, 0.55, 1}, t);
      f.headOff = 0.15 + 0.85 * t;
      break;
    }
    default:
      f.pose = Ready();
  }
  return f;
}

void DrawAxe(cairo_t* cr, Vec hand, double angle) {
  Vec dir = Hang(angle);
  Vec side{dir.y, -dir.x};
  Vec end = hand + dir * 32;
  Limb(cr, hand - dir * 7, end + dir * 3, 3, 3, palette::kWood);
  // A bearded blade: broad at the edge, narrow at the haft.
  Plate(cr,
        {end - dir * 2, end + side * 6 - dir * 6, end + side * 13 - dir * 9,
         end + side * 14 + dir * 6, end + side * 6 + dir * 4, end + dir * 4},
        palette::kSteel);
  cairo_set_line_width(cr, 1);
  SetColor(cr, {0.95, 0.97, 1.0}, 0.85);
  cairo_move_to(cr, end.x + side.x * 13 - dir.x * 8, end.y + side.y * 13 - dir.y * 8);
  cairo_line_to(cr, end.x + side.x * 13.6 + dir.x * 5, end.y + side.y * 13.6 + dir.y * 5);
  cairo_stroke(cr);
}

void DrawHelm(cairo_t* cr, Vec centre, double angle, bool stump) {
  // The crest, the helm itself, and the dark slit of the visor facing left.
  Plate(cr, Place({{-2, -9}, {6, -15}, {15, -12}, {10, -7}, {4, -8}}, centre, angle),
        palette::kBloodBright);
  Plate(cr,
        Place({{-9, -3}, {-7, -8}, {0, -10.5}, {7, -8}, {9, -1}, {8, 9}, {-8, 9}, {-10, 3}}, centre,
              angle),
        kPlate);
  Plate(cr, Place({{-10, 0}, {-2, 0}, {-2, 2}, {-10, 2}}, centre, angle), {0.05, 0.05, 0.06});
  Plate(cr, Place({{-6, 0}, {-4, 0}, {-4, 7}, {-6, 7}}, centre, angle), {0.05, 0.05, 0.06});
  if (stump) {
    Ellipse(cr, Place({{0, 9}}, centre, angle)[0], 5, 2, angle, palette::kBloodBright);
  }
}

void DrawGuard(cairo_t* cr, const GuardFrame& f) {
  const Pose& p = f.pose;
  Skeleton s = Solve(kBody, p, f.planted, kGround);
  GroundShadow(cr, s.pelvis.x, kGround, 24, f.planted ? 0.45 : 0.25);
  cairo_save(cr);
  cairo_translate(cr, s.pelvis.x, kGround);
  cairo_rotate(cr, p.roll);
  cairo_translate(cr, -s.pelvis.x, -kGround);
  const double t = -p.torso;
  // Far side: shield arm and leg.
  Limb(cr, s.neck, s.backElbow, 7, 6, Shade(kPlate, 0.65));
  Limb(cr, s.backElbow, s.backHand, 6, 5.5, Shade(kPlate, 0.65));
  Ellipse(cr, s.backHand + Vec{2, -2}, 14, 15, 0, kShield);
  Ellipse(cr, s.backHand + Vec{2, -2}, 4, 4, 0, palette::kSteel);
  Limb(cr, s.pelvis, s.backKnee, 9, 8, Shade(kMail, 0.7));
  Limb(cr, s.backKnee, s.backFoot, 8, 7, Shade(kPlate, 0.65));
  Limb(cr, s.backFoot, s.backFoot + Vec{-7, 0}, 6, 5, Shade(kPlate, 0.6));
  // Body: mail skirt, breastplate, tabard with a pale emblem.
  Plate(cr, Place({{-9, -4}, {9, -4}, {11, 12}, {-11, 12}}, s.pelvis, t), kMail);
  Plate(cr, Place({{-8, 2}, {8, 2}, {10, -18}, {9, -32}, {-8, -32}, {-10, -18}}, s.pelvis, t),
        kPlate);
  Plate(cr, Place({{-6, 14}, {6, 14}, {6, -22}, {-6, -22}}, s.pelvis, t), kTabard);
  Plate(cr, Place({{0, -17}, {3, -12}, {0, -7}, {-3, -12}}, s.pelvis, t), palette::kGold);
  Plate(cr, Place({{-9, -2}, {9, -2}, {9, 1.5}, {-9, 1.5}}, s.pelvis, t), palette::kLeather);
  const double headAngle = -(p.torso + p.head);
  if (f.headOff <= 0) {
    DrawHelm(cr, s.head, headAngle, false);
  } else {
    Ellipse(cr, s.neck + Rise(p.torso) * 2, 5, 2.5, t, palette::kBloodBright);
  }
  Limb(cr, s.pelvis, s.frontKnee, 9.5, 8, kMail);
  Limb(cr, s.frontKnee, s.frontFoot, 8, 7, kPlate);
  Limb(cr, s.frontFoot, s.frontFoot + Vec{-8, 0.5}, 6.5, 5, kPlate);
  Limb(cr, s.neck, s.frontElbow, 7.5, 6.5, kPlate);
  Ellipse(cr, s.neck + Hang(p.torso + p.frontShoulder) * 3, 8, 6.5, -p.torso - p.frontShoulder,
          kPlate);
  Limb(cr, s.frontElbow, s.frontHand, 6.5, 6, kPlate);
  DrawAxe(cr, s.frontHand, p.weapon);
  cairo_restore(cr);

  if (f.headOff > 0) {
    // The head flies forward and up, drops and rolls to a stop ahead of the body.
    double h = f.headOff;
    double x = std::max(12.0, s.head.x - 46 * std::min(1.0, h * 1.6));
    double arc = std::sin(std::min(1.0, h * 1.6) * M_PI);
    double y = s.head.y + (kGround - 9 - s.head.y) * std::min(1.0, h * 1.6) - 26 * arc;
    DrawHelm(cr, {x, y}, -h * 7.0, true);
  }
}

}  // namespace

RgbaImage PaintGuard(Clip clip, int index, int count) {
  Canvas canvas(kSize, kSize);
  DrawGuard(canvas.cr(), GuardPose(clip, index, count));
  return canvas.Image();
}
