// The butterfly kernels built for AVX-512 (this file is compiled with -mavx512f -mavx512vl
// -mavx512dq -mavx512bw -ffp-contract=off). Called only when the processor has those; it holds
// nothing but the kernels' private copies.
#include "platform/dsp/FftKernels.h"

namespace spectrum::fftkernels {

void TransformAvx512(float* re, float* im, int stages, const Work& work)
{
    Transform(re, im, stages, work);
}

} // namespace spectrum::fftkernels
