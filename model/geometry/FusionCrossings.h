// Cutting closed outlines at every place where their edges meet, before their graph is walked.
#pragma once

#include <vector>

#include "model/geometry/FusionVertexArray.h"

// Adds the edges of the rings (ring s: closed list of vertex indices of graph, for outline s) to
// graph, each cut where any two edges meet, an outline's own edges included: at a crossing (its
// point computed once and the one vertex put into both edges), where a vertex lies on another edge
// (a T-junction) and at the ends of a collinear overlap, which then becomes one edge carrying both
// outlines. "On an edge" and "the same point" allow the graph's merge tolerance. Candidate pairs come
// from a uniform grid sized by the edges' mean length, not from all pairs.
void AddRingsCutAtCrossings(MFusionVertexArray& graph, const std::vector<std::vector<int>>& rings);
