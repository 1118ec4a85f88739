// sample: writes the synthetic night that scripts/run reduces.
#include "Command.h"
#include "SampleNight.h"

#include "files/OutputSet.h"

#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {

int runSample(const Arguments& args)
{
    const std::string& folder = args.positional[0];
    const bool made = ::mkdir(folder.c_str(), 0777) == 0;
    // The night is written whole or not at all.
    std::string message;
    {
        raylen::OutputSet outputs;
        message = writeSampleNight(folder);
        if (message.empty())
            message = outputs.commit();
    }
    if (!message.empty()) {
        if (made)
            ::rmdir(folder.c_str());
        return fail(message);
    }
    for (const char* name : sampleFiles())
        std::cout << folder << (folder.back() == '/' ? "" : "/") << name << '\n';
    return exitOk;
}

Registration sample({"sample", "sample DIR",
                     "write a synthetic night: object, dark, flat and lamp frames, the lamp's wavelength table, "
                     "a sensitivity table and README.txt with the truth",
                     {}, {}, 1, runSample});

} // namespace

} // namespace cli
