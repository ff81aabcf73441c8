#pragma once

#include <cstdlib>

namespace zw::fuzz {

// A property every input must keep; a broken one is a finding, like a crash.
inline void check(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace zw::fuzz
