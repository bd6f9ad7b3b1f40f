// The tool bar's button images: seven 17 x 15 pictures side by side, in the
// sixteen-colour palette on silver, the colour the tool bar treats as its own
// button face.

#include "colours.h"
#include "palette_art.h"
#include "pictures.h"

namespace art::pictures {

Image ToolBarStrip() {
  constexpr int kButton = 17;
  draw::Canvas canvas(7 * kButton, 15, colours::vga::kSilver);
  // Open: an open folder.
  draw::DrawPixelArt(canvas, 0 * kButton, 0, {
      ".................",
      ".................",
      "..kkkk...........",
      ".kywwyk..........",
      ".kwyyyykkkkkkk...",
      ".kyyyyyyyyyywk...",
      ".kyyykkkkkkkkkkkk",
      ".kyykyyyyyyyyyyk.",
      ".kyykyyyyyyyyyok.",
      ".kykyyyyyyyyyyk..",
      ".kykyyyyyyyyyok..",
      ".kkyyyyyyyyyyk...",
      ".kkooooooooook...",
      "..kkkkkkkkkkk....",
      ".................",
  });
  // Save as: a floppy disk.
  draw::DrawPixelArt(canvas, 1 * kButton, 0, {
      ".................",
      ".kkkkkkkkkkkkkk..",
      ".knkwwwwwwwwknk..",
      ".knkwwwwwwwwknk..",
      ".knkwggggggwknk..",
      ".knkwwwwwwwwknk..",
      ".knkwggggggwknk..",
      ".knkwwwwwwwwknk..",
      ".knnkkkkkkkknnk..",
      ".knnnnnnnnnnnnk..",
      ".knnksssskkknnk..",
      ".knnkssssknknnk..",
      ".knnkssssknknnk..",
      "..kkkkkkkkkkkkk..",
      ".................",
  });
  // Export To Excel: a table with an arrow leaving it.
  draw::DrawPixelArt(canvas, 2 * kButton, 0, {
      ".................",
      "kkkkkkkkkkkk.....",
      "kGGGkGGGGGGk.....",
      "kkkkkkkkkkkk.....",
      "kwwwkwwwwwwk.....",
      "kkkkkkkkkkkk.....",
      "kwwwkwwwwwwk.....",
      "kkkkkkkkkkkk.....",
      "kwwwkwwwwwwk.k...",
      "kkkkkkkkkkkk.kk..",
      "kwwwkwwwkkkkkkrk.",
      "kkkkkkkkkrrrrrrrk",
      "kwwwkwwwkkkkkkrk.",
      "kkkkkkkkkkkk.kk..",
      ".............k...",
  });
  // Run: a yellow lightning bolt.
  draw::DrawPixelArt(canvas, 3 * kButton, 0, {
      ".................",
      "........kkkkkk...",
      ".......kyyyyyk...",
      "......kyyyyyk....",
      ".....kyyyyyk.....",
      "....kyyyyykkkkk..",
      "...kyyyyyyyyyk...",
      "...kkkkkyyyyk....",
      ".......kyyyk.....",
      "......kyyyk......",
      ".....kyyyk.......",
      "....kyyk.........",
      "....kyk..........",
      "....kk...........",
      ".................",
  });
  // Stop: a red no-entry sign.
  draw::DrawPixelArt(canvas, 4 * kButton, 0, {
      "......mmmmm......",
      "....mmrrrrrmm....",
      "...mrrrrrrrrrm...",
      "..mrrrrrrrrrrrm..",
      "..mrrrrrrrrrrrm..",
      ".mrrrrrrrrrrrrrm.",
      ".mrrwwwwwwwwwrrm.",
      ".mrrwwwwwwwwwrrm.",
      ".mrrrrrrrrrrrrrm.",
      "..mrrrrrrrrrrrm..",
      "..mrrrrrrrrrrrm..",
      "...mrrrrrrrrrm...",
      "....mmrrrrrmm....",
      "......mmmmm......",
      ".................",
  });
  // Print Graph: a printer with a page.
  draw::DrawPixelArt(canvas, 5 * kButton, 0, {
      ".................",
      "....kkkkkkkkk....",
      "....kwwwwwwwk....",
      "....kwkkkkkwk....",
      "....kwwwwwwwk....",
      "..kkkkkkkkkkkkk..",
      ".kwwwwwwwwwwwwwk.",
      ".kssssssssssslsk.",
      ".kgggggggggggggk.",
      ".kkkkkkkkkkkkkkk.",
      "...kwwwwwwwwwk...",
      "...kwkkkkkkkwk...",
      "...kwwwwwwwwwk...",
      "...kkkkkkkkkkk...",
      ".................",
  });
  // Contents: a yellow question mark.
  draw::DrawPixelArt(canvas, 6 * kButton, 0, {
      "......kkkkk......",
      ".....kyyyyyk.....",
      "....kyyyyyyyk....",
      "....kyykkkyyk....",
      ".....kk..kyyk....",
      ".........kyyk....",
      "........kyyk.....",
      ".......kyyk......",
      "......kyyk.......",
      "......kkkk.......",
      ".................",
      "......kkkk.......",
      "......kyyk.......",
      "......kyyk.......",
      "......kkkk.......",
  });
  return canvas.Take();
}

}  // namespace art::pictures
