// Compiled with -ffp-contract=off, like the transform it checks.
#include "ReferenceFft.h"

#include <cmath>

void ReferenceFft(float* REX, float* IMX, std::int32_t n, std::int32_t& Nfft)
{
    const double pi = 4.0 * std::atan(1.0);
    const std::int32_t M = std::int32_t(std::floor(std::log(double(n)) / std::log(2.0)));
    const std::int32_t N = std::int32_t(1) << M;
    Nfft = N;

    // Bit-reversal sorting.
    std::int32_t j = N / 2;
    for (std::int32_t i = 1; i <= N - 2; ++i) {
        if (i < j) {
            const float tr = REX[j], ti = IMX[j];
            REX[j] = REX[i];
            IMX[j] = IMX[i];
            REX[i] = tr;
            IMX[i] = ti;
        }
        std::int32_t k = N / 2;
        while (k <= j) {
            j = j - k;
            k = k / 2;
        }
        j = j + k;
    }

    // Stages: twiddles by recurrence in double, butterfly results stored as single.
    for (std::int32_t l = 1; l <= M; ++l) {
        const std::int32_t le = std::int32_t(1) << l;
        const std::int32_t le2 = le / 2;
        double ur = 1.0, ui = 0.0;
        const double sr = std::cos(pi / le2), si = -std::sin(pi / le2);
        for (std::int32_t jj = 1; jj <= le2; ++jj) {
            for (std::int32_t i = jj - 1; i <= N - 1; i += le) {
                const std::int32_t ip = i + le2;
                const double tr = REX[ip] * ur - IMX[ip] * ui;
                const double ti = REX[ip] * ui + IMX[ip] * ur;
                REX[ip] = float(REX[i] - tr);
                IMX[ip] = float(IMX[i] - ti);
                REX[i] = float(REX[i] + tr);
                IMX[i] = float(IMX[i] + ti);
            }
            const double tr = ur;
            ur = tr * sr - ui * si;
            ui = tr * si + ui * sr;
        }
    }
}
