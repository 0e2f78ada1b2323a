#include "live/Transform.h"

#include "platform/dsp/Fft.h"

namespace live {

void Transform(std::vector<float>& re, std::vector<float>& im)
{
    std::int32_t done = 0;
    spectrum::fft(re.data(), im.data(), std::int32_t(std::min(re.size(), im.size())), done);
}

} // namespace live
