// Reading plate regions from a region text file, as the plate document's
// "&Import region" does: one region after the other from the start of the
// file, corners that coincide with an earlier region's joined into one
// node, a region with the same nodes as an earlier one dropped.
#pragma once

#include <vector>

#include "platform/afx/collections.h"
#include "platform/afx/file.h"

class CMaterial;
class CSectPlate;

// Section start, section end and comment marker of the region text files
// (the section sign is the single byte 0xA7).
void RegionTextMarkers(CStringArray& markers);

// The regions read, in file order, each given material (may be null); the
// caller owns them. scale: x, y, 1.0 and an x offset, as the region reader
// takes them. Text the reader refuses ends the reading; regions read
// before it are kept.
std::vector<CSectPlate*> ReadTextRegions(CFile& file, CStringArray& markers, double* scale,
                                         CMaterial* material);
