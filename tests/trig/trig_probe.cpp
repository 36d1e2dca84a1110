// Reads "sin X", "cos X" or "atan2 Y X" lines, the numbers as C hex floats,
// and writes each result as a hex float: the engine's correctly rounded
// functions, or with --slow the fixed-point path alone, for the tests that
// check them against arbitrary precision.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "trig/precise_trig.h"
#include "trig/rounded_trig.h"

int main(int argc, char** argv)
{
    bool slow = argc > 1 && std::strcmp(argv[1], "--slow") == 0;
    char name[16];
    char first[64], second[64];
    while (std::scanf("%15s %63s", name, first) == 2) {
        double x = std::strtod(first, nullptr);
        double result;
        if (std::strcmp(name, "atan2") == 0) {
            if (std::scanf("%63s", second) != 1)
                return 2;
            double along = std::strtod(second, nullptr);
            DoubleDouble precise;
            result = slow && preciseAtan2(x, along, &precise) ? precise.hi : roundedAtan2(x, along);
        } else if (slow) {
            DoubleDouble sine, cosine;
            preciseSinCos(x, &sine, &cosine);
            result = name[0] == 's' ? sine.hi : cosine.hi;
        } else {
            result = name[0] == 's' ? roundedSin(x) : roundedCos(x);
        }
        std::printf("%a\n", result);
    }
    std::fprintf(stderr, "slow results: %lld\n", (long long)roundedTrigSlowResults());
    return 0;
}
