#ifndef BROX_POSIX_TEST_SHIM_H
#define BROX_POSIX_TEST_SHIM_H

// Included before every test source of the Windows build: the POSIX call
// that the tests make for their scratch folders and Windows lacks.

#include <direct.h>

#include <cstdlib>
#include <cstring>

// Replaces the trailing XXXXXX of the pattern and creates that folder; the
// pattern, or null when no folder could be made.
inline char* mkdtemp(char* pattern)
{
    if (_mktemp_s(pattern, std::strlen(pattern) + 1) != 0 || _mkdir(pattern) != 0)
        return nullptr;
    return pattern;
}

#endif
