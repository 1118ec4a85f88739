#pragma once
// Names of the temporaries that saves write beside their targets, shared by
// the atomic writer and the output set.
#include <string>

namespace raylen {

// "dir/" for "dir/name", "" for a bare name.
std::string folderOf(const std::string& path);

// A fresh name in `folder` (which ends in "/" or is "") that carries this
// process's id and start time, so that a later save there can remove it once
// this process is gone.
std::string temporaryName(const std::string& folder);

} // namespace raylen
