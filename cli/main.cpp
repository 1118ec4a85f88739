// raylen-cli: the reduction steps of the window program, in batch.
#include "Dispatch.h"

#include <cstdlib>
#include <cstdio>
#include <iostream>

int main(int argc, char** argv)
{
    int status = cli::dispatch(std::vector<std::string>(argv + 1, argv + argc));
    // Results that never reached standard output (a full disk, a closed
    // pipe) are a failure, however the command itself ended.
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout))
        status = cli::fail("標準出力に書き込めません");
    return status;
}
