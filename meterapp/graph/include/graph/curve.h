// The level curve's points for the samples a draw visits.
#pragma once

#include "graph/geometry.h"

#include <vector>

namespace graph {

// The points (SampleX, LevelY) of samples range.first .. range.end - 1 as one
// line through them. Samples that fall on the same pixel column are reduced
// to the first, the highest, the lowest and the last of them, in their order:
// a line through those covers the same pixels as a line through all, since
// within a column it only runs up and down between them. A long recording
// shown whole thus costs a few points per column. Empty when fewer than two
// samples are visited.
void CurvePoints(const SGraphState& s, const CObArray& records, SVisibleSamples range, std::vector<POINT>* points);

} // namespace graph
