#include "bench/BenchCases.h"

std::vector<BenchCase> benchCases()
{
    return {};
}
