// Where the level shows in the editor: the map area at the top of the 800 x 600 picture, the
// scale (screen px per level px: 1 is the game's own size) and the level point at its corner.
#pragma once

class EditorView {
 public:
  // The map area; the panel lies below it.
  static constexpr double kMapWidth = 800;
  static constexpr double kMapHeight = 470;
  // Zooming in stops at twice the game's size.
  static constexpr double kLargest = 2.0;

  // A level of worldWidth x worldHeight px, shown whole.
  void SetLevel(double worldWidth, double worldHeight);
  // The whole level in the map area.
  void Fit();
  // The game's own size, with the level point (wx, wy) in the middle of the map area.
  void OneToOne(double wx, double wy);
  // Whether the whole level shows (else some zoom).
  bool Whole() const { return scale_ <= FitScale(); }
  // Zooms by `factor` keeping the level point under screen point (sx, sy) in place.
  void ZoomAt(double factor, double sx, double sy);
  // Moves the view by (dx, dy) screen px.
  void Scroll(double dx, double dy);
  // Brings the level point into the middle of the map area.
  void CentreOn(double wx, double wy);

  double Scale() const { return scale_; }
  double ScreenX(double wx) const { return (wx - left_) * scale_; }
  double ScreenY(double wy) const { return (wy - top_) * scale_; }
  double WorldX(double sx) const { return sx / scale_ + left_; }
  double WorldY(double sy) const { return sy / scale_ + top_; }
  static bool InMap(double sx, double sy) {
    return sx >= 0 && sx < kMapWidth && sy >= 0 && sy < kMapHeight;
  }

 private:
  double FitScale() const;
  // Keeps the level in view: centred where it is smaller than the map area.
  void Clamp();

  double worldWidth_ = 800;
  double worldHeight_ = 600;
  double scale_ = 1;
  double left_ = 0;
  double top_ = 0;
};
