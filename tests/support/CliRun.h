#pragma once
// Runs raylen-cli as a script would, capturing both streams and the status.
#include "TestSupport.h"

namespace clitest {

struct Result {
    int status;
    std::string out, err;
};

// Standard error goes to a file in `scratch`, so keep that folder apart from
// one whose listing a test checks. `environment` ("NAME=value ...") is put
// before the command.
inline Result cli(const std::string& arguments, const testsupport::TempDir& scratch,
                  const std::string& environment = {})
{
    std::string errFile = scratch.file("stderr.txt");
    Result r;
    r.status = testsupport::run(environment + " " + std::string(RAYLEN_BIN_DIR) + "/raylen-cli " + arguments + " 2>" +
                                    testsupport::shellQuote(errFile),
                                &r.out);
    r.err = testsupport::readAll(errFile);
    return r;
}

} // namespace clitest
