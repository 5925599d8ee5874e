// The example documents of the program, built through its document classes:
// a simply supported square plate under pressure (plate.plb), a rectangle in
// uniform tension (membrane.mem) and a square plate compressed along x for
// buckling (buckling.shl). Each has a known answer: the plate's centre
// deflects 0.2111 mm, the membrane carries sigma_x = 2.0 N/mm^2 and the
// buckling plate's critical stress is 75.92 N/mm^2.
#pragma once

#include <memory>
#include <string>
#include <vector>

class CBrantelDoc;

namespace samples
{

struct Sample {
    const char* file;             // the file name under examples/
    std::unique_ptr<CBrantelDoc> (*make)();
};

std::unique_ptr<CBrantelDoc> MakePlate();
std::unique_ptr<CBrantelDoc> MakeMembrane();
std::unique_ptr<CBrantelDoc> MakeBuckling();

// The three samples in the order above.
const std::vector<Sample>& All();

// Writes every sample into folder; false (with a line on stderr) when one
// could not be saved.
bool WriteAll(const std::string& folder);

} // namespace samples
