#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace art::draw {
namespace {

int Channel(uint32_t c, int shift) { return int((c >> shift) & 0xFF); }

uint32_t Pack(double a, double r, double g, double b) {
  auto byte = [](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 255.0))); };
  return (byte(a) << 24) | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

constexpr int kSamplesPerAxis = 4;

}  // namespace

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto lerp = [&](int shift) { return Channel(a, shift) + (Channel(b, shift) - Channel(a, shift)) * t; };
  return Pack(lerp(24), lerp(16), lerp(8), lerp(0));
}

uint32_t Shade(uint32_t colour, double amount) {
  uint32_t target = amount >= 0 ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
  return (colour & 0xFF000000u) | (Mix(colour, target, std::fabs(amount)) & 0x00FFFFFFu);
}

bool RectShape::Contains(double x, double y) const {
  return x >= box_.x0 && x < box_.x1 && y >= box_.y0 && y < box_.y1;
}

RoundRect::RoundRect(double x, double y, double w, double h, double radius)
    : box_{x, y, x + w, y + h}, radius_(std::min({radius, w / 2, h / 2})) {}

bool RoundRect::Contains(double x, double y) const {
  if (x < box_.x0 || x >= box_.x1 || y < box_.y0 || y >= box_.y1) return false;
  double cx = std::clamp(x, box_.x0 + radius_, box_.x1 - radius_);
  double cy = std::clamp(y, box_.y0 + radius_, box_.y1 - radius_);
  double dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= radius_ * radius_;
}

bool Ellipse::Contains(double x, double y) const {
  if (rx_ <= 0 || ry_ <= 0) return false;
  double dx = (x - cx_) / rx_, dy = (y - cy_) / ry_;
  return dx * dx + dy * dy <= 1.0;
}

Polygon::Polygon(std::vector<Point> points) : points_(std::move(points)), box_{0, 0, 0, 0} {
  if (points_.empty()) return;
  box_ = {points_[0].x, points_[0].y, points_[0].x, points_[0].y};
  for (const Point& p : points_) {
    box_.x0 = std::min(box_.x0, p.x);
    box_.y0 = std::min(box_.y0, p.y);
    box_.x1 = std::max(box_.x1, p.x);
    box_.y1 = std::max(box_.y1, p.y);
  }
}

bool Polygon::Contains(double x, double y) const {
  int winding = 0;
  for (size_t i = 0, n = points_.size(); i < n; ++i) {
    const Point& a = points_[i];
    const Point& b = points_[(i + 1) % n];
    double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
    if (a.y <= y) {
      if (b.y > y && side > 0) ++winding;
    } else if (b.y <= y && side < 0) {
      --winding;
    }
  }
  return winding != 0;
}

bool Segment::Contains(double x, double y) const {
  double vx = b_.x - a_.x, vy = b_.y - a_.y;
  double length2 = vx * vx + vy * vy;
  double t = length2 > 0 ? std::clamp(((x - a_.x) * vx + (y - a_.y) * vy) / length2, 0.0, 1.0) : 0.0;
  double dx = x - (a_.x + t * vx), dy = y - (a_.y + t * vy);
  return dx * dx + dy * dy <= half_ * half_;
}

Box Segment::Bounds() const {
  return {std::min(a_.x, b_.x) - half_, std::min(a_.y, b_.y) - half_, std::max(a_.x, b_.x) + half_,
          std::max(a_.y, b_.y) + half_};
}

void Strokes::Add(Point from, Point to, double width) {
  segments_.emplace_back(from, to, width);
  Box b = segments_.back().Bounds();
  if (segments_.size() == 1) {
    box_ = b;
    return;
  }
  box_ = {std::min(box_.x0, b.x0), std::min(box_.y0, b.y0), std::max(box_.x1, b.x1), std::max(box_.y1, b.y1)};
}

bool Strokes::Contains(double x, double y) const {
  for (const Segment& segment : segments_) {
    if (segment.Contains(x, y)) return true;
  }
  return false;
}

