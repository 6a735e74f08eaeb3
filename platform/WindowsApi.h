#pragma once

// <windows.h> as the platform's files take it: without the min and max macros, which break
// std::min and std::max, and without the rarely used parts of the API.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif
