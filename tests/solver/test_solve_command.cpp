// The mirelo_solve program's command line, run as a user runs it.
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace mirelo {
namespace {

struct Outcome {
    int ExitCode = -1;
    std::string Output; // standard output and standard error
};

Outcome Solve(const std::string& arguments) {
    Outcome run;
    const std::string command = std::string("'") + MIRELO_SOLVE + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.Output.append(buffer, n);
    const int status = pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(SolveCommand, ANumberTooLargeIsCalledTooLarge) {
    for (const char* arguments :
         {"theater 99999999999999999999", "theater 2147483648", "theater 1 --first-seed 4294967296",
          "theater 1 --positions 18446744073709551616"}) {
        const Outcome run = Solve(arguments);
        EXPECT_EQ(run.ExitCode, 2) << arguments;
        EXPECT_NE(run.Output.find("is too large"), std::string::npos)
            << arguments << ": " << run.Output;
        EXPECT_EQ(run.Output.find("at least"), std::string::npos)
            << arguments << ": " << run.Output;
    }
}

TEST(SolveCommand, OtherBadNumbersKeepTheirOwnMessages) {
    const Outcome zero = Solve("theater 0");
    EXPECT_EQ(zero.ExitCode, 2);
    EXPECT_NE(zero.Output.find("N must be at least 1"), std::string::npos) << zero.Output;
    const Outcome word = Solve("theater many");
    EXPECT_EQ(word.ExitCode, 2);
    EXPECT_NE(word.Output.find("N must be a whole number"), std::string::npos) << word.Output;
}

TEST(SolveCommand, TheLargestNumbersAreTaken) {
    // One deal from the last seed, with every position budget: the numbers
    // at their limits are read, not refused.
    const Outcome run = Solve("theater 1 --first-seed 4294967295 --positions 18446744073709551615");
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_NE(run.Output.find("Theater"), std::string::npos) << run.Output;
}

} // namespace
} // namespace mirelo
