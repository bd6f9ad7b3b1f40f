// A long line through many points, drawn in pieces.
#pragma once

#include <afx/afxwin.h>

// Draws the line through `count` points with the selected 1-px pen as
// consecutive polylines, each starting where the last ended, of about
// kCurvePieceLength points: the toolkit's working memory for one long line is
// large, and freed between the records of a recording it would stay with the
// allocator. A piece ends only at a point whose line comes in and goes on
// vertically in its column, where ending and starting again cover the same
// pixels as passing through.
constexpr int kCurvePieceLength = 256;
void DrawLineInPieces(CDC* dc, const POINT* points, int count);
