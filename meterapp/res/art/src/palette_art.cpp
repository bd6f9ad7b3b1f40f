#include "palette_art.h"

#include "colours.h"

namespace art::draw {
namespace {

bool ColourOf(char letter, uint32_t* colour) {
  using namespace colours::vga;
  switch (letter) {
    case 'k': *colour = kBlack; return true;
    case 'm': *colour = kMaroon; return true;
    case 'G': *colour = kGreen; return true;
    case 'o': *colour = kOlive; return true;
    case 'n': *colour = kNavy; return true;
    case 'p': *colour = kPurple; return true;
    case 't': *colour = kTeal; return true;
    case 'g': *colour = kGrey; return true;
    case 's': *colour = kSilver; return true;
    case 'r': *colour = kRed; return true;
    case 'l': *colour = kLime; return true;
    case 'y': *colour = kYellow; return true;
    case 'b': *colour = kBlue; return true;
    case 'f': *colour = kFuchsia; return true;
    case 'a': *colour = kAqua; return true;
    case 'w': *colour = kWhite; return true;
    default: return false;
  }
}

}  // namespace

void DrawPixelArt(Canvas& canvas, int x, int y, std::initializer_list<std::string_view> rows) {
  int row_index = 0;
  for (std::string_view row : rows) {
    for (size_t column = 0; column < row.size(); ++column) {
      uint32_t colour;
      if (ColourOf(row[column], &colour)) canvas.Set(x + int(column), y + row_index, colour);
    }
    ++row_index;
  }
}

}  // namespace art::draw
