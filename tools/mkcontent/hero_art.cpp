// The hero, Ravik: a cloaked swordsman in leather and a steel pauldron, facing left.
#include <algorithm>
#include <cmath>

#include "mkcontent/character_art.hpp"
#include "mkcontent/rig.hpp"

namespace {

constexpr int kSize = 128;
constexpr double kGround = 64 + 56;  // feet: the unit's reference point plus boxBottom
const Proportions kBody{22, 22, 30, 11, 16, 16, {64, kGround - 43}};

const Rgb kTrousers{0.22, 0.20, 0.22};
const Rgb kBoots{0.20, 0.14, 0.10};
const Rgb kJerkin{0.36, 0.22, 0.15};
const Rgb kCloak{0.30, 0.07, 0.09};
const Rgb kHair{0.12, 0.09, 0.08};

Pose Guard() {
  return Key(10, -5, -12, 25, 30, 50, -16, 12, 18, 10, 125);
}

Pose HeroPose(Clip clip, int index, int count) {
  switch (clip) {
    case Clip::Idle:
      return Through({Key(6, -4, -12, 25, 25, 55, -14, 10, 16, 8, 130),
                      Key(9, -6, -10, 28, 28, 52, -14, 14, 16, 12, 126, 0, 1.5)},
                     ClipTime(index, count, true), true);
    case Clip::Walk:
      return Through({Key(10, -5, 25, 20, -5, 60, -24, 18, 28, 4, 118),
                      Key(12, -6, 5, 25, 8, 55, 0, 60, 6, 10, 124),
                      Key(10, -5, -20, 30, 18, 50, 28, 4, -24, 18, 118),
                      Key(12, -6, 5, 25, 8, 55, 6, 10, 0, 60, 124)},
                     ClipTime(index, count, true), true);
    case Clip::Jump:
      return Through({Key(4, -8, -30, 20, 150, 20, -10, 10, 10, 30, 160, 0, -6),
                      Key(20, -5, 40, 80, 40, 60, 70, 120, 90, 110, 110, 0, -12),
                      Key(8, -5, -20, 30, 35, 45, -5, 40, 30, 60, 130, 0, -6)},
                     ClipTime(index, count, true), true);
    case Clip::Attack1:  // level slash
      return Through({Key(-8, 0, -20, 30, -60, -40, -16, 12, 20, 15, 230),
                      Key(18, -4, 10, 30, 70, 10, -20, 15, 30, 20, 105, -3),
                      Key(22, -4, 20, 30, 100, -10, -22, 15, 32, 22, 55, -4), Guard()},
                     ClipTime(index, count, false), false);
    case Clip::Attack2:  // overhead cleave
      return Through({Key(-10, 6, -40, 60, 160, 30, -12, 10, 14, 10, 190),
                      Key(25, -10, 20, 20, 120, -10, -25, 20, 35, 30, 110, -4, 2),
                      Key(35, -10, 30, 20, 70, 0, -28, 25, 38, 35, 35, -6, 4), Guard()},
                     ClipTime(index, count, false), false);
    case Clip::Attack3:  // lunge
      return Through({Key(-4, 0, -10, 30, -30, 110, -12, 10, 14, 10, 95, 6),
                      Key(24, -10, -30, 20, 85, 0, -35, 10, 40, 40, 90, -10, 3),
                      Key(18, -8, -20, 25, 70, 10, -30, 10, 34, 30, 92, -8, 2), Guard()},
                     ClipTime(index, count, false), false);
    case Clip::Attack4:  // rising cut
      return Through({Key(25, -10, 20, 40, -10, 20, -10, 60, 40, 80, 20, 0, 6),
                      Key(10, -5, 0, 30, 60, 20, -15, 30, 30, 40, 100),
                      Key(-10, 10, -40, 40, 160, 10, -20, 10, 10, 10, 195, 0, -12),
                      Key(-5, 5, -30, 40, 150, 20, -16, 10, 14, 10, 175, 0, -4), Guard()},
                     ClipTime(index, count, false), false);
    case Clip::Crouch:
      return Through({Key(28, -12, 20, 40, 40, 60, -10, 110, 60, 120, 118),
                      Key(30, -12, 22, 42, 42, 58, -10, 114, 60, 124, 116, 0, 1)},
                     ClipTime(index, count, true), true);
    case Clip::Stunned:
      return Through({Key(-20, 20, -60, 40, -40, 60, -5, 10, 25, 15, 150, 4),
                      Key(-12, 25, -30, 70, -20, 80, -10, 14, 20, 18, 140, 6)},
                     ClipTime(index, count, true), true);
    case Clip::Death:
      return Through({Key(-15, 20, -50, 40, -30, 50, -5, 10, 25, 15, 150),
                      Key(10, 30, 10, 20, 10, 20, 20, 100, 60, 110, 60),
                      Key(20, 40, 30, 10, 40, 10, 20, 110, 60, 110, 30, -14, 0, 35),
                      Key(0, 10, 20, 10, 20, 10, 5, 10, 10, 10, 10, -44, 0, 88)},
                     ClipTime(index, count, false), false);
    default:
      return Guard();
  }
}

void DrawSword(cairo_t* cr, const Skeleton& s, const Pose& p) {
  Vec dir = Hang(p.weapon);
  Vec side{-dir.y, dir.x};
  Vec guard = s.frontHand + dir * 5;
  Vec tip = s.frontHand + dir * 46;
  // Blade: a long narrow wedge with a bright edge.
  Plate(cr, {guard + side * 2.4, tip - side * 0.4, tip, guard - side * 2.4}, palette::kSteel);
  cairo_set_line_width(cr, 0.9);
  SetColor(cr, {0.95, 0.97, 1.0}, 0.9);
  cairo_move_to(cr, guard.x + side.x, guard.y + side.y);
  cairo_line_to(cr, tip.x, tip.y);
  cairo_stroke(cr);
  Limb(cr, s.frontHand - dir * 5, guard, 2.6, 2.6, palette::kLeather);
  Limb(cr, guard + side * 6, guard - side * 6, 2.6, 2.6, palette::kGold);
  Ellipse(cr, s.frontHand - dir * 6, 2.2, 2.2, 0, palette::kGold);
}

void DrawSmear(cairo_t* cr, const Skeleton& now, const Pose& pNow, const Skeleton& before,
               const Pose& pBefore) {
  double turn = pNow.weapon - pBefore.weapon;
  if (std::fabs(turn) < 0.35) return;
  // A crescent swept by the blade between the last frame and this one, around the hand.
  Vec c = now.frontHand + (before.frontHand - now.frontHand) * 0.5;
  auto screenAngle = [](double w) {
    Vec d = Hang(w);
    return std::atan2(d.y, d.x);
  };
  double a0 = screenAngle(pBefore.weapon), a1 = screenAngle(pNow.weapon);
  cairo_new_path(cr);
  // Turning forward runs the other way round the screen than turning back.
  if (turn > 0) {
    cairo_arc(cr, c.x, c.y, 46, a0, a1);
    cairo_arc_negative(cr, c.x, c.y, 18, a1, a0);
  } else {
    cairo_arc_negative(cr, c.x, c.y, 46, a0, a1);
    cairo_arc(cr, c.x, c.y, 18, a1, a0);
  }
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_radial(c.x, c.y, 18, c.x, c.y, 46);
  cairo_pattern_add_color_stop_rgba(g, 0, 0.8, 0.9, 1.0, 0.0);
  cairo_pattern_add_color_stop_rgba(g, 1, 0.92, 0.96, 1.0, 0.5);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void DrawHead(cairo_t* cr, const Skeleton& s, const Pose& p) {
  double a = -(p.torso + p.head);
  Ellipse(cr, s.head, 8.0, 8.6, a, palette::kSkin);
  // Hair over the crown and the back of the head, a red band, an eye looking ahead.
  Plate(cr,
        Place({{-7, -4}, {-4, -9}, {3, -9.5}, {8.5, -4}, {8.5, 4}, {5, 7}, {3, 1}, {-2, -3}},
              s.head, a),
        kHair);
  Plate(cr, Place({{-8, -4.5}, {8.6, -3}, {8.6, -0.8}, {-8, -2}}, s.head, a), palette::kCloth);
  Plate(cr, Place({{8, -2}, {16, 1}, {15, 4}, {8, 0.5}}, s.head, a), palette::kCloth);
  SetColor(cr, {0.08, 0.05, 0.04});
  auto eye = Place({{-4.5, 0.5}}, s.head, a)[0];
  cairo_arc(cr, eye.x, eye.y, 1.1, 0, 2 * M_PI);
  cairo_fill(cr);
}

void DrawHero(cairo_t* cr, const Pose& p, const Pose* previous) {
  Skeleton s = Solve(kBody, p, true, kGround);
  GroundShadow(cr, s.pelvis.x, kGround, 24 * (1 - std::fabs(std::sin(p.roll)) * 0.2), 0.45);
  cairo_save(cr);
  cairo_translate(cr, s.pelvis.x, kGround);
  cairo_rotate(cr, p.roll);
  cairo_translate(cr, -s.pelvis.x, -kGround);

  const double t = -p.torso;
  // Behind the body: the far arm and leg in shadow, and the cloak.
  Limb(cr, s.neck, s.backElbow, 6, 5, Shade(kJerkin, 0.7));
  Limb(cr, s.backElbow, s.backHand, 5, 4.5, Shade(palette::kSkin, 0.7));
  Limb(cr, s.pelvis, s.backKnee, 8, 7, Shade(kTrousers, 0.7));
  Limb(cr, s.backKnee, s.backFoot, 7, 6, Shade(kBoots, 0.7));
  Limb(cr, s.backFoot, s.backFoot + Vec{-6, 0}, 5, 4, Shade(kBoots, 0.7));
  double flutter = std::sin(p.x * 0.1 + p.torso * 3) * 3;
  Plate(cr,
        Place({{2, -31}, {10, -28}, {15 + flutter, -8}, {19 + flutter * 1.5, 20}, {6, 23}, {-1, 0}},
              s.pelvis, t),
        kCloak);
  // The torso: jerkin, belt, pauldron.
  Plate(cr, Place({{-7, 2}, {7, 2}, {9, -18}, {8, -31}, {-6, -31}, {-9, -19}}, s.pelvis, t),
        kJerkin);
  Plate(cr, Place({{-8, -2}, {8, -2}, {8, 2.5}, {-8, 2.5}}, s.pelvis, t), palette::kLeather);
  Plate(cr, Place({{-2, -1}, {2, -1}, {2, 2}, {-2, 2}}, s.pelvis, t), palette::kGold);
  DrawHead(cr, s, p);
  // The near leg and the sword arm.
  Limb(cr, s.pelvis, s.frontKnee, 8.5, 7, kTrousers);
  Limb(cr, s.frontKnee, s.frontFoot, 7, 6, kBoots);
  Limb(cr, s.frontFoot, s.frontFoot + Vec{-7, 0.5}, 5.5, 4, kBoots);
  if (previous) {
    Skeleton before = Solve(kBody, *previous, true, kGround);
    DrawSmear(cr, s, p, before, *previous);
  }
  Limb(cr, s.neck, s.frontElbow, 6.5, 5.5, kJerkin);
  Ellipse(cr, s.neck + Hang(p.torso + p.frontShoulder) * 3, 7, 5.5, -p.torso - p.frontShoulder,
          palette::kSteel);
  Limb(cr, s.frontElbow, s.frontHand, 5.5, 5, palette::kSkin);
  Limb(cr, s.frontElbow, s.frontElbow + (s.frontHand - s.frontElbow) * 0.6, 6, 6,
       palette::kLeather);
  DrawSword(cr, s, p);
  cairo_restore(cr);
}

bool IsAttack(Clip c) {
  return c == Clip::Attack1 || c == Clip::Attack2 || c == Clip::Attack3 || c == Clip::Attack4;
}

}  // namespace

RgbaImage PaintHero(Clip clip, int index, int count) {
  Canvas canvas(kSize, kSize);
  Pose pose = HeroPose(clip, index, count);
  Pose before;
  const Pose* previous = nullptr;
  if (IsAttack(clip) && index > 0) {
    before = HeroPose(clip, index - 1, count);
    previous = &before;
  }
  DrawHero(canvas.cr(), pose, previous);
  return canvas.Image();
}
