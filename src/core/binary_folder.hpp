// Where the code runs from: the folder of the binary (the Python extension module, or a
// test program) that holds the engine. Data the package ships lies beside it. Nothing
// here fails: a folder the system cannot name is an empty path.
#pragma once

#include <string>

namespace zk {

// The absolute folder of the binary holding this function, symbolic links resolved, e.g.
// ".../site-packages/zodiakit"; empty when the system cannot tell. Computed once.
const std::string& binary_folder();

// True when `path` names an existing folder (or a link to one).
bool is_folder(const std::string& path);

}  // namespace zk
