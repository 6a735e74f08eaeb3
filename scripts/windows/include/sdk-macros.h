/* Forced ahead of every C++ file that scripts/check-windows compiles. mingw-w64's C++ library
   defines NOMINMAX in every file, and so hides what <windows.h> does without it; MSVC's does
   not. Undone here, NOMINMAX is defined only where a file defines it, as with MSVC. */
#include <bits/c++config.h>
#undef NOMINMAX
