#pragma once
// The live tool's door to KIVRA's transform: the forward, unscaled DFT of re + j·im in place
// (both the same power-of-two length). The only place the live tool reaches the transform.
#include <vector>

namespace live {

void Transform(std::vector<float>& re, std::vector<float>& im);

} // namespace live