Paint Solid(uint32_t colour) {
  return [colour](double, double) { return colour; };
}

Paint VerticalGradient(double y0, uint32_t top, double y1, uint32_t bottom) {
  return [=](double, double y) { return Mix(top, bottom, y1 > y0 ? (y - y0) / (y1 - y0) : 0.0); };
}

Paint HorizontalGradient(double x0, uint32_t left, double x1, uint32_t right) {
  return [=](double x, double) { return Mix(left, right, x1 > x0 ? (x - x0) / (x1 - x0) : 0.0); };
}

Canvas::Canvas(int width, int height, uint32_t background) {
  image_.width = std::max(width, 0);
  image_.height = std::max(height, 0);
  image_.pixels.assign(size_t(image_.width) * size_t(image_.height), background);
}

void Canvas::Fill(const Shape& shape, const Paint& paint, Edges edges) {
  Box box = shape.Bounds();
  int x0 = std::max(0, int(std::floor(box.x0)));
  int y0 = std::max(0, int(std::floor(box.y0)));
  int x1 = std::min(width(), int(std::ceil(box.x1)));
  int y1 = std::min(height(), int(std::ceil(box.y1)));
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      double coverage;
      if (edges == Edges::Sharp) {
        coverage = shape.Contains(x + 0.5, y + 0.5) ? 1.0 : 0.0;
      } else {
        int inside = 0;
        for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
          for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
            inside += shape.Contains(x + (sx + 0.5) / kSamplesPerAxis, y + (sy + 0.5) / kSamplesPerAxis);
          }
        }
        coverage = double(inside) / (kSamplesPerAxis * kSamplesPerAxis);
      }
      if (coverage > 0) Blend(x, y, paint(x + 0.5, y + 0.5), coverage);
    }
  }
}

void Canvas::FillRect(int x, int y, int w, int h, uint32_t colour) {
  for (int yy = std::max(y, 0); yy < std::min(y + h, height()); ++yy) {
    for (int xx = std::max(x, 0); xx < std::min(x + w, width()); ++xx) Set(xx, yy, colour);
  }
}

void Canvas::Line(Point from, Point to, double width, uint32_t colour, Edges edges) {
  Fill(Segment(from, to, width), colour, edges);
}

uint32_t Canvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return kTransparent;
  return image_.pixels[size_t(y) * size_t(width()) + size_t(x)];
}

void Canvas::Set(int x, int y, uint32_t colour) {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return;
  image_.pixels[size_t(y) * size_t(width()) + size_t(x)] = colour;
}

void Canvas::Blend(int x, int y, uint32_t colour, double coverage) {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return;
  uint32_t& dst = image_.pixels[size_t(y) * size_t(width()) + size_t(x)];
  double sa = Channel(colour, 24) / 255.0 * std::clamp(coverage, 0.0, 1.0);
  double da = Channel(dst, 24) / 255.0;
  double out_a = sa + da * (1 - sa);
  if (out_a <= 0) {
    dst = kTransparent;
    return;
  }
  auto channel = [&](int shift) {
    return (Channel(colour, shift) * sa + Channel(dst, shift) * da * (1 - sa)) / out_a;
  };
  dst = Pack(out_a * 255, channel(16), channel(8), channel(0));
}

void Canvas::Paste(const Image& source, int x, int y) {
  for (int sy = 0; sy < source.height; ++sy) {
    for (int sx = 0; sx < source.width; ++sx) {
      Set(x + sx, y + sy, source.pixels[size_t(sy) * size_t(source.width) + size_t(sx)]);
    }
  }
}

Image Canvas::Crop(int x, int y, int w, int h) const {
  Image out;
  out.width = std::max(w, 0);
  out.height = std::max(h, 0);
  out.pixels.resize(size_t(out.width) * size_t(out.height));
  for (int yy = 0; yy < out.height; ++yy) {
    for (int xx = 0; xx < out.width; ++xx) out.pixels[size_t(yy) * size_t(out.width) + size_t(xx)] = At(x + xx, y + yy);
  }
  return out;
}

}  // namespace art::draw
