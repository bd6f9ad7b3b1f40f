// Numbers with a fixed count of decimals ("%.2f") as the Windows C runtime
// writes them: a value exactly halfway between two texts goes away from zero
// (60.125 at two decimals is "60.13", -0.25 at one is "-0.3"), where glibc and
// std::to_chars go to the even digit. Every other value is correctly rounded
// from its binary value, as by both (60.15 is 60.149999..., "60.1" at one).
#pragma once

#include <string>

// Appends value as "%<width>.<decimals>f" does in the C locale on Windows:
// at least `width` characters, blanks in front.
void AfxAppendFixed(std::string& out, double value, int width, int decimals);
