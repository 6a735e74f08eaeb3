/* Stands in for <windows.h> when scripts/check-windows compiles the sources with mingw-w64.
   The Windows SDK's own header defines min and max as macros unless NOMINMAX is defined, and
   those break every later std::min and std::max of the file. mingw-w64's header spares C++
   files that, so a file that would not compile with MSVC compiles here; this one does as the
   SDK does. */
#include_next <windows.h>

#ifndef NOMINMAX
#ifndef max
#define max(a, b) (((a) > (b)) ? (a) : (b))
#endif
#ifndef min
#define min(a, b) (((a) < (b)) ? (a) : (b))
#endif
#endif
