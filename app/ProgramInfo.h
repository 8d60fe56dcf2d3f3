#pragma once

#include <QString>

// Facts about the program itself: its folder, its version, its files beside the executable.
class ProgramInfo
{
public:
    static QString folder();
    static QString startPagePath();
    // "Sorvel v0.13": major, ".", minor, then the revision glued to the minor number.
    static QString captionPrefix();
    static QString versionString();
    // The icons live in a static library, whose resources the linker keeps only when named.
    static void initResources();
};
