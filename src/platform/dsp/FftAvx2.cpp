// The butterfly kernels built for AVX2 (this file is compiled with -mavx2 -ffp-contract=off).
// Called only when the processor has AVX2; it holds nothing but the kernels' private copies.
#include "platform/dsp/FftKernels.h"

namespace spectrum::fftkernels {

void TransformAvx2(float* re, float* im, int stages, const Work& work)
{
    Transform(re, im, stages, work);
}

} // namespace spectrum::fftkernels
