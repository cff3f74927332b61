#pragma once
// <windows.h> without the min and max macros, which would break std:: and Qt
// code compiled beside it.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
