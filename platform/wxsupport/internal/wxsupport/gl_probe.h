// GTK 3 loads a GL driver when it opens an X display, to choose visuals for GL
// drawing; our programs never draw with GL, and the driver (Mesa with LLVM)
// costs tens of megabytes of every start. For the toolkit's start-up only.
#pragma once

namespace wxsupport {

// While it lives, the environment says GDK_GL=disable, unless it already sets
// GDK_GL (the user asks for GL then). GTK reads the variable when it opens the
// display; afterwards the environment is as it was, so programs started later
// do not inherit the choice.
class NoGlProbe {
public:
    NoGlProbe();
    ~NoGlProbe();
    NoGlProbe(const NoGlProbe&) = delete;
    NoGlProbe& operator=(const NoGlProbe&) = delete;

private:
    bool m_set = false;
};

}  // namespace wxsupport
