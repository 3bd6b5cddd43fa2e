// The outline list's window class and the resources that come with it; it
// exists in an IDE process exactly while that process is attached.
#pragma once
#include <windows.h>

namespace qnav {

constexpr char kListClassName[] = "QuorvaneList";

bool RegisterListClass();
// Destroys an open list window, then the class and its GDI objects.
void UnregisterListClass();

}  // namespace qnav
