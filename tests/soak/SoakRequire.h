#pragma once

// Inside a SoakRun member returning bool: stops the step with a failure that
// names the seed and the step.
#define SOAK_REQUIRE(condition, ...)                                                               \
    do {                                                                                           \
        if (!(condition))                                                                          \
            return Fail(__VA_ARGS__);                                                              \
    } while (false)
