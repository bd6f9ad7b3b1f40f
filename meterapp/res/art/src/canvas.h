#pragma once
// A small raster toolkit for drawing the program's pictures: shapes with
// optional anti-aliasing, solid and gradient paints, and pixel copies.

#include <cstdint>
#include <functional>
#include <vector>

#include "art/art.h"

namespace art::draw {

constexpr uint32_t Rgb(int r, int g, int b) {
  return 0xFF000000u | (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) | uint32_t(b & 0xFF);
}
constexpr uint32_t kTransparent = 0x00000000u;

// Linear mix of two colours, t = 0 gives a, t = 1 gives b (clamped).
uint32_t Mix(uint32_t a, uint32_t b, double t);
// Lighter (amount > 0) or darker (amount < 0) towards white or black.
uint32_t Shade(uint32_t colour, double amount);

struct Box {
  double x0, y0, x1, y1;  // half-open in pixel coordinates
};

// A region of the plane; pixel (x, y) covers [x, x+1) x [y, y+1).
class Shape {
 public:
  virtual ~Shape() = default;
  virtual bool Contains(double x, double y) const = 0;
  virtual Box Bounds() const = 0;
};

class RectShape : public Shape {
 public:
  RectShape(double x, double y, double w, double h) : box_{x, y, x + w, y + h} {}
  bool Contains(double x, double y) const override;
  Box Bounds() const override { return box_; }

 private:
  Box box_;
};

class RoundRect : public Shape {
 public:
  RoundRect(double x, double y, double w, double h, double radius);
  bool Contains(double x, double y) const override;
  Box Bounds() const override { return box_; }

 private:
  Box box_;
  double radius_;
};

class Ellipse : public Shape {
 public:
  Ellipse(double cx, double cy, double rx, double ry) : cx_(cx), cy_(cy), rx_(rx), ry_(ry) {}
  bool Contains(double x, double y) const override;
  Box Bounds() const override { return {cx_ - rx_, cy_ - ry_, cx_ + rx_, cy_ + ry_}; }

 private:
  double cx_, cy_, rx_, ry_;
};

struct Point {
  double x, y;
};

// Filled with the non-zero winding rule.
class Polygon : public Shape {
 public:
  explicit Polygon(std::vector<Point> points);
  bool Contains(double x, double y) const override;
  Box Bounds() const override { return box_; }

 private:
  std::vector<Point> points_;
  Box box_;
};

// A straight stroke with round ends.
class Segment : public Shape {
 public:
  Segment(Point from, Point to, double width) : a_(from), b_(to), half_(width / 2) {}
  bool Contains(double x, double y) const override;
  Box Bounds() const override;

 private:
  Point a_, b_;
  double half_;
};

// Several strokes filled as one region, so overlapping joins blend once.
class Strokes : public Shape {
 public:
  void Add(Point from, Point to, double width);
  bool Contains(double x, double y) const override;
  Box Bounds() const override { return box_; }

 private:
  std::vector<Segment> segments_;
  Box box_{0, 0, 0, 0};
};

// The points of `keep` that are not in `cut`; both must outlive this.
class Difference : public Shape {
 public:
  Difference(const Shape& keep, const Shape& cut) : keep_(keep), cut_(cut) {}
  bool Contains(double x, double y) const override { return keep_.Contains(x, y) && !cut_.Contains(x, y); }
  Box Bounds() const override { return keep_.Bounds(); }

 private:
  const Shape& keep_;
  const Shape& cut_;
};

// Colour at a point of the plane.
using Paint = std::function<uint32_t(double x, double y)>;
Paint Solid(uint32_t colour);
// Top colour at y0 to bottom colour at y1, constant beyond.
Paint VerticalGradient(double y0, uint32_t top, double y1, uint32_t bottom);
Paint HorizontalGradient(double x0, uint32_t left, double x1, uint32_t right);

enum class Edges {
  Smooth,  // 4 x 4 samples per pixel, partial coverage blended
  Sharp,   // one sample at the pixel's centre: for palette pictures
};

class Canvas {
 public:
  Canvas(int width, int height, uint32_t background);

  int width() const { return image_.width; }
  int height() const { return image_.height; }

  // Paints the shape, blending over what is there; parts outside are clipped.
  void Fill(const Shape& shape, const Paint& paint, Edges edges = Edges::Smooth);
  void Fill(const Shape& shape, uint32_t colour, Edges edges = Edges::Smooth) { Fill(shape, Solid(colour), edges); }
  // Exact pixel rectangle, replacing what is there (clipped).
  void FillRect(int x, int y, int w, int h, uint32_t colour);
  void Line(Point from, Point to, double width, uint32_t colour, Edges edges = Edges::Smooth);

  // Out-of-range reads give kTransparent; out-of-range writes are ignored.
  uint32_t At(int x, int y) const;
  void Set(int x, int y, uint32_t colour);
  void Blend(int x, int y, uint32_t colour, double coverage);

  // Copies `source` with its top left at (x, y), replacing pixels (clipped).
  void Paste(const Image& source, int x, int y);
  // The w x h part at (x, y); pixels outside the canvas come out transparent.
  Image Crop(int x, int y, int w, int h) const;

  const Image& image() const { return image_; }
  Image Take() { return std::move(image_); }

 private:
  Image image_;
};

}  // namespace art::draw
