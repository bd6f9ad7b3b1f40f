#pragma once
// Colours shared by several pictures.

#include "canvas.h"

namespace art::colours {

// The display's background: the view fills the face's display window with it
// before drawing the reading, so the digit pictures use it as their ground.
constexpr uint32_t kDisplay = draw::Rgb(128, 140, 128);
// A lit liquid-crystal segment.
constexpr uint32_t kSegment = draw::Rgb(22, 26, 24);
// The form's background, around the instrument's outline.
constexpr uint32_t kForm = draw::Rgb(170, 175, 195);

// The sixteen colours of palette pictures (tool bar, icons).
namespace vga {
constexpr uint32_t kBlack = draw::Rgb(0, 0, 0);
constexpr uint32_t kMaroon = draw::Rgb(128, 0, 0);
constexpr uint32_t kGreen = draw::Rgb(0, 128, 0);
constexpr uint32_t kOlive = draw::Rgb(128, 128, 0);
constexpr uint32_t kNavy = draw::Rgb(0, 0, 128);
constexpr uint32_t kPurple = draw::Rgb(128, 0, 128);
constexpr uint32_t kTeal = draw::Rgb(0, 128, 128);
constexpr uint32_t kGrey = draw::Rgb(128, 128, 128);
constexpr uint32_t kSilver = draw::Rgb(192, 192, 192);
constexpr uint32_t kRed = draw::Rgb(255, 0, 0);
constexpr uint32_t kLime = draw::Rgb(0, 255, 0);
constexpr uint32_t kYellow = draw::Rgb(255, 255, 0);
constexpr uint32_t kBlue = draw::Rgb(0, 0, 255);
constexpr uint32_t kFuchsia = draw::Rgb(255, 0, 255);
constexpr uint32_t kAqua = draw::Rgb(0, 255, 255);
constexpr uint32_t kWhite = draw::Rgb(255, 255, 255);
}  // namespace vga

}  // namespace art::colours
